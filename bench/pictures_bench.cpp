// Picture decoding and stretching, each reported as a ratio ("copies") to a plain 24-bit copy
// of the same number of output pixels measured in the same run: an 800x600 JPEG decode, a
// 100-frame GIF decode, and stretches into a 1920x1080 frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/gif_codec.h"
#include "platform/jpeg_codec.h"
#include "platform/raster.h"

namespace {

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rect;

// A picture with smooth areas and detail, as photographs on cards have.
std::unique_ptr<Bitmap> Photo(int w, int h) {
  auto b = Bitmap::Create(w, h, PixelFormat::Bgr24);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint8_t* p = b->Row(y);
    for (int x = 0; x < w; ++x, p += 3) {
      seed = seed * 1103515245 + 12345;
      const int noise = static_cast<int>((seed >> 16) & 15);
      p[0] = static_cast<uint8_t>(x * 255 / w + noise);
      p[1] = static_cast<uint8_t>(y * 255 / h + noise);
      p[2] = static_cast<uint8_t>(((x / 40 + y / 40) & 1) * 120 + noise);
    }
  }
  return b;
}

double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// The floor: copies of a w x h 24-bit frame, `frames` of them, median of five rounds.
double CopySeconds(int w, int h, int frames) {
  auto a = Photo(w, h), b = Bitmap::Create(w, h, PixelFormat::Bgr24);
  std::vector<double> rounds;
  for (int round = 0; round < 5; ++round) {
    const double t0 = ThreadSeconds();
    for (int i = 0; i < frames; ++i) {
      platform::CopyBitmap(*b, 0, 0, *a);
      benchmark::DoNotOptimize(b->Data());
    }
    rounds.push_back(ThreadSeconds() - t0);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[2];
}

// Runs the loop, timing each iteration on this thread, and reports the ratio to the floor.
template <typename Fn>
void RunAgainstFloor(benchmark::State& state, double floor, Fn&& fn) {
  double total = 0;
  long n = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    fn();
    total += ThreadSeconds() - t0;
    ++n;
  }
  state.counters["copies"] = n ? total / n / floor : 0;
  state.counters["floor_us"] = floor * 1e6;
}

void BM_JpegDecode800x600(benchmark::State& state) {
  const std::vector<uint8_t> jpeg = platform::EncodeJpeg(*Photo(800, 600), 85, state.range(0) != 0);
  const double floor = CopySeconds(800, 600, 1);
  RunAgainstFloor(state, floor, [&] {
    auto b = platform::DecodeJpeg(jpeg);
    benchmark::DoNotOptimize(b->Data());
  });
}
BENCHMARK(BM_JpegDecode800x600)->Arg(0)->Arg(1)->ArgName("progressive")->Unit(benchmark::kMillisecond);

void BM_GifDecode100Frames(benchmark::State& state) {
  platform::GifAnimation a;
  a.width = 320;
  a.height = 240;
  a.loopCount = 0;
  auto photo = Photo(320, 240);
  for (int k = 0; k < 100; ++k) {
    platform::GifFrame f;
    f.width = 320;
    f.height = 240;
    f.delay = 10;
    f.image = Bitmap::Create(320, 240, PixelFormat::Bgra32);
    platform::CopyBitmap(*f.image, (k % 20) - 10, 0, *photo);
    a.frames.push_back(std::move(f));
  }
  const std::vector<uint8_t> gif = platform::EncodeGif(a);
  const double floor = CopySeconds(320, 240, 100);
  RunAgainstFloor(state, floor, [&] {
    platform::GifAnimation d = platform::DecodeGif(gif);
    benchmark::DoNotOptimize(d.frames.back().image->Data());
  });
}
BENCHMARK(BM_GifDecode100Frames)->Unit(benchmark::kMillisecond);

// 0: an 800x600 picture stretched up into the frame; 1: a frame mirrored onto itself with
// a negative width; 2: a frame shrunk to half size.
void BM_Stretch1920x1080(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  auto src = kind == 0 ? Photo(800, 600) : Photo(1920, 1080);
  auto dst = Bitmap::Create(1920, 1080, PixelFormat::Bgr24);
  const Rect from = Rect::FromSize(0, 0, src->Width(), src->Height());
  const Rect to = kind == 1 ? Rect{1920, 0, 0, 1080} : kind == 2 ? Rect{0, 0, 960, 540} : Rect{0, 0, 1920, 1080};
  const double floor = CopySeconds(kind == 2 ? 960 : 1920, kind == 2 ? 540 : 1080, 1);
  RunAgainstFloor(state, floor, [&] {
    platform::StretchRect(*dst, to, *src, from);
    benchmark::DoNotOptimize(dst->Data());
  });
}
BENCHMARK(BM_Stretch1920x1080)->Arg(0)->Arg(1)->Arg(2)->ArgName("kind")->Unit(benchmark::kMillisecond);

void BM_FrameCopy1920x1080(benchmark::State& state) {
  auto a = Photo(1920, 1080), b = Bitmap::Create(1920, 1080, PixelFormat::Bgr24);
  const double floor = CopySeconds(1920, 1080, 1);
  RunAgainstFloor(state, floor, [&] {
    platform::CopyBitmap(*b, 0, 0, *a);
    benchmark::DoNotOptimize(b->Data());
  });
}
BENCHMARK(BM_FrameCopy1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
