#include "platform/sound.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/media_backend.h"

namespace platform::sound {
namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
std::unique_ptr<media::PlaybackChannel> g_channel;
media::MediaInfo g_info;
bool g_loop = false;
unsigned long g_generation = 0;  // counts sounds started and stops, so a waiter sees it was replaced

// With the lock held: the playing sound has ended (a looping one starts again instead).
bool EndedLocked() {
  if (!g_channel) return true;
  if (!g_channel->Ended()) return false;
  if (g_loop) {
    g_channel->Play(0, g_info.lengthMs);
    return false;
  }
  return true;
}

void StopLocked() {
  if (g_channel) g_channel->Stop();
  g_channel.reset();
  g_loop = false;
  ++g_generation;
  g_changed.notify_all();
}

}  // namespace

bool sndPlaySoundA(const char* path, unsigned flags) {
  try {
    if (!path || !*path) {
      std::lock_guard<std::mutex> lock(g_mutex);
      StopLocked();
      return true;
    }
    media::MediaInfo info = media::ProbeFile(path);
    if (info.kind != media::Kind::Wave) return false;
    std::unique_ptr<media::PlaybackChannel> channel = media::CurrentBackend().OpenPlayback(path, info);
    if (!channel) {
      static media::SilentBackend silent;
      channel = silent.OpenPlayback(path, info);
    }
    std::unique_lock<std::mutex> lock(g_mutex);
    if ((flags & SND_NOSTOP) && !EndedLocked()) return false;
    StopLocked();
    g_channel = std::move(channel);
    g_info = info;
    g_loop = (flags & SND_LOOP) && (flags & SND_ASYNC);
    g_channel->Play(0, info.lengthMs);
    unsigned long mine = g_generation;
    if (flags & SND_ASYNC) return true;
    // Synchronous: wait until this sound ends or another call replaces or stops it.
    while (mine == g_generation && !EndedLocked()) {
      g_changed.wait_for(lock, std::chrono::milliseconds(10));
    }
    if (mine == g_generation) {
      g_channel.reset();
      ++g_generation;
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool IsPlaying() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return !EndedLocked();
}

}  // namespace platform::sound
