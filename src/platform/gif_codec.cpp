#include "platform/gif_codec.h"
#include "platform/gif_screen.h"

#include <algorithm>
#include <cstring>
#include <map>

#include <gif_lib.h>

#include "platform/error.h"
#include "platform/picture.h"
#include "platform/raster.h"

namespace platform {

namespace {

const char kCorrupt[] = "GIF image is corrupt";

struct Source {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int len) {
  auto* s = static_cast<Source*>(gif->UserData);
  if (len <= 0) return 0;
  const size_t n = std::min(static_cast<size_t>(len), s->size - s->pos);
  std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* g) const {
    int e;
    DGifCloseFile(g, &e);
  }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

GifPtr Open(Source& src) {
  if (src.size < 13 || std::memcmp(src.data, "GIF", 3) != 0) throw LoadError(kCorrupt);
  int error = 0;
  GifFileType* g = DGifOpen(&src, ReadFromMemory, &error);
  if (!g) throw LoadError(kCorrupt);
  return GifPtr(g);
}

// Totals beyond which a file is refused as hostile rather than decoded.
constexpr int kMaxFrames = 10000;
constexpr long long kMaxTotalPixels = 256LL * 1024 * 1024;

Color MapColor(const ColorMapObject* map, int index) {
  if (!map || index < 0 || index >= map->ColorCount) return 0;
  const GifColorType& c = map->Colors[index];
  return Rgb(c.Red, c.Green, c.Blue);
}

struct Pending {
  bool hasGcb = false;
  GraphicsControlBlock gcb{};
};

// Reads the next image (after DGifGetImageDesc) into a frame.
bool ReadFrame(GifFileType* g, const Pending& pending, GifFrame& f, std::vector<GifByteType>& line) {
  const GifImageDesc& d = g->Image;
  f.left = d.Left;
  f.top = d.Top;
  f.width = d.Width;
  f.height = d.Height;
  f.interlaced = d.Interlace;
  if (f.width <= 0 || f.height <= 0 || f.width > kMaxPictureSide || f.height > kMaxPictureSide) return false;
  const ColorMapObject* map = d.ColorMap ? d.ColorMap : g->SColorMap;
  f.hasControlBlock = pending.hasGcb;
  if (pending.hasGcb) {
    f.delay = pending.gcb.DelayTime;
    f.disposalValue = pending.gcb.DisposalMode;
    f.disposal = f.disposalValue >= 0 && f.disposalValue <= 3 ? static_cast<GifDisposal>(f.disposalValue)
                                                                : GifDisposal::None;
    f.transparentIndex = pending.gcb.TransparentColor;
    f.hasTransparent = f.transparentIndex >= 0;
    if (f.hasTransparent) f.transparentColor = MapColor(map, f.transparentIndex);
  }
  f.image = Bitmap::Create(f.width, f.height, PixelFormat::Bgra32);
  if (!f.image) return false;
  line.resize(static_cast<size_t>(f.width));
  // Interlaced frames arrive in four passes of rows.
  static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  std::vector<int> order;
  order.reserve(static_cast<size_t>(f.height));
  if (f.interlaced) {
    for (int p = 0; p < 4; ++p)
      for (int y = kStart[p]; y < f.height; y += kStep[p]) order.push_back(y);
  } else {
    for (int y = 0; y < f.height; ++y) order.push_back(y);
  }
  const int colors = map ? map->ColorCount : 0;
  for (int y : order) {
    if (DGifGetLine(g, line.data(), f.width) != GIF_OK) return false;
    uint8_t* p = f.image->Row(y);
    for (int x = 0; x < f.width; ++x, p += 4) {
      const int idx = line[static_cast<size_t>(x)];
      if (idx < colors) {
        const GifColorType& c = map->Colors[idx];
        p[0] = c.Blue; p[1] = c.Green; p[2] = c.Red;
      } else {
        p[0] = p[1] = p[2] = 0;
      }
      p[3] = idx == f.transparentIndex ? 0 : 255;
    }
  }
  return true;
}

}  // namespace

GifAnimation DecodeGif(std::span<const uint8_t> data) {
  Source src{data.data(), data.size(), 0};
  GifPtr g = Open(src);
  GifAnimation a;
  a.width = g->SWidth;
  a.height = g->SHeight;
  a.backgroundIndex = g->SBackGroundColor;
  a.background = MapColor(g->SColorMap, g->SBackGroundColor);
  Pending pending;
  std::vector<GifByteType> line;
  long long totalPixels = 0;
  bool done = false;
  while (!done) {
    GifRecordType type;
    if (DGifGetRecordType(g.get(), &type) != GIF_OK) break;
    switch (type) {
      case IMAGE_DESC_RECORD_TYPE: {
        if (DGifGetImageDesc(g.get()) != GIF_OK) { done = true; break; }
        GifFrame f;
        const long long pixels = static_cast<long long>(g->Image.Width) * g->Image.Height;
        totalPixels += pixels;
        // LZW codes of at least 3 bits each give at most 4096 pixels, so a frame cannot hold
        // more pixels than the bytes left allow; a header claiming more is not believed.
        const long long plausible = (static_cast<long long>(src.size - src.pos) + 16) * 8 / 3 * 4096;
        const long long plausibleTotal = (static_cast<long long>(src.size) + 16) * 8 / 3 * 4096;
        if (pixels > kMaxPicturePixels || pixels > plausible || totalPixels > kMaxTotalPixels ||
            totalPixels > plausibleTotal ||
            static_cast<int>(a.frames.size()) >= kMaxFrames ||
            !ReadFrame(g.get(), pending, f, line)) {
          done = true;
          break;
        }
        a.frames.push_back(std::move(f));
        pending = Pending{};
        break;
      }
      case EXTENSION_RECORD_TYPE: {
        int code = 0;
        GifByteType* ext = nullptr;
        if (DGifGetExtension(g.get(), &code, &ext) != GIF_OK) { done = true; break; }
        bool netscape = false;
        bool first = true;
        while (ext != nullptr) {
          if (code == GRAPHICS_EXT_FUNC_CODE && first && ext[0] >= 4) {
            if (DGifExtensionToGCB(ext[0], ext + 1, &pending.gcb) == GIF_OK) pending.hasGcb = true;
          } else if (code == APPLICATION_EXT_FUNC_CODE && first && ext[0] >= 11) {
            netscape = std::memcmp(ext + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(ext + 1, "ANIMEXTS1.0", 11) == 0;
          } else if (netscape && !first && ext[0] >= 3 && ext[1] == 1) {
            a.loopCount = ext[2] | (ext[3] << 8);
          }
          first = false;
          if (DGifGetExtensionNext(g.get(), &ext) != GIF_OK) { done = true; break; }
        }
        break;
      }
      case TERMINATE_RECORD_TYPE:
      default: done = true; break;
    }
  }
  FinishGifScreen(a);
  return a;
}

namespace {

int WriteToVector(GifFileType* gif, const GifByteType* buf, int len) {
  auto* v = static_cast<std::vector<uint8_t>*>(gif->UserData);
  v->insert(v->end(), buf, buf + len);
  return len;
}

// Palette indexes of one frame; index 255 is transparent when the frame has transparency.
ColorMapObject* FramePalette(const Bitmap& img, std::vector<GifByteType>& indexes, int& transparent) {
  std::map<uint32_t, int> colors;
  bool anyTransparent = false;
  for (int y = 0; y < img.Height() && colors.size() <= 255; ++y)
    for (int x = 0; x < img.Width(); ++x) {
      const uint8_t* p = img.Row(y) + 4 * x;
      if (p[3] < 128) { anyTransparent = true; continue; }
      colors.emplace((p[2] << 16) | (p[1] << 8) | p[0], 0);
      if (colors.size() > 255) break;
    }
  const bool exact = colors.size() <= 255;
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  if (!map) return nullptr;
  if (exact) {
    int k = 0;
    for (auto& [rgb, index] : colors) {
      index = k;
      map->Colors[k] = {static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8), static_cast<GifByteType>(rgb)};
      ++k;
    }
  } else {
    for (int k = 0; k < 216; ++k)
      map->Colors[k] = {static_cast<GifByteType>(k / 36 * 51), static_cast<GifByteType>(k / 6 % 6 * 51), static_cast<GifByteType>(k % 6 * 51)};
  }
  transparent = anyTransparent ? 255 : -1;
  indexes.resize(static_cast<size_t>(img.Width()) * img.Height());
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) {
      const uint8_t* p = img.Row(y) + 4 * x;
      int idx;
      if (p[3] < 128) idx = 255;
      else if (exact) idx = colors[(p[2] << 16) | (p[1] << 8) | p[0]];
      else idx = (p[2] + 25) / 51 * 36 + (p[1] + 25) / 51 * 6 + (p[0] + 25) / 51;
      indexes[static_cast<size_t>(y) * img.Width() + x] = static_cast<GifByteType>(idx);
    }
  return map;
}

}  // namespace

std::vector<uint8_t> EncodeGif(const GifAnimation& a) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* g = EGifOpen(&out, WriteToVector, &error);
  if (!g) throw LoadError("Cannot write GIF picture");
  EGifSetGifVersion(g, true);
  bool ok = EGifPutScreenDesc(g, a.width, a.height, 8, 0, nullptr) == GIF_OK;
  if (ok && a.loopCount >= 0) {
    const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType loop[] = {1, static_cast<GifByteType>(a.loopCount & 0xFF), static_cast<GifByteType>(a.loopCount >> 8)};
    ok = EGifPutExtensionLeader(g, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(g, sizeof(app), app) == GIF_OK && EGifPutExtensionBlock(g, sizeof(loop), loop) == GIF_OK &&
         EGifPutExtensionTrailer(g) == GIF_OK;
  }
  std::vector<GifByteType> indexes;
  for (const GifFrame& f : a.frames) {
    if (!ok || !f.image) break;
    auto img = f.image->ConvertTo(PixelFormat::Bgra32);
    int transparent = -1;
    ColorMapObject* map = img ? FramePalette(*img, indexes, transparent) : nullptr;
    if (!map) { ok = false; break; }
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = static_cast<int>(f.disposal);
    gcb.DelayTime = f.delay;
    gcb.TransparentColor = transparent;
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    ok = EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
         EGifPutImageDesc(g, f.left, f.top, img->Width(), img->Height(), false, map) == GIF_OK;
    for (int y = 0; ok && y < img->Height(); ++y)
      ok = EGifPutLine(g, indexes.data() + static_cast<size_t>(y) * img->Width(), img->Width()) == GIF_OK;
    GifFreeMapObject(map);
  }
  EGifCloseFile(g, &error);
  if (!ok) throw LoadError("Cannot write GIF picture");
  return out;
}

}  // namespace platform
