#pragma once
// Byte and bit level pieces of the SWF file format: records (RECT, MATRIX, CXFORMWITHALPHA),
// tags with their headers, and the file header with its zlib body.
#include <cstdint>
#include <string>
#include <vector>

namespace flashwriter {

using Bytes = std::vector<uint8_t>;

// Tag codes used by the writer.
enum TagCode : int {
  kTagEnd = 0, kTagShowFrame = 1, kTagDefineShape = 2, kTagSetBackgroundColor = 9,
  kTagDoAction = 12, kTagDefineSound = 14, kTagStartSound = 15, kTagSoundStreamBlock = 19,
  kTagDefineBitsLossless = 20, kTagDefineBitsJpeg2 = 21, kTagPlaceObject2 = 26,
  kTagRemoveObject2 = 28, kTagDefineBitsJpeg3 = 35, kTagDefineBitsLossless2 = 36,
  kTagDefineSprite = 39, kTagSoundStreamHead2 = 45, kTagFileAttributes = 69,
  kTagPlaceObject3 = 70, kTagMetadata = 77,
};

// Little-endian bytes and big-endian bit fields, as the format mixes them.
class SwfBuffer {
 public:
  void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { U8(v & 0xFF); U8((v >> 8) & 0xFF); }
  void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
  void Append(const uint8_t* p, size_t n) { bytes_.insert(bytes_.end(), p, p + n); }
  void Append(const Bytes& b) { Append(b.data(), b.size()); }
  void String(const std::string& s) {  // zero-terminated
    Append(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    U8(0);
  }

  void Bits(uint32_t value, int count);      // unsigned, most significant bit first
  void SignedBits(int32_t value, int count);
  void Align();                               // pads the current byte with zero bits

  size_t Size() const { return bytes_.size(); }
  Bytes& Data() { Align(); return bytes_; }

 private:
  Bytes bytes_;
  int bitPos_ = 0;  // bits used in the last byte, 0 when aligned
};

// Bits needed to hold a signed value (sign bit included).
int SignedBitCount(int32_t v);
int UnsignedBitCount(uint32_t v);

// A rectangle in twips.
void WriteRect(SwfBuffer& b, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax);

// A 2-D transform: x' = sx*x + r1*y + tx, y' = r0*x + sy*y + ty; scale and skew as
// 16.16 fixed point, translation in twips.
struct Matrix {
  double sx = 1, sy = 1, r0 = 0, r1 = 0;
  int32_t tx = 0, ty = 0;
  bool operator==(const Matrix&) const = default;
};
void WriteMatrix(SwfBuffer& b, const Matrix& m);

// Colour transform with alpha: only the alpha multiplier is used (256 = unchanged).
void WriteAlphaTransform(SwfBuffer& b, int alphaMult256);

// A complete tag: header (short or long form) and body.
void WriteTag(Bytes& out, int code, const Bytes& body, bool forceLong = false);
void WriteTag(Bytes& out, int code, SwfBuffer& body, bool forceLong = false);

// The file: signature, version, length, then frame size, rate and count, then the tags.
// compressed = "CWS" with the body after the first eight bytes deflated.
Bytes WriteSwfFile(int version, int widthPx, int heightPx, int frameRate, int frameCount,
                   const Bytes& tags, bool compressed);

// zlib deflate of a block (for bitmap data and the file body).
Bytes Deflate(const uint8_t* data, size_t size, int level);

}  // namespace flashwriter
