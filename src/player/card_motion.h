#pragma once
// Where the card window comes up and how it moves: locked at the screen centre, looping
// clockwise around the screen edges, or travelling from the start position to the end
// position, one pixel per step at the card's speed (milliseconds per step).
#include "maker/ordinary/card_movement.h"
#include "player/card_model.h"

namespace player {

using ordinary::Point;
using ordinary::RandomSource;
using ordinary::ScreenSize;

// A uniform random source seeded once per run.
class StdRandomSource : public RandomSource {
 public:
  StdRandomSource();
  int Next(int n) override;

 private:
  unsigned state_;
};

class CardMotion {
 public:
  // w, h: the window's outer size. Random positions (0) draw one of 1..9 each, on their own.
  CardMotion(const WindowModel& window, ScreenSize screen, int w, int h, RandomSource& random);

  Point Position() const { return pos_; }
  Point Start() const { return start_; }
  Point Target() const { return target_; }
  bool Loops() const { return loop_; }
  // True while a step would still move the window (the timer runs only then).
  bool Moving() const;
  int IntervalMs() const { return interval_; }
  // One step; answers the new position.
  Point Step();

 private:
  ScreenSize screen_;
  int w_, h_;
  Point start_, target_, pos_;
  bool moves_ = false;
  bool loop_ = false;
  int interval_ = 100;
};

}  // namespace player
