#include "platform/qt/qt_media_backend.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <thread>

#include "audio/audio_fixtures.h"
#include "audio/voice_recording.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/sound.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace audio_fixtures;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

QApplication& App() { return testing_support::QtApp("qt_media_backend_test", true); }

struct QtBackendScope {
  QtMediaBackend backend;
  BackendScope scope{&backend};
  QtBackendScope() { App(); }
};

}  // namespace

TEST(QtMediaBackend, PlaybackKeepsTimeWithOrWithoutAnOutputDevice) {
  QtBackendScope qt;
  TempDir dir;
  WriteBytes(dir.File("tone.wav"), PcmWave(11025, 1, 8, 11025 / 2));  // 500 ms
  mci::DeviceId id = 0;
  ASSERT_EQ(mci::Open("WaveAudio", dir.File("tone.wav"), &id), mci::kOk);
  ASSERT_EQ(mci::Play(id), mci::kOk);
  mci::Mode mode = mci::Mode::Playing;
  int64_t pos = 0;
  int64_t started = media::SteadyMs();
  while (mode == mci::Mode::Playing && media::SteadyMs() - started < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    mci::GetMode(id, &mode);
  }
  mci::Position(id, &pos);
  EXPECT_EQ(mode, mci::Mode::Stopped);
  EXPECT_EQ(pos, 500);
  EXPECT_GE(media::SteadyMs() - started, 450);  // in real time, not at once
  mci::Close(id);
}

TEST(QtMediaBackend, SynchronousWaveSoundReturnsWhenItEnds) {
  QtBackendScope qt;
  TempDir dir;
  WriteBytes(dir.File("voice.wav"), PcmWave(11025, 1, 8, 11025 / 4));  // 250 ms
  std::atomic<bool> done{false};
  std::thread worker([&] {
    sound::sndPlaySoundA(dir.File("voice.wav").c_str(), sound::SND_SYNC | sound::SND_NODEFAULT);
    done = true;
  });
  int64_t started = media::SteadyMs();
  while (!done && media::SteadyMs() - started < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  worker.join();
  EXPECT_TRUE(done);
}

TEST(QtMediaBackend, RecordingWithoutAnInputDeviceFailsCleanly) {
  QtBackendScope qt;
  if (!QMediaDevices::defaultAudioInput().isNull()) GTEST_SKIP() << "this host has a sound input";
  TempDir dir;
  audio::VoiceRecorder rec;
  EXPECT_EQ(rec.Start(dir.File("voice.wav")), audio::RecordStart::Failed);
  EXPECT_FALSE(files::Exists(dir.File("voice.wav")));
}
