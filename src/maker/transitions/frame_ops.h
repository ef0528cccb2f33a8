#pragma once
// Pixel helpers of the transition engine on 24-bit frames: rounding, block copies, stretches,
// mirrored blocks and span masks. Every helper clips to both bitmaps, so an effect may pass
// rectangles that reach past the frame; private loops then walk rows without further checks.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/bitmap.h"

// Hot pixel loops are built for AVX2 beside the plain build, chosen when the program starts; the
// WebAssembly build of the engine and the Windows build (no run-time function versions in PE
// programs) have no such choice. Clang has no per-function optimisation level; it builds only the
// checking builds (sanitizers, fuzzing) and the WebAssembly engine.
#if defined(__EMSCRIPTEN__) || defined(__clang__)
#define TRANSITIONS_HOT_LOOP
#elif !defined(__ELF__)
#define TRANSITIONS_HOT_LOOP [[gnu::optimize("O3")]]
#else
#define TRANSITIONS_HOT_LOOP [[gnu::optimize("O3"), gnu::target_clones("avx2", "default")]]
#endif

namespace transitions {

using platform::Bitmap;

// R(p / q) for q > 0: the nearest integer, halves going to the even integer.
int RoundDiv(int64_t p, int64_t q);
// R(x) for a real x, halves to even (the default rounding mode of the floating-point unit).
inline int RoundEven(double x) { return static_cast<int>(std::nearbyint(x)); }

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, unscaled.
void CopyBlock(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy);
// The same block copied to the same coordinates.
inline void CopyInPlace(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h) {
  CopyBlock(src, x, y, w, h, dst, x, y);
}
// The whole of src onto dst at (0, 0).
void CopyWhole(const Bitmap& src, Bitmap& dst);
// The same, for a finished step going to a target that the engine does not read again. Frames
// of 4 MiB and more are written past the caches: the four frames of a step then outgrow a
// typical last-level cache, and the old, new and work frames that the next step reads are
// worth more there than the target.
void CopyFrameOut(const Bitmap& src, Bitmap& dst);

// Draws the block (sx, sy, sw, sh) of src scaled into (dx, dy, dw, dh) of dst, each target
// pixel taking the source pixel under its centre (no smoothing, as a plain stretched blit).
void StretchBlock(const Bitmap& src, int sx, int sy, int sw, int sh, Bitmap& dst, int dx, int dy,
                  int dw, int dh);
inline void StretchWhole(const Bitmap& src, Bitmap& dst, int dx, int dy, int dw, int dh) {
  StretchBlock(src, 0, 0, src.Width(), src.Height(), dst, dx, dy, dw, dh);
}

// The block (x, y, w, h) of src, mirrored left to right (or top to bottom), drawn at the same
// place of dst. The block is first cut to the frame.
void MirrorBlockH(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h);
void MirrorBlockV(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h);

// Builds a whole image from a base frame and blocks of other frames drawn over it in the
// order added, row by row: the base is copied only where no block lies, so each pixel is
// written about once instead of the base first and the blocks again.
class BlockComposer {
 public:
  explicit BlockComposer(const Bitmap& dst) : dstW_(dst.Width()), dstH_(dst.Height()) {}
  // As CopyBlock(src, sx, sy, w, h, dst, dx, dy), clipped the same way.
  void Add(const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy);
  void AddInPlace(const Bitmap& src, int x, int y, int w, int h) { Add(src, x, y, w, h, x, y); }
  // As StretchBlock(src, sx, sy, sw, sh, dst, dx, dy, dw, dh).
  void AddStretched(const Bitmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh);
  // As MirrorBlockH / MirrorBlockV(src, dst, x, y, w, h).
  void AddMirroredH(const Bitmap& src, int x, int y, int w, int h);
  void AddMirroredV(const Bitmap& src, int x, int y, int w, int h);
  // Writes every pixel of dst: the blocks over the base.
  void Compose(const Bitmap& base, Bitmap& dst) const { Draw(&base, dst); }
  // Draws only the blocks, leaving the rest of dst as it is.
  void DrawOver(Bitmap& dst) const { Draw(nullptr, dst); }

 private:
  enum class Kind : uint8_t { Copy, MirrorH, MirrorV, Stretch };
  // (dx, dy, w, h) is the drawn part of the target. Copies and mirrors read the block at
  // (sx, sy); a stretch maps the whole target box (ox, oy, ow, oh) onto the source block
  // (sx, sy, sw, sh).
  struct Block {
    const Bitmap* src;
    int sx, sy, w, h, dx, dy;
    Kind kind = Kind::Copy;
    int sw = 0, sh = 0, ox = 0, oy = 0, ow = 0, oh = 0;
  };
  void Draw(const Bitmap* base, Bitmap& dst) const;
  int dstW_, dstH_;
  std::vector<Block> blocks_;
};

struct PointF {
  double x, y;
};

// Paints src in place onto dst through a clip region built from shapes, one span at a time.
// The effects only unite shapes, and copying the same source pixels twice changes nothing,
// so each span is copied as soon as it is known. Pixels belong to a shape when their
// centres lie inside it.
class ClipPainter {
 public:
  ClipPainter(const Bitmap& src, Bitmap& dst);
  // Pixels [left, right) of row y.
  void AddSpan(int y, int left, int right);
  void AddRect(int left, int top, int width, int height);
  // The ellipse inscribed in the box left..right, top..bottom.
  void AddEllipse(int left, int top, int right, int bottom);
  // A polygon filled by the alternate rule.
  void AddPolygon(const std::vector<PointF>& points);
  // A rectangle whose corners are quarters of a cornerW x cornerH ellipse.
  void AddRoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
  long long Painted() const { return painted_; }  // pixels copied, overlaps counted again

 private:
  const Bitmap& src_;
  Bitmap& dst_;
  int w_, h_;
  long long painted_ = 0;
};

}  // namespace transitions
