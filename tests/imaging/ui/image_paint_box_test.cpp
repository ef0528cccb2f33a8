// The layered image's paint box: auto size and painting the composed image.
#include "imaging/ui/image_paint_box.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "flashwizard/ui/ui_fixtures.h"

TEST(ImagingUiPaintBox, AutoSizeAndPaintShowTheComposedImage) {
  flashui_fixtures::App();
  imaging::ui::TlmImageVcl box;
  auto back = platform::Bitmap::Create(120, 40, platform::PixelFormat::Bgr24);
  back->Fill(platform::Rgb(10, 200, 30));
  ASSERT_TRUE(box.NewImageFromBitmap(*back));
  EXPECT_EQ(box.size(), QSize(120, 40));
  imaging::TTextLayerInfo info;
  info.SetText("Ab");
  info.SetFontName("Arial");
  info.color = platform::Rgb(255, 0, 0);
  info.size = -30;
  ASSERT_TRUE(box.Image().AddTextLayer(5, 2, info));
  box.Image().RedrawImage();
  box.PaintImage();
  QImage shot = box.grab().toImage();
  const platform::Bitmap* show = box.Image().ShowBmp();
  int differing = 0, red = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      platform::Color c = show->PixelColor(x, y);
      QRgb p = shot.pixel(x, y);
      differing += qRed(p) != platform::RedOf(c) || qGreen(p) != platform::GreenOf(c) || qBlue(p) != platform::BlueOf(c);
      red += qRed(p) > 200 && qGreen(p) < 80;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(red, 20);
  // Without auto size the control keeps its own size.
  imaging::ui::TlmImageVcl fixed;
  fixed.SetAutoSize(false);
  fixed.resize(30, 30);
  ASSERT_TRUE(fixed.NewImageFromBitmap(*back));
  EXPECT_EQ(fixed.size(), QSize(30, 30));
}

TEST(ImagingUiPaintBox, BitmapsBecomeQtImagesWithAlpha) {
  auto bgra = platform::Bitmap::Create(2, 1, platform::PixelFormat::Bgra32);
  bgra->SetPixelColor(0, 0, platform::Rgb(1, 2, 3), 128);
  bgra->SetPixelColor(1, 0, platform::Rgb(200, 100, 50), 255);
  QImage q = imaging::ui::ToQImage(*bgra);
  EXPECT_EQ(q.pixel(0, 0), qRgba(1, 2, 3, 128));
  EXPECT_EQ(q.pixel(1, 0), qRgba(200, 100, 50, 255));
  auto bgr = platform::Bitmap::Create(1, 1, platform::PixelFormat::Bgr24);
  bgr->SetPixelColor(0, 0, platform::Rgb(9, 8, 7));
  EXPECT_EQ(imaging::ui::ToQImage(*bgr).pixel(0, 0), qRgb(9, 8, 7));
}
