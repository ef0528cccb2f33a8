#pragma once
// Text drawing for GBK text, standing in for the platform's fonts and DrawText: FreeType draws
// the glyphs, fontconfig finds families by name. The family names the system's files use
// (宋体, 隶书, 华文行楷, MS Sans Serif, ...) are aliases shipped in "fonts\fonts.conf" of the
// program folder that map them onto installed fonts.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/font_spec.h"
#include "platform/region.h"

namespace platform::fonts {

struct TextExtent {
  int width = 0, height = 0;
  bool operator==(const TextExtent&) const = default;
};

// A font ready to measure and draw: family resolved as ResolveFamily does, size from the
// fontSpec (points at 96 dpi, or the platform's height: negative = character height in pixels,
// positive = cell height), bold, italic, underline and strike-out. Characters the family
// lacks are drawn from a Chinese fallback font.
class Font {
 public:
  // nullptr only when no font is installed at all.
  static std::shared_ptr<Font> Create(const FontSpec& fontSpec);
  virtual ~Font() = default;

  virtual const std::string& Family() const = 0;   // the resolved family (GBK)
  virtual int Height() const = 0;                  // cell height in pixels: a line's height
  virtual int Ascent() const = 0;                  // baseline from the cell's top
  virtual int EmHeight() const = 0;                // character height in pixels

  // One line as the platform's single-line text drawing reports it: the sum of the
  // character advances, each with charExtra added (the character-extra setting; a
  // double-byte character counts once), and the cell height. Line breaks are not special.
  virtual TextExtent Measure(std::string_view line, int charExtra = 0) const = 0;

  // Draws one line with its cell's top-left corner at (x, y), in a colour (8-bit bitmaps:
  // palette index = the colour's red value), anti-aliased, clipped to the bitmap and to
  // `clip` when given. 32-bit targets get alpha composited over their own.
  virtual void Draw(Bitmap& dst, int x, int y, std::string_view line, Color color, int charExtra = 0,
                    const Rect* clip = nullptr) const = 0;
};

// Family names of the installed fonts (GBK, sorted, each once) plus the shipped aliases
// whose fonts are present: the list for font choosers.
std::vector<std::string> InstalledFamilies();
// True when a font of that family (or a shipped alias for one) is installed; case-insensitive.
bool IsInstalled(std::string_view family);
// The name when installed; otherwise "宋体" when installed; otherwise "MS Sans Serif" when
// installed; otherwise the first installed family.
std::string ResolveFamily(std::string_view family);
// The installed family that fontconfig draws for a name (alias resolved), as UTF-8.
std::string HostFamilyFor(std::string_view family);

// Lines of a text split at CR LF, CR or LF; a break at the very end adds no line; an empty
// text gives no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Lines of a text broken for a width as a word-wrapping text box breaks them: hard breaks
// first; then a Chinese (double-byte) character may start a new line anywhere, a Latin word
// moves whole to the next line when it fits there and is cut by characters when it is wider
// than the line; blanks where a line is broken are dropped. Every line holds at least one
// character, so a width narrower than a character still ends.
std::vector<std::string> WrapText(const Font& font, std::string_view text, int width, int charExtra = 0);

// Convenience: single-line measurement and multi-line drawing (lines at y, y + Height(), ...).
TextExtent MeasureText(const FontSpec& fontSpec, std::string_view line, int charExtra = 0);
void DrawText(Bitmap& dst, const FontSpec& fontSpec, int x, int y, std::string_view text, int charExtra = 0,
              const Rect* clip = nullptr);

// Loads the alias file from another place (tests, tools); the default is the program
// folder's "fonts\fonts.conf", and built-in aliases when that file is missing.
void UseAliasFile(std::string_view hostPath);

}  // namespace platform::fonts
