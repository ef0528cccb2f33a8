#include "imaging/layer_style_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "imaging/bmp_stream.h"
#include "imaging/style_description.h"
#include "imaging_fixtures.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace imaging {
namespace {

using namespace testing_fixtures;
using platform::Rgb;

// A style with a drop shadow, a gradient overlay, a stroke gradient and a pattern.
StyleFile RichStyle(uint16_t version) {
  StyleFile s;
  s.version = version;
  s.opacity = 0.75;
  s.blendMode = 9;
  s.dropShadowOn = 1;
  s.dropShadow.opacity = 80;
  s.dropShadow.size = 3;
  s.dropShadow.originX = -4;
  s.dropShadow.reserved724 = 77;
  s.strokeOn = 1;
  s.stroke.size = 2;
  s.stroke.opacity = 100;
  s.gradientOverlayOn = 1;
  s.gradientOverlay.opacity = 100;
  s.gradientOverlay.stopCount = 2;
  s.gradientOverlay.stops[0] = {Rgb(255, 0, 0), {}, 1.0};
  s.gradientOverlay.stops[1] = {Rgb(0, 0, 255), {}, 0.0};
  s.strokeGradientOn = 1;
  s.strokeGradient = s.gradientOverlay;
  s.patternOn = 1;
  s.pattern.opacity = 50;
  auto tile = platform::Bitmap::Create(3, 2, platform::PixelFormat::Bgr24);
  tile->Fill(Rgb(1, 2, 3));
  s.patternBytes = EncodeBmpStream(*tile);
  return s;
}

struct Fixture {
  testing_support::TempDir dir;
  TlmImageVcl img;
  Fixture() {
    MakeImage(img, 40, 30);
    AddShapeLayer(img, 2, 2, 20, 12, Square(3, 9), Rgb(255, 255, 0));
  }
  TlmLayer& L() { return img.Layer(1); }
  std::string Write(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(testing_support::WriteBytes(dir.File(name), bytes));
    return dir.File(name);
  }
  bool Load(const std::string& bytes) { return img.LoadLayerStyle(1, Write("s.style", bytes)); }
};

TEST(LayerStyleFile, EveryVersionRoundTripsThroughTheWriter) {
  for (uint16_t v = 0x0100; v <= 0x0103; ++v) {
    StyleFile in = RichStyle(v);
    std::string bytes = WriteStyleFile(in);
    StyleFile out;
    ASSERT_EQ(ParseStyleFile(bytes, out), StyleParse::Ok) << v;
    EXPECT_EQ(out.version, v);
    EXPECT_EQ(out.opacity, 0.75);
    EXPECT_EQ(+out.dropShadow.reserved724, 77);
    EXPECT_EQ(out.gradientOverlayOn, v >= 0x0101 ? 1 : 0);
    EXPECT_EQ(out.strokeGradientOn, v >= 0x0102 ? 1 : 0);
    EXPECT_EQ(WriteStyleFile(out), bytes);
  }
  // Short records: 14 + 10 + 2*53 + 2*45 + 65 + 37 + 17 bytes for version 0x0100.
  EXPECT_EQ(WriteStyleFile(RichStyle(0x0100)).size(), 14u + 10 + 106 + 90 + 65 + 37 + 17);
}

TEST(LayerStyleFile, LoadingSwitchesEffectsOnAndBuildsTheirCaches) {
  Fixture f;
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0103))));
  TlmLayer& L = f.L();
  EXPECT_EQ(L.Opacity, 0.75);
  EXPECT_EQ(L.BlendMode, 9);
  EXPECT_TRUE(L.DropShadowOn && L.DropShadowMask);
  EXPECT_EQ(L.DropShadowMask->Width(), 20 + 12);
  EXPECT_TRUE(L.StrokeOn && L.StrokeMask);
  EXPECT_TRUE(L.GradientOverlayOn && L.GradientOverlayImage);
  EXPECT_TRUE(L.StrokeGradientOn && L.StrokeGradientImage);
  EXPECT_EQ(L.StrokeGradientImage->Width(), L.StrokeMask->Width());
  ASSERT_TRUE(L.PatternOverlayOn && L.PatternImage);
  EXPECT_EQ(L.PatternImage->PixelColor(2, 1), Rgb(1, 2, 3));
  EXPECT_FALSE(L.InnerGlowOn || L.InnerGlowMask);
  EXPECT_TRUE(f.img.CanReDraw());
}

TEST(LayerStyleFile, Version0100WithEverythingOffRemovesAllEffects) {
  Fixture f;
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0103))));
  StyleFile off;
  off.version = 0x0100;
  ASSERT_TRUE(f.Load(WriteStyleFile(off)));
  TlmLayer& L = f.L();
  EXPECT_FALSE(L.DropShadowOn || L.DropShadowMask || L.StrokeOn || L.StrokeMask);
  EXPECT_FALSE(L.GradientOverlayOn || L.GradientOverlayImage);
  EXPECT_FALSE(L.PatternOverlayOn || L.PatternImage);
  EXPECT_FALSE(L.StrokeGradientOn || L.StrokeGradientImage);
  EXPECT_EQ(L.Opacity, 1.0);
}

TEST(LayerStyleFile, Version0101DropsOnlyTheStrokeGradient) {
  Fixture f;
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0103))));
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0101))));
  EXPECT_TRUE(f.L().GradientOverlayOn && f.L().PatternOverlayOn);
  EXPECT_FALSE(f.L().StrokeGradientOn || f.L().StrokeGradientImage);
}

TEST(LayerStyleFile, ReloadingRebuildsMasksOnlyWhenSizesChangeButAlwaysTheGradient) {
  Fixture f;
  const std::string bytes = WriteStyleFile(RichStyle(0x0103));
  ASSERT_TRUE(f.Load(bytes));
  const platform::Bitmap* shadow = f.L().DropShadowMask.get();
  const platform::Bitmap* gradient = f.L().GradientOverlayImage.get();
  ASSERT_TRUE(f.Load(bytes));
  EXPECT_EQ(f.L().DropShadowMask.get(), shadow);
  EXPECT_NE(f.L().GradientOverlayImage.get(), gradient);
  StyleFile bigger = RichStyle(0x0103);
  bigger.dropShadow.size = 5;
  ASSERT_TRUE(f.Load(WriteStyleFile(bigger)));
  EXPECT_NE(f.L().DropShadowMask.get(), shadow);
  EXPECT_EQ(f.L().DropShadowMask->Width(), 20 + 20);
}

TEST(LayerStyleFile, ShortRecordsTurnTheContourOffAndKeepItsPoints) {
  Fixture f;
  StyleFile full = RichStyle(0x0103);
  full.dropShadow.contourOn = 1;
  full.dropShadow.contourCount = 2;
  full.dropShadow.contour[1] = {255, 128};
  ASSERT_TRUE(f.Load(WriteStyleFile(full)));
  EXPECT_EQ(f.L().DropShadow.contourOn, 1);
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0102))));
  EXPECT_EQ(f.L().DropShadow.contourOn, 0);
  EXPECT_EQ(+f.L().DropShadow.contour[1].y, 128);
  EXPECT_EQ(+f.L().DropShadow.reserved724, 77);
}

TEST(LayerStyleFile, BadFilesAreRefusedAndLeaveTheLayerAsItWas) {
  Fixture f;
  platform::ScriptedDialogs dialogs;
  ASSERT_TRUE(f.Load(WriteStyleFile(RichStyle(0x0103))));
  const platform::Bitmap* shadow = f.L().DropShadowMask.get();
  StyleFile other;  // everything off, opacity 1
  const std::string good = WriteStyleFile(other);

  std::string wrongCase = good;
  wrongCase[1] = 'l';  // "layerStyle"
  EXPECT_FALSE(f.Load(wrongCase));
  std::string tooNew = good;
  tooNew[12] = 0x04;  // version 0x0104
  EXPECT_FALSE(f.Load(tooNew));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kStyleTooNewText);
  EXPECT_EQ(dialogs.shown[0].caption, "Pavo图像处理系统");
  EXPECT_EQ(dialogs.shown[0].icon, platform::MsgIcon::Error);
  // A file that ends early, at any point.
  for (size_t n = 0; n < good.size(); n += 7) EXPECT_FALSE(f.Load(good.substr(0, n))) << n;
  // Pattern bytes that are not a bitmap, and a stream size past the end.
  StyleFile junk = RichStyle(0x0103);
  junk.patternBytes = "BMnot really a bitmap at all, but long enough to look like one";
  EXPECT_FALSE(f.Load(WriteStyleFile(junk)));
  std::string past = WriteStyleFile(RichStyle(0x0103));
  past.resize(past.size() - 1);
  EXPECT_FALSE(f.Load(past));
  EXPECT_FALSE(f.img.LoadLayerStyle(1, f.dir.File("missing.style")));
  EXPECT_FALSE(f.img.LoadLayerStyle(5, f.Write("ok.style", good)));

  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(f.L().Opacity, 0.75);
  EXPECT_EQ(f.L().DropShadowMask.get(), shadow);
  EXPECT_TRUE(f.L().PatternOverlayOn && f.L().GradientOverlayOn);
}

TEST(LayerStyleFile, NumbersOutsideWhatTheEffectsUseAreClamped) {
  StyleFile wild = RichStyle(0x0103);
  wild.opacity = std::nan("");
  wild.dropShadow.size = -7;
  wild.dropShadow.spread = 2147483647;
  wild.dropShadow.originX = -2147483647 - 1;
  wild.dropShadow.opacity = 255;
  wild.dropShadow.contourOn = 1;
  wild.dropShadow.contourCount = 1000;
  wild.dropShadow.contour[0] = {-2147483647 - 1, 0};
  wild.dropShadow.contour[1] = {255, 300};
  wild.gradientOverlay.stops[0].fraction = 1e7;
  wild.gradientOverlay.stops[1].fraction = -1;
  wild.gradientOverlay.angle = -90;
  wild.gradientOverlay.stopCount = 1000;
  StyleFile s;
  ASSERT_EQ(ParseStyleFile(WriteStyleFile(wild), s), StyleParse::Ok);
  EXPECT_EQ(s.opacity, 0.0);
  EXPECT_EQ(s.dropShadow.size, 0);
  EXPECT_EQ(s.dropShadow.spread, 250);
  EXPECT_EQ(s.dropShadow.originX, -10000);
  EXPECT_EQ(s.dropShadow.opacity, 100);
  EXPECT_EQ(s.dropShadow.contourCount, 51);
  EXPECT_EQ(s.dropShadow.contour[0].x, 0);
  EXPECT_EQ(s.dropShadow.contour[1].y, 255);
  EXPECT_EQ(s.gradientOverlay.stops[0].fraction, 1.0);
  EXPECT_EQ(s.gradientOverlay.stops[1].fraction, 0.0);
  EXPECT_EQ(s.gradientOverlay.angle, 0);
  EXPECT_EQ(s.gradientOverlay.stopCount, 51);
  // The clamped file describes itself and reads back the same.
  StyleFile again;
  std::string error;
  ASSERT_TRUE(ParseStyleDescription(DescribeStyle(s), ".", again, error)) << error;
  again.patternBytes = s.patternBytes;
  EXPECT_EQ(WriteStyleFile(again), WriteStyleFile(s));
  // Loaded and composed on a layer, it takes no time to speak of.
  Fixture f;
  ASSERT_TRUE(f.Load(WriteStyleFile(wild)));
  f.img.RebuildAllEffects(1);
  f.img.RedrawImage();
  EXPECT_EQ(f.L().DropShadowMask->Width(), f.L().Width() + 4 * 250);
}

TEST(LayerStyleFile, BitmapBytesAfterAnOffPatternAreIgnored) {
  Fixture f;
  StyleFile s;
  std::string bytes = WriteStyleFile(s) + EncodeBmpStream(*platform::Bitmap::Create(2, 2, platform::PixelFormat::Bgr24));
  EXPECT_TRUE(f.Load(bytes));
  EXPECT_FALSE(f.L().PatternOverlayOn);
}

TEST(BmpStream, DecodesPalettedAndAlphaBitmapsAndRefusesLies) {
  auto rgba = platform::Bitmap::Create(3, 2, platform::PixelFormat::Bgra32);
  rgba->SetPixelColor(2, 1, Rgb(10, 20, 30), 40);
  auto back = DecodeBmpStream(EncodeBmpStream(*rgba));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Format(), platform::PixelFormat::Bgra32);
  EXPECT_EQ(back->PixelColor(2, 1), Rgb(10, 20, 30));
  EXPECT_EQ(back->PixelAlpha(2, 1), 40);
  // A 1-bit, 2 x 1 bitmap with a two-colour palette.
  std::string one = EncodeBmpStream(*platform::Bitmap::Create(1, 1, platform::PixelFormat::Bgr24));
  one.resize(54);
  one[28] = 1;                 // bits per pixel
  one[10] = 62;                // pixels after the palette
  one[18] = 2;                 // width 2
  one += std::string("\x00\x00\xff\x00\xff\x00\x00\x00", 8);  // red, blue
  one += std::string("\x40\x00\x00\x00", 4);                   // pixels 0, 1
  auto pal = DecodeBmpStream(one);
  ASSERT_TRUE(pal);
  EXPECT_EQ(pal->PixelColor(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(pal->PixelColor(1, 0), Rgb(0, 0, 255));
  std::string lie = EncodeBmpStream(*rgba);
  lie[18] = 100;  // wider than its pixels
  EXPECT_EQ(DecodeBmpStream(lie), nullptr);
  EXPECT_EQ(DecodeBmpStream("BM"), nullptr);
  EXPECT_EQ(DecodeBmpStream(std::string(60, 'x')), nullptr);
}

}  // namespace
}  // namespace imaging
