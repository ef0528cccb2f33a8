#include "player/web/interactive_web_card.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

#include "maker/packaging/build_report.h"
#include "maker/packaging/side_files.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "maker/document/caption_scroll.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/card_actions.h"
#include "player/stage/card_stage.h"
#include "player/stage/stage_pictures.h"
#include "player/web/web_page.h"

namespace web {

using document::ElementKind;
using platform::Bitmap;
using platform::PixelFormat;

namespace {

// What a program start looks like in a web card: its name and why nothing runs.
constexpr const char* kNoPrograms = "网页贺卡不运行程序。";
// The status line while the page is written.
constexpr const char* kWritingPage = "正在生成网页贺卡...";

std::string Int(int v) { return std::to_string(v); }

std::string RectJson(const player::Rect& r) {
  return "\"x\":" + Int(r.left) + ",\"y\":" + Int(r.top) + ",\"w\":" + Int(r.width) + ",\"h\":" + Int(r.height);
}

std::string FileBytes(const std::string& path) {
  if (path.empty()) return {};
  auto bytes = platform::files::ReadFile(path);
  return bytes ? *bytes : std::string();
}

// The frames and delays of a picture file, as "frames":[...],"delays":[...].
std::string FramesJson(const stage::StagePicture& pic) {
  std::string frames, delays;
  for (int i = 0; i < pic.FrameCount(); ++i) {
    if (i) {
      frames += ',';
      delays += ',';
    }
    frames += JsonString(PngDataUri(*pic.frames[static_cast<size_t>(i)]));
    delays += Int(i < static_cast<int>(pic.delaysMs.size()) ? pic.delaysMs[static_cast<size_t>(i)] : 100);
  }
  return "\"frames\":[" + frames + "],\"delays\":[" + delays + "]";
}

// Hosts that write down, in order, what the card asks of them, as the page's effect list.
class Recorder : public stage::StageSound, public stage::StageNavigator, public stage::StageUi {
 public:
  std::vector<std::string> effects;
  MediaConverter convert;

  void PlayMusic(const std::string&) override {}
  void StopMusic() override {}
  void PlaySound(const std::string& path) override {
    const std::string uri = MediaDataUri(path, FileBytes(path), convert);
    if (!uri.empty()) effects.push_back("{\"do\":\"sound\",\"src\":" + JsonString(uri) + "}");
  }
  bool Open(const std::string& target) override {
    if (player::IsAddress(target)) {
      effects.push_back("{\"do\":\"open\",\"url\":" + JsonText(target) + "}");
    } else {
      effects.push_back("{\"do\":\"message\",\"text\":" +
                        JsonText(platform::paths::ExtractFileName(target) + "\r\n网页贺卡不能打开文件。") + "}");
    }
    return true;
  }
  bool StartProgram(const std::string& path) override {
    effects.push_back("{\"do\":\"message\",\"text\":" +
                      JsonText(platform::paths::ExtractFileName(path) + "\r\n" + kNoPrograms) + "}");
    return true;
  }
  bool StartPlayer(const std::string&, const std::string& cardPath) override {
    effects.push_back("{\"do\":\"message\",\"text\":" +
                      JsonText(platform::paths::ExtractFileName(cardPath) + "\r\n网页贺卡不能播放其他贺卡文件。") +
                      "}");
    return true;
  }
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon, platform::MsgButtons buttons) override {
    // The one question a card asks is whether to start a program: the answer is yes here,
    // and the start that follows is shown as a message saying that nothing runs.
    if (buttons != platform::MsgButtons::Ok) return platform::MsgResult::Yes;
    effects.push_back("{\"do\":\"message\",\"text\":" + JsonText(text) + "}");
    return platform::MsgResult::Ok;
  }
  void CloseCard() override { effects.push_back("{\"do\":\"close\"}"); }
  void MoveWindow(int, int) override {}
  void ResizeWindow(int, int) override {}
  bool ShowFlashMovie(int, const stage::ScreenRect&, const std::string&) override { return false; }

  stage::StageHosts Hosts() { return {this, this, this}; }
};

stage::StageOptions BuildOptions() {
  stage::StageOptions o;
  o.playMusic = false;
  o.move = false;
  o.seed = 1;
  return o;
}

// A stage for the page's build, started at time zero with the card's actions recorded.
struct BuildStage {
  Recorder hosts;
  stage::CardStage stage;
  explicit BuildStage(player::OpenedCard& card) : stage(card, hosts.Hosts(), BuildOptions()) {
    stage.Start(0, {1024, 768}, stage.Width(), stage.Height());
  }
};

// The bounding box of the pixels that differ between two drawings of the card.
std::optional<player::Rect> Changed(const Bitmap& a, const Bitmap& b) {
  int l = a.Width(), t = a.Height(), r = -1, bt = -1;
  for (int y = 0; y < a.Height(); ++y) {
    const uint8_t* ra = a.Row(y);
    const uint8_t* rb = b.Row(y);
    for (int x = 0; x < a.Width(); ++x) {
      if (std::equal(ra + x * 4, ra + x * 4 + 4, rb + x * 4)) continue;
      l = std::min(l, x);
      r = std::max(r, x);
      t = std::min(t, y);
      bt = std::max(bt, y);
    }
  }
  if (r < 0) return std::nullopt;
  return player::Rect{l, t, r - l + 1, bt - t + 1};
}

// The bounding box of the pixels of a layer that are not fully transparent.
std::optional<player::Rect> Inked(const Bitmap& layer) {
  auto clear = Bitmap::Create(layer.Width(), layer.Height(), PixelFormat::Bgra32);
  clear->Fill(0, 0);
  return Changed(*clear, layer);
}

std::unique_ptr<Bitmap> Crop(const Bitmap& src, const player::Rect& r) {
  auto out = Bitmap::Create(r.width, r.height, PixelFormat::Bgra32);
  for (int y = 0; y < r.height; ++y) {
    std::copy_n(src.Row(r.top + y) + r.left * 4, r.width * 4, out->Row(y));
  }
  return out;
}

const player::ClickSetting* ClickOf(const player::CardModel& m, ElementKind kind, int tag) {
  auto find = [tag](const auto& list) -> const player::ClickSetting* {
    for (const auto& e : list)
      if (e.tag == tag) return &e.click;
    return nullptr;
  };
  switch (kind) {
    case ElementKind::Label: return find(m.labels);
    case ElementKind::Button: return find(m.buttons);
    case ElementKind::Image: return find(m.images);
    case ElementKind::Gif: return find(m.gifs);
    default: return nullptr;
  }
}

// What a click on the element does, as the page's effect list.
std::string ClickEffects(player::OpenedCard& full, ElementKind kind, int tag, const MediaConverter& convert) {
  const player::ClickSetting* click = ClickOf(full.model, kind, tag);
  if (!click) return "[]";
  Recorder rec;
  rec.convert = convert;
  stage::CardStage st(full, rec.Hosts(), BuildOptions());
  st.Runtime().Click(kind, tag);
  std::vector<std::string> effects = rec.effects;

  const player::Action action = player::ParseAction(click->cmd);
  switch (action.kind) {
    case player::ActionKind::PicsNext: effects.push_back("{\"do\":\"next\"}"); break;
    case player::ActionKind::PicsPrevious: effects.push_back("{\"do\":\"previous\"}"); break;
    case player::ActionKind::PicsNumber:
      effects.push_back("{\"do\":\"show\",\"index\":" + Int(player::PictureNumberIndex(click->value1.path)) + "}");
      break;
    case player::ActionKind::LabelText:
    case player::ActionKind::ImagePicture: {
      // The card as the click leaves it, drawn on the build's stage: the page lays the part
      // that changed into the layer that holds it.
      BuildStage build(full);
      const stage::StageLayers before = build.stage.DrawLayers();
      build.stage.Runtime().Click(kind, tag);
      const stage::StageLayers after = build.stage.DrawLayers();
      for (size_t layer = 0; layer < after.still.size() && layer < before.still.size(); ++layer) {
        if (auto r = Changed(*before.still[layer], *after.still[layer])) {
          effects.push_back("{\"do\":\"paint\",\"layer\":" + Int(static_cast<int>(layer)) + "," + RectJson(*r) +
                            ",\"src\":" + JsonString(PngDataUri(*Crop(*after.still[layer], *r))) + "}");
        }
      }
      break;
    }
    case player::ActionKind::GifPicture: {
      auto pic = stage::LoadStagePicture(st.Runtime().FileOf(click->value1));
      if (pic) effects.push_back("{\"do\":\"gif\",\"tag\":" + Int(action.tag) + "," + FramesJson(*pic) + "}");
      break;
    }
    case player::ActionKind::FlashMovie:
      effects.push_back("{\"do\":\"message\",\"text\":" +
                        JsonText(platform::paths::ExtractFileName(click->value1.path) + "\r\n网页贺卡不播放 Flash 动画。") +
                        "}");
      break;
    default: break;
  }
  std::string out = "[";
  for (size_t i = 0; i < effects.size(); ++i) out += (i ? "," : "") + effects[i];
  return out + "]";
}

std::string WindowEffects(player::OpenedCard& full, bool closing, const MediaConverter& convert) {
  Recorder rec;
  rec.convert = convert;
  stage::StageOptions o = BuildOptions();
  stage::CardStage st(full, rec.Hosts(), o);
  st.Start(0, {1024, 768}, st.Width(), st.Height());
  if (closing) {
    st.Loaded();
    rec.effects.clear();
    st.Close();
  } else {
    st.Loaded();
  }
  std::string out = "[";
  for (size_t i = 0; i < rec.effects.size(); ++i) out += (i ? "," : "") + rec.effects[i];
  return out + "]";
}

std::string CursorName(int cursor) { return cursor == 1 ? "pointer" : cursor == 2 ? "crosshair" : "default"; }

}  // namespace

std::string InteractiveCardJson(player::OpenedCard& card, const MediaConverter& convert) {
  const player::CardModel& m = card.model;
  std::string j = "{\"kind\":\"interactive\"";

  // The still card in layers split at its moving parts, so that the page stacks the show box,
  // the GIFs and the captions between them as the stage does. The lowest layer is transparent
  // outside the mask.
  BuildStage build(card);
  stage::StageLayers layers = build.stage.DrawLayers();
  Bitmap& picture = *layers.still.front();
  const bool shaped = !build.stage.Shape().Empty();
  if (shaped) {
    auto mask = build.stage.ShapeMask();
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x)
        if (mask->Row(y)[x] == 0) picture.Row(y)[x * 4 + 3] = 0;
  }
  j += ",\"title\":" + JsonText(build.stage.Title());
  j += ",\"width\":" + Int(build.stage.Width()) + ",\"height\":" + Int(build.stage.Height());
  j += ",\"shaped\":" + std::string(shaped ? "true" : "false");
  j += ",\"base\":" + JsonString(PngDataUri(picture));
  j += ",\"stack\":[";
  for (size_t i = 0; i < layers.moving.size(); ++i) {
    const stage::StageHit& part = layers.moving[i];
    const char* name = part.kind == ElementKind::Pics ? "box" : part.kind == ElementKind::Gif ? "gif" : "caption";
    j += std::string(i ? "," : "") + "{\"part\":\"" + name + "\",\"tag\":" + Int(part.tag) + ",\"over\":";
    const Bitmap& over = *layers.still[i + 1];
    if (auto r = Inked(over)) {
      j += "{" + RectJson(*r) + ",\"src\":" + JsonString(PngDataUri(*Crop(over, *r))) + "}";
    } else {
      j += "null";
    }
    j += "}";
  }
  j += "]";

  // Music: the browser plays WAV and MP3; MIDI music is converted when a converter is given.
  std::string music;
  if (m.window.music.Packed()) {
    const std::string_view bytes = card.media->Bytes(m.window.music.id);
    music = MediaDataUri("music" + player::SniffExtension(bytes), bytes, convert);
  }
  j += ",\"music\":" + (music.empty() ? std::string("null") : JsonString(music));

  // The show box: its pictures decoded here, its rules in the page's WebAssembly.
  if (m.picsBox.present) {
    const auto& b = m.picsBox;
    j += ",\"box\":{" + RectJson(b.rect) + ",\"bk\":" + Int(static_cast<int>(b.bkColor)) +
         ",\"interval\":" + Int(b.intervalSeconds) + ",\"random\":" + (b.randomOrder ? "true" : "false") +
         ",\"click\":" + (b.clickShowsNext ? "true" : "false") + ",\"effect\":" + Int(b.effectId) + ",\"pictures\":[";
    bool first = true;
    for (int id : b.pictures) {
      auto pic = stage::DecodeStagePicture(card.media->Bytes(id), player::SniffExtension(card.media->Bytes(id)));
      if (!pic) continue;
      j += (first ? "" : ",") + JsonString(PngDataUri(*pic->frames.front()));
      first = false;
    }
    j += "]}";
  } else {
    j += ",\"box\":null";
  }

  // GIF animations: every frame with its delay.
  j += ",\"gifs\":[";
  {
    bool first = true;
    for (const auto& g : m.gifs) {
      auto pic = stage::DecodeStagePicture(card.media->Bytes(g.file.id), ".gif");
      auto rect = build.stage.ElementRect(ElementKind::Gif, g.tag);
      if (!pic || !rect) continue;
      j += std::string(first ? "" : ",") + "{\"tag\":" + Int(g.tag) + "," + RectJson(*rect) + "," + FramesJson(*pic) + "}";
      first = false;
    }
  }
  j += "]";

  // Captions: each line drawn here in the caption's font; the page places the lines.
  j += ",\"captions\":[";
  for (size_t i = 0; i < m.captions.size(); ++i) {
    const auto& c = m.captions[i];
    document::CaptionLook look;
    look.text = c.text;
    look.font = c.font;
    look.bkColor = c.bkColor;
    look.transparent = c.transparent;
    look.way = c.way;
    look.width = std::max(c.rect.width, 1);
    look.height = std::max(c.rect.height, 1);
    if (c.picture.Packed()) {
      const auto bytes = card.media->Bytes(c.picture.id);
      if (auto pic = stage::DecodeStagePicture(bytes, player::SniffExtension(bytes))) look.picture = pic->frames.front();
    }
    document::CaptionScroller scroller(look);
    j += std::string(i ? "," : "") + "{\"tag\":" + Int(c.tag) + "," + RectJson(c.rect) +
         ",\"interval\":" + Int(std::max(c.interval, 1)) + ",\"way\":" + Int(c.way) +
         ",\"lineHeight\":" + Int(scroller.LineHeight()) + ",\"lines\":[";
    // The caption's own background (colour and picture) with no line on it: a position past
    // every line's place draws none.
    auto font = platform::fonts::Font::Create(c.font);
    for (size_t k = 0; k < scroller.Lines().size(); ++k) {
      auto line = Bitmap::Create(look.width, std::max(font ? font->Height() : 1, 1), PixelFormat::Bgra32);
      line->Fill(0, 0);
      if (font) font->Draw(*line, 0, 0, scroller.Lines()[k], c.font.color);
      j += (k ? "," : "") + JsonString(PngDataUri(*line));
    }
    j += "]";
    if (!c.transparent) {
      auto bg = document::DrawCaptionFrame(look, *font, {}, scroller.LineHeight(), 0);
      if (bg) j += ",\"background\":" + JsonString(PngDataUri(*bg));
    }
    j += "}";
  }
  j += "]";

  // Where a click lands: every element, front-most first, with its hint, cursor and effects.
  struct Hit {
    int ind;
    int order;
    std::string json;
  };
  std::vector<Hit> hits;
  const stage::CardStage& probe = build.stage;
  auto add = [&](ElementKind kind, int tag, int ind, const std::string& hint, int cursor, bool clicks) {
    auto rect = probe.ElementRect(kind, tag);
    if (kind == ElementKind::Pics) rect = m.picsBox.rect;
    if (!rect) return;
    std::string h = "{" + RectJson(*rect) + ",\"hint\":" + JsonText(hint) + ",\"cursor\":\"" + CursorName(cursor) +
                    "\",\"box\":" + (kind == ElementKind::Pics ? "true" : "false") +
                    ",\"effects\":" + (clicks ? ClickEffects(card, kind, tag, convert) : std::string("[]")) + "}";
    hits.push_back({ind, static_cast<int>(hits.size()), std::move(h)});
  };
  if (m.picsBox.present) add(ElementKind::Pics, 0, 0, m.picsBox.hint, m.picsBox.cursor, false);
  for (const auto& e : m.labels) add(ElementKind::Label, e.tag, e.ind, e.hint, e.cursor, true);
  for (const auto& e : m.buttons) add(ElementKind::Button, e.tag, e.ind, e.hint, e.cursor, true);
  for (const auto& e : m.images) add(ElementKind::Image, e.tag, e.ind, e.hint, e.cursor, true);
  for (const auto& e : m.gifs) add(ElementKind::Gif, e.tag, e.ind, e.hint, e.cursor, true);
  for (const auto& e : m.flashes) add(ElementKind::Flash, e.tag, e.ind, "", 0, false);
  for (const auto& e : m.captions) add(ElementKind::Scl, e.tag, e.ind, "", 0, false);
  std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
    return a.ind != b.ind ? a.ind > b.ind : a.order > b.order;
  });
  j += ",\"hits\":[";
  for (size_t i = 0; i < hits.size(); ++i) j += (i ? "," : "") + hits[i].json;
  j += "]";

  j += ",\"onLoad\":" + WindowEffects(card, false, convert);
  j += ",\"onClose\":" + WindowEffects(card, true, convert);
  return j + "}";
}

void WriteInteractiveWebCard(player::OpenedCard& card, const std::string& outPath, const MediaConverter& convert) {
  const std::string json = InteractiveCardJson(card, convert);
  const std::string page = WebCardPage(platform::GbkToUtf8(card.model.window.title), json);
  if (!platform::files::WriteFileAtomic(outPath, page)) throw platform::FileError("无法写入文件 " + outPath + "。");
}

bool BuildInteractiveWebCard(document::CardDocument& doc, const std::string& outPath,
                             const packaging::MakeExeHooks& hooks, const MediaConverter& convert) {
  static int counter = 0;
  const auto& family = packaging::ChooseFamily(doc, packaging::BuilderMediaList(doc));
  const std::string card = platform::files::TempFolder() + "webcard-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter++) + std::string(family.plainExt);
  // The builder's closing "ready" waits until the page is written too.
  packaging::MakeExeHooks inner = hooks;
  bool readyHeld = false;
  if (hooks.status) {
    inner.status = [&](const std::string& text) {
      if (text == packaging::kStatusReady) readyHeld = true;
      else hooks.status(text);
    };
  }
  struct Remove {
    std::string path;
    const packaging::MakeExeHooks& hooks;
    bool& readyHeld;
    ~Remove() {
      platform::files::DeleteFile(path);
      if (readyHeld && hooks.status) hooks.status(std::string(packaging::kStatusReady));
    }
  } remove{card, hooks, readyHeld};
  if (!packaging::MakeExe(doc, card, inner)) return false;
  if (hooks.status) hooks.status(kWritingPage);
  player::OpenedCard opened = player::OpenCardFile(card);
  WriteInteractiveWebCard(opened, outPath, convert);
  return true;
}

}  // namespace web
