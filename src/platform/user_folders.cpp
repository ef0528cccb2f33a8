#include "platform/user_folders.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace platform::user_folders {
namespace {

std::mutex g_mutex;
std::optional<bool> g_forced;
std::string g_tempFolder;  // once made, for the life of the process

std::string WithSeparator(std::string folder) {
  if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += "/";
  return folder;
}

#ifdef _WIN32
// The Windows players keep their work files in the user's own temporary folder, which is
// private to the user already, and their data under %APPDATA%.
std::string UserId() { return "user"; }
bool Writable(const std::string& host) { return ::_access(host.c_str(), 2) == 0; }
std::string MakePrivateFolder(const std::string& base) {
  const std::string host = base + "lmcard";
  ::_mkdir(host.c_str());
  return host;
}
std::string HomeDataFolder() {
  const char* a = std::getenv("APPDATA");
  return a && *a ? std::string(a) + "\\lmcard" : std::string();
}
#else
std::string UserId() { return std::to_string(::getuid()); }
bool Writable(const std::string& host) { return ::access(host.c_str(), W_OK) == 0; }

// A folder of ours: a real folder (not a link), owned by this user, closed to others.
bool PrivateFolder(const std::string& host) {
  struct stat st;
  return ::lstat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

std::string MakePrivateFolder(const std::string& base) {
  std::string host = base + "lmcard-" + UserId();
  ::mkdir(host.c_str(), 0700);
  if (!PrivateFolder(host)) {
    // Someone else holds that name (or opened it to others): use a fresh folder instead.
    std::string tmpl = base + "lmcard-" + UserId() + "-XXXXXX";
    host = ::mkdtemp(tmpl.data()) ? tmpl : base;
  }
  return host;
}

std::string HomeDataFolder() {
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x && x[0] == '/') {
    std::string dir(x);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir + "/lmcard";
  }
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/share/lmcard";
  return std::string();
}
#endif

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool InUse() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_forced) return *g_forced;
  }
  if (const char* e = std::getenv("LMCARD_USER_FOLDERS"); e && *e) return std::string_view(e) != "0";
  return !Writable(paths::ToHost(paths::ProgramFolder()));
}

void ForceInUse(std::optional<bool> inUse) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_forced = inUse;
}

std::string DataFolder() {
  std::string dir = HomeDataFolder();
  if (dir.empty()) dir = paths::ToHost(files::TempFolder()) + "lmcard-data-" + UserId();
  return WithSeparator(paths::FromHost(dir));
}

std::string TempFolder() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_tempFolder.empty()) return g_tempFolder;
  const std::string host = MakePrivateFolder(paths::ToHost(files::TempFolder()));
  g_tempFolder = WithSeparator(paths::FromHost(host));
  return g_tempFolder;
}

std::string WorkFolder() { return InUse() ? TempFolder() : paths::ProgramFolder(); }

std::string SavePath(std::string_view relative) {
  const std::string path = (InUse() ? DataFolder() : paths::ProgramFolder()) + std::string(relative);
  const bool isFolder = !relative.empty() && (relative.back() == '\\' || relative.back() == '/');
  const std::string folder = isFolder ? path : paths::ExtractFilePath(path);
  if (!folder.empty() && !files::FolderExists(folder)) files::CreateFolder(folder);
  return path;
}

std::vector<std::string> ReadFolders(std::string_view folder) {
  std::vector<std::string> out;
  if (InUse()) out.push_back(DataFolder() + std::string(folder));
  out.push_back(paths::ProgramFolder() + std::string(folder));
  return out;
}

std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& exts) {
  std::vector<std::string> names;
  for (const std::string& f : ReadFolders(folder)) {
    for (std::string& name : files::ListFiles(f, exts)) {
      const bool known = std::any_of(names.begin(), names.end(),
                                     [&](const std::string& n) { return EqualsNoCase(n, name); });
      if (!known) names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Find(std::string_view folder, std::string_view name) {
  const std::vector<std::string> folders = ReadFolders(folder);
  for (const std::string& f : folders) {
    std::string path = f + std::string(name);
    if (files::FileExists(path)) return path;
  }
  return folders.back() + std::string(name);
}

std::vector<std::string> CounterpartFolders(std::string_view folder) {
  std::vector<std::string> out;
  if (!InUse()) return out;
  const std::string host = WithSeparator(paths::ToHost(folder));
  const std::string roots[2] = {WithSeparator(paths::ToHost(paths::ProgramFolder())),
                                WithSeparator(paths::ToHost(DataFolder()))};
  for (int i = 0; i < 2; ++i) {
    if (!StartsWith(host, roots[i])) continue;
    const std::string other = roots[1 - i] + host.substr(roots[i].size());
    if (files::FolderExists(paths::FromHost(other))) out.push_back(paths::FromHost(other));
    break;
  }
  return out;
}

}  // namespace platform::user_folders
