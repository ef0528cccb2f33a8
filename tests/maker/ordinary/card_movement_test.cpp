#include "maker/ordinary/card_movement.h"

#include <deque>

#include <gtest/gtest.h>

#include "maker/ordinary/greeting_window.h"

using namespace ordinary;

namespace {

class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::deque<int> values) : values_(std::move(values)) {}
  int Next(int n) override {
    lastRange = n;
    int v = values_.empty() ? 0 : values_.front();
    if (!values_.empty()) values_.pop_front();
    return v;
  }
  int lastRange = 0;

 private:
  std::deque<int> values_;
};

constexpr ScreenSize kScreen{800, 600};

}  // namespace

TEST(CardMovementTest, RandomStartAndTargetDrawOnTheirOwn) {
  ScriptedRandom random({2, 6});  // positions 3 and 7
  MovementPlan plan = PlanMovement(0, 0, false, kScreen, 100, 50, random);
  EXPECT_EQ(random.lastRange, 9);
  EXPECT_EQ(plan.start, (Point{0, 0}));
  EXPECT_EQ(plan.target, (Point{700, 550}));
  EXPECT_TRUE(plan.moves);

  ScriptedRandom fixed({4});  // only the start is random: target 8 takes no draw
  plan = PlanMovement(0, 8, false, kScreen, 100, 50, fixed);
  EXPECT_EQ(plan.start, (Point{0, 550}));
  EXPECT_EQ(plan.target, (Point{700, 275}));
}

TEST(CardMovementTest, CentreLockSitsAtTheCentreAndDoesNotMove) {
  ScriptedRandom random({2, 6});
  MovementPlan plan = PlanMovement(0, 7, true, kScreen, 101, 51, random);
  EXPECT_EQ(plan.start, (Point{350, 275}));
  EXPECT_EQ(plan.target, plan.start);
  EXPECT_FALSE(plan.moves);
}

TEST(CardMovementTest, SameLeftMovesStraightOnePixelPerTick) {
  Point start{10, 100}, target{10, 97};
  Point p = start;
  p = PathStep(p, start, target);
  EXPECT_EQ(p, (Point{10, 99}));
  p = PathStep(PathStep(p, start, target), start, target);
  EXPECT_EQ(p, target);
  EXPECT_EQ(PathStep(p, start, target), target);  // stays at the target
}

TEST(CardMovementTest, PathFollowsTheLineWithHalvesToEven) {
  Point start{0, 0}, target{10, 5};
  Point p = start;
  std::vector<int> tops;
  for (int i = 0; i < 10; ++i) {
    p = PathStep(p, start, target);
    EXPECT_EQ(p.left, i + 1);
    tops.push_back(p.top);
  }
  // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4, 4.5 -> 4
  EXPECT_EQ(tops, (std::vector<int>{0, 1, 2, 2, 2, 3, 4, 4, 4, 5}));
  EXPECT_EQ(p, target);

  // Leftwards and upwards.
  Point s2{20, 40}, t2{16, 38};
  Point q = PathStep(s2, s2, t2);
  EXPECT_EQ(q, (Point{19, 40}));  // -0.5 -> 0
  q = PathStep(q, s2, t2);
  EXPECT_EQ(q, (Point{18, 39}));
}

TEST(CardMovementTest, LoopGoesClockwiseAroundTheEdges) {
  const ScreenSize screen{10, 8};
  const int w = 2, h = 2;  // right edge at 8, bottom edge at 6
  EXPECT_EQ(LoopStep({4, 3}, screen, w, h), (Point{4, 2}));  // inside: rises first
  EXPECT_EQ(LoopStep({8, 4}, screen, w, h), (Point{8, 5}));
  EXPECT_EQ(LoopStep({8, 5}, screen, w, h), (Point{7, 6}));  // corner turned within the tick
  EXPECT_EQ(LoopStep({1, 6}, screen, w, h), (Point{0, 5}));
  EXPECT_EQ(LoopStep({0, 1}, screen, w, h), (Point{1, 0}));
  EXPECT_EQ(LoopStep({7, 0}, screen, w, h), (Point{8, 0}));

  Point p{1, 0};
  int ticks = 0;
  do {
    p = LoopStep(p, screen, w, h);
    ++ticks;
    bool onEdge = p.left == 0 || p.left == 8 || p.top == 0 || p.top == 6;
    ASSERT_TRUE(onEdge) << p.left << "," << p.top;
  } while (p != Point{1, 0} && ticks < 100);
  EXPECT_EQ(ticks, 25);
}

TEST(GreetingWindowTest, SizeFromLabelAndPulledOntoTheScreen) {
  EXPECT_EQ(GreetingWindowRect({700, 550}, 184, 134, kScreen), (WindowRect{600, 450, 200, 150}));
  EXPECT_EQ(GreetingWindowRect({-30, -5}, 84, 34, kScreen), (WindowRect{0, 0, 100, 50}));
  EXPECT_EQ(GreetingWindowRect({300, 200}, 84, 34, kScreen), (WindowRect{300, 200, 100, 50}));
  // Larger than the screen: the top-left corner stays on it.
  EXPECT_EQ(GreetingWindowRect({10, 10}, 900, 100, kScreen), (WindowRect{0, 10, 916, 116}));
}

TEST(GreetingWindowTest, EntranceTable) {
  EXPECT_EQ(EntranceFor(0), Entrance::RollLeftToRight);
  EXPECT_EQ(EntranceFor(3), Entrance::RollBottomToTop);
  EXPECT_EQ(EntranceFor(4), Entrance::Expand);
  EXPECT_EQ(EntranceFor(5), Entrance::Fade);
  EXPECT_EQ(EntranceFor(6), Entrance::Fade);
  EXPECT_EQ(EntranceFor(7), Entrance::Expand);
  ScriptedRandom random({1});
  EXPECT_EQ(ChooseEntrance(random), Entrance::RollRightToLeft);
  EXPECT_EQ(random.lastRange, 8);
}
