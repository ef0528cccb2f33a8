#include "imaging/text_effect.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/image_crop.h"

namespace imaging {

namespace {

struct SizeName {
  const char* name;
  int height;
};

const SizeName kSizeNames[] = {
    {"初号", 56}, {"小初", 48}, {"一号", 35}, {"小一", 32}, {"二号", 29}, {"小二", 24}, {"三号", 21}, {"小三", 20},
    {"四号", 19}, {"小四", 16}, {"五号", 14}, {"小五", 12}, {"六号", 10}, {"小六", 9},  {"七号", 7},  {"八号", 7}};

// How far any effect mask of the layer reaches beyond the layer's rectangle.
int EffectReach(const TlmLayer& L) {
  int reach = 0;
  auto grow = [&](const BitmapPtr& mask, int ox, int oy) {
    if (!mask) return;
    reach = std::max({reach, -ox, -oy, ox + mask->Width() - L.Width(), oy + mask->Height() - L.Height()});
  };
  grow(L.DropShadowMask, L.DropShadow.originX, L.DropShadow.originY);
  grow(L.OuterGlowMask, L.OuterGlow.originX, L.OuterGlow.originY);
  grow(L.StrokeMask, L.Stroke.originX, L.Stroke.originY);
  grow(L.BevelMask, L.Bevel.highlightOriginX, L.Bevel.highlightOriginY);
  grow(L.BevelMask, L.Bevel.shadowOriginX, L.Bevel.shadowOriginY);
  return reach;
}

}  // namespace

int FontSizeFromText(const std::string& text) {
  for (const SizeName& s : kSizeNames)
    if (text == s.name) return -s.height;
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() < 9) {
    int v = std::atoi(text.c_str());
    if (v != 0) return v;
  }
  return -12;
}

BitmapPtr RenderTextEffect(const TextEffectRequest& request, bool* styleLoaded) {
  if (styleLoaded) *styleLoaded = false;
  TTextLayerInfo info = request.info;
  info.smoothing = 3;
  info.mode = 0;
  // First pass: how large the text and its effects are.
  int margin = 60, width = 0, height = 0;
  {
    TlmImageVcl probe;
    auto bg = platform::Bitmap::Create(10, 10, platform::PixelFormat::Bgr24);
    if (!probe.NewImageFromBitmap(*bg) || !probe.AddTextLayer(0, 0, info)) return nullptr;
    if (!request.styleFile.empty()) probe.LoadLayerStyle(1, request.styleFile);
    probe.RebuildAllEffects(1);
    width = probe.Layer(1).Width();
    height = probe.Layer(1).Height();
    margin = std::max(margin, EffectReach(probe.Layer(1)) + 2);
  }
  // The picture: the text layer on a button-face background that is hidden before the export.
  TlmImageVcl img;
  auto bg = platform::Bitmap::Create(width + 2 * margin, height + 2 * margin, platform::PixelFormat::Bgr24);
  if (!bg) return nullptr;
  bg->Fill(platform::kClBtnFace);
  if (!img.NewImageFromBitmap(*bg) || !img.AddTextLayer(0, 0, info)) return nullptr;
  if (!request.styleFile.empty()) {
    bool ok = img.LoadLayerStyle(1, request.styleFile);
    if (styleLoaded) *styleLoaded = ok;
  }
  img.RebuildAllEffects(1);
  img.Layer(1).Left = margin;
  img.Layer(1).Top = margin;
  img.RedrawImage();
  img.Layer(0).Visible = false;
  BitmapPtr out;
  if (!img.ExportImage(out)) return nullptr;
  return CropToOpaque(*out);
}

}  // namespace imaging
