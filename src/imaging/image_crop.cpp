#include "imaging/image_crop.h"

#include <algorithm>
#include <cstring>

namespace imaging {

BitmapPtr CropToOpaque(const platform::Bitmap& b) {
  if (b.Format() != platform::PixelFormat::Bgra32) return nullptr;
  int left = b.Width(), right = -1, top = b.Height(), bottom = -1;
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      if (row[x * 4 + 3] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return nullptr;
  left = std::max(left - 1, 0);
  top = std::max(top - 1, 0);
  right = std::min(right + 1, b.Width() - 1);
  bottom = std::min(bottom + 1, b.Height() - 1);
  auto out = platform::Bitmap::Create(right - left + 1, bottom - top + 1, platform::PixelFormat::Bgra32);
  if (!out) return nullptr;
  for (int y = top; y <= bottom; ++y)
    std::memcpy(out->Row(y - top), b.Row(y) + left * 4, static_cast<size_t>(out->Width()) * 4);
  return out;
}

}  // namespace imaging
