#include "player/card_motion.h"

#include <gtest/gtest.h>

#include <deque>

using namespace player;

namespace {

struct ScriptedRandom : RandomSource {
  std::deque<int> values;
  int Next(int n) override {
    if (values.empty()) return 0;
    const int v = values.front() % n;
    values.pop_front();
    return v;
  }
};

const ScreenSize kScreen{800, 600};

}  // namespace

TEST(CardMotion, LockedCardsSitAtTheCentreAndNeverMove) {
  WindowModel w;
  w.lockCentre = true;
  w.startPosition = 3;
  ScriptedRandom r;
  CardMotion m(w, kScreen, 200, 100, r);
  EXPECT_EQ(m.Start(), (Point{300, 250}));
  EXPECT_FALSE(m.Moving());
  EXPECT_EQ(m.Step(), (Point{300, 250}));
}

TEST(CardMotion, PathRunsFromStartToEndAndStops) {
  WindowModel w;
  w.startPosition = 3;  // top-left
  w.endPosition = 7;    // bottom-right
  w.moveIntervalMs = 25;
  ScriptedRandom r;
  CardMotion m(w, kScreen, 200, 100, r);
  EXPECT_EQ(m.Start(), (Point{0, 0}));
  EXPECT_EQ(m.Target(), (Point{600, 500}));
  EXPECT_EQ(m.IntervalMs(), 25);
  int steps = 0;
  while (m.Moving() && steps < 10000) {
    const Point before = m.Position();
    const Point p = m.Step();
    EXPECT_EQ(p.left, before.left + 1);
    EXPECT_GE(p.top, before.top);
    ++steps;
  }
  EXPECT_EQ(steps, 600);
  EXPECT_EQ(m.Position(), (Point{600, 500}));
  EXPECT_FALSE(m.Moving());
}

TEST(CardMotion, RandomPositionsDrawEachOnTheirOwn) {
  WindowModel w;
  w.startPosition = 0;
  w.endPosition = 0;
  ScriptedRandom r;
  r.values = {8, 2};  // 1 + 8 = 9 top-right, 1 + 2 = 3 top-left
  CardMotion m(w, kScreen, 200, 100, r);
  EXPECT_EQ(m.Start(), (Point{600, 0}));
  EXPECT_EQ(m.Target(), (Point{0, 0}));
}

TEST(CardMotion, LoopGoesClockwiseAroundTheEdgesForEver) {
  WindowModel w;
  w.loopMove = true;
  w.startPosition = 1;  // centre: rises to the top edge first
  ScriptedRandom r;
  CardMotion m(w, kScreen, 200, 100, r);
  ASSERT_TRUE(m.Loops());
  EXPECT_EQ(m.Step(), (Point{300, 249}));
  for (int i = 0; i < 249; ++i) m.Step();
  EXPECT_EQ(m.Position(), (Point{300, 0}));
  // Then clockwise: along the top to the right, down the right edge, back along the bottom,
  // up the left edge, and round again; every position lies on an edge.
  std::vector<int> corners;  // 1 top-right, 2 bottom-right, 3 bottom-left, 4 top-left
  for (int i = 0; i < 4500; ++i) {
    const Point p = m.Step();
    EXPECT_TRUE(p.left == 0 || p.left == 600 || p.top == 0 || p.top == 500) << p.left << "," << p.top;
    int corner = 0;
    if (p.left == 600 && p.top <= 1) corner = 1;
    if (p.left >= 599 && p.top == 500) corner = 2;
    if (p.left == 0 && p.top >= 499) corner = 3;
    if (p.left <= 1 && p.top == 0) corner = 4;
    if (corner && (corners.empty() || corners.back() != corner)) corners.push_back(corner);
  }
  EXPECT_EQ(corners, (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4}));
  EXPECT_TRUE(m.Moving());
}

TEST(CardMotion, SpeedTextAsTheDesignerAppliesIt) {
  EXPECT_EQ(MoveSpeedMs(""), 100);
  EXPECT_EQ(MoveSpeedMs("0"), 10);
  EXPECT_EQ(MoveSpeedMs("35"), 35);
  EXPECT_EQ(MoveSpeedMs("fast"), 100);
}
