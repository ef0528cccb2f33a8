#pragma once
// The picture show box of a finished card, played on the stage's clock: the transitions::TlmPics
// component chooses pictures and effects and composes the frames as in the designer, and its
// engine draws each of a change's 100 steps, one every stepMs, into the box's surface. Between
// changes the surface holds the frame on show; the interval runs from the end of a change.
// The list order can be turned (previous, next, picture number n) and a click can show the next
// picture, as the card's actions and its Clk setting ask.
#include <cstdint>
#include <memory>
#include <vector>

#include "maker/transitions/pic_show_box.h"
#include "maker/transitions/pics_list.h"
#include "platform/bitmap.h"
#include "player/card_model.h"

namespace stage {

class ShowBoxPlayer {
 public:
  // screenWidth x screenHeight: the size of the frame on show before the first change.
  // seed: the box's random choices (pictures in random order, random effects).
  ShowBoxPlayer(const player::PicsBoxModel& model, int screenWidth, int screenHeight, uint32_t seed, int stepMs);
  ~ShowBoxPlayer();

  // Replaces the pictures; when any is there the first change starts at t.
  void SetPictures(std::vector<std::unique_ptr<platform::Bitmap>> pictures, int64_t t);
  int PictureCount() const { return list_.Count(); }

  // Draws every step that is due by t and starts the changes that are due.
  void Advance(int64_t t);
  // When the next step or change is due; -1 when nothing is to come.
  int64_t NextChangeAt() const;

  void ShowNext(int64_t t);
  void ShowPrevious(int64_t t);
  // False (and nothing happens) when index is outside the list.
  bool ShowIndex(int index, int64_t t);
  // A left click on the box: the next picture when the card's Clk is set.
  void Click(int64_t t);
  // Stops the changes; the surface keeps what it shows.
  void Stop();

  // What the box shows now, the box's size (24-bit).
  const platform::Bitmap& Surface() const { return *surface_; }
  // Index in the card's list of the picture on show (or coming in); -1 before the first change.
  int ShownIndex() const;
  bool InChange() const { return changeStart_ >= 0; }
  int StepsDrawn() const { return stepsDrawn_; }
  int Effect() const { return box_->LastEffect(); }
  transitions::TlmPics& Box() { return *box_; }

 private:
  class Timer;
  void EndDrawnChange();
  void BeginChange(int64_t t);
  void Paint();

  player::PicsBoxModel model_;
  int stepMs_;
  int64_t now_ = 0;
  Timer* timer_ = nullptr;  // owned by the box
  std::unique_ptr<transitions::TlmPics> box_;
  std::unique_ptr<platform::Bitmap> surface_;
  std::unique_ptr<transitions::BitmapCanvas> canvas_;
  transitions::PicsList list_;  // the card's list, in order
  int64_t changeStart_ = -1;  // the running change's first step; -1 between changes
  int changeEffect_ = 0;
  int stepsDrawn_ = 0;
  bool stopped_ = true;
};

}  // namespace stage
