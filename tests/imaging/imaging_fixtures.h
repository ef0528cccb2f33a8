#pragma once
// Small helpers shared by the imaging tests: an image with a background and one text layer
// whose coverage is replaced by a drawn shape, so that effects are tested without fonts.
#include <functional>

#include "imaging/layered_image.h"

namespace imaging::testing_fixtures {

// A white w x h background and one text layer at (left, top) whose Alpha is `shape` (x, y ->
// coverage) over lw x lh pixels and whose Bitmap is filled with colour.
inline void MakeImage(TlmImageVcl& img, int w, int h) {
  auto bg = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  bg->Fill(platform::kClWhite);
  img.NewImageFromBitmap(*bg);
}

inline TlmLayer& AddShapeLayer(TlmImageVcl& img, int left, int top, int lw, int lh,
                               const std::function<int(int, int)>& shape, platform::Color color) {
  TTextLayerInfo info;
  info.SetText("shape");
  info.size = 9;
  img.AddTextLayer(left, top, info);
  TlmLayer& L = img.Layer(img.LayersCount() - 1);
  L.Alpha = platform::Bitmap::Create(lw, lh, platform::PixelFormat::Indexed8);
  for (int y = 0; y < lh; ++y)
    for (int x = 0; x < lw; ++x) L.Alpha->Row(y)[x] = static_cast<uint8_t>(shape(x, y));
  L.Bitmap = platform::Bitmap::Create(lw, lh, platform::PixelFormat::Bgr24);
  L.Bitmap->Fill(color);
  return L;
}

// A solid square [a, b) x [a, b) of coverage 255.
inline std::function<int(int, int)> Square(int a, int b) {
  return [a, b](int x, int y) { return (x >= a && x < b && y >= a && y < b) ? 255 : 0; };
}

}  // namespace imaging::testing_fixtures
