#pragma once
// Cards for the stage tests: written to a temporary folder and opened as a player opens them,
// with the null hosts standing in for the window, the sound and the desktop.
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "maker/ordinary/ordinary_settings.h"
#include "platform/bmp_codec.h"
#include "player/card_source.h"
#include "player/stage/card_stage.h"
#include "player/stage/null_hosts.h"
#include "../player_fixture.h"
#include "support/temp_dir.h"

namespace stage_fixture {

inline std::string Bmp(int w, int h, platform::Color c) {
  auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  b->Fill(c);
  const auto bytes = platform::EncodeBmp(*b);
  return std::string(bytes.begin(), bytes.end());
}

// A 100 x 80 red ordinary card with a 120 x 60 green greeting box that a click brings up, moving
// (3, 3) a step, without music or voice; its pictures are written into dir.
inline ordinary::OrdinarySettings SmallOrdinaryCard(const testing_support::TempDir& dir) {
  ordinary::OrdinarySettings s = ordinary::NewCardSettings();
  testing_support::WriteBytes(dir.File("card.bmp"), Bmp(4, 4, platform::Rgb(255, 0, 0)));
  testing_support::WriteBytes(dir.File("box.bmp"), Bmp(6, 6, platform::Rgb(0, 255, 0)));
  s.cardImg = dir.File("card.bmp");
  s.cardWidth = "100";
  s.cardHeight = "80";
  s.moveSet1 = s.moveSet2 = 3;
  s.boxIndex = 1;
  s.cardBox = dir.File("box.bmp");
  s.boxWidth = "120";
  s.boxHeight = "60";
  s.click = true;
  s.bkMusic = s.useWav = false;
  return s;
}

// The options of a stage under test: silent, no window actions, not moving, a fixed seed.
inline stage::StageOptions Quiet() {
  stage::StageOptions o;
  o.playMusic = false;
  o.runWindowActions = false;
  o.move = false;
  o.seed = 1234;
  return o;
}

struct Played {
  testing_support::TempDir dir;
  player::OpenedCard card;
  stage::NullHosts hosts;
  std::unique_ptr<stage::CardStage> stage;
  explicit Played(const std::string& bytes, stage::StageOptions options = Quiet()) {
    testing_support::WriteBytes(dir.File("card.crd2"), bytes);
    card = player::OpenCard({dir.File("card.crd2")}, "");
    stage = std::make_unique<stage::CardStage>(card, hosts.Hosts(), options);
  }
  stage::CardStage& operator*() { return *stage; }
  stage::CardStage* operator->() { return stage.get(); }
};

}  // namespace stage_fixture
