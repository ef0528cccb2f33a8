#pragma once
// The window of the greeting box: its size from the greeting label, its place pulled fully onto
// the screen, and the animated entrance it comes up with.
#include "maker/ordinary/card_movement.h"

namespace ordinary {

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowRect&) const = default;
};

// The greeting window: the label size plus 16 each way, at the card's place moved as little as
// needed to lie on the screen (the left and top edges win when the window is larger than it).
WindowRect GreetingWindowRect(Point cardPlace, int labelWidth, int labelHeight, ScreenSize screen);

enum class Entrance { RollLeftToRight, RollRightToLeft, RollTopToBottom, RollBottomToTop, Expand, Fade };

// The entrance for a draw of 0 to 7.
Entrance EntranceFor(int number);
Entrance ChooseEntrance(RandomSource& random);

// The animated display lasts this long.
inline constexpr int kEntranceMs = 600;

}  // namespace ordinary
