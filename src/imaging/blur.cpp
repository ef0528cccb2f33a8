#include "imaging/blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace imaging {

namespace {

constexpr int kMaxHalfWidth = 100;

struct Kernel {
  int r = 1;
  // tables[d][v]: trunc(v * 256 * w'(d)); d = 0 indexed by one pixel, the others by a pair sum.
  std::vector<uint16_t> tables;  // (r + 1) * 513
  // What a window of 2r + 1 equal cells of value v gives (-1 until first needed). Masks are
  // mostly empty or full, so most windows are such runs.
  int flat[256];
};

uint8_t FlatValue(Kernel& k, uint8_t v) {
  if (k.flat[v] < 0) {
    const uint16_t* t = k.tables.data();
    uint32_t acc = t[v];
    for (int d = 1; d <= k.r; ++d) acc += t[static_cast<size_t>(d) * 513 + 2 * v];
    acc >>= 8;
    k.flat[v] = static_cast<int>(acc > 255 ? 255 : acc);
  }
  return static_cast<uint8_t>(k.flat[v]);
}

void Weights(double sigma, double w[2 * kMaxHalfWidth + 1]) {
  double sum = 0;
  for (int d = -kMaxHalfWidth; d <= kMaxHalfWidth; ++d) {
    double t = d / sigma;
    w[d + kMaxHalfWidth] = std::exp(-t * t / 2.0);
    sum += w[d + kMaxHalfWidth];
  }
  for (int i = 0; i < 2 * kMaxHalfWidth + 1; ++i) w[i] /= sum;
}

int HalfWidthOf(const double w[2 * kMaxHalfWidth + 1]) {
  int r = kMaxHalfWidth;
  double tail = 0;
  while (tail < 1.0 / 510.0 && r > 1) {
    tail += 2.0 * w[r + kMaxHalfWidth];
    --r;
  }
  return r;
}

Kernel MakeKernel(double sigma) {
  double w[2 * kMaxHalfWidth + 1];
  Weights(sigma, w);
  Kernel k;
  k.r = HalfWidthOf(w);
  std::fill(std::begin(k.flat), std::end(k.flat), -1);
  double sum = 0;
  for (int d = -k.r; d <= k.r; ++d) sum += w[d + kMaxHalfWidth];
  k.tables.assign(static_cast<size_t>(k.r + 1) * 513, 0);
  for (int d = 0; d <= k.r; ++d) {
    double wd = w[d + kMaxHalfWidth] / sum;
    uint16_t* t = &k.tables[static_cast<size_t>(d) * 513];
    // The centre table is read with one pixel value, the others with pair sums up to 510; the
    // entries past those are never read and stay 0 (the centre weight can be near 1, so its
    // products past 255 would not fit 16 bits).
    const int last = d == 0 ? 255 : 510;
    for (int v = 0; v <= last; ++v)
      t[v] = static_cast<uint16_t>(std::min(std::trunc(v * 256.0 * wd), 65535.0));
  }
  return k;
}

// Filters one signal held in buf[r .. r+n-1], whose r cells on either side repeat the end
// values; results go to out[0..n-1]. A window whose cells are all equal takes its value from
// FlatValue: the same sum, worked out once.
void FilterLine(Kernel& k, const uint8_t* buf, int n, uint8_t* out) {
  const int r = k.r;
  const uint16_t* t0 = k.tables.data();
  int run = 1;  // equal cells ending at the window's last cell buf[i + 2r]
  for (int j = 1; j < 2 * r; ++j) run = buf[j] == buf[j - 1] ? run + 1 : 1;
  for (int i = 0; i < n; ++i) {
    const int last = i + 2 * r;
    if (last > 0) run = buf[last] == buf[last - 1] ? run + 1 : 1;
    if (run > 2 * r) {
      out[i] = FlatValue(k, buf[last]);
      continue;
    }
    const uint8_t* c = buf + r + i;
    uint32_t acc = t0[*c];
    const uint16_t* td = t0 + 513;
    for (int d = 1; d <= r; ++d, td += 513) acc += td[c[-d] + c[d]];
    acc >>= 8;
    out[i] = static_cast<uint8_t>(acc > 255 ? 255 : acc);
  }
}

}  // namespace

int BlurHalfWidth(double sigma) {
  double w[2 * kMaxHalfWidth + 1];
  Weights(sigma, w);
  return HalfWidthOf(w);
}

void BlurMask(platform::Bitmap& mask, double sigma) {
  if (!(sigma > 0) || mask.Format() != platform::PixelFormat::Indexed8 || mask.Empty()) return;
  Kernel k = MakeKernel(sigma);
  const int r = k.r, w = mask.Width(), h = mask.Height();
  std::vector<uint8_t> buf(static_cast<size_t>(std::max(w, h)) + 2 * r);
  std::vector<uint8_t> out(static_cast<size_t>(std::max(w, h)));
  // Rows.
  for (int y = 0; y < h; ++y) {
    uint8_t* row = mask.Row(y);
    std::fill(buf.begin(), buf.begin() + r, row[0]);
    std::copy(row, row + w, buf.begin() + r);
    std::fill(buf.begin() + r + w, buf.begin() + 2 * r + w, row[w - 1]);
    FilterLine(k, buf.data(), w, out.data());
    std::copy(out.begin(), out.begin() + w, row);
  }
  // Columns.
  const int stride = mask.Stride();
  uint8_t* base = mask.Data();
  for (int x = 0; x < w; ++x) {
    uint8_t* col = base + x;
    std::fill(buf.begin(), buf.begin() + r, col[0]);
    for (int y = 0; y < h; ++y) buf[r + y] = col[static_cast<size_t>(y) * stride];
    std::fill(buf.begin() + r + h, buf.begin() + 2 * r + h, col[static_cast<size_t>(h - 1) * stride]);
    FilterLine(k, buf.data(), h, out.data());
    for (int y = 0; y < h; ++y) col[static_cast<size_t>(y) * stride] = out[y];
  }
}

}  // namespace imaging
