#include "platform/bmp_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"

namespace platform {

namespace {

const char kInvalid[] = "Bitmap image is not valid";

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct DibHeader {
  uint32_t headerSize = 0;
  int width = 0, height = 0;  // height > 0 bottom-up, < 0 top-down
  int bits = 0;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool hasMasks = false;
  bool core = false;                 // 12-byte header, 3-byte palette entries
  size_t paletteOffset = 0;          // from the DIB's start
  int paletteCount = 0;
};

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

// Reads and checks the info header at the start of `dib`.
bool ParseHeader(const uint8_t* dib, size_t size, DibHeader& h) {
  if (size < 12) return false;
  h.headerSize = U32(dib);
  if (h.headerSize == 12) {
    h.core = true;
    h.width = U16(dib + 4);
    h.height = static_cast<int16_t>(U16(dib + 6));
    h.bits = U16(dib + 10);
  } else {
    if (h.headerSize < 40 || h.headerSize > size) return false;
    h.width = static_cast<int32_t>(U32(dib + 4));
    h.height = static_cast<int32_t>(U32(dib + 8));
    if (h.height == INT32_MIN) return false;  // no row count: it has no positive counterpart
    h.bits = U16(dib + 14);
    h.compression = U32(dib + 16);
    h.clrUsed = U32(dib + 32);
  }
  if (h.headerSize > size) return false;
  size_t off = h.headerSize;
  if (!h.core && (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields)) {
    h.hasMasks = true;
    const int n = h.compression == kBiAlphaBitfields ? 4 : 3;
    if (h.headerSize >= 52) {
      for (int k = 0; k < 3; ++k) h.masks[k] = U32(dib + 40 + 4 * k);
      if (h.headerSize >= 56) h.masks[3] = U32(dib + 52);
    } else {
      if (off + 4 * n > size) return false;
      for (int k = 0; k < n; ++k) h.masks[k] = U32(dib + off + 4 * k);
      off += 4 * n;
    }
  }
  h.paletteOffset = off;
  if (h.bits <= 8) {
    const uint32_t full = 1u << h.bits;
    h.paletteCount = static_cast<int>(h.clrUsed == 0 || h.clrUsed > full ? full : h.clrUsed);
  } else {
    // Colour tables of high-colour pictures are optional hints; skip them.
    h.paletteCount = static_cast<int>(std::min<uint32_t>(h.clrUsed, 256));
  }
  switch (h.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  if (h.compression == kBiRle8 && h.bits != 8) return false;
  if (h.compression == kBiRle4 && h.bits != 4) return false;
  if (h.hasMasks && h.bits != 16 && h.bits != 32) return false;
  if (h.compression != kBiRgb && h.compression != kBiRle8 && h.compression != kBiRle4 && !h.hasMasks) return false;
  return true;
}

int Shift(uint32_t mask) {
  int s = 0;
  if (mask == 0) return 0;
  while (!(mask & 1u)) { mask >>= 1; ++s; }
  return s;
}
// A masked channel scaled to 0..255.
uint8_t Channel(uint32_t v, uint32_t mask, int shift) {
  if (mask == 0) return 0;
  const uint32_t m = mask >> shift;
  return static_cast<uint8_t>(((v & mask) >> shift) * 255u / m);
}

// Decodes RLE data into 8-bit indexes, rows bottom-up in the file order; pixels the stream
// skips stay 0.
void DecodeRle(const uint8_t* p, size_t n, bool rle4, int w, int h, std::vector<uint8_t>& idx) {
  idx.assign(static_cast<size_t>(w) * h, 0);
  int x = 0, y = 0;  // y counts rows from the file's first row
  size_t i = 0;
  auto put = [&](uint8_t v) {
    if (x < w && y < h) idx[static_cast<size_t>(y) * w + x] = v;
    ++x;
  };
  while (i + 1 < n && y < h) {
    const uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(rle4 ? ((k & 1) ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0; ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (i + 1 >= n) break;
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {
      const int len = value;
      const size_t bytes = rle4 ? (len + 1) / 2 : len;
      if (i + bytes > n) break;
      for (int k = 0; k < len; ++k) put(rle4 ? ((k & 1) ? p[i + k / 2] & 15 : p[i + k / 2] >> 4) : p[i + k]);
      i += (bytes + 1) & ~static_cast<size_t>(1);
    }
  }
}

// Decodes a DIB whose info header starts at dib[0]; pixels start at pixelOffset from dib
// (0 = right after the palette). `rows` overrides the header's height (icons store twice).
std::unique_ptr<Bitmap> DecodeDibAt(const uint8_t* dib, size_t size, size_t pixelOffset, const DibHeader& h,
                                    int rows) {
  const int w = h.width;
  const bool topDown = h.height < 0;
  const int hh = rows;
  if (w <= 0 || hh <= 0 || w > kMaxPictureSide || hh > kMaxPictureSide ||
      static_cast<long long>(w) * hh > kMaxPicturePixels)
    throw LoadError(kInvalid);
  const size_t entry = h.core ? 3 : 4;
  const size_t palEnd = h.paletteOffset + static_cast<size_t>(h.paletteCount) * entry;
  if (palEnd > size) throw LoadError(kInvalid);
  if (pixelOffset == 0) pixelOffset = palEnd;
  if (pixelOffset > size) throw LoadError(kInvalid);
  const uint8_t* pix = dib + pixelOffset;
  const size_t avail = size - pixelOffset;
  const size_t stride = ((static_cast<size_t>(w) * h.bits + 31) / 32) * 4;

  PixelFormat fmt = h.bits <= 8 ? PixelFormat::Indexed8 : h.bits == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24;
  auto out = Bitmap::Create(w, hh, fmt);
  if (!out) throw LoadError(kInvalid);
  if (h.bits <= 8) {
    Palette& pal = out->GetPalette();
    pal.fill({});
    for (int k = 0; k < h.paletteCount; ++k) {
      const uint8_t* e = dib + h.paletteOffset + k * entry;
      pal[static_cast<size_t>(k)] = {e[2], e[1], e[0]};
    }
  }
  auto targetRow = [&](int fileRow) { return topDown ? fileRow : hh - 1 - fileRow; };

  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    std::vector<uint8_t> idx;
    DecodeRle(pix, avail, h.compression == kBiRle4, w, hh, idx);
    for (int r = 0; r < hh; ++r) std::memcpy(out->Row(targetRow(r)), idx.data() + static_cast<size_t>(r) * w, w);
    return out;
  }
  if (stride * hh > avail) throw LoadError(kInvalid);

  uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  if (!h.hasMasks && h.bits == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
  const int shifts[4] = {Shift(masks[0]), Shift(masks[1]), Shift(masks[2]), Shift(masks[3])};
  bool anyAlpha = false;
  for (int r = 0; r < hh; ++r) {
    const uint8_t* s = pix + stride * r;
    uint8_t* d = out->Row(targetRow(r));
    switch (h.bits) {
      case 1:
        for (int x = 0; x < w; ++x) d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1;
        break;
      case 4:
        for (int x = 0; x < w; ++x) d[x] = (x & 1) ? s[x >> 1] & 15 : s[x >> 1] >> 4;
        break;
      case 8: std::memcpy(d, s, static_cast<size_t>(w)); break;
      case 16:
        for (int x = 0; x < w; ++x, d += 3) {
          const uint32_t v = U16(s + 2 * x);
          d[0] = Channel(v, masks[2], shifts[2]);
          d[1] = Channel(v, masks[1], shifts[1]);
          d[2] = Channel(v, masks[0], shifts[0]);
        }
        break;
      case 24: std::memcpy(d, s, static_cast<size_t>(w) * 3); break;
      case 32:
        if (h.hasMasks) {
          for (int x = 0; x < w; ++x, d += 4) {
            const uint32_t v = U32(s + 4 * x);
            d[0] = Channel(v, masks[2], shifts[2]);
            d[1] = Channel(v, masks[1], shifts[1]);
            d[2] = Channel(v, masks[0], shifts[0]);
            d[3] = masks[3] ? Channel(v, masks[3], shifts[3]) : 0;
            anyAlpha |= d[3] != 0;
          }
        } else {
          std::memcpy(d, s, static_cast<size_t>(w) * 4);
          for (int x = 0; x < w; ++x) anyAlpha |= d[4 * x + 3] != 0;
        }
        break;
    }
  }
  // A 32-bit picture whose alpha bytes are all zero has no alpha: show it opaque.
  if (h.bits == 32 && !anyAlpha) {
    for (int y = 0; y < hh; ++y) {
      uint8_t* d = out->Row(y);
      for (int x = 0; x < w; ++x) d[4 * x + 3] = 255;
    }
  }
  return out;
}

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(x & 0xFF); v.push_back((x >> 8) & 0xFF); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { Put16(v, x & 0xFFFF); Put16(v, x >> 16); }

}  // namespace

std::unique_ptr<Bitmap> DecodeBmp(std::span<const uint8_t> data, bool bareDib) {
  const uint8_t* p = data.data();
  size_t size = data.size();
  size_t pixelOffset = 0;
  if (!bareDib) {
    if (size < 14 + 12 || p[0] != 'B' || p[1] != 'M') throw LoadError(kInvalid);
    const uint32_t off = U32(p + 10);
    p += 14;
    size -= 14;
    // A sound offset is honoured; a wrong one falls back to right after the palette.
    if (off >= 14 && off - 14 < size) pixelOffset = off - 14;
  }
  DibHeader h;
  if (!ParseHeader(p, size, h)) throw LoadError(kInvalid);
  const int rows = h.height < 0 ? -h.height : h.height;
  if (pixelOffset != 0 && pixelOffset < h.paletteOffset) pixelOffset = 0;
  return DecodeDibAt(p, size, pixelOffset, h, rows);
}

std::unique_ptr<Bitmap> DecodeIconDib(std::span<const uint8_t> data) {
  DibHeader h;
  if (!ParseHeader(data.data(), data.size(), h) || h.height <= 0) throw LoadError(kInvalid);
  const int rows = h.height / 2;
  auto color = DecodeDibAt(data.data(), data.size(), 0, h, rows);
  const bool hadAlpha = color->Format() == PixelFormat::Bgra32 && [&] {
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < h.width; ++x)
        if (color->Row(y)[4 * x + 3] != 255) return true;
    return false;
  }();
  auto out = color->ConvertTo(PixelFormat::Bgra32);
  if (!out) throw LoadError(kInvalid);
  if (hadAlpha) return out;
  // The AND mask follows the colour rows: 1 bit per pixel, rows padded to 4 bytes, bottom-up.
  const size_t entry = h.core ? 3 : 4;
  const size_t colorStride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
  const size_t maskOffset = h.paletteOffset + h.paletteCount * entry + colorStride * rows;
  const size_t maskStride = ((static_cast<size_t>(h.width) + 31) / 32) * 4;
  if (maskOffset + maskStride * rows > data.size()) return out;  // no mask: opaque
  for (int r = 0; r < rows; ++r) {
    const uint8_t* m = data.data() + maskOffset + maskStride * r;
    uint8_t* d = out->Row(rows - 1 - r);
    for (int x = 0; x < h.width; ++x)
      if ((m[x >> 3] >> (7 - (x & 7))) & 1) d[4 * x + 3] = 0;
  }
  return out;
}

bool ProbeBmp(std::span<const uint8_t> data, int& width, int& height, int& bits) {
  if (data.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
  DibHeader h;
  if (!ParseHeader(data.data() + 14, data.size() - 14, h)) return false;
  width = h.width;
  height = h.height < 0 ? -h.height : h.height;
  bits = h.bits;
  return true;
}

std::vector<uint8_t> EncodeBmp(const Bitmap& b) {
  const int bits = BytesPerPixel(b.Format()) * 8;
  const int paletteCount = b.Format() == PixelFormat::Indexed8 ? 256 : 0;
  const uint32_t rowBytes = static_cast<uint32_t>(((static_cast<size_t>(b.Width()) * bits + 31) / 32) * 4);
  const uint32_t offBits = 14 + 40 + paletteCount * 4;
  const uint32_t imageSize = rowBytes * b.Height();
  std::vector<uint8_t> v;
  v.reserve(offBits + imageSize);
  v.push_back('B');
  v.push_back('M');
  Put32(v, offBits + imageSize);
  Put32(v, 0);
  Put32(v, offBits);
  Put32(v, 40);
  Put32(v, static_cast<uint32_t>(b.Width()));
  Put32(v, static_cast<uint32_t>(b.Height()));
  Put16(v, 1);
  Put16(v, static_cast<uint32_t>(bits));
  Put32(v, 0);  // BI_RGB
  Put32(v, imageSize);
  Put32(v, 3780);  // 96 dpi
  Put32(v, 3780);
  Put32(v, static_cast<uint32_t>(paletteCount));
  Put32(v, 0);
  for (int k = 0; k < paletteCount; ++k) {
    const PaletteEntry& e = b.GetPalette()[static_cast<size_t>(k)];
    v.push_back(e.b); v.push_back(e.g); v.push_back(e.r); v.push_back(0);
  }
  const size_t used = static_cast<size_t>(b.Width()) * BytesPerPixel(b.Format());
  for (int y = b.Height() - 1; y >= 0; --y) {
    const uint8_t* r = b.Row(y);
    v.insert(v.end(), r, r + used);
    v.insert(v.end(), rowBytes - used, 0);
  }
  return v;
}

void SaveBmp(const Bitmap& bitmap, std::string_view path) {
  const std::vector<uint8_t> bytes = EncodeBmp(bitmap);
  if (!files::WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
    throw FileError("Cannot create file \"" + std::string(path) + "\"");
}

}  // namespace platform
