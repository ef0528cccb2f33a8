#include "platform/win32/mci_backend.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/win32/wide_path.h"

namespace platform::win32 {
namespace {

std::mutex g_mci;  // one command at a time

std::wstring Command(const std::wstring& text, bool* ok = nullptr) {
  std::lock_guard<std::mutex> lock(g_mci);
  wchar_t answer[128] = {};
  const MCIERROR e = mciSendStringW(text.c_str(), answer, 128, nullptr);
  if (ok) *ok = e == 0;
  return answer;
}

class MciChannel : public media::PlaybackChannel {
 public:
  MciChannel(std::wstring alias) : alias_(std::move(alias)) {}
  ~MciChannel() override { Command(L"close " + alias_); }

  void Play(int64_t fromMs, int64_t toMs) override {
    to_ = toMs;
    Command(L"play " + alias_ + L" from " + std::to_wstring(fromMs) + (toMs > fromMs ? L" to " + std::to_wstring(toMs) : L""));
    playing_ = true;
  }
  void Pause() override {
    Command(L"pause " + alias_);
    playing_ = false;
  }
  void Stop() override {
    Command(L"stop " + alias_);
    playing_ = false;
  }
  int64_t PositionMs() override { return _wtoi64(Command(L"status " + alias_ + L" position").c_str()); }
  bool Ended() override {
    if (!playing_) return false;
    const std::wstring mode = Command(L"status " + alias_ + L" mode");
    return mode == L"stopped" || (to_ > 0 && PositionMs() >= to_);
  }

 private:
  std::wstring alias_;
  int64_t to_ = 0;
  bool playing_ = false;
};

class Backend : public media::MediaBackend {
 public:
  std::unique_ptr<media::PlaybackChannel> OpenPlayback(const std::string& path, const media::MediaInfo& info) override {
    static std::atomic<unsigned> counter{0};
    const std::wstring alias = L"card" + std::to_wstring(counter++);
    const wchar_t* type = info.kind == media::Kind::Midi    ? L"sequencer"
                          : info.kind == media::Kind::Wave  ? L"waveaudio"
                                                            : L"mpegvideo";
    bool ok = false;
    Command(L"open \"" + WidePath(path) + L"\" type " + type + L" alias " + alias, &ok);
    if (!ok && info.kind == media::Kind::Wave) {
      // Compressed WAV: the general player takes what the wave device does not.
      Command(L"open \"" + WidePath(path) + L"\" type mpegvideo alias " + alias, &ok);
    }
    if (!ok) return nullptr;  // no device (a machine without sound): the caller plays silently
    Command(L"set " + alias + L" time format milliseconds");
    return std::make_unique<MciChannel>(alias);
  }

  std::unique_ptr<media::RecordingChannel> OpenRecording(const media::PcmFormat&) override { return nullptr; }
};

}  // namespace

media::MediaBackend& MciBackend() {
  static Backend backend;
  return backend;
}

}  // namespace platform::win32
