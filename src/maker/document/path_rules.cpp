#include "maker/document/path_rules.h"

#include <cctype>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace document {

namespace {
// "Second character is ':'" on the platform; on this host a path from the root counts as
// complete as well (paths::IsAbsolute).
bool SecondIsColon(std::string_view v) { return platform::paths::IsAbsolute(v); }
}  // namespace

std::string ApplyPathRule(std::string_view value) {
  if (SecondIsColon(value)) return std::string(value);
  return platform::paths::ProgramFolder() + std::string(value);
}

std::string ApplyImagePathRule(std::string_view value) {
  if (SecondIsColon(value) || platform::files::FileExists(value)) return std::string(value);
  return platform::paths::ProgramFolder() + std::string(value);
}

bool LooksLikeFilePath(std::string_view value) {
  std::string_view v = value;
  while (!v.empty() && static_cast<unsigned char>(v.front()) <= ' ') v.remove_prefix(1);
  if (v.empty()) return false;
  // A picture number for "展示框显示序为设置值1的图像".
  bool digits = true;
  for (char c : v) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (digits) return false;
  // An address with a scheme ("http:", "mailto:"): two or more scheme characters before ":".
  if (std::isalpha(static_cast<unsigned char>(v[0]))) {
    size_t i = 1;
    while (i < v.size() && (std::isalnum(static_cast<unsigned char>(v[i])) || v[i] == '+' || v[i] == '-' || v[i] == '.')) ++i;
    if (i >= 2 && i < v.size() && v[i] == ':') return false;
  }
  if (platform::AsciiLower(v.substr(0, 4)) == "www.") return false;
  return true;
}

std::string ApplySettingPathRule(std::string_view value) {
  return LooksLikeFilePath(value) ? ApplyPathRule(value) : std::string(value);
}

}  // namespace document
