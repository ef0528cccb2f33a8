#include "flashwizard/title_image.h"

#include <utility>

#include "flashwizard/flash_project.h"
#include "imaging/layered_image.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/user_folders.h"

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

namespace {

// A GBK substring search that only matches at character starts.
bool ContainsText(const std::string& text, const std::string& part) {
  for (size_t i = 0; i + part.size() <= text.size();
       i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
    if (text.compare(i, part.size(), part) == 0) return true;
  return false;
}

}  // namespace

std::string ImageProgramPath() {
  return platform::registry::ReadString(platform::registry::Hive::CurrentUser,
                                        "Software\\Pavo图像处理系统\\Path", "AppEXE")
      .value_or(std::string());
}

std::string ImageProgramFolder() {
  std::string exe = ImageProgramPath();
  return exe.empty() ? std::string() : platform::paths::ExtractFilePath(exe);
}

std::vector<std::string> TextEffectEntries() {
  std::vector<std::string> out{kNoTextEffect};
  auto addFrom = [&](const std::string& folder, bool onlyText) {
    if (folder.empty() || !platform::files::FolderExists(folder)) return;
    for (const std::string& name : platform::files::ListFiles(folder, {".style"})) {
      if (onlyText && !ContainsText(name, "文字")) continue;
      out.push_back(platform::paths::ChangeFileExt(name, ""));
    }
  };
  // The user's effects and the shipped ones, each name once.
  for (const std::string& name : platform::user_folders::ListFiles("文字特效\\", {".style"})) {
    out.push_back(platform::paths::ChangeFileExt(name, ""));
  }
  const std::string imageProgram = ImageProgramFolder();
  if (!imageProgram.empty()) addFrom(imageProgram + "LayerStyle\\", true);
  out.push_back(kOtherStyleFile);
  return out;
}

std::string StyleFileFor(const std::string& effectName) {
  const std::string prog = platform::paths::ProgramFolder();
  if (effectName == kNoTextEffect) {
    std::string file = prog + "null.style";
    return platform::files::FileExists(file) ? file : std::string();
  }
  if (effectName.empty() || effectName == kOtherStyleFile) return std::string();
  std::string file = platform::user_folders::Find("文字特效\\", effectName + ".style");
  if (platform::files::FileExists(file)) return file;
  const std::string imageProgram = ImageProgramFolder();
  if (imageProgram.empty()) return std::string();
  file = imageProgram + "LayerStyle\\" + effectName + ".style";
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
