#include "player/card_motion.h"

#include <chrono>

namespace player {

StdRandomSource::StdRandomSource()
    : state_(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) | 1u) {}

int StdRandomSource::Next(int n) {
  if (n <= 1) return 0;
  // xorshift: uniform enough for choosing a screen position
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<int>(state_ % static_cast<unsigned>(n));
}

CardMotion::CardMotion(const WindowModel& window, ScreenSize screen, int w, int h, RandomSource& random)
    : screen_(screen), w_(w), h_(h), interval_(window.moveIntervalMs) {
  const ordinary::MovementPlan plan =
      ordinary::PlanMovement(window.startPosition, window.endPosition, window.lockCentre, screen, w, h, random);
  start_ = plan.start;
  target_ = plan.target;
  pos_ = start_;
  moves_ = plan.moves;
  loop_ = plan.moves && window.loopMove;
}

bool CardMotion::Moving() const {
  if (!moves_) return false;
  if (loop_) return true;
  return !(pos_ == target_);
}

Point CardMotion::Step() {
  if (!Moving()) return pos_;
  pos_ = loop_ ? ordinary::LoopStep(pos_, screen_, w_, h_) : ordinary::PathStep(pos_, start_, target_);
  return pos_;
}

}  // namespace player
