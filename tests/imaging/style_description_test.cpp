#include "imaging/style_description.h"

#include <gtest/gtest.h>

#include "imaging/layer_style_file.h"

namespace imaging {
namespace {

TEST(StyleDescription, DerivesOriginsFromOffsetAndSizes) {
  StyleFile s;
  std::string error;
  ASSERT_TRUE(ParseStyleDescription("[DropShadow]\nOn = 1\nSpread = 2\nSize = 5\nOffset = 3 -1\n"
                                    "[Bevel]\nOn = 1\nSize = 4\nChoke = 1\nOffset = 2 2\n"
                                    "[Stroke]\nOn = 1\nSize = 3\nSoftness = 1\n[OuterGlow]\nSize = 6\n",
                                    ".", s, error))
      << error;
  EXPECT_EQ(+s.dropShadow.originX, 3 - 10);
  EXPECT_EQ(+s.dropShadow.originY, -1 - 10);
  EXPECT_EQ(+s.bevel.highlightOriginX, 2 - 8);
  EXPECT_EQ(+s.bevel.shadowOriginX, -2 - 8);
  EXPECT_EQ(+s.stroke.originX, -8);
  EXPECT_EQ(+s.outerGlow.originY, -12);
  EXPECT_EQ(s.outerGlowOn, 0);
}

TEST(StyleDescription, EmptyContourPointsGiveTheStraightTable) {
  StyleFile s;
  std::string error;
  ASSERT_TRUE(ParseStyleDescription("[DropShadow]\nContourOn = 1\nContourPoints = \n", ".", s, error)) << error;
  EXPECT_EQ(s.dropShadow.contourCount, 0);
  for (int v = 0; v < 256; ++v) ASSERT_EQ(s.dropShadow.contourTable[v], v);
}

TEST(StyleDescription, DumpedDescriptionsWriteTheSameFile) {
  StyleFile s;
  std::string error;
  ASSERT_TRUE(ParseStyleDescription(R"(
[Layer]
Version = 0x0103
Opacity = 0.8
BlendMode = 16
[InnerGlow]
On = 1
Color = #10FF20
Size = 4
Reserved716 = 9
ContourPoints = 0,0 128,255 255,0
[Spare]
Byte = 3
Data = 0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F202122232425262728292A2B2C2D2E2F30
[StrokeGradient]
On = 1
Reverse = 1
Stops = #FF0000:0.25 #00FF00:0.25 0x00FF0000:-0
[PatternOverlay]
On = 1
Generate = hlines 4 4 #000000 #FFFFFF
)", ".", s, error)) << error;
  EXPECT_EQ(s.innerGlow.contourTable[64], 128);  // straight lines through the points
  EXPECT_EQ(s.innerGlow.contourTable[255], 0);
  EXPECT_EQ(+s.strokeGradient.stopCount, 3);
  const std::string bytes = WriteStyleFile(s);
  StyleFile read;  // the file reads back as the same file
  ASSERT_EQ(ParseStyleFile(bytes, read), StyleParse::Ok);
  EXPECT_EQ(WriteStyleFile(read), bytes);
  StyleFile again;
  ASSERT_TRUE(ParseStyleDescription(DescribeStyle(s), ".", again, error)) << error;
  again.patternBytes = s.patternBytes;  // pixels are noted, not described
  EXPECT_EQ(WriteStyleFile(again), bytes);
  // Points beside an empty table: the dump keeps the table as the file has it.
  StyleFile raw;
  raw.dropShadow.contourCount = 2;
  raw.dropShadow.contour[1] = {255, 255};
  StyleFile back;
  ASSERT_TRUE(ParseStyleDescription(DescribeStyle(raw), ".", back, error)) << error;
  EXPECT_EQ(WriteStyleFile(back), WriteStyleFile(raw));
}

TEST(StyleDescription, MistakesNameTheirLine) {
  StyleFile s;
  std::string error;
  EXPECT_FALSE(ParseStyleDescription("[Stroke]\nOn = 1\nSise = 3\n", ".", s, error));
  EXPECT_EQ(error, "line 3: unknown key 'Sise' in [Stroke]");
  EXPECT_FALSE(ParseStyleDescription("[Glow]\n", ".", s, error));
  EXPECT_FALSE(ParseStyleDescription("[Stroke]\nOpacity = 300\n", ".", s, error));
  EXPECT_FALSE(ParseStyleDescription("[GradientOverlay]\nStops = #FF0000:0.5\n", ".", s, error));
  EXPECT_FALSE(ParseStyleDescription("[PatternOverlay]\nFile = missing.bmp\n", "/nonexistent", s, error));
  EXPECT_FALSE(ParseStyleDescription("[PatternOverlay]\nFile = /dev/zero\n", ".", s, error));
  // Numbers the effects cannot use are refused, not wrapped.
  EXPECT_FALSE(ParseStyleDescription("[DropShadow]\nContourPoints = -2147483648,0 255,255\n", ".", s, error));
  EXPECT_EQ(error, "line 2: contour points are X,Y pairs from 0 to 255");
  EXPECT_FALSE(ParseStyleDescription("[OuterGlow]\nSize = -1\n", ".", s, error));
  EXPECT_EQ(error, "line 2: Size takes 0 to 250");
  EXPECT_FALSE(ParseStyleDescription("[DropShadow]\nOffset = 2147483647 0\n", ".", s, error));
  EXPECT_FALSE(ParseStyleDescription("[GradientOverlay]\nStops = #FF0000:1e7 #0000FF:0\n", ".", s, error));
  EXPECT_FALSE(ParseStyleDescription("[Bevel]\nHighlightOpacity = 101\n", ".", s, error));
}

}  // namespace
}  // namespace imaging
