#pragma once
// The pixels of a PNG file (a browser screenshot, say), read as RGB at (x, y).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct Rgb {
  int r = -1, g = -1, b = -1;
};

class PngPixels {
 public:
  // Nothing when the file cannot be read as a PNG. hostPath is a UTF-8 path.
  static std::optional<PngPixels> Load(const std::string& hostPath);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour at (x, y); (-1, -1, -1) outside the picture.
  Rgb At(int x, int y) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> rgb_;
};

// The colour of one pixel of a PNG file; (-1, -1, -1) when the file cannot be read.
Rgb PixelOf(const std::string& pngHostPath, int x, int y);

// Whether c is within tol of (r, g, b) in each channel; the message says what it was.
::testing::AssertionResult Near(const Rgb& c, int r, int g, int b, int tol = 12);

}  // namespace testing_support
