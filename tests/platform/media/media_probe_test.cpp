#include "platform/media_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio_fixtures.h"
#include "support/temp_dir.h"

using namespace platform;
using namespace audio_fixtures;
using media::Kind;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Makes a file with a host tool; the test fails, saying so, when the tool is missing.
#define REQUIRE_TOOL(tool) \
  if (!HaveTool(tool)) FAIL() << tool " is not installed (scripts/install-deps.sh installs it)"

std::string Host(const TempDir& dir, const char* name) { return dir.HostPath() + name; }

}  // namespace

TEST(MediaProbe, PcmWaveLengthsAtSeveralRatesAndFormats) {
  struct Row {
    int rate, channels, bits;
    int64_t frames;
    int64_t ms;
  } rows[] = {{8000, 1, 8, 8000, 1000},      {11025, 1, 8, 22050, 2000}, {22050, 2, 16, 11025, 500},
              {44100, 2, 16, 132300, 3000},  {48000, 1, 16, 36000, 750}, {44100, 1, 16, 441, 10}};
  for (const Row& r : rows) {
    media::MediaInfo info = media::ProbeBytes(PcmWave(r.rate, r.channels, r.bits, r.frames));
    EXPECT_EQ(info.kind, Kind::Wave) << r.rate;
    EXPECT_EQ(info.formatTag, 1);
    EXPECT_EQ(info.sampleRate, r.rate);
    EXPECT_EQ(info.channels, r.channels);
    EXPECT_EQ(info.lengthMs, r.ms) << r.rate << " Hz " << r.bits << " bit";
  }
}

TEST(MediaProbe, WaveFilesFromSoxIncludingExtensibleAndAdpcm) {
  REQUIRE_TOOL("sox");
  TempDir dir;
  ASSERT_TRUE(RunTool("sox -n -r 22050 -c 1 -b 16 '" + Host(dir, "a.wav") + "' synth 1.5 sine 440"));
  ASSERT_TRUE(RunTool("sox -n -r 48000 -c 2 -b 24 '" + Host(dir, "b.wav") + "' synth 0.75 sine 440"));
  ASSERT_TRUE(RunTool("sox -n -r 8000 -c 1 -b 8 -e unsigned '" + Host(dir, "c.wav") + "' synth 2.25 sine 440"));
  ASSERT_TRUE(RunTool("sox -n -r 22050 -c 1 -e ima-adpcm '" + Host(dir, "d.wav") + "' synth 1.2 sine 440"));
  media::MediaInfo a = media::ProbeFile(dir.File("a.wav"));
  media::MediaInfo b = media::ProbeFile(dir.File("b.wav"));
  media::MediaInfo c = media::ProbeFile(dir.File("c.wav"));
  media::MediaInfo d = media::ProbeFile(dir.File("d.wav"));
  EXPECT_EQ(a.lengthMs, 1500);
  // 24-bit stereo is written as WAVE_FORMAT_EXTENSIBLE with a PCM sub-format.
  EXPECT_EQ(b.formatTag, 1);
  EXPECT_EQ(b.bitsPerSample, 24);
  EXPECT_EQ(b.lengthMs, 750);
  EXPECT_EQ(c.lengthMs, 2250);
  // IMA ADPCM: length from the fact chunk's sample count.
  EXPECT_EQ(d.kind, Kind::Wave);
  EXPECT_EQ(d.formatTag, 0x11);
  EXPECT_NEAR(static_cast<double>(d.lengthMs), 1200, 2);
}

TEST(MediaProbe, WaveWhoseDataChunkClaimsMoreThanTheFileHolds) {
  std::string wav = PcmWave(11025, 1, 8, 11025);  // one second
  wav.resize(wav.size() - 11025 / 2 - 1);          // cut half a second off the data
  media::MediaInfo info = media::ProbeBytes(wav);
  EXPECT_EQ(info.kind, Kind::Wave);
  EXPECT_EQ(info.dataBytes, 11025 - 11025 / 2 - 1);
  EXPECT_NEAR(static_cast<double>(info.lengthMs), 500, 1);
}

TEST(MediaProbe, MidiTempoMapSpansAllTracks) {
  // Track 0: 120 bpm, then 60 bpm at tick 1920. Track 1 sets 30 bpm at tick 2880 and its
  // notes end at tick 3840: 2000 ms + 2000 ms + 4000 ms.
  std::string t0 = Tempo(0, 500000) + Tempo(1920, 1000000) + EndOfTrack(0);
  std::string t1 = VarLen(0) + "\x90\x3C\x40" + VarLen(960) + std::string("\x3C\x00", 2) +  // running status
                   VarLen(0) + std::string("\xF0\x03\x7E\x09\xF7", 5) +                        // sysex
                   Tempo(1920, 2000000) + VarLen(960) + "\x80\x3C\x40" + EndOfTrack(0);
  std::string smf = Smf(1, 480, {t0, t1});
  media::MediaInfo info = media::ProbeBytes(smf);
  EXPECT_EQ(info.kind, Kind::Midi);
  EXPECT_FALSE(info.rmi);
  EXPECT_EQ(info.lengthMs, 8000);

  media::MediaInfo rmi = media::ProbeBytes(Rmi(smf));
  EXPECT_EQ(rmi.kind, Kind::Midi);
  EXPECT_TRUE(rmi.rmi);
  EXPECT_EQ(rmi.lengthMs, 8000);
}

TEST(MediaProbe, MidiDefaultTempoSmpteDivisionAndFormatTwo) {
  // No tempo event: 120 bpm. 96 ticks a quarter, end at 960 ticks = 5 s.
  EXPECT_EQ(media::ProbeBytes(Smf(0, 96, {VarLen(960) + "\x90\x3C\x40" + EndOfTrack(0)})).lengthMs, 5000);
  // SMPTE: 25 frames a second, 40 ticks a frame = 1000 ticks a second; tempo is ignored.
  uint16_t smpte = static_cast<uint16_t>((static_cast<uint8_t>(-25) << 8) | 40);
  EXPECT_EQ(media::ProbeBytes(Smf(0, smpte, {Tempo(0, 1000000) + EndOfTrack(2500)})).lengthMs, 2500);
  // Format 2: independent patterns played one after the other, each with its own tempo.
  std::string p1 = Tempo(0, 1000000) + EndOfTrack(480);  // 1 s
  std::string p2 = EndOfTrack(960);                      // 1 s at the default tempo
  EXPECT_EQ(media::ProbeBytes(Smf(2, 480, {p1, p2})).lengthMs, 2000);
}

TEST(MediaProbe, Mp3FromLameWithinFiftyMillisecondsOfTheSource) {
  REQUIRE_TOOL("lame");
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("s.wav"), PcmWave(44100, 2, 16, 44100 * 3)));       // 3000 ms
  ASSERT_TRUE(WriteBytes(dir.File("m.wav"), PcmWave(22050, 1, 16, 22050 * 5 / 2)));   // 2500 ms
  std::string s = Host(dir, "s.wav"), m = Host(dir, "m.wav");
  ASSERT_TRUE(RunTool("lame --quiet -b 128 '" + s + "' '" + Host(dir, "cbr.mp3") + "'"));
  ASSERT_TRUE(RunTool("lame --quiet -V 4 '" + s + "' '" + Host(dir, "vbr.mp3") + "'"));
  ASSERT_TRUE(RunTool("lame --quiet -t -b 128 '" + s + "' '" + Host(dir, "plain.mp3") + "'"));
  ASSERT_TRUE(RunTool("lame --quiet -b 64 '" + m + "' '" + Host(dir, "mono22.mp3") + "'"));
  ASSERT_TRUE(RunTool("lame --quiet -V 6 '" + m + "' '" + Host(dir, "vbr22.mp3") + "'"));
  ASSERT_TRUE(RunTool("lame --quiet -V 2 --tt Title --ta Artist --add-id3v2 '" + s + "' '" + Host(dir, "id3.mp3") + "'"));
  struct Row {
    const char* name;
    int64_t ms;
    bool vbr;
  } rows[] = {{"cbr.mp3", 3000, false}, {"vbr.mp3", 3000, true}, {"plain.mp3", 3000, false},
              {"mono22.mp3", 2500, false}, {"vbr22.mp3", 2500, true},
              {"id3.mp3", 3000, true}};
  for (const Row& r : rows) {
    media::MediaInfo info = media::ProbeFile(dir.File(r.name));
    EXPECT_EQ(info.kind, Kind::Mp3) << r.name;
    EXPECT_EQ(info.mp3Vbr, r.vbr) << r.name;
    EXPECT_NEAR(static_cast<double>(info.lengthMs), static_cast<double>(r.ms), 50) << r.name;
  }
  EXPECT_EQ(media::ProbeFile(dir.File("mono22.mp3")).sampleRate, 22050);
}

TEST(MediaProbe, Mp3BehindALargeId3v2TagAndWithAVbriHeader) {
  // A frame of MPEG-1 layer III, 128 kbit/s, 44100 Hz, joint stereo: 417 bytes.
  auto frame = [](const std::string& payload) {
    std::string f("\xFF\xFB\x90\x44", 4);
    f += payload;
    f.resize(417, '\0');
    return f;
  };
  std::string vbri(32, '\0');
  vbri += "VBRI";
  vbri += std::string("\x00\x01\x04\x40\x00\x4B", 6);  // version, delay, quality
  Be32(vbri, 417 * 100);                                // bytes
  Be32(vbri, 100);                                      // frames
  std::string mp3 = frame(vbri);
  for (int i = 0; i < 5; ++i) mp3 += frame("");
  media::MediaInfo info = media::ProbeBytes(mp3);
  EXPECT_EQ(info.kind, Kind::Mp3);
  EXPECT_TRUE(info.mp3Vbr);
  EXPECT_EQ(info.lengthMs, 2612);  // 100 × 1152 / 44100 s

  // A 200 kB ID3v2 tag (a cover picture) before plain frames: 40 frames = 1045 ms.
  std::string tag = "ID3";
  tag += std::string("\x03\x00\x00", 3);
  uint32_t size = 200000;
  for (int shift : {21, 14, 7, 0}) tag.push_back(static_cast<char>((size >> shift) & 0x7F));
  tag += std::string(size, '\xFF');  // sync-like bytes inside the tag must not be taken as frames
  std::string plain;
  for (int i = 0; i < 40; ++i) plain += frame("");
  media::MediaInfo tagged = media::ProbeBytes(tag + plain + "TAG" + std::string(125, ' '));
  EXPECT_EQ(tagged.kind, Kind::Mp3);
  EXPECT_EQ(tagged.lengthMs, 1045);
}

TEST(MediaProbe, MpegSystemStreamAndAviFromFfmpeg) {
  REQUIRE_TOOL("ffmpeg");
  TempDir dir;
  ASSERT_TRUE(RunTool("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                  "sine=frequency=440:sample_rate=44100 -t 2 -c:v mpeg1video -c:a mp2 -f mpeg '" +
                  Host(dir, "movie.mpg") + "'"));
  ASSERT_TRUE(RunTool("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25 -t 3 -c:v mjpeg '" +
                  Host(dir, "movie.avi") + "'"));
  media::MediaInfo mpg = media::ProbeFile(dir.File("movie.mpg"));
  EXPECT_EQ(mpg.kind, Kind::MpegSystem);
  EXPECT_EQ(mpg.width, 320);
  EXPECT_EQ(mpg.height, 240);
  EXPECT_NEAR(static_cast<double>(mpg.lengthMs), 2000, 100);
  media::MediaInfo avi = media::ProbeFile(dir.File("movie.avi"));
  EXPECT_EQ(avi.kind, Kind::Avi);
  EXPECT_EQ(avi.width, 160);
  EXPECT_EQ(avi.height, 120);
  EXPECT_EQ(avi.lengthMs, 3000);
  EXPECT_DOUBLE_EQ(avi.framesPerSecond, 25);
}

TEST(MediaProbe, KindComesFromContentAndDamagedFilesNeverCrash) {
  TempDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("song.mp3"), Smf(0, 96, {EndOfTrack(96)})));
  EXPECT_EQ(media::ProbeFile(dir.File("song.mp3")).kind, Kind::Midi);
  EXPECT_EQ(media::ProbeBytes("just some text, not a sound").kind, Kind::Unknown);
  EXPECT_EQ(media::ProbeBytes("").kind, Kind::Unknown);
  EXPECT_EQ(media::ProbeFile(dir.File("missing.wav")).kind, Kind::Unknown);

  // Every prefix of every kind, and a few flipped bytes, read without crashing.
  std::vector<std::string> samples = {PcmWave(8000, 1, 8, 800),
                                      Rmi(Smf(1, 480, {Tempo(0, 400000) + EndOfTrack(100)})),
                                      std::string("\xFF\xFB\x90\x44", 4) + std::string(413, '\0')};
  for (const std::string& s : samples) {
    for (size_t n = 0; n <= s.size(); n += (n < 64 ? 1 : 37)) {
      media::MediaInfo info = media::ProbeBytes(s.substr(0, n));
      EXPECT_GE(info.lengthMs, 0);
    }
    std::string flipped = s;
    for (size_t i = 4; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(~flipped[i]);
    EXPECT_GE(media::ProbeBytes(flipped).lengthMs, 0);
  }
  // A MIDI track whose length runs past the file end stops at the end.
  std::string smf = Smf(0, 96, {VarLen(192) + "\x90\x3C\x40"});
  smf[21] = '\x7F';  // track length far beyond the file
  EXPECT_EQ(media::ProbeBytes(smf).lengthMs, 1000);
}

TEST(MediaProbe, AbsurdAviHeadersGiveALargeButPositiveLength) {
  // A stream header claiming 2^32 frames of 2^32 seconds each (found by fuzzing).
  std::string strh = "vids" + std::string(16, '\0');
  Le32(strh, 0xFFFFFFFF);  // scale
  Le32(strh, 1);           // rate
  Le32(strh, 0);           // start
  Le32(strh, 0xFFFFFFFF);  // length
  strh.resize(56, '\0');
  std::string strl = "strlstrh";
  Le32(strl, static_cast<uint32_t>(strh.size()));
  strl += strh;
  std::string hdrl = "hdrlLIST";
  Le32(hdrl, static_cast<uint32_t>(strl.size()));
  hdrl += strl;
  std::string avi = "RIFF";
  Le32(avi, static_cast<uint32_t>(4 + 8 + hdrl.size()));
  avi += "AVI LIST";
  Le32(avi, static_cast<uint32_t>(hdrl.size()));
  avi += hdrl;
  media::MediaInfo info = media::ProbeBytes(avi);
  EXPECT_EQ(info.kind, Kind::Avi);
  EXPECT_GT(info.lengthMs, 0);
}
