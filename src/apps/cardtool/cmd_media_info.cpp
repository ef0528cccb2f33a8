// cardtool media-info: what the media control makes of a sound or movie file: its kind, its
// length in milliseconds, and which device types accept it (decided by content).
#include <cstdio>

#include "audio/pv_player.h"
#include "command.h"
#include "platform/files.h"
#include "platform/mci.h"
#include "platform/media_probe.h"
#include "platform/paths.h"

namespace cardtool {
namespace {

int Run(const Args& args);
const Registrar reg({"media-info", "media-info FILE",
                     "show a sound or movie file's kind, length in ms and the device types that accept it", &Run});

int Run(const Args& args) {
  Options o(args, {});
  if (!o.Ok()) return Fail(o.Error(), 2);
  if (o.Positionals().size() != 1) {
    for (const Command& c : Commands())
      if (c.name == "media-info") return Usage(c);
    return 2;
  }
  const std::string path = platform::paths::FromHost(o.Positionals()[0]);
  if (!platform::files::FileExists(path)) return Fail("cannot open " + o.Positionals()[0]);
  namespace media = platform::media;
  const media::MediaInfo info = media::ProbeFile(path);
  std::printf("kind %s\n", media::KindName(info.kind));
  std::printf("length %lld ms\n", static_cast<long long>(info.lengthMs));
  if (info.kind == media::Kind::Wave)
    std::printf("format %d, %d Hz, %d channel(s), %d bit\n", info.formatTag, info.sampleRate, info.channels,
                info.bitsPerSample);
  if (info.kind == media::Kind::Mp3)
    std::printf("mpeg audio %d Hz, %d kbit/s first frame%s\n", info.sampleRate, info.mp3Bitrate,
                info.mp3Vbr ? ", VBR header" : "");
  if (info.width > 0) std::printf("display %dx%d, %.3f frames/s\n", info.width, info.height, info.framesPerSecond);
  for (const char* type : {"MPEGVideo", "WaveAudio", "Sequencer"}) {
    std::printf("%s %s\n", type, platform::mci::Accepts(type, info) ? "accepts" : "refuses");
  }
  // What the music player makes of it (bass.dll included, when there is one).
  std::printf("music length %d ms\n", audio::GetMusicLength(path));
  return info.kind == media::Kind::Unknown ? 1 : 0;
}

}  // namespace
}  // namespace cardtool
