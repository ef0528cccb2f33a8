// Flash.dll entry points: argument checks around the movie model.
#include "flashwriter/flash_api.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <string>

#include "flashwriter/movie.h"
#include "platform/files.h"

using namespace flashwriter;

namespace {

std::unique_ptr<Movie> g_movie;
std::string g_error;

bool Fail(std::string text) {
  g_error = std::move(text);
  return false;
}

double Ms(int32_t v) { return std::clamp<double>(v, 0, 24.0 * 3600 * 1000); }

bool Packet(const uint8_t* data, int32_t size, FramePacket& packet) {
  std::string error;
  if (!data || size <= 0) return Fail("the picture packet is empty");
  if (!ParseFramePacket(data, static_cast<size_t>(size), packet, error)) return Fail(error);
  return true;
}

template <typename F>
bool Guard(F&& body) {
  if (!g_movie) return Fail("CreateFlash has not been called");
  try {
    return body();
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

}  // namespace

FLASH_API bool CreateFlash(int32_t stageWidth, int32_t stageHeight, int32_t designWidth,
                           int32_t designHeight, bool useJpeg, bool loop, const char* producer,
                           FlashProgressProc progress) {
  g_movie.reset();
  if (stageWidth < 1 || stageHeight < 1 || stageWidth > 10000 || stageHeight > 10000)
    return Fail("the movie size must be 1 to 10000 pixels");
  if (designWidth < 1 || designHeight < 1) {
    designWidth = stageWidth;
    designHeight = stageHeight;
  }
  ProgressFn fn;
  if (progress) fn = [progress](int m, int p) { progress(m, p); };
  try {
    g_movie = std::make_unique<Movie>(stageWidth, stageHeight, designWidth, designHeight, useJpeg,
                                      loop, producer ? producer : "", fn);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return true;
}

FLASH_API bool CreateLoading(int32_t placement, const uint8_t* data, int32_t size) {
  return Guard([&] {
    FramePacket p;
    std::string error;
    if (!Packet(data, size, p)) return false;
    return g_movie->SetLoading(p, placement, error) || Fail(error);
  });
}

FLASH_API bool CreateTitle(const uint8_t* data, int32_t size, int32_t x, int32_t y) {
  return Guard([&] {
    FramePacket p;
    std::string error;
    if (!Packet(data, size, p)) return false;
    return g_movie->SetTitle(p, x, y, error) || Fail(error);
  });
}

FLASH_API bool CreateBackGround(int32_t stageColor, int32_t fillColor, int32_t placement,
                                const uint8_t* data, int32_t size, int32_t mode) {
  return Guard([&] {
    std::string error;
    if ((mode != 1 && mode != 2) || !data || size <= 0)  // no picture: colours only
      return g_movie->SetBackground(stageColor, fillColor, placement, nullptr, 0, error) || Fail(error);
    FramePacket p;
    if (!Packet(data, size, p)) return false;
    return g_movie->SetBackground(stageColor, fillColor, placement, &p, mode, error) || Fail(error);
  });
}

FLASH_API bool AddSound(const char* fileName, int32_t startMs, int32_t skipMs, int32_t lengthMs,
                        int32_t eventSound, int32_t fadeInMs, int32_t fadeOutMs, int32_t,
                        int32_t, int32_t, int32_t repeat, int32_t) {
  return Guard([&] {
    if (!fileName) return Fail("no music file named");
    auto bytes = platform::files::ReadFile(fileName);
    if (!bytes) return Fail("the music file cannot be read");
    Mp3Audio audio;
    std::string error;
    if (!ParseMp3(std::vector<uint8_t>(bytes->begin(), bytes->end()), audio, error)) return Fail(error);
    Movie::SoundOptions o;
    o.startMs = Ms(startMs);
    o.skipMs = Ms(skipMs);
    o.lengthMs = Ms(lengthMs);
    o.eventSound = eventSound == 1;
    o.fadeInMs = Ms(fadeInMs);
    o.fadeOutMs = Ms(fadeOutMs);
    o.repeat = repeat != 0;
    return g_movie->AddSound(std::move(audio), o);
  });
}

FLASH_API bool CreateSound() {
  return Guard([&] {
    std::string error;
    return g_movie->CreateSound(error) || Fail(error);
  });
}

FLASH_API bool AddSprinkle(const uint8_t* data, int32_t size, int32_t units, const int32_t* position,
                           int32_t rotation, int32_t, int32_t, int32_t startUnit, int32_t start,
                           int32_t endUnit, int32_t end, int32_t appearEffect, int32_t disappearEffect,
                           int32_t appearMs, int32_t disappearMs, bool fade, int32_t blend,
                           float scaleX, float scaleY) {
  return Guard([&] {
    if (!position) return Fail("no position given");
    FramePacket p;
    if (!Packet(data, size, p)) return false;
    Movie::SprinkleOptions o;
    int32_t packed = position[1];
    int32_t y = static_cast<int16_t>(packed & 0xFFFF);
    int32_t x = static_cast<int32_t>((static_cast<int64_t>(packed) - y) >> 16);
    if (units == 9) {
      o.x = x * g_movie->Width() / 1000.0;
      o.y = y * g_movie->Height() / 1000.0;
    } else {
      o.x = x;
      o.y = y;
    }
    o.centreAnchor = position[0] == 5;
    auto sane = [](float s) { return std::isfinite(s) ? std::clamp<double>(s, -1000, 1000) : 1.0; };
    o.scaleX = sane(scaleX);
    o.scaleY = sane(scaleY);
    const double frameMs = 1000.0 / kFrameRate;
    double startMs = startUnit == 0 ? Ms(start) * frameMs : Ms(start);
    double endMs = endUnit == 0 ? Ms(end) * frameMs : Ms(end);
    o.timing.startMs = startMs;
    o.timing.appearMs = appearEffect == 0 ? 0 : Ms(appearMs);
    o.timing.hideStartMs = std::max(0.0, endMs - startMs);
    o.timing.hideMs = disappearEffect == 0 ? 0 : Ms(disappearMs);
    o.timing.appearMs = std::min(o.timing.appearMs, o.timing.hideStartMs);
    o.appear = SprinkleEffect(appearEffect, fade);
    o.hide = SprinkleEffect(disappearEffect, fade);
    o.blend = blend == 1 ? 1 : 0;
    o.rotation = rotation % 360;
    std::string error;
    return g_movie->AddSprinkle(p, o, error) || Fail(error);
  });
}

FLASH_API bool AddPhoto(const uint8_t* data, int32_t size, int32_t showMs, int32_t appearEffect,
                        int32_t appearMs, int32_t disappearEffect, int32_t disappearMs,
                        int32_t offsetX, int32_t offsetY, int32_t pauseBeforeMs, int32_t pauseAfterMs,
                        int32_t zoomPercent, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                        int32_t centred, int32_t) {
  return Guard([&] {
    Movie::SceneOptions o;
    o.showMs = Ms(showMs);
    o.appearMs = Ms(appearMs);
    o.hideMs = Ms(disappearMs);
    o.appearEffect = appearEffect >= 0 && appearEffect <= 35 ? appearEffect : 1;
    o.hideEffect = disappearEffect >= 0 && disappearEffect <= 35 ? disappearEffect : 1;
    o.offsetX = std::clamp(offsetX, -100000, 100000);
    o.offsetY = std::clamp(offsetY, -100000, 100000);
    o.pauseBeforeMs = Ms(pauseBeforeMs);
    o.pauseAfterMs = Ms(pauseAfterMs);
    o.zoomStart = zoomPercent <= 0 ? 0.1 : std::min(zoomPercent, 100) / 100.0;
    o.centred = centred != 0;
    FramePacket p;
    std::string error;
    bool ok = Packet(data, size, p);
    if (!ok) error = g_error;
    if (!g_movie->AddScene(ok ? &p : nullptr, o, error) || !ok) return Fail(error);
    return true;
  });
}

FLASH_API bool FlashToFile(const char* fileName) {
  return Guard([&] {
    if (!fileName || !*fileName) return Fail("no file named");
    Bytes file = g_movie->Build();
    if (!platform::files::WriteFileAtomic(
            fileName, std::string_view(reinterpret_cast<const char*>(file.data()), file.size())))
      return Fail("the movie file cannot be written");
    return true;
  });
}

FLASH_API int32_t FlashTimeline(char* buffer, int32_t capacity) {
  std::string text;
  if (!Guard([&] {
        text = g_movie->TimelineJson();
        return text.size() < 0x7FFFFFFF || Fail("the timeline is too long");
      }))
    return -1;
  const int32_t length = static_cast<int32_t>(text.size());
  if (buffer && capacity > length) std::copy(text.c_str(), text.c_str() + length + 1, buffer);
  return length;
}

FLASH_API void FreeFlashObj() { g_movie.reset(); }

FLASH_API bool CreatePTDH(const uint8_t* data, int32_t size, int32_t durationMs) {
  return Guard([&] {
    FramePacket p;
    std::string error;
    if (!Packet(data, size, p)) return false;
    return g_movie->SetIntro(p, Ms(durationMs), error) || Fail(error);
  });
}

FLASH_API const char* FlashLastError() { return g_error.c_str(); }
