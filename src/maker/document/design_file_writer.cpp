#include "maker/document/design_file.h"

// The design file writer: the media list, the section writers shared with the package builder,
// and lmsavefile.
#include "maker/document/action_list.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace document {

using platform::IntToStr;
namespace profile = platform::profile;
namespace files = platform::files;

namespace {

constexpr size_t kPieceSize = 1000;
constexpr int kPieceCount = 3;

std::string SectionName(ElementKind kind, int n) { return std::string(SectionPrefix(kind)) + IntToStr(n); }

// --- writing -----------------------------------------------------------------------------

struct Writer {
  std::string_view file;
  std::string section;
  const std::vector<std::string>& media;

  void Put(std::string_view key, std::string_view value) const {
    profile::WriteString(file, section, key, value);
  }
  void Int(std::string_view key, long long v) const { Put(key, IntToStr(v)); }
  void True(std::string_view key, bool on) const {
    if (on) Put(key, "True");
  }
  void Id(std::string_view key, std::string_view path) const { Int(key, MediaId(media, path)); }
  void Rect(const document::Rect& r) const {
    Int("Left", r.left);
    Int("Top", r.top);
    Int("Width", r.width);
    Int("Height", r.height);
  }
  // FontName … FontStrikeOut; labels spell the italic key "FontItlic".
  void Font(const platform::FontSpec& f, std::string_view italicKey) const {
    Put("FontName", f.name);
    Int("FontSize", f.size);
    Int("FontColor", f.color);
    True("FontBold", f.bold);
    True(italicKey, f.italic);
    True("FontUnderline", f.underline);
    True("FontStrikeOut", f.strikeOut);
  }
};

std::string Encoded(std::string_view text) { return platform::EncodeLineBreaks(text); }

}  // namespace

int MediaId(const std::vector<std::string>& mediaList, std::string_view path) {
  std::string lower = platform::AsciiLower(path);
  for (size_t i = 0; i < mediaList.size(); ++i) {
    if (mediaList[i] == lower) return static_cast<int>(i);
  }
  return -1;
}

void AddMedia(std::vector<std::string>& mediaList, std::string_view path) {
  if (MediaId(mediaList, path) < 0) mediaList.push_back(platform::AsciiLower(path));
}

void FillDesignMediaList(CardDocument& doc) {
  auto& m = doc.mediaList;
  m.clear();
  const CardWindow& w = doc.window;
  if (w.bkPic) m.push_back(platform::AsciiLower(w.bkPicName));  // always id 0
  if (w.yxPic) AddMedia(m, w.yxPicName);
  auto addIfExists = [&](const std::string& p) {
    if (files::FileExists(p)) AddMedia(m, p);
  };
  addIfExists(w.musicName);
  auto addAction = [&](const std::string& pic, const std::string& cmd) {
    if (cmd != kActionOpenFile) addIfExists(pic);
  };
  for (const auto& e : doc.labels) addAction(e.rec.Pic, e.rec.Cmd);
  for (const auto& e : doc.buttons) addAction(e.rec.Pic, e.rec.Cmd);
  for (const auto* table : {&doc.images, &doc.gifs}) {
    for (const auto& e : *table) {
      addAction(e.rec.Pic, e.rec.Cmd);
      addIfExists(e.rec.Filename);
    }
  }
  for (const auto& e : doc.wavs) addIfExists(e.rec.Filename);
  for (const auto& e : doc.flashes) addIfExists(e.rec.Filename);
  for (const auto& e : doc.scls) addIfExists(e.rec.Pic);
}

void WriteApplicationSection(const CardDocument& doc, std::string_view file,
                             const std::vector<std::string>& mediaList, const ApplicationWriteOptions& options) {
  Writer wr{file, "Application", mediaList};
  const CardWindow& w = doc.window;
  wr.Int("LabelCount", doc.Count(ElementKind::Label));
  wr.Int("ButtonCount", doc.Count(ElementKind::Button));
  wr.Int("ImageCount", doc.Count(ElementKind::Image));
  wr.Int("GIFCount", doc.Count(ElementKind::Gif));
  wr.Int("WavCount", doc.Count(ElementKind::Wav));
  wr.Put("AviCount", "0");
  wr.Int("FlashCount", doc.Count(ElementKind::Flash));
  wr.Int("lmsclCount", doc.Count(ElementKind::Scl));
  wr.Int("Zorder", doc.zorder);
  wr.Int("Width", w.width);
  wr.Int("Height", w.height);
  wr.Int("BkColor", w.bkColor);
  wr.Put("CardTitle", w.cardTitle);
  wr.True("ShowTitbar", w.showTitbar);
  wr.Put("BkPic", w.bkPic ? "0" : "-1");
  if (w.bkPic) wr.Put("BkPicName", w.bkPicName);
  wr.Int("BkPicSet", w.bkPicSet);
  wr.Int("YxPic", w.yxPic ? MediaId(mediaList, w.yxPicName) : -1);
  wr.Put("YxPicName", w.yxPicName);
  bool music = options.musicIdWhenExists ? files::FileExists(w.musicName) : !w.musicName.empty();
  if (music) wr.Id("Music", w.musicName);
  wr.Put("MusicName", w.musicName);
  wr.Int("OnLoad", w.onLoad);
  wr.Put("OnLoadSet", w.onLoadSet);
  wr.Int("OnClose", w.onClose);
  wr.Put("OnCloseSet", w.onCloseSet);
  if (options.writeIcon) wr.Put("ICON", w.icon);
  wr.Int("SPos", w.sPos);
  wr.Int("EPos", w.ePos);
  if (w.suoScr) wr.Put("SuoScr", "1");
  if (w.moveScr) wr.Put("MoveScr", "1");
  wr.Put("MoveSD", w.moveSD);
}

void WriteLabelSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                       const std::vector<std::string>& mediaList) {
  const LabelElement& e = doc.labels.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.Put("Caption", Encoded(e.control.caption));
  wr.Font(e.control.font, "FontItlic");
  wr.Put("Hint", e.rec.Hint);
  wr.Int("Cursor", e.rec.Cursor);
  wr.Rect(e.control.rect);
  wr.Int("Tag", e.Tag());
  wr.Put("Cmd", e.rec.Cmd);
  wr.Put("Text", Encoded(e.rec.Text));
  wr.Int("Ind", e.rec.Ind);
  wr.Int("Wav", e.rec.Wav);
  wr.Id("PicUrl", e.rec.Pic);
  wr.Put("Pic", e.rec.Pic);
}

void WriteButtonSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                        const std::vector<std::string>& mediaList) {
  const ButtonElement& e = doc.buttons.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.Put("Caption", e.control.caption);
  wr.Int("Tag", e.Tag());
  wr.Font(e.control.font, "FontItalic");
  wr.Put("Hint", e.rec.Hint);
  wr.Int("Cursor", e.rec.Cursor);
  wr.Rect(e.control.rect);
  wr.Put("Cmd", e.rec.Cmd);
  wr.Put("Text", Encoded(e.rec.Text));
  wr.Int("Ind", e.rec.Ind);
  wr.Int("Wav", e.rec.Wav);
  wr.Id("PicUrl", e.rec.Pic);
  wr.Put("Pic", e.rec.Pic);
}

void WriteImageSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                       const std::vector<std::string>& mediaList) {
  const ImageElement& e = doc.images.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.True("AutoSize", e.control.autoSize);
  wr.Put("Filename", e.rec.Filename);
  wr.Id("FilenameId", e.rec.Filename);
  wr.Put("Hint", e.rec.Hint);
  wr.Int("Cursor", e.rec.Cursor);
  wr.Rect(e.control.rect);
  wr.Put("Text", Encoded(e.rec.Text));
  wr.Id("PicUrl", e.rec.Pic);
  wr.Put("Pic", e.rec.Pic);
  wr.Put("Cmd", e.rec.Cmd);
  wr.Int("Ind", e.rec.Ind);
  wr.Int("Wav", e.rec.Wav);
  wr.Int("Tag", e.Tag());
  wr.True("AutoSize", e.control.autoSize);
}

void WriteGifSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                     const std::vector<std::string>& mediaList) {
  const GifElement& e = doc.gifs.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.True("AutoSize", e.control.autoSize);
  wr.Put("Filename", e.rec.Filename);
  wr.Id("FilenameId", e.rec.Filename);
  wr.Put("Hint", e.rec.Hint);
  wr.Int("Cursor", e.rec.Cursor);
  wr.Rect(e.control.rect);
  wr.Int("Tag", e.Tag());
  wr.True("AutoSize", e.control.autoSize);
  wr.Put("Text", Encoded(e.rec.Text));
  wr.Id("PicUrl", e.rec.Pic);
  wr.Put("Pic", e.rec.Pic);
  wr.Put("Cmd", e.rec.Cmd);
  wr.Int("Ind", e.rec.Ind);
  wr.Int("Wav", e.rec.Wav);
}

void WriteWavSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                     const std::vector<std::string>& mediaList) {
  const WavElement& e = doc.wavs.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.Put("Filename", e.rec.Filename);
  wr.Id("FilenameID", e.rec.Filename);
  wr.Int("Tag", e.Tag());
}

void WriteFlashSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                       const std::vector<std::string>& mediaList) {
  const FlashElement& e = doc.flashes.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.Put("FileName", e.rec.Filename);
  wr.Id("FileNameID", e.rec.Filename);
  wr.Int("Tag", e.Tag());
  wr.Int("Ind", e.rec.Ind);
  wr.Rect(e.control.rect);
}

void WriteSclSection(const CardDocument& doc, int position, std::string_view file, std::string_view section,
                     const std::vector<std::string>& mediaList) {
  const SclElement& e = doc.scls.at(static_cast<size_t>(position - 1));
  Writer wr{file, std::string(section), mediaList};
  wr.Int("Tag", e.Tag());
  wr.Int("Width", e.control.rect.width);
  wr.Int("Height", e.control.rect.height);
  wr.Int("Left", e.control.rect.left);
  wr.Int("Top", e.control.rect.top);
  wr.Put("Transparent", e.control.transparent ? "1" : "0");
  wr.Int("SD", e.control.timerInterval);
  wr.Int("Ind", e.rec.Ind);
  std::vector<std::string> pieces = CaptionPieces(e.rec.Text);
  for (int k = 0; k < kPieceCount; ++k) wr.Put("Txt" + IntToStr(k + 1), pieces[static_cast<size_t>(k)]);
  wr.Font(e.rec.Font, "FontItalic");
  wr.Int("BKColor", e.rec.BKColor);
  wr.Int("Way", e.rec.Way);
  if (files::FileExists(e.rec.Pic)) {
    wr.Put("Pic", e.rec.Pic);
    wr.Id("PicID", e.rec.Pic);
  }
}

void WritePicsBoxSection(const CardDocument& doc, std::string_view file, const std::vector<std::string>& mediaList,
                         bool picturesAsIds) {
  Writer wr{file, "PicsBox", mediaList};
  if (!doc.picsBox) {
    wr.Put("Use", "False");
    return;
  }
  const TlmPicsDat& d = doc.picsDat;
  wr.Put("Hint", d.Hint);
  wr.Int("Cursor", d.Cursor);
  wr.Int("BkCor", d.BkCor);
  wr.Int("Inv", d.Inv);
  wr.Put("RandPic", doc.picsBox->randPic ? "1" : "0");
  wr.Put("Clk", d.Clk ? "1" : "0");
  wr.Rect(doc.picsBox->rect);
  wr.Int("EffectID", doc.picsBox->effectId);
  for (size_t k = 0; k < d.pictures.size(); ++k) {
    std::string key = "Pic" + IntToStr(static_cast<long long>(k));
    if (picturesAsIds) wr.Id(key, d.pictures[k]);
    else wr.Put(key, d.pictures[k]);
  }
  wr.Int("PicCount", static_cast<long long>(d.pictures.size()));
  wr.Put("Use", "True");
}

std::vector<std::string> CaptionPieces(std::string_view text) {
  std::string encoded = platform::EncodeLineBreaks(text, platform::kCaptionLineBreakMarker);
  std::vector<std::string> pieces;
  for (int k = 0; k < kPieceCount; ++k) {
    size_t from = static_cast<size_t>(k) * kPieceSize;
    std::string p = from < encoded.size() ? encoded.substr(from, kPieceSize) : std::string();
    // The profile reader drops blanks around a value and one pair of surrounding quotes;
    // quoting such a piece keeps its blanks (and its own quotes) through a save and reopen.
    bool edgeBlank = !p.empty() && (static_cast<unsigned char>(p.front()) <= ' ' ||
                                    static_cast<unsigned char>(p.back()) <= ' ');
    bool quoted = p.size() >= 2 && (p.front() == '"' || p.front() == '\'') && p.back() == p.front();
    if (edgeBlank || quoted) p = "\"" + p + "\"";
    pieces.push_back(std::move(p));
  }
  return pieces;
}

bool lmsavefile(CardDocument& doc, std::string_view path) {
  SetCurrentFilePath(path);
  platform::ProcessPendingMessages();
  // The design is written to a file beside the target, which replaces the old design only
  // once it is complete: a failed save never loses the previous file.
  std::string temp = std::string(path) + ".~sav";
  if (files::Exists(temp)) files::DeleteFile(temp);
  FillDesignMediaList(doc);
  const auto& media = doc.mediaList;
  bool written = false;
  {
    profile::BatchWrites batch(temp);
    WriteApplicationSection(doc, temp, media);
    for (int n = 1; n <= doc.Count(ElementKind::Label); ++n)
      WriteLabelSection(doc, n, temp, SectionName(ElementKind::Label, n), media);
    WritePicsBoxSection(doc, temp, media);
    for (int n = 1; n <= doc.Count(ElementKind::Button); ++n)
      WriteButtonSection(doc, n, temp, SectionName(ElementKind::Button, n), media);
    for (int n = 1; n <= doc.Count(ElementKind::Image); ++n)
      WriteImageSection(doc, n, temp, SectionName(ElementKind::Image, n), media);
    for (int n = 1; n <= doc.Count(ElementKind::Gif); ++n)
      WriteGifSection(doc, n, temp, SectionName(ElementKind::Gif, n), media);
    for (int n = 1; n <= doc.Count(ElementKind::Wav); ++n)
      WriteWavSection(doc, n, temp, SectionName(ElementKind::Wav, n), media);
    for (int n = 1; n <= doc.Count(ElementKind::Flash); ++n)
      WriteFlashSection(doc, n, temp, SectionName(ElementKind::Flash, n), media);
    for (int n = 1; n <= doc.Count(ElementKind::Scl); ++n)
      WriteSclSection(doc, n, temp, SectionName(ElementKind::Scl, n), media);
    written = batch.Commit();
  }
  if (!written || !files::FileExists(temp)) {
    files::DeleteFile(temp);
    return false;
  }
  if (files::Exists(path) && files::IsReadOnly(path)) files::SetReadOnly(path, false);
  if (!files::RenameFile(temp, path)) {
    files::DeleteFile(temp);
    return false;
  }
  return true;
}

}  // namespace document
