// Design file save and read against a plain file copy: a design with 160 elements of every kind
// (and a picture show box) is written with lmsavefile and read back with Loadfileset; the floor
// is reading and atomically rewriting the same file's bytes. The time of save + read is printed
// at the end with its ratio to the floor (target: save + read under 300 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"

namespace {

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(int v) { return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF); }

struct Fixture {
  std::string folder;
  std::string path;
  document::CardDocument doc;

  Fixture() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lmcard-bench-XXXXXX").string();
    folder = platform::paths::FromHost(std::string(::mkdtemp(tmpl.data())) + "/");
    platform::paths::SetProgramFolder(folder);
    path = folder + "big.lmcard2";
    auto write = [&](const std::string& name, const std::string& bytes) {
      platform::files::WriteFileAtomic(folder + name, bytes);
      return folder + name;
    };
    std::string bmp = write("p.bmp", "BM" + Le32(54) + Le32(0) + Le32(54) + Le32(40) + Le32(320) + Le32(240) +
                                         Le16(1) + Le16(24) + std::string(24, '\0'));
    std::string gif = write("a.gif", "GIF89a" + Le16(100) + Le16(80) + std::string(4, '\0'));
    std::string wav = write("s.wav", "RIFF");
    std::string swf = write("m.swf", "FWS");
    std::string act = write("act.txt", "x");
    doc.window.bkPic = true;
    doc.window.bkPicName = bmp;
    doc.window.musicName = write("m.mid", "MThd");
    std::string caption;
    for (int i = 0; i < 120; ++i) caption += "滚动字幕的内容\r\n";
    for (int i = 0; i < document::kMaxElements; ++i) {
      document::CreatelmTxt(doc);
      doc.labels.back().control.caption = "第一行\r\n第二行";
      doc.labels.back().rec.Pic = act;
      document::CreateSpeedbutton(doc);
      doc.buttons.back().rec.Cmd = "结束贺卡运行";
      document::CreateLmImage(doc, bmp);
      doc.images.back().rec.Hint = "图片提示";
      document::CreateLmGif(doc, gif);
      document::CreateWav(doc, wav);
      document::CreatelmFlash(doc, swf);
      document::createlmscl(doc);
      doc.scls.back().rec.Text = caption;
    }
    document::CreatePics(doc);
    for (int i = 0; i < 20; ++i) doc.picsDat.pictures.push_back(bmp);
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

double copySeconds = 0, designSeconds = 0, designCpuSeconds = 0;
int copyRounds = 0, designRounds = 0;

void BM_PlainRewrite(benchmark::State& state) {
  Fixture& f = Shared();
  if (!platform::files::FileExists(f.path)) document::lmsavefile(f.doc, f.path);
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    auto bytes = platform::files::ReadFile(f.path);
    if (!bytes || !platform::files::WriteFileAtomic(f.folder + "copy.lmcard2", *bytes)) state.SkipWithError("copy failed");
    copySeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ++copyRounds;
  }
}

void BM_SaveAndRead(benchmark::State& state) {
  Fixture& f = Shared();
  platform::ScriptedDialogs dialogs;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    std::clock_t c0 = std::clock();
    if (!document::lmsavefile(f.doc, f.path)) state.SkipWithError("save failed");
    document::CardDocument back;
    document::Loadfileset(back, f.path);
    designSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    designCpuSeconds += static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    ++designRounds;
    if (back.Count(document::ElementKind::Scl) != document::kMaxElements) state.SkipWithError("read back short");
  }
}

// Alternating rounds, so that both see the same machine load.
BENCHMARK(BM_PlainRewrite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveAndRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PlainRewrite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveAndRead)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (copyRounds > 0 && designRounds > 0) {
    double copy = copySeconds / copyRounds * 1000, design = designSeconds / designRounds * 1000;
    double cpu = designCpuSeconds / designRounds * 1000;
    std::printf("plain rewrite %.1f ms, design save + read %.1f ms (%.1f ms of processor time; target < 300 ms), "
                "ratio %.1f\n", copy, design, cpu, design / copy);
  }
  return 0;
}
