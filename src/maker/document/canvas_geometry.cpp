#include "maker/document/canvas_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace document {

HandleSet HandlePositions(const Rect& r) {
  const int L = r.left, T = r.top, W = r.width, H = r.height;
  const int s = kHandleSize, h = kHandleHalf;
  return {Point{L - s, T - s},           Point{L + W, T - s},
          Point{L + W, T + H / 2 - h},   Point{L + W, T + H},
          Point{L + W / 2 - h, T + H},   Point{L - s, T + H},
          Point{L - s, T + H / 2 - h},   Point{L + W / 2 - h, T - s}};
}

HandleCursor CursorOfHandle(int handle) {
  switch (handle) {
    case 1: case 4: return HandleCursor::DiagonalNwSe;
    case 2: case 6: return HandleCursor::DiagonalNeSw;
    case 3: case 7: return HandleCursor::Horizontal;
    default: return HandleCursor::Vertical;
  }
}

Rect MovedRect(const Rect& r, Point press, Point release) {
  return {r.left + release.x - press.x, r.top + release.y - press.y, r.width, r.height};
}

namespace {

// Near edge and extent along one axis between two handle coordinates.
void Axis(int a, int b, int& edge, int& extent) {
  edge = std::min(a, b) + kHandleSize;
  extent = std::max(kMinExtent, std::abs(a - b) - kHandleSize);
}

}  // namespace

Rect RectFromHandles(const HandleSet& hs, int dragged, const Rect& present) {
  // Handle pairs per dragged handle (1-based); 0 leaves the axis unchanged.
  static constexpr int kPairs[9][4] = {
      {0, 0, 0, 0}, {1, 2, 1, 6}, {1, 2, 2, 6}, {1, 3, 0, 0}, {1, 4, 1, 4},
      {0, 0, 1, 5}, {2, 6, 1, 6}, {2, 7, 0, 0}, {0, 0, 6, 8}};
  Rect out = present;
  if (dragged < 1 || dragged > 8) return out;
  const int* p = kPairs[dragged];
  if (p[0]) Axis(hs[p[0] - 1].x, hs[p[1] - 1].x, out.left, out.width);
  if (p[2]) Axis(hs[p[2] - 1].y, hs[p[3] - 1].y, out.top, out.height);
  return out;
}

Rect ResizeByHandle(const Rect& r, int dragged, int dx, int dy) {
  HandleSet hs = HandlePositions(r);
  if (dragged < 1 || dragged > 8) return r;
  hs[dragged - 1].x += dx;
  hs[dragged - 1].y += dy;
  return RectFromHandles(hs, dragged, r);
}

Rect ResizeFrameStart(const HandleSet& hs) {
  return {hs[0].x + kHandleSize, hs[0].y + kHandleSize, hs[1].x - hs[0].x - kHandleSize,
          hs[5].y - hs[0].y - kHandleSize};
}

}  // namespace document
