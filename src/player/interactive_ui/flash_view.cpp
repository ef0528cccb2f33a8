#include "player/interactive_ui/flash_view.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "flashwizard/flash_pages.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/shell.h"

namespace cardplayer {

namespace {

FlashViewFactory& Factory() {
  static FlashViewFactory factory;
  return factory;
}

}  // namespace

FlashPlaceholder::FlashPlaceholder(QWidget* parent) : FlashView(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(40, 40, 48));
  pal.setColor(QPalette::WindowText, QColor(235, 235, 235));
  setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::PlainText);  // the movie's file name comes from the card
  text_->setAlignment(Qt::AlignCenter);
  text_->setWordWrap(true);
  button_ = new QPushButton(platform::ToQString("在浏览器中播放"), this);
  layout->addStretch();
  layout->addWidget(text_);
  layout->addWidget(button_, 0, Qt::AlignHCenter);
  layout->addStretch();
  connect(button_, &QPushButton::clicked, this, [this] {
    if (!OpenInBrowser()) {
      platform::ShowMessage("无法在浏览器中播放 Flash 电影 " + platform::paths::ExtractFileName(movie_) + "。",
                            platform::MsgIcon::Warning);
    }
  });
  LoadMovie({});
}

void FlashPlaceholder::LoadMovie(const std::string& path) {
  movie_ = path;
  std::string text = "Flash电影";
  if (!path.empty()) text += "\n" + platform::paths::ExtractFileName(path);
  text += "\n\n本播放程序不能直接播放 Flash 电影。";
  text_->setText(platform::ToQString(text));
  button_->setEnabled(!path.empty());
}

bool FlashPlaceholder::OpenInBrowser() {
  if (movie_.empty()) return false;
  const std::string page = WriteFlashPage(movie_, platform::files::TempFolder() + "lmcard-flash/");
  return platform::shell::Open(page.empty() ? movie_ : page);
}

void SetFlashViewFactory(FlashViewFactory factory) { Factory() = std::move(factory); }

FlashView* CreateFlashView(QWidget* parent) {
  if (Factory()) {
    if (FlashView* view = Factory()(parent)) return view;
  }
  return new FlashPlaceholder(parent);
}

std::string WriteFlashPage(const std::string& moviePath, const std::string& folder) {
  if (!platform::files::FileExists(platform::paths::ProgramFolder() + "ruffle/ruffle.js")) return {};
  if (!platform::files::CreateFolder(folder)) return {};
  // The page and its data live beside a copy of the movie, which outlives the card's own files.
  const std::string copy = folder + platform::paths::ExtractFileName(moviePath);
  if (copy != moviePath && !platform::files::CopyFile(moviePath, copy, false)) return {};
  const auto page = flashwizard::WriteMoviePage(flashwizard::PageKind::Preview, copy, "100%", "100%");
  return page.value_or(std::string());
}

}  // namespace cardplayer
