#include "flashwriter/frame_packet.h"

#include <algorithm>
#include <cmath>

namespace flashwriter {

namespace {

uint32_t U32At(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(U32At(p)); }
uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void Classify(Image& img) {
  img.opaque = true;
  img.transparent = true;
  for (size_t i = 3; i < img.rgba.size(); i += 4) {
    if (img.rgba[i] != 255) img.opaque = false;
    if (img.rgba[i] != 0) img.transparent = false;
  }
}

}  // namespace

bool ParseBmp(const uint8_t* data, size_t size, Image& out, std::string& error) {
  if (size < 14 + 40 || data[0] != 'B' || data[1] != 'M') {
    error = "the picture is not a BMP file";
    return false;
  }
  uint32_t offBits = U32At(data + 10);
  const uint8_t* info = data + 14;
  uint32_t infoSize = U32At(info);
  if (infoSize < 40 || 14 + static_cast<uint64_t>(infoSize) > size) {
    error = "the BMP header is damaged";
    return false;
  }
  int32_t width = I32At(info + 4), height = I32At(info + 8);
  int bits = U16At(info + 14);
  uint32_t compression = U32At(info + 16);
  uint32_t clrUsed = U32At(info + 32);
  bool topDown = height < 0;
  long long h = topDown ? -static_cast<long long>(height) : height;
  if (width <= 0 || h <= 0 || width > kMaxFrameSide * 8 || h > kMaxFrameSide * 8 ||
      static_cast<long long>(width) * h > kMaxSheetPixels) {
    error = "the BMP size is out of range";
    return false;
  }
  if (!(bits == 8 || bits == 24 || bits == 32) ||
      !(compression == 0 || (compression == 3 && bits == 32))) {
    error = "only 8, 24 and 32-bit uncompressed BMP pictures are accepted";
    return false;
  }
  // 32-bit bit fields: accept only the usual blue, green, red, alpha byte order.
  if (compression == 3) {
    if (14 + 40 + 12 > static_cast<uint64_t>(size)) {
      error = "the BMP header is damaged";
      return false;
    }
    uint32_t rm = U32At(info + 40), gm = U32At(info + 44), bm = U32At(info + 48);
    if (rm != 0x00FF0000 || gm != 0x0000FF00 || bm != 0x000000FF) {
      error = "unsupported BMP bit fields";
      return false;
    }
  }
  uint8_t palette[256][3] = {};
  if (bits == 8) {
    uint32_t count = clrUsed == 0 || clrUsed > 256 ? 256 : clrUsed;
    uint64_t palStart = 14 + static_cast<uint64_t>(infoSize);
    if (palStart + 4ull * count > size) {
      error = "the BMP palette is damaged";
      return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = data + palStart + 4 * i;
      palette[i][0] = p[2]; palette[i][1] = p[1]; palette[i][2] = p[0];
    }
  }
  uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (offBits > size || stride * h > size - offBits) {
    error = "the BMP pixel data is shorter than its size";
    return false;
  }
  out.width = width;
  out.height = static_cast<int>(h);
  out.rgba.assign(static_cast<size_t>(width) * h * 4, 0);
  for (long long y = 0; y < h; ++y) {
    const uint8_t* row = data + offBits + stride * (topDown ? y : h - 1 - y);
    uint8_t* dst = out.rgba.data() + static_cast<size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, dst += 4) {
      if (bits == 8) {
        const uint8_t* c = palette[row[x]];
        dst[0] = c[0]; dst[1] = c[1]; dst[2] = c[2]; dst[3] = 255;
      } else if (bits == 24) {
        const uint8_t* s = row + 3 * x;
        dst[0] = s[2]; dst[1] = s[1]; dst[2] = s[0]; dst[3] = 255;
      } else {
        const uint8_t* s = row + 4 * x;
        uint8_t a = s[3];
        dst[0] = std::min(s[2], a); dst[1] = std::min(s[1], a); dst[2] = std::min(s[0], a); dst[3] = a;
      }
    }
  }
  Classify(out);
  return true;
}

bool ParseFramePacket(const uint8_t* data, size_t size, FramePacket& out, std::string& error) {
  out = FramePacket();
  if (!data || size < 12) {
    error = "the picture packet is empty or too short";
    return false;
  }
  int32_t fw = I32At(data), fh = I32At(data + 4), n = I32At(data + 8);
  if (fw <= 0 || fh <= 0 || fw > kMaxFrameSide || fh > kMaxFrameSide || n <= 0 || n > 65535) {
    error = "the picture packet has a bad frame size or count";
    return false;
  }
  uint64_t bmpStart = 12 + 2ull * n;
  if (bmpStart > size) {
    error = "the picture packet is shorter than its delay table";
    return false;
  }
  Image sheet;
  if (!ParseBmp(data + bmpStart, size - bmpStart, sheet, error)) return false;
  int cols = sheet.width / fw, rows = sheet.height / fh;
  if (cols <= 0 || rows <= 0) {
    error = "the picture sheet is smaller than one frame";
    return false;
  }
  int count = static_cast<int>(std::min<long long>(n, static_cast<long long>(cols) * rows));
  out.frameWidth = fw;
  out.frameHeight = fh;
  for (int k = 0; k < count; ++k) {
    out.delaysMs.push_back(U16At(data + 12 + 2 * k));
    Image cell;
    cell.width = fw;
    cell.height = fh;
    cell.rgba.resize(static_cast<size_t>(fw) * fh * 4);
    int cx = (k % cols) * fw, cy = (k / cols) * fh;
    for (int y = 0; y < fh; ++y) {
      const uint8_t* src = sheet.rgba.data() + (static_cast<size_t>(cy + y) * sheet.width + cx) * 4;
      std::copy(src, src + static_cast<size_t>(fw) * 4, cell.rgba.data() + static_cast<size_t>(y) * fw * 4);
    }
    Classify(cell);
    out.frames.push_back(std::move(cell));
  }
  return true;
}

Image FitImage(const Image& image, int maxSide, long long maxPixels) {
  double f = 1.0;
  f = std::min(f, static_cast<double>(maxSide) / image.width);
  f = std::min(f, static_cast<double>(maxSide) / image.height);
  f = std::min(f, std::sqrt(static_cast<double>(maxPixels) / (static_cast<double>(image.width) * image.height)));
  if (f >= 1.0) return image;
  Image out;
  out.width = std::max(1, static_cast<int>(image.width * f));
  out.height = std::max(1, static_cast<int>(image.height * f));
  out.rgba.resize(static_cast<size_t>(out.width) * out.height * 4);
  for (int y = 0; y < out.height; ++y) {
    int y0 = static_cast<int>(static_cast<long long>(y) * image.height / out.height);
    int y1 = std::max(y0 + 1, static_cast<int>(static_cast<long long>(y + 1) * image.height / out.height));
    for (int x = 0; x < out.width; ++x) {
      int x0 = static_cast<int>(static_cast<long long>(x) * image.width / out.width);
      int x1 = std::max(x0 + 1, static_cast<int>(static_cast<long long>(x + 1) * image.width / out.width));
      uint64_t sum[4] = {};
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx)
          for (int c = 0; c < 4; ++c) sum[c] += image.rgba[(static_cast<size_t>(sy) * image.width + sx) * 4 + c];
      uint64_t cnt = static_cast<uint64_t>(y1 - y0) * (x1 - x0);
      for (int c = 0; c < 4; ++c)
        out.rgba[(static_cast<size_t>(y) * out.width + x) * 4 + c] = static_cast<uint8_t>((sum[c] + cnt / 2) / cnt);
    }
  }
  out.opaque = image.opaque;
  out.transparent = image.transparent;
  return out;
}

}  // namespace flashwriter
