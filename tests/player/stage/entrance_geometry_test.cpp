#include "player/stage/entrance_geometry.h"

#include <gtest/gtest.h>

using ordinary::Entrance;
using stage::EntranceFrame;
using stage::EntranceFrameAt;

namespace {

EntranceFrame Rect(int l, int t, int w, int h) { return {l, t, w, h, 255, false}; }

}  // namespace

TEST(EntranceGeometry, RollsUncoverTheWindowFromTheirEdge) {
  // 200 x 100 window, a quarter of the 600 ms gone.
  EXPECT_EQ(EntranceFrameAt(Entrance::RollLeftToRight, 200, 100, 150), Rect(0, 0, 50, 100));
  EXPECT_EQ(EntranceFrameAt(Entrance::RollRightToLeft, 200, 100, 150), Rect(150, 0, 50, 100));
  EXPECT_EQ(EntranceFrameAt(Entrance::RollTopToBottom, 200, 100, 150), Rect(0, 0, 200, 25));
  EXPECT_EQ(EntranceFrameAt(Entrance::RollBottomToTop, 200, 100, 150), Rect(0, 75, 200, 25));
  // The uncovered part stays anchored to its edge and grows with time.
  EntranceFrame a = EntranceFrameAt(Entrance::RollRightToLeft, 201, 100, 300);
  EntranceFrame b = EntranceFrameAt(Entrance::RollRightToLeft, 201, 100, 450);
  EXPECT_EQ(a.left + a.width, 201);
  EXPECT_EQ(b.left + b.width, 201);
  EXPECT_GT(b.width, a.width);
}

TEST(EntranceGeometry, ExpansionGrowsAboutTheCentre) {
  EXPECT_EQ(EntranceFrameAt(Entrance::Expand, 200, 100, 300), Rect(50, 25, 100, 50));
  // Odd sizes: the rectangle keeps its centre within half a pixel.
  EntranceFrame f = EntranceFrameAt(Entrance::Expand, 101, 51, 200);
  EXPECT_EQ(f.width, 33);
  EXPECT_EQ(f.height, 17);
  EXPECT_EQ(f.left, 34);
  EXPECT_EQ(f.top, 17);
  EXPECT_LE(std::abs((f.left + f.width / 2.0) - 101 / 2.0), 0.5);
}

TEST(EntranceGeometry, FadeShowsTheWholeWindowWithRisingOpacity) {
  EntranceFrame start = EntranceFrameAt(Entrance::Fade, 80, 60, 0);
  EntranceFrame half = EntranceFrameAt(Entrance::Fade, 80, 60, 300);
  EXPECT_EQ(start.opacity, 0);
  EXPECT_EQ(half.opacity, 127);
  EXPECT_EQ(half.width, 80);
  EXPECT_EQ(half.height, 60);
  EXPECT_FALSE(half.done);
}

TEST(EntranceGeometry, NothingBeforeTheStartAndTheWholeWindowFromTheEnd) {
  for (Entrance e : {Entrance::RollLeftToRight, Entrance::RollRightToLeft, Entrance::RollTopToBottom,
                     Entrance::RollBottomToTop, Entrance::Expand}) {
    EntranceFrame first = EntranceFrameAt(e, 120, 90, -5);
    EXPECT_EQ(first.width * first.height, 0) << static_cast<int>(e);
    EntranceFrame almost = EntranceFrameAt(e, 120, 90, 599);
    EXPECT_FALSE(almost.done);
    EXPECT_LT(almost.width * almost.height, 120 * 90);
    EXPECT_EQ(EntranceFrameAt(e, 120, 90, 600), (EntranceFrame{0, 0, 120, 90, 255, true}));
    EXPECT_EQ(EntranceFrameAt(e, 120, 90, 5000), (EntranceFrame{0, 0, 120, 90, 255, true}));
  }
  // A window of no size or an entrance of no duration is simply shown.
  EXPECT_TRUE(EntranceFrameAt(Entrance::Fade, 120, 90, 10, 0).done);
  EXPECT_EQ(EntranceFrameAt(Entrance::Expand, -3, 90, 100).width, 0);
}
