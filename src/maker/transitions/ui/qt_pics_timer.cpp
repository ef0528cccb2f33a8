#include "maker/transitions/ui/qt_pics_timer.h"

#include <algorithm>

namespace widgets {

QtPicsTimer::QtPicsTimer() {
  timer_.setSingleShot(false);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The handler usually stops and restarts this timer; keep a copy while it runs.
    auto fire = onFire_;
    if (fire) fire();
  });
}

QtPicsTimer::~QtPicsTimer() { timer_.stop(); }

void QtPicsTimer::Start(int intervalMs, std::function<void()> onFire) {
  onFire_ = std::move(onFire);
  timer_.start(std::max(intervalMs, 0));
}

void QtPicsTimer::Stop() { timer_.stop(); }

}  // namespace widgets
