#include "platform/user_folders.h"

#include <sys/stat.h>
#include <unistd.h>

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

// A folder of ours: a real folder (not a link), owned by this user, closed to others.
bool PrivateFolder(const std::string& host) {
  struct stat st;
  return ::lstat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

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
  return ::access(paths::ToHost(paths::ProgramFolder()).c_str(), W_OK) != 0;
}

void ForceInUse(std::optional<bool> inUse) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_forced = inUse;
}

std::string DataFolder() {
  std::string dir;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x && x[0] == '/') {
    dir = std::string(x);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    dir += "/lmcard";
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    dir = std::string(h) + "/.local/share/lmcard";
  } else {
    dir = "/tmp/lmcard-data-" + std::to_string(::getuid());
  }
  return WithSeparator(paths::FromHost(dir));
}

std::string TempFolder() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_tempFolder.empty()) return g_tempFolder;
  const std::string base = paths::ToHost(files::TempFolder());
  std::string host = base + "lmcard-" + std::to_string(::getuid());
  ::mkdir(host.c_str(), 0700);
  if (!PrivateFolder(host)) {
    // Someone else holds that name (or opened it to others): use a fresh folder instead.
    std::string tmpl = base + "lmcard-" + std::to_string(::getuid()) + "-XXXXXX";
    host = ::mkdtemp(tmpl.data()) ? tmpl : base;
  }
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
    struct stat st;
    if (::stat(other.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) out.push_back(paths::FromHost(other));
    break;
  }
  return out;
}

}  // namespace platform::user_folders
