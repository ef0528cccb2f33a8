// Fonts through GDI: the family and text pass through code page 936, glyphs are drawn
// anti-aliased into a device-independent bitmap and blended into ours as coverage.
#include "platform/fonts.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <set>

#include "platform/text.h"
#include "platform/win32/wide_path.h"

namespace platform::fonts {
namespace {

std::wstring Wide(std::string_view gbk) { return win32::WidePath(gbk); }

// A memory device context for measuring; GDI objects are per process, the lock keeps one user.
struct Gdi {
  std::mutex mutex;
  HDC dc = CreateCompatibleDC(nullptr);
};
Gdi& Shared() {
  static Gdi g;
  return g;
}

class GdiFont : public Font {
 public:
  GdiFont(const FontSpec& fontSpec, std::string family) : spec_(fontSpec), family_(std::move(family)) {}
  ~GdiFont() override {
    if (font_) DeleteObject(font_);
  }

  bool Init() {
    LOGFONTW lf{};
    lf.lfHeight = spec_.height != 0 ? spec_.height : -spec_.PixelHeight();
    lf.lfWeight = spec_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec_.italic;
    lf.lfUnderline = spec_.underline;
    lf.lfStrikeOut = spec_.strikeOut;
    lf.lfCharSet = static_cast<BYTE>(spec_.charset);
    lf.lfQuality = ANTIALIASED_QUALITY;
    const std::wstring face = Wide(family_);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font_ = CreateFontIndirectW(&lf);
    if (!font_) return false;
    Gdi& g = Shared();
    std::lock_guard<std::mutex> lock(g.mutex);
    HGDIOBJ old = SelectObject(g.dc, font_);
    TEXTMETRICW tm{};
    GetTextMetricsW(g.dc, &tm);
    SelectObject(g.dc, old);
    height_ = std::max<int>(1, tm.tmHeight);
    ascent_ = tm.tmAscent;
    em_ = std::max<int>(1, tm.tmHeight - tm.tmInternalLeading);
    overhang_ = tm.tmOverhang + (spec_.italic ? em_ / 2 : 0);
    return true;
  }

  const std::string& Family() const override { return family_; }
  int Height() const override { return height_; }
  int Ascent() const override { return ascent_; }
  int EmHeight() const override { return em_; }

  TextExtent Measure(std::string_view line, int charExtra) const override {
    const std::wstring w = Wide(line);
    Gdi& g = Shared();
    std::lock_guard<std::mutex> lock(g.mutex);
    HGDIOBJ old = SelectObject(g.dc, font_);
    SetTextCharacterExtra(g.dc, charExtra);
    SIZE sz{0, 0};
    if (!w.empty()) GetTextExtentPoint32W(g.dc, w.c_str(), static_cast<int>(w.size()), &sz);
    SetTextCharacterExtra(g.dc, 0);
    SelectObject(g.dc, old);
    return {static_cast<int>(sz.cx), height_};
  }

  void Draw(Bitmap& dst, int x, int y, std::string_view line, Color color, int charExtra,
            const Rect* clip) const override {
    Rect area = Rect::FromSize(0, 0, dst.Width(), dst.Height());
    if (clip) area = area.Intersect(*clip);
    const std::wstring w = Wide(line);
    if (area.Empty() || w.empty()) return;
    const int width = Measure(line, charExtra).width + overhang_ + 2;
    const Rect box = Rect::FromSize(x, y, width, height_).Intersect(area);
    if (box.Empty()) return;
    // White text on black in a 32-bit DIB: the green channel is the coverage.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Gdi& g = Shared();
    std::lock_guard<std::mutex> lock(g.mutex);
    HBITMAP dib = CreateDIBSection(g.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return;
    HGDIOBJ oldBmp = SelectObject(g.dc, dib);
    HGDIOBJ oldFont = SelectObject(g.dc, font_);
    std::fill_n(static_cast<uint32_t*>(bits), static_cast<size_t>(width) * height_, 0u);
    SetBkMode(g.dc, TRANSPARENT);
    SetTextColor(g.dc, RGB(255, 255, 255));
    SetTextCharacterExtra(g.dc, charExtra);
    TextOutW(g.dc, 0, 0, w.c_str(), static_cast<int>(w.size()));
    GdiFlush();
    SetTextCharacterExtra(g.dc, 0);
    SelectObject(g.dc, oldFont);
    SelectObject(g.dc, oldBmp);

    color = ResolveColor(color);
    const uint8_t rgb[3] = {static_cast<uint8_t>(BlueOf(color)), static_cast<uint8_t>(GreenOf(color)),
                            static_cast<uint8_t>(RedOf(color))};
    const int bpp = BytesPerPixel(dst.Format());
    const auto* src = static_cast<const uint8_t*>(bits);
    for (int yy = box.top; yy < box.bottom; ++yy) {
      const uint8_t* s = src + (static_cast<size_t>(yy - y) * width + (box.left - x)) * 4;
      uint8_t* d = dst.Row(yy) + box.left * bpp;
      for (int xx = box.left; xx < box.right; ++xx, s += 4, d += bpp) {
        const int a = s[1];
        if (a == 0) continue;
        if (bpp == 1) {
          d[0] = static_cast<uint8_t>(d[0] + (rgb[2] - d[0]) * a / 255);
          continue;
        }
        for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(d[k] + (rgb[k] - d[k]) * a / 255);
        if (bpp == 4) d[3] = static_cast<uint8_t>(d[3] + (255 - d[3]) * a / 255);
      }
    }
    DeleteObject(dib);
  }

 private:
  FontSpec spec_;
  std::string family_;
  HFONT font_ = nullptr;
  int height_ = 1, ascent_ = 0, em_ = 1, overhang_ = 0;
};

int CALLBACK CollectFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* names = reinterpret_cast<std::set<std::string>*>(param);
  if (lf->lfFaceName[0] != L'@') names->insert(win32::GbkFromWide(lf->lfFaceName));
  return 1;
}

}  // namespace

std::shared_ptr<Font> Font::Create(const FontSpec& fontSpec) {
  auto f = std::make_shared<GdiFont>(fontSpec, ResolveFamily(fontSpec.name));
  if (!f->Init()) return nullptr;
  return f;
}

std::vector<std::string> InstalledFamilies() {
  std::set<std::string> names;
  Gdi& g = Shared();
  std::lock_guard<std::mutex> lock(g.mutex);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(g.dc, &lf, CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
  return {names.begin(), names.end()};
}

bool IsInstalled(std::string_view family) {
  if (family.empty()) return false;
  const std::vector<std::string> all = InstalledFamilies();
  return std::any_of(all.begin(), all.end(), [&](const std::string& f) { return EqualsNoCase(f, family); });
}

// The system's font mapper picks a face for a family it lacks (by the character set), so a
// family is kept as named.
std::string ResolveFamily(std::string_view family) {
  return family.empty() ? std::string("宋体") : std::string(family);
}

std::string HostFamilyFor(std::string_view family) {
  LOGFONTW lf{};
  lf.lfCharSet = GB2312_CHARSET;
  const std::wstring face = Wide(family);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT f = CreateFontIndirectW(&lf);
  Gdi& g = Shared();
  std::lock_guard<std::mutex> lock(g.mutex);
  HGDIOBJ old = SelectObject(g.dc, f);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(g.dc, LF_FACESIZE, name);
  SelectObject(g.dc, old);
  DeleteObject(f);
  return win32::GbkFromWide(name);
}

void UseAliasFile(std::string_view) {}  // the system maps families itself

}  // namespace platform::fonts
