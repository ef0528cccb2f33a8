#include "platform/region.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Coordinates are limited so that region arithmetic never overflows and a wild rectangle
// cannot make a region of millions of rows.
constexpr int kLimit = 1 << 20;
int ClampCoord(int v) { return std::clamp(v, -kLimit, kLimit); }

// Union of two sorted span lists [a0,a1),[a2,a3)...; touching spans merge.
std::vector<int> MergeSpans(const std::vector<int>& a, const std::vector<int>& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  std::vector<int> out;
  size_t i = 0, j = 0;
  auto take = [&](int l, int r) {
    if (!out.empty() && l <= out.back()) {
      out.back() = std::max(out.back(), r);
    } else {
      out.push_back(l);
      out.push_back(r);
    }
  };
  while (i < a.size() || j < b.size()) {
    if (j >= b.size() || (i < a.size() && a[i] <= b[j])) {
      take(a[i], a[i + 1]);
      i += 2;
    } else {
      take(b[j], b[j + 1]);
      j += 2;
    }
  }
  return out;
}

// Spans of one row from the sorted crossing list, by pixel centre.
void CrossingsToSpans(const std::vector<std::pair<double, int>>& xs, PolyFillMode mode, std::vector<int>& row) {
  auto add = [&](double a, double b) {
    const int l = static_cast<int>(std::ceil(a - 0.5));
    const int r = static_cast<int>(std::ceil(b - 0.5));
    if (r > l) row = MergeSpans(row, {l, r});
  };
  if (mode == PolyFillMode::Alternate) {
    for (size_t k = 0; k + 1 < xs.size(); k += 2) add(xs[k].first, xs[k + 1].first);
  } else {
    int winding = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
      winding += xs[k].second;
      if (winding != 0) add(xs[k].first, xs[k + 1].first);
    }
  }
}

}  // namespace

Rect Rect::Intersect(const Rect& o) const {
  Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  if (r.Empty()) return {};
  return r;
}

void Region::Append(int top, int bottom, std::vector<int> xs) {
  if (xs.empty() || bottom <= top) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().xs == xs) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(xs)});
}

Region Region::FromRect(const Rect& r0) {
  Region g;
  const Rect r{ClampCoord(r0.left), ClampCoord(r0.top), ClampCoord(r0.right), ClampCoord(r0.bottom)};
  if (!r.Empty()) g.Append(r.top, r.bottom, {r.left, r.right});
  return g;
}

Region Region::FromRows(int top, const std::vector<std::vector<int>>& rows) {
  Region g;
  for (size_t k = 0; k < rows.size(); ++k) g.Append(top + static_cast<int>(k), top + static_cast<int>(k) + 1, rows[k]);
  return g;
}

Region Region::Ellipse(const Rect& b0) {
  const Rect b{ClampCoord(b0.left), ClampCoord(b0.top), ClampCoord(b0.right), ClampCoord(b0.bottom)};
  if (b.Empty()) return {};
  const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
  const double rx = b.Width() / 2.0, ry = b.Height() / 2.0;
  std::vector<std::vector<int>> rows(static_cast<size_t>(b.Height()));
  for (int y = b.top; y < b.bottom; ++y) {
    const double dy = (y + 0.5 - cy) / ry;
    const double v = 1.0 - dy * dy;
    if (v <= 0) continue;
    const double half = rx * std::sqrt(v);
    const int l = std::max(b.left, static_cast<int>(std::ceil(cx - half - 0.5)));
    const int r = std::min(b.right, static_cast<int>(std::floor(cx + half - 0.5)) + 1);
    if (r > l) rows[static_cast<size_t>(y - b.top)] = {l, r};
  }
  return FromRows(b.top, rows);
}

Region Region::Polygon(const std::vector<Point>& pts, PolyFillMode mode) { return PolyPolygon({pts}, mode); }

Region Region::PolyPolygon(const std::vector<std::vector<Point>>& outlines, PolyFillMode mode, const Rect* limit) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  int minY = kLimit, maxY = -kLimit;
  for (const std::vector<Point>& pts : outlines) {
    if (pts.size() < 2) continue;
    for (size_t k = 0; k < pts.size(); ++k) {
      const Point& n = pts[(k + 1) % pts.size()];
      const int ax = ClampCoord(pts[k].x), ay = ClampCoord(pts[k].y), bx = ClampCoord(n.x), by = ClampCoord(n.y);
      minY = std::min(minY, ay);
      maxY = std::max(maxY, ay);
      if (ay == by) continue;
      edges.push_back(ay < by ? Edge{double(ax), double(ay), double(bx), double(by), 1}
                              : Edge{double(bx), double(by), double(ax), double(ay), -1});
    }
  }
  if (limit) {
    minY = std::max(minY, limit->top);
    maxY = std::min(maxY, limit->bottom);
  }
  if (edges.empty() || maxY <= minY) return {};
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  std::vector<std::vector<int>> rows(static_cast<size_t>(maxY - minY));
  std::vector<std::pair<double, int>> xs;
  std::vector<const Edge*> active;
  size_t next = 0;
  for (int y = minY; y < maxY; ++y) {
    const double yc = y + 0.5;
    while (next < edges.size() && edges[next].y0 <= yc) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->y1 <= yc; }),
                 active.end());
    xs.clear();
    for (const Edge* e : active) {
      if (yc < e->y0) continue;
      xs.push_back({e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->dir});
    }
    std::sort(xs.begin(), xs.end());
    CrossingsToSpans(xs, mode, rows[static_cast<size_t>(y - minY)]);
  }
  Region g = FromRows(minY, rows);
  if (limit) return g.Intersect(*limit);
  return g;
}

Region Region::RoundRect(const Rect& b, int cw, int ch) {
  if (b.Empty()) return {};
  cw = std::clamp(cw, 0, b.Width());
  ch = std::clamp(ch, 0, b.Height());
  if (cw < 2 || ch < 2) return FromRect(b);
  Region g = FromRect({b.left, b.top + ch / 2, b.right, b.bottom - ch / 2});
  g.UniteRect({b.left + cw / 2, b.top, b.right - cw / 2, b.bottom});
  g.Unite(Ellipse({b.left, b.top, b.left + cw, b.top + ch}));
  g.Unite(Ellipse({b.right - cw, b.top, b.right, b.top + ch}));
  g.Unite(Ellipse({b.left, b.bottom - ch, b.left + cw, b.bottom}));
  g.Unite(Ellipse({b.right - cw, b.bottom - ch, b.right, b.bottom}));
  return g;
}

Rect Region::Bounds() const {
  if (bands_.empty()) return {};
  Rect r{bands_.front().xs.front(), bands_.front().top, bands_.front().xs.back(), bands_.back().bottom};
  for (const Band& b : bands_) {
    r.left = std::min(r.left, b.xs.front());
    r.right = std::max(r.right, b.xs.back());
  }
  return r;
}

bool Region::Contains(int x, int y) const {
  for (const Band& b : bands_) {
    if (y < b.top || y >= b.bottom) continue;
    for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
      if (x >= b.xs[i] && x < b.xs[i + 1]) return true;
    return false;
  }
  return false;
}

void Region::Unite(const Region& other) {
  if (other.Empty()) return;
  if (Empty()) {
    bands_ = other.bands_;
    return;
  }
  std::vector<int> ys;
  for (const Band& b : bands_) { ys.push_back(b.top); ys.push_back(b.bottom); }
  for (const Band& b : other.bands_) { ys.push_back(b.top); ys.push_back(b.bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  Region out;
  size_t i = 0, j = 0;
  static const std::vector<int> kNone;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int y0 = ys[k], y1 = ys[k + 1];
    while (i < bands_.size() && bands_[i].bottom <= y0) ++i;
    while (j < other.bands_.size() && other.bands_[j].bottom <= y0) ++j;
    const std::vector<int>& a = (i < bands_.size() && bands_[i].top <= y0) ? bands_[i].xs : kNone;
    const std::vector<int>& c = (j < other.bands_.size() && other.bands_[j].top <= y0) ? other.bands_[j].xs : kNone;
    out.Append(y0, y1, MergeSpans(a, c));
  }
  bands_ = std::move(out.bands_);
}

Region Region::Intersect(const Rect& r) const {
  Region out;
  if (r.Empty()) return out;
  for (const Band& b : bands_) {
    const int top = std::max(b.top, r.top), bottom = std::min(b.bottom, r.bottom);
    if (bottom <= top) continue;
    std::vector<int> xs;
    for (size_t i = 0; i + 1 < b.xs.size(); i += 2) {
      const int l = std::max(b.xs[i], r.left), rr = std::min(b.xs[i + 1], r.right);
      if (rr > l) { xs.push_back(l); xs.push_back(rr); }
    }
    out.Append(top, bottom, std::move(xs));
  }
  return out;
}

void Region::Offset(int dx, int dy) {
  for (Band& b : bands_) {
    b.top += dy;
    b.bottom += dy;
    for (int& x : b.xs) x += dx;
  }
}

std::vector<Span> Region::Spans() const {
  std::vector<Span> out;
  ForEachSpan([&](int y, int l, int r) { out.push_back({y, l, r}); });
  return out;
}

long long Region::Area() const {
  long long a = 0;
  for (const Band& b : bands_) {
    long long w = 0;
    for (size_t i = 0; i + 1 < b.xs.size(); i += 2) w += b.xs[i + 1] - b.xs[i];
    a += w * (b.bottom - b.top);
  }
  return a;
}

bool Region::operator==(const Region& o) const {
  if (bands_.size() != o.bands_.size()) return false;
  for (size_t k = 0; k < bands_.size(); ++k) {
    if (bands_[k].top != o.bands_[k].top || bands_[k].bottom != o.bands_[k].bottom || bands_[k].xs != o.bands_[k].xs)
      return false;
  }
  return true;
}

}  // namespace platform
