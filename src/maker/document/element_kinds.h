#pragma once
// The eight element kinds of an interactive card, with their shown-name prefixes, design file
// section prefixes and table capacities.
#include <array>
#include <string_view>

namespace document {

enum class ElementKind { Label, Button, Image, Gif, Wav, Flash, Scl, Pics };

// The seven kinds that live in tables of 160 (the picture show box is a single value).
inline constexpr std::array<ElementKind, 7> kTableKinds = {
    ElementKind::Label, ElementKind::Button, ElementKind::Image, ElementKind::Gif,
    ElementKind::Wav,   ElementKind::Flash,  ElementKind::Scl};

inline constexpr int kMaxElements = 160;  // table capacity of each kind except the show box

// Shown-name prefixes: the name of an element is its prefix followed by its Tag.
inline constexpr std::string_view kLabelPrefix = "文本框";
inline constexpr std::string_view kButtonPrefix = "浮动按钮";
inline constexpr std::string_view kImagePrefix = "图片";
inline constexpr std::string_view kGifPrefix = "GIF 动画";
inline constexpr std::string_view kWavPrefix = "声音";
inline constexpr std::string_view kFlashPrefix = "Flash电影";
inline constexpr std::string_view kSclPrefix = "滚动字幕";
inline constexpr std::string_view kPicsName = "图像展示框";   // the whole name, no Tag
inline constexpr std::string_view kCardWindowEntry = "贺卡窗口";  // selector entry 0

constexpr std::string_view ShownPrefix(ElementKind k) {
  switch (k) {
    case ElementKind::Label: return kLabelPrefix;
    case ElementKind::Button: return kButtonPrefix;
    case ElementKind::Image: return kImagePrefix;
    case ElementKind::Gif: return kGifPrefix;
    case ElementKind::Wav: return kWavPrefix;
    case ElementKind::Flash: return kFlashPrefix;
    case ElementKind::Scl: return kSclPrefix;
    case ElementKind::Pics: return kPicsName;
  }
  return {};
}

// Section name prefixes of the design file ([Label1], [Gif3], [PicsBox]).
constexpr std::string_view SectionPrefix(ElementKind k) {
  switch (k) {
    case ElementKind::Label: return "Label";
    case ElementKind::Button: return "Button";
    case ElementKind::Image: return "Image";
    case ElementKind::Gif: return "Gif";
    case ElementKind::Wav: return "Wav";
    case ElementKind::Flash: return "Flash";
    case ElementKind::Scl: return "lmscl";
    case ElementKind::Pics: return "PicsBox";
  }
  return {};
}

constexpr int Capacity(ElementKind k) { return k == ElementKind::Pics ? 1 : kMaxElements; }

// Kinds that carry a stacking value Ind (sounds and the picture show box have none).
constexpr bool HasInd(ElementKind k) {
  return k != ElementKind::Wav && k != ElementKind::Pics;
}

// One element by identity: its kind and Tag (Tag 0 for the picture show box).
struct ElementRef {
  ElementKind kind = ElementKind::Label;
  int tag = 0;
  bool operator==(const ElementRef&) const = default;
};

}  // namespace document
