#include "platform/fonts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace platform::fonts {

namespace {

// The aliases used when the program folder carries no alias file; the same as data/fonts/fonts.conf.
constexpr char8_t kBuiltinAliases[] = u8R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>宋体</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>新宋体</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>隶书</family><prefer><family>AR PL UKai CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>华文行楷</family><prefer><family>AR PL UKai CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>楷体_GB2312</family><prefer><family>AR PL UKai CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>楷体</family><prefer><family>AR PL UKai CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>黑体</family><prefer><family>WenQuanYi Zen Hei</family><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>仿宋</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>仿宋_GB2312</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>幼圆</family><prefer><family>WenQuanYi Zen Hei</family><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>华文楷体</family><prefer><family>AR PL UKai CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>华文宋体</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>华文仿宋</family><prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>华文细黑</family><prefer><family>WenQuanYi Zen Hei</family><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>MS Sans Serif</family><prefer><family>DejaVu Sans</family><family>WenQuanYi Zen Hei</family></prefer></alias>
</fontconfig>
)";

std::string AsUtf8(std::string_view gbk) { return GbkToUtf8(gbk); }

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The <family> names of every <alias> block: the alias first, then its preferred families.
std::vector<std::vector<std::string>> ParseAliases(const std::string& xml) {
  std::vector<std::vector<std::string>> out;
  size_t pos = 0;
  while ((pos = xml.find("<alias", pos)) != std::string::npos) {
    const size_t end = xml.find("</alias>", pos);
    if (end == std::string::npos) break;
    std::vector<std::string> names;
    size_t f = pos;
    while ((f = xml.find("<family>", f)) != std::string::npos && f < end) {
      const size_t g = xml.find("</family>", f);
      if (g == std::string::npos || g > end) break;
      names.push_back(xml.substr(f + 8, g - f - 8));
      f = g;
    }
    if (names.size() >= 2) out.push_back(std::move(names));
    pos = end;
  }
  return out;
}

struct Library {
  std::mutex mutex;
  FT_Library ft = nullptr;
  FcConfig* config = nullptr;
  std::string aliasFile;      // host path; empty = program folder's
  std::vector<std::vector<std::string>> aliases;  // UTF-8
  std::optional<std::vector<std::string>> hostFamilies;  // UTF-8, as installed
  std::map<std::pair<std::string, int>, FT_Face> faces;

  void EnsureConfig() {
    if (!ft) FT_Init_FreeType(&ft);
    if (config) return;
    config = FcInitLoadConfigAndFonts();
    std::string path = aliasFile;
    if (path.empty()) path = paths::ToHost(paths::ProgramFolder() + "fonts/fonts.conf");
    std::optional<std::string> text;
    if (!path.empty()) text = files::ReadFile(paths::FromHost(path));
    if (config && text && FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue)) {
      aliases = ParseAliases(*text);
    } else if (config) {
      const std::string builtin(reinterpret_cast<const char*>(kBuiltinAliases));
      FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(builtin.c_str()), FcTrue);
      aliases = ParseAliases(builtin);
    }
  }

  const std::vector<std::string>& HostFamilies() {
    EnsureConfig();
    if (hostFamilies) return *hostFamilies;
    std::set<std::string> names;
    if (config) {
      FcPattern* pat = FcPatternCreate();
      FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
      FcFontSet* set = FcFontList(config, pat, os);
      for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* fam = nullptr;
        for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &fam) == FcResultMatch; ++k)
          names.insert(reinterpret_cast<const char*>(fam));
      }
      if (set) FcFontSetDestroy(set);
      FcObjectSetDestroy(os);
      FcPatternDestroy(pat);
    }
    hostFamilies = std::vector<std::string>(names.begin(), names.end());
    return *hostFamilies;
  }

  bool HostHas(const std::string& utf8) {
    const std::string l = LowerAscii(utf8);
    for (const std::string& f : HostFamilies())
      if (LowerAscii(f) == l) return true;
    return false;
  }

  // The alias entry for a name whose preferred fonts are installed.
  bool AliasInstalled(const std::string& utf8) {
    const std::string l = LowerAscii(utf8);
    for (const auto& a : aliases) {
      if (LowerAscii(a[0]) != l) continue;
      for (size_t k = 1; k < a.size(); ++k)
        if (HostHas(a[k])) return true;
    }
    return false;
  }

  FT_Face Face(const std::string& file, int index) {
    auto it = faces.find({file, index});
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(ft, file.c_str(), index, &face) != 0) face = nullptr;
    faces[{file, index}] = face;
    return face;
  }

  struct Match {
    FT_Face face = nullptr;
    std::string family;  // UTF-8 family of the matched font
    bool boldFace = false, italicFace = false;
  };

  Match MatchFamily(const std::string& utf8, bool bold, bool italic, bool chinese) {
    Match m;
    EnsureConfig();
    if (!config) return m;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    if (chinese) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* found = FcFontMatch(config, pat, &result);
    if (found) {
      FcChar8* file = nullptr;
      FcChar8* fam = nullptr;
      int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
      FcPatternGetInteger(found, FC_INDEX, 0, &index);
      FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(found, FC_SLANT, 0, &slant);
      if (FcPatternGetString(found, FC_FAMILY, 0, &fam) == FcResultMatch) m.family = reinterpret_cast<const char*>(fam);
      if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch)
        m.face = Face(reinterpret_cast<const char*>(file), index);
      // Some fonts state odd weights for their only face; the style name tells a real bold
      // or italic face from one that needs synthesising.
      FcChar8* style = nullptr;
      std::string st;
      if (FcPatternGetString(found, FC_STYLE, 0, &style) == FcResultMatch) st = reinterpret_cast<const char*>(style);
      auto has = [&](const char* w) { return st.find(w) != std::string::npos; };
      m.boldFace = weight >= FC_WEIGHT_DEMIBOLD && (has("Bold") || has("Heavy") || has("Black"));
      m.italicFace = slant != FC_SLANT_ROMAN && (has("Italic") || has("Oblique"));
      FcPatternDestroy(found);
    }
    FcPatternDestroy(pat);
    return m;
  }
};

Library& Lib() {
  static Library* lib = new Library;  // lives for the process: faces are shared by every font
  return *lib;
}

// GBK text to code points, one per character; a byte that starts no valid character is '?'.
std::vector<char32_t> DecodeGbk(std::string_view s, std::vector<size_t>* starts = nullptr) {
  static std::unordered_map<uint16_t, char32_t> cache;
  std::vector<char32_t> out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    if (starts) starts->push_back(i);
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out.push_back(c);
      ++i;
    } else if (IsLeadByte(c) && i + 1 < s.size()) {
      const uint16_t key = static_cast<uint16_t>((c << 8) | static_cast<unsigned char>(s[i + 1]));
      auto it = cache.find(key);
      if (it == cache.end()) {
        const std::u16string u = GbkToUtf16(s.substr(i, 2));
        it = cache.emplace(key, u.size() == 1 ? static_cast<char32_t>(u[0]) : U'?').first;
      }
      out.push_back(it->second);
      i += 2;
    } else {
      out.push_back(U'?');
      ++i;
    }
  }
  return out;
}

struct Glyph {
  std::vector<uint8_t> coverage;
  int width = 0, height = 0, left = 0, top = 0, advance = 0;
};

class FtFont final : public Font {
 public:
  FtFont(const FontSpec& fontSpec, std::string family) : spec_(fontSpec), family_(std::move(family)) {}

  bool Init() {
    Library& lib = Lib();
    const std::string utf8 = AsUtf8(family_);
    Library::Match m = lib.MatchFamily(utf8, spec_.bold, spec_.italic, false);
    if (!m.face) return false;
    faces_.push_back(m);
    // Chinese characters the family lacks come from the 宋体 alias.
    Library::Match cjk = lib.MatchFamily(reinterpret_cast<const char*>(u8"宋体"), spec_.bold, spec_.italic, true);
    if (cjk.face && cjk.face != m.face) faces_.push_back(cjk);
    FT_Face face = m.face;
    // Character height in pixels: negative platform height, or points at 96 dpi; a positive
    // height is the cell height, so the character height is scaled down by the font's cell.
    int em;
    if (spec_.height < 0) {
      em = -spec_.height;
    } else if (spec_.height > 0) {
      const int cell = face->ascender - face->descender;
      em = cell > 0 ? static_cast<int>(std::lround(static_cast<double>(spec_.height) * face->units_per_EM / cell))
                    : spec_.height;
    } else {
      em = spec_.size > 0 ? (spec_.size * 96 + 36) / 72 : 12;
    }
    em_ = std::clamp(em, 1, 2000);
    SetSize(face);
    const double scale = static_cast<double>(em_) / std::max<int>(1, face->units_per_EM);
    ascent_ = static_cast<int>(std::lround(face->ascender * scale));
    const int descent = static_cast<int>(std::lround(-face->descender * scale));
    height_ = std::max(1, ascent_ + descent);
    underlinePos_ = static_cast<int>(std::lround(-face->underline_position * scale));
    lineThickness_ = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
    strikePos_ = static_cast<int>(std::lround(em_ * 0.3));
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->yStrikeoutPosition > 0)
      strikePos_ = static_cast<int>(std::lround(os2->yStrikeoutPosition * scale));
    if (spec_.bold) lineThickness_ = std::max(lineThickness_, em_ / 12);
    return true;
  }

  const std::string& Family() const override { return family_; }
  int Height() const override { return height_; }
  int Ascent() const override { return ascent_; }
  int EmHeight() const override { return em_; }

  TextExtent Measure(std::string_view line, int charExtra) const override {
    std::lock_guard<std::mutex> lock(Lib().mutex);
    int w = 0;
    for (char32_t c : DecodeGbk(line)) w += GlyphFor(c).advance + charExtra;
    return {w, height_};
  }

  void Draw(Bitmap& dst, int x, int y, std::string_view line, Color color, int charExtra,
            const Rect* clip) const override {
    std::lock_guard<std::mutex> lock(Lib().mutex);
    Rect area = Rect::FromSize(0, 0, dst.Width(), dst.Height());
    if (clip) area = area.Intersect(*clip);
    if (area.Empty()) return;
    color = ResolveColor(color);
    const uint8_t rgb[3] = {static_cast<uint8_t>(BlueOf(color)), static_cast<uint8_t>(GreenOf(color)),
                            static_cast<uint8_t>(RedOf(color))};
    const int baseline = y + ascent_;
    int pen = x;
    for (char32_t c : DecodeGbk(line)) {
      const Glyph& g = GlyphFor(c);
      Blend(dst, area, pen + g.left, baseline - g.top, g.coverage.data(), g.width, g.height, g.width, rgb);
      pen += g.advance + charExtra;
    }
    const int width = pen - x;
    if (width <= 0) return;
    std::vector<uint8_t> solid(static_cast<size_t>(width), 255);
    auto line_at = [&](int top) {
      for (int k = 0; k < lineThickness_; ++k) Blend(dst, area, x, top + k, solid.data(), width, 1, width, rgb);
    };
    if (spec_.underline) line_at(baseline + underlinePos_ - lineThickness_ / 2);
    if (spec_.strikeOut) line_at(baseline - strikePos_ - lineThickness_ / 2);
  }

 private:
  void SetSize(FT_Face face) const { FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em_)); }

  const Glyph& GlyphFor(char32_t c) const {
    auto it = glyphs_.find(c);
    if (it != glyphs_.end()) return it->second;
    Glyph g;
    // The first face with the character; else the missing-glyph box of the first.
    size_t which = 0;
    FT_UInt index = 0;
    for (size_t k = 0; k < faces_.size(); ++k) {
      index = FT_Get_Char_Index(faces_[k].face, c);
      if (index) { which = k; break; }
    }
    const Library::Match& m = faces_[which];
    FT_Face face = m.face;
    SetSize(face);
    if (c == U'\t' || c == U'\r' || c == U'\n') index = FT_Get_Char_Index(face, U' ');
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
      FT_GlyphSlot slot = face->glyph;
      if (spec_.bold && !m.boldFace) FT_GlyphSlot_Embolden(slot);
      if (spec_.italic && !m.italicFace) FT_GlyphSlot_Oblique(slot);
      g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const FT_Bitmap& b = slot->bitmap;
        g.width = static_cast<int>(b.width);
        g.height = static_cast<int>(b.rows);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.coverage.resize(static_cast<size_t>(g.width) * g.height);
        for (int r = 0; r < g.height; ++r)
          std::copy_n(b.buffer + static_cast<ptrdiff_t>(r) * b.pitch, g.width,
                      g.coverage.data() + static_cast<size_t>(r) * g.width);
      }
    }
    return glyphs_.emplace(c, std::move(g)).first->second;
  }

  // Coverage rows (w x h at (x, y)) blended in the colour, clipped to `area`.
  static void Blend(Bitmap& dst, const Rect& area, int x, int y, const uint8_t* cov, int w, int h, int pitch,
                    const uint8_t rgb[3]) {
    const Rect r = Rect::FromSize(x, y, w, h).Intersect(area);
    if (r.Empty()) return;
    const int bpp = BytesPerPixel(dst.Format());
    for (int yy = r.top; yy < r.bottom; ++yy) {
      const uint8_t* s = cov + static_cast<size_t>(yy - y) * pitch + (r.left - x);
      uint8_t* d = dst.Row(yy) + r.left * bpp;
      for (int xx = r.left; xx < r.right; ++xx, ++s, d += bpp) {
        const int a = *s;
        if (a == 0) continue;
        if (bpp == 1) {
          d[0] = static_cast<uint8_t>(d[0] + (rgb[2] - d[0]) * a / 255);
          continue;
        }
        for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(d[k] + (rgb[k] - d[k]) * a / 255);
        if (bpp == 4) d[3] = static_cast<uint8_t>(d[3] + (255 - d[3]) * a / 255);
      }
    }
  }

  FontSpec spec_;
  std::string family_;
  std::vector<Library::Match> faces_;
  int em_ = 12, ascent_ = 0, height_ = 0;
  int underlinePos_ = 1, strikePos_ = 4, lineThickness_ = 1;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace

std::shared_ptr<Font> Font::Create(const FontSpec& fontSpec) {
  const std::string family = ResolveFamily(fontSpec.name);
  std::lock_guard<std::mutex> lock(Lib().mutex);
  auto f = std::make_shared<FtFont>(fontSpec, family);
  if (!f->Init()) return nullptr;
  return f;
}

std::vector<std::string> InstalledFamilies() {
  Library& lib = Lib();
  std::lock_guard<std::mutex> lock(lib.mutex);
  std::set<std::string> out;
  for (const std::string& f : lib.HostFamilies()) {
    const std::string g = Utf8ToGbk(f);
    if (g.find('?') == std::string::npos || f.find('?') != std::string::npos) out.insert(g);
  }
  for (const auto& a : lib.aliases)
    if (lib.AliasInstalled(a[0])) out.insert(Utf8ToGbk(a[0]));
  return {out.begin(), out.end()};
}

bool IsInstalled(std::string_view family) {
  if (family.empty()) return false;
  Library& lib = Lib();
  std::lock_guard<std::mutex> lock(lib.mutex);
  const std::string utf8 = AsUtf8(family);
  return lib.HostHas(utf8) || lib.AliasInstalled(utf8);
}

std::string ResolveFamily(std::string_view family) {
  if (IsInstalled(family)) return std::string(family);
  if (IsInstalled("宋体")) return "宋体";
  if (IsInstalled("MS Sans Serif")) return "MS Sans Serif";
  const std::vector<std::string> all = InstalledFamilies();
  return all.empty() ? std::string(family) : all.front();
}

std::string HostFamilyFor(std::string_view family) {
  Library& lib = Lib();
  std::lock_guard<std::mutex> lock(lib.mutex);
  return lib.MatchFamily(AsUtf8(family), false, false, false).family;
}

void UseAliasFile(std::string_view hostPath) {
  Library& lib = Lib();
  std::lock_guard<std::mutex> lock(lib.mutex);
  lib.aliasFile = std::string(hostPath);
  if (lib.config) FcConfigDestroy(lib.config);
  lib.config = nullptr;
  lib.hostFamilies.reset();
  lib.EnsureConfig();
}

}  // namespace platform::fonts
