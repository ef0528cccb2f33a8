#pragma once
// The pictures a stage draws, decoded once through the platform's codecs: a still picture is
// one frame, a GIF animation its composed frames with their delays. This is the one place the
// stage reads picture files, so a host without files (the browser) can hand in decoded ones.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace stage {

struct StagePicture {
  int width = 0, height = 0;  // the natural size (a GIF's logical screen)
  std::vector<std::shared_ptr<const platform::Bitmap>> frames;  // at least one
  std::vector<int> delaysMs;  // per frame, as a player shows them
  int FrameCount() const { return static_cast<int>(frames.size()); }
};

// A GIF frame's delay in hundredths of a second as played: 0 and 1 (the "as fast as you can"
// values) play at 100 ms, others at their own length.
int GifFrameDelayMs(int hundredths);

// A picture file (system path): ".gif" files as animations, other kinds as one still frame.
// Null when the path is empty or the file cannot be read or decoded.
std::shared_ptr<const StagePicture> LoadStagePicture(std::string_view path);
// The same from a file's bytes; ext (".gif", ".jpg", ...) chooses the decoder.
std::shared_ptr<const StagePicture> DecodeStagePicture(std::string_view bytes, std::string_view ext);
// A decoded still picture as a one-frame picture.
std::shared_ptr<const StagePicture> StillPicture(std::unique_ptr<platform::Bitmap> bitmap);

// The frame due elapsedMs after the animation started: the delays run one after another and
// the animation loops. 0 for still pictures.
int FrameAt(const StagePicture& picture, int64_t elapsedMs);
// When, from the animation's start, the frame after the one due at elapsedMs comes; -1 for still pictures.
int64_t NextFrameAt(const StagePicture& picture, int64_t elapsedMs);

}  // namespace stage
