#pragma once
// The crop the Flash wizard applies to an exported text picture.
#include "imaging/layered_image.h"

namespace imaging {

// 32-bit bitmaps only: the bounding box of the pixels whose alpha is not 0, widened by one
// pixel on each side and clipped to the bitmap, as a new bitmap. nullptr when the bitmap is not
// 32-bit or no pixel has alpha.
BitmapPtr CropToOpaque(const platform::Bitmap& bitmap);

}  // namespace imaging
