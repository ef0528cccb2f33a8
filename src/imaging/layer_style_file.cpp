#include "imaging/layer_style_file.h"

#include <cstring>

#include "imaging/bmp_stream.h"
#include "imaging/effect_painters.h"
#include "imaging/layered_image.h"
#include "imaging/style_limits.h"
#include "platform/dialogs.h"
#include "platform/files.h"

namespace imaging {

const char kStyleTooNewText[] =
    "要读取的样式列表文件版本过高，请使用更高版本的《Pavo图像处理系统》进行读取。";
const char kStyleTooNewCaption[] = "Pavo图像处理系统";

namespace {

const char kSignature[] = "\x0aLayerStyle";

// Bounded reads over the file's bytes; any read past the end marks the reader failed.
class Reader {
 public:
  explicit Reader(std::string_view b) : b_(b) {}
  bool Read(void* dst, size_t n) {
    if (failed_ || n > b_.size() - pos_) return failed_ = true, false;
    std::memcpy(dst, b_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool Take(std::string& dst, size_t n) {
    if (failed_ || n > b_.size() - pos_) return failed_ = true, false;
    dst.assign(b_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool Failed() const { return failed_; }

 private:
  std::string_view b_;
  size_t pos_ = 0;
  bool failed_ = false;
};

// A record: the full form, or the short form (head bytes, then the two trailing reserved ints,
// contour switched off).
template <class Rec>
void ReadRecord(Reader& r, Rec& rec, bool full, size_t shortHead, int32_t Rec::*tail1, int32_t Rec::*tail2,
                uint8_t Rec::*contourOn) {
  if (full) {
    r.Read(&rec, sizeof(Rec));
    return;
  }
  Rec tmp = rec;
  r.Read(&tmp, shortHead);
  r.Read(&(tmp.*tail1), 4);
  r.Read(&(tmp.*tail2), 4);
  tmp.*contourOn = 0;
  if (!r.Failed()) rec = tmp;
}

template <class Rec>
void WriteRecord(std::string& out, const Rec& rec, bool full, size_t shortHead, int32_t Rec::*tail1,
                 int32_t Rec::*tail2) {
  const char* p = reinterpret_cast<const char*>(&rec);
  if (full) {
    out.append(p, sizeof(Rec));
    return;
  }
  out.append(p, shortHead);
  out.append(reinterpret_cast<const char*>(&(rec.*tail1)), 4);
  out.append(reinterpret_cast<const char*>(&(rec.*tail2)), 4);
}

template <class T>
void Put(std::string& out, const T& v) { out.append(reinterpret_cast<const char*>(&v), sizeof(T)); }

}  // namespace

StyleParse ParseStyleFile(std::string_view bytes, StyleFile& style) {
  if (bytes.size() < kStyleHeaderSize || std::memcmp(bytes.data(), kSignature, 11) != 0)
    return StyleParse::NotAStyleFile;
  const uint16_t version = static_cast<uint16_t>(static_cast<uint8_t>(bytes[12]) | (static_cast<uint8_t>(bytes[13]) << 8));
  if (version < kStyleVersionFirst || version > kStyleVersionLast) return StyleParse::VersionTooNew;
  StyleFile s = style;
  s.version = version;
  s.headerUnused = static_cast<uint8_t>(bytes[11]);
  Reader r(bytes.substr(kStyleHeaderSize));
  const bool full = version >= 0x0103;
  r.Read(&s.opacity, 8);
  r.Read(&s.blendMode, 1);
  r.Read(&s.effectsKeepOpacity, 1);
  r.Read(&s.dropShadowOn, 1);
  ReadRecord(r, s.dropShadow, full, kShadowShortHead, &TShadowStyle::reserved720, &TShadowStyle::reserved724, &TShadowStyle::contourOn);
  r.Read(&s.innerShadowOn, 1);
  ReadRecord(r, s.innerShadow, full, kShadowShortHead, &TShadowStyle::reserved720, &TShadowStyle::reserved724, &TShadowStyle::contourOn);
  r.Read(&s.innerGlowOn, 1);
  ReadRecord(r, s.innerGlow, full, kGlowShortHead, &TGlowStyle::reserved712, &TGlowStyle::reserved716, &TGlowStyle::contourOn);
  r.Read(&s.outerGlowOn, 1);
  ReadRecord(r, s.outerGlow, full, kGlowShortHead, &TGlowStyle::reserved712, &TGlowStyle::reserved716, &TGlowStyle::contourOn);
  r.Read(&s.bevelOn, 1);
  ReadRecord(r, s.bevel, full, kBevelShortHead, &TBevelStyle::reserved732, &TBevelStyle::reserved736, &TBevelStyle::contourOn);
  r.Read(&s.strokeOn, 1);
  ReadRecord(r, s.stroke, full, kStrokeShortHead, &TStrokeStyle::reserved704, &TStrokeStyle::reserved708, &TStrokeStyle::contourOn);
  r.Read(&s.colorOverlayOn, 1);
  r.Read(&s.colorOverlay, sizeof(s.colorOverlay));
  if (version >= 0x0101) {
    r.Read(&s.spareByte, 1);
    r.Read(s.spare, sizeof(s.spare));
    r.Read(&s.gradientOverlayOn, 1);
    r.Read(&s.gradientOverlay, sizeof(s.gradientOverlay));
  }
  if (version >= 0x0102) {
    r.Read(&s.strokeGradientOn, 1);
    r.Read(&s.strokeGradient, sizeof(s.strokeGradient));
  }
  if (version >= 0x0101) {
    r.Read(&s.patternOn, 1);
    r.Read(&s.pattern, sizeof(s.pattern));
    if (s.patternOn) {
      if (s.pattern.streamSize < 0) return StyleParse::Malformed;
      r.Take(s.patternBytes, static_cast<size_t>(s.pattern.streamSize));
    } else {
      s.patternBytes.clear();
    }
  }
  if (r.Failed()) return StyleParse::Malformed;
  ClampStyleFile(s);
  style = std::move(s);
  return StyleParse::Ok;
}

std::string WriteStyleFile(const StyleFile& s) {
  std::string out(kSignature, 11);
  out.push_back(static_cast<char>(s.headerUnused));
  Put(out, s.version);
  const bool full = s.version >= 0x0103;
  Put(out, s.opacity);
  Put(out, s.blendMode);
  Put(out, s.effectsKeepOpacity);
  Put(out, s.dropShadowOn);
  WriteRecord(out, s.dropShadow, full, kShadowShortHead, &TShadowStyle::reserved720, &TShadowStyle::reserved724);
  Put(out, s.innerShadowOn);
  WriteRecord(out, s.innerShadow, full, kShadowShortHead, &TShadowStyle::reserved720, &TShadowStyle::reserved724);
  Put(out, s.innerGlowOn);
  WriteRecord(out, s.innerGlow, full, kGlowShortHead, &TGlowStyle::reserved712, &TGlowStyle::reserved716);
  Put(out, s.outerGlowOn);
  WriteRecord(out, s.outerGlow, full, kGlowShortHead, &TGlowStyle::reserved712, &TGlowStyle::reserved716);
  Put(out, s.bevelOn);
  WriteRecord(out, s.bevel, full, kBevelShortHead, &TBevelStyle::reserved732, &TBevelStyle::reserved736);
  Put(out, s.strokeOn);
  WriteRecord(out, s.stroke, full, kStrokeShortHead, &TStrokeStyle::reserved704, &TStrokeStyle::reserved708);
  Put(out, s.colorOverlayOn);
  Put(out, s.colorOverlay);
  if (s.version >= 0x0101) {
    Put(out, s.spareByte);
    out.append(reinterpret_cast<const char*>(s.spare), sizeof(s.spare));
    Put(out, s.gradientOverlayOn);
    Put(out, s.gradientOverlay);
  }
  if (s.version >= 0x0102) {
    Put(out, s.strokeGradientOn);
    Put(out, s.strokeGradient);
  }
  if (s.version >= 0x0101) {
    Put(out, s.patternOn);
    TPatternOverlayStyle p = s.pattern;
    if (s.patternOn) p.streamSize = static_cast<int32_t>(s.patternBytes.size());
    Put(out, p);
    if (s.patternOn) out += s.patternBytes;
  }
  return out;
}

// --- applying a style file to a layer ----------------------------------------------------

namespace {

// One cached mask effect: the switch goes on with a new mask, stays on with a mask rebuilt only
// when a size changed, or goes off with the mask freed.
template <class Rec>
void ApplyMaskEffect(TlmLayer& L, bool& on, BitmapPtr& mask, Rec& rec, const Rec& from, bool switchOn,
                     int32_t Rec::*size1, int32_t Rec::*size2, bool (*fill)(TlmLayer&)) {
  const int32_t old1 = rec.*size1, old2 = rec.*size2;
  rec = from;
  if (switchOn && !on) {
    if (fill(L)) on = true;
  } else if (switchOn && on) {
    if (old1 != rec.*size1 || old2 != rec.*size2) {
      if (!fill(L)) { on = false; mask.reset(); }
    }
  } else if (!switchOn && on) {
    mask.reset();
    on = false;
  }
}

void ApplyImageEffect(TlmLayer& L, bool& on, BitmapPtr& image, bool switchOn, bool (*fill)(TlmLayer&)) {
  if (switchOn) {
    on = fill(L);
    if (!on) image.reset();
  } else {
    image.reset();
    on = false;
  }
}

double SaneOpacity(double v) {
  if (!(v >= 0)) return 0;  // NaN and negatives
  return v > 1 ? 1 : v;
}

}  // namespace

class StyleLoader {
 public:
  static bool Load(TlmImageVcl& img, int index, std::string_view bytes) {
    if (index < 0 || index >= img.LayersCount()) return false;
    TlmLayer& L = img.Layer(index);
    // Start from the layer's records: short records and absent blocks keep what it held.
    StyleFile s;
    s.dropShadow = L.DropShadow; s.innerShadow = L.InnerShadow;
    s.innerGlow = L.InnerGlow; s.outerGlow = L.OuterGlow;
    s.bevel = L.Bevel; s.stroke = L.Stroke; s.colorOverlay = L.ColorOverlay;
    std::memcpy(s.spare, L.Spare, sizeof(s.spare));
    s.gradientOverlay = L.GradientOverlay; s.strokeGradient = L.StrokeGradient; s.pattern = L.PatternOverlay;
    switch (ParseStyleFile(bytes, s)) {
      case StyleParse::NotAStyleFile:
      case StyleParse::Malformed:
        return false;
      case StyleParse::VersionTooNew:
        platform::CurrentDialogs().MessageBox(kStyleTooNewText, kStyleTooNewCaption, platform::MsgIcon::Error);
        return false;
      case StyleParse::Ok:
        break;
    }
    // The pattern is decoded before anything changes: bytes that are not a bitmap refuse the file.
    BitmapPtr pattern;
    if (s.version >= 0x0101 && s.patternOn) {
      pattern = DecodeBmpStream(s.patternBytes);
      if (!pattern) return false;
    }
    img.canReDraw_ = false;
    L.Opacity = SaneOpacity(s.opacity);
    L.BlendMode = s.blendMode;
    L.EffectsKeepOpacity = s.effectsKeepOpacity != 0;
    ApplyMaskEffect(L, L.DropShadowOn, L.DropShadowMask, L.DropShadow, s.dropShadow, s.dropShadowOn != 0,
                    &TShadowStyle::spread, &TShadowStyle::size, FillDropShadowMask);
    ApplyMaskEffect(L, L.InnerShadowOn, L.InnerShadowMask, L.InnerShadow, s.innerShadow, s.innerShadowOn != 0,
                    &TShadowStyle::spread, &TShadowStyle::size, FillInnerShadowMask);
    ApplyMaskEffect(L, L.InnerGlowOn, L.InnerGlowMask, L.InnerGlow, s.innerGlow, s.innerGlowOn != 0,
                    &TGlowStyle::spread, &TGlowStyle::size, FillInnerGlowMask);
    ApplyMaskEffect(L, L.OuterGlowOn, L.OuterGlowMask, L.OuterGlow, s.outerGlow, s.outerGlowOn != 0,
                    &TGlowStyle::spread, &TGlowStyle::size, FillOuterGlowMask);
    ApplyMaskEffect(L, L.BevelOn, L.BevelMask, L.Bevel, s.bevel, s.bevelOn != 0,
                    &TBevelStyle::size, &TBevelStyle::choke, FillBevelMask);
    ApplyMaskEffect(L, L.StrokeOn, L.StrokeMask, L.Stroke, s.stroke, s.strokeOn != 0,
                    &TStrokeStyle::size, &TStrokeStyle::softness, FillStrokeMask);
    L.ColorOverlay = s.colorOverlay;
    L.ColorOverlayOn = s.colorOverlayOn != 0;
    if (s.version >= 0x0101) {
      std::memcpy(L.Spare, s.spare, sizeof(L.Spare));
      L.GradientOverlay = s.gradientOverlay;
      ApplyImageEffect(L, L.GradientOverlayOn, L.GradientOverlayImage, s.gradientOverlayOn != 0,
                       FillGradientOverlayImage);
      L.PatternOverlay = s.pattern;
      if (s.patternOn) {
        L.PatternImage = std::move(pattern);
        L.PatternOverlayOn = true;
      } else {
        L.PatternImage.reset();
        L.PatternOverlayOn = false;
      }
    } else {
      // Effects the version does not carry are removed.
      L.GradientOverlayImage.reset(); L.GradientOverlayOn = false;
      L.PatternImage.reset(); L.PatternOverlayOn = false;
    }
    if (s.version >= 0x0102) {
      L.StrokeGradient = s.strokeGradient;
      ApplyImageEffect(L, L.StrokeGradientOn, L.StrokeGradientImage, s.strokeGradientOn != 0,
                       FillStrokeGradientImage);
    } else {
      L.StrokeGradientImage.reset(); L.StrokeGradientOn = false;
    }
    img.canReDraw_ = true;
    return true;
  }
};

bool TlmImageVcl::LoadLayerStyle(int index, const std::string& fileName) {
  if (index < 0 || index >= LayersCount()) return false;
  auto bytes = platform::files::ReadFile(fileName);
  return bytes && StyleLoader::Load(*this, index, *bytes);
}

bool TlmImageVcl::LoadLayerStyleBytes(int index, std::string_view bytes) {
  return StyleLoader::Load(*this, index, bytes);
}

}  // namespace imaging
