#include "audio/voice_recording.h"

#include <gtest/gtest.h>

#include "audio/audio_fixtures.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace audio;
using namespace audio_fixtures;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(VoiceRecording, HeaderDescribesAnEmptyEightBitMonoRecording) {
  std::string h = RecordingHeader();
  ASSERT_EQ(h.size(), kRecordingHeaderSize);
  EXPECT_EQ(h.substr(0, 4), "RIFF");
  EXPECT_EQ(ReadLe32(h, 4), 50u);
  EXPECT_EQ(h.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(ReadLe32(h, 16), 18u);
  EXPECT_EQ(ReadLe32(h, 20), 0x00010001u);  // PCM, mono
  EXPECT_EQ(ReadLe32(h, 24), 11025u);
  EXPECT_EQ(ReadLe32(h, 28), 11025u);
  EXPECT_EQ(ReadLe32(h, 32), 0x00080001u);  // block 1, 8 bits
  EXPECT_EQ(h.substr(36, 2), std::string(2, '\0'));
  EXPECT_EQ(h.substr(38, 4), "fact");
  EXPECT_EQ(ReadLe32(h, 42), 4u);
  EXPECT_EQ(ReadLe32(h, 46), 0u);
  EXPECT_EQ(h.substr(50, 4), "data");
  EXPECT_EQ(ReadLe32(h, 54), 0u);
}

TEST(VoiceRecording, RecordedSoundIsSavedWithRiffFactAndDataSizes) {
  FakeInputBackend backend;
  BackendScope scope(&backend);
  TempDir dir;
  std::string name = dir.File("录音.wav");
  VoiceRecorder rec;
  ASSERT_EQ(rec.Start(name), RecordStart::Started);
  EXPECT_TRUE(rec.Recording());
  EXPECT_EQ(ReadBytes(name), RecordingHeader());  // the header is there while recording
  EXPECT_EQ(backend.format.sampleRate, 11025);
  EXPECT_EQ(backend.format.channels, 1);
  EXPECT_EQ(backend.format.bitsPerSample, 8);
  backend.pending = std::string(11025, '\x90');  // one second
  ASSERT_TRUE(rec.Stop());
  EXPECT_FALSE(rec.Recording());
  std::string wav = ReadBytes(name);
  ASSERT_EQ(wav.size(), kRecordingHeaderSize + 11025 + 1);  // odd data size: one pad byte
  EXPECT_EQ(ReadLe32(wav, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 30), RecordingHeader().substr(8, 30));  // the format chunk as written
  EXPECT_EQ(ReadLe32(wav, 46), 11025u);                            // fact: samples
  EXPECT_EQ(ReadLe32(wav, 54), 11025u);                            // data: bytes
  media::MediaInfo info = media::ProbeBytes(wav);
  EXPECT_EQ(info.lengthMs, 1000);
  EXPECT_EQ(info.sampleRate, 11025);
}

TEST(VoiceRecording, ARecordingStoppedAtOnceIsAValidEmptyWave) {
  FakeInputBackend backend;
  BackendScope scope(&backend);
  TempDir dir;
  VoiceRecorder rec;
  ASSERT_EQ(rec.Start(dir.File("a.wav")), RecordStart::Started);
  ASSERT_TRUE(rec.Stop());
  std::string wav = ReadBytes(dir.File("a.wav"));
  EXPECT_EQ(wav, RecordingHeader());
  EXPECT_EQ(media::ProbeBytes(wav).kind, media::Kind::Wave);
  EXPECT_FALSE(rec.Stop());  // nothing is recording any more
}

TEST(VoiceRecording, WithoutAnInputDeviceTheStartFailsAndLeavesNoFile) {
  TempDir dir;
  VoiceRecorder rec;  // the silent backend has no input device
  EXPECT_EQ(rec.Start(dir.File("v.wav")), RecordStart::Failed);
  EXPECT_FALSE(rec.Recording());
  EXPECT_FALSE(files::Exists(dir.File("v.wav")));
  EXPECT_TRUE(files::ListFiles(dir.Path()).empty());
  // An existing recording the user agreed to replace survives the failed start.
  ScriptedDialogs dialogs;
  dialogs.messageAnswers.push_back(MsgResult::Yes);
  WriteBytes(dir.File("old.wav"), "the old voice");
  EXPECT_EQ(rec.Start(dir.File("old.wav")), RecordStart::Failed);
  EXPECT_EQ(ReadBytes(dir.File("old.wav")), "the old voice");
  EXPECT_EQ(files::ListFiles(dir.Path()), std::vector<std::string>{"old.wav"});
}

TEST(VoiceRecording, NameChecksAndTheReplaceQuestion) {
  FakeInputBackend backend;
  BackendScope scope(&backend);
  TempDir dir;
  ScriptedDialogs dialogs;
  VoiceRecorder rec;
  EXPECT_EQ(rec.Start("   "), RecordStart::NoFileName);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "请输入文件名");
  EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Warning);

  std::string name = dir.File("keep.wav");
  WriteBytes(name, "kept");
  ASSERT_TRUE(files::SetReadOnly(name, true));
  dialogs.messageAnswers.push_back(MsgResult::No);
  EXPECT_EQ(rec.Start(name), RecordStart::Declined);
  EXPECT_EQ(dialogs.shown.back().text, name + " 已存在，要替换吗？");
  EXPECT_EQ(dialogs.shown.back().icon, MsgIcon::Question);
  EXPECT_EQ(dialogs.shown.back().buttons, MsgButtons::YesNo);
  EXPECT_EQ(ReadBytes(name), "kept");

  // Yes replaces even a read-only file.
  dialogs.messageAnswers.push_back(MsgResult::Yes);
  ASSERT_EQ(rec.Start(name), RecordStart::Started);
  backend.pending = std::string(100, '\x80');
  ASSERT_TRUE(rec.Stop());
  EXPECT_EQ(media::ProbeFile(name).dataBytes, 100);
  EXPECT_EQ(files::ListFiles(dir.Path()), std::vector<std::string>{"keep.wav"});
}

TEST(VoiceRecording, CancelRemovesTheUnfinishedRecording) {
  FakeInputBackend backend;
  BackendScope scope(&backend);
  TempDir dir;
  {
    VoiceRecorder rec;
    ASSERT_EQ(rec.Start(dir.File("a.wav")), RecordStart::Started);
    backend.pending = "abc";
    rec.Cancel();
    EXPECT_FALSE(rec.Recording());
    EXPECT_FALSE(files::Exists(dir.File("a.wav")));
    ASSERT_EQ(rec.Start(dir.File("b.wav")), RecordStart::Started);
  }  // destroyed while recording: same as cancel
  EXPECT_FALSE(files::Exists(dir.File("b.wav")));
}
