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

std::string ReplaceText(std::string text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) return text;
  const bool selfContaining = replacement.find(pattern) != std::string_view::npos;
  // Repeated passes can only go on forever when replacements keep producing new matches;
  // the pass limit is a guard against inputs built to do that, far above any real use.
  for (int pass = 0; pass < 64; ++pass) {
    size_t pos = text.find(pattern);
    if (pos == std::string::npos) break;
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    while (pos != std::string::npos) {
      out.append(text, from, pos - from);
      out.append(replacement);
      from = pos + pattern.size();
      pos = text.find(pattern, from);
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
    if (selfContaining) break;
  }
  return text;
}

std::string EncodeLineBreaks(std::string_view text, std::string_view marker) {
  return ReplaceText(std::string(text), "\r\n", marker);
}

std::string DecodeLineBreaks(std::string_view text, std::string_view marker) {
  return ReplaceText(std::string(text), marker, "\r\n");
}

std::string TrimRight(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= 0x20) --n;
  return std::string(text.substr(0, n));
}

std::string Trim(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
  return TrimRight(text.substr(b));
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c) && i + 1 < out.size()) {
      ++i;  // the trail byte of a double-byte character may look like a letter
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    }
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c) && i + 1 < out.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 32);
    }
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

bool TryStrToInt(std::string_view text, int& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * base + d;
    // Hexadecimal may fill all 32 bits (colours such as $FF00000F); decimal must fit an int.
    if (base == 10 && v > static_cast<long long>(INT_MAX) + (negative ? 1 : 0)) return false;
    if (base == 16 && v > 0xFFFFFFFFLL) return false;
  }
  if (base == 16) v = static_cast<int32_t>(static_cast<uint32_t>(v));
  value = static_cast<int>(negative ? -v : v);
  return true;
}

int StrToInt(std::string_view text) {
  int v = 0;
  if (!TryStrToInt(text, v)) {
    throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
  }
  return v;
}

int StrToIntDef(std::string_view text, int fallback) {
  int v = 0;
  return TryStrToInt(text, v) ? v : fallback;
}

std::string IntToStr(long long value) { return std::to_string(value); }

}  // namespace platform
