#pragma once
// What makes sound and takes it in for the media control and sound stand-ins. The window
// programs install the Qt Multimedia backend; everywhere else the silent clock backend plays
// nothing but lets the position advance in real time, and has no input device.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/media_probe.h"

namespace platform::media {

// One file being played. Positions are milliseconds from the file's start.
class PlaybackChannel {
 public:
  virtual ~PlaybackChannel() = default;
  // Plays from fromMs; the channel stops by itself at toMs (or at the end of the file).
  virtual void Play(int64_t fromMs, int64_t toMs) = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual int64_t PositionMs() = 0;
  // Played up to toMs (or to the file's end, which the backend may reach a little before
  // the length our readers measured).
  virtual bool Ended() = 0;
};

// Sound taken from an input device, as PCM in the format asked for.
class RecordingChannel {
 public:
  virtual ~RecordingChannel() = default;
  virtual bool Start() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  // The PCM bytes taken since the last call.
  virtual std::string TakeSamples() = 0;
};

struct PcmFormat {
  int sampleRate = 11025;
  int channels = 1;
  int bitsPerSample = 8;  // 8 (unsigned) or 16 (signed)
};

class MediaBackend {
 public:
  virtual ~MediaBackend() = default;
  // A channel for a file the readers accepted; nullptr when the backend cannot play it.
  virtual std::unique_ptr<PlaybackChannel> OpenPlayback(const std::string& path, const MediaInfo& info) = 0;
  // A channel on the default input device; nullptr when there is none or it refuses the format.
  virtual std::unique_ptr<RecordingChannel> OpenRecording(const PcmFormat& format) = 0;
};

// The silent clock backend. now gives milliseconds of a steady clock (tests pass their own).
class SilentBackend : public MediaBackend {
 public:
  explicit SilentBackend(std::function<int64_t()> now = {});
  std::unique_ptr<PlaybackChannel> OpenPlayback(const std::string& path, const MediaInfo& info) override;
  std::unique_ptr<RecordingChannel> OpenRecording(const PcmFormat& format) override;

 private:
  std::function<int64_t()> now_;
};

// The backend of this process (the silent one until another is installed).
MediaBackend& CurrentBackend();
// Installs a backend (not owned; nullptr restores the silent one); returns the previous one.
MediaBackend* SetBackend(MediaBackend* backend);

// Milliseconds of the host's steady clock.
int64_t SteadyMs();

}  // namespace platform::media
