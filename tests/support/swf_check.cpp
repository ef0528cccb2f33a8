#include "support/swf_check.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace testing_support {

namespace {

const std::map<int, const char*> kTagNames = {
    {0, "End"}, {1, "ShowFrame"}, {2, "DefineShape"}, {4, "PlaceObject"}, {5, "RemoveObject"},
    {6, "DefineBits"}, {7, "DefineButton"}, {8, "JPEGTables"}, {9, "SetBackgroundColor"}, {10, "DefineFont"},
    {11, "DefineText"}, {12, "DoAction"}, {13, "DefineFontInfo"}, {14, "DefineSound"}, {15, "StartSound"},
    {17, "DefineButtonSound"}, {18, "SoundStreamHead"}, {19, "SoundStreamBlock"}, {20, "DefineBitsLossless"},
    {21, "DefineBitsJPEG2"}, {22, "DefineShape2"}, {24, "Protect"}, {26, "PlaceObject2"}, {28, "RemoveObject2"},
    {32, "DefineShape3"}, {33, "DefineText2"}, {34, "DefineButton2"}, {35, "DefineBitsJPEG3"},
    {36, "DefineBitsLossless2"}, {37, "DefineEditText"}, {39, "DefineSprite"}, {43, "FrameLabel"},
    {45, "SoundStreamHead2"}, {46, "DefineMorphShape"}, {48, "DefineFont2"}, {56, "ExportAssets"},
    {59, "DoInitAction"}, {69, "FileAttributes"}, {70, "PlaceObject3"}, {73, "DefineFontAlignZones"},
    {75, "DefineFont3"}, {77, "Metadata"}, {82, "DoABC"}, {83, "DefineShape4"}, {86, "DefineSceneAndFrameLabelData"},
    {88, "DefineFontName"}, {89, "StartSound2"}, {90, "DefineBitsJPEG4"}};

// Tags that give a new character its id in their first two bytes.
const std::set<int> kDefining = {2, 6, 7, 10, 11, 14, 20, 21, 22, 32, 33, 34, 35, 36, 37, 39, 46, 48, 75, 83, 90};
// The only tags a sprite's timeline may hold.
const std::set<int> kSpriteTags = {0, 1, 4, 5, 12, 15, 18, 19, 26, 28, 43, 45, 70, 89};

std::string TagName(int code) {
  auto it = kTagNames.find(code);
  return it != kTagNames.end() ? it->second : "Tag" + std::to_string(code);
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// Inflates a whole zlib stream; false when it is damaged, cut short or followed by more bytes.
bool Inflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out, std::string* why) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(size);
  int rc = Z_OK;
  uint8_t buf[65536];
  while (rc == Z_OK) {
    z.next_out = buf;
    z.avail_out = sizeof buf;
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buf, buf + (sizeof buf - z.avail_out));
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
  }
  const size_t left = z.avail_in;
  inflateEnd(&z);
  if (rc != Z_STREAM_END) {
    if (why) *why = "the zlib stream is damaged or cut short";
    return false;
  }
  if (left) {
    if (why) *why = std::to_string(left) + " bytes after the zlib stream";
    return false;
  }
  return true;
}

class Walker {
 public:
  explicit Walker(SwfCheck& c) : c_(c) {}

  void Timeline(const uint8_t* p, size_t size, int frames, int depth, const std::string& owner) {
    size_t at = 0;
    int shows = 0;
    bool ended = false, soundHead = false;
    while (at < size) {
      if (size - at < 2) {
        Problem(owner + ": tag header cut at offset " + std::to_string(at));
        return;
      }
      const uint16_t head = U16(p + at);
      const int code = head >> 6;
      size_t len = head & 0x3F;
      size_t body = at + 2;
      if (len == 0x3F) {
        if (size - body < 4) {
          Problem(owner + ": long tag header cut at offset " + std::to_string(at));
          return;
        }
        len = U32(p + body);
        body += 4;
      }
      const std::string name = TagName(code);
      if (len > size - body) {
        Problem(owner + ": " + name + " at offset " + std::to_string(at) + " says " + std::to_string(len) +
                " bytes, only " + std::to_string(size - body) + " left");
        return;
      }
      c_.tags.push_back({code, name, len, depth});
      if (depth > 0 && !kSpriteTags.count(code)) Problem(owner + ": " + name + " is not allowed inside DefineSprite");
      if (depth == 0 && c_.version >= 8 && c_.tags.size() == 1 && code != 69)
        Problem("the movie is version " + std::to_string(c_.version) + " but FileAttributes is not its first tag");
      Tag(code, name, p + body, len, depth, owner, soundHead);
      at = body + len;
      if (code == 1) ++shows;
      if (code == 0) {
        ended = true;
        break;
      }
    }
    if (!ended) Problem(owner + ": no End tag");
    else if (at != size) Problem(owner + ": " + std::to_string(size - at) + " bytes after the End tag");
    if (shows != frames)
      Problem(owner + ": the header says " + std::to_string(frames) + " frames, found " + std::to_string(shows) +
              " ShowFrame tags");
  }

 private:
  void Problem(const std::string& what) { c_.problems.push_back(what); }

  void Use(int id, const std::string& owner, const std::string& what) {
    if (!defined_.count(id))
      Problem(owner + ": " + what + " uses character " + std::to_string(id) + " that is not defined before it");
  }

  void Tag(int code, const std::string& name, const uint8_t* t, size_t len, int depth, const std::string& owner,
           bool& soundHead) {
    if (kDefining.count(code)) {
      if (len < 2) {
        Problem(name + " is too short to hold its character id");
        return;
      }
      const int id = U16(t);
      if (id == 0) Problem(name + " uses character id 0");
      else if (!defined_.insert(id).second) Problem("character id " + std::to_string(id) + " is defined twice");
    }
    if (code == 39 && len >= 4) {
      Timeline(t + 4, len - 4, U16(t + 2), depth + 1, "sprite " + std::to_string(U16(t)));
    } else if (code == 20 || code == 36) {
      Lossless(code == 36, name, t, len);
    } else if (code == 26 || code == 70) {
      Place(code, t, len, owner);
    } else if (code == 18 || code == 45) {
      soundHead = true;
    } else if (code == 19 && !soundHead) {
      Problem(owner + ": SoundStreamBlock before any SoundStreamHead");
    }
  }

  void Place(int code, const uint8_t* t, size_t len, const std::string& owner) {
    const size_t fixed = code == 70 ? 4 : 3;
    if (len < fixed) {
      Problem(owner + ": PlaceObject too short");
      return;
    }
    const uint8_t flags = t[0];
    size_t at = code == 70 ? 2 : 1;
    const int placeDepth = U16(t + at);
    at += 2;
    if (placeDepth == 0) Problem(owner + ": PlaceObject at depth 0");
    const bool hasChar = flags & 0x02, move = flags & 0x01;
    if (!hasChar && !move)
      Problem(owner + ": PlaceObject at depth " + std::to_string(placeDepth) + " has neither a character nor the move flag");
    if (code == 70) {
      const uint8_t flags2 = t[1];
      const bool className = (flags2 & 0x08) || ((flags2 & 0x10) && hasChar);
      if (className) {
        while (at < len && t[at]) ++at;
        ++at;
      }
    }
    if (hasChar) {
      if (at + 2 > len) Problem(owner + ": PlaceObject cut before its character id");
      else Use(U16(t + at), owner, "PlaceObject");
    }
  }

  // Lossless pictures: the pixel data must inflate to exactly the picture; with alpha,
  // colours are premultiplied, so no channel may exceed the alpha.
  void Lossless(bool alpha, const std::string& name, const uint8_t* t, size_t len) {
    if (len < 7) {
      Problem(name + " too short");
      return;
    }
    const int id = U16(t), format = t[2], w = U16(t + 3), h = U16(t + 5);
    const std::string what = name + " " + std::to_string(id);
    size_t at = 7;
    int colours = 0;
    if (format == 3) {
      if (len < 8) {
        Problem(what + ": no colour table size");
        return;
      }
      colours = t[7] + 1;
      at = 8;
    } else if (format != 4 && format != 5) {
      Problem(what + ": unknown format " + std::to_string(format));
      return;
    }
    std::vector<uint8_t> pix;
    std::string why;
    if (!Inflate(t + at, len - at, pix, &why)) {
      Problem(what + ": " + why);
      return;
    }
    const size_t entry = alpha ? 4 : 3;
    size_t want;
    if (format == 3) want = colours * entry + static_cast<size_t>((w + 3) & ~3) * h;
    else if (format == 4) want = static_cast<size_t>((w * 2 + 3) & ~3) * h;
    else want = static_cast<size_t>(w) * h * 4;
    if (pix.size() != want) {
      Problem(what + ": pixel data inflates to " + std::to_string(pix.size()) + " bytes, want " + std::to_string(want));
      return;
    }
    if (!alpha) return;
    size_t bad = 0;
    if (format == 5) {
      for (size_t i = 0; i < pix.size(); i += 4)  // A, R, G, B
        if (pix[i + 1] > pix[i] || pix[i + 2] > pix[i] || pix[i + 3] > pix[i]) ++bad;
    } else if (format == 3) {
      for (int i = 0; i < colours; ++i) {  // R, G, B, A
        const uint8_t* e = pix.data() + i * 4;
        if (e[0] > e[3] || e[1] > e[3] || e[2] > e[3]) ++bad;
      }
    }
    if (bad) Problem(what + ": " + std::to_string(bad) + " pixels have a colour above their alpha (not premultiplied)");
  }

  SwfCheck& c_;
  std::set<int> defined_;
};

}  // namespace

int SwfCheck::Count(std::string_view name) const {
  int n = 0;
  for (const auto& t : tags) n += t.name == name;
  return n;
}

std::string SwfCheck::Describe() const {
  std::ostringstream s;
  s << signature << " version " << version << ", " << width << "x" << height << ", " << frameRate << " fps, "
    << frameCount << " frames, " << tags.size() << " tags\n";
  for (const auto& p : problems) s << "PROBLEM: " << p << "\n";
  std::map<std::string, int> counts;
  for (const auto& t : tags) ++counts[t.name];
  for (const auto& [n, k] : counts) s << "  " << n << " x" << k << "\n";
  return s.str();
}

SwfCheck CheckSwfBytes(std::string_view bytes) {
  SwfCheck c;
  const auto* d = reinterpret_cast<const uint8_t*>(bytes.data());
  if (bytes.size() < 8) {
    c.problems.push_back("shorter than an SWF header");
    return c;
  }
  c.signature.assign(bytes.substr(0, 3));
  c.version = d[3];
  const uint32_t fileLength = U32(d + 4);
  std::vector<uint8_t> body;
  if (c.signature == "FWS") {
    body.assign(d + 8, d + bytes.size());
  } else if (c.signature == "CWS") {
    if (c.version < 6) c.problems.push_back("a compressed movie needs version 6 or later");
    std::string why;
    if (!Inflate(d + 8, bytes.size() - 8, body, &why)) c.problems.push_back(why);
  } else {
    c.problems.push_back("not an FWS or CWS movie");
    return c;
  }
  if (fileLength != body.size() + 8)
    c.problems.push_back("the header says " + std::to_string(fileLength) + " bytes, the movie has " +
                         std::to_string(body.size() + 8));
  if (body.empty()) return c;
  // The stage RECT: 5 bits of field size, then four signed fields.
  const int nbits = body[0] >> 3;
  const size_t rectBytes = (5 + 4 * nbits + 7) / 8;
  if (body.size() < rectBytes + 4) {
    c.problems.push_back("the header is cut short");
    return c;
  }
  size_t bit = 5;
  auto field = [&] {
    int64_t v = 0;
    for (int i = 0; i < nbits; ++i, ++bit) v = v << 1 | ((body[bit >> 3] >> (7 - (bit & 7))) & 1);
    if (nbits && (v & (int64_t{1} << (nbits - 1)))) v -= int64_t{1} << nbits;
    return v;
  };
  const int64_t xmin = field(), xmax = field(), ymin = field(), ymax = field();
  if (xmin != 0 || ymin != 0) c.problems.push_back("the stage does not start at 0,0");
  c.width = static_cast<int>((xmax - xmin) / 20);
  c.height = static_cast<int>((ymax - ymin) / 20);
  c.frameRate = U16(body.data() + rectBytes) / 256.0;
  c.frameCount = U16(body.data() + rectBytes + 2);
  if (c.frameRate == 0) c.problems.push_back("the frame rate is 0");
  c.readable = true;
  const size_t start = rectBytes + 4;
  Walker(c).Timeline(body.data() + start, body.size() - start, c.frameCount, 0, "movie");
  return c;
}

SwfCheck CheckSwf(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) {
    SwfCheck c;
    c.problems.push_back("cannot read " + hostPath);
    return c;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return CheckSwfBytes(bytes);
}

}  // namespace testing_support
