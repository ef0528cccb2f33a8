#include "player/stage/show_box_player.h"

#include <algorithm>

namespace stage {

using platform::Bitmap;

// The box's timer on the stage's clock: it only remembers when it was started and with what
// period; the player starts the change when that time has come.
class ShowBoxPlayer::Timer : public transitions::PicsTimer {
 public:
  explicit Timer(const int64_t& now) : now_(now) {}
  void Start(int intervalMs, std::function<void()>) override {
    running = true;
    interval = std::max(intervalMs, 0);
    startedAt = now_;
  }
  void Stop() override { running = false; }

  bool running = false;
  int interval = 0;
  int64_t startedAt = 0;

 private:
  const int64_t& now_;
};

ShowBoxPlayer::ShowBoxPlayer(const player::PicsBoxModel& model, int screenWidth, int screenHeight, uint32_t seed,
                             int stepMs)
    : model_(model), stepMs_(std::max(stepMs, 1)) {
  auto timer = std::make_unique<Timer>(now_);
  timer_ = timer.get();
  box_ = std::make_unique<transitions::TlmPics>(std::move(timer), std::max(screenWidth, 1), std::max(screenHeight, 1));
  box_->SeedRandom(seed);
  box_->RandomPic = model.randomOrder;
  box_->OnlyUseXGID = model.effectId;
  box_->SetBkColor(model.bkColor);
  box_->SetBounds(0, 0, model.rect.width, model.rect.height);
  surface_ = Bitmap::Create(std::max(model.rect.width, 1), std::max(model.rect.height, 1), platform::PixelFormat::Bgr24);
  surface_->Fill(model.bkColor);
  canvas_ = std::make_unique<transitions::BitmapCanvas>(*surface_);
  box_->SetCanvas(canvas_.get());
  Paint();
}

ShowBoxPlayer::~ShowBoxPlayer() { box_->SetCanvas(nullptr); }

void ShowBoxPlayer::Paint() {
  if (!InChange()) box_->PaintFrame();
}

void ShowBoxPlayer::SetPictures(std::vector<std::unique_ptr<Bitmap>> pictures, int64_t t) {
  now_ = t;
  box_->StopPics();
  pictures_.clear();
  for (auto& p : pictures)
    if (p) pictures_.push_back(std::shared_ptr<const Bitmap>(std::move(p)));
  Rotate(0);
  stopped_ = pictures_.empty();
  if (pictures_.empty()) return;
  box_->SetInterval(transitions::ShowBoxIntervalMs(model_.intervalSeconds));
  BeginChange(t);
  Advance(t);
}

// The box shows its pictures in its own order; it gets the list turned so that its position j
// holds list picture j + offset. Setting the pictures ends a change that is being drawn.
void ShowBoxPlayer::Rotate(int offset) {
  const int n = PictureCount();
  offset_ = n > 0 ? ((offset % n) + n) % n : 0;
  std::vector<std::unique_ptr<Bitmap>> rotated;
  rotated.reserve(pictures_.size());
  for (int j = 0; j < n; ++j) rotated.push_back(pictures_[static_cast<size_t>((j + offset_) % n)]->Clone());
  box_->SetPictures(std::move(rotated));
  if (InChange()) {
    changeStart_ = -1;
    Paint();
  }
}

void ShowBoxPlayer::BeginChange(int64_t t) {
  now_ = t;
  const int effect = box_->BeginChange();
  if (effect == 0) return;
  changeStart_ = t;
  changeEffect_ = effect;
  stepsDrawn_ = 0;
}

void ShowBoxPlayer::Advance(int64_t t) {
  for (;;) {
    if (InChange()) {
      const int64_t due = std::min<int64_t>(transitions::kStepCount, (t - changeStart_) / stepMs_ + 1);
      while (stepsDrawn_ < due) {
        ++stepsDrawn_;
        now_ = changeStart_ + static_cast<int64_t>(stepsDrawn_ - 1) * stepMs_;
        box_->Engine().DrawStep(stepsDrawn_, *canvas_, changeEffect_);
      }
      if (stepsDrawn_ < transitions::kStepCount) return;
      // The interval runs from the end of the change: the moment its last step was drawn.
      changeStart_ = -1;
      box_->EndChange();
      if (stopped_) box_->StopPics();
      Paint();
      continue;
    }
    if (stopped_ || !timer_->running || pictures_.empty()) return;
    const int64_t due = timer_->startedAt + timer_->interval;
    if (due > t) return;
    BeginChange(due);
    if (!InChange()) return;
  }
}

int64_t ShowBoxPlayer::NextChangeAt() const {
  if (InChange()) return changeStart_ + static_cast<int64_t>(stepsDrawn_) * stepMs_;
  if (stopped_ || !timer_->running || pictures_.empty()) return -1;
  return timer_->startedAt + timer_->interval;
}

void ShowBoxPlayer::ShowNext(int64_t t) {
  if (pictures_.empty()) return;
  stopped_ = false;
  BeginChange(t);
  Advance(t);
}

void ShowBoxPlayer::ShowPrevious(int64_t t) {
  const int n = PictureCount();
  if (n == 0) return;
  const int shown = ShownIndex();
  ShowIndex(shown < 0 ? n - 1 : (shown + n - 1) % n, t);
}

bool ShowBoxPlayer::ShowIndex(int index, int64_t t) {
  const int n = PictureCount();
  if (index < 0 || index >= n) return false;
  // In list order the box shows the position after its current one: turn the list so that
  // this position holds the wanted picture; list order then goes on from it.
  const int cur = box_->Current();
  const int nextPos = cur >= n - 1 ? 0 : cur + 1;
  Rotate(index - nextPos);
  const bool random = box_->RandomPic;
  box_->RandomPic = false;
  stopped_ = false;
  BeginChange(t);
  box_->RandomPic = random;
  Advance(t);
  return true;
}

void ShowBoxPlayer::Click(int64_t t) {
  if (model_.clickShowsNext) ShowNext(t);
}

void ShowBoxPlayer::Stop() {
  stopped_ = true;
  box_->StopPics();
}

int ShowBoxPlayer::ShownIndex() const {
  const int n = PictureCount();
  if (n == 0 || box_->Last() < 0) return -1;
  return (box_->Last() + offset_) % n;
}

}  // namespace stage
