#pragma once
// The property panels' field rules: which keys the numeric fields take, how a field is applied
// (Enter or leaving it), the caption speed slider, the picture show box list buttons and the
// effect list. Kept out of the widgets so they can be checked on their own.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"

namespace document {

enum class NumberField { Left, Top, Width, Height };

inline constexpr char kBackspace = 8;

// Position and size fields of elements: digits and Backspace; "-" also in Left and Top of
// every kind and, for buttons and scrolling captions, in Width and Height.
bool NumberFieldAccepts(ElementKind kind, NumberField field, char c);
// Card size, move speed and show box interval fields: digits and Backspace only.
bool DigitsFieldAccepts(char c);

// Applying a position or size field: a field that is empty after trimming blanks (scrolling
// captions: a field that is empty) gives `present` back; otherwise the text as an integer
// (platform::ConvertError for text like a lone "-", the element then keeps its rectangle).
int ApplyNumberField(ElementKind kind, std::string_view text, int present);

// The element's rectangle with one field set to value.
Rect WithField(const Rect& r, NumberField field, int value);
int FieldOf(const Rect& r, NumberField field);

// Caption speed slider: positions 0 … 599, interval 600 − position ms (599 is 1 ms).
inline constexpr int kSliderMax = 599;
int IntervalFromSlider(int position);
// The slider position for an interval; an interval outside 1 … 600 (hand-made files) is shown
// at the nearest end instead of a position the slider cannot take.
int SliderFromInterval(int intervalMs);

// "随机选择", then "效果 1" … "效果 196", entry 19 reading "效果 19 (渐变)".
std::vector<std::string> EffectChoices();

// The show box's "每隔:" field: the number as Inv when it converts, nothing otherwise.
std::optional<int> ParseInterval(std::string_view text);

// Picture list buttons. Each works on `list` with the selected index (−1 for none) and returns
// the index to select afterwards; with nothing selected it returns nullopt and `message` holds
// the box to show.
inline constexpr std::string_view kRemoveNothingMessage = "请首先选中要移除的图像。";
inline constexpr std::string_view kUpNothingMessage = "请首先选中要上移的图像。";
inline constexpr std::string_view kDownNothingMessage = "请首先选中要下移的图像。";
std::optional<int> RemovePicture(std::vector<std::string>& list, int selected, std::string& message);
std::optional<int> MovePictureUp(std::vector<std::string>& list, int selected, std::string& message);
std::optional<int> MovePictureDown(std::vector<std::string>& list, int selected, std::string& message);

}  // namespace document
