#include "flashwizard/title_image.h"

#include <utility>

#include "flashwizard/flash_project.h"
#include "imaging/layered_image.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace flashwizard {

int FontSizeFromText(const std::string& text) {
  static const std::pair<const char*, int> kNames[] = {
      {"初号", 56}, {"小初", 48}, {"一号", 35}, {"小一", 32}, {"二号", 29}, {"小二", 24},
      {"三号", 21}, {"小三", 20}, {"四号", 19}, {"小四", 16}, {"五号", 14}, {"小五", 12},
      {"六号", 10}, {"小六", 9},  {"七号", 7},  {"八号", 7}};
  for (const auto& [name, height] : kNames)
    if (text == name) return -height;
  int points = 0;
  if (platform::TryStrToInt(platform::Trim(text), points) && points != 0) return points;
  return -12;
}

std::string StyleFileFor(const std::string& effectName) {
  const std::string prog = platform::paths::ProgramFolder();
  std::string file = effectName == "不添加任何文字特效" ? prog + "null.style"
                                                        : prog + "文字特效\\" + effectName + ".style";
  return platform::files::FileExists(file) ? file : std::string();
}

std::unique_ptr<platform::Bitmap> RenderTitleImage(const FlashSettings& s) {
  constexpr int kPreviewWidth = 761, kPreviewHeight = 65;
  auto back = platform::Bitmap::Create(kPreviewWidth, kPreviewHeight, platform::PixelFormat::Bgr24);
  if (!back) return nullptr;
  back->Fill(platform::kClBtnFace);
  imaging::TlmImageVcl image;
  if (!image.NewImageFromBitmap(*back)) return nullptr;
  imaging::TTextLayerInfo info;
  info.SetText(s.Title);
  info.SetFontName(s.TitFontName);
  info.color = s.TitFontColor;
  info.size = FontSizeFromText(s.TitFontSize);
  info.bold = s.TitFontBold;
  info.italic = s.TitFontItalic;
  info.underline = s.TitFontUnderline;
  info.strikeOut = s.TitFontStrikeOut;
  info.smoothing = 3;
  if (!image.AddTextLayer(0, 0, info) || !image.RenderTextLayer(1)) return nullptr;
  std::string style = StyleFileFor(s.TitStyle);
  if (!style.empty()) image.LoadLayerStyle(1, style);
  image.RebuildAllEffects(1);
  imaging::TlmLayer& layer = image.Layer(1);
  layer.Left = (kPreviewWidth - layer.Width()) / 2;
  layer.Top = (kPreviewHeight - layer.Height()) / 2;
  image.Layer(0).Visible = false;
  image.RedrawImage();
  imaging::BitmapPtr out;
  if (!image.ExportImage(out)) return nullptr;
  return out;
}

}  // namespace flashwizard
