// Iris, squeeze and diamond (131-135), shapes that grow from an edge or corner (136-151) and
// shapes that shrink to one (152-167).
#include <algorithm>
#include <cmath>

#include "maker/transitions/effects.h"

namespace transitions {

namespace {

// One-pixel rows and columns copied in place from src onto the work image.
void RowRun(const StepFrames& f, const Bitmap& src, int y, int x, int len) { CopyInPlace(src, f.work, x, y, len, 1); }

// One-pixel columns copied in place, gathered first and copied row by row. The columns of
// every effect here are nested: going away from the tallest column, each covers rows inside
// those of its neighbour. So the columns that cover a row are a run starting at the tallest
// one, as many as cover the row: a difference array over the rows counts them.
class NestedColumns {
 public:
  NestedColumns(const StepFrames& f, bool tallestFirst) : f_(f), tallestFirst_(tallestFirst), diff_(size_t(f.H) + 1) {}
  void Add(int x, int top, int len) {
    if (x < 0 || x >= f_.W) return;
    int bottom = std::min(top + len, f_.H);
    top = std::max(top, 0);
    if (top >= bottom) return;
    ++diff_[size_t(top)];
    --diff_[size_t(bottom)];
    first_ = std::min(first_, x);
    last_ = std::max(last_, x);
  }
  void CopyFrom(const Bitmap& src) {
    int count = 0;
    for (int y = 0; y < f_.H; ++y) {
      count += diff_[size_t(y)];
      if (count <= 0) continue;
      const int left = tallestFirst_ ? first_ : last_ + 1 - count;
      CopyInPlace(src, f_.work, left, y, count, 1);
    }
  }

 private:
  const StepFrames& f_;
  bool tallestFirst_;
  std::vector<int> diff_;
  int first_ = 1 << 30, last_ = -1;
};

void CentredEllipse(const StepFrames& f, const Bitmap& src, int w, int h) {
  ClipPainter m(src, f.work);
  const int l = (f.W - w) / 2, t = (f.H - h) / 2;
  m.AddEllipse(l, t, l + w, t + h);
}

void Rhombus(const StepFrames& f, const Bitmap& src, int p) {
  const int v = RoundDiv(int64_t(p) * f.H, 50) / 2, u = RoundDiv(int64_t(p) * f.W, 50) / 2;
  const double cx = f.W / 2, cy = f.H / 2;
  ClipPainter m(src, f.work);
  m.AddPolygon({{cx, cy - v}, {cx + u, cy}, {cx, cy + v}, {cx - u, cy}});
}

int Sqrt(double x) { return RoundEven(std::sqrt(std::max(0.0, x))); }

}  // namespace

void IrisOpen(const StepFrames& f) {
  CentredEllipse(f, f.newF, RoundDiv(int64_t(3 * f.s) * f.W, 200), RoundDiv(int64_t(3 * f.s) * f.H, 200));
}

void IrisClose(const StepFrames& f) {
  const int p = 100 - f.s;
  CentredEllipse(f, f.oldF, RoundDiv(int64_t(3 * p) * f.W, 200), RoundDiv(int64_t(3 * p) * f.H, 200));
}

void Squeeze(const StepFrames& f) {
  const int d = RoundDiv(int64_t(f.H) * (100 - f.s), 100), e = RoundDiv(int64_t(f.W) * (100 - f.s), 100);
  BlockComposer out(f.work);
  const double r = d / 2.0, k = d > 0 ? static_cast<double>(e) / d : 0.0;
  for (int i = 0; i < d; ++i) {
    int wi;
    if (i < d / 2) wi = 2 * RoundEven(k * std::sqrt(r * r - (r - i) * (r - i)));
    else if (i == d / 2) wi = e;
    else wi = 2 * RoundEven(std::sqrt(std::max(0.0, r * r - (r - (d - i)) * (r - (d - i)))) * k);
    const int y = (f.H - d) / 2 + i;
    out.AddStretched(f.oldF, 0, y, f.W, 1, RoundDiv(f.W - wi, 2), y, wi, 1);
  }
  out.Compose(f.newF, f.work);
}

void DiamondClose(const StepFrames& f) { Rhombus(f, f.oldF, 100 - f.s); }
void DiamondOpen(const StepFrames& f) {
  // On odd sizes the centre sits half a pixel off, and the full rhombus only touches the
  // far corners: the last step shows the whole new frame.
  if (f.s == 100 && (f.W % 2 || f.H % 2)) {
    CopyWhole(f.newF, f.work);
    return;
  }
  Rhombus(f, f.newF, f.s);
}

void ShapesGrow(const StepFrames& f, int v) {
  const int W = f.W, H = f.H, s = f.s;
  const int id = 135 + v;
  int a, b;
  if (id <= 143) {
    a = RoundDiv(int64_t(3 * s) * W, 200);
    b = RoundDiv(int64_t(3 * s) * H, 200);
  } else {
    a = RoundDiv(int64_t(s) * W, 50);
    b = RoundDiv(int64_t(s) * H, 50);
  }
  const int q = b / 2, Xc = W / 2, Yc = H / 2;
  ClipPainter m(f.newF, f.work);
  switch (id) {
    case 136: m.AddEllipse(-a, Yc - q, a, Yc + q); break;
    case 137: m.AddEllipse(W - a, Yc - q, W + a, Yc + q); break;
    case 138: m.AddEllipse(Xc - a / 2, -b, Xc + a / 2, b); break;
    case 139: m.AddEllipse(Xc - a / 2, H - b, Xc + a / 2, H + b); break;
    case 140: m.AddEllipse(-a, -b, a, b); break;
    case 141: m.AddEllipse(-a, H - b, a, H + b); break;
    case 142: m.AddEllipse(W - a, -b, W + a, b); break;
    case 143: m.AddEllipse(W - a, H - b, W + a, H + b); break;
    case 144: m.AddPolygon({{0, double(Yc - q)}, {double(a), double(Yc)}, {0, double(Yc + q)}}); break;
    case 145: m.AddPolygon({{double(W), double(Yc - q)}, {double(W), double(Yc + q)}, {double(W - a), double(Yc)}}); break;
    case 146: m.AddPolygon({{double(Xc - a / 2), 0}, {double(Xc + a / 2), 0}, {double(Xc), double(b)}}); break;
    case 147: m.AddPolygon({{double(Xc - a / 2), double(H)}, {double(Xc + a / 2), double(H)}, {double(Xc), double(H - b)}}); break;
    case 148:
      for (int r = 0; r < b; ++r) m.AddSpan(r, 0, RoundDiv(int64_t(b - r) * a, b));
      break;
    case 149:
      for (int r = 0; r < b; ++r) m.AddSpan(H - b + r, 0, RoundDiv(int64_t(r) * a, b));
      break;
    case 150: {
      const int a1 = RoundDiv(int64_t(s) * W, 100), b1 = RoundDiv(int64_t(s) * H, 100);
      NestedColumns cols(f, false);  // heights grow toward the right edge
      for (int c = 0; c < a1; ++c) {
        const int len = RoundDiv(int64_t(c) * b1, a1);
        cols.Add(W - a1 + c, H - len, len);
      }
      cols.CopyFrom(f.newF);
      for (int r = 0; r < b1; ++r) m.AddSpan(r, 0, RoundDiv(int64_t(b1 - r) * a1, b1));
      break;
    }
    case 151: {
      const int a1 = RoundDiv(int64_t(s) * W, 100), b1 = RoundDiv(int64_t(s) * H, 100);
      for (int r = 0; r < b1; ++r) {
        const int len = RoundDiv(int64_t(b1 - r) * a1, b1);
        m.AddSpan(r, W - len, W);
        m.AddSpan(H - b1 + r, 0, RoundDiv(int64_t(r) * a1, b1));
      }
      break;
    }
  }
}

void ShapesShrink(const StepFrames& f, int v) {
  const int W = f.W, H = f.H, p = 100 - f.s;
  const Bitmap& o = f.oldF;
  const int id = 151 + v;
  int n, m;
  if (id <= 159) {
    n = RoundDiv(int64_t(3 * p) * W, 200);
    m = RoundDiv(int64_t(3 * p) * H, 200);
  } else {
    n = RoundDiv(int64_t(p) * W, 50);
    m = RoundDiv(int64_t(p) * H, 50);
  }
  const double hw = static_cast<double>(H) / W, wh = static_cast<double>(W) / H;
  // Columns of 152 and 160 shrink away from the left edge, those of 153, 161 and 166 grow
  // toward the right one.
  NestedColumns cols(f, id == 152 || id == 160);
  auto centredCol = [&](int x, int len) { cols.Add(x, (H - len) / 2, len); };
  auto centredRow = [&](int y, int len) { RowRun(f, o, y, (W - len) / 2, len); };
  switch (id) {
    case 152: for (int x = 0; x <= n; ++x) centredCol(x, Sqrt(hw * hw * (double(n) * n - double(x) * x))); break;
    case 153: for (int c = 0; c <= n; ++c) centredCol(W - n + c, Sqrt(hw * hw * (double(n) * n - double(n - c) * (n - c)))); break;
    case 154: for (int y = 0; y <= m; ++y) centredRow(y, Sqrt(wh * wh * (double(m) * m - double(y) * y))); break;
    case 155: for (int c = 0; c <= m; ++c) centredRow(H - m + c, Sqrt(wh * wh * (double(m) * m - double(m - c) * (m - c)))); break;
    case 156: for (int y = 0; y <= m; ++y) RowRun(f, o, y, 0, Sqrt(wh * wh * (double(m) * m - double(y) * y))); break;
    case 157: for (int c = 0; c <= m; ++c) RowRun(f, o, H - m + c, 0, Sqrt(wh * wh * (double(m) * m - double(m - c) * (m - c)))); break;
    case 158:
      for (int y = 0; y <= m; ++y) {
        const int len = Sqrt(wh * wh * (double(m) * m - double(y) * y));
        RowRun(f, o, y, W - len, len);
      }
      break;
    case 159:
      for (int c = 0; c <= m; ++c) {
        const int len = Sqrt(wh * wh * (double(m) * m - double(m - c) * (m - c)));
        RowRun(f, o, H - m + c, W - len, len);
      }
      break;
    case 160: for (int c = 0; c < n; ++c) centredCol(c, RoundDiv(int64_t(m) * (n - c), n)); break;
    case 161: for (int c = 0; c < n; ++c) centredCol(W - n + c, RoundDiv(int64_t(m) * c, n)); break;
    case 162: for (int c = 0; c < m; ++c) centredRow(c, RoundDiv(int64_t(n) * (m - c), m)); break;
    case 163: for (int c = 0; c < m; ++c) centredRow(H - m + c, RoundDiv(int64_t(n) * c, m)); break;
    case 164: for (int c = 0; c < m; ++c) RowRun(f, o, c, 0, RoundDiv(int64_t(n) * (m - c), m)); break;
    case 165: for (int c = 0; c < m; ++c) RowRun(f, o, H - m + c, 0, RoundDiv(int64_t(c) * n, m)); break;
    case 166: {
      const int d = RoundDiv(int64_t(W) * p, 100), e = RoundDiv(int64_t(H) * p, 100);
      for (int c = 0; c < d; ++c) {
        const int len = RoundDiv(int64_t(e) * c, d);
        cols.Add(W + c - d, H - len, len);
      }
      for (int c = 0; c < e; ++c) RowRun(f, o, c, 0, RoundDiv(int64_t(d) * (e - c), e));
      break;
    }
    case 167: {
      const int d = RoundDiv(int64_t(W) * p, 100), e = RoundDiv(int64_t(H) * p, 100);
      for (int c = 0; c < e; ++c) {
        const int len = RoundDiv(int64_t(e - c) * d, e);
        RowRun(f, o, c, W - len, len);
        RowRun(f, o, H + c - e, 0, RoundDiv(int64_t(d) * c, e));
      }
      break;
    }
  }
  cols.CopyFrom(o);
}

}  // namespace transitions
