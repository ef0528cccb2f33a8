#pragma once
// What the ordinary card player needs to know before its window is shown, taken from the
// card's settings: sizes and numbers parsed, the music count resolved, the closing links built.
#include <ctime>
#include <string>

#include "maker/ordinary/ordinary_settings.h"
#include "platform/color.h"

namespace ordinary {

struct CardPlayerConfig {
  int width = 0;
  int height = 0;
  platform::Color windowColor = 0;
  bool transparent = false;
  std::string cardImg;

  bool musicUsed = false;
  std::string music;
  int musicCount = 0;  // 0 = without end
  bool voiceUsed = false;
  std::string voice;
  int playOrder = 0;       // index into kPlayOrders
  int musicPosition = 0;   // cue position for play orders 3 and 4

  int moveInterval = 100;  // ms per movement step
  int startPosition = 0;   // kPositions index; 0 = random
  int finalPosition = 0;
  bool centreLock = false;
  bool loop = false;

  bool singleClick = false;
  bool autoGreeting = false;
  int autoGreetingInterval = 60000;  // ms

  bool greetingBox = false;
  std::string boxPicture;
  int labelWidth = 0;   // greeting label: the box picture's size minus 16 each way
  int labelHeight = 0;
  std::string greetingText;
  platform::Color greetingColor = 0;
  bool boxTransparent = false;
  bool scroll = false;
  int scrollInterval = 100;

  std::string url;       // "" = none
  std::string mailLink;  // "" = none
};

// Numbers typed into the wizard that do not parse fall back to the wizard's defaults (card size
// 0, 100 ms steps, 60 s), so a damaged value never stops the card from playing.
CardPlayerConfig MakeCardPlayerConfig(const OrdinarySettings& s, const std::tm& now);

}  // namespace ordinary
