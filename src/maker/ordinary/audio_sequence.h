#pragma once
// The order in which an ordinary card plays its music and its recorded voice (kPlayOrders),
// the music's repeat count, and the two flags that follow the voice. The player calls Start when
// the card is shown, the ticks when their timers fire, GreetingShown when the greeting comes up
// and Stop when the card closes.
//
// The voice of play orders 0, 1 and 3 plays synchronously on a worker thread made for each play;
// orders 0 and 3 wait for it by processing window messages, order 1 polls it with its timer.
// Hosts whose media play the voice in the background (CardMedia::VoiceInBackground) get the same
// order without a thread: the timer that would wait instead looks again on its next tick.
// Without music (not used, or a file that does not open) orders 0, 3 and 4 have no music to cue
// the voice, so they play the voice once, at the start.
#include <atomic>
#include <functional>
#include <thread>

#include "maker/ordinary/card_media.h"
#include "maker/ordinary/card_player_config.h"

namespace ordinary {

inline constexpr int kAudioTimerMs = 10;
inline constexpr int kVoiceWaitTimerMs = 100;

class AudioSequence {
 public:
  // processMessages is called over and over while the player waits for a voice; it lets the
  // window go on working. An empty function waits by sleeping.
  AudioSequence(const CardPlayerConfig& config, CardMedia& media, std::function<void()> processMessages = {});
  ~AudioSequence();
  AudioSequence(const AudioSequence&) = delete;
  AudioSequence& operator=(const AudioSequence&) = delete;

  void Start();
  void AudioTick();
  void VoiceWaitTick();
  void GreetingShown();
  // Stops the voice, waits for its thread and closes the music.
  void Stop();

  bool audioTimerOn() const { return audioTimer_; }
  bool voiceWaitTimerOn() const { return voiceWaitTimer_; }
  bool voiceStarted() const { return voiceStarted_; }
  bool voiceFinished() const { return voiceFinished_; }
  bool musicOpen() const { return musicOpen_; }
  int completedPlays() const { return completed_; }

 private:
  bool VoiceUsed() const { return config_.voiceUsed; }
  bool StartMusic();
  void StartVoiceThread();
  void WaitForVoice();
  bool VoiceEnded();
  void AfterVoice();
  void RepeatRule();
  void PlayVoiceNow();

  const CardPlayerConfig config_;
  CardMedia& media_;
  std::function<void()> processMessages_;
  std::thread voiceThread_;
  // Written by the voice thread, read by the player's thread.
  std::atomic<bool> voiceStarted_{false};
  std::atomic<bool> voiceFinished_{false};
  bool audioTimer_ = false;
  bool voiceWaitTimer_ = false;
  bool musicOpen_ = false;
  const bool background_;     // the media play the voice in the background
  bool waitingForVoice_ = false;  // an audio tick is waiting for the voice (background only)
  bool stopped_ = true;  // until Start
  int completed_ = 0;
};

}  // namespace ordinary
