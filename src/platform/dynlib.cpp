#include "platform/dynlib.h"

#include <dlfcn.h>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform::dynlib {
namespace {
thread_local std::string t_lastError;

Handle Open(const std::string& host) {
  dlerror();
  void* h = ::dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) {
    const char* e = dlerror();
    t_lastError = e ? e : "cannot load library";
  }
  return h;
}
}  // namespace

Handle Load(std::string_view pathOrName) {
  if (pathOrName.empty()) {
    t_lastError = "empty library name";
    return nullptr;
  }
  if (paths::LastSeparator(pathOrName) != std::string_view::npos) {
    return Open(paths::ToHost(pathOrName));
  }
  std::string local = paths::ProgramFolder() + std::string(pathOrName);
  if (files::FileExists(local)) return Open(paths::ToHost(local));
  return Open(paths::ToHost(pathOrName));
}

void* Resolve(Handle lib, const char* name) {
  if (!lib || !name) return nullptr;
  dlerror();
  void* p = ::dlsym(lib, name);
  if (!p) {
    const char* e = dlerror();
    t_lastError = e ? e : "symbol not found";
  }
  return p;
}

void Unload(Handle lib) {
  if (lib) ::dlclose(lib);
}

std::string LastError() { return t_lastError; }

}  // namespace platform::dynlib
