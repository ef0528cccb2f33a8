#include "platform/gif_screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  const std::string s = testing_support::ReadBytes(std::string(CARD_TEST_DATA_DIR) + "/pictures/" + name);
  return {s.begin(), s.end()};
}

}  // namespace

TEST(GifCodec, FramesCarryOffsetSizeDelayDisposalAndTransparency) {
  const GifAnimation a = DecodeGif(Fixture("anim_dispose.gif"));
  EXPECT_EQ(a.width, 20);
  EXPECT_EQ(a.height, 10);
  EXPECT_EQ(a.loopCount, 0);
  ASSERT_EQ(a.frames.size(), 3u);
  const GifFrame& f1 = a.frames[1];
  EXPECT_EQ(f1.left, 2);
  EXPECT_EQ(f1.top, 3);
  EXPECT_EQ(f1.width, 4);
  EXPECT_EQ(f1.height, 4);
  EXPECT_EQ(f1.delay, 25);
  EXPECT_TRUE(f1.hasControlBlock);
  EXPECT_EQ(f1.disposal, GifDisposal::RestoreBackground);
  EXPECT_TRUE(f1.hasTransparent);
  EXPECT_EQ(f1.image->PixelAlpha(1, 1), 0);  // the hole
  EXPECT_EQ(f1.image->PixelAlpha(0, 0), 255);
  EXPECT_EQ(f1.image->PixelColor(0, 0), Rgb(0, 0, 255));
  EXPECT_FALSE(a.frames[0].hasTransparent);
  EXPECT_EQ(a.frames[0].delay, 10);
  EXPECT_EQ(a.frames[2].left, 10);
  EXPECT_EQ(a.frames[2].delay, 50);
  EXPECT_EQ(a.frames[2].image->PixelColor(4, 4), Rgb(0, 255, 0));
}

TEST(GifCodec, ComposingFollowsRestoreToBackground) {
  const GifAnimation a = DecodeGif(Fixture("anim_dispose.gif"));
  const auto screens = ComposeGifFrames(a);
  ASSERT_EQ(screens.size(), 3u);
  // Frame 1 draws blue over red, and red shows through its transparent hole.
  EXPECT_EQ(screens[1]->PixelColor(2, 3), Rgb(0, 0, 255));
  EXPECT_EQ(screens[1]->PixelColor(3, 4), Rgb(255, 0, 0));
  // After frame 1 its square is cleared to transparent; frame 2 adds green elsewhere.
  EXPECT_EQ(screens[2]->PixelAlpha(2, 3), 0);
  EXPECT_EQ(screens[2]->PixelColor(10, 2), Rgb(0, 255, 0));
  EXPECT_EQ(screens[2]->PixelColor(0, 0), Rgb(255, 0, 0));
}

TEST(GifCodec, InterlacedRowsLandInTheirPlaces) {
  const GifAnimation a = DecodeGif(Fixture("interlaced.gif"));
  ASSERT_EQ(a.frames.size(), 1u);
  EXPECT_TRUE(a.frames[0].interlaced);
  const Bitmap& b = *a.frames[0].image;
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(b.PixelColor(0, y), y < 4 ? Rgb(255, 0, 0) : Rgb(0, 0, 255)) << y;
    if (y < 4) {
      EXPECT_EQ(b.PixelColor(15, y), Rgb(0, 255, 0)) << y;
    }
  }
  for (int k = 0; k < 8; ++k) EXPECT_EQ(b.PixelColor(8 + k, 7), Rgb(k * 10 + 120, k * 10 + 120, k * 10 + 120));
}

TEST(GifCodec, HundredFramesWrittenByGiflibRoundTrip) {
  GifAnimation a;
  a.width = 30;
  a.height = 20;
  a.loopCount = 3;
  for (int k = 0; k < 100; ++k) {
    GifFrame f;
    f.left = k % 10;
    f.top = k % 7;
    f.width = 12;
    f.height = 8;
    f.delay = k + 1;
    f.disposal = k % 2 ? GifDisposal::RestoreBackground : GifDisposal::Keep;
    f.image = Bitmap::Create(12, 8, PixelFormat::Bgra32);
    f.image->Fill(Rgb(k, 255 - k, 7));
    f.image->SetPixelColor(3, 2, 0, 0);  // a transparent pixel
    a.frames.push_back(std::move(f));
  }
  testing_support::TempDir dir;
  const std::vector<uint8_t> bytes = EncodeGif(a);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("many.gif"), std::string(bytes.begin(), bytes.end())));
  const GifAnimation b = LoadGifAnimation(dir.File("many.gif"));
  ASSERT_EQ(b.frames.size(), 100u);
  EXPECT_EQ(b.loopCount, 3);
  for (int k : {0, 1, 57, 99}) {
    const GifFrame& f = b.frames[static_cast<size_t>(k)];
    EXPECT_EQ(f.left, k % 10);
    EXPECT_EQ(f.top, k % 7);
    EXPECT_EQ(f.delay, k + 1);
    EXPECT_EQ(f.disposal, k % 2 ? GifDisposal::RestoreBackground : GifDisposal::Keep);
    EXPECT_TRUE(f.hasTransparent);
    EXPECT_EQ(f.image->PixelAlpha(3, 2), 0);
    EXPECT_EQ(f.image->PixelColor(0, 0), Rgb(k, 255 - k, 7));
  }
}

TEST(GifCodec, DamagedFilesNeverCrash) {
  const std::vector<uint8_t> good = Fixture("anim_dispose.gif");
  EXPECT_THROW(DecodeGif(std::vector<uint8_t>{'G', 'I', 'F'}), LoadError);
  EXPECT_THROW(DecodeGif(std::vector<uint8_t>(good.begin(), good.begin() + 20)), LoadError);
  // Cut after the first frame: the frames read so far are kept.
  for (size_t len = 30; len < good.size(); ++len) {
    try {
      const GifAnimation a = DecodeGif(std::vector<uint8_t>(good.begin(), good.begin() + len));
      EXPECT_GE(a.frames.size(), 1u);
    } catch (const LoadError&) {
    }
  }
  for (size_t k = 6; k < good.size(); ++k) {
    std::vector<uint8_t> bad = good;
    bad[k] ^= 0xA5;
    try {
      DecodeGif(bad);
    } catch (const LoadError&) {
    }
  }
  EXPECT_THROW(LoadGifAnimation("/no/such/file.gif"), FileError);
}

TEST(GifCodec, SizesTheDataCannotHoldAreRefusedBeforeAllocating) {
  GifAnimation a;
  a.width = 8;
  a.height = 8;
  GifFrame f;
  f.width = 8;
  f.height = 8;
  f.image = Bitmap::Create(8, 8, PixelFormat::Bgra32);
  a.frames.push_back(std::move(f));
  const std::vector<uint8_t> good = EncodeGif(a);
  ASSERT_EQ(DecodeGif(good).frames.size(), 1u);
  // The image descriptor follows the control extension (21 F9 04 .. .. .. .. 00).
  size_t desc = 0;
  for (size_t k = 13; k + 10 < good.size(); ++k)
    if (good[k] == 0x2C && good[k - 1] == 0) { desc = k; break; }
  ASSERT_GT(desc, 0u);
  std::vector<uint8_t> big = good;
  big[desc + 5] = 0x80; big[desc + 6] = 0x3E;  // width 16000
  big[desc + 7] = 0x80; big[desc + 8] = 0x3E;  // height 16000, from a few bytes of pixels
  EXPECT_THROW(DecodeGif(big), LoadError);
  std::vector<uint8_t> screen = good;
  screen[6] = 0x20; screen[7] = 0x4E;  // logical screen 20000 x 20000
  screen[8] = 0x20; screen[9] = 0x4E;
  EXPECT_THROW(DecodeGif(screen), LoadError);
}

// A few bytes may not make the decoder compose screens of gigabytes: the screen is bounded, and
// an animation keeps only the frames that fit the composition budget at its screen size.
TEST(GifCodec, ScreenSizeAndComposedFramesAreBounded) {
  GifAnimation a;
  a.width = kMaxGifScreenSide;
  a.height = kMaxGifScreenSide;
  for (int k = 0; k < 20; ++k) {
    GifFrame f;
    f.width = f.height = 1;
    f.image = Bitmap::Create(1, 1, PixelFormat::Bgra32);
    f.image->Fill(Rgb(255, 0, 0));
    a.frames.push_back(std::move(f));
  }
  const std::vector<uint8_t> bytes = EncodeGif(a);
  ASSERT_LT(bytes.size(), 20000u);  // a palette per frame: kilobytes that would compose gigabytes
  const GifAnimation back = DecodeGif(bytes);
  const long long screen = static_cast<long long>(kMaxGifScreenSide) * kMaxGifScreenSide;
  EXPECT_EQ(static_cast<long long>(back.frames.size()), kMaxComposedGifPixels / screen);
  EXPECT_EQ(back.width, kMaxGifScreenSide);

  std::vector<uint8_t> wide = bytes;
  const int side = kMaxGifScreenSide + 1;
  wide[6] = side & 0xFF; wide[7] = side >> 8;
  EXPECT_THROW(DecodeGif(wide), LoadError);
  EXPECT_THROW(DecodePicture(wide, ".gif"), LoadError);
}
