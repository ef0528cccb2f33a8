// cardtool picture-info: what a picture file holds (format, size, frames), optionally
// decoded and written as PNG to look at.
#include <cstdio>

#include "command.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace cardtool {
namespace {

int Run(const Args& args);
const Registrar reg({"picture-info", "picture-info FILE [--png OUT.png]",
                     "show a picture's format, size and frames; --png writes the decoded picture", &Run});

const char* DisposalName(platform::GifDisposal d) {
  switch (d) {
    case platform::GifDisposal::None: return "none";
    case platform::GifDisposal::Keep: return "keep";
    case platform::GifDisposal::RestoreBackground: return "background";
    case platform::GifDisposal::RestorePrevious: return "previous";
  }
  return "?";
}

int Run(const Args& args) {
  Options o(args, {"png"});
  if (!o.Ok()) return Fail(o.Error(), 2);
  if (o.Positionals().size() != 1) {
    for (const Command& c : Commands())
      if (c.name == "picture-info") return Usage(c);
    return 2;
  }
  const std::string path = platform::paths::FromHost(o.Positionals()[0]);
  try {
    const std::string bytes = platform::ReadPictureFile(path);
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const platform::PictureInfo info = platform::ProbePicture(data);
    std::printf("format %s\nsize %dx%d\nframes %d\nbits %d\n", info.format.c_str(), info.width, info.height,
                info.frames, info.bitsPerPixel);
    if (info.format == "JPEG") std::printf("progressive %s\n", info.progressive ? "yes" : "no");
    if (info.format == "GIF") {
      const platform::GifAnimation a = platform::DecodeGif(data);
      std::printf("loop %d\n", a.loopCount);
      for (size_t k = 0; k < a.frames.size(); ++k) {
        const platform::GifFrame& f = a.frames[k];
        std::printf("frame %zu at %d,%d size %dx%d delay %d disposal %s%s%s\n", k, f.left, f.top, f.width, f.height,
                    f.delay, DisposalName(f.disposal), f.hasTransparent ? " transparent" : "",
                    f.interlaced ? " interlaced" : "");
      }
    }
    if (info.format == "ICO") {
      for (const platform::IconImage& im : platform::ParseIco(data))
        std::printf("image %dx%d bits %d%s, %zu bytes\n", im.width, im.height, im.bitCount, im.png ? " png" : "",
                    im.bytes.size());
    }
    if (auto out = o.Value("png")) {
      std::string ext = info.format == "JPEG" ? ".jpg" : "." + platform::AsciiLower(info.format);
      auto bmp = platform::DecodePicture(data, ext);
      platform::SavePng(*bmp, platform::paths::FromHost(*out));
      std::printf("written %s\n", out->c_str());
    }
  } catch (const platform::Error& e) {
    return Fail(platform::GbkToUtf8(e.what()));
  }
  return 0;
}

}  // namespace
}  // namespace cardtool
