#pragma once
// The interactive card as a player shows it: the card window's settings and the elements of
// every kind, read from the settings text of a card file. Media files are named by their media
// id (the [File<id>] piece of the card); paths are kept as the author's design held them, for
// action files that were not packed (executables, addresses) and for the files' extensions.
#include <string>
#include <vector>

#include "maker/packaging/card_reader.h"
#include "platform/color.h"
#include "platform/font_spec.h"

namespace player {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// A packed file: its media id (-1 when not packed) and the path the design named.
struct MediaRef {
  int id = -1;
  std::string path;
  bool Packed() const { return id >= 0; }
  bool operator==(const MediaRef&) const = default;
};

// The click behaviour that labels, buttons, images and GIFs share.
struct ClickSetting {
  std::string cmd;     // the action text ("" or "无操作": nothing)
  MediaRef value1;     // setting value 1 (Pic) with its packed file (PicUrl)
  std::string text;    // setting value 2, CR LF between lines
  int wav = 0;         // Tag of the sound played on click; 0 none
};

struct ElementBase {
  int tag = 0;
  Rect rect;
  int ind = 0;         // stacking: higher lies in front
  std::string hint;
  int cursor = 0;      // 0 default, 1 hand, 2 cross
};

struct LabelModel : ElementBase {
  std::string caption;  // CR LF between lines
  platform::FontSpec font;
  ClickSetting click;
};
struct ButtonModel : ElementBase {
  std::string caption;
  platform::FontSpec font;
  ClickSetting click;
};
struct PictureModel : ElementBase {  // images and GIF animations
  MediaRef file;
  bool autoSize = false;  // natural size, not stretched
  ClickSetting click;
};
struct WavModel {
  int tag = 0;
  MediaRef file;
};
struct FlashModel {
  int tag = 0;
  int ind = 0;
  Rect rect;
  MediaRef file;
};
struct CaptionModel {
  int tag = 0;
  int ind = 0;
  Rect rect;
  bool transparent = false;
  int interval = 100;   // SD: ms between scroll steps
  std::string text;     // CR LF between lines
  platform::FontSpec font;
  platform::Color bkColor = 0;
  int way = 0;
  MediaRef picture;     // background picture (PicID)
};
struct PicsBoxModel {
  bool present = false;
  std::string hint;
  int cursor = 0;
  platform::Color bkColor = 0;
  int intervalSeconds = 5;
  bool randomOrder = false;
  bool clickShowsNext = false;
  Rect rect;
  int effectId = 0;
  std::vector<int> pictures;  // media ids in show order
};

struct WindowModel {
  std::string title = "互动型贺卡";
  int width = 0, height = 0;
  platform::Color bkColor = platform::kClWhite;
  bool showTitleBar = false;
  MediaRef background;   // BkPic: media 0 when used
  int backgroundLayout = 0;  // 0 tile, 1 stretch, 2 centre
  MediaRef mask;         // YxPic
  MediaRef music;
  int onLoad = 0;        // 0 nothing, 1 open the setting value, 2 show it as a message
  std::string onLoadSet;
  int onClose = 0;
  std::string onCloseSet;
  int startPosition = 0, endPosition = 0;  // 0 random, 1..9 as the position list
  bool lockCentre = false;
  bool loopMove = false;
  int moveIntervalMs = 100;
};

struct CardModel {
  WindowModel window;
  std::vector<LabelModel> labels;
  std::vector<ButtonModel> buttons;
  std::vector<PictureModel> images;
  std::vector<PictureModel> gifs;
  std::vector<WavModel> wavs;
  std::vector<FlashModel> flashes;
  std::vector<CaptionModel> captions;
  PicsBoxModel picsBox;
  std::string makeTime;
  int mediaCount = 0;
};

// Reads the model from an interactive card. A value that should be a number and is not,
// a count outside 0..160, a missing element section or a media id that names no packed
// file raises packaging::CardFormatError whose text names the section and key
// ("贺卡文件已损坏：[Button2] 的 Left 值 “abc” 不是整数。"). Absent keys take the design
// file's defaults.
CardModel ReadCardModel(const packaging::CardReader& card);

// The movement speed as the card stores it: decimal milliseconds per step; empty or
// unreadable gives 100, 0 gives 10 (as the designer applies the field).
int MoveSpeedMs(const std::string& text);

}  // namespace player
