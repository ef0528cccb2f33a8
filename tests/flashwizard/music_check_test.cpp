#include "flashwizard/music_check.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using testing_support::TempDir;

namespace {

// Silent MPEG-1 layer III frames at 128 kbit/s; rateBits 0x00 = 44.1 kHz, 0x04 = 48 kHz,
// 0x08 = 32 kHz.
std::string SilentMp3(const std::string& path, uint8_t rateBits, int frameBytes) {
  std::string bytes;
  for (int i = 0; i < 40; ++i) {
    std::string f(frameBytes, '\0');
    f[0] = '\xFF';
    f[1] = '\xFB';
    f[2] = static_cast<char>(0x90 | rateBits);
    f[3] = '\x44';
    bytes += f;
  }
  testing_support::WriteBytes(path, bytes);
  return path;
}

}  // namespace

TEST(FlashMusicCheck, OnlyRatesTheMovieCanStatePass) {
  TempDir dir;
  EXPECT_EQ(flashwizard::MusicRateProblem(SilentMp3(dir.File("a.mp3"), 0x00, 417)), "");
  std::string at48 = flashwizard::MusicRateProblem(SilentMp3(dir.File("b.mp3"), 0x04, 384));
  EXPECT_NE(at48.find("48000Hz"), std::string::npos) << at48;
  EXPECT_NE(flashwizard::MusicRateProblem(SilentMp3(dir.File("c.mp3"), 0x08, 576)).find("32000Hz"), std::string::npos);
  // What is not MP3 is left to the length check.
  testing_support::WriteBytes(dir.File("d.mp3"), "not music");
  EXPECT_EQ(flashwizard::MusicRateProblem(dir.File("d.mp3")), "");
}
