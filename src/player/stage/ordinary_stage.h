#pragma once
// OrdinaryStage: an ordinary card played without a toolkit. ordinary::CardPlayer decides where
// the card stands and moves, the music and voice order, when the greeting box comes up and how
// its text scrolls, and what closing opens; the stage drives it with the time the host hands
// in (never a clock of its own) and draws the window's content — the card picture (a still
// picture stretched, a GIF keeping its proportions), the greeting box with its picture and
// text, the entrance — into a bitmap. Window place and size go to ui.MoveWindow/ResizeWindow.
//
// A card picture that is a movie is played by the host; it hands the stage each new frame.
// A transparent card shows the screen under it: the host hands in the screen's picture.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maker/ordinary/card_media.h"
#include "maker/ordinary/card_player.h"
#include "maker/ordinary/card_player_config.h"
#include "maker/ordinary/ordinary_settings.h"
#include "platform/bitmap.h"
#include "platform/fonts.h"
#include "platform/region.h"
#include "player/stage/stage_hosts.h"

namespace stage {

struct StagePicture;

// The rectangle in which a picture, scaled to fit a box keeping its proportions, is drawn
// centred in the box.
platform::Rect ProportionalRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

struct OrdinaryStageHosts {
  ordinary::CardMedia* media = nullptr;         // music and voice
  ordinary::RandomSource* random = nullptr;     // positions and the entrance
  StageUi* ui = nullptr;                        // window place and size, closing
  std::function<bool(const std::string&)> open; // the closing links (web address, mail)
  std::function<void()> processMessages;        // while waiting for a voice
};

class OrdinaryStage {
 public:
  // settings: an ordinary card's record with its media paths as files (system paths).
  OrdinaryStage(const ordinary::OrdinarySettings& settings, const ordinary::CardPlayerConfig& config,
                OrdinaryStageHosts hosts, ordinary::ScreenSize screen);
  ~OrdinaryStage();
  OrdinaryStage(const OrdinaryStage&) = delete;
  OrdinaryStage& operator=(const OrdinaryStage&) = delete;

  // The card comes up at t: its start place, music and voice, movement.
  void Start(int64_t t);
  // Runs every timer of the card that is due by t and reports place and size to the ui.
  void Advance(int64_t t);
  int64_t NextChangeAt() const;
  // The window's content at its current size, at t (the entrance runs by it). screenUnder: the
  // screen's picture before the card came up (null: black), for transparent cards.
  void Draw(platform::Bitmap& target, int64_t t, const platform::Bitmap* screenUnder) const;

  void Click(int64_t t);
  void DoubleClick(int64_t t);
  // The window is closing: the sound stops and the closing links open. Only the first call acts.
  void Close(int64_t t);

  // The card's picture is a movie: the host plays it and hands in its frames.
  bool MovieCard() const { return movie_; }
  void SetMovieFrame(std::shared_ptr<const platform::Bitmap> frame) { movieFrame_ = std::move(frame); }

  const ordinary::CardPlayerConfig& Config() const { return config_; }
  ordinary::CardPlayer& Player() { return *player_; }
  const ordinary::WindowRect& Window() const { return player_->window(); }
  bool GreetingShown() const { return player_->greetingShown(); }
  bool EntranceRunning(int64_t t) const;
  // A value that changes whenever the drawing at t differs from an earlier one (picture frame,
  // greeting, scrolling, entrance, place): hosts repaint when it changes.
  uint64_t LookKey(int64_t t) const;
  bool Closed() const { return player_->closed(); }
  int GreetingLineCount() const { return static_cast<int>(greetingLines_.size()); }
  int GreetingLineHeight() const { return greetingLineHeight_; }
  // The greeting text broken into the label's lines, and the font it is drawn in (null without
  // a greeting box or when the font cannot be made).
  const std::vector<std::string>& GreetingLines() const { return greetingLines_; }
  const platform::fonts::Font* GreetingFontFace() const { return greetingFont_.get(); }

 private:
  class StageClock;
  void Sync(int64_t t);
  void DrawContent(platform::Bitmap& target, const platform::Bitmap* screenUnder, int64_t t) const;

  ordinary::OrdinarySettings settings_;
  ordinary::CardPlayerConfig config_;
  OrdinaryStageHosts hosts_;
  std::unique_ptr<StageClock> clock_;
  std::unique_ptr<ordinary::CardPlayer> player_;
  std::shared_ptr<const StagePicture> cardPicture_, boxPicture_;
  std::shared_ptr<const platform::Bitmap> movieFrame_;
  std::shared_ptr<platform::fonts::Font> greetingFont_;
  std::vector<std::string> greetingLines_;
  int greetingLineHeight_ = 0;
  bool movie_ = false;
  int64_t pictureStart_ = 0, entranceStart_ = -1;
  ordinary::WindowRect reported_;
};

}  // namespace stage
