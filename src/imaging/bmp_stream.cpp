#include "imaging/bmp_stream.h"

#include <cstring>

namespace imaging {

namespace {

constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int ShiftOf(uint32_t mask) {
  int s = 0;
  while (mask && !(mask & 1)) { mask >>= 1; ++s; }
  return s;
}
int BitsOf(uint32_t mask) {
  mask >>= ShiftOf(mask);
  int n = 0;
  while (mask & 1) { mask >>= 1; ++n; }
  return n;
}
uint8_t Channel(uint32_t v, uint32_t mask) {
  if (!mask) return 0;
  int bits = BitsOf(mask);
  uint32_t c = (v & mask) >> ShiftOf(mask);
  if (bits >= 8) return static_cast<uint8_t>(c >> (bits - 8));
  uint32_t max = (1u << bits) - 1;
  return static_cast<uint8_t>((c * 255 + max / 2) / max);
}

void Put32(std::string& s, uint32_t v) { for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF)); }
void Put16(std::string& s, uint16_t v) { s.push_back(static_cast<char>(v & 0xFF)); s.push_back(static_cast<char>(v >> 8)); }

}  // namespace

BitmapPtr DecodeBmpStream(std::string_view bytes) {
  const auto* d = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  if (n < 14 + 12 || d[0] != 'B' || d[1] != 'M') return nullptr;
  const uint32_t pixelOffset = U32(d + 10);
  const uint32_t infoSize = U32(d + 14);
  if (infoSize < 12 || infoSize > n - 14) return nullptr;
  int64_t width, height;
  int bpp, compression = 0;
  uint32_t colorsUsed = 0;
  const bool core = infoSize == 12;
  if (core) {
    width = U16(d + 18);
    height = static_cast<int16_t>(U16(d + 20));
    if (U16(d + 22) != 1) return nullptr;
    bpp = U16(d + 24);
  } else {
    if (infoSize < 40) return nullptr;
    width = static_cast<int32_t>(U32(d + 18));
    height = static_cast<int32_t>(U32(d + 22));
    if (U16(d + 26) != 1) return nullptr;
    bpp = U16(d + 28);
    compression = static_cast<int>(U32(d + 30));
    colorsUsed = U32(d + 46);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return nullptr;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  // Channel masks: bit fields follow a 40-byte header or sit inside a larger one.
  uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
  if (compression == 3) {
    if (bpp != 16 && bpp != 32) return nullptr;
    if (14 + 40 + 12 > n) return nullptr;
    rMask = U32(d + 54); gMask = U32(d + 58); bMask = U32(d + 62);
    if (infoSize >= 56 && 14 + 56 <= n) aMask = U32(d + 66);
  } else if (compression != 0) {
    return nullptr;
  } else if (bpp == 16) {
    rMask = 0x7C00; gMask = 0x03E0; bMask = 0x001F;
  } else if (bpp == 32) {
    rMask = 0x00FF0000; gMask = 0x0000FF00; bMask = 0x000000FF; aMask = 0xFF000000;
  }
  // Palette.
  platform::Palette pal{};
  if (bpp <= 8) {
    uint32_t count = colorsUsed ? colorsUsed : (1u << bpp);
    if (count > 256) return nullptr;
    const size_t entry = core ? 3 : 4;
    size_t at = 14 + infoSize;
    if (at + count * entry > n) return nullptr;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = d + at + i * entry;
      pal[i] = {e[2], e[1], e[0]};
    }
  }
  const size_t rowBytes = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  if (pixelOffset > n || rowBytes * static_cast<size_t>(height) > n - pixelOffset) return nullptr;
  const bool withAlpha = bpp == 32 && aMask != 0;
  auto out = platform::Bitmap::Create(static_cast<int>(width), static_cast<int>(height),
                                      withAlpha ? platform::PixelFormat::Bgra32 : platform::PixelFormat::Bgr24);
  if (!out) return nullptr;
  const int obpp = withAlpha ? 4 : 3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = d + pixelOffset + rowBytes * static_cast<size_t>(topDown ? y : height - 1 - y);
    uint8_t* dst = out->Row(y);
    for (int x = 0; x < width; ++x) {
      uint8_t r, g, b, a = 255;
      if (bpp <= 8) {
        int bit = x * bpp;
        int idx = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
        r = pal[idx].r; g = pal[idx].g; b = pal[idx].b;
      } else if (bpp == 24) {
        b = src[x * 3]; g = src[x * 3 + 1]; r = src[x * 3 + 2];
      } else {
        uint32_t v = bpp == 16 ? U16(src + x * 2) : U32(src + x * 4);
        r = Channel(v, rMask); g = Channel(v, gMask); b = Channel(v, bMask);
        if (aMask) a = Channel(v, aMask);
      }
      uint8_t* p = dst + x * obpp;
      p[0] = b; p[1] = g; p[2] = r;
      if (withAlpha) p[3] = a;
    }
  }
  return out;
}

std::string EncodeBmpStream(const platform::Bitmap& bmp) {
  const bool alpha = bmp.Format() == platform::PixelFormat::Bgra32;
  const int bpp = alpha ? 32 : 24;
  const int w = bmp.Width(), h = bmp.Height();
  const size_t rowBytes = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  std::string s;
  Put16(s, 0x4D42);
  Put32(s, static_cast<uint32_t>(54 + rowBytes * h));
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(w));
  Put32(s, static_cast<uint32_t>(h));
  Put16(s, 1);
  Put16(s, static_cast<uint16_t>(bpp));
  Put32(s, 0);
  Put32(s, static_cast<uint32_t>(rowBytes * h));
  Put32(s, 2835); Put32(s, 2835); Put32(s, 0); Put32(s, 0);
  const int sbpp = platform::BytesPerPixel(bmp.Format());
  for (int y = h - 1; y >= 0; --y) {
    std::string row(rowBytes, '\0');
    const uint8_t* src = bmp.Row(y);
    for (int x = 0; x < w; ++x) {
      uint8_t b, g, r, a = 255;
      if (sbpp == 1) {
        const auto& e = bmp.GetPalette()[src[x]];
        b = e.b; g = e.g; r = e.r;
      } else {
        b = src[x * sbpp]; g = src[x * sbpp + 1]; r = src[x * sbpp + 2];
        if (sbpp == 4) a = src[x * 4 + 3];
      }
      char* p = &row[static_cast<size_t>(x) * (bpp / 8)];
      p[0] = static_cast<char>(b); p[1] = static_cast<char>(g); p[2] = static_cast<char>(r);
      if (alpha) p[3] = static_cast<char>(a);
    }
    s += row;
  }
  return s;
}

}  // namespace imaging
