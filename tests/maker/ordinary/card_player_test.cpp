#include "maker/ordinary/card_player.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "maker/ordinary/mail_link.h"

using namespace ordinary;

namespace {

class FakeClock : public Clock {
 public:
  int64_t NowMs() override { return now; }
  int64_t now = 0;
};

class ScriptedRandom : public RandomSource {
 public:
  int Next(int) override {
    int v = values.empty() ? 0 : values.front();
    if (!values.empty()) values.pop_front();
    return v;
  }
  std::deque<int> values;
};

// Music whose position the test sets; a synchronous voice that lasts until the test releases it.
class FakeMedia : public CardMedia {
 public:
  bool OpenMusic(const std::string& f) override {
    Log("open " + f);
    return openOk;
  }
  void PlayMusic() override { Log("play"); }
  void StopMusic() override { Log("stop"); }
  void PauseMusic() override { Log("pause"); }
  void ResumeMusic() override { Log("resume"); }
  void SeekMusicToStart() override {
    Log("seek");
    position = 0;
  }
  int64_t MusicLength() override { return length; }
  int64_t MusicPosition() override { return position; }
  void CloseMusic() override { Log("close"); }
  void PlayVoiceAsync(const std::string& f) override { Log("voice " + f); }
  void PlayVoiceSync(const std::string& f) override {
    Log("voice sync " + f);
    inVoice = true;
    while (!releaseVoice && !voiceStopped) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    releaseVoice = false;
    inVoice = false;
    Log("voice end");
  }
  void StopVoice() override {
    Log("stop voice");
    voiceStopped = true;
  }

  void Log(const std::string& s) {
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back(s);
  }
  std::vector<std::string> TakeLog() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(log, {});
  }
  // Ends the voice and waits until its thread has seen it.
  void FinishVoice() {
    while (!inVoice) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    releaseVoice = true;
    while (releaseVoice) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  bool openOk = true;
  int64_t length = 1000;
  int64_t position = 0;
  std::atomic<bool> releaseVoice{false}, voiceStopped{false}, inVoice{false};
  std::mutex mutex;
  std::vector<std::string> log;
};

struct Rig {
  FakeClock clock;
  ScriptedRandom random;
  FakeMedia media;
  std::vector<std::string> opened;
  int pumps = 0;

  CardPlayerEnv Env() {
    CardPlayerEnv env;
    env.clock = &clock;
    env.screen = {800, 600};
    env.random = &random;
    env.media = &media;
    env.open = [this](const std::string& t) {
      opened.push_back(t);
      return true;
    };
    // Waiting for a voice: the voice ends after a few message rounds.
    env.processMessages = [this] {
      if (media.inVoice && ++pumps == 3) media.releaseVoice = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    return env;
  }
  void Advance(CardPlayer& p, int ms, int step = 10) {
    for (int t = 0; t < ms; t += step) {
      clock.now += step;
      p.Poll();
    }
  }
};

CardPlayerConfig BaseConfig() {
  CardPlayerConfig c;
  c.width = 200;
  c.height = 100;
  c.startPosition = 3;  // top left
  c.finalPosition = 7;  // bottom right
  c.moveInterval = 100;
  return c;
}

CardPlayerConfig AudioConfig(int order, int count) {
  CardPlayerConfig c = BaseConfig();
  c.centreLock = true;
  c.musicUsed = true;
  c.music = "m.mid";
  c.musicCount = count;
  c.voiceUsed = true;
  c.voice = "v.wav";
  c.playOrder = order;
  c.musicPosition = 400;
  return c;
}

using Log = std::vector<std::string>;

// Media that cannot block on a voice: the voice plays in the background until the test ends it.
class BackgroundMedia : public FakeMedia {
 public:
  bool VoiceInBackground() const override { return true; }
  bool VoicePlaying() override { return voicePlaying; }
  void PlayVoiceAsync(const std::string& f) override {
    FakeMedia::PlayVoiceAsync(f);
    voicePlaying = true;
  }
  void PlayVoiceSync(const std::string&) override { ADD_FAILURE() << "a background voice is never waited for"; }
  bool voicePlaying = false;
};

}  // namespace

TEST(CardPlayerTest, MovesOnItsPathUntilTheGreetingComesUp) {
  Rig rig;
  CardPlayerConfig c = BaseConfig();
  c.greetingBox = true;
  c.labelWidth = 284;
  c.labelHeight = 184;
  c.singleClick = true;
  CardPlayer p(c, rig.Env());
  p.Show();
  EXPECT_EQ(p.place(), (Point{0, 0}));
  rig.Advance(p, 90);
  EXPECT_EQ(p.place(), (Point{0, 0}));
  rig.Advance(p, 10);
  EXPECT_EQ(p.place(), (Point{1, 1}));  // 600 wide, 500 high: 0.8333 -> 1
  rig.Advance(p, 300);
  EXPECT_EQ(p.place(), (Point{4, 3}));

  rig.random.values = {4};
  p.Click();
  EXPECT_TRUE(p.greetingShown());
  EXPECT_EQ(p.entrance(), Entrance::Expand);
  EXPECT_EQ(p.window(), (WindowRect{4, 3, 300, 200}));
  EXPECT_FALSE(p.movementTimerOn());
  rig.Advance(p, 1000);
  EXPECT_EQ(p.place(), (Point{4, 3}));
}

TEST(CardPlayerTest, CentreLockNeverMoves) {
  Rig rig;
  CardPlayerConfig c = BaseConfig();
  c.centreLock = true;
  c.loop = true;
  CardPlayer p(c, rig.Env());
  p.Show();
  rig.Advance(p, 2000);
  EXPECT_EQ(p.place(), (Point{300, 250}));
  EXPECT_FALSE(p.movementTimerOn());
}

TEST(CardPlayerTest, ClickModes) {
  for (bool single : {true, false}) {
    Rig rig;
    CardPlayerConfig c = BaseConfig();
    c.singleClick = single;
    c.greetingBox = true;
    c.url = "http://example.org/";
    c.mailLink = "mailto:a@b.c";
    CardPlayer p(c, rig.Env());
    p.Show();
    auto other = [&] { single ? p.DoubleClick() : p.Click(); };
    auto matching = [&] { single ? p.Click() : p.DoubleClick(); };
    other();
    EXPECT_FALSE(p.greetingShown());
    matching();
    EXPECT_TRUE(p.greetingShown());
    EXPECT_FALSE(p.closed());
    other();
    EXPECT_FALSE(p.closed());
    matching();
    EXPECT_TRUE(p.closed());
    EXPECT_EQ(rig.opened, (Log{"http://example.org/", "mailto:a@b.c"}));
  }
}

TEST(CardPlayerTest, WithoutGreetingBoxTheClickClosesAtOnce) {
  Rig rig;
  CardPlayerConfig c = BaseConfig();
  c.singleClick = true;
  CardPlayer p(c, rig.Env());
  p.Show();
  p.Click();
  EXPECT_TRUE(p.closed());
  EXPECT_FALSE(p.greetingShown());
  EXPECT_TRUE(rig.opened.empty());
}

TEST(CardPlayerTest, AutoGreetingFiresOnce) {
  Rig rig;
  CardPlayerConfig c = BaseConfig();
  c.greetingBox = true;
  c.autoGreeting = true;
  c.autoGreetingInterval = 3000;
  CardPlayer p(c, rig.Env());
  p.Show();
  rig.Advance(p, 2990);
  EXPECT_FALSE(p.greetingShown());
  rig.Advance(p, 10);
  EXPECT_TRUE(p.greetingShown());
  EXPECT_FALSE(p.autoGreetingTimerOn());
  rig.Advance(p, 6000);
  EXPECT_FALSE(p.closed());  // a second firing would have closed the card

  // Without a greeting box the time closes the card.
  Rig rig2;
  c.greetingBox = false;
  CardPlayer q(c, rig2.Env());
  q.Show();
  rig2.Advance(q, 3000);
  EXPECT_TRUE(q.closed());
}

TEST(CardPlayerTest, ScrollingTextEntersFromTheBottomAndStartsAgain) {
  Rig rig;
  CardPlayerConfig c = BaseConfig();
  c.greetingBox = true;
  c.singleClick = true;
  c.labelWidth = 84;
  c.labelHeight = 14;  // window 30 high
  c.scroll = true;
  c.scrollInterval = 50;
  CardPlayer p(c, rig.Env());
  p.Show();
  p.SetScrollText(10, 2);
  p.Click();
  EXPECT_EQ(p.scrollOffset(), 30);
  rig.Advance(p, 50 * 50, 50);
  EXPECT_EQ(p.scrollOffset(), -20);  // the last line has just left the top
  rig.Advance(p, 50, 50);
  EXPECT_EQ(p.scrollOffset(), 30);
}

TEST(AudioSequenceTest, OrderZeroPlaysTheVoiceAfterTheFirstMusicPlayThenRepeatsToTheCount) {
  Rig rig;
  CardPlayer p(AudioConfig(0, 2), rig.Env());
  p.Show();
  EXPECT_FALSE(p.audio().voiceStarted());
  EXPECT_EQ(rig.media.TakeLog(), (Log{"open m.mid", "play"}));
  rig.media.position = 998;
  rig.Advance(p, 10);
  EXPECT_TRUE(rig.media.TakeLog().empty());
  rig.media.position = 999;
  rig.Advance(p, 10);  // waits here for the voice
  EXPECT_TRUE(p.audio().voiceStarted());
  EXPECT_TRUE(p.audio().voiceFinished());
  EXPECT_GE(rig.pumps, 3);
  EXPECT_EQ(rig.media.TakeLog(), (Log{"stop", "voice sync v.wav", "voice end", "seek", "play"}));
  rig.media.position = 999;
  rig.Advance(p, 10);
  EXPECT_EQ(rig.media.TakeLog(), (Log{"stop"}));  // second play done: no voice, no replay
  EXPECT_EQ(p.audio().completedPlays(), 2);
  EXPECT_FALSE(p.audio().audioTimerOn());
}

// Orders 0, 1 and 3 keep their order without a thread when the voice plays in the background.
TEST(AudioSequenceTest, BackgroundVoicesKeepTheOrderWithoutWaiting) {
  auto run = [](int order, auto&& steps) {
    BackgroundMedia media;
    FakeClock clock;
    ScriptedRandom random;
    CardPlayerEnv env;
    env.clock = &clock;
    env.screen = {800, 600};
    env.random = &random;
    env.media = &media;
    CardPlayer p(AudioConfig(order, 2), env);
    p.Show();
    steps(p, media, [&](int ms) {
      for (int t = 0; t < ms; t += 10) {
        clock.now += 10;
        p.Poll();
      }
    });
  };
  run(1, [](CardPlayer& p, BackgroundMedia& m, auto advance) {
    EXPECT_EQ(m.TakeLog(), (Log{"voice v.wav"}));
    advance(300);
    EXPECT_TRUE(m.TakeLog().empty());  // the music waits for the voice
    m.voicePlaying = false;
    advance(100);
    EXPECT_EQ(m.TakeLog(), (Log{"open m.mid", "play"}));
    EXPECT_TRUE(p.audio().voiceFinished());
  });
  run(0, [](CardPlayer& p, BackgroundMedia& m, auto advance) {
    m.TakeLog();
    m.position = 999;
    advance(10);
    advance(50);
    EXPECT_EQ(m.TakeLog(), (Log{"stop", "voice v.wav"}));  // no replay while the voice plays
    m.voicePlaying = false;
    advance(10);
    EXPECT_EQ(m.TakeLog(), (Log{"seek", "play"}));
    EXPECT_EQ(p.audio().completedPlays(), 1);
  });
  run(3, [](CardPlayer&, BackgroundMedia& m, auto advance) {
    m.TakeLog();
    m.position = 400;
    advance(50);
    EXPECT_EQ(m.TakeLog(), (Log{"pause", "voice v.wav"}));
    m.voicePlaying = false;
    advance(10);
    EXPECT_EQ(m.TakeLog(), (Log{"resume"}));
  });
}

TEST(AudioSequenceTest, RepeatRuleCountsPlaysAndZeroRepeatsWithoutEnd) {
  {
    Rig rig;
    CardPlayerConfig c = AudioConfig(2, 2);
    c.voiceUsed = false;
    CardPlayer p(c, rig.Env());
    p.Show();
    EXPECT_TRUE(p.audio().voiceStarted());  // set when no voice is used
    rig.media.TakeLog();
    rig.media.position = 999;
    rig.Advance(p, 10);
    EXPECT_EQ(rig.media.TakeLog(), (Log{"seek", "play"}));
    rig.media.position = 999;
    rig.Advance(p, 10);
    EXPECT_TRUE(rig.media.TakeLog().empty());
    EXPECT_EQ(p.audio().completedPlays(), 2);
  }
  {
    Rig rig;
    CardPlayerConfig c = AudioConfig(2, 0);
    c.voiceUsed = false;
    CardPlayer p(c, rig.Env());
    p.Show();
    for (int i = 0; i < 5; ++i) {
      rig.media.position = 999;
      rig.Advance(p, 10);
    }
    EXPECT_EQ(p.audio().completedPlays(), 5);
    EXPECT_EQ(rig.media.position, 0);
    EXPECT_TRUE(p.audio().audioTimerOn());
  }
}

TEST(AudioSequenceTest, OrderOneStartsTheMusicOnlyAfterTheVoice) {
  Rig rig;
  CardPlayer p(AudioConfig(1, 1), rig.Env());
  p.Show();
  while (!rig.media.inVoice) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  rig.Advance(p, 300);
  EXPECT_TRUE(p.audio().voiceStarted());
  EXPECT_FALSE(p.audio().voiceFinished());
  EXPECT_EQ(rig.media.TakeLog(), (Log{"voice sync v.wav"}));
  rig.media.FinishVoice();
  while (!p.audio().voiceFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  rig.Advance(p, 100);
  EXPECT_EQ(rig.media.TakeLog(), (Log{"voice end", "open m.mid", "play"}));
  EXPECT_TRUE(p.audio().audioTimerOn());
}

TEST(AudioSequenceTest, OrderTwoStartsBothAndOrderFiveWaitsForTheGreeting) {
  Rig rig;
  CardPlayer p(AudioConfig(2, 1), rig.Env());
  p.Show();
  EXPECT_EQ(rig.media.TakeLog(), (Log{"open m.mid", "play", "voice v.wav"}));
  EXPECT_TRUE(p.audio().voiceStarted());

  Rig rig5;
  CardPlayerConfig c = AudioConfig(5, 1);
  c.greetingBox = true;
  c.singleClick = true;
  CardPlayer q(c, rig5.Env());
  q.Show();
  EXPECT_EQ(rig5.media.TakeLog(), (Log{"open m.mid", "play"}));
  EXPECT_FALSE(q.audio().voiceStarted());
  q.Click();
  EXPECT_EQ(rig5.media.TakeLog(), (Log{"voice v.wav"}));
  EXPECT_TRUE(q.audio().voiceStarted());
}

TEST(AudioSequenceTest, OrdersThreeAndFourCueTheVoiceAtTheMusicPosition) {
  Rig rig;
  CardPlayer p(AudioConfig(3, 1), rig.Env());
  p.Show();
  rig.media.TakeLog();
  rig.media.position = 399;
  rig.Advance(p, 10);
  EXPECT_TRUE(rig.media.TakeLog().empty());
  rig.media.position = 400;
  rig.Advance(p, 10);
  EXPECT_EQ(rig.media.TakeLog(), (Log{"pause", "voice sync v.wav", "voice end", "resume"}));
  rig.Advance(p, 10);
  EXPECT_TRUE(rig.media.TakeLog().empty());  // once only

  Rig rig4;
  CardPlayer q(AudioConfig(4, 1), rig4.Env());
  q.Show();
  rig4.media.TakeLog();
  rig4.media.position = 450;
  rig4.Advance(q, 20);
  EXPECT_EQ(rig4.media.TakeLog(), (Log{"voice v.wav"}));
}

TEST(AudioSequenceTest, WithoutMusicOrdersZeroThreeFourPlayTheVoiceAtTheStart) {
  for (int order : {0, 3, 4}) {
    Rig rig;
    CardPlayerConfig c = AudioConfig(order, 1);
    c.musicUsed = false;
    CardPlayer p(c, rig.Env());
    p.Show();
    EXPECT_EQ(rig.media.TakeLog(), (Log{"voice v.wav"})) << order;
    EXPECT_FALSE(p.audio().audioTimerOn());
  }
  Rig rig;
  rig.media.openOk = false;  // a music file that does not open counts as none
  CardPlayer p(AudioConfig(0, 1), rig.Env());
  p.Show();
  EXPECT_EQ(rig.media.TakeLog(), (Log{"open m.mid", "voice v.wav"}));
}

TEST(AudioSequenceTest, CloseStopsAVoiceThatIsPlaying) {
  Rig rig;
  CardPlayer p(AudioConfig(1, 1), rig.Env());
  p.Show();
  while (!rig.media.inVoice) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  p.Close();
  EXPECT_TRUE(p.audio().voiceFinished());
  Log log = rig.media.TakeLog();
  EXPECT_EQ(log.front(), "voice sync v.wav");
  EXPECT_NE(std::find(log.begin(), log.end(), "stop voice"), log.end());
}

TEST(MailLinkTest, FillsDateAndTimeAndEncodesLineBreaks) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 3;
  t.tm_sec = 7;
  EXPECT_EQ(MakeMailLink("me@x.cn", "看过了", "收到<%=lmdate%>\r\n时间<%=lmtime%>\r\n", t),
            "mailto:me@x.cn?subject=看过了&body=收到2026年1月5日%0a%0d时间09:03:07%0a%0d");
}

TEST(CardPlayerConfigTest, FromSettings) {
  OrdinarySettings s = NewCardSettings();
  s.cardWidth = "320";
  s.cardHeight = "abc";
  s.musicEndless = false;
  s.musicCount = "2";
  s.boxWidth = "216";
  s.boxHeight = "116";
  s.useTime = true;
  s.timelen = "";
  s.openUrl = false;
  s.sendMail = true;
  s.email = "a@b.c";
  s.body = "x";
  std::tm t{};
  CardPlayerConfig c = MakeCardPlayerConfig(s, t);
  EXPECT_EQ(c.width, 320);
  EXPECT_EQ(c.height, 0);
  EXPECT_EQ(c.musicCount, 2);
  EXPECT_EQ(c.labelWidth, 200);
  EXPECT_EQ(c.labelHeight, 100);
  EXPECT_EQ(c.autoGreetingInterval, 60000);
  EXPECT_TRUE(c.singleClick);
  EXPECT_EQ(c.url, "");
  EXPECT_EQ(c.mailLink, "mailto:a@b.c?subject=我已经看过你的贺卡了&body=x");
  s.musicEndless = true;
  s.timelen = "5";
  EXPECT_EQ(MakeCardPlayerConfig(s, t).musicCount, 0);
  EXPECT_EQ(MakeCardPlayerConfig(s, t).autoGreetingInterval, 5000);
}
