#include "maker/shell/ui/about_box.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "platform/fonts.h"
#include "platform/qt/qt_text.h"

namespace cardshell {

using platform::ToQString;

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm9");
  setWindowTitle(ToQString("关于"));
  setFixedSize(400, 240);
  closeButton_ = new QPushButton(ToQString("关闭"), this);
  closeButton_->setObjectName("Button1");
  closeButton_->setGeometry(300, 196, 80, 26);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm9::ShowAsSplash() {
  splash_ = true;
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  closeButton_->hide();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  repaint();
}

void TForm9::EndSplash() {
  splash_ = false;
  hide();
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  closeButton_->show();
}

void TForm9::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient bg(0, 0, 0, height());
  bg.setColorAt(0, QColor(255, 248, 235));
  bg.setColorAt(1, QColor(255, 222, 200));
  p.fillRect(rect(), bg);
  p.setPen(QColor(200, 120, 90));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  // The product name twice: orange, and over it yellow 3 px left and 2 px up, so that the
  // orange copy reads as the shadow.
  QFont title(QString::fromStdString(platform::fonts::HostFamilyFor("华文行楷")));
  title.setPixelSize(32);
  title.setBold(true);
  p.setFont(title);
  const QString name = ToQString(kProductName);
  const QPoint at(40, 80);
  p.setPen(QColor(253, 140, 20));
  p.drawText(at, name);
  p.setPen(QColor(255, 255, 0));
  p.drawText(at + QPoint(-3, -2), name);

  QFont small = font();
  small.setPixelSize(14);
  p.setFont(small);
  p.setPen(QColor(90, 60, 40));
  p.drawText(QPoint(44, 130), ToQString(kVersionText));
}

}  // namespace cardshell
