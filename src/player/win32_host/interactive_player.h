#pragma once
// exe2.exe and exe3.exe on Windows: an interactive card played by the card stage in a host
// window. The stage decides what the card shows and does; this window hands it the time, the
// screen and the mouse, shows its bitmap, plays the music and sounds through MCI, moves where
// the stage says, and opens a Flash element's movie page in the default browser when clicked.
#include <map>
#include <memory>
#include <string>

#include "platform/mci.h"
#include "player/card_source.h"
#include "player/stage/card_stage.h"
#include "player/win32_host/host_window.h"

namespace win32_host {

class InteractiveWindow : public HostWindow, public stage::StageSound, public stage::StageUi {
 public:
  InteractiveWindow(player::OpenedCard& card, player::Launcher& launcher);
  ~InteractiveWindow() override;

  // Makes and shows the window and starts the card.
  bool Open();

  // StageSound
  void PlayMusic(const std::string& path) override;
  void StopMusic() override;
  void PlaySound(const std::string& path) override;
  // StageUi
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                  platform::MsgButtons buttons) override;
  void CloseCard() override;
  void MoveWindow(int left, int top) override;
  void ResizeWindow(int width, int height) override;
  bool ShowFlashMovie(int tag, const stage::ScreenRect& rect, const std::string& path) override;

 protected:
  void Paint(platform::Bitmap& surface) override;
  void Tick() override;
  void MouseMove(int x, int y) override;
  void MouseDown(int x, int y) override;
  void MouseUp(int x, int y) override;
  void DoubleClick(int x, int y) override;
  void MouseLeave() override;
  bool SetCursorFor(int x, int y) override;
  void Closed() override;

 private:
  struct FlashMovie {
    stage::ScreenRect rect;
    std::string path;
  };
  void AfterInput();
  void KeepMusicPlaying();
  const FlashMovie* FlashAt(int x, int y) const;

  player::OpenedCard& card_;
  std::unique_ptr<stage::CardStage> stage_;
  std::map<int, FlashMovie> flashes_;
  platform::mci::DeviceId music_ = 0;
  int64_t nextMusicCheck_ = 0;
  bool loaded_ = false;
};

// The program: opens the card named on the command line or appended to the program, shows it,
// and returns the exit code. A card that cannot be opened is reported in a message box (1).
int RunInteractivePlayer();

}  // namespace win32_host
