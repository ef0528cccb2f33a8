#pragma once
// The card title as the wizard's title preview draws it: a text layer with the chosen font,
// size, colour, styles and text effect over a 761 x 65 preview, exported with alpha.
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace flashwizard {

struct FlashSettings;

// A size box text as a font size: the Chinese size names as character heights (negative,
// pixels), other numbers as points, anything else (or 0) as 12 pixels high.
int FontSizeFromText(const std::string& text);

// The folder of the image program registered under HKEY_CURRENT_USER
// "Software\Pavo图像处理系统\Path", value "AppEXE", with its trailing separator; empty when
// it is not registered.
std::string ImageProgramPath();
std::string ImageProgramFolder();

// The first and last entries of a text effect list.
inline constexpr const char* kNoTextEffect = "不添加任何文字特效";
inline constexpr const char* kOtherStyleFile = "从其它Pavo图层样式文件中调入效果...";

// The text effect list: kNoTextEffect, the program folder's "文字特效\*.style", the image
// program's "LayerStyle\*文字*.style" (names without folder and extension), kOtherStyleFile.
std::vector<std::string> TextEffectEntries();

// The style file of an effect list entry: kNoTextEffect is the program folder's "null.style"
// when it exists; others are the program folder's "文字特效\" + name + ".style", else the image
// program's "LayerStyle\" + name + ".style", when one exists. Empty when there is none.
std::string StyleFileFor(const std::string& effectName);

// The title preview's image with its background layer hidden; null when the title cannot
// be drawn.
std::unique_ptr<platform::Bitmap> RenderTitleImage(const FlashSettings& settings);

}  // namespace flashwizard
