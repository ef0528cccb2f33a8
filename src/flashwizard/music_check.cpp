#include "flashwizard/music_check.h"

#include "platform/media_probe.h"

namespace flashwizard {

std::string MusicRateProblem(const std::string& file) {
  platform::media::MediaInfo info = platform::media::ProbeFile(file);
  if (info.kind != platform::media::Kind::Mp3) return {};
  const int rate = info.sampleRate;
  if (rate == 44100 || rate == 22050 || rate == 11025) return {};
  return "这首mp3的采样率是 " + std::to_string(rate) +
         "Hz，Flash贺卡只能使用 44100Hz、22050Hz 或 11025Hz 的mp3文件，请重新换一首。";
}

}  // namespace flashwizard
