#pragma once
// Files by system path (GBK, either separator, case-insensitive lookup; see paths.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

bool Exists(std::string_view path);        // a file or a folder
bool FileExists(std::string_view path);    // a regular file
bool FolderExists(std::string_view path);
std::optional<uint64_t> FileSize(std::string_view path);

// Deletes a file, first clearing a read-only attribute as the platform's delete needs.
bool DeleteFile(std::string_view path);
// Copies a file; with failIfExists an existing target is left alone and the copy fails.
// The target appears only once completely written.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
bool RenameFile(std::string_view from, std::string_view to);  // replaces an existing target
bool CreateFolder(std::string_view path);                      // with its parents
bool RemoveFolder(std::string_view path);                      // with everything in it
bool IsReadOnly(std::string_view path);
bool SetReadOnly(std::string_view path, bool readOnly);

// The temporary folder with its trailing separator (TMPDIR, else /tmp/), as a system path.
std::string TempFolder();

// Whole-file reads (of plain files only: a device or a pipe gives nothing) and writes. WriteFileAtomic
// writes beside the target and renames over it, so a failure leaves the old file whole (false then).
std::optional<std::string> ReadFile(std::string_view path);
bool WriteFileAtomic(std::string_view path, std::string_view bytes);

// Names (not paths) of the files in a folder whose extension matches one of exts
// (".lmcard2"; without regard to case; empty = every file), sorted by name.
std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& exts = {});

}  // namespace platform::files
