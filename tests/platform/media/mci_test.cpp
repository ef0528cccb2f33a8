#include "platform/mci.h"

#include <gtest/gtest.h>

#include "audio/audio_fixtures.h"
#include "platform/files.h"
#include "platform/media_backend.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace audio_fixtures;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct Files {
  TempDir dir;
  std::string wav, mid, mp3, text;
  Files() {
    wav = dir.File("tone.wav");
    mid = dir.File("tune.mid");
    mp3 = dir.File("song.mp3");
    text = dir.File("readme.wav");
    WriteBytes(wav, PcmWave(11025, 1, 8, 11025 * 2));  // 2000 ms
    WriteBytes(mid, Smf(0, 480, {Tempo(0, 250000) + EndOfTrack(1920)}));  // 1000 ms
    std::string frames;
    for (int i = 0; i < 20; ++i) frames += std::string("\xFF\xFB\x90\x44", 4) + std::string(413, '\0');
    WriteBytes(mp3, frames);
    WriteBytes(text, "not a sound at all");
  }
};

}  // namespace

TEST(Mci, DeviceTypesAcceptFilesByContent) {
  Files f;
  struct Row {
    const std::string* file;
    const char* type;
    mci::Result expected;
  } rows[] = {
      {&f.wav, "WaveAudio", mci::kOk},        {&f.wav, "MPEGVideo", mci::kOk},
      {&f.wav, "Sequencer", mci::kInvalidFile}, {&f.mid, "Sequencer", mci::kOk},
      {&f.mid, "MPEGVideo", mci::kOk},        {&f.mid, "WaveAudio", mci::kInvalidFile},
      {&f.mp3, "MPEGVideo", mci::kOk},        {&f.mp3, "WaveAudio", mci::kInvalidFile},
      {&f.mp3, "Sequencer", mci::kInvalidFile}, {&f.text, "MPEGVideo", mci::kInvalidFile},
      {&f.text, "WaveAudio", mci::kInvalidFile}, {&f.wav, "CDAudio", mci::kInvalidDeviceName},
  };
  for (const Row& r : rows) {
    mci::DeviceId id = 0;
    EXPECT_EQ(mci::Open(r.type, *r.file, &id), r.expected) << *r.file << " as " << r.type;
    if (r.expected == mci::kOk) {
      EXPECT_NE(id, 0u);
      EXPECT_EQ(mci::Close(id), mci::kOk);
    }
  }
  mci::DeviceId id = 0;
  EXPECT_EQ(mci::Open("MPEGVideo", f.dir.File("none.mp3"), &id), mci::kFileNotFound);
  // Named by its content: the ".mid" file renamed ".mp3" is still a sequence.
  ASSERT_TRUE(files::CopyFile(f.mid, f.dir.File("tune.mp3"), false));
  EXPECT_EQ(mci::Open("Sequencer", f.dir.File("tune.mp3"), &id), mci::kOk);
  std::string type;
  EXPECT_EQ(mci::DeviceType(id, &type), mci::kOk);
  EXPECT_EQ(type, "Sequencer");
  mci::Close(id);
  // No type named: chosen by content.
  ASSERT_EQ(mci::Open("", f.wav, &id), mci::kOk);
  mci::DeviceType(id, &type);
  EXPECT_EQ(type, "WaveAudio");
  mci::Close(id);
}

TEST(Mci, WaveAudioRefusesCompressedWave) {
  TempDir dir;
  std::string wav = PcmWave(8000, 1, 8, 8000);
  wav[20] = 0x11;  // IMA ADPCM tag
  ASSERT_TRUE(WriteBytes(dir.File("adpcm.wav"), wav));
  mci::DeviceId id = 0;
  EXPECT_EQ(mci::Open("WaveAudio", dir.File("adpcm.wav"), &id), mci::kInvalidFile);
  ASSERT_EQ(mci::Open("MPEGVideo", dir.File("adpcm.wav"), &id), mci::kOk);
  mci::Close(id);
}

TEST(Mci, PlayPauseSeekAndTheEndOnTheSilentClock) {
  Files f;
  ManualClock clock;
  media::SilentBackend backend(clock.Fn());
  BackendScope scope(&backend);
  mci::DeviceId id = 0;
  ASSERT_EQ(mci::Open("WaveAudio", f.wav, &id), mci::kOk);
  int64_t v = -1;
  EXPECT_EQ(mci::Length(id, &v), mci::kOk);
  EXPECT_EQ(v, 2000);
  ASSERT_EQ(mci::Play(id), mci::kOk);
  clock.now += 700;
  mci::Position(id, &v);
  EXPECT_EQ(v, 700);
  EXPECT_EQ(mci::Pause(id), mci::kOk);
  clock.now += 5000;
  mci::Position(id, &v);
  EXPECT_EQ(v, 700);
  mci::Mode mode;
  mci::GetMode(id, &mode);
  EXPECT_EQ(mode, mci::Mode::Paused);
  EXPECT_EQ(mci::Resume(id), mci::kOk);
  clock.now += 2000;  // runs past the end
  mci::Position(id, &v);
  EXPECT_EQ(v, 2000);
  mci::GetMode(id, &mode);
  EXPECT_EQ(mode, mci::Mode::Stopped);
  // Seek back and play a stretch in samples.
  EXPECT_EQ(mci::Seek(id, 2001), mci::kOutOfRange);
  ASSERT_EQ(mci::SetTimeFormat(id, mci::TimeFormat::Samples), mci::kOk);
  mci::Length(id, &v);
  EXPECT_EQ(v, 22050);
  ASSERT_EQ(mci::Play(id, 11025, 16537), mci::kOk);
  clock.now += 100;
  mci::Position(id, &v);
  EXPECT_EQ(v, 12128);  // 1100 ms at 11025 Hz, to the nearest sample
  clock.now += 1000;
  mci::Position(id, &v);
  EXPECT_EQ(v, 16537);  // stopped exactly at the "to" point
  mci::SetTimeFormat(id, mci::TimeFormat::Milliseconds);
  mci::Position(id, &v);
  EXPECT_EQ(v, 1500);  // 1499.95 ms
  EXPECT_EQ(mci::Close(id), mci::kOk);
  EXPECT_EQ(mci::Position(id, &v), mci::kInvalidDeviceId);
  EXPECT_EQ(mci::Close(id), mci::kInvalidDeviceId);
}

TEST(Mci, TimeFormatsADeviceCannotUseAreRefused) {
  Files f;
  mci::DeviceId id = 0;
  ASSERT_EQ(mci::Open("Sequencer", f.mid, &id), mci::kOk);
  EXPECT_EQ(mci::SetTimeFormat(id, mci::TimeFormat::Bytes), mci::kBadTimeFormat);
  EXPECT_EQ(mci::SetTimeFormat(id, mci::TimeFormat::Frames), mci::kBadTimeFormat);
  int64_t v = 0;
  mci::Length(id, &v);
  EXPECT_EQ(v, 1000);
  EXPECT_EQ(mci::Record(id), mci::kUnsupportedFunction);
  EXPECT_EQ(mci::Save(id, f.dir.File("x.wav")), mci::kUnsupportedFunction);
  mci::Close(id);
}

TEST(Mci, RecordingWithoutAnInputDeviceFailsAndChangesNothing) {
  TempDir dir;
  std::string wav = PcmWave(11025, 1, 8, 0);
  ASSERT_TRUE(WriteBytes(dir.File("voice.wav"), wav));
  mci::DeviceId id = 0;
  ASSERT_EQ(mci::Open("WaveAudio", dir.File("voice.wav"), &id), mci::kOk);
  EXPECT_EQ(mci::Record(id), mci::kWaveInputsUnsuitable);
  mci::Mode mode;
  mci::GetMode(id, &mode);
  EXPECT_EQ(mode, mci::Mode::Stopped);
  mci::Close(id);
  EXPECT_EQ(ReadBytes(dir.File("voice.wav")), wav);
}

TEST(Mci, RecordInsertsAtThePositionAndSaveWritesWholeChunks) {
  ManualClock clock;
  FakeInputBackend backend(clock.Fn());
  BackendScope scope(&backend);
  TempDir dir;
  // 100 samples of 0x10 already in the file.
  std::string wav = PcmWave(11025, 1, 8, 100);
  for (size_t i = 44; i < wav.size(); ++i) wav[i] = 0x10;
  ASSERT_TRUE(WriteBytes(dir.File("v.wav"), wav));
  mci::DeviceId id = 0;
  ASSERT_EQ(mci::Open("WaveAudio", dir.File("v.wav"), &id), mci::kOk);
  mci::SetTimeFormat(id, mci::TimeFormat::Samples);
  ASSERT_EQ(mci::Seek(id, 50), mci::kOk);
  ASSERT_EQ(mci::Record(id), mci::kOk);
  EXPECT_EQ(backend.format.sampleRate, 11025);
  EXPECT_EQ(backend.format.bitsPerSample, 8);
  backend.pending = std::string(31, '\x7F');
  int64_t v = 0;
  mci::Length(id, &v);
  EXPECT_EQ(v, 131);
  EXPECT_EQ(mci::Stop(id), mci::kOk);
  EXPECT_EQ(backend.stops, 1);
  ASSERT_EQ(mci::Save(id, dir.File("out.wav")), mci::kOk);
  mci::Close(id);
  std::string out = ReadBytes(dir.File("out.wav"));
  ASSERT_EQ(out.size(), 44u + 131u + 1u);  // odd data gets its pad byte
  EXPECT_EQ(ReadLe32(out, 4), out.size() - 8);
  EXPECT_EQ(ReadLe32(out, 40), 131u);
  EXPECT_EQ(out.substr(44, 50), std::string(50, '\x10'));
  EXPECT_EQ(out.substr(94, 31), std::string(31, '\x7F'));
  EXPECT_EQ(out.substr(125, 50), std::string(50, '\x10'));
  EXPECT_EQ(media::ProbeBytes(out).dataBytes, 131);
}
