#pragma once
// Media fixtures made in code (PCM WAV, MIDI) or by the Debian encoders at test time.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "platform/media_backend.h"

namespace audio_fixtures {

inline void Le32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void Le16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
inline void Be32(std::string& s, uint32_t v) {
  for (int i = 3; i >= 0; --i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline uint32_t ReadLe32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s.at(at + i));
  return v;
}

// A PCM WAV of 'frames' sample frames holding a quiet tone.
inline std::string PcmWave(int rate, int channels, int bits, int64_t frames) {
  int block = channels * bits / 8;
  std::string data;
  data.reserve(static_cast<size_t>(frames * block));
  for (int64_t i = 0; i < frames; ++i) {
    double v = 0.3 * std::sin(i * 2 * M_PI * 440.0 / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) data.push_back(static_cast<char>(128 + static_cast<int>(v * 127)));
      else Le16(data, static_cast<uint16_t>(static_cast<int16_t>(v * 32767)));
    }
  }
  std::string out = "RIFF";
  Le32(out, static_cast<uint32_t>(36 + data.size()));
  out += "WAVEfmt ";
  Le32(out, 16);
  Le16(out, 1);
  Le16(out, static_cast<uint16_t>(channels));
  Le32(out, static_cast<uint32_t>(rate));
  Le32(out, static_cast<uint32_t>(rate * block));
  Le16(out, static_cast<uint16_t>(block));
  Le16(out, static_cast<uint16_t>(bits));
  out += "data";
  Le32(out, static_cast<uint32_t>(data.size()));
  return out + data;
}

// A variable-length MIDI number.
inline std::string VarLen(uint32_t v) {
  std::string out(1, static_cast<char>(v & 0x7F));
  while (v >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
  return out;
}
inline std::string Tempo(uint32_t delta, uint32_t usPerQuarter) {
  return VarLen(delta) + std::string("\xFF\x51\x03", 3) + static_cast<char>(usPerQuarter >> 16) +
         static_cast<char>((usPerQuarter >> 8) & 0xFF) + static_cast<char>(usPerQuarter & 0xFF);
}
inline std::string EndOfTrack(uint32_t delta) { return VarLen(delta) + std::string("\xFF\x2F\x00", 3); }
inline std::string Track(const std::string& events) {
  std::string out = "MTrk";
  Be32(out, static_cast<uint32_t>(events.size()));
  return out + events;
}
inline std::string Smf(int format, uint16_t division, const std::vector<std::string>& tracks) {
  std::string out = "MThd";
  Be32(out, 6);
  out.push_back(0);
  out.push_back(static_cast<char>(format));
  out.push_back(0);
  out.push_back(static_cast<char>(tracks.size()));
  out.push_back(static_cast<char>(division >> 8));
  out.push_back(static_cast<char>(division & 0xFF));
  for (const auto& t : tracks) out += Track(t);
  return out;
}
inline std::string Rmi(const std::string& smf) {
  std::string out = "RIFF";
  Le32(out, static_cast<uint32_t>(4 + 8 + smf.size() + (smf.size() & 1)));
  out += "RMIDdata";
  Le32(out, static_cast<uint32_t>(smf.size()));
  out += smf;
  if (smf.size() & 1) out.push_back('\0');
  return out;
}

// True when a host tool is on the search path.
inline bool HaveTool(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}
// Runs a shell command quietly; true on success.
inline bool RunTool(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A clock the test moves by hand.
struct ManualClock {
  int64_t now = 1000;
  std::function<int64_t()> Fn() {
    return [this] { return now; };
  }
};

// Installs a media backend for one test.
class BackendScope {
 public:
  explicit BackendScope(platform::media::MediaBackend* b) : previous_(platform::media::SetBackend(b)) {}
  ~BackendScope() { platform::media::SetBackend(previous_); }

 private:
  platform::media::MediaBackend* previous_;
};

// A backend with the silent clock for playback and an input device that delivers the bytes
// the test hands it.
class FakeInputBackend : public platform::media::SilentBackend {
 public:
  struct Input : platform::media::RecordingChannel {
    FakeInputBackend* owner;
    explicit Input(FakeInputBackend* o) : owner(o) {}
    bool Start() override { return owner->startWorks; }
    void Pause() override {}
    void Stop() override { ++owner->stops; }
    std::string TakeSamples() override { return std::exchange(owner->pending, std::string()); }
  };
  using SilentBackend::SilentBackend;
  std::unique_ptr<platform::media::RecordingChannel> OpenRecording(const platform::media::PcmFormat& f) override {
    format = f;
    return std::make_unique<Input>(this);
  }
  platform::media::PcmFormat format;
  std::string pending;
  bool startWorks = true;
  int stops = 0;
};

}  // namespace audio_fixtures
