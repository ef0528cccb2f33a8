#pragma once
// Rectangles and regions in pixel coordinates. A rectangle holds the pixels left..right-1 by
// top..bottom-1, as the platform's rectangles do. A region is a set of pixels kept as
// horizontal bands of sorted, non-overlapping spans; it is built from rectangles, ellipses,
// polygons and rounded rectangles, combined by union and clipped to a rectangle.
#include <cstddef>
#include <vector>

namespace platform {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  static Rect FromSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  Rect Intersect(const Rect& o) const;
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

// A run of pixels x in [left, right) on row y.
struct Span {
  int y, left, right;
  bool operator==(const Span&) const = default;
};

enum class PolyFillMode { Alternate, Winding };

class Region {
 public:
  Region() = default;  // empty

  // The pixels of the rectangle (empty when right <= left or bottom <= top).
  static Region FromRect(const Rect& r);
  // The ellipse inscribed in the rectangle: pixels whose centres lie inside it.
  static Region Ellipse(const Rect& bounds);
  // The polygon's inside by the fill mode: pixels whose centres lie inside.
  static Region Polygon(const std::vector<Point>& points, PolyFillMode mode = PolyFillMode::Alternate);
  // Several outlines filled together by the fill mode (holes by Alternate, overlaps by
  // Winding); with `limit`, only the part inside that rectangle is built.
  static Region PolyPolygon(const std::vector<std::vector<Point>>& outlines, PolyFillMode mode,
                            const Rect* limit = nullptr);
  // A rectangle whose corners are quarters of an ellipse of cornerWidth by cornerHeight.
  static Region RoundRect(const Rect& bounds, int cornerWidth, int cornerHeight);

  bool Empty() const { return bands_.empty(); }
  Rect Bounds() const;  // smallest rectangle around it; all zero when empty
  bool Contains(int x, int y) const;

  // In-place union with another region (or rectangle), as CombineRgn(RGN_OR) does.
  void Unite(const Region& other);
  void UniteRect(const Rect& r) { Unite(FromRect(r)); }
  Region Intersect(const Rect& r) const;
  void Offset(int dx, int dy);

  // Every span, top to bottom and left to right within a row.
  std::vector<Span> Spans() const;
  // Calls fn(y, left, right) for every span; rows of a band repeat its spans.
  template <typename Fn>
  void ForEachSpan(Fn&& fn) const {
    for (const Band& b : bands_)
      for (int y = b.top; y < b.bottom; ++y)
        for (std::size_t i = 0; i + 1 < b.xs.size(); i += 2) fn(y, b.xs[i], b.xs[i + 1]);
  }
  // Pixel count.
  long long Area() const;

  bool operator==(const Region& o) const;

 private:
  // Rows top..bottom-1 share the spans [xs[0], xs[1]), [xs[2], xs[3]), ... (sorted, disjoint,
  // never touching). Bands are sorted, never overlap and are never empty.
  struct Band {
    int top, bottom;
    std::vector<int> xs;
  };
  static Region FromRows(int top, const std::vector<std::vector<int>>& rows);
  void Append(int top, int bottom, std::vector<int> xs);
  std::vector<Band> bands_;
};

}  // namespace platform
