// Effects on a drawn shape compared with committed golden pictures (32-bit BMP). Set
// CARD_UPDATE_GOLDEN=1 to write them again after a deliberate change, then look at them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "imaging/bmp_stream.h"
#include "imaging/effect_painters.h"
#include "imaging/layer_style_file.h"
#include "imaging/style_description.h"
#include "imaging_fixtures.h"
#include "support/temp_dir.h"

namespace imaging {
namespace {

using namespace testing_fixtures;

// A ring and a bar, anti-aliased: enough edges and hollows for every effect.
int Shape(int x, int y) {
  double d = std::hypot(x - 22.0, y - 22.0);
  double ring = std::clamp(5.0 - std::fabs(d - 13.0), 0.0, 1.0);
  double bar = (x >= 44 && x < 52 && y >= 6 && y < 40) ? 1.0 : 0.0;
  return static_cast<int>(std::lround(std::max(ring, bar) * 255));
}

void CheckGolden(const char* name, const std::string& description) {
  StyleFile style;
  std::string error;
  ASSERT_TRUE(ParseStyleDescription(description, ".", style, error)) << error;
  testing_support::TempDir dir;
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("g.style"), WriteStyleFile(style)));
  TlmImageVcl img;
  MakeImage(img, 84, 64);
  AddShapeLayer(img, 14, 10, 56, 44, Shape, platform::Rgb(40, 90, 200));
  ASSERT_TRUE(img.LoadLayerStyle(1, dir.File("g.style")));
  img.RebuildAllEffects(1);
  img.Layer(0).Visible = false;
  BitmapPtr out;
  ASSERT_TRUE(img.ExportImage(out));
  const std::string path = std::string(CARD_TEST_DATA_DIR) + "/imaging/" + name + ".bmp";
  if (std::getenv("CARD_UPDATE_GOLDEN")) {
    ASSERT_TRUE(testing_support::WriteBytes(path, EncodeBmpStream(*out)));
    return;
  }
  BitmapPtr golden = DecodeBmpStream(testing_support::ReadBytes(path));
  ASSERT_TRUE(golden) << path;
  EXPECT_TRUE(golden->SamePixels(*out)) << name;
}

TEST(GoldenEffects, StrokeAndDropShadow) {
  CheckGolden("stroke_shadow", R"(
[ColorOverlay]
On = 1
Color = #FFE600
Opacity = 100
[Stroke]
On = 1
Size = 3
Opacity = 100
Color = #E00000
[DropShadow]
On = 1
Opacity = 75
Size = 3
Offset = 4 4
)");
}

TEST(GoldenEffects, InnerBevelOverAGradient) {
  CheckGolden("bevel_gradient", R"(
[GradientOverlay]
On = 1
Opacity = 100
Type = 4
Angle = 135
Stops = #FFF6B0:0.5 #E0A800:0.5 #A06800:0
[Bevel]
On = 1
Style = 0
Size = 3
HighlightColor = #FFFFFF
HighlightOpacity = 80
ShadowColor = #603000
ShadowOpacity = 70
Offset = 2 2
)");
}

TEST(GoldenEffects, GlowsInnerShadowAndPattern) {
  CheckGolden("glow_pattern", R"(
[PatternOverlay]
On = 1
Opacity = 100
Generate = checker 6 6 #FFFFFF #20A040
[InnerShadow]
On = 1
Opacity = 60
Size = 2
Offset = 2 2
[OuterGlow]
On = 1
BlendMode = 16
Color = #00A0FF
Opacity = 90
Spread = 1
Size = 6
[InnerGlow]
On = 1
Color = #FFFF80
Opacity = 60
Size = 2
)");
}

}  // namespace
}  // namespace imaging
