#include "support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/paths.h"

namespace testing_support {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "lmcard-test-XXXXXX").string();
  char* made = ::mkdtemp(tmpl.data());
  host_ = made ? std::string(made) + "/" : "/tmp/";
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
