#pragma once
// The movie that the entry points build up: stage, loading animation, title, background,
// music, sprinkles (animations with their own timing and effects) and scenes (backgrounds
// shown one after another with appear and disappear effects). Build() lays everything on a
// timeline of kFrameRate frames a second and writes the SWF file bytes.
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "flashwriter/frame_packet.h"
#include "flashwriter/mp3_frames.h"
#include "flashwriter/swf_tags.h"

namespace flashwriter {

// 25 frames a second: 40 ms steps, and every MP3 rate an SWF can state (11025, 22050,
// 44100 Hz) divides into whole samples per frame.
constexpr int kFrameRate = 25;
constexpr double kFrameMs = 1000.0 / kFrameRate;
// The number of whole frames nearest to a time in milliseconds.
inline int FramesIn(double ms) { return static_cast<int>(std::lround(ms / kFrameMs)); }
constexpr int kSwfVersion = 8;  // blend modes need PlaceObject3

using ProgressFn = std::function<void(int maximum, int position)>;

// Effects of sprinkles (0 none, 1 fade, 2..9 move in/out by the eight edges and corners)
// and of scenes (1 fade, 2..9 moves, 10..17 fade and move, 18..25 zoom towards a corner or
// edge, 26 zoom at the centre, 27..35 fade and zoom). Directions in both: top-left, left,
// bottom-left, bottom, bottom-right, right, top-right, top.
struct Effect {
  bool fade = false;
  int move = -1;  // direction 0..7, or -1
  int zoom = -1;  // anchor 0..7, 8 = centre, or -1
};
Effect SprinkleEffect(int number, bool fade);
Effect SceneEffect(int number);  // 1..35

struct SpriteTiming {
  double startMs = 0;      // movie time when it appears
  double appearMs = 0;     // appear effect duration
  double hideStartMs = 0;  // time after start when the disappear effect begins
  double hideMs = 0;       // disappear effect duration
};

class Movie {
 public:
  Movie(int width, int height, int designWidth, int designHeight, bool preferJpeg, bool loop,
        std::string producer, ProgressFn progress);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // placement: 0 centred on the stage, otherwise at the top-left corner.
  bool SetLoading(const FramePacket& packet, int placement, std::string& error);
  bool SetTitle(const FramePacket& packet, double x, double y, std::string& error);
  // mode 0: colour only; 1: the picture (placement 0 centred, 1 top-left, 2 stretched);
  // 2: the picture tiled over the stage.
  bool SetBackground(int stageColor, int fillColor, int placement, const FramePacket* packet,
                     int mode, std::string& error);

  struct SoundOptions {
    double startMs = 0, skipMs = 0, lengthMs = 0;  // 0 length: to the end of the movie
    bool eventSound = false;
    double fadeInMs = 0, fadeOutMs = 0;            // event sound only
    bool repeat = true;                            // repeat the music until the movie ends
  };
  bool AddSound(Mp3Audio audio, const SoundOptions& options);
  bool HasSound() const { return sound_.has_value(); }
  bool CreateSound(std::string& error);

  struct SprinkleOptions {
    double x = 0, y = 0;          // position in design pixels of the picture's anchor point
    bool centreAnchor = false;    // the position is the picture's centre (else its top-left)
    double scaleX = 1, scaleY = 1;
    SpriteTiming timing;
    Effect appear, hide;
    int blend = 0;                // 0 normal, 1 screen
    double rotation = 0;          // degrees, clockwise
  };
  bool AddSprinkle(const FramePacket& packet, const SprinkleOptions& options, std::string& error);

  struct SceneOptions {
    double showMs = 0, appearMs = 0, hideMs = 0;
    int appearEffect = 0, hideEffect = 0;  // 0 = random
    double offsetX = 0, offsetY = 0;       // design pixels
    double pauseBeforeMs = 0, pauseAfterMs = 0;
    double zoomStart = 0.1;                // zoom effects start from this fraction of the size
    bool centred = true;                   // else at the top-left corner
  };
  // A null packet keeps the scene's time with nothing shown.
  bool AddScene(const FramePacket* packet, const SceneOptions& options, std::string& error);

  bool SetIntro(const FramePacket& packet, double durationMs, std::string& error);

  // The SWF file; throws std::exception when it cannot be made.
  Bytes Build();

  // Frames of the content (after the loading frames) and their total length.
  double ContentLengthMs() const;

  // The movie laid out as Build() lays it, for players that draw it themselves (the web
  // card): every item with its pictures' frame schedule and its placements frame by frame.
  // JSON text (ASCII); movie_timeline.cpp describes it.
  std::string TimelineJson() const;

 private:
  struct Character {
    int id = 0;           // shape or sprite to place
    int width = 0, height = 0;  // its size in pixels before scaling
    Bytes definitions;    // bitmaps, shapes and sprite that define it
    // What it shows: each packet frame with its length in movie frames, looping (a still
    // picture: one entry); a picture repeated over the shape when tiled; a colour when solid.
    std::vector<std::pair<int, int>> schedule;
    bool tiled = false;
    bool solid = false;
    uint32_t rgb = 0;
  };
  struct Item {
    Character character;
    int depth = 0;
    double startMs = 0;
    bool permanent = false;  // stays to the end of the movie
    SpriteTiming timing;
    Effect appear, hide;
    double x = 0, y = 0, w = 0, h = 0;  // final box on the stage, pixels
    double rotation = 0, zoomStart = 0.1;
    int blend = 0;
    bool beforeContent = false;  // the loading animation: frames before the content
  };
  struct Placement {
    Matrix matrix;
    int alpha = 256;
    bool operator==(const Placement&) const = default;
  };

  // Defines the frames of a packet as one placeable character (a shape, or a sprite that
  // shows the frames with their delays). tileWidth/Height > 0: each frame fills a rectangle
  // of that size with the picture repeated.
  bool DefineAnimation(const FramePacket& packet, Character& out, std::string& error,
                       int tileWidth = 0, int tileHeight = 0);
  // One item on the timeline: placed (with its definitions) at its first frame, moved when
  // its placement changes, removed when its disappear effect has ended.
  struct Step {
    enum Kind { Place, Move, Remove } kind;
    int frame;
    Placement placement;
  };
  std::vector<Step> Lay(const Item& item, int first, int total) const;
  int FirstContentFrame() const { return loading_ ? 2 : 0; }
  int TotalFrames() const;
  // Every item in the order it is laid (background, scenes, sprinkles, intro, title, loading).
  std::vector<const Item*> Items() const;

  int NextId();
  Placement PlacementAt(const Item& item, double tMs) const;
  void ApplyEffect(const Item& item, const Effect& e, double p, double& x, double& y, double& sx,
                   double& sy, int& alpha) const;

  int width_, height_;
  double layoutX_, layoutY_;
  bool preferJpeg_, loop_;
  std::string producer_;
  ProgressFn progress_;
  std::mt19937 random_;
  int nextId_ = 1;
  bool idsExhausted_ = false;
  int stageColor_ = 0xFFFFFF;

  std::optional<Item> loading_, title_, intro_;
  std::vector<Item> background_;
  std::vector<Item> sprinkles_;
  std::vector<Item> scenes_;
  double scenesEndMs_ = 0;

  struct Sound {
    Mp3Audio audio;
    SoundOptions options;
    bool created = false;
  };
  std::optional<Sound> sound_;
};

}  // namespace flashwriter
