#include "maker/document/caption_scroll.h"

#include <gtest/gtest.h>

#include "platform/fonts.h"

using namespace document;
using platform::Bitmap;

namespace {

// Ticks until the position is back at 0; returns how many ticks that took.
int TicksPerRound(const CaptionGeometry& g) {
  int p = 0, ticks = 0;
  do {
    p = NextCaptionPosition(g, p);
    ++ticks;
  } while (p != 0 && ticks < 100000);
  return ticks;
}

// Rows (or columns) of a frame that hold any pixel of the given colour.
bool RowHasColor(const Bitmap& b, int y, platform::Color c) {
  for (int x = 0; x < b.Width(); ++x)
    if (b.PixelColor(x, y) == c && b.PixelAlpha(x, y) > 0) return true;
  return false;
}

CaptionLook Look(int way, std::string text) {
  CaptionLook look;
  look.way = way;
  look.text = std::move(text);
  look.font.color = platform::Rgb(255, 0, 0);
  look.font.height = -16;
  look.bkColor = platform::kClWhite;
  look.transparent = false;
  return look;
}

}  // namespace

TEST(CaptionScroll, VerticalWaysRestartAfterTextAndBoxHeight) {
  // Way 0, height 150, three lines of 12: draws p = 0 … 186, p is back to 0 on tick 188.
  CaptionGeometry g{kWayUp, 3, 12, 200, 150};
  EXPECT_EQ(CaptionPositionLimit(g), 186);
  EXPECT_EQ(NextCaptionPosition(g, 185), 186);
  EXPECT_EQ(NextCaptionPosition(g, 186), 0);
  EXPECT_EQ(TicksPerRound(g), 187);
  g.way = kWayDown;
  EXPECT_EQ(TicksPerRound(g), 187);
  // An empty text still scrolls through the box's height.
  g.lineCount = 0;
  EXPECT_EQ(CaptionPositionLimit(g), 150);
}

TEST(CaptionScroll, HorizontalWaysRestartAfterTwiceTheWidth) {
  CaptionGeometry g{kWayLeft, 5, 12, 200, 150};
  EXPECT_EQ(TicksPerRound(g), 401);
  g.way = kWayRight;
  EXPECT_EQ(CaptionPositionLimit(g), 400);
  EXPECT_EQ(NextCaptionPosition(g, 400), 0);
}

TEST(CaptionScroll, LinesArePlacedPerWay) {
  const CaptionGeometry up{kWayUp, 3, 12, 200, 150};
  EXPECT_EQ(PlaceCaptionLines(up, 10),
            (std::vector<LinePlacement>{{0, 1, 140}, {1, 1, 152}, {2, 1, 164}}));
  // Top to bottom: the last line leads, at y = p.
  const CaptionGeometry down{kWayDown, 3, 12, 200, 150};
  EXPECT_EQ(PlaceCaptionLines(down, 30),
            (std::vector<LinePlacement>{{2, 1, 30}, {1, 1, 18}, {0, 1, 6}}));
  const CaptionGeometry left{kWayLeft, 2, 12, 200, 150};
  EXPECT_EQ(PlaceCaptionLines(left, 50), (std::vector<LinePlacement>{{0, 150, 0}, {1, 150, 12}}));
  const CaptionGeometry right{kWayRight, 2, 12, 200, 150};
  EXPECT_EQ(PlaceCaptionLines(right, 50), (std::vector<LinePlacement>{{0, -150, 0}, {1, -150, 12}}));
  // An unknown Way scrolls as Way 0.
  const CaptionGeometry odd{7, 1, 12, 200, 150};
  EXPECT_EQ(PlaceCaptionLines(odd, 0), (std::vector<LinePlacement>{{0, 1, 150}}));
}

TEST(CaptionScroll, TextBreaksAtTheBoxWidthAndLineHeightIsThatOfSoft) {
  auto font = platform::fonts::Font::Create(Look(0, "").font);
  ASSERT_TRUE(font);
  EXPECT_EQ(CaptionLineHeight(*font), font->Measure("软").height);
  EXPECT_TRUE(CaptionLines(*font, "", 200).empty());
  EXPECT_EQ(CaptionLines(*font, "一\r\n二", 200), (std::vector<std::string>{"一", "二"}));
  // Twenty Chinese characters do not fit in a box four characters wide.
  const int four = font->Measure("软软软软").width;
  const auto lines = CaptionLines(*font, "新年快乐万事如意身体健康心想事成恭喜发财", four);
  ASSERT_EQ(lines.size(), 5u);
  for (const auto& line : lines) EXPECT_LE(font->Measure(line).width, four);
}

TEST(CaptionScroll, FrameScrollsUpFromTheBottomAndRestarts) {
  CaptionLook look = Look(kWayUp, "新年快乐");
  look.width = 120;
  look.height = 60;
  CaptionScroller s(look);
  ASSERT_EQ(s.Lines().size(), 1u);
  const int h = s.LineHeight();
  ASSERT_GT(h, 0);
  const platform::Color red = platform::Rgb(255, 0, 0);

  // First tick draws at p = 0: the line lies just below the box, nothing shows.
  auto first = s.Tick();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Format(), platform::PixelFormat::Bgra32);
  EXPECT_EQ(first->Width(), 120);
  EXPECT_EQ(first->Height(), 60);
  for (int y = 0; y < 60; ++y) EXPECT_FALSE(RowHasColor(*first, y, red)) << y;
  EXPECT_EQ(s.Position(), 1);

  // At p = 30 the line's cell spans rows 30 … 30 + h - 1 and nothing above it has ink.
  s.SetPosition(30);
  auto mid = s.Tick();
  bool inkInCell = false;
  for (int y = 30; y < 30 + h && y < 60; ++y) inkInCell |= RowHasColor(*mid, y, red);
  EXPECT_TRUE(inkInCell);
  for (int y = 0; y < 30; ++y) EXPECT_FALSE(RowHasColor(*mid, y, red)) << y;

  // After the last position (h + 60) it starts again from the bottom.
  s.SetPosition(h + 60);
  s.Tick();
  EXPECT_EQ(s.Position(), 0);
}

TEST(CaptionScroll, BackgroundColourPictureAndTransparency) {
  CaptionLook look = Look(kWayLeft, "");
  look.width = 40;
  look.height = 30;
  look.bkColor = platform::Rgb(0, 0, 255);
  CaptionScroller opaque(look);
  auto f = opaque.Tick();
  EXPECT_EQ(f->PixelColor(5, 5), platform::Rgb(0, 0, 255));
  EXPECT_EQ(f->PixelAlpha(5, 5), 255);

  look.transparent = true;
  CaptionScroller clear(look);
  EXPECT_EQ(clear.Tick()->PixelAlpha(5, 5), 0);

  // A picture is stretched over the whole frame and stays opaque on a transparent caption.
  auto pic = Bitmap::Create(2, 2, platform::PixelFormat::Bgr24);
  pic->Fill(platform::Rgb(0, 255, 0));
  look.picture = std::move(pic);
  CaptionScroller pictured(look);
  auto g = pictured.Tick();
  EXPECT_EQ(g->PixelColor(0, 0), platform::Rgb(0, 255, 0));
  EXPECT_EQ(g->PixelColor(39, 29), platform::Rgb(0, 255, 0));
  EXPECT_EQ(g->PixelAlpha(39, 29), 255);

  EXPECT_EQ(LoadCaptionPicture(""), nullptr);
  EXPECT_EQ(LoadCaptionPicture("/no/such/caption.jpg"), nullptr);
}

TEST(CaptionScroll, ChangingTheLookKeepsOrResetsThePosition) {
  CaptionLook look = Look(kWayLeft, "祝福");
  look.width = 200;
  CaptionScroller s(look);
  s.SetPosition(300);
  look.text = "新的祝福";
  s.SetLook(look);
  EXPECT_EQ(s.Position(), 300);  // still inside 2 * 200
  look.width = 100;
  s.SetLook(look);
  EXPECT_EQ(s.Position(), 0);    // past 2 * 100: starts again
}
