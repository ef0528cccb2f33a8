#pragma once
// MPEG audio layer III frames of an MP3 file, as the SWF sound tags carry them.
#include <cstdint>
#include <string>
#include <vector>

namespace flashwriter {

struct Mp3Frame {
  size_t offset = 0, size = 0;  // within Mp3Audio::data
  int samples = 0;              // 1152 (MPEG 1) or 576 (MPEG 2 and 2.5)
};

struct Mp3Audio {
  std::vector<uint8_t> data;
  std::vector<Mp3Frame> frames;
  int sampleRate = 0;  // 11025, 22050 or 44100: the rates an SWF sound header can state
  bool stereo = false;
  long long totalSamples = 0;
  long long DurationMs() const { return sampleRate ? totalSamples * 1000 / sampleRate : 0; }
};

// Reads the frames of an MP3 file's bytes: skips ID3 tags and junk between frames and keeps
// the frames of the first frame's sample rate and channel mode. False (with a reason) when no
// layer III frame is found or the sample rate is one an SWF movie cannot state.
bool ParseMp3(std::vector<uint8_t> bytes, Mp3Audio& out, std::string& error);

}  // namespace flashwriter
