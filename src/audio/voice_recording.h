#pragma once
// The voice recorder's work, without its window: the 58-byte WAV header written before
// recording (8-bit mono 11025 Hz PCM with a fact chunk), and start, stop and cancel through
// the media control's WaveAudio device. Messages go through platform::ShowMessage.
#include <string>

#include "platform/mci.h"

namespace audio {

constexpr size_t kRecordingHeaderSize = 58;
// The header of an empty recording: RIFF size 50, fmt of 18 bytes, fact and data of 0.
std::string RecordingHeader();

enum class RecordStart {
  Started,     // recording; the stop button takes over
  NoFileName,  // "请输入文件名" was shown; the focus belongs in the name box
  Declined,    // the user kept the existing file
  Failed,      // no input device, or the file could not be made; the buttons go back to idle
};

class VoiceRecorder {
 public:
  VoiceRecorder() = default;
  ~VoiceRecorder();
  VoiceRecorder(const VoiceRecorder&) = delete;
  VoiceRecorder& operator=(const VoiceRecorder&) = delete;

  // "开始录音(&S)". An existing file is replaced only when the user agrees, and only once the
  // new recording has really started; a failed start leaves no file of its own behind.
  RecordStart Start(const std::string& fileName);
  // "停止录音(&S)": stops, saves the recording to its file and closes the device. False when
  // nothing was recording or the file could not be written.
  bool Stop();
  // "取消(&C)": an unfinished recording is closed without saving and its file removed.
  void Cancel();

  bool Recording() const { return device_ != 0; }
  const std::string& FileName() const { return fileName_; }

 private:
  platform::mci::DeviceId device_ = 0;
  std::string fileName_;
};

}  // namespace audio
