#include "imaging/text_layer.h"

#include <gtest/gtest.h>

#include "imaging_fixtures.h"

namespace imaging {
namespace {

TEST(TextLayerInfo, KeepsItsFixedLayout) {
  TTextLayerInfo info;
  info.SetFontName("宋体");
  info.SetText(std::string(3000, 'x'));
  EXPECT_EQ(info.Text().size(), 2000u);
  EXPECT_EQ(info.fontName[0], 4);  // GBK: two bytes a character
  EXPECT_EQ(info.FontName(), "宋体");
  const auto* raw = reinterpret_cast<const uint8_t*>(&info);
  info.letterSpacing = 3;
  info.lineSpacing = -4;
  EXPECT_EQ(raw[2116], 3);
  EXPECT_EQ(raw[2118], 0xFC);
  EXPECT_EQ(raw[2119], 0xFF);
}

TEST(TextLayer, ReductionTruncatesTheAverage) {
  auto big = platform::Bitmap::Create(9, 5, platform::PixelFormat::Indexed8);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) big->Row(y)[x] = static_cast<uint8_t>(x * 30 + y);
  auto small = ReduceByFactor(*big, 4);
  ASSERT_EQ(small->Width(), 2);
  ASSERT_EQ(small->Height(), 1);
  // Block x 0..3, y 0..3: sum = 4 * (0 + 30 + 60 + 90) + 4 * (0 + 1 + 2 + 3) = 744 -> 744 >> 4 = 46.
  EXPECT_EQ(small->Row(0)[0], 46);
  auto three = ReduceByFactor(*big, 3);
  ASSERT_EQ(three->Width(), 3);
  // (0+30+60)*3 + (0+1+2)*3 = 279 -> 279 / 9 = 31.
  EXPECT_EQ(three->Row(0)[0], 31);
}

TEST(TextLayer, SmallSizesAreThickened) {
  auto a = platform::Bitmap::Create(3, 1, platform::PixelFormat::Indexed8);
  a->Row(0)[0] = 100; a->Row(0)[1] = 250; a->Row(0)[2] = 3;
  ThickenSmallText(*a, 9);  // factor 1.3
  EXPECT_EQ(a->Row(0)[0], 130);
  EXPECT_EQ(a->Row(0)[1], 255);
  EXPECT_EQ(a->Row(0)[2], 4);  // 3.9
  ThickenSmallText(*a, 12);
  EXPECT_EQ(a->Row(0)[0], 130);
  EXPECT_DOUBLE_EQ(FontSizeInPoints(-16), 12.0);
  EXPECT_EQ(SmoothingFactor(3), 4);
  EXPECT_EQ(SmoothingFactor(0), 1);
}

}  // namespace
}  // namespace imaging
