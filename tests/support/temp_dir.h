#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder as a system path (GBK), with its trailing separator.
  const std::string& Path() const { return path_; }
  // A file or folder inside it, as a system path.
  std::string File(std::string_view name) const { return path_ + std::string(name); }
  // The folder as a host path (UTF-8).
  const std::string& HostPath() const { return host_; }

 private:
  std::string host_;
  std::string path_;
};

// Writes bytes to a system path (whole file); false on failure.
bool WriteBytes(const std::string& path, std::string_view bytes);
// The bytes of a file, or "" when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace testing_support
