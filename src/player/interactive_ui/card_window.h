#pragma once
// The window of an interactive card as exe2.exe and exe3.exe show it: the card's size, title
// and title bar, background colour and picture, the mask shape as the window's shape, the
// patched icon, background music, screen movement, and the elements (labels, flat buttons,
// images, GIFs, scrolling captions, the picture show box, Flash movies) with their hints,
// cursors and click actions. The decisions live in player::CardRuntime and player::CardMotion;
// this window carries them out.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include "maker/document/element_kinds.h"
#include "platform/mci.h"
#include "player/card_actions.h"
#include "player/card_motion.h"
#include "player/card_source.h"

class QLabel;
class QPushButton;

namespace widgets {
class GifAnimationWidget;
class PicShowBoxWidget;
class ScrollCaptionWidget;
}  // namespace widgets

namespace cardplayer {

class FlashView;

struct CardWindowOptions {
  bool playMusic = true;        // tests leave the music off
  bool runWindowActions = true; // OnLoad / OnClose
  bool move = true;             // place and move the window on the screen
};

class CardWindow : public QWidget, public player::CardHost {
  Q_OBJECT

 public:
  // The card must outlive the window.
  CardWindow(player::OpenedCard& card, player::Launcher& launcher, CardWindowOptions options = {},
             QWidget* parent = nullptr);
  ~CardWindow() override;

  // CardHost
  void CloseCard() override;
  void SetLabelText(int tag, const std::string& text) override;
  bool SetImagePicture(int tag, const std::string& path) override;
  bool SetGifPicture(int tag, const std::string& path) override;
  bool SetFlashMovie(int tag, const std::string& path) override;
  void PicsPrevious() override;
  void PicsNext() override;
  bool PicsShow(int index) override;
  void PlaySound(const std::string& path) override;

  // The widget of an element (nullptr when there is none); the show box has Tag 0.
  QWidget* ElementWidget(document::ElementKind kind, int tag) const;
  widgets::PicShowBoxWidget* ShowBox() const { return showBox_; }
  player::CardRuntime& Runtime() { return *runtime_; }
  const player::CardMotion* Motion() const { return motion_ ? &*motion_ : nullptr; }
  // Loads the show box's pictures and starts it (done once the window is shown).
  void StartShowBox();
  // One movement step (the movement timer calls it).
  void MoveStep();
  bool MusicPlaying() const { return musicDevice_ != 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void BuildElements();
  void Track(QWidget* w, int ind);
  void Clickable(QWidget* w, document::ElementKind kind, int tag);
  void StartMusic();
  void StopMusic();
  std::string MediaPath(const player::MediaRef& ref);

  player::OpenedCard& card_;
  CardWindowOptions options_;
  std::unique_ptr<player::CardRuntime> runtime_;
  player::StdRandomSource random_;
  std::optional<player::CardMotion> motion_;
  QTimer moveTimer_, musicTimer_;
  QImage background_;
  platform::mci::DeviceId musicDevice_ = 0;
  bool shown_ = false, closing_ = false, showBoxStarted_ = false;

  std::map<int, QLabel*> labels_;
  std::map<int, QPushButton*> buttons_;
  std::map<int, widgets::GifAnimationWidget*> images_, gifs_;
  std::map<int, FlashView*> flashes_;
  std::map<int, widgets::ScrollCaptionWidget*> captions_;
  widgets::PicShowBoxWidget* showBox_ = nullptr;
  std::vector<std::pair<int, QWidget*>> stacking_;
};

}  // namespace cardplayer
