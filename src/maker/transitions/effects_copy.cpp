// The copy-based effects of 21-70: wipes, slides, push, swap and page turns.
#include "maker/transitions/effects.h"

namespace transitions {

namespace {

constexpr Anchor kWipeAnchors[9] = {Anchor::Left, Anchor::Right, Anchor::Top, Anchor::Bottom, Anchor::TL,
                                    Anchor::BL,   Anchor::TR,    Anchor::BR,  Anchor::Centre};

int Ext(int s, int size) { return RoundDiv(int64_t(s) * size, 100); }

// Slides: the part of src still inside the frame, for a picture moving in from (or out to)
// an edge or corner; w and h are the visible extents.
void SlideBlock(const StepFrames& f, BlockComposer& out, const Bitmap& src, int v, int w, int h) {
  const int W = f.W, H = f.H;
  switch (v) {
    case 1: out.Add(src, W - w, 0, w, H, 0, 0); break;          // left
    case 2: out.Add(src, 0, 0, w, H, W - w, 0); break;          // right
    case 3: out.Add(src, 0, H - h, W, h, 0, 0); break;          // top
    case 4: out.Add(src, 0, 0, W, h, 0, H - h); break;          // bottom
    case 5: out.Add(src, W - w, H - h, w, h, 0, 0); break;      // top-left
    case 6: out.Add(src, W - w, 0, w, h, 0, H - h); break;      // bottom-left
    case 7: out.Add(src, 0, H - h, w, h, W - w, 0); break;      // top-right
    case 8: out.Add(src, 0, 0, w, h, W - w, H - h); break;      // bottom-right
  }
}

// Page turns: the strip thickness for a progress p (percent uncovered or still covered).
int PageStrip(int p, int size) {
  if (p <= 9) return Ext(p, size);
  if (p <= 90) return Ext(10, size);
  return Ext(100 - p, size);
}

// src's part of extent x at the edge stays in place, and the t thick block next to it is drawn
// mirrored, like the back of a turning page, both over the base frame. Edge: 1 left, 2 top,
// 3 right, 4 bottom.
void PageEdge(const StepFrames& f, const Bitmap& src, const Bitmap& base, int edge, int x, int t) {
  const int W = f.W, H = f.H;
  BlockComposer out(f.work);
  switch (edge) {
    case 1:
      out.AddInPlace(src, 0, 0, x, H);
      out.AddMirroredH(src, x, 0, t, H);
      break;
    case 2:
      out.AddInPlace(src, 0, 0, W, x);
      out.AddMirroredV(src, 0, x, W, t);
      break;
    case 3:
      out.AddInPlace(src, W - x, 0, x, H);
      out.AddMirroredH(src, W - x - t, 0, t, H);
      break;
    case 4:
      out.AddInPlace(src, 0, H - x, W, x);
      out.AddMirroredV(src, 0, H - x - t, W, t);
      break;
  }
  out.Compose(base, f.work);
}

}  // namespace

void WipeIn(const StepFrames& f, int v) {
  Box b = Anchored(kWipeAnchors[v - 1], f.W, f.H, Ext(f.s, f.W), Ext(f.s, f.H));
  BlockComposer out(f.work);
  out.AddInPlace(f.newF, b.x, b.y, b.w, b.h);
  out.Compose(f.oldF, f.work);
}

void WipeOut(const StepFrames& f, int v) {
  Box b = Anchored(kWipeAnchors[v - 1], f.W, f.H, Ext(100 - f.s, f.W), Ext(100 - f.s, f.H));
  BlockComposer out(f.work);
  out.AddInPlace(f.oldF, b.x, b.y, b.w, b.h);
  out.Compose(f.newF, f.work);
}

void SlideIn(const StepFrames& f, int v) {
  BlockComposer out(f.work);
  SlideBlock(f, out, f.newF, v, Ext(f.s, f.W), Ext(f.s, f.H));
  out.Compose(f.oldF, f.work);
}

void SlideOut(const StepFrames& f, int v) {
  BlockComposer out(f.work);
  SlideBlock(f, out, f.oldF, v, Ext(100 - f.s, f.W), Ext(100 - f.s, f.H));
  out.Compose(f.newF, f.work);
}

void Push(const StepFrames& f, int v) {
  const int W = f.W, H = f.H, w = Ext(f.s, W), h = Ext(f.s, H);
  BlockComposer out(f.work);
  switch (v) {
    case 1:
      out.Add(f.oldF, 0, 0, W - w, H, w, 0);
      out.Add(f.newF, W - w, 0, w, H, 0, 0);
      break;
    case 2:
      out.Add(f.oldF, 0, 0, W, H - h, 0, h);
      out.Add(f.newF, 0, H - h, W, h, 0, 0);
      break;
    case 3:
      out.Add(f.oldF, w, 0, W - w, H, 0, 0);
      out.Add(f.newF, 0, 0, w, H, W - w, 0);
      break;
    case 4:
      out.Add(f.oldF, 0, h, W, H - h, 0, 0);
      out.Add(f.newF, 0, 0, W, h, 0, H - h);
      break;
  }
  out.Compose(f.oldF, f.work);
}

void Swap(const StepFrames& f, int v) {
  const int W = f.W, H = f.H, w = Ext(f.s, W), h = Ext(f.s, H);
  const bool first = f.s <= 50;
  BlockComposer out(f.work);
  switch (v) {
    case 1:
      if (first) {
        out.Add(f.oldF, 0, 0, W - w, H, w, 0);
        out.Add(f.newF, w, 0, w, H, 0, 0);
      } else {
        out.Add(f.oldF, 0, 0, w, H, W - w, 0);
        out.Add(f.newF, W - w, 0, w, H, 0, 0);
      }
      break;
    case 2:
      if (first) {
        out.Add(f.oldF, 0, 0, W, H - h, 0, h);
        out.Add(f.newF, 0, h, W, h, 0, 0);
      } else {
        out.Add(f.oldF, 0, 0, W, h, 0, H - h);
        out.Add(f.newF, 0, H - h, W, h, 0, 0);
      }
      break;
    case 3:
      if (first) {
        out.Add(f.newF, 0, 0, W - w, H, w, 0);
        out.Add(f.oldF, w, 0, W - w, H, 0, 0);
      } else {
        out.Add(f.oldF, W - w, 0, w, H, 0, 0);
        out.Add(f.newF, 0, 0, w, H, W - w, 0);
      }
      break;
    case 4:
      if (first) {
        out.Add(f.newF, 0, 0, W, H - h, 0, h);
        out.Add(f.oldF, 0, h, W, H - h, 0, 0);
      } else {
        out.Add(f.oldF, 0, H - h, W, h, 0, 0);
        out.Add(f.newF, 0, 0, W, h, 0, H - h);
      }
      break;
  }
  out.Compose(f.oldF, f.work);
}

void PageTurnIn(const StepFrames& f, int v) {
  // Variants: 1 from the left, 2 from the top, 3 from the right, 4 from the bottom.
  static constexpr int kEdge[4] = {1, 2, 3, 4};
  const int size = (v == 2 || v == 4) ? f.H : f.W;
  PageEdge(f, f.newF, f.oldF, kEdge[v - 1], Ext(f.s, size), PageStrip(f.s, size));
}

void PageTurnOut(const StepFrames& f, int v) {
  // The old frame rolls toward the left, top, right or bottom; t grows back as it leaves.
  const int size = (v == 2 || v == 4) ? f.H : f.W;
  const int p = 100 - f.s;
  PageEdge(f, f.oldF, f.newF, v, Ext(p, size), PageStrip(p, size));
}

}  // namespace transitions
