#include "platform/media_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "platform/paths.h"

namespace platform::media {
namespace {

// Readers never look at more than this much of a file at once.
constexpr size_t kHeadBytes = 1 << 20;
constexpr uint64_t kWholeFileLimit = 256ull << 20;

uint32_t Le32(const std::string& b, size_t at) {
  if (at + 4 > b.size()) return 0;
  auto u = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])); };
  return u(0) | (u(1) << 8) | (u(2) << 16) | (u(3) << 24);
}
uint16_t Le16(const std::string& b, size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
uint32_t Be32(std::string_view b, size_t at) {
  if (at + 4 > b.size()) return 0;
  auto u = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])); };
  return (u(0) << 24) | (u(1) << 16) | (u(2) << 8) | u(3);
}
uint16_t Be16(std::string_view b, size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<uint16_t>((static_cast<unsigned char>(b[at]) << 8) | static_cast<unsigned char>(b[at + 1]));
}
unsigned char U8(std::string_view b, size_t at) { return at < b.size() ? static_cast<unsigned char>(b[at]) : 0; }

// Lengths from damaged headers can be absurd; they are capped well inside 64 bits.
int64_t RoundMs(double ms) { return !(ms > 0) ? 0 : static_cast<int64_t>(std::llround(std::min(ms, 1e15))); }

// One RIFF chunk: its id, where its body starts and how long the body says it is.
struct Chunk {
  std::string id;
  uint64_t body = 0;
  uint64_t size = 0;
};

// The chunks of a RIFF list body between begin and end (the list's own bounds).
std::vector<Chunk> RiffChunks(const ByteSource& src, uint64_t begin, uint64_t end) {
  std::vector<Chunk> out;
  uint64_t at = begin;
  end = std::min(end, src.Size());
  while (at + 8 <= end && out.size() < 100000) {
    std::string h = src.Read(at, 8);
    if (h.size() < 8) break;
    Chunk c{h.substr(0, 4), at + 8, Le32(h, 4)};
    out.push_back(c);
    uint64_t next = c.body + c.size + (c.size & 1);
    if (next <= at) break;
    at = next;
  }
  return out;
}

// ---------------------------------------------------------------- WAV
std::optional<MediaInfo> ParseWave(const ByteSource& src) {
  std::string head = src.Read(0, 12);
  if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0) return std::nullopt;
  MediaInfo info;
  info.kind = Kind::Wave;
  bool haveFmt = false;
  int64_t factSamples = -1;
  for (const Chunk& c : RiffChunks(src, 12, src.Size())) {
    if (c.id == "fmt " && c.size >= 16) {
      std::string f = src.Read(c.body, std::min<uint64_t>(c.size, 64));
      if (f.size() < 16) break;
      info.formatTag = Le16(f, 0);
      info.channels = Le16(f, 2);
      info.sampleRate = static_cast<int>(Le32(f, 4));
      info.avgBytesPerSec = Le32(f, 8);
      info.blockAlign = Le16(f, 12);
      info.bitsPerSample = Le16(f, 14);
      // WAVE_FORMAT_EXTENSIBLE names the real format in its sub-format GUID.
      if (info.formatTag == 0xFFFE && f.size() >= 26) info.formatTag = Le16(f, 24);
      haveFmt = true;
    } else if (c.id == "fact" && c.size >= 4) {
      factSamples = Le32(src.Read(c.body, 4), 0);
    } else if (c.id == "data") {
      uint64_t avail = src.Size() > c.body ? src.Size() - c.body : 0;
      info.dataBytes = static_cast<int64_t>(std::min<uint64_t>(c.size, avail));
    }
  }
  if (!haveFmt || info.sampleRate <= 0 || info.channels <= 0) return std::nullopt;
  if (info.formatTag == 1 && info.blockAlign > 0) {
    int64_t samples = info.dataBytes / info.blockAlign;
    info.lengthMs = RoundMs(samples * 1000.0 / info.sampleRate);
  } else if (factSamples >= 0 && info.formatTag != 1) {
    info.lengthMs = RoundMs(factSamples * 1000.0 / info.sampleRate);
  } else if (info.avgBytesPerSec > 0) {
    info.lengthMs = RoundMs(info.dataBytes * 1000.0 / info.avgBytesPerSec);
  }
  return info;
}

// ---------------------------------------------------------------- MIDI
class MidiTrackReader {
 public:
  explicit MidiTrackReader(std::string_view t) : t_(t) {}
  bool AtEnd() const { return at_ >= t_.size(); }
  // A variable-length number (at most four bytes).
  bool VarLen(uint64_t& v) {
    v = 0;
    for (int i = 0; i < 4; ++i) {
      if (at_ >= t_.size()) return false;
      unsigned char c = U8(t_, at_++);
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return true;
    }
    return true;
  }
  bool Byte(unsigned char& c) {
    if (at_ >= t_.size()) return false;
    c = U8(t_, at_++);
    return true;
  }
  bool Skip(uint64_t n) {
    if (n > t_.size() - at_) {
      at_ = t_.size();
      return false;
    }
    at_ += n;
    return true;
  }
  std::string_view Take(uint64_t n) {
    n = std::min<uint64_t>(n, t_.size() - at_);
    std::string_view v = t_.substr(at_, n);
    at_ += n;
    return v;
  }
  void Back() { --at_; }

 private:
  std::string_view t_;
  size_t at_ = 0;
};

struct TempoChange {
  uint64_t tick;
  uint32_t usPerQuarter;
};

// Walks one track: its last tick, and its tempo changes appended to tempos.
uint64_t WalkTrack(std::string_view track, std::vector<TempoChange>& tempos) {
  MidiTrackReader r(track);
  uint64_t tick = 0;
  unsigned char running = 0;
  while (!r.AtEnd()) {
    uint64_t delta;
    if (!r.VarLen(delta)) break;
    tick += delta;
    unsigned char status;
    if (!r.Byte(status)) break;
    if (status < 0x80) {
      if (!running) break;  // data without a status: the track is damaged, stop here
      r.Back();
      status = running;
    }
    if (status == 0xFF) {
      unsigned char type;
      uint64_t len;
      if (!r.Byte(type) || !r.VarLen(len)) break;
      std::string_view data = r.Take(len);
      if (type == 0x2F) break;  // end of track
      if (type == 0x51 && data.size() >= 3) {
        uint32_t us = (U8(data, 0) << 16) | (U8(data, 1) << 8) | U8(data, 2);
        if (us > 0) tempos.push_back({tick, us});
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint64_t len;
      if (!r.VarLen(len) || !r.Skip(len)) break;
      continue;
    }
    if (status >= 0xF0) {  // system common messages do not set running status
      if (status == 0xF2) r.Skip(2);
      else if (status == 0xF1 || status == 0xF3) r.Skip(1);
      continue;
    }
    running = status;
    unsigned char hi = status & 0xF0;
    if (!r.Skip(hi == 0xC0 || hi == 0xD0 ? 1 : 2)) break;
  }
  return tick;
}

// Milliseconds up to tick under a tempo map sorted by tick.
double TicksToMs(uint64_t tick, int ppq, const std::vector<TempoChange>& tempos) {
  double ms = 0;
  uint64_t at = 0;
  double us = 500000;  // 120 beats a minute until the first tempo event
  for (const TempoChange& t : tempos) {
    if (t.tick >= tick) break;
    ms += (t.tick - at) * us / ppq / 1000.0;
    at = t.tick;
    us = t.usPerQuarter;
  }
  ms += (tick - at) * us / ppq / 1000.0;
  return ms;
}

std::optional<MediaInfo> ParseSmf(std::string_view smf, bool rmi) {
  if (smf.size() < 14 || smf.substr(0, 4) != "MThd") return std::nullopt;
  uint32_t hlen = Be32(smf, 4);
  if (hlen < 6) return std::nullopt;
  int format = Be16(smf, 8);
  int division = Be16(smf, 12);
  if (division == 0) return std::nullopt;
  MediaInfo info;
  info.kind = Kind::Midi;
  info.rmi = rmi;
  std::vector<std::vector<TempoChange>> trackTempos;
  std::vector<uint64_t> trackEnds;
  uint64_t at = 8 + static_cast<uint64_t>(hlen);
  while (at + 8 <= smf.size()) {
    std::string_view id = smf.substr(at, 4);
    uint64_t len = Be32(smf, at + 4);
    uint64_t body = at + 8;
    uint64_t avail = std::min<uint64_t>(len, smf.size() - body);
    if (id == "MTrk") {
      std::vector<TempoChange> tempos;
      trackEnds.push_back(WalkTrack(smf.substr(body, avail), tempos));
      trackTempos.push_back(std::move(tempos));
    }
    at = body + len;
  }
  if (trackEnds.empty()) return info;
  double ms = 0;
  if (division & 0x8000) {
    // SMPTE time: frames a second and ticks a frame; tempo events do not apply.
    int fps = -static_cast<int8_t>(division >> 8);
    double rate = fps == 29 ? 29.97 : fps;
    int tpf = division & 0xFF;
    if (rate > 0 && tpf > 0) {
      uint64_t last = *std::max_element(trackEnds.begin(), trackEnds.end());
      if (format == 2) {
        last = 0;
        for (uint64_t e : trackEnds) last += e;
      }
      ms = last * 1000.0 / (rate * tpf);
    }
  } else if (format == 2) {
    // Independent sequences, played one after the other, each with its own tempo.
    for (size_t i = 0; i < trackEnds.size(); ++i) {
      auto& t = trackTempos[i];
      std::stable_sort(t.begin(), t.end(), [](auto& a, auto& b) { return a.tick < b.tick; });
      ms += TicksToMs(trackEnds[i], division, t);
    }
  } else {
    std::vector<TempoChange> all;
    for (auto& t : trackTempos) all.insert(all.end(), t.begin(), t.end());
    std::stable_sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.tick < b.tick; });
    ms = TicksToMs(*std::max_element(trackEnds.begin(), trackEnds.end()), division, all);
  }
  info.lengthMs = RoundMs(ms);
  return info;
}

std::optional<MediaInfo> ParseMidi(const ByteSource& src) {
  std::string head = src.Read(0, 12);
  if (head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "RMID") == 0) {
    for (const Chunk& c : RiffChunks(src, 12, src.Size())) {
      if (c.id == "data") {
        std::string smf = src.Read(c.body, static_cast<size_t>(std::min<uint64_t>(c.size, kWholeFileLimit)));
        return ParseSmf(smf, true);
      }
    }
    return std::nullopt;
  }
  if (head.compare(0, 4, "MThd") != 0) return std::nullopt;
  std::string smf = src.Read(0, static_cast<size_t>(std::min<uint64_t>(src.Size(), kWholeFileLimit)));
  return ParseSmf(smf, false);
}

// ---------------------------------------------------------------- MPEG audio
struct Mp3Frame {
  int version = 0;  // 1 = MPEG-1, 2 = MPEG-2, 25 = MPEG-2.5
  int layer = 0;
  int bitrate = 0;  // kbit/s
  int sampleRate = 0;
  int samples = 0;  // per frame
  int length = 0;   // bytes
  bool mono = false;
};

std::optional<Mp3Frame> FrameAt(std::string_view b, size_t at) {
  if (at + 4 > b.size()) return std::nullopt;
  unsigned char h1 = U8(b, at), h2 = U8(b, at + 1), h3 = U8(b, at + 2), h4 = U8(b, at + 3);
  if (h1 != 0xFF || (h2 & 0xE0) != 0xE0) return std::nullopt;
  int v = (h2 >> 3) & 3, l = (h2 >> 1) & 3, bi = h3 >> 4, si = (h3 >> 2) & 3;
  if (v == 1 || l == 0 || bi == 0 || bi == 15 || si == 3) return std::nullopt;
  static const int kRates[3] = {44100, 48000, 32000};
  static const int kBitrates[5][15] = {
      {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // V1 L1
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // V1 L2
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // V1 L3
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // V2 L1
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};         // V2 L2, L3
  Mp3Frame f;
  f.version = v == 3 ? 1 : v == 2 ? 2 : 25;
  f.layer = 4 - l;
  int table = f.version == 1 ? f.layer - 1 : (f.layer == 1 ? 3 : 4);
  f.bitrate = kBitrates[table][bi];
  f.sampleRate = kRates[si] / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
  int pad = (h3 >> 1) & 1;
  f.mono = (h4 >> 6) == 3;
  if (f.layer == 1) {
    f.samples = 384;
    f.length = (12 * f.bitrate * 1000 / f.sampleRate + pad) * 4;
  } else {
    f.samples = (f.layer == 3 && f.version != 1) ? 576 : 1152;
    f.length = f.samples / 8 * f.bitrate * 1000 / f.sampleRate + pad;
  }
  if (f.length < 4) return std::nullopt;
  return f;
}

bool SameStream(const Mp3Frame& a, const Mp3Frame& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// A frame at 'at' that starts a run: its successor is a frame of the same stream, or it
// ends exactly at the end of the audio.
bool StartsRun(std::string_view b, size_t at, size_t audioEnd) {
  auto f = FrameAt(b, at);
  if (!f) return false;
  size_t next = at + f->length;
  if (next == audioEnd) return true;
  for (int i = 0; i < 2; ++i) {
    auto g = FrameAt(b, next);
    if (!g || !SameStream(*f, *g)) return false;
    next += g->length;
    if (next >= audioEnd) return next == audioEnd || i == 1;
  }
  return true;
}

// Skips ID3v2 tags at the start (there may be more than one).
size_t SkipId3v2(std::string_view b) {
  size_t at = 0;
  while (at + 10 <= b.size() && b.substr(at, 3) == "ID3") {
    uint32_t size = ((U8(b, at + 6) & 0x7F) << 21) | ((U8(b, at + 7) & 0x7F) << 14) |
                    ((U8(b, at + 8) & 0x7F) << 7) | (U8(b, at + 9) & 0x7F);
    bool footer = U8(b, at + 5) & 0x10;
    at += 10 + size + (footer ? 10 : 0);
  }
  return std::min(at, b.size());
}

// A first look at the start of the file, so that a large file of another kind is not read whole.
bool LooksLikeMpegAudio(const ByteSource& src) {
  uint64_t at = 0;
  for (int i = 0; i < 16; ++i) {  // ID3v2 tags, read header by header
    std::string h = src.Read(at, 10);
    if (h.size() < 10 || h.compare(0, 3, "ID3") != 0) break;
    uint32_t size = ((U8(h, 6) & 0x7F) << 21) | ((U8(h, 7) & 0x7F) << 14) | ((U8(h, 8) & 0x7F) << 7) | (U8(h, 9) & 0x7F);
    at += 10 + size + ((U8(h, 5) & 0x10) ? 10 : 0);
  }
  std::string window = src.Read(at, 65536 + 8192);
  for (size_t i = 0; i + 4 <= window.size() && i < 65536; ++i) {
    if (U8(window, i) == 0xFF && FrameAt(window, i)) {
      auto f = FrameAt(window, i);
      size_t next = i + f->length;
      if (next + 4 > window.size()) return true;  // the full reader decides
      if (auto g = FrameAt(window, next); g && SameStream(*f, *g)) return true;
    }
  }
  return false;
}

std::optional<MediaInfo> ParseMp3(const ByteSource& src) {
  if (!LooksLikeMpegAudio(src)) return std::nullopt;
  std::string whole = src.Read(0, static_cast<size_t>(std::min<uint64_t>(src.Size(), kWholeFileLimit)));
  std::string_view b = whole;
  size_t audioEnd = b.size();
  if (audioEnd >= 128 && b.substr(audioEnd - 128, 3) == "TAG") audioEnd -= 128;  // ID3v1
  size_t start = SkipId3v2(b);
  bool tagged = start > 0;
  // Without a tag the first frame must come soon; after one a little padding is usual.
  size_t searchEnd = std::min(audioEnd, start + (tagged ? size_t{65536} : size_t{4096}));
  size_t first = std::string::npos;
  for (size_t at = start; at + 4 <= searchEnd; ++at) {
    if (U8(b, at) == 0xFF && StartsRun(b, at, audioEnd)) {
      first = at;
      break;
    }
  }
  if (first == std::string::npos) return std::nullopt;
  Mp3Frame f = *FrameAt(b, first);
  MediaInfo info;
  info.kind = Kind::Mp3;
  info.sampleRate = f.sampleRate;
  info.channels = f.mono ? 1 : 2;
  info.mp3Bitrate = f.bitrate;

  // Xing / Info header after the side information of the first frame.
  size_t side = f.version == 1 ? (f.mono ? 17 : 32) : (f.mono ? 9 : 17);
  size_t x = first + 4 + side;
  std::string_view tag = x + 8 <= b.size() ? b.substr(x, 4) : std::string_view{};
  if (tag == "Xing" || tag == "Info") {
    uint32_t flags = Be32(b, x + 4);
    size_t p = x + 8;
    int64_t frames = -1;
    if (flags & 1) frames = Be32(b, p), p += 4;
    if (flags & 2) p += 4;
    if (flags & 4) p += 100;
    if (flags & 8) p += 4;
    if (frames > 0) {
      int64_t samples = frames * f.samples;
      // An encoder tag after it tells the encoder's delay and padding (12 bits each).
      if (p + 24 <= b.size()) {
        std::string_view enc = b.substr(p, 4);
        if (enc == "LAME" || enc == "Lavf" || enc == "Lavc" || enc == "GOGO") {
          int delay = (U8(b, p + 21) << 4) | (U8(b, p + 22) >> 4);
          int padding = ((U8(b, p + 22) & 0x0F) << 8) | U8(b, p + 23);
          if (delay + padding < samples) samples -= delay + padding;
        }
      }
      info.mp3Vbr = tag == "Xing";
      info.lengthMs = RoundMs(samples * 1000.0 / f.sampleRate);
      return info;
    }
  }
  // VBRI header, 32 bytes after the frame header.
  size_t v = first + 4 + 32;
  if (v + 18 <= b.size() && b.substr(v, 4) == "VBRI") {
    int64_t frames = Be32(b, v + 14);
    if (frames > 0) {
      info.mp3Vbr = true;
      info.lengthMs = RoundMs(frames * static_cast<double>(f.samples) * 1000.0 / f.sampleRate);
      return info;
    }
  }
  // No header: count the frames, finding the stream again after damaged bytes.
  int64_t samples = 0;
  size_t at = first;
  while (at + 4 <= audioEnd) {
    auto g = FrameAt(b, at);
    if (g && SameStream(f, *g) && at + g->length <= audioEnd) {
      samples += g->samples;
      at += g->length;
      continue;
    }
    size_t next = at + 1;
    while (next + 4 <= audioEnd && !(U8(b, next) == 0xFF && StartsRun(b, next, audioEnd))) ++next;
    at = next;
  }
  info.lengthMs = RoundMs(samples * 1000.0 / f.sampleRate);
  return info;
}

// ---------------------------------------------------------------- MPEG system streams
int64_t ReadTimestamp(std::string_view b, size_t at) {
  return (static_cast<int64_t>((U8(b, at) >> 1) & 7) << 30) | (static_cast<int64_t>(U8(b, at + 1)) << 22) |
         (static_cast<int64_t>(U8(b, at + 2) >> 1) << 15) | (static_cast<int64_t>(U8(b, at + 3)) << 7) |
         (U8(b, at + 4) >> 1);
}

// The presentation time stamp of the PES packet at 'at' (start code included), or -1.
int64_t PacketPts(std::string_view b, size_t at, size_t end) {
  size_t p = at + 6;
  if (p + 3 > end) return -1;
  if ((U8(b, p) & 0xC0) == 0x80) {  // MPEG-2 PES header
    if (!(U8(b, p + 1) & 0x80) || p + 8 > end) return -1;
    return ReadTimestamp(b, p + 3);
  }
  while (p < end && U8(b, p) == 0xFF) ++p;               // stuffing
  if (p < end && (U8(b, p) & 0xC0) == 0x40) p += 2;      // buffer size
  if (p + 5 > end) return -1;
  unsigned char c = U8(b, p);
  if ((c & 0xF0) == 0x20 || (c & 0xF0) == 0x30) return ReadTimestamp(b, p);
  return -1;
}

struct PackWalk {
  int64_t firstPts = -1, lastPts = -1;
  int64_t firstScr = -1, lastScr = -1;
  bool sawPack = false;
};

// Walks packs and packets of b from 'at', noting time stamps.
void WalkPacks(std::string_view b, size_t at, PackWalk& w) {
  while (at + 4 <= b.size()) {
    if (!(U8(b, at) == 0 && U8(b, at + 1) == 0 && U8(b, at + 2) == 1)) {
      ++at;  // lost the stream: look for the next start code
      continue;
    }
    unsigned char id = U8(b, at + 3);
    if (id == 0xBA) {
      w.sawPack = true;
      if (at + 12 > b.size()) break;
      unsigned char m = U8(b, at + 4);
      int64_t scr = ReadTimestamp(b, at + 4);
      if ((m & 0xC0) == 0x40) {  // MPEG-2 pack header with its stuffing
        scr = (static_cast<int64_t>((m >> 3) & 7) << 30) | (static_cast<int64_t>(m & 3) << 28) |
              (static_cast<int64_t>(U8(b, at + 5)) << 20) | (static_cast<int64_t>(U8(b, at + 6) >> 3) << 15) |
              (static_cast<int64_t>(U8(b, at + 6) & 3) << 13) | (static_cast<int64_t>(U8(b, at + 7)) << 5) |
              (U8(b, at + 8) >> 3);
        at += 14 + (U8(b, at + 13) & 7);
      } else {
        at += 12;
      }
      if (w.firstScr < 0) w.firstScr = scr;
      w.lastScr = scr;
      continue;
    }
    if (id == 0xB9) {  // end of the program stream
      at += 4;
      continue;
    }
    if (id < 0xBB) {
      ++at;
      continue;
    }
    size_t len = Be16(b, at + 4);
    size_t end = std::min(b.size(), at + 6 + len);
    if (id >= 0xC0 && id <= 0xEF) {
      int64_t pts = PacketPts(b, at, end);
      if (pts >= 0) {
        if (w.firstPts < 0 || pts < w.firstPts) w.firstPts = pts;
        if (pts > w.lastPts) w.lastPts = pts;
      }
    }
    at += 6 + len;
  }
}

std::optional<MediaInfo> ParseMpegSystem(const ByteSource& src) {
  std::string head = src.Read(0, kHeadBytes);
  size_t lead = 0;
  while (lead < head.size() && lead < 2048 && head[lead] == 0) ++lead;
  // A pack start code, perhaps after zero padding.
  if (lead < 2 || lead + 2 > head.size() || static_cast<unsigned char>(head[lead]) != 1 ||
      static_cast<unsigned char>(head[lead + 1]) != 0xBA)
    return std::nullopt;
  size_t packAt = lead - 2;
  MediaInfo info;
  info.kind = Kind::MpegSystem;
  PackWalk w;
  WalkPacks(head, packAt, w);
  int64_t first = w.firstPts, firstScr = w.firstScr;
  int64_t last = w.lastPts, lastScr = w.lastScr;
  if (src.Size() > head.size()) {
    uint64_t tailAt = src.Size() > kHeadBytes ? src.Size() - kHeadBytes : 0;
    tailAt = std::max<uint64_t>(tailAt, head.size() / 2);
    std::string tail = src.Read(tailAt, kHeadBytes);
    size_t p = tail.find(std::string("\0\0\1\xBA", 4));
    if (p != std::string::npos) {
      PackWalk t;
      WalkPacks(tail, p, t);
      if (t.lastPts > last) last = t.lastPts;
      if (t.lastScr > lastScr) lastScr = t.lastScr;
    }
  }
  // The video sequence header gives the picture size and rate.
  size_t seq = head.find(std::string("\0\0\1\xB3", 4));
  if (seq != std::string::npos && seq + 8 <= head.size()) {
    std::string_view s(head);
    info.width = (U8(s, seq + 4) << 4) | (U8(s, seq + 5) >> 4);
    info.height = ((U8(s, seq + 5) & 0x0F) << 8) | U8(s, seq + 6);
    static const double kRates[16] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    info.framesPerSecond = kRates[U8(s, seq + 7) & 0x0F];
  }
  double ms = 0;
  if (first >= 0 && last > first) {
    ms = (last - first) / 90.0;
    if (info.framesPerSecond > 0) ms += 1000.0 / info.framesPerSecond;  // the last picture's own time
  } else if (firstScr >= 0 && lastScr > firstScr) {
    ms = (lastScr - firstScr) / 90.0;
  }
  info.lengthMs = RoundMs(ms);
  return info;
}

// ---------------------------------------------------------------- AVI
std::optional<MediaInfo> ParseAvi(const ByteSource& src) {
  std::string head = src.Read(0, 12);
  if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "AVI ") != 0) return std::nullopt;
  MediaInfo info;
  info.kind = Kind::Avi;
  uint32_t usPerFrame = 0;
  uint64_t totalFrames = 0, dmlFrames = 0;
  double videoSeconds = -1, longestOther = 0;
  uint64_t riffEnd = 8 + static_cast<uint64_t>(Le32(head, 4));
  for (const Chunk& c : RiffChunks(src, 12, riffEnd)) {
    if (c.id != "LIST") continue;
    std::string type = src.Read(c.body, 4);
    if (type != "hdrl") continue;
    for (const Chunk& h : RiffChunks(src, c.body + 4, c.body + c.size)) {
      if (h.id == "avih") {
        std::string a = src.Read(h.body, 56);
        usPerFrame = Le32(a, 0);
        totalFrames = Le32(a, 16);
        info.width = static_cast<int>(Le32(a, 32));
        info.height = static_cast<int>(Le32(a, 36));
      } else if (h.id == "LIST") {
        std::string sub = src.Read(h.body, 4);
        for (const Chunk& s : RiffChunks(src, h.body + 4, h.body + h.size)) {
          if (sub == "strl" && s.id == "strh") {
            std::string sh = src.Read(s.body, 36);
            uint32_t scale = Le32(sh, 20), rate = Le32(sh, 24), length = Le32(sh, 32);
            if (rate == 0 || scale == 0) continue;
            double seconds = static_cast<double>(length) * scale / rate;
            if (sh.compare(0, 4, "vids") == 0 && videoSeconds < 0) {
              videoSeconds = seconds;
              info.framesPerSecond = static_cast<double>(rate) / scale;
            } else {
              longestOther = std::max(longestOther, seconds);
            }
          } else if (sub == "odml" && s.id == "dmlh") {
            dmlFrames = Le32(src.Read(s.body, 4), 0);
          }
        }
      }
    }
    break;
  }
  if (videoSeconds >= 0) {
    info.lengthMs = RoundMs(videoSeconds * 1000.0);
  } else if (usPerFrame > 0 && (totalFrames > 0 || dmlFrames > 0)) {
    info.lengthMs = RoundMs(std::max(totalFrames, dmlFrames) * static_cast<double>(usPerFrame) / 1000.0);
  } else {
    info.lengthMs = RoundMs(longestOther * 1000.0);
  }
  if (info.framesPerSecond == 0 && usPerFrame > 0) info.framesPerSecond = 1e6 / usPerFrame;
  return info;
}

ssize_t ReadAt(int fd, char* buf, size_t n, uint64_t offset) {
#ifdef _WIN32
  if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return -1;
  return ::_read(fd, buf, static_cast<unsigned>(std::min<size_t>(n, 1u << 30)));
#else
  return ::pread(fd, buf, n, static_cast<off_t>(offset));
#endif
}

class FileSource : public ByteSource {
 public:
  FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FileSource() override { ::close(fd_); }
  uint64_t Size() const override { return size_; }
  std::string Read(uint64_t offset, size_t n) const override {
    if (offset >= size_) return {};
    n = static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
    std::string out(n, '\0');
    size_t got = 0;
    while (got < n) {
      ssize_t r = ReadAt(fd_, out.data() + got, n - got, offset + got);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      got += static_cast<size_t>(r);
    }
    out.resize(got);
    return out;
  }

 private:
  int fd_;
  uint64_t size_;
};

}  // namespace

std::string BufferSource::Read(uint64_t offset, size_t n) const {
  if (offset >= bytes_.size()) return {};
  return std::string(bytes_.substr(static_cast<size_t>(offset), n));
}

std::unique_ptr<ByteSource> OpenFileSource(std::string_view path) {
  int fd = ::open(paths::ToHost(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FileSource>(fd, static_cast<uint64_t>(st.st_size));
}

std::optional<MediaInfo> ProbeWave(const ByteSource& src) { return ParseWave(src); }
std::optional<MediaInfo> ProbeMidi(const ByteSource& src) { return ParseMidi(src); }
std::optional<MediaInfo> ProbeMp3(const ByteSource& src) { return ParseMp3(src); }
std::optional<MediaInfo> ProbeMpegSystem(const ByteSource& src) { return ParseMpegSystem(src); }
std::optional<MediaInfo> ProbeAvi(const ByteSource& src) { return ParseAvi(src); }

MediaInfo Probe(const ByteSource& src) {
  try {
    // The containers with a signature first; MPEG audio, which has none, last.
    for (auto* reader : {&ParseWave, &ParseMidi, &ParseAvi, &ParseMpegSystem, &ParseMp3}) {
      if (auto info = reader(src)) return *info;
    }
  } catch (...) {
    // A reader that runs out of memory on a hostile file: the file is simply not accepted.
  }
  return MediaInfo{};
}

MediaInfo ProbeBytes(std::string_view bytes) { return Probe(BufferSource(bytes)); }

MediaInfo ProbeFile(std::string_view path) {
  auto src = OpenFileSource(path);
  if (!src) return MediaInfo{};
  return Probe(*src);
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::Wave: return "WAV";
    case Kind::Midi: return "MIDI";
    case Kind::Mp3: return "MP3";
    case Kind::MpegSystem: return "MPEG";
    case Kind::Avi: return "AVI";
    default: return "unknown";
  }
}

}  // namespace platform::media
