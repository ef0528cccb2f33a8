#include "imaging/style_description.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "imaging/bmp_stream.h"
#include "imaging/style_limits.h"
#include "platform/color.h"

namespace imaging {

namespace {

enum class FieldType { U8, I32, Color, F64 };

struct Field {
  const char* name;
  FieldType type;
  size_t offset;
};

// Contour parts of a record: count, points and table offsets.
struct ContourAt {
  size_t on, count, points, table;
};

struct Section {
  const char* name;
  uint8_t StyleFile::*on;
  size_t recordSize;
  void* (*record)(StyleFile&);
  std::vector<Field> fields;
  bool hasContour = false;
  ContourAt contour{};
  uint16_t minVersion = 0x0100;
};

#define REC(member) [](StyleFile& s) -> void* { return &s.member; }

const std::vector<Section>& Sections() {
  using F = FieldType;
  static const std::vector<Field> shadow = {
      {"BlendMode", F::U8, 0}, {"Color", F::Color, 4}, {"Opacity", F::U8, 8}, {"Reserved12", F::I32, 12},
      {"Reserved16", F::I32, 16}, {"Spread", F::I32, 20}, {"Size", F::I32, 24}, {"Reserved28", F::I32, 28},
      {"OriginX", F::I32, 32}, {"OriginY", F::I32, 36}, {"Reserved40", F::I32, 40}, {"Reserved720", F::I32, 720},
      {"Reserved724", F::I32, 724}};
  static const std::vector<Field> glow = {
      {"BlendMode", F::U8, 0}, {"Color", F::Color, 4}, {"Opacity", F::U8, 8}, {"Reserved9", F::U8, 9},
      {"Reserved10", F::U8, 10}, {"Spread", F::I32, 12}, {"Size", F::I32, 16}, {"Reserved20", F::U8, 20},
      {"Reserved21", F::U8, 21}, {"OriginX", F::I32, 24}, {"OriginY", F::I32, 28}, {"Reserved32", F::I32, 32},
      {"Reserved712", F::I32, 712}, {"Reserved716", F::I32, 716}};
  static const std::vector<Field> bevel = {
      {"Style", F::U8, 0}, {"Reserved1", F::U8, 1}, {"Reserved2", F::U8, 2}, {"Reserved3", F::U8, 3},
      {"Size", F::I32, 4}, {"Reserved8", F::I32, 8}, {"Reserved12", F::I32, 12}, {"Reserved16", F::I32, 16},
      {"Reserved20", F::U8, 20}, {"HighlightBlendMode", F::U8, 21}, {"HighlightOpacity", F::U8, 22},
      {"HighlightColor", F::Color, 24}, {"ShadowBlendMode", F::U8, 28}, {"ShadowOpacity", F::U8, 29},
      {"ShadowColor", F::Color, 32}, {"Choke", F::I32, 36}, {"HighlightOriginX", F::I32, 40},
      {"HighlightOriginY", F::I32, 44}, {"ShadowOriginX", F::I32, 48}, {"ShadowOriginY", F::I32, 52},
      {"Reserved732", F::I32, 732}, {"Reserved736", F::I32, 736}};
  static const std::vector<Field> stroke = {
      {"BlendMode", F::U8, 0}, {"Size", F::I32, 4}, {"Softness", F::I32, 8}, {"Opacity", F::U8, 12},
      {"Position", F::U8, 13}, {"Color", F::Color, 16}, {"OriginX", F::I32, 20}, {"OriginY", F::I32, 24},
      {"Reserved704", F::I32, 704}, {"Reserved708", F::I32, 708}};
  static const std::vector<Field> overlay = {{"BlendMode", F::U8, 0}, {"Color", F::Color, 4}, {"Opacity", F::U8, 8}};
  static const std::vector<Field> gradient = {{"BlendMode", F::U8, 0}, {"Type", F::U8, 1}, {"Opacity", F::U8, 2},
                                              {"StopCount", F::I32, 8}, {"Reverse", F::U8, 12}, {"Angle", F::I32, 16}};
  static const std::vector<Field> pattern = {{"BlendMode", F::U8, 0}, {"Opacity", F::U8, 1}};
  static const std::vector<Section> sections = [] {
    std::vector<Section> v;
    v.push_back({"DropShadow", &StyleFile::dropShadowOn, sizeof(TShadowStyle), REC(dropShadow), shadow, true, {44, 48, 52, 460}});
    v.push_back({"InnerShadow", &StyleFile::innerShadowOn, sizeof(TShadowStyle), REC(innerShadow), shadow, true, {44, 48, 52, 460}});
    v.push_back({"InnerGlow", &StyleFile::innerGlowOn, sizeof(TGlowStyle), REC(innerGlow), glow, true, {36, 40, 44, 452}});
    v.push_back({"OuterGlow", &StyleFile::outerGlowOn, sizeof(TGlowStyle), REC(outerGlow), glow, true, {36, 40, 44, 452}});
    v.push_back({"Bevel", &StyleFile::bevelOn, sizeof(TBevelStyle), REC(bevel), bevel, true, {56, 60, 64, 472}});
    v.push_back({"Stroke", &StyleFile::strokeOn, sizeof(TStrokeStyle), REC(stroke), stroke, true, {28, 32, 36, 444}});
    v.push_back({"ColorOverlay", &StyleFile::colorOverlayOn, sizeof(TColorOverlayStyle), REC(colorOverlay), overlay});
    Section g{"GradientOverlay", &StyleFile::gradientOverlayOn, sizeof(TGradientFillStyle), REC(gradientOverlay), gradient};
    g.minVersion = 0x0101;
    v.push_back(g);
    g.name = "StrokeGradient";
    g.on = &StyleFile::strokeGradientOn;
    g.record = REC(strokeGradient);
    g.minVersion = 0x0102;
    v.push_back(g);
    Section p{"PatternOverlay", &StyleFile::patternOn, sizeof(TPatternOverlayStyle), REC(pattern), pattern};
    p.minVersion = 0x0101;
    v.push_back(p);
    return v;
  }();
  return sections;
}

// The values an integer field takes: pixel sizes, origins, the angle and the stop count are
// bounded by what the effects use; reserved fields are kept as given.
std::pair<long long, long long> RangeOf(const char* name) {
  auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
  if (is("Spread") || is("Size") || is("Choke") || is("Softness")) return {0, kMaxEffectPixels};
  if (std::strstr(name, "Origin")) return {-kMaxEffectOrigin, kMaxEffectOrigin};
  if (is("Angle")) return {0, kMaxGradientAngle};
  if (is("StopCount")) return {0, kMaxGradientStops};
  return {INT32_MIN, INT32_MAX};
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  for (std::string t; in >> t;) w.push_back(t);
  return w;
}

bool ParseInt(const std::string& s, long long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtoll(s.c_str(), &end, 0);
  return *end == '\0';
}

bool ParseDouble(const std::string& s, double& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return *end == '\0';
}

// "#RRGGBB" or a platform colour value.
bool ParseColor(const std::string& s, int32_t& c) {
  if (s.size() == 7 && s[0] == '#') {
    long long v;
    if (!ParseInt("0x" + s.substr(1), v)) return false;
    c = platform::Rgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
    return true;
  }
  long long v;
  if (!ParseInt(s, v)) return false;
  c = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

std::string ColorText(int32_t c) {
  char buf[16];
  if ((static_cast<uint32_t>(c) >> 24) == 0)
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
  else
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(c));
  return buf;
}

template <class T>
T Get(const void* rec, size_t off) {
  T v;
  std::memcpy(&v, static_cast<const char*>(rec) + off, sizeof v);
  return v;
}
template <class T>
void Set(void* rec, size_t off, T v) { std::memcpy(static_cast<char*>(rec) + off, &v, sizeof v); }

// The contour table through the points, by straight lines between them (sorted by x).
void TableFromPoints(void* rec, const ContourAt& at) {
  int32_t count = std::clamp(Get<int32_t>(rec, at.count), 0, kContourPoints);
  std::vector<TContourPoint> pts(static_cast<size_t>(count));
  if (count > 0) std::memcpy(pts.data(), static_cast<char*>(rec) + at.points, pts.size() * sizeof(TContourPoint));
  std::sort(pts.begin(), pts.end(), [](const TContourPoint& a, const TContourPoint& b) { return a.x < b.x; });
  uint8_t* table = static_cast<uint8_t*>(rec) + at.table;
  for (int v = 0; v < 256; ++v) {
    double out = v;
    if (!pts.empty()) {
      if (v <= pts.front().x) out = pts.front().y;
      else if (v >= pts.back().x) out = pts.back().y;
      else
        for (size_t i = 0; i + 1 < pts.size(); ++i)
          if (v >= pts[i].x && v <= pts[i + 1].x) {
            const double span = static_cast<double>(pts[i + 1].x) - pts[i].x;
            out = span == 0 ? pts[i + 1].y
                            : pts[i].y + (v - static_cast<double>(pts[i].x)) / span *
                                             (static_cast<double>(pts[i + 1].y) - pts[i].y);
            break;
          }
    }
    table[v] = static_cast<uint8_t>(std::lround(std::clamp(out, 0.0, 255.0)));
  }
}

BitmapPtr GeneratePattern(const std::vector<std::string>& w, std::string& error) {
  // Generate = KIND WIDTH HEIGHT COLOUR1 COLOUR2
  long long width, height;
  int32_t c1, c2;
  if (w.size() != 5 || !ParseInt(w[1], width) || !ParseInt(w[2], height) || !ParseColor(w[3], c1) ||
      !ParseColor(w[4], c2) || width < 2 || height < 2 || width > 256 || height > 256) {
    error = "Generate needs KIND WIDTH HEIGHT COLOUR1 COLOUR2 (sizes 2..256)";
    return nullptr;
  }
  auto b = platform::Bitmap::Create(static_cast<int>(width), static_cast<int>(height), platform::PixelFormat::Bgr24);
  const int W = static_cast<int>(width), H = static_cast<int>(height);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool second;
      if (w[0] == "checker") second = ((x * 2 / W) + (y * 2 / H)) % 2 == 1;
      else if (w[0] == "stripes") second = ((x + y) % W) < W / 2;
      else if (w[0] == "dots") {
        double dx = x - (W - 1) / 2.0, dy = y - (H - 1) / 2.0;
        second = dx * dx + dy * dy <= (W * H) / 10.0;
      } else if (w[0] == "hlines") second = y < H / 2;
      else {
        error = "unknown pattern kind '" + w[0] + "' (checker, stripes, dots, hlines)";
        return nullptr;
      }
      b->SetPixelColor(x, y, second ? c2 : c1);
    }
  return b;
}

}  // namespace

bool ParseStyleDescription(const std::string& text, const std::string& hostFolder, StyleFile& s, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  const Section* section = nullptr;
  bool inSpare = false;
  // Which keys each section received, to derive origins and tables afterwards.
  std::map<std::string, std::set<std::string>> given;
  std::map<std::string, std::pair<int, int>> offsets;
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(lineNo) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (size_t hash = line.find_first_of("#;"); hash != std::string::npos) {
      // '#' starts a comment unless it starts a colour value.
      size_t eq = line.find('=');
      if (line[hash] == ';' || eq == std::string::npos || hash < eq) line = line.substr(0, hash);
    }
    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string name = line.substr(1, line.size() - 2);
      section = nullptr;
      inSpare = name == "Spare";
      if (!inSpare && name != "Layer") {
        for (const Section& sec : Sections())
          if (name == sec.name) section = &sec;
        if (!section) return fail("unknown section [" + name + "]");
      }
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) return fail("expected Key = value");
    const std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    long long iv;
    double dv;
    if (!section && !inSpare) {
      if (key == "Version" && ParseInt(value, iv) && iv >= 0 && iv <= 0xFFFF) s.version = static_cast<uint16_t>(iv);
      else if (key == "HeaderByte" && ParseInt(value, iv)) s.headerUnused = static_cast<uint8_t>(iv);
      else if (key == "Opacity" && ParseDouble(value, dv) && dv >= 0 && dv <= 1) s.opacity = dv;
      else if (key == "BlendMode" && ParseInt(value, iv)) s.blendMode = static_cast<uint8_t>(iv);
      else if (key == "EffectsKeepOpacity" && ParseInt(value, iv)) s.effectsKeepOpacity = static_cast<uint8_t>(iv);
      else return fail("bad layer field '" + key + "' or value '" + value + "'");
      continue;
    }
    if (inSpare) {
      if (key == "Byte" && ParseInt(value, iv)) s.spareByte = static_cast<uint8_t>(iv);
      else if (key == "Data" && value.size() == 96) {
        for (int i = 0; i < 48; ++i) {
          if (!ParseInt("0x" + value.substr(static_cast<size_t>(i) * 2, 2), iv)) return fail("bad hex in Data");
          s.spare[i] = static_cast<uint8_t>(iv);
        }
      } else return fail("bad spare field '" + key + "'");
      continue;
    }
    void* rec = section->record(s);
    given[section->name].insert(key);
    if (key == "On") {
      if (!ParseInt(value, iv)) return fail("bad value '" + value + "'");
      s.*(section->on) = static_cast<uint8_t>(iv);
      continue;
    }
    bool done = false;
    for (const Field& f : section->fields) {
      if (key != f.name) continue;
      done = true;
      int32_t c;
      switch (f.type) {
        case FieldType::U8:
          if (!ParseInt(value, iv) || iv < 0 || iv > 255) return fail("bad byte '" + value + "'");
          if (std::strstr(f.name, "Opacity") && iv > kMaxEffectPercent) return fail("an opacity is 0 to 100 percent");
          Set<uint8_t>(rec, f.offset, static_cast<uint8_t>(iv));
          break;
        case FieldType::I32: {
          if (!ParseInt(value, iv)) return fail("bad integer '" + value + "'");
          const auto [lo, hi] = RangeOf(f.name);
          if (iv < lo || iv > hi)
            return fail(std::string(f.name) + " takes " + std::to_string(lo) + " to " + std::to_string(hi));
          Set<int32_t>(rec, f.offset, static_cast<int32_t>(iv));
          break;
        }
        case FieldType::Color:
          if (!ParseColor(value, c)) return fail("bad colour '" + value + "'");
          Set<int32_t>(rec, f.offset, c);
          break;
        case FieldType::F64:
          if (!ParseDouble(value, dv)) return fail("bad number '" + value + "'");
          Set<double>(rec, f.offset, dv);
          break;
      }
    }
    if (done) continue;
    const std::vector<std::string> w = Words(value);
    if (key == "Offset") {
      long long dx, dy;
      if (w.size() != 2 || !ParseInt(w[0], dx) || !ParseInt(w[1], dy)) return fail("Offset needs DX DY");
      if (std::llabs(dx) > kMaxEffectOrigin / 2 || std::llabs(dy) > kMaxEffectOrigin / 2)
        return fail("an offset is at most " + std::to_string(kMaxEffectOrigin / 2) + " pixels either way");
      offsets[section->name] = {static_cast<int>(dx), static_cast<int>(dy)};
    } else if (section->hasContour && key == "ContourOn") {
      if (!ParseInt(value, iv)) return fail("bad value '" + value + "'");
      Set<uint8_t>(rec, section->contour.on, static_cast<uint8_t>(iv));
    } else if (section->hasContour && key == "ContourPoints") {
      if (w.size() > kContourPoints) return fail("at most 51 contour points");
      for (size_t i = 0; i < w.size(); ++i) {
        long long x, y;
        size_t comma = w[i].find(',');
        if (comma == std::string::npos || !ParseInt(w[i].substr(0, comma), x) ||
            !ParseInt(w[i].substr(comma + 1), y) || x < 0 || y < 0 || x > kMaxContourValue || y > kMaxContourValue)
          return fail("contour points are X,Y pairs from 0 to 255");
        Set<TContourPoint>(rec, section->contour.points + i * sizeof(TContourPoint),
                           TContourPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)});
      }
      Set<int32_t>(rec, section->contour.count, static_cast<int32_t>(w.size()));
    } else if (section->hasContour && key == "ContourTable") {
      if (w.size() != 256 && w.size() != 257) return fail("ContourTable needs 256 or 257 values");
      for (size_t i = 0; i < w.size(); ++i) {
        if (!ParseInt(w[i], iv) || iv < 0 || iv > 255) return fail("bad table value '" + w[i] + "'");
        static_cast<uint8_t*>(rec)[section->contour.table + i] = static_cast<uint8_t>(iv);
      }
    } else if (section->recordSize == sizeof(TGradientFillStyle) && key == "Stops") {
      if (w.size() < 2 || w.size() > kMaxGradientStops) return fail("2 to 51 stops, each COLOUR:FRACTION");
      auto* g = static_cast<TGradientFillStyle*>(rec);
      for (size_t i = 0; i < w.size(); ++i) {
        size_t colon = w[i].find(':');
        int32_t c;
        if (colon == std::string::npos || !ParseColor(w[i].substr(0, colon), c) ||
            !ParseDouble(w[i].substr(colon + 1), dv) || !(dv >= 0 && dv <= 1))
          return fail("a stop is COLOUR:FRACTION, the fraction from 0 to 1");
        TGradientStop stop;
        stop.color = c;
        stop.fraction = GradientFraction(dv);  // as the file reader takes it: -0 is 0
        std::memcpy(&g->stops[i], &stop, sizeof stop);
      }
      if (!given[section->name].count("StopCount")) g->stopCount = static_cast<int32_t>(w.size());
    } else if (section->recordSize == sizeof(TPatternOverlayStyle) && key == "File") {
      const std::string path = value.front() == '/' ? value : hostFolder + "/" + value;
      std::error_code ec;
      // Only a plain file: a device or a pipe named here could be read without end.
      if (!std::filesystem::is_regular_file(path, ec)) return fail("cannot read pattern file '" + value + "'");
      std::ifstream f(path, std::ios::binary);
      if (!f) return fail("cannot read pattern file '" + value + "'");
      std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
      if (!DecodeBmpStream(bytes)) return fail("'" + value + "' is not a bitmap file");
      s.patternBytes = bytes;
    } else if (section->recordSize == sizeof(TPatternOverlayStyle) && key == "Generate") {
      std::string why;
      auto b = GeneratePattern(w, why);
      if (!b) return fail(why);
      s.patternBytes = EncodeBmpStream(*b);
    } else {
      return fail("unknown key '" + key + "' in [" + std::string(section->name) + "]");
    }
  }
  // Origins not given: derived from the displacement and the sizes as the style files store them.
  for (const Section& sec : Sections()) {
    const auto& keys = given[sec.name];
    if (keys.empty()) continue;
    auto [dx, dy] = offsets.count(sec.name) ? offsets[sec.name] : std::pair<int, int>{0, 0};
    void* rec = sec.record(s);
    if (sec.recordSize == sizeof(TShadowStyle) || sec.recordSize == sizeof(TGlowStyle)) {
      auto* base = static_cast<char*>(rec);
      const bool shadow = sec.recordSize == sizeof(TShadowStyle);
      const int32_t spread = Get<int32_t>(base, shadow ? 20 : 12), size = Get<int32_t>(base, shadow ? 24 : 16);
      const int m = std::max(spread, size);
      if (!keys.count("OriginX")) Set<int32_t>(rec, shadow ? 32 : 24, dx - 2 * m);
      if (!keys.count("OriginY")) Set<int32_t>(rec, shadow ? 36 : 28, dy - 2 * m);
    } else if (sec.recordSize == sizeof(TBevelStyle)) {
      auto* b = static_cast<TBevelStyle*>(rec);
      const int m = std::max(b->size, b->choke);
      if (!keys.count("HighlightOriginX")) b->highlightOriginX = dx - 2 * m;
      if (!keys.count("HighlightOriginY")) b->highlightOriginY = dy - 2 * m;
      if (!keys.count("ShadowOriginX")) b->shadowOriginX = -dx - 2 * m;
      if (!keys.count("ShadowOriginY")) b->shadowOriginY = -dy - 2 * m;
    } else if (sec.recordSize == sizeof(TStrokeStyle)) {
      auto* st = static_cast<TStrokeStyle*>(rec);
      if (!keys.count("OriginX")) st->originX = -2 * (st->size + st->softness);
      if (!keys.count("OriginY")) st->originY = -2 * (st->size + st->softness);
    }
    if (sec.hasContour && keys.count("ContourPoints") && !keys.count("ContourTable")) TableFromPoints(rec, sec.contour);
  }
  return true;
}

std::string DescribeStyle(const StyleFile& sIn) {
  StyleFile s = sIn;
  std::ostringstream out;
  char buf[64];
  std::snprintf(buf, sizeof buf, "0x%04X", s.version);
  out << "[Layer]\nVersion = " << buf << "\n";
  if (s.headerUnused) out << "HeaderByte = " << int(s.headerUnused) << "\n";
  std::snprintf(buf, sizeof buf, "%.17g", s.opacity);
  out << "Opacity = " << buf << "\nBlendMode = " << int(s.blendMode)
      << "\nEffectsKeepOpacity = " << int(s.effectsKeepOpacity) << "\n";
  for (const Section& sec : Sections()) {
    if (s.version < sec.minVersion) continue;
    // The spare block sits between the colour overlay and the gradient overlay.
    if (std::strcmp(sec.name, "GradientOverlay") == 0) {
      out << "\n[Spare]\nByte = " << int(s.spareByte) << "\nData = ";
      for (uint8_t b : s.spare) { std::snprintf(buf, sizeof buf, "%02X", b); out << buf; }
      out << "\n";
    }
    void* rec = sec.record(s);
    out << "\n[" << sec.name << "]\nOn = " << int(s.*(sec.on)) << "\n";
    for (const Field& f : sec.fields) {
      const bool reserved = std::strncmp(f.name, "Reserved", 8) == 0;
      switch (f.type) {
        case FieldType::U8: {
          int v = Get<uint8_t>(rec, f.offset);
          if (!reserved || v) out << f.name << " = " << v << "\n";
          break;
        }
        case FieldType::I32: {
          int32_t v = Get<int32_t>(rec, f.offset);
          if (!reserved || v) out << f.name << " = " << v << "\n";
          break;
        }
        case FieldType::Color: out << f.name << " = " << ColorText(Get<int32_t>(rec, f.offset)) << "\n"; break;
        case FieldType::F64: out << f.name << " = " << Get<double>(rec, f.offset) << "\n"; break;
      }
    }
    if (sec.hasContour) {
      const auto* base = static_cast<const uint8_t*>(rec);
      out << "ContourOn = " << int(base[sec.contour.on]) << "\n";
      int32_t count = std::clamp(Get<int32_t>(rec, sec.contour.count), 0, kContourPoints);
      if (count > 0) {
        out << "ContourPoints =";
        for (int i = 0; i < count; ++i) {
          auto p = Get<TContourPoint>(rec, sec.contour.points + static_cast<size_t>(i) * sizeof(TContourPoint));
          out << " " << p.x << "," << p.y;
        }
        out << "\n";
      }
      bool any = false;
      for (int i = 0; i < kContourTable; ++i) any |= base[sec.contour.table + i] != 0;
      // A table is written when it holds something, and always beside points (a description
      // with points and no table draws its table through them).
      if (any || count > 0) {
        out << "ContourTable =";
        for (int i = 0; i < kContourTable; ++i) out << " " << int(base[sec.contour.table + i]);
        out << "\n";
      }
    }
    if (sec.recordSize == sizeof(TGradientFillStyle)) {
      const auto* g = static_cast<const TGradientFillStyle*>(rec);
      const int n = std::clamp(Get<int32_t>(rec, 8), 2, kMaxGradientStops);
      out << "Stops =";
      for (int i = 0; i < n; ++i) {
        TGradientStop st;
        std::memcpy(&st, &g->stops[i], sizeof st);
        std::snprintf(buf, sizeof buf, "%.17g", st.fraction);
        out << " " << ColorText(st.color) << ":" << buf;
      }
      out << "\n";
    }
    if (sec.recordSize == sizeof(TPatternOverlayStyle) && s.patternOn) {
      auto b = DecodeBmpStream(s.patternBytes);
      out << "# pattern: " << s.patternBytes.size() << " bytes";
      if (b) out << ", " << b->Width() << " x " << b->Height() << (b->Format() == platform::PixelFormat::Bgra32 ? ", with alpha" : "");
      else out << ", not a bitmap";
      out << "\n";
    }
  }
  return out.str();
}

}  // namespace imaging
