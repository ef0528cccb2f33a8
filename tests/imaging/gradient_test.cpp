#include "imaging/gradient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace imaging {
namespace {

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rgb;

std::unique_ptr<Bitmap> Canvas(int w, int h) { return Bitmap::Create(w, h, PixelFormat::Bgr24); }
int Red(const Bitmap& b, int x, int y) { return platform::RedOf(b.PixelColor(x, y)); }

TEST(PaintGradient, TwoStopHorizontalIsOneRunOver99Pixels) {
  auto b = Canvas(100, 3);
  for (double f : {0.0, 0.3, 1.0}) {
    PaintGradient(*b, kGradientHorizontal, {{Rgb(0, 0, 0), f}, {Rgb(198, 0, 0), 0}}, 0);
    EXPECT_EQ(Red(*b, 0, 0), 0);
    EXPECT_EQ(Red(*b, 99, 2), 198);
    EXPECT_EQ(Red(*b, 50, 1), 100);  // 50/99*198
    EXPECT_EQ(b->PixelColor(33, 0), b->PixelColor(33, 2));  // vertical lines
  }
}

TEST(PaintGradient, ThreeStopsSplitTheRunsByTheFirstFraction) {
  auto b = Canvas(100, 1);
  PaintGradient(*b, kGradientHorizontal, {{Rgb(0, 0, 0), 0.5}, {Rgb(100, 0, 0), 0.2}, {Rgb(0, 0, 0), 0}}, 0);
  // First run 0..50 (length 50), second 50..99 (length 49, the rest less one).
  EXPECT_EQ(Red(*b, 25, 0), 50);
  EXPECT_EQ(Red(*b, 50, 0), 100);
  EXPECT_EQ(Red(*b, 99, 0), 0);
  EXPECT_EQ(Red(*b, 75, 0), 49);  // round(25/49 * -100 + 100)
}

TEST(PaintGradient, FractionsOutsideZeroToOnePaintAsTheNearestEnd) {
  // Fractions from a stranger's file: a run never outlasts the gradient and ends on time.
  for (int type : {kGradientHorizontal, kGradientElliptical, kGradientAngled}) {
    auto wild = Canvas(60, 40), tame = Canvas(60, 40);
    const platform::Color c[3] = {Rgb(0, 0, 0), Rgb(200, 0, 0), Rgb(0, 0, 90)};
    for (auto [far, near] : {std::pair{1e7, 1.0}, {2147483647.0, 1.0}, {-3.0, 0.0}, {std::nan(""), 0.0}}) {
      PaintGradient(*wild, type, {{c[0], far}, {c[1], far}, {c[2], 0}}, 30);
      PaintGradient(*tame, type, {{c[0], near}, {c[1], near}, {c[2], 0}}, 30);
      ASSERT_EQ(std::memcmp(wild->Data(), tame->Data(), static_cast<size_t>(wild->Stride()) * 40), 0)
          << type << " " << far;
    }
  }
}

TEST(PaintGradient, VerticalRunsDownTheRows) {
  auto b = Canvas(4, 11);
  PaintGradient(*b, kGradientVertical, {{Rgb(0, 0, 0), 1}, {Rgb(0, 0, 100), 0}}, 0);
  EXPECT_EQ(platform::BlueOf(b->PixelColor(2, 0)), 0);
  EXPECT_EQ(platform::BlueOf(b->PixelColor(2, 10)), 100);
  EXPECT_EQ(platform::BlueOf(b->PixelColor(0, 5)), 50);
}

TEST(PaintGradient, RectangularAndEllipticalRunFromCentreToBorder) {
  for (int type : {kGradientRectangular, kGradientElliptical}) {
    auto b = Canvas(41, 21);
    PaintGradient(*b, type, {{Rgb(255, 0, 0), 1}, {Rgb(0, 0, 255), 0}}, 0);
    EXPECT_EQ(b->PixelColor(20, 10), Rgb(255, 0, 0)) << type;   // the first stop at the centre
    EXPECT_EQ(b->PixelColor(0, 10), Rgb(0, 0, 255)) << type;    // the last at the border
    EXPECT_EQ(b->PixelColor(0, 0), Rgb(0, 0, 255)) << type;     // corners take the last colour
  }
}

TEST(PaintGradient, AngledFollowsTheAngleAndMirrors) {
  const std::vector<ColorStop> stops = {{Rgb(255, 0, 0), 1}, {Rgb(0, 0, 255), 0}};
  auto b = Canvas(30, 10);
  PaintGradient(*b, kGradientAngled, stops, 0);  // first stop on the right
  EXPECT_GT(Red(*b, 29, 5), 240);
  EXPECT_LT(Red(*b, 0, 5), 15);
  PaintGradient(*b, kGradientAngled, stops, 180);  // first stop on the left
  EXPECT_GT(Red(*b, 0, 5), 240);
  EXPECT_LT(Red(*b, 29, 5), 15);
  PaintGradient(*b, kGradientAngled, stops, 90);  // first stop at the top
  EXPECT_GT(Red(*b, 15, 0), 200);
  EXPECT_LT(Red(*b, 15, 9), 60);
  auto a45 = Canvas(20, 20), a225 = Canvas(20, 20);
  PaintGradient(*a45, kGradientAngled, stops, 45);
  PaintGradient(*a225, kGradientAngled, stops, 225);
  EXPECT_TRUE(a45->SamePixels(*a225));
  EXPECT_GT(Red(*a45, 19, 0), 240);   // first stop in the top-right corner
  EXPECT_LT(Red(*a45, 0, 19), 15);    // last in the bottom-left
}

TEST(PaintGradient, FewerThanTwoStopsOrUnknownTypePaintNothing) {
  auto b = Canvas(5, 5);
  PaintGradient(*b, kGradientHorizontal, {{Rgb(255, 0, 0), 1}}, 0);
  PaintGradient(*b, 9, {{Rgb(255, 0, 0), 1}, {Rgb(255, 0, 0), 0}}, 0);
  EXPECT_EQ(b->PixelColor(2, 2), 0);
}

}  // namespace
}  // namespace imaging
