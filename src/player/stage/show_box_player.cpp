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
  list_.Set(*box_, std::move(pictures));
  EndDrawnChange();
  stopped_ = list_.Empty();
  if (list_.Empty()) return;
  box_->SetInterval(transitions::ShowBoxIntervalMs(model_.intervalSeconds));
  BeginChange(t);
  Advance(t);
}

// Handing the box a new or turned list ends a change that is being drawn.
void ShowBoxPlayer::EndDrawnChange() {
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
    if (stopped_ || !timer_->running || list_.Empty()) return;
    const int64_t due = timer_->startedAt + timer_->interval;
    if (due > t) return;
    BeginChange(due);
    if (!InChange()) return;
  }
}

int64_t ShowBoxPlayer::NextChangeAt() const {
  if (InChange()) return changeStart_ + static_cast<int64_t>(stepsDrawn_) * stepMs_;
  if (stopped_ || !timer_->running || list_.Empty()) return -1;
  return timer_->startedAt + timer_->interval;
}

void ShowBoxPlayer::ShowNext(int64_t t) {
  if (list_.Empty()) return;
  stopped_ = false;
  BeginChange(t);
  Advance(t);
}

void ShowBoxPlayer::ShowPrevious(int64_t t) {
  if (!list_.Empty()) ShowIndex(list_.Previous(*box_), t);
}

bool ShowBoxPlayer::ShowIndex(int index, int64_t t) {
  if (!list_.TurnToNext(*box_, index)) return false;
  EndDrawnChange();
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

int ShowBoxPlayer::ShownIndex() const { return list_.Shown(*box_); }

}  // namespace stage
