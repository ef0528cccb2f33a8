// cardtool play: an interactive card played headless on the card stage and drawn as it shows at a
// time, with what it asked of its window, sound and desktop, to look at without a window.
#include <cstdio>

#include "command.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/png_writer.h"
#include "platform/text.h"
#include "player/card_source.h"
#include "player/stage/card_stage.h"
#include "player/stage/null_hosts.h"

namespace cardtool {
namespace {

int Run(const Args& args);
const Registrar reg({"play", "play CARD OUT.png [--at MS] [--click X,Y]",
                     "plays an interactive card (.exe, .crd2, .crd3) headless and writes the card as drawn MS "
                     "milliseconds after it came up (a click first when asked), listing what it asked of its host",
                     &Run});

int Run(const Args& args) {
  Options o(args, {"at", "click"});
  if (!o.Ok()) return Fail(o.Error(), 2);
  if (o.Positionals().size() != 2) {
    for (const Command& c : Commands())
      if (c.name == "play") return Usage(c);
    return 2;
  }
  int at = 0, clickX = -1, clickY = -1;
  if (!platform::TryStrToInt(o.ValueOr("at", "0"), at) || at < 0) return Fail("--at takes milliseconds", 2);
  if (auto c = o.Value("click")) {
    const size_t comma = c->find(',');
    if (comma == std::string::npos || !platform::TryStrToInt(c->substr(0, comma), clickX) ||
        !platform::TryStrToInt(c->substr(comma + 1), clickY))
      return Fail("--click takes X,Y", 2);
  }
  try {
    player::OpenedCard card = player::OpenCardFile(platform::paths::FromHost(o.Positionals()[0]));
    stage::NullHosts hosts;
    stage::StageOptions options;
    options.seed = 1;
    stage::CardStage play(card, hosts.Hosts(), options);
    play.Start(0, {1024, 768}, play.Width(), play.Height());
    play.Loaded();
    if (clickX >= 0) {
      play.MouseDown(0, clickX, clickY);
      play.MouseUp(0, clickX, clickY);
    }
    auto frame = play.Render(at);
    platform::SavePng(*frame, platform::paths::FromHost(o.Positionals()[1]));
    std::printf("card %dx%d%s\n", play.Width(), play.Height(), play.Shape().Empty() ? "" : " shaped");
    for (const std::string& c : hosts.sound.calls) std::printf("sound: %s\n", platform::GbkToUtf8(c).c_str());
    for (const std::string& c : hosts.navigator.calls) std::printf("desktop: %s\n", platform::GbkToUtf8(c).c_str());
    for (const std::string& m : hosts.ui.messages) std::printf("message: %s\n", platform::GbkToUtf8(m).c_str());
    for (const std::string& f : hosts.ui.flashes) std::printf("flash: %s\n", platform::GbkToUtf8(f).c_str());
    std::printf("window at %d,%d%s\n", hosts.ui.window.left, hosts.ui.window.top, hosts.ui.closed ? ", closed" : "");
    std::printf("written %s\n", o.Positionals()[1].c_str());
  } catch (const platform::Error& e) {
    return Fail(platform::GbkToUtf8(e.what()));
  }
  return 0;
}

}  // namespace
}  // namespace cardtool
