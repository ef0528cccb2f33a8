#include "player/card_model.h"

#include <algorithm>

#include "maker/document/design_file.h"
#include "maker/document/element_kinds.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace player {

using packaging::CardFormatError;
using packaging::CardReader;

namespace {

[[noreturn]] void Damaged(const std::string& what) { throw CardFormatError("贺卡文件已损坏：" + what); }

std::string Where(std::string_view section, std::string_view key) {
  return "[" + std::string(section) + "] 的 " + std::string(key);
}

// Values of one card, read with the design file's defaults and checked as they are read.
class Values {
 public:
  explicit Values(const CardReader& card) : card_(card), mediaCount_(static_cast<int>(card.Media().size())) {}

  bool HasSection(std::string_view section) const {
    return std::any_of(card_.Sections().begin(), card_.Sections().end(),
                       [&](const packaging::CardSection& s) { return platform::EqualsNoCase(s.name, section); });
  }
  void RequireSection(std::string_view section) const {
    if (!HasSection(section)) Damaged("缺少 [" + std::string(section) + "] 一节。");
  }

  std::string Str(std::string_view section, std::string_view key, std::string_view def = "") const {
    return platform::TrimRight(
        platform::ReplaceText(card_.Value(section, key, def), "<%=lmcardpath%>", platform::paths::ProgramFolder()));
  }
  std::string Text(std::string_view section, std::string_view key) const {
    return platform::DecodeLineBreaks(Str(section, key));
  }
  int Int(std::string_view section, std::string_view key, std::string_view def = "0") const {
    const std::string v = Str(section, key, def);
    int out = 0;
    if (!platform::TryStrToInt(v, out)) Damaged(Where(section, key) + " 值“" + v + "”不是整数。");
    return out;
  }
  int Count(std::string_view key, int max) const {
    const int n = Int("Application", key);
    if (n < 0 || n > max) Damaged(Where("Application", key) + " 值 " + platform::IntToStr(n) + " 超出了 0 到 " +
                                  platform::IntToStr(max) + " 的范围。");
    return n;
  }
  bool IsTrue(std::string_view section, std::string_view key) const { return Str(section, key) == "True"; }

  // A media id key: -1 (or absent) means not packed; any other id must name a [File<id>].
  int MediaId(std::string_view section, std::string_view key) const {
    const int id = Int(section, key, "-1");
    if (id < -1 || id >= mediaCount_) {
      Damaged(Where(section, key) + " 指向的媒体文件 " + platform::IntToStr(id) + " 不在贺卡中。");
    }
    return id;
  }
  MediaRef Media(std::string_view section, std::string_view idKey, std::string_view pathKey) const {
    return {MediaId(section, idKey), Str(section, pathKey)};
  }

  platform::FontSpec Font(std::string_view section, std::string_view italicKey) const {
    platform::FontSpec f;
    f.name = Str(section, "FontName", "宋体");
    f.size = Int(section, "FontSize", "9");
    f.color = Int(section, "FontColor", "0");
    f.bold = IsTrue(section, "FontBold");
    f.italic = IsTrue(section, italicKey);
    f.underline = IsTrue(section, "FontUnderline");
    f.strikeOut = IsTrue(section, "FontStrikeOut");
    return f;
  }

  Rect Bounds(std::string_view section) const {
    return {Int(section, "Left"), Int(section, "Top"), Int(section, "Width"), Int(section, "Height")};
  }

  void Common(std::string_view section, ElementBase& e) const {
    e.tag = Int(section, "Tag");
    e.rect = Bounds(section);
    e.ind = Int(section, "Ind");
    e.hint = Text(section, "Hint");
    e.cursor = Int(section, "Cursor");
  }

  ClickSetting Click(std::string_view section) const {
    ClickSetting c;
    c.cmd = Str(section, "Cmd");
    c.value1 = Media(section, "PicUrl", "Pic");
    c.text = Text(section, "Text");
    c.wav = Int(section, "Wav");
    return c;
  }

 private:
  const CardReader& card_;
  int mediaCount_;
};

std::string Section(std::string_view prefix, int n) { return std::string(prefix) + platform::IntToStr(n); }

}  // namespace

int MoveSpeedMs(const std::string& text) {
  int ms = 0;
  if (!platform::TryStrToInt(text, ms) || ms < 0) return 100;
  return ms == 0 ? 10 : ms;
}

CardModel ReadCardModel(const CardReader& card) {
  if (card.Kind() != packaging::CardKind::Interactive) {
    throw CardFormatError("这是一张普通贺卡，请用普通贺卡的播放程序打开它。");
  }
  const Values v(card);
  v.RequireSection("Application");
  CardModel m;
  m.mediaCount = static_cast<int>(card.Media().size());
  const std::string app = "Application";

  WindowModel& w = m.window;
  w.title = v.Str(app, "CardTitle", "互动型贺卡");
  w.width = v.Int(app, "Width");
  w.height = v.Int(app, "Height");
  if (w.width < 0 || w.height < 0 || w.width > 16384 || w.height > 16384) {
    Damaged("贺卡窗口的大小 " + platform::IntToStr(w.width) + " x " + platform::IntToStr(w.height) + " 不可用。");
  }
  w.bkColor = v.Int(app, "BkColor", "16777215");
  w.showTitleBar = v.IsTrue(app, "ShowTitbar");
  w.background = v.Media(app, "BkPic", "BkPicName");
  w.backgroundLayout = std::clamp(v.Int(app, "BkPicSet"), 0, 2);
  w.mask = v.Media(app, "YxPic", "YxPicName");
  w.music = v.Media(app, "Music", "MusicName");
  w.onLoad = v.Int(app, "OnLoad");
  w.onLoadSet = v.Str(app, "OnLoadSet");
  w.onClose = v.Int(app, "OnClose");
  w.onCloseSet = v.Str(app, "OnCloseSet");
  w.startPosition = v.Int(app, "SPos");
  w.endPosition = v.Int(app, "EPos");
  if (w.startPosition < 0 || w.startPosition > 9) w.startPosition = 0;
  if (w.endPosition < 0 || w.endPosition > 9) w.endPosition = 0;
  w.lockCentre = v.Str(app, "SuoScr") == "1";
  w.loopMove = !w.lockCentre && v.Str(app, "MoveScr") == "1";
  w.moveIntervalMs = MoveSpeedMs(v.Str(app, "MoveSD", "100"));

  const int max = document::kMaxElements;
  for (int n = 1, count = v.Count("LabelCount", max); n <= count; ++n) {
    const std::string s = Section("Label", n);
    v.RequireSection(s);
    LabelModel e;
    v.Common(s, e);
    e.caption = v.Text(s, "Caption");
    e.font = v.Font(s, "FontItlic");
    e.click = v.Click(s);
    m.labels.push_back(std::move(e));
  }
  for (int n = 1, count = v.Count("ButtonCount", max); n <= count; ++n) {
    const std::string s = Section("Button", n);
    v.RequireSection(s);
    ButtonModel e;
    v.Common(s, e);
    e.caption = v.Str(s, "Caption");
    e.font = v.Font(s, "FontItalic");
    e.click = v.Click(s);
    m.buttons.push_back(std::move(e));
  }
  auto readPictures = [&](std::string_view prefix, std::string_view countKey, std::vector<PictureModel>& out) {
    for (int n = 1, count = v.Count(countKey, max); n <= count; ++n) {
      const std::string s = Section(prefix, n);
      v.RequireSection(s);
      PictureModel e;
      v.Common(s, e);
      e.file = v.Media(s, "FilenameId", "Filename");
      e.autoSize = v.IsTrue(s, "AutoSize");
      e.click = v.Click(s);
      out.push_back(std::move(e));
    }
  };
  readPictures("Image", "ImageCount", m.images);
  readPictures("Gif", "GIFCount", m.gifs);
  for (int n = 1, count = v.Count("WavCount", max); n <= count; ++n) {
    // Sound sections of a card are named by the sound's Tag; take the n-th of them.
    WavModel e;
    int seen = 0;
    for (const auto& sec : card.Sections()) {
      if (sec.name.size() <= 3 || !platform::EqualsNoCase(sec.name.substr(0, 3), "Wav")) continue;
      if (++seen != n) continue;
      e.tag = v.Int(sec.name, "Tag");
      e.file = v.Media(sec.name, "FilenameID", "Filename");
      break;
    }
    if (seen < n) Damaged("缺少第 " + platform::IntToStr(n) + " 个声音的 [Wav] 一节。");
    m.wavs.push_back(std::move(e));
  }
  for (int n = 1, count = v.Count("FlashCount", max); n <= count; ++n) {
    const std::string s = Section("Flash", n);
    v.RequireSection(s);
    FlashModel e;
    e.tag = v.Int(s, "Tag");
    e.ind = v.Int(s, "Ind");
    e.rect = v.Bounds(s);
    e.file = v.Media(s, "FileNameID", "FileName");
    m.flashes.push_back(std::move(e));
  }
  for (int n = 1, count = v.Count("lmsclCount", max); n <= count; ++n) {
    const std::string s = Section("lmscl", n);
    v.RequireSection(s);
    CaptionModel e;
    e.tag = v.Int(s, "Tag");
    e.ind = v.Int(s, "Ind");
    e.rect = v.Bounds(s);
    e.transparent = v.Int(s, "Transparent") != 0;
    e.interval = std::max(v.Int(s, "SD"), 1);
    e.text = document::JoinCaptionPieces(card.Value(s, "Txt1"), card.Value(s, "Txt2"), card.Value(s, "Txt3"));
    e.font = v.Font(s, "FontItalic");
    e.bkColor = v.Int(s, "BKColor");
    e.way = v.Int(s, "Way");
    e.picture = v.Media(s, "PicID", "Pic");
    m.captions.push_back(std::move(e));
  }
  if (v.Str("PicsBox", "Use") == "True") {
    PicsBoxModel& p = m.picsBox;
    const std::string s = "PicsBox";
    p.present = true;
    p.hint = v.Text(s, "Hint");
    p.cursor = v.Int(s, "Cursor");
    p.bkColor = v.Int(s, "BkCor");
    p.intervalSeconds = std::max(v.Int(s, "Inv", "5"), 0);
    p.randomOrder = v.Int(s, "RandPic") != 0;
    p.clickShowsNext = v.Int(s, "Clk") != 0;
    p.rect = v.Bounds(s);
    p.effectId = v.Int(s, "EffectID");
    if (p.effectId < 0 || p.effectId > 196) p.effectId = 0;
    const int count = v.Int(s, "PicCount");
    if (count < 0 || count > 10000) Damaged(Where(s, "PicCount") + " 值不可用。");
    for (int k = 0; k < count; ++k) {
      const int id = v.MediaId(s, "Pic" + platform::IntToStr(k));
      if (id >= 0) p.pictures.push_back(id);
    }
  }
  m.makeTime = v.Str("END", "MakeTime");
  return m;
}

}  // namespace player
