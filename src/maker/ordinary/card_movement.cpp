#include "maker/ordinary/card_movement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ordinary {

int ResolvePosition(int position, RandomSource& random) {
  if (position == 0) return 1 + random.Next(9);
  return position;
}

MovementPlan PlanMovement(int startPosition, int finalPosition, bool centreLock, ScreenSize screen, int w,
                          int h, RandomSource& random) {
  MovementPlan plan;
  int from = 1, to = 1;
  if (!centreLock) {
    from = ResolvePosition(startPosition, random);
    to = ResolvePosition(finalPosition, random);
  }
  plan.start = PositionOf(from, screen.width, screen.height, w, h);
  plan.target = PositionOf(to, screen.width, screen.height, w, h);
  plan.moves = !centreLock;
  return plan;
}

Point LoopStep(Point p, ScreenSize screen, int w, int h) {
  const int right = screen.width - w;
  const int bottom = screen.height - h;
  // The edge rules are tested one after another on the position as it changes, so a corner is
  // turned within one tick.
  if (p.left == right && p.top >= 0 && p.top <= bottom) p.top = std::min(p.top + 1, bottom);
  if (p.top == bottom && p.left > 0) p.left = std::max(p.left - 1, 0);
  if (p.left == 0 && p.top > 0) p.top = std::max(p.top - 1, 0);
  if (p.top == 0 && p.left < right) p.left = std::min(p.left + 1, right);
  if (p.top > 0 && p.top < bottom && p.left > 0 && p.left < right) p.top = std::max(p.top - 1, 0);
  return p;
}

Point PathStep(Point p, Point start, Point target) {
  if (start.left == target.left) {
    if (p.top < target.top) ++p.top;
    else if (p.top > target.top) --p.top;
    return p;
  }
  if (p.left < target.left) ++p.left;
  else if (p.left > target.left) --p.left;
  if (p.top != target.top) {
    double done = 1.0 - static_cast<double>(std::abs(target.left - p.left)) / std::abs(target.left - start.left);
    // nearbyint under the default rounding mode sends halves to the even integer.
    p.top = start.top + static_cast<int>(std::nearbyint(done * (target.top - start.top)));
  }
  return p;
}

}  // namespace ordinary
