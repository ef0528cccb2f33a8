#pragma once
// The greeting window's animated entrance, drawn by the player itself: at each moment of the
// entrance, which part of the window shows (rolls and expansion) and how opaque it is (fade).
// The part outside shows the screen under the window.
#include "maker/ordinary/greeting_window.h"

namespace stage {

struct EntranceFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int opacity = 255;  // 0 .. 255
  bool done = false;  // the window shows whole
  bool operator==(const EntranceFrame&) const = default;
};

// The visible part of a w x h window elapsedMs into an entrance of durationMs (the platform's
// 600 ms). Rolls uncover the window from one edge, the expansion grows a rectangle from the
// centre, the fade shows the whole window with rising opacity. Before the start nothing shows;
// from durationMs on the whole window does.
EntranceFrame EntranceFrameAt(ordinary::Entrance entrance, int w, int h, int elapsedMs,
                              int durationMs = ordinary::kEntranceMs);

}  // namespace stage
