// Exact pixels of the copy-based effects 21-82 at chosen steps, on 50 x 40 tagged frames.
#include <gtest/gtest.h>

#include "maker/transitions/transition_fixture.h"

namespace transitions {
namespace {

using namespace transitions::testing;

class CopyEffects : public ::testing::Test {
 protected:
  const platform::Bitmap& Draw(int effect, int step) { return st.Draw(effect, step); }
  Seen T(int x, int y) { return At(*st.target, x, y); }
  Stage st{50, 40};
};

TEST_F(CopyEffects, WipeInRoundsHalvesToTheEvenInteger) {
  Draw(21, 37);  // R(18.5) = 18
  EXPECT_EQ(T(17, 5), New(17, 5));
  EXPECT_EQ(T(18, 5), Old(18, 5));
  Draw(21, 39);  // R(19.5) = 20
  EXPECT_EQ(T(19, 5), New(19, 5));
  EXPECT_EQ(T(20, 5), Old(20, 5));
}

TEST_F(CopyEffects, WipeInFromTheCentreComesLast) {
  Draw(29, 50);  // 25 x 20 at (12, 10)
  EXPECT_EQ(T(11, 10), Old(11, 10));
  EXPECT_EQ(T(12, 10), New(12, 10));
  EXPECT_EQ(T(36, 29), New(36, 29));
  EXPECT_EQ(T(37, 29), Old(37, 29));
  EXPECT_EQ(T(20, 30), Old(20, 30));
  Draw(26, 50);  // bottom-left: (0, 20, 25, 20)
  EXPECT_EQ(T(24, 20), New(24, 20));
  EXPECT_EQ(T(24, 19), Old(24, 19));
  EXPECT_EQ(T(25, 39), Old(25, 39));
}

TEST_F(CopyEffects, WipeOutKeepsTheOldFrameInAShrinkingRectangle) {
  Draw(30, 30);  // left, width R(35) = 35
  EXPECT_EQ(T(34, 0), Old(34, 0));
  EXPECT_EQ(T(35, 0), New(35, 0));
  Draw(37, 75);  // bottom-right, 13 x 10 (R(12.5) = 12 wide)
  EXPECT_EQ(T(38, 30), Old(38, 30));
  EXPECT_EQ(T(37, 30), New(37, 30));
  EXPECT_EQ(T(38, 29), New(38, 29));
}

TEST_F(CopyEffects, SlideInShowsTheFarPartOfTheIncomingFrame) {
  Draw(39, 20);  // from the left: new (40, 0, 10, H) at (0, 0)
  EXPECT_EQ(T(0, 3), New(40, 3));
  EXPECT_EQ(T(9, 3), New(49, 3));
  EXPECT_EQ(T(10, 3), Old(10, 3));
  Draw(42, 25);  // from the bottom: new (0, 0, W, 10) at (0, 30)
  EXPECT_EQ(T(7, 30), New(7, 0));
  EXPECT_EQ(T(7, 29), Old(7, 29));
  Draw(46, 20);  // from the bottom-right corner: new (0, 0, 10, 8) at (40, 32)
  EXPECT_EQ(T(40, 32), New(0, 0));
  EXPECT_EQ(T(49, 39), New(9, 7));
  EXPECT_EQ(T(39, 32), Old(39, 32));
  Draw(43, 20);  // from the top-left corner: new (40, 32, 10, 8) at (0, 0)
  EXPECT_EQ(T(0, 0), New(40, 32));
}

TEST_F(CopyEffects, SlideOutMovesTheOldFrameAway) {
  Draw(48, 80);  // toward the right: old (0, 0, 10, H) at (40, 0)
  EXPECT_EQ(T(40, 0), Old(0, 0));
  EXPECT_EQ(T(39, 0), New(39, 0));
  Draw(47, 80);  // toward the left: old (40, 0, 10, H) at (0, 0)
  EXPECT_EQ(T(0, 9), Old(40, 9));
  EXPECT_EQ(T(10, 9), New(10, 9));
}

TEST_F(CopyEffects, PushMovesBothFramesTogether) {
  Draw(55, 20);
  EXPECT_EQ(T(0, 0), New(40, 0));
  EXPECT_EQ(T(9, 0), New(49, 0));
  EXPECT_EQ(T(10, 0), Old(0, 0));
  EXPECT_EQ(T(49, 0), Old(39, 0));
  Draw(58, 25);  // upward
  EXPECT_EQ(T(0, 0), Old(0, 10));
  EXPECT_EQ(T(0, 29), Old(0, 39));
  EXPECT_EQ(T(0, 30), New(0, 0));
}

TEST_F(CopyEffects, SwapChangesItsCopiesAfterTheMiddleStep) {
  Draw(59, 20);  // old to (10, 0), then new (10, 0, 10, H) to (0, 0)
  EXPECT_EQ(T(0, 0), New(10, 0));
  EXPECT_EQ(T(10, 0), Old(0, 0));
  Draw(59, 80);  // old (0, 0, 40, H) to (10, 0), then new (10, 0, 40, H) to (0, 0)
  EXPECT_EQ(T(0, 0), New(10, 0));
  EXPECT_EQ(T(39, 0), New(49, 0));
  EXPECT_EQ(T(40, 0), Old(30, 0));
  Draw(61, 30);  // new (0, 0, 35, H) to (15, 0), then old (15, 0, 35, H) to (0, 0)
  EXPECT_EQ(T(0, 0), Old(15, 0));
  EXPECT_EQ(T(34, 0), Old(49, 0));
  EXPECT_EQ(T(35, 0), New(20, 0));
  Draw(62, 75);  // old (0, 10, W, 30) to (0, 0), then new (0, 0, W, 30) to (0, 10)
  EXPECT_EQ(T(0, 9), Old(0, 19));
  EXPECT_EQ(T(0, 10), New(0, 0));
}

TEST_F(CopyEffects, PageTurnDrawsAMirroredStripAheadOfTheEdge) {
  Draw(63, 30);  // x = 15, t = 5
  EXPECT_EQ(T(14, 0), New(14, 0));
  EXPECT_EQ(T(15, 0), New(19, 0));
  EXPECT_EQ(T(19, 0), New(15, 0));
  EXPECT_EQ(T(20, 0), Old(20, 0));
  Draw(66, 5);  // from the bottom: y = 2, t = R(2) = 2
  EXPECT_EQ(T(0, 38), New(0, 38));
  EXPECT_EQ(T(0, 37), New(0, 36));
  EXPECT_EQ(T(0, 36), New(0, 37));
  EXPECT_EQ(T(0, 35), Old(0, 35));
  Draw(65, 50);  // from the right: x = 25, t = 5, strip at 20
  EXPECT_EQ(T(25, 0), New(25, 0));
  EXPECT_EQ(T(20, 0), New(24, 0));
  EXPECT_EQ(T(19, 0), Old(19, 0));
}

TEST_F(CopyEffects, PageTurnOutRollsTheOldFrameAway) {
  Draw(67, 70);  // f = 30: x = 15, t = 5
  EXPECT_EQ(T(14, 0), Old(14, 0));
  EXPECT_EQ(T(15, 0), Old(19, 0));
  EXPECT_EQ(T(20, 0), New(20, 0));
  Draw(67, 95);  // f = 5: x = R(2.5) = 2, t = 2
  EXPECT_EQ(T(1, 0), Old(1, 0));
  EXPECT_EQ(T(2, 0), Old(3, 0));
  EXPECT_EQ(T(4, 0), New(4, 0));
}

TEST_F(CopyEffects, CentreOpenAndClose) {
  Draw(73, 40);  // central band of width 20 at 15
  EXPECT_EQ(T(14, 0), Old(14, 0));
  EXPECT_EQ(T(15, 0), New(15, 0));
  EXPECT_EQ(T(34, 0), New(34, 0));
  EXPECT_EQ(T(35, 0), Old(35, 0));
  Draw(75, 40);  // halves: new (15, 0, 10, H) to (0, 0) and new (25, 0, 10, H) to (40, 0)
  EXPECT_EQ(T(0, 0), New(15, 0));
  EXPECT_EQ(T(9, 0), New(24, 0));
  EXPECT_EQ(T(10, 0), Old(10, 0));
  EXPECT_EQ(T(40, 0), New(25, 0));
  Draw(80, 50);  // old's central band of height 20 over the new
  EXPECT_EQ(T(3, 10), Old(3, 10));
  EXPECT_EQ(T(3, 9), New(3, 9));
  Draw(77, 50);  // old stretched into the band (12, 0, 25, H)
  EXPECT_EQ(T(11, 0), New(11, 0));
  EXPECT_EQ(T(12, 0).tag, kOldTag);
  EXPECT_EQ(T(36, 0).tag, kOldTag);
  EXPECT_EQ(T(37, 0), New(37, 0));
}

}  // namespace
}  // namespace transitions
