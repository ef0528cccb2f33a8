#include "maker/transitions/pic_show_box.h"

#include <algorithm>
#include <limits>

#include "platform/message_pump.h"

namespace transitions {

using platform::Bitmap;

TlmPics::TlmPics(std::unique_ptr<PicsTimer> timer, int screenWidth, int screenHeight)
    : engine_(std::make_unique<TlmPicMovieunit>()), timer_(std::move(timer)), rng_(std::random_device{}()) {
  engine_->ResetNewFrame(screenWidth, screenHeight);
}

TlmPics::~TlmPics() {
  *alive_ = false;
  if (timer_) timer_->Stop();
}

void TlmPics::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
}

void TlmPics::SetPictures(std::vector<std::unique_ptr<Bitmap>> pictures) {
  pictures_ = std::move(pictures);
  if (!showing_) {  // a change was being drawn: it ends here
    ++changeSerial_;
    showing_ = true;
    firstPaint_ = false;
  }
}

void TlmPics::SetBkColor(platform::Color c) { engine_->SetBkColor(c); }

int ShowBoxIntervalMs(long long seconds) {
  constexpr long long kMostSeconds = std::numeric_limits<int>::max() / 1000;
  return static_cast<int>(std::clamp(seconds, 1LL, kMostSeconds) * 1000);
}

void TlmPics::SetInterval(int ms) {
  interval_ = ms;
  if (!timer_) return;
  timer_->Stop();
  timer_->Start(interval_, [this] { NextPic(); });
}

void TlmPics::StopPics() {
  if (timer_) timer_->Stop();
}

void TlmPics::SeedRandom(uint32_t seed) {
  rng_.seed(seed);
  engine_->SeedRandom(seed + 1);
}

int TlmPics::ChoosePicture() {
  const int count = PictureCount();
  if (RandomPic) {
    std::uniform_int_distribution<int> pick(0, count - 1);
    int i = pick(rng_);
    while (i == last_ && count > 1) i = pick(rng_);
    return i;
  }
  current_ = current_ >= count - 1 ? 0 : current_ + 1;
  return current_;
}

int TlmPics::ChooseEffect() {
  if (OnlyUseXGID > 0) return OnlyUseXGID;
  // The swings rotate every pixel on every step; they are never chosen at random.
  std::uniform_int_distribution<int> pick(1, kEffectCount);
  int e = pick(rng_);
  while (e >= 168 && e <= 183) e = pick(rng_);
  return e;
}

int TlmPics::BeginChange() {
  if (pictures_.empty()) return 0;
  StopPics();
  const int index = ChoosePicture();
  last_ = index;
  const int effect = ChooseEffect();
  lastEffect_ = effect;

  // Compose both frames at the box's size of this moment.
  std::unique_ptr<Bitmap> onShow;
  if (engine_->NewFrame()) onShow = engine_->NewFrame()->Clone();
  engine_->PrepareFrames(onShow.get(), pictures_[static_cast<size_t>(index)].get(), width_, height_);
  onShow.reset();

  showing_ = false;
  ++changeSerial_;
  return effect;
}

void TlmPics::EndChange() {
  firstPaint_ = false;
  showing_ = true;
  if (timer_) timer_->Start(interval_, [this] { NextPic(); });
}

void TlmPics::NextPic() {
  const int effect = BeginChange();
  if (effect == 0) return;
  const uint64_t serial = changeSerial_;
  const std::shared_ptr<bool> alive = alive_;
  for (int step = 1; step <= kStepCount; ++step) {
    platform::ProcessPendingMessages();
    if (!*alive) return;                   // destroyed by a handler: touch nothing
    if (changeSerial_ != serial) return;   // reloaded, or a newer change took over
    if (canvas_) engine_->DrawStep(step, *canvas_, effect);
  }
  EndChange();
}

void TlmPics::PaintFrame() {
  if (!showing_ || !canvas_) return;
  Bitmap* frame = engine_->NewFrame();
  if (!frame) return;
  if (firstPaint_) frame->Fill(engine_->BkColor());
  canvas_->DrawImage(*frame, (width_ - frame->Width()) / 2, (height_ - frame->Height()) / 2);
}

}  // namespace transitions
