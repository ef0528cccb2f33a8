#pragma once
// GIF pictures and animations through giflib.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace platform {

enum class GifDisposal { None = 0, Keep = 1, RestoreBackground = 2, RestorePrevious = 3 };

struct GifFrame {
  int left = 0, top = 0;        // offset on the logical screen
  int width = 0, height = 0;    // the frame's own size
  // The frame's own pixels, 32-bit: colours from its palette, alpha 0 where the pixel has
  // the transparent index, 255 elsewhere.
  std::unique_ptr<Bitmap> image;
  bool hasControlBlock = false;  // a graphic control extension precedes the frame
  bool hasTransparent = false;
  int transparentIndex = -1;
  Color transparentColor = 0;    // the palette colour of the transparent index
  int delay = 0;                 // hundredths of a second, as stored
  GifDisposal disposal = GifDisposal::None;
  int disposalValue = 0;         // the raw 3-bit disposal field
  bool interlaced = false;
};

struct GifAnimation {
  int width = 0, height = 0;     // logical screen size
  Color background = 0;          // the background colour from the global palette (0 when none)
  int backgroundIndex = 0;
  int loopCount = -1;            // from the NETSCAPE2.0 extension; -1 when absent, 0 = forever
  std::vector<GifFrame> frames;  // at least one
};

// Every frame. LoadError when the data is no GIF, has no frame or is damaged before its
// first frame ends; a damaged later frame ends the list there.
GifAnimation DecodeGif(std::span<const uint8_t> data);
GifAnimation LoadGifAnimation(std::string_view path);

// The logical screen after each frame, as a player shows it (32-bit, transparent where no
// frame has drawn yet), following each frame's disposal method.
std::vector<std::unique_ptr<Bitmap>> ComposeGifFrames(const GifAnimation& animation);

// GIF file bytes of an animation (tests, tools and benchmarks make pictures with it). Each
// frame gets its own palette: its exact colours when there are at most 255, else a 6x6x6
// colour cube; pixels with alpha below 128 take a transparent index. Offsets, delays,
// disposal and the loop count are written as given.
std::vector<uint8_t> EncodeGif(const GifAnimation& animation);

// Logical screen size and frame count; false when it is no GIF.
bool ProbeGif(std::span<const uint8_t> data, int& width, int& height, int& frames, bool& interlaced);

}  // namespace platform
