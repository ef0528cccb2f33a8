#pragma once
// The Flash builder: loads Flash.dll from the program folder and feeds it the project — movie,
// loading animation, title, background, music, every object layer by layer, every scene —
// then has it write the SWF file.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/dynlib.h"

namespace flashwizard {

class FlashProject;

// Flash.dll's entry points as the builder calls them.
using FlashProgressProc = void (*)(int32_t maximum, int32_t position);
using CreateFlashProc = bool (*)(int32_t, int32_t, int32_t, int32_t, bool, bool, const char*, FlashProgressProc);
using CreateLoadingProc = bool (*)(int32_t, const uint8_t*, int32_t);
using CreateTitleProc = bool (*)(const uint8_t*, int32_t, int32_t, int32_t);
using CreateBackGroundProc = bool (*)(int32_t, int32_t, int32_t, const uint8_t*, int32_t, int32_t);
using AddSoundProc = bool (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, int32_t, int32_t, int32_t);
using CreateSoundProc = bool (*)();
using AddSprinkleProc = bool (*)(const uint8_t*, int32_t, int32_t, const int32_t*, int32_t, int32_t,
                                 int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, bool, int32_t, float, float);
using AddPhotoProc = bool (*)(const uint8_t*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
using FlashToFileProc = bool (*)(const char*);
using FreeFlashObjProc = void (*)();
using CreatePTDHProc = bool (*)(const uint8_t*, int32_t, int32_t);

struct FlashDll {
  platform::dynlib::Handle handle = nullptr;
  CreateFlashProc CreateFlash = nullptr;
  CreateLoadingProc CreateLoading = nullptr;
  CreateTitleProc CreateTitle = nullptr;
  CreateBackGroundProc CreateBackGround = nullptr;
  AddSoundProc AddSound = nullptr;
  CreateSoundProc CreateSound = nullptr;
  AddSprinkleProc AddSprinkle = nullptr;
  AddPhotoProc AddPhoto = nullptr;
  FlashToFileProc FlashToFile = nullptr;
  FreeFlashObjProc FreeFlashObj = nullptr;
  CreatePTDHProc CreatePTDH = nullptr;
};

// Loads program folder + "Flash.dll" and resolves the eleven names; false (nothing loaded)
// when the library or any name is missing.
bool LoadFlashDll(FlashDll& dll);
void UnloadFlashDll(FlashDll& dll);

// Movie timing in milliseconds.
struct MovieTiming {
  std::vector<int> sceneStart, sceneLength;
  int musicLength = 0;  // counted only when the music is used and its file exists
  int movieLength = 0;
};
MovieTiming ComputeTiming(const FlashProject& project);

// Thousandths of the canvas, x in the high half: the position AddSprinkle receives.
int32_t PackedPosition(int left, int top, int canvasWidth, int canvasHeight);

struct BuildHooks {
  // The title preview's image with its background layer hidden (32-bit with alpha);
  // null when there is none.
  std::function<std::unique_ptr<platform::Bitmap>()> exportTitle;
  // The progress bar: maximum and position.
  std::function<void(int, int)> progress;
};

// What the builder handed the library, by the part of the movie it went into, for writers
// that show the movie's pictures themselves where the library's timeline places them.
struct MovieInput {
  std::vector<uint8_t> title;       // empty without a title
  std::vector<uint8_t> background;  // empty without a background picture
  std::vector<std::vector<uint8_t>> sprinkles;  // the objects the library took, in that order
  std::vector<std::vector<uint8_t>> scenes;     // one per scene
  std::string music;                // the music file the library took, or empty
};

// Builds the movie in the library (every failure shown as a message) and has `finish` write
// it out while it is still loaded. False when the library cannot be loaded, the movie,
// loading animation or background cannot be created, or `finish` answers false. input, when
// given, receives what went into the movie.
bool BuildMovie(const FlashProject& project, const BuildHooks& hooks,
                const std::function<bool(FlashDll& dll)>& finish, MovieInput* input = nullptr);

// Builds the movie file; every failure is shown as a message. False when the library cannot
// be loaded, the movie, loading animation or background cannot be created, or the file
// cannot be written.
bool MakeFlash(const FlashProject& project, const std::string& file, const BuildHooks& hooks = {});

}  // namespace flashwizard
