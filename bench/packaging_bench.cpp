// Card building against a plain file copy of the same bytes: a design with 50 MB of media
// (card-sized pictures and songs) is built into an EXE card, and the same media files are copied
// one by one. The ratio of the two throughputs is printed at the end (target: at least 0.70).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "maker/document/card_document.h"
#include "maker/packaging/package_builder.h"
#include "maker/packaging/side_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"

namespace {

struct Fixture {
  std::string folder;  // program folder and media, as a system path
  std::vector<std::string> media;
  uint64_t totalBytes = 0;
  document::CardDocument doc;

  Fixture() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lmcard-bench-XXXXXX").string();
    folder = platform::paths::FromHost(std::string(::mkdtemp(tmpl.data())) + "/");
    platform::paths::SetProgramFolder(folder);
    std::mt19937 rng(7);
    auto write = [&](const std::string& name, size_t size) {
      std::string bytes(size, '\0');
      for (char& c : bytes) c = static_cast<char>(rng());
      platform::files::WriteFileAtomic(folder + name, bytes);
      return folder + name;
    };
    write("exe2.exe", 240000);
    platform::files::WriteFileAtomic(folder + "default.txt", packaging::HeaderFileBytes());
    // 24 pictures of 1.25 MB, 4 songs of 5 MB: 50 MB.
    doc.window.showTitbar = true;
    doc.window.bkPic = true;
    doc.window.bkPicName = write("back.jpg", 1250000);
    media.push_back(doc.window.bkPicName);
    doc.picsBox = document::PicsBoxControl{};
    for (int i = 1; i < 24; ++i) {
      std::string pic = write("pic" + std::to_string(i) + ".jpg", 1250000);
      doc.picsDat.pictures.push_back(pic);
      media.push_back(pic);
    }
    doc.window.musicName = write("song0.mp3", 5000000);
    media.push_back(doc.window.musicName);
    for (int i = 1; i < 4; ++i) {
      document::WavElement w;
      w.control.tag = i;
      w.rec.Filename = write("song" + std::to_string(i) + ".mp3", 5000000);
      doc.wavs.push_back(w);
      media.push_back(w.rec.Filename);
    }
    for (const std::string& m : media) totalBytes += *platform::files::FileSize(m);
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(platform::paths::ToHost(folder), ec);
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

double copySeconds = 0, buildSeconds = 0;
uint64_t copyBytes = 0, buildBytes = 0;

void BM_PlainCopy(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    for (size_t i = 0; i < f.media.size(); ++i) {
      platform::files::CopyFile(f.media[i], f.folder + "copy" + std::to_string(i), false);
    }
    copySeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    copyBytes += f.totalBytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.totalBytes));
}

void BM_BuildCard(benchmark::State& state) {
  Fixture& f = Shared();
  platform::ScriptedDialogs dialogs;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    if (!packaging::MakeExe(f.doc, f.folder + "card.exe")) state.SkipWithError("the build failed");
    buildSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    buildBytes += f.totalBytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.totalBytes));
}

// Alternating rounds, so that both see the same machine load.
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildCard)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildCard)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (copySeconds > 0 && buildSeconds > 0) {
    double copy = copyBytes / copySeconds / 1e6, build = buildBytes / buildSeconds / 1e6;
    std::printf("plain copy %.0f MB/s, card build %.0f MB/s, ratio %.2f (target >= 0.70)\n", copy, build,
                build / copy);
  }
  return 0;
}
