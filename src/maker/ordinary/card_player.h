#pragma once
// The ordinary card player without its window: where the card stands, when it moves, what a
// click does, when the greeting comes up and how, the sound, and what closing opens. The window
// layer draws what this says and forwards clicks; a clock drives the timers, so tests run the
// card tick by tick.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "maker/ordinary/audio_sequence.h"
#include "maker/ordinary/card_movement.h"
#include "maker/ordinary/card_player_config.h"
#include "maker/ordinary/greeting_window.h"

namespace ordinary {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t NowMs() = 0;
};

struct CardPlayerEnv {
  Clock* clock = nullptr;
  ScreenSize screen;
  RandomSource* random = nullptr;
  CardMedia* media = nullptr;
  std::function<bool(const std::string&)> open;    // the shell's "open"; empty = opens nothing
  std::function<void()> processMessages;           // while waiting for a voice
};

class CardPlayer {
 public:
  CardPlayer(const CardPlayerConfig& config, CardPlayerEnv env);

  // Comes up at the start point and starts moving and playing.
  void Show();
  // Fires every timer that is due by the clock, once each.
  void Poll();
  void Click();
  void DoubleClick();
  // Stops the sound and opens the web address and the mail link.
  void Close();

  // The greeting text has this many lines of this height (measured by the window layer); the
  // scrolling offset runs from the window height up to minus the text height.
  void SetScrollText(int lineHeight, int lineCount);

  const CardPlayerConfig& config() const { return config_; }
  const WindowRect& window() const { return window_; }
  Point place() const { return {window_.left, window_.top}; }
  const MovementPlan& plan() const { return plan_; }
  bool shown() const { return shown_; }
  bool greetingShown() const { return greetingShown_; }
  bool closed() const { return closed_; }
  Entrance entrance() const { return entrance_; }
  int scrollOffset() const { return scrollOffset_; }
  bool movementTimerOn() const { return movement_.on; }
  bool autoGreetingTimerOn() const { return autoGreeting_.on; }
  bool scrollTimerOn() const { return scroll_.on; }
  AudioSequence& audio() { return audio_; }

 private:
  struct Timer {
    bool on = false;
    int interval = 0;
    int64_t due = 0;
  };
  void StartTimer(Timer& t, int interval);
  bool Due(Timer& t, int64_t now);
  void Activate();  // what a matching click does
  void ShowGreeting();
  void MovementTick();
  void ScrollTick();

  CardPlayerConfig config_;
  CardPlayerEnv env_;
  AudioSequence audio_;
  MovementPlan plan_;
  WindowRect window_;
  Timer movement_, audioTimer_, voiceWait_, autoGreeting_, scroll_;
  bool shown_ = false;
  bool greetingShown_ = false;
  bool closed_ = false;
  Entrance entrance_ = Entrance::Expand;
  int scrollOffset_ = 0;
  int lineHeight_ = 0;
  int lineCount_ = 0;
};

}  // namespace ordinary
