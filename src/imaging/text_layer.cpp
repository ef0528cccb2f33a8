// RenderTextLayer: the text drawn white on black at 2..4 times its size into the layer's
// Alpha, reduced by averaging, thickened below 12 points, and the Bitmap filled with its colour.
#include "imaging/text_layer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace imaging {

std::string TTextLayerInfo::Text() const { return std::string(text, strnlen(text, sizeof(text) - 1)); }

void TTextLayerInfo::SetText(const std::string& gbk) {
  std::memset(text, 0, sizeof(text));
  std::memcpy(text, gbk.data(), std::min<size_t>(gbk.size(), sizeof(text) - 1));
}

std::string TTextLayerInfo::FontName() const {
  size_t n = std::min<size_t>(fontName[0], sizeof(fontName) - 1);
  return std::string(reinterpret_cast<const char*>(fontName + 1), n);
}

void TTextLayerInfo::SetFontName(const std::string& gbk) {
  std::memset(fontName, 0, sizeof(fontName));
  size_t n = std::min<size_t>(gbk.size(), sizeof(fontName) - 1);
  fontName[0] = static_cast<uint8_t>(n);
  std::memcpy(fontName + 1, gbk.data(), n);
}

int SmoothingFactor(int smoothing) {
  switch (smoothing) {
    case 1: return 2;
    case 2: return 3;
    case 3: return 4;
    default: return 1;
  }
}

BitmapPtr ReduceByFactor(const platform::Bitmap& src, int f) {
  const int w = src.Width() / f, h = src.Height() / f;
  auto out = platform::Bitmap::Create(w, h, platform::PixelFormat::Indexed8);
  if (!out) return nullptr;
  const uint32_t area = static_cast<uint32_t>(f * f);
  std::vector<uint32_t> sums(static_cast<size_t>(w));
  for (int y = 0; y < h; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int k = 0; k < f; ++k) {
      const uint8_t* row = src.Row(y * f + k);
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = row + x * f;
        uint32_t s = 0;
        for (int j = 0; j < f; ++j) s += p[j];
        sums[x] += s;
      }
    }
    uint8_t* dst = out->Row(y);
    if (f == 2 || f == 4) {
      const int shift = f == 2 ? 2 : 4;
      for (int x = 0; x < w; ++x) dst[x] = static_cast<uint8_t>(sums[x] >> shift);
    } else {
      for (int x = 0; x < w; ++x) dst[x] = static_cast<uint8_t>(sums[x] / area);
    }
  }
  return out;
}

void ThickenSmallText(platform::Bitmap& alpha, double points) {
  if (!(points < 12)) return;
  const double factor = 2.2 - points / 10.0;
  uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>(std::clamp(RoundInt(v * factor), 0, 255));
  for (int y = 0; y < alpha.Height(); ++y) {
    uint8_t* row = alpha.Row(y);
    for (int x = 0; x < alpha.Width(); ++x) row[x] = table[row[x]];
  }
}

double FontSizeInPoints(int size) {
  if (size >= 0) return size;
  return -size * 72.0 / 96.0;
}

bool TlmImageVcl::RenderTextLayer(int index) {
  if (!ValidLayer(index)) return false;
  canReDraw_ = false;
  TlmLayer& L = Layer(index);
  // Coverage is drawn white on black, enlarged by the smoothing factor; the spacings are not
  // enlarged, so they count 1/F at the final size.
  TTextLayerInfo copy = L.Text;
  copy.color = platform::kClWhite;
  const int f = SmoothingFactor(copy.smoothing);
  copy.size *= f;
  BitmapPtr big;
  if (!DrawTextInfo(copy, big)) return false;
  if (f > 1) {
    big = ReduceByFactor(*big, f);
    if (!big) return false;
  }
  if (L.Text.smoothing == 3) ThickenSmallText(*big, FontSizeInPoints(L.Text.size));
  auto colour = platform::Bitmap::Create(big->Width(), big->Height(), platform::PixelFormat::Bgr24);
  if (!colour) return false;
  colour->Fill(L.Text.color);
  L.Alpha = std::move(big);
  L.Bitmap = std::move(colour);
  canReDraw_ = true;
  return true;
}

}  // namespace imaging
