#include "platform/mci.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

#include "platform/files.h"
#include "platform/media_backend.h"

namespace platform::mci {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

struct Device {
  std::string type;
  std::string path;
  media::MediaInfo info;
  TimeFormat format = TimeFormat::Milliseconds;
  Mode mode = Mode::Stopped;
  int64_t positionUs = 0;  // while not playing
  int64_t playToUs = 0;
  std::unique_ptr<media::PlaybackChannel> channel;
  // WaveAudio: the file's chunks and sound, loaded when recording starts.
  bool soundLoaded = false;
  std::string fmtChunk;  // body of the format chunk as the file has it
  bool hasFact = false;
  std::string sound;
  std::unique_ptr<media::RecordingChannel> recorder;
  size_t recordAt = 0;  // byte offset in sound where recorded bytes go
};

std::mutex g_mutex;
std::map<DeviceId, Device> g_devices;
DeviceId g_nextId = 1;

Device* Find(DeviceId id) {
  auto it = g_devices.find(id);
  return it == g_devices.end() ? nullptr : &it->second;
}

bool IsWave(const Device& d) { return SameName(d.type, "WaveAudio"); }

int64_t BytesPerSecond(const Device& d) {
  if (d.info.kind == media::Kind::Wave && d.info.formatTag == 1 && d.info.blockAlign > 0) return int64_t{d.info.blockAlign} * d.info.sampleRate;
  return 0;
}

// Device time is kept in microseconds, so that sample and byte positions survive the
// round trip through the device's time format.
int64_t Div(double v) { return static_cast<int64_t>(std::llround(v)); }

int64_t LengthUs(const Device& d) {
  int64_t bps = BytesPerSecond(d);
  if (bps > 0) return Div(d.info.dataBytes * 1e6 / bps);
  return d.info.lengthMs * 1000;
}

int64_t ToFormat(const Device& d, int64_t us) {
  switch (d.format) {
    case TimeFormat::Bytes: {
      int64_t bytes = Div(us * BytesPerSecond(d) / 1e6);
      return d.info.blockAlign > 0 ? bytes - bytes % d.info.blockAlign : bytes;
    }
    case TimeFormat::Samples: return Div(us * d.info.sampleRate / 1e6);
    case TimeFormat::Frames: return Div(us * d.info.framesPerSecond / 1e6);
    default: return Div(us / 1000.0);
  }
}
int64_t FromFormat(const Device& d, int64_t v) {
  switch (d.format) {
    case TimeFormat::Bytes: {
      int64_t bps = BytesPerSecond(d);
      return bps > 0 ? Div(v * 1e6 / bps) : 0;
    }
    case TimeFormat::Samples: return d.info.sampleRate > 0 ? Div(v * 1e6 / d.info.sampleRate) : 0;
    case TimeFormat::Frames: return d.info.framesPerSecond > 0 ? Div(v * 1e6 / d.info.framesPerSecond) : 0;
    default: return v * 1000;
  }
}

int64_t SoundUs(const Device& d, int64_t bytes) {
  int64_t bps = BytesPerSecond(d);
  return bps > 0 ? Div(bytes * 1e6 / bps) : 0;
}

// Takes what the input device has gathered into the sound.
void PullRecording(Device& d) {
  if (!d.recorder) return;
  std::string got = d.recorder->TakeSamples();
  if (got.empty()) return;
  d.recordAt = std::min(d.recordAt, d.sound.size());
  d.sound.insert(d.recordAt, got);
  d.recordAt += got.size();
  d.info.dataBytes = static_cast<int64_t>(d.sound.size());
  d.info.lengthMs = SoundUs(d, d.info.dataBytes) / 1000;
  d.positionUs = SoundUs(d, static_cast<int64_t>(d.recordAt));
}

void StopRecording(Device& d) {
  if (!d.recorder) return;
  d.recorder->Stop();
  PullRecording(d);
  d.recorder.reset();
}

// Current position, noticing a play that has run to its end.
int64_t CurrentUs(Device& d) {
  if (d.mode == Mode::Recording) {
    PullRecording(d);
    return d.positionUs;
  }
  if (d.mode == Mode::Playing && d.channel) {
    if (d.channel->Ended()) {
      d.mode = Mode::Stopped;
      d.positionUs = d.playToUs;
      return d.positionUs;
    }
    // The channel counts whole milliseconds; within the first one keep the exact start.
    int64_t us = d.channel->PositionMs() * 1000;
    return std::clamp(us, std::min(d.positionUs, d.playToUs), d.playToUs);
  }
  return d.positionUs;
}

void Halt(Device& d, Mode next) {
  if (d.recorder) {
    StopRecording(d);
  } else if (d.mode == Mode::Playing || d.mode == Mode::Paused) {
    d.positionUs = CurrentUs(d);
    if (d.channel) d.channel->Pause();
  }
  d.mode = next;
}

// Reads the WAV file's format chunk and sound into the device.
bool LoadSound(Device& d) {
  if (d.soundLoaded) return true;
  auto bytes = files::ReadFile(d.path);
  if (!bytes) return false;
  WaveChunks w;
  if (!ReadWaveChunks(*bytes, w)) return false;
  d.fmtChunk = std::move(w.format);
  d.hasFact = w.hasFact;
  d.sound = std::move(w.sound);
  d.soundLoaded = true;
  return true;
}

void PutLe32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string WaveFile(const Device& d) {
  std::string body = "WAVE";
  body += "fmt ";
  PutLe32(body, static_cast<uint32_t>(d.fmtChunk.size()));
  body += d.fmtChunk;
  if (d.fmtChunk.size() & 1) body.push_back('\0');
  if (d.hasFact) {
    body += "fact";
    PutLe32(body, 4);
    PutLe32(body, d.info.blockAlign > 0 ? static_cast<uint32_t>(d.sound.size() / d.info.blockAlign) : 0);
  }
  body += "data";
  PutLe32(body, static_cast<uint32_t>(d.sound.size()));
  body += d.sound;
  if (d.sound.size() & 1) body.push_back('\0');
  std::string out = "RIFF";
  PutLe32(out, static_cast<uint32_t>(body.size()));
  return out + body;
}

}  // namespace

bool ReadWaveChunks(std::string_view b, WaveChunks& out) {
  auto le32 = [&](size_t at) -> uint32_t {
    return at + 4 <= b.size() ? (static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8) |
                                 (static_cast<unsigned char>(b[at + 2]) << 16) |
                                 (static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24))
                              : 0;
  };
  WaveChunks w;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    std::string_view id = b.substr(at, 4);
    uint64_t size = le32(at + 4);
    size_t body = at + 8;
    size_t avail = static_cast<size_t>(std::min<uint64_t>(size, b.size() - body));
    if (id == "fmt ") w.format = b.substr(body, avail);
    else if (id == "fact") w.hasFact = true;
    else if (id == "data") w.sound = b.substr(body, avail);
    at = body + static_cast<size_t>(size) + (size & 1);
  }
  if (w.format.size() < 16) return false;
  out = std::move(w);
  return true;
}

bool Accepts(std::string_view type, const media::MediaInfo& info) {
  using media::Kind;
  if (SameName(type, "MPEGVideo")) return info.kind != Kind::Unknown;
  if (SameName(type, "WaveAudio")) return info.kind == Kind::Wave && info.formatTag == 1;
  if (SameName(type, "Sequencer")) return info.kind == Kind::Midi;
  return false;
}

std::string AutoDeviceType(const media::MediaInfo& info) {
  if (Accepts("WaveAudio", info)) return "WaveAudio";
  if (Accepts("Sequencer", info)) return "Sequencer";
  if (Accepts("MPEGVideo", info)) return "MPEGVideo";
  return "";
}

Result Open(std::string_view deviceType, std::string_view element, DeviceId* id, bool /*shareable*/) {
  try {
    if (!deviceType.empty() && !SameName(deviceType, "MPEGVideo") && !SameName(deviceType, "WaveAudio") &&
        !SameName(deviceType, "Sequencer"))
      return kInvalidDeviceName;
    if (element.empty() || !files::FileExists(element)) return kFileNotFound;
    media::MediaInfo info = media::ProbeFile(element);
    std::string type = deviceType.empty() ? AutoDeviceType(info) : std::string(deviceType);
    if (type.empty() || !Accepts(type, info)) return kInvalidFile;
    std::lock_guard<std::mutex> lock(g_mutex);
    DeviceId newId = g_nextId++;
    Device& d = g_devices[newId];
    d.type = type;
    d.path = std::string(element);
    d.info = info;
    if (id) *id = newId;
    return kOk;
  } catch (...) {
    return kHardware;
  }
}

Result Close(DeviceId id) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  try {
    Halt(*d, Mode::Stopped);
    if (d->channel) d->channel->Stop();
  } catch (...) {
  }
  g_devices.erase(id);
  return kOk;
}

Result SetTimeFormat(DeviceId id, TimeFormat format) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  bool ok = format == TimeFormat::Milliseconds ||
            ((format == TimeFormat::Bytes || format == TimeFormat::Samples) && IsWave(*d)) ||
            (format == TimeFormat::Frames && d->info.framesPerSecond > 0);
  if (!ok) return kBadTimeFormat;
  d->format = format;
  return kOk;
}

Result GetTimeFormat(DeviceId id, TimeFormat* format) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (format) *format = d->format;
  return kOk;
}

Result Length(DeviceId id, int64_t* length) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (d->mode == Mode::Recording) PullRecording(*d);
  if (length) *length = ToFormat(*d, LengthUs(*d));
  return kOk;
}

Result Position(DeviceId id, int64_t* position) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  try {
    int64_t us = CurrentUs(*d);
    if (position) *position = ToFormat(*d, us);
    return kOk;
  } catch (...) {
    return kHardware;
  }
}

Result GetMode(DeviceId id, Mode* mode) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  CurrentUs(*d);
  if (mode) *mode = d->mode;
  return kOk;
}

Result DeviceType(DeviceId id, std::string* type) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (type) *type = d->type;
  return kOk;
}

Result Info(DeviceId id, media::MediaInfo* info) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (info) *info = d->info;
  return kOk;
}

Result DisplaySize(DeviceId id, int* width, int* height) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (width) *width = d->info.width;
  if (height) *height = d->info.height;
  return kOk;
}

Result Play(DeviceId id, std::optional<int64_t> from, std::optional<int64_t> to) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  try {
    int64_t length = LengthUs(*d);
    int64_t start = from ? FromFormat(*d, *from) : CurrentUs(*d);
    int64_t end = to ? FromFormat(*d, *to) : length;
    if (start < 0 || start > length || end < 0 || end > length) return kOutOfRange;
    Halt(*d, Mode::Stopped);
    if (!d->channel) {
      d->channel = media::CurrentBackend().OpenPlayback(d->path, d->info);
      // A file the backend cannot sound still keeps time, so that loops and cues go on.
      if (!d->channel) {
        static media::SilentBackend silent;
        d->channel = silent.OpenPlayback(d->path, d->info);
      }
    }
    d->playToUs = std::max(start, end);
    d->channel->Play(start / 1000, d->playToUs / 1000);
    d->positionUs = start;
    d->mode = Mode::Playing;
    return kOk;
  } catch (...) {
    return kHardware;
  }
}

Result Pause(DeviceId id) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (d->mode == Mode::Playing) {
    d->positionUs = CurrentUs(*d);
    if (d->mode == Mode::Playing) {
      d->channel->Pause();
      d->mode = Mode::Paused;
    }
  } else if (d->mode == Mode::Recording) {
    d->recorder->Pause();
    PullRecording(*d);
    d->mode = Mode::Paused;
  }
  return kOk;
}

Result Resume(DeviceId id) {
  std::unique_lock<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (d->mode != Mode::Paused) return kOk;
  if (d->recorder) {
    if (!d->recorder->Start()) return kWaveInputsUnsuitable;
    d->mode = Mode::Recording;
    return kOk;
  }
  d->channel->Play(d->positionUs / 1000, d->playToUs / 1000);
  d->mode = Mode::Playing;
  return kOk;
}

Result Stop(DeviceId id) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  try {
    Halt(*d, Mode::Stopped);
    return kOk;
  } catch (...) {
    return kHardware;
  }
}

Result Seek(DeviceId id, int64_t to) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  int64_t us = FromFormat(*d, to);
  if (us < 0 || us > LengthUs(*d)) return kOutOfRange;
  Halt(*d, Mode::Stopped);
  d->positionUs = us;
  return kOk;
}

Result SeekToStart(DeviceId id) { return Seek(id, 0); }

Result SeekToEnd(DeviceId id) {
  int64_t len = 0;
  if (Result r = Length(id, &len)) return r;
  return Seek(id, len);
}

Result Record(DeviceId id) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (!IsWave(*d)) return kUnsupportedFunction;
  try {
    if (d->mode == Mode::Recording) return kOk;
    Halt(*d, Mode::Stopped);
    if (!LoadSound(*d)) return kInvalidFile;
    media::PcmFormat fmt{d->info.sampleRate, d->info.channels, d->info.bitsPerSample};
    if ((fmt.bitsPerSample != 8 && fmt.bitsPerSample != 16) || d->info.blockAlign <= 0) return kInvalidFile;
    auto rec = media::CurrentBackend().OpenRecording(fmt);
    if (!rec || !rec->Start()) return kWaveInputsUnsuitable;
    d->recorder = std::move(rec);
    size_t at = static_cast<size_t>(std::max<int64_t>(0, Div(d->positionUs * BytesPerSecond(*d) / 1e6)));
    d->recordAt = std::min(d->sound.size(), at - at % static_cast<size_t>(d->info.blockAlign));
    d->mode = Mode::Recording;
    return kOk;
  } catch (...) {
    return kHardware;
  }
}

Result Save(DeviceId id, std::string_view path) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Device* d = Find(id);
  if (!d) return kInvalidDeviceId;
  if (!IsWave(*d)) return kUnsupportedFunction;
  try {
    if (!LoadSound(*d)) return kFileNotSaved;
    PullRecording(*d);
    std::string target = path.empty() ? d->path : std::string(path);
    if (!files::WriteFileAtomic(target, WaveFile(*d))) return kFileNotSaved;
    d->path = target;
    return kOk;
  } catch (...) {
    return kFileNotSaved;
  }
}

std::string ErrorText(Result r) {
  switch (r) {
    case kOk: return "";
    case kInvalidDeviceId: return "Invalid device ID. Use the ID given to the device when the device was opened.";
    case kHardware: return "The specified device is not ready. Check the device.";
    case kInvalidDeviceName: return "The specified device is not open or is not recognized by MCI.";
    case kUnsupportedFunction: return "The MCI device the system is using does not support the specified command.";
    case kFileNotFound: return "Cannot find the specified file. Make sure the path and filename are correct.";
    case kOutOfRange: return "The specified parameter is out of range for the specified command.";
    case kFileNotSaved: return "The file was not saved. Make sure your system has sufficient disk space.";
    case kBadTimeFormat: return "The specified value for the time format is invalid.";
    case kInvalidFile: return "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in the correct format.";
    case kWaveInputsUnsuitable: return "There is no wave recording device available.";
    default: return "Unknown MCI error " + std::to_string(r) + ".";
  }
}

}  // namespace platform::mci
