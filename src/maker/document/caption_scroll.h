#pragma once
// The scrolling caption drawn: its lines broken in its font and each frame drawn at the
// places caption_geometry.h gives them.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/caption_geometry.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/font_spec.h"
#include "platform/fonts.h"

namespace document {

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
