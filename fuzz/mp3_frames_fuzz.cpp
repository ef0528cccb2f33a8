// The SWF writer's MP3 frame parser: any bytes are an MP3 file. Frames lie inside the data,
// in order, and the sound's length adds up from them.
#include "flashwriter/mp3_frames.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  flashwriter::Mp3Audio audio;
  std::string error;
  if (!flashwriter::ParseMp3(std::vector<uint8_t>(data, data + size), audio, error)) return 0;
  long long samples = 0;
  size_t end = 0;
  for (const flashwriter::Mp3Frame& f : audio.frames) {
    if (f.offset < end || f.size > audio.data.size() || f.offset > audio.data.size() - f.size) __builtin_trap();
    end = f.offset + f.size;
    samples += f.samples;
  }
  if (samples != audio.totalSamples || audio.DurationMs() < 0) __builtin_trap();
  return 0;
}
