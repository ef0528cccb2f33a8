// libFuzzer target for the media readers (WAV, MIDI/RMI, MP3, MPEG system streams, AVI): any
// bytes are read as a media file. A reader answers a kind and a length or refuses; it may not
// read outside the bytes, loop without end or answer a negative length.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/media_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::media::MediaInfo info = platform::media::ProbeBytes(bytes);
  if (info.lengthMs < 0 || info.dataBytes < 0) __builtin_trap();
  if (info.kind == platform::media::Kind::Unknown && info.lengthMs != 0) __builtin_trap();
  return 0;
}
