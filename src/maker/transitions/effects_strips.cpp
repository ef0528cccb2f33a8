// Comb strips (83-102), ten slices in and out (103-106, 109-112) and comb strips from both
// sides (107, 108). A comb strip k (0..49) is one percent of the frame thick and starts at
// 2k percent, either from the near side or, for the far-side placements, counted from the far one.
#include "maker/transitions/effects.h"

namespace transitions {

namespace {

enum class Grow { Full, FromStart, FromEnd };  // length of a strip along its run
enum class Wipe { Right, Left, Bottom, Top, CornerBR, CornerBL, CornerTR, CornerTL };

struct CombSpec {
  bool horizontal, hFar;  // horizontal strips; placed from the bottom
  Grow hGrow;
  bool vertical, vFar;    // vertical strips; placed from the right
  Grow vGrow;
  bool oneMorePerStep;    // phase 1 shows strips k < s (else all 50)
  Wipe wipe;              // what phase 2 adds to the full strips
};

constexpr CombSpec kCombs[20] = {
    {false, false, Grow::Full, true, false, Grow::Full, true, Wipe::Right},                 // 83
    {false, false, Grow::Full, true, true, Grow::Full, true, Wipe::Left},                   // 84
    {true, false, Grow::Full, false, false, Grow::Full, true, Wipe::Bottom},                // 85
    {true, true, Grow::Full, false, false, Grow::Full, true, Wipe::Top},                    // 86
    {true, false, Grow::FromStart, false, false, Grow::Full, false, Wipe::Right},           // 87
    {true, false, Grow::FromEnd, false, false, Grow::Full, false, Wipe::Left},              // 88
    {false, false, Grow::Full, true, false, Grow::FromStart, false, Wipe::Bottom},          // 89
    {false, false, Grow::Full, true, false, Grow::FromEnd, false, Wipe::Top},               // 90
    {true, false, Grow::FromStart, false, false, Grow::Full, false, Wipe::Left},            // 91
    {true, false, Grow::FromEnd, false, false, Grow::Full, false, Wipe::Right},             // 92
    {false, false, Grow::Full, true, false, Grow::FromStart, false, Wipe::Top},             // 93
    {false, false, Grow::Full, true, false, Grow::FromEnd, false, Wipe::Bottom},            // 94
    {true, false, Grow::FromStart, true, false, Grow::FromStart, true, Wipe::CornerBR},     // 95
    {true, false, Grow::FromEnd, true, true, Grow::FromStart, true, Wipe::CornerBL},        // 96
    {true, true, Grow::FromStart, true, false, Grow::FromEnd, true, Wipe::CornerTR},        // 97
    {true, true, Grow::FromEnd, true, true, Grow::FromEnd, true, Wipe::CornerTL},           // 98
    {true, false, Grow::FromStart, true, false, Grow::FromStart, true, Wipe::CornerTL},     // 99
    {true, false, Grow::FromEnd, true, true, Grow::FromStart, true, Wipe::CornerTR},        // 100
    {true, true, Grow::FromStart, true, false, Grow::FromEnd, true, Wipe::CornerBL},        // 101
    {true, true, Grow::FromEnd, true, true, Grow::FromEnd, true, Wipe::CornerBR},           // 102
};

// Position of strip k along the frame's size: 2k percent from the near or the far side.
int StripStart(int k, int size, bool far) {
  const int p = RoundDiv(int64_t(2 * k) * size, 100);
  return far ? size - p : p;
}

// Start and length of a strip along its run for the phase-1 growth of step s.
void Run(Grow g, int s, int size, int& start, int& len) {
  if (g == Grow::Full) {
    start = 0;
    len = size;
    return;
  }
  len = RoundDiv(int64_t(2 * s) * size, 100);
  start = g == Grow::FromStart ? 0 : size - len;
}

void HStrip(const StepFrames& f, BlockComposer& out, int k, bool far, int x, int len) {
  out.AddInPlace(f.newF, x, StripStart(k, f.H, far), len, RoundDiv(f.H, 100));
}
void VStrip(const StepFrames& f, BlockComposer& out, int k, bool far, int y, int len) {
  out.AddInPlace(f.newF, StripStart(k, f.W, far), y, RoundDiv(f.W, 100), len);
}

}  // namespace

void CombStrips(const StepFrames& f, int v) {
  const CombSpec& c = kCombs[v - 1];
  const int W = f.W, H = f.H, s = f.s;
  // The strips are gathered and copied row by row over the old frame.
  BlockComposer out(f.work);
  if (s <= 50) {
    const int count = c.oneMorePerStep ? s : 50;
    int hx, hl, vy, vl;
    Run(c.hGrow, s, W, hx, hl);
    Run(c.vGrow, s, H, vy, vl);
    for (int k = 0; k < count; ++k) {
      if (c.horizontal) HStrip(f, out, k, c.hFar, hx, hl);
      if (c.vertical) VStrip(f, out, k, c.vFar, vy, vl);
    }
    out.Compose(f.oldF, f.work);
    return;
  }
  // Phase 2: every strip at full length, plus a wipe or corner block of extents g x h.
  for (int k = 0; k < 50; ++k) {
    if (c.horizontal) HStrip(f, out, k, c.hFar, 0, W);
    if (c.vertical) VStrip(f, out, k, c.vFar, 0, H);
  }
  const int g = RoundDiv(int64_t(W) * (s - 50), 50), h = RoundDiv(int64_t(H) * (s - 50), 50);
  Box b{0, 0, 0, 0};
  switch (c.wipe) {
    case Wipe::Right: b = {W - g, 0, g, H}; break;
    case Wipe::Left: b = {0, 0, g, H}; break;
    case Wipe::Bottom: b = {0, H - h, W, h}; break;
    case Wipe::Top: b = {0, 0, W, h}; break;
    case Wipe::CornerBR: b = {W - g, H - h, g, h}; break;
    case Wipe::CornerBL: b = {0, H - h, g, h}; break;
    case Wipe::CornerTR: b = {W - g, 0, g, h}; break;
    case Wipe::CornerTL: b = {0, 0, g, h}; break;
  }
  out.AddInPlace(f.newF, b.x, b.y, b.w, b.h);
  out.Compose(f.oldF, f.work);
}

namespace {

// One step of the ten slices: in each slice a band of src, `band` thick, at the slice's start,
// taken from src at `fromScaled` * (i - 1) / 1000 (moving slices) or in place (blinds).
void Slices(const StepFrames& f, const Bitmap& src, bool vertical, bool moving, int p) {
  const int size = vertical ? f.W : f.H;
  const int band = RoundDiv(int64_t(p) * size, 1000);
  BlockComposer out(f.work);
  for (int i = 1; i <= 10; ++i) {
    const int at = RoundDiv(int64_t(size) * (i - 1), 10);
    const int from = moving ? RoundDiv(int64_t(p) * size * (i - 1), 1000) : at;
    if (vertical) out.Add(src, from, 0, band, f.H, at, 0);
    else out.Add(src, 0, from, f.W, band, 0, at);
  }
  out.Compose(&src == &f.newF ? f.oldF : f.newF, f.work);
}

}  // namespace

void SlicesIn(const StepFrames& f, int v) {
  if (f.s == 100) {
    CopyWhole(f.newF, f.work);
    return;
  }
  // 103 moving vertical, 104 vertical blinds, 105 horizontal blinds, 106 moving horizontal.
  Slices(f, f.newF, v == 1 || v == 2, v == 1 || v == 4, f.s);
}

void SlicesOut(const StepFrames& f, int v) { Slices(f, f.oldF, v == 1 || v == 2, v == 1 || v == 4, 100 - f.s); }

void CombBothSides(const StepFrames& f, int v) {
  if (f.s > 50) {
    CopyWhole(f.newF, f.work);
    return;
  }
  BlockComposer out(f.work);
  for (int k = 0; k < f.s; ++k) {
    if (v == 1) {
      const int t = RoundDiv(f.W, 100), x = StripStart(k, f.W, false);
      out.AddInPlace(f.newF, x, 0, t, f.H);
      out.AddInPlace(f.newF, f.W - x - t, 0, t, f.H);
    } else {
      const int t = RoundDiv(f.H, 100), y = StripStart(k, f.H, false);
      out.AddInPlace(f.newF, 0, y, f.W, t);
      out.AddInPlace(f.newF, 0, f.H - y - t, f.W, t);
    }
  }
  out.Compose(f.oldF, f.work);
}

}  // namespace transitions
