// The layer style effects on drawn shapes: masks, thresholds, inversion, tiling, export alpha.
#include <gtest/gtest.h>

#include "imaging/blur.h"
#include "imaging/effect_painters.h"
#include "imaging_fixtures.h"

namespace imaging {
namespace {

using namespace testing_fixtures;
using platform::Rgb;

TEST(DropShadow, SizeZeroIsTheAlphaDisplacedAndNotUnderOpaquePixels) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 20, 20, Square(4, 8), Rgb(255, 0, 0));
  L.DropShadow.opacity = 100;
  L.DropShadow.originX = 3;  // displacement (3, 2), margin 0
  L.DropShadow.originY = 2;
  ASSERT_TRUE(FillDropShadowMask(L));
  L.DropShadowOn = true;
  EXPECT_TRUE(L.DropShadowMask->SamePixels(*L.Alpha));
  img.RedrawImage();
  const auto& s = *img.ShowBmp();
  EXPECT_EQ(s.PixelColor(5, 5), Rgb(255, 0, 0));   // text over its own shadow
  EXPECT_EQ(s.PixelColor(9, 8), Rgb(0, 0, 0));     // shadow beside it
  EXPECT_EQ(s.PixelColor(11, 9), Rgb(255, 255, 255));
  EXPECT_EQ(s.PixelColor(4, 9), Rgb(255, 255, 255));
}

TEST(DropShadow, SpreadOneGrowsByOnePixelThroughRadius06) {
  auto alpha = platform::Bitmap::Create(10, 10, platform::PixelFormat::Indexed8);
  for (int y = 3; y < 7; ++y) for (int x = 3; x < 7; ++x) alpha->Row(y)[x] = 255;
  auto mask = BuildSpreadMask(*alpha, 1, 1);
  ASSERT_EQ(mask->Width(), 14);  // margin 2 * max(spread, size) on each side
  // Alpha sits at (2, 2): the square covers 5..8; one pixel around it is solid, two are not.
  EXPECT_EQ(mask->Row(6)[4], 255);
  EXPECT_EQ(mask->Row(4)[4], 255);  // the diagonal neighbour is reached too
  EXPECT_EQ(mask->Row(6)[3], 0);
  EXPECT_EQ(mask->Row(6)[10], 0);
}

TEST(Stroke, ThresholdsBySize) {
  EXPECT_EQ(StrokeThreshold(1), 15);
  EXPECT_EQ(StrokeThreshold(2), 8);
  EXPECT_EQ(StrokeThreshold(5), 8);
  EXPECT_EQ(StrokeThreshold(6), 6);
  EXPECT_EQ(StrokeThreshold(7), 6);
  EXPECT_EQ(StrokeThreshold(8), 0);
}

TEST(Stroke, SizeTenIsHardEdged) {
  auto alpha = platform::Bitmap::Create(8, 8, platform::PixelFormat::Indexed8);
  for (int y = 1; y < 7; ++y) for (int x = 1; x < 7; ++x) alpha->Row(y)[x] = 255;
  auto mask = BuildStrokeMask(*alpha, 10, 0);
  int solid = 0;
  for (int y = 0; y < mask->Height(); ++y)
    for (int x = 0; x < mask->Width(); ++x) {
      int v = mask->Row(y)[x];
      ASSERT_TRUE(v == 0 || v == 255);
      solid += v == 255;
    }
  EXPECT_GT(solid, 100);
  EXPECT_EQ(mask->Row(24)[27 + 5], 255);  // 5 pixels beyond the block's edge
  EXPECT_EQ(mask->Row(24)[0], 0);
}

TEST(Stroke, SizeOneStretchesFaintValues) {
  auto alpha = platform::Bitmap::Create(6, 6, platform::PixelFormat::Indexed8);
  alpha->Row(3)[3] = 40;
  auto expected = MaskWithMargin(*alpha, 1);
  BlurMask(*expected, 0.6);
  auto mask = BuildStrokeMask(*alpha, 1, 0);
  ASSERT_TRUE(mask->SameSizeAndFormat(*expected));
  bool sawFaint = false;
  for (int y = 0; y < mask->Height(); ++y)
    for (int x = 0; x < mask->Width(); ++x) {
      int v = expected->Row(y)[x];
      int want = v > 15 ? 255 : static_cast<int>(RoundEven(v / 15.0 * 255.0));
      sawFaint |= v > 0 && v <= 15;
      EXPECT_EQ(mask->Row(y)[x], want) << x << "," << y;
    }
  EXPECT_TRUE(sawFaint);
}

TEST(InnerShadow, ChokeZeroSizeZeroShadowsOnlyUncoveredDisplacedParts) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 20, 20, Square(4, 12), Rgb(255, 0, 0));
  L.InnerShadow.opacity = 100;
  L.InnerShadow.originX = 2;  // displacement (2, 0)
  ASSERT_TRUE(FillInnerShadowMask(L));
  L.InnerShadowOn = true;
  // The inverted mask is 0 wherever the text is opaque.
  EXPECT_EQ(L.InnerShadowMask->Row(6)[6], 0);
  EXPECT_EQ(L.InnerShadowMask->Row(0)[0], 255);
  img.RedrawImage();
  const auto& s = *img.ShowBmp();
  EXPECT_EQ(s.PixelColor(4, 6), Rgb(0, 0, 0));    // the left two columns receive the shadow
  EXPECT_EQ(s.PixelColor(5, 6), Rgb(0, 0, 0));
  EXPECT_EQ(s.PixelColor(6, 6), Rgb(255, 0, 0));
  EXPECT_EQ(s.PixelColor(2, 6), Rgb(255, 255, 255));  // never outside the text
}

TEST(Bevel, UnknownStyleDrawsNothing) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 20, 20, Square(4, 12), Rgb(255, 0, 0));
  img.RedrawImage();
  auto before = img.ShowBmp()->Clone();
  L.Bevel.size = 3;
  L.Bevel.highlightOpacity = L.Bevel.shadowOpacity = 100;
  L.Bevel.highlightOriginX = L.Bevel.highlightOriginY = -7;
  L.Bevel.shadowOriginX = L.Bevel.shadowOriginY = -5;
  L.Bevel.highlightColor = Rgb(255, 255, 255);
  ASSERT_TRUE(FillBevelMask(L));
  L.BevelOn = true;
  L.Bevel.style = 2;
  img.RedrawImage();
  EXPECT_TRUE(img.ShowBmp()->SamePixels(*before));
  L.Bevel.style = kInnerBevel;
  img.RedrawImage();
  EXPECT_FALSE(img.ShowBmp()->SamePixels(*before));
  L.Bevel.style = kOuterBevel;
  img.RedrawImage();
  EXPECT_FALSE(img.ShowBmp()->SamePixels(*before));
}

TEST(PatternOverlay, TilesFromTheLayerCornerAndHonoursPatternAlpha) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 3, 5, 6, 6, [](int, int) { return 255; }, Rgb(255, 0, 0));
  L.PatternImage = platform::Bitmap::Create(2, 2, platform::PixelFormat::Bgra32);
  L.PatternImage->SetPixelColor(0, 0, Rgb(0, 0, 255), 255);
  L.PatternImage->SetPixelColor(1, 0, Rgb(0, 255, 0), 255);
  L.PatternImage->SetPixelColor(0, 1, Rgb(0, 255, 0), 255);
  L.PatternImage->SetPixelColor(1, 1, Rgb(0, 0, 0), 0);  // transparent: the layer shows
  L.PatternOverlay.opacity = 100;
  L.PatternOverlayOn = true;
  img.RedrawImage();
  const auto& s = *img.ShowBmp();
  EXPECT_EQ(s.PixelColor(3, 5), Rgb(0, 0, 255));
  EXPECT_EQ(s.PixelColor(5, 7), Rgb(0, 0, 255));
  EXPECT_EQ(s.PixelColor(4, 5), Rgb(0, 255, 0));
  EXPECT_EQ(s.PixelColor(4, 6), Rgb(255, 0, 0));
  EXPECT_EQ(s.PixelColor(8, 10), Rgb(255, 0, 0));
}

TEST(DropShadow, ExportTakesTheShadowColourOverTransparentPixels) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 20, 20, Square(4, 8), Rgb(255, 0, 0));
  L.DropShadow.opacity = 50;
  L.DropShadow.color = Rgb(0, 0, 255);
  L.DropShadow.originX = 6;
  ASSERT_TRUE(FillDropShadowMask(L));
  L.DropShadowOn = true;
  img.Layer(0).Visible = false;
  BitmapPtr out;
  ASSERT_TRUE(img.ExportImage(out));
  EXPECT_EQ(out->PixelAlpha(11, 5), 128);  // round(0.5 * 255)
  EXPECT_EQ(out->PixelColor(11, 5), Rgb(0, 0, 255));
  EXPECT_EQ(out->PixelAlpha(5, 5), 255);
  EXPECT_EQ(out->PixelColor(5, 5), Rgb(255, 0, 0));
  EXPECT_EQ(out->PixelAlpha(15, 5), 0);
}

TEST(Overlays, ColourAndGradientFollowTheLayerCoverage) {
  TlmImageVcl img;
  MakeImage(img, 10, 1);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 10, 1, [](int x, int) { return x < 5 ? 255 : 0; }, Rgb(255, 0, 0));
  L.GradientOverlay.opacity = 100;
  L.GradientOverlay.stopCount = 2;
  L.GradientOverlay.stops[0] = {Rgb(0, 0, 0), {}, 1.0};
  L.GradientOverlay.stops[1] = {Rgb(0, 0, 90), {}, 0.0};
  ASSERT_TRUE(FillGradientOverlayImage(L));
  L.GradientOverlayOn = true;
  img.RedrawImage();
  EXPECT_EQ(img.ShowBmp()->PixelColor(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(img.ShowBmp()->PixelColor(3, 0), Rgb(0, 0, 30));
  EXPECT_EQ(img.ShowBmp()->PixelColor(6, 0), Rgb(255, 255, 255));
  L.GradientOverlay.reverse = 1;
  ASSERT_TRUE(img.RebuildGradientOverlay(1));
  img.RedrawImage();
  EXPECT_EQ(img.ShowBmp()->PixelColor(0, 0), Rgb(0, 0, 90));
}

}  // namespace
}  // namespace imaging
