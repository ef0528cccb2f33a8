#include "maker/transitions/frame_ops.h"

#include <algorithm>
#include <cstring>

namespace transitions {

int RoundDiv(int64_t p, int64_t q) {
  int64_t fl = p / q;
  if ((p % q != 0) && ((p < 0) != (q < 0))) --fl;  // floor
  const int64_t twice = 2 * (p - fl * q);
  if (twice > q || (twice == q && (fl & 1))) ++fl;
  return static_cast<int>(fl);
}

void CopyBlock(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy) {
  // Clip against the source, then against the target, moving both origins together.
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.Width() - sx, dst.Width() - dx});
  h = std::min({h, src.Height() - sy, dst.Height() - dy});
  if (w <= 0 || h <= 0) return;
  const size_t bytes = static_cast<size_t>(w) * 3;
  for (int y = 0; y < h; ++y)
    std::memcpy(dst.Row(dy + y) + dx * 3, src.Row(sy + y) + sx * 3, bytes);
}

void BlockComposer::Add(const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.Width() - sx, dstW_ - dx});
  h = std::min({h, src.Height() - sy, dstH_ - dy});
  if (w > 0 && h > 0) blocks_.push_back({&src, sx, sy, w, h, dx, dy});
}

namespace {
// out = mask ? a : b, byte by byte; built with the loop vectorizer.
[[gnu::optimize("O3"), gnu::target_clones("avx2", "default")]] void SelectBytes(const uint8_t* __restrict mask, const uint8_t* __restrict a,
                                         const uint8_t* __restrict b, uint8_t* __restrict out, int n) {
  for (int i = 0; i < n; ++i) out[i] = static_cast<uint8_t>((a[i] & mask[i]) | (b[i] & ~mask[i]));
}
}  // namespace

void BlockComposer::Compose(const Bitmap& base, Bitmap& dst) const {
  const int W = std::min(dst.Width(), base.Width()), H = std::min(dst.Height(), base.Height());
  // Rows between two consecutive block edges share the same blocks, so the spans (and the
  // mask) are worked out once per band of rows rather than once per row.
  std::vector<int> edges{0, H};
  for (const Block& b : blocks_) {
    edges.push_back(std::clamp(b.dy, 0, H));
    edges.push_back(std::clamp(b.dy + b.h, 0, H));
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  std::vector<const Block*> active;
  std::vector<std::pair<int, int>> spans, maskSpans;
  std::vector<uint8_t> mask;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    const int y0 = edges[e], y1 = edges[e + 1];
    active.clear();
    spans.clear();
    const Bitmap* only = nullptr;  // the one source of every block of the band, all in place
    bool inPlace = true;
    for (const Block& b : blocks_)
      if (y0 >= b.dy && y0 < b.dy + b.h) {
        active.push_back(&b);
        spans.emplace_back(b.dx, b.dx + b.w);
        inPlace = inPlace && b.sx == b.dx && b.sy == b.dy && (!only || only == b.src);
        only = b.src;
      }
    std::sort(spans.begin(), spans.end());
    // Many thin blocks of one source in place (comb strips): a byte mask picks each pixel
    // from the block source or the base in one pass, instead of many tiny copies.
    if (spans.size() > 8 && inPlace) {
      int covered = 0;  // how far from the left the blocks cover the row without a gap
      for (const auto& [l, r] : spans)
        if (l <= covered) covered = std::max(covered, r);
      if (covered >= W) {  // nothing of the base shows in this band
        for (int y = y0; y < y1; ++y) std::memcpy(dst.Row(y), only->Row(y), static_cast<size_t>(W) * 3);
        continue;
      }
      if (spans != maskSpans) {  // bands of comb strips repeat the same mask
        mask.assign(static_cast<size_t>(W) * 3, 0);
        for (const auto& [l, r] : spans)
          std::fill(mask.begin() + l * 3, mask.begin() + std::min(r, W) * 3, uint8_t{0xFF});
        maskSpans = spans;
      }
      for (int y = y0; y < y1; ++y) SelectBytes(mask.data(), only->Row(y), base.Row(y), dst.Row(y), W * 3);
      continue;
    }
    // The gaps between the blocks of the band, where the base shows.
    std::vector<std::pair<int, int>> gaps;
    int x = 0;
    for (const auto& [l, r] : spans) {
      if (l > x) gaps.emplace_back(x, std::min(l, W));
      x = std::max(x, r);
    }
    if (x < W) gaps.emplace_back(x, W);
    for (int y = y0; y < y1; ++y) {
      uint8_t* out = dst.Row(y);
      const uint8_t* in = base.Row(y);
      for (const auto& [l, r] : gaps) std::memcpy(out + l * 3, in + l * 3, static_cast<size_t>(r - l) * 3);
      // Then the blocks, later ones over earlier ones.
      for (const Block* b : active)
        std::memcpy(out + b->dx * 3, b->src->Row(b->sy + y - b->dy) + b->sx * 3, static_cast<size_t>(b->w) * 3);
    }
  }
}

void CopyWhole(const Bitmap& src, Bitmap& dst) {
  if (src.SameSizeAndFormat(dst) && src.Stride() == dst.Stride()) {
    std::memcpy(dst.Data(), src.Data(), src.ByteSize());
    return;
  }
  CopyBlock(src, 0, 0, src.Width(), src.Height(), dst, 0, 0);
}

// Byte offset in the source row of every drawn column i in [x0, x1): the pixel under the
// column's centre, sx + floor((2i + 1) * sw / (2 * dw)). The quotient of two exactly held
// integers this small is exact in double arithmetic, and the loop vectorizes; effects that
// stretch every row to its own width call this once per row.
[[gnu::optimize("O3")]] static void SourceColumns(int* __restrict col, int x0, int x1, int sx, int sw, int dw,
                                           int last) {
  const double den = 2.0 * dw;
  for (int i = x0; i < x1; ++i) {
    const int c = sx + static_cast<int>((2.0 * i + 1.0) * sw / den);
    col[i - x0] = std::clamp(c, 0, last) * 3;
  }
}

void StretchBlock(const Bitmap& src, int sx, int sy, int sw, int sh, Bitmap& dst, int dx, int dy,
                  int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  if (sw == dw && sh == dh) {
    CopyBlock(src, sx, sy, sw, sh, dst, dx, dy);
    return;
  }
  const int x0 = std::max(0, -dx), x1 = std::min(dw, dst.Width() - dx);
  const int y0 = std::max(0, -dy), y1 = std::min(dh, dst.Height() - dy);
  if (x0 >= x1 || y0 >= y1) return;
  // Byte offset in the source row for every drawn column: the pixel under the column's centre.
  thread_local std::vector<int> col;
  col.resize(static_cast<size_t>(x1 - x0));
  SourceColumns(col.data(), x0, x1, sx, sw, dw, src.Width() - 1);
  int lastSrcRow = -1;
  uint8_t* lastOut = nullptr;
  const int n = x1 - x0;
  const size_t rowBytes = static_cast<size_t>(n) * 3;
  const bool sameWidth = sw == dw;  // a vertical stretch only: whole rows
  const int srcRowBytes = src.Width() * 3;
  // Pixels are moved four bytes at a time where the read stays inside the source row; the
  // extra byte lands on the next pixel, which is written right after (the last one is not).
  int safe = n - 1;
  while (safe > 0 && col[static_cast<size_t>(safe - 1)] + 4 > srcRowBytes) --safe;
  for (int j = y0; j < y1; ++j) {
    int r = std::clamp(sy + static_cast<int>((2LL * j + 1) * sh / (2LL * dh)), 0, src.Height() - 1);
    uint8_t* out = dst.Row(dy + j) + (dx + x0) * 3;
    if (r == lastSrcRow) {  // an enlarged row repeats the one above
      std::memcpy(out, lastOut, rowBytes);
      continue;
    }
    const uint8_t* in = src.Row(r);
    if (sameWidth) {
      std::memcpy(out, in + col[0], rowBytes);
    } else {
      uint8_t* o = out;
      int i = 0;
      for (; i < safe; ++i, o += 3) std::memcpy(o, in + col[static_cast<size_t>(i)], 4);
      for (; i < n; ++i, o += 3) std::memcpy(o, in + col[static_cast<size_t>(i)], 3);
    }
    lastSrcRow = r;
    lastOut = out;
  }
}

namespace {
// Cuts (x, y, w, h) to the frame; false when nothing is left.
bool CutToFrame(const Bitmap& b, int& x, int& y, int& w, int& h) {
  if (x < 0) { w += x; x = 0; }
  if (y < 0) { h += y; y = 0; }
  w = std::min(w, b.Width() - x);
  h = std::min(h, b.Height() - y);
  return w > 0 && h > 0;
}
}  // namespace

void MirrorBlockH(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h) {
  if (!CutToFrame(src, x, y, w, h) || !CutToFrame(dst, x, y, w, h)) return;
  for (int r = y; r < y + h; ++r) {
    const uint8_t* in = src.Row(r) + x * 3;
    uint8_t* out = dst.Row(r) + (x + w - 1) * 3;
    for (int i = 0; i < w; ++i, in += 3, out -= 3) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

void MirrorBlockV(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h) {
  if (!CutToFrame(src, x, y, w, h) || !CutToFrame(dst, x, y, w, h)) return;
  for (int r = 0; r < h; ++r)
    std::memcpy(dst.Row(y + h - 1 - r) + x * 3, src.Row(y + r) + x * 3, static_cast<size_t>(w) * 3);
}

ClipPainter::ClipPainter(const Bitmap& src, Bitmap& dst)
    : src_(src), dst_(dst), w_(std::min(src.Width(), dst.Width())), h_(std::min(src.Height(), dst.Height())) {}

void ClipPainter::AddSpan(int y, int left, int right) {
  if (y < 0 || y >= h_) return;
  left = std::max(left, 0);
  right = std::min(right, w_);
  if (left >= right) return;
  std::memcpy(dst_.Row(y) + left * 3, src_.Row(y) + left * 3, static_cast<size_t>(right - left) * 3);
  painted_ += right - left;
}

void ClipPainter::AddRect(int left, int top, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const int y0 = std::max(top, 0), y1 = std::min(top + height, h_);
  for (int y = y0; y < y1; ++y) AddSpan(y, left, left + width);
}

void ClipPainter::AddEllipse(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  const int y0 = std::max(top, 0), y1 = std::min(bottom, h_);
  for (int y = y0; y < y1; ++y) {
    const double dy = (y + 0.5 - cy) / ry;
    const double q = 1.0 - dy * dy;
    if (q < 0) continue;
    const double hw = rx * std::sqrt(q);
    // Pixels x whose centres x + 0.5 lie within [cx - hw, cx + hw].
    const int a = static_cast<int>(std::ceil(cx - hw - 0.5));
    const int b = static_cast<int>(std::floor(cx + hw - 0.5)) + 1;
    AddSpan(y, a, b);
  }
}

void ClipPainter::AddPolygon(const std::vector<PointF>& pts) {
  if (pts.size() < 3) return;
  double minY = pts[0].y, maxY = pts[0].y;
  for (const PointF& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int y1 = std::min(h_, static_cast<int>(std::ceil(maxY)) + 1);
  std::vector<double> xs;
  for (int y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < pts.size(); ++i) {
      const PointF& a = pts[i];
      const PointF& b = pts[(i + 1) % pts.size()];
      if ((a.y <= yc) != (b.y <= yc)) xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      AddSpan(y, static_cast<int>(std::ceil(xs[i] - 0.5)), static_cast<int>(std::ceil(xs[i + 1] - 0.5)));
  }
}

void ClipPainter::AddRoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
  if (right <= left || bottom <= top) return;
  const double rx = std::min(cornerW, right - left) / 2.0;
  const double ry = std::min(cornerH, bottom - top) / 2.0;
  const int y0 = std::max(top, 0), y1 = std::min(bottom, h_);
  for (int y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    double inset = 0;
    double dy = 0;
    if (yc < top + ry) dy = (top + ry - yc) / ry;
    else if (yc > bottom - ry) dy = (yc - (bottom - ry)) / ry;
    if (dy > 0) {
      if (dy >= 1) continue;
      inset = rx - rx * std::sqrt(1 - dy * dy);
    }
    AddSpan(y, static_cast<int>(std::ceil(left + inset - 0.5)),
            static_cast<int>(std::floor(right - inset - 0.5)) + 1);
  }
}

}  // namespace transitions
