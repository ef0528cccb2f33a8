#pragma once
// The sound of an ordinary card behind a small interface: the music through the media control
// interface, the voice through the simple wave sound call. Tests put a fake in its place.
#include <cstdint>
#include <memory>
#include <string>

namespace ordinary {

class CardMedia {
 public:
  virtual ~CardMedia() = default;
  // Music. Every call ignores errors; Open answers false when the file cannot be played.
  virtual bool OpenMusic(const std::string& file) = 0;
  virtual void PlayMusic() = 0;
  virtual void StopMusic() = 0;
  virtual void PauseMusic() = 0;
  virtual void ResumeMusic() = 0;
  virtual void SeekMusicToStart() = 0;
  virtual int64_t MusicLength() = 0;    // ms
  virtual int64_t MusicPosition() = 0;  // ms
  virtual void CloseMusic() = 0;
  // Voice. PlayVoiceSync returns when the voice has ended or StopVoice stopped it; it is called
  // from a worker thread while the other calls come from the player's thread.
  virtual void PlayVoiceAsync(const std::string& file) = 0;
  virtual void PlayVoiceSync(const std::string& file) = 0;
  virtual void StopVoice() = 0;
  // A host that cannot block on a voice (no threads, as in a web page) answers true: the voice
  // is then started with PlayVoiceAsync, and the player asks VoicePlaying on its timers
  // instead of waiting for PlayVoiceSync on a worker thread.
  virtual bool VoiceInBackground() const { return false; }
  virtual bool VoicePlaying() { return false; }
};

// The platform's media control interface and wave sound call.
std::unique_ptr<CardMedia> MakePlatformCardMedia();

}  // namespace ordinary
