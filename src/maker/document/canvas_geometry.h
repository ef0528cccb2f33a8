#pragma once
// The design canvas's arithmetic: where the eight grab handles sit around a selected element,
// where an element lands after a drag, and the rectangle a handle drag gives. The canvas widget
// only feeds mouse positions in and places controls from what these return.
#include <array>
#include <vector>

#include "maker/document/card_document.h"
#include "platform/bitmap.h"
#include "platform/region.h"

namespace document {

inline constexpr int kHandleSize = 6;  // grab handles are 6 x 6
inline constexpr int kHandleHalf = 3;
inline constexpr int kMinExtent = 1;   // a handle drag never gives an extent below this

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

// Top-left corners of handles 1 … 8 (index 0 … 7) around the rectangle:
// 1 top-left, 2 top-right, 3 right middle, 4 bottom-right, 5 bottom middle, 6 bottom-left,
// 7 left middle, 8 top middle.
using HandleSet = std::array<Point, 8>;
HandleSet HandlePositions(const Rect& r);

enum class HandleCursor { DiagonalNwSe, DiagonalNeSw, Horizontal, Vertical };
HandleCursor CursorOfHandle(int handle);  // handle 1 … 8

// An element dragged from press (X0, Y0) to release (X, Y), both inside the element:
// Left + X − X0, Top + Y − Y0, size kept. No grid, no clamping.
Rect MovedRect(const Rect& r, Point press, Point release);

// The rectangle spanned by the handles after handle `dragged` (1 … 8) moved. Along an axis
// between handles a and b the near edge is min(a, b) + 6 and the extent |a − b| − 6; axes a
// handle does not drive keep `present`'s values. Dragging past the opposite handle mirrors.
// The extent never drops below kMinExtent.
Rect RectFromHandles(const HandleSet& handles, int dragged, const Rect& present);

// Handle `dragged` of r moved by (dx, dy), then RectFromHandles.
Rect ResizeByHandle(const Rect& r, int dragged, int dx, int dy);

// The resize frame at the start of a handle drag: the rectangle spanned by handles 1, 2 and 6,
// inset by 6 (the element's own rectangle).
Rect ResizeFrameStart(const HandleSet& handles);

// The rectangle of any element (the show box's own rectangle for it); all zero when the
// document has no such element.
Rect ElementRect(const CardDocument& doc, ElementRef ref);
// Sets it; false when the document has no such element. An image or GIF that keeps its
// natural size takes only the new position.
bool SetElementRect(CardDocument& doc, ElementRef ref, const Rect& r);

// Where the background picture (natural size w x h) is drawn on a W x H card: tile at
// (i*w, j*h) for i = 0 … W div w, j = 0 … H div h; stretch over the whole card; centre at
// (W div 2 − w div 2, H div 2 − h div 2) at natural size. Nothing for an empty picture.
std::vector<Rect> BackgroundPlacements(int W, int H, int w, int h, int layout);

// The card window's shape from a mask picture: for every row, each maximal run of pixels
// none of which is exactly white adds (a, y, b, y + 1); white pixels are cut out.
platform::Region MaskRegion(const platform::Bitmap& mask);

}  // namespace document
