#pragma once
// Shared by the ordinary player window tests: the application object, a clock, random source
// and sound the test drives, pictures, and ordinary cards made from settings.
#include <QApplication>
#include <deque>
#include <string>
#include <vector>

#include "maker/ordinary/card_player.h"
#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/ordinary_build.h"
#include "maker/packaging/settings_block.h"
#include "maker/packaging/side_files.h"
#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "support/qt_app.h"

namespace ordinary_ui_test {

inline QApplication& App() { return testing_support::QtApp("ordinary_player_ui_tests"); }

class FakeClock : public ordinary::Clock {
 public:
  int64_t NowMs() override { return now; }
  int64_t now = 1000;
};

class ScriptedRandom : public ordinary::RandomSource {
 public:
  int Next(int) override {
    int v = values.empty() ? 0 : values.front();
    if (!values.empty()) values.pop_front();
    return v;
  }
  std::deque<int> values;
};

// Sound that only writes down what it was asked.
class SilentMedia : public ordinary::CardMedia {
 public:
  bool OpenMusic(const std::string& f) override {
    log.push_back("open " + f);
    return true;
  }
  void PlayMusic() override { log.push_back("play"); }
  void StopMusic() override {}
  void PauseMusic() override {}
  void ResumeMusic() override {}
  void SeekMusicToStart() override {}
  int64_t MusicLength() override { return 100000; }
  int64_t MusicPosition() override { return 0; }
  void CloseMusic() override { log.push_back("close"); }
  void PlayVoiceAsync(const std::string& f) override { log.push_back("voice " + f); }
  void PlayVoiceSync(const std::string& f) override { log.push_back("voice sync " + f); }
  void StopVoice() override { log.push_back("stop voice"); }
  std::vector<std::string> log;
};

// A 24-bit picture of four coloured quarters (red, green / blue, white) as BMP file bytes.
inline std::string QuarterBmp(int w = 4, int h = 4) {
  auto bmp = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      platform::Color c = y < h / 2 ? (x < w / 2 ? platform::Rgb(255, 0, 0) : platform::Rgb(0, 255, 0))
                                    : (x < w / 2 ? platform::Rgb(0, 0, 255) : platform::Rgb(255, 255, 255));
      bmp->SetPixelColor(x, y, c);
    }
  }
  std::vector<uint8_t> bytes = platform::EncodeBmp(*bmp);
  return std::string(bytes.begin(), bytes.end());
}

// A plain ordinary card file (".crd1") of settings whose cardImg / cardBox name the extensions
// of the given picture bytes; no music and no voice.
inline std::string OrdinaryCardBytes(ordinary::OrdinarySettings s, const std::string& picture,
                                     const std::string& box = "") {
  s.bkMusic = false;
  s.useWav = false;
  const std::string header = packaging::HeaderFileBytes();
  packaging::OrdinaryMediaLengths len;
  len.cardImg = picture.size();
  if (s.HasGreetingBox()) len.cardBox = box.size();
  std::string card = header + picture + (s.HasGreetingBox() ? box : "");
  return card + packaging::OrdinaryBlock(packaging::OrdinarySettingsText(s, len, header.size()));
}

// Settings of a small still card with a greeting box.
inline ordinary::OrdinarySettings SmallCard() {
  ordinary::OrdinarySettings s = ordinary::NewCardSettings();
  s.cardImg = "card.bmp";
  s.cardWidth = "100";
  s.cardHeight = "80";
  s.cardBkColor = platform::Rgb(10, 20, 30);
  s.moveSet1 = 3;  // top left
  s.moveSet2 = 3;
  s.boxIndex = 1;
  s.cardBox = "box.bmp";
  s.boxWidth = "120";
  s.boxHeight = "60";
  s.boxColor = platform::Rgb(200, 100, 50);
  s.boxWord = "Hello";
  s.click = true;
  return s;
}

}  // namespace ordinary_ui_test
