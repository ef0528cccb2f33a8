#pragma once
// Pictures prepared for Flash.dll: frame packets (frame width, height and count, a delay per
// frame, then a BMP holding every frame as one sheet), GIF frame sheets, opacity, alpha
// premultiplication, cropping, scene backgrounds and the bicubic stretch.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/gif_codec.h"

namespace flashwizard {

class FlashProject;

using Packet = std::vector<uint8_t>;
using BitmapPtr = std::unique_ptr<platform::Bitmap>;

// Frames of one animation laid out as one bitmap.
struct FrameSheet {
  BitmapPtr sheet;
  int frameWidth = 0, frameHeight = 0;
  std::vector<int> delays;  // ms, one per frame
  int rows = 1;
};

// The most frames a sheet holds; later frames of longer animations are dropped (as are
// frames beyond the picture size limit).
constexpr int kMaxSheetFrames = 1001;

// The animation's frames in rows on a white sheet, each drawn over the previous one unless
// it restores the background; 32-bit with alpha when the first frame has a transparent colour.
FrameSheet BuildFrameSheet(const platform::GifAnimation& gif);
// The number of rows BuildFrameSheet uses for n frames of height h.
int SheetRows(int n, int h);

// Opacity 0..100 below 100: 32-bit alpha scaled, other pictures made 32-bit with that alpha.
BitmapPtr ApplyOpacity(BitmapPtr bitmap, int opacity);
// Each colour channel of a 32-bit bitmap becomes round(channel * alpha / 255).
void PremultiplyAlpha(platform::Bitmap& bitmap);

// Packet bytes: frame width, height, count, delays, then the sheet as a BMP file.
Packet EncodePacket(const platform::Bitmap& sheet, int frameWidth, int frameHeight,
                    const std::vector<int>& delays);
// One frame, delay 1; 32-bit bitmaps are premultiplied first.
Packet MakeBitmapPacket(platform::Bitmap& bitmap);
// The packet of a picture file by its extension (".gif", ".bmp", ".jpg", ".jpeg", ".bmpex";
// any other: an empty packet). False only when the file cannot be read or converted.
bool MakeImagePacket(const std::string& file, int opacity, Packet& packet);

// 32-bit: the bounding box of the pixels with alpha other than 0, one pixel wider on each
// side, clipped. Other bitmaps, and bitmaps without such pixels, come back as a copy.
BitmapPtr CropToOpaque(const platform::Bitmap& bitmap);

// Bicubic resampling to width x height (24-bit and 32-bit, alpha included).
BitmapPtr StretchBicubic(const platform::Bitmap& source, int width, int height);

// The 8 x 8, 32-bit, fully transparent bitmap that stands for "no background".
BitmapPtr EmptySceneBitmap();
// The background of a scene at the movie size.
BitmapPtr GetSceneBmp(const FlashProject& project, int scene);

}  // namespace flashwizard
