#pragma once
// The scrolling caption's geometry, shared by the designer, the card players and web cards: the
// caption's text is broken into lines as a word-wrapping box of its width breaks it, and
// every timer tick draws one frame (a 32-bit bitmap of the caption's size) at the scroll
// position p and then advances p:
//
//   Way 0 bottom to top: line i at (1, H - p + i*h),          p resets after N*h + H
//   Way 1 top to bottom: line N-1-i at (1, p - i*h),          p resets after N*h + H
//   Way 2 right to left: line i at (W - p, i*h),              p resets after 2*W
//   Way 3 left to right: line i at (p - W, i*h),              p resets after 2*W
//
// (N lines of height h, the height of "软" in the caption's font; W x H the caption's size.)
// "Resets after L" means: when p + 1 passes L, the next tick draws at p = 0 again.
#include <vector>

namespace document {

// The four directions, as stored in a caption's Way.
enum CaptionWay { kWayUp = 0, kWayDown = 1, kWayLeft = 2, kWayRight = 3 };

// What decides the lines' places: direction, line count and height, caption size.
struct CaptionGeometry {
  int way = kWayUp;
  int lineCount = 0;
  int lineHeight = 0;
  int width = 0;
  int height = 0;
};

// One line of the text at its place in a frame (top-left corner of the line's cell).
struct LinePlacement {
  int line = 0;  // index into the broken lines
  int x = 0;
  int y = 0;
  bool operator==(const LinePlacement&) const = default;
};

// Where each line is drawn at scroll position p, in drawing order. A Way outside 0..3 is
// drawn as Way 0.
std::vector<LinePlacement> PlaceCaptionLines(const CaptionGeometry& g, int p);
// The position after a tick that drew p: p + 1, or 0 when p + 1 passes the Way's limit.
int NextCaptionPosition(const CaptionGeometry& g, int p);
// The largest position a Way draws before starting again (N*h + H, or 2*W).
int CaptionPositionLimit(const CaptionGeometry& g);

}  // namespace document
