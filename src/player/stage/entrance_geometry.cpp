#include "player/stage/entrance_geometry.h"

#include <algorithm>
#include <cstdint>

namespace stage {

namespace {

// part of a length at elapsed / duration, rounded down so the last pixel comes with the end.
int Part(int length, int elapsed, int duration) {
  return static_cast<int>(static_cast<int64_t>(length) * elapsed / duration);
}

}  // namespace

EntranceFrame EntranceFrameAt(ordinary::Entrance entrance, int w, int h, int elapsedMs, int durationMs) {
  using ordinary::Entrance;
  w = std::max(0, w);
  h = std::max(0, h);
  EntranceFrame f;
  if (durationMs <= 0 || elapsedMs >= durationMs) {
    f.width = w;
    f.height = h;
    f.done = true;
    return f;
  }
  const int t = std::max(0, elapsedMs);
  const int pw = Part(w, t, durationMs);
  const int ph = Part(h, t, durationMs);
  switch (entrance) {
    case Entrance::RollLeftToRight:
      f = {0, 0, pw, h};
      break;
    case Entrance::RollRightToLeft:
      f = {w - pw, 0, pw, h};
      break;
    case Entrance::RollTopToBottom:
      f = {0, 0, w, ph};
      break;
    case Entrance::RollBottomToTop:
      f = {0, h - ph, w, ph};
      break;
    case Entrance::Expand:
      // Grows about the centre; odd leftovers go to the right and bottom.
      f = {(w - pw) / 2, (h - ph) / 2, pw, ph};
      break;
    case Entrance::Fade:
      f = {0, 0, w, h};
      f.opacity = Part(255, t, durationMs);
      break;
  }
  return f;
}

}  // namespace stage
