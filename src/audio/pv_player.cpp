#include "audio/pv_player.h"

#include <cmath>
#include <limits>

#include "audio/bass_library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace audio {
namespace {

namespace mci = platform::mci;

int g_lastMusicLength = 0;

// Where a sibling product of the same maker records its program path; its folder may hold bass.dll.
constexpr const char* kSiblingKey = "\\Software\\Pavo电子相册制作";

}  // namespace

std::vector<std::string> TpvPlayer::MakerDeviceTypes() { return {"MPEGVideo", "WaveAudio", "Sequencer"}; }
std::vector<std::string> TpvPlayer::FlashCardDeviceTypes() { return {"MPEGVideo", "WaveAudio"}; }

TpvPlayer::TpvPlayer(std::vector<std::string> deviceTypes) : wantedTypes_(std::move(deviceTypes)) {}

TpvPlayer::~TpvPlayer() {
  try {
    if (opened_) Close();
    if (usesBass_) {
      if (const BassApi* bass = Bass()) {
        if (stream_) bass->StreamFree(stream_);
        stream_ = 0;
        bass->Free();
      }
    }
  } catch (...) {
  }
}

bool TpvPlayer::Open(const std::string& fileName) {
  try {
    if (deviceTypes_.empty()) deviceTypes_ = wantedTypes_;
    if (opened_) Close();
    for (const std::string& type : deviceTypes_) {
      if (OpenMci(fileName, type)) return true;
    }
    return OpenBass(fileName);
  } catch (...) {
    return false;
  }
}

bool TpvPlayer::OpenMci(const std::string& fileName, const std::string& deviceType) {
  try {
    mci::DeviceId id = 0;
    if (mci::Open(deviceType, fileName, &id) != mci::kOk) return false;
    opened_ = true;
    fileName_ = fileName;
    deviceId_ = id;
    usesBass_ = false;
    return true;
  } catch (...) {
    return false;
  }
}

// Initialises the BASS output, freeing and starting it again when it is already running.
bool TpvPlayer::InitBass() {
  const BassApi* bass = Bass();
  if (bass->Init(-1, 44100, 0, nullptr, nullptr)) return true;
  if (stream_) bass->StreamFree(stream_);
  stream_ = 0;
  bass->Free();
  return bass->Init(-1, 44100, 0, nullptr, nullptr) != 0;
}

bool TpvPlayer::OpenBass(const std::string& fileName) {
  try {
    if (!bassLoaded_) {
      if (!LoadBassLibrary("bass.dll")) {
        std::string sibling =
            platform::registry::ReadString(platform::registry::Hive::CurrentUser, kSiblingKey, "Path").value_or("");
        std::string candidate = platform::paths::ExtractFilePath(sibling) + "bass.dll";
        if (!platform::files::FileExists(candidate) || !LoadBassLibrary(candidate)) return false;
      }
      bassLoaded_ = true;
    }
    const BassApi* bass = Bass();
    if (!bass || !InitBass()) return false;
    std::string host = platform::paths::ToHost(fileName);
    stream_ = bass->StreamCreateFile(0, host.c_str(), 0, 0, 0);
    if (!stream_) {
      bass->Free();
      if (!bass->Init(-1, 44100, 0, nullptr, nullptr)) return false;
      stream_ = bass->StreamCreateFile(0, host.c_str(), 0, 0, 0);
      if (!stream_) return false;
    }
    opened_ = true;
    fileName_ = fileName;
    usesBass_ = true;
    return true;
  } catch (...) {
    return false;
  }
}

bool TpvPlayer::Stop() {
  try {
    if (usesBass_) {
      const BassApi* bass = Bass();
      return bass && bass->ChannelStop(stream_);
    }
    return mci::Stop(deviceId_) == mci::kOk;
  } catch (...) {
    return false;
  }
}

bool TpvPlayer::Close() {
  try {
    if (usesBass_) {
      if (const BassApi* bass = Bass()) {
        if (!bass->StreamFree(stream_)) return false;
        opened_ = false;
        stream_ = 0;
        return true;
      }
    }
    if (mci::Close(deviceId_) != mci::kOk) return false;
    opened_ = false;
    return true;
  } catch (...) {
    return false;
  }
}

bool TpvPlayer::SetTimeFormatMs() {
  try {
    if (usesBass_) return false;
    return mci::SetTimeFormat(deviceId_, mci::TimeFormat::Milliseconds) == mci::kOk;
  } catch (...) {
    return false;
  }
}

int TpvPlayer::GetLength() {
  try {
    if (usesBass_) {
      if (const BassApi* bass = Bass()) {
        BassQword bytes = bass->ChannelGetLength(stream_, kBassPosByte);
        double seconds = bass->ChannelBytes2Seconds(stream_, bytes);
        double ms = std::round(seconds * 1000);
        // BASS answers -1 (as all bits set) on failure: that is no length.
        if (bytes != static_cast<BassQword>(-1) && ms >= 0 && ms <= std::numeric_limits<int>::max())
          return static_cast<int>(ms);
        return 0;
      }
    }
    int64_t length = 0;
    if (mci::Length(deviceId_, &length) != mci::kOk) return 0;
    if (length < 0 || length > std::numeric_limits<int32_t>::max()) return 0;
    return static_cast<int>(length);
  } catch (...) {
    return 0;
  }
}

int GetMusicLength(const std::string& fileName) {
  g_lastMusicLength = 0;
  int length = 0;
  try {
    TpvPlayer player(TpvPlayer::FlashCardDeviceTypes());
    if (!player.OpenBass(fileName)) player.Open(fileName);
    player.SetTimeFormatMs();
    length = player.GetLength();
    player.Close();
  } catch (...) {
    length = 0;
  }
  g_lastMusicLength = length;
  return length;
}

int LastMusicLength() { return g_lastMusicLength; }

}  // namespace audio
