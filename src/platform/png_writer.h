#pragma once
// PNG output through libpng, for tools and for looking at what the suite draws.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

// 8-bit bitmaps are written as palette pictures, 24-bit as RGB, 32-bit as RGBA.
std::vector<uint8_t> EncodePng(const Bitmap& bitmap);
// FileError when the file cannot be written.
void SavePng(const Bitmap& bitmap, std::string_view path);

}  // namespace platform
