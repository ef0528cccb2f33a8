// cardtool transition: draws the steps of one picture transition from OLD to NEW, as PNG
// files of chosen steps in a folder or as an animated GIF of all 100 steps.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "command.h"
#include "maker/transitions/pic_movie.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/gif_writer.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/png_writer.h"
#include "platform/text.h"

namespace cardtool {
namespace {

int Run(const Args& args);
const Registrar reg({"transition",
                     "transition --effect N [--steps LIST|all] [--size WxH] [--bg COLOR] [--seed N] OLD NEW OUT",
                     "draw a picture transition (EffectID 1-196): PNG files of the steps in folder OUT, or an "
                     "animated GIF when OUT ends in .gif",
                     &Run});

bool ParseInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (*end || v < -2147483647L || v > 2147483647L) return false;
  out = static_cast<int>(v);
  return true;
}

// "all", or a comma list of steps and ranges: "1,25,50-55,100".
bool ParseSteps(const std::string& text, std::set<int>& steps) {
  if (text == "all") {
    for (int s = 1; s <= transitions::kStepCount; ++s) steps.insert(s);
    return true;
  }
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    int a, b;
    const size_t dash = item.find('-');
    if (dash == std::string::npos) {
      if (!ParseInt(item, a)) return false;
      b = a;
    } else if (!ParseInt(item.substr(0, dash), a) || !ParseInt(item.substr(dash + 1), b)) {
      return false;
    }
    if (a < 1 || b > transitions::kStepCount || a > b) return false;
    for (int s = a; s <= b; ++s) steps.insert(s);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return !steps.empty();
}

// A platform colour in decimal (0x00BBGGRR, as settings files store it) or "#RRGGBB".
bool ParseColor(const std::string& s, platform::Color& c) {
  if (s.size() == 7 && s[0] == '#') {
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str() + 1, &end, 16);
    if (*end) return false;
    c = platform::Rgb(int(v >> 16) & 255, int(v >> 8) & 255, int(v) & 255);
    return true;
  }
  int v;
  if (!ParseInt(s, v)) return false;
  c = v;
  return true;
}

bool EndsWithGif(const std::string& path) {
  return path.size() >= 4 && platform::AsciiLower(path.substr(path.size() - 4)) == ".gif";
}

int Run(const Args& args) {
  Options o(args, {"effect", "steps", "size", "bg", "seed"});
  if (!o.Ok()) return Fail(o.Error(), 2);
  if (o.Positionals().size() != 3 || !o.Value("effect")) {
    for (const Command& c : Commands())
      if (c.name == "transition") return Usage(c);
    return 2;
  }
  int effect = 0;
  if (!ParseInt(*o.Value("effect"), effect) || effect < 1 || effect > transitions::kEffectCount)
    return Fail("--effect takes an EffectID from 1 to 196", 2);
  std::set<int> steps;
  if (!ParseSteps(o.ValueOr("steps", "all"), steps))
    return Fail("--steps takes \"all\" or a list such as 1,25,50-55,100 of steps 1 to 100", 2);
  platform::Color bg = 0;
  if (!ParseColor(o.ValueOr("bg", "0"), bg)) return Fail("--bg takes a colour value or #RRGGBB", 2);
  const std::string out = o.Positionals()[2];
  const bool gif = EndsWithGif(out);

  try {
    auto oldPic = platform::LoadPicture(platform::paths::FromHost(o.Positionals()[0]));
    auto newPic = platform::LoadPicture(platform::paths::FromHost(o.Positionals()[1]));
    int w = newPic->Width(), h = newPic->Height();
    if (auto size = o.Value("size")) {
      const size_t x = size->find('x');
      if (x == std::string::npos || !ParseInt(size->substr(0, x), w) || !ParseInt(size->substr(x + 1), h) || w < 1 ||
          h < 1 || w > 8192 || h > 8192)
        return Fail("--size takes WIDTHxHEIGHT, each 1 to 8192", 2);
    }
    transitions::TlmPicMovieunit engine;
    if (auto seed = o.Value("seed")) {
      int sv;
      if (!ParseInt(*seed, sv)) return Fail("--seed takes an integer", 2);
      engine.SeedRandom(static_cast<uint32_t>(sv));
    }
    engine.SetBkColor(bg);
    engine.PrepareFrames(oldPic.get(), newPic.get(), w, h);
    // The target starts as the picture on show, as the screen would; steps that draw
    // nothing (effect 19 between multiples of 4) leave it as it was.
    auto target = engine.OldFrame()->Clone();
    transitions::BitmapCanvas canvas(*target);

    if (gif) {
      platform::GifWriter writer(w, h);
      writer.AddFrame(*target, 60);
      for (int s = 1; s <= transitions::kStepCount; ++s) {
        engine.DrawStep(s, canvas, effect);
        writer.AddFrame(*target, s == transitions::kStepCount ? 150 : 3);
      }
      writer.Save(platform::paths::FromHost(out));
      std::printf("effect %d, %dx%d: %d frames written to %s\n", effect, w, h, writer.FrameCount(), out.c_str());
      return 0;
    }
    const std::string folder = platform::paths::FromHost(out);
    if (!platform::files::FolderExists(folder) && !platform::files::CreateFolder(folder))
      return Fail("cannot create folder " + out);
    int written = 0;
    for (int s = 1; s <= *steps.rbegin(); ++s) {
      engine.DrawStep(s, canvas, effect);
      if (!steps.count(s)) continue;
      char name[32];
      std::snprintf(name, sizeof name, "/step%03d.png", s);
      platform::SavePng(*target, folder + name);
      ++written;
    }
    std::printf("effect %d, %dx%d: %d PNG files written to %s\n", effect, w, h, written, out.c_str());
    return 0;
  } catch (const platform::Error& e) {
    return Fail(platform::GbkToUtf8(e.what()));
  }
}

}  // namespace
}  // namespace cardtool
