#pragma once
// Profile strings: the platform's GetPrivateProfileStringA / WritePrivateProfileStringA on GBK
// INI files. Sections and keys match without regard to case, blanks around "=" and around
// values are trimmed, surrounding quotes are removed on read, the caller's buffer size cuts
// long values, a missing file reads as all defaults, new keys are appended to their section
// and new sections to the file. A write never leaves a half-written file.
//
// Parsed files are cached and re-read when the file on disk changes, so a reader that asks
// for thousands of values pays for one parse.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::profile {

// The value as the platform copies it into a buffer of bufferSize bytes (at most
// bufferSize - 1 bytes come back). A missing section, key or file gives def with its
// trailing blanks removed, cut the same way.
std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view def, size_t bufferSize = 1024);

// Writes key=value into section; false when the file cannot be written (the old one stays).
bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view value);

bool DeleteKey(std::string_view file, std::string_view section, std::string_view key);
bool DeleteSection(std::string_view file, std::string_view section);

std::vector<std::string> SectionNames(std::string_view file);
std::vector<std::string> KeyNames(std::string_view file, std::string_view section);

// Holds every write to one file in memory until Commit (or destruction), then writes the
// file once. Readers in this process see the pending values. Used by writers that store
// thousands of values, which would otherwise rewrite the file for each.
class BatchWrites {
 public:
  explicit BatchWrites(std::string_view file);
  ~BatchWrites();
  BatchWrites(const BatchWrites&) = delete;
  BatchWrites& operator=(const BatchWrites&) = delete;
  // Writes the file; false when it cannot be written (the old file stays whole).
  bool Commit();

 private:
  std::string host_;
  std::string file_;
  bool committed_ = false;
};

// Holds one file's parse while it lives: reads of that file skip the check for changes on
// disk and the path lookup. Used by readers that ask for thousands of values of one file;
// changes made to the file by other processes meanwhile are not seen.
class HoldReads {
 public:
  explicit HoldReads(std::string_view file);
  ~HoldReads();
  HoldReads(const HoldReads&) = delete;
  HoldReads& operator=(const HoldReads&) = delete;

 private:
  std::string host_;
  std::string file_;
};

// While it lives, `file` reads as `bytes` and writes to it stay in memory; the disk is not
// looked at. Lets INI text that arrived in memory be read with the same rules as a file.
class InMemoryFile {
 public:
  InMemoryFile(std::string_view file, std::string_view bytes);
  ~InMemoryFile();
  InMemoryFile(const InMemoryFile&) = delete;
  InMemoryFile& operator=(const InMemoryFile&) = delete;

 private:
  std::string host_;
  std::string file_;
};

// Forgets every cached file (tests that edit files behind the cache's back within one
// second of an earlier read use it).
void ClearCache();

}  // namespace platform::profile
