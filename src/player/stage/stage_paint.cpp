#include "player/stage/stage_paint.h"

#include <algorithm>

#include "platform/color.h"
#include "platform/fonts.h"
#include "platform/raster.h"

namespace stage {

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rect;

namespace {

struct Bgra {
  uint8_t b, g, r, a;
};

Bgra ReadPixel(const Bitmap& src, int x, int y) {
  const uint8_t* row = src.Row(y);
  switch (src.Format()) {
    case PixelFormat::Bgr24: return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 255};
    case PixelFormat::Bgra32: return {row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]};
    case PixelFormat::Indexed8: {
      const platform::PaletteEntry& p = src.GetPalette()[row[x]];
      return {p.b, p.g, p.r, 255};
    }
  }
  return {0, 0, 0, 255};
}

uint8_t Mix(uint8_t over, uint8_t under, int alpha) { return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255); }

}  // namespace

void DrawOver(Bitmap& target, const Rect& dst, const Bitmap& src, const Rect& clip) {
  if (dst.Empty() || src.Empty() || target.Format() == PixelFormat::Indexed8) return;
  const Rect area = dst.Intersect(clip).Intersect(Rect::FromSize(0, 0, target.Width(), target.Height()));
  if (area.Empty()) return;
  const int dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
  const int bpp = platform::BytesPerPixel(target.Format());
  std::vector<int> cols(static_cast<size_t>(area.Width()));
  for (int x = area.left; x < area.right; ++x)
    cols[static_cast<size_t>(x - area.left)] =
        static_cast<int>((2LL * (x - dst.left) + 1) * sw / (2LL * dw));
  for (int y = area.top; y < area.bottom; ++y) {
    const int sy = static_cast<int>((2LL * (y - dst.top) + 1) * sh / (2LL * dh));
    uint8_t* out = target.Row(y) + static_cast<size_t>(area.left) * bpp;
    for (int i = 0; i < area.Width(); ++i, out += bpp) {
      const Bgra p = ReadPixel(src, cols[static_cast<size_t>(i)], sy);
      if (p.a == 0) continue;
      if (p.a == 255) {
        out[0] = p.b;
        out[1] = p.g;
        out[2] = p.r;
        if (bpp == 4) out[3] = 255;
        continue;
      }
      if (bpp == 4 && out[3] < 255) {
        // Over a see-through pixel (a layer of its own): the colours weighed by both alphas.
        const int under = out[3] * (255 - p.a);  // the under pixel's weight, times 255
        const int total = p.a * 255 + under;
        if (total == 0) continue;
        out[0] = static_cast<uint8_t>((p.b * p.a * 255 + out[0] * under + total / 2) / total);
        out[1] = static_cast<uint8_t>((p.g * p.a * 255 + out[1] * under + total / 2) / total);
        out[2] = static_cast<uint8_t>((p.r * p.a * 255 + out[2] * under + total / 2) / total);
        out[3] = static_cast<uint8_t>((total + 127) / 255);
        continue;
      }
      out[0] = Mix(p.b, out[0], p.a);
      out[1] = Mix(p.g, out[1], p.a);
      out[2] = Mix(p.r, out[2], p.a);
      if (bpp == 4) out[3] = static_cast<uint8_t>(p.a + out[3] * (255 - p.a) / 255);
    }
  }
}

std::vector<std::string> DrawTextBox(Bitmap& target, const platform::FontSpec& fontSpec, const std::string& text, int x,
                                     int y, int width, const Rect& clip) {
  auto font = platform::fonts::Font::Create(fontSpec);
  if (!font) return {};
  std::vector<std::string> lines =
      width > 0 ? platform::fonts::WrapText(*font, text, width) : platform::fonts::SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int top = y + static_cast<int>(i) * font->Height();
    if (top >= clip.bottom) break;
    font->Draw(target, x, top, lines[i], fontSpec.color, 0, &clip);
  }
  return lines;
}

void DrawCentredText(Bitmap& target, const platform::FontSpec& fontSpec, const std::string& text, const Rect& rect) {
  auto font = platform::fonts::Font::Create(fontSpec);
  if (!font) return;
  const std::vector<std::string> lines = platform::fonts::SplitLines(text);
  const int total = static_cast<int>(lines.size()) * font->Height();
  int top = rect.top + (rect.Height() - total) / 2;
  for (const std::string& line : lines) {
    const int w = font->Measure(line).width;
    font->Draw(target, rect.left + (rect.Width() - w) / 2, top, line, fontSpec.color, 0, &rect);
    top += font->Height();
  }
}

void DrawEdge(Bitmap& target, const Rect& r, bool raised) {
  if (r.Width() < 2 || r.Height() < 2) return;
  const platform::Color light = platform::Rgb(255, 255, 255), dark = platform::Rgb(128, 128, 128);
  const platform::Color tl = raised ? light : dark, br = raised ? dark : light;
  platform::FillRect(target, {r.left, r.top, r.right, r.top + 1}, tl);
  platform::FillRect(target, {r.left, r.top, r.left + 1, r.bottom}, tl);
  platform::FillRect(target, {r.left, r.bottom - 1, r.right, r.bottom}, br);
  platform::FillRect(target, {r.right - 1, r.top, r.right, r.bottom}, br);
}

}  // namespace stage
