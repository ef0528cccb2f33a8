#include "platform/media_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

namespace platform::media {
namespace {

// Plays nothing; the position follows the clock while playing.
class SilentChannel : public PlaybackChannel {
 public:
  SilentChannel(std::function<int64_t()> now, int64_t length) : now_(std::move(now)), length_(length) {}

  void Play(int64_t fromMs, int64_t toMs) override {
    std::lock_guard<std::mutex> lock(m_);
    base_ = std::clamp<int64_t>(fromMs, 0, length_);
    to_ = std::clamp<int64_t>(toMs, base_, length_);
    startedAt_ = now_();
    playing_ = true;
  }
  void Pause() override {
    std::lock_guard<std::mutex> lock(m_);
    base_ = PositionLocked();
    playing_ = false;
  }
  void Stop() override { Pause(); }
  int64_t PositionMs() override {
    std::lock_guard<std::mutex> lock(m_);
    return PositionLocked();
  }
  bool Ended() override {
    std::lock_guard<std::mutex> lock(m_);
    return playing_ && PositionLocked() >= to_;
  }

 private:
  int64_t PositionLocked() const {
    if (!playing_) return base_;
    return std::min(to_, base_ + std::max<int64_t>(0, now_() - startedAt_));
  }

  std::mutex m_;  // the voice of a card may be waited for on a worker thread
  std::function<int64_t()> now_;
  int64_t length_;
  int64_t base_ = 0;
  int64_t to_ = 0;
  int64_t startedAt_ = 0;
  bool playing_ = false;
};

SilentBackend& DefaultBackend() {
  static SilentBackend backend;
  return backend;
}

std::atomic<MediaBackend*> g_backend{nullptr};

}  // namespace

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SilentBackend::SilentBackend(std::function<int64_t()> now) : now_(now ? std::move(now) : &SteadyMs) {}

std::unique_ptr<PlaybackChannel> SilentBackend::OpenPlayback(const std::string&, const MediaInfo& info) {
  return std::make_unique<SilentChannel>(now_, info.lengthMs);
}

std::unique_ptr<RecordingChannel> SilentBackend::OpenRecording(const PcmFormat&) { return nullptr; }

MediaBackend& CurrentBackend() {
  MediaBackend* b = g_backend.load();
  return b ? *b : DefaultBackend();
}

MediaBackend* SetBackend(MediaBackend* backend) { return g_backend.exchange(backend); }

}  // namespace platform::media
