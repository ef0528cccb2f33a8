#include "maker/mail/encoded_words.h"

#include "maker/mail/mail_message.h"
#include "platform/text.h"

namespace mail {
namespace {

constexpr size_t kMaxWordLength = 75;

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The length of the character that starts at pos: one byte for ASCII, two for GBK, four for
// the GB18030 sequences (a digit as the second byte); a lead byte cut off at the end counts
// as one.
size_t CharLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x81 || lead == 0xFF || pos + 1 >= text.size()) return 1;
  const auto second = static_cast<unsigned char>(text[pos + 1]);
  if (second >= 0x30 && second <= 0x39) return pos + 4 <= text.size() ? 4 : text.size() - pos;
  return 2;
}

}  // namespace

std::string TextCharset(std::string_view text) {
  for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
    if (CharLength(text, pos) == 4) return "GB18030";
  }
  return "GBK";
}

std::vector<std::string> EncodedWords(std::string_view text) {
  if (IsAscii(text)) return {std::string(text)};
  const std::string charset = TextCharset(text);
  const std::string head = "=?" + charset + "?B?";
  // Each full group of 3 bytes becomes 4 characters.
  const size_t maxBytes = (kMaxWordLength - head.size() - 2) / 4 * 3;
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size()) {
      const size_t next = end + CharLength(text, end);
      if (next - start > maxBytes) break;
      end = next;
    }
    words.push_back(head + platform::Base64(text.substr(start, end - start)) + "?=");
    start = end;
  }
  return words;
}

std::string HeaderText(std::string_view text, std::string_view separator) {
  std::string out;
  for (const std::string& word : EncodedWords(text)) {
    if (!out.empty()) out += separator;
    out += word;
  }
  return out;
}

}  // namespace mail
