#include "imaging/layered_image.h"

#include <algorithm>
#include <cstring>

#include "imaging/effect_painters.h"
#include "platform/paths.h"

namespace imaging {

namespace {

const char kBackgroundLayerName[] = "背景图层";
const char kTextLayerPrefix[] = "文本层 ";

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

void TlmLayer::Reset() {
  Bitmap.reset();
  Alpha.reset();
  DropShadowMask.reset(); InnerShadowMask.reset(); OuterGlowMask.reset(); InnerGlowMask.reset();
  BevelMask.reset(); StrokeMask.reset();
  GradientOverlayImage.reset(); StrokeGradientImage.reset(); PatternImage.reset();
  DropShadowOn = InnerShadowOn = OuterGlowOn = InnerGlowOn = BevelOn = ColorOverlayOn =
      GradientOverlayOn = PatternOverlayOn = StrokeOn = StrokeGradientOn = false;
}

TlmImageVcl::TlmImageVcl()
    : custom_(std::make_unique<CustomBlendTables>()),
      layers_(std::make_unique<std::array<TlmLayer, kMaxLayers>>()) {
  BuildBlendTables();
  custom_->LoadFromFolder(platform::paths::ProgramFolder());
}

TlmImageVcl::~TlmImageVcl() { ClearLayers(); }

bool TlmImageVcl::NewImageFromBitmap(const platform::Bitmap& source) {
  canReDraw_ = false;
  if (source.Empty()) return false;
  ClearLayers();
  imageWidth_ = source.Width();
  imageHeight_ = source.Height();
  backBmp_ = platform::Bitmap::Create(imageWidth_, imageHeight_, platform::PixelFormat::Indexed8);
  TlmLayer& bg = Layer(0);
  bg.Reset();
  bg.Bitmap = source.Format() == platform::PixelFormat::Bgr24 ? source.Clone()
                                                              : source.ConvertTo(platform::PixelFormat::Bgr24);
  bg.Alpha = platform::Bitmap::Create(imageWidth_, imageHeight_, platform::PixelFormat::Indexed8);
  showBmp_ = platform::Bitmap::Create(imageWidth_, imageHeight_, platform::PixelFormat::Bgr24);
  if (!backBmp_ || !bg.Bitmap || !bg.Alpha || !showBmp_) {
    ClearLayers();
    return false;
  }
  bg.Alpha->Fill(platform::Rgb(255, 255, 255));
  BackgroundColor = platform::kClWhite;
  layersCount_ = 1;
  bg.Name = kBackgroundLayerName;
  bg.Left = bg.Top = 0;
  bg.Opacity = 1.0;
  bg.BlendMode = 0;
  bg.Visible = true;
  bg.EffectsKeepOpacity = false;
  ZoomValue = 1.0;
  if (AutoSize) {
    ControlWidth = imageWidth_;
    ControlHeight = imageHeight_;
  }
  RedrawImage();
  canReDraw_ = true;
  return true;
}

bool TlmImageVcl::AddTextLayer(int left, int top, const TTextLayerInfo& info) {
  if (layersCount_ >= kMaxLayers) return false;  // the 258th layer is refused
  canReDraw_ = false;
  const int n = layersCount_;
  layersCount_ = n + 1;
  CurrLayerID = n;
  TlmLayer& L = Layer(n);
  L.Reset();
  L.Left = left;
  L.Top = top;
  L.Opacity = 1.0;
  L.BlendMode = 0;
  L.Text = info;
  L.Visible = true;
  L.EffectsKeepOpacity = false;
  L.Bitmap = platform::Bitmap::Create(10, 10, platform::PixelFormat::Bgr24);
  L.Alpha = platform::Bitmap::Create(10, 10, platform::PixelFormat::Indexed8);
  L.Name = kTextLayerPrefix + std::to_string(n);
  bool ok = L.Bitmap && L.Alpha;
  if (ok) ok = RenderTextLayer(n);
  // The first free number among the layers below, counted in order.
  int k = 1;
  for (int i = 0; i < n; ++i) {
    if (Layer(i).Name == kTextLayerPrefix + std::to_string(k)) ++k;
  }
  L.Name = kTextLayerPrefix + std::to_string(k);
  const std::string text = info.Text();
  if (text.size() <= 16) L.Name = TrimBlanks(text);
  canReDraw_ = true;
  return ok;
}

// --- rebuilds ------------------------------------------------------------------------------

namespace {

template <class Fill>
bool Rebuild(TlmImageVcl& img, int index, bool TlmLayer::*on, Fill fill) {
  if (index < 0 || index >= img.LayersCount()) return false;
  TlmLayer& L = img.Layer(index);
  if (!(L.*on)) return true;
  return fill(L);
}

}  // namespace

bool TlmImageVcl::RebuildDropShadow(int i) { return Rebuild(*this, i, &TlmLayer::DropShadowOn, FillDropShadowMask); }
bool TlmImageVcl::RebuildInnerShadow(int i) { return Rebuild(*this, i, &TlmLayer::InnerShadowOn, FillInnerShadowMask); }
bool TlmImageVcl::RebuildInnerGlow(int i) { return Rebuild(*this, i, &TlmLayer::InnerGlowOn, FillInnerGlowMask); }
bool TlmImageVcl::RebuildOuterGlow(int i) { return Rebuild(*this, i, &TlmLayer::OuterGlowOn, FillOuterGlowMask); }
bool TlmImageVcl::RebuildBevel(int i) { return Rebuild(*this, i, &TlmLayer::BevelOn, FillBevelMask); }
bool TlmImageVcl::RebuildStroke(int i) { return Rebuild(*this, i, &TlmLayer::StrokeOn, FillStrokeMask); }
bool TlmImageVcl::RebuildGradientOverlay(int i) {
  return Rebuild(*this, i, &TlmLayer::GradientOverlayOn, FillGradientOverlayImage);
}
bool TlmImageVcl::RebuildStrokeGradient(int i) {
  return Rebuild(*this, i, &TlmLayer::StrokeGradientOn, FillStrokeGradientImage);
}

bool TlmImageVcl::RebuildAllEffects(int i) {
  bool ok = RebuildDropShadow(i);
  ok = RebuildInnerShadow(i) && ok;
  ok = RebuildInnerGlow(i) && ok;
  ok = RebuildOuterGlow(i) && ok;
  ok = RebuildBevel(i) && ok;
  ok = RebuildStroke(i) && ok;
  ok = RebuildGradientOverlay(i) && ok;
  ok = RebuildStrokeGradient(i) && ok;
  return ok;
}

// --- composition ---------------------------------------------------------------------------

namespace {

// The layer's own pixels. Display: strength = a / 255 * Opacity. Export: the alpha records the
// real coverage while a pixel over a still transparent target takes the layer colour fully.
void DrawLayerPixels(const TlmLayer& L, DrawTarget& t) {
  if (!L.Bitmap || !L.Alpha || L.Bitmap->Format() != platform::PixelFormat::Bgr24 ||
      L.Bitmap->Width() != L.Alpha->Width() || L.Bitmap->Height() != L.Alpha->Height())
    return;
  const int W = t.bmp.Width(), H = t.bmp.Height(), bpp = t.Bpp();
  const int x0 = std::max(L.Left, 0), x1 = std::min(L.Left + L.Width(), W);
  const int y0 = std::max(L.Top, 0), y1 = std::min(L.Top + L.Height(), H);
  const double op = L.Opacity;
  for (int y = y0; y < y1; ++y) {
    const uint8_t* arow = L.Alpha->Row(y - L.Top);
    const uint8_t* crow = L.Bitmap->Row(y - L.Top);
    uint8_t* trow = t.bmp.Row(y);
    for (int x = x0; x < x1; ++x) {
      const int lx = x - L.Left, a = arow[lx];
      if (a == 0) continue;
      uint8_t* p = trow + x * bpp;
      const uint32_t c = PixelSourceColor(crow + lx * 3);
      if (!t.exportAlpha) {
        BlendPixel(p, L.BlendMode, static_cast<float>(a / 255.0 * op), c, t.custom);
        continue;
      }
      const int A = p[3];
      const double q = op * a / 255.0;
      const double w = (a + A == 0) ? 0.0 : static_cast<double>(a) / (a + A) * (1.0 - A / 255.0);
      p[3] = static_cast<uint8_t>(std::min(255, RoundInt((1.0 - q) * A + q * 255.0)));
      BlendPixel(p, L.BlendMode, static_cast<float>(q + (1.0 - q) * w), c, t.custom);
    }
  }
}

}  // namespace

bool TlmImageVcl::ComposeInto(platform::Bitmap& target, bool exportAlpha) const {
  DrawTarget t{target, exportAlpha, custom_.get()};
  for (int i = 0; i < layersCount_; ++i) {
    const TlmLayer& L = Layer(i);
    if (!L.Visible || (L.Opacity == 0 && !L.EffectsKeepOpacity)) continue;
    // Under the layer. A failing effect is skipped; the composition goes on.
    DrawDropShadow(L, t);
    DrawOuterGlow(L, t);
    DrawStrokeUnder(L, t);
    DrawBevelUnder(L, t);
    // The layer itself.
    if (L.Opacity != 0) DrawLayerPixels(L, t);
    // Over the layer.
    DrawColorOverlay(L, t);
    DrawGradientOverlay(L, t);
    DrawPatternOverlay(L, t);
    DrawInnerShadow(L, t);
    DrawInnerGlow(L, t);
    DrawStrokeOver(L, t);
    DrawBevelOver(L, t);
  }
  return true;
}

bool TlmImageVcl::ComposeLayers(platform::Bitmap& target) const {
  if (target.Format() != platform::PixelFormat::Bgr24 || target.Width() != imageWidth_ ||
      target.Height() != imageHeight_)
    return false;
  target.Fill(BackgroundColor);
  return ComposeInto(target, false);
}

bool TlmImageVcl::RedrawImage() {
  if (!showBmp_) return false;
  return ComposeLayers(*showBmp_);
}

bool TlmImageVcl::ExportImage(BitmapPtr& bitmap) const {
  if (imageWidth_ <= 0 || imageHeight_ <= 0) return false;
  auto out = platform::Bitmap::Create(imageWidth_, imageHeight_, platform::PixelFormat::Bgra32);
  if (!out) return false;
  out->Fill(BackgroundColor, 0);
  if (!ComposeInto(*out, true)) return false;
  bitmap = std::move(out);
  return true;
}

void TlmImageVcl::ClearLayers() {
  const bool had = layersCount_ > 0;
  for (int i = 0; i < kMaxLayers; ++i) Layer(i).Reset();
  if (had) {
    showBmp_.reset();
    backBmp_.reset();
  }
  layersCount_ = 0;
  canReDraw_ = false;
}

}  // namespace imaging
