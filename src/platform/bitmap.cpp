#include "platform/bitmap.h"

#include <cstring>
#include <new>

namespace platform {

int BytesPerPixel(PixelFormat f) {
  switch (f) {
    case PixelFormat::Indexed8: return 1;
    case PixelFormat::Bgr24: return 3;
    case PixelFormat::Bgra32: return 4;
  }
  return 1;
}

const Palette& GrayPalette() {
  static const Palette p = [] {
    Palette g;
    for (int k = 0; k < 256; ++k) g[k] = {static_cast<uint8_t>(k), static_cast<uint8_t>(k), static_cast<uint8_t>(k)};
    return g;
  }();
  return p;
}

Bitmap::Bitmap(int w, int h, PixelFormat f)
    : width_(w), height_(h), format_(f), stride_(((w * BytesPerPixel(f)) + 3) & ~3), palette_(GrayPalette()) {}

std::unique_ptr<Bitmap> Bitmap::Create(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0) return nullptr;
  // Refuse sizes whose byte count would overflow or exceed what a picture can sensibly need.
  const long long stride = ((static_cast<long long>(width) * BytesPerPixel(format)) + 3) & ~3LL;
  const long long bytes = stride * height;
  if (bytes > (1LL << 31)) return nullptr;
  std::unique_ptr<Bitmap> b(new Bitmap(width, height, format));
  try {
    b->data_.assign(static_cast<size_t>(bytes), 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return b;
}


Color Bitmap::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* p = Row(y) + x * BytesPerPixel(format_);
  if (format_ == PixelFormat::Indexed8) {
    const PaletteEntry& e = palette_[*p];
    return Rgb(e.r, e.g, e.b);
  }
  return Rgb(p[2], p[1], p[0]);
}

uint8_t Bitmap::PixelAlpha(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  if (format_ != PixelFormat::Bgra32) return 255;
  return Row(y)[x * 4 + 3];
}

void Bitmap::SetPixelColor(int x, int y, Color c, uint8_t alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  c = ResolveColor(c);
  uint8_t* p = Row(y) + x * BytesPerPixel(format_);
  switch (format_) {
    case PixelFormat::Indexed8: p[0] = static_cast<uint8_t>(RedOf(c)); break;
    case PixelFormat::Bgra32: p[3] = alpha; [[fallthrough]];
    case PixelFormat::Bgr24:
      p[0] = static_cast<uint8_t>(BlueOf(c));
      p[1] = static_cast<uint8_t>(GreenOf(c));
      p[2] = static_cast<uint8_t>(RedOf(c));
      break;
  }
}

void Bitmap::Fill(Color c, uint8_t alpha) {
  c = ResolveColor(c);
  const uint8_t r = static_cast<uint8_t>(RedOf(c)), g = static_cast<uint8_t>(GreenOf(c)),
                b = static_cast<uint8_t>(BlueOf(c));
  for (int y = 0; y < height_; ++y) {
    uint8_t* p = Row(y);
    switch (format_) {
      case PixelFormat::Indexed8: std::memset(p, r, static_cast<size_t>(width_)); break;
      case PixelFormat::Bgr24:
        for (int x = 0; x < width_; ++x, p += 3) { p[0] = b; p[1] = g; p[2] = r; }
        break;
      case PixelFormat::Bgra32:
        for (int x = 0; x < width_; ++x, p += 4) { p[0] = b; p[1] = g; p[2] = r; p[3] = alpha; }
        break;
    }
  }
}

std::unique_ptr<Bitmap> Bitmap::Clone() const {
  std::unique_ptr<Bitmap> b(new Bitmap(width_, height_, format_));
  b->data_ = data_;
  b->palette_ = palette_;
  return b;
}

std::unique_ptr<Bitmap> Bitmap::ConvertTo(PixelFormat format) const {
  if (format == format_) return Clone();
  auto out = Create(width_, height_, format);
  if (!out) return nullptr;
  const int sbpp = BytesPerPixel(format_), dbpp = BytesPerPixel(format);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* s = Row(y);
    uint8_t* d = out->Row(y);
    for (int x = 0; x < width_; ++x, s += sbpp, d += dbpp) {
      uint8_t r, g, b, a = 255;
      if (format_ == PixelFormat::Indexed8) {
        const PaletteEntry& e = palette_[*s];
        r = e.r; g = e.g; b = e.b;
      } else {
        b = s[0]; g = s[1]; r = s[2];
        if (format_ == PixelFormat::Bgra32) a = s[3];
      }
      if (format == PixelFormat::Indexed8) {
        d[0] = static_cast<uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
      } else {
        d[0] = b; d[1] = g; d[2] = r;
        if (format == PixelFormat::Bgra32) d[3] = a;
      }
    }
  }
  return out;
}

bool Bitmap::SamePixels(const Bitmap& other) const {
  if (!SameSizeAndFormat(other)) return false;
  const size_t rowBytes = static_cast<size_t>(width_) * BytesPerPixel(format_);
  for (int y = 0; y < height_; ++y) {
    if (std::memcmp(Row(y), other.Row(y), rowBytes) != 0) return false;
  }
  return format_ != PixelFormat::Indexed8 || palette_ == other.palette_;
}

}  // namespace platform
