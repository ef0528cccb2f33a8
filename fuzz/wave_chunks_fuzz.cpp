// The media control's WAV reader (the WaveAudio device's format chunk and sound): any bytes
// are a WAV file. What it keeps lies inside the bytes.
#include "fuzz_support.h"
#include "platform/mci.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::mci::WaveChunks w;
  if (!platform::mci::ReadWaveChunks(fuzz::AsText(data, size), w)) return 0;
  if (w.format.size() < 16 || w.format.size() + w.sound.size() > size) __builtin_trap();
  return 0;
}
