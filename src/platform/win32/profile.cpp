// Profile strings through the system's own GetPrivateProfileStringA / WritePrivateProfileStringA.
// The system caches and writes the file itself, so the batching and read holding of the other
// hosts pass straight through.
#include "platform/profile.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace platform::profile {
namespace {

std::string Z(std::string_view s) { return std::string(s); }

// A list of zero-terminated names as GetPrivateProfileString returns them for a null key.
std::vector<std::string> NameList(const char* section, const std::string& file) {
  std::vector<char> buf(4096);
  for (;;) {
    DWORD n = GetPrivateProfileStringA(section, nullptr, "", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() > (1u << 24)) {
      std::vector<std::string> out;
      for (size_t i = 0; i < n && buf[i];) {
        std::string name(buf.data() + i);
        i += name.size() + 1;
        out.push_back(name);
      }
      return out;
    }
    buf.resize(buf.size() * 4);
  }
}

}  // namespace

std::string GetString(std::string_view file, std::string_view section, std::string_view key, std::string_view def,
                      size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::vector<char> buf(bufferSize + 1, '\0');
  DWORD n = GetPrivateProfileStringA(Z(section).c_str(), Z(key).c_str(), Z(def).c_str(), buf.data(),
                                     static_cast<DWORD>(bufferSize), Z(file).c_str());
  return std::string(buf.data(), n);
}

bool WriteString(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
  return WritePrivateProfileStringA(Z(section).c_str(), Z(key).c_str(), Z(value).c_str(), Z(file).c_str());
}

bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  return WritePrivateProfileStringA(Z(section).c_str(), Z(key).c_str(), nullptr, Z(file).c_str());
}

bool DeleteSection(std::string_view file, std::string_view section) {
  return WritePrivateProfileStringA(Z(section).c_str(), nullptr, nullptr, Z(file).c_str());
}

std::vector<std::string> SectionNames(std::string_view file) { return NameList(nullptr, Z(file)); }

std::vector<std::string> KeyNames(std::string_view file, std::string_view section) {
  return NameList(Z(section).c_str(), Z(file));
}

BatchWrites::BatchWrites(std::string_view file) : file_(file) {}
BatchWrites::~BatchWrites() = default;
bool BatchWrites::Commit() {
  committed_ = true;
  // Flushes the system's cached copy of the file to disk.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());
  return true;
}

HoldReads::HoldReads(std::string_view file) : file_(file) {}
HoldReads::~HoldReads() = default;

void ClearCache() {}

}  // namespace platform::profile
