#include "maker/document/design_file.h"

#include <algorithm>

#include "maker/document/element_lifecycle.h"
#include "maker/document/path_rules.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace document {

using platform::IntToStr;
namespace profile = platform::profile;
namespace files = platform::files;

namespace {

std::string& CurrentPath() {
  static std::string path;
  return path;
}

constexpr std::string_view kPlaceholder = "<%=lmcardpath%>";

// --- reading -----------------------------------------------------------------------------

int ReadInt(std::string_view section, std::string_view key, std::string_view def) {
  return platform::StrToInt(GetSet(section, key, def));
}

// Keys without a default: an absent key reads as "" and fails to convert.
int ReadIntNoDefault(std::string_view section, std::string_view key) {
  return platform::StrToInt(GetSet(section, key, ""));
}

bool ReadTrue(std::string_view section, std::string_view key) { return GetSet(section, key, "") == "True"; }

platform::FontSpec ReadFont(std::string_view section, std::string_view italicKey) {
  platform::FontSpec f;
  f.name = GetSet(section, "FontName", "宋体");
  f.size = ReadInt(section, "FontSize", "9");
  f.color = ReadInt(section, "FontColor", "0");
  f.bold = ReadTrue(section, "FontBold");
  f.italic = ReadTrue(section, italicKey);
  f.underline = ReadTrue(section, "FontUnderline");
  f.strikeOut = ReadTrue(section, "FontStrikeOut");
  return f;
}

document::Rect ReadRect(std::string_view section) {
  document::Rect r;
  r.left = ReadInt(section, "Left", "0");
  r.top = ReadInt(section, "Top", "0");
  r.width = ReadInt(section, "Width", "0");
  r.height = ReadInt(section, "Height", "0");
  return r;
}

// A caption piece: quotes protecting its blanks are removed by the profile reader, and it is
// not right-trimmed, so blanks at the end of a piece survive.
std::string ReadPiece(std::string_view section, std::string_view key) {
  std::string v = profile::GetString(CurrentFilePath(), section, key, "", 1024);
  return platform::ReplaceText(std::move(v), kPlaceholder, platform::paths::ProgramFolder());
}

// How many elements of a kind to read: a hand-made count above the table size reads the
// first 160 and tells the user.
int CappedCount(std::string_view key, ElementKind kind) {
  int count = ReadInt("Application", key, "0");
  if (count > kMaxElements) {
    platform::ShowMessage("贺卡设计方案中有" + IntToStr(count) + "个“" + std::string(ShownPrefix(kind)) +
                              "”，超过了每个贺卡允许的" + IntToStr(kMaxElements) + "个，只读入了前" +
                              IntToStr(kMaxElements) + "个。",
                          platform::MsgIcon::Warning);
    count = kMaxElements;
  }
  return count;
}

std::string SectionName(ElementKind kind, int n) { return std::string(SectionPrefix(kind)) + IntToStr(n); }

template <class T>
void SetCounterToLargestTag(int& counter, const std::vector<T>& table) {
  if (table.empty()) return;
  int largest = table.front().Tag();
  for (const auto& e : table) largest = std::max(largest, e.Tag());
  counter = largest;
}

// After reading, each numbering counter is the largest Tag read, so new elements never take
// a Tag that a read element carries (the file's order need not follow the Tags).
void SetCountersAfterRead(CardDocument& doc) {
  SetCounterToLargestTag(doc.numbering.label, doc.labels);
  SetCounterToLargestTag(doc.numbering.button, doc.buttons);
  SetCounterToLargestTag(doc.numbering.image, doc.images);
  SetCounterToLargestTag(doc.numbering.gif, doc.gifs);
  SetCounterToLargestTag(doc.numbering.wav, doc.wavs);
  SetCounterToLargestTag(doc.numbering.flash, doc.flashes);
  SetCounterToLargestTag(doc.numbering.scl, doc.scls);
}

void ReadPictureElement(CardDocument& doc, ElementKind kind, int n) {
  std::string sec = SectionName(kind, n);
  bool gif = kind == ElementKind::Gif;
  int tag = ReadInt(sec, "Tag", "0");
  std::string stored = GetSet(sec, "Filename", "");
  doc.Counter(kind) = tag - 1;
  if (gif) CreateLmGif(doc, stored);
  else CreateLmImage(doc, stored);
  ImageElement& e = gif ? doc.gifs.back() : doc.images.back();
  e.rec.Filename = ApplyImagePathRule(stored);
  e.rec.Hint = GetSet(sec, "Hint", "");
  e.control.rect.left = ReadIntNoDefault(sec, "Left");
  e.control.rect.top = ReadIntNoDefault(sec, "Top");
  e.control.rect.width = ReadIntNoDefault(sec, "Width");
  e.control.rect.height = ReadIntNoDefault(sec, "Height");
  if (gif) e.control.tag = ReadIntNoDefault(sec, "Tag");  // read a second time, without default
  e.control.autoSize = ReadTrue(sec, "AutoSize");
  e.control.stretch = !e.control.autoSize;
  if (e.control.autoSize) {  // the rectangle follows the picture
    e.control.rect.width = e.control.naturalWidth;
    e.control.rect.height = e.control.naturalHeight;
  }
  e.rec.Cursor = ReadInt(sec, "Cursor", "0");
  if (gif) {
    e.rec.Text = platform::DecodeLineBreaks(GetSet(sec, "Text", ""));
    e.rec.Cmd = GetSet(sec, "Cmd", "");
    e.rec.Pic = ApplySettingPathRule(GetSet(sec, "Pic", ""));
    e.rec.Ind = ReadIntNoDefault(sec, "Ind");
    e.rec.Wav = ReadIntNoDefault(sec, "Wav");
  } else {
    e.rec.Cmd = GetSet(sec, "Cmd", "");
    e.rec.Text = platform::DecodeLineBreaks(GetSet(sec, "Text", ""));
    e.rec.Pic = ApplySettingPathRule(GetSet(sec, "Pic", ""));
    e.rec.Ind = ReadInt(sec, "Ind", "0");
    e.rec.Wav = ReadInt(sec, "Wav", "0");
  }
}

// A scrolling caption is created first and then given its stored Tag; its name in the
// selector, its tooltip and its place in the stacking follow the Tag it ends up with.
void RetagCaption(CardDocument& doc, SclElement& e, int tag) {
  ElementRef was{ElementKind::Scl, e.control.tag};
  ElementRef now{ElementKind::Scl, tag};
  std::string oldName = ShownName(was);
  for (size_t i = 1; i < doc.selector.size(); ++i) {
    if (doc.selector[i] == oldName) {
      doc.selector[i] = ShownName(now);
      break;
    }
  }
  std::replace(doc.stacking.begin(), doc.stacking.end(), was, now);
  if (doc.selected == was) doc.selected = now;
  e.control.tag = tag;
  e.control.timerTag = tag;
  e.control.hint = ShownName(now);
}

void ReadDesign(CardDocument& doc) {
  CardWindow& w = doc.window;
  const char* app = "Application";
  // 1. The card window.
  w.showTitbar = ReadTrue(app, "ShowTitbar");
  w.width = ReadInt(app, "Width", "0");
  w.height = ReadInt(app, "Height", "0");
  w.cardTitle = GetSet(app, "CardTitle", "互动型贺卡");
  w.bkColor = ReadInt(app, "BkColor", "16777215");
  w.yxPicName = ApplyPathRule(GetSet(app, "YxPicName", ""));
  w.yxPic = files::FileExists(w.yxPicName);
  w.bkPicName = ApplyPathRule(GetSet(app, "BkPicName", ""));
  w.bkPic = files::FileExists(w.bkPicName);
  if (w.bkPic) w.bkPicSet = ReadInt(app, "BkPicSet", "0");
  w.icon = ApplyPathRule(GetSet(app, "ICON", ""));

  // 2. Labels: each is created under its stored Tag.
  int labels = CappedCount("LabelCount", ElementKind::Label);
  for (int n = 1; n <= labels; ++n) {
    std::string sec = SectionName(ElementKind::Label, n);
    doc.numbering.label = ReadInt(sec, "Tag", "0") - 1;
    CreatelmTxt(doc, kLabelPrefix);
    LabelElement& e = doc.labels.back();
    e.control.caption = platform::DecodeLineBreaks(GetSet(sec, "Caption", ""));
    e.control.font = ReadFont(sec, "FontItlic");
    e.rec.Hint = GetSet(sec, "Hint", "");
    e.rec.Cursor = ReadInt(sec, "Cursor", "0");
    e.control.rect = ReadRect(sec);
    e.rec.Cmd = GetSet(sec, "Cmd", "");
    e.rec.Text = platform::DecodeLineBreaks(GetSet(sec, "Text", ""));
    e.rec.Ind = ReadInt(sec, "Ind", "0");
    e.rec.Wav = ReadInt(sec, "Wav", "0");
    e.rec.Pic = ApplySettingPathRule(GetSet(sec, "Pic", ""));
  }

  // 3. The picture show box.
  if (GetSet("PicsBox", "Use", "") == "True") {
    CreatePics(doc);
    const char* sec = "PicsBox";
    doc.picsDat.Hint = GetSet(sec, "Hint", "");
    doc.picsDat.Cursor = ReadInt(sec, "Cursor", "0");
    doc.picsDat.BkCor = ReadInt(sec, "BkCor", "0");
    doc.picsDat.Inv = ReadInt(sec, "Inv", "5");
    doc.picsBox->randPic = ReadInt(sec, "RandPic", "0") != 0;
    doc.picsDat.Clk = ReadInt(sec, "Clk", "0") != 0;
    doc.picsBox->rect = ReadRect(sec);
    doc.picsBox->effectId = ReadInt(sec, "EffectID", "0");
    int count = ReadInt(sec, "PicCount", "0");
    // A hand-made count cannot make the list longer than the section has keys.
    count = std::min<long long>(count, static_cast<long long>(profile::KeyNames(CurrentFilePath(), sec).size()));
    doc.picsDat.pictures.clear();
    for (int k = 0; k < count; ++k) doc.picsDat.pictures.push_back(GetSet(sec, "Pic" + IntToStr(k), ""));
  }

  // 4. Buttons, images, GIFs.
  int buttons = CappedCount("ButtonCount", ElementKind::Button);
  for (int n = 1; n <= buttons; ++n) {
    std::string sec = SectionName(ElementKind::Button, n);
    doc.numbering.button = ReadInt(sec, "Tag", "0") - 1;
    CreateSpeedbutton(doc, kButtonPrefix);
    ButtonElement& e = doc.buttons.back();
    e.control.caption = GetSet(sec, "Caption", "");
    e.control.font = ReadFont(sec, "FontItalic");
    e.rec.Hint = GetSet(sec, "Hint", "");
    e.rec.Cursor = ReadInt(sec, "Cursor", "0");
    e.control.rect = ReadRect(sec);
    e.rec.Cmd = GetSet(sec, "Cmd", "");
    e.rec.Text = platform::DecodeLineBreaks(GetSet(sec, "Text", ""));
    e.rec.Ind = ReadIntNoDefault(sec, "Ind");
    e.rec.Wav = ReadIntNoDefault(sec, "Wav");
    e.rec.Pic = ApplySettingPathRule(GetSet(sec, "Pic", ""));
  }
  int images = CappedCount("ImageCount", ElementKind::Image);
  for (int n = 1; n <= images; ++n) ReadPictureElement(doc, ElementKind::Image, n);
  int gifs = CappedCount("GIFCount", ElementKind::Gif);
  for (int n = 1; n <= gifs; ++n) ReadPictureElement(doc, ElementKind::Gif, n);

  // 5. Zorder, window events, music.
  doc.zorder = ReadInt(app, "Zorder", "0");
  w.onLoad = ReadInt(app, "OnLoad", "0");
  w.onLoadSet = GetSet(app, "OnLoadSet", "");
  w.onClose = ReadInt(app, "OnClose", "0");
  w.onCloseSet = GetSet(app, "OnCloseSet", "");
  w.musicName = ApplyPathRule(GetSet(app, "MusicName", ""));
  if (!files::FileExists(w.musicName)) w.musicName = platform::paths::ProgramFolder() + "背景音乐\\7.mid";

  // 6. Sounds, then Flash movies (their creation advances Zorder; the stored Ind replaces it).
  int wavs = CappedCount("WavCount", ElementKind::Wav);
  for (int n = 1; n <= wavs; ++n) {
    std::string sec = SectionName(ElementKind::Wav, n);
    doc.numbering.wav = ReadInt(sec, "Tag", "0") - 1;
    CreateWav(doc, ApplyPathRule(GetSet(sec, "Filename", "")));
  }
  int flashes = CappedCount("FlashCount", ElementKind::Flash);
  for (int n = 1; n <= flashes; ++n) {
    std::string sec = SectionName(ElementKind::Flash, n);
    doc.numbering.flash = ReadInt(sec, "Tag", "0") - 1;
    CreatelmFlash(doc, GetSet(sec, "FileName", ""));
    FlashElement& e = doc.flashes.back();
    e.rec.Ind = ReadInt(sec, "Ind", "0");
    e.control.rect = ReadRect(sec);
  }

  // 7. Scrolling captions.
  int scls = CappedCount("lmsclCount", ElementKind::Scl);
  for (int n = 1; n <= scls; ++n) {
    std::string sec = SectionName(ElementKind::Scl, n);
    createlmscl(doc, kSclPrefix);
    SclElement& e = doc.scls.back();
    RetagCaption(doc, e, ReadInt(sec, "Tag", "0"));
    e.control.rect.width = ReadInt(sec, "Width", "0");
    e.control.rect.height = ReadInt(sec, "Height", "0");
    e.control.rect.top = ReadInt(sec, "Top", "0");
    e.control.rect.left = ReadInt(sec, "Left", "0");
    e.control.transparent = ReadInt(sec, "Transparent", "0") != 0;
    e.control.timerInterval = ReadInt(sec, "SD", "0");
    e.rec.Ind = ReadInt(sec, "Ind", "0");
    e.rec.Text = JoinCaptionPieces(ReadPiece(sec, "Txt1"), ReadPiece(sec, "Txt2"), ReadPiece(sec, "Txt3"));
    e.rec.Font = ReadFont(sec, "FontItalic");
    e.rec.BKColor = ReadInt(sec, "BKColor", "0");
    e.rec.Way = ReadInt(sec, "Way", "0");
    e.rec.Pic = ApplyPathRule(GetSet(sec, "Pic", ""));
  }

  // 8. Screen movement.
  w.sPos = ReadInt(app, "SPos", "0");
  w.ePos = ReadInt(app, "EPos", "0");
  w.suoScr = GetSet(app, "SuoScr", "") == "1";
  w.moveScr = GetSet(app, "MoveScr", "") == "1";
  w.moveSD = GetSet(app, "MoveSD", "100");

  // 9. The card window is selected; the canvas applies pictures and starts the show box.
  SelectCardWindow(doc);
}

}  // namespace

const std::string& CurrentFilePath() { return CurrentPath(); }
void SetCurrentFilePath(std::string_view path) { CurrentPath() = std::string(path); }

std::string GetSet(std::string_view section, std::string_view key, std::string_view def) {
  std::string v = profile::GetString(CurrentFilePath(), section, key, def, 1024);
  v = platform::ReplaceText(std::move(v), kPlaceholder, platform::paths::ProgramFolder());
  return platform::TrimRight(v);
}

std::string JoinCaptionPieces(const std::string& t1, const std::string& t2, const std::string& t3) {
  return platform::DecodeLineBreaks(t1 + t2 + t3, platform::kCaptionLineBreakMarker);
}

void Loadfileset(CardDocument& doc, std::string_view path) {
  SetCurrentFilePath(path);
  // Every value is still its own profile-string call; the hold spares each one the check
  // of the file on disk.
  profile::HoldReads hold(path);
  try {
    ReadDesign(doc);
  } catch (...) {
    SetCountersAfterRead(doc);  // what was read stays, with counters above its Tags
    throw;
  }
  SetCountersAfterRead(doc);
}

}  // namespace document
