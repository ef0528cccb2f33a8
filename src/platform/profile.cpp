#include "platform/profile.h"

#include <sys/stat.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace platform::profile {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One line of the file: its bytes without the terminator, and the terminator it had.
struct Line {
  std::string text;
  std::string eol;  // "\r\n", "\n" or "" for a last line without one
  std::string key;  // lower-cased key name when the line is a key line
};

struct Section {
  std::string name;       // as spelt in the file
  std::string headerText; // the "[name]" line
  std::string headerEol;
  std::vector<Line> lines;
  std::unordered_map<std::string, size_t> keys;  // lower-cased key -> first line index
};

// A parsed INI file: lines before the first section, then the sections in file order.
struct IniFile {
  std::vector<Line> preamble;
  std::vector<Section> sections;
  std::unordered_map<std::string, size_t> index;  // lower-cased section -> first such section

  Section* Find(std::string_view name) {
    auto it = index.find(AsciiLower(name));
    return it == index.end() ? nullptr : &sections[it->second];
  }
};

void IndexKey(Section& s, size_t lineIndex) {
  Line& line = s.lines[lineIndex];
  std::string_view t = TrimBlanks(line.text);
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return;
  std::string_view key = TrimBlanks(t.substr(0, eq));
  if (key.empty()) return;
  line.key = AsciiLower(key);
  s.keys.emplace(line.key, lineIndex);  // the first of duplicate keys wins
}

IniFile Parse(std::string_view bytes) {
  IniFile ini;
  Section* cur = nullptr;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.text = std::string(bytes.substr(pos));
      pos = bytes.size();
    } else {
      size_t end = nl;
      if (end > pos && bytes[end - 1] == '\r') {
        --end;
        line.eol = "\r\n";
      } else {
        line.eol = "\n";
      }
      line.text = std::string(bytes.substr(pos, end - pos));
      pos = nl + 1;
    }
    std::string_view t = TrimBlanks(line.text);
    if (!t.empty() && t.front() == '[') {
      size_t close = t.find(']');
      std::string_view name = TrimBlanks(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      Section s;
      s.name = std::string(name);
      s.headerText = std::move(line.text);
      s.headerEol = std::move(line.eol);
      ini.sections.push_back(std::move(s));
      ini.index.emplace(AsciiLower(name), ini.sections.size() - 1);
      cur = &ini.sections.back();
      continue;
    }
    if (cur) {
      cur->lines.push_back(std::move(line));
      IndexKey(*cur, cur->lines.size() - 1);
    } else {
      ini.preamble.push_back(std::move(line));
    }
  }
  return ini;
}

std::string Serialize(const IniFile& ini) {
  std::string out;
  for (const Line& l : ini.preamble) out += l.text + l.eol;
  for (const Section& s : ini.sections) {
    out += s.headerText + s.headerEol;
    for (const Line& l : s.lines) out += l.text + l.eol;
  }
  return out;
}

// The value part of a key line: trimmed, with one pair of surrounding quotes removed.
std::string ValueOf(const Line& line) {
  std::string_view t = TrimBlanks(line.text);
  std::string_view v = TrimBlanks(t.substr(t.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

struct Stamp {
  bool exists = false;
  long long mtimeNs = 0;
  long long size = 0;
  unsigned long long inode = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& host) {
  struct stat st;
  Stamp s;
  if (::stat(host.c_str(), &st) != 0) return s;
  s.exists = true;
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  s.size = st.st_size;
  s.inode = st.st_ino;
  return s;
}

struct CachedFile {
  Stamp stamp;
  IniFile ini;
  int batchDepth = 0;  // > 0 while a BatchWrites holds this file's writes
  int holdDepth = 0;   // > 0 while a HoldReads holds this file's parse
  bool dirty = false;
};

std::mutex g_mutex;
std::map<std::string, std::unique_ptr<CachedFile>> g_cache;

// The current parse of a file (re-read when the file changed on disk). Caller holds g_mutex.
CachedFile& Load(const std::string& host) {
  auto& slot = g_cache[host];
  if (!slot) slot = std::make_unique<CachedFile>();
  CachedFile& c = *slot;
  if (c.batchDepth > 0) return c;  // pending writes are newer than the disk
  if (c.holdDepth > 0 && c.stamp.exists) return c;
  Stamp now = StampOf(host);
  if (now == c.stamp && (now.exists || c.ini.sections.empty())) return c;
  c.ini = IniFile{};
  if (now.exists) {
    auto bytes = files::ReadFile(paths::FromHost(host));
    if (bytes) c.ini = Parse(*bytes);
  }
  c.stamp = now;
  return c;
}

bool Store(const std::string& host, CachedFile& c) {
  if (c.batchDepth > 0) {
    c.dirty = true;
    return true;
  }
  bool ok = files::WriteFileAtomic(paths::FromHost(host), Serialize(c.ini));
  if (ok) {
    c.stamp = StampOf(host);
  } else {
    c.stamp = Stamp{};  // force a re-read: the disk still has the old file
    c.stamp.mtimeNs = -1;
  }
  return ok;
}

std::string CutToBuffer(std::string s, size_t bufferSize) {
  if (bufferSize == 0) return "";
  if (s.size() > bufferSize - 1) s.resize(bufferSize - 1);
  return s;
}

// Host spellings of the files a BatchWrites or HoldReads holds (system path -> host, users).
std::map<std::string, std::pair<std::string, int>, std::less<>> g_heldHosts;

std::string HostOf(std::string_view file) {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_heldHosts.find(file);
    if (it != g_heldHosts.end()) return it->second.first;
  }
  return paths::ToHost(file);
}

// Caller holds g_mutex.
void PinHost(const std::string& file, const std::string& host) {
  auto& slot = g_heldHosts[file];
  if (slot.second++ == 0) slot.first = host;
}
void UnpinHost(const std::string& file) {
  auto it = g_heldHosts.find(file);
  if (it != g_heldHosts.end() && --it->second.second <= 0) g_heldHosts.erase(it);
}

// Appends a line after the last non-blank line of a section.
void AppendKey(Section& s, std::string_view key, std::string_view value) {
  size_t at = s.lines.size();
  while (at > 0 && TrimBlanks(s.lines[at - 1].text).empty()) --at;
  Line line;
  line.text = std::string(key) + "=" + std::string(value);
  line.eol = "\r\n";
  if (at > 0 && s.lines[at - 1].eol.empty()) s.lines[at - 1].eol = "\r\n";
  if (at == 0 && s.headerEol.empty()) s.headerEol = "\r\n";
  bool shifts = at < s.lines.size();
  s.lines.insert(s.lines.begin() + static_cast<long>(at), std::move(line));
  if (shifts) {
    s.keys.clear();
    for (size_t i = 0; i < s.lines.size(); ++i) {
      s.lines[i].key.clear();
      IndexKey(s, i);
    }
  } else {
    IndexKey(s, at);
  }
}

void EnsureEndsWithNewline(IniFile& ini) {
  if (!ini.sections.empty()) {
    Section& last = ini.sections.back();
    if (!last.lines.empty()) {
      if (last.lines.back().eol.empty()) last.lines.back().eol = "\r\n";
    } else if (last.headerEol.empty()) {
      last.headerEol = "\r\n";
    }
  } else if (!ini.preamble.empty() && ini.preamble.back().eol.empty()) {
    ini.preamble.back().eol = "\r\n";
  }
}

}  // namespace

std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view def, size_t bufferSize) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  if (Section* s = c.ini.Find(section)) {
    auto it = s->keys.find(AsciiLower(TrimBlanks(key)));
    if (it != s->keys.end()) return CutToBuffer(ValueOf(s->lines[it->second]), bufferSize);
  }
  std::string d(def);
  while (!d.empty() && (d.back() == ' ' || d.back() == '\t')) d.pop_back();
  return CutToBuffer(std::move(d), bufferSize);
}

bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view value) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  std::string_view k = TrimBlanks(key);
  if (Section* found = c.ini.Find(section)) {
    auto it = found->keys.find(AsciiLower(k));
    if (it != found->keys.end()) {
      // Rewrite the line in place, keeping the key as the file spells it.
      Line& line = found->lines[it->second];
      std::string_view t = TrimBlanks(line.text);
      std::string spelt(TrimBlanks(t.substr(0, t.find('='))));
      line.text = spelt + "=" + std::string(value);
    } else {
      AppendKey(*found, k, value);
    }
  } else {
    EnsureEndsWithNewline(c.ini);
    Section s;
    s.name = std::string(section);
    s.headerText = "[" + s.name + "]";
    s.headerEol = "\r\n";
    c.ini.sections.push_back(std::move(s));
    c.ini.index.emplace(AsciiLower(section), c.ini.sections.size() - 1);
    AppendKey(c.ini.sections.back(), k, value);
  }
  return Store(host, c);
}

bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  Section* s = c.ini.Find(section);
  if (!s) return true;
  auto it = s->keys.find(AsciiLower(TrimBlanks(key)));
  if (it == s->keys.end()) return true;
  s->lines.erase(s->lines.begin() + static_cast<long>(it->second));
  s->keys.clear();
  for (size_t i = 0; i < s->lines.size(); ++i) {
    s->lines[i].key.clear();
    IndexKey(*s, i);
  }
  return Store(host, c);
}

bool DeleteSection(std::string_view file, std::string_view section) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  std::string lower = AsciiLower(section);
  bool removed = false;
  for (size_t i = c.ini.sections.size(); i-- > 0;) {
    if (AsciiLower(c.ini.sections[i].name) == lower) {
      c.ini.sections.erase(c.ini.sections.begin() + static_cast<long>(i));
      removed = true;
    }
  }
  if (!removed) return true;
  c.ini.index.clear();
  for (size_t i = 0; i < c.ini.sections.size(); ++i) c.ini.index.emplace(AsciiLower(c.ini.sections[i].name), i);
  return Store(host, c);
}

std::vector<std::string> SectionNames(std::string_view file) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  std::vector<std::string> out;
  for (const Section& s : c.ini.sections) out.push_back(s.name);
  return out;
}

std::vector<std::string> KeyNames(std::string_view file, std::string_view section) {
  std::string host = HostOf(file);
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host);
  std::vector<std::string> out;
  if (Section* s = c.ini.Find(section)) {
    for (const Line& l : s->lines) {
      if (l.key.empty()) continue;
      std::string_view t = TrimBlanks(l.text);
      out.emplace_back(TrimBlanks(t.substr(0, t.find('='))));
    }
  }
  return out;
}

BatchWrites::BatchWrites(std::string_view file) : host_(HostOf(file)), file_(file) {
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host_);
  ++c.batchDepth;
  PinHost(file_, host_);
}

BatchWrites::~BatchWrites() {
  if (!committed_) Commit();
}

bool BatchWrites::Commit() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (committed_) return true;
  committed_ = true;
  UnpinHost(file_);
  auto& slot = g_cache[host_];
  if (!slot) return true;
  CachedFile& c = *slot;
  if (--c.batchDepth > 0) return true;
  if (!c.dirty) return true;
  c.dirty = false;
  return Store(host_, c);
}

HoldReads::HoldReads(std::string_view file) : host_(HostOf(file)), file_(file) {
  std::lock_guard<std::mutex> lock(g_mutex);
  CachedFile& c = Load(host_);
  ++c.holdDepth;
  PinHost(file_, host_);
}

HoldReads::~HoldReads() {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& slot = g_cache[host_];
  if (slot && slot->holdDepth > 0) --slot->holdDepth;
  UnpinHost(file_);
}

InMemoryFile::InMemoryFile(std::string_view file, std::string_view bytes) : host_(HostOf(file)), file_(file) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& slot = g_cache[host_];
  slot = std::make_unique<CachedFile>();
  slot->ini = Parse(bytes);
  slot->stamp.exists = true;
  slot->batchDepth = 1;  // reads skip the disk, writes are held and never stored
  PinHost(file_, host_);
}

InMemoryFile::~InMemoryFile() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_cache.erase(host_);
  UnpinHost(file_);
}

void ClearCache() {
  std::lock_guard<std::mutex> lock(g_mutex);
  for (auto it = g_cache.begin(); it != g_cache.end();) {
    if (it->second->batchDepth == 0 && it->second->holdDepth == 0) it = g_cache.erase(it);
    else ++it;
  }
}

}  // namespace platform::profile
