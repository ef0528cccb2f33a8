// The picture header reader that sizes new image elements: any bytes are a picture file's
// start. It answers a size of two positive ints or raises LoadError.
#include "fuzz_support.h"
#include "maker/document/picture_size.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const document::PictureSize s = document::PictureHeaderSize(fuzz::AsText(data, size), "picture.bmp");
    if (s.width <= 0 || s.height <= 0) __builtin_trap();
  } catch (const platform::LoadError&) {
  }
  return 0;
}
