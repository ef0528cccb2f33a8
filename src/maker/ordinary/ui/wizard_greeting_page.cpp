// Page 3 "设置贺词": the greeting box list and area with the greeting label on the box, the box
// size, the greeting text with its font and colour, the greeting window colour and scrolling.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/ordinary/ui/wizard_parts.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_paint.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace ordinary_ui {

using platform::FromQString;
using platform::ToQString;

namespace {
constexpr int kMaxGreetingChars = 920;
}  // namespace

QWidget* TForm3::BuildGreetingPage() {
  auto* page = new QWidget;
  ui_.boxArea = new QScrollArea(page);
  ui_.boxArea->setGeometry(6, 22, 425, 129);
  ui_.boxArea->setWidgetResizable(false);
  ui_.boxCanvas = new QWidget;
  ui_.boxCanvas->setAutoFillBackground(true);
  ui_.boxCanvas->resize(421, 125);
  ui_.boxArea->setWidget(ui_.boxCanvas);
  ui_.boxPicture = new PicturePart(ui_.boxCanvas);
  ui_.boxGif = new PicturePart(ui_.boxCanvas);
  ui_.boxPicture->hide();
  ui_.boxGif->hide();
  ui_.greeting = new QLabel(ui_.boxCanvas);
  ui_.greeting->setTextFormat(Qt::PlainText);  // the greeting shows as typed, never as markup
  ui_.greeting->setWordWrap(true);
  ui_.greeting->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ui_.greeting->setAttribute(Qt::WA_TranslucentBackground);
  ui_.greeting->setGeometry(8, 8, 405, 109);
  ApplyBoxColour(boxColour_);

  int y = 156;
  ui_.boxListLabel = Caption(page, "贺词框:", 8, y, 44);
  ui_.boxList = new QComboBox(page);
  ui_.boxList->setGeometry(52, y - 1, 170, 22);
  ui_.boxList->addItem(ToQString("不要贺词框及贺词"));
  Caption(page, "宽度:", 230, y, 32);
  ui_.boxWidth = MakeNumberField(page, this, 262, y, 40, "");
  Caption(page, "像素", 304, y, 26);
  Caption(page, "高度:", 334, y, 32);
  ui_.boxHeight = MakeNumberField(page, this, 366, y, 40, "");
  Caption(page, "像素", 408, y, 26);

  Caption(page, "贺词:", 8, 182, 40);
  ui_.boxWord = new QPlainTextEdit(page);
  ui_.boxWord->setGeometry(8, 200, 296, 62);
  ui_.setFont = new QPushButton(ToQString("设置字体"), page);
  ui_.setFont->setGeometry(312, 186, 60, 24);
  ui_.setFontColour = new QPushButton(ToQString("设置字色"), page);
  ui_.setFontColour->setGeometry(376, 186, 60, 24);
  ui_.loadWord = new QPushButton(ToQString("读入贺词"), page);
  ui_.loadWord->setGeometry(312, 214, 60, 24);
  ui_.saveWord = new QPushButton(ToQString("保存贺词"), page);
  ui_.saveWord->setGeometry(376, 214, 60, 24);

  y = 268;
  ui_.moreBoxes = new QLabel("<a href=\"more\">" + ToQString("浏览更多的贺词框背景").toHtmlEscaped() + "</a>", page);
  ui_.moreBoxes->setGeometry(8, y, 150, 20);
  ui_.moreBoxes->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  Caption(page, "窗体背景色:", 170, y, 70);
  ui_.boxColor = new ColorSwatch(page);
  ui_.boxColor->setGeometry(240, y + 1, 24, 18);
  ui_.boxColor->SetColour(boxColour_);
  ui_.boxTran = new QCheckBox(ToQString("透明"), page);
  ui_.boxTran->setGeometry(276, y, 60, 20);
  y = 292;
  ui_.boxScroll = new QCheckBox(ToQString("滚动显示贺词  滚动速度为:"), page);
  ui_.boxScroll->setGeometry(8, y, 186, 20);
  ui_.boxInv = MakeNumberField(page, this, 196, y, 44, "100");
  ui_.boxInv->setEnabled(false);
  ui_.boxInvUnit = Caption(page, "毫秒/次", 244, y, 60);

  ApplyGreetingFont(greetingFont_);
  connect(ui_.boxList, &QComboBox::activated, this, &TForm3::GreetingBoxChosen);
  connect(ui_.boxWidth, &QLineEdit::editingFinished, this, [this] { LeaveBoxSize(SizeField::BoxWidth); });
  connect(ui_.boxHeight, &QLineEdit::editingFinished, this, [this] { LeaveBoxSize(SizeField::BoxHeight); });
  connect(ui_.boxWord, &QPlainTextEdit::textChanged, this, [this] {
    QString text = ui_.boxWord->toPlainText();
    if (text.size() > kMaxGreetingChars) {
      QSignalBlocker block(ui_.boxWord);
      text.truncate(kMaxGreetingChars);
      ui_.boxWord->setPlainText(text);
      ui_.boxWord->moveCursor(QTextCursor::End);
    }
    ui_.greeting->setText(text);
  });
  connect(ui_.setFont, &QPushButton::clicked, this, &TForm3::SetGreetingFont);
  connect(ui_.setFontColour, &QPushButton::clicked, this, &TForm3::SetGreetingColour);
  connect(ui_.loadWord, &QPushButton::clicked, this, &TForm3::LoadGreetingText);
  connect(ui_.saveWord, &QPushButton::clicked, this, &TForm3::SaveGreetingText);
  connect(ui_.moreBoxes, &QLabel::linkActivated, this, [this] { BrowseMoreBoxes(); });
  connect(ui_.boxColor, &ColorSwatch::clicked, this, [this] { ChooseSwatchColour(ui_.boxColor); });
  connect(ui_.boxScroll, &QCheckBox::toggled, ui_.boxInv, &QWidget::setEnabled);
  return page;
}

void TForm3::GreetingBoxChosen(int index) {
  if (index <= 0) {
    ui_.boxPicture->Clear();
    ui_.boxPicture->hide();
    ui_.boxGif->Clear();
    ui_.boxGif->hide();
    boxKind_ = PictureKind::None;
    ui_.useTime->setChecked(false);
    SetAutoGreetingEnabled(false);
    return;
  }
  SetAutoGreetingEnabled(true);
  std::string entry = FromQString(ui_.boxList->itemText(index));
  if (platform::files::FileExists(entry)) {
    LMLoadHCK(entry);
    return;
  }
  std::string inFolder = platform::user_folders::Find(ordinary::kGreetingBoxFolder, entry);
  if (platform::files::FileExists(inFolder)) {
    LMLoadHCK(inFolder);
    return;
  }
  platform::ShowMessage("文件 " + entry + " 不存在！", platform::MsgIcon::Error);
}

void TForm3::SetAutoGreetingEnabled(bool enabled) {
  ui_.useTime->setEnabled(enabled);
  ui_.timeUnit->setEnabled(enabled);
  ui_.timelen->setEnabled(enabled && ui_.useTime->isChecked());
}

void TForm3::BrowseMoreBoxes() {
  RememberedFolders& folders = WizardFolders();
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(
      OpenDialogOptions("浏览贺词框背景", kGreetingBoxFilter, folders.Get(FolderFamily::GreetingBoxes), boxPath_));
  if (picked.empty()) return;
  const std::string& path = picked[0];
  folders.Remember(FolderFamily::GreetingBoxes, path);
  int found = -1;
  std::string lower = platform::AsciiLower(path);
  for (int i = 0; i < ui_.boxList->count() && found < 0; ++i)
    if (platform::AsciiLower(FromQString(ui_.boxList->itemText(i))) == lower) found = i;
  if (found < 0) {
    ui_.boxList->addItem(ToQString(path));
    found = ui_.boxList->count() - 1;
  }
  ui_.boxList->setCurrentIndex(found);
  LMLoadHCK(path);
  SetAutoGreetingEnabled(true);
}

void TForm3::LMLoadHCK(const std::string& path) {
  PictureKind kind = GreetingBoxKind(path);
  if (kind == PictureKind::None) return;  // ".swf" from the folder listing included
  PicturePart* part = kind == PictureKind::Gif ? ui_.boxGif : ui_.boxPicture;
  try {
    if (kind == PictureKind::Still) {
      ui_.boxGif->Stop();
      ui_.boxGif->hide();
      ui_.boxPicture->LoadPicture(path);
      ui_.boxPicture->show();
      ui_.boxPicture->SetFit(FitMode::Stretch);
    } else {
      ui_.boxPicture->Clear();
      ui_.boxPicture->hide();
      ui_.boxGif->show();
      ui_.boxGif->LoadAnimation(path);
      ui_.boxGif->SetFit(FitMode::Proportional);
      ui_.boxGif->Start();
    }
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
    return;
  }
  QSize size = part->NaturalSize();
  part->setGeometry(0, 0, size.width(), size.height());
  ui_.greeting->setGeometry(8, 8, size.width() - 16, size.height() - 16);
  ui_.greeting->raise();
  ui_.boxCanvas->resize(std::max(ui_.boxArea->viewport()->width(), size.width()),
                        std::max(ui_.boxArea->viewport()->height(), size.height()));
  boxPath_ = path;
  boxKind_ = kind;
  ui_.boxWidth->setText(QString::number(size.width()));
  ui_.boxHeight->setText(QString::number(size.height()));
}

bool TForm3::LeaveBoxSize(SizeField field) {
  if (boxKind_ == PictureKind::None) return true;
  QLineEdit* edit = field == SizeField::BoxWidth ? ui_.boxWidth : ui_.boxHeight;
  SizeCheck check = CheckSize(field, FromQString(edit->text()));
  if (!check.ok) {
    QSignalBlocker block(edit);
    platform::ShowMessage(check.message, platform::MsgIcon::Error);
    if (Page() != 3) SetPage(3);
    edit->setFocus();
    return false;
  }
  PicturePart* part = boxKind_ == PictureKind::Gif ? ui_.boxGif : ui_.boxPicture;
  QSize size = part->size();
  QSize label = ui_.greeting->size();
  if (field == SizeField::BoxWidth) {
    size.setWidth(check.value);
    label.setWidth(check.value - 16);
  } else {
    size.setHeight(check.value);
    label.setHeight(check.value - 16);
  }
  part->resize(size);
  ui_.greeting->resize(label);
  ui_.boxCanvas->resize(std::max(ui_.boxArea->viewport()->width(), size.width()),
                        std::max(ui_.boxArea->viewport()->height(), size.height()));
  return true;
}

void TForm3::SetGreetingFont() {
  std::optional<platform::FontSpec> font = platform::CurrentDialogs().ChooseFont(greetingFont_);
  if (font) ApplyGreetingFont(*font);
}

void TForm3::SetGreetingColour() {
  std::optional<platform::Color> colour = platform::CurrentDialogs().ChooseColor(greetingFont_.color);
  if (!colour) return;
  platform::FontSpec font = greetingFont_;
  font.color = *colour;
  ApplyGreetingFont(font);
}

void TForm3::ApplyGreetingFont(const platform::FontSpec& font) {
  greetingFont_ = font;
  QFont qf = platform::ToQFont(greetingFont_);
  ui_.greeting->setFont(qf);
  ui_.boxWord->setFont(qf);
  QPalette pal = ui_.greeting->palette();
  pal.setColor(QPalette::WindowText, ToQColor(greetingFont_.color));
  ui_.greeting->setPalette(pal);
  QPalette textPal = ui_.boxWord->palette();
  textPal.setColor(QPalette::Text, ToQColor(greetingFont_.color));
  ui_.boxWord->setPalette(textPal);
}

void TForm3::ApplyBoxColour(platform::Color colour) {
  boxColour_ = colour;
  if (ui_.boxColor) ui_.boxColor->SetColour(colour);
  QPalette pal = ui_.boxCanvas->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  ui_.boxCanvas->setPalette(pal);
}

void TForm3::LoadGreetingText() {
  RememberedFolders& folders = WizardFolders();
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(
      OpenDialogOptions("浏览贺词文件", kGreetingTextOpenFilter, folders.Get(FolderFamily::GreetingTexts), ""));
  if (picked.empty()) return;
  std::optional<std::string> bytes = platform::files::ReadFile(picked[0]);
  if (!bytes) {
    platform::ShowMessage("无法打开文件 " + picked[0] + "。", platform::MsgIcon::Error);
    return;
  }
  std::string text = platform::ReplaceText(*bytes, "\r\n", "\n");
  if (!text.empty() && text.back() == '\n') text.pop_back();  // the last line's break
  ui_.boxWord->setPlainText(ToQString(text));
  folders.Remember(FolderFamily::GreetingTexts, picked[0]);
}

void TForm3::SaveGreetingText() {
  RememberedFolders& folders = WizardFolders();
  platform::FileDialogOptions o;
  o.title = "保存贺词";
  o.filter = std::string(kGreetingTextSaveFilter);
  o.defaultExt = "txt";
  o.overwritePrompt = true;
  o.initialDir = folders.Get(FolderFamily::GreetingTexts);
  std::optional<std::string> path = platform::CurrentDialogs().SaveFile(o);
  if (!path) return;
  std::string text = platform::ReplaceText(FromQString(ui_.boxWord->toPlainText()), "\n", "\r\n") + "\r\n";
  if (!platform::files::WriteFileAtomic(*path, text)) {
    platform::ShowMessage("无法创建文件 " + *path + "。", platform::MsgIcon::Error);
    return;
  }
  folders.Remember(FolderFamily::GreetingTexts, *path);
}

}  // namespace ordinary_ui
