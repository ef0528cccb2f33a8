#pragma once
// Bitmap files (BMP with file header) as the pattern overlay carries them inside a style file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/layered_image.h"

namespace imaging {

// Decodes an uncompressed BMP (1, 4, 8, 24 or 32 bits; 16 and 32 with or without bit fields)
// into a 24-bit bitmap, or a 32-bit one keeping the alpha bytes for 32-bit sources. nullptr when
// the bytes are not such a bitmap or claim more than they hold.
BitmapPtr DecodeBmpStream(std::string_view bytes);

// A BMP file of a 24- or 32-bit bitmap (bottom-up rows, BI_RGB).
std::string EncodeBmpStream(const platform::Bitmap& bitmap);

}  // namespace imaging
