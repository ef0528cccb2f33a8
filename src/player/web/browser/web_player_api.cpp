// The card rules a web card runs in the browser, compiled to WebAssembly: the picture show box
// (choice of pictures and effects, the transition engine's 100 steps on the page's clock) and
// the scrolling caption's line places. The page's script (card_host.js) calls these functions
// with the time and draws what they answer; it decides nothing itself.
//
// Pixels cross the boundary as RGBA rows (the canvas's own order), width * 4 bytes a row.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "maker/document/caption_geometry.h"
#include "maker/transitions/pic_movie.h"
#include "platform/bitmap.h"
#include "player/stage/show_box_player.h"

namespace {

using platform::Bitmap;
using platform::PixelFormat;

std::unique_ptr<Bitmap> FromRgba(int width, int height, const uint8_t* rgba) {
  auto bmp = Bitmap::Create(width, height, PixelFormat::Bgr24);
  if (!bmp) return nullptr;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bmp->Row(y);
    const uint8_t* src = rgba + static_cast<size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = src[x * 4 + 2];
      row[x * 3 + 1] = src[x * 4 + 1];
      row[x * 3 + 2] = src[x * 4];
    }
  }
  return bmp;
}

void ToRgba(const Bitmap& bmp, std::vector<uint8_t>& out) {
  const int w = bmp.Width(), h = bmp.Height();
  out.resize(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = bmp.Row(y);
    uint8_t* dst = out.data() + static_cast<size_t>(y) * w * 4;
    for (int x = 0; x < w; ++x) {
      dst[x * 4] = row[x * 3 + 2];
      dst[x * 4 + 1] = row[x * 3 + 1];
      dst[x * 4 + 2] = row[x * 3];
      dst[x * 4 + 3] = 255;
    }
  }
}

struct WebShowBox {
  std::unique_ptr<stage::ShowBoxPlayer> player;
  std::vector<std::unique_ptr<Bitmap>> pending;
  std::vector<uint8_t> rgba;
};

struct WebTransition {
  transitions::TlmPicMovieunit engine;
  std::unique_ptr<Bitmap> target;
  std::vector<uint8_t> rgba;
};

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void* wp_alloc(int bytes) { return std::malloc(static_cast<size_t>(bytes > 0 ? bytes : 1)); }
EMSCRIPTEN_KEEPALIVE void wp_free(void* p) { std::free(p); }

// --- the picture show box -------------------------------------------------------------

EMSCRIPTEN_KEEPALIVE WebShowBox* wp_box_new(int width, int height, int bkColor, int intervalSeconds, int randomOrder,
                                            int clickShowsNext, int effectId, int screenWidth, int screenHeight,
                                            uint32_t seed, int stepMs) {
  player::PicsBoxModel model;
  model.present = true;
  model.rect = {0, 0, width, height};
  model.bkColor = static_cast<platform::Color>(bkColor);
  model.intervalSeconds = intervalSeconds;
  model.randomOrder = randomOrder != 0;
  model.clickShowsNext = clickShowsNext != 0;
  model.effectId = effectId;
  auto* box = new WebShowBox;
  box->player = std::make_unique<stage::ShowBoxPlayer>(model, screenWidth, screenHeight, seed, stepMs);
  return box;
}

EMSCRIPTEN_KEEPALIVE void wp_box_delete(WebShowBox* box) { delete box; }

// Adds a picture to the list that wp_box_start hands to the box.
EMSCRIPTEN_KEEPALIVE int wp_box_add_picture(WebShowBox* box, int width, int height, const uint8_t* rgba) {
  auto bmp = FromRgba(width, height, rgba);
  if (!bmp) return 0;
  box->pending.push_back(std::move(bmp));
  return 1;
}

EMSCRIPTEN_KEEPALIVE void wp_box_start(WebShowBox* box, double t) {
  box->player->SetPictures(std::move(box->pending), static_cast<int64_t>(t));
  box->pending.clear();
}

EMSCRIPTEN_KEEPALIVE void wp_box_advance(WebShowBox* box, double t) { box->player->Advance(static_cast<int64_t>(t)); }
EMSCRIPTEN_KEEPALIVE double wp_box_next_change(WebShowBox* box) {
  return static_cast<double>(box->player->NextChangeAt());
}
EMSCRIPTEN_KEEPALIVE void wp_box_show_next(WebShowBox* box, double t) { box->player->ShowNext(static_cast<int64_t>(t)); }
EMSCRIPTEN_KEEPALIVE void wp_box_show_previous(WebShowBox* box, double t) {
  box->player->ShowPrevious(static_cast<int64_t>(t));
}
EMSCRIPTEN_KEEPALIVE int wp_box_show_index(WebShowBox* box, int index, double t) {
  return box->player->ShowIndex(index, static_cast<int64_t>(t)) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void wp_box_click(WebShowBox* box, double t) { box->player->Click(static_cast<int64_t>(t)); }
EMSCRIPTEN_KEEPALIVE void wp_box_stop(WebShowBox* box) { box->player->Stop(); }
EMSCRIPTEN_KEEPALIVE int wp_box_shown_index(WebShowBox* box) { return box->player->ShownIndex(); }
EMSCRIPTEN_KEEPALIVE int wp_box_steps_drawn(WebShowBox* box) { return box->player->StepsDrawn(); }
EMSCRIPTEN_KEEPALIVE int wp_box_effect(WebShowBox* box) { return box->player->Effect(); }

// What the box shows now, as RGBA of the box's size; valid until the next call on the box.
EMSCRIPTEN_KEEPALIVE const uint8_t* wp_box_surface(WebShowBox* box) {
  ToRgba(box->player->Surface(), box->rgba);
  return box->rgba.data();
}

// --- one transition, as the command line tool draws it ---------------------------------

EMSCRIPTEN_KEEPALIVE WebTransition* wp_transition_new(int oldW, int oldH, const uint8_t* oldRgba, int newW, int newH,
                                                      const uint8_t* newRgba, int width, int height, int bkColor,
                                                      uint32_t seed) {
  auto oldPic = FromRgba(oldW, oldH, oldRgba);
  auto newPic = FromRgba(newW, newH, newRgba);
  auto* tr = new WebTransition;
  tr->engine.SetBkColor(static_cast<platform::Color>(bkColor));
  tr->engine.SeedRandom(seed);
  tr->engine.PrepareFrames(oldPic.get(), newPic.get(), width, height);
  tr->target = Bitmap::Create(width, height, PixelFormat::Bgr24);
  return tr;
}

EMSCRIPTEN_KEEPALIVE const uint8_t* wp_transition_step(WebTransition* tr, int effect, int step) {
  if (!tr->target) return nullptr;
  transitions::BitmapCanvas canvas(*tr->target);
  tr->engine.DrawStep(step, canvas, effect);
  ToRgba(*tr->target, tr->rgba);
  return tr->rgba.data();
}

EMSCRIPTEN_KEEPALIVE void wp_transition_delete(WebTransition* tr) { delete tr; }

// --- the scrolling caption --------------------------------------------------------------

// Writes (line, x, y) of every line drawn at position p into out (3 ints a line); answers the count.
EMSCRIPTEN_KEEPALIVE int wp_caption_place(int way, int lineCount, int lineHeight, int width, int height, int p,
                                          int* out) {
  const auto lines = document::PlaceCaptionLines({way, lineCount, lineHeight, width, height}, p);
  for (size_t i = 0; i < lines.size(); ++i) {
    out[i * 3] = lines[i].line;
    out[i * 3 + 1] = lines[i].x;
    out[i * 3 + 2] = lines[i].y;
  }
  return static_cast<int>(lines.size());
}

// The position a caption shows elapsedMs after it started: its timer ticks every intervalMs, the
// first tick shows position 0 once more and each later one advances it by one.
EMSCRIPTEN_KEEPALIVE int wp_caption_position(int way, int lineCount, int lineHeight, int width, int height,
                                             double elapsedMs, int intervalMs) {
  const document::CaptionGeometry g{way, lineCount, lineHeight, width, height};
  const int64_t ticks = elapsedMs < 0 ? 0 : static_cast<int64_t>(elapsedMs) / (intervalMs > 0 ? intervalMs : 1);
  const int64_t advances = (ticks > 0 ? ticks - 1 : 0) % (static_cast<int64_t>(document::CaptionPositionLimit(g)) + 1);
  int p = 0;
  for (int64_t k = 0; k < advances; ++k) p = document::NextCaptionPosition(g, p);
  return p;
}

}  // extern "C"
