#include "maker/document/element_lifecycle.h"

#include <algorithm>

#include "maker/document/path_rules.h"
#include "maker/document/picture_size.h"
#include "maker/document/stacking.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/text.h"

namespace document {

namespace {

template <class Rec>
constexpr bool kHasInd = requires(Rec r) { r.Ind; };

// Appends a new element with the next Tag (and Ind), puts its selector entry and its control
// on top, and returns it. Selection follows in the caller once the element is complete.
template <class T>
T& AppendElement(CardDocument& doc, std::vector<T>& table, ElementKind kind) {
  if (static_cast<int>(table.size()) >= kMaxElements) throw platform::Error(CapacityMessage(kind));
  int tag = ++doc.Counter(kind);
  T e;
  e.control.tag = tag;
  e.control.hint = ShownName(kind, tag);
  if constexpr (kHasInd<decltype(e.rec)>) e.rec.Ind = ++doc.zorder;
  table.push_back(std::move(e));
  doc.selector.push_back(ShownName(kind, tag));
  doc.stacking.push_back({kind, tag});
  return table.back();
}

platform::FontSpec DefaultElementFont() {
  platform::FontSpec f;  // "宋体" 9 point
  f.color = 0;
  return f;
}

void RemoveSelectorEntry(CardDocument& doc, const std::string& name) {
  for (size_t i = 1; i < doc.selector.size(); ++i) {
    if (doc.selector[i] == name) {
      doc.selector.erase(doc.selector.begin() + static_cast<long>(i));
      return;
    }
  }
}

// Removes the element with `tag`: the last element of the table moves into its position
// (its control keeps the gap's place in the drawing order), then the kind's restack runs.
template <class T>
std::vector<ElementRef> DeleteFrom(CardDocument& doc, std::vector<T>& table, ElementKind kind, int tag) {
  int n = static_cast<int>(table.size());
  int i = IndexOfTag(doc, kind, tag);
  if (i <= n) {
    int lastTag = table[n - 1].control.tag;
    auto& st = doc.stacking;
    auto gap = std::find(st.begin(), st.end(), ElementRef{kind, tag});
    if (i != n) {
      // The whole element moves, so no property of the moved element is lost.
      table[i - 1] = std::move(table[n - 1]);
      auto last = std::find(st.begin(), st.end(), ElementRef{kind, lastTag});
      if (gap != st.end()) *gap = {kind, lastTag};
      if (last != st.end()) st.erase(last);
    } else if (gap != st.end()) {
      st.erase(gap);
    }
    table.pop_back();
  }
  RemoveSelectorEntry(doc, ShownName(kind, tag));
  if (doc.selected == ElementRef{kind, tag}) doc.selected.reset();
  if (kind == ElementKind::Wav) return {};
  std::vector<ElementRef> order = FrontOrderAfterDelete(doc, kind);
  BringToFront(doc, order);
  return order;
}

void ResetPicsSettings(CardDocument& doc) {
  doc.picsDat.pictures.clear();
  doc.picsDat.Hint.clear();
  doc.picsDat.Cursor = 0;
  doc.picsDat.Inv = 5;
  doc.picsDat.BkCor = 0;
  doc.picsDat.Clk = false;
}

template <class T>
int Finish(CardDocument& doc, ElementKind kind, const T& e) {
  SelectElement(doc, {kind, e.control.tag});
  return e.control.tag;
}

}  // namespace

int CreatelmTxt(CardDocument& doc, std::string_view prefix) {
  LabelElement& e = AppendElement(doc, doc.labels, ElementKind::Label);
  e.control.rect = {0, 0, 120, 120};
  e.control.transparent = true;
  e.control.font = DefaultElementFont();
  e.control.caption = std::string(prefix) + platform::IntToStr(e.control.tag);
  return Finish(doc, ElementKind::Label, e);
}

int CreateSpeedbutton(CardDocument& doc, std::string_view prefix) {
  ButtonElement& e = AppendElement(doc, doc.buttons, ElementKind::Button);
  e.control.rect = {0, 0, 68, 20};
  e.control.font = doc.designerFont;
  e.control.caption = std::string(prefix) + platform::IntToStr(e.control.tag);
  return Finish(doc, ElementKind::Button, e);
}

namespace {

// Images and GIFs: the picture is measured before anything is counted, so a picture that
// cannot be loaded leaves the document as it was.
template <class T>
int CreatePictureElement(CardDocument& doc, std::vector<T>& table, ElementKind kind, std::string_view path) {
  if (static_cast<int>(table.size()) >= kMaxElements) throw platform::Error(CapacityMessage(kind));
  std::string file = ApplyImagePathRule(path);
  PictureSize size = MeasurePicture(file);
  T& e = AppendElement(doc, table, kind);
  e.control.picture = file;
  e.control.naturalWidth = size.width;
  e.control.naturalHeight = size.height;
  e.control.rect = {0, 0, size.width, size.height};
  e.control.stretch = true;
  e.rec.Filename = std::string(path);
  e.rec.Cursor = 0;
  return Finish(doc, kind, e);
}

}  // namespace

int CreateLmImage(CardDocument& doc, std::string_view path) {
  return CreatePictureElement(doc, doc.images, ElementKind::Image, path);
}

int CreateLmGif(CardDocument& doc, std::string_view path) {
  return CreatePictureElement(doc, doc.gifs, ElementKind::Gif, path);
}

int CreateWav(CardDocument& doc, std::string_view path) {
  WavElement& e = AppendElement(doc, doc.wavs, ElementKind::Wav);
  e.control.rect = {0, 0, 32, 32};
  e.control.stretch = true;
  e.rec.Filename = std::string(path);
  return Finish(doc, ElementKind::Wav, e);
}

int CreatelmFlash(CardDocument& doc, std::string_view path) {
  FlashElement& e = AppendElement(doc, doc.flashes, ElementKind::Flash);
  e.control.rect = {0, 0, 400, 300};
  e.control.stretch = true;
  e.rec.Filename = std::string(path);
  return Finish(doc, ElementKind::Flash, e);
}

int createlmscl(CardDocument& doc, std::string_view prefix) {
  SclElement& e = AppendElement(doc, doc.scls, ElementKind::Scl);
  e.control.rect = {0, 0, 200, 150};
  e.control.transparent = true;
  e.control.stretch = true;
  e.control.timerInterval = 100;
  e.control.timerTag = e.control.tag;
  e.rec.Font = DefaultElementFont();
  e.rec.BKColor = platform::Rgb(255, 255, 255);
  e.rec.Way = 0;
  e.rec.Text = std::string(prefix) + platform::IntToStr(e.control.tag);
  return Finish(doc, ElementKind::Scl, e);
}

void CreatePics(CardDocument& doc) {
  if (doc.picsBox) throw platform::Error(std::string(kOnePicsBoxMessage));
  doc.picsBox = PicsBoxControl{};
  doc.picsBox->rect = {0, 0, 400, 300};
  doc.picsBox->effectId = 0;
  doc.selector.push_back(std::string(kPicsName));
  doc.stacking.push_back({ElementKind::Pics, 0});
  SelectElement(doc, {ElementKind::Pics, 0});
}

std::vector<ElementRef> DellmTxt(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.labels, ElementKind::Label, tag); }
std::vector<ElementRef> DelSpeedbutton(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.buttons, ElementKind::Button, tag); }
std::vector<ElementRef> DelLmImage(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.images, ElementKind::Image, tag); }
std::vector<ElementRef> DelLmGif(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.gifs, ElementKind::Gif, tag); }
std::vector<ElementRef> DelLMWav(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.wavs, ElementKind::Wav, tag); }
std::vector<ElementRef> DellmFlash(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.flashes, ElementKind::Flash, tag); }
std::vector<ElementRef> DelLmScl(CardDocument& doc, int tag) { return DeleteFrom(doc, doc.scls, ElementKind::Scl, tag); }

std::vector<ElementRef> DeleteElement(CardDocument& doc, ElementRef ref) {
  switch (ref.kind) {
    case ElementKind::Label: return DellmTxt(doc, ref.tag);
    case ElementKind::Button: return DelSpeedbutton(doc, ref.tag);
    case ElementKind::Image: return DelLmImage(doc, ref.tag);
    case ElementKind::Gif: return DelLmGif(doc, ref.tag);
    case ElementKind::Wav: return DelLMWav(doc, ref.tag);
    case ElementKind::Flash: return DellmFlash(doc, ref.tag);
    case ElementKind::Scl: return DelLmScl(doc, ref.tag);
    case ElementKind::Pics: DeletePics(doc); return {};
  }
  return {};
}

void DeletePics(CardDocument& doc) {
  doc.picsBox.reset();
  std::erase(doc.stacking, ElementRef{ElementKind::Pics, 0});
  RemoveSelectorEntry(doc, std::string(kPicsName));
  if (doc.selected && doc.selected->kind == ElementKind::Pics) doc.selected.reset();
  ResetPicsSettings(doc);
}

void DelAll(CardDocument& doc) {
  doc.crd3 = false;
  doc.labels.clear();
  doc.buttons.clear();
  doc.images.clear();
  doc.gifs.clear();
  doc.wavs.clear();
  doc.flashes.clear();
  doc.scls.clear();
  doc.numbering = {};
  doc.zorder = 0;
  doc.picsBox.reset();
  ResetPicsSettings(doc);
  doc.stacking.clear();
  doc.selector.assign(1, std::string(kCardWindowEntry));
  doc.selected.reset();
}

std::optional<ElementRef> ParseSelectorEntry(std::string_view entry) {
  struct Test {
    std::string_view prefix;
    ElementKind kind;
  };
  // Order matters: the tests run as the delete command makes them.
  static constexpr Test kTests[] = {
      {kFlashPrefix, ElementKind::Flash}, {kSclPrefix, ElementKind::Scl},
      {kButtonPrefix, ElementKind::Button}, {kGifPrefix, ElementKind::Gif},
      {kPicsName, ElementKind::Pics},     {kLabelPrefix, ElementKind::Label},
      {kImagePrefix, ElementKind::Image}, {kWavPrefix, ElementKind::Wav}};
  for (const Test& t : kTests) {
    if (t.kind == ElementKind::Pics) {
      if (entry == t.prefix) return ElementRef{ElementKind::Pics, 0};
      continue;
    }
    if (entry.size() > t.prefix.size() && entry.substr(0, t.prefix.size()) == t.prefix) {
      return ElementRef{t.kind, platform::StrToInt(entry.substr(t.prefix.size()))};
    }
  }
  return std::nullopt;
}

bool DeleteSelectorEntry(CardDocument& doc, std::string_view entry) {
  std::optional<ElementRef> ref = ParseSelectorEntry(entry);
  if (!ref) return false;
  DeleteElement(doc, *ref);
  SelectCardWindow(doc);
  return true;
}

std::string CapacityMessage(ElementKind kind) {
  return "每个贺卡中最多只允许" + platform::IntToStr(Capacity(kind)) + "个“" +
         std::string(kind == ElementKind::Pics ? kPicsName : ShownPrefix(kind)) + "”存在。";
}

bool CanInsert(const CardDocument& doc, ElementKind kind) {
  if (kind == ElementKind::Pics) {
    if (!doc.picsBox) return true;
    platform::ShowMessage(std::string(kOnePicsBoxMessage), platform::MsgIcon::Error);
    return false;
  }
  if (doc.Count(kind) < kMaxElements) return true;
  platform::ShowMessage(CapacityMessage(kind), platform::MsgIcon::Error);
  return false;
}

bool InsertPics(CardDocument& doc) {
  if (!CanInsert(doc, ElementKind::Pics)) return false;
  CreatePics(doc);
  return true;
}

std::vector<ElementRef> SelectElement(CardDocument& doc, ElementRef ref) {
  doc.selected = ref;
  std::vector<ElementRef> order = FrontOrderAfterSelect(doc);
  BringToFront(doc, order);
  return order;
}

void SelectCardWindow(CardDocument& doc) { doc.selected.reset(); }

}  // namespace document
