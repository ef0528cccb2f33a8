#include "platform/paths.h"

#include "platform/text.h"

namespace platform::paths {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsAbsolute(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return true;
  return !path.empty() && IsSep(path[0]);
}

size_t LastSeparator(std::string_view path) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (IsSep(path[i])) {
      last = i;
    }
  }
  return last;
}

std::string ExtractFileName(std::string_view path) {
  size_t s = LastSeparator(path);
  if (s == std::string_view::npos) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(2));
    return std::string(path);
  }
  return std::string(path.substr(s + 1));
}

std::string ExtractFilePath(std::string_view path) {
  size_t s = LastSeparator(path);
  if (s == std::string_view::npos) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    return "";
  }
  return std::string(path.substr(0, s + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = std::string::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) ++i;
    else if (name[i] == '.') dot = i;
  }
  return dot == std::string::npos ? "" : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string oldExt = ExtractFileExt(path);
  std::string out(path.substr(0, path.size() - oldExt.size()));
  out += ext;
  return out;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && !IsSep(out.back())) out += "/";
  size_t b = 0;
  while (b < name.size() && IsSep(name[b])) ++b;
  out += name.substr(b);
  return out;
}

}  // namespace platform::paths
