#include "audio/pv_player.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio_fixtures.h"
#include "audio/bass_library.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace audio;
using namespace audio_fixtures;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string FakeBass(const char* variant) {
  return paths::FromHost(std::string(CARD_FAKE_BASS_DIR) + "/" + variant + "/bass.dll");
}

// Each test starts with no bass.dll loaded, its own registry store and an empty program folder,
// and reaches the stand-in library's controls through its own handle on it.
class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UnloadBassLibrary();
    savedFolder_ = paths::ProgramFolder();
    paths::SetProgramFolder(programDir_.Path());
    ::setenv("LMCARD_CONFIG_HOME", configDir_.HostPath().c_str(), 1);
    WriteBytes(wav_, PcmWave(11025, 1, 8, 11025 * 3 / 2));              // 1500 ms
    WriteBytes(mid_, Smf(0, 96, {EndOfTrack(384)}));                     // 2000 ms
    WriteBytes(other_, std::string(176400 * 2 + 88200, 'x'));           // BASS: 2500 ms
  }
  void TearDown() override {
    UnloadBassLibrary();
    if (control_) dynlib::Unload(control_);
    paths::SetProgramFolder(savedFolder_);
  }
  // Puts a variant of the stand-in library where the loader will look for it.
  void UseBass(const char* variant, const std::string& folder) {
    ASSERT_TRUE(files::CopyFile(FakeBass(variant), folder + "bass.dll", false));
    control_ = dynlib::Load(folder + "bass.dll");
    ASSERT_NE(control_, nullptr) << dynlib::LastError();
    reinterpret_cast<void (*)()>(dynlib::Resolve(control_, "fake_bass_reset"))();
  }
  int Calls(const char* name) {
    return reinterpret_cast<int (*)(const char*)>(dynlib::Resolve(control_, "fake_bass_calls"))(name);
  }
  void FailInit(int times) { reinterpret_cast<void (*)(int)>(dynlib::Resolve(control_, "fake_bass_fail_init"))(times); }
  void FailStream(int times) {
    reinterpret_cast<void (*)(int)>(dynlib::Resolve(control_, "fake_bass_fail_stream"))(times);
  }
  bool Initialised() { return reinterpret_cast<int (*)()>(dynlib::Resolve(control_, "fake_bass_initialised"))(); }

  TempDir programDir_, configDir_, media_;
  std::string wav_ = media_.File("voice.wav"), mid_ = media_.File("tune.mid"), other_ = media_.File("tracker.mod");
  std::string savedFolder_;
  dynlib::Handle control_ = nullptr;
};

}  // namespace

TEST_F(PlayerTest, TheNamesAreTheNinetySevenInTheirOrder) {
  const auto& names = BassEntryNames();
  EXPECT_STREQ(names.front(), "BASS_SetConfig");
  EXPECT_STREQ(names[7], "BASS_Init");
  EXPECT_STREQ(names.back(), "BASS_FXReset");
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j) EXPECT_STRNE(names[i], names[j]);
}

TEST_F(PlayerTest, ALibraryOfferingAllNamesIsAcceptedAndEveryNameResolves) {
  UseBass("full", programDir_.Path());
  ASSERT_TRUE(LoadBassLibrary("bass.dll"));
  ASSERT_NE(Bass(), nullptr);
  for (const char* name : BassEntryNames()) EXPECT_NE(BassEntry(name), nullptr) << name;
  // Already loaded: answered at once, even for a path that does not exist.
  EXPECT_TRUE(LoadBassLibrary("/no/such/bass.dll"));
}

TEST_F(PlayerTest, ALibraryLackingOneNameIsRefusedAndUnloaded) {
  for (const char* variant : {"without_bytes2seconds", "without_fxreset"}) {
    TempDir dir;
    ASSERT_TRUE(files::CopyFile(FakeBass(variant), dir.File("bass.dll"), false));
    EXPECT_FALSE(LoadBassLibrary(dir.File("bass.dll"))) << variant;
    EXPECT_EQ(Bass(), nullptr);
    EXPECT_EQ(BassEntry("BASS_Init"), nullptr);
  }
  // Where the only bass.dll lacks a name, BASS opens fail.
  ASSERT_TRUE(files::CopyFile(FakeBass("without_fxreset"), programDir_.File("bass.dll"), false));
  TpvPlayer player;
  EXPECT_FALSE(player.Open(other_));
  EXPECT_FALSE(player.BassLoaded());
  // The refused library is forgotten: a good one loads afterwards.
  EXPECT_TRUE(LoadBassLibrary(FakeBass("full")));
}

TEST_F(PlayerTest, AnEmptyPathSearchesForBassDll) {
  EXPECT_FALSE(LoadBassLibrary(""));
  UseBass("full", programDir_.Path());
  EXPECT_TRUE(LoadBassLibrary(""));
}

TEST_F(PlayerTest, MciOpensFirstInListOrderAndNeverReachBass) {
  UseBass("full", programDir_.Path());
  TpvPlayer player;
  ASSERT_TRUE(player.Open(wav_));
  EXPECT_FALSE(player.UsesBass());
  std::string type;
  mci::DeviceType(player.DeviceId(), &type);
  EXPECT_EQ(type, "MPEGVideo");  // WaveAudio would take it too, but comes later
  EXPECT_EQ(Calls("BASS_Init"), 0);
  EXPECT_TRUE(player.SetTimeFormatMs());
  EXPECT_EQ(player.GetLength(), 1500);
  EXPECT_TRUE(player.Stop());
  EXPECT_TRUE(player.Close());
  EXPECT_FALSE(player.Opened());
}

TEST_F(PlayerTest, OpeningASecondFileClosesTheFirst) {
  TpvPlayer player;
  ASSERT_TRUE(player.Open(wav_));
  mci::DeviceId first = player.DeviceId();
  ASSERT_TRUE(player.Open(mid_));
  EXPECT_NE(player.DeviceId(), first);
  int64_t v;
  EXPECT_EQ(mci::Length(first, &v), mci::kInvalidDeviceId);  // the first device is closed
  player.SetTimeFormatMs();
  EXPECT_EQ(player.GetLength(), 2000);
  EXPECT_EQ(player.FileName(), mid_);
}

TEST_F(PlayerTest, NothingOpenAndNothingAccepted) {
  TpvPlayer player;
  EXPECT_EQ(player.GetLength(), 0);
  EXPECT_FALSE(player.Close());
  EXPECT_FALSE(player.SetTimeFormatMs());
  EXPECT_FALSE(player.Open(other_));  // no device type takes it and there is no bass.dll
  EXPECT_FALSE(player.Opened());
  EXPECT_EQ(player.GetLength(), 0);
  // The Flash wizard's list has no Sequencer, so MIDI goes nowhere there.
  TpvPlayer flash(TpvPlayer::FlashCardDeviceTypes());
  EXPECT_TRUE(flash.Open(mid_));  // MPEGVideo takes MIDI
  TpvPlayer sequencerOnly({"Sequencer"});
  EXPECT_FALSE(sequencerOnly.Open(wav_));
}

TEST_F(PlayerTest, BassOpensWhatNoDeviceTypeTakes) {
  UseBass("full", programDir_.Path());
  {
    TpvPlayer player;
    ASSERT_TRUE(player.Open(other_));
    EXPECT_TRUE(player.UsesBass());
    EXPECT_TRUE(player.BassLoaded());
    EXPECT_NE(player.Stream(), 0u);
    // SetTimeFormatMs on a BASS file answers false and changes nothing.
    EXPECT_FALSE(player.SetTimeFormatMs());
    EXPECT_EQ(player.GetLength(), 2500);
    EXPECT_TRUE(player.Stop());
    EXPECT_TRUE(Initialised());
  }
  // Only the destructor frees BASS.
  EXPECT_FALSE(Initialised());
  EXPECT_EQ(Calls("BASS_StreamFree"), 1);
}

TEST_F(PlayerTest, BassFoundOnlyThroughTheSiblingProductsRegistryPath) {
  TempDir sibling;
  UseBass("full", sibling.Path());
  TpvPlayer player;
  EXPECT_FALSE(player.OpenBass(other_));  // no registry value yet
  ASSERT_TRUE(registry::WriteString(registry::Hive::CurrentUser, "\\Software\\Pavo电子相册制作", "Path",
                                    sibling.File("Pavo.exe")));
  ASSERT_TRUE(player.OpenBass(other_));
  EXPECT_EQ(player.GetLength(), 2500);
}

TEST_F(PlayerTest, InitFailingOnceIsRetriedAfterAFree) {
  UseBass("full", programDir_.Path());
  TpvPlayer first;
  ASSERT_TRUE(first.OpenBass(other_));
  // BASS is running now, so the next player's first BASS_Init fails: free and start again.
  TpvPlayer second;
  ASSERT_TRUE(second.OpenBass(other_));
  EXPECT_EQ(Calls("BASS_Init"), 3);
  EXPECT_EQ(Calls("BASS_Free"), 1);
  // Failing twice in a row refuses the open.
  FailInit(2);
  TpvPlayer third;
  EXPECT_FALSE(third.OpenBass(other_));
  EXPECT_FALSE(third.Opened());
}

TEST_F(PlayerTest, StreamCreationFailingOnceIsRetried) {
  UseBass("full", programDir_.Path());
  FailStream(1);
  TpvPlayer player;
  ASSERT_TRUE(player.OpenBass(other_));
  EXPECT_EQ(Calls("BASS_StreamCreateFile"), 2);
  EXPECT_EQ(player.GetLength(), 2500);
  FailStream(2);
  TpvPlayer other;
  EXPECT_FALSE(other.OpenBass(other_));
}

TEST_F(PlayerTest, MusicLengthProbeKeepsTheLastLength) {
  EXPECT_EQ(GetMusicLength(wav_), 1500);
  EXPECT_EQ(LastMusicLength(), 1500);
  EXPECT_EQ(GetMusicLength(other_), 0);  // neither way opens it
  EXPECT_EQ(LastMusicLength(), 0);
  EXPECT_EQ(GetMusicLength(media_.File("missing.mp3")), 0);
  // With bass.dll present the probe asks BASS first.
  UseBass("full", programDir_.Path());
  EXPECT_EQ(GetMusicLength(other_), 2500);
  EXPECT_EQ(LastMusicLength(), 2500);
  EXPECT_EQ(Calls("BASS_StreamCreateFile"), 1);
}
