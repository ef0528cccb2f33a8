#pragma once
// The ordinary card player window "Lumo贺卡": a borderless window that stays above all others,
// shows the card picture (still picture stretched, GIF animation keeping its proportions, movie
// at the card size), comes up at its start position and travels, plays music and voice in the
// chosen order, turns into the greeting box on a click, a double click or after a time (with an
// animated entrance and optionally scrolling text), and opens the web address and the reply
// mail when it closes. The card plays on stage::OrdinaryStage (the rules in ordinary::CardPlayer);
// this window is its Qt host: it hands the stage the time, clicks and closing, shows the bitmap
// the stage draws, and goes where the stage says.
//
// The wizard's preview:
//
//   ordinary_player_ui::TForm5 form(settings, this);  // settings: the wizard's current record
//   form.ShowModal();                                   // returns when the card has closed
//
// exe1.exe builds it for the settings read back from a card, with the media unpacked to files,
// and calls Start().
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "maker/ordinary/card_player.h"
#include "maker/ordinary/ordinary_settings.h"
#include "platform/bitmap.h"
#include "player/stage/ordinary_stage.h"

class QTimer;

namespace ordinary_player_ui {

class MoviePlayer;

// What the window takes from its surroundings. Every member left empty gets the real thing:
// the steady clock, a time-seeded random source, the platform's music and wave sound, the
// primary screen's size and picture, and the shell's "open" (asking first when a close target
// names a program). Tests put their own in.
struct PlayerHooks {
  ordinary::Clock* clock = nullptr;
  ordinary::RandomSource* random = nullptr;
  ordinary::CardMedia* media = nullptr;
  std::optional<QSize> screenSize;
  std::optional<QImage> screenSnapshot;
  std::function<bool(const std::string&)> open;
  // false: no timer runs by itself; the caller drives the card with Tick().
  bool runTimers = true;
};

class TForm5 : public QWidget, private stage::StageUi {
  Q_OBJECT

 public:
  // settings: an ordinary card's record; its file paths are system paths (GBK), and a relative
  // path is taken from the program folder. The screen snapshot for a transparent background is
  // taken here, before the window exists.
  explicit TForm5(const ordinary::OrdinarySettings& settings, QWidget* parent = nullptr);
  TForm5(const ordinary::OrdinarySettings& settings, PlayerHooks hooks, QWidget* parent = nullptr);
  ~TForm5() override;

  // Setters of the closing links and movement, for a caller that changes them after building
  // the window; they take effect when the card is shown.
  void SetUrl(const std::string& url);                  // "" opens no web address
  void SetMails(const std::string& email, const std::string& subject, const std::string& body);
  void ClearMails();
  void setbnx(int startPosition);                       // position list index; 0 = random
  void setFnx(int finalPosition);
  void setCen(bool centreLock);
  void SetMv(bool loop);
  void Sethck(bool singleClick);
  void SetHdb(bool doubleClick);

  // Shows the card (not modal); Closed() is emitted when it has closed.
  void Start();
  // Shows the card modally and returns when it has closed: the wizard's preview.
  void ShowModal();

  // Runs every timer of the card that is due, then brings the window up to date.
  void Tick();

  // State, for tests and tools.
  const ordinary::CardPlayerConfig& Config() const { return config_; }
  ordinary::CardPlayer* Player() { return stage_ ? &stage_->Player() : nullptr; }
  stage::OrdinaryStage* Stage() { return stage_.get(); }
  bool GreetingShown() const { return stage_ && stage_->GreetingShown(); }
  bool EntranceRunning();
  bool ClosedCard() const { return finished_; }
  // The window as it is drawn now (the entrance at its current stage).
  QImage Frame();

 signals:
  void Closed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // StageUi
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                  platform::MsgButtons buttons) override;
  void CloseCard() override;
  void MoveWindow(int left, int top) override;
  void ResizeWindow(int width, int height) override;
  bool ShowFlashMovie(int tag, const stage::ScreenRect& rect, const std::string& path) override;

  void Build(PlayerHooks hooks);
  void Finish();
  QPoint ScreenOrigin() const;
  int64_t NowMs();

  ordinary::OrdinarySettings settings_;
  ordinary::CardPlayerConfig config_;
  PlayerHooks hooks_;
  QSize screenSize_;
  std::unique_ptr<platform::Bitmap> snapshot_;  // the screen before the card came up

  struct Owned;  // the real clock, random source and media when the hooks give none
  std::unique_ptr<Owned> owned_;
  std::unique_ptr<stage::OrdinaryStage> stage_;
  std::unique_ptr<MoviePlayer> movie_;
  uint64_t lookKey_ = 0;

  QTimer* pollTimer_ = nullptr;
  QTimer* topmostTimer_ = nullptr;
  bool pressed_ = false;
  bool started_ = false;
  bool finished_ = false;
  bool closing_ = false;
};

// The wizard's preview in one call: the window for these settings, shown modally.
void PreviewCard(const ordinary::OrdinarySettings& settings, QWidget* parent = nullptr);

// Tests of the callers see the preview without running it: while a script is installed,
// PreviewCard builds the window and hands it to the script instead of showing it modally.
// Returns the previous script.
using PreviewScript = std::function<void(TForm5& form)>;
PreviewScript SetPreviewScript(PreviewScript script);

}  // namespace ordinary_player_ui
