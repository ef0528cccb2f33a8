#include "maker/document/ui/designer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <ctime>

#include "maker/document/canvas_geometry.h"
#include "maker/document/designer_rules.h"
#include "maker/document/element_lifecycle.h"
#include "maker/document/stacking.h"
#include "maker/document/ui/design_canvas.h"
#include "maker/document/ui/properties_window.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/shell.h"
#include "platform/user_folders.h"

namespace designer {

using document::ElementKind;

Designer::Designer(QObject* parent) : QObject(parent) {
  starter_ = [](const std::string& line) { return platform::shell::StartProgram(line); };
  canvas_ = new DesignCanvas(*this);
  properties_ = new PropertiesWindow(*this);
  canvas_->Panel()->hide();  // no card is open yet
  properties_->Refresh();
}

Designer::~Designer() {
  delete properties_.data();
  delete canvas_.data();
}

DesignCanvas* Designer::Canvas() const { return canvas_.data(); }
PropertiesWindow* Designer::Properties() const { return properties_.data(); }

bool Designer::CardOpen() const { return canvas_ && canvas_->Panel()->isVisibleTo(canvas_); }

void Designer::SetCardOpen(bool open) {
  if (canvas_) canvas_->Panel()->setVisible(open);
}

void Designer::AfterChange() {
  if (canvas_) canvas_->Sync();
  if (properties_) properties_->Refresh();
  emit selectionChanged();
}

platform::FontSpec Designer::WindowFont() const {
  // The designer window's size and style; the family under the name cards use for it (a host
  // family such as "Sans Serif" means nothing on the card's way to a friend).
  const QFont qf = canvas_->font();
  platform::FontSpec f;
  const std::string family = platform::FromQString(qf.family());
  const std::string hostFamily = qf.family().toStdString();
  for (std::string_view name : {"宋体", "黑体", "楷体", "仿宋", "隶书", "幼圆"}) {
    if (family == name || platform::fonts::HostFamilyFor(name) == hostFamily) {
      f.name = std::string(name);
      break;
    }
  }
  if (qf.pointSize() > 0) f.size = qf.pointSize();
  f.bold = qf.bold();
  f.italic = qf.italic();
  f.underline = qf.underline();
  f.strikeOut = qf.strikeOut();
  return f;
}

bool Designer::InsertElement(ElementKind kind) {
  if (!CardOpen() || !document::CanInsert(doc_, kind)) return false;
  auto ask = [](const char* title, std::string_view filter) -> std::string {
    platform::FileDialogOptions o;
    o.title = title;
    o.filter = std::string(filter);
    std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
    return chosen.empty() ? std::string() : chosen.front();
  };
  try {
    switch (kind) {
      case ElementKind::Label: document::CreatelmTxt(doc_); break;
      case ElementKind::Button:
        doc_.designerFont = WindowFont();
        document::CreateSpeedbutton(doc_);
        break;
      case ElementKind::Scl: document::createlmscl(doc_); break;
      case ElementKind::Pics: document::CreatePics(doc_); break;
      case ElementKind::Image: {
        std::string f = ask("插入图片", document::kPictureFilter);
        if (f.empty()) return false;
        document::CreateLmImage(doc_, f);
        break;
      }
      case ElementKind::Gif: {
        std::string f = ask("插入GIF 动画", document::kGifFilter);
        if (f.empty()) return false;
        document::CreateLmGif(doc_, f);
        break;
      }
      case ElementKind::Wav: {
        std::string f = ask("插入声音", document::kSoundFilter);
        if (f.empty()) return false;
        document::CreateWav(doc_, f);
        break;
      }
      case ElementKind::Flash: {
        std::string f = ask("插入Flash 电影", document::kFlashFilter);
        if (f.empty()) return false;
        document::CreatelmFlash(doc_, f);
        break;
      }
    }
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
    return false;
  }
  AfterChange();
  if (kind == ElementKind::Pics) ReloadPics();
  if (kind == ElementKind::Button) canvas_->Panel()->setFocus();
  return true;
}

void Designer::DeleteSelection() {
  QWidget* f = QApplication::focusWidget();
  // In a text field the command is the Delete key there: the selection, or the character
  // after the caret (a whole double-byte character).
  if (auto* line = qobject_cast<QLineEdit*>(f)) {
    if (!line->isReadOnly()) line->del();
    return;
  }
  if (auto* plain = qobject_cast<QPlainTextEdit*>(f)) {
    if (!plain->isReadOnly()) plain->textCursor().deleteChar();
    return;
  }
  if (auto* rich = qobject_cast<QTextEdit*>(f)) {
    if (!rich->isReadOnly()) rich->textCursor().deleteChar();
    return;
  }
  if (!CardOpen() || !doc_.selected) return;
  if (f != canvas_ && !canvas_->isAncestorOf(f)) return;  // the canvas must have the focus
  if (!document::DeleteSelectorEntry(doc_, document::ShownName(*doc_.selected))) return;
  SelectCardWindow();
}

void Designer::ClearDesign() {
  document::DelAll(doc_);
  if (canvas_) {
    canvas_->Rebuild();
    canvas_->ApplyCardWindow();
  }
  SelectCardWindow();
}

void Designer::SelectCardWindow() {
  document::SelectCardWindow(doc_);
  AfterChange();
  if (canvas_ && CardOpen()) canvas_->Panel()->setFocus();
}

void Designer::SelectElement(document::ElementRef ref) {
  if (ref.kind == ElementKind::Pics ? !doc_.picsBox : !doc_.FindControl(ref)) return;
  document::SelectElement(doc_, ref);
  AfterChange();
}

void Designer::ReloadAfterOpen() {
  document::RestackAfterOpen(doc_);
  document::SelectCardWindow(doc_);
  SetCardOpen(true);
  canvas_->Rebuild();
  canvas_->ApplyCardWindow();
  if (doc_.picsBox) ReloadPics();
  SelectCardWindow();
}

void Designer::RebuildControls() {
  canvas_->Rebuild();
  canvas_->ApplyCardWindow(false);  // background and mask belong to the after-open step
  properties_->Refresh();
}

void Designer::Preview() {
  if (!CardOpen()) return;
  const std::string program = platform::paths::ProgramFolder();
  const std::string folder = platform::user_folders::WorkFolder();
  for (std::string_view name : {document::kTestCardExe, document::kTestCardCrd2, document::kTestCardCrd3}) {
    std::string path = folder + std::string(name);
    if (platform::files::FileExists(path)) platform::files::DeleteFile(path);
  }
  StopCaptionTimers();
  try {
    packaging::MakeExe(doc_, folder + document::PreviewCardName(doc_), BuildHooks());
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
  }
  emit statusText(platform::ToQString("就绪"));
  if (platform::files::FileExists(folder + std::string(document::kTestCardCrd3))) {
    starter_(document::PreviewCommandLine(program, "exe3.exe", folder, document::kTestCardCrd3));
  } else if (platform::files::FileExists(folder + std::string(document::kTestCardCrd2))) {
    starter_(document::PreviewCommandLine(program, "exe2.exe", folder, document::kTestCardCrd2));
  }
  StartCaptionTimers();
}

void Designer::StopCaptionTimers() {
  captionTimersRunning_ = false;
  if (canvas_) canvas_->StopCaptions();
}

void Designer::StartCaptionTimers() {
  captionTimersRunning_ = true;
  if (canvas_) canvas_->StartCaptions();
}

bool Designer::CaptionTimersRunning() const { return captionTimersRunning_; }

packaging::MakeExeHooks Designer::BuildHooks() {
  packaging::MakeExeHooks hooks;
  hooks.status = [this](const std::string& text) { emit statusText(platform::ToQString(text)); };
  hooks.onWindowCheckFailed = [this](const std::string& caption) {
    SelectCardWindow();
    if (properties_) {
      properties_->ShowPropertiesPage();
      properties_->FlashCardCaption(caption);
    }
  };
  return hooks;
}

std::array<QString, 3> Designer::ClockTexts() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  document::ClockPanels p = document::ClockTexts(t);
  return {platform::ToQString(p.time), platform::ToQString(p.weekday), platform::ToQString(p.date)};
}

void Designer::SetElementRect(document::ElementRef ref, const document::Rect& rect) {
  if (!document::SetElementRect(doc_, ref, rect)) return;
  if (canvas_) {
    if (auto* v = canvas_->ViewOf(ref)) (void)v;
  }
  SelectElement(ref);
}

void Designer::ElementChanged(document::ElementRef ref) {
  if (canvas_) canvas_->Refresh(ref);
}

void Designer::CardWindowChanged() {
  if (canvas_) {
    canvas_->ApplyCardWindow();
    canvas_->Sync();
  }
}

void Designer::ReloadPics() {
  if (canvas_) canvas_->ReloadPics();
}

}  // namespace designer
