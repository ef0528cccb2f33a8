#include "platform/picture.h"

#include <cstring>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/region.h"
#include "platform/text.h"

namespace platform {

namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// 8-bit pictures become 24-bit; 24 and 32-bit stay as they are.
std::unique_ptr<Bitmap> Widen(std::unique_ptr<Bitmap> b) {
  if (b && b->Format() == PixelFormat::Indexed8) {
    auto w = b->ConvertTo(PixelFormat::Bgr24);
    if (!w) throw LoadError("Out of memory");
    return w;
  }
  return b;
}

// The first frame on the logical screen, as the first composed frame shows it: 32-bit and
// transparent around the frame when it has a transparent colour, else on the background colour.
// The screen is drawn once, straight into the result.
std::unique_ptr<Bitmap> GifFirstFrame(std::span<const uint8_t> data) {
  const GifAnimation a = DecodeGif(data);
  const GifFrame& f = a.frames.front();
  const bool transparent = f.hasTransparent;
  auto out = Bitmap::Create(a.width, a.height, transparent ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
  if (!out) throw LoadError("GIF image is corrupt");
  if (!transparent) out->Fill(a.background);
  const int bytes = transparent ? 4 : 3;
  const Rect vis = Rect::FromSize(f.left, f.top, f.width, f.height).Intersect(Rect::FromSize(0, 0, a.width, a.height));
  for (int y = vis.top; y < vis.bottom; ++y) {
    const uint8_t* s = f.image->Row(y - f.top) + (vis.left - f.left) * 4;
    uint8_t* d = out->Row(y) + vis.left * bytes;
    for (int x = vis.left; x < vis.right; ++x, s += 4, d += bytes)
      if (s[3]) std::memcpy(d, s, bytes);
  }
  return out;
}

std::unique_ptr<Bitmap> LargestIcon(std::span<const uint8_t> data) {
  const std::vector<IconImage> images = ParseIco(data);
  const IconImage* best = nullptr;
  for (const IconImage& im : images) {
    if (im.png) continue;
    if (!best || im.width * im.height > best->width * best->height ||
        (im.width * im.height == best->width * best->height && im.bitCount > best->bitCount))
      best = &im;
  }
  if (!best) throw LoadError("Icon image is not valid");
  return DecodeIconImage(*best);
}

}  // namespace

std::string ReadPictureFile(std::string_view path) {
  std::optional<std::string> bytes = files::ReadFile(path);
  if (!bytes) throw FileError("Cannot open file \"" + std::string(path) + "\". No such file or directory");
  return std::move(*bytes);
}

std::unique_ptr<Bitmap> DecodePicture(std::span<const uint8_t> data, std::string_view ext) {
  const std::string e = AsciiLower(ext);
  if (e == ".bmp" || e == ".dib") return Widen(DecodeBmp(data));
  if (e == ".jpg" || e == ".jpeg" || e == ".jpe" || e == ".jfif") return DecodeJpeg(data);
  if (e == ".gif") return GifFirstFrame(data);
  if (e == ".ico") return LargestIcon(data);
  if (e == ".wmf" || e == ".emf") return RenderMetafile(data);
  throw LoadError("Unknown picture file extension (" + e + ")");
}

std::unique_ptr<Bitmap> LoadPicture(std::string_view path) {
  const std::string ext = paths::ExtractFileExt(path);
  const std::string e = AsciiLower(ext);
  if (e != ".bmp" && e != ".dib" && e != ".jpg" && e != ".jpeg" && e != ".jpe" && e != ".jfif" && e != ".gif" &&
      e != ".ico" && e != ".wmf" && e != ".emf")
    throw LoadError("Unknown picture file extension (" + e + ")");
  const std::string bytes = ReadPictureFile(path);
  return DecodePicture(Bytes(bytes), e);
}

PictureInfo ProbePicture(std::span<const uint8_t> data) {
  PictureInfo info;
  int w = 0, h = 0, bits = 0;
  if (ProbeBmp(data, w, h, bits)) {
    info = {"BMP", w, h, 1, bits};
    return info;
  }
  JpegInfo j;
  if (ProbeJpeg(data, j)) {
    info = {"JPEG", j.width, j.height, 1, 8 * j.components, j.progressive};
    return info;
  }
  if (data.size() >= 6 && std::memcmp(data.data(), "GIF", 3) == 0) {
    int frames = 0;
    bool interlaced = false;
    if (!ProbeGif(data, w, h, frames, interlaced)) throw LoadError("GIF image is corrupt");
    info = {"GIF", w, h, frames, 8, false, interlaced};
    return info;
  }
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data.size() >= 24 && std::memcmp(data.data(), kPng, 8) == 0) {
    auto be = [&](size_t o) { return static_cast<int>((data[o] << 24) | (data[o + 1] << 16) | (data[o + 2] << 8) | data[o + 3]); };
    info = {"PNG", be(16), be(20), 1, data.size() > 25 ? data[24] : 0};
    return info;
  }
  MetafileInfo m;
  if (ProbeMetafile(data, m)) {
    info = {m.enhanced ? "EMF" : "WMF", m.width, m.height, 1, 32};
    return info;
  }
  if (data.size() >= 6 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0) {
    const std::vector<IconImage> images = ParseIco(data);
    info = {"ICO", images.front().width, images.front().height, static_cast<int>(images.size()), images.front().bitCount};
    for (const IconImage& im : images) {
      if (im.width * im.height > info.width * info.height) { info.width = im.width; info.height = im.height; }
      info.bitsPerPixel = std::max(info.bitsPerPixel, im.bitCount);
    }
    return info;
  }
  throw LoadError("Unknown picture format");
}

}  // namespace platform
