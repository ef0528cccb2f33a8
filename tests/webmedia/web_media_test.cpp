// Media converted for browsers: MIDI music to MP3 that sounds for the song's length, movies to
// WebM with VP8 pictures and Opus sound; files that are not what their name says are refused.
#include "webmedia/web_media.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/error.h"
#include "platform/media_probe.h"
#include "support/temp_dir.h"

using namespace webmedia;
using testing_support::TempDir;

namespace {

std::string Be(uint32_t v, int n) {
  std::string s;
  for (int i = n - 1; i >= 0; --i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  return s;
}

// A one-track song at 120 beats a minute (480 ticks a beat): a chord held for `seconds`.
std::string Song(double seconds) {
  const uint32_t ticks = static_cast<uint32_t>(seconds * 960);
  std::string track = std::string("\x00\xC0\x00", 3);  // piano
  for (int note : {60, 64, 67}) track += std::string("\x00\x90", 2) + char(note) + '\x64';
  // the delta time as a variable-length number
  std::string delta;
  for (uint32_t v = ticks; ; v >>= 7) {
    delta.insert(delta.begin(), static_cast<char>((v & 0x7F) | (delta.empty() ? 0 : 0x80)));
    if (v < 0x80) break;
  }
  track += delta + std::string("\x80\x3C\x00", 3) + std::string("\x00\x80\x40\x00\x00\x80\x43\x00", 8);
  track += std::string("\x00\xFF\x2F\x00", 4);
  return "MThd" + Be(6, 4) + Be(0, 2) + Be(1, 2) + Be(480, 2) + "MTrk" + Be(track.size(), 4) + track;
}

std::string Rmi(const std::string& midi) {
  auto le = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  return "RIFF" + le(midi.size() + 12) + "RMID" + "data" + le(midi.size()) + midi;
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// What a command prints; fails the test when it cannot run.
std::string Output(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  EXPECT_EQ(pclose(p), 0) << command << " failed (ffmpeg and ffprobe come with scripts/install-deps.sh)";
  return out;
}

// The loudness of a file's sound decoded by ffmpeg: root mean square of 16-bit mono samples.
double Loudness(const std::string& file) {
  std::string pcm = Output("ffmpeg -v error -i '" + file + "' -f s16le -ac 1 -");
  double sum = 0;
  size_t n = pcm.size() / 2;
  for (size_t i = 0; i < n; ++i) {
    double s = static_cast<int16_t>(uint8_t(pcm[2 * i]) | uint8_t(pcm[2 * i + 1]) << 8);
    sum += s * s;
  }
  return n ? std::sqrt(sum / n) : 0;
}

}  // namespace

TEST(WebMedia, MidiMusicBecomesAnMp3OfTheSongsLengthThatSounds) {
  ASSERT_FALSE(FindSoundFont().empty()) << "no General MIDI sound font (scripts/install-deps.sh installs one)";
  TempDir dir;
  for (const std::string& file : {Song(2.0), Rmi(Song(2.0))}) {
    const auto mp3 = MidiToMp3(Bytes(file));
    const std::string bytes(mp3.begin(), mp3.end());
    auto info = platform::media::Probe(platform::media::BufferSource(bytes));
    ASSERT_EQ(info.kind, platform::media::Kind::Mp3);
    EXPECT_GE(info.mp3Bitrate, 64);
    EXPECT_LE(info.mp3Bitrate, 96);
    // The song and the release of its last notes, no more.
    EXPECT_GE(info.lengthMs, 1950);
    EXPECT_LE(info.lengthMs, 2700);
    ASSERT_TRUE(testing_support::WriteBytes(dir.File("song.mp3"), bytes));
    EXPECT_GT(Loudness(dir.HostPath() + "song.mp3"), 150) << "the chord is not heard";
  }
}

TEST(WebMedia, MoviesBecomeWebmThatShowsThePicturesAndKeepsTheSound) {
  TempDir dir;
  const std::string avi = dir.HostPath() + "movie.avi", webm = dir.HostPath() + "movie.webm";
  Output("ffmpeg -v error -f lavfi -i color=c=red:s=64x48:r=10:d=1.5 -f lavfi -i sine=f=440:d=1.5"
         " -c:v mpeg4 -c:a pcm_s16le -y '" + avi + "'");
  const BrowserMedia media = ConvertForBrowser(dir.File("movie.avi"));
  EXPECT_EQ(media.mime, "video/webm");
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("movie.webm"), {reinterpret_cast<const char*>(media.bytes.data()), media.bytes.size()}));
  EXPECT_EQ(Output("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 '" + webm + "'"), "vp8\nopus\n");
  double seconds = std::atof(Output("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + webm + "'").c_str());
  EXPECT_NEAR(seconds, 1.5, 0.15);
  // A picture from the middle is red.
  std::string rgb = Output("ffmpeg -v error -ss 0.7 -i '" + webm + "' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
  ASSERT_EQ(rgb.size(), 64u * 48 * 3);
  const size_t mid = (24 * 64 + 32) * 3;
  EXPECT_GT(uint8_t(rgb[mid]), 200);
  EXPECT_LT(uint8_t(rgb[mid + 1]), 60);
  EXPECT_GT(Loudness(webm), 1000) << "the tone is lost";
}

TEST(WebMedia, FilesThatAreNotWhatTheirNameSaysAreRefused) {
  TempDir dir;
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("a.mid"), "not a song at all"));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("b.avi"), std::string(4000, '\x5A')));
  ASSERT_TRUE(testing_support::WriteBytes(dir.File("c.rmi"), "RIFF\x10\0\0\0RMIDLIST\x02\0\0\0ab"));
  for (const char* name : {"a.mid", "b.avi", "c.rmi"})
    EXPECT_THROW(ConvertForBrowser(dir.File(name)), platform::ConvertError) << name;
  EXPECT_THROW(ConvertForBrowser(dir.File("missing.mpg")), platform::FileError);
  EXPECT_FALSE(NeedsConversion("a.mp3"));
  EXPECT_TRUE(NeedsConversion("A.MID"));
  EXPECT_THROW(ConvertForBrowser(dir.File("a.mp3")), platform::ConvertError);
}
