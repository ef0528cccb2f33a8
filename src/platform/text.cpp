#include "platform/text.h"

#include <climits>

#include "platform/error.h"

namespace platform {

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

std::string Base64(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace platform
