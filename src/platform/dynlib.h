#pragma once
// Run-time loading of shared libraries (the platform's LoadLibrary/GetProcAddress).
// Never shows an error box; a failure is a null handle and a text in LastError().
#include <string>
#include <string_view>

namespace platform::dynlib {

using Handle = void*;

// Loads a library by system path, or by bare name: first from the program folder, then
// along the host's library search path.
Handle Load(std::string_view pathOrName);
void* Resolve(Handle lib, const char* name);
void Unload(Handle lib);
// The last failure's text from this thread.
std::string LastError();

}  // namespace platform::dynlib
