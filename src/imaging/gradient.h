#pragma once
// Gradient painters for 24-bit bitmaps: runs of colour between stops along a line (horizontal,
// vertical), out from the centre (rectangles, ellipses), or along an angle.
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace imaging {

enum GradientType { kGradientHorizontal = 0, kGradientVertical = 1, kGradientRectangular = 2,
                    kGradientElliptical = 3, kGradientAngled = 4 };

struct ColorStop {
  platform::Color color = 0;  // platform colour, red in the low byte
  double fraction = 0;        // length of the run to the next stop, as a share of the length
};

// Paints the whole bitmap (24 or 32 bits; other formats are left alone). Needs at least two
// stops; angle in degrees is used by type 4 only. Unknown types paint nothing.
void PaintGradient(platform::Bitmap& bitmap, int type, const std::vector<ColorStop>& stops, double angle);

}  // namespace imaging
