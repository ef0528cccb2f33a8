#pragma once
// Bitmaps with row access: 8-bit with a palette, 24-bit (blue, green, red in memory) and
// 32-bit (blue, green, red, alpha). Rows are top-down; each row is padded to 4 bytes as the
// platform's device-independent bitmaps are. Created by a factory that can fail.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/color.h"

namespace platform {

enum class PixelFormat { Indexed8, Bgr24, Bgra32 };

int BytesPerPixel(PixelFormat f);

struct PaletteEntry {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const PaletteEntry&) const = default;
};
using Palette = std::array<PaletteEntry, 256>;

// Entry k is (k, k, k): 8-bit bitmaps with this palette store coverage values directly.
const Palette& GrayPalette();

class Bitmap {
 public:
  // A bitmap of the given size and format, filled with zero bytes; nullptr when the size is
  // negative or too large to allocate. An 8-bit bitmap gets the gray palette.
  static std::unique_ptr<Bitmap> Create(int width, int height, PixelFormat format);

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int Stride() const { return stride_; }  // bytes from one row to the next
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Row y (0 = top). y must lie in 0..Height()-1: callers clip.
  uint8_t* Row(int y) { return data_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return data_.data() + static_cast<size_t>(y) * stride_; }
  uint8_t* Data() { return data_.data(); }
  const uint8_t* Data() const { return data_.data(); }
  size_t ByteSize() const { return data_.size(); }

  Palette& GetPalette() { return palette_; }
  const Palette& GetPalette() const { return palette_; }

  // Pixel access for tests and slow paths: colour as 0x00BBGGRR (8-bit goes through the
  // palette); alpha only for 32-bit (255 otherwise). Out-of-range coordinates read 0.
  Color PixelColor(int x, int y) const;
  uint8_t PixelAlpha(int x, int y) const;
  void SetPixelColor(int x, int y, Color c, uint8_t alpha = 255);

  // Fills every pixel with a colour (system colours resolved); for 8-bit, with palette index
  // = the red value.
  void Fill(Color c, uint8_t alpha = 255);

  std::unique_ptr<Bitmap> Clone() const;
  // A copy in another format. To 8-bit: the gray level (0.299 R + 0.587 G + 0.114 B, rounded)
  // with the gray palette. From 8-bit: through the palette. To 32-bit: alpha 255, from 32-bit
  // to 24-bit: alpha dropped.
  std::unique_ptr<Bitmap> ConvertTo(PixelFormat format) const;

  bool SameSizeAndFormat(const Bitmap& other) const {
    return width_ == other.width_ && height_ == other.height_ && format_ == other.format_;
  }
  // Pixel bytes equal (row padding ignored), palettes equal for 8-bit.
  bool SamePixels(const Bitmap& other) const;

 private:
  Bitmap(int w, int h, PixelFormat f);
  int width_, height_;
  PixelFormat format_;
  int stride_;
  std::vector<uint8_t> data_;
  Palette palette_;
};

}  // namespace platform
