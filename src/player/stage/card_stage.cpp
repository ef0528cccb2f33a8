#include "player/stage/card_stage.h"

#include <algorithm>
#include <random>

#include "maker/document/canvas_geometry.h"
#include "maker/document/caption_scroll.h"
#include "platform/error.h"
#include "platform/picture.h"
#include "platform/raster.h"
#include "player/card_media.h"
#include "player/stage/show_box_player.h"
#include "player/stage/stage_paint.h"
#include "player/stage/stage_pictures.h"

namespace stage {

using document::ElementKind;
using platform::Bitmap;

namespace {

// Random choices from a seed the host gives (tests give a fixed one).
class SeededRandom : public player::RandomSource {
 public:
  explicit SeededRandom(uint32_t seed) : engine_(seed) {}
  int Next(int n) override { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(engine_); }

 private:
  std::mt19937 engine_;
};

platform::Rect ToRect(const player::Rect& r) { return platform::Rect::FromSize(r.left, r.top, r.width, r.height); }

}  // namespace

struct CardStage::Piece {
  ElementKind kind = ElementKind::Label;
  int tag = 0;
  int ind = 0;
  player::Rect rect;
  std::string hint;
  int cursor = 0;
  // labels and buttons
  std::string text;
  platform::FontSpec font;
  // images and GIFs
  std::shared_ptr<const StagePicture> picture;
  bool autoSize = false;
  int64_t pictureStart = 0;
  // captions: the widget's timer ticks at the interval; the first tick shows position 0 again
  std::shared_ptr<document::CaptionScroller> scroller;
  int interval = 100;
  int64_t nextTick = -1;
  bool ticked = false;
  mutable std::shared_ptr<Bitmap> captionFrame;
  mutable int captionFramePos = -1;
  // labels and buttons: the text drawn once on a transparent layer of the element's size
  mutable std::shared_ptr<Bitmap> textLayer;
  mutable std::string textLayerOf;

  const Bitmap* TextLayer() const;
};

const Bitmap* CardStage::Piece::TextLayer() const {
  if (textLayer && textLayerOf == text) return textLayer.get();
  textLayer = Bitmap::Create(std::max(rect.width, 1), std::max(rect.height, 1), platform::PixelFormat::Bgra32);
  textLayerOf = text;
  if (!textLayer) return nullptr;
  const platform::Rect all = platform::Rect::FromSize(0, 0, textLayer->Width(), textLayer->Height());
  if (kind == ElementKind::Label) {
    DrawTextBox(*textLayer, font, text, 0, 0, rect.width, all);
  } else {
    DrawCentredText(*textLayer, font, text, all);
  }
  return textLayer.get();
}

CardStage::CardStage(player::OpenedCard& card, StageHosts hosts, StageOptions options)
    : card_(card), hosts_(hosts), options_(options) {
  if (options_.seed == 0) options_.seed = std::random_device{}() | 1u;
  random_ = std::make_unique<SeededRandom>(options_.seed);
  runtime_ = std::make_unique<player::CardRuntime>(card_.model, *card_.media, static_cast<player::CardHost&>(*this),
                                                  *hosts_.navigator);
  Build();
}

CardStage::~CardStage() = default;

const std::string& CardStage::Title() const { return card_.model.window.title; }
bool CardStage::TitleBar() const { return card_.model.window.showTitleBar; }

namespace {

// A packed picture decoded from the card's bytes; a design path that was not packed from its file.
std::shared_ptr<const StagePicture> PictureOf(player::CardRuntime& runtime, player::MediaStore& media,
                                              const player::MediaRef& ref) {
  if (ref.Packed()) {
    const std::string_view bytes = media.Bytes(ref.id);
    return DecodeStagePicture(bytes, player::SniffExtension(bytes));
  }
  return LoadStagePicture(runtime.FileOf(ref));
}

}  // namespace

void CardStage::Build() {
  const player::CardModel& m = card_.model;
  width_ = m.window.width;
  height_ = m.window.height;
  if (auto mask = PictureOf(*runtime_, *card_.media, m.window.mask)) {
    // The mask's own size is the card's size; its non-white pixels are the window.
    width_ = mask->width;
    height_ = mask->height;
    shape_ = document::MaskRegion(*mask->frames.front());
  }
  width_ = std::max(width_, 1);
  height_ = std::max(height_, 1);
  background_ = PictureOf(*runtime_, *card_.media, m.window.background);

  if (m.picsBox.present) {
    Piece p;
    p.kind = ElementKind::Pics;
    p.rect = m.picsBox.rect;
    p.hint = m.picsBox.hint;
    p.cursor = m.picsBox.cursor;
    pieces_.push_back(std::move(p));
    showBox_ = std::make_unique<ShowBoxPlayer>(m.picsBox, options_.screenWidth, options_.screenHeight,
                                               options_.seed + 7, options_.showBoxStepMs);
  }
  auto base = [](Piece& p, ElementKind kind, const player::ElementBase& e) {
    p.kind = kind;
    p.tag = e.tag;
    p.ind = e.ind;
    p.rect = e.rect;
    p.hint = e.hint;
    p.cursor = e.cursor;
  };
  for (const player::LabelModel& e : m.labels) {
    Piece p;
    base(p, ElementKind::Label, e);
    p.text = e.caption;
    p.font = e.font;
    pieces_.push_back(std::move(p));
  }
  for (const player::ButtonModel& e : m.buttons) {
    Piece p;
    base(p, ElementKind::Button, e);
    p.text = e.caption;
    p.font = e.font;
    pieces_.push_back(std::move(p));
  }
  auto pictures = [&](const std::vector<player::PictureModel>& list, ElementKind kind) {
    for (const player::PictureModel& e : list) {
      Piece p;
      base(p, kind, e);
      p.autoSize = e.autoSize;
      p.picture = PictureOf(*runtime_, *card_.media, e.file);
      if (p.picture && p.autoSize) {
        p.rect.width = p.picture->width;
        p.rect.height = p.picture->height;
      }
      pieces_.push_back(std::move(p));
    }
  };
  pictures(m.images, ElementKind::Image);
  pictures(m.gifs, ElementKind::Gif);
  for (const player::FlashModel& e : m.flashes) {
    Piece p;
    p.kind = ElementKind::Flash;
    p.tag = e.tag;
    p.ind = e.ind;
    p.rect = e.rect;
    hosts_.ui->ShowFlashMovie(p.tag, {p.rect.left, p.rect.top, p.rect.width, p.rect.height}, runtime_->FileOf(e.file));
    pieces_.push_back(std::move(p));
  }
  for (const player::CaptionModel& e : m.captions) {
    Piece p;
    p.kind = ElementKind::Scl;
    p.tag = e.tag;
    p.ind = e.ind;
    p.rect = e.rect;
    document::CaptionLook look;
    look.text = e.text;
    look.font = e.font;
    look.bkColor = e.bkColor;
    look.transparent = e.transparent;
    look.way = e.way;
    look.width = std::max(e.rect.width, 1);
    look.height = std::max(e.rect.height, 1);
    if (auto pic = PictureOf(*runtime_, *card_.media, e.picture)) look.picture = pic->frames.front();
    p.scroller = std::make_shared<document::CaptionScroller>(std::move(look));
    p.interval = std::max(e.interval, 1);
    pieces_.push_back(std::move(p));
  }
  // Higher stacking values lie in front; equal values keep the order above.
  std::stable_sort(pieces_.begin(), pieces_.end(), [](const Piece& a, const Piece& b) { return a.ind < b.ind; });
}

std::unique_ptr<Bitmap> CardStage::ShapeMask() const {
  auto mask = Bitmap::Create(width_, height_, platform::PixelFormat::Indexed8);
  if (!mask) return nullptr;
  if (shape_.Empty()) {
    mask->Fill(platform::Rgb(255, 0, 0));
  } else {
    platform::FillRegion(*mask, shape_, platform::Rgb(255, 0, 0));
  }
  return mask;
}

void CardStage::Start(int64_t t, player::ScreenSize screen, int outerWidth, int outerHeight) {
  if (started_ || closed_) return;
  started_ = true;
  now_ = t;
  if (options_.move) {
    motion_.emplace(card_.model.window, screen, outerWidth, outerHeight, *random_);
    hosts_.ui->MoveWindow(motion_->Start().left, motion_->Start().top);
    if (motion_->Moving()) nextMove_ = t + std::max(motion_->IntervalMs(), 1);
  }
  if (options_.playMusic) {
    if (const std::string music = runtime_->FileOf(card_.model.window.music); !music.empty())
      hosts_.sound->PlayMusic(music);
  }
  for (Piece& p : pieces_) {
    p.pictureStart = t;
    if (p.scroller) p.nextTick = t + p.interval;
  }
  // Once the window is on the screen: the show box's first picture.
  if (showBox_) {
    std::vector<std::unique_ptr<Bitmap>> decoded;
    for (int id : card_.model.picsBox.pictures) {
      const std::string_view bytes = card_.media->Bytes(id);
      if (auto pic = DecodeStagePicture(bytes, player::SniffExtension(bytes)))
        decoded.push_back(pic->frames.front()->Clone());
    }
    showBox_->SetPictures(std::move(decoded), t);
  }
}

void CardStage::Loaded() {
  if (!started_ || loaded_ || closed_) return;
  loaded_ = true;
  if (options_.runWindowActions) runtime_->WindowShown();
}

void CardStage::Advance(int64_t t) {
  if (!started_ || closed_ || t < now_) return;
  now_ = t;
  if (motion_ && nextMove_ >= 0 && nextMove_ <= t) {
    const int interval = std::max(motion_->IntervalMs(), 1);
    player::Point p = motion_->Position();
    while (nextMove_ >= 0 && nextMove_ <= t) {
      p = motion_->Step();
      nextMove_ = motion_->Moving() ? nextMove_ + interval : -1;
    }
    hosts_.ui->MoveWindow(p.left, p.top);
  }
  for (Piece& p : pieces_) {
    if (!p.scroller || p.nextTick < 0 || p.nextTick > t) continue;
    int64_t ticks = (t - p.nextTick) / p.interval + 1;
    p.nextTick += ticks * p.interval;
    if (!p.ticked) {  // the first tick draws position 0 once more
      p.ticked = true;
      --ticks;
    }
    const document::CaptionGeometry g = p.scroller->Geometry();
    ticks %= document::CaptionPositionLimit(g) + 1;  // a whole round comes back to the same place
    int pos = p.scroller->Position();
    for (int64_t k = 0; k < ticks; ++k) pos = document::NextCaptionPosition(g, pos);
    p.scroller->SetPosition(pos);
  }
  if (showBox_) showBox_->Advance(t);
}

int64_t CardStage::NextChangeAt() const {
  if (!started_ || closed_) return -1;
  int64_t next = -1;
  auto take = [&next](int64_t at) {
    if (at >= 0 && (next < 0 || at < next)) next = at;
  };
  take(nextMove_);
  for (const Piece& p : pieces_) {
    take(p.nextTick);
    if (p.picture && p.picture->FrameCount() > 1) take(p.pictureStart + NextFrameAt(*p.picture, now_ - p.pictureStart));
  }
  if (showBox_) take(showBox_->NextChangeAt());
  return next;
}

void CardStage::Draw(Bitmap& target) const {
  DrawBackground(target);
  for (const Piece& p : pieces_) DrawPiece(target, p);
}

bool CardStage::Moves(ElementKind kind) {
  return kind == ElementKind::Pics || kind == ElementKind::Gif || kind == ElementKind::Scl;
}

StageLayers CardStage::DrawLayers() const {
  StageLayers layers;
  auto layer = [&] {
    layers.still.push_back(Bitmap::Create(width_, height_, platform::PixelFormat::Bgra32));
    if (layers.still.back()) layers.still.back()->Fill(0, 0);
    return layers.still.back().get();
  };
  Bitmap* still = layer();
  if (still) DrawBackground(*still);
  for (const Piece& p : pieces_) {
    if (Moves(p.kind)) {
      layers.moving.push_back({p.kind, p.tag});
      still = layer();
    } else if (still) {
      DrawPiece(*still, p);
    }
  }
  return layers;
}

void CardStage::DrawBackground(Bitmap& target) const {
  const platform::Rect card = platform::Rect::FromSize(0, 0, width_, height_);
  platform::FillRect(target, card, card_.model.window.bkColor);
  if (background_) {
    const Bitmap& pic = *background_->frames.front();
    for (const document::Rect& r : document::BackgroundPlacements(width_, height_, pic.Width(), pic.Height(),
                                                                   card_.model.window.backgroundLayout))
      DrawOver(target, platform::Rect::FromSize(r.left, r.top, r.width, r.height), pic, card);
  }
}

void CardStage::DrawPiece(Bitmap& target, const Piece& p) const {
  const platform::Rect r = ToRect(p.rect);
  if (r.Empty()) return;
  switch (p.kind) {
    case ElementKind::Label:
      if (const Bitmap* text = p.TextLayer()) DrawOver(target, r, *text, r);
      break;
    case ElementKind::Button: {
      const StageHit me{p.kind, p.tag};
      const bool down = pressed_ == me && hover_ == me;
      if (down || hover_ == me) DrawEdge(target, r, !down);
      // Pressed, the caption sinks one pixel down and to the right.
      const platform::Rect at = down ? platform::Rect{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1} : r;
      if (const Bitmap* text = p.TextLayer()) DrawOver(target, at, *text, r);
      break;
    }
    case ElementKind::Image:
    case ElementKind::Gif:
      if (p.picture) {
        const int frame = FrameAt(*p.picture, now_ - p.pictureStart);
        DrawOver(target, r, *p.picture->frames[static_cast<size_t>(frame)], r);
      }
      break;
    case ElementKind::Scl: {
      const int pos = p.scroller->Position();
      if (!p.captionFrame || p.captionFramePos != pos) {
        p.captionFrame = p.scroller->Frame();
        p.captionFramePos = pos;
      }
      if (p.captionFrame) DrawOver(target, r, *p.captionFrame, r);
      break;
    }
    case ElementKind::Pics:
      if (showBox_) DrawOver(target, r, showBox_->Surface(), r);
      break;
    case ElementKind::Flash:
    case ElementKind::Wav:
      break;  // Flash movies play in the host's own view over their rectangle
  }
}

std::unique_ptr<Bitmap> CardStage::Render(int64_t t) {
  Advance(t);
  auto out = Bitmap::Create(width_, height_, platform::PixelFormat::Bgra32);
  if (out) Draw(*out);
  return out;
}

std::optional<StageHit> CardStage::HitAt(int x, int y) const {
  for (auto it = pieces_.rbegin(); it != pieces_.rend(); ++it)
    if (ToRect(it->rect).Contains(x, y)) return StageHit{it->kind, it->tag};
  return std::nullopt;
}

void CardStage::MouseMove(int64_t t, int x, int y) {
  Advance(t);
  hover_ = HitAt(x, y);
}

void CardStage::MouseLeave(int64_t t) {
  Advance(t);
  hover_.reset();
}

void CardStage::MouseDown(int64_t t, int x, int y) {
  Advance(t);
  hover_ = HitAt(x, y);
  pressed_ = hover_;
}

void CardStage::DoubleClick(int64_t t, int x, int y) {
  // The second press of a double click is a press like the first: its release clicks again.
  MouseDown(t, x, y);
}

void CardStage::MouseUp(int64_t t, int x, int y) {
  Advance(t);
  const std::optional<StageHit> pressed = pressed_;
  pressed_.reset();
  hover_ = HitAt(x, y);
  if (!pressed || closed_) return;
  // A click: released inside the element that was pressed.
  const Piece* p = Find(pressed->kind, pressed->tag);
  if (!p || !ToRect(p->rect).Contains(x, y)) return;
  if (pressed->kind == ElementKind::Pics) {
    if (showBox_) showBox_->Click(now_);
    return;
  }
  runtime_->Click(pressed->kind, pressed->tag);
}

bool CardStage::Key(int64_t t, int) {
  Advance(t);
  return false;
}

StageCursor CardStage::Cursor() const {
  if (!hover_) return StageCursor::Arrow;
  const Piece* p = Find(hover_->kind, hover_->tag);
  if (!p || p->cursor < 0 || p->cursor > 2) return StageCursor::Arrow;
  return static_cast<StageCursor>(p->cursor);
}

std::string CardStage::Hint() const {
  if (!hover_) return {};
  const Piece* p = Find(hover_->kind, hover_->tag);
  return p ? p->hint : std::string();
}

void CardStage::Close() {
  if (closed_) return;
  closed_ = true;
  nextMove_ = -1;
  if (showBox_) showBox_->Stop();
  if (started_ && options_.runWindowActions) runtime_->WindowClosing();
  hosts_.sound->StopMusic();
  hosts_.sound->PlaySound("");
}

CardStage::Piece* CardStage::Find(ElementKind kind, int tag) {
  for (Piece& p : pieces_)
    if (p.kind == kind && (kind == ElementKind::Pics || p.tag == tag)) return &p;
  return nullptr;
}

const CardStage::Piece* CardStage::Find(ElementKind kind, int tag) const {
  return const_cast<CardStage*>(this)->Find(kind, tag);
}

std::string CardStage::LabelText(int tag) const {
  const Piece* p = Find(ElementKind::Label, tag);
  return p ? p->text : std::string();
}

int CardStage::PictureFrame(ElementKind kind, int tag) const {
  const Piece* p = Find(kind, tag);
  if (!p || (kind != ElementKind::Image && kind != ElementKind::Gif)) return -1;
  return p->picture ? FrameAt(*p->picture, now_ - p->pictureStart) : 0;
}

int CardStage::CaptionPosition(int tag) const {
  const Piece* p = Find(ElementKind::Scl, tag);
  return p ? p->scroller->Position() : -1;
}

std::optional<player::Rect> CardStage::ElementRect(ElementKind kind, int tag) const {
  const Piece* p = Find(kind, tag);
  if (!p) return std::nullopt;
  return p->rect;
}

// --- what the card's actions ask of the window -------------------------------------------

void CardStage::CloseCard() { hosts_.ui->CloseCard(); }

void CardStage::SetLabelText(int tag, const std::string& text) {
  if (Piece* p = Find(ElementKind::Label, tag)) p->text = text;
}

bool CardStage::SetPicture(ElementKind kind, int tag, const std::string& path) {
  Piece* p = Find(kind, tag);
  if (!p) return false;
  auto picture = LoadStagePicture(path);
  if (!picture) return false;
  p->picture = std::move(picture);
  p->pictureStart = now_;
  if (p->autoSize) {
    p->rect.width = p->picture->width;
    p->rect.height = p->picture->height;
  }
  return true;
}

bool CardStage::SetImagePicture(int tag, const std::string& path) { return SetPicture(ElementKind::Image, tag, path); }
bool CardStage::SetGifPicture(int tag, const std::string& path) { return SetPicture(ElementKind::Gif, tag, path); }

bool CardStage::SetFlashMovie(int tag, const std::string& path) {
  const Piece* p = Find(ElementKind::Flash, tag);
  if (!p) return false;
  return hosts_.ui->ShowFlashMovie(tag, {p->rect.left, p->rect.top, p->rect.width, p->rect.height}, path);
}

void CardStage::PicsPrevious() {
  if (showBox_) showBox_->ShowPrevious(now_);
}

void CardStage::PicsNext() {
  if (showBox_) showBox_->ShowNext(now_);
}

bool CardStage::PicsShow(int index) { return showBox_ && showBox_->ShowIndex(index, now_); }

void CardStage::PlaySound(const std::string& path) { hosts_.sound->PlaySound(path); }

platform::MsgResult CardStage::ShowMessage(const std::string& text, platform::MsgIcon icon,
                                           platform::MsgButtons buttons) {
  return hosts_.ui->ShowMessage(text, icon, buttons);
}

}  // namespace stage
