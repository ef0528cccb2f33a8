#include "platform/ico_codec.h"

#include <gtest/gtest.h>

#include "platform/bmp_codec.h"
#include "platform/error.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  const std::string s = testing_support::ReadBytes(std::string(CARD_TEST_DATA_DIR) + "/pictures/" + name);
  return {s.begin(), s.end()};
}

// A 4x4 24-bit icon DIB: colour rows then an AND mask whose bit marks pixel (0, 0) transparent.
std::vector<uint8_t> IconDib(Color c) {
  auto b = Bitmap::Create(4, 4, PixelFormat::Bgr24);
  b->Fill(c);
  std::vector<uint8_t> dib = EncodeBmp(*b);
  dib.erase(dib.begin(), dib.begin() + 14);
  dib[8] = 8;  // the header's height counts colour rows and mask rows
  std::vector<uint8_t> mask(4 * 4, 0);
  mask[3 * 4] = 0x80;  // last stored row = top row; its first pixel
  dib.insert(dib.end(), mask.begin(), mask.end());
  return dib;
}

}  // namespace

TEST(IcoCodec, SeveralImagesWithSizesDepthsAndBytes) {
  const std::vector<IconImage> images = ParseIco(Fixture("icon3.ico"));
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0].width, 16);
  EXPECT_EQ(images[1].width, 32);
  EXPECT_EQ(images[2].width, 48);
  EXPECT_EQ(images[2].height, 48);
  for (const IconImage& im : images) {
    EXPECT_EQ(im.bitCount, 32);
    EXPECT_FALSE(im.png);
    auto b = DecodeIconImage(im);
    EXPECT_EQ(b->Width(), im.width);
    EXPECT_EQ(b->Height(), im.height);
    EXPECT_EQ(b->PixelColor(0, 0), Rgb(255, 0, 0));  // the quad picture's red corner
  }
}

TEST(IcoCodec, AndMaskMakesPixelsTransparent) {
  const std::vector<uint8_t> file = EncodeIco({{4, 4, 0, 24, false, IconDib(Rgb(1, 2, 3))}});
  const std::vector<IconImage> images = ParseIco(file);
  ASSERT_EQ(images.size(), 1u);
  auto b = DecodeIconImage(images[0]);
  EXPECT_EQ(b->PixelAlpha(0, 0), 0);
  EXPECT_EQ(b->PixelAlpha(1, 0), 255);
  EXPECT_EQ(b->PixelColor(3, 3), Rgb(1, 2, 3));
}

TEST(IcoCodec, EntriesPointingOutsideTheFileAreRefused) {
  std::vector<uint8_t> file = EncodeIco({{4, 4, 0, 24, false, IconDib(0)}});
  EXPECT_THROW(ParseIco(std::vector<uint8_t>(file.begin(), file.end() - 10)), LoadError);
  file[18] = 0xFF;  // offset far beyond the end
  file[21] = 0x7F;
  EXPECT_THROW(ParseIco(file), LoadError);
  EXPECT_THROW(ParseIco(std::vector<uint8_t>{0, 0, 1, 0, 5, 0}), LoadError);  // five entries promised
  EXPECT_THROW(ParseIco(std::vector<uint8_t>{0, 0, 9, 0, 1, 0}), LoadError);  // no icon type
}
