#pragma once
// System paths (GBK) as the wide strings the Windows file functions take: code page 936 whatever
// the machine's own ANSI code page is.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform::win32 {

inline std::wstring WidePath(std::string_view gbkPath) {
  std::u16string w = GbkToUtf16(gbkPath);
  return std::wstring(w.begin(), w.end());
}

inline std::string GbkFromWide(std::wstring_view wide) {
  return Utf16ToGbk(std::u16string(wide.begin(), wide.end()));
}

}  // namespace platform::win32
