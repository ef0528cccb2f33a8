// MIDI music rendered with a General MIDI sound font and encoded as MP3.
#include <fluidsynth.h>
#include <lame/lame.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/media_probe.h"
#include "webmedia/web_media.h"

namespace webmedia {

namespace {

constexpr int kRate = 44100;
constexpr int kKbps = 80;
constexpr int kBlock = 1024;                  // samples per channel rendered at a time
constexpr int kTailSamples = kRate / 2;       // notes still sounding when the song ends
constexpr double kLongestSeconds = 30 * 60.0; // a file that never ends is cut here

// The song of an RMI file (a RIFF "RMID" form holding the standard MIDI file in its "data"
// chunk); other files as they are.
std::vector<std::uint8_t> StandardMidi(const std::vector<std::uint8_t>& file) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "RMID", 4) != 0)
    return file;
  for (size_t at = 12; at + 8 <= file.size();) {
    uint32_t size = file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 | uint32_t(file[at + 7]) << 24;
    if (std::memcmp(file.data() + at, "data", 4) == 0) {
      if (size > file.size() - at - 8) break;
      return {file.begin() + at + 8, file.begin() + at + 8 + size};
    }
    at += 8 + size + (size & 1);
  }
  throw platform::ConvertError("The RMI file holds no MIDI song");
}

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const { Free(p); }
};
void FreePlayer(fluid_player_t* p) { delete_fluid_player(p); }
void FreeSynth(fluid_synth_t* s) { delete_fluid_synth(s); }
void FreeSettings(fluid_settings_t* s) { delete_fluid_settings(s); }
void FreeLame(lame_global_flags* g) { lame_close(g); }

}  // namespace

std::string FindSoundFont() {
  if (const char* env = std::getenv("LMCARD_SOUNDFONT"); env && *env) return env;
  for (const char* f : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                        "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2"})
    if (platform::files::FileExists(f)) return f;
  return {};
}

std::vector<std::uint8_t> MidiToMp3(const std::vector<std::uint8_t>& file, const std::string& soundFont) {
  const std::vector<std::uint8_t> midi = StandardMidi(file);
  if (midi.size() < 14 || std::memcmp(midi.data(), "MThd", 4) != 0)
    throw platform::ConvertError("The file is not MIDI music");
  const std::string font = soundFont.empty() ? FindSoundFont() : soundFont;
  if (font.empty()) throw platform::ConvertError("No General MIDI sound font is installed to play MIDI music");

  fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  std::unique_ptr<fluid_settings_t, Deleter<fluid_settings_t, FreeSettings>> settings(new_fluid_settings());
  fluid_settings_setnum(settings.get(), "synth.sample-rate", kRate);
  fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
  fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
  fluid_settings_setnum(settings.get(), "synth.gain", 0.4);
  std::unique_ptr<fluid_synth_t, Deleter<fluid_synth_t, FreeSynth>> synth(new_fluid_synth(settings.get()));
  if (!synth || fluid_synth_sfload(synth.get(), font.c_str(), 1) == FLUID_FAILED)
    throw platform::ConvertError("The sound font " + font + " cannot be loaded");
  std::unique_ptr<fluid_player_t, Deleter<fluid_player_t, FreePlayer>> player(new_fluid_player(synth.get()));
  if (!player || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK ||
      fluid_player_play(player.get()) != FLUID_OK)
    throw platform::ConvertError("The MIDI music cannot be read");

  std::unique_ptr<lame_global_flags, Deleter<lame_global_flags, FreeLame>> lame(lame_init());
  lame_set_in_samplerate(lame.get(), kRate);
  lame_set_out_samplerate(lame.get(), kRate);
  lame_set_num_channels(lame.get(), 2);
  lame_set_brate(lame.get(), kKbps);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_quality(lame.get(), 5);
  lame_set_bWriteVbrTag(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) throw platform::ConvertError("The MP3 encoder cannot be started");

  std::vector<std::uint8_t> out;
  std::vector<short> pcm(2 * kBlock);
  std::vector<unsigned char> mp3(kBlock * 5 / 4 + 7200);
  auto encode = [&](int samples) {
    int n = lame_encode_buffer_interleaved(lame.get(), pcm.data(), samples, mp3.data(), static_cast<int>(mp3.size()));
    if (n < 0) throw platform::ConvertError("The MP3 encoder failed");
    out.insert(out.end(), mp3.begin(), mp3.begin() + n);
  };
  // The player keeps going a while after the last event; the song ends at its last event.
  const auto info = platform::media::Probe(
      platform::media::BufferSource(std::string_view(reinterpret_cast<const char*>(midi.data()), midi.size())));
  long end = static_cast<long>(kLongestSeconds * kRate);
  if (info.kind == platform::media::Kind::Midi && info.lengthMs > 0)
    end = std::min<long>(end, static_cast<long>(info.lengthMs * kRate / 1000));
  long rendered = 0, tail = 0;
  while (tail < kTailSamples) {
    if (rendered >= end || fluid_player_get_status(player.get()) != FLUID_PLAYER_PLAYING) tail += kBlock;
    if (fluid_synth_write_s16(synth.get(), kBlock, pcm.data(), 0, 2, pcm.data(), 1, 2) != FLUID_OK)
      throw platform::ConvertError("The MIDI music cannot be rendered");
    encode(kBlock);
    rendered += kBlock;
  }
  int n = lame_encode_flush(lame.get(), mp3.data(), static_cast<int>(mp3.size()));
  if (n > 0) out.insert(out.end(), mp3.begin(), mp3.begin() + n);
  return out;
}

}  // namespace webmedia
