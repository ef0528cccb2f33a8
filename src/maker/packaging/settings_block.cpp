#include "maker/packaging/settings_block.h"

namespace packaging {

namespace {

void Xor(std::string& s, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i) s[i] = static_cast<char>(s[i] ^ kScrambleKey);
}

size_t InteractiveRange(size_t n) { return n >= 3 ? n - 3 : 0; }

}  // namespace

std::string InteractiveBlock(std::string_view text) {
  std::string block(kInteractiveMarker);
  block += text;
  Xor(block, kInteractiveMarker.size(), InteractiveRange(text.size()));
  return block;
}

std::string OrdinaryBlock(std::string_view text) {
  std::string block(kOrdinaryMarker);
  block += text;
  Xor(block, kOrdinaryMarker.size(), text.size());
  return block;
}

std::string RestoreInteractiveText(std::string_view scrambled) {
  std::string text(scrambled);
  Xor(text, 0, InteractiveRange(text.size()));
  return text;
}

std::string RestoreOrdinaryText(std::string_view scrambled) {
  std::string text(scrambled);
  Xor(text, 0, text.size());
  return text;
}

}  // namespace packaging
