// System paths on this host: case-insensitive lookup on a case-sensitive file system, UTF-8 names,
// and the program folder.
#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/text.h"

namespace platform::paths {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool HostExists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

// Finds an entry of folder whose name equals name without regard to ASCII case.
bool FindNoCase(const std::string& folder, const std::string& name, std::string& found) {
  DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!d) return false;
  std::string lower = AsciiLower(name);
  bool ok = false;
  while (dirent* e = ::readdir(d)) {
    if (AsciiLower(e->d_name) == lower) {
      found = e->d_name;
      ok = true;
      break;
    }
  }
  ::closedir(d);
  return ok;
}

std::mutex g_programFolderMutex;
std::string g_programFolder;

}  // namespace

std::string ToHost(std::string_view path) {
  // Split on separators outside double-byte characters.
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':') rest.remove_prefix(2);
  bool absolute = !rest.empty() && IsSep(rest[0]);
  std::vector<std::string> parts;
  std::string cur;
  for (size_t i = 0; i < rest.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(rest[i]);
    if (IsLeadByte(c) && i + 1 < rest.size()) {
      cur.push_back(rest[i]);
      cur.push_back(rest[++i]);
    } else if (IsSep(rest[i])) {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(rest[i]);
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  const bool trailing = !parts.empty() && IsSep(rest.back());

  std::string host = absolute ? "/" : "";
  bool resolving = true;
  for (size_t k = 0; k < parts.size(); ++k) {
    std::string name = GbkToUtf8(parts[k]);
    std::string candidate = host + name;
    if (resolving && name != "." && name != ".." && !HostExists(candidate)) {
      std::string found;
      std::string folder = host.empty() ? "." : host;
      if (FindNoCase(folder, name, found)) {
        candidate = host + found;
      } else {
        resolving = false;  // the rest does not exist yet: keep it as spelt
      }
    }
    host = candidate;
    if (k + 1 < parts.size()) host += "/";
  }
  if (trailing && !host.empty() && host.back() != '/') host += "/";
  return host;
}

std::string FromHost(std::string_view hostPath) { return Utf8ToGbk(hostPath); }

std::string ProgramFile() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  return n > 0 ? FromHost(std::string(buf, static_cast<size_t>(n))) : std::string();
}

std::string ProgramFolder() {
  std::lock_guard<std::mutex> lock(g_programFolderMutex);
  if (!g_programFolder.empty()) return g_programFolder;
  if (const char* env = std::getenv("LMCARD_PROGRAM_DIR"); env && *env) {
    g_programFolder = FromHost(env);
  } else {
    const std::string exe = ProgramFile();
    g_programFolder = exe.empty() ? "./" : ExtractFilePath(exe);
  }
  if (g_programFolder.empty() || !IsSep(g_programFolder.back())) g_programFolder += "/";
  return g_programFolder;
}

void SetProgramFolder(std::string folder) {
  std::lock_guard<std::mutex> lock(g_programFolderMutex);
  if (!folder.empty() && !IsSep(folder.back())) folder += "/";
  g_programFolder = std::move(folder);
}

}  // namespace platform::paths
