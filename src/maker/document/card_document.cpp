#include "maker/document/card_document.h"

#include <utility>

#include "platform/paths.h"
#include "platform/text.h"

namespace document {

const std::vector<std::string> kWindowActions = {"无操作", "打开设置值中的地址", "提示设置值中的信息"};
const std::vector<std::string> kScreenPositions = {
    "随机位置",   "屏幕正中央", "屏蔽正上方", "屏幕左上角", "屏幕正左方",
    "屏幕左下角", "屏幕正底部", "屏幕右下角", "屏幕正右方", "屏幕右上角"};
const std::vector<std::string> kCursorNames = {"默认形状", "手形", "十字形"};
const std::vector<std::string> kScrollDirections = {"由下而上", "由上而下", "由右至左", "由左至右"};

void CardWindow::SetSuoScr(bool on) {
  suoScr = on;
  if (on) moveScr = false;
}

void CardWindow::SetMoveScr(bool on) {
  moveScr = on;
  if (on) suoScr = false;
}

void CardWindow::ApplyMoveSpeed(std::string_view text) {
  if (text.empty()) moveSD = "100";
  else if (text == "0") moveSD = "10";
  else moveSD = std::string(text);
}

namespace {

template <class T>
int FindTag(const std::vector<T>& table, int tag) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].control.tag == tag) return static_cast<int>(i) + 1;
  }
  return static_cast<int>(table.size()) + 1;
}

template <class T>
void AppendRefs(std::vector<ElementRef>& out, const std::vector<T>& table, ElementKind kind) {
  for (const auto& e : table) out.push_back({kind, e.control.tag});
}

}  // namespace

int CardDocument::Count(ElementKind kind) const {
  switch (kind) {
    case ElementKind::Label: return static_cast<int>(labels.size());
    case ElementKind::Button: return static_cast<int>(buttons.size());
    case ElementKind::Image: return static_cast<int>(images.size());
    case ElementKind::Gif: return static_cast<int>(gifs.size());
    case ElementKind::Wav: return static_cast<int>(wavs.size());
    case ElementKind::Flash: return static_cast<int>(flashes.size());
    case ElementKind::Scl: return static_cast<int>(scls.size());
    case ElementKind::Pics: return picsBox ? 1 : 0;
  }
  return 0;
}

int& CardDocument::Counter(ElementKind kind) {
  switch (kind) {
    case ElementKind::Label: return numbering.label;
    case ElementKind::Button: return numbering.button;
    case ElementKind::Image: return numbering.image;
    case ElementKind::Gif: return numbering.gif;
    case ElementKind::Wav: return numbering.wav;
    case ElementKind::Flash: return numbering.flash;
    case ElementKind::Scl:
    case ElementKind::Pics: break;
  }
  return numbering.scl;
}

int CardDocument::Counter(ElementKind kind) const {
  return const_cast<CardDocument*>(this)->Counter(kind);
}

ElementControl* CardDocument::FindControl(ElementRef ref) {
  return const_cast<ElementControl*>(std::as_const(*this).FindControl(ref));
}

const ElementControl* CardDocument::FindControl(ElementRef ref) const {
  auto pick = [&](const auto& table) -> const ElementControl* {
    int i = FindTag(table, ref.tag);
    return i <= static_cast<int>(table.size()) ? &table[i - 1].control : nullptr;
  };
  switch (ref.kind) {
    case ElementKind::Label: return pick(labels);
    case ElementKind::Button: return pick(buttons);
    case ElementKind::Image: return pick(images);
    case ElementKind::Gif: return pick(gifs);
    case ElementKind::Wav: return pick(wavs);
    case ElementKind::Flash: return pick(flashes);
    case ElementKind::Scl: return pick(scls);
    case ElementKind::Pics: return nullptr;
  }
  return nullptr;
}

int CardDocument::IndOf(ElementRef ref) const {
  auto ind = [&](const auto& table) {
    int i = FindTag(table, ref.tag);
    return i <= static_cast<int>(table.size()) ? table[i - 1].rec.Ind : 0;
  };
  switch (ref.kind) {
    case ElementKind::Label: return ind(labels);
    case ElementKind::Button: return ind(buttons);
    case ElementKind::Image: return ind(images);
    case ElementKind::Gif: return ind(gifs);
    case ElementKind::Flash: return ind(flashes);
    case ElementKind::Scl: return ind(scls);
    case ElementKind::Wav:
    case ElementKind::Pics: return 0;
  }
  return 0;
}

std::vector<ElementRef> CardDocument::AllElements() const {
  std::vector<ElementRef> out;
  AppendRefs(out, labels, ElementKind::Label);
  AppendRefs(out, buttons, ElementKind::Button);
  AppendRefs(out, images, ElementKind::Image);
  AppendRefs(out, gifs, ElementKind::Gif);
  AppendRefs(out, wavs, ElementKind::Wav);
  AppendRefs(out, flashes, ElementKind::Flash);
  AppendRefs(out, scls, ElementKind::Scl);
  if (picsBox) out.push_back({ElementKind::Pics, 0});
  return out;
}

std::string ShownName(ElementKind kind, int tag) {
  if (kind == ElementKind::Pics) return std::string(kPicsName);
  return std::string(ShownPrefix(kind)) + platform::IntToStr(tag);
}

int GetlmtxtIndex(const CardDocument& doc, int tag) { return FindTag(doc.labels, tag); }
int GetSpeedbuttonIndex(const CardDocument& doc, int tag) { return FindTag(doc.buttons, tag); }
int GetLmImageIndex(const CardDocument& doc, int tag) { return FindTag(doc.images, tag); }
int GETLMGIFINDEX(const CardDocument& doc, int tag) { return FindTag(doc.gifs, tag); }
int GetLmWavIndex(const CardDocument& doc, int tag) { return FindTag(doc.wavs, tag); }
int GetlmFlashIndex(const CardDocument& doc, int tag) { return FindTag(doc.flashes, tag); }
int getlmsclindex(const CardDocument& doc, int tag) { return FindTag(doc.scls, tag); }

int IndexOfTag(const CardDocument& doc, ElementKind kind, int tag) {
  switch (kind) {
    case ElementKind::Label: return GetlmtxtIndex(doc, tag);
    case ElementKind::Button: return GetSpeedbuttonIndex(doc, tag);
    case ElementKind::Image: return GetLmImageIndex(doc, tag);
    case ElementKind::Gif: return GETLMGIFINDEX(doc, tag);
    case ElementKind::Wav: return GetLmWavIndex(doc, tag);
    case ElementKind::Flash: return GetlmFlashIndex(doc, tag);
    case ElementKind::Scl: return getlmsclindex(doc, tag);
    case ElementKind::Pics: return doc.picsBox ? 1 : 2;
  }
  return 1;
}

void NoteSettingValue1(CardDocument& doc, std::string_view value) {
  if (platform::AsciiLower(platform::paths::ExtractFileExt(value)) == ".crd3") doc.crd3 = true;
}

std::string LimitScrollText(std::string_view text) {
  // Counts characters: a lead byte and its trail byte make one.
  size_t i = 0;
  int chars = 0;
  while (i < text.size() && chars < kMaxScrollText) {
    i += (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    ++chars;
  }
  return std::string(text.substr(0, i));
}

}  // namespace document
