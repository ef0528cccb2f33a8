#pragma once
// Icon files (".ico"): the directory of images and each image's bytes.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

struct IconImage {
  int width = 0, height = 0;   // from the directory (0 there means 256)
  int colorCount = 0;          // palette entries stated in the directory (0 = 256 or more)
  int bitCount = 0;            // bits per pixel: from the image's own header when the directory says 0
  bool png = false;            // the image is a PNG stream
  std::vector<uint8_t> bytes;  // the image's raw bytes (a DIB with its AND mask, or PNG)
};

// The images of an icon file in directory order. LoadError when the directory is malformed
// or an entry points outside the file.
std::vector<IconImage> ParseIco(std::span<const uint8_t> data);

// One DIB icon image as a 32-bit bitmap: the colour bitmap with alpha from its own alpha
// channel (32-bit images) or the AND mask. LoadError for PNG images and malformed data.
std::unique_ptr<Bitmap> DecodeIconImage(const IconImage& image);

// Writes an icon file from images given as their raw bytes (for tests and tools).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace platform
