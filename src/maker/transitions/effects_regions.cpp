// Region patterns in (184-194) and out (195, 196): a clip region built for the step, the other
// frame copied in through it as its shapes are added. The ragged patterns draw fresh random numbers on every step.
#include <algorithm>
#include <vector>

#include "maker/transitions/effects.h"

namespace transitions {

namespace {

int Ext(int64_t p, int size, int den) { return RoundDiv(p * size, den); }

// The rounded rectangle of 184 and 195 for a progress p: it grows from the centre of a frame
// enlarged by 50 pixels on every side, so its round corners end up outside.
void GrowingRoundRect(const StepFrames& f, ClipPainter& m, int p) {
  const int W1 = f.W + 100, H1 = f.H + 100;
  const int left = RoundDiv(int64_t(100 - p) * W1, 200) - 50, top = RoundDiv(int64_t(100 - p) * H1, 200) - 50;
  const int w = Ext(p, W1, 100), h = Ext(p, H1, 100);
  m.AddRoundRect(left, top, left + w, top + h, 50, 50);
}

// Bands of 8 rows, each a span of ragged width around p percent of the frame (185, 187, 196).
void RaggedRows(const StepFrames& f, ClipPainter& m, int p, bool centred) {
  for (int k = 1; 8 * (k - 1) < f.H; ++k) {
    const int r1 = RandInt(f.rng, f.W / 10), r2 = RandInt(f.rng, f.W / 10);
    const int w = r1 + Ext(p, f.W, 100) - r2;
    m.AddRect(centred ? (f.W - w) / 2 : 0, 8 * (k - 1), w, 8);
  }
}

// Bands of 6 columns with ragged heights (186, 188). The heights are drawn band by band, then
// the bands are copied row by row, neighbouring bands that both cover a row in one piece. The
// runs of covering bands only change on rows where a band starts or stops, so they are worked
// out there and kept for the rows below.
void RaggedColumns(const StepFrames& f, ClipPainter& m, int p, bool centred) {
  std::vector<std::pair<int, int>> rows;  // top and bottom row of each band
  std::vector<int> changes{0, f.H};
  for (int k = 1; 6 * (k - 1) < f.W; ++k) {
    const int r1 = RandInt(f.rng, f.H / 8), r2 = RandInt(f.rng, f.H / 8);
    const int h = r1 + Ext(p, f.H, 100) - r2;
    const int top = centred ? (f.H - h) / 2 : 0;
    rows.emplace_back(top, top + std::max(h, 0));
    changes.push_back(std::clamp(rows.back().first, 0, f.H));
    changes.push_back(std::clamp(rows.back().second, 0, f.H));
  }
  std::sort(changes.begin(), changes.end());
  changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
  std::vector<std::pair<int, int>> runs;  // pixel spans of the covering bands
  for (size_t c = 0; c + 1 < changes.size(); ++c) {
    const int y0 = changes[c], y1 = changes[c + 1];
    runs.clear();
    int runStart = -1;
    for (size_t k = 0; k <= rows.size(); ++k) {
      const bool covers = k < rows.size() && y0 >= rows[k].first && y0 < rows[k].second;
      if (covers && runStart < 0) runStart = static_cast<int>(k);
      if (!covers && runStart >= 0) {
        runs.emplace_back(6 * runStart, 6 * static_cast<int>(k));
        runStart = -1;
      }
    }
    for (int y = y0; y < y1; ++y)
      for (const auto& [l, r] : runs) m.AddSpan(y, l, r);
  }
}

// 189: a wipe from the left whose edge frays into random extensions and loose squares.
void FrayedFromLeft(const StepFrames& f, ClipPainter& m) {
  const int X = Ext(f.s, f.W, 100);
  m.AddRect(0, 0, X, f.H);
  const int y = (f.H + 149) / 150;
  for (int k = 1; k <= 150; ++k) {
    const int top = y * (k - 1);
    const int j = RandInt(f.rng, 20);
    m.AddRect(X, top, j, y);
    const int i = j / y + ((j / y) % y > 0 ? 1 : 0);
    const int e = RandInt(f.rng, 15);
    for (int q = i; q <= e; ++q)
      if (RandInt(f.rng, 3) == 1) m.AddRect(X + y * (q - 1), top, y, y);
  }
}

// 190: the same from the top.
void FrayedFromTop(const StepFrames& f, ClipPainter& m) {
  const int Y = Ext(f.s, f.H, 100);
  m.AddRect(0, 0, f.W, Y);
  const int x = (f.W + 199) / 200;
  for (int k = 1; k <= 200; ++k) {
    const int left = x * (k - 1);
    const int j = RandInt(f.rng, 15);
    m.AddRect(left, Y, x, j);
    const int i = j / x + ((j / x) % x > 0 ? 1 : 0);
    const int e = RandInt(f.rng, 12);
    for (int q = i; q <= e; ++q)
      if (RandInt(f.rng, 3) == 1) m.AddRect(left, Y + x * (q - 1), x, x);
  }
}

void NineRects(const StepFrames& f, ClipPainter& m) {
  const int w = Ext(f.s, f.W, 300), h = Ext(f.s, f.H, 300);
  const int D = f.W / 3, T = f.H / 3;
  for (int i = 0; i < 3; ++i) m.AddRect(i * D, 0, w, h);                       // top-left corners
  const int right[3] = {D, 2 * D, f.W};
  for (int i = 0; i < 3; ++i) m.AddRect(right[i] - w, 2 * T - h, w, h);         // bottom-right corners
  for (int i = 0; i < 3; ++i) m.AddRect(i * D, f.H - h, w, h);                 // bottom-left corners
}

// 192-194: one shape in every cell of an 8 x 6 grid.
void GridCells(const StepFrames& f, ClipPainter& m, int id) {
  const int cw = f.W / 8, ch = f.H / 6;
  const int rw = Ext(f.s, f.W, 800), rh = Ext(f.s, f.H, 600);
  const int ew = Ext(3 * f.s, f.W, 1600), eh = Ext(3 * f.s, f.H, 1200);
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 8; ++i) {
      const int x = i * cw, y = j * ch;
      if (id == 192) m.AddRect(x, y, rw, rh);
      else if (id == 193) m.AddEllipse(x + (cw - ew) / 2, y + (ch - eh) / 2, x + (cw - ew) / 2 + ew, y + (ch - eh) / 2 + eh);
      else m.AddRect(x + (cw - rw) / 2, y + (ch - rh) / 2, rw, rh);
    }
}

}  // namespace

void RegionsIn(const StepFrames& f, int v) {
  const int id = 183 + v;
  // At the last step the patterns that do not cover the frame by themselves give way to it.
  if (f.s == 100 && id != 184 && id != 189 && id != 190) {
    CopyWhole(f.newF, f.work);
    return;
  }
  ClipPainter m(f.newF, f.work);
  switch (id) {
    case 184: GrowingRoundRect(f, m, f.s); break;
    case 185: RaggedRows(f, m, f.s, true); break;
    case 186: RaggedColumns(f, m, f.s, true); break;
    case 187: RaggedRows(f, m, f.s, false); break;
    case 188: RaggedColumns(f, m, f.s, false); break;
    case 189: FrayedFromLeft(f, m); break;
    case 190: FrayedFromTop(f, m); break;
    case 191: NineRects(f, m); break;
    default: GridCells(f, m, id); break;
  }
}

void RegionsOut(const StepFrames& f, int v) {
  if (f.s == 100) return;  // an empty region: the new frame alone
  ClipPainter m(f.oldF, f.work);
  if (v == 1) GrowingRoundRect(f, m, 100 - f.s);
  else RaggedRows(f, m, 100 - f.s, true);
}

}  // namespace transitions
