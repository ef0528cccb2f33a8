#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform::files {
namespace {

bool Stat(std::string_view path, struct stat& st) { return ::stat(paths::ToHost(path).c_str(), &st) == 0; }

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// A unique sibling name for a file being written.
std::string TempSibling(const std::string& host) {
  static std::atomic<unsigned> counter{0};
  return host + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

bool Exists(std::string_view path) {
  struct stat st;
  return Stat(path, st);
}

bool FileExists(std::string_view path) {
  struct stat st;
  return Stat(path, st) && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view path) {
  struct stat st;
  return Stat(path, st) && S_ISDIR(st.st_mode);
}

std::optional<uint64_t> FileSize(std::string_view path) {
  struct stat st;
  if (!Stat(path, st) || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool IsReadOnly(std::string_view path) {
  struct stat st;
  return Stat(path, st) && (st.st_mode & 0222) == 0;
}

bool SetReadOnly(std::string_view path, bool readOnly) {
  std::string host = paths::ToHost(path);
  struct stat st;
  if (::stat(host.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~0222) : (mode | 0200);
  return ::chmod(host.c_str(), mode) == 0;
}

bool DeleteFile(std::string_view path) {
  std::string host = paths::ToHost(path);
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & 0200) == 0) ::chmod(host.c_str(), (st.st_mode & 07777) | 0200);
  return ::unlink(host.c_str()) == 0;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  std::string src = paths::ToHost(from);
  std::string dst = paths::ToHost(to);
  if (failIfExists && ::access(dst.c_str(), F_OK) == 0) return false;
  int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  std::string tmp = TempSibling(dst);
  int out = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  std::vector<char> buf(1 << 20);
  for (;;) {
    ssize_t r = ::read(in, buf.data(), buf.size());
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) { ok = false; break; }
    if (r == 0) break;
    if (!WriteAll(out, buf.data(), static_cast<size_t>(r))) { ok = false; break; }
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  if (ok && failIfExists) {
    // link() refuses an existing target, so a file that appeared meanwhile is not overwritten.
    ok = ::link(tmp.c_str(), dst.c_str()) == 0;
    ::unlink(tmp.c_str());
    return ok;
  }
  if (ok) ok = ::rename(tmp.c_str(), dst.c_str()) == 0;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool RenameFile(std::string_view from, std::string_view to) {
  return ::rename(paths::ToHost(from).c_str(), paths::ToHost(to).c_str()) == 0;
}

bool CreateFolder(std::string_view path) {
  std::string host = paths::ToHost(path);
  for (size_t i = 1; i <= host.size(); ++i) {
    if (i == host.size() || host[i] == '/') {
      std::string part = host.substr(0, i);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFolder(std::string_view path) {
  std::error_code ec;
  std::filesystem::remove_all(paths::ToHost(path), ec);
  return !ec && !Exists(path);
}

std::string TempFolder() {
  const char* env = std::getenv("TMPDIR");
  std::string t = (env && *env) ? env : "/tmp";
  if (t.back() != '/') t += "/";
  return paths::FromHost(t);
}

std::optional<std::string> ReadFile(std::string_view path) {
  int fd = ::open(paths::ToHost(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string out;
  struct stat st;
  // Only plain files: a device or a pipe that a stranger's file names could be read without end.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t r = ::read(fd, buf, sizeof(buf));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (r == 0) break;
    out.append(buf, static_cast<size_t>(r));
  }
  ::close(fd);
  return out;
}

bool WriteFileAtomic(std::string_view path, std::string_view bytes) {
  std::string dst = paths::ToHost(path);
  std::string tmp = TempSibling(dst);
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  if (::close(fd) != 0) ok = false;
  if (ok) {
    struct stat st;
    // Keep the old file's permission bits.
    if (::stat(dst.c_str(), &st) == 0) ::chmod(tmp.c_str(), st.st_mode & 07777);
    ok = ::rename(tmp.c_str(), dst.c_str()) == 0;
  }
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& exts) {
  std::vector<std::string> names;
  std::string host = paths::ToHost(folder);
  DIR* d = ::opendir(host.empty() ? "." : host.c_str());
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    std::string full = host + (host.empty() || host.back() == '/' ? "" : "/") + e->d_name;
    struct stat st;
    if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    std::string name = paths::FromHost(e->d_name);
    if (!exts.empty()) {
      std::string ext = AsciiLower(paths::ExtractFileExt(name));
      bool match = std::any_of(exts.begin(), exts.end(), [&](const std::string& x) { return AsciiLower(x) == ext; });
      if (!match) continue;
    }
    names.push_back(name);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform::files
