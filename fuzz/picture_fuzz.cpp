// libFuzzer target for the picture readers (BMP, JPEG, GIF, ICO, WMF, EMF): any bytes are
// probed and then decoded by each reader. A reader returns a picture or raises LoadError; it
// may not read outside the bytes, crash or return a picture larger than the limits.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/error.h"
#include "platform/picture.h"

namespace {

void Check(const platform::Bitmap& b) {
  if (b.Width() > platform::kMaxPictureSide || b.Height() > platform::kMaxPictureSide) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    platform::ProbePicture(bytes);
  } catch (const platform::LoadError&) {
  }
  for (const char* ext : {".bmp", ".jpg", ".gif", ".ico", ".wmf"}) {
    try {
      Check(*platform::DecodePicture(bytes, ext));
    } catch (const platform::LoadError&) {
    }
  }
  try {
    for (const platform::GifFrame& f : platform::DecodeGif(bytes).frames) Check(*f.image);
  } catch (const platform::LoadError&) {
  }
  try {
    for (const platform::IconImage& im : platform::ParseIco(bytes))
      if (!im.png) Check(*platform::DecodeIconImage(im));
  } catch (const platform::LoadError&) {
  }
  return 0;
}
