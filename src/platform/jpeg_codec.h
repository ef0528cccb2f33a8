#pragma once
// JPEG through libjpeg-turbo: baseline and progressive decode, baseline encode.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

// A 24-bit bitmap (grayscale and CMYK pictures converted). LoadError("JPEG error #N ...")
// when the data is not a JPEG picture or is damaged beyond its first rows.
std::unique_ptr<Bitmap> DecodeJpeg(std::span<const uint8_t> data);

// The JPEG file bytes of a bitmap at a quality of 1 to 100 (8-bit through its palette,
// 32-bit without its alpha).
std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality = 85, bool progressive = false);

struct JpegInfo {
  int width = 0, height = 0, components = 0;
  bool progressive = false;
};
bool ProbeJpeg(std::span<const uint8_t> data, JpegInfo& info);

}  // namespace platform
