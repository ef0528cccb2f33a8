// Exact pixels of comb strips, slices, strips from both sides, four pieces and quarters on
// 100 x 60 frames, where one percent of the width is one column.
#include <gtest/gtest.h>

#include "maker/transitions/transition_fixture.h"

namespace transitions {
namespace {

using namespace transitions::testing;

class StripEffects : public ::testing::Test {
 protected:
  void Draw(int effect, int step) { st.Draw(effect, step); }
  Seen T(int x, int y) { return At(*st.target, x, y); }
  bool ColumnIsNew(int x) {
    for (int y = 0; y < 60; ++y)
      if (T(x, y) != New(x, y)) return false;
    return true;
  }
  Stage st{100, 60};
};

TEST_F(StripEffects, CombAddsOneStripPerStepThenWipesFromTheRight) {
  Draw(83, 1);
  EXPECT_TRUE(ColumnIsNew(0));
  EXPECT_EQ(st.CountInPlace(kNewTag), 60);
  Draw(83, 10);
  EXPECT_TRUE(ColumnIsNew(18));
  EXPECT_FALSE(ColumnIsNew(20));
  EXPECT_EQ(st.CountInPlace(kNewTag), 600);
  Draw(83, 50);  // every other column
  for (int x = 0; x < 100; ++x) EXPECT_EQ(ColumnIsNew(x), x % 2 == 0) << x;
  Draw(83, 75);  // g = 50: the right half whole
  for (int x = 50; x < 100; ++x) EXPECT_TRUE(ColumnIsNew(x)) << x;
  EXPECT_FALSE(ColumnIsNew(49));
  EXPECT_TRUE(ColumnIsNew(48));
}

TEST_F(StripEffects, CombFromTheRightPlacesStripsFromTheFarEdge) {
  Draw(84, 3);  // strips at 100 (outside), 98 and 96
  EXPECT_TRUE(ColumnIsNew(98));
  EXPECT_TRUE(ColumnIsNew(96));
  EXPECT_FALSE(ColumnIsNew(99));
  EXPECT_FALSE(ColumnIsNew(94));
  Draw(84, 60);  // all strips, plus 20 columns from the left
  EXPECT_TRUE(ColumnIsNew(19));
  EXPECT_FALSE(ColumnIsNew(21));
  EXPECT_TRUE(ColumnIsNew(22));
}

TEST_F(StripEffects, GrowingCombStripsRunFromTheirEdge) {
  Draw(87, 10);  // all horizontal strips, 20 long from the left
  EXPECT_EQ(T(19, 0), New(19, 0));
  EXPECT_EQ(T(20, 0), Old(20, 0));
  EXPECT_EQ(T(0, 1), New(0, 1));  // strips at rows R(1.2k): 0, 1, 2, 4, ...
  EXPECT_EQ(T(0, 3), Old(0, 3));
  EXPECT_EQ(T(0, 59), New(0, 59));
  Draw(90, 10);  // vertical strips growing from the bottom: R(12) = 12 rows
  EXPECT_EQ(T(4, 48), New(4, 48));
  EXPECT_EQ(T(4, 47), Old(4, 47));
  EXPECT_EQ(T(5, 59), Old(5, 59));
}

TEST_F(StripEffects, GridCombGrowsBothStripKindsThenACorner) {
  Draw(95, 3);  // rows 0, 2, 4 for 6 columns; columns 0, 2, 4 for R(3.6) = 4 rows
  EXPECT_EQ(T(5, 2), New(5, 2));
  EXPECT_EQ(T(6, 2), Old(6, 2));
  EXPECT_EQ(T(2, 3), New(2, 3));
  EXPECT_EQ(T(4, 5), Old(4, 5));
  EXPECT_EQ(T(6, 0), Old(6, 0));
  Draw(95, 75);  // grid plus the bottom-right 50 x 30 block
  EXPECT_EQ(T(51, 31), New(51, 31));
  EXPECT_EQ(T(51, 27), Old(51, 27));  // row 27 and column 51 hold no strip
  EXPECT_EQ(T(50, 27), New(50, 27));
  EXPECT_EQ(T(51, 26), New(51, 26));
  Draw(102, 75);  // the same block for the far-side grid
  EXPECT_EQ(T(51, 31), New(51, 31));
}

TEST_F(StripEffects, SlicesMoveOrOpenAsBlinds) {
  Draw(104, 50);  // 5 columns from each slice's left edge
  EXPECT_TRUE(ColumnIsNew(0));
  EXPECT_TRUE(ColumnIsNew(4));
  EXPECT_FALSE(ColumnIsNew(5));
  EXPECT_TRUE(ColumnIsNew(10));
  Draw(103, 50);  // slice i shows new from 5 (i - 1)
  EXPECT_EQ(T(10, 0), New(5, 0));
  EXPECT_EQ(T(14, 7), New(9, 7));
  EXPECT_EQ(T(15, 7), Old(15, 7));
  EXPECT_EQ(T(90, 0), New(45, 0));
  Draw(109, 50);  // the old frame's bands over the new
  EXPECT_EQ(T(10, 0), Old(5, 0));
  EXPECT_EQ(T(15, 0), New(15, 0));
  Draw(105, 99);  // horizontal blinds: R(5.94) = 6 rows of each 6-row slice
  EXPECT_EQ(T(0, 5), New(0, 5));
  EXPECT_EQ(T(0, 59), New(0, 59));
  EXPECT_EQ(st.CountInPlace(kNewTag), 6000);
}

TEST_F(StripEffects, BothSidesCombJumpsToTheNewFrameAtStep51) {
  Draw(107, 3);
  for (int x : {0, 2, 4, 99, 97, 95}) EXPECT_TRUE(ColumnIsNew(x)) << x;
  EXPECT_FALSE(ColumnIsNew(6));
  EXPECT_FALSE(ColumnIsNew(93));
  Draw(107, 25);  // even columns up to 48 and their mirrors down to 51
  EXPECT_TRUE(ColumnIsNew(48));
  EXPECT_TRUE(ColumnIsNew(51));
  EXPECT_FALSE(ColumnIsNew(49));
  EXPECT_FALSE(ColumnIsNew(50));
  Draw(107, 50);
  EXPECT_TRUE(st.TargetIsNewFrame());
  Draw(108, 51);
  EXPECT_TRUE(st.TargetIsNewFrame());
}

TEST_F(StripEffects, FourPiecesSlideFromTheCentreOrOpenInPlace) {
  Draw(114, 50);  // 25 x 15 corners in place
  EXPECT_EQ(T(24, 14), New(24, 14));
  EXPECT_EQ(T(25, 0), Old(25, 0));
  EXPECT_EQ(T(75, 45), New(75, 45));
  EXPECT_EQ(T(74, 45), Old(74, 45));
  Draw(113, 50);  // the quarters next to the centre
  EXPECT_EQ(T(0, 0), New(25, 15));
  EXPECT_EQ(T(75, 0), New(50, 15));
  EXPECT_EQ(T(0, 45), New(25, 30));
  EXPECT_EQ(T(99, 59), New(74, 44));
  Draw(115, 50);  // pinwheel: (0, 0, 25, 30) from (25, 0); (50, 0, 50, 15) from (50, 15)
  EXPECT_EQ(T(0, 29), New(25, 29));
  EXPECT_EQ(T(50, 0), New(50, 15));
  EXPECT_EQ(T(25, 20), Old(25, 20));
  Draw(120, 60);  // old corners of 20 x 12 over the new
  EXPECT_EQ(T(19, 11), Old(19, 11));
  EXPECT_EQ(T(20, 11), New(20, 11));
}

TEST_F(StripEffects, QuartersAreStretchedIntoTheirCorners) {
  Draw(125, 50);  // each 50 x 30 quarter into 25 x 15
  EXPECT_EQ(T(0, 0), New(1, 1));
  EXPECT_EQ(T(24, 14), New(49, 29));
  EXPECT_EQ(T(25, 0), Old(25, 0));
  EXPECT_EQ(T(75, 0), New(51, 1));
  EXPECT_EQ(T(99, 59), New(99, 59));
  Draw(128, 50);  // out: the old quarters over the new
  EXPECT_EQ(T(0, 0), Old(1, 1));
  EXPECT_EQ(T(50, 30), New(50, 30));
}

}  // namespace
}  // namespace transitions
