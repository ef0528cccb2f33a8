#include "maker/transitions/frame_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Plain per-pixel drawing of one block, as the composer's kinds are defined.
enum class Kind { Copy, Stretch, MirrorH, MirrorV };
struct RefBlock {
  Kind kind;
  const Bitmap* src;
  int sx, sy, sw, sh, dx, dy, dw, dh;  // copies and mirrors use sw x sh at (sx, sy) = (dx, dy)
};

void CopyPixel(const Bitmap& src, int x, int y, Bitmap& dst, int tx, int ty) {
  if (x < 0 || y < 0 || x >= src.Width() || y >= src.Height()) return;
  if (tx < 0 || ty < 0 || tx >= dst.Width() || ty >= dst.Height()) return;
  dst.SetPixelColor(tx, ty, src.PixelColor(x, y));
}

void DrawPlain(const RefBlock& b, Bitmap& dst) {
  const Bitmap& src = *b.src;
  if (b.kind == Kind::Stretch) {
    if (b.sw <= 0 || b.sh <= 0 || b.dw <= 0 || b.dh <= 0) return;
    for (int j = 0; j < b.dh; ++j)
      for (int i = 0; i < b.dw; ++i) {
        const int x = std::clamp(b.sx + static_cast<int>((2LL * i + 1) * b.sw / (2LL * b.dw)), 0, src.Width() - 1);
        const int y = std::clamp(b.sy + static_cast<int>((2LL * j + 1) * b.sh / (2LL * b.dh)), 0, src.Height() - 1);
        CopyPixel(src, x, y, dst, b.dx + i, b.dy + j);
      }
    return;
  }
  if (b.kind == Kind::Copy) {
    for (int j = 0; j < b.sh; ++j)
      for (int i = 0; i < b.sw; ++i) CopyPixel(src, b.sx + i, b.sy + j, dst, b.dx + i, b.dy + j);
    return;
  }
  // Mirrors: the block is cut to both frames first, then turned over in place.
  int x0 = std::max(b.sx, 0), y0 = std::max(b.sy, 0);
  const int x1 = std::min({b.sx + b.sw, src.Width(), dst.Width()});
  const int y1 = std::min({b.sy + b.sh, src.Height(), dst.Height()});
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (b.kind == Kind::MirrorH) CopyPixel(src, x, y, dst, x0 + x1 - 1 - x, y);
      else CopyPixel(src, x, y, dst, x, y0 + y1 - 1 - y);
    }
}

// Blocks of every kind, overlapping each other and reaching past the frame, composed over a
// base equal the base with each block drawn pixel by pixel in the order added.
TEST(FrameOps, ComposedBlocksOfEveryKindEqualPlainDrawingInOrder) {
  std::mt19937 rng(11);
  auto a = TaggedFrame(47, 33, 1), b = TaggedFrame(47, 33, 2), base = TaggedFrame(47, 33, 3);
  for (int round = 0; round < 600; ++round) {
    auto expected = TaggedFrame(47, 33, 9), got = TaggedFrame(47, 33, 9);
    CopyWhole(*base, *expected);
    BlockComposer composer(*got);
    const int n = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int i = 0; i < n; ++i) {
      std::uniform_int_distribution<int> pos(-12, 50), ext(-2, 60), kind(0, 3);
      RefBlock r{static_cast<Kind>(kind(rng)), i % 2 ? a.get() : b.get(), pos(rng), pos(rng), ext(rng), ext(rng),
                 pos(rng), pos(rng), ext(rng), ext(rng)};
      if (r.kind != Kind::Stretch) r.dx = r.sx, r.dy = r.sy;
      if (r.kind == Kind::Copy && i % 2 == 0) r.dx = pos(rng), r.dy = pos(rng);  // copies may move too
      if (r.kind == Kind::Stretch && r.sx >= 0 && r.sy >= 0) {  // stretches read inside the source
        r.sw = std::min(r.sw, r.src->Width() - r.sx);
        r.sh = std::min(r.sh, r.src->Height() - r.sy);
      }
      DrawPlain(r, *expected);
      switch (r.kind) {
        case Kind::Copy: composer.Add(*r.src, r.sx, r.sy, r.sw, r.sh, r.dx, r.dy); break;
        case Kind::Stretch: composer.AddStretched(*r.src, r.sx, r.sy, r.sw, r.sh, r.dx, r.dy, r.dw, r.dh); break;
        case Kind::MirrorH: composer.AddMirroredH(*r.src, r.sx, r.sy, r.sw, r.sh); break;
        case Kind::MirrorV: composer.AddMirroredV(*r.src, r.sx, r.sy, r.sw, r.sh); break;
      }
    }
    composer.Compose(*base, *got);
    ASSERT_TRUE(got->SamePixels(*expected)) << "round " << round;
  }
}

// Large frames take the streaming path, whose start and end are copied plainly around the
// 16-byte pieces; rows of odd widths put every byte of a pixel at a piece boundary somewhere.
TEST(FrameOps, FramesCopiedOutArriveWholeAtEverySize) {
  for (auto [w, h] : {std::pair{1921, 1001}, std::pair{1920, 1080}, std::pair{333, 7}}) {
    auto src = TaggedFrame(w, h, 1), dst = TaggedFrame(w, h, 2);
    for (int y = 0; y < h; y += 97) src->Row(y)[w * 3 - 1] = 0xAB;  // the last byte of some rows
    CopyFrameOut(*src, *dst);
    ASSERT_TRUE(dst->SamePixels(*src)) << w << "x" << h;
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
