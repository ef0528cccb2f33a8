#pragma once
// The area of a Flash element. exe3.exe plays movies in an embedded web view with the Flash
// player shipped in the program folder ("ruffle\") when its build has a web engine; every
// other build shows a placeholder that names the movie and opens it in the browser.
#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace cardplayer {

class FlashView : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  // Shows (plays) a movie file (system path); "" shows the empty area.
  virtual void LoadMovie(const std::string& path) = 0;
  const std::string& Movie() const { return movie_; }

 protected:
  std::string movie_;
};

// "Flash电影" with the movie's name and a button "在浏览器中播放" that opens a page playing
// the movie in the browser (a page beside a copy of the movie, with the program's Flash player).
class FlashPlaceholder : public FlashView {
  Q_OBJECT

 public:
  explicit FlashPlaceholder(QWidget* parent = nullptr);
  void LoadMovie(const std::string& path) override;
  // Opens the movie in the browser; false when there is no movie or nothing could be opened.
  bool OpenInBrowser();
  QPushButton* OpenButton() const { return button_; }
  QLabel* Text() const { return text_; }

 private:
  QLabel* text_;
  QPushButton* button_;
};

// Which view Flash elements get; the programs install theirs at start-up.
using FlashViewFactory = std::function<FlashView*(QWidget* parent)>;
void SetFlashViewFactory(FlashViewFactory factory);
FlashView* CreateFlashView(QWidget* parent);

// A page that plays a movie with the program folder's Flash player ("ruffle\"), written into
// folder (with its trailing separator) as "<movie name>.html"; "" when the player is missing
// or the page cannot be written.
std::string WriteFlashPage(const std::string& moviePath, const std::string& folder);

}  // namespace cardplayer
