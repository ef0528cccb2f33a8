#pragma once
// Flash.dll: the SWF writer's C entry points, resolved by name at run time.
//
// Calls build one movie in memory: CreateFlash starts it, the Create/Add calls fill it,
// FlashToFile writes it, FreeFlashObj drops it. Integers are 32-bit signed, bool results one
// byte (non-zero = success), texts GBK system paths, (data, size) a frame packet: frame width,
// height and count (32-bit little-endian), one 16-bit delay in ms per frame, then a BMP file
// holding the frames row by row (24-bit, or 32-bit with premultiplied alpha).
// Times are milliseconds of movie time; the movie runs at 25 frames a second.
// A call that fails leaves the movie as it was; no input can make the writer emit a malformed
// movie, and a packet that does not hold what it claims is refused.
#include <cstdint>

#define FLASH_API extern "C" __attribute__((visibility("default")))

// Called with (maximum, position) while FlashToFile lays out and writes the movie.
typedef void (*FlashProgressProc)(int32_t maximum, int32_t position);

// stageWidth, stageHeight: the movie size in pixels (1 to 10000).
// designWidth, designHeight: the size of the area that the positions and sizes of the later
//   calls refer to; everything is scaled by stage / design (equal sizes: one to one).
// useJpeg: pictures of many colours are stored as JPEG (quality 85), others stay lossless.
// loop: true = the movie starts again after its last frame; false = it stops there.
// producer: written into the movie's metadata as its creator (may be null).
FLASH_API bool CreateFlash(int32_t stageWidth, int32_t stageHeight, int32_t designWidth,
                           int32_t designHeight, bool useJpeg, bool loop, const char* producer,
                           FlashProgressProc progress);

// The loading animation, shown and looping until the whole movie has loaded.
// placement: 0 = centred on the stage, anything else = at the top-left corner.
FLASH_API bool CreateLoading(int32_t placement, const uint8_t* data, int32_t size);

// The title picture, at (x, y) design pixels above everything for the whole movie.
FLASH_API bool CreateTitle(const uint8_t* data, int32_t size, int32_t x, int32_t y);

// stageColor: the stage colour the player clears to (0x00BBGGRR; system colours resolved).
// fillColor: a rectangle of this colour covers the stage under the background picture.
// placement: for mode 1, 0 = centred, 1 = top-left corner, 2 = stretched over the stage.
// mode: 0 = colours only (data may be anything, size 0); 1 = the picture; 2 = the picture
//   tiled over the stage. An animated packet animates.
FLASH_API bool CreateBackGround(int32_t stageColor, int32_t fillColor, int32_t placement,
                                const uint8_t* data, int32_t size, int32_t mode);

// Accepts an MP3 file (layer III at 11025, 22050 or 44100 Hz) as the movie's music.
// startMs: movie time when the music starts. skipMs: music skipped at its beginning.
// lengthMs: how long it plays (0 = to the end of the movie). eventSound: 0 = a stream sound
//   (kept in step with the frames), 1 = an event sound (loaded whole, then played).
// fadeInMs, fadeOutMs: volume fades of an event sound (0 = none).
// reserved7, reserved8, reserved9, reserved11: must be 0 (other values are ignored).
// repeat: 1 = the music starts again when it ends before the movie does; 0 = it plays once.
// The movie lasts at least as long as the music.
FLASH_API bool AddSound(const char* fileName, int32_t startMs, int32_t skipMs, int32_t lengthMs,
                        int32_t eventSound, int32_t fadeInMs, int32_t fadeOutMs, int32_t reserved7,
                        int32_t reserved8, int32_t reserved9, int32_t repeat, int32_t reserved11);

// Puts the accepted music into the movie.
FLASH_API bool CreateSound();

// A sprinkle: an animation (each frame shown for its own delay, looping) on the stage
// from its start to its end, drawn in the order added (later ones over earlier ones).
// units: 9 = positions are thousandths of the design area; anything else = design pixels.
// position: two integers: [0] the point of the picture that the position names (9 = its
//   top-left corner, 5 = its centre; others read as 9), [1] the position packed as
//   (x << 16) + y with y a signed 16-bit value.
// rotation: degrees clockwise about the picture's top-left corner.
// reserved6, reserved7: must be 0.
// startUnit, endUnit: 1 = the following time is in milliseconds, 0 = in movie frames.
// start: when it appears. end: when its disappear effect begins; it is gone when that ends.
// appearEffect, disappearEffect: 0 none, 1 fade, 2..9 moving in (out) by the top-left
//   corner, left edge, bottom-left corner, bottom edge, bottom-right corner, right edge,
//   top-right corner, top edge. appearMs, disappearMs: their durations.
// fade: the moves fade the picture in (out) as well. blend: 0 normal, 1 screen.
// scaleX, scaleY: the picture's size on the stage relative to its frame size.
FLASH_API bool AddSprinkle(const uint8_t* data, int32_t size, int32_t units, const int32_t* position,
                           int32_t rotation, int32_t reserved6, int32_t reserved7, int32_t startUnit,
                           int32_t start, int32_t endUnit, int32_t end, int32_t appearEffect,
                           int32_t disappearEffect, int32_t appearMs, int32_t disappearMs, bool fade,
                           int32_t blend, float scaleX, float scaleY);

// A scene: its background picture appears with its effect, stays showMs, disappears with
// its effect; the next scene starts when it has gone. Effects: 0 = one chosen at random,
// 1 fade, 2..9 moves (the directions of AddSprinkle), 10..17 fade and move, 18..25 zoom
// towards the top-left corner, left edge, bottom-left, bottom, bottom-right, right,
// top-right, top edge, 26 zoom at the centre, 27..35 fade and zoom.
// offsetX, offsetY: design pixels added to the picture's position.
// pauseBeforeMs, pauseAfterMs: empty time before and after the scene.
// zoomPercent: the size zoom effects start from (out: end at), percent (0 = 10).
// reserved12..reserved17, reserved19: must be 0.
// centred: 1 = the picture is centred on the stage, 0 = at its top-left corner.
// A packet that cannot be used answers false, and the scene still keeps its time.
FLASH_API bool AddPhoto(const uint8_t* data, int32_t size, int32_t showMs, int32_t appearEffect,
                        int32_t appearMs, int32_t disappearEffect, int32_t disappearMs,
                        int32_t offsetX, int32_t offsetY, int32_t pauseBeforeMs, int32_t pauseAfterMs,
                        int32_t zoomPercent, int32_t reserved12, int32_t reserved13,
                        int32_t reserved14, int32_t reserved15, int32_t reserved16,
                        int32_t reserved17, int32_t centred, int32_t reserved19);

// Writes the movie (compressed SWF, version 8) to the file; false when it cannot be written.
FLASH_API bool FlashToFile(const char* fileName);

// The movie laid out frame by frame as JSON text (ASCII; movie_timeline.cpp gives its form),
// for players that draw the movie themselves. Answers the text's length and copies it, with a
// closing zero byte, into buffer when capacity exceeds that length; -1 on failure.
FLASH_API int32_t FlashTimeline(char* buffer, int32_t capacity);

// Drops the movie.
FLASH_API void FreeFlashObj();

// An opening picture or animation, centred above the scenes for its first durationMs.
FLASH_API bool CreatePTDH(const uint8_t* data, int32_t size, int32_t durationMs);

// The reason of the last failed call (ASCII), for tools and tests.
FLASH_API const char* FlashLastError();
