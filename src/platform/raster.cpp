#include "platform/raster.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

struct Bgra {
  uint8_t b, g, r, a;
};

template <PixelFormat F>
inline Bgra Read(const uint8_t* p, const Palette& pal) {
  if constexpr (F == PixelFormat::Indexed8) {
    const PaletteEntry& e = pal[*p];
    return {e.b, e.g, e.r, 255};
  } else if constexpr (F == PixelFormat::Bgr24) {
    return {p[0], p[1], p[2], 255};
  } else {
    return {p[0], p[1], p[2], p[3]};
  }
}

template <PixelFormat F>
inline void Write(uint8_t* p, Bgra c) {
  if constexpr (F == PixelFormat::Indexed8) {
    p[0] = static_cast<uint8_t>((299 * c.r + 587 * c.g + 114 * c.b + 500) / 1000);
  } else {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
    if constexpr (F == PixelFormat::Bgra32) p[3] = c.a;
  }
}

constexpr int Bpp(PixelFormat f) { return f == PixelFormat::Indexed8 ? 1 : f == PixelFormat::Bgr24 ? 3 : 4; }

// One target span [x0, x1) of a row from the source row through the column map.
template <PixelFormat S, PixelFormat D>
void MapRow(uint8_t* drow, const uint8_t* srow, const Palette& pal, const int* xmap, int x0, int x1) {
  uint8_t* d = drow + x0 * Bpp(D);
  for (int x = x0; x < x1; ++x, d += Bpp(D)) {
    const uint8_t* s = srow + xmap[x] * Bpp(S);
    if constexpr (S == D) {
      if constexpr (S == PixelFormat::Indexed8) {
        d[0] = s[0];
      } else {
        d[0] = s[0]; d[1] = s[1]; d[2] = s[2];
        if constexpr (S == PixelFormat::Bgra32) d[3] = s[3];
      }
    } else {
      Write<D>(d, Read<S>(s, pal));
    }
  }
}

using RowFn = void (*)(uint8_t*, const uint8_t*, const Palette&, const int*, int, int);

template <PixelFormat S>
RowFn PickRow(PixelFormat d) {
  switch (d) {
    case PixelFormat::Indexed8: return &MapRow<S, PixelFormat::Indexed8>;
    case PixelFormat::Bgr24: return &MapRow<S, PixelFormat::Bgr24>;
    case PixelFormat::Bgra32: return &MapRow<S, PixelFormat::Bgra32>;
  }
  return nullptr;
}

RowFn PickRow(PixelFormat s, PixelFormat d) {
  switch (s) {
    case PixelFormat::Indexed8: return PickRow<PixelFormat::Indexed8>(d);
    case PixelFormat::Bgr24: return PickRow<PixelFormat::Bgr24>(d);
    case PixelFormat::Bgra32: return PickRow<PixelFormat::Bgra32>(d);
  }
  return nullptr;
}

// Calls fn(y, x0, x1) for every target span of `area` (already inside the target), through
// the clip region when there is one.
template <typename Fn>
void ForSpans(const Rect& area, const Region* clip, Fn&& fn) {
  if (area.Empty()) return;
  if (clip) {
    clip->Intersect(area).ForEachSpan(fn);
  } else {
    for (int y = area.top; y < area.bottom; ++y) fn(y, area.left, area.right);
  }
}

// The general transfer: target rectangle `t` (normalised), each target column x maps to source
// column colOf(x) and each row y to rowOf(y); positions mapping outside src are trimmed
// (the maps are monotonic, so the valid part is one interval).
template <typename ColOf, typename RowOf>
void Transfer(Bitmap& dst, Rect t, const Bitmap& src, ColOf colOf, RowOf rowOf, bool linear, const Region* clip) {
  const Rect full = t;
  t = t.Intersect(Rect::FromSize(0, 0, dst.Width(), dst.Height()));
  if (t.Empty() || src.Empty()) return;
  std::vector<int> xmap(static_cast<size_t>(dst.Width()), 0), ymap(static_cast<size_t>(dst.Height()), 0);
  int xl = t.right, xr = t.left;
  for (int x = t.left; x < t.right; ++x) {
    const int sx = colOf(x - full.left);
    xmap[static_cast<size_t>(x)] = sx;
    if (sx >= 0 && sx < src.Width()) { xl = std::min(xl, x); xr = std::max(xr, x + 1); }
  }
  int yt = t.bottom, yb = t.top;
  for (int y = t.top; y < t.bottom; ++y) {
    const int sy = rowOf(y - full.top);
    ymap[static_cast<size_t>(y)] = sy;
    if (sy >= 0 && sy < src.Height()) { yt = std::min(yt, y); yb = std::max(yb, y + 1); }
  }
  const Rect area{xl, yt, xr, yb};
  if (area.Empty()) return;
  const Palette& pal = src.GetPalette();
  if (linear && src.Format() == dst.Format()) {
    const int bpp = BytesPerPixel(dst.Format());
    const int* xm = xmap.data();
    ForSpans(area, clip, [&](int y, int x0, int x1) {
      std::memcpy(dst.Row(y) + x0 * bpp, src.Row(ymap[static_cast<size_t>(y)]) + xm[x0] * bpp,
                  static_cast<size_t>(x1 - x0) * bpp);
    });
    return;
  }
  const RowFn row = PickRow(src.Format(), dst.Format());
  const int bpp = BytesPerPixel(dst.Format());
  // When a stretch repeats a source row for the same span, the row just drawn is copied.
  int lastY = -1, lastX0 = 0, lastX1 = 0, lastSy = -1;
  ForSpans(area, clip, [&](int y, int x0, int x1) {
    const int sy = ymap[static_cast<size_t>(y)];
    if (y == lastY + 1 && sy == lastSy && x0 == lastX0 && x1 == lastX1) {
      std::memcpy(dst.Row(y) + x0 * bpp, dst.Row(lastY) + x0 * bpp, static_cast<size_t>(x1 - x0) * bpp);
    } else {
      row(dst.Row(y), src.Row(sy), pal, xmap.data(), x0, x1);
    }
    lastY = y; lastX0 = x0; lastX1 = x1; lastSy = sy;
  });
}

}  // namespace

void FillRect(Bitmap& dst, const Rect& rect, Color color, uint8_t alpha, const Region* clip) {
  const Rect area = rect.Intersect(Rect::FromSize(0, 0, dst.Width(), dst.Height()));
  color = ResolveColor(color);
  const uint8_t r = static_cast<uint8_t>(RedOf(color)), g = static_cast<uint8_t>(GreenOf(color)),
                b = static_cast<uint8_t>(BlueOf(color));
  const PixelFormat f = dst.Format();
  ForSpans(area, clip, [&](int y, int x0, int x1) {
    uint8_t* p = dst.Row(y) + x0 * BytesPerPixel(f);
    switch (f) {
      case PixelFormat::Indexed8: std::memset(p, r, static_cast<size_t>(x1 - x0)); break;
      case PixelFormat::Bgr24:
        for (int x = x0; x < x1; ++x, p += 3) { p[0] = b; p[1] = g; p[2] = r; }
        break;
      case PixelFormat::Bgra32:
        for (int x = x0; x < x1; ++x, p += 4) { p[0] = b; p[1] = g; p[2] = r; p[3] = alpha; }
        break;
    }
  });
}

void FillRegion(Bitmap& dst, const Region& region, Color color, uint8_t alpha) {
  FillRect(dst, region.Bounds(), color, alpha, &region);
}

void CopyRect(Bitmap& dst, int dx, int dy, const Bitmap& src, const Rect& s, const Region* clip) {
  if (s.Empty()) return;
  Transfer(dst, Rect::FromSize(dx, dy, s.Width(), s.Height()), src, [&](int x) { return s.left + x; },
           [&](int y) { return s.top + y; }, true, clip);
}

void MirrorRect(Bitmap& dst, int dx, int dy, const Bitmap& src, const Rect& s, bool horizontal, bool vertical,
                const Region* clip) {
  if (s.Empty()) return;
  const int w = s.Width(), h = s.Height();
  Transfer(dst, Rect::FromSize(dx, dy, w, h), src,
           [&](int x) { return horizontal ? s.right - 1 - x : s.left + x; },
           [&](int y) { return vertical ? s.bottom - 1 - y : s.top + y; }, !horizontal, clip);
}

void StretchRect(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s, const Region* clip) {
  if (s.Empty() || d.left == d.right || d.top == d.bottom) return;
  const bool flipX = d.right < d.left, flipY = d.bottom < d.top;
  const Rect t{std::min(d.left, d.right), std::min(d.top, d.bottom), std::max(d.left, d.right),
               std::max(d.top, d.bottom)};
  const long long w = t.Width(), h = t.Height(), sw = s.Width(), sh = s.Height();
  auto col = [&](int x) {
    const long long k = flipX ? w - 1 - x : x;
    return s.left + static_cast<int>((2 * k + 1) * sw / (2 * w));
  };
  auto row = [&](int y) {
    const long long k = flipY ? h - 1 - y : y;
    return s.top + static_cast<int>((2 * k + 1) * sh / (2 * h));
  };
  Transfer(dst, t, src, col, row, !flipX && w == sw, clip);
}

}  // namespace platform
