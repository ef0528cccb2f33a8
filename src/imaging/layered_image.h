#pragma once
// TlmImageVcl's core: a small layered image (a background layer and text layers over it), each
// layer with opacity, blend mode and layer style effects, composed in software into a 24-bit
// display image or exported as a 32-bit image with alpha. The paint box that shows it lives in
// the ui layer; this class holds the model and every pixel operation.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/blend_modes.h"
#include "imaging/layer_style.h"
#include "imaging/text_layer_info.h"
#include "platform/bitmap.h"
#include "platform/color.h"

namespace imaging {

using BitmapPtr = std::unique_ptr<platform::Bitmap>;

struct TlmLayer {
  std::string Name;
  BitmapPtr Bitmap;             // 24-bit colour of every layer pixel
  int Left = 0, Top = 0;        // image position of the top-left pixel; may be negative
  double Opacity = 0;           // 0..1
  uint8_t BlendMode = 0;
  TTextLayerInfo Text;
  bool Visible = false;
  BitmapPtr Alpha;              // 8-bit coverage, same size as Bitmap

  bool DropShadowOn = false, InnerShadowOn = false, OuterGlowOn = false, InnerGlowOn = false,
       BevelOn = false, ColorOverlayOn = false, GradientOverlayOn = false,
       PatternOverlayOn = false, StrokeOn = false, StrokeGradientOn = false;

  TShadowStyle DropShadow, InnerShadow;
  TGlowStyle OuterGlow, InnerGlow;
  TBevelStyle Bevel;
  uint8_t Spare[48] = {};
  TColorOverlayStyle ColorOverlay;
  TGradientFillStyle GradientOverlay, StrokeGradient;
  TPatternOverlayStyle PatternOverlay;
  TStrokeStyle Stroke;

  BitmapPtr DropShadowMask, InnerShadowMask, OuterGlowMask, InnerGlowMask, BevelMask, StrokeMask;
  BitmapPtr GradientOverlayImage, StrokeGradientImage;
  BitmapPtr PatternImage;       // 24-bit, or 32-bit when the loaded pattern had alpha

  bool EffectsKeepOpacity = false;

  int Width() const { return Alpha ? Alpha->Width() : 0; }
  int Height() const { return Alpha ? Alpha->Height() : 0; }
  // The effect strength of an opacity percent: /100, times Opacity unless EffectsKeepOpacity.
  double EffectStrength(int opacityPercent) const {
    return opacityPercent / 100.0 * (EffectsKeepOpacity ? 1.0 : Opacity);
  }
  // Frees every bitmap and cache and clears the switches.
  void Reset();
};

constexpr int kMaxLayers = 257;  // indices 0..256

class TlmImageVcl {
 public:
  TlmImageVcl();
  ~TlmImageVcl();
  TlmImageVcl(const TlmImageVcl&) = delete;
  TlmImageVcl& operator=(const TlmImageVcl&) = delete;

  // --- properties -------------------------------------------------------------------
  int LayersCount() const { return layersCount_; }
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }
  int CurrLayerID = 0;
  bool CanReDraw() const { return canReDraw_; }
  bool AutoSize = true;
  double ZoomValue = 1.0;
  platform::Color BackgroundColor = platform::kClWhite;
  // The control's size; AutoSize makes it follow the image.
  int ControlWidth = 0, ControlHeight = 0;

  TlmLayer& Layer(int i) { return (*layers_)[i]; }
  const TlmLayer& Layer(int i) const { return (*layers_)[i]; }
  const platform::Bitmap* ShowBmp() const { return showBmp_.get(); }
  const platform::Bitmap* BackBmp() const { return backBmp_.get(); }
  CustomBlendTables& BlendTables() { return *custom_; }
  const CustomBlendTables& BlendTables() const { return *custom_; }

  // --- operations, in the order the callers use them -----------------------------------
  bool NewImageFromBitmap(const platform::Bitmap& source);
  bool AddTextLayer(int left, int top, const TTextLayerInfo& info);
  bool RenderTextLayer(int index);
  bool LoadLayerStyle(int index, const std::string& fileName);
  // The same for a style file's bytes already in memory.
  bool LoadLayerStyleBytes(int index, std::string_view bytes);

  bool RebuildDropShadow(int index);
  bool RebuildInnerShadow(int index);
  bool RebuildInnerGlow(int index);
  bool RebuildOuterGlow(int index);
  bool RebuildBevel(int index);
  bool RebuildStroke(int index);
  bool RebuildGradientOverlay(int index);
  bool RebuildStrokeGradient(int index);
  // Every rebuild whose effect is on, in the callers' order.
  bool RebuildAllEffects(int index);

  bool RedrawImage();
  // Composes the visible layers into a 24-bit target of the image size.
  bool ComposeLayers(platform::Bitmap& target) const;
  // Composes the visible layers into a new 32-bit image with alpha.
  bool ExportImage(BitmapPtr& bitmap) const;
  void ClearLayers();

 private:
  bool ValidLayer(int index) const { return index >= 0 && index < layersCount_; }
  bool ComposeInto(platform::Bitmap& target, bool exportAlpha) const;
  friend class StyleLoader;

  int layersCount_ = 0;
  int imageWidth_ = 0, imageHeight_ = 0;
  bool canReDraw_ = false;
  BitmapPtr showBmp_, backBmp_;
  std::unique_ptr<CustomBlendTables> custom_;
  std::unique_ptr<std::array<TlmLayer, kMaxLayers>> layers_;
};

}  // namespace imaging
