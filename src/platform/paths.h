#pragma once
// The system's paths are Windows-style GBK text. On the host, "\" and "/" both separate,
// names are UTF-8, and a name that does not exist in its exact spelling is found without
// regard to case, component by component, as on Windows.
#include <string>
#include <string_view>

namespace platform::paths {

// Absolute when the second character is ":" or the path starts with "/" or "\".
bool IsAbsolute(std::string_view path);

// The host (UTF-8, "/"-separated) spelling of a system path, with each component that does
// not exist in its exact spelling matched without regard to case where a match exists.
// A drive prefix such as "C:" is dropped.
std::string ToHost(std::string_view path);

// The system (GBK) spelling of a host path; separators stay "/".
std::string FromHost(std::string_view hostPath);

// The running program's folder with its trailing separator, as a system path.
// LMCARD_PROGRAM_DIR overrides it (tests and tools run from elsewhere).
std::string ProgramFolder();
// The running program's own file, as a system path ("" when the host cannot tell).
std::string ProgramFile();
void SetProgramFolder(std::string folder);  // for programs and tests that know better

// Path parts on system paths; both separators count, GBK trail bytes are never separators.
std::string ExtractFileName(std::string_view path);
std::string ExtractFilePath(std::string_view path);  // with its trailing separator
std::string ExtractFileExt(std::string_view path);   // with its dot, "" when none
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// Joins a folder and a name with one separator between them.
std::string Join(std::string_view folder, std::string_view name);
// The position of the last separator, or npos; lead-byte aware.
size_t LastSeparator(std::string_view path);

}  // namespace platform::paths
