// Text layers drawn with the installed fonts: the enlargement, reduction and thickening
// pipeline, line breaks and spacing, and the width estimate for letter spacing.
#include <gtest/gtest.h>

#include "imaging/text_layer.h"
#include "imaging_fixtures.h"
#include "platform/fonts.h"

namespace imaging {
namespace {

using namespace testing_fixtures;

TTextLayerInfo Info(const std::string& text, int size, const std::string& font = "宋体") {
  TTextLayerInfo info;
  info.SetText(text);
  info.SetFontName(font);
  info.size = size;
  info.color = platform::Rgb(0, 0, 255);
  return info;
}

BitmapPtr Draw(const TTextLayerInfo& info) {
  BitmapPtr b;
  EXPECT_TRUE(DrawTextInfo(info, b));
  return b;
}

TEST(RenderTextLayer, DrawsFourTimesLargerReducesAndThickensBelowTwelvePoints) {
  TlmImageVcl img;
  MakeImage(img, 50, 50);
  for (int size : {9, 12}) {
    TTextLayerInfo info = Info("A", size);
    info.smoothing = 3;
    ASSERT_TRUE(img.AddTextLayer(0, 0, info));
    const TlmLayer& L = img.Layer(img.LayersCount() - 1);
    BitmapPtr expected = ReduceByFactor(*Draw(Info("A", size * 4)), 4);
    if (size == 9) ThickenSmallText(*expected, 9);
    EXPECT_TRUE(L.Alpha->SamePixels(*expected)) << size;
    EXPECT_EQ(L.Bitmap->Width(), L.Alpha->Width());
    EXPECT_EQ(L.Bitmap->PixelColor(0, 0), platform::Rgb(0, 0, 255));
    int peak = 0;
    for (int y = 0; y < L.Alpha->Height(); ++y)
      for (int x = 0; x < L.Alpha->Width(); ++x) peak = std::max<int>(peak, L.Alpha->Row(y)[x]);
    EXPECT_GT(peak, 100) << size;
  }
  EXPECT_TRUE(img.CanReDraw());
}

TEST(DrawTextInfo, EmptyLinesKeepTheirHeightAndATrailingBreakAddsNone) {
  const int h = Draw(Info("a", 20))->Height();
  EXPECT_EQ(Draw(Info("a\r\n\r\nb", 20))->Height(), 3 * h);
  EXPECT_EQ(Draw(Info("a\nb\r\n", 20))->Height(), 2 * h);
  TTextLayerInfo tight = Info("a\r\nb", 20);
  tight.lineSpacing = -4;
  EXPECT_EQ(Draw(tight)->Height(), (h - 4) + (h - 4) + 4);
  TTextLayerInfo loose = Info("a\r\nb", 20);
  loose.lineSpacing = 6;
  EXPECT_EQ(Draw(loose)->Height(), 2 * (h + 6));
}

TEST(DrawTextInfo, LetterSpacingWidensByTheEstimatedCharacterCount) {
  platform::FontSpec fontSpec;
  fontSpec.name = platform::fonts::ResolveFamily("宋体");
  fontSpec.size = 20;
  auto font = platform::fonts::Font::Create(fontSpec);
  ASSERT_TRUE(font);
  for (const std::string text : {"abcd", "yxyx"}) {
    TTextLayerInfo info = Info(text, 20);
    info.letterSpacing = 10;
    const int width = font->Measure(text, 10).width;
    // "y" is byte 121: the estimate divides by the width of the first two characters.
    const int first = font->Measure(text.substr(0, text[0] > 120 ? 2 : 1), 10).width;
    EXPECT_EQ(Draw(info)->Width(), width + 10 * (width / first - 1)) << text;
  }
  TTextLayerInfo negative = Info("ab", 20);
  negative.letterSpacing = -3;
  const int w = font->Measure("ab", -3).width;
  EXPECT_EQ(Draw(negative)->Width(), w - 3 * (w / font->Measure("a", -3).width - 1) + 3);
}

TEST(RenderTextLayer, LetterSpacingCountsAQuarterAtSmoothingThree) {
  // Two bars "I I" drawn with and without spacing: the second bar moves right by 2 pixels per
  // gap (8 / 4), two gaps before it.
  auto secondStart = [](const platform::Bitmap& a) {
    std::vector<int> cols(a.Width(), 0);
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) cols[x] += a.Row(y)[x] > 128;
    int clusters = 0;
    for (int x = 0; x < a.Width(); ++x) {
      bool on = cols[x] > 0, before = x > 0 && cols[x - 1] > 0;
      if (on && !before && ++clusters == 2) return x;
    }
    return -1;
  };
  TlmImageVcl img;
  MakeImage(img, 50, 50);
  TTextLayerInfo info = Info("I I", 20, "DejaVu Sans");
  info.smoothing = 3;
  img.AddTextLayer(0, 0, info);
  info.letterSpacing = 8;
  img.AddTextLayer(0, 0, info);
  const int plain = secondStart(*img.Layer(1).Alpha), spaced = secondStart(*img.Layer(2).Alpha);
  ASSERT_GT(plain, 0);
  EXPECT_NEAR(spaced - plain, 4, 1);
}

TEST(DrawTextInfo, AnUnknownFontFallsBackToSongTi) {
  if (!platform::fonts::IsInstalled("宋体"))
    FAIL() << "no installed font answers to 宋体 (scripts/install-deps.sh installs AR PL UMing)";
  EXPECT_TRUE(Draw(Info("字A", 16, "No Such Font"))->SamePixels(*Draw(Info("字A", 16, "宋体"))));
}

}  // namespace
}  // namespace imaging
