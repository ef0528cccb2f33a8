#include "maker/transitions/pic_movie.h"

#include <algorithm>
#include <cmath>

#include "maker/transitions/effects.h"

namespace transitions {

using platform::Bitmap;
using platform::PixelFormat;

void BitmapCanvas::DrawImage(const Bitmap& image, int x, int y) {
  if (x == 0 && y == 0 && image.SameSizeAndFormat(target_)) CopyFrameOut(image, target_);
  else CopyBlock(image, 0, 0, image.Width(), image.Height(), target_, x, y);
  ++draws;
}

int RandInt(std::mt19937& rng, int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

Box Anchored(Anchor a, int W, int H, int w, int h) {
  switch (a) {
    case Anchor::Left: return {0, 0, w, H};
    case Anchor::Right: return {W - w, 0, w, H};
    case Anchor::Top: return {0, 0, W, h};
    case Anchor::Bottom: return {0, H - h, W, h};
    case Anchor::TL: return {0, 0, w, h};
    case Anchor::BL: return {0, H - h, w, h};
    case Anchor::TR: return {W - w, 0, w, h};
    case Anchor::BR: return {W - w, H - h, w, h};
    case Anchor::Centre: return {(W - w) / 2, (H - h) / 2, w, h};
  }
  return {0, 0, 0, 0};
}

// --- resampling ---------------------------------------------------------------------------

namespace {

struct Tap {
  int index;
  float weight;
};

// For every target index, the source indices and weights along one axis: the covered area
// when shrinking (partial pixels at the footprint's ends weighted by their share), bilinear
// taps when enlarging. Indices past the source's edge repeat its last pixel.
std::vector<std::vector<Tap>> AxisTaps(int srcN, int dstN) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(dstN));
  const double scale = static_cast<double>(srcN) / dstN;
  for (int i = 0; i < dstN; ++i) {
    auto& t = taps[static_cast<size_t>(i)];
    if (scale >= 1.0) {
      const double a = i * scale, b = (i + 1) * scale;
      for (int k = static_cast<int>(std::floor(a)); k < b; ++k) {
        const double cover = std::min<double>(b, k + 1) - std::max<double>(a, k);
        if (cover > 1e-12) t.push_back({std::min(k, srcN - 1), static_cast<float>(cover / scale)});
      }
    } else {
      const double c = (i + 0.5) * scale - 0.5;
      const int k0 = static_cast<int>(std::floor(c));
      const double frac = c - k0;
      t.push_back({std::clamp(k0, 0, srcN - 1), static_cast<float>(1.0 - frac)});
      if (frac > 0) t.push_back({std::clamp(k0 + 1, 0, srcN - 1), static_cast<float>(frac)});
    }
  }
  return taps;
}

std::unique_ptr<Bitmap> As24(const Bitmap& b) {
  if (b.Format() == PixelFormat::Bgr24) return b.Clone();
  return b.ConvertTo(PixelFormat::Bgr24);
}

}  // namespace

std::unique_ptr<Bitmap> ResampleSmooth(const Bitmap& srcAny, int dw, int dh) {
  auto out = Bitmap::Create(dw, dh, PixelFormat::Bgr24);
  if (!out || dw <= 0 || dh <= 0 || srcAny.Empty()) return out;
  std::unique_ptr<Bitmap> converted;
  const Bitmap* src = &srcAny;
  if (srcAny.Format() != PixelFormat::Bgr24) {
    converted = As24(srcAny);
    src = converted.get();
  }
  const int sw = src->Width(), sh = src->Height();
  const auto xt = AxisTaps(sw, dw), yt = AxisTaps(sh, dh);
  // Horizontal pass over every source row, then the vertical pass into the target.
  std::vector<float> mid(static_cast<size_t>(dw) * sh * 3);
  for (int y = 0; y < sh; ++y) {
    const uint8_t* in = src->Row(y);
    float* m = &mid[static_cast<size_t>(y) * dw * 3];
    for (int x = 0; x < dw; ++x) {
      float b = 0, g = 0, r = 0;
      for (const Tap& t : xt[static_cast<size_t>(x)]) {
        const uint8_t* p = in + t.index * 3;
        b += p[0] * t.weight;
        g += p[1] * t.weight;
        r += p[2] * t.weight;
      }
      m[x * 3] = b;
      m[x * 3 + 1] = g;
      m[x * 3 + 2] = r;
    }
  }
  std::vector<float> acc(static_cast<size_t>(dw) * 3);
  for (int y = 0; y < dh; ++y) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (const Tap& t : yt[static_cast<size_t>(y)]) {
      const float* m = &mid[static_cast<size_t>(t.index) * dw * 3];
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += m[i] * t.weight;
    }
    uint8_t* o = out->Row(y);
    for (size_t i = 0; i < acc.size(); ++i)
      o[i] = static_cast<uint8_t>(std::lround(std::clamp(acc[i], 0.0f, 255.0f)));
  }
  return out;
}

std::unique_ptr<Bitmap> ComposeFrame(const Bitmap* picture, int W, int H, platform::Color background) {
  auto frame = Bitmap::Create(std::max(W, 0), std::max(H, 0), PixelFormat::Bgr24);
  if (!frame) return frame;
  frame->Fill(background);
  if (!picture || picture->Empty() || frame->Empty()) return frame;
  const int pw = picture->Width(), ph = picture->Height();
  if (pw == W && ph == H) {
    auto p24 = As24(*picture);
    if (p24) CopyWhole(*p24, *frame);
    return frame;
  }
  // Fit keeping proportions: pw / W > ph / H means the width limits.
  int dw, dh;
  if (static_cast<int64_t>(pw) * H > static_cast<int64_t>(ph) * W) {
    dw = W;
    dh = RoundDiv(static_cast<int64_t>(W) * ph, pw);
  } else {
    dh = H;
    dw = RoundDiv(static_cast<int64_t>(H) * pw, ph);
  }
  if (dw <= 0 || dh <= 0) return frame;
  auto scaled = ResampleSmooth(*picture, dw, dh);
  if (scaled) CopyBlock(*scaled, 0, 0, dw, dh, *frame, (W - dw) / 2, (H - dh) / 2);
  return frame;
}

// --- the engine -----------------------------------------------------------------------------

namespace {

using FamilyFn = void (*)(const StepFrames&, int);

struct Family {
  int first, last;
  bool baseNew;  // the work image starts from the new frame (else the old)
  FamilyFn draw;
  bool writesAll = false;  // the family writes every pixel itself, its base included
};

const Family kFamilies[] = {
    {1, 9, false, StretchIn, true},
    {10, 18, true, StretchOut, true},
    {19, 19, false, [](const StepFrames& f, int) { CrossFade(f); }, true},
    {20, 20, true, [](const StepFrames& f, int) { CrossFade(f); }, true},
    {21, 29, false, WipeIn, true},
    {30, 38, true, WipeOut, true},
    {39, 46, false, SlideIn, true},
    {47, 54, true, SlideOut, true},
    {55, 58, false, Push, true},
    {59, 62, false, Swap, true},
    {63, 66, false, PageTurnIn, true},
    {67, 70, true, PageTurnOut, true},
    {71, 76, false, CentreOpen, true},
    {77, 82, true, CentreClose, true},
    {83, 102, false, CombStrips, true},
    {103, 106, false, SlicesIn, true},
    {107, 108, false, CombBothSides, true},
    {109, 112, true, SlicesOut, true},
    {113, 118, false, FourPiecesIn, true},
    {119, 124, true, FourPiecesOut, true},
    {125, 127, false, QuartersIn, true},
    {128, 130, true, QuartersOut, true},
    {131, 131, false, [](const StepFrames& f, int) { IrisOpen(f); }},
    {132, 132, true, [](const StepFrames& f, int) { IrisClose(f); }},
    {133, 133, true, [](const StepFrames& f, int) { Squeeze(f); }, true},
    {134, 134, true, [](const StepFrames& f, int) { DiamondClose(f); }},
    {135, 135, false, [](const StepFrames& f, int) { DiamondOpen(f); }},
    {136, 151, false, ShapesGrow},
    {152, 167, true, ShapesShrink},
    {168, 175, false, SwingIn},
    {176, 183, true, SwingOut},
    {184, 194, false, RegionsIn},
    {195, 196, true, RegionsOut},
};

}  // namespace

TlmPicMovieunit::TlmPicMovieunit() : rng_(std::random_device{}()) {}
TlmPicMovieunit::~TlmPicMovieunit() = default;

void TlmPicMovieunit::PrepareFrames(const Bitmap* onShow, const Bitmap* next, int width, int height) {
  old_.reset();
  new_.reset();
  work_.reset();
  old_ = ComposeFrame(onShow, width, height, bkColor_);
  new_ = ComposeFrame(next, width, height, bkColor_);
}

void TlmPicMovieunit::ResetNewFrame(int width, int height) {
  new_ = Bitmap::Create(std::max(width, 0), std::max(height, 0), PixelFormat::Bgr24);
}

void TlmPicMovieunit::DrawStep(int step, TransitionCanvas& target, int effect) {
  if (step < 1 || step > kStepCount || effect < 1 || effect > kEffectCount) return;
  if (!old_ || !new_ || !old_->SameSizeAndFormat(*new_)) return;
  if (effect == 19 && step % 4 != 0) return;  // the sparing cross-fade draws every fourth step
  const Family* fam = nullptr;
  for (const Family& f : kFamilies)
    if (effect >= f.first && effect <= f.last) fam = &f;
  if (!fam) return;
  if (!work_ || !work_->SameSizeAndFormat(*new_)) work_ = Bitmap::Create(new_->Width(), new_->Height(), PixelFormat::Bgr24);
  if (!work_) return;
  // Base frame into the work image, unless the family composes base and blocks itself.
  if (!fam->writesAll) CopyWhole(fam->baseNew ? *new_ : *old_, *work_);
  StepFrames f{*old_, *new_, *work_, new_->Width(), new_->Height(), step, rng_};
  fam->draw(f, effect - fam->first + 1);
  // Whatever rounding an effect's geometry meets at odd, portrait or tiny sizes, the last step
  // shows exactly the new frame. The family still draws first, so random patterns draw the same.
  if (step == kStepCount) CopyWhole(*new_, *work_);
  target.DrawImage(*work_, 0, 0);
}

}  // namespace transitions
