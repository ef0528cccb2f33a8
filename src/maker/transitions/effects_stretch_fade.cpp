// Stretch in and out (1-18), the cross-fades (19, 20), centre open and close (71-82).
#include "maker/transitions/effects.h"

namespace transitions {

namespace {

constexpr Anchor kStretchAnchors[9] = {Anchor::Left, Anchor::Right,  Anchor::Top, Anchor::Bottom, Anchor::Centre,
                                       Anchor::TL,   Anchor::BL,     Anchor::TR,  Anchor::BR};

// Stretches src whole into the rectangle of the variant, with extents w and h, over the base;
// the bottom anchor takes its top from `bottomTop` (its height is what is left below it).
void StretchAnchored(const StepFrames& f, const Bitmap& src, const Bitmap& base, int variant, int w, int h,
                     int bottomTop) {
  Box b = Anchored(kStretchAnchors[variant - 1], f.W, f.H, w, h);
  if (variant == 4) b = {0, bottomTop, f.W, f.H - bottomTop};
  BlockComposer out(f.work);
  out.AddStretched(src, 0, 0, src.Width(), src.Height(), b.x, b.y, b.w, b.h);
  out.Compose(base, f.work);
}

}  // namespace

void StretchIn(const StepFrames& f, int v) {
  const int s = f.s;
  StretchAnchored(f, f.newF, f.oldF, v, RoundDiv(int64_t(s) * f.W, 100), RoundDiv(int64_t(s) * f.H, 100),
                  RoundDiv(int64_t(100 - s) * f.H, 100));
}

void StretchOut(const StepFrames& f, int v) {
  const int s = f.s;
  StretchAnchored(f, f.oldF, f.newF, v, RoundDiv(int64_t(100 - s) * f.W, 100), RoundDiv(int64_t(100 - s) * f.H, 100),
                  RoundDiv(int64_t(s) * f.H, 100));
}

// Built with the loop vectorizer, which the default optimisation level leaves out.
TRANSITIONS_HOT_LOOP void CrossFade(const StepFrames& f) {
  // (100 - s) * old div 100 + s * new div 100 per channel. The products fit 16 bits, so the
  // loop runs on 16-bit lanes, where the compiler turns the division into a multiply.
  const uint16_t a = static_cast<uint16_t>(100 - f.s), b = static_cast<uint16_t>(f.s);
  const int bytes = f.W * 3;
  for (int y = 0; y < f.H; ++y) {
    const uint8_t* __restrict o = f.oldF.Row(y);
    const uint8_t* __restrict n = f.newF.Row(y);
    uint8_t* __restrict w = f.work.Row(y);
    for (int i = 0; i < bytes; ++i) {
      const uint16_t po = static_cast<uint16_t>(o[i] * a), pn = static_cast<uint16_t>(n[i] * b);
      w[i] = static_cast<uint8_t>(po / 100 + pn / 100);
    }
  }
}

namespace {

// Centre open and close share their drawing; `src` is the frame drawn over the base, w and h
// the band extents of the step.
void CentreBands(const StepFrames& f, const Bitmap& src, const Bitmap& base, int v, int w, int h) {
  const int W = f.W, H = f.H;
  BlockComposer out(f.work);
  switch (v) {
    case 1: out.AddStretched(src, 0, 0, W, H, (W - w) / 2, 0, w, H); break;
    case 2: out.AddStretched(src, 0, 0, W, H, 0, (H - h) / 2, W, h); break;
    case 3: out.AddInPlace(src, (W - w) / 2, 0, w, H); break;
    case 4: out.AddInPlace(src, 0, (H - h) / 2, W, h); break;
    case 5:
      out.Add(src, (W - w) / 2, 0, w / 2, H, 0, 0);
      out.Add(src, W / 2, 0, w / 2, H, W - w / 2, 0);
      break;
    case 6:
      out.Add(src, 0, (H - h) / 2, W, h / 2, 0, 0);
      out.Add(src, 0, H / 2, W, h / 2, 0, H - h / 2);
      break;
  }
  out.Compose(base, f.work);
}

}  // namespace

void CentreOpen(const StepFrames& f, int v) {
  // The sliding halves meet with a column or row left over on odd sizes; the last step
  // shows the whole new frame.
  if (f.s == 100 && ((v == 5 && f.W % 2) || (v == 6 && f.H % 2))) {
    CopyWhole(f.newF, f.work);
    return;
  }
  CentreBands(f, f.newF, f.oldF, v, RoundDiv(int64_t(f.s) * f.W, 100), RoundDiv(int64_t(f.s) * f.H, 100));
}

void CentreClose(const StepFrames& f, int v) {
  CentreBands(f, f.oldF, f.newF, v, RoundDiv(int64_t(100 - f.s) * f.W, 100), RoundDiv(int64_t(100 - f.s) * f.H, 100));
}

}  // namespace transitions
