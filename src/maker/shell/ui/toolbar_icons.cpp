#include "maker/shell/ui/toolbar_icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace cardshell {
namespace {

// Every icon is drawn on a 24-unit grid and scaled to the pixmap size.
constexpr double kGrid = 24.0;

QPen Outline(const QColor& c, double width = 1.2) {
  QPen pen(c, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

void Page(QPainter& p, const QColor& fill) {
  QPainterPath path;
  path.moveTo(5, 2.5);
  path.lineTo(15, 2.5);
  path.lineTo(19.5, 7);
  path.lineTo(19.5, 21.5);
  path.lineTo(5, 21.5);
  path.closeSubpath();
  p.setPen(Outline(QColor(70, 80, 100)));
  p.setBrush(fill);
  p.drawPath(path);
  p.setBrush(QColor(220, 225, 235));
  QPainterPath fold;
  fold.moveTo(15, 2.5);
  fold.lineTo(15, 7);
  fold.lineTo(19.5, 7);
  fold.closeSubpath();
  p.drawPath(fold);
}

void Star(QPainter& p, QPointF c, double r, const QColor& fill) {
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    double rr = (i % 2) ? r * 0.45 : r;
    double a = -M_PI / 2 + i * M_PI / 5;
    QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0) path.moveTo(pt); else path.lineTo(pt);
  }
  path.closeSubpath();
  p.setPen(Outline(QColor(170, 90, 0), 0.9));
  p.setBrush(fill);
  p.drawPath(path);
}

void Heart(QPainter& p, QPointF c, double s, const QColor& fill) {
  QPainterPath path;
  path.moveTo(c.x(), c.y() + s * 0.9);
  path.cubicTo(c.x() - s * 1.6, c.y() - s * 0.1, c.x() - s * 0.6, c.y() - s * 1.2, c.x(), c.y() - s * 0.35);
  path.cubicTo(c.x() + s * 0.6, c.y() - s * 1.2, c.x() + s * 1.6, c.y() - s * 0.1, c.x(), c.y() + s * 0.9);
  p.setPen(Outline(QColor(150, 20, 40), 0.9));
  p.setBrush(fill);
  p.drawPath(path);
}

void Text(QPainter& p, const QRectF& r, const QString& s, const QColor& c, int gridPx) {
  QFont f("DejaVu Sans");
  f.setPixelSize(gridPx);  // grid units: the painter's scale takes it to the icon's size
  f.setBold(true);
  p.setFont(f);
  p.setPen(c);
  p.drawText(r, Qt::AlignCenter, s);
}

void Picture(QPainter& p, const QRectF& r) {
  p.setPen(Outline(QColor(60, 70, 90)));
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0, QColor(120, 190, 250));
  sky.setColorAt(1, QColor(210, 235, 255));
  p.setBrush(sky);
  p.drawRect(r);
  QPainterPath hills;
  hills.moveTo(r.left(), r.bottom());
  hills.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45);
  hills.lineTo(r.left() + r.width() * 0.55, r.top() + r.height() * 0.7);
  hills.lineTo(r.left() + r.width() * 0.75, r.top() + r.height() * 0.5);
  hills.lineTo(r.right(), r.bottom());
  hills.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 160, 70));
  p.drawPath(hills);
  p.setBrush(QColor(255, 200, 40));
  p.drawEllipse(QPointF(r.left() + r.width() * 0.75, r.top() + r.height() * 0.28), r.width() * 0.11, r.width() * 0.11);
}

void Film(QPainter& p, const QRectF& r, const QColor& body) {
  p.setPen(Outline(QColor(40, 40, 50)));
  p.setBrush(body);
  p.drawRoundedRect(r, 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (double x = r.left() + 1.5; x < r.right() - 1.5; x += 3.5) {
    p.drawRect(QRectF(x, r.top() + 1, 1.8, 1.8));
    p.drawRect(QRectF(x, r.bottom() - 2.8, 1.8, 1.8));
  }
}

void DrawGlyph(QPainter& p, ShellIcon id) {
  switch (id) {
    case ShellIcon::New:
      Page(p, Qt::white);
      Star(p, QPointF(16.5, 17), 5.5, QColor(255, 210, 40));
      break;
    case ShellIcon::Open: {
      p.setPen(Outline(QColor(140, 100, 20)));
      p.setBrush(QColor(240, 190, 70));
      p.drawRect(QRectF(2.5, 6.5, 17, 13.5));
      p.drawRect(QRectF(2.5, 4.5, 7, 3));
      QPainterPath front;
      front.moveTo(5, 10);
      front.lineTo(22, 10);
      front.lineTo(19.5, 20);
      front.lineTo(2.5, 20);
      front.closeSubpath();
      p.setBrush(QColor(255, 220, 110));
      p.drawPath(front);
      break;
    }
    case ShellIcon::Save:
      p.setPen(Outline(QColor(30, 50, 110)));
      p.setBrush(QColor(60, 100, 200));
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 1.5, 1.5);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 3, 11, 7));
      p.setBrush(QColor(200, 205, 215));
      p.drawRect(QRectF(6, 13.5, 12, 7.5));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 50, 110));
      p.drawRect(QRectF(14, 4.2, 2.2, 4.5));
      break;
    case ShellIcon::Preview:
      Page(p, QColor(255, 245, 250));
      Heart(p, QPointF(10.5, 11), 4, QColor(240, 70, 100));
      p.setPen(Outline(QColor(40, 40, 40), 2.2));
      p.setBrush(QColor(200, 230, 255, 200));
      p.drawEllipse(QPointF(14.5, 15), 4.2, 4.2);
      p.drawLine(QPointF(17.6, 18.1), QPointF(21.5, 22));
      break;
    case ShellIcon::Build: {
      // a card wrapped as a parcel
      p.setPen(Outline(QColor(120, 40, 40)));
      p.setBrush(QColor(230, 60, 60));
      p.drawRect(QRectF(3, 8, 18, 13));
      p.setBrush(QColor(250, 210, 60));
      p.drawRect(QRectF(10.5, 8, 3, 13));
      p.drawRect(QRectF(3, 12.5, 18, 3));
      p.setBrush(QColor(250, 210, 60));
      p.drawEllipse(QRectF(6.5, 3, 5.5, 5));
      p.drawEllipse(QRectF(12, 3, 5.5, 5));
      break;
    }
    case ShellIcon::Send:
      p.setPen(Outline(QColor(60, 70, 90)));
      p.setBrush(QColor(255, 250, 230));
      p.drawRect(QRectF(2.5, 6, 19, 13));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({QPointF(2.5, 6), QPointF(12, 13.5), QPointF(21.5, 6)}));
      Heart(p, QPointF(12, 16), 2.2, QColor(240, 70, 100));
      break;
    case ShellIcon::Help:
      p.setPen(Outline(QColor(20, 70, 150)));
      p.setBrush(QColor(70, 140, 230));
      p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
      Text(p, QRectF(2.5, 2.5, 19, 19), "?", Qt::white, 16);
      break;
    case ShellIcon::Home: {
      QPainterPath roof;
      roof.moveTo(2, 12);
      roof.lineTo(12, 3);
      roof.lineTo(22, 12);
      roof.closeSubpath();
      p.setPen(Outline(QColor(130, 30, 30)));
      p.setBrush(QColor(210, 60, 50));
      p.drawPath(roof);
      p.setPen(Outline(QColor(100, 80, 50)));
      p.setBrush(QColor(250, 235, 200));
      p.drawRect(QRectF(5, 12, 14, 9.5));
      p.setBrush(QColor(140, 90, 40));
      p.drawRect(QRectF(10, 15, 4, 6.5));
      break;
    }
    case ShellIcon::News: {
      // a megaphone
      QPainterPath horn;
      horn.moveTo(4, 9);
      horn.lineTo(9, 9);
      horn.lineTo(19, 3.5);
      horn.lineTo(19, 20.5);
      horn.lineTo(9, 15);
      horn.lineTo(4, 15);
      horn.closeSubpath();
      p.setPen(Outline(QColor(120, 60, 0)));
      p.setBrush(QColor(250, 150, 30));
      p.drawPath(horn);
      p.setBrush(QColor(120, 60, 0));
      p.drawRect(QRectF(6, 15, 3, 5));
      p.setPen(Outline(QColor(220, 60, 40), 1.4));
      p.drawLine(QPointF(21, 9), QPointF(23, 8));
      p.drawLine(QPointF(21, 15), QPointF(23, 16));
      break;
    }
    case ShellIcon::Label:
      p.setPen(Outline(QColor(70, 80, 100)));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 4.5, 19, 15));
      Text(p, QRectF(2.5, 4.5, 13, 15), "A", QColor(200, 30, 30), 14);
      p.setPen(Outline(QColor(60, 60, 60), 1.2));
      p.drawLine(QPointF(17, 7.5), QPointF(17, 16.5));
      break;
    case ShellIcon::Button: {
      QLinearGradient g(0, 6, 0, 18);
      g.setColorAt(0, QColor(255, 255, 255));
      g.setColorAt(1, QColor(170, 190, 220));
      p.setPen(Outline(QColor(50, 70, 110)));
      p.setBrush(g);
      p.drawRoundedRect(QRectF(2.5, 6.5, 19, 11), 3, 3);
      p.setPen(Outline(QColor(50, 70, 110), 1.6));
      p.drawLine(QPointF(7.5, 12), QPointF(16.5, 12));
      p.setPen(Outline(QColor(20, 20, 20), 1.0));
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({QPointF(15, 13), QPointF(15, 22.5), QPointF(17.3, 20.3), QPointF(19.5, 23),
                               QPointF(20.6, 22), QPointF(18.6, 19.4), QPointF(21.5, 19.2)}));
      break;
    }
    case ShellIcon::Image:
      Picture(p, QRectF(2.5, 4.5, 19, 15));
      break;
    case ShellIcon::Gif:
      Film(p, QRectF(2, 5, 20, 14), QColor(90, 60, 150));
      Text(p, QRectF(2, 7, 20, 10), "GIF", Qt::white, 7);
      break;
    case ShellIcon::Sound: {
      QPainterPath spk;
      spk.moveTo(3, 9);
      spk.lineTo(7, 9);
      spk.lineTo(12, 4);
      spk.lineTo(12, 20);
      spk.lineTo(7, 15);
      spk.lineTo(3, 15);
      spk.closeSubpath();
      p.setPen(Outline(QColor(40, 60, 90)));
      p.setBrush(QColor(90, 130, 190));
      p.drawPath(spk);
      p.setBrush(Qt::NoBrush);
      p.setPen(Outline(QColor(40, 120, 60), 1.6));
      p.drawArc(QRectF(9, 7, 8, 10), -50 * 16, 100 * 16);
      p.drawArc(QRectF(8, 4, 13, 16), -50 * 16, 100 * 16);
      break;
    }
    case ShellIcon::Video:
      p.setPen(Outline(QColor(40, 40, 50)));
      p.setBrush(QColor(70, 70, 80));
      p.drawRoundedRect(QRectF(2.5, 7, 13, 10), 1.5, 1.5);
      p.drawPolygon(QPolygonF({QPointF(15.5, 10.5), QPointF(21.5, 7), QPointF(21.5, 17), QPointF(15.5, 13.5)}));
      p.setBrush(QColor(230, 60, 60));
      p.drawEllipse(QPointF(6, 10), 1.5, 1.5);
      break;
    case ShellIcon::Flash: {
      p.setPen(Outline(QColor(120, 0, 0)));
      p.setBrush(QColor(200, 20, 30));
      p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 3, 3);
      QPainterPath bolt;
      bolt.moveTo(14, 4.5);
      bolt.lineTo(7.5, 13);
      bolt.lineTo(11.5, 13);
      bolt.lineTo(9.5, 19.5);
      bolt.lineTo(16.5, 10.5);
      bolt.lineTo(12.5, 10.5);
      bolt.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawPath(bolt);
      break;
    }
    case ShellIcon::Caption:
      p.setPen(Outline(QColor(60, 70, 90)));
      p.setBrush(QColor(20, 30, 70));
      p.drawRect(QRectF(2.5, 3.5, 19, 17));
      p.setPen(Outline(QColor(255, 230, 120), 1.5));
      p.drawLine(QPointF(5, 8), QPointF(15, 8));
      p.drawLine(QPointF(5, 12), QPointF(17, 12));
      p.drawLine(QPointF(5, 16), QPointF(12, 16));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(120, 230, 120));
      p.drawPolygon(QPolygonF({QPointF(19, 5), QPointF(21.5, 9), QPointF(16.5, 9)}));
      p.drawPolygon(QPolygonF({QPointF(19, 19), QPointF(21.5, 15), QPointF(16.5, 15)}));
      break;
    case ShellIcon::PicsBox:
      p.setPen(Outline(QColor(90, 90, 110)));
      p.setBrush(QColor(250, 240, 220));
      p.drawRect(QRectF(7.5, 2.5, 14, 11));
      Picture(p, QRectF(2.5, 8.5, 15, 12));
      p.setPen(Outline(QColor(200, 40, 40), 1.4));
      p.drawLine(QPointF(19, 16), QPointF(19, 21));
      p.drawLine(QPointF(16.5, 18.5), QPointF(21.5, 18.5));
      break;
    case ShellIcon::Program: {
      QLinearGradient g(0, 2, 0, 22);
      g.setColorAt(0, QColor(255, 120, 150));
      g.setColorAt(1, QColor(210, 30, 70));
      p.setPen(Outline(QColor(130, 20, 50)));
      p.setBrush(g);
      p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 2, 2);
      Heart(p, QPointF(12, 12), 4.2, QColor(255, 240, 120));
      break;
    }
  }
}

}  // namespace

QPixmap DrawShellIcon(ShellIcon id, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.scale(size / kGrid, size / kGrid);
  DrawGlyph(p, id);
  return pm;
}

QIcon MakeShellIcon(ShellIcon id) {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) icon.addPixmap(DrawShellIcon(id, size));
  return icon;
}

}  // namespace cardshell
