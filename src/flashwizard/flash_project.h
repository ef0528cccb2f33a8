#pragma once
// The Flash card project: the page-one settings, the scene table and the object table that
// the wizard edits and the builder turns into a movie, with the template file that saves it.
#include <array>
#include <functional>
#include <string>

#include "platform/color.h"

namespace flashwizard {

struct FlashSettings {
  std::string Title = "Lumo贺卡";
  bool UseTitle = false;
  std::string TitFontName = "隶书";
  std::string TitFontSize = "二号";
  platform::Color TitFontColor = platform::Rgb(255, 0, 0);
  bool TitFontBold = false, TitFontItalic = false, TitFontUnderline = false, TitFontStrikeOut = false;
  std::string TitStyle = "不添加任何文字特效";
  std::string BackPic;
  bool UseBackPic = false;
  platform::Color BackCor = platform::kClWhite;
  bool TileBack = false;
  int Width = 800, Height = 600;
  std::string BackMusic;
  bool UseMusic = false;
  bool UseJpeg = true;
  bool operator==(const FlashSettings&) const = default;
};

struct TpvFlashScene {
  std::string Name;
  std::string BackPic;
  platform::Color BackColor = platform::kClWhite;
  bool TileBack = false;
  bool StretchBack = false;
  int ShowEff = 0, HideEff = 0;  // 0 random, 1..35
  int ShowEffTime = 1000, HideEffTime = 1000, ShowTime = 30000;  // ms
  bool UseBackPic = false, UseBackColor = false;
  int Index = 0;
  bool operator==(const TpvFlashScene&) const = default;
};

struct TpvFlashImageObj {
  std::string Name;
  int SceneID = 0;
  // IsText marks a text decoration: its picture is a temporary file, which a saved template
  // keeps a copy of.
  bool IsText = false, IsGif = false;
  // The picture control: position and size on the scene canvas, in movie pixels, and the
  // size of the picture it shows.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int PictureWidth = 0, PictureHeight = 0;
  int StartShowTime = 0, HideTime = 30000;
  int ShowEff = 1, HideEff = 1;  // 0..9
  int ShowEffTime = 1500, HideEffTime = 1500;
  bool AlphaChange = true;
  int AlphaValue = 100;  // opacity, percent
  int LayerMode = 0;     // 0 normal, 1 screen
  int LayerID = 0;       // 0..9
  std::string File;
  bool Deleted = false;
  bool operator==(const TpvFlashImageObj&) const = default;
};

// What the template reader asks of the window it fills.
struct LoadHooks {
  std::function<bool(const std::string&)> fontListed;    // the font list holds this name
  std::function<bool(const std::string&)> effectListed;  // the effect list holds this name
  std::function<int(const std::string&)> musicLength;    // ms, 0 when it cannot be measured
};

class FlashProject {
 public:
  static constexpr int kSceneSlots = 32;
  static constexpr int kSceneLimit = 12;
  static constexpr int kMaxObjects = 256;

  FlashSettings Settings;
  std::array<TpvFlashScene, kSceneSlots> Scenes;
  int SceneCount = 0;
  std::array<TpvFlashImageObj, kMaxObjects> Objects;
  int ObjectCount = 0;      // slots in use, deleted ones included
  int MusicLength = 0;      // the last music length measured, ms

  // The settings as the window opens: the default background picture and effect when the
  // program folder has them, the title font when it is installed.
  static FlashSettings DefaultSettings(const LoadHooks& hooks);

  // Fills the lowest deleted slot (or appends) with the defaults for a picture file, sized
  // to the picture; -1 when the table is full (after a warning) or the picture cannot be read.
  int AddPicture(const std::string& file, int sceneIndex);
  void DelObj(int index);
  int LiveObjectCount() const;
  // AddPicture has a slot to fill: a deleted one, or room to append.
  bool HasFreeSlot() const;
  // The same project as a template would save it: settings, scenes and the live objects in
  // table order (which slots they occupy does not matter).
  bool SameContent(const FlashProject& other) const;

  // The template file: see flash_template.cpp. Saving also copies the pictures of the text
  // decorations beside the template (TemplateDecorationFile) and stores those copies.
  void SaveSet(const std::string& file) const;
  void LoadSet(const std::string& file, const LoadHooks& hooks = {});
};

// A path as a template stores it: relative to the program folder when both are on the same
// drive (first characters agree, both longer than one character), else unchanged.
std::string TemplatePath(const std::string& path, const std::string& programFolder);
// Where a template keeps the picture of its n-th text decoration: beside the template file,
// named after it ("春节.lmflash" -> "春节_文字0.bmp").
std::string TemplateDecorationFile(const std::string& templateFile, int n);

// A template path read back: as it is when that file exists, else the program folder + it
// when that exists, else unchanged (with found = false).
std::string ResolveTemplatePath(const std::string& value, const std::string& programFolder, bool* found = nullptr);

}  // namespace flashwizard
