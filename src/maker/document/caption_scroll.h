#pragma once
// The scrolling caption's animation, shared by the designer and the card players: the
// caption's text is broken into lines as a word-wrapping box of its width breaks it, and
// every timer tick draws one frame (a 32-bit bitmap of the caption's size) at the scroll
// position p and then advances p:
//
//   Way 0 bottom to top: line i at (1, H - p + i*h),          p resets after N*h + H
//   Way 1 top to bottom: line N-1-i at (1, p - i*h),          p resets after N*h + H
//   Way 2 right to left: line i at (W - p, i*h),              p resets after 2*W
//   Way 3 left to right: line i at (p - W, i*h),              p resets after 2*W
//
// (N lines of height h, the height of "软" in the caption's font; W x H the caption's size.)
// "Resets after L" means: when p + 1 passes L, the next tick draws at p = 0 again.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/font_spec.h"
#include "platform/fonts.h"

namespace document {

// The four directions, as stored in a caption's Way.
enum CaptionWay { kWayUp = 0, kWayDown = 1, kWayLeft = 2, kWayRight = 3 };

// What decides the lines' places: direction, line count and height, caption size.
struct CaptionGeometry {
  int way = kWayUp;
  int lineCount = 0;
  int lineHeight = 0;
  int width = 0;
  int height = 0;
};

// One line of the text at its place in a frame (top-left corner of the line's cell).
struct LinePlacement {
  int line = 0;  // index into the broken lines
  int x = 0;
  int y = 0;
  bool operator==(const LinePlacement&) const = default;
};

// Where each line is drawn at scroll position p, in drawing order. A Way outside 0..3 is
// drawn as Way 0.
std::vector<LinePlacement> PlaceCaptionLines(const CaptionGeometry& g, int p);
// The position after a tick that drew p: p + 1, or 0 when p + 1 passes the Way's limit.
int NextCaptionPosition(const CaptionGeometry& g, int p);
// The largest position a Way draws before starting again (N*h + H, or 2*W).
int CaptionPositionLimit(const CaptionGeometry& g);

// The line height of a caption: the height of "软" in its font.
int CaptionLineHeight(const platform::fonts::Font& font);
// The text broken as a borderless word-wrapping box of that width breaks it (hard breaks
// included). An empty text has no lines.
std::vector<std::string> CaptionLines(const platform::fonts::Font& font, std::string_view text, int width);

// Everything that decides a caption's look.
struct CaptionLook {
  std::string text;                     // CR LF between lines
  platform::FontSpec font;              // family, size, colour, styles
  platform::Color bkColor = platform::kClWhite;
  bool transparent = true;              // the background colour is see-through
  int way = kWayUp;
  int width = 200;
  int height = 150;
  // The background picture, drawn stretched over the whole frame; null when none. The
  // caption only reads it, so one decoded picture can serve several captions.
  std::shared_ptr<const platform::Bitmap> picture;
};

// Loads a caption's background picture: null when the path is empty, the file does not
// exist or cannot be decoded (a caption then draws its colour alone).
std::shared_ptr<const platform::Bitmap> LoadCaptionPicture(std::string_view path);

// Draws the frame at position p: a W x H 32-bit bitmap filled with the background colour
// (alpha 0 when transparent, else 255), the picture stretched over it (opaque), then the
// lines in the font's colour. Null only when the size is negative or too large.
std::unique_ptr<platform::Bitmap> DrawCaptionFrame(const CaptionLook& look, const platform::fonts::Font& font,
                                                   const std::vector<std::string>& lines, int lineHeight, int p);

// One caption's animation state: its look, its broken lines and its scroll position.
// A timer owner calls Tick at the caption's interval and shows the returned frame.
class CaptionScroller {
 public:
  explicit CaptionScroller(CaptionLook look = {});

  // Changes the look; the lines are broken anew, the position stays (it resets by the
  // usual rule when it has passed the new limit).
  void SetLook(CaptionLook look);
  const CaptionLook& Look() const { return look_; }

  // Draws the frame at the current position, then advances the position.
  std::unique_ptr<platform::Bitmap> Tick();
  // The frame at the current position, without advancing (for repaints).
  std::unique_ptr<platform::Bitmap> Frame() const;

  int Position() const { return p_; }
  void SetPosition(int p) { p_ = p; }
  const std::vector<std::string>& Lines() const { return lines_; }
  int LineHeight() const { return lineHeight_; }
  CaptionGeometry Geometry() const;

 private:
  void Layout();

  CaptionLook look_;
  std::shared_ptr<platform::fonts::Font> font_;
  std::vector<std::string> lines_;
  int lineHeight_ = 0;
  int p_ = 0;
};

}  // namespace document
