#pragma once
// The window of an interactive card as exe2.exe and exe3.exe show it: a thin Qt host on
// stage::CardStage. The window has the card's size, title and title bar, the mask shape as
// its shape and the patched icon; it hands the stage the time and the mouse, paints the
// bitmap the stage draws, plays the music and sounds the stage asks for, moves where the
// stage says, and puts a Flash view over each Flash element. Everything the card does is
// decided in the stage.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/bitmap.h"
#include "platform/mci.h"
#include "player/card_source.h"
#include "player/stage/card_stage.h"

namespace cardplayer {

class FlashView;

struct CardWindowOptions {
  bool playMusic = true;        // tests leave the music off
  bool runWindowActions = true; // OnLoad / OnClose
  bool move = true;             // place and move the window on the screen
  // The time in milliseconds; empty: the steady clock. Tests drive their own and call Tick.
  std::function<int64_t()> clock = {};
};

class CardWindow : public QWidget, private stage::StageSound, private stage::StageUi {
  Q_OBJECT

 public:
  // The card and the launcher must outlive the window.
  CardWindow(player::OpenedCard& card, player::Launcher& launcher, CardWindowOptions options = {},
             QWidget* parent = nullptr);
  ~CardWindow() override;

  stage::CardStage& Stage() { return *stage_; }
  const player::CardMotion* Motion() const { return stage_->Motion(); }
  // The Flash view over the Flash element of that Tag (nullptr when there is none).
  FlashView* FlashMovie(int tag) const;
  // Brings the stage up to the clock and repaints; the window's timer calls it when the stage
  // next changes.
  void Tick();
  // The card as it is drawn now.
  QImage Frame();
  bool MusicPlaying() const { return musicDevice_ != 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
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

  int64_t Now() const;
  void Schedule();
  void AfterInput();

  player::OpenedCard& card_;
  CardWindowOptions options_;
  std::unique_ptr<stage::CardStage> stage_;
  std::unique_ptr<platform::Bitmap> surface_;
  QTimer frameTimer_, musicTimer_;
  QPoint screenOrigin_;
  platform::mci::DeviceId musicDevice_ = 0;
  std::map<int, FlashView*> flashes_;
  bool shown_ = false, closing_ = false;
};

}  // namespace cardplayer
