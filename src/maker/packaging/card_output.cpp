#include "maker/packaging/card_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"

namespace packaging {

namespace {

constexpr size_t kChunk = 1 << 20;

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

CardOutput::CardOutput(std::string target) : target_(std::move(target)) {
  std::string host = platform::paths::ToHost(target_);
  tempHost_ = host + ".~part";
  fd_ = ::open(tempHost_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

CardOutput::~CardOutput() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(tempHost_.c_str());
}

void CardOutput::Fail() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool CardOutput::Append(std::string_view bytes) {
  if (fd_ < 0) return false;
  if (!WriteAll(fd_, bytes.data(), bytes.size())) return Fail(), false;
  size_ += bytes.size();
  return true;
}

bool CardOutput::AppendFilePrefix(std::string_view path, uint64_t count) {
  if (fd_ < 0) return false;
  int in = ::open(platform::paths::ToHost(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(), false;
  std::vector<char> buf(count < kChunk ? static_cast<size_t>(count) + 1 : kChunk);
  uint64_t left = count;
  bool ok = true;
  while (left > 0) {
    ssize_t r = ::read(in, buf.data(), static_cast<size_t>(left < buf.size() ? left : buf.size()));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0 || !WriteAll(fd_, buf.data(), static_cast<size_t>(r))) {
      ok = false;
      break;
    }
    left -= static_cast<uint64_t>(r);
    size_ += static_cast<uint64_t>(r);
  }
  ::close(in);
  if (!ok) Fail();
  return ok;
}

bool CardOutput::AppendFile(std::string_view path, uint64_t* length) {
  if (fd_ < 0) return false;
  int in = ::open(platform::paths::ToHost(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(), false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return Fail(), false;
  }
  std::vector<char> buf(kChunk);
  uint64_t done = 0;
  bool ok = true;
  for (;;) {
    ssize_t r = ::read(in, buf.data(), buf.size());
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      ok = false;
      break;
    }
    if (r == 0) break;
    if (!WriteAll(fd_, buf.data(), static_cast<size_t>(r))) {
      ok = false;
      break;
    }
    done += static_cast<uint64_t>(r);
  }
  ::close(in);
  size_ += done;
  // The settings record the length taken before the copy; a file that changed meanwhile
  // would make them lie.
  if (done != static_cast<uint64_t>(st.st_size)) ok = false;
  if (!ok) return Fail(), false;
  if (length) *length = done;
  return true;
}

bool CardOutput::CutTo(uint64_t length) {
  if (fd_ < 0) return false;
  if (length >= size_) return true;
  if (::ftruncate(fd_, static_cast<off_t>(length)) != 0 ||
      ::lseek(fd_, static_cast<off_t>(length), SEEK_SET) < 0) {
    return Fail(), false;
  }
  size_ = length;
  return true;
}

bool CardOutput::PadTo(uint64_t length) {
  if (fd_ < 0) return false;
  return length <= size_ || Append(std::string(static_cast<size_t>(length - size_), '\0'));
}

bool CardOutput::Commit(bool executable) {
  if (fd_ < 0) return false;
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return false;
  ::chmod(tempHost_.c_str(), executable ? 0755 : 0644);
  // Replaces a file that appeared meanwhile, on every host (a plain rename does not on Windows).
  if (!platform::files::RenameFile(platform::paths::FromHost(tempHost_), target_)) return false;
  committed_ = true;
  return true;
}

}  // namespace packaging
