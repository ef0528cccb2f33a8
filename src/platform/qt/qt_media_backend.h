#pragma once
// The media backend of the window programs: playback through QMediaPlayer, recording through
// QAudioSource on the default input device. Where the host has no audio output the media
// control keeps time with the silent clock; where it has no input, recording fails cleanly.
#include <memory>

#include "platform/media_backend.h"

namespace platform {

class QtMediaBackend : public media::MediaBackend {
 public:
  std::unique_ptr<media::PlaybackChannel> OpenPlayback(const std::string& path, const media::MediaInfo& info) override;
  std::unique_ptr<media::RecordingChannel> OpenRecording(const media::PcmFormat& format) override;
};

// Installs the Qt backend for the rest of the process (call once a QApplication exists).
void InstallQtMediaBackend();

}  // namespace platform
