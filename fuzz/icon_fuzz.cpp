// The icon readers of the EXE card builder's icon patch: any bytes are an icon file (for the
// 32x32 image tail and the 32-bit copy) and an icon image (for the decoder the players use).
#include "fuzz_support.h"
#include "maker/packaging/icon_patch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  if (auto tail = packaging::IconImageTail(bytes); tail && tail->size() > size) __builtin_trap();
  if (auto copy = packaging::MakeIcon32Copy(bytes)) {
    auto again = packaging::IconImageTail(*copy);
    if (!again) __builtin_trap();  // the copy holds a 32x32 image
  }
  if (auto pixels = packaging::DecodeIconDib(bytes)) {
    if (pixels->width <= 0 || pixels->height <= 0 ||
        pixels->argb.size() != static_cast<size_t>(pixels->width) * static_cast<size_t>(pixels->height))
      __builtin_trap();
  }
  return 0;
}
