#pragma once
// The Flash card wizard's rules that do not need a window: the command line, the tile rule,
// the grab handle arithmetic, scene deletion, layer stacking, the temporary decoration file
// names, times as seconds, and the lists the wizard's boxes show.
#include <string>
#include <vector>

#include "platform/color.h"

namespace flashwizard {
class FlashProject;
}

namespace flashwizard::ui {

// Every argument joined without separators; one leading and one trailing double quote removed.
std::string TemplateNameFromArgs(const std::vector<std::string>& args);

// "平铺背景图" is ticked for a picture at most half the movie's width or at most half its height.
bool ShouldTileBackground(int pictureWidth, int pictureHeight, int movieWidth, int movieHeight);

// A rectangle whose width and height may be negative while a handle is dragged.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Box&) const = default;
};

constexpr int kHandleSize = 8;
// Handles 1 top-left, 2 top-right, 3 bottom-right, 4 bottom-left, 5 top, 6 right, 7 bottom,
// 8 left: the top-left corner of handle n's 8 x 8 square, centred on the object's frame.
void HandleCorner(const Box& object, int handle, int& x, int& y);
// The object's frame while handle n is dragged with its centre at (cx, cy). Corners keep the
// picture's aspect ratio (height from width); edges change one side.
Box ResizeByHandle(const Box& object, int handle, int cx, int cy, int pictureWidth, int pictureHeight);
// On release: a negative width becomes positive with the left moved left by it; the same for
// the height.
Box NormalizeBox(const Box& box);

// Deletes the scene at index: its live objects are deleted, later scenes move one place down
// with their objects' SceneID. Answers the row to select afterwards (the same position, the
// first row when the last one was deleted, -1 when none is left); -1 and nothing changed for
// an index out of range.
int DeleteScene(FlashProject& project, int index);

// The table indices of the live objects in stacking order, bottom first: layer 0 to 9, each in
// table order.
std::vector<int> StackingOrder(const FlashProject& project);

// The temporary folder + "~文字" + n + ".bmp" for the smallest n (0..100000) whose file does
// not exist; n = 0 when all do.
std::string DecorationFileName(const std::string& tempFolder);

// Milliseconds as the settings boxes show seconds: 1500 -> "1.5", 30000 -> "30".
std::string SecondsText(int milliseconds);
// A seconds box's text as milliseconds, round(value x 1000); ConvertError when not a number.
int MillisecondsFromText(const std::string& text);

// The size list: 1..maxNumber, then the sixteen size names.
std::vector<std::string> SizeEntries(int maxNumber);

// The colour boxes' colours with their English names, as the framework's colour box lists
// them (standard, extended, then the system colours), and the Chinese name an English colour name takes (the name itself when unknown).
struct NamedColor {
  const char* english;
  platform::Color color;
};
const std::vector<NamedColor>& ColorBoxColors();
std::string ChineseColorName(const std::string& english);

// Scene and object effect names, index = stored value.
const std::vector<std::string>& SceneAppearEffects();
const std::vector<std::string>& SceneDisappearEffects();
const std::vector<std::string>& ObjectAppearEffects();
const std::vector<std::string>& ObjectDisappearEffects();

}  // namespace flashwizard::ui

namespace flashwizard::ui {

// Font list entries: the installed families longer than one character and not starting
// with "@".
std::vector<std::string> FontListEntries(const std::vector<std::string>& families);

}  // namespace flashwizard::ui
