#include "flashwriter/movie.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "flashwriter/bitmap_tags.h"
#include "platform/color.h"

namespace flashwriter {

namespace {

// Depths on the root timeline, bottom to top.
constexpr int kDepthBackColor = 1;
constexpr int kDepthBackPicture = 2;
constexpr int kDepthScenes = 100;       // + scene number
constexpr int kMaxScenes = 9000;
constexpr int kDepthSprinkles = 10000;  // + sprinkle number
constexpr int kMaxSprinkles = 40000;
constexpr int kDepthIntro = 60000;
constexpr int kDepthTitle = 61000;
constexpr int kDepthLoading = 65000;
constexpr int kMaxFrames = 65000;


const int kDirX[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
const int kDirY[8] = {-1, 0, 1, 1, 1, 0, -1, -1};

struct Fill {
  bool bitmap = false;
  int bitmapId = 0;
  int type = 0x41;
  Matrix matrix;
  uint32_t rgb = 0;  // solid fill, 0xRRGGBB
};

// One straight edge, split so that each piece fits the 17-bit delta of an edge record.
void StraightEdge(SwfBuffer& b, int32_t dx, int32_t dy) {
  constexpr int32_t kPiece = 60000;
  while (dx != 0 || dy != 0) {
    int32_t px = std::clamp(dx, -kPiece, kPiece), py = std::clamp(dy, -kPiece, kPiece);
    int n = std::max({2, SignedBitCount(px), SignedBitCount(py)});
    b.Bits(1, 1);  // edge record
    b.Bits(1, 1);  // straight
    b.Bits(n - 2, 4);
    if (px != 0 && py != 0) {
      b.Bits(1, 1);  // general line
      b.SignedBits(px, n);
      b.SignedBits(py, n);
    } else {
      b.Bits(0, 1);
      b.Bits(px == 0 ? 1 : 0, 1);  // vertical
      b.SignedBits(px == 0 ? py : px, n);
    }
    dx -= px;
    dy -= py;
  }
}

// A rectangle (0, 0)-(w, h) twips filled with one fill style, or an empty shape.
void AppendRectShape(Bytes& out, int id, int32_t wTw, int32_t hTw, const Fill* fill) {
  SwfBuffer b;
  b.U16(id);
  if (!fill || wTw <= 0 || hTw <= 0) {
    WriteRect(b, 0, 0, 0, 0);
    b.U8(0);  // no fill styles
    b.U8(0);  // no line styles
    b.Bits(0, 4);
    b.Bits(0, 4);
    b.Bits(0, 6);  // end of shape
    WriteTag(out, kTagDefineShape, b);
    return;
  }
  WriteRect(b, 0, wTw, 0, hTw);
  b.U8(1);
  if (fill->bitmap) {
    b.U8(fill->type);
    b.U16(fill->bitmapId);
    WriteMatrix(b, fill->matrix);
  } else {
    b.U8(0x00);
    b.U8((fill->rgb >> 16) & 0xFF);
    b.U8((fill->rgb >> 8) & 0xFF);
    b.U8(fill->rgb & 0xFF);
  }
  b.U8(0);     // line styles
  b.Bits(1, 4);  // fill index bits
  b.Bits(0, 4);  // line index bits
  // Move to (0, 0) with fill style 1 on the right of the edges, then clockwise round.
  b.Bits(0, 1);
  b.Bits(0, 1);  // new styles
  b.Bits(0, 1);  // line style
  b.Bits(1, 1);  // fill style 1
  b.Bits(0, 1);  // fill style 0
  b.Bits(1, 1);  // move to
  b.Bits(1, 5);
  b.SignedBits(0, 1);
  b.SignedBits(0, 1);
  b.Bits(1, 1);  // fill style 1 = first fill
  StraightEdge(b, wTw, 0);
  StraightEdge(b, 0, hTw);
  StraightEdge(b, -wTw, 0);
  StraightEdge(b, 0, -hTw);
  b.Bits(0, 6);  // end of shape
  WriteTag(out, kTagDefineShape, b);
}

void AppendPlace(Bytes& out, int depth, int charId, const Matrix& m, int alpha, bool move,
                 int blend) {
  SwfBuffer b;
  bool cx = move || alpha != 256;
  uint8_t flags = 0x04 | (cx ? 0x08 : 0) | (charId > 0 ? 0x02 : 0) | (move ? 0x01 : 0);
  b.U8(flags);
  if (blend > 0) b.U8(0x02);  // has blend mode
  b.U16(depth);
  if (charId > 0) b.U16(charId);
  WriteMatrix(b, m);
  if (cx) WriteAlphaTransform(b, alpha);
  if (blend > 0) b.U8(blend == 1 ? 4 : 1);  // 4 = screen
  WriteTag(out, blend > 0 ? kTagPlaceObject3 : kTagPlaceObject2, b);
}

void AppendRemove(Bytes& out, int depth) {
  SwfBuffer b;
  b.U16(depth);
  WriteTag(out, kTagRemoveObject2, b);
}

void ActionGoto(SwfBuffer& b, int frame) {
  b.U8(0x81);
  b.U16(2);
  b.U16(frame);
}

uint32_t ToRgb(int color) {
  platform::Color c = platform::ResolveColor(color);
  return (static_cast<uint32_t>(platform::RedOf(c)) << 16) | (platform::GreenOf(c) << 8) | platform::BlueOf(c);
}

int Frames(double ms) { return FramesIn(ms); }

}  // namespace

Effect SprinkleEffect(int number, bool fade) {
  Effect e;
  if (number == 1) {
    e.fade = true;
  } else if (number >= 2 && number <= 9) {
    e.move = number - 2;
    e.fade = fade;
  }
  return e;
}

Effect SceneEffect(int number) {
  Effect e;
  if (number <= 1 || number > 35) {
    e.fade = true;
  } else if (number <= 9) {
    e.move = number - 2;
  } else if (number <= 17) {
    e.move = number - 10;
    e.fade = true;
  } else if (number <= 26) {
    e.zoom = number - 18;
  } else {
    e.zoom = number - 27;
    e.fade = true;
  }
  return e;
}

Movie::Movie(int width, int height, int designWidth, int designHeight, bool preferJpeg, bool loop,
             std::string producer, ProgressFn progress)
    : width_(width), height_(height), preferJpeg_(preferJpeg), loop_(loop),
      producer_(std::move(producer)), progress_(std::move(progress)),
      random_(std::random_device{}()) {
  layoutX_ = designWidth > 0 ? static_cast<double>(width) / designWidth : 1.0;
  layoutY_ = designHeight > 0 ? static_cast<double>(height) / designHeight : 1.0;
}

int Movie::NextId() {
  if (nextId_ > 65535) {
    idsExhausted_ = true;
    return 0;
  }
  return nextId_++;
}

bool Movie::DefineAnimation(const FramePacket& packet, Character& out, std::string& error,
                            int tileWidth, int tileHeight) {
  int firstId = nextId_;
  Bytes defs;
  int shapeW = tileWidth > 0 ? tileWidth : packet.frameWidth;
  int shapeH = tileHeight > 0 ? tileHeight : packet.frameHeight;
  std::vector<int> shapeOfFrame;
  std::vector<const Image*> uniqueImages;
  std::vector<int> uniqueShapes;
  for (const Image& frame : packet.frames) {
    int found = -1;
    for (size_t u = 0; u < uniqueImages.size() && found < 0; ++u)
      if (uniqueImages[u]->rgba == frame.rgba) found = uniqueShapes[u];
    if (found < 0) {
      int shapeId;
      if (frame.transparent) {
        shapeId = NextId();
        if (shapeId) AppendRectShape(defs, shapeId, 0, 0, nullptr);
      } else {
        Image fitted = FitImage(frame, kMaxBitmapSide, kMaxBitmapPixels);
        int bitmapId = NextId();
        shapeId = NextId();
        if (bitmapId && shapeId) {
          AppendBitmapTag(defs, bitmapId, fitted, preferJpeg_);
          Fill fill;
          fill.bitmap = true;
          fill.bitmapId = bitmapId;
          fill.type = tileWidth > 0 ? 0x42 : 0x41;  // repeating unsmoothed tiles, clipped smoothed pictures
          fill.matrix.sx = 20.0 * packet.frameWidth / fitted.width;
          fill.matrix.sy = 20.0 * packet.frameHeight / fitted.height;
          AppendRectShape(defs, shapeId, shapeW * 20, shapeH * 20, &fill);
        }
      }
      if (idsExhausted_) {
        nextId_ = firstId;
        error = "the movie has too many pictures";
        return false;
      }
      uniqueImages.push_back(&frame);
      uniqueShapes.push_back(shapeId);
      found = shapeId;
    }
    shapeOfFrame.push_back(found);
  }
  out.width = shapeW;
  out.height = shapeH;
  out.tiled = tileWidth > 0;
  out.schedule.clear();
  if (uniqueShapes.size() == 1) {
    out.schedule.push_back({0, 1});
    out.id = uniqueShapes[0];
    out.definitions = std::move(defs);
    return true;
  }
  // A sprite showing each frame for its delay, looping by itself.
  Bytes tags;
  int spriteFrames = 0;
  int shown = 0;
  for (size_t k = 0; k < shapeOfFrame.size() && spriteFrames < kMaxFrames; ++k) {
    int d = std::max(1, Frames(packet.delaysMs[k]));
    d = std::min(d, kMaxFrames - spriteFrames);
    out.schedule.push_back({static_cast<int>(k), d});
    if (shapeOfFrame[k] != shown) {
      AppendPlace(tags, 1, shapeOfFrame[k], Matrix(), 256, shown != 0, 0);
      shown = shapeOfFrame[k];
    }
    for (int i = 0; i < d; ++i) WriteTag(tags, kTagShowFrame, Bytes());
    spriteFrames += d;
  }
  WriteTag(tags, kTagEnd, Bytes());
  int spriteId = NextId();
  if (!spriteId) {
    nextId_ = firstId;
    error = "the movie has too many pictures";
    return false;
  }
  SwfBuffer b;
  b.U16(spriteId);
  b.U16(spriteFrames);
  b.Append(tags);
  WriteTag(defs, kTagDefineSprite, b);
  out.id = spriteId;
  out.definitions = std::move(defs);
  return true;
}

bool Movie::SetLoading(const FramePacket& packet, int placement, std::string& error) {
  Item item;
  if (!DefineAnimation(packet, item.character, error)) return false;
  item.depth = kDepthLoading;
  item.permanent = true;
  item.beforeContent = true;
  item.w = packet.frameWidth;
  item.h = packet.frameHeight;
  if (placement == 0) {
    item.x = (width_ - item.w) / 2;
    item.y = (height_ - item.h) / 2;
  }
  loading_ = std::move(item);
  return true;
}

bool Movie::SetTitle(const FramePacket& packet, double x, double y, std::string& error) {
  Item item;
  if (!DefineAnimation(packet, item.character, error)) return false;
  item.depth = kDepthTitle;
  item.permanent = true;
  item.x = x * layoutX_;
  item.y = y * layoutY_;
  item.w = packet.frameWidth * layoutX_;
  item.h = packet.frameHeight * layoutY_;
  title_ = std::move(item);
  return true;
}

bool Movie::SetBackground(int stageColor, int fillColor, int placement, const FramePacket* packet,
                          int mode, std::string& error) {
  background_.clear();
  stageColor_ = static_cast<int>(ToRgb(stageColor));
  Item rect;
  int id = NextId();
  if (!id) {
    error = "the movie has too many pictures";
    return false;
  }
  Fill solid;
  solid.rgb = ToRgb(fillColor);
  AppendRectShape(rect.character.definitions, id, width_ * 20, height_ * 20, &solid);
  rect.character.id = id;
  rect.character.width = width_;
  rect.character.height = height_;
  rect.character.solid = true;
  rect.character.rgb = solid.rgb;
  rect.depth = kDepthBackColor;
  rect.permanent = true;
  rect.w = width_;
  rect.h = height_;
  background_.push_back(std::move(rect));
  if (mode == 0 || !packet) return true;

  Item pic;
  pic.depth = kDepthBackPicture;
  pic.permanent = true;
  if (mode == 2) {
    if (!DefineAnimation(*packet, pic.character, error, width_, height_)) return false;
    pic.w = width_;
    pic.h = height_;
  } else {
    if (!DefineAnimation(*packet, pic.character, error)) return false;
    if (placement == 2) {
      pic.w = width_;
      pic.h = height_;
    } else {
      pic.w = packet->frameWidth * layoutX_;
      pic.h = packet->frameHeight * layoutY_;
      if (placement == 0) {
        pic.x = (width_ - pic.w) / 2;
        pic.y = (height_ - pic.h) / 2;
      }
    }
  }
  background_.push_back(std::move(pic));
  return true;
}

bool Movie::AddSound(Mp3Audio audio, const SoundOptions& options) {
  sound_ = Sound{std::move(audio), options, false};
  return true;
}

bool Movie::CreateSound(std::string& error) {
  if (!sound_) {
    error = "no music was added";
    return false;
  }
  long long skipSamples = static_cast<long long>(sound_->options.skipMs * sound_->audio.sampleRate / 1000);
  if (skipSamples >= sound_->audio.totalSamples) {
    error = "the music is shorter than the part to skip";
    return false;
  }
  sound_->created = true;
  return true;
}

bool Movie::AddSprinkle(const FramePacket& packet, const SprinkleOptions& o, std::string& error) {
  if (sprinkles_.size() >= static_cast<size_t>(kMaxSprinkles)) {
    error = "the movie has too many pictures";
    return false;
  }
  Item item;
  if (!DefineAnimation(packet, item.character, error)) return false;
  item.depth = kDepthSprinkles + static_cast<int>(sprinkles_.size());
  item.startMs = o.timing.startMs;
  item.timing = o.timing;
  item.appear = o.appear;
  item.hide = o.hide;
  item.blend = o.blend;
  item.rotation = o.rotation;
  item.w = packet.frameWidth * o.scaleX * layoutX_;
  item.h = packet.frameHeight * o.scaleY * layoutY_;
  item.x = o.x * layoutX_;
  item.y = o.y * layoutY_;
  if (o.centreAnchor) {
    item.x -= item.w / 2;
    item.y -= item.h / 2;
  }
  sprinkles_.push_back(std::move(item));
  return true;
}

bool Movie::AddScene(const FramePacket* packet, const SceneOptions& o, std::string& error) {
  if (scenes_.size() >= static_cast<size_t>(kMaxScenes)) {
    error = "the movie has too many scenes";
    return false;
  }
  Item item;
  bool ok = true;
  if (packet) {
    ok = DefineAnimation(*packet, item.character, error);
  }
  item.depth = kDepthScenes + static_cast<int>(scenes_.size());
  item.startMs = scenesEndMs_ + o.pauseBeforeMs;
  item.timing.appearMs = o.appearMs;
  item.timing.hideStartMs = o.appearMs + o.showMs;
  item.timing.hideMs = o.hideMs;
  std::uniform_int_distribution<int> pick(1, 35);
  item.appear = SceneEffect(o.appearEffect == 0 ? pick(random_) : o.appearEffect);
  item.hide = SceneEffect(o.hideEffect == 0 ? pick(random_) : o.hideEffect);
  item.zoomStart = std::clamp(o.zoomStart, 0.0, 1.0);
  scenesEndMs_ = item.startMs + o.appearMs + o.showMs + o.hideMs + o.pauseAfterMs;
  if (packet && ok) {
    item.w = packet->frameWidth * layoutX_;
    item.h = packet->frameHeight * layoutY_;
    if (o.centred) {
      item.x = (width_ - item.w) / 2;
      item.y = (height_ - item.h) / 2;
    }
    item.x += o.offsetX * layoutX_;
    item.y += o.offsetY * layoutY_;
    scenes_.push_back(std::move(item));
  } else {
    // The scene keeps its time so that later scenes and the sprinkles stay in step.
    scenes_.push_back(Item());
    scenes_.back().character.id = 0;
  }
  return ok;
}

bool Movie::SetIntro(const FramePacket& packet, double durationMs, std::string& error) {
  Item item;
  if (!DefineAnimation(packet, item.character, error)) return false;
  item.depth = kDepthIntro;
  item.w = packet.frameWidth * layoutX_;
  item.h = packet.frameHeight * layoutY_;
  item.x = (width_ - item.w) / 2;
  item.y = (height_ - item.h) / 2;
  item.timing.hideStartMs = durationMs;
  intro_ = std::move(item);
  return true;
}

double Movie::ContentLengthMs() const {
  double length = scenesEndMs_;
  if (sound_ && sound_->created) {
    const SoundOptions& o = sound_->options;
    double music = o.lengthMs > 0 ? o.lengthMs : std::max(0.0, sound_->audio.DurationMs() - o.skipMs);
    length = std::max(length, o.startMs + music);
  }
  if (intro_) length = std::max(length, intro_->timing.hideStartMs);
  if (length <= 0) {
    for (const Item& s : sprinkles_)
      length = std::max(length, s.startMs + s.timing.hideStartMs + s.timing.hideMs);
  }
  return length;
}

void Movie::ApplyEffect(const Item& item, const Effect& e, double p, double& x, double& y,
                        double& sx, double& sy, int& alpha) const {
  p = std::clamp(p, 0.0, 1.0);
  if (e.fade) alpha = static_cast<int>(std::lround(256 * p));
  if (e.move >= 0) {
    double offX = kDirX[e.move] < 0 ? -std::fabs(item.w) : kDirX[e.move] > 0 ? width_ : item.x;
    double offY = kDirY[e.move] < 0 ? -std::fabs(item.h) : kDirY[e.move] > 0 ? height_ : item.y;
    x = offX + (item.x - offX) * p;
    y = offY + (item.y - offY) * p;
  }
  if (e.zoom >= 0) {
    double ax = e.zoom == 8 ? 0.5 : (kDirX[e.zoom] + 1) / 2.0;
    double ay = e.zoom == 8 ? 0.5 : (kDirY[e.zoom] + 1) / 2.0;
    double s = item.zoomStart + (1 - item.zoomStart) * p;
    x = item.x + ax * item.w * (1 - s);
    y = item.y + ay * item.h * (1 - s);
    sx *= s;
    sy *= s;
  }
}

Movie::Placement Movie::PlacementAt(const Item& item, double t) const {
  double x = item.x, y = item.y;
  double sx = item.character.width ? item.w / item.character.width : 1;
  double sy = item.character.height ? item.h / item.character.height : 1;
  int alpha = 256;
  if (!item.permanent) {
    const SpriteTiming& tm = item.timing;
    if (t < tm.appearMs) {
      ApplyEffect(item, item.appear, t / tm.appearMs, x, y, sx, sy, alpha);
    } else if (t >= tm.hideStartMs) {
      double q = tm.hideMs > 0 ? (t - tm.hideStartMs) / tm.hideMs : 1.0;
      ApplyEffect(item, item.hide, 1 - q, x, y, sx, sy, alpha);
    }
  }
  Placement p;
  double rad = item.rotation * 3.14159265358979323846 / 180;
  double c = std::cos(rad), s = std::sin(rad);
  p.matrix.sx = sx * c;
  p.matrix.r0 = sx * s;
  p.matrix.r1 = -sy * s;
  p.matrix.sy = sy * c;
  p.matrix.tx = static_cast<int32_t>(std::lround(std::clamp(x, -1e6, 1e6) * 20));
  p.matrix.ty = static_cast<int32_t>(std::lround(std::clamp(y, -1e6, 1e6) * 20));
  p.alpha = alpha;
  return p;
}

int Movie::TotalFrames() const {
  const int first = FirstContentFrame();
  int content = std::max(1, static_cast<int>(std::ceil(ContentLengthMs() / kFrameMs - 1e-9)));
  return first + std::min(content, kMaxFrames - first);
}

std::vector<const Movie::Item*> Movie::Items() const {
  std::vector<const Item*> items;
  for (const Item& b : background_) items.push_back(&b);
  for (const Item& s : scenes_) items.push_back(&s);
  for (const Item& s : sprinkles_) items.push_back(&s);
  for (const std::optional<Item>* o : {&intro_, &title_, &loading_})
    if (*o) items.push_back(&**o);
  return items;
}

std::vector<Movie::Step> Movie::Lay(const Item& item, int first, int total) const {
  std::vector<Step> steps;
  if (item.character.id == 0) return steps;
  int start = item.beforeContent ? 0 : first + Frames(item.startMs);
  if (start >= total) return steps;
  Placement last;
  for (int f = start; f < total; ++f) {
    if (item.beforeContent && f == first) {
      steps.push_back({Step::Remove, f, {}});
      break;
    }
    double t = (f - start) * kFrameMs;
    if (!item.permanent && t >= item.timing.hideStartMs + item.timing.hideMs) {
      steps.push_back({Step::Remove, f, {}});
      break;
    }
    Placement p = PlacementAt(item, t);
    if (f == start) {
      steps.push_back({Step::Place, f, p});
    } else if (!(p == last)) {
      steps.push_back({Step::Move, f, p});
    }
    last = p;
    if (item.permanent && !item.beforeContent) break;  // placed once, stays
  }
  return steps;
}

Bytes Movie::Build() {
  const int first = FirstContentFrame();
  const int total = TotalFrames();
  std::vector<Bytes> frames(total);
  const int steps = static_cast<int>(sprinkles_.size() + scenes_.size()) + 3;
  int step = 0;
  auto report = [&] {
    if (progress_) progress_(steps, std::min(++step, steps));
  };

  auto lay = [&](const Item& item) {
    for (const Step& st : Lay(item, first, total)) {
      Bytes& out = frames[st.frame];
      if (st.kind == Step::Remove) {
        AppendRemove(out, item.depth);
      } else if (st.kind == Step::Place) {
        out.insert(out.end(), item.character.definitions.begin(), item.character.definitions.end());
        AppendPlace(out, item.depth, item.character.id, st.placement.matrix, st.placement.alpha, false, item.blend);
      } else {
        AppendPlace(out, item.depth, 0, st.placement.matrix, st.placement.alpha, true, 0);
      }
    }
  };

  for (const Item& b : background_) lay(b);
  report();
  for (const Item& s : scenes_) {
    lay(s);
    report();
  }
  for (const Item& s : sprinkles_) {
    lay(s);
    report();
  }
  if (intro_) lay(*intro_);
  if (title_) lay(*title_);
  if (loading_) lay(*loading_);

  // File prelude: attributes, metadata, stage colour, sound stream header.
  Bytes out;
  {
    SwfBuffer b;
    b.U32(producer_.empty() ? 0 : 0x10);  // has metadata
    WriteTag(out, kTagFileAttributes, b);
  }
  if (!producer_.empty()) {
    std::string xml;
    for (char ch : producer_) {  // keep the XML well formed whatever the text holds
      unsigned char u = static_cast<unsigned char>(ch);
      xml += (u >= 0x20 && u < 0x7F && ch != '<' && ch != '>' && ch != '&') ? ch : '_';
    }
    SwfBuffer b;
    b.String("<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
             "rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/1.1/\"><dc:creator>" + xml +
             "</dc:creator></rdf:Description></rdf:RDF>");
    WriteTag(out, kTagMetadata, b);
  }
  {
    SwfBuffer b;
    b.U8((stageColor_ >> 16) & 0xFF);
    b.U8((stageColor_ >> 8) & 0xFF);
    b.U8(stageColor_ & 0xFF);
    WriteTag(out, kTagSetBackgroundColor, b);
  }

  if (sound_ && sound_->created) {
    const Mp3Audio& a = sound_->audio;
    const SoundOptions& o = sound_->options;
    int rateCode = a.sampleRate == 44100 ? 3 : a.sampleRate == 22050 ? 2 : 1;
    int perFrame = a.sampleRate / kFrameRate;
    long long skip = static_cast<long long>(o.skipMs * a.sampleRate / 1000);
    size_t firstFrame = 0;
    for (long long s = 0; firstFrame < a.frames.size() && s + a.frames[firstFrame].samples <= skip; ++firstFrame)
      s += a.frames[firstFrame].samples;
    int startF = first + Frames(o.startMs);
    int endF = total;
    if (o.lengthMs > 0) endF = std::min(endF, startF + std::max(1, Frames(o.lengthMs)));
    if (!o.eventSound) {
      SwfBuffer h;
      h.U8((rateCode << 2) | 0x02 | (a.stereo ? 1 : 0));
      h.U8((2 << 4) | (rateCode << 2) | 0x02 | (a.stereo ? 1 : 0));
      h.U16(perFrame);
      h.U16(0);  // latency seek
      WriteTag(out, kTagSoundStreamHead2, h);
      long long emitted = 0;
      size_t next = firstFrame;
      bool done = false;
      for (int f = startF; f < endF && !done; ++f) {
        long long target = static_cast<long long>(f - startF + 1) * perFrame;
        long long before = emitted;
        Bytes data;
        int samples = 0;
        while (emitted < target && samples < 60000) {
          if (next >= a.frames.size()) {
            if (!o.repeat) { done = true; break; }
            next = 0;
          }
          const Mp3Frame& fr = a.frames[next++];
          data.insert(data.end(), a.data.begin() + fr.offset, a.data.begin() + fr.offset + fr.size);
          samples += fr.samples;
          emitted += fr.samples;
        }
        if (samples == 0) continue;
        SwfBuffer b;
        b.U16(samples);
        long long seek = before - static_cast<long long>(f - startF) * perFrame;
        b.U16(static_cast<uint16_t>(static_cast<int16_t>(std::clamp<long long>(seek, -32768, 32767))));
        b.Append(data);
        WriteTag(frames[f], kTagSoundStreamBlock, b);
      }
    } else if (startF < total) {
      int id = NextId();
      if (!id) throw std::runtime_error("the movie has too many pictures");
      Bytes data;
      long long samples = 0;
      long long limit = o.lengthMs > 0 ? static_cast<long long>(o.lengthMs * a.sampleRate / 1000) : -1;
      for (size_t k = firstFrame; k < a.frames.size(); ++k) {
        if (limit >= 0 && samples >= limit) break;
        const Mp3Frame& fr = a.frames[k];
        data.insert(data.end(), a.data.begin() + fr.offset, a.data.begin() + fr.offset + fr.size);
        samples += fr.samples;
      }
      SwfBuffer d;
      d.U16(id);
      d.U8((2 << 4) | (rateCode << 2) | 0x02 | (a.stereo ? 1 : 0));
      d.U32(static_cast<uint32_t>(samples));
      d.U16(0);  // seek samples
      d.Append(data);
      WriteTag(frames[startF], kTagDefineSound, d, true);
      double musicMs = samples * 1000.0 / a.sampleRate;
      double playMs = (endF - startF) * kFrameMs;
      int loops = o.repeat && musicMs > 0 ? static_cast<int>(std::min(65535.0, std::ceil(playMs / musicMs))) : 1;
      SwfBuffer s;
      s.U16(id);
      bool envelope = o.fadeInMs > 0 || o.fadeOutMs > 0;
      s.U8((envelope ? 0x08 : 0) | (loops > 1 ? 0x04 : 0));
      if (loops > 1) s.U16(loops);
      if (envelope) {
        // Envelope positions count 44 kHz samples from the start of the sound.
        double end44 = std::min(musicMs, playMs) * 44.1;
        std::vector<std::pair<uint32_t, int>> points = {{0, o.fadeInMs > 0 ? 0 : 32768}};
        if (o.fadeInMs > 0) points.push_back({static_cast<uint32_t>(o.fadeInMs * 44.1), 32768});
        if (o.fadeOutMs > 0) {
          points.push_back({static_cast<uint32_t>(std::max(0.0, end44 - o.fadeOutMs * 44.1)), 32768});
          points.push_back({static_cast<uint32_t>(end44), 0});
        }
        std::stable_sort(points.begin(), points.end(), [](auto& l, auto& r) { return l.first < r.first; });
        s.U8(static_cast<uint32_t>(points.size()));
        for (auto& [pos, level] : points) {
          s.U32(pos);
          s.U16(level);
          s.U16(level);
        }
      }
      WriteTag(frames[startF], kTagStartSound, s);
      if (endF < total || loop_) {
        SwfBuffer stop;
        stop.U16(id);
        stop.U8(0x20);  // stop this sound
        WriteTag(frames[std::min(endF, total) - 1], kTagStartSound, stop);
      }
    }
  }
  report();

  // Actions: the loading loop and what happens at the end.
  if (loading_) {
    SwfBuffer a;
    a.U8(0x8A);  // wait for the last frame; when loaded go to the content, else play on
    a.U16(3);
    a.U16(total - 1);
    a.U8(2);
    ActionGoto(a, first);
    a.U8(0x06);
    a.U8(0);
    WriteTag(frames[0], kTagDoAction, a);
    SwfBuffer back;  // frame 2: back to frame 1 while loading
    ActionGoto(back, 0);
    back.U8(0x06);
    back.U8(0);
    WriteTag(frames[1], kTagDoAction, back);
  }
  {
    SwfBuffer a;
    if (loop_) {
      ActionGoto(a, first);
      a.U8(0x06);
    } else {
      a.U8(0x07);
    }
    a.U8(0);
    WriteTag(frames[total - 1], kTagDoAction, a);
  }

  for (Bytes& f : frames) {
    out.insert(out.end(), f.begin(), f.end());
    WriteTag(out, kTagShowFrame, Bytes());
    Bytes().swap(f);
  }
  WriteTag(out, kTagEnd, Bytes());
  Bytes file = WriteSwfFile(kSwfVersion, width_, height_, kFrameRate, total, out, true);
  report();
  return file;
}

}  // namespace flashwriter
