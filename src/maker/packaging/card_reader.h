#pragma once
// Reads any card file the builders write (an EXE card of any family, ".crd1", ".crd2",
// ".crd3"): finds the settings block at its end, restores the settings text, parses it (INI
// sections for interactive cards, the 48 positional fields for ordinary cards) and hands out
// each packed media file by offset and length. Every offset and length is checked against the
// file before it is handed out; a file that is not a card or whose settings lie raises
// CardFormatError with a message for the user.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/packaging/side_files.h"
#include "platform/error.h"

namespace packaging {

class CardFormatError : public platform::Error {
 public:
  using Error::Error;
};

enum class CardKind { Ordinary, Interactive };
// The player family: exe1.exe, exe2.exe (interactive without Flash) or exe3.exe.
enum class CardFamily { Ordinary, Plain, Flash };
enum class CardForm { Exe, PlainFile };

const char* FamilyName(CardFamily f);  // "ordinary", "plain", "flash"
std::string_view FamilyStub(CardFamily f);

struct CardMedia {
  int id = 0;              // media id (interactive) or piece number 0..3 (ordinary)
  uint64_t start = 0;      // offset of the first byte in the card file
  uint64_t length = 0;
  std::string ext;         // ordinary cards: the extension from the fields; interactive: ""
  std::vector<std::string> usedBy;  // "[Section] Key" entries that name this id, or the piece
};

// One INI section of an interactive card's settings, keys in file order.
struct CardSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};

// Ordinary card fields (1-based numbers as the field table counts them).
inline constexpr int kOrdinaryFieldCount = 48;

class CardReader {
 public:
  // Reads a card from its bytes (kept by the reader).
  explicit CardReader(std::string bytes);
  // Reads a card file; platform::FileError when it cannot be read.
  static CardReader Open(std::string_view path);

  CardKind Kind() const { return kind_; }
  CardFamily Family() const { return family_; }
  CardForm Form() const { return form_; }
  uint64_t BlockOffset() const { return blockOffset_; }   // first marker byte
  uint64_t PayloadStart() const { return payloadStart_; } // first media byte (or the block)
  const std::string& Text() const { return text_; }       // the restored settings text
  const std::string& Bytes() const { return bytes_; }

  // Interactive cards: sections in file order, and one value as the profile reader gives it
  // (sections and keys without regard to case; def when absent).
  const std::vector<CardSection>& Sections() const { return sections_; }
  std::string Value(std::string_view section, std::string_view key, std::string_view def = "") const;

  // Ordinary cards: field n (1..48).
  const std::vector<std::string>& Fields() const { return fields_; }
  const std::string& Field(int n) const { return fields_.at(static_cast<size_t>(n - 1)); }

  const std::vector<CardMedia>& Media() const { return media_; }
  std::string_view MediaBytes(const CardMedia& m) const;

  // The icon patch of an EXE card, when it carries one.
  const std::optional<IconPatch>& Icon() const { return icon_; }

 private:
  bool TryInteractive();
  bool TryOrdinary();
  void ParseIni();
  void InteractiveMedia();
  void OrdinaryMedia();

  std::string bytes_;
  CardKind kind_ = CardKind::Interactive;
  CardFamily family_ = CardFamily::Plain;
  CardForm form_ = CardForm::PlainFile;
  uint64_t blockOffset_ = 0;
  uint64_t payloadStart_ = 0;
  std::string text_;
  std::vector<CardSection> sections_;
  std::vector<std::string> fields_;
  std::vector<CardMedia> media_;
  std::optional<IconPatch> icon_;
};

}  // namespace packaging
