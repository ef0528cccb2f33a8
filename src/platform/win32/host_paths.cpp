// System paths on Windows are the host's own: GBK names that the file units pass on through code
// page 936, looked up without regard to case by the file system itself.
#include "platform/paths.h"

#include <windows.h>

#include <cstdlib>
#include <mutex>

#include "platform/win32/wide_path.h"

namespace platform::paths {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

std::mutex g_programFolderMutex;
std::string g_programFolder;

}  // namespace

std::string ToHost(std::string_view path) { return std::string(path); }

std::string FromHost(std::string_view hostPath) { return std::string(hostPath); }

std::string ProgramFile() {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  return n > 0 ? win32::GbkFromWide(std::wstring_view(buf, n)) : std::string();
}

std::string ProgramFolder() {
  std::lock_guard<std::mutex> lock(g_programFolderMutex);
  if (!g_programFolder.empty()) return g_programFolder;
  if (const wchar_t* env = _wgetenv(L"LMCARD_PROGRAM_DIR"); env && *env) {
    g_programFolder = win32::GbkFromWide(env);
  } else {
    const std::string exe = ProgramFile();
    g_programFolder = exe.empty() ? ".\\" : ExtractFilePath(exe);
  }
  if (g_programFolder.empty() || !IsSep(g_programFolder.back())) g_programFolder += "\\";
  return g_programFolder;
}

void SetProgramFolder(std::string folder) {
  std::lock_guard<std::mutex> lock(g_programFolderMutex);
  if (!folder.empty() && !IsSep(folder.back())) folder += "\\";
  g_programFolder = std::move(folder);
}

}  // namespace platform::paths
