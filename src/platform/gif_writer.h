#pragma once
// Animated GIF output through giflib, for tools that show how the suite animates (cardtool
// transition). Each frame gets its own palette of at most 256 colours from a median-cut
// quantiser; a frame with no more colours than that keeps every colour exactly.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

struct QuantizedImage {
  int width = 0, height = 0;
  std::vector<PaletteEntry> palette;  // at most maxColors entries
  std::vector<uint8_t> indices;       // width * height palette indices, rows top-down
};

// Reduces a picture (any pixel format) to at most maxColors (2..256) colours by median cut
// over a 15-bit colour histogram; every pixel takes the nearest palette colour of its cell.
QuantizedImage QuantizeMedianCut(const Bitmap& image, int maxColors = 256);

class GifWriter {
 public:
  // A GIF of width x height; loopCount 0 repeats forever.
  GifWriter(int width, int height, int loopCount = 0);
  ~GifWriter();
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  // Appends a frame shown for delay hundredths of a second. A frame of another size is cut
  // or padded with black at its right and bottom. Ignored after Finish.
  void AddFrame(const Bitmap& frame, int delayCentiseconds);
  int FrameCount() const { return frames_; }
  // The file's bytes. The writer takes no more frames afterwards.
  std::vector<uint8_t> Finish();
  // Finish and write to a system path; FileError when the file cannot be written.
  void Save(std::string_view path);

 private:
  struct State;
  State* state_;
  int width_, height_, frames_ = 0;
};

}  // namespace platform
