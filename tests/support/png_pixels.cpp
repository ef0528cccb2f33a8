#include "support/png_pixels.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

namespace testing_support {

std::optional<PngPixels> PngPixels::Load(const std::string& hostPath) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, hostPath.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  PngPixels p;
  p.width_ = static_cast<int>(image.width);
  p.height_ = static_cast<int>(image.height);
  p.rgb_.resize(PNG_IMAGE_SIZE(image));
  // Transparent pixels are composed over black.
  if (!png_image_finish_read(&image, nullptr, p.rgb_.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return p;
}

Rgb PngPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const uint8_t* px = rgb_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
  return {px[0], px[1], px[2]};
}

Rgb PixelOf(const std::string& pngHostPath, int x, int y) {
  auto png = PngPixels::Load(pngHostPath);
  return png ? png->At(x, y) : Rgb{};
}

::testing::AssertionResult Near(const Rgb& c, int r, int g, int b, int tol) {
  if (std::abs(c.r - r) <= tol && std::abs(c.g - g) <= tol && std::abs(c.b - b) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel is (" << c.r << "," << c.g << "," << c.b << "), expected about ("
                                       << r << "," << g << "," << b << ")";
}

}  // namespace testing_support
