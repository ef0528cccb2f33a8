// The wizard's frame: pages, buttons below them, page changes, the attention flash, the timers,
// closing, and the mapping between the controls and the card's settings.
#include "maker/ordinary/ui/ordinary_wizard.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>

#include "audio/pv_player.h"
#include "maker/ordinary/ordinary_template.h"
#include "maker/ordinary/ui/picture_part.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/unsaved_work.h"

namespace ordinary_ui {

using platform::FromQString;
using platform::ToQString;

namespace {
int& FlashPumpCount() {
  static int count = 100001;
  return count;
}
const char* const kPageTitles[kPageCount] = {"设置贺卡图片或电影", "设置背景声音", "设置贺词",
                                             "设置贺卡动作及位置", "设置贺卡运行结束时的动作", "贺卡预览及输出"};
const char* const kTabs[kPageCount] = {"第一步", "第二步", "第三步", "第四步", "第五步", "第六步"};
}  // namespace

void TForm3::SetFlashPumpCount(int count) { FlashPumpCount() = count; }

TForm3::TForm3(QWidget* parent) : QDialog(parent), probe_(std::make_unique<audio::TpvPlayer>()) {
  setObjectName("TForm3");
  setWindowTitle(ToQString("普通贺卡制作向导"));
  setFixedSize(452, 411);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  // Disabled fields show the dialog face colour, enabled ones the window colour.
  QPalette pal = palette();
  pal.setColor(QPalette::Disabled, QPalette::Base, pal.color(QPalette::Active, QPalette::Window));
  setPalette(pal);

  greetingFont_.name = "宋体";
  greetingFont_.size = 11;     // what the font dialog shows for
  greetingFont_.height = -14;  // a character height of 14 pixels
  greetingFont_.bold = true;
  greetingFont_.color = platform::Rgb(255, 0, 0);

  BuildFrame();
  // Enter in a field never presses a button.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

  movieLoop_.setInterval(100);
  connect(&movieLoop_, &QTimer::timeout, this, &TForm3::MovieLoopTick);
  attention_.setInterval(2000);
  attention_.setSingleShot(true);
  connect(&attention_, &QTimer::timeout, this, [this] {
    if (Page() == 1) Flash(ui_.browseCard);
  });
  musicFollow_.setInterval(83);
  connect(&musicFollow_, &QTimer::timeout, this, &TForm3::MusicFollowTick);
  helpColour_.setInterval(500);
  connect(&helpColour_, &QTimer::timeout, this, [this] {
    QRandomGenerator* r = QRandomGenerator::global();
    QPalette p = ui_.help->palette();
    p.setColor(QPalette::WindowText, QColor(r->bounded(256), r->bounded(256), r->bounded(256)));
    ui_.help->setPalette(p);
  });
  helpColour_.start();
  saved_.Mark(Settings());
}

TForm3::~TForm3() { ReleaseMedia(); }

void TForm3::BuildFrame() {
  ui_.pages = new QTabWidget(this);
  ui_.pages->setGeometry(4, 6, 444, 356);
  QWidget* (TForm3::*builders[kPageCount])() = {&TForm3::BuildCardPage, &TForm3::BuildSoundPage,
                                                &TForm3::BuildGreetingPage, &TForm3::BuildMovePage,
                                                &TForm3::BuildEndPage, &TForm3::BuildOutputPage};
  for (int i = 0; i < kPageCount; ++i) {
    QWidget* page = (this->*builders[i])();
    auto* title = new QLabel(ToQString(kPageTitles[i]), page);
    QFont tf = title->font();
    tf.setBold(true);
    title->setFont(tf);
    title->setGeometry(8, 4, 300, 16);
    ui_.titles[static_cast<size_t>(i)] = title;
    ui_.pages->addTab(page, ToQString(kTabs[i]));
  }
  connect(ui_.pages, &QTabWidget::currentChanged, this, &TForm3::PageChanged);

  ui_.browseCard = new QPushButton(ToQString("浏览贺卡图片或电影(&B)"), this);
  ui_.browseCard->setGeometry(8, 374, 170, 26);
  connect(ui_.browseCard, &QPushButton::clicked, this, &TForm3::BrowseCardPicture);
  ui_.previous = new QPushButton(ToQString("上一步(&U)"), this);
  ui_.previous->setGeometry(190, 374, 80, 26);
  connect(ui_.previous, &QPushButton::clicked, this, [this] { SetPage(Page() - 1); });
  ui_.next = new QPushButton(ToQString("下一步(&N)"), this);
  ui_.next->setGeometry(274, 374, 80, 26);
  connect(ui_.next, &QPushButton::clicked, this, [this] { SetPage(Page() + 1); });
  ui_.finish = new QPushButton(ToQString("完成(&F)"), this);
  ui_.finish->setGeometry(274, 374, 80, 26);
  connect(ui_.finish, &QPushButton::clicked, this, &TForm3::Finish);
  ui_.cancel = new QPushButton(ToQString("取消(&C)"), this);
  ui_.cancel->setGeometry(362, 374, 80, 26);
  connect(ui_.cancel, &QPushButton::clicked, this, &QDialog::reject);

  ui_.help = new QLabel(ToQString("帮助信息(F1)"), this);
  ui_.help->setGeometry(364, 6, 84, 18);
  ui_.help->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ui_.help->setCursor(Qt::PointingHandCursor);
  ui_.help->installEventFilter(this);

  PageChanged(0);
}

int TForm3::Page() const { return ui_.pages->currentIndex() + 1; }

void TForm3::SetPage(int page) {
  page = std::clamp(page, 1, kPageCount);
  if (page == Page()) return;
  ui_.pages->setCurrentIndex(page - 1);
}

void TForm3::PageChanged(int index) {
  int page = index + 1;
  PageButtons b = ButtonsForPage(page);
  ui_.browseCard->setVisible(b.browse);
  ui_.previous->setVisible(b.previous);
  ui_.next->setVisible(b.next);
  ui_.finish->setVisible(b.finish);
  if (page != 1) return;
  if (isVisible()) Flash(ui_.browseCard);
  // The music test may have used the media control: the movie is opened again.
  if (CardPictureKind(cardPath_) == PictureKind::Movie) {
    OpenMovie(cardPath_);
    musicFollow_.stop();
  }
}

void TForm3::Flash(QWidget* control, QColor colour, int rounds) {
  if (!control || !(qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control))) return;
  QPalette own = control->palette();
  bool ownSet = control->testAttribute(Qt::WA_SetPalette);
  for (int round = 0; round < rounds; ++round) {
    QPalette flashed = own;
    flashed.setColor(QPalette::ButtonText, colour);
    flashed.setColor(QPalette::WindowText, colour);
    control->setPalette(flashed);
    for (int i = 0; i < FlashPumpCount(); ++i) QCoreApplication::processEvents();
    if (ownSet)
      control->setPalette(own);
    else
      control->setPalette(QPalette());
    for (int i = 0; i < FlashPumpCount(); ++i) QCoreApplication::processEvents();
  }
}

int TForm3::ShowModal() { return exec(); }

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  attention_.start();
  ListGreetingBoxes();
}

void TForm3::ListGreetingBoxes() {
  for (const std::string& name : GreetingBoxFiles())
    ui_.boxList->addItem(ToQString(name));
}

void TForm3::ReleaseMedia() {
  movieLoop_.stop();
  musicFollow_.stop();
  CloseMedia();
  platform::sound::sndPlaySoundA(nullptr, 0);
  if (probe_ && probe_->Opened()) probe_->Close();
}

void TForm3::done(int result) {
  ReleaseMedia();
  QDialog::done(result);
}

void TForm3::reject() {
  const bool mayClose = platform::MayCloseWithChanges(ChangedSinceSave(), ordinary::kSaveSettingsQuestion, [this] {
    if (SaveTemplate()) return true;
    SetPage(kPageCount);  // where the template name is typed
    ui_.templateName->setFocus();
    return false;
  });
  if (mayClose) QDialog::reject();
}

void TForm3::Finish() {
  if (!ConfirmFinish(built_, ui_.asTemplate->isChecked(), templateSaved_)) return;
  accept();
}

void TForm3::ShowHelp() { platform::shell::OpenHelp(HelpTopic(Page())); }

void TForm3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelp();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_.help) {
    // Pressed with any button but the right one, the label shows a lowered bevel.
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
      ui_.help->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (event->type() == QEvent::MouseButtonRelease) {
      ui_.help->setFrameStyle(QFrame::Panel | QFrame::Raised);
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) ShowHelp();
    }
    return false;
  }
  // Number fields: digits and Backspace only; Enter leaves the field.
  if (event->type() == QEvent::KeyPress) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (edit && edit->property("numberField").toBool()) {
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
      }
      QString text = key->text();
      if (!text.isEmpty() && text[0].isPrint() && !NumberFieldAccepts(text[0].unicode())) return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

ordinary::OrdinarySettings TForm3::Settings() const {
  ordinary::OrdinarySettings s;
  s.cardImg = cardPath_;
  s.cardWidth = FromQString(ui_.cardWidth->text());
  s.cardHeight = FromQString(ui_.cardHeight->text());
  s.cardBkColor = cardColour_;
  s.cardBkTran = ui_.cardBkTran->isChecked();
  s.bkMusic = ui_.bkMusic->isChecked();
  s.music = FromQString(ui_.music->text());
  s.musicEndless = ui_.endless->isChecked();
  s.musicCount = FromQString(ui_.musicCount->text());
  s.useWav = ui_.useWav->isChecked();
  s.wav = FromQString(ui_.voice->text());
  s.playSet = std::max(0, ui_.playSet->currentIndex());
  s.playPosition = ui_.playPosition->value();
  s.cardBox = boxPath_;
  s.boxWidth = FromQString(ui_.boxWidth->text());
  s.boxHeight = FromQString(ui_.boxHeight->text());
  s.boxIndex = std::max(0, ui_.boxList->currentIndex());
  s.boxColor = boxColour_;
  s.boxTran = ui_.boxTran->isChecked();
  s.boxWord = platform::ReplaceText(FromQString(ui_.boxWord->toPlainText()), "\n", "\r\n");
  s.boxFontName = greetingFont_.name;
  s.boxFontSize = greetingFont_.size;
  s.boxFontColor = greetingFont_.color;
  s.boxFontBold = greetingFont_.bold;
  s.boxFontItalic = greetingFont_.italic;
  s.boxFontUnderline = greetingFont_.underline;
  s.boxFontStrikeOut = greetingFont_.strikeOut;
  s.boxScroll = ui_.boxScroll->isChecked();
  s.boxInv = FromQString(ui_.boxInv->text());
  s.move = FromQString(ui_.move->text());
  s.moveSet1 = std::max(0, ui_.moveSet1->currentIndex());
  s.moveSet2 = std::max(0, ui_.moveSet2->currentIndex());
  s.cen = ui_.cen->isChecked();
  s.moves = ui_.moves->isChecked();
  s.click = ui_.click->isChecked();
  s.useTime = ui_.useTime->isChecked();
  s.timelen = FromQString(ui_.timelen->text());
  s.openUrl = ui_.openUrl->isChecked();
  s.url = FromQString(ui_.url->text());
  s.sendMail = ui_.sendMail->isChecked();
  s.email = FromQString(ui_.email->text());
  s.subject = FromQString(ui_.subject->text());
  s.body = platform::ReplaceText(FromQString(ui_.body->toPlainText()), "\n", "\r\n");
  s.icon = FromQString(ui_.icon->text());
  return s;
}

void TForm3::LoadTemplate(const std::string& path) {
  ordinary::OrdinarySettings s = Settings();
  try {
    ordinary::LoadSet(path, s);
  } catch (const platform::ConvertError&) {
    // The keys before the damaged one were taken: show them, then report.
    ApplySettings(s);
    saved_.Mark(Settings());
    throw;
  }
  ApplySettings(s);
  saved_.Mark(Settings());
}

}  // namespace ordinary_ui
