// Flash card building: a 12-scene movie at 800x600 with 40 objects (photos and GIF
// animations) built through Flash.dll, with and without the JPEG option. Reported: the build
// time (target: under 3 s), its ratio to a floor measured in the same run (decoding every
// input picture once), and how much smaller the JPEG movie is (target: at least 3x).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "flashwizard/flash_builder.h"
#include "flashwizard/flash_project.h"
#include "platform/files.h"
#include "platform/jpeg_codec.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/scripted_dialogs.h"

namespace {

namespace fs = std::filesystem;

struct Fixture {
  std::string folder;
  std::unique_ptr<flashwizard::FlashProject> project = std::make_unique<flashwizard::FlashProject>();
  std::vector<std::string> pictures;

  Fixture() {
    std::string tmpl = (fs::temp_directory_path() / "flash-bench-XXXXXX").string();
    folder = platform::paths::FromHost(std::string(::mkdtemp(tmpl.data())) + "/");
    platform::paths::SetProgramFolder(folder);
    fs::copy_file(std::string(CARD_PROGRAM_DIR) + "/Flash.dll", platform::paths::ToHost(folder) + "Flash.dll");
    std::mt19937 rng(3);
    // Photo-like pictures: smooth gradients with grain.
    auto photo = [&](const std::string& name, int w, int h) {
      auto b = platform::Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
      int phase = rng() % 255;
      for (int y = 0; y < h; ++y) {
        uint8_t* p = b->Row(y);
        for (int x = 0; x < w; ++x) {
          int n = rng() % 20;
          p[3 * x] = static_cast<uint8_t>((x * 200 / w + phase + n) & 0xFF);
          p[3 * x + 1] = static_cast<uint8_t>((y * 200 / h + n) & 0xFF);
          p[3 * x + 2] = static_cast<uint8_t>(((x + y) * 150 / (w + h) + 2 * phase + n) & 0xFF);
        }
      }
      auto jpeg = platform::EncodeJpeg(*b, 90);
      platform::files::WriteFileAtomic(folder + name, std::string(jpeg.begin(), jpeg.end()));
      pictures.push_back(folder + name);
      return folder + name;
    };
    flashwizard::FlashProject& p = *project;
    p.Settings.Width = 800;
    p.Settings.Height = 600;
    p.Settings.UseBackPic = false;
    p.SceneCount = 12;
    for (int s = 0; s < 12; ++s) {
      flashwizard::TpvFlashScene& c = p.Scenes[s];
      c.Name = "scene";
      c.UseBackPic = true;
      c.BackPic = photo("scene" + std::to_string(s) + ".jpg", 800, 600);
      c.ShowEff = 1 + s;
      c.HideEff = 35 - s;
      c.ShowTime = 5000;
    }
    // Literals are GBK, as system paths are.
  const std::string gifs[] = {std::string(CARD_SOURCE_DIR) + "/data/贺卡图片/flash/灯笼.gif",
                                std::string(CARD_SOURCE_DIR) + "/data/贺卡图片/flash/烟花.gif"};
    for (int i = 0; i < 40; ++i) {
      std::string file = i % 2 ? gifs[i % 4 / 2] : photo("obj" + std::to_string(i) + ".jpg", 240, 180);
      if (i % 2) pictures.push_back(file);
      int k = p.AddPicture(file, i % 12);
      p.Objects[k].Left = (i * 37) % 600;
      p.Objects[k].Top = (i * 53) % 400;
      p.Objects[k].AlphaValue = i % 3 ? 100 : 70;
      p.Objects[k].LayerMode = i % 5 == 0;
    }
  }
  ~Fixture() { fs::remove_all(platform::paths::ToHost(folder)); }
};

Fixture& TheFixture() {
  static Fixture f;
  return f;
}

double g_buildSeconds[2] = {0, 0};
uintmax_t g_size[2] = {0, 0};
double g_floorSeconds = 0;

void BM_DecodeInputs(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    for (const std::string& pic : f.pictures) benchmark::DoNotOptimize(platform::LoadPicture(pic));
    g_floorSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
}

void BM_BuildFlash(benchmark::State& state) {
  Fixture& f = TheFixture();
  const int jpeg = static_cast<int>(state.range(0));
  f.project->Settings.UseJpeg = jpeg;
  platform::ScriptedDialogs quiet;
  std::string out = f.folder + (jpeg ? "jpeg.swf" : "lossless.swf");
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    if (!flashwizard::MakeFlash(*f.project, out)) state.SkipWithError("build failed");
    g_buildSeconds[jpeg] = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  g_size[jpeg] = platform::files::FileSize(out).value_or(0);
  state.counters["bytes"] = static_cast<double>(g_size[jpeg]);
}

BENCHMARK(BM_DecodeInputs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildFlash)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_buildSeconds[1] > 0 && g_floorSeconds > 0) {
    std::printf("\n12 scenes, 40 objects, 800x600, JPEG: %.2f s (target < 3 s), %.1f x the input decoding floor (%.0f ms)\n",
                g_buildSeconds[1], g_buildSeconds[1] / g_floorSeconds, g_floorSeconds * 1000);
  }
  if (g_size[1] > 0 && g_size[0] > 0) {
    std::printf("movie size: %.0f KB with JPEG, %.0f KB without: %.1f x smaller (target >= 3 x)\n",
                g_size[1] / 1024.0, g_size[0] / 1024.0, static_cast<double>(g_size[0]) / g_size[1]);
  }
  return 0;
}
