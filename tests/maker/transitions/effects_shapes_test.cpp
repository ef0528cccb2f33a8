// Irises, diamonds, squeeze, growing and shrinking shapes, swings and region patterns.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "maker/transitions/transition_fixture.h"

namespace transitions {
namespace {

using namespace transitions::testing;

class ShapeEffects : public ::testing::Test {
 protected:
  void Draw(int effect, int step) { st.Draw(effect, step); }
  Seen T(int x, int y) { return At(*st.target, x, y); }
  Stage st{100, 60};
};

TEST_F(ShapeEffects, IrisOpensAnEllipseOneAndAHalfTimesTheStepExtent) {
  Draw(131, 50);  // 75 x 45 box at (12, 7), centre (49.5, 29.5)
  EXPECT_EQ(T(49, 29), New(49, 29));
  EXPECT_EQ(T(12, 29), New(12, 29));
  EXPECT_EQ(T(11, 29), Old(11, 29));
  EXPECT_EQ(T(49, 7), New(49, 7));
  EXPECT_EQ(T(49, 6), Old(49, 6));
  EXPECT_EQ(T(0, 0), Old(0, 0));
  Draw(132, 50);  // closing: the old frame inside
  EXPECT_EQ(T(49, 29), Old(49, 29));
  EXPECT_EQ(T(0, 0), New(0, 0));
}

TEST_F(ShapeEffects, DiamondOpensAroundTheCentre) {
  Draw(135, 25);  // v = 15, u = 25 about (50, 30)
  EXPECT_EQ(T(50, 30), New(50, 30));
  EXPECT_EQ(T(50, 15), New(50, 15));
  EXPECT_EQ(T(50, 14), Old(50, 14));
  EXPECT_EQ(T(73, 30), New(73, 30));
  EXPECT_EQ(T(74, 30), Old(74, 30));  // centre (74.5, 30.5) lies just outside
  EXPECT_EQ(T(75, 30), Old(75, 30));
  EXPECT_EQ(T(62, 22), Old(62, 22));  // outside the slanted edge
  Draw(134, 75);  // the same rhombus of the old frame over the new
  EXPECT_EQ(T(50, 15), Old(50, 15));
  EXPECT_EQ(T(50, 14), New(50, 14));
}

TEST_F(ShapeEffects, SqueezeCollapsesTheOldFrameIntoAnEllipse) {
  Draw(133, 50);  // d = 30 rows from 15; the middle row 30 is e = 50 wide at 25
  EXPECT_EQ(T(24, 30), New(24, 30));
  EXPECT_EQ(T(25, 30).tag, kOldTag);
  EXPECT_EQ(T(74, 30).tag, kOldTag);
  EXPECT_EQ(T(75, 30), New(75, 30));
  EXPECT_EQ(T(50, 14), New(50, 14));
  EXPECT_EQ(T(50, 16).tag, kOldTag);
  EXPECT_EQ(T(50, 30).y, 30);  // rows stay in place, only squeezed sideways
}

TEST_F(ShapeEffects, CornerTriangleGrowsRowByRow) {
  Draw(148, 50);  // a = 100, b = 60: row r is R((60 - r) * 100 / 60) long
  EXPECT_EQ(T(99, 0), New(99, 0));
  EXPECT_EQ(T(49, 30), New(49, 30));
  EXPECT_EQ(T(50, 30), Old(50, 30));
  Draw(146, 25);  // triangle (25, 0), (75, 0), (50, 30)
  EXPECT_EQ(T(26, 0), New(26, 0));
  EXPECT_EQ(T(24, 0), Old(24, 0));
  EXPECT_EQ(T(50, 28), New(50, 28));
  EXPECT_EQ(T(49, 28), New(49, 28));
  EXPECT_EQ(T(51, 28), Old(51, 28));
  EXPECT_EQ(T(50, 30), Old(50, 30));
  Draw(140, 20);  // quarter ellipse about (0, 0) with radii 30 and 18
  EXPECT_EQ(T(29, 0), New(29, 0));
  EXPECT_EQ(T(30, 0), Old(30, 0));
  EXPECT_EQ(T(0, 17), New(0, 17));
  EXPECT_EQ(T(0, 18), Old(0, 18));
}

TEST_F(ShapeEffects, ShrinkingShapesKeepTheOldFrameInside) {
  Draw(160, 50);  // n = 100, m = 60: column c is R(60 (100 - c) / 100) high, centred
  EXPECT_EQ(T(50, 15), Old(50, 15));
  EXPECT_EQ(T(50, 44), Old(50, 44));
  EXPECT_EQ(T(50, 14), New(50, 14));
  EXPECT_EQ(T(50, 45), New(50, 45));
  Draw(156, 60);  // quarter ellipse from the top-left: m = 36, row 0 is R(100/60 * 36) = 60 long
  EXPECT_EQ(T(59, 0), Old(59, 0));
  EXPECT_EQ(T(60, 0), New(60, 0));
  EXPECT_EQ(T(0, 36), New(0, 36));  // R(5/3 * 0) long
  Draw(166, 50);  // d = 50, e = 30: bottom-right column triangle and top-left row triangle
  EXPECT_EQ(T(99, 59), Old(99, 59));
  EXPECT_EQ(T(0, 0), Old(0, 0));
  EXPECT_EQ(T(49, 0), Old(49, 0));
  EXPECT_EQ(T(50, 0), New(50, 0));
  EXPECT_EQ(T(60, 50), New(60, 50));
}

// Column shapes checked pixel by pixel against their columns: column x covers rows
// [top, top + len) of the frame it shows.
TEST(ShapeColumns, EveryPixelOfTheColumnShapesMatchesItsColumn) {
  const int W = 90, H = 64;
  auto R = [](double v) { return static_cast<int>(std::nearbyint(v)); };
  struct Case {
    int effect, step;
    std::function<std::pair<int, int>(int x)> column;  // top and length of column x (len 0: none)
    int frame;                                          // tag the columns show
  };
  const int p = 100 - 37;
  const int n160 = R(W * p / 50.0), m160 = R(H * p / 50.0);
  const int n152 = R(W * p / 100.0 * 1.5);
  const int a150 = R(63 * W / 100.0), b150 = R(63 * H / 100.0);
  const std::vector<Case> cases = {
      {160, 37, [&](int x) {
         if (x >= n160) return std::pair{0, 0};
         const int len = R(double(m160) * (n160 - x) / n160);
         return std::pair{(H - len) / 2, len};
       }, kOldTag},
      {161, 37, [&](int x) {
         const int c = x - (W - n160);
         if (c < 0) return std::pair{0, 0};
         const int len = R(double(m160) * c / n160);
         return std::pair{(H - len) / 2, len};
       }, kOldTag},
      {152, 37, [&](int x) {
         if (x > n152) return std::pair{0, 0};
         const int len = R(double(H) / W * std::sqrt(double(n152) * n152 - double(x) * x));
         return std::pair{(H - len) / 2, len};
       }, kOldTag},
      {150, 63, [&](int x) {
         const int c = x - (W - a150);
         if (c < 0) return std::pair{0, 0};
         const int len = R(double(c) * b150 / a150);
         return std::pair{H - len, len};
       }, kNewTag},
  };
  for (const Case& c : cases) {
    Stage st(W, H);
    st.Draw(c.effect, c.step);
    for (int x = 0; x < W; ++x) {
      const auto [top, len] = c.column(x);
      for (int y = 0; y < H; ++y) {
        // 150 also has a row triangle at the top-left; look only below it.
        if (c.effect == 150 && x < R(double(b150 - std::min(y, b150)) * a150 / b150) && y < b150) continue;
        const bool inColumn = y >= top && y < top + len;
        const int expected = inColumn ? c.frame : (c.frame == kOldTag ? kNewTag : kOldTag);
        ASSERT_EQ(At(*st.target, x, y).tag, expected) << "effect " << c.effect << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(ShapeEffects, SwingRotatesAboutACornerAndLeavesTheBaseWhereTheSourceEnds) {
  Draw(168, 50);  // in about (0, 0) by pi/4
  EXPECT_EQ(T(10, 0), New(7, 7));
  EXPECT_EQ(T(0, 10), Old(0, 10));  // carried to x = -7: nothing drawn
  EXPECT_EQ(T(0, 0), New(0, 0));
  Draw(176, 50);  // out: the old frame swung the same way over the new
  EXPECT_EQ(T(10, 0), Old(7, 7));
  EXPECT_EQ(T(0, 10), New(0, 10));
  Draw(171, 50);  // about (100, 60): (-10, -1) turns to (R(-6.36), R(-7.78)) = (-6, -8)
  EXPECT_EQ(T(90, 59), New(94, 52));
  EXPECT_EQ(T(99, 50), Old(99, 50));
}

TEST_F(ShapeEffects, GridPatternsPutOneShapeInEveryCell) {
  Stage big(160, 120);  // 20 x 20 cells
  big.Draw(192, 50);    // 10 x 10 at every cell's top-left corner
  EXPECT_EQ(At(*big.target, 9, 9), New(9, 9));
  EXPECT_EQ(At(*big.target, 10, 0), Old(10, 0));
  EXPECT_EQ(At(*big.target, 140, 100), New(140, 100));
  EXPECT_EQ(At(*big.target, 150, 100), Old(150, 100));
  EXPECT_EQ(big.CountInPlace(kNewTag), 48 * 100);
  big.Draw(194, 50);  // centred: offset 5
  EXPECT_EQ(At(*big.target, 5, 5), New(5, 5));
  EXPECT_EQ(At(*big.target, 4, 5), Old(4, 5));
  EXPECT_EQ(big.CountInPlace(kNewTag), 48 * 100);
}

TEST_F(ShapeEffects, NineRectanglesGrowFromTheirAnchors) {
  Draw(191, 60);  // 20 x 12, D = 33, T = 20
  EXPECT_EQ(T(19, 11), New(19, 11));
  EXPECT_EQ(T(20, 0), Old(20, 0));
  EXPECT_EQ(T(33, 0), New(33, 0));
  EXPECT_EQ(T(13, 28), New(13, 28));  // bottom-right corner at (33, 40)
  EXPECT_EQ(T(12, 28), Old(12, 28));
  EXPECT_EQ(T(99, 39), New(99, 39));
  EXPECT_EQ(T(0, 48), New(0, 48));    // bottom-left corner at (0, 60)
  EXPECT_EQ(T(0, 47), Old(0, 47));
  EXPECT_EQ(st.CountInPlace(kNewTag), 9 * 240);
}

TEST_F(ShapeEffects, RoundRectangleGrowsWithItsCornersOutside) {
  Draw(184, 50);  // (0, -10) to (100, 70) with 50 x 50 corners
  EXPECT_EQ(T(50, 0), New(50, 0));
  EXPECT_EQ(T(0, 30), New(0, 30));
  EXPECT_EQ(T(0, 0), Old(0, 0));
  EXPECT_EQ(T(0, 59), Old(0, 59));
  EXPECT_EQ(T(50, 59), New(50, 59));
  Draw(195, 50);  // out: the same shape of the old frame over the new
  EXPECT_EQ(T(50, 0), Old(50, 0));
  EXPECT_EQ(T(0, 0), New(0, 0));
}

TEST_F(ShapeEffects, RaggedRowsAreOneCentredSpanPerBandOfEightRows) {
  Draw(185, 40);
  for (int band = 0; band < 60; band += 8) {
    int left = -1, right = -1;
    for (int x = 0; x < 100; ++x)
      if (T(x, band).tag == kNewTag) {
        if (left < 0) left = x;
        right = x;
      }
    ASSERT_GE(left, 0) << band;
    for (int x = left; x <= right; ++x) EXPECT_EQ(T(x, band), New(x, band));
    const int w = right - left + 1;
    EXPECT_EQ(left, (100 - w) / 2);
    EXPECT_LE(std::abs(w - 40), 9);  // R(r1 + 40 - r2) with r1, r2 < 10
    for (int y = band; y < std::min(band + 8, 60); ++y) {
      EXPECT_EQ(T(left, y).tag, kNewTag);
      EXPECT_EQ(T(right, y).tag, kNewTag);
    }
  }
}

TEST_F(ShapeEffects, RaggedPatternsDifferFromStepToStep) {
  st.Draw(186, 40);
  auto first = st.target->Clone();
  st.Draw(186, 40);
  EXPECT_FALSE(st.target->SamePixels(*first));
  Draw(189, 30);  // the left 30 columns always, frayed to the right
  for (int y = 0; y < 60; ++y) EXPECT_EQ(T(29, y), New(29, y));
  EXPECT_EQ(T(60, 0), Old(60, 0));
}

}  // namespace
}  // namespace transitions
