// cardtool design-dump: the document read from a design file, one property per line, card
// window first, then each kind in table order.
#include <cstdio>
#include <exception>
#include <string>

#include "command.h"
#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"design-dump", "design-dump FILE.lmcard2",
                                 "prints the card document read from a design file", &Run};
const cardtool::Registrar reg(kCommand);

using platform::IntToStr;

// Texts on one line: backslash, CR and LF written as \\, \r and \n.
std::string OneLine(const std::string& gbk) {
  std::string out;
  for (char c : gbk) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

class Dump {
 public:
  void Line(const std::string& key, const std::string& gbkValue) {
    out_ += platform::GbkToUtf8(prefix_ + key + "=" + OneLine(gbkValue)) + "\n";
  }
  void Int(const std::string& key, long long v) { Line(key, IntToStr(v)); }
  void Bool(const std::string& key, bool v) { Line(key, v ? "1" : "0"); }
  void Prefix(std::string p) { prefix_ = std::move(p); }
  void Rect(const document::Rect& r) {
    Int("Left", r.left);
    Int("Top", r.top);
    Int("Width", r.width);
    Int("Height", r.height);
  }
  void Font(const platform::FontSpec& f) {
    Line("FontName", f.name);
    Int("FontSize", f.size);
    Int("FontColor", f.color);
    Bool("FontBold", f.bold);
    Bool("FontItalic", f.italic);
    Bool("FontUnderline", f.underline);
    Bool("FontStrikeOut", f.strikeOut);
  }
  const std::string& Text() const { return out_; }

 private:
  std::string prefix_;
  std::string out_;
};

std::string DumpDocument(const document::CardDocument& doc) {
  using document::ElementKind;
  Dump d;
  const document::CardWindow& w = doc.window;
  d.Prefix("Card.");
  d.Line("CardTitle", w.cardTitle);
  d.Int("Width", w.width);
  d.Int("Height", w.height);
  d.Int("BkColor", w.bkColor);
  d.Bool("ShowTitbar", w.showTitbar);
  d.Bool("BkPic", w.bkPic);
  d.Line("BkPicName", w.bkPicName);
  d.Int("BkPicSet", w.bkPicSet);
  d.Bool("YxPic", w.yxPic);
  d.Line("YxPicName", w.yxPicName);
  d.Line("MusicName", w.musicName);
  d.Line("ICON", w.icon);
  d.Int("OnLoad", w.onLoad);
  d.Line("OnLoadSet", w.onLoadSet);
  d.Int("OnClose", w.onClose);
  d.Line("OnCloseSet", w.onCloseSet);
  d.Int("SPos", w.sPos);
  d.Int("EPos", w.ePos);
  d.Bool("SuoScr", w.suoScr);
  d.Bool("MoveScr", w.moveScr);
  d.Line("MoveSD", w.moveSD);
  d.Int("Zorder", doc.zorder);
  const document::NumberingCounters& c = doc.numbering;
  d.Line("Counters", IntToStr(c.label) + " " + IntToStr(c.button) + " " + IntToStr(c.image) + " " +
                         IntToStr(c.gif) + " " + IntToStr(c.wav) + " " + IntToStr(c.flash) + " " + IntToStr(c.scl));
  for (ElementKind k : document::kTableKinds) d.Int(std::string(document::SectionPrefix(k)) + "Count", doc.Count(k));

  auto section = [&](ElementKind k, int n, const document::ElementControl& ctl) {
    d.Prefix(std::string(document::SectionPrefix(k)) + IntToStr(n) + ".");
    d.Int("Tag", ctl.tag);
    d.Line("Name", ctl.hint);
    d.Rect(ctl.rect);
  };
  auto action = [&](const auto& rec) {
    d.Line("Hint", rec.Hint);
    d.Int("Cursor", rec.Cursor);
    d.Line("Cmd", rec.Cmd);
    d.Line("Pic", rec.Pic);
    d.Line("Text", rec.Text);
    d.Int("Ind", rec.Ind);
    d.Int("Wav", rec.Wav);
  };
  int n = 0;
  for (const auto& e : doc.labels) {
    section(ElementKind::Label, ++n, e.control);
    d.Line("Caption", e.control.caption);
    d.Font(e.control.font);
    action(e.rec);
  }
  n = 0;
  for (const auto& e : doc.buttons) {
    section(ElementKind::Button, ++n, e.control);
    d.Line("Caption", e.control.caption);
    d.Font(e.control.font);
    action(e.rec);
  }
  for (ElementKind k : {ElementKind::Image, ElementKind::Gif}) {
    n = 0;
    for (const auto& e : k == ElementKind::Image ? doc.images : doc.gifs) {
      section(k, ++n, e.control);
      d.Line("Filename", e.rec.Filename);
      d.Bool("AutoSize", e.control.autoSize);
      d.Bool("Stretch", e.control.stretch);
      d.Line("NaturalSize", IntToStr(e.control.naturalWidth) + "x" + IntToStr(e.control.naturalHeight));
      action(e.rec);
    }
  }
  n = 0;
  for (const auto& e : doc.wavs) {
    section(ElementKind::Wav, ++n, e.control);
    d.Line("Filename", e.rec.Filename);
  }
  n = 0;
  for (const auto& e : doc.flashes) {
    section(ElementKind::Flash, ++n, e.control);
    d.Line("Filename", e.rec.Filename);
    d.Int("Ind", e.rec.Ind);
  }
  n = 0;
  for (const auto& e : doc.scls) {
    section(ElementKind::Scl, ++n, e.control);
    d.Bool("Transparent", e.control.transparent);
    d.Int("SD", e.control.timerInterval);
    d.Int("Ind", e.rec.Ind);
    d.Line("Text", e.rec.Text);
    d.Font(e.rec.Font);
    d.Int("BKColor", e.rec.BKColor);
    d.Int("Way", e.rec.Way);
    d.Line("Pic", e.rec.Pic);
  }
  if (doc.picsBox) {
    d.Prefix("PicsBox.");
    d.Rect(doc.picsBox->rect);
    d.Line("Hint", doc.picsDat.Hint);
    d.Int("Cursor", doc.picsDat.Cursor);
    d.Int("BkCor", doc.picsDat.BkCor);
    d.Int("Inv", doc.picsDat.Inv);
    d.Bool("RandPic", doc.picsBox->randPic);
    d.Bool("Clk", doc.picsDat.Clk);
    d.Int("EffectID", doc.picsBox->effectId);
    for (size_t k = 0; k < doc.picsDat.pictures.size(); ++k) d.Line("Pic" + IntToStr(static_cast<long long>(k)), doc.picsDat.pictures[k]);
  }
  return d.Text();
}

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 1) return cardtool::Usage(kCommand);
  document::CardDocument doc;
  document::DelAll(doc);
  std::string error;
  try {
    document::Loadfileset(doc, platform::paths::FromHost(opt.Positionals()[0]));
  } catch (const platform::Error& e) {
    error = e.what();
  }
  std::fputs(DumpDocument(doc).c_str(), stdout);
  if (!error.empty()) {
    std::fflush(stdout);
    return cardtool::Fail(platform::GbkToUtf8(error));
  }
  return 0;
}

}  // namespace
