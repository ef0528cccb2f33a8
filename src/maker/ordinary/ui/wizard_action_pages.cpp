// Pages 4 "设置贺卡动作及位置" and 5 "设置贺卡运行结束时的动作": movement, positions, how the greeting
// comes up, and what happens when the card closes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/ordinary/ui/wizard_parts.h"
#include "platform/qt/qt_text.h"

namespace ordinary_ui {

using platform::ToQString;

namespace {
constexpr int kMaxBodyChars = 360;
}

QWidget* TForm3::BuildMovePage() {
  auto* page = new QWidget;
  auto* speed = new QGroupBox(ToQString("移动速度"), page);
  speed->setGeometry(8, 24, 428, 48);
  Caption(speed, "贺卡在屏幕上的移动速度:", 10, 20, 150);
  ui_.move = MakeNumberField(speed, this, 160, 20, 50, "100");
  Caption(speed, "毫秒/次", 214, 20, 60);

  auto* place = new QGroupBox(ToQString("贺卡位置"), page);
  place->setGeometry(8, 78, 428, 106);
  ui_.moveSet1Label = Caption(place, "贺卡出现位置:", 10, 20, 84);
  ui_.moveSet1 = new QComboBox(place);
  ui_.moveSet1->setGeometry(96, 19, 140, 22);
  ui_.moveSet2Label = Caption(place, "贺卡最终位置:", 10, 48, 84);
  ui_.moveSet2 = new QComboBox(place);
  ui_.moveSet2->setGeometry(96, 47, 140, 22);
  for (std::string_view text : ordinary::kPositions) {
    ui_.moveSet1->addItem(ToQString(text));
    ui_.moveSet2->addItem(ToQString(text));
  }
  ui_.moveSet1->setCurrentIndex(0);
  ui_.moveSet2->setCurrentIndex(0);
  ui_.cen = new QCheckBox(ToQString("将贺卡锁定在屏幕正中央"), place);
  ui_.cen->setGeometry(250, 20, 170, 20);
  ui_.moves = new QCheckBox(ToQString("贺卡在屏幕上循环移动"), place);
  ui_.moves->setGeometry(250, 48, 170, 20);

  auto* change = new QGroupBox(ToQString("切换设置"), page);
  change->setGeometry(8, 190, 428, 100);
  ui_.click = new QRadioButton(ToQString("鼠标单击贺卡后弹出贺词或退出"), change);
  ui_.click->setGeometry(10, 20, 300, 20);
  ui_.click->setChecked(true);
  ui_.dblClick = new QRadioButton(ToQString("鼠标双击贺卡后弹出贺词或退出"), change);
  ui_.dblClick->setGeometry(10, 44, 300, 20);
  ui_.useTime = new QCheckBox(ToQString("贺卡显示一定时间后自动弹出贺词  显示时间为:"), change);
  ui_.useTime->setGeometry(10, 70, 290, 20);
  ui_.timelen = MakeNumberField(change, this, 302, 70, 44, "60");
  ui_.timeUnit = Caption(change, "秒", 350, 70, 20);
  ui_.useTime->setEnabled(false);
  ui_.timelen->setEnabled(false);
  ui_.timeUnit->setEnabled(false);

  connect(ui_.cen, &QCheckBox::toggled, this, &TForm3::CentreToggled);
  connect(ui_.moves, &QCheckBox::toggled, this, &TForm3::LoopToggled);
  connect(ui_.useTime, &QCheckBox::toggled, ui_.timelen, &QWidget::setEnabled);
  return page;
}

void TForm3::CentreToggled(bool on) {
  moveLock_.SetCentre(on);
  ApplyMoveLock();
}

void TForm3::LoopToggled(bool on) {
  moveLock_.SetLoop(on);
  ApplyMoveLock();
}

void TForm3::ApplyMoveLock() {
  {
    QSignalBlocker b1(ui_.cen), b2(ui_.moves);
    ui_.cen->setChecked(moveLock_.Centre());
    ui_.moves->setChecked(moveLock_.Loop());
  }
  ui_.moveSet1->setEnabled(moveLock_.StartListEnabled());
  ui_.moveSet1Label->setEnabled(moveLock_.StartListEnabled());
  ui_.moveSet2->setEnabled(moveLock_.FinalListEnabled());
  ui_.moveSet2Label->setEnabled(moveLock_.FinalListEnabled());
}

QWidget* TForm3::BuildEndPage() {
  auto* page = new QWidget;
  ui_.openUrl = new QCheckBox(ToQString("打开网址"), page);
  ui_.openUrl->setGeometry(8, 26, 200, 20);
  ui_.url = new QLineEdit(ToQString("http://"), page);
  ui_.url->setGeometry(28, 48, 400, 20);
  ui_.url->setEnabled(false);

  ui_.sendMail = new QCheckBox(ToQString("启动默认邮件处理程序提示对方给我回信"), page);
  ui_.sendMail->setGeometry(8, 78, 400, 20);
  ui_.emailLabel = Caption(page, "我的信箱:", 28, 102, 84);
  ui_.email = new QLineEdit(page);
  ui_.email->setGeometry(112, 102, 220, 20);
  ui_.subjectLabel = Caption(page, "默认邮件主题:", 28, 126, 84);
  ui_.subject = new QLineEdit(ToQString("我已经看过你的贺卡了"), page);
  ui_.subject->setGeometry(112, 126, 316, 20);
  ui_.bodyLabel = Caption(page, "默认邮件内容:", 28, 150, 84);
  ui_.body = new QPlainTextEdit(page);
  ui_.body->setGeometry(112, 150, 316, 56);

  ui_.notify = new QCheckBox(ToQString("让贺卡程序自动给我写信通知我对方已看过我的贺卡了"), page);
  ui_.notify->setGeometry(8, 216, 400, 20);
  ui_.notifyEmailLabel = Caption(page, "我的信箱:", 28, 240, 84);
  ui_.notifyEmail = new QLineEdit(page);
  ui_.notifyEmail->setGeometry(112, 240, 220, 20);
  ui_.notifyNameLabel = Caption(page, "对方的名字:", 28, 264, 84);
  ui_.notifyName = new QLineEdit(page);
  ui_.notifyName->setGeometry(112, 264, 220, 20);

  MailOptionToggled(false);
  NotifyOptionToggled(false);
  connect(ui_.openUrl, &QCheckBox::toggled, ui_.url, &QWidget::setEnabled);
  connect(ui_.sendMail, &QCheckBox::toggled, this, &TForm3::MailOptionToggled);
  connect(ui_.notify, &QCheckBox::toggled, this, &TForm3::NotifyOptionToggled);
  connect(ui_.body, &QPlainTextEdit::textChanged, this, [this] {
    QString text = ui_.body->toPlainText();
    if (text.size() <= kMaxBodyChars) return;
    QSignalBlocker block(ui_.body);
    text.truncate(kMaxBodyChars);
    ui_.body->setPlainText(text);
    ui_.body->moveCursor(QTextCursor::End);
  });
  return page;
}

void TForm3::MailOptionToggled(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(ui_.emailLabel), static_cast<QWidget*>(ui_.email),
                     static_cast<QWidget*>(ui_.subjectLabel), static_cast<QWidget*>(ui_.subject),
                     static_cast<QWidget*>(ui_.bodyLabel), static_cast<QWidget*>(ui_.body)})
    w->setEnabled(on);
  if (on) ui_.notify->setChecked(false);
}

void TForm3::NotifyOptionToggled(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(ui_.notifyEmailLabel), static_cast<QWidget*>(ui_.notifyEmail),
                     static_cast<QWidget*>(ui_.notifyNameLabel), static_cast<QWidget*>(ui_.notifyName)})
    w->setEnabled(on);
  if (on) ui_.sendMail->setChecked(false);
}

}  // namespace ordinary_ui
