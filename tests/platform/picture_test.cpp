#include "platform/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/error.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {
std::string FixturePath(const std::string& name) { return std::string(CARD_TEST_DATA_DIR) + "/pictures/" + name; }
}  // namespace

TEST(Picture, LoadsByExtensionAsTwentyFourOrThirtyTwoBit) {
  EXPECT_EQ(LoadPicture(FixturePath("quad_8bit.bmp"))->Format(), PixelFormat::Bgr24);
  EXPECT_EQ(LoadPicture(FixturePath("quad_32bit_alpha.bmp"))->Format(), PixelFormat::Bgra32);
  EXPECT_EQ(LoadPicture(FixturePath("progressive.jpg"))->Format(), PixelFormat::Bgr24);
  // A GIF's first frame on its logical screen; opaque, so 24-bit.
  auto gif = LoadPicture(FixturePath("anim_dispose.gif"));
  EXPECT_EQ(gif->Format(), PixelFormat::Bgr24);
  EXPECT_EQ(gif->Width(), 20);
  EXPECT_EQ(gif->PixelColor(5, 5), Rgb(255, 0, 0));
  auto ico = LoadPicture(FixturePath("icon3.ico"));
  EXPECT_EQ(ico->Width(), 48);  // the largest image
}

TEST(Picture, ExtensionMatchesWithoutRegardToCase) {
  testing_support::TempDir dir;
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("A.JPEG"), testing_support::ReadBytes(FixturePath("quad_baseline.jpg"))));
  EXPECT_EQ(LoadPicture(dir.File("A.JPEG"))->Width(), 16);
}

TEST(Picture, FailuresRaiseClearErrors) {
  testing_support::TempDir dir;
  try {
    LoadPicture(dir.File("x.tga"));
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.tga)");
  }
  EXPECT_THROW(LoadPicture(dir.File("missing.bmp")), FileError);
  // A JPEG named .bmp is no bitmap.
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("fake.bmp"), testing_support::ReadBytes(FixturePath("quad_baseline.jpg"))));
  EXPECT_THROW(LoadPicture(dir.File("fake.bmp")), LoadError);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("empty.gif"), ""));
  EXPECT_THROW(LoadPicture(dir.File("empty.gif")), LoadError);
}

TEST(Picture, ProbeRecognisesFormatsByContent) {
  auto probe = [](const std::string& name) {
    const std::string s = testing_support::ReadBytes(FixturePath(name));
    return ProbePicture(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
  };
  const PictureInfo bmp = probe("quad_4bit.bmp");
  EXPECT_EQ(bmp.format, "BMP");
  EXPECT_EQ(bmp.bitsPerPixel, 4);
  const PictureInfo jpg = probe("progressive.jpg");
  EXPECT_EQ(jpg.format, "JPEG");
  EXPECT_TRUE(jpg.progressive);
  const PictureInfo gif = probe("anim_dispose.gif");
  EXPECT_EQ(gif.format, "GIF");
  EXPECT_EQ(gif.frames, 3);
  EXPECT_TRUE(probe("interlaced.gif").interlaced);
  const PictureInfo ico = probe("icon3.ico");
  EXPECT_EQ(ico.format, "ICO");
  EXPECT_EQ(ico.frames, 3);
  EXPECT_EQ(ico.width, 48);
  const std::vector<uint8_t> junk = {1, 2, 3};
  EXPECT_THROW(ProbePicture(junk), LoadError);
}

TEST(Picture, PngWrittenIsReadBackByImageMagick) {
  if (std::system("convert -version >/dev/null 2>&1") != 0) FAIL() << "ImageMagick is not installed (scripts/install-deps.sh installs it)";
  testing_support::TempDir dir;
  for (PixelFormat f : {PixelFormat::Indexed8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
    auto b = Bitmap::Create(6, 4, f);
    b->Fill(Rgb(10, 10, 10), 255);
    b->SetPixelColor(5, 3, Rgb(200, 200, 200), 64);
    SavePng(*b, dir.File("a.png"));
    const std::string cmd = "convert '" + dir.HostPath() + "a.png' -format '%[fx:int(255*p{5,3}.r+0.5)] %[fx:int(255*p{5,3}.a+0.5)] %w' info: > '" +
                            dir.HostPath() + "out.txt'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string expected = f == PixelFormat::Bgra32 ? "200 64 6" : "200 255 6";
    EXPECT_EQ(testing_support::ReadBytes(dir.File("out.txt")), expected) << static_cast<int>(f);
  }
}
