#pragma once
// A card file under construction. It is written under a temporary name beside the target and
// renamed over the target only by Commit, so a failed build leaves no partial file and an
// existing card is replaced only by a complete one. Every operation reports success as a
// boolean; after a failure the object refuses further work.
#include <cstdint>
#include <string>
#include <string_view>

namespace packaging {

class CardOutput {
 public:
  explicit CardOutput(std::string target);
  ~CardOutput();  // removes the temporary file unless committed
  CardOutput(const CardOutput&) = delete;
  CardOutput& operator=(const CardOutput&) = delete;

  bool Ok() const { return fd_ >= 0; }
  uint64_t Size() const { return size_; }

  bool Append(std::string_view bytes);
  // Appends the whole file; length receives the number of bytes appended. Fails when the file
  // cannot be read, or when its length changed while it was read.
  bool AppendFile(std::string_view path, uint64_t* length = nullptr);
  // Appends the first count bytes of a file; fails when it is shorter.
  bool AppendFilePrefix(std::string_view path, uint64_t count);
  // Cuts the output to length bytes (a cut never lengthens it).
  bool CutTo(uint64_t length);
  // Appends zero bytes until the output is length bytes long (nothing when it is longer).
  bool PadTo(uint64_t length);
  // Renames the finished file over the target; an EXE card keeps the execute permission that
  // its player needs.
  bool Commit(bool executable);

 private:
  void Fail();
  std::string target_;
  std::string tempHost_;
  int fd_ = -1;
  uint64_t size_ = 0;
  bool committed_ = false;
};

}  // namespace packaging
