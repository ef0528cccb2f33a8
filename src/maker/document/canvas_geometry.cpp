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

Rect ElementRect(const CardDocument& doc, ElementRef ref) {
  if (ref.kind == ElementKind::Pics) return doc.picsBox ? doc.picsBox->rect : Rect{};
  const ElementControl* c = doc.FindControl(ref);
  return c ? c->rect : Rect{};
}

bool SetElementRect(CardDocument& doc, ElementRef ref, const Rect& r) {
  if (ref.kind == ElementKind::Pics) {
    if (!doc.picsBox) return false;
    doc.picsBox->rect = r;
    return true;
  }
  ElementControl* c = doc.FindControl(ref);
  if (!c) return false;
  c->rect = r;
  // A picture that keeps its natural size moves but does not resize: the rectangle follows it.
  const bool picture = ref.kind == ElementKind::Image || ref.kind == ElementKind::Gif;
  if (picture && c->autoSize && c->naturalWidth > 0 && c->naturalHeight > 0) {
    c->rect.width = c->naturalWidth;
    c->rect.height = c->naturalHeight;
  }
  return true;
}

std::vector<Rect> BackgroundPlacements(int W, int H, int w, int h, int layout) {
  std::vector<Rect> out;
  if (w <= 0 || h <= 0) return out;
  switch (layout) {
    case 1:
      out.push_back({0, 0, W, H});
      break;
    case 2:
      out.push_back({W / 2 - w / 2, H / 2 - h / 2, w, h});
      break;
    default:
      for (int j = 0; j <= H / h; ++j)
        for (int i = 0; i <= W / w; ++i) out.push_back({i * w, j * h, w, h});
      break;
  }
  return out;
}

platform::Region MaskRegion(const platform::Bitmap& mask) {
  platform::Region region;
  const platform::Color white = platform::Rgb(255, 255, 255);
  for (int y = 0; y < mask.Height(); ++y) {
    int x = 0;
    const int w = mask.Width();
    while (x < w) {
      while (x < w && mask.PixelColor(x, y) == white) ++x;
      if (x >= w) break;
      int a = x;
      while (x < w && mask.PixelColor(x, y) != white) ++x;
      region.UniteRect(platform::Rect{a, y, x, y + 1});
    }
  }
  return region;
}

}  // namespace document
