#include "maker/ordinary/card_media.h"

#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/sound.h"

namespace ordinary {

namespace {

namespace mci = platform::mci;
namespace sound = platform::sound;

class PlatformCardMedia : public CardMedia {
 public:
  ~PlatformCardMedia() override { CloseMusic(); }

  bool OpenMusic(const std::string& file) override {
    CloseMusic();
    mci::DeviceId id = 0;
    if (mci::Open("", platform::paths::ToHost(file), &id) != mci::kOk) return false;
    mci::SetTimeFormat(id, mci::TimeFormat::Milliseconds);
    device_ = id;
    return true;
  }
  void PlayMusic() override {
    if (device_) mci::Play(device_);
  }
  void StopMusic() override {
    if (device_) mci::Stop(device_);
  }
  void PauseMusic() override {
    if (device_) mci::Pause(device_);
  }
  void ResumeMusic() override {
    if (device_) mci::Resume(device_);
  }
  void SeekMusicToStart() override {
    if (device_) mci::SeekToStart(device_);
  }
  int64_t MusicLength() override {
    int64_t v = 0;
    if (device_) mci::Length(device_, &v);
    return v;
  }
  int64_t MusicPosition() override {
    int64_t v = 0;
    if (device_) mci::Position(device_, &v);
    return v;
  }
  void CloseMusic() override {
    if (device_) mci::Close(device_);
    device_ = 0;
  }
  void PlayVoiceAsync(const std::string& file) override {
    sound::sndPlaySoundA(platform::paths::ToHost(file).c_str(), sound::SND_ASYNC | sound::SND_NODEFAULT);
  }
  void PlayVoiceSync(const std::string& file) override {
    sound::sndPlaySoundA(platform::paths::ToHost(file).c_str(), sound::SND_SYNC | sound::SND_NODEFAULT);
  }
  void StopVoice() override { sound::sndPlaySoundA(nullptr, 0); }

 private:
  mci::DeviceId device_ = 0;
};

}  // namespace

std::unique_ptr<CardMedia> MakePlatformCardMedia() { return std::make_unique<PlatformCardMedia>(); }

}  // namespace ordinary
