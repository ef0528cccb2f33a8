#pragma once
// Where an ordinary card comes up, where it travels to, and one step of its travel: along the
// straight line from start to target, or clockwise around the screen edges.
#include "maker/ordinary/ordinary_settings.h"

namespace ordinary {

// The random source of the player; tests script it.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int Next(int n) = 0;  // 0 .. n-1
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// Position 0 draws one of 1 to 9; any other position is taken as it is.
int ResolvePosition(int position, RandomSource& random);

struct MovementPlan {
  Point start;
  Point target;
  bool moves = false;  // false when centre-locked: the movement timer stays off
};

// Start and target of a w x h card: each random position draws on its own; centre lock puts
// both at the centre.
MovementPlan PlanMovement(int startPosition, int finalPosition, bool centreLock, ScreenSize screen, int w,
                          int h, RandomSource& random);

// One tick of the loop: one pixel clockwise around the edges; a window inside the screen first
// rises to the top edge.
Point LoopStep(Point p, ScreenSize screen, int w, int h);

// One pixel along the line from start to target; at the target nothing moves.
Point PathStep(Point p, Point start, Point target);

}  // namespace ordinary
