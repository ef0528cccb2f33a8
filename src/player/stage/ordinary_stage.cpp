#include "player/stage/ordinary_stage.h"

#include <algorithm>
#include <cmath>

#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "player/stage/entrance_geometry.h"
#include "player/stage/stage_paint.h"
#include "player/stage/stage_pictures.h"

namespace stage {

using platform::Bitmap;
using platform::Rect;

namespace {

// The card's timers are checked this often (finer than its shortest, the 10 ms audio timer).
constexpr int kPollMs = 5;

platform::FontSpec GreetingFont(const ordinary::OrdinarySettings& s) {
  platform::FontSpec f;
  f.name = s.boxFontName;
  f.size = s.boxFontSize > 0 ? s.boxFontSize : 9;
  f.bold = s.boxFontBold;
  f.italic = s.boxFontItalic;
  f.underline = s.boxFontUnderline;
  f.strikeOut = s.boxFontStrikeOut;
  f.color = s.boxFontColor;
  return f;
}

bool IsMovie(std::string_view path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  return ext == ".avi" || ext == ".mpg" || ext == ".mpeg";
}

// The screen under the window (its top-left corner on the screen at left, top) over target.
void DrawScreenUnder(Bitmap& target, const Bitmap* screen, int left, int top) {
  if (!screen) return;
  platform::CopyRect(target, 0, 0, *screen, Rect::FromSize(left, top, target.Width(), target.Height()));
}

}  // namespace

Rect ProportionalRect(int pictureW, int pictureH, int boxW, int boxH) {
  if (pictureW <= 0 || pictureH <= 0) return Rect::FromSize(0, 0, boxW, boxH);
  int w, h;
  if (static_cast<int64_t>(pictureW) * boxH > static_cast<int64_t>(pictureH) * boxW) {
    w = boxW;
    h = static_cast<int>(std::lround(static_cast<double>(boxW) * pictureH / pictureW));
  } else {
    h = boxH;
    w = static_cast<int>(std::lround(static_cast<double>(boxH) * pictureW / pictureH));
  }
  return Rect::FromSize((boxW - w) / 2, (boxH - h) / 2, w, h);
}

class OrdinaryStage::StageClock : public ordinary::Clock {
 public:
  int64_t NowMs() override { return now; }
  int64_t now = 0;
};

OrdinaryStage::OrdinaryStage(const ordinary::OrdinarySettings& settings, const ordinary::CardPlayerConfig& config,
                             OrdinaryStageHosts hosts, ordinary::ScreenSize screen)
    : settings_(settings), config_(config), hosts_(std::move(hosts)), clock_(std::make_unique<StageClock>()) {
  ordinary::CardPlayerEnv env;
  env.clock = clock_.get();
  env.screen = screen;
  env.random = hosts_.random;
  env.media = hosts_.media;
  env.open = hosts_.open;
  env.processMessages = hosts_.processMessages;
  player_ = std::make_unique<ordinary::CardPlayer>(config_, std::move(env));
  movie_ = IsMovie(config_.cardImg);
  if (!movie_) cardPicture_ = LoadStagePicture(config_.cardImg);
  if (config_.greetingBox) {
    const platform::FontSpec fontSpec = GreetingFont(settings_);
    greetingFont_ = platform::fonts::Font::Create(fontSpec);
    if (greetingFont_) {
      // One line under the other at the height of "a" in the greeting font.
      greetingLineHeight_ = std::max(1, greetingFont_->Measure("a").height);
      greetingLines_ = platform::fonts::WrapText(*greetingFont_, settings_.boxWord, std::max(1, config_.labelWidth));
    }
    player_->SetScrollText(greetingLineHeight_, GreetingLineCount());
  }
}

OrdinaryStage::~OrdinaryStage() = default;

void OrdinaryStage::Start(int64_t t) {
  if (player_->shown()) return;
  clock_->now = t;
  pictureStart_ = t;
  player_->Show();
  Sync(t);
}

void OrdinaryStage::Advance(int64_t t) {
  if (!player_->shown() || player_->closed()) return;
  clock_->now = std::max(clock_->now, t);
  player_->Poll();
  Sync(t);
}

int64_t OrdinaryStage::NextChangeAt() const {
  if (!player_->shown() || player_->closed()) return -1;
  return clock_->now + kPollMs;
}

void OrdinaryStage::Click(int64_t t) {
  if (!player_->shown() || player_->closed()) return;
  clock_->now = std::max(clock_->now, t);
  player_->Click();
  Sync(t);
}

void OrdinaryStage::DoubleClick(int64_t t) {
  if (!player_->shown() || player_->closed()) return;
  clock_->now = std::max(clock_->now, t);
  player_->DoubleClick();
  Sync(t);
}

void OrdinaryStage::Close(int64_t t) {
  if (player_->closed()) return;
  clock_->now = std::max(clock_->now, t);
  // Closing the window closes the card: the sound stops and the closing links open.
  player_->Close();
}

bool OrdinaryStage::EntranceRunning(int64_t t) const {
  return entranceStart_ >= 0 && t - entranceStart_ < ordinary::kEntranceMs;
}

uint64_t OrdinaryStage::LookKey(int64_t t) const {
  const StagePicture* picture = player_->greetingShown() ? boxPicture_.get() : cardPicture_.get();
  uint64_t key = picture ? static_cast<uint64_t>(FrameAt(*picture, t - pictureStart_)) : 0;
  const ordinary::WindowRect& w = player_->window();
  for (int64_t v : {int64_t{player_->greetingShown()}, int64_t{player_->scrollOffset()}, int64_t{w.left},
                    int64_t{w.top}, int64_t{w.width}, int64_t{w.height},
                    EntranceRunning(t) ? t - entranceStart_ : int64_t{-1}, int64_t(movieFrame_.get() != nullptr)})
    key = key * 1000003u + static_cast<uint64_t>(v);
  return key;
}

// Brings the window up to what the player says: the greeting, place and size, closing.
void OrdinaryStage::Sync(int64_t t) {
  if (player_->closed()) {
    if (hosts_.ui) hosts_.ui->CloseCard();
    return;
  }
  if (player_->greetingShown() && entranceStart_ < 0) {
    entranceStart_ = t;
    pictureStart_ = t;
    boxPicture_ = LoadStagePicture(settings_.cardBox);
  }
  const ordinary::WindowRect& w = player_->window();
  if (!hosts_.ui) return;
  if (w.width != reported_.width || w.height != reported_.height) hosts_.ui->ResizeWindow(w.width, w.height);
  if (w.left != reported_.left || w.top != reported_.top || reported_ == ordinary::WindowRect{})
    hosts_.ui->MoveWindow(w.left, w.top);
  reported_ = w;
}

void OrdinaryStage::DrawContent(Bitmap& target, const Bitmap* screenUnder, int64_t t) const {
  const Rect all = Rect::FromSize(0, 0, target.Width(), target.Height());
  const ordinary::WindowRect& w = player_->window();
  if (!player_->greetingShown()) {
    platform::FillRect(target, all, config_.windowColor);
    if (config_.transparent) DrawScreenUnder(target, screenUnder, w.left, w.top);
    if (movie_) {
      if (movieFrame_) DrawOver(target, Rect::FromSize(0, 0, config_.width, config_.height), *movieFrame_, all);
    } else if (cardPicture_) {
      const Bitmap& frame = *cardPicture_->frames[static_cast<size_t>(FrameAt(*cardPicture_, t - pictureStart_))];
      // A still picture fills the window; a GIF keeps its proportions.
      const bool gif = cardPicture_->FrameCount() > 1 ||
                       platform::AsciiLower(platform::paths::ExtractFileExt(config_.cardImg)) == ".gif";
      DrawOver(target, gif ? ProportionalRect(frame.Width(), frame.Height(), all.Width(), all.Height()) : all, frame, all);
    }
    return;
  }
  platform::FillRect(target, all, config_.greetingColor);
  if (config_.boxTransparent) DrawScreenUnder(target, screenUnder, w.left, w.top);
  if (boxPicture_)
    DrawOver(target, all, *boxPicture_->frames[static_cast<size_t>(FrameAt(*boxPicture_, t - pictureStart_))], all);
  if (greetingLines_.empty() || !greetingFont_) return;
  // Scrolling text enters from the window's bottom edge; still text stays in the label.
  const int top = config_.scroll ? player_->scrollOffset() : 8;
  const Rect clip = config_.scroll ? all : Rect::FromSize(8, 8, config_.labelWidth, config_.labelHeight).Intersect(all);
  for (size_t i = 0; i < greetingLines_.size(); ++i) {
    const int y = top + static_cast<int>(i) * greetingLineHeight_;
    if (y >= clip.bottom) break;
    greetingFont_->Draw(target, 8, y, greetingLines_[i], platform::ResolveColor(settings_.boxFontColor), 0, &clip);
  }
}

void OrdinaryStage::Draw(Bitmap& target, int64_t t, const Bitmap* screenUnder) const {
  if (!EntranceRunning(t)) {
    DrawContent(target, screenUnder, t);
    return;
  }
  // The entrance: the screen under the window, and the part of the window shown so far.
  auto content = Bitmap::Create(target.Width(), target.Height(), platform::PixelFormat::Bgra32);
  if (!content) return;
  DrawContent(*content, screenUnder, t);
  const EntranceFrame f = EntranceFrameAt(player_->entrance(), target.Width(), target.Height(),
                                          static_cast<int>(t - entranceStart_));
  const Rect all = Rect::FromSize(0, 0, target.Width(), target.Height());
  platform::FillRect(target, all, config_.greetingColor);
  const ordinary::WindowRect& w = player_->window();
  DrawScreenUnder(target, screenUnder, w.left, w.top);
  for (int y = 0; y < content->Height(); ++y) {
    uint8_t* row = content->Row(y);
    for (int x = 0; x < content->Width(); ++x) row[x * 4 + 3] = static_cast<uint8_t>(f.opacity);
  }
  DrawOver(target, all, *content, Rect::FromSize(f.left, f.top, f.width, f.height));
}

}  // namespace stage
