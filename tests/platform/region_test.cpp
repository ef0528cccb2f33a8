#include "platform/region.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Region, RectangleHoldsLeftAndTopButNotRightAndBottom) {
  const Region r = Region::FromRect({2, 3, 5, 6});
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(4, 5));
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_FALSE(r.Contains(4, 6));
  EXPECT_EQ(r.Area(), 9);
  EXPECT_EQ(r.Bounds(), (Rect{2, 3, 5, 6}));
  EXPECT_TRUE(Region::FromRect({5, 5, 5, 9}).Empty());
  EXPECT_TRUE(Region::FromRect({5, 5, 2, 9}).Empty());
  EXPECT_TRUE(Region().Empty());
}

TEST(Region, EllipseSpansAreSymmetricAndInsideTheBox) {
  const Region e = Region::Ellipse({0, 0, 20, 10});
  const Rect b = e.Bounds();
  EXPECT_EQ(b, (Rect{0, 0, 20, 10}));
  std::vector<Span> spans = e.Spans();
  ASSERT_EQ(spans.size(), 10u);
  for (const Span& s : spans) {
    EXPECT_EQ(s.left, 20 - s.right) << "row " << s.y;          // mirror left-right
    const Span& m = spans[static_cast<size_t>(9 - s.y)];
    EXPECT_EQ(s.right - s.left, m.right - m.left) << s.y;      // mirror top-bottom
  }
  EXPECT_LT(spans[0].right - spans[0].left, spans[5].right - spans[5].left);
  // About pi/4 of the box.
  EXPECT_NEAR(static_cast<double>(e.Area()), 3.14159 * 10 * 5, 12);
  EXPECT_TRUE(Region::Ellipse({3, 3, 3, 9}).Empty());
}

TEST(Region, PolygonSpansFollowPixelCentres) {
  // A right triangle with its right angle at the top-left corner.
  const Region t = Region::Polygon({{0, 0}, {8, 0}, {0, 8}});
  const std::vector<Span> spans = t.Spans();
  // Row y has its centre at y + 0.5, where the hypotenuse is at x = 7.5 - y: the pixels whose
  // centres lie left of it are 0 .. 6 - y, so the last row holds none.
  ASSERT_EQ(spans.size(), 7u);
  for (const Span& s : spans) {
    EXPECT_EQ(s.left, 0);
    EXPECT_EQ(s.right, 7 - s.y) << s.y;
  }
  EXPECT_TRUE(Region::Polygon({{0, 0}, {5, 5}}).Empty());
}

TEST(Region, FillModesDifferOnOverlappingOutlines) {
  // Two nested squares drawn the same way round: a hole with alternate, solid with winding.
  const std::vector<std::vector<Point>> outlines = {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{3, 3}, {7, 3}, {7, 7}, {3, 7}}};
  const Region alt = Region::PolyPolygon(outlines, PolyFillMode::Alternate);
  const Region wind = Region::PolyPolygon(outlines, PolyFillMode::Winding);
  EXPECT_FALSE(alt.Contains(5, 5));
  EXPECT_TRUE(wind.Contains(5, 5));
  EXPECT_EQ(alt.Area(), 100 - 16);
  EXPECT_EQ(wind.Area(), 100);
  Rect limit{0, 0, 4, 4};
  EXPECT_EQ(Region::PolyPolygon(outlines, PolyFillMode::Winding, &limit).Area(), 16);
}

TEST(Region, UnionMergesTouchingAndOverlappingPieces) {
  Region r;
  r.UniteRect({0, 0, 4, 2});
  r.UniteRect({4, 0, 8, 2});   // touching: one span per row
  r.UniteRect({2, 1, 6, 5});   // overlapping
  EXPECT_EQ(r.Area(), 16 + 12);
  const std::vector<Span> spans = r.Spans();
  ASSERT_EQ(spans.size(), 5u);
  EXPECT_EQ(spans[0], (Span{0, 0, 8}));
  EXPECT_EQ(spans[1], (Span{1, 0, 8}));
  EXPECT_EQ(spans[2], (Span{2, 2, 6}));
  // Disjoint pieces on one row stay two spans.
  Region d = Region::FromRect({0, 0, 2, 1});
  d.UniteRect({5, 0, 7, 1});
  EXPECT_EQ(d.Spans().size(), 2u);
  // Union is order independent.
  Region a = Region::Ellipse({0, 0, 30, 20});
  a.Unite(Region::FromRect({10, 5, 50, 8}));
  Region b = Region::FromRect({10, 5, 50, 8});
  b.Unite(Region::Ellipse({0, 0, 30, 20}));
  EXPECT_EQ(a, b);
  Region e;
  e.Unite(Region());
  EXPECT_TRUE(e.Empty());
}

TEST(Region, IntersectWithRectAndOffset) {
  Region r = Region::Ellipse({-50, -50, 50, 50});
  const Region q = r.Intersect({0, 0, 100, 100});
  EXPECT_EQ(q.Bounds(), (Rect{0, 0, 50, 50}));
  EXPECT_TRUE(r.Intersect({60, 60, 70, 70}).Empty());
  EXPECT_TRUE(r.Intersect({0, 0, 0, 10}).Empty());
  r.Offset(50, 50);
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 100, 100}));
}

TEST(Region, RoundRectCutsItsCorners) {
  const Region r = Region::RoundRect({0, 0, 100, 60}, 50, 50);
  EXPECT_FALSE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(99, 59));
  EXPECT_TRUE(r.Contains(50, 0));
  EXPECT_TRUE(r.Contains(0, 30));
  EXPECT_TRUE(r.Contains(30, 30));
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 100, 60}));
  // Corners larger than the box are limited to it; tiny corners give the plain rectangle.
  EXPECT_EQ(Region::RoundRect({0, 0, 10, 10}, 1, 1), Region::FromRect({0, 0, 10, 10}));
  EXPECT_FALSE(Region::RoundRect({0, 0, 10, 10}, 500, 500).Empty());
}

TEST(Region, WildCoordinatesStayBounded) {
  const Region r = Region::FromRect({-2000000000, -2000000000, 2000000000, 2000000000});
  EXPECT_FALSE(r.Empty());
  EXPECT_TRUE(r.Intersect({0, 0, 10, 10}).Area() == 100);
  Rect limit{0, 0, 10, 10};
  const Region p = Region::PolyPolygon({{{-2000000000, 0}, {2000000000, 0}, {0, 2000000000}}}, PolyFillMode::Alternate, &limit);
  EXPECT_EQ(p.Bounds(), limit);
}
