#include "flashwriter/mp3_frames.h"

namespace flashwriter {

namespace {

struct Header {
  int version = 0;  // 1, 2, or 25 for 2.5
  int rate = 0, samples = 0, size = 0;
  bool stereo = false;
};

bool ReadHeader(const uint8_t* p, size_t avail, Header& h) {
  if (avail < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int ver = (p[1] >> 3) & 3, layer = (p[1] >> 1) & 3;
  int brIndex = p[2] >> 4, srIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (ver == 1 || layer != 1 || brIndex == 0 || brIndex == 15 || srIndex == 3) return false;
  static const int kBitrateV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static const int kBitrateV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
  static const int kRates[3] = {44100, 48000, 32000};
  h.version = ver == 3 ? 1 : ver == 2 ? 2 : 25;
  int bitrate = (h.version == 1 ? kBitrateV1 : kBitrateV2)[brIndex] * 1000;
  h.rate = kRates[srIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
  h.samples = h.version == 1 ? 1152 : 576;
  h.size = (h.version == 1 ? 144 : 72) * bitrate / h.rate + padding;
  h.stereo = ((p[3] >> 6) & 3) != 3;
  return h.size > 4;
}

}  // namespace

bool ParseMp3(std::vector<uint8_t> bytes, Mp3Audio& out, std::string& error) {
  out = Mp3Audio();
  size_t pos = 0, n = bytes.size();
  // ID3v2 tag: "ID3", version, flags, four 7-bit size bytes.
  if (n >= 10 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') {
    size_t tagSize = (size_t(bytes[6] & 0x7F) << 21) | (size_t(bytes[7] & 0x7F) << 14) |
                     (size_t(bytes[8] & 0x7F) << 7) | size_t(bytes[9] & 0x7F);
    pos = 10 + tagSize + ((bytes[5] & 0x10) ? 10 : 0);
  }
  Header first;
  bool haveFirst = false;
  std::vector<Mp3Frame> frames;
  while (pos + 4 <= n) {
    Header h;
    if (!ReadHeader(bytes.data() + pos, n - pos, h) || pos + h.size > n ||
        (haveFirst && (h.rate != first.rate || h.stereo != first.stereo))) {
      ++pos;
      continue;
    }
    if (!haveFirst) {
      // Accept the first frame only when the next one follows it (or the file ends), so that
      // a stray sync pattern in a tag is not taken for audio.
      Header next;
      size_t after = pos + h.size;
      if (after + 4 <= n && !ReadHeader(bytes.data() + after, n - after, next)) {
        ++pos;
        continue;
      }
      first = h;
      haveFirst = true;
    }
    frames.push_back({pos, static_cast<size_t>(h.size), h.samples});
    pos += h.size;
  }
  if (frames.empty()) {
    error = "no MP3 audio frames found";
    return false;
  }
  if (first.rate != 11025 && first.rate != 22050 && first.rate != 44100) {
    error = "the MP3 sample rate " + std::to_string(first.rate) + " Hz cannot be stored in a Flash movie";
    return false;
  }
  out.data = std::move(bytes);
  out.frames = std::move(frames);
  out.sampleRate = first.rate;
  out.stereo = first.stereo;
  for (const Mp3Frame& f : out.frames) out.totalSamples += f.samples;
  return true;
}

}  // namespace flashwriter
