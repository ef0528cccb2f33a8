#pragma once
// Frame packets as the builder hands pictures over: frame width, height and count (signed
// 32-bit little-endian), a 16-bit display time per frame in milliseconds, then a BMP file
// holding the frames as one sheet, row by row. Everything is checked: a packet that does not
// hold what it claims is refused, never read past its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace flashwriter {

// Pixels as red, green, blue, alpha bytes, colours premultiplied by alpha (the form the
// SWF bitmaps carry). A picture without alpha has alpha 255 everywhere.
struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  bool opaque = true;       // every alpha is 255
  bool transparent = false; // every alpha is 0
};

struct FramePacket {
  int frameWidth = 0, frameHeight = 0;
  std::vector<Image> frames;
  std::vector<int> delaysMs;  // one per frame
};

// The largest frame side and pixel count accepted.
constexpr int kMaxFrameSide = 16384;
constexpr long long kMaxSheetPixels = 64LL * 1024 * 1024;

// False (with a reason) when the packet is malformed: too short, a frame size or count out
// of range, a BMP that is not 8, 24 or 32-bit uncompressed, or a sheet smaller than its frames.
bool ParseFramePacket(const uint8_t* data, size_t size, FramePacket& out, std::string& error);

// The pixels of a BMP file (8, 24 or 32 bits, uncompressed or 32-bit bit fields). 32-bit
// colours are clamped to their alpha so that they are valid premultiplied values.
bool ParseBmp(const uint8_t* data, size_t size, Image& out, std::string& error);

// A picture scaled down (box average) so that neither side exceeds maxSide and the pixel
// count stays within maxPixels; the same picture when it already fits.
Image FitImage(const Image& image, int maxSide, long long maxPixels);

}  // namespace flashwriter
