#include "platform/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/error.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  const std::string s = testing_support::ReadBytes(std::string(CARD_TEST_DATA_DIR) + "/pictures/" + name);
  return {s.begin(), s.end()};
}

void ExpectNear(Color a, Color b, int tolerance) {
  EXPECT_NEAR(RedOf(a), RedOf(b), tolerance);
  EXPECT_NEAR(GreenOf(a), GreenOf(b), tolerance);
  EXPECT_NEAR(BlueOf(a), BlueOf(b), tolerance);
}

}  // namespace

TEST(JpegCodec, BaselineFixtureDecodesItsQuadrants) {
  auto b = DecodeJpeg(Fixture("quad_baseline.jpg"));
  ASSERT_EQ(b->Format(), PixelFormat::Bgr24);
  ASSERT_EQ(b->Width(), 16);
  ExpectNear(b->PixelColor(1, 1), Rgb(255, 0, 0), 40);
  ExpectNear(b->PixelColor(14, 1), Rgb(0, 255, 0), 40);
  ExpectNear(b->PixelColor(1, 6), Rgb(0, 0, 255), 40);
}

TEST(JpegCodec, ProgressiveGrayAndCmykPicturesDecode) {
  const std::vector<uint8_t> prog = Fixture("progressive.jpg");
  JpegInfo info;
  ASSERT_TRUE(ProbeJpeg(prog, info));
  EXPECT_TRUE(info.progressive);
  auto p = DecodeJpeg(prog);
  EXPECT_EQ(p->Width(), 64);
  EXPECT_EQ(p->Height(), 48);
  // A red-to-blue gradient from top to bottom.
  ExpectNear(p->PixelColor(32, 0), Rgb(255, 0, 0), 30);
  ExpectNear(p->PixelColor(32, 47), Rgb(0, 0, 255), 30);

  auto g = DecodeJpeg(Fixture("gray.jpg"));
  ExpectNear(g->PixelColor(10, 0), Rgb(255, 255, 255), 20);
  ExpectNear(g->PixelColor(10, 47), Rgb(0, 0, 0), 20);
  const Color mid = g->PixelColor(10, 24);
  EXPECT_EQ(RedOf(mid), BlueOf(mid));

  auto c = DecodeJpeg(Fixture("cmyk.jpg"));
  ExpectNear(c->PixelColor(5, 5), Rgb(255, 0, 0), 40);
}

TEST(JpegCodec, EncodeThenDecodeKeepsThePicture) {
  auto b = Bitmap::Create(40, 30, PixelFormat::Bgra32);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) b->SetPixelColor(x, y, x < 20 ? Rgb(200, 30, 30) : Rgb(20, 40, 220));
  for (bool progressive : {false, true}) {
    const std::vector<uint8_t> bytes = EncodeJpeg(*b, 90, progressive);
    JpegInfo info;
    ASSERT_TRUE(ProbeJpeg(bytes, info));
    EXPECT_EQ(info.progressive, progressive);
    auto back = DecodeJpeg(bytes);
    ASSERT_EQ(back->Width(), 40);
    ExpectNear(back->PixelColor(5, 5), Rgb(200, 30, 30), 12);
    ExpectNear(back->PixelColor(35, 25), Rgb(20, 40, 220), 12);
  }
}

TEST(JpegCodec, ImageMagickReadsWhatWeEncode) {
  if (std::system("convert -version >/dev/null 2>&1") != 0) FAIL() << "ImageMagick is not installed (scripts/install-deps.sh installs it)";
  testing_support::TempDir dir;
  auto b = Bitmap::Create(8, 8, PixelFormat::Bgr24);
  b->Fill(Rgb(0, 128, 255));
  const std::vector<uint8_t> bytes = EncodeJpeg(*b, 95);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("a.jpg"), std::string(bytes.begin(), bytes.end())));
  const std::string cmd = "convert '" + dir.HostPath() + "a.jpg' -format '%[fx:int(255*p{4,4}.b)]' info: > '" +
                          dir.HostPath() + "out.txt'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_NEAR(std::atoi(testing_support::ReadBytes(dir.File("out.txt")).c_str()), 255, 4);
}

TEST(JpegCodec, DamagedDataRaisesLoadErrorOrShowsWhatArrived) {
  EXPECT_THROW(DecodeJpeg(std::vector<uint8_t>{1, 2, 3, 4, 5}), LoadError);
  EXPECT_THROW(DecodeJpeg(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}), LoadError);
  const std::vector<uint8_t> good = Fixture("progressive.jpg");
  // Cut in its header: refused; cut in the scans: what arrived is shown.
  EXPECT_THROW(DecodeJpeg(std::vector<uint8_t>(good.begin(), good.begin() + 40)), LoadError);
  auto cut = DecodeJpeg(std::vector<uint8_t>(good.begin(), good.begin() + good.size() * 3 / 4));
  EXPECT_EQ(cut->Width(), 64);
  // Flipped bytes all through the data never crash.
  for (size_t k = 20; k < good.size(); k += 7) {
    std::vector<uint8_t> bad = good;
    bad[k] ^= 0x5A;
    try {
      DecodeJpeg(bad);
    } catch (const LoadError&) {
    }
  }
}

TEST(JpegCodec, HugeDimensionsAreRefusedBeforeAllocating) {
  std::vector<uint8_t> b = EncodeJpeg(*Bitmap::Create(8, 8, PixelFormat::Bgr24), 50);
  // Patch the frame header (SOF0: FF C0, length, precision, height, width).
  for (size_t k = 2; k + 9 < b.size(); ++k) {
    if (b[k] == 0xFF && b[k + 1] == 0xC0) {
      b[k + 5] = 0xFF; b[k + 6] = 0xF0;  // height 65520
      b[k + 7] = 0xFF; b[k + 8] = 0xF0;  // width 65520
      break;
    }
  }
  try {
    DecodeJpeg(b);
    ADD_FAILURE() << "decoded";
  } catch (const LoadError& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG error #"), std::string::npos);
  }
}
