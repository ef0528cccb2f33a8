// Files through the Windows file functions, with names passed through code page 936.
#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/paths.h"
#include "platform/text.h"
#include "platform/win32/wide_path.h"

#undef CopyFile
#undef DeleteFile

namespace platform::files {
namespace {

using win32::WidePath;

DWORD Attributes(std::string_view path) { return GetFileAttributesW(WidePath(path).c_str()); }

std::wstring TempSibling(const std::wstring& target) {
  static std::atomic<unsigned> counter{0};
  return target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
}

bool WriteWhole(const std::wstring& file, std::string_view bytes) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24)), written = 0;
    ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  if (!CloseHandle(h)) ok = false;
  if (!ok) DeleteFileW(file.c_str());
  return ok;
}

}  // namespace

bool Exists(std::string_view path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool FileExists(std::string_view path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(std::string_view path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> FileSize(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool IsReadOnly(std::string_view path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool SetReadOnly(std::string_view path, bool readOnly) {
  DWORD a = Attributes(path);
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
  return SetFileAttributesW(WidePath(path).c_str(), a ? a : FILE_ATTRIBUTE_NORMAL);
}

bool DeleteFile(std::string_view path) {
  DWORD a = Attributes(path);
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (a & FILE_ATTRIBUTE_READONLY) SetReadOnly(path, false);
  return DeleteFileW(WidePath(path).c_str());
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  if (!FileExists(from)) return false;
  const std::wstring dst = WidePath(to);
  const std::wstring tmp = TempSibling(dst);
  if (!CopyFileW(WidePath(from).c_str(), tmp.c_str(), TRUE)) return false;
  // The target appears only when whole; with failIfExists a file that is there stays.
  DWORD flags = failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING;
  if (MoveFileExW(tmp.c_str(), dst.c_str(), flags)) return true;
  DeleteFileW(tmp.c_str());
  return false;
}

bool RenameFile(std::string_view from, std::string_view to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool CreateFolder(std::string_view path) {
  std::string p(path);
  for (size_t i = 1; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '\\' || p[i] == '/') {
      std::string part = p.substr(0, i);
      if (part.size() == 2 && part[1] == ':') continue;
      CreateDirectoryW(WidePath(part).c_str(), nullptr);
    }
  }
  return FolderExists(path);
}

bool RemoveFolder(std::string_view path) {
  std::string folder(path);
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (!FolderExists(folder)) return false;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(WidePath(folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = win32::GbkFromWide(fd.cFileName);
      if (name == "." || name == "..") continue;
      const std::string child = folder + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(child);
      } else {
        DeleteFile(child);
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryW(WidePath(folder).c_str()) != 0;
}

std::string TempFolder() {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  std::string t = n > 0 ? win32::GbkFromWide(std::wstring_view(buf, n)) : ".\\";
  if (t.back() != '\\' && t.back() != '/') t += "\\";
  return t;
}

std::optional<std::string> ReadFile(std::string_view path) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h, &size)) out.reserve(static_cast<size_t>(size.QuadPart));
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
      CloseHandle(h);
      return std::nullopt;
    }
    if (got == 0) break;
    out.append(buf, got);
  }
  CloseHandle(h);
  return out;
}

bool WriteFileAtomic(std::string_view path, std::string_view bytes) {
  const std::wstring dst = WidePath(path);
  const std::wstring tmp = TempSibling(dst);
  if (!WriteWhole(tmp, bytes)) return false;
  DWORD old = GetFileAttributesW(dst.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) SetFileAttributesW(tmp.c_str(), old);
  if (MoveFileExW(tmp.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileW(tmp.c_str());
  return false;
}

std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& exts) {
  std::vector<std::string> names;
  std::string pattern(folder);
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += "\\";
  pattern += "*";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(WidePath(pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string name = win32::GbkFromWide(fd.cFileName);
    if (!exts.empty()) {
      std::string ext = AsciiLower(paths::ExtractFileExt(name));
      bool match = std::any_of(exts.begin(), exts.end(), [&](const std::string& x) { return AsciiLower(x) == ext; });
      if (!match) continue;
    }
    names.push_back(name);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform::files
