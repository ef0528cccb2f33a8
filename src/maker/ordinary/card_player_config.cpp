#include "maker/ordinary/card_player_config.h"

#include <algorithm>

#include "maker/ordinary/mail_link.h"
#include "platform/text.h"

namespace ordinary {

namespace {

int Parse(const std::string& text, int fallback) { return platform::StrToIntDef(text, fallback); }

}  // namespace

CardPlayerConfig MakeCardPlayerConfig(const OrdinarySettings& s, const std::tm& now) {
  CardPlayerConfig c;
  c.width = std::max(0, Parse(s.cardWidth, 0));
  c.height = std::max(0, Parse(s.cardHeight, 0));
  c.windowColor = s.cardBkColor;
  c.transparent = s.cardBkTran;
  c.cardImg = s.cardImg;

  c.musicUsed = s.bkMusic;
  c.music = s.music;
  c.musicCount = s.musicEndless ? 0 : std::max(0, Parse(s.musicCount, 0));
  c.voiceUsed = s.useWav;
  c.voice = s.wav;
  c.playOrder = s.playSet;
  c.musicPosition = s.playPosition;

  // A zero or negative interval would make the timers spin; one millisecond is the shortest step.
  c.moveInterval = std::max(1, Parse(s.move, 100));
  c.startPosition = s.moveSet1;
  c.finalPosition = s.moveSet2;
  c.centreLock = s.cen;
  c.loop = s.moves;

  c.singleClick = s.click;
  c.autoGreeting = s.useTime;
  int seconds = Parse(s.timelen, 0);
  c.autoGreetingInterval = seconds > 0 ? seconds * 1000 : 60000;

  c.greetingBox = s.HasGreetingBox();
  c.boxPicture = s.cardBox;
  c.labelWidth = std::max(0, Parse(s.boxWidth, 0) - 16);
  c.labelHeight = std::max(0, Parse(s.boxHeight, 0) - 16);
  c.greetingText = s.boxWord;
  c.greetingColor = s.boxColor;
  c.boxTransparent = s.boxTran;
  c.scroll = s.boxScroll;
  c.scrollInterval = std::max(1, Parse(s.boxInv, 100));

  if (s.openUrl) c.url = s.url;
  if (s.sendMail) c.mailLink = MakeMailLink(s.email, s.subject, s.body, now);
  return c;
}

}  // namespace ordinary
