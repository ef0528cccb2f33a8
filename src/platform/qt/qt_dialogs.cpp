#include "platform/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "platform/paths.h"
#include "platform/qt/font_chooser.h"
#include "platform/qt/qt_text.h"
#include "platform/user_folders.h"

namespace platform {
namespace {

QWidget* Parent() { return QApplication::activeWindow(); }

QString HostDir(const std::string& dir) {
  return dir.empty() ? QString() : QString::fromStdString(paths::ToHost(dir));
}

// A dialog started in a data folder offers the same folder of the user's data folder or of
// the program folder beside it, so the user's files and the shipped ones are both at hand.
QList<QUrl> DataFolderSideBar(const std::string& initialDir) {
  QList<QUrl> urls;
  if (initialDir.empty()) return urls;
  for (const std::string& f : user_folders::CounterpartFolders(initialDir)) {
    urls << QUrl::fromLocalFile(QString::fromStdString(paths::ToHost(f)));
  }
  if (!urls.isEmpty()) urls.prepend(QUrl::fromLocalFile(HostDir(initialDir)));
  return urls;
}

// The dialog of OpenFile and SaveFile when it has a side bar to show; the static functions
// otherwise.
QStringList RunFileDialog(const FileDialogOptions& o, const QList<QUrl>& sideBar, const QString& start,
                          const QString& filter, const QString& selected, bool save) {
  QFileDialog d(Parent(), ToQString(o.title), start, filter);
  d.setSidebarUrls(sideBar);
  if (!selected.isEmpty()) d.selectNameFilter(selected);
  d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(save ? QFileDialog::AnyFile : o.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  if (save && !o.overwritePrompt) d.setOption(QFileDialog::DontConfirmOverwrite);
  return d.exec() == QDialog::Accepted ? d.selectedFiles() : QStringList();
}

}  // namespace

QString ToQtFilter(const std::string& filter, int filterIndex, QString* selected) {
  QStringList parts = ToQString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // Qt reads the patterns from the last parentheses; keep the description readable.
    QString entry = desc.contains('(') ? desc : desc + " (" + patterns + ")";
    if (desc.contains('(')) {
      entry = desc.left(desc.indexOf('(')).trimmed() + " (" + patterns + ")";
    }
    out << entry;
    if (selected && i / 2 + 1 == filterIndex) *selected = entry;
  }
  return out.join(";;");
}

MsgResult QtDialogs::MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                MsgButtons buttons) {
  QMessageBox box(Parent());
  box.setWindowTitle(ToQString(caption));
  // Texts carry file names, card text and what servers answered: shown as they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text));
  switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::None: break;
  }
  struct B { QMessageBox::StandardButton qt; MsgResult r; const char* zh; };
  std::vector<B> list;
  switch (buttons) {
    case MsgButtons::Ok: list = {{QMessageBox::Ok, MsgResult::Ok, "确定"}}; break;
    case MsgButtons::OkCancel: list = {{QMessageBox::Ok, MsgResult::Ok, "确定"}, {QMessageBox::Cancel, MsgResult::Cancel, "取消"}}; break;
    case MsgButtons::YesNo: list = {{QMessageBox::Yes, MsgResult::Yes, "是(&Y)"}, {QMessageBox::No, MsgResult::No, "否(&N)"}}; break;
    case MsgButtons::YesNoCancel:
      list = {{QMessageBox::Yes, MsgResult::Yes, "是(&Y)"}, {QMessageBox::No, MsgResult::No, "否(&N)"}, {QMessageBox::Cancel, MsgResult::Cancel, "取消"}};
      break;
    case MsgButtons::RetryCancel: list = {{QMessageBox::Retry, MsgResult::Retry, "重试(&R)"}, {QMessageBox::Cancel, MsgResult::Cancel, "取消"}}; break;
    case MsgButtons::AbortRetryIgnore:
      list = {{QMessageBox::Abort, MsgResult::Abort, "中止(&A)"}, {QMessageBox::Retry, MsgResult::Retry, "重试(&R)"}, {QMessageBox::Ignore, MsgResult::Ignore, "忽略(&I)"}};
      break;
  }
  QMessageBox::StandardButtons mask;
  for (const B& b : list) mask |= b.qt;
  box.setStandardButtons(mask);
  for (const B& b : list) box.button(b.qt)->setText(ToQString(b.zh));
  int chosen = box.exec();
  for (const B& b : list) {
    if (chosen == b.qt) return b.r;
  }
  // Closed with the window's close button: the platform answers Cancel (or OK for a lone OK).
  return buttons == MsgButtons::Ok ? MsgResult::Ok : (buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel);
}

std::vector<std::string> QtDialogs::OpenFile(const FileDialogOptions& o) {
  QString selected;
  QString filter = ToQtFilter(o.filter, o.filterIndex, &selected);
  QString start = HostDir(o.initialDir);
  if (!o.fileName.empty()) start = start.isEmpty() ? ToQString(o.fileName) : start + "/" + ToQString(o.fileName);
  std::vector<std::string> out;
  if (QList<QUrl> side = DataFolderSideBar(o.initialDir); !side.isEmpty()) {
    for (const QString& f : RunFileDialog(o, side, start, filter, selected, false)) {
      out.push_back(paths::FromHost(f.toStdString()));
    }
  } else if (o.multiSelect) {
    for (const QString& f : QFileDialog::getOpenFileNames(Parent(), ToQString(o.title), start, filter, &selected)) {
      out.push_back(paths::FromHost(f.toStdString()));
    }
  } else {
    QString f = QFileDialog::getOpenFileName(Parent(), ToQString(o.title), start, filter, &selected);
    if (!f.isEmpty()) out.push_back(paths::FromHost(f.toStdString()));
  }
  return out;
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogOptions& o) {
  QString selected;
  QString filter = ToQtFilter(o.filter, o.filterIndex, &selected);
  QString start = HostDir(o.initialDir);
  if (!o.fileName.empty()) start = start.isEmpty() ? ToQString(o.fileName) : start + "/" + ToQString(o.fileName);
  QFileDialog::Options opts;
  if (!o.overwritePrompt) opts |= QFileDialog::DontConfirmOverwrite;
  QString f;
  if (QList<QUrl> side = DataFolderSideBar(o.initialDir); !side.isEmpty()) {
    const QStringList chosen = RunFileDialog(o, side, start, filter, selected, true);
    if (!chosen.isEmpty()) f = chosen.front();
  } else {
    f = QFileDialog::getSaveFileName(Parent(), ToQString(o.title), start, filter, &selected, opts);
  }
  if (f.isEmpty()) return std::nullopt;
  std::string path = paths::FromHost(f.toStdString());
  if (!o.defaultExt.empty() && paths::ExtractFileExt(path).empty()) path += "." + o.defaultExt;
  return path;
}

std::optional<Color> QtDialogs::ChooseColor(Color initial) {
  Color c = ResolveColor(initial);
  QColor q = QColorDialog::getColor(QColor(RedOf(c), GreenOf(c), BlueOf(c)), Parent());
  if (!q.isValid()) return std::nullopt;
  return Rgb(q.red(), q.green(), q.blue());
}

std::optional<FontSpec> QtDialogs::ChooseFont(const FontSpec& initial) {
  return FontChooser::Choose(initial, Parent());
}

std::optional<std::string> QtDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& initial) {
  QInputDialog box(Parent());
  box.setWindowTitle(ToQString(caption));
  box.setLabelText(ToQString(prompt));
  box.setTextValue(ToQString(initial));
  box.setOkButtonText(ToQString("确定"));
  box.setCancelButtonText(ToQString("取消"));
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return FromQString(box.textValue());
}

}  // namespace platform
