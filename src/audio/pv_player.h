#pragma once
// TpvPlayer: the music file class of both programs. It opens a music file through the media
// control (device types in list order) or, when none accepts it, through bass.dll, and answers
// its length. No operation throws: failures come back as false or 0.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mci.h"

namespace audio {

class TpvPlayer {
 public:
  // The device types tried in order: the card maker's list, and the Flash wizard's shorter one.
  static std::vector<std::string> MakerDeviceTypes();       // MPEGVideo, WaveAudio, Sequencer
  static std::vector<std::string> FlashCardDeviceTypes();   // MPEGVideo, WaveAudio

  explicit TpvPlayer(std::vector<std::string> deviceTypes = MakerDeviceTypes());
  virtual ~TpvPlayer();
  TpvPlayer(const TpvPlayer&) = delete;
  TpvPlayer& operator=(const TpvPlayer&) = delete;

  bool Open(const std::string& fileName);
  bool OpenMci(const std::string& fileName, const std::string& deviceType);
  bool OpenBass(const std::string& fileName);
  bool Stop();
  bool Close();
  // Milliseconds for the media control; false (and nothing done) for a file open through BASS.
  bool SetTimeFormatMs();
  // Milliseconds for BASS, the device's time format for the media control; 0 when unknown.
  int GetLength();

  bool Opened() const { return opened_; }
  bool UsesBass() const { return usesBass_; }
  bool BassLoaded() const { return bassLoaded_; }
  const std::string& FileName() const { return fileName_; }
  platform::mci::DeviceId DeviceId() const { return deviceId_; }
  uint32_t Stream() const { return stream_; }
  const std::vector<std::string>& DeviceTypes() const { return deviceTypes_; }

 private:
  bool InitBass();

  std::vector<std::string> wantedTypes_;
  std::vector<std::string> deviceTypes_;  // made on the first Open
  platform::mci::DeviceId deviceId_ = 0;
  std::string fileName_;
  bool opened_ = false;
  bool bassLoaded_ = false;
  uint32_t stream_ = 0;
  bool usesBass_ = false;
};

// The Flash wizard's music length probe: the length in milliseconds (BASS tried first, then
// Open), 0 when the file cannot be opened. The answer is also kept as the last music length.
int GetMusicLength(const std::string& fileName);
// The last answer of GetMusicLength in this process (0 before the first).
int LastMusicLength();

}  // namespace audio
