#pragma once
// Helpers for the SWF writer tests: the real Flash.dll loaded from the program folder and
// frame packets drawn in code. The movies are checked with tests/support: the tests' own SWF
// reader (swf_check.h) and the Flash player in headless Chromium (swf_render.h).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/png_pixels.h"
#include "support/swf_check.h"
#include "support/swf_render.h"

namespace flashtest {

namespace fs = std::filesystem;

using CreateFlashFn = bool (*)(int32_t, int32_t, int32_t, int32_t, bool, bool, const char*,
                               void (*)(int32_t, int32_t));
using CreateLoadingFn = bool (*)(int32_t, const uint8_t*, int32_t);
using CreateTitleFn = bool (*)(const uint8_t*, int32_t, int32_t, int32_t);
using CreateBackGroundFn = bool (*)(int32_t, int32_t, int32_t, const uint8_t*, int32_t, int32_t);
using AddSoundFn = bool (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t, int32_t);
using CreateSoundFn = bool (*)();
using AddSprinkleFn = bool (*)(const uint8_t*, int32_t, int32_t, const int32_t*, int32_t, int32_t,
                               int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                               int32_t, int32_t, bool, int32_t, float, float);
using AddPhotoFn = bool (*)(const uint8_t*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
using FlashToFileFn = bool (*)(const char*);
using FreeFlashObjFn = void (*)();
using LastErrorFn = const char* (*)();

struct FlashDll {
  void* handle = nullptr;
  CreateFlashFn CreateFlash = nullptr;
  CreateLoadingFn CreateLoading = nullptr;
  CreateTitleFn CreateTitle = nullptr;
  CreateBackGroundFn CreateBackGround = nullptr;
  AddSoundFn AddSound = nullptr;
  CreateSoundFn CreateSound = nullptr;
  AddSprinkleFn AddSprinkle = nullptr;
  AddPhotoFn AddPhoto = nullptr;
  FlashToFileFn FlashToFile = nullptr;
  FreeFlashObjFn FreeFlashObj = nullptr;
  LastErrorFn LastError = nullptr;

  static FlashDll& Get() {
    static FlashDll dll;
    if (!dll.handle) {
      std::string path = std::string(CARD_PROGRAM_DIR) + "/Flash.dll";
      dll.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (dll.handle) {
        auto get = [&](auto& fn, const char* name) { fn = reinterpret_cast<std::decay_t<decltype(fn)>>(dlsym(dll.handle, name)); };
        get(dll.CreateFlash, "CreateFlash");
        get(dll.CreateLoading, "CreateLoading");
        get(dll.CreateTitle, "CreateTitle");
        get(dll.CreateBackGround, "CreateBackGround");
        get(dll.AddSound, "AddSound");
        get(dll.CreateSound, "CreateSound");
        get(dll.AddSprinkle, "AddSprinkle");
        get(dll.AddPhoto, "AddPhoto");
        get(dll.FlashToFile, "FlashToFile");
        get(dll.FreeFlashObj, "FreeFlashObj");
        get(dll.LastError, "FlashLastError");
      }
    }
    return dll;
  }
};

// Pixels given as 0xAARRGGBB, not premultiplied; the BMP gets premultiplied colours when any
// alpha is below 255 (32-bit), else it is 24-bit.
inline std::vector<uint8_t> MakeBmp(int w, int h, const std::function<uint32_t(int, int)>& px,
                                    bool force32 = false) {
  bool alpha = force32;
  for (int y = 0; y < h && !alpha; ++y)
    for (int x = 0; x < w && !alpha; ++x) alpha = (px(x, y) >> 24) != 0xFF;
  int bpp = alpha ? 4 : 3;
  int stride = (w * bpp + 3) & ~3;
  uint32_t size = 54 + stride * h;
  std::vector<uint8_t> b(size, 0);
  auto u32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF; };
  b[0] = 'B'; b[1] = 'M';
  u32(2, size); u32(10, 54); u32(14, 40); u32(18, w); u32(22, h);
  b[26] = 1; b[28] = bpp * 8;
  u32(34, stride * h);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.data() + 54 + (h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) {
      uint32_t c = px(x, y);
      int a = c >> 24, r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, bl = c & 0xFF;
      if (alpha) {
        row[4 * x] = (bl * a + 127) / 255; row[4 * x + 1] = (g * a + 127) / 255;
        row[4 * x + 2] = (r * a + 127) / 255; row[4 * x + 3] = a;
      } else {
        row[3 * x] = bl; row[3 * x + 1] = g; row[3 * x + 2] = r;
      }
    }
  }
  return b;
}

inline std::vector<uint8_t> MakePacket(int fw, int fh, const std::vector<int>& delays,
                                       const std::vector<uint8_t>& bmp) {
  std::vector<uint8_t> p;
  auto i32 = [&](int32_t v) { for (int i = 0; i < 4; ++i) p.push_back((v >> (8 * i)) & 0xFF); };
  i32(fw); i32(fh); i32(static_cast<int32_t>(delays.size()));
  for (int d : delays) { p.push_back(d & 0xFF); p.push_back((d >> 8) & 0xFF); }
  p.insert(p.end(), bmp.begin(), bmp.end());
  return p;
}

inline std::vector<uint8_t> SolidPacket(int w, int h, uint32_t argb) {
  return MakePacket(w, h, {100}, MakeBmp(w, h, [=](int, int) { return argb; }));
}

inline fs::path TestDir(const std::string& name) {
  fs::path d = fs::path(CARD_PROGRAM_DIR).parent_path() / "test-output" / "flashwriter" / name;
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

// The colour at (x, y) of a rendered PNG.
inline testing_support::Rgb Pixel(const std::string& png, int x, int y) { return testing_support::PixelOf(png, x, y); }
using testing_support::Near;

}  // namespace flashtest
