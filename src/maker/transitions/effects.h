#pragma once
// The effect families of the transition engine. A family draws step s into the work image: most
// compose the base frame and the other frame's parts in one pass; for the rest (shapes, region
// patterns, swings) the dispatcher first fills the work image with the base frame.
#include <random>

#include "maker/transitions/frame_ops.h"

namespace transitions {

struct StepFrames {
  const Bitmap& oldF;
  const Bitmap& newF;
  Bitmap& work;
  int W, H, s;
  std::mt19937& rng;
};

// RandInt(n): a uniform integer 0..n-1 (0 when n <= 0).
int RandInt(std::mt19937& rng, int n);

// Anchors of rectangles that touch an edge, a corner or sit in the centre.
enum class Anchor { Left, Right, Top, Bottom, TL, BL, TR, BR, Centre };
// (left, top, width, height) of a w x h rectangle so anchored; edge anchors span the whole
// other dimension.
struct Box {
  int x, y, w, h;
};
Box Anchored(Anchor a, int W, int H, int w, int h);

// variant = EffectID - first + 1 of the family.
void StretchIn(const StepFrames& f, int variant);      // 1-9
void StretchOut(const StepFrames& f, int variant);     // 10-18
void CrossFade(const StepFrames& f);                   // 19, 20 (writes every pixel)
void WipeIn(const StepFrames& f, int variant);         // 21-29
void WipeOut(const StepFrames& f, int variant);        // 30-38
void SlideIn(const StepFrames& f, int variant);        // 39-46
void SlideOut(const StepFrames& f, int variant);       // 47-54
void Push(const StepFrames& f, int variant);           // 55-58
void Swap(const StepFrames& f, int variant);           // 59-62
void PageTurnIn(const StepFrames& f, int variant);     // 63-66
void PageTurnOut(const StepFrames& f, int variant);    // 67-70
void CentreOpen(const StepFrames& f, int variant);     // 71-76
void CentreClose(const StepFrames& f, int variant);    // 77-82
void CombStrips(const StepFrames& f, int variant);     // 83-102
void SlicesIn(const StepFrames& f, int variant);       // 103-106
void CombBothSides(const StepFrames& f, int variant);  // 107-108
void SlicesOut(const StepFrames& f, int variant);      // 109-112
void FourPiecesIn(const StepFrames& f, int variant);   // 113-118
void FourPiecesOut(const StepFrames& f, int variant);  // 119-124
void QuartersIn(const StepFrames& f, int variant);     // 125-127
void QuartersOut(const StepFrames& f, int variant);    // 128-130
void IrisOpen(const StepFrames& f);                    // 131
void IrisClose(const StepFrames& f);                   // 132
void Squeeze(const StepFrames& f);                     // 133
void DiamondClose(const StepFrames& f);                // 134
void DiamondOpen(const StepFrames& f);                 // 135
void ShapesGrow(const StepFrames& f, int variant);     // 136-151
void ShapesShrink(const StepFrames& f, int variant);   // 152-167
void SwingIn(const StepFrames& f, int variant);        // 168-175
void SwingOut(const StepFrames& f, int variant);       // 176-183
void RegionsIn(const StepFrames& f, int variant);      // 184-194
void RegionsOut(const StepFrames& f, int variant);     // 195-196

}  // namespace transitions
