// The ordinary card's rules in the browser: the same card player the desktop players run (where
// the card comes up and travels, what a click does, when the greeting comes up, its entrance
// and scrolling, the order of the music and the voice, what closing opens), driven by the
// page's clock. The page (card_host.js) draws what these functions answer and plays the sound
// they ask for through Module.ordinaryMedia; it decides nothing itself.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "maker/ordinary/card_player.h"
#include "player/stage/entrance_geometry.h"

namespace {

// The sound, played by the page: each call goes to Module.ordinaryMedia. The voice plays in
// the background (a page cannot wait for it); the player asks whether it still plays.
EM_JS(int, js_music_open, (), { return Module.ordinaryMedia.openMusic() ? 1 : 0; });
EM_JS(void, js_music, (int what), { Module.ordinaryMedia.music(what); });
EM_JS(double, js_music_length, (), { return Module.ordinaryMedia.musicLength(); });
EM_JS(double, js_music_position, (), { return Module.ordinaryMedia.musicPosition(); });
EM_JS(void, js_voice_play, (), { Module.ordinaryMedia.playVoice(); });
EM_JS(void, js_voice_stop, (), { Module.ordinaryMedia.stopVoice(); });
EM_JS(int, js_voice_playing, (), { return Module.ordinaryMedia.voicePlaying() ? 1 : 0; });
EM_JS(void, js_time, (double t), { Module.ordinaryMedia.time = t; });
EM_JS(void, js_open, (const char* target), { Module.ordinaryMedia.open(UTF8ToString(target)); });

enum MusicCall { kPlay = 0, kStop, kPause, kResume, kSeekToStart, kClose };

class PageMedia : public ordinary::CardMedia {
 public:
  bool OpenMusic(const std::string&) override { return js_music_open() != 0; }
  void PlayMusic() override { js_music(kPlay); }
  void StopMusic() override { js_music(kStop); }
  void PauseMusic() override { js_music(kPause); }
  void ResumeMusic() override { js_music(kResume); }
  void SeekMusicToStart() override { js_music(kSeekToStart); }
  int64_t MusicLength() override { return static_cast<int64_t>(js_music_length()); }
  int64_t MusicPosition() override { return static_cast<int64_t>(js_music_position()); }
  void CloseMusic() override { js_music(kClose); }
  void PlayVoiceAsync(const std::string&) override { js_voice_play(); }
  void PlayVoiceSync(const std::string&) override { js_voice_play(); }
  void StopVoice() override { js_voice_stop(); }
  bool VoiceInBackground() const override { return true; }
  bool VoicePlaying() override { return js_voice_playing() != 0; }
};

class PageClock : public ordinary::Clock {
 public:
  int64_t NowMs() override { return now; }
  int64_t now = 0;
};

// A small generator seeded by the page, for the random positions and the entrance.
class SeededRandom : public ordinary::RandomSource {
 public:
  explicit SeededRandom(uint32_t seed) : state_(seed ? seed : 1) {}
  int Next(int n) override {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return n > 0 ? static_cast<int>(state_ % static_cast<uint32_t>(n)) : 0;
  }

 private:
  uint32_t state_;
};

// The card's timers are looked at this often while the page's clock catches up (finer than the
// shortest timer, the 10 ms audio timer), so a page that paints seldom still sees every step.
constexpr int kPollMs = 5;

struct WebOrdinaryCard {
  ordinary::CardPlayerConfig config;
  PageMedia media;
  PageClock clock;
  std::unique_ptr<SeededRandom> random;
  std::unique_ptr<ordinary::CardPlayer> player;
  int64_t entranceStart = -1;

  void Catch(int64_t t) {
    if (player->greetingShown() && entranceStart < 0) entranceStart = t;
  }
  void RunTo(int64_t t) {
    while (clock.now < t && !player->closed()) {
      // On the poll grid, so that a timer whose interval is a multiple of it fires on time.
      clock.now = std::min(t, (clock.now / kPollMs + 1) * kPollMs);
      js_time(static_cast<double>(clock.now));
      player->Poll();
      Catch(clock.now);
    }
  }
};

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE WebOrdinaryCard* wp_ord_new() { return new WebOrdinaryCard; }
EMSCRIPTEN_KEEPALIVE void wp_ord_delete(WebOrdinaryCard* card) { delete card; }

// Sets one item of the card's configuration by its name (before wp_ord_start).
EMSCRIPTEN_KEEPALIVE int wp_ord_set(WebOrdinaryCard* card, const char* name, int value) {
  ordinary::CardPlayerConfig& c = card->config;
  struct Item {
    const char* name;
    int* number;
    bool* flag;
  };
  const Item items[] = {
      {"width", &c.width, nullptr},          {"height", &c.height, nullptr},
      {"musicUsed", nullptr, &c.musicUsed},  {"musicCount", &c.musicCount, nullptr},
      {"voiceUsed", nullptr, &c.voiceUsed},  {"playOrder", &c.playOrder, nullptr},
      {"musicPosition", &c.musicPosition, nullptr}, {"moveInterval", &c.moveInterval, nullptr},
      {"startPosition", &c.startPosition, nullptr}, {"finalPosition", &c.finalPosition, nullptr},
      {"centreLock", nullptr, &c.centreLock}, {"loop", nullptr, &c.loop},
      {"singleClick", nullptr, &c.singleClick}, {"autoGreeting", nullptr, &c.autoGreeting},
      {"autoGreetingInterval", &c.autoGreetingInterval, nullptr}, {"greetingBox", nullptr, &c.greetingBox},
      {"labelWidth", &c.labelWidth, nullptr}, {"labelHeight", &c.labelHeight, nullptr},
      {"scroll", nullptr, &c.scroll},        {"scrollInterval", &c.scrollInterval, nullptr},
  };
  for (const Item& item : items) {
    if (std::strcmp(item.name, name) != 0) continue;
    if (item.number) *item.number = value;
    else *item.flag = value != 0;
    return 1;
  }
  return 0;
}

// The closing links: which = 0 the web address, 1 the mail link (UTF-8, as the card opens them).
EMSCRIPTEN_KEEPALIVE void wp_ord_set_link(WebOrdinaryCard* card, int which, const char* target) {
  (which == 0 ? card->config.url : card->config.mailLink) = target;
}

// The card comes up at t on a screen of this size; lines: the greeting text's lines and their height.
EMSCRIPTEN_KEEPALIVE void wp_ord_start(WebOrdinaryCard* card, double t, int screenWidth, int screenHeight,
                                       uint32_t seed, int lineHeight, int lineCount) {
  if (card->player) return;
  card->clock.now = static_cast<int64_t>(t);
  card->random = std::make_unique<SeededRandom>(seed);
  ordinary::CardPlayerEnv env;
  env.clock = &card->clock;
  env.screen = {screenWidth, screenHeight};
  env.random = card->random.get();
  env.media = &card->media;
  env.open = [](const std::string& target) {
    js_open(target.c_str());
    return true;
  };
  if (card->config.voiceUsed) card->config.voice = "voice";
  if (card->config.musicUsed) card->config.music = "music";
  card->player = std::make_unique<ordinary::CardPlayer>(card->config, std::move(env));
  card->player->SetScrollText(lineHeight, lineCount);
  card->player->Show();
}

EMSCRIPTEN_KEEPALIVE void wp_ord_advance(WebOrdinaryCard* card, double t) { card->RunTo(static_cast<int64_t>(t)); }

EMSCRIPTEN_KEEPALIVE void wp_ord_click(WebOrdinaryCard* card, double t, int twice) {
  card->RunTo(static_cast<int64_t>(t));
  if (twice) card->player->DoubleClick();
  else card->player->Click();
  card->Catch(card->clock.now);
}

// The page is closing (or the card closed itself): the sound stops and the closing links open.
EMSCRIPTEN_KEEPALIVE void wp_ord_close(WebOrdinaryCard* card) { card->player->Close(); }

// What the page shows at t, as 13 ints into out: window left, top, width, height; greeting shown;
// closed; scroll offset; entrance kind; entrance part left, top, width, height, opacity (0-255).
EMSCRIPTEN_KEEPALIVE void wp_ord_state(WebOrdinaryCard* card, double t, int* out) {
  const ordinary::CardPlayer& p = *card->player;
  const ordinary::WindowRect& w = p.window();
  const int elapsed = card->entranceStart < 0 ? 0 : static_cast<int>(static_cast<int64_t>(t) - card->entranceStart);
  const stage::EntranceFrame f = stage::EntranceFrameAt(p.entrance(), w.width, w.height, elapsed);
  const int values[13] = {w.left,  w.top,   w.width, w.height, p.greetingShown(), p.closed(), p.scrollOffset(),
                          static_cast<int>(p.entrance()), f.left, f.top, f.width, f.height, f.opacity};
  std::memcpy(out, values, sizeof values);
}

}  // extern "C"
