#include "player/web/ordinary_web_card.h"

#include <ctime>
#include <memory>
#include <vector>

#include "maker/ordinary/card_player_config.h"
#include "platform/error.h"
#include "platform/files.h"
#include "player/stage/null_hosts.h"
#include "player/stage/ordinary_stage.h"
#include "platform/text.h"
#include "player/web/web_page.h"

namespace web {

namespace {

using platform::Bitmap;

// The page's own grey stands for the screen under a card that comes in.
constexpr platform::Color kPageGrey = platform::Rgb(128, 128, 128);
constexpr int kStartMs = 1000;     // the card comes up on the build's clock
constexpr int kEntranceStepMs = 40;
constexpr int kLongestWaitMs = 10 * 60 * 1000;

// The entrance comes from the left: the build has one drawing of it.
class FirstChoice : public ordinary::RandomSource {
 public:
  int Next(int) override { return 0; }
};

struct Played {
  stage::SilentCardMedia media;
  FirstChoice random;
  stage::NullUi ui;
  std::vector<std::string> opened;
  std::unique_ptr<stage::OrdinaryStage> stage;
  std::unique_ptr<Bitmap> screen;

  explicit Played(const ordinary::OrdinarySettings& s) {
    std::tm now{};
    const std::time_t t = std::time(nullptr);
    localtime_r(&t, &now);
    stage::OrdinaryStageHosts hosts;
    hosts.media = &media;
    hosts.random = &random;
    hosts.ui = &ui;
    hosts.open = [this](const std::string& target) {
      opened.push_back(target);
      return true;
    };
    stage = std::make_unique<stage::OrdinaryStage>(s, ordinary::MakeCardPlayerConfig(s, now), hosts,
                                                   ordinary::ScreenSize{1024, 768});
    screen = Bitmap::Create(1024, 768, platform::PixelFormat::Bgr24);
    screen->Fill(kPageGrey);
    stage->Start(kStartMs);
  }
  std::string Drawing(int64_t t) {
    auto b = Bitmap::Create(std::max(ui.window.width, 1), std::max(ui.window.height, 1), platform::PixelFormat::Bgr24);
    stage->Draw(*b, t, screen.get());
    return JsonString(PngDataUri(*b));
  }
};

std::string Int(int64_t v) { return std::to_string(v); }

}  // namespace

std::string OrdinaryCardJson(const ordinary::OrdinarySettings& settings) {
  std::string j = "{\"kind\":\"ordinary\",\"title\":" + JsonText("贺卡");
  Played first(settings);
  j += ",\"width\":" + Int(first.ui.window.width) + ",\"height\":" + Int(first.ui.window.height);
  j += ",\"base\":" + first.Drawing(kStartMs);

  std::string music;
  if (settings.bkMusic && !settings.music.empty()) {
    if (auto bytes = platform::files::ReadFile(settings.music)) music = SoundDataUri(*bytes);
  }
  j += ",\"music\":" + (music.empty() ? std::string("null") : JsonString(music));

  // What brings the greeting up — a click, a double click, its time — found by playing the card.
  const int64_t clickAt = kStartMs + 100;
  Played byClick(settings), byDoubleClick(settings), byTime(settings);
  byClick.stage->Click(clickAt);
  byDoubleClick.stage->DoubleClick(clickAt);
  int64_t timeAt = -1;
  if (settings.useTime) {
    for (int64_t t = kStartMs; t <= kStartMs + kLongestWaitMs && timeAt < 0;) {
      const int64_t next = byTime.stage->NextChangeAt();
      t = next > t ? next : t + 100;
      byTime.stage->Advance(t);
      if (byTime.stage->GreetingShown()) timeAt = t;
    }
  }
  const bool click = byClick.stage->GreetingShown(), doubleClick = byDoubleClick.stage->GreetingShown();
  Played* p = click ? &byClick : doubleClick ? &byDoubleClick : timeAt >= 0 ? &byTime : nullptr;
  if (p) {
    const int64_t at = p == &byTime ? timeAt : clickAt;
    j += ",\"greeting\":{\"click\":" + std::string(click ? "true" : "false") +
         ",\"dblclick\":" + (doubleClick ? "true" : "false") + ",\"at\":" + Int(timeAt >= 0 ? timeAt - kStartMs : -1) +
         ",\"width\":" + Int(p->ui.window.width) + ",\"height\":" + Int(p->ui.window.height) +
         ",\"step\":" + Int(kEntranceStepMs) + ",\"entrance\":[";
    int64_t t = at;
    for (int k = 0; p->stage->EntranceRunning(t) && k < 200; ++k, t += kEntranceStepMs) {
      j += (k ? "," : "") + p->Drawing(t);
    }
    p->stage->Advance(t);
    j += "],\"final\":" + p->Drawing(t) + "}";
    // Closing: a click on the greeting, then the links the card opens as it closes.
    p->stage->Click(t + 100);
    p->stage->Close(t + 100);
  } else {
    j += ",\"greeting\":null";
    p = &byClick;
    p->stage->Close(kStartMs + 200);
  }
  j += ",\"onClose\":[";
  for (size_t i = 0; i < p->opened.size(); ++i) {
    j += std::string(i ? "," : "") + "{\"do\":\"open\",\"url\":" + JsonText(p->opened[i]) + "}";
  }
  return j + "]}";
}

void WriteOrdinaryWebCard(const ordinary::OrdinarySettings& settings, const std::string& outPath) {
  const std::string page = WebCardPage(platform::GbkToUtf8("贺卡"), OrdinaryCardJson(settings));
  if (!platform::files::WriteFileAtomic(outPath, page)) throw platform::FileError("无法写入文件 " + outPath + "。");
}

}  // namespace web
