// Text effect imaging speed. The title preview is re-rendered on every keystroke: render the
// text layer, rebuild the caches of four effects and compose the 761 x 65 preview. The target
// is 10 ms; "budget" reports the share of it used. The blur is reported against a plain pass
// over the same mask (one read and one write per pixel) measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>

#include "imaging/blur.h"
#include "imaging/layered_image.h"

namespace {

using namespace imaging;

void SetUpTitle(TlmImageVcl& img) {
  auto bg = platform::Bitmap::Create(761, 65, platform::PixelFormat::Bgr24);
  bg->Fill(platform::kClBtnFace);
  img.NewImageFromBitmap(*bg);
  TTextLayerInfo info;
  info.SetText("Lumo贺卡 新年快乐");
  info.SetFontName("宋体");
  info.size = -29;  // 二号
  info.color = platform::Rgb(255, 0, 0);
  info.smoothing = 3;
  img.AddTextLayer(0, 0, info);
  TlmLayer& L = img.Layer(1);
  L.DropShadow.opacity = 75; L.DropShadow.size = 4; L.DropShadow.originX = L.DropShadow.originY = -5;
  L.Stroke.opacity = 100; L.Stroke.size = 3; L.Stroke.color = platform::Rgb(224, 0, 0);
  L.Stroke.originX = L.Stroke.originY = -6;
  L.Bevel.style = kInnerBevel; L.Bevel.size = 3; L.Bevel.highlightOpacity = 80; L.Bevel.shadowOpacity = 70;
  L.Bevel.highlightColor = platform::kClWhite;
  L.Bevel.highlightOriginX = L.Bevel.highlightOriginY = -4;
  L.Bevel.shadowOriginX = L.Bevel.shadowOriginY = -8;
  L.GradientOverlay.opacity = 100; L.GradientOverlay.type = 1; L.GradientOverlay.stopCount = 2;
  L.GradientOverlay.stops[0] = {platform::Rgb(255, 255, 0), {}, 1.0};
  L.GradientOverlay.stops[1] = {platform::Rgb(255, 128, 0), {}, 0.0};
  L.DropShadowOn = L.StrokeOn = L.BevelOn = L.GradientOverlayOn = true;
  img.RebuildAllEffects(1);
  L.Left = 20;
  L.Top = 10;
}

void BM_TitleRerenderWithFourEffects(benchmark::State& state) {
  TlmImageVcl img;
  SetUpTitle(img);
  for (auto _ : state) {
    img.RenderTextLayer(1);
    img.RebuildAllEffects(1);
    img.RedrawImage();
    benchmark::DoNotOptimize(img.ShowBmp()->Data());
  }
  // Per-iteration time over 10 ms: below 1 meets the target.
  state.counters["budget"] = benchmark::Counter(static_cast<double>(state.iterations()) / 100.0,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TitleRerenderWithFourEffects)->Unit(benchmark::kMillisecond);

// The floor of the same run: composing the preview with the caches already built.
void BM_TitleComposeOnly(benchmark::State& state) {
  TlmImageVcl img;
  SetUpTitle(img);
  for (auto _ : state) {
    img.RedrawImage();
    benchmark::DoNotOptimize(img.ShowBmp()->Data());
  }
}
BENCHMARK(BM_TitleComposeOnly)->Unit(benchmark::kMillisecond);

// Blur of a title-sized mask against one plain pass over it; "blur_over_plain" is the ratio.
void BM_BlurAgainstPlainPass(benchmark::State& state) {
  const double sigma = static_cast<double>(state.range(0)) / 2.0;
  auto mask = platform::Bitmap::Create(761 + 24, 65 + 24, platform::PixelFormat::Indexed8);
  for (int y = 0; y < mask->Height(); ++y)
    for (int x = 0; x < mask->Width(); ++x) mask->Row(y)[x] = static_cast<uint8_t>(((x / 7) + (y / 5)) % 2 ? 255 : 0);
  double blurNs = 0, plainNs = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    BlurMask(*mask, sigma);
    auto t1 = std::chrono::steady_clock::now();
    for (int y = 0; y < mask->Height(); ++y) {
      uint8_t* row = mask->Row(y);
      for (int x = 0; x < mask->Width(); ++x) row[x] = static_cast<uint8_t>(255 - row[x]);
    }
    benchmark::ClobberMemory();
    auto t2 = std::chrono::steady_clock::now();
    blurNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
    plainNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
  }
  state.counters["blur_over_plain"] = plainNs > 0 ? blurNs / plainNs : 0;
  state.counters["half_width"] = BlurHalfWidth(sigma);
}
BENCHMARK(BM_BlurAgainstPlainPass)->Arg(1)->Arg(4)->Arg(8)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
