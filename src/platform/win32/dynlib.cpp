// Run-time loading through LoadLibrary, with the system's error boxes switched off.
#include "platform/dynlib.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace platform::dynlib {
namespace {
thread_local std::string t_lastError;

Handle Open(const std::string& path) {
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::u16string wide = GbkToUtf16(path);
  HMODULE h = LoadLibraryW(reinterpret_cast<const wchar_t*>(wide.c_str()));
  SetErrorMode(old);
  if (!h) t_lastError = "cannot load library " + path + " (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<Handle>(h);
}
}  // namespace

Handle Load(std::string_view pathOrName) {
  if (pathOrName.empty()) {
    t_lastError = "empty library name";
    return nullptr;
  }
  if (paths::LastSeparator(pathOrName) != std::string_view::npos) return Open(std::string(pathOrName));
  std::string local = paths::ProgramFolder() + std::string(pathOrName);
  if (files::FileExists(local)) return Open(local);
  return Open(std::string(pathOrName));
}

void* Resolve(Handle lib, const char* name) {
  if (!lib || !name) return nullptr;
  FARPROC p = GetProcAddress(reinterpret_cast<HMODULE>(lib), name);
  if (!p) t_lastError = std::string("symbol not found: ") + name;
  return reinterpret_cast<void*>(p);
}

void Unload(Handle lib) {
  if (lib) FreeLibrary(reinterpret_cast<HMODULE>(lib));
}

std::string LastError() { return t_lastError; }

}  // namespace platform::dynlib
