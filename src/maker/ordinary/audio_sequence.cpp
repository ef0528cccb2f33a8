#include "maker/ordinary/audio_sequence.h"

#include <chrono>

namespace ordinary {

AudioSequence::AudioSequence(const CardPlayerConfig& config, CardMedia& media,
                             std::function<void()> processMessages)
    : config_(config), media_(media), processMessages_(std::move(processMessages)),
      background_(media.VoiceInBackground()) {}

AudioSequence::~AudioSequence() { Stop(); }

bool AudioSequence::StartMusic() {
  if (!config_.musicUsed) return false;
  musicOpen_ = media_.OpenMusic(config_.music);
  if (!musicOpen_) return false;
  media_.PlayMusic();
  audioTimer_ = true;
  return true;
}

void AudioSequence::PlayVoiceNow() {
  media_.PlayVoiceAsync(config_.voice);
  voiceStarted_ = true;
}

void AudioSequence::StartVoiceThread() {
  voiceFinished_ = false;
  if (background_) {
    voiceStarted_ = true;
    media_.PlayVoiceAsync(config_.voice);
    return;
  }
  if (voiceThread_.joinable()) voiceThread_.join();
  voiceThread_ = std::thread([this] {
    voiceStarted_ = true;
    media_.PlayVoiceSync(config_.voice);
    voiceFinished_ = true;
  });
}

void AudioSequence::WaitForVoice() {
  while (!voiceFinished_) {
    if (processMessages_) processMessages_();
    else std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool AudioSequence::VoiceEnded() {
  if (background_ && !voiceFinished_ && !media_.VoicePlaying()) voiceFinished_ = true;
  return voiceFinished_;
}

// What an audio tick does once the voice it waited for has ended (background voices only).
void AudioSequence::AfterVoice() {
  if (config_.playOrder == 0) {
    if (completed_ < config_.musicCount || config_.musicCount == 0) {
      media_.SeekMusicToStart();
      media_.PlayMusic();
    } else {
      audioTimer_ = false;
    }
    return;
  }
  media_.ResumeMusic();
  RepeatRule();
}

void AudioSequence::Start() {
  stopped_ = false;
  waitingForVoice_ = false;
  completed_ = 0;
  voiceFinished_ = false;
  voiceStarted_ = !VoiceUsed();
  audioTimer_ = voiceWaitTimer_ = false;
  if (VoiceUsed() && config_.playOrder == 1) {
    StartVoiceThread();
    voiceWaitTimer_ = true;
    return;
  }
  bool music = StartMusic();
  if (!VoiceUsed()) return;
  if (config_.playOrder == 2) PlayVoiceNow();
  // Orders 0, 3 and 4 cue the voice from the music; with no music it plays at once.
  if (!music && (config_.playOrder == 0 || config_.playOrder == 3 || config_.playOrder == 4)) PlayVoiceNow();
}

void AudioSequence::VoiceWaitTick() {
  if (!voiceWaitTimer_ || !VoiceEnded()) return;
  voiceWaitTimer_ = false;
  StartMusic();
}

void AudioSequence::RepeatRule() {
  if (media_.MusicPosition() < media_.MusicLength() - 1) return;
  ++completed_;
  if (completed_ < config_.musicCount || config_.musicCount == 0) {
    media_.SeekMusicToStart();
    media_.PlayMusic();
  } else {
    // The music has played its count: nothing is left for the timer to do.
    audioTimer_ = false;
  }
}

void AudioSequence::AudioTick() {
  if (!audioTimer_ || stopped_) return;
  audioTimer_ = false;  // off during the tick
  bool keep = true;
  const int order = config_.playOrder;
  if (waitingForVoice_) {
    audioTimer_ = true;
    if (!VoiceEnded()) return;
    waitingForVoice_ = false;
    AfterVoice();
    return;
  }
  if (VoiceUsed() && order == 0) {
    if (media_.MusicPosition() >= media_.MusicLength() - 1) {
      media_.StopMusic();
      ++completed_;
      if (!voiceStarted_) {
        StartVoiceThread();
        if (background_) {
          waitingForVoice_ = audioTimer_ = true;
          return;
        }
        WaitForVoice();
        if (stopped_) return;
      }
      if (completed_ < config_.musicCount || config_.musicCount == 0) {
        media_.SeekMusicToStart();
        media_.PlayMusic();
      } else {
        keep = false;
      }
    }
    audioTimer_ = keep;
    return;
  }
  audioTimer_ = true;
  if (VoiceUsed() && order == 3 && !voiceStarted_ && media_.MusicPosition() >= config_.musicPosition) {
    media_.PauseMusic();
    StartVoiceThread();
    if (background_) {
      waitingForVoice_ = true;
      return;
    }
    WaitForVoice();
    if (stopped_) {
      audioTimer_ = false;
      return;
    }
    media_.ResumeMusic();
  } else if (VoiceUsed() && order == 4 && !voiceStarted_ && media_.MusicPosition() >= config_.musicPosition) {
    PlayVoiceNow();
  }
  RepeatRule();
}

void AudioSequence::GreetingShown() {
  if (VoiceUsed() && config_.playOrder == 5 && !stopped_) PlayVoiceNow();
}

void AudioSequence::Stop() {
  if (!stopped_) {
    stopped_ = true;
    audioTimer_ = voiceWaitTimer_ = false;
    media_.StopVoice();
  }
  if (voiceThread_.joinable()) voiceThread_.join();
  if (musicOpen_) {
    media_.CloseMusic();
    musicOpen_ = false;
  }
}

}  // namespace ordinary
