#pragma once
// The picture show box's hidden timer on Qt's event loop: a repeating QTimer.
#include <QObject>
#include <QTimer>
#include <functional>

#include "maker/transitions/pic_show_box.h"

namespace widgets {

class QtPicsTimer : public transitions::PicsTimer {
 public:
  QtPicsTimer();
  ~QtPicsTimer() override;
  // (Re)starts with the period (0 fires as soon as the event loop is idle again).
  void Start(int intervalMs, std::function<void()> onFire) override;
  void Stop() override;
  bool IsActive() const { return timer_.isActive(); }
  int IntervalMs() const { return timer_.interval(); }

 private:
  QTimer timer_;
  std::function<void()> onFire_;
};

}  // namespace widgets
