// GBK conversions through the system's code page 936 tables.
#include "platform/text.h"

#include <windows.h>

namespace platform {
namespace {

constexpr UINT kGbk = 936;

std::wstring Wide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Narrow(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool Ascii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (Ascii(gbk)) return std::string(gbk);
  return Narrow(CP_UTF8, Wide(kGbk, gbk));
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (Ascii(utf8)) return std::string(utf8);
  return Narrow(kGbk, Wide(CP_UTF8, utf8));
}

std::u16string GbkToUtf16(std::string_view gbk) {
  std::wstring w = Wide(kGbk, gbk);
  return std::u16string(w.begin(), w.end());
}

std::string Utf16ToGbk(std::u16string_view utf16) {
  std::wstring w(utf16.begin(), utf16.end());
  return Narrow(kGbk, w);
}

}  // namespace platform
