#include "maker/packaging/card_reader.h"

#include <algorithm>
#include <map>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/settings_block.h"
#include "platform/files.h"
#include "platform/text.h"

namespace packaging {

namespace {

const std::string kNotACard = "该文件不是贺卡文件：文件末尾没有贺卡的设置数据。";

[[noreturn]] void Damaged(const std::string& what) {
  throw CardFormatError("贺卡文件已损坏：" + what);
}

// A decimal number as the builders write it; nothing for anything else.
std::optional<uint64_t> ParseCount(std::string_view s) {
  s = std::string_view(s).substr(0, s.find_last_not_of(' ') + 1);
  if (s.empty() || s.size() > 19) return {};
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return {};
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  return v;
}

std::string Scrambled(std::string_view plain) {
  std::string s(plain);
  for (char& c : s) c = static_cast<char>(c ^ kScrambleKey);
  return s;
}

// Trims blanks and removes one pair of surrounding quotes, as the profile reader does.
std::string ProfileValue(std::string_view v) {
  std::string t = platform::Trim(v);
  if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front()) {
    t = t.substr(1, t.size() - 2);
  }
  return t;
}

bool IsExecutableImage(std::string_view b) {
  return b.substr(0, 4) == std::string_view("\x7f" "ELF", 4) || b.substr(0, 2) == "MZ";
}

}  // namespace

const char* FamilyName(CardFamily f) {
  switch (f) {
    case CardFamily::Ordinary: return "ordinary";
    case CardFamily::Plain: return "plain";
    case CardFamily::Flash: return "flash";
  }
  return "";
}

std::string_view FamilyStub(CardFamily f) {
  switch (f) {
    case CardFamily::Ordinary: return kOrdinaryFamily.stub;
    case CardFamily::Plain: return kPlainFamily.stub;
    case CardFamily::Flash: return kFlashFamily.stub;
  }
  return {};
}

CardReader CardReader::Open(std::string_view path) {
  std::optional<std::string> bytes = platform::files::ReadFile(path);
  if (!bytes) throw platform::FileError("Cannot open file \"" + std::string(path) + "\"");
  return CardReader(std::move(*bytes));
}

CardReader::CardReader(std::string bytes) : bytes_(std::move(bytes)) {
  if (!TryInteractive() && !TryOrdinary()) throw CardFormatError(kNotACard);
  form_ = IsExecutableImage(bytes_) ? CardForm::Exe : CardForm::PlainFile;
  if (form_ == CardForm::Exe) icon_ = FindIconPatch(bytes_, payloadStart_);
}

// Interactive: six 0xFD, then "[Application]..." scrambled; the text ends with a line break,
// whose bytes are among the three plain ones.
bool CardReader::TryInteractive() {
  std::string_view b = bytes_;
  if (b.size() < kInteractiveMarker.size() + 16 || b.substr(b.size() - 2) != "\r\n") return false;
  constexpr std::string_view kHead = "[Application]";
  for (size_t p = b.rfind(kInteractiveMarker); p != std::string_view::npos;
       p = p == 0 ? std::string_view::npos : b.rfind(kInteractiveMarker, p - 1)) {
    std::string_view rest = b.substr(p + kInteractiveMarker.size());
    // The head lies wholly in the scrambled range when three more bytes follow it.
    if (rest.size() < kHead.size() + 3 ||
        !platform::EqualsNoCase(Scrambled(rest.substr(0, kHead.size())), kHead)) {
      continue;
    }
    std::string text = RestoreInteractiveText(rest);
    kind_ = CardKind::Interactive;
    blockOffset_ = p;
    text_ = std::move(text);
    ParseIni();
    InteractiveMedia();
    return true;
  }
  return false;
}

void CardReader::ParseIni() {
  size_t at = 0;
  while (at < text_.size()) {
    size_t eol = text_.find('\n', at);
    std::string_view line = std::string_view(text_).substr(at, eol == std::string::npos ? std::string::npos : eol - at);
    at = eol == std::string::npos ? text_.size() : eol + 1;
    std::string t = platform::Trim(line);
    if (t.empty() || t[0] == ';') continue;
    if (t[0] == '[') {
      size_t close = t.find(']');
      sections_.push_back({t.substr(1, close == std::string::npos ? std::string::npos : close - 1), {}});
      continue;
    }
    size_t eq = t.find('=');
    if (eq == std::string::npos || sections_.empty()) continue;
    sections_.back().keys.emplace_back(platform::Trim(std::string_view(t).substr(0, eq)),
                                       ProfileValue(std::string_view(t).substr(eq + 1)));
  }
}

std::string CardReader::Value(std::string_view section, std::string_view key, std::string_view def) const {
  for (const CardSection& s : sections_) {
    if (!platform::EqualsNoCase(s.name, section)) continue;
    for (const auto& [k, v] : s.keys) {
      if (platform::EqualsNoCase(k, key)) return v;
    }
  }
  return std::string(def);
}

void CardReader::InteractiveMedia() {
  // Which keys name which media id, for the media table.
  std::map<int, std::vector<std::string>> users;
  static const char* kIdKeys[] = {"BkPic", "YxPic", "Music", "PicUrl", "FilenameId", "PicID"};
  for (const CardSection& s : sections_) {
    const bool picsBox = platform::EqualsNoCase(s.name, "PicsBox");
    for (const auto& [k, v] : s.keys) {
      bool isId = picsBox && k.size() > 3 && platform::EqualsNoCase(k.substr(0, 3), "Pic") &&
                  k.find_first_not_of("0123456789", 3) == std::string::npos;
      for (const char* idKey : kIdKeys) isId = isId || platform::EqualsNoCase(k, idKey);
      int id;
      if (isId && platform::TryStrToInt(v, id) && id >= 0) users[id].push_back("[" + s.name + "] " + k);
    }
  }
  bool crd3 = false;
  for (const CardSection& s : sections_) {
    int id;
    std::string pic, picUrl;
    for (const auto& [k, v] : s.keys) {
      if (platform::EqualsNoCase(k, "Pic")) pic = v;
      if (platform::EqualsNoCase(k, "PicUrl")) picUrl = v;
    }
    if (platform::TryStrToInt(picUrl, id) && id >= 0 && platform::AsciiLower(pic).ends_with(".crd3")) crd3 = true;
  }
  int flashCount = 0;
  platform::TryStrToInt(Value("Application", "FlashCount", "0"), flashCount);
  family_ = flashCount > 0 || crd3 ? CardFamily::Flash : CardFamily::Plain;

  payloadStart_ = blockOffset_;
  for (int k = 0;; ++k) {
    const std::string section = "File" + std::to_string(k);
    const bool present = std::any_of(sections_.begin(), sections_.end(),
                                     [&](const CardSection& s) { return platform::EqualsNoCase(s.name, section); });
    if (!present) break;
    auto start = ParseCount(Value(section, "Start"));
    auto length = ParseCount(Value(section, "Len"));
    if (!start || !length) Damaged("[" + section + "] 的 Start 或 Len 不是数字。");
    if (*start > blockOffset_ || *length > blockOffset_ - *start) {
      Damaged("[" + section + "] 的 Start 和 Len 超出了贺卡数据的范围。");
    }
    CardMedia m;
    m.id = k;
    m.start = *start;
    m.length = *length;
    m.usedBy = users[k];
    if (k == 0) payloadStart_ = m.start;
    media_.push_back(std::move(m));
  }
}

// Ordinary: three 0xFF, then 48 fields each followed by the separator, all scrambled.
bool CardReader::TryOrdinary() {
  std::string_view b = bytes_;
  const std::string sep = Scrambled(ordinary::kPackedSeparator);
  if (b.size() < kOrdinaryMarker.size() + sep.size() * kOrdinaryFieldCount || !b.ends_with(sep)) return false;
  // The separator after field 1 is the 48th from the end; the marker stands right before
  // field 1, an extension without separators.
  size_t s = b.size() - sep.size();
  for (int n = 1; n < kOrdinaryFieldCount; ++n) {
    if (s == 0) return false;
    s = b.rfind(sep, s - 1);
    if (s == std::string_view::npos) return false;
  }
  if (s < kOrdinaryMarker.size()) return false;
  size_t p = b.rfind(kOrdinaryMarker, s - kOrdinaryMarker.size());
  if (p == std::string_view::npos) return false;
  std::string text = RestoreOrdinaryText(b.substr(p + kOrdinaryMarker.size()));
  std::vector<std::string> fields;
  size_t at = 0;
  while (at < text.size()) {
    size_t e = text.find(ordinary::kPackedSeparator, at);
    if (e == std::string::npos) return false;
    fields.push_back(text.substr(at, e - at));
    at = e + ordinary::kPackedSeparator.size();
  }
  if (fields.size() != kOrdinaryFieldCount) return false;
  kind_ = CardKind::Ordinary;
  family_ = CardFamily::Ordinary;
  blockOffset_ = p;
  text_ = std::move(text);
  fields_ = std::move(fields);
  OrdinaryMedia();
  return true;
}

void CardReader::OrdinaryMedia() {
  auto offset = ParseCount(Field(48));
  if (!offset) Damaged("贺卡数据的起始位置（第 48 项）不是数字。");
  payloadStart_ = *offset;
  uint64_t at = *offset;
  struct Piece {
    const char* name;
    int usedField, extField, lengthField;
  };
  const Piece pieces[] = {{"贺卡图片", 0, 1, 2}, {"背景音乐", 7, 8, 9}, {"录音", 11, 0, 12}, {"贺词框图片", 15, 16, 17}};
  int id = 0;
  for (const Piece& piece : pieces) {
    if (piece.usedField && Field(piece.usedField) != "1") {
      ++id;
      continue;
    }
    auto length = ParseCount(Field(piece.lengthField));
    if (!length) Damaged(std::string(piece.name) + "的长度（第 " + std::to_string(piece.lengthField) + " 项）不是数字。");
    if (at > blockOffset_ || *length > blockOffset_ - at) Damaged(std::string(piece.name) + "超出了贺卡数据的范围。");
    CardMedia m;
    m.id = id++;
    m.start = at;
    m.length = *length;
    m.ext = piece.extField ? Field(piece.extField) : ".wav";
    m.usedBy.push_back(piece.name);
    media_.push_back(std::move(m));
    at += *length;
  }
  if (at != blockOffset_) Damaged("各媒体文件的长度与贺卡数据的位置不符。");
}

std::string_view CardReader::MediaBytes(const CardMedia& m) const {
  // Every entry was checked against the block offset when it was read; check again for
  // entries made elsewhere.
  if (m.start > bytes_.size() || m.length > bytes_.size() - m.start) Damaged("媒体文件超出了文件范围。");
  return std::string_view(bytes_).substr(m.start, m.length);
}

}  // namespace packaging
