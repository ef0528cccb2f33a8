// GBK conversions through iconv.
#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/error.h"

namespace platform {
namespace {

// Converts with iconv; an input sequence that cannot be converted becomes one '?'.
std::string Convert(const char* to, const char* from, const char* in, size_t inLen, size_t unitSize) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in, inLen);
  std::string out;
  out.resize(inLen * 2 + 16);
  char* src = const_cast<char*>(in);
  size_t srcLeft = inLen;
  size_t used = 0;
  while (srcLeft > 0) {
    char* dst = out.data() + used;
    size_t dstLeft = out.size() - used;
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    used = out.size() - dstLeft;
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL: skip one input unit and emit a question mark in the target code.
    size_t skip = unitSize;
    if (unitSize == 1 && srcLeft >= 2 && IsLeadByte(static_cast<unsigned char>(*src)) &&
        std::string_view(from) == "GBK") {
      skip = 2;
    }
    if (std::string_view(from) == "UTF-8") {
      // Skip the whole character: its lead byte tells the length.
      unsigned char c = static_cast<unsigned char>(*src);
      skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      for (size_t k = 1; k < skip && k < srcLeft; ++k) {
        if ((static_cast<unsigned char>(src[k]) & 0xC0) != 0x80) { skip = k; break; }
      }
    }
    if (skip > srcLeft) skip = srcLeft;
    src += skip;
    srcLeft -= skip;
    const char* q = (std::string_view(to).substr(0, 6) == "UTF-16") ? "?\0" : "?";
    size_t qLen = (std::string_view(to).substr(0, 6) == "UTF-16") ? 2 : 1;
    if (out.size() - used < qLen) out.resize(out.size() * 2 + qLen);
    out.replace(used, qLen, q, qLen);
    used += qLen;
  }
  iconv_close(cd);
  out.resize(used);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  bool ascii = true;
  for (unsigned char c : gbk) ascii = ascii && c < 0x80;
  if (ascii) return std::string(gbk);
  return Convert("UTF-8", "GBK", gbk.data(), gbk.size(), 1);
}

std::string Utf8ToGbk(std::string_view utf8) {
  bool ascii = true;
  for (unsigned char c : utf8) ascii = ascii && c < 0x80;
  if (ascii) return std::string(utf8);
  return Convert("GBK", "UTF-8", utf8.data(), utf8.size(), 1);
}

std::u16string GbkToUtf16(std::string_view gbk) {
  std::string bytes = Convert("UTF-16LE", "GBK", gbk.data(), gbk.size(), 1);
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
  std::string bytes(utf16.size() * 2, '\0');
  for (size_t i = 0; i < utf16.size(); ++i) {
    bytes[2 * i] = static_cast<char>(utf16[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
  }
  return Convert("GBK", "UTF-16LE", bytes.data(), bytes.size(), 2);
}

}  // namespace platform
