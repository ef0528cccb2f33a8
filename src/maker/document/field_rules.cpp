#include "maker/document/field_rules.h"

#include <utility>

#include "platform/text.h"

namespace document {

bool DigitsFieldAccepts(char c) { return (c >= '0' && c <= '9') || c == kBackspace; }

bool NumberFieldAccepts(ElementKind kind, NumberField field, char c) {
  if (DigitsFieldAccepts(c)) return true;
  if (c != '-') return false;
  if (field == NumberField::Left || field == NumberField::Top) return true;
  return kind == ElementKind::Button || kind == ElementKind::Scl;
}

int ApplyNumberField(ElementKind kind, std::string_view text, int present) {
  bool empty = kind == ElementKind::Scl ? text.empty() : platform::Trim(text).empty();
  if (empty) return present;
  return platform::StrToInt(text);
}

Rect WithField(const Rect& r, NumberField field, int value) {
  Rect out = r;
  switch (field) {
    case NumberField::Left: out.left = value; break;
    case NumberField::Top: out.top = value; break;
    case NumberField::Width: out.width = value; break;
    case NumberField::Height: out.height = value; break;
  }
  return out;
}

int FieldOf(const Rect& r, NumberField field) {
  switch (field) {
    case NumberField::Left: return r.left;
    case NumberField::Top: return r.top;
    case NumberField::Width: return r.width;
    case NumberField::Height: return r.height;
  }
  return 0;
}

int IntervalFromSlider(int position) { return 600 - position; }

int SliderFromInterval(int intervalMs) {
  int pos = 600 - intervalMs;
  if (pos < 0) return 0;
  if (pos > kSliderMax) return kSliderMax;
  return pos;
}

std::vector<std::string> EffectChoices() {
  std::vector<std::string> out{"随机选择"};
  for (int i = 1; i <= 196; ++i) {
    out.push_back(i == 19 ? std::string("效果 19 (渐变)") : "效果 " + platform::IntToStr(i));
  }
  return out;
}

std::optional<int> ParseInterval(std::string_view text) {
  int v = 0;
  if (!platform::TryStrToInt(text, v)) return std::nullopt;
  return v;
}

namespace {

bool Selected(const std::vector<std::string>& list, int selected) {
  return selected >= 0 && selected < static_cast<int>(list.size());
}

}  // namespace

std::optional<int> RemovePicture(std::vector<std::string>& list, int selected, std::string& message) {
  if (!Selected(list, selected)) {
    message = std::string(kRemoveNothingMessage);
    return std::nullopt;
  }
  list.erase(list.begin() + selected);
  // The selection stays at the same index (the last entry when the last one went).
  if (selected >= static_cast<int>(list.size())) selected = static_cast<int>(list.size()) - 1;
  return selected;
}

std::optional<int> MovePictureUp(std::vector<std::string>& list, int selected, std::string& message) {
  if (!Selected(list, selected)) {
    message = std::string(kUpNothingMessage);
    return std::nullopt;
  }
  if (selected == 0) return selected;
  std::swap(list[selected], list[selected - 1]);
  return selected - 1;
}

std::optional<int> MovePictureDown(std::vector<std::string>& list, int selected, std::string& message) {
  if (!Selected(list, selected)) {
    message = std::string(kDownNothingMessage);
    return std::nullopt;
  }
  if (selected + 1 >= static_cast<int>(list.size())) return selected;
  std::swap(list[selected], list[selected + 1]);
  return selected + 1;
}

}  // namespace document
