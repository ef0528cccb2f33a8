#pragma once
// Hosts that do nothing but remember what the stage asked of them: headless tests, tools, and
// a stage that plays where no window exists.
#include <string>
#include <vector>

#include "maker/ordinary/card_media.h"
#include "player/stage/stage_hosts.h"

namespace stage {

class NullSound : public StageSound {
 public:
  void PlayMusic(const std::string& path) override;
  void StopMusic() override;
  void PlaySound(const std::string& path) override;

  std::string music;                 // the music playing ("" none)
  std::vector<std::string> calls;    // "music <path>", "stop music", "sound <path>"
};

class NullNavigator : public StageNavigator {
 public:
  bool Open(const std::string& target) override;
  bool StartProgram(const std::string& path) override;
  bool StartPlayer(const std::string& stub, const std::string& cardPath) override;

  bool answer = true;                // what every call reports
  std::vector<std::string> calls;    // "open <target>", "run <path>", "player <stub> <card>"
};

class NullUi : public StageUi {
 public:
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                  platform::MsgButtons buttons) override;
  void CloseCard() override;
  void MoveWindow(int left, int top) override;
  void ResizeWindow(int width, int height) override;
  bool ShowFlashMovie(int tag, const ScreenRect& rect, const std::string& path) override;

  platform::MsgResult answer = platform::MsgResult::No;  // the answer to questions
  std::vector<std::string> messages;  // the texts shown, questions included
  bool closed = false;
  ScreenRect window;                  // last place and size
  int moves = 0;
  std::vector<std::string> flashes;   // "<tag> <path>"
};

// The three together.
struct NullHosts {
  NullSound sound;
  NullNavigator navigator;
  NullUi ui;
  StageHosts Hosts() { return {&sound, &navigator, &ui}; }
};

// Ordinary-card media that plays nothing: music has no length, voices end at once.
class SilentCardMedia : public ordinary::CardMedia {
 public:
  bool OpenMusic(const std::string&) override { return false; }
  void PlayMusic() override {}
  void StopMusic() override {}
  void PauseMusic() override {}
  void ResumeMusic() override {}
  void SeekMusicToStart() override {}
  int64_t MusicLength() override { return 0; }
  int64_t MusicPosition() override { return 0; }
  void CloseMusic() override {}
  void PlayVoiceAsync(const std::string&) override {}
  void PlayVoiceSync(const std::string&) override {}
  void StopVoice() override {}
};

}  // namespace stage
