#include "platform/sound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/audio_fixtures.h"
#include "platform/media_backend.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace platform::sound;
using namespace audio_fixtures;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct SoundFixture {
  std::atomic<int64_t> now{1000};
  media::SilentBackend backend{[this] { return now.load(); }};
  BackendScope scope{&backend};
  TempDir dir;
  std::string voice = dir.File("voice.wav");
  SoundFixture() { WriteBytes(voice, PcmWave(11025, 1, 8, 11025)); }  // 1000 ms
  ~SoundFixture() { sndPlaySoundA(nullptr, 0); }
};

}  // namespace

TEST(Sound, OnlyWaveFilesPlay) {
  SoundFixture f;
  WriteBytes(f.dir.File("tune.mid"), Smf(0, 96, {EndOfTrack(96)}));
  EXPECT_FALSE(sndPlaySoundA(f.dir.File("tune.mid").c_str(), SND_ASYNC | SND_NODEFAULT));
  EXPECT_FALSE(sndPlaySoundA(f.dir.File("missing.wav").c_str(), SND_ASYNC | SND_NODEFAULT));
  EXPECT_FALSE(IsPlaying());
}

TEST(Sound, AsynchronousSoundRunsUntilItsEndOrAStop) {
  SoundFixture f;
  ASSERT_TRUE(sndPlaySoundA(f.voice.c_str(), SND_ASYNC | SND_NODEFAULT));
  EXPECT_TRUE(IsPlaying());
  // NOSTOP refuses to cut a sound that plays.
  EXPECT_FALSE(sndPlaySoundA(f.voice.c_str(), SND_ASYNC | SND_NOSTOP));
  f.now += 1000;
  EXPECT_FALSE(IsPlaying());
  ASSERT_TRUE(sndPlaySoundA(f.voice.c_str(), SND_ASYNC));
  EXPECT_TRUE(IsPlaying());
  EXPECT_TRUE(sndPlaySoundA(nullptr, 0));
  EXPECT_FALSE(IsPlaying());
}

TEST(Sound, SynchronousSoundOnAWorkerReturnsAtItsEnd) {
  SoundFixture f;
  std::atomic<bool> started{false}, finished{false};
  std::thread worker([&] {
    started = true;
    sndPlaySoundA(f.voice.c_str(), SND_SYNC | SND_NODEFAULT);
    finished = true;
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(finished);
  f.now += 1000;
  worker.join();
  EXPECT_TRUE(finished);
  EXPECT_FALSE(IsPlaying());
}

TEST(Sound, AStopEndsASynchronousSoundEarly) {
  SoundFixture f;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    sndPlaySoundA(f.voice.c_str(), SND_SYNC);
    finished = true;
  });
  while (!IsPlaying()) std::this_thread::yield();
  EXPECT_TRUE(sndPlaySoundA(nullptr, 0));
  worker.join();
  EXPECT_TRUE(finished);
}
