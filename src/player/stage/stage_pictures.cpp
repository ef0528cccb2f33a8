#include "player/stage/stage_pictures.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/gif_codec.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace stage {

int GifFrameDelayMs(int hundredths) { return hundredths <= 1 ? 100 : hundredths * 10; }

std::shared_ptr<const StagePicture> StillPicture(std::unique_ptr<platform::Bitmap> bitmap) {
  if (!bitmap) return nullptr;
  auto picture = std::make_shared<StagePicture>();
  picture->width = bitmap->Width();
  picture->height = bitmap->Height();
  picture->frames.push_back(std::shared_ptr<const platform::Bitmap>(std::move(bitmap)));
  picture->delaysMs.push_back(0);
  return picture;
}

namespace {

std::shared_ptr<const StagePicture> FromAnimation(const platform::GifAnimation& animation) {
  auto frames = platform::ComposeGifFrames(animation);
  if (frames.empty()) return nullptr;
  auto picture = std::make_shared<StagePicture>();
  picture->width = animation.width;
  picture->height = animation.height;
  for (size_t i = 0; i < frames.size(); ++i) {
    picture->frames.push_back(std::shared_ptr<const platform::Bitmap>(std::move(frames[i])));
    picture->delaysMs.push_back(GifFrameDelayMs(i < animation.frames.size() ? animation.frames[i].delay : 0));
  }
  return picture;
}

}  // namespace

std::shared_ptr<const StagePicture> DecodeStagePicture(std::string_view bytes, std::string_view ext) {
  if (bytes.empty()) return nullptr;
  const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  try {
    if (platform::AsciiLower(ext) == ".gif") return FromAnimation(platform::DecodeGif(data));
    return StillPicture(platform::DecodePicture(data, ext));
  } catch (const platform::Error&) {
    return nullptr;  // an unreadable picture leaves its element empty
  }
}

std::shared_ptr<const StagePicture> LoadStagePicture(std::string_view path) {
  if (path.empty() || !platform::files::FileExists(path)) return nullptr;
  try {
    if (platform::AsciiLower(platform::paths::ExtractFileExt(path)) != ".gif")
      return StillPicture(platform::LoadPicture(path));
    return FromAnimation(platform::LoadGifAnimation(path));
  } catch (const platform::Error&) {
    return nullptr;
  }
}

namespace {

int64_t LoopLength(const StagePicture& picture) {
  int64_t total = 0;
  for (int d : picture.delaysMs) total += d;
  return total;
}

}  // namespace

int FrameAt(const StagePicture& picture, int64_t elapsedMs) {
  const int64_t total = LoopLength(picture);
  if (picture.FrameCount() <= 1 || total <= 0 || elapsedMs < 0) return 0;
  int64_t e = elapsedMs % total;
  for (int i = 0; i < picture.FrameCount(); ++i) {
    if (e < picture.delaysMs[static_cast<size_t>(i)]) return i;
    e -= picture.delaysMs[static_cast<size_t>(i)];
  }
  return picture.FrameCount() - 1;
}

int64_t NextFrameAt(const StagePicture& picture, int64_t elapsedMs) {
  const int64_t total = LoopLength(picture);
  if (picture.FrameCount() <= 1 || total <= 0) return -1;
  if (elapsedMs < 0) return 0;
  const int64_t loopStart = elapsedMs - elapsedMs % total;
  int64_t end = loopStart;
  for (int d : picture.delaysMs) {
    end += d;
    if (end > elapsedMs) return end;
  }
  return loopStart + total;
}

}  // namespace stage
