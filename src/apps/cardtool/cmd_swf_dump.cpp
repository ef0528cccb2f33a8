// cardtool swf-dump: the header and tag list of an SWF movie (sprites indented).
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"swf-dump", "swf-dump FILE.swf", "lists the header and tags of an SWF movie", &Run};
const cardtool::Registrar reg(kCommand);

const std::map<int, const char*> kNames = {
    {0, "End"}, {1, "ShowFrame"}, {2, "DefineShape"}, {9, "SetBackgroundColor"}, {12, "DoAction"},
    {14, "DefineSound"}, {15, "StartSound"}, {18, "SoundStreamHead"}, {19, "SoundStreamBlock"},
    {20, "DefineBitsLossless"}, {21, "DefineBitsJPEG2"}, {22, "DefineShape2"}, {26, "PlaceObject2"},
    {28, "RemoveObject2"}, {32, "DefineShape3"}, {35, "DefineBitsJPEG3"}, {36, "DefineBitsLossless2"},
    {39, "DefineSprite"}, {43, "FrameLabel"}, {45, "SoundStreamHead2"}, {69, "FileAttributes"},
    {70, "PlaceObject3"}, {77, "Metadata"}};

struct Reader {
  const std::vector<uint8_t>& d;
  size_t pos;
  int bit = 0;
  unsigned Bits(int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i) {
      if (pos >= d.size()) return v;
      v = (v << 1) | ((d[pos] >> (7 - bit)) & 1);
      if (++bit == 8) { bit = 0; ++pos; }
    }
    return v;
  }
  int SBits(int n) {  // n <= 31
    const int64_t v = Bits(n);
    return static_cast<int>(n && (v >> (n - 1)) ? v - (int64_t{1} << n) : v);
  }
};

unsigned U16(const std::vector<uint8_t>& d, size_t at) { return at + 1 < d.size() ? d[at] | (d[at + 1] << 8) : 0; }

// Sprites hold no sprites in a valid movie; a damaged one may nest them a million deep.
constexpr int kMaxSpriteDepth = 32;

// Lists the tags from `pos` to `end`; false when a tag runs past its parent.
bool ListTags(const std::vector<uint8_t>& d, size_t pos, size_t end, int indent, int& frames) {
  if (indent / 2 > kMaxSpriteDepth) {
    std::printf("%*s! sprites nested more than %d deep\n", indent, "", kMaxSpriteDepth);
    return false;
  }
  while (pos + 2 <= end) {
    unsigned head = U16(d, pos);
    int code = head >> 6;
    size_t len = head & 0x3F;
    pos += 2;
    if (len == 0x3F) {
      if (pos + 4 > end) return false;
      len = d[pos] | (d[pos + 1] << 8) | (d[pos + 2] << 16) | (static_cast<size_t>(d[pos + 3]) << 24);
      pos += 4;
    }
    if (pos + len > end) {
      std::printf("%*s! tag %d runs past its end\n", indent, "", code);
      return false;
    }
    auto name = kNames.find(code);
    std::printf("%*s%-20s code=%-3d len=%zu", indent, "", name == kNames.end() ? "?" : name->second, code, len);
    if ((code == 2 || code == 20 || code == 21 || code == 35 || code == 36 || code == 39 || code == 14) && len >= 2)
      std::printf(" id=%u", U16(d, pos));
    if ((code == 20 || code == 36) && len >= 7) std::printf(" %ux%u", U16(d, pos + 3), U16(d, pos + 5));
    if (code == 26 && len >= 3) std::printf(" depth=%u%s", U16(d, pos + 1), (d[pos] & 1) ? " move" : "");
    if (code == 70 && len >= 4) std::printf(" depth=%u%s", U16(d, pos + 2), (d[pos] & 1) ? " move" : "");
    if (code == 28 && len >= 2) std::printf(" depth=%u", U16(d, pos));
    std::printf("\n");
    if (code == 1) ++frames;
    if (code == 39 && len >= 4) {
      int spriteFrames = 0;
      if (!ListTags(d, pos + 4, pos + len, indent + 2, spriteFrames)) return false;
      std::printf("%*s(%d frames, header says %u)\n", indent + 2, "", spriteFrames, U16(d, pos + 2));
    }
    pos += len;
    if (code == 0) return true;
  }
  return true;
}

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1) return cardtool::Usage(kCommand);
  auto bytes = platform::files::ReadFile(platform::paths::FromHost(opt.Positionals()[0]));
  if (!bytes) return cardtool::Fail("cannot open " + opt.Positionals()[0]);
  std::vector<uint8_t> d(bytes->begin(), bytes->end());
  if (d.size() < 8 || !((d[0] == 'F' || d[0] == 'C') && d[1] == 'W' && d[2] == 'S'))
    return cardtool::Fail("not an SWF movie (FWS or CWS)");
  uint32_t length = d[4] | (d[5] << 8) | (d[6] << 16) | (static_cast<uint32_t>(d[7]) << 24);
  if (d[0] == 'C') {
    if (length > (1u << 30) || length < 8) return cardtool::Fail("the stated movie length is out of range");
    std::vector<uint8_t> body(length - 8);
    uLongf n = body.size();
    int rc = uncompress(body.data(), &n, d.data() + 8, d.size() - 8);
    if (rc != Z_OK && rc != Z_BUF_ERROR) return cardtool::Fail("the compressed movie cannot be inflated");
    body.resize(n);
    d.resize(8);
    d.insert(d.end(), body.begin(), body.end());
  }
  Reader r{d, 8};
  int nbits = r.Bits(5);
  int xmin = r.SBits(nbits), xmax = r.SBits(nbits), ymin = r.SBits(nbits), ymax = r.SBits(nbits);
  size_t pos = r.pos + (r.bit ? 1 : 0);
  if (pos + 4 > d.size()) return cardtool::Fail("the header is truncated");
  double fps = U16(d, pos) / 256.0;
  unsigned frames = U16(d, pos + 2);
  std::printf("%c%c%c version %d, %u bytes (%zu in the file), stage %dx%d px, %.2f fps, %u frames\n", d[0], d[1],
              d[2], d[3], length, bytes->size(), static_cast<int>((int64_t{xmax} - xmin) / 20),
              static_cast<int>((int64_t{ymax} - ymin) / 20), fps, frames);
  int shown = 0;
  bool ok = ListTags(d, pos + 4, d.size(), 0, shown);
  std::printf("%d ShowFrame tags\n", shown);
  return ok && static_cast<unsigned>(shown) == frames ? 0 : 1;
}

}  // namespace
