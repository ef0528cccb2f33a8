// The system registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE string values (GBK through the
// ANSI functions).
#include "platform/registry.h"

#include <windows.h>

namespace platform::registry {
namespace {

HKEY Root(Hive hive) { return hive == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

class Key {
 public:
  Key(Hive hive, std::string_view path, bool write) {
    const std::string p(path);
    LONG r = write ? RegCreateKeyExA(Root(hive), p.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &h_, nullptr)
                   : RegOpenKeyExA(Root(hive), p.c_str(), 0, KEY_READ, &h_);
    if (r != ERROR_SUCCESS) h_ = nullptr;
  }
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

std::optional<std::string> ReadString(Hive hive, std::string_view key, std::string_view name) {
  Key k(hive, key, false);
  if (!k.get()) return std::nullopt;
  const std::string n(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(k.get(), n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string v(size, '\0');
  if (RegQueryValueExA(k.get(), n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(v.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  v.resize(size);
  while (!v.empty() && v.back() == '\0') v.pop_back();
  return v;
}

bool WriteString(Hive hive, std::string_view key, std::string_view name, std::string_view value) {
  Key k(hive, key, true);
  if (!k.get()) return false;
  const std::string v(value);
  return RegSetValueExA(k.get(), std::string(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                        static_cast<DWORD>(v.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  Key k(hive, key, true);
  return k.get() && RegDeleteValueA(k.get(), std::string(name).c_str()) == ERROR_SUCCESS;
}

bool KeyExists(Hive hive, std::string_view key) { return Key(hive, key, false).get() != nullptr; }

std::vector<std::string> ValueNames(Hive hive, std::string_view key) {
  std::vector<std::string> out;
  Key k(hive, key, false);
  if (!k.get()) return out;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD len = sizeof name;
    if (RegEnumValueA(k.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out.emplace_back(name, len);
  }
  return out;
}

std::string StorePath() { return "HKEY_CURRENT_USER"; }

}  // namespace platform::registry
