#include "maker/ordinary/card_player.h"

#include "maker/ordinary/close_actions.h"

namespace ordinary {

CardPlayer::CardPlayer(const CardPlayerConfig& config, CardPlayerEnv env)
    : config_(config), env_(std::move(env)), audio_(config_, *env_.media, env_.processMessages) {
  window_.width = config_.width;
  window_.height = config_.height;
}

void CardPlayer::StartTimer(Timer& t, int interval) {
  t.on = true;
  t.interval = interval;
  t.due = env_.clock->NowMs() + interval;
}

bool CardPlayer::Due(Timer& t, int64_t now) { return t.on && now >= t.due; }

void CardPlayer::Show() {
  if (greetingShown_ || closed_) return;
  shown_ = true;
  scrollOffset_ = 0;
  plan_ = PlanMovement(config_.startPosition, config_.finalPosition, config_.centreLock, env_.screen,
                       config_.width, config_.height, *env_.random);
  window_.left = plan_.start.left;
  window_.top = plan_.start.top;
  if (plan_.moves) StartTimer(movement_, config_.moveInterval);
  if (config_.autoGreeting) StartTimer(autoGreeting_, config_.autoGreetingInterval);
  audio_.Start();
  if (audio_.voiceWaitTimerOn()) StartTimer(voiceWait_, kVoiceWaitTimerMs);
  if (audio_.audioTimerOn()) StartTimer(audioTimer_, kAudioTimerMs);
}

void CardPlayer::Poll() {
  if (closed_) return;
  const int64_t now = env_.clock->NowMs();
  if (Due(voiceWait_, now)) {
    voiceWait_.due = now + voiceWait_.interval;
    audio_.VoiceWaitTick();
    if (!audio_.voiceWaitTimerOn()) voiceWait_.on = false;
    if (audio_.audioTimerOn() && !audioTimer_.on) StartTimer(audioTimer_, kAudioTimerMs);
  }
  if (Due(audioTimer_, now)) {
    audioTimer_.on = false;  // off during the tick, which may wait for the voice
    audio_.AudioTick();
    if (closed_) return;
    if (audio_.audioTimerOn()) StartTimer(audioTimer_, kAudioTimerMs);
  }
  if (Due(movement_, now)) {
    movement_.on = false;
    MovementTick();
    if (!greetingShown_) StartTimer(movement_, config_.moveInterval);
  }
  if (Due(autoGreeting_, now)) {
    autoGreeting_.on = false;  // fires once
    if (!greetingShown_) Activate();
  }
  if (closed_) return;
  if (Due(scroll_, now)) {
    scroll_.due = now + scroll_.interval;
    ScrollTick();
  }
}

void CardPlayer::MovementTick() {
  Point p = place();
  p = config_.loop ? LoopStep(p, env_.screen, window_.width, window_.height)
                   : PathStep(p, plan_.start, plan_.target);
  window_.left = p.left;
  window_.top = p.top;
}

void CardPlayer::Click() {
  if (config_.singleClick) Activate();
}

void CardPlayer::DoubleClick() {
  if (!config_.singleClick) Activate();
}

void CardPlayer::Activate() {
  if (closed_ || !shown_) return;
  if (config_.greetingBox && !greetingShown_) ShowGreeting();
  else Close();
}

void CardPlayer::ShowGreeting() {
  movement_.on = false;
  window_ = GreetingWindowRect(place(), config_.labelWidth, config_.labelHeight, env_.screen);
  if (config_.scroll) {
    scrollOffset_ = window_.height;
    StartTimer(scroll_, config_.scrollInterval);
  }
  autoGreeting_.on = false;
  audio_.GreetingShown();
  entrance_ = ChooseEntrance(*env_.random);
  greetingShown_ = true;
}

void CardPlayer::SetScrollText(int lineHeight, int lineCount) {
  lineHeight_ = lineHeight;
  lineCount_ = lineCount;
}

void CardPlayer::ScrollTick() {
  --scrollOffset_;
  if (scrollOffset_ < -(lineHeight_ * lineCount_)) scrollOffset_ = window_.height;
}

void CardPlayer::Close() {
  if (closed_) return;
  closed_ = true;
  scroll_.on = movement_.on = audioTimer_.on = voiceWait_.on = autoGreeting_.on = false;
  audio_.Stop();
  if (env_.open) RunCloseActions(config_, env_.open);
}

}  // namespace ordinary
