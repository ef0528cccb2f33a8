#pragma once
// Cards for the stage tests: written to a temporary folder and opened as a player opens them,
// with the null hosts standing in for the window, the sound and the desktop.
#include <memory>
#include <string>

#include "platform/bitmap.h"
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
