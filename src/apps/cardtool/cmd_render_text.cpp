// cardtool render-text: draws a text with a font onto a white picture and writes it as PNG.
#include <cstdio>
#include <cstdlib>

#include "command.h"
#include "platform/error.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace cardtool {
namespace {

int Run(const Args& args);
const Registrar reg({"render-text",
                     "render-text --font NAME --size S [--bold] [--italic] [--underline] [--strike] [--spacing N] "
                     "[--color RRGGBB] [--width W] --text T OUT.png",
                     "draw a text (points, or negative = pixel height) and write it as PNG", &Run});

int Run(const Args& args) {
  Options o(args, {"font", "size", "spacing", "color", "width", "text"});
  if (!o.Ok()) return Fail(o.Error(), 2);
  if (o.Positionals().size() != 1 || !o.Value("text")) {
    for (const Command& c : Commands())
      if (c.name == "render-text") return Usage(c);
    return 2;
  }
  platform::FontSpec fontSpec;
  fontSpec.name = platform::Utf8ToGbk(o.ValueOr("font", "宋体"));
  int size = 0, spacing = 0, width = 0;
  if (!platform::TryStrToInt(o.ValueOr("size", "12"), size) || !platform::TryStrToInt(o.ValueOr("spacing", "0"), spacing) ||
      !platform::TryStrToInt(o.ValueOr("width", "0"), width))
    return Fail("--size, --spacing and --width take whole numbers", 2);
  if (size < 0) {
    fontSpec.height = size;
  } else {
    fontSpec.size = size;
  }
  fontSpec.bold = o.Flag("bold");
  fontSpec.italic = o.Flag("italic");
  fontSpec.underline = o.Flag("underline");
  fontSpec.strikeOut = o.Flag("strike");
  const unsigned long rgb = std::strtoul(o.ValueOr("color", "000000").c_str(), nullptr, 16);
  fontSpec.color = platform::Rgb(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                             static_cast<int>(rgb & 0xFF));
  const std::string text = platform::Utf8ToGbk(platform::ReplaceText(*o.Value("text"), "\\n", "\n"));

  auto font = platform::fonts::Font::Create(fontSpec);
  if (!font) return Fail("no font is installed");
  const std::vector<std::string> lines =
      width > 0 ? platform::fonts::WrapText(*font, text, width, spacing) : platform::fonts::SplitLines(text);
  int w = width;
  for (const std::string& l : lines) w = std::max(w, font->Measure(l, spacing).width);
  const int pad = 4;
  const int h = std::max<int>(1, static_cast<int>(lines.size())) * font->Height();
  auto bmp = platform::Bitmap::Create(w + 2 * pad, h + 2 * pad, platform::PixelFormat::Bgr24);
  if (!bmp) return Fail("picture too large");
  bmp->Fill(platform::kClWhite);
  int y = pad;
  for (const std::string& l : lines) {
    font->Draw(*bmp, pad, y, l, fontSpec.color, spacing);
    y += font->Height();
  }
  try {
    platform::SavePng(*bmp, platform::paths::FromHost(o.Positionals()[0]));
  } catch (const platform::Error& e) {
    return Fail(platform::GbkToUtf8(e.what()));
  }
  std::printf("font %s (drawn with %s), character height %d px, line height %d px, %zu line(s), %dx%d\n",
              platform::GbkToUtf8(font->Family()).c_str(), platform::fonts::HostFamilyFor(font->Family()).c_str(),
              font->EmHeight(), font->Height(), lines.size(), bmp->Width(), bmp->Height());
  return 0;
}

}  // namespace
}  // namespace cardtool
