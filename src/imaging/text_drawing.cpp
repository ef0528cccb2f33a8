// Text drawing into an 8-bit coverage bitmap sized to the text: lines measured and drawn with
// the platform's character-extra spacing, italic widening and the character-count estimate
// that sizes the bitmap for letter spacing.
#include <algorithm>
#include <cstdlib>

#include "imaging/text_layer.h"
#include "platform/fonts.h"

namespace imaging {

namespace {

constexpr long long kMaxTextPixels = 64LL * 1024 * 1024;

// The first character of a line as the estimate takes it: two bytes when the first byte is
// above 120 (which also takes "y", "z" and the braces with their neighbour), else one.
std::string FirstCharacter(const std::string& line) {
  if (line.empty()) return line;
  const auto b = static_cast<unsigned char>(line[0]);
  return line.substr(0, b > 120 ? 2 : 1);
}

}  // namespace

bool DrawTextInfo(const TTextLayerInfo& info, BitmapPtr& out) {
  platform::FontSpec fontSpec;
  if (info.size < 0) {
    fontSpec.height = info.size;
  } else {
    fontSpec.size = info.size;
    fontSpec.height = 0;
  }
  fontSpec.color = info.color;
  fontSpec.name = platform::fonts::ResolveFamily(info.FontName());
  fontSpec.bold = info.bold != 0;
  fontSpec.italic = info.italic != 0;
  fontSpec.underline = info.underline != 0;
  fontSpec.strikeOut = info.strikeOut != 0;
  auto font = platform::fonts::Font::Create(fontSpec);
  if (!font) return false;

  std::vector<std::string> lines = platform::fonts::SplitLines(info.Text());
  for (std::string& l : lines) {
    if (l.empty()) l = ' ';  // an empty line keeps the height of a space
  }
  const int extra = info.letterSpacing, lineSpacing = info.lineSpacing;

  // Measure.
  struct Measured { int width, height; };
  std::vector<Measured> sizes;
  const int italicExtra = fontSpec.italic ? font->Measure("A", extra).width / 3 : 0;
  long long textWidth = 0, textHeight = 0;
  for (const std::string& line : lines) {
    platform::fonts::TextExtent e = font->Measure(line, extra);
    long long w = e.width + italicExtra;
    if (extra != 0 || lineSpacing != 0) {
      const int first = font->Measure(FirstCharacter(line), extra).width;
      const long long count = first > 0 ? w / first : 1;
      w += static_cast<long long>(extra) * (count - 1);
    }
    sizes.push_back({static_cast<int>(w), e.height});
    textWidth = std::max(textWidth, w);
    textHeight += e.height + lineSpacing;
  }
  if (lineSpacing < 0) textHeight += -lineSpacing;
  if (extra < 0) textWidth += -extra;
  textWidth = std::max(textWidth, 0LL);
  textHeight = std::max(textHeight, 0LL);
  if (textWidth * textHeight > kMaxTextPixels) return false;

  auto bmp = platform::Bitmap::Create(static_cast<int>(textWidth), static_cast<int>(textHeight),
                                      platform::PixelFormat::Indexed8);
  if (!bmp) return false;
  // Draw: white glyphs, each line at x = 0, clipped at the bitmap.
  int y = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!bmp->Empty()) font->Draw(*bmp, 0, y, lines[i], platform::kClWhite, extra);
    y += sizes[i].height + lineSpacing;
  }
  out = std::move(bmp);
  return true;
}

}  // namespace imaging
