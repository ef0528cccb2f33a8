#pragma once
// Text layer rendering helpers: the reduction that smooths text drawn at 2..4 times its size,
// the thickening of small sizes, and the text drawing into an 8-bit coverage bitmap.
#include "imaging/layered_image.h"

namespace imaging {

// The enlargement of a smoothing level: 1 (none), 2, 3 or 4.
int SmoothingFactor(int smoothing);

// Reduces an 8-bit bitmap by f in both directions (integer division of the sizes); each new
// pixel is the sum of its f x f source pixels divided by f*f, the fraction dropped.
BitmapPtr ReduceByFactor(const platform::Bitmap& src, int f);

// Multiplies every value by 2.2 - points / 10 (for sizes below 12 points), rounded, at most 255.
void ThickenSmallText(platform::Bitmap& alpha, double points);

// The point size of a font size field: positive values are points, negative ones a character
// height in pixels (at 96 pixels per inch).
double FontSizeInPoints(int size);

// Draws the text of info (white on black) into an 8-bit bitmap sized to the text. False when
// no font can be found or the bitmap cannot be made.
bool DrawTextInfo(const TTextLayerInfo& info, BitmapPtr& out);

}  // namespace imaging
