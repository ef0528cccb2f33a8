// Four pieces in and out (113-124) and four quarters stretched in and out (125-130).
#include "maker/transitions/effects.h"

namespace transitions {

namespace {

// One step of the four pieces with c = p * W / 200 and e = p * H / 200 (p the progress in
// percent): four rectangles of src copied into the work image, one per quadrant. Variants
// 2, 4 and 6 copy each rectangle in place, 1, 3 and 5 from the piece's sliding source.
void FourPieces(const StepFrames& f, const Bitmap& src, int v, int p) {
  const int W = f.W, H = f.H;
  const int w = RoundDiv(int64_t(p) * W, 200), h = RoundDiv(int64_t(p) * H, 200);
  const int X = RoundDiv(W, 2), Y = RoundDiv(H, 2);
  const int cx = RoundDiv(int64_t(100 - p) * W, 200);  // R(W / 2 - c)
  const int ey = RoundDiv(int64_t(100 - p) * H, 200);  // R(H / 2 - e)
  struct Piece {
    Box to;
    int sx, sy;
  };
  Piece pieces[4];
  switch ((v + 1) / 2) {
    case 1:
      pieces[0] = {{0, 0, w, h}, cx, ey};
      pieces[1] = {{W - w, 0, w, h}, X, ey};
      pieces[2] = {{0, H - h, w, h}, cx, Y};
      pieces[3] = {{W - w, H - h, w, h}, X, Y};
      break;
    case 2:
      pieces[0] = {{0, 0, w, Y}, cx, 0};
      pieces[1] = {{X, 0, X, h}, X, ey};
      pieces[2] = {{0, H - h, X, h}, 0, Y};
      pieces[3] = {{W - w, Y, w, Y}, X, Y};
      break;
    default:
      pieces[0] = {{0, 0, X, h}, 0, ey};
      pieces[1] = {{W - w, 0, w, Y}, X, 0};
      pieces[2] = {{0, Y, w, Y}, cx, Y};
      pieces[3] = {{X, H - h, X, h}, X, Y};
      break;
  }
  const bool inPlace = v % 2 == 0;
  BlockComposer out(f.work);
  for (const Piece& pc : pieces) {
    if (inPlace) out.AddInPlace(src, pc.to.x, pc.to.y, pc.to.w, pc.to.h);
    else out.Add(src, pc.sx, pc.sy, pc.to.w, pc.to.h, pc.to.x, pc.to.y);
  }
  out.Compose(&src == &f.newF ? f.oldF : f.newF, f.work);
}

// Each X x Y quarter of src stretched whole into a rectangle of its own quadrant, over the
// other frame; m and n are the extents of the progress p.
void Quarters(const StepFrames& f, const Bitmap& src, int v, int p) {
  const int W = f.W, H = f.H;
  const int X = RoundDiv(W, 2), Y = RoundDiv(H, 2);
  const int m = RoundDiv(int64_t(p) * W, 200), n = RoundDiv(int64_t(p) * H, 200);
  Box to[4];
  switch (v) {
    case 1: to[0] = {0, 0, m, n}; to[1] = {W - m, 0, m, n}; to[2] = {0, H - n, m, n}; to[3] = {W - m, H - n, m, n}; break;
    case 2: to[0] = {0, 0, m, Y}; to[1] = {X, 0, W - X, n}; to[2] = {0, H - n, X, n}; to[3] = {W - m, Y, m, H - Y}; break;
    default: to[0] = {0, 0, X, n}; to[1] = {W - m, 0, m, Y}; to[2] = {0, Y, m, H - Y}; to[3] = {X, H - n, W - X, n}; break;
  }
  const int qx[4] = {0, X, 0, X}, qy[4] = {0, 0, Y, Y};
  BlockComposer out(f.work);
  for (int i = 0; i < 4; ++i) out.AddStretched(src, qx[i], qy[i], X, Y, to[i].x, to[i].y, to[i].w, to[i].h);
  out.Compose(&src == &f.newF ? f.oldF : f.newF, f.work);
}

}  // namespace

// On odd frame sizes the pieces and quarters leave a seam at the centre line when they meet,
// so the last step of the "in" effects shows the whole new frame.
void FourPiecesIn(const StepFrames& f, int v) {
  if (f.s == 100 && (f.W % 2 || f.H % 2)) {
    CopyWhole(f.newF, f.work);
    return;
  }
  FourPieces(f, f.newF, v, f.s);
}

void FourPiecesOut(const StepFrames& f, int v) { FourPieces(f, f.oldF, v, 100 - f.s); }

void QuartersIn(const StepFrames& f, int v) {
  if (f.s == 100 && (f.W % 2 || f.H % 2)) {
    CopyWhole(f.newF, f.work);
    return;
  }
  Quarters(f, f.newF, v, f.s);
}

void QuartersOut(const StepFrames& f, int v) { Quarters(f, f.oldF, v, 100 - f.s); }

}  // namespace transitions
