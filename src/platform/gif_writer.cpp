#include "platform/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace platform {

namespace {

uint32_t PackRgb(const uint8_t* bgr) { return (uint32_t(bgr[2]) << 16) | (uint32_t(bgr[1]) << 8) | bgr[0]; }
int Cell(uint32_t rgb) { return int(((rgb >> 19) & 31) << 10 | ((rgb >> 11) & 31) << 5 | ((rgb >> 3) & 31)); }

// One cell of the 32 x 32 x 32 histogram: its pixel count and colour sums.
struct CellStat {
  uint32_t count = 0;
  uint64_t r = 0, g = 0, b = 0;
};

struct CutBox {
  std::vector<int> cells;
  uint64_t count = 0;
  int longest = 0, range = 0;  // channel (0 r, 1 g, 2 b) with the widest spread and its width
};

int Channel(int cell, int ch) { return (cell >> (10 - 5 * ch)) & 31; }

void Measure(CutBox& box) {
  int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
  for (int c : box.cells)
    for (int ch = 0; ch < 3; ++ch) {
      lo[ch] = std::min(lo[ch], Channel(c, ch));
      hi[ch] = std::max(hi[ch], Channel(c, ch));
    }
  box.range = -1;
  for (int ch = 0; ch < 3; ++ch)
    if (hi[ch] - lo[ch] > box.range) {
      box.range = hi[ch] - lo[ch];
      box.longest = ch;
    }
}

}  // namespace

QuantizedImage QuantizeMedianCut(const Bitmap& input, int maxColors) {
  maxColors = std::clamp(maxColors, 2, 256);
  QuantizedImage q;
  q.width = input.Width();
  q.height = input.Height();
  q.indices.resize(size_t(q.width) * q.height);
  std::unique_ptr<Bitmap> converted;
  const Bitmap* img = &input;
  if (input.Format() != PixelFormat::Bgr24) {
    converted = input.ConvertTo(PixelFormat::Bgr24);
    img = converted.get();
  }
  if (q.indices.empty()) {
    q.palette.push_back({});
    return q;
  }
  // Few colours: keep them exactly.
  std::vector<uint32_t> colours;
  colours.reserve(q.indices.size());
  for (int y = 0; y < q.height; ++y) {
    const uint8_t* p = img->Row(y);
    for (int x = 0; x < q.width; ++x) colours.push_back(PackRgb(p + 3 * x));
  }
  std::vector<uint32_t> distinct = colours;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (int(distinct.size()) <= maxColors) {
    for (uint32_t c : distinct) q.palette.push_back({uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    for (size_t i = 0; i < colours.size(); ++i)
      q.indices[i] = uint8_t(std::lower_bound(distinct.begin(), distinct.end(), colours[i]) - distinct.begin());
    return q;
  }
  // Median cut over the histogram cells: split the most populous box along its widest
  // channel at the pixel median until there are enough boxes or none can be split.
  std::vector<CellStat> hist(32768);
  for (uint32_t c : colours) {
    CellStat& s = hist[size_t(Cell(c))];
    ++s.count;
    s.r += (c >> 16) & 255;
    s.g += (c >> 8) & 255;
    s.b += c & 255;
  }
  std::vector<CutBox> boxes(1);
  for (int i = 0; i < 32768; ++i)
    if (hist[size_t(i)].count) {
      boxes[0].cells.push_back(i);
      boxes[0].count += hist[size_t(i)].count;
    }
  Measure(boxes[0]);
  while (int(boxes.size()) < maxColors) {
    int pick = -1;
    for (int i = 0; i < int(boxes.size()); ++i)
      if (boxes[size_t(i)].cells.size() > 1 && (pick < 0 || boxes[size_t(i)].count * (boxes[size_t(i)].range + 1) >
                                                              boxes[size_t(pick)].count * (boxes[size_t(pick)].range + 1)))
        pick = i;
    if (pick < 0) break;
    CutBox& box = boxes[size_t(pick)];
    const int ch = box.longest;
    std::sort(box.cells.begin(), box.cells.end(), [ch](int a, int b) { return Channel(a, ch) < Channel(b, ch); });
    uint64_t half = 0;
    size_t cut = 0;
    while (cut + 1 < box.cells.size() && (half += hist[size_t(box.cells[cut])].count) * 2 < box.count) ++cut;
    CutBox upper;
    upper.cells.assign(box.cells.begin() + long(cut) + 1, box.cells.end());
    box.cells.resize(cut + 1);
    box.count = 0;
    for (int c : box.cells) box.count += hist[size_t(c)].count;
    for (int c : upper.cells) upper.count += hist[size_t(c)].count;
    Measure(box);
    Measure(upper);
    boxes.push_back(std::move(upper));
  }
  for (const CutBox& box : boxes) {
    uint64_t r = 0, g = 0, b = 0;
    for (int c : box.cells) {
      r += hist[size_t(c)].r;
      g += hist[size_t(c)].g;
      b += hist[size_t(c)].b;
    }
    const uint64_t n = std::max<uint64_t>(box.count, 1);
    q.palette.push_back({uint8_t((r + n / 2) / n), uint8_t((g + n / 2) / n), uint8_t((b + n / 2) / n)});
  }
  // Every used cell maps to the palette colour nearest to its mean colour.
  std::vector<int16_t> map(32768, -1);
  for (int i = 0; i < 32768; ++i) {
    const CellStat& s = hist[size_t(i)];
    if (!s.count) continue;
    const int r = int(s.r / s.count), g = int(s.g / s.count), b = int(s.b / s.count);
    int best = 0, bestD = 1 << 30;
    for (int k = 0; k < int(q.palette.size()); ++k) {
      const PaletteEntry& e = q.palette[size_t(k)];
      const int d = (e.r - r) * (e.r - r) + (e.g - g) * (e.g - g) + (e.b - b) * (e.b - b);
      if (d < bestD) {
        bestD = d;
        best = k;
      }
    }
    map[size_t(i)] = int16_t(best);
  }
  for (size_t i = 0; i < colours.size(); ++i) q.indices[i] = uint8_t(map[size_t(Cell(colours[i]))]);
  return q;
}

struct GifWriter::State {
  std::vector<uint8_t> out;
  GifFileType* gif = nullptr;
  bool failed = false;
};

namespace {
int WriteBytes(GifFileType* gif, const GifByteType* data, int len) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + len);
  return len;
}
}  // namespace

GifWriter::GifWriter(int width, int height, int loopCount)
    : state_(new State), width_(std::clamp(width, 1, 65535)), height_(std::clamp(height, 1, 65535)) {
  int err = 0;
  state_->gif = EGifOpen(&state_->out, WriteBytes, &err);
  if (!state_->gif) {
    state_->failed = true;
    return;
  }
  EGifSetGifVersion(state_->gif, true);
  if (EGifPutScreenDesc(state_->gif, width_, height_, 8, 0, nullptr) == GIF_ERROR) state_->failed = true;
  // The application extension that makes viewers repeat the animation.
  const uint8_t loop[3] = {1, uint8_t(loopCount & 0xFF), uint8_t((loopCount >> 8) & 0xFF)};
  if (!state_->failed &&
      (EGifPutExtensionLeader(state_->gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
       EGifPutExtensionBlock(state_->gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
       EGifPutExtensionBlock(state_->gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(state_->gif) == GIF_ERROR))
    state_->failed = true;
}

GifWriter::~GifWriter() {
  if (state_->gif) EGifCloseFile(state_->gif, nullptr);
  delete state_;
}

void GifWriter::AddFrame(const Bitmap& frame, int delayCentiseconds) {
  if (!state_->gif || state_->failed) return;
  // Bring the frame to the screen size first.
  std::unique_ptr<Bitmap> fitted;
  const Bitmap* src = &frame;
  if (frame.Width() != width_ || frame.Height() != height_) {
    fitted = Bitmap::Create(width_, height_, PixelFormat::Bgr24);
    auto f24 = frame.Format() == PixelFormat::Bgr24 ? frame.Clone() : frame.ConvertTo(PixelFormat::Bgr24);
    const int w = std::min(width_, frame.Width()), h = std::min(height_, frame.Height());
    for (int y = 0; y < h; ++y) std::memcpy(fitted->Row(y), f24->Row(y), size_t(w) * 3);
    src = fitted.get();
  }
  const QuantizedImage q = QuantizeMedianCut(*src, 256);
  int mapSize = 2;
  while (mapSize < int(q.palette.size())) mapSize *= 2;
  ColorMapObject* map = GifMakeMapObject(mapSize, nullptr);
  if (!map) {
    state_->failed = true;
    return;
  }
  for (int i = 0; i < mapSize; ++i) {
    const PaletteEntry e = i < int(q.palette.size()) ? q.palette[size_t(i)] : PaletteEntry{};
    map->Colors[i] = {e.r, e.g, e.b};
  }
  const int delay = std::clamp(delayCentiseconds, 0, 65535);
  // Graphic control: keep the frame in place, the delay, no transparent colour.
  const uint8_t gce[4] = {uint8_t(1 << 2), uint8_t(delay & 0xFF), uint8_t(delay >> 8), 0};
  bool ok = EGifPutExtension(state_->gif, GRAPHICS_EXT_FUNC_CODE, 4, gce) != GIF_ERROR &&
            EGifPutImageDesc(state_->gif, 0, 0, width_, height_, false, map) != GIF_ERROR;
  for (int y = 0; ok && y < height_; ++y)
    ok = EGifPutLine(state_->gif, const_cast<GifPixelType*>(&q.indices[size_t(y) * width_]), width_) != GIF_ERROR;
  GifFreeMapObject(map);
  if (!ok) state_->failed = true;
  else ++frames_;
}

std::vector<uint8_t> GifWriter::Finish() {
  if (state_->gif) {
    int err = 0;
    if (EGifCloseFile(state_->gif, &err) == GIF_ERROR) state_->failed = true;
    state_->gif = nullptr;
  }
  if (state_->failed) return {};
  return state_->out;
}

void GifWriter::Save(std::string_view path) {
  const std::vector<uint8_t> bytes = Finish();
  if (bytes.empty() ||
      !files::WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
    throw FileError("Cannot create file \"" + std::string(path) + "\"");
}

}  // namespace platform
