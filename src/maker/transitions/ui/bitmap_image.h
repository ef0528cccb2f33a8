#pragma once
// Platform bitmaps at the Qt edge: 24-bit bitmaps become RGB images, 32-bit ones images with
// (straight) alpha, 8-bit ones go through their palette.
#include <QImage>

#include "platform/bitmap.h"

namespace widgets {

// A deep copy of the bitmap as a QImage (Format_RGB32 or Format_ARGB32); a null image for an
// empty bitmap.
QImage ToQImage(const platform::Bitmap& bitmap);

// A QImage that reads the bitmap's pixels in place (no copy): valid only while the bitmap
// lives and is not resized. 24-bit gives Format_BGR888, 32-bit Format_ARGB32; 8-bit is copied.
QImage WrapBitmap(const platform::Bitmap& bitmap);

}  // namespace widgets
