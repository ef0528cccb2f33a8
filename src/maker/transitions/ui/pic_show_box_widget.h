#pragma once
// PicShowBoxWidget: the picture show box ("图像展示框") as a Qt widget, painting through the
// TlmPics component. The designer canvas shows it live; the card players add the click rule
// and the show-box actions (previous, next, picture number n).
//
// Use:
//   auto* box = new widgets::PicShowBoxWidget(parent);
//   box->setGeometry(left, top, width, height);
//   box->SetBkColor(dat.BkCor);
//   box->SetRandomOrder(randPic);
//   box->SetEffect(effectId);              // 0 random, 1..196 fixed
//   box->SetIntervalSeconds(dat.Inv);      // stored; applied when pictures are there
//   box->LoadPictures(dat.pictures);       // decodes, starts the timer, shows the first at once
//   box->Stop();                           // before a build or when the owner goes away
//
// LoadPictures and every change run a whole transition (100 steps) before they return,
// letting pending events run between steps (as the platform's message pump allows).
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "maker/transitions/pic_show_box.h"
#include "maker/transitions/pics_list.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace widgets {

class QtPicsTimer;

class PicShowBoxWidget : public QWidget {
  Q_OBJECT

 public:
  // The frame on show starts at the primary screen's size (640 x 480 without a screen).
  explicit PicShowBoxWidget(QWidget* parent = nullptr);
  ~PicShowBoxWidget() override;

  transitions::TlmPics& Box() { return *box_; }

  // Background colour around the pictures; repaints at once.
  void SetBkColor(platform::Color c);
  platform::Color BkColor() const { return bkColor_; }
  void SetRandomOrder(bool random);
  // 0 (or less) chooses a random effect per change; 1..196 always that effect.
  void SetEffect(int effectId);
  // Seconds between changes (the interval runs from the end of one change). When the box
  // holds pictures the timer restarts with the new period.
  void SetIntervalSeconds(int seconds);
  int IntervalSeconds() const { return intervalSeconds_; }

  // Replaces the pictures with the decodable ones of the list (unreadable files are left
  // out) and, when any is there, starts the timer and shows the first picture with a
  // transition. Returns how many pictures were decoded.
  int LoadPictures(const std::vector<std::string>& paths);
  int SetPictures(std::vector<std::unique_ptr<platform::Bitmap>> pictures);
  int PictureCount() const { return list_.Count(); }

  // Stops the timer; the frame on show stays.
  void Stop();
  // Starts the timer again (after Stop), when pictures are there.
  void Start();
  bool IsRunning() const;

  // The next picture as the timer would choose it (list or random order).
  void ShowNext();
  // The picture before the one on show (list order, wrapping).
  void ShowPrevious();
  // The picture at a 0-based index of the list; false (and nothing happens) when out of range.
  bool ShowIndex(int index);
  // Index (0-based, in the loaded list) of the picture on show; -1 before the first change.
  int ShownIndex() const;

  // Clk: a left click shows the next picture (finished cards only; the designer leaves it off).
  void SetClickShowsNext(bool on) { clickShowsNext_ = on; }
  bool ClickShowsNext() const { return clickShowsNext_; }

  // What the widget shows now (the last drawn transition step or frame), widget-sized.
  const QImage& Surface() const { return surface_; }

 signals:
  void clicked();  // a left click on the box (after the click rule ran)

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  class Canvas;
  void SyncSize();

  std::unique_ptr<Canvas> canvas_;
  std::unique_ptr<transitions::TlmPics> box_;
  transitions::PicsList list_;  // the list, in order
  QImage surface_;
  platform::Color bkColor_ = 0;
  int intervalSeconds_ = 5;
  bool clickShowsNext_ = false;
  bool stopped_ = true;
  bool painting_ = false;  // inside paintEvent: steps drawn now need no further update
};

}  // namespace widgets
