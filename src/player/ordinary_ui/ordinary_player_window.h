#pragma once
// The ordinary card player window "Lumo贺卡": a borderless window that stays above all others,
// shows the card picture (still picture stretched, GIF animation keeping its proportions, movie
// at the card size), comes up at its start position and travels, plays music and voice in the
// chosen order, turns into the greeting box on a click, a double click or after a time (with an
// animated entrance and optionally scrolling text), and opens the web address and the reply
// mail when it closes. The rules live in ordinary::CardPlayer; this window draws what the
// player says and forwards clicks, double clicks and closing to it.
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

class QTimer;

namespace ordinary_player_ui {

class CardPicture;
class GreetingText;
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

class TForm5 : public QWidget {
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
  ordinary::CardPlayer* Player() { return player_.get(); }
  bool GreetingShown() const { return greetingDrawn_; }
  bool EntranceRunning() const;
  bool ClosedCard() const { return finished_; }
  // The greeting text lines as the greeting label breaks them, and their line height.
  int GreetingLineCount() const;
  int GreetingLineHeight() const;
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
  void Build(PlayerHooks hooks);
  void Sync();
  void ShowGreetingWindow();
  void Finish();
  void PaintContent(QPainter& p);
  QImage SnapshotUnder(const QRect& screenRect) const;
  QPoint ScreenOrigin() const;
  int64_t NowMs();

  ordinary::OrdinarySettings settings_;
  ordinary::CardPlayerConfig config_;
  PlayerHooks hooks_;
  QSize screenSize_;
  QImage snapshot_;

  struct Owned;  // the real clock, random source and media when the hooks give none
  std::unique_ptr<Owned> owned_;
  std::unique_ptr<ordinary::CardPlayer> player_;

  std::unique_ptr<CardPicture> cardPicture_;
  std::unique_ptr<MoviePlayer> movie_;
  std::unique_ptr<CardPicture> boxPicture_;
  std::unique_ptr<GreetingText> greetingText_;

  QTimer* pollTimer_ = nullptr;
  QTimer* topmostTimer_ = nullptr;
  QTimer* frameTimer_ = nullptr;  // GIF frames and the entrance
  int64_t entranceStart_ = -1;
  int lastScroll_ = 0;
  bool pressed_ = false;
  bool started_ = false;
  bool greetingDrawn_ = false;
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
