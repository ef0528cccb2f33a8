// libFuzzer target for the card reader: any bytes, as a card file of any form. The reader must
// either hand out media that lie inside the file or raise CardFormatError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "maker/packaging/card_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    packaging::CardReader card(std::string(reinterpret_cast<const char*>(data), size));
    for (const packaging::CardMedia& m : card.Media()) {
      std::string_view bytes = card.MediaBytes(m);
      if (bytes.size() != m.length || m.start + m.length > card.BlockOffset()) __builtin_trap();
    }
    if (card.Kind() == packaging::CardKind::Ordinary && card.Fields().size() != packaging::kOrdinaryFieldCount) {
      __builtin_trap();
    }
    if (card.Icon() && card.Icon()->imageOffset + card.Icon()->imageLength > size) __builtin_trap();
  } catch (const packaging::CardFormatError&) {
  }
  return 0;
}
