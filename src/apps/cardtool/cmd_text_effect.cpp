// cardtool text-effect: a text rendered with a text effect as the Flash wizard renders its title,
// written as a PNG with alpha.
#include <cstdlib>

#include "command.h"
#include "imaging/text_effect.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/png_writer.h"
#include "platform/text.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{
    "text-effect",
    "text-effect --text T --font NAME --size SIZE [--color C] [--bold] [--italic] [--underline] [--strikeout] "
    "[--letter-spacing N] [--line-spacing N] [--style FILE] [--on COLOR] OUT.png",
    "renders a text with a layer style file (or an effect name of 文字特效) into a cropped PNG with alpha", &Run};
const cardtool::Registrar reg(kCommand);

bool ParseColor(const std::string& s, platform::Color& c) {
  struct Named { const char* name; platform::Color color; };
  static const Named names[] = {{"red", platform::Rgb(255, 0, 0)},   {"yellow", platform::Rgb(255, 255, 0)},
                                {"blue", platform::Rgb(0, 0, 255)},  {"green", platform::Rgb(0, 128, 0)},
                                {"black", platform::Rgb(0, 0, 0)},   {"white", platform::Rgb(255, 255, 255)},
                                {"lime", platform::Rgb(0, 255, 0)},  {"fuchsia", platform::Rgb(255, 0, 255)},
                                {"aqua", platform::Rgb(0, 255, 255)}, {"navy", platform::Rgb(0, 0, 128)}};
  for (const Named& n : names)
    if (s == n.name) return c = n.color, true;
  char* end = nullptr;
  if (s.size() == 7 && s[0] == '#') {
    long v = std::strtol(s.c_str() + 1, &end, 16);
    if (*end) return false;
    c = platform::Rgb(static_cast<int>(v >> 16) & 0xFF, static_cast<int>(v >> 8) & 0xFF, static_cast<int>(v) & 0xFF);
    return true;
  }
  long v = std::strtol(s.c_str(), &end, 0);
  if (s.empty() || *end) return false;
  c = static_cast<platform::Color>(v);
  return true;
}

bool ParseInt16(const std::string& s, int16_t& v) {
  char* end = nullptr;
  long n = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || n < -32768 || n > 32767) return false;
  v = static_cast<int16_t>(n);
  return true;
}

imaging::BitmapPtr Flatten(const platform::Bitmap& rgba, platform::Color bg) {
  auto out = platform::Bitmap::Create(rgba.Width(), rgba.Height(), platform::PixelFormat::Bgr24);
  const int back[3] = {platform::BlueOf(bg), platform::GreenOf(bg), platform::RedOf(bg)};
  for (int y = 0; y < rgba.Height(); ++y) {
    const uint8_t* s = rgba.Row(y);
    uint8_t* d = out->Row(y);
    for (int x = 0; x < rgba.Width(); ++x)
      for (int c = 0; c < 3; ++c)
        d[x * 3 + c] = static_cast<uint8_t>((s[x * 4 + c] * s[x * 4 + 3] + back[c] * (255 - s[x * 4 + 3]) + 127) / 255);
  }
  return out;
}

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {"text", "font", "size", "color", "letter-spacing", "line-spacing", "style", "on"});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1 || !opt.Value("text")) return cardtool::Usage(kCommand);
  imaging::TextEffectRequest req;
  std::string text = platform::Utf8ToGbk(*opt.Value("text"));
  text = platform::ReplaceText(text, "\\n", "\r\n");
  req.info.SetText(text);
  req.info.SetFontName(platform::Utf8ToGbk(opt.ValueOr("font", "宋体")));
  req.info.size = imaging::FontSizeFromText(platform::Utf8ToGbk(opt.ValueOr("size", "二号")));
  platform::Color color = platform::Rgb(255, 0, 0);
  if (auto c = opt.Value("color"); c && !ParseColor(*c, color)) return cardtool::Fail("bad colour '" + *c + "'", 2);
  req.info.color = color;
  req.info.bold = opt.Flag("bold");
  req.info.italic = opt.Flag("italic");
  req.info.underline = opt.Flag("underline");
  req.info.strikeOut = opt.Flag("strikeout");
  if (auto v = opt.Value("letter-spacing"); v && !ParseInt16(*v, req.info.letterSpacing))
    return cardtool::Fail("bad letter spacing '" + *v + "'", 2);
  if (auto v = opt.Value("line-spacing"); v && !ParseInt16(*v, req.info.lineSpacing))
    return cardtool::Fail("bad line spacing '" + *v + "'", 2);
  if (auto s = opt.Value("style")) {
    // A file, or the name of one of the program's text effects.
    std::string path = platform::paths::FromHost(*s);
    if (!platform::files::FileExists(path)) {
      std::string named = platform::paths::ProgramFolder() + "文字特效\\" + platform::Utf8ToGbk(*s) + ".style";
      if (!platform::files::FileExists(named)) return cardtool::Fail("no style file or text effect '" + *s + "'");
      path = named;
    }
    req.styleFile = path;
  }
  bool loaded = false;
  imaging::BitmapPtr picture = imaging::RenderTextEffect(req, &loaded);
  if (!req.styleFile.empty() && !loaded) return cardtool::Fail("the style file was refused: " + *opt.Value("style"));
  if (!picture) return cardtool::Fail("nothing was drawn");
  if (auto on = opt.Value("on")) {
    // For looking at: the picture flattened over a solid colour instead of kept with alpha.
    platform::Color bg;
    if (!ParseColor(*on, bg)) return cardtool::Fail("bad colour '" + *on + "'", 2);
    picture = Flatten(*picture, bg);
  }
  platform::SavePng(*picture, platform::paths::FromHost(opt.Positionals()[0]));
  return 0;
}

}  // namespace
