#include "flashwriter/swf_tags.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>

namespace flashwriter {

void SwfBuffer::Bits(uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if (bitPos_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> bitPos_);
    bitPos_ = (bitPos_ + 1) & 7;
  }
}

void SwfBuffer::SignedBits(int32_t value, int count) {
  Bits(static_cast<uint32_t>(value) & (count >= 32 ? 0xFFFFFFFFu : ((1u << count) - 1)), count);
}

void SwfBuffer::Align() { bitPos_ = 0; }

int UnsignedBitCount(uint32_t v) {
  int n = 0;
  while (v) { ++n; v >>= 1; }
  return n;
}

int SignedBitCount(int32_t v) {
  if (v < 0) v = ~v;  // -1 needs one bit, -2 two, as 1 needs two
  return UnsignedBitCount(static_cast<uint32_t>(v)) + 1;
}

void WriteRect(SwfBuffer& b, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax) {
  int n = 1;
  for (int32_t v : {xmin, xmax, ymin, ymax}) n = std::max(n, SignedBitCount(v));
  b.Align();
  b.Bits(n, 5);
  for (int32_t v : {xmin, xmax, ymin, ymax}) b.SignedBits(v, n);
  b.Align();
}

namespace {
int32_t Fixed16(double v) {
  double f = std::round(v * 65536.0);
  if (f > 2147483647.0) f = 2147483647.0;
  if (f < -2147483647.0) f = -2147483647.0;
  return static_cast<int32_t>(f);
}
}  // namespace

void WriteMatrix(SwfBuffer& b, const Matrix& m) {
  b.Align();
  int32_t sx = Fixed16(m.sx), sy = Fixed16(m.sy);
  bool hasScale = sx != 65536 || sy != 65536;
  b.Bits(hasScale, 1);
  if (hasScale) {
    int n = std::max(SignedBitCount(sx), SignedBitCount(sy));
    b.Bits(n, 5);
    b.SignedBits(sx, n);
    b.SignedBits(sy, n);
  }
  int32_t r0 = Fixed16(m.r0), r1 = Fixed16(m.r1);
  bool hasRotate = r0 != 0 || r1 != 0;
  b.Bits(hasRotate, 1);
  if (hasRotate) {
    int n = std::max(SignedBitCount(r0), SignedBitCount(r1));
    b.Bits(n, 5);
    b.SignedBits(r0, n);
    b.SignedBits(r1, n);
  }
  int n = (m.tx == 0 && m.ty == 0) ? 0 : std::max(SignedBitCount(m.tx), SignedBitCount(m.ty));
  b.Bits(n, 5);
  if (n) {
    b.SignedBits(m.tx, n);
    b.SignedBits(m.ty, n);
  }
  b.Align();
}

void WriteAlphaTransform(SwfBuffer& b, int alphaMult256) {
  // HasAddTerms, HasMultTerms, Nbits, then R, G, B, A multipliers.
  b.Align();
  b.Bits(0, 1);
  b.Bits(1, 1);
  int n = std::max(SignedBitCount(256), SignedBitCount(alphaMult256));
  b.Bits(n, 4);
  b.SignedBits(256, n);
  b.SignedBits(256, n);
  b.SignedBits(256, n);
  b.SignedBits(alphaMult256, n);
  b.Align();
}

void WriteTag(Bytes& out, int code, const Bytes& body, bool forceLong) {
  auto u16 = [&](uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
  if (body.size() < 63 && !forceLong) {
    u16((static_cast<uint32_t>(code) << 6) | static_cast<uint32_t>(body.size()));
  } else {
    u16((static_cast<uint32_t>(code) << 6) | 0x3F);
    uint32_t n = static_cast<uint32_t>(body.size());
    u16(n & 0xFFFF);
    u16(n >> 16);
  }
  out.insert(out.end(), body.begin(), body.end());
}

void WriteTag(Bytes& out, int code, SwfBuffer& body, bool forceLong) {
  WriteTag(out, code, body.Data(), forceLong);
}

Bytes Deflate(const uint8_t* data, size_t size, int level) {
  uLongf cap = compressBound(static_cast<uLong>(size));
  Bytes out(cap);
  if (compress2(out.data(), &cap, data, static_cast<uLong>(size), level) != Z_OK)
    throw std::runtime_error("zlib compression failed");
  out.resize(cap);
  return out;
}

Bytes WriteSwfFile(int version, int widthPx, int heightPx, int frameRate, int frameCount,
                   const Bytes& tags, bool compressed) {
  SwfBuffer head;
  WriteRect(head, 0, widthPx * 20, 0, heightPx * 20);
  head.U16(static_cast<uint32_t>(frameRate) << 8);  // 8.8 fixed point
  head.U16(static_cast<uint32_t>(frameCount));
  Bytes body = head.Data();
  body.insert(body.end(), tags.begin(), tags.end());

  Bytes file = {static_cast<uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', static_cast<uint8_t>(version)};
  uint32_t total = static_cast<uint32_t>(8 + body.size());
  for (int i = 0; i < 4; ++i) file.push_back((total >> (8 * i)) & 0xFF);
  if (compressed) {
    Bytes z = Deflate(body.data(), body.size(), 1);  // bitmaps inside are compressed already
    file.insert(file.end(), z.begin(), z.end());
  } else {
    file.insert(file.end(), body.begin(), body.end());
  }
  return file;
}

}  // namespace flashwriter
