#include "support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/paths.h"

namespace testing_support {

TempDir::TempDir() {
  // A new folder of a random name (as mkdtemp makes one, also where there is no mkdtemp).
  std::random_device random;
  for (int attempt = 0; attempt < 100 && host_.empty(); ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "lmcard-test-%08x", static_cast<unsigned>(random()));
    const std::filesystem::path p = std::filesystem::temp_directory_path() / name;
    std::error_code ec;
    if (std::filesystem::create_directory(p, ec)) host_ = p.string() + "/";
  }
  if (host_.empty()) host_ = "/tmp/";
  path_ = platform::paths::FromHost(host_);
}

TempDir::~TempDir() {
  std::error_code ec;
  if (host_ != "/tmp/") std::filesystem::remove_all(host_, ec);
}

bool WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(platform::paths::ToHost(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(platform::paths::ToHost(path), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace testing_support
