#include "imaging/layered_image.h"

#include <gtest/gtest.h>

#include "imaging/effect_painters.h"
#include "imaging_fixtures.h"

namespace imaging {
namespace {

using namespace testing_fixtures;
using platform::Rgb;

TEST(TlmImageVcl, NewImageMakesTheBackgroundLayer) {
  TlmImageVcl img;
  EXPECT_EQ(img.LayersCount(), 0);
  EXPECT_FALSE(img.CanReDraw());
  auto bg = platform::Bitmap::Create(30, 20, platform::PixelFormat::Bgr24);
  bg->Fill(Rgb(10, 20, 30));
  ASSERT_TRUE(img.NewImageFromBitmap(*bg));
  EXPECT_TRUE(img.CanReDraw());
  EXPECT_EQ(img.LayersCount(), 1);
  EXPECT_EQ(img.Layer(0).Name, "背景图层");
  EXPECT_EQ(img.ImageWidth(), 30);
  EXPECT_EQ(img.ControlWidth, 30);
  EXPECT_EQ(img.Layer(0).Alpha->PixelColor(29, 19), Rgb(255, 255, 255));
  EXPECT_EQ(img.ShowBmp()->PixelColor(5, 5), Rgb(10, 20, 30));
  img.ClearLayers();
  EXPECT_EQ(img.LayersCount(), 0);
  EXPECT_EQ(img.ShowBmp(), nullptr);
}

TEST(TlmImageVcl, TextLayersAreNamedByShortTextsOrNumbered) {
  TlmImageVcl img;
  MakeImage(img, 40, 40);
  TTextLayerInfo info;
  info.size = 9;
  info.SetText("  exactly16bytes ");  // 17 bytes with the blanks
  img.AddTextLayer(0, 0, info);
  EXPECT_EQ(img.Layer(1).Name, "文本层 1");
  EXPECT_EQ(img.CurrLayerID, 1);
  info.SetText("a text of more than sixteen bytes");
  img.AddTextLayer(0, 0, info);
  EXPECT_EQ(img.Layer(2).Name, "文本层 2");
  info.SetText(" sixteen bytes! ");  // exactly 16 bytes
  img.AddTextLayer(0, 0, info);
  EXPECT_EQ(img.Layer(3).Name, "sixteen bytes!");
  EXPECT_EQ(img.LayersCount(), 4);
  EXPECT_EQ(img.Layer(3).Opacity, 1.0);
  EXPECT_TRUE(img.Layer(3).Visible);
}

TEST(TlmImageVcl, The258thLayerIsRefused) {
  TlmImageVcl img;
  MakeImage(img, 8, 8);
  TTextLayerInfo info;
  info.SetText("x");
  info.size = 9;
  for (int i = 1; i < kMaxLayers; ++i) img.AddTextLayer(0, 0, info);
  EXPECT_EQ(img.LayersCount(), kMaxLayers);
  EXPECT_FALSE(img.AddTextLayer(0, 0, info));
  EXPECT_EQ(img.LayersCount(), kMaxLayers);
}

TEST(TlmImageVcl, LayersPartlyOutsideAreClipped) {
  TlmImageVcl img;
  MakeImage(img, 10, 10);
  auto full = [](int, int) { return 255; };
  AddShapeLayer(img, -5, -3, 20, 20, full, Rgb(255, 0, 0));
  AddShapeLayer(img, 8, 7, 20, 20, full, Rgb(0, 0, 255));
  // Effects reach outside both edges as well.
  TlmLayer& L = img.Layer(2);
  L.DropShadow.size = 4;
  L.DropShadow.opacity = 100;
  L.DropShadow.originX = -30;
  L.DropShadow.originY = -30;
  L.DropShadow.color = Rgb(255, 0, 0);
  L.DropShadowOn = FillDropShadowMask(L);
  L.InnerGlow.size = 3;
  L.InnerGlow.opacity = 100;
  L.InnerGlow.originX = 7;
  L.InnerGlow.color = Rgb(0, 0, 255);
  L.InnerGlowOn = FillInnerGlowMask(L);
  ASSERT_TRUE(img.RedrawImage());
  const platform::Bitmap& show = *img.ShowBmp();
  EXPECT_EQ(show.PixelColor(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(show.PixelColor(9, 9), Rgb(0, 0, 255));
  EXPECT_EQ(show.PixelColor(7, 9), Rgb(255, 0, 0));
  BitmapPtr out;
  ASSERT_TRUE(img.ExportImage(out));
  EXPECT_EQ(out->PixelAlpha(0, 0), 255);
  EXPECT_EQ(out->PixelColor(9, 9), Rgb(0, 0, 255));
}

TEST(TlmImageVcl, OpacityZeroDrawsEffectsOnlyWhenTheyKeepTheirOpacity) {
  TlmImageVcl img;
  MakeImage(img, 20, 20);
  TlmLayer& L = AddShapeLayer(img, 0, 0, 20, 20, Square(5, 10), Rgb(255, 0, 0));
  L.ColorOverlay.opacity = 100;
  L.ColorOverlay.color = Rgb(0, 255, 0);
  L.ColorOverlayOn = true;
  L.Opacity = 0;
  img.RedrawImage();
  EXPECT_EQ(img.ShowBmp()->PixelColor(7, 7), Rgb(255, 255, 255));
  L.EffectsKeepOpacity = true;
  img.RedrawImage();
  EXPECT_EQ(img.ShowBmp()->PixelColor(7, 7), Rgb(0, 255, 0));
  L.Opacity = 0.5;
  L.EffectsKeepOpacity = false;
  L.ColorOverlayOn = false;
  img.RedrawImage();
  EXPECT_EQ(img.ShowBmp()->PixelColor(7, 7), Rgb(255, 127, 127));
}

TEST(TlmImageVcl, ExportAlphaRecordsCoverageOverTransparentAndHalfCoveredTargets) {
  TlmImageVcl img;
  MakeImage(img, 6, 2);
  AddShapeLayer(img, 0, 0, 6, 2, [](int x, int) { return x < 3 ? 255 : 128; }, Rgb(255, 0, 0));
  AddShapeLayer(img, 0, 0, 6, 2, [](int x, int) { return x == 4 ? 128 : 0; }, Rgb(0, 0, 255));
  img.Layer(0).Visible = false;
  BitmapPtr out;
  ASSERT_TRUE(img.ExportImage(out));
  ASSERT_EQ(out->Format(), platform::PixelFormat::Bgra32);
  EXPECT_EQ(out->PixelAlpha(0, 0), 255);
  EXPECT_EQ(out->PixelColor(0, 0), Rgb(255, 0, 0));
  // Half coverage over a transparent target: the layer colour fully, alpha 128.
  EXPECT_EQ(out->PixelAlpha(3, 1), 128);
  EXPECT_EQ(out->PixelColor(3, 1), Rgb(255, 0, 0));
  // Half over half: alpha round(0.498 * 128 + 128) = 192, strength 0.626 -> h = 160.
  EXPECT_EQ(out->PixelAlpha(4, 0), 192);
  EXPECT_EQ(out->PixelColor(4, 0), Rgb(95, 0, 160));
  // Where nothing reaches, the background colour with alpha 0.
  img.Layer(1).Visible = false;
  img.Layer(2).Visible = false;
  ASSERT_TRUE(img.ExportImage(out));
  EXPECT_EQ(out->PixelAlpha(0, 0), 0);
  EXPECT_EQ(out->PixelColor(0, 0), Rgb(255, 255, 255));
}

}  // namespace
}  // namespace imaging
