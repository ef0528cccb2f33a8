#include "imaging/blend_modes.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace imaging {
namespace {

struct Px {
  uint8_t b, g, r;
};

// Blends colour (r, g, b) into a pixel (dr, dg, db) and returns it as red, green, blue.
std::array<int, 3> Blend(int mode, float x, int r, int g, int b, int dr, int dg, int db,
                         const CustomBlendTables* custom = nullptr) {
  uint8_t p[3] = {static_cast<uint8_t>(db), static_cast<uint8_t>(dg), static_cast<uint8_t>(dr)};
  EXPECT_TRUE(BlendPixel(p, mode, x, (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b), custom));
  return {p[2], p[1], p[0]};
}

using RGB = std::array<int, 3>;

TEST(BlendPixel, NormalModeUsesTheRoundedTables) {
  EXPECT_EQ(Blend(0, 1.0f, 10, 200, 255, 90, 90, 90), (RGB{10, 200, 255}));
  // M[255][128] + M[0][127] = 128.
  EXPECT_EQ(Blend(0, 0.5f, 255, 255, 255, 0, 0, 0), (RGB{128, 128, 128}));
  // M[100][64] = trunc(25.098 + 0.5) = 25; M[200][191] = trunc(149.8 + 0.5) = 150.
  EXPECT_EQ(Blend(0, 0.25f, 100, 100, 100, 200, 200, 200), (RGB{175, 175, 175}));
}

TEST(BlendPixel, ZeroStrengthAndUnknownModesChangeNothing) {
  EXPECT_EQ(Blend(9, 0.0f, 0, 0, 0, 10, 20, 30), (RGB{10, 20, 30}));
  EXPECT_EQ(Blend(14, 0.0f, 0, 0, 0, 10, 20, 30), (RGB{10, 20, 30}));
  EXPECT_EQ(Blend(33, 1.0f, 0, 0, 0, 10, 20, 30), (RGB{10, 20, 30}));
  EXPECT_EQ(Blend(255, 1.0f, 0, 0, 0, 10, 20, 30), (RGB{10, 20, 30}));
}

TEST(BlendPixel, ArithmeticModesRoundHalvesToEven) {
  // Mode 1 adds s*x: 1*0.5 + 0 = 0.5 -> 0, 1*0.5 + 1 = 1.5 -> 2, saturating at 255.
  EXPECT_EQ(Blend(1, 0.5f, 1, 1, 200, 0, 1, 200), (RGB{0, 2, 255}));
  EXPECT_EQ(Blend(2, 1.0f, 50, 200, 0, 100, 100, 7), (RGB{50, 0, 7}));
  EXPECT_EQ(Blend(3, 1.0f, 0xF0, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F), (RGB{0x0F, 0xF0, 0xF0}));
  EXPECT_EQ(Blend(4, 1.0f, 0xF0, 0x0F, 0, 0x0F, 0x0F, 3), (RGB{0xFF, 0x0F, 3}));
  EXPECT_EQ(Blend(5, 1.0f, 0xF0, 0x0F, 0, 0x3C, 0x3C, 3), (RGB{0x30, 0x0C, 0}));
  EXPECT_EQ(Blend(6, 1.0f, 200, 50, 0, 100, 100, 9), (RGB{100, 50, 9}));
  // (d - s) * x + d, limited: round(-127.5) = -128 -> 0.
  EXPECT_EQ(Blend(15, 0.5f, 100, 0, 255, 100, 100, 0), (RGB{100, 150, 0}));
}

TEST(BlendPixel, DarkenLightenMultiplyScreenMix) {
  EXPECT_EQ(Blend(7, 1.0f, 10, 200, 90, 100, 100, 90), (RGB{10, 100, 90}));
  EXPECT_EQ(Blend(8, 1.0f, 10, 200, 90, 100, 100, 90), (RGB{100, 200, 90}));
  EXPECT_EQ(Blend(7, 0.5f, 0, 0, 0, 100, 101, 0), (RGB{50, 50, 0}));  // 50.5 -> 50
  EXPECT_EQ(Blend(9, 1.0f, 12, 130, 250, 255, 255, 255), (RGB{12, 130, 250}));
  EXPECT_EQ(Blend(9, 1.0f, 128, 128, 0, 128, 0, 255), (RGB{64, 0, 0}));  // 64.25 -> 64
  EXPECT_EQ(Blend(16, 1.0f, 128, 0, 255, 128, 77, 3), (RGB{192, 77, 255}));
  EXPECT_EQ(Blend(10, 1.0f, 10, 200, 0, 20, 100, 0), (RGB{245, 255, 255}));
  EXPECT_EQ(Blend(11, 1.0f, 10, 200, 100, 20, 100, 28), (RGB{0, 172, 0}));
}

TEST(BlendPixel, OverlayAndLightModes) {
  // d < 129: round(d/255 * s/255 * 512); d >= 129: 255 - round((1-d/255)(1-s/255) 512).
  EXPECT_EQ(Blend(17, 1.0f, 255, 100, 0, 100, 200, 128), (RGB{201, 188, 0}));
  EXPECT_EQ(Blend(12, 1.0f, 200, 64, 0, 10, 100, 50), (RGB{200, 82, 50}));
  // Mode 13 scales the strength by the grey level of the source when it is below 128.
  EXPECT_EQ(Blend(13, 1.0f, 96, 96, 96, 0, 0, 0), (RGB{72, 72, 72}));
  EXPECT_EQ(Blend(25, 1.0f, 228, 27, 128, 100, 100, 100), (RGB{146, 52, 100}));
}

TEST(BlendPixel, BurnAndDodge) {
  EXPECT_EQ(Blend(22, 1.0f, 0, 0, 0, 200, 100, 0), (RGB{0, 0, 0}));
  EXPECT_EQ(Blend(22, 0.5f, 0, 255, 128, 200, 100, 255), (RGB{100, 100, 255}));
  EXPECT_EQ(Blend(23, 1.0f, 255, 128, 0, 1, 100, 77), (RGB{255, 201, 77}));
  EXPECT_EQ(Blend(24, 1.0f, 0, 255, 128, 40, 40, 0), (RGB{40, 40, 253}));
}

TEST(BlendPixel, DissolveReplacesFullyOrNotAtAll) {
  SeedDissolve(1234);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(Blend(14, 1.0f, 1, 2, 3, 200, 200, 200), (RGB{1, 2, 3}));
  int replaced = 0;
  for (int i = 0; i < 1000; ++i) {
    RGB r = Blend(14, 0.3f, 0, 0, 0, 200, 200, 200);
    ASSERT_TRUE(r == (RGB{0, 0, 0}) || r == (RGB{200, 200, 200}));
    replaced += r[0] == 0;
  }
  EXPECT_GT(replaced, 200);
  EXPECT_LT(replaced, 400);
}

TEST(BlendPixel, HslConversions) {
  Hsl red = RgbToHsl(255, 0, 0);
  EXPECT_DOUBLE_EQ(red.l, 50);
  EXPECT_DOUBLE_EQ(red.s, 100);
  EXPECT_DOUBLE_EQ(red.h, 0);
  Hsl blue = RgbToHsl(0, 0, 255);
  EXPECT_DOUBLE_EQ(blue.h, 240);
  Hsl grey = RgbToHsl(100, 100, 100);
  EXPECT_DOUBLE_EQ(grey.s, 0);
  int out[3];
  HslToRgb(50, 100, 30, out);  // ramp: 4.25 * 30 = 127.5 -> 128 (even)
  EXPECT_EQ(out[0], 255); EXPECT_EQ(out[1], 128); EXPECT_EQ(out[2], 0);
  HslToRgb(50, 100, 360, out);  // out of range: black
  EXPECT_EQ(out[0] + out[1] + out[2], 0);
  HslToRgb(50, 0, 0, out);  // no saturation: every channel at 128
  EXPECT_EQ(out[0], 128); EXPECT_EQ(out[1], 128); EXPECT_EQ(out[2], 128);
  HslToRgb(100, 100, 200, out);  // full lightness: white
  EXPECT_EQ(out[0], 255); EXPECT_EQ(out[1], 255); EXPECT_EQ(out[2], 255);
}

TEST(BlendPixel, ColourSpaceModesRecombineHsl) {
  // Hue of pure blue onto a fully saturated mid red: (L 50, S 100, H 240) -> blue.
  EXPECT_EQ(Blend(18, 1.0f, 0, 0, 255, 255, 0, 0), (RGB{0, 0, 255}));
  // Saturation 0 from a grey source makes the destination grey at 128.
  EXPECT_EQ(Blend(19, 1.0f, 90, 90, 90, 255, 0, 0), (RGB{128, 128, 128}));
  // Luminosity 100 (white source) makes anything white.
  EXPECT_EQ(Blend(20, 1.0f, 255, 255, 255, 0, 255, 0), (RGB{255, 255, 255}));
  // Colour: source hue and saturation, destination lightness (black stays black).
  EXPECT_EQ(Blend(21, 1.0f, 0, 255, 0, 0, 0, 0), (RGB{0, 0, 0}));
}

TEST(BlendPixel, CustomModesUseTheirTablesOrMixTowardsBlack) {
  EXPECT_EQ(Blend(26, 1.0f, 200, 200, 200, 100, 100, 100), (RGB{0, 0, 0}));
  EXPECT_EQ(Blend(30, 0.5f, 200, 200, 200, 100, 100, 100), (RGB{50, 50, 50}));
  testing_support::TempDir dir;
  std::string table(65536, '\0');
  table[200 * 256 + 100] = static_cast<char>(77);
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("28.mode"), table));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("32.mode"), std::string(10, '\x05')));
  CustomBlendTables custom;
  EXPECT_EQ(custom.LoadFromFolder(dir.Path()), 2);
  EXPECT_EQ(Blend(28, 1.0f, 200, 200, 0, 100, 1, 100, &custom), (RGB{77, 0, 0}));
  // A short file overwrites only its length: entry (0, 9) is 5, entry (0, 10) stays 0.
  EXPECT_EQ(Blend(32, 1.0f, 0, 0, 0, 9, 10, 9, &custom), (RGB{5, 0, 5}));
}

}  // namespace
}  // namespace imaging
