#include "maker/ordinary/greeting_window.h"

#include <algorithm>

namespace ordinary {

WindowRect GreetingWindowRect(Point cardPlace, int labelWidth, int labelHeight, ScreenSize screen) {
  WindowRect r;
  r.width = labelWidth + 16;
  r.height = labelHeight + 16;
  r.left = std::max(0, std::min(cardPlace.left, screen.width - r.width));
  r.top = std::max(0, std::min(cardPlace.top, screen.height - r.height));
  return r;
}

Entrance EntranceFor(int number) {
  switch (number) {
    case 0: return Entrance::RollLeftToRight;
    case 1: return Entrance::RollRightToLeft;
    case 2: return Entrance::RollTopToBottom;
    case 3: return Entrance::RollBottomToTop;
    case 5:
    case 6: return Entrance::Fade;
    default: return Entrance::Expand;  // 4 and 7
  }
}

Entrance ChooseEntrance(RandomSource& random) { return EntranceFor(random.Next(8)); }

}  // namespace ordinary
