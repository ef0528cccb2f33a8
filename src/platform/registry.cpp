#include "platform/registry.h"

#include <cstdlib>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace platform::registry {
namespace {

// Values are stored as name=value; the default value is "@", as registry exports write it.
std::string ValueKey(std::string_view name) { return name.empty() ? "@" : std::string(name); }

std::string SectionOf(Hive hive, std::string_view key) {
  std::string k(key);
  while (!k.empty() && (k.back() == '\\' || k.back() == '/')) k.pop_back();
  while (!k.empty() && (k.front() == '\\' || k.front() == '/')) k.erase(k.begin());
  return std::string(hive == Hive::CurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + k;
}

// Values may hold any bytes but line breaks; they are escaped so one value stays one line.
std::string Escape(std::string_view v) {
  std::string out;
  for (char c : v) {
    if (c == '%') out += "%25";
    else if (c == '\r') out += "%0D";
    else if (c == '\n') out += "%0A";
    else out += c;
  }
  // Keep surrounding quotes and blanks, which the profile reader would strip.
  return "\"" + out + "\"";
}

std::string Unescape(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '%' && i + 2 < v.size()) {
      std::string hex(v.substr(i + 1, 2));
      if (hex == "25") { out += '%'; i += 2; continue; }
      if (hex == "0D") { out += '\r'; i += 2; continue; }
      if (hex == "0A") { out += '\n'; i += 2; continue; }
    }
    out += v[i];
  }
  return out;
}

constexpr size_t kNoLimit = 1u << 30;

}  // namespace

std::string StorePath() {
  std::string dir;
  if (const char* e = std::getenv("LMCARD_CONFIG_HOME"); e && *e) {
    dir = e;
  } else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
    dir = std::string(x) + "/lmcard";
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    dir = std::string(h) + "/.config/lmcard";
  } else {
    dir = "/tmp/lmcard-config";
  }
  std::string folder = paths::FromHost(dir);
  files::CreateFolder(folder);
  return paths::Join(folder, "registry.ini");
}

std::optional<std::string> ReadString(Hive hive, std::string_view key, std::string_view name) {
  // A sentinel that no stored (escaped) value can equal tells "absent" from "empty".
  static const std::string kAbsent = std::string("\x01") + "absent" + "\x01";
  std::string v = profile::GetString(StorePath(), SectionOf(hive, key), ValueKey(name), kAbsent, kNoLimit);
  if (v == kAbsent) return std::nullopt;
  return Unescape(v);
}

bool WriteString(Hive hive, std::string_view key, std::string_view name, std::string_view value) {
  return profile::WriteString(StorePath(), SectionOf(hive, key), ValueKey(name), Escape(value));
}

bool DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  return profile::DeleteKey(StorePath(), SectionOf(hive, key), ValueKey(name));
}

bool KeyExists(Hive hive, std::string_view key) {
  std::string want = AsciiLower(SectionOf(hive, key));
  for (const std::string& s : profile::SectionNames(StorePath())) {
    std::string lower = AsciiLower(s);
    if (lower == want || lower.rfind(want + "\\", 0) == 0) return true;
  }
  return false;
}

std::vector<std::string> ValueNames(Hive hive, std::string_view key) {
  std::vector<std::string> names = profile::KeyNames(StorePath(), SectionOf(hive, key));
  for (std::string& n : names) {
    if (n == "@") n.clear();
  }
  return names;
}

}  // namespace platform::registry
