#pragma once
// The interactive card in memory: the card window's properties, the element tables of the
// eight kinds (each element = what its canvas control holds + its record), the counters,
// the selector list, the .crd3 flag, the media list and the canvas stacking order.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/element_kinds.h"
#include "platform/color.h"
#include "platform/font_spec.h"

namespace document {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// Window event actions (OnLoad, OnClose) and screen positions (SPos, EPos): list texts by index.
extern const std::vector<std::string> kWindowActions;   // "无操作", …
extern const std::vector<std::string> kScreenPositions; // "随机位置", …, "屏蔽正上方" (sic), …
extern const std::vector<std::string> kCursorNames;     // "默认形状", "手形", "十字形"
extern const std::vector<std::string> kScrollDirections;// "由下而上", "由上而下", "由右至左", "由左至右"

// The card window's own properties, with the initial values the designer holds before any
// design has been read.
struct CardWindow {
  std::string cardTitle = "互动型贺卡";
  int width = 520;
  int height = 390;
  platform::Color bkColor = platform::kClBtnFace;  // the canvas colour
  bool showTitbar = false;
  bool bkPic = false;
  std::string bkPicName;
  int bkPicSet = 0;  // 0 tile, 1 stretch, 2 centre
  bool yxPic = false;
  std::string yxPicName;
  std::string musicName;
  std::string icon;
  int onLoad = 0;
  std::string onLoadSet;
  int onClose = 0;
  std::string onCloseSet;
  int sPos = 0;
  int ePos = 0;
  bool suoScr = true;
  bool moveScr = false;
  std::string moveSD = "100";

  // SuoScr and MoveScr exclude each other: switching one on switches the other off.
  void SetSuoScr(bool on);
  void SetMoveScr(bool on);
  // The speed field as applied: empty becomes "100", "0" becomes "10".
  void ApplyMoveSpeed(std::string_view text);

  bool operator==(const CardWindow&) const = default;
};

// Records, fields in their stored order.
struct TlmTxtDat {
  std::string Hint, Pic, Cmd, Text;
  int Cursor = 0, Ind = 0, Wav = 0;
  bool operator==(const TlmTxtDat&) const = default;
};
struct TSpeeddat {
  std::string Hint, Text, Pic, Cmd;
  int Cursor = 0, Ind = 0, Wav = 0;
  bool operator==(const TSpeeddat&) const = default;
};
struct Tlmimagedat {  // images and GIF animations
  std::string Hint, Text, Pic, Filename, Cmd;
  int Cursor = 0, Ind = 0, Wav = 0;
  bool operator==(const Tlmimagedat&) const = default;
};
struct TlmwavDat {
  std::string Filename;
  bool operator==(const TlmwavDat&) const = default;
};
struct TlmFlashDat {
  std::string Filename;
  int Ind = 0;
  bool operator==(const TlmFlashDat&) const = default;
};
struct TlmsclDat {
  std::string Pic, Text;
  platform::Color BKColor = 0;
  int Way = 0, Ind = 0;
  int scrollPos = 0;  // designer state, not stored
  platform::FontSpec Font;
  bool operator==(const TlmsclDat&) const = default;
};
struct TlmPicsDat {  // the picture show box's settings (one value per document)
  std::string Hint;
  int Cursor = 0;
  int Inv = 5;  // seconds between pictures
  std::vector<std::string> pictures;
  platform::Color BkCor = 0;
  bool Clk = false;
  bool operator==(const TlmPicsDat&) const = default;
};

// What an element's control on the design canvas holds. Fields a kind does not use stay
// at their defaults.
struct ElementControl {
  int tag = 0;
  std::string hint;            // the designer tooltip: the element's shown name
  Rect rect;
  std::string caption;         // labels, buttons
  platform::FontSpec font;     // labels, buttons
  std::string picture;         // images, GIFs: the file loaded (after the path rule)
  int naturalWidth = 0;        // images, GIFs: the picture's natural size
  int naturalHeight = 0;
  bool autoSize = false;       // images, GIFs: keep the natural size
  bool stretch = false;        // image-based controls: draw stretched to the rectangle
  bool transparent = false;    // labels (always), scrolling captions ("背景透明")
  int timerInterval = 0;       // scrolling captions: ms between scroll steps
  int timerTag = 0;            // scrolling captions: the timer's Tag
  bool operator==(const ElementControl&) const = default;
};

template <class Record>
struct Element {
  ElementControl control;
  Record rec;
  int Tag() const { return control.tag; }
  bool operator==(const Element&) const = default;
};

using LabelElement = Element<TlmTxtDat>;
using ButtonElement = Element<TSpeeddat>;
using ImageElement = Element<Tlmimagedat>;
using GifElement = Element<Tlmimagedat>;
using WavElement = Element<TlmwavDat>;
using FlashElement = Element<TlmFlashDat>;
using SclElement = Element<TlmsclDat>;

// The picture show box component's own state (the rest is in TlmPicsDat).
struct PicsBoxControl {
  Rect rect;
  bool randPic = false;
  int effectId = 0;  // 0 random, 1 … 196
  bool operator==(const PicsBoxControl&) const = default;
};

// Last Tag handed out per kind.
struct NumberingCounters {
  int label = 0, button = 0, image = 0, gif = 0, wav = 0, flash = 0, scl = 0;
  bool operator==(const NumberingCounters&) const = default;
};

class CardDocument {
 public:
  CardWindow window;

  // Element tables: positions 1 … count are entries 0 … count-1; always compact.
  std::vector<LabelElement> labels;
  std::vector<ButtonElement> buttons;
  std::vector<ImageElement> images;
  std::vector<GifElement> gifs;
  std::vector<WavElement> wavs;
  std::vector<FlashElement> flashes;
  std::vector<SclElement> scls;
  std::optional<PicsBoxControl> picsBox;  // the card has a picture show box
  TlmPicsDat picsDat;

  NumberingCounters numbering;
  int zorder = 0;  // last stacking value handed out

  // Element selector: entry 0 is "贺卡窗口", then shown names in creation order.
  std::vector<std::string> selector{std::string(kCardWindowEntry)};
  std::optional<ElementRef> selected;  // none: the card window is selected

  bool crd3 = false;                   // an action file ending in ".crd3" was entered
  std::vector<std::string> mediaList;  // lower-cased paths; index = media id

  // Element controls in the canvas's drawing order, bottom to top (the show box included).
  std::vector<ElementRef> stacking;

  // The designer window's font, given to new buttons.
  platform::FontSpec designerFont;

  int Count(ElementKind kind) const;  // 0/1 for the picture show box
  int& Counter(ElementKind kind);     // numbering counter (not for the show box)
  int Counter(ElementKind kind) const;

  // The control of an element by identity; nullptr when no element carries that Tag.
  ElementControl* FindControl(ElementRef ref);
  const ElementControl* FindControl(ElementRef ref) const;
  // The Ind of an element (0 for kinds without one or when absent).
  int IndOf(ElementRef ref) const;
  // Every element in table order, kinds in table order, then the show box.
  std::vector<ElementRef> AllElements() const;
};

// Shown name: kind prefix + Tag ("图像展示框" alone for the show box).
std::string ShownName(ElementKind kind, int tag);
inline std::string ShownName(ElementRef ref) { return ShownName(ref.kind, ref.tag); }

// Index lookup by Tag: 1-based position of the first element of the kind carrying the Tag,
// count + 1 when none does.
int GetlmtxtIndex(const CardDocument& doc, int tag);
int GetSpeedbuttonIndex(const CardDocument& doc, int tag);
int GetLmImageIndex(const CardDocument& doc, int tag);
int GETLMGIFINDEX(const CardDocument& doc, int tag);
int GetLmWavIndex(const CardDocument& doc, int tag);
int GetlmFlashIndex(const CardDocument& doc, int tag);
int getlmsclindex(const CardDocument& doc, int tag);
int IndexOfTag(const CardDocument& doc, ElementKind kind, int tag);

// Records the .crd3 flag when setting value 1 of a label, button, image or GIF is edited
// to a path whose lower-cased extension is ".crd3".
void NoteSettingValue1(CardDocument& doc, std::string_view value);

// A scrolling caption's text as the designer accepts it: at most 3000 characters.
inline constexpr int kMaxScrollText = 3000;
std::string LimitScrollText(std::string_view text);

}  // namespace document
