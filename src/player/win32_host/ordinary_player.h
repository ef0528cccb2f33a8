#pragma once
// exe1.exe on Windows: an ordinary card played by the ordinary stage in a host window. The
// window follows the stage's place and size (movement, greeting box), shows what it draws (a
// transparent card over the screen as it was when the card came up), and hands it the clicks.
#include <memory>
#include <random>
#include <string>

#include "maker/ordinary/card_media.h"
#include "maker/ordinary/card_player_config.h"
#include "maker/ordinary/ordinary_settings.h"
#include "player/stage/ordinary_stage.h"
#include "player/win32_host/host_window.h"

namespace win32_host {

class OrdinaryWindow : public HostWindow, public stage::StageUi {
 public:
  explicit OrdinaryWindow(const ordinary::OrdinarySettings& settings);
  ~OrdinaryWindow() override;

  bool Open(HICON icon);

  // StageUi
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                  platform::MsgButtons buttons) override;
  void CloseCard() override;
  void MoveWindow(int left, int top) override;
  void ResizeWindow(int width, int height) override;
  bool ShowFlashMovie(int, const stage::ScreenRect&, const std::string&) override { return false; }

 protected:
  void Paint(platform::Bitmap& surface) override;
  void Tick() override;
  void MouseDown(int x, int y) override;
  void MouseUp(int x, int y) override;
  void DoubleClick(int x, int y) override;
  void Closed() override;

 private:
  class Random : public ordinary::RandomSource {
   public:
    Random() : engine_(static_cast<unsigned>(NowMs())) {}
    int Next(int n) override { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(engine_); }

   private:
    std::mt19937 engine_;
  };

  ordinary::OrdinarySettings settings_;
  ordinary::CardPlayerConfig config_;
  std::unique_ptr<ordinary::CardMedia> media_;
  Random random_;
  std::unique_ptr<platform::Bitmap> screenUnder_;
  std::unique_ptr<stage::OrdinaryStage> stage_;
  uint64_t lookKey_ = 0;
  bool pressed_ = false;
};

// The program: opens the ordinary card named on the command line or appended to the program,
// plays it, and returns the exit code. A card that cannot be played is reported (1).
int RunOrdinaryPlayer();

}  // namespace win32_host
