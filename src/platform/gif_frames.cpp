// GIF frames as shown: reading a file, composing frames on the logical screen, probing.
#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "platform/gif_codec.h"
#include "platform/gif_screen.h"
#include "platform/picture.h"
#include "platform/raster.h"

namespace platform {

GifAnimation LoadGifAnimation(std::string_view path) {
  const std::string bytes = ReadPictureFile(path);
  return DecodeGif(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

void FinishGifScreen(GifAnimation& a) {
  if (a.frames.empty()) throw LoadError("GIF image is corrupt");
  if (a.width <= 0 || a.height <= 0) {
    for (const GifFrame& f : a.frames) {
      a.width = std::max(a.width, std::min(kMaxPictureSide, f.left + f.width));
      a.height = std::max(a.height, std::min(kMaxPictureSide, f.top + f.height));
    }
  }
  if (a.width > kMaxGifScreenSide || a.height > kMaxGifScreenSide) throw LoadError("GIF image is too large");
  const long long screen = std::max(1LL, static_cast<long long>(a.width) * a.height);
  const size_t fit = static_cast<size_t>(std::max(1LL, kMaxComposedGifPixels / screen));
  if (a.frames.size() > fit) a.frames.resize(fit);
}

std::vector<std::unique_ptr<Bitmap>> ComposeGifFrames(const GifAnimation& a) {
  std::vector<std::unique_ptr<Bitmap>> out;
  auto screen = Bitmap::Create(a.width, a.height, PixelFormat::Bgra32);
  if (!screen) return out;
  std::unique_ptr<Bitmap> saved;
  for (const GifFrame& f : a.frames) {
    const Rect area = Rect::FromSize(f.left, f.top, f.width, f.height);
    if (f.disposal == GifDisposal::RestorePrevious) saved = screen->Clone();
    // Draw the frame's opaque pixels over the screen.
    const Rect vis = area.Intersect(Rect::FromSize(0, 0, a.width, a.height));
    for (int y = vis.top; y < vis.bottom; ++y) {
      const uint8_t* s = f.image->Row(y - f.top) + (vis.left - f.left) * 4;
      uint8_t* d = screen->Row(y) + vis.left * 4;
      for (int x = vis.left; x < vis.right; ++x, s += 4, d += 4)
        if (s[3]) std::memcpy(d, s, 4);
    }
    out.push_back(screen->Clone());
    if (f.disposal == GifDisposal::RestoreBackground) {
      FillRect(*screen, area, 0, 0);
    } else if (f.disposal == GifDisposal::RestorePrevious && saved) {
      screen = std::move(saved);
    }
  }
  return out;
}

bool ProbeGif(std::span<const uint8_t> data, int& width, int& height, int& frames, bool& interlaced) {
  try {
    const GifAnimation a = DecodeGif(data);
    width = a.width;
    height = a.height;
    frames = static_cast<int>(a.frames.size());
    interlaced = std::any_of(a.frames.begin(), a.frames.end(), [](const GifFrame& f) { return f.interlaced; });
    return true;
  } catch (const LoadError&) {
    return false;
  }
}

}  // namespace platform
