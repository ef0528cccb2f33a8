#include "platform/ico_codec.h"

#include <cstring>

#include "platform/bmp_codec.h"
#include "platform/error.h"

namespace platform {

namespace {

const char kInvalid[] = "Icon image is not valid";

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

std::vector<IconImage> ParseIco(std::span<const uint8_t> data) {
  const uint8_t* p = data.data();
  const size_t size = data.size();
  if (size < 6 || U16(p) != 0 || (U16(p + 2) != 1 && U16(p + 2) != 2)) throw LoadError(kInvalid);
  const int count = U16(p + 4);
  if (count == 0 || 6 + static_cast<size_t>(count) * 16 > size) throw LoadError(kInvalid);
  std::vector<IconImage> images;
  for (int k = 0; k < count; ++k) {
    const uint8_t* e = p + 6 + k * 16;
    IconImage im;
    im.width = e[0] ? e[0] : 256;
    im.height = e[1] ? e[1] : 256;
    im.colorCount = e[2];
    im.bitCount = U16(e + 6);
    const uint32_t bytes = U32(e + 8), offset = U32(e + 12);
    if (offset > size || bytes > size - offset || bytes < 8) throw LoadError(kInvalid);
    im.bytes.assign(p + offset, p + offset + bytes);
    im.png = std::memcmp(im.bytes.data(), kPngSignature, 8) == 0;
    if (!im.png && im.bytes.size() >= 16 && U32(im.bytes.data()) >= 40) {
      const int bits = U16(im.bytes.data() + 14);
      if (im.bitCount == 0) im.bitCount = bits;
    } else if (im.png && im.bytes.size() >= 26 && im.bitCount == 0) {
      // IHDR: bit depth times the channels of the colour type.
      static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
      const int depth = im.bytes[24], type = im.bytes[25];
      if (type <= 6) im.bitCount = depth * kChannels[type];
    }
    images.push_back(std::move(im));
  }
  return images;
}

std::unique_ptr<Bitmap> DecodeIconImage(const IconImage& image) {
  if (image.png) throw LoadError("Icon images in PNG form are not supported");
  return DecodeIconDib(image.bytes);
}

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  std::vector<uint8_t> v;
  auto put16 = [&](uint32_t x) { v.push_back(x & 0xFF); v.push_back((x >> 8) & 0xFF); };
  auto put32 = [&](uint32_t x) { put16(x & 0xFFFF); put16(x >> 16); };
  put16(0);
  put16(1);
  put16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const IconImage& im : images) {
    v.push_back(static_cast<uint8_t>(im.width >= 256 ? 0 : im.width));
    v.push_back(static_cast<uint8_t>(im.height >= 256 ? 0 : im.height));
    v.push_back(static_cast<uint8_t>(im.colorCount));
    v.push_back(0);
    put16(1);
    put16(static_cast<uint32_t>(im.bitCount));
    put32(static_cast<uint32_t>(im.bytes.size()));
    put32(offset);
    offset += static_cast<uint32_t>(im.bytes.size());
  }
  for (const IconImage& im : images) v.insert(v.end(), im.bytes.begin(), im.bytes.end());
  return v;
}

}  // namespace platform
