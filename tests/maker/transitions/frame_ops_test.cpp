#include "maker/transitions/frame_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "maker/transitions/transition_fixture.h"

namespace transitions {
namespace {

using namespace transitions::testing;

TEST(FrameOps, RoundDivGoesToTheEvenIntegerOnHalves) {
  EXPECT_EQ(RoundDiv(37 * 50, 100), 18);   // 18.5
  EXPECT_EQ(RoundDiv(39 * 50, 100), 20);   // 19.5
  EXPECT_EQ(RoundDiv(5, 2), 2);
  EXPECT_EQ(RoundDiv(7, 2), 4);
  EXPECT_EQ(RoundDiv(-5, 2), -2);
  EXPECT_EQ(RoundDiv(-7, 2), -4);
  EXPECT_EQ(RoundDiv(-7, 3), -2);
  EXPECT_EQ(RoundDiv(8, 3), 3);
  EXPECT_EQ(RoundDiv(0, 7), 0);
}

TEST(FrameOps, ComposedBlocksEqualTheBaseWithTheBlocksCopiedInOrder) {
  std::mt19937 rng(3);
  auto a = TaggedFrame(41, 29, 1), b = TaggedFrame(41, 29, 2), base = TaggedFrame(41, 29, 3);
  for (int round = 0; round < 300; ++round) {
    auto expected = TaggedFrame(41, 29, 9), got = TaggedFrame(41, 29, 9);
    CopyWhole(*base, *expected);
    BlockComposer composer(*got);
    const int n = std::uniform_int_distribution<int>(0, 5)(rng);
    for (int i = 0; i < n; ++i) {
      std::uniform_int_distribution<int> pos(-15, 45), ext(-3, 45);
      const Bitmap& src = i % 2 ? *a : *b;
      const int sx = pos(rng), sy = pos(rng), w = ext(rng), h = ext(rng), dx = pos(rng), dy = pos(rng);
      CopyBlock(src, sx, sy, w, h, *expected, dx, dy);
      composer.Add(src, sx, sy, w, h, dx, dy);
    }
    composer.Compose(*base, *got);
    ASSERT_TRUE(got->SamePixels(*expected)) << "round " << round;
  }
}

TEST(FrameOps, ManyThinBlocksInPlaceComposeLikeSeparateCopies) {
  std::mt19937 rng(5);
  auto a = TaggedFrame(53, 31, 1), base = TaggedFrame(53, 31, 3);
  for (int round = 0; round < 100; ++round) {
    auto expected = TaggedFrame(53, 31, 9), got = TaggedFrame(53, 31, 9);
    CopyWhole(*base, *expected);
    BlockComposer composer(*got);
    const int n = std::uniform_int_distribution<int>(9, 40)(rng);
    for (int i = 0; i < n; ++i) {
      std::uniform_int_distribution<int> pos(-5, 55), ext(0, 6), len(0, 40);
      const int x = pos(rng), y = pos(rng) / 2, w = ext(rng), h = len(rng);
      CopyBlock(*a, x, y, w, h, *expected, x, y);
      composer.AddInPlace(*a, x, y, w, h);
    }
    composer.Compose(*base, *got);
    ASSERT_TRUE(got->SamePixels(*expected)) << "round " << round;
  }
}

// Each drawn pixel comes from the source pixel under its centre, sx + (2i + 1) * sw div (2 * dw),
// for shrinking and enlarging alike, wide frames included.
TEST(FrameOps, StretchedPixelsComeFromTheSourcePixelUnderTheirCentre) {
  auto src = TaggedFrame(1920, 3, 1);
  const int cases[][2] = {{1920, 7}, {1920, 1919}, {1917, 1920}, {3, 1920}, {640, 1111}, {1000, 999}};
  for (const auto& [sw, dw] : cases) {
    auto got = TaggedFrame(1920, 3, 9), expected = TaggedFrame(1920, 3, 9);
    StretchBlock(*src, 0, 1, sw, 1, *got, 0, 1, dw, 1);
    for (int i = 0; i < dw; ++i) {
      const int c = static_cast<int>((2LL * i + 1) * sw / (2LL * dw));
      std::memcpy(expected->Row(1) + i * 3, src->Row(1) + c * 3, 3);
    }
    ASSERT_TRUE(got->SamePixels(*expected)) << sw << " -> " << dw;
  }
}

TEST(FrameOps, ClipShapesPaintPixelsWhoseCentresLieInside) {
  auto src = TaggedFrame(20, 20, kNewTag), dst = TaggedFrame(20, 20, kOldTag);
  ClipPainter p(*src, *dst);
  p.AddEllipse(0, 0, 20, 20);  // a circle of radius 10 about (10, 10)
  EXPECT_EQ(At(*dst, 10, 0).tag, kNewTag);
  EXPECT_EQ(At(*dst, 0, 10).tag, kNewTag);
  EXPECT_EQ(At(*dst, 1, 1).tag, kOldTag);  // checked before the triangle below paints it
  EXPECT_EQ(At(*dst, 3, 3).tag, kNewTag);  // centre (3.5, 3.5) lies 9.19 from the middle
  EXPECT_EQ(p.Painted(), 316);
  ClipPainter q(*src, *dst);
  q.AddRect(-5, -5, 3, 100);  // wholly outside
  q.AddSpan(25, 0, 5);
  q.AddPolygon({{0, 0}, {4, 0}, {0, 4}});  // centres with x + y < 3: rows of 3, 2 and 1 pixels
  EXPECT_EQ(q.Painted(), 6);
  EXPECT_EQ(At(*dst, 2, 0).tag, kNewTag);
  EXPECT_EQ(At(*dst, 2, 1).tag, kOldTag);
}

}  // namespace
}  // namespace transitions
