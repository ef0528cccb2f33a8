#include "platform/bmp_codec.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  const std::string s = testing_support::ReadBytes(std::string(CARD_TEST_DATA_DIR) + "/pictures/" + name);
  return {s.begin(), s.end()};
}

// The "quad" fixtures: top-left red, top-right green, bottom-left blue, bottom-right white.
void ExpectQuad(const Bitmap& b) {
  ASSERT_EQ(b.Width(), 16);
  ASSERT_EQ(b.Height(), 8);
  EXPECT_EQ(b.PixelColor(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(b.PixelColor(7, 3), Rgb(255, 0, 0));
  EXPECT_EQ(b.PixelColor(15, 0), Rgb(0, 255, 0));
  EXPECT_EQ(b.PixelColor(0, 7), Rgb(0, 0, 255));
  EXPECT_EQ(b.PixelColor(12, 4), Rgb(255, 255, 255));
}

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) v[at + k] = static_cast<uint8_t>(x >> (8 * k));
}

}  // namespace

TEST(BmpCodec, EveryDepthWrittenByImageMagickDecodesTheSamePicture) {
  for (const char* name : {"quad_4bit.bmp", "quad_8bit.bmp", "quad_8bit_rle.bmp", "quad_24bit.bmp", "quad_32bit_alpha.bmp"}) {
    SCOPED_TRACE(name);
    auto b = DecodeBmp(Fixture(name));
    ExpectQuad(*b);
  }
  // 16-bit 5-6-5: channels scaled back to full range.
  auto b16 = DecodeBmp(Fixture("quad_16bit.bmp"));
  EXPECT_EQ(b16->Format(), PixelFormat::Bgr24);
  ExpectQuad(*b16);
  auto mono = DecodeBmp(Fixture("mono_1bit.bmp"));
  EXPECT_EQ(mono->Format(), PixelFormat::Indexed8);
  EXPECT_EQ(mono->PixelColor(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(mono->PixelColor(1, 1), Rgb(255, 255, 255));
  EXPECT_EQ(mono->PixelColor(15, 7), Rgb(255, 255, 255));
}

TEST(BmpCodec, GrayLevelsOfThe8BitPaletteSurvive) {
  auto b = DecodeBmp(Fixture("quad_8bit.bmp"));
  EXPECT_EQ(b->Format(), PixelFormat::Indexed8);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(b->PixelColor(8 + k, 6), Rgb(k * 10 + 20, k * 10 + 20, k * 10 + 20));
    EXPECT_EQ(b->PixelColor(8 + k, 7), Rgb(k * 10 + 120, k * 10 + 120, k * 10 + 120));
  }
  EXPECT_TRUE(DecodeBmp(Fixture("quad_8bit_rle.bmp"))->SamePixels(*b));
}

TEST(BmpCodec, ThirtyTwoBitAlphaIsKept) {
  auto b = DecodeBmp(Fixture("quad_32bit_alpha.bmp"));
  ASSERT_EQ(b->Format(), PixelFormat::Bgra32);
  EXPECT_EQ(b->PixelAlpha(0, 0), 255);
  EXPECT_NEAR(b->PixelAlpha(12, 5), 128, 1);
}

TEST(BmpCodec, RoundTripsEveryWrittenFormatIncludingAlpha) {
  for (PixelFormat f : {PixelFormat::Indexed8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
    auto b = Bitmap::Create(5, 3, f);  // odd width: rows need padding
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) b->SetPixelColor(x, y, Rgb(x * 50, y * 80, 7), static_cast<uint8_t>(x * 60 + y));
    if (f == PixelFormat::Indexed8) b->GetPalette()[3] = {1, 2, 3};
    auto back = DecodeBmp(EncodeBmp(*b));
    EXPECT_TRUE(back->SamePixels(*b)) << static_cast<int>(f);
  }
}

TEST(BmpCodec, TopDownPicturesKeepTheirFirstRowOnTop) {
  auto b = Bitmap::Create(2, 2, PixelFormat::Bgr24);
  b->SetPixelColor(0, 0, Rgb(10, 20, 30));
  b->SetPixelColor(1, 1, Rgb(200, 100, 50));
  std::vector<uint8_t> file = EncodeBmp(*b);
  // Turn the bottom-up file into a top-down one: negative height, rows swapped.
  Put32(file, 22, static_cast<uint32_t>(-2));
  const size_t row = 8, off = 54;
  std::swap_ranges(file.begin() + off, file.begin() + off + row, file.begin() + off + row);
  auto back = DecodeBmp(file);
  EXPECT_TRUE(back->SamePixels(*b));
}

TEST(BmpCodec, BareDibWithoutFileHeaderDecodes) {
  auto b = Bitmap::Create(3, 2, PixelFormat::Bgr24);
  b->SetPixelColor(2, 1, Rgb(1, 2, 3));
  const std::vector<uint8_t> file = EncodeBmp(*b);
  auto back = DecodeBmp(std::span(file).subspan(14), true);
  EXPECT_TRUE(back->SamePixels(*b));
}

TEST(BmpCodec, MalformedFilesRaiseLoadErrorWithoutReadingOutside) {
  auto b = Bitmap::Create(4, 4, PixelFormat::Bgr24);
  const std::vector<uint8_t> good = EncodeBmp(*b);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"not a bitmap", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
  cases.push_back({"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 30)});
  cases.push_back({"cut in the pixels", std::vector<uint8_t>(good.begin(), good.end() - 5)});
  auto huge = good;
  Put32(huge, 18, 1000000);
  Put32(huge, 22, 1000000);
  cases.push_back({"huge dimensions", huge});
  auto negativeWidth = good;
  Put32(negativeWidth, 18, static_cast<uint32_t>(-4));
  cases.push_back({"negative width", negativeWidth});
  auto badBits = good;
  badBits[28] = 7;
  cases.push_back({"seven bits per pixel", badBits});
  auto headerTooBig = good;
  Put32(headerTooBig, 14, 0x7FFFFFFF);
  cases.push_back({"header size beyond the file", headerTooBig});
  auto palette = good;
  palette[28] = 8;
  Put32(palette, 46, 200);  // 200 palette entries that are not there
  cases.push_back({"palette beyond the file", palette});
  auto lowestHeight = good;
  Put32(lowestHeight, 22, 0x80000000u);  // -2^31 rows: top-down with no positive row count
  cases.push_back({"lowest height", lowestHeight});
  int width = 0, height = 0, bits = 0;
  EXPECT_FALSE(ProbeBmp(lowestHeight, width, height, bits));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      DecodeBmp(c.bytes);
      ADD_FAILURE() << "decoded";
    } catch (const LoadError& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
  }
}

TEST(BmpCodec, RunLengthDataThatOverrunsThePictureStopsAtItsEdge) {
  // An 8-bit RLE picture of 4x2 whose stream writes 200 pixels, jumps far away and ends early.
  std::vector<uint8_t> f(54 + 1024, 0);
  f[0] = 'B'; f[1] = 'M';
  Put32(f, 10, 54 + 1024);
  Put32(f, 14, 40);
  Put32(f, 18, 4);
  Put32(f, 22, 2);
  f[26] = 1;
  f[28] = 8;
  Put32(f, 30, 1);  // BI_RLE8
  Put32(f, 46, 256);
  for (int k = 0; k < 256; ++k) f[54 + 4 * k] = static_cast<uint8_t>(k);
  const std::vector<uint8_t> stream = {200, 9, 0, 2, 250, 250, 3, 7, 0, 3, 5, 1, 2};
  f.insert(f.end(), stream.begin(), stream.end());
  auto b = DecodeBmp(f);
  ASSERT_EQ(b->Width(), 4);
  EXPECT_EQ(b->Row(1)[0], 9);  // first file row is the bottom row
  EXPECT_EQ(b->Row(0)[0], 0);
}

TEST(BmpCodec, SaveWritesAFileThatReadsBack) {
  testing_support::TempDir dir;
  auto b = Bitmap::Create(3, 3, PixelFormat::Bgra32);
  b->SetPixelColor(1, 1, Rgb(9, 8, 7), 100);
  SaveBmp(*b, dir.File("out.bmp"));
  const std::string bytes = testing_support::ReadBytes(dir.File("out.bmp"));
  auto back = DecodeBmp(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_TRUE(back->SamePixels(*b));
  EXPECT_THROW(SaveBmp(*b, dir.File("no/such/folder/out.bmp")), FileError);
}
