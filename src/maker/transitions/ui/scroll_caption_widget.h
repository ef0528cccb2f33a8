#pragma once
// ScrollCaptionWidget: a scrolling caption ("滚动字幕") as a Qt widget. A timer at the
// caption's interval calls document::CaptionScroller::Tick and shows the frame it draws;
// the frame has the widget's size, and a transparent caption lets its parent show through
// where the background colour would be.
//
// Use:
//   auto* cap = new widgets::ScrollCaptionWidget(parent);
//   cap->setGeometry(left, top, width, height);
//   document::CaptionLook look;           // text, font, bkColor, transparent, way,
//   look.picture = document::LoadCaptionPicture(dat.Pic);   // optional background picture
//   cap->SetLook(look);                   // width/height follow the widget's size
//   cap->SetInterval(sd);                 // ms between steps (SD; 0 is taken as 1)
//   cap->Start();                         // Stop() halts it (designer preview and build)
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "maker/document/caption_scroll.h"

namespace widgets {

class ScrollCaptionWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ScrollCaptionWidget(QWidget* parent = nullptr);

  // Sets the look; its width and height are replaced by the widget's size. The scroll
  // position stays (it restarts when it lies past the new end).
  void SetLook(document::CaptionLook look);
  const document::CaptionLook& Look() const { return scroller_.Look(); }
  document::CaptionScroller& Scroller() { return scroller_; }

  void SetInterval(int ms);
  int Interval() const { return timer_.interval(); }
  void Start();
  void Stop();
  bool IsRunning() const { return timer_.isActive(); }

  // One timer step: draw the frame at the current position, advance, repaint.
  void Tick();
  // The frame on show (widget-sized, with alpha, as of the last tick or look change).
  const QImage& Frame() const { return frame_; }
  // Draws the frame at the current position again (after a resize, without ticking).
  void Refresh() { Redraw(); }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Redraw();  // the frame at the current position, without advancing
  bool SyncSize();  // true when the look's size changed

  document::CaptionScroller scroller_;
  QTimer timer_;
  QImage frame_;
};

}  // namespace widgets
