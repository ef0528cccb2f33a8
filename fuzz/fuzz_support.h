#pragma once
// What the fuzz targets share: bytes as a string, a private folder made once per process (the
// targets that must write, or that need a file to exist, use it; it goes at exit), and the
// places a target points the program's settings at so that no input reaches the user's own.
// The folder is also the process's program folder, so the files an input names are looked up
// in an almost empty folder, not among the fuzz targets. It lies in memory (/dev/shm) where
// the system has that, so files an input makes cost no disk writes. The working folder stays
// (libFuzzer writes relative corpus and finding paths there).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "platform/paths.h"

namespace fuzz {

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A target that crashed never ran its exit handler: the folders of processes that have ended go
// when the next target starts (where the system lists its processes in /proc).
inline void RemoveFoldersOfEndedRuns(const std::filesystem::path& base) {
  std::error_code ec;
  if (!std::filesystem::exists("/proc/self", ec)) return;
  for (const auto& e : std::filesystem::directory_iterator(base, ec)) {
    const std::string name = e.path().filename().string(), prefix = "card-fuzz-";
    if (name.rfind(prefix, 0) != 0) continue;
    const std::string pid = name.substr(prefix.size());
    if (!pid.empty() && pid.find_first_not_of("0123456789") == std::string::npos &&
        !std::filesystem::exists("/proc/" + pid, ec))
      std::filesystem::remove_all(e.path(), ec);
  }
}

// The process's folder, with a trailing '/'. The registry store goes there too.
inline const std::string& Folder() {
  // Never destroyed: the exit handler below still needs it.
  static const std::string& folder = *new std::string([] {
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    const bool inMemory = std::filesystem::is_directory(shm, ec) && access(shm.c_str(), W_OK) == 0;
    const std::filesystem::path base = inMemory ? shm : std::filesystem::temp_directory_path();
    RemoveFoldersOfEndedRuns(base);
    std::string f = (base / ("card-fuzz-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(f);
    setenv("LMCARD_CONFIG_HOME", f.c_str(), 1);
    platform::paths::SetProgramFolder(f + "/");
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Folder(), ec);
    });
    return f + "/";
  }());
  return folder;
}

// An empty file of that name in the folder (made on first use), for readers that ask whether
// their file exists before reading it through the profile reader, which an InMemoryFile feeds.
inline std::string PlaceholderFile(const char* name) {
  const std::string path = Folder() + name;
  if (!std::filesystem::exists(path)) std::ofstream(path, std::ios::binary).flush();
  return path;
}

}  // namespace fuzz
