// Per-step cost of every transition effect at 800x600 and 1920x1080, reported as a ratio to
// one 24-bit frame copy measured in the same run ("copies"), beside the family's target.
// A step cannot cost less than about three copies: the base frame into the work image, the
// other frame's part, the work image to the target. The summary takes the median of three
// repetitions of each effect.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "maker/transitions/frame_ops.h"
#include "maker/transitions/pic_movie.h"

namespace {

using platform::Bitmap;

std::unique_ptr<Bitmap> Picture(int w, int h, int seed) {
  auto b = Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = b->Row(y);
    for (int x = 0; x < w * 3; ++x) p[x] = static_cast<uint8_t>(x * 7 + y * 3 + seed);
  }
  return b;
}

// Processor time of this thread: other work on a busy machine does not count against a step.
double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The floor: one whole-frame copy between two frames of the size, the median of five rounds
// of twenty.
double FrameCopySeconds(const Bitmap& a, Bitmap& b) {
  std::vector<double> rounds;
  for (int round = 0; round < 5; ++round) {
    const double t0 = ThreadSeconds();
    for (int i = 0; i < 20; ++i) {
      transitions::CopyWhole(a, b);
      benchmark::DoNotOptimize(b.Data());
    }
    rounds.push_back((ThreadSeconds() - t0) / 20);
  }
  return Median(rounds);
}

int Target(int effect) {
  if (effect >= 168 && effect <= 183) return 40;  // swings rotate every pixel
  if ((effect >= 21 && effect <= 70) || (effect >= 83 && effect <= 124)) return 4;  // copy-based
  return 8;  // stretches, cross-fades, centre bands, quarters, shapes, region patterns
}

struct Result {
  double copies;
  int target;
};
// (effect, width) -> the result of each repetition; every repetition allocates its frames
// afresh, so the median of three also evens out where the frames landed in memory.
std::map<std::pair<int, int>, std::vector<Result>>& Results() {
  static std::map<std::pair<int, int>, std::vector<Result>> r;
  return r;
}

void BM_FrameCopy(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  auto a = Picture(w, h, 1), b = Picture(w, h, 2);
  for (auto _ : state) {
    transitions::CopyWhole(*a, *b);
    benchmark::DoNotOptimize(b->Data());
  }
  state.counters["copies"] = 1.0;
}

void BM_Effect(benchmark::State& state) {
  const int effect = static_cast<int>(state.range(0));
  const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
  auto oldP = Picture(w, h, 3), newP = Picture(w, h, 4);
  transitions::TlmPicMovieunit engine;
  engine.PrepareFrames(oldP.get(), newP.get(), w, h);
  auto target = Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  transitions::BitmapCanvas canvas(*target);
  engine.DrawStep(1, canvas, effect);  // the work image is allocated once
  // Each pass draws the 100 steps in turn and is compared with a frame copy measured right
  // after it, so both see the same machine; the median ratio of the passes is reported.
  std::vector<double> ratios;
  int step = 0;
  double passStart = ThreadSeconds();
  for (auto _ : state) {
    step = step % transitions::kStepCount + 1;
    engine.DrawStep(step, canvas, effect);
    benchmark::DoNotOptimize(target->Data());
    if (step == transitions::kStepCount) {
      const double stepSeconds = (ThreadSeconds() - passStart) / transitions::kStepCount;
      state.PauseTiming();
      ratios.push_back(stepSeconds / FrameCopySeconds(*engine.OldFrame(), *target));
      state.ResumeTiming();
      passStart = ThreadSeconds();
    }
  }
  const Result r{Median(ratios), Target(effect)};
  Results()[{effect, w}].push_back(r);
  state.counters["copies"] = r.copies;
  state.counters["target"] = r.target;
}

void Register() {
  const std::pair<int, int> sizes[] = {{800, 600}, {1920, 1080}};
  for (auto [w, h] : sizes) benchmark::RegisterBenchmark("FrameCopy", BM_FrameCopy)->Args({w, h})->MinTime(0.05);
  for (int e = 1; e <= transitions::kEffectCount; ++e)
    for (auto [w, h] : sizes)
      benchmark::RegisterBenchmark("Effect", BM_Effect)->Args({e, w, h})->Iterations(700)->Repetitions(3);
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // Summary: the worst effect of each target class per size, and every effect over its target.
  int over = 0;
  std::map<std::pair<int, int>, std::pair<double, int>> worst;  // (target, width) -> (copies, effect)
  for (const auto& [key, runs] : Results()) {
    std::vector<double> copies;
    for (const Result& run : runs) copies.push_back(run.copies);
    const Result r{Median(copies), runs.front().target};
    auto& wst = worst[{r.target, key.second}];
    if (r.copies > wst.first) wst = {r.copies, key.first};
    if (r.copies > r.target) {
      std::printf("over target: effect %d at width %d: %.2f copies (target %d)\n", key.first, key.second, r.copies,
                  r.target);
      ++over;
    }
  }
  for (const auto& [key, v] : worst)
    std::printf("target %2d copies, width %4d: worst effect %3d at %.2f copies\n", key.first, key.second, v.second,
                v.first);
  std::printf("%d effect/size pairs over their target\n", over);
  return 0;
}
