#pragma once
// Device-independent bitmap files: read 1, 4, 8, 16, 24 and 32 bits per pixel (bottom-up or
// top-down, uncompressed, RLE4/RLE8, bit fields), write 8, 24 and 32 bits.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

// A BMP file (with its 14-byte file header) or a bare DIB (info header first, as in
// clipboard data and metafile records: set `bareDib`). 1, 4 and 8-bit pictures come back as
// 8-bit bitmaps with their palette; 16 and 24-bit as 24-bit; 32-bit as 32-bit with the alpha
// bytes kept when any is non-zero, else alpha 255. LoadError on a malformed file.
std::unique_ptr<Bitmap> DecodeBmp(std::span<const uint8_t> data, bool bareDib = false);

// An icon image's DIB (height counts the colour rows and the AND mask): 32-bit, alpha from
// the image's own alpha bytes when it has any, else from the AND mask (set bit = transparent).
std::unique_ptr<Bitmap> DecodeIconDib(std::span<const uint8_t> dib);

// The file bytes of a bitmap: bottom-up, 8-bit with its palette, 24-bit, or 32-bit with alpha.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);
// Writes the file (system path) at once; FileError when it cannot be written.
void SaveBmp(const Bitmap& bitmap, std::string_view path);

// Picture width, height and bit depth from the header only; false when it is no BMP.
bool ProbeBmp(std::span<const uint8_t> data, int& width, int& height, int& bits);

}  // namespace platform
