#pragma once
// CardStage: an interactive card played without a toolkit. It keeps all of the card's state —
// labels, buttons, images and GIF frames, scrolling captions, the picture show box, movement,
// hover and press — and, for a time t (milliseconds from the host's start, always passed in),
// draws the whole card into a bitmap. Input comes in as mouse events at card coordinates;
// clicks become the card's actions through player::CardRuntime, carried out on the stage or
// handed to the hosts (sound, navigator, ui).
//
//   stage::CardStage stage(card, hosts);
//   stage.Start(t, {screenW, screenH}, outerW, outerH);   // the window is on the screen
//   stage.Loaded();                                         // its first frame is shown: OnLoad
//   stage.Advance(t); stage.Draw(bitmap);                   // every frame (NextChangeAt says when)
//   stage.MouseDown(t, x, y); stage.MouseUp(t, x, y);       // a click
//   stage.Close();                                          // the window is closing
//
// Flash movies are not drawn: the stage hands their rectangles and files to ui.ShowFlashMovie
// when it is made (and again when an action changes a movie).
// A host must not destroy the stage inside one of its calls (ui.CloseCard comes from a click).
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maker/document/element_kinds.h"
#include "platform/bitmap.h"
#include "platform/region.h"
#include "player/card_actions.h"
#include "player/card_motion.h"
#include "player/card_source.h"
#include "player/stage/stage_hosts.h"

namespace stage {

class ShowBoxPlayer;
struct StagePicture;

struct StageOptions {
  bool playMusic = true;
  bool runWindowActions = true;  // OnLoad / OnClose
  bool move = true;              // place and move the window on the screen
  int showBoxStepMs = 10;        // the time of one of a show box change's 100 steps
  uint32_t seed = 0;             // random choices (show box, random positions); 0: a new seed per run
  int screenWidth = 1024, screenHeight = 768;  // until Start names the screen
};

enum class StageCursor { Arrow = 0, Hand = 1, Cross = 2 };

// The element at a point.
struct StageHit {
  document::ElementKind kind = document::ElementKind::Label;
  int tag = 0;
  bool operator==(const StageHit&) const = default;
};

// The card split at its moving parts, for a host that draws those itself (a browser page): the
// still layers and the moving parts alternate back to front, still[0], moving[0], still[1], ...
// still[0] holds the background and every still element behind moving[0]; still[i + 1] the still
// elements between moving[i] and moving[i + 1], transparent elsewhere. The host draws each
// moving part where the stage would, so the stacking is the stage's.
struct StageLayers {
  std::vector<StageHit> moving;
  std::vector<std::unique_ptr<platform::Bitmap>> still;  // moving.size() + 1 layers of the card's size
};

class CardStage : private player::CardHost {
 public:
  // The card and the hosts must outlive the stage.
  CardStage(player::OpenedCard& card, StageHosts hosts, StageOptions options = {});
  ~CardStage() override;
  CardStage(const CardStage&) = delete;
  CardStage& operator=(const CardStage&) = delete;

  // The card's size: the mask picture's size when the card has a mask, else the window's.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The window's shape: the mask picture's non-white pixels. Empty when the card has no mask
  // (or it cannot be read): the window stays rectangular.
  const platform::Region& Shape() const { return shape_; }
  // The shape as an 8-bit mask of the card's size: 255 inside, 0 outside (all 255 unshaped).
  std::unique_ptr<platform::Bitmap> ShapeMask() const;
  const std::string& Title() const;
  bool TitleBar() const;

  // The window is on the screen at t: it takes its start place and starts moving, the music
  // plays, the show box shows its first picture, the captions and GIFs run.
  // outerWidth x outerHeight: the window with its frame.
  void Start(int64_t t, player::ScreenSize screen, int outerWidth, int outerHeight);
  // The card's first frame is on the screen: the OnLoad action runs (once).
  void Loaded();
  // Runs everything that is due by t: caption steps, GIF frames, show box steps and changes,
  // movement steps (each reported to ui.MoveWindow).
  void Advance(int64_t t);
  // When the card next changes by itself (a frame, a step, a move); -1 when it stays as it is.
  int64_t NextChangeAt() const;
  // Draws the card as it is now into target at (0, 0): background colour and picture, then the
  // elements in their stacking order. 24- or 32-bit targets; parts outside are clipped.
  void Draw(platform::Bitmap& target) const;
  // Advance(t), then the card drawn into a new 32-bit bitmap of its size.
  std::unique_ptr<platform::Bitmap> Render(int64_t t);
  // The parts that change by themselves once the card runs: the show box, GIF animations and
  // captions. A host that draws them itself takes the rest from DrawLayers.
  static bool Moves(document::ElementKind kind);
  // The card as it is now, drawn in 32-bit layers split at its moving parts (StageLayers).
  StageLayers DrawLayers() const;

  // Input at card coordinates. A click is a left button press and release on the same element.
  void MouseMove(int64_t t, int x, int y);
  void MouseDown(int64_t t, int x, int y);
  void MouseUp(int64_t t, int x, int y);
  void MouseLeave(int64_t t);
  void DoubleClick(int64_t t, int x, int y);
  // The card has no keyboard actions: answers false (the host may use the key).
  bool Key(int64_t t, int key);

  // The front-most element (or the show box, Tag 0) at a point. Captions and Flash movies
  // cover what lies under them but have no click action.
  std::optional<StageHit> HitAt(int x, int y) const;
  // The cursor and the hint of the element under the mouse.
  StageCursor Cursor() const;
  std::string Hint() const;
  std::optional<StageHit> Hovered() const { return hover_; }
  std::optional<StageHit> Pressed() const { return pressed_; }

  // The window is closing: OnClose runs, music and sounds stop, nothing moves any more.
  // Only the first call does anything.
  void Close();
  bool Closed() const { return closed_; }

  // State, for hosts and tests.
  player::CardRuntime& Runtime() { return *runtime_; }
  const player::CardMotion* Motion() const { return motion_ ? &*motion_ : nullptr; }
  ShowBoxPlayer* ShowBox() const { return showBox_.get(); }
  std::string LabelText(int tag) const;
  // The frame index of an image or GIF element (0 for still pictures), -1 for no such element.
  int PictureFrame(document::ElementKind kind, int tag) const;
  // The scroll position a caption shows now; -1 for no such caption.
  int CaptionPosition(int tag) const;
  // The element's rectangle on the card (an image at its natural size keeps it).
  std::optional<player::Rect> ElementRect(document::ElementKind kind, int tag) const;

 private:
  struct Piece;
  // CardHost
  void CloseCard() override;
  void SetLabelText(int tag, const std::string& text) override;
  bool SetImagePicture(int tag, const std::string& path) override;
  bool SetGifPicture(int tag, const std::string& path) override;
  bool SetFlashMovie(int tag, const std::string& path) override;
  void PicsPrevious() override;
  void PicsNext() override;
  bool PicsShow(int index) override;
  void PlaySound(const std::string& path) override;
  platform::MsgResult ShowMessage(const std::string& text, platform::MsgIcon icon,
                                  platform::MsgButtons buttons) override;

  void Build();
  bool SetPicture(document::ElementKind kind, int tag, const std::string& path);
  Piece* Find(document::ElementKind kind, int tag);
  const Piece* Find(document::ElementKind kind, int tag) const;
  void DrawBackground(platform::Bitmap& target) const;
  void DrawPiece(platform::Bitmap& target, const Piece& piece) const;

  player::OpenedCard& card_;
  StageHosts hosts_;
  StageOptions options_;
  std::unique_ptr<player::CardRuntime> runtime_;
  std::unique_ptr<player::RandomSource> random_;
  std::optional<player::CardMotion> motion_;
  int64_t nextMove_ = -1;
  int width_ = 0, height_ = 0;
  platform::Region shape_;
  std::shared_ptr<const StagePicture> background_;
  std::vector<Piece> pieces_;       // every element, in stacking order (back to front)
  std::unique_ptr<ShowBoxPlayer> showBox_;
  std::optional<StageHit> hover_, pressed_;
  int64_t now_ = 0;
  bool started_ = false, loaded_ = false, closed_ = false;
};

}  // namespace stage
