#include "maker/transitions/frame_ops.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Cuts (x, y, w, h) to a W x H frame; false when nothing is left.
bool CutTo(int W, int H, int& x, int& y, int& w, int& h) {
  if (x < 0) { w += x; x = 0; }
  if (y < 0) { h += y; y = 0; }
  w = std::min(w, W - x);
  h = std::min(h, H - y);
  return w > 0 && h > 0;
}

// out = mask ? a : b, byte by byte; built with the loop vectorizer.
TRANSITIONS_HOT_LOOP void SelectBytes(
    const uint8_t* __restrict mask, const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict out,
    int n) {
  for (int i = 0; i < n; ++i) out[i] = static_cast<uint8_t>((a[i] & mask[i]) | (b[i] & ~mask[i]));
}

// Byte offset in the source row of every drawn column i in [x0, x1): the pixel under the
// column's centre, sx + floor((2i + 1) * sw / (2 * dw)). A multiply by the reciprocal gives the
// quotient to within one, and one integer check each way makes it exact; the loop vectorizes.
// Effects that stretch every row to its own width (the squeeze) call this once per row.
TRANSITIONS_HOT_LOOP void SourceColumns(int* __restrict col, int x0, int x1, int sx, int sw, int dw, int last) {
  const int64_t den = 2LL * dw;
  if ((2LL * x1 + 1) * sw + den >= (int64_t{1} << 31)) {  // too large for 32-bit products
    for (int i = x0; i < x1; ++i)
      col[i - x0] = std::clamp<int64_t>(sx + (2LL * i + 1) * sw / den, 0, last) * 3;
    return;
  }
  const double inv = static_cast<double>(sw) / static_cast<double>(den);
  const int d = static_cast<int>(den);
  for (int i = x0; i < x1; ++i) {
    const int p = (2 * i + 1) * sw;
    int q = static_cast<int>((2 * i + 1) * inv);
    q -= q * d > p ? 1 : 0;
    q += (q + 1) * d <= p ? 1 : 0;
    col[i - x0] = std::clamp(sx + q, 0, last) * 3;
  }
}

// How many of the n columns may be moved four bytes at a time: those whose read stays inside
// the source row. The extra byte lands on the next pixel, which is written right after, so
// the last column always takes three.
int FourByteColumns(const int* col, int n, int srcRowBytes) {
  int safe = n - 1;
  while (safe > 0 && col[safe - 1] + 4 > srcRowBytes) --safe;
  return std::max(safe, 0);
}

// Copies n bytes; short runs (a slice, a strip) are moved inline in 16-byte pieces, the last
// piece overlapping the one before, which saves a library call per run on rows cut into many.
inline void CopyRun(uint8_t* __restrict out, const uint8_t* __restrict in, size_t n) {
  if (n < 16 || n > 512) {
    std::memcpy(out, in, n);
    return;
  }
  uint8_t piece[16];
  for (size_t i = 0; i + 16 < n; i += 16) {
    std::memcpy(piece, in + i, 16);
    std::memcpy(out + i, piece, 16);
  }
  std::memcpy(piece, in + n - 16, 16);
  std::memcpy(out + n - 16, piece, 16);
}

// The lists of a band are mostly in order already (blocks are usually added left to right or
// right to left), where an insertion sort, after turning a falling list round, takes one pass.
template <typename T>
size_t Falls(const std::vector<T>& v) {
  size_t falls = 0;
  for (size_t i = 1; i < v.size(); ++i) falls += v[i] < v[i - 1];
  return falls;
}
template <typename T>
void SortNearlyOrdered(std::vector<T>& v) {
  if (Falls(v) > 4) {
    std::reverse(v.begin(), v.end());
    if (Falls(v) > 4) {
      std::sort(v.begin(), v.end());
      return;
    }
  }
  for (size_t i = 1; i < v.size(); ++i) {
    T x = v[i];
    size_t j = i;
    for (; j > 0 && x < v[j - 1]; --j) v[j] = v[j - 1];
    v[j] = x;
  }
}

void StretchRow(const uint8_t* in, const int* col, int n, int safe, uint8_t* out) {
  int i = 0;
  for (; i < safe; ++i, out += 3) std::memcpy(out, in + col[i], 4);
  for (; i < n; ++i, out += 3) std::memcpy(out, in + col[i], 3);
}

// The n pixels at `in` written in reverse order from `out`, five at a time with a byte
// shuffle: each 16-byte load stays within the block, and the one extra byte stored lands on
// the next pixel, which is written after.
TRANSITIONS_HOT_LOOP void MirrorRow(const uint8_t* in, int n, uint8_t* out) {
  using V16 = uint8_t __attribute__((vector_size(16)));
  if (n <= 0) return;
  std::memcpy(out, in + (n - 1) * 3, 3);
  int i = 1;
  for (; i + 5 < n; i += 5) {  // out pixels i..i+4 are in pixels n-1-i down to n-5-i
    V16 v;
    std::memcpy(&v, in + (n - 5 - i) * 3, 16);
#if defined(__clang__)
    v = __builtin_shufflevector(v, v, 12, 13, 14, 9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2, 15);
#else
    constexpr V16 kReverse5 = {12, 13, 14, 9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2, 15};
    v = __builtin_shuffle(v, kReverse5);
#endif
    std::memcpy(out + i * 3, &v, 16);
  }
  for (; i < n; ++i) std::memcpy(out + i * 3, in + (n - 1 - i) * 3, 3);
}

// A piece of a band's rows: pixels [l, r), drawn from active block k, or the base for -1.
struct Segment {
  int l, r;
  int k;
};

// What shows of each block of a band, given their spans in the order added: the last one lies
// on top and an earlier one only shows where no later one lies, so every pixel is written once.
// With a base, the base fills what no block covers up to W. Segments come out left to right.
void VisibleSegments(const std::vector<std::pair<int, int>>& spansInOrder, int W, bool withBase,
                     std::vector<Segment>& segments, std::vector<std::pair<int, int>>& covered) {
  segments.clear();
  covered.clear();
  for (size_t k = spansInOrder.size(); k-- > 0;) {
    auto [x, end] = spansInOrder[k];
    const int from = x;
    for (const auto& [cl, cr] : covered) {
      if (cr <= x) continue;
      if (cl >= end) break;
      if (cl > x) segments.push_back({x, cl, static_cast<int>(k)});
      x = std::max(x, cr);
    }
    if (x < end) segments.push_back({x, end, static_cast<int>(k)});
    covered.emplace_back(from, end);
    std::sort(covered.begin(), covered.end());
    size_t m = 0;  // merge touching spans
    for (size_t i = 1; i < covered.size(); ++i) {
      if (covered[i].first <= covered[m].second)
        covered[m].second = std::max(covered[m].second, covered[i].second);
      else
        covered[++m] = covered[i];
    }
    covered.resize(m + 1);
  }
  if (withBase) {
    int x = 0;
    for (const auto& [l, r] : covered) {
      if (l > x) segments.push_back({x, std::min(l, W), -1});
      x = std::max(x, r);
    }
    if (x < W) segments.push_back({x, W, -1});
  }
  std::sort(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) { return a.l < b.l; });
}

// Byte masks for bands of many thin blocks (0xFF where a block lies). Bands of comb strips
// take turns among a few masks, so the last four built are kept.
class MaskCache {
 public:
  const uint8_t* For(const std::vector<std::pair<int, int>>& spans, int W) {
    auto hit = std::find_if(masks_.begin(), masks_.end(), [&](const Mask& m) { return m.spans == spans; });
    if (hit != masks_.end()) return hit->bytes.data();
    Mask& m = masks_.size() < 4 ? masks_.emplace_back() : masks_[next_++ % masks_.size()];
    m.bytes.assign(static_cast<size_t>(W) * 3, 0);
    for (const auto& [l, r] : spans)
      std::fill(m.bytes.begin() + l * 3, m.bytes.begin() + std::min(r, W) * 3, uint8_t{0xFF});
    m.spans = spans;
    return m.bytes.data();
  }

 private:
  struct Mask {
    std::vector<std::pair<int, int>> spans;
    std::vector<uint8_t> bytes;
  };
  std::vector<Mask> masks_;
  size_t next_ = 0;
};

}  // namespace

void BlockComposer::Add(const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.Width() - sx, dstW_ - dx});
  h = std::min({h, src.Height() - sy, dstH_ - dy});
  if (w > 0 && h > 0) blocks_.push_back({&src, sx, sy, w, h, dx, dy});
}

void BlockComposer::AddStretched(const Bitmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || src.Empty()) return;
  if (sw == dw && sh == dh) {
    Add(src, sx, sy, sw, sh, dx, dy);
    return;
  }
  const int x0 = std::max(0, -dx), x1 = std::min(dw, dstW_ - dx);
  const int y0 = std::max(0, -dy), y1 = std::min(dh, dstH_ - dy);
  if (x0 >= x1 || y0 >= y1) return;
  Block b{&src, sx, sy, x1 - x0, y1 - y0, dx + x0, dy + y0, Kind::Stretch};
  b.sw = sw;
  b.sh = sh;
  b.ox = dx;
  b.oy = dy;
  b.ow = dw;
  b.oh = dh;
  blocks_.push_back(b);
}

void BlockComposer::AddMirroredH(const Bitmap& src, int x, int y, int w, int h) {
  if (!CutTo(src.Width(), src.Height(), x, y, w, h) || !CutTo(dstW_, dstH_, x, y, w, h)) return;
  blocks_.push_back({&src, x, y, w, h, x, y, Kind::MirrorH});
}

void BlockComposer::AddMirroredV(const Bitmap& src, int x, int y, int w, int h) {
  if (!CutTo(src.Width(), src.Height(), x, y, w, h) || !CutTo(dstW_, dstH_, x, y, w, h)) return;
  blocks_.push_back({&src, x, y, w, h, x, y, Kind::MirrorV});
}

void BlockComposer::Draw(const Bitmap* base, Bitmap& dst) const {
  int W = dst.Width(), H = dst.Height();
  if (base) {
    W = std::min(W, base->Width());
    H = std::min(H, base->Height());
  }
  // Rows between two consecutive block edges share the same blocks, so the spans (and the
  // mask) are worked out once per band of rows rather than once per row.
  std::vector<int> edges{0, H};
  for (const Block& b : blocks_) {
    edges.push_back(std::clamp(b.dy, 0, H));
    edges.push_back(std::clamp(b.dy + b.h, 0, H));
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  // The blocks of a band are found by a sweep over the blocks in order of their top row, so
  // effects with a block per row (the squeeze) stay linear.
  std::vector<int> byTop(blocks_.size());
  for (size_t i = 0; i < byTop.size(); ++i) byTop[i] = static_cast<int>(i);
  std::stable_sort(byTop.begin(), byTop.end(), [&](int a, int b) { return blocks_[a].dy < blocks_[b].dy; });
  size_t nextTop = 0;
  std::vector<int> active;  // indices into blocks_, in the order added (later ones draw over)
  // Per active stretched block: the source column offsets and how many move four bytes at a
  // time, kept while the next band's block in that place stretches the same way (the rows of
  // the squeeze often share a width).
  struct Columns {
    std::vector<int> col;
    int fourByte = 0;
    std::array<int, 6> key{-1, -1, -1, -1, -1, -1};
  };
  std::vector<Columns> columns;
  std::vector<std::pair<int, int>> spansInOrder, spans, coveredSpans;
  std::vector<Segment> segments;
  MaskCache masks;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    const int y0 = edges[e], y1 = edges[e + 1];
    std::erase_if(active, [&](int i) { return blocks_[i].dy + blocks_[i].h <= y0; });
    bool added = false;
    for (; nextTop < byTop.size() && blocks_[byTop[nextTop]].dy <= y0; ++nextTop)
      if (blocks_[byTop[nextTop]].dy + blocks_[byTop[nextTop]].h > y0) {
        active.push_back(byTop[nextTop]);
        added = true;
      }
    if (added) SortNearlyOrdered(active);

    spansInOrder.clear();
    const Bitmap* only = nullptr;  // the one source of every block of the band, all in place
    bool inPlace = true;
    columns.resize(active.size());
    for (size_t k = 0; k < active.size(); ++k) {
      const Block& b = blocks_[active[k]];
      spansInOrder.emplace_back(b.dx, b.dx + b.w);
      inPlace = inPlace && b.kind == Kind::Copy && b.sx == b.dx && b.sy == b.dy && (!only || only == b.src);
      only = b.src;
      if (b.kind == Kind::Stretch) {
        Columns& c = columns[k];
        const std::array<int, 6> key{b.src->Width(), b.sx, b.sw, b.ow, b.dx - b.ox, b.w};
        if (key != c.key) {
          c.col.resize(static_cast<size_t>(b.w));
          SourceColumns(c.col.data(), b.dx - b.ox, b.dx - b.ox + b.w, b.sx, b.sw, b.ow, b.src->Width() - 1);
          c.fourByte = FourByteColumns(c.col.data(), b.w, b.src->Width() * 3);
          c.key = key;
        }
      }
    }
    // Many thin blocks of one source in place (comb strips): a byte mask picks each pixel
    // from the block source or the base in one pass, instead of many tiny copies.
    if (base && spansInOrder.size() > 8 && inPlace) {
      spans = spansInOrder;
      SortNearlyOrdered(spans);
      int covered = 0;  // how far from the left the blocks cover the row without a gap
      for (const auto& [l, r] : spans)
        if (l <= covered) covered = std::max(covered, r);
      if (covered >= W) {  // nothing of the base shows in this band
        for (int y = y0; y < y1; ++y) std::memcpy(dst.Row(y), only->Row(y), static_cast<size_t>(W) * 3);
        continue;
      }
      const uint8_t* mask = masks.For(spans, W);
      for (int y = y0; y < y1; ++y) SelectBytes(mask, only->Row(y), base->Row(y), dst.Row(y), W * 3);
      continue;
    }
    VisibleSegments(spansInOrder, W, base != nullptr, segments, coveredSpans);
    for (int y = y0; y < y1; ++y) {
      uint8_t* out = dst.Row(y);
      for (const Segment& sg : segments) {
        uint8_t* o = out + sg.l * 3;
        const int n = sg.r - sg.l;
        if (sg.k < 0) {
          CopyRun(o, base->Row(y) + sg.l * 3, static_cast<size_t>(n) * 3);
          continue;
        }
        const Block& b = blocks_[active[static_cast<size_t>(sg.k)]];
        const int off = sg.l - b.dx;  // first pixel of the segment within the block
        switch (b.kind) {
          case Kind::Copy:
            CopyRun(o, b.src->Row(b.sy + y - b.dy) + (b.sx + off) * 3, static_cast<size_t>(n) * 3);
            break;
          case Kind::MirrorV:
            CopyRun(o, b.src->Row(b.sy + b.h - 1 - (y - b.dy)) + (b.sx + off) * 3, static_cast<size_t>(n) * 3);
            break;
          case Kind::MirrorH:  // the segment's pixels come from the far end of the block
            MirrorRow(b.src->Row(b.sy + y - b.dy) + (b.sx + b.dx + b.w - sg.r) * 3, n, o);
            break;
          case Kind::Stretch: {
            // The row under the centre of target row j of the box.
            const int j = y - b.oy;
            const int r = std::clamp(b.sy + static_cast<int>((2LL * j + 1) * b.sh / (2LL * b.oh)), 0,
                                     b.src->Height() - 1);
            const uint8_t* in = b.src->Row(r);
            const Columns& c = columns[static_cast<size_t>(sg.k)];
            if (b.sw == b.ow && b.sx >= 0 && b.sx + b.sw <= b.src->Width())
              std::memcpy(o, in + c.col[static_cast<size_t>(off)], static_cast<size_t>(n) * 3);
            else
              StretchRow(in, c.col.data() + off, n, std::clamp(std::min(c.fourByte - off, n - 1), 0, n), o);
            break;
          }
        }
      }
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

void CopyFrameOut(const Bitmap& src, Bitmap& dst) {
  constexpr size_t kStreamFrom = size_t{4} << 20;
#if defined(__SSE2__)
  if (src.SameSizeAndFormat(dst) && src.Stride() == dst.Stride() && src.ByteSize() >= kStreamFrom) {
    const uint8_t* in = src.Data();
    uint8_t* out = dst.Data();
    const size_t n = src.ByteSize();
    // Up to the first 16-byte boundary of the target plainly, then streaming stores.
    size_t i = (16 - reinterpret_cast<uintptr_t>(out) % 16) % 16;
    std::memcpy(out, in, i);
    for (; i + 64 <= n; i += 64) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
      const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 32));
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 48));
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + i), a);
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 16), b);
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 32), c);
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 48), d);
    }
    std::memcpy(out + i, in + i, n - i);
    _mm_sfence();  // the streamed bytes are in place before anyone reads the target
    return;
  }
#endif
  CopyWhole(src, dst);
}

void StretchBlock(const Bitmap& src, int sx, int sy, int sw, int sh, Bitmap& dst, int dx, int dy,
                  int dw, int dh) {
  BlockComposer c(dst);
  c.AddStretched(src, sx, sy, sw, sh, dx, dy, dw, dh);
  c.DrawOver(dst);
}

void MirrorBlockH(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h) {
  BlockComposer c(dst);
  c.AddMirroredH(src, x, y, w, h);
  c.DrawOver(dst);
}

void MirrorBlockV(const Bitmap& src, Bitmap& dst, int x, int y, int w, int h) {
  BlockComposer c(dst);
  c.AddMirroredV(src, x, y, w, h);
  c.DrawOver(dst);
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
