// Flash card projects' web cards: page size against the project's media, time from opening the
// page on disk to its first drawn frame, and the page's main-thread time while the card plays,
// each as a ratio of its limit (<= 1 passes), measured in one run on a Flash card template.
//
//   size   page bytes / (1.4 x the media files' bytes + 400 KB)
//   start  ms from opening the page to the first frame drawn on its canvas / 500 ms
//   play   ms of script and drawing on the page's main thread per ms played / 10%
//
// The media are the files the project names and uses: background picture, music, scene
// backgrounds and every live object's picture (text decorations included).
//
// usage: flash_web_card_bench [TEMPLATE.lmflash]   (run from the build folder; writes nothing else)
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "audio/pv_player.h"
#include "flashwizard/flash_project.h"
#include "flashwizard/title_image.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/flash_web_card.h"
#include "support/browser_page.h"
#include "support/temp_dir.h"

using namespace testing_support;

int main(int argc, char** argv) {
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  const std::string templ = argc > 1 ? platform::paths::FromHost(argv[1])
                                     : std::string(CARD_SOURCE_DIR) + "/data/template/中秋月圆.lmflash";
  flashwizard::LoadHooks hooks;
  hooks.fontListed = [](const std::string& f) { return platform::fonts::IsInstalled(f); };
  hooks.effectListed = [](const std::string& e) {
    return e == "不添加任何文字特效" || !flashwizard::StyleFileFor(e).empty();
  };
  hooks.musicLength = [](const std::string& f) { return audio::GetMusicLength(f); };
  auto project = std::make_unique<flashwizard::FlashProject>();
  project->Settings = flashwizard::FlashProject::DefaultSettings(hooks);
  project->LoadSet(templ, hooks);
  const flashwizard::FlashSettings& s = project->Settings;

  std::set<std::string> files;
  if (s.UseBackPic) files.insert(s.BackPic);
  if (s.UseMusic) files.insert(s.BackMusic);
  for (int i = 0; i < project->SceneCount; ++i)
    if (project->Scenes[i].UseBackPic) files.insert(project->Scenes[i].BackPic);
  for (int i = 0; i < project->ObjectCount; ++i)
    if (!project->Objects[i].Deleted) files.insert(project->Objects[i].File);
  size_t media = 0;
  for (const std::string& f : files) media += platform::files::FileSize(f).value_or(0);

  TempDir dir;
  std::filesystem::create_directory(dir.HostPath() + "alone");
  flashwizard::BuildHooks build;
  build.exportTitle = [&s] { return flashwizard::RenderTitleImage(s); };
  if (!web::WriteFlashWebCard(*project, dir.File("alone/card.html"), build)) return 1;
  const size_t page = platform::files::ReadFile(dir.File("alone/card.html"))->size();

  PageRun run = BrowserPage::FromFile(dir.HostPath() + "alone/card.html")
                    .RealClock()
                    .ReadyWhen("window.webCard && webCard.ready")
                    .EvalAt(0, "start", "webCard.firstPaint")
                    .EvalAt(0, "busy0", "JSON.stringify([webCard.busyMs, performance.now()])")
                    .EvalAt(5000, "busy1", "JSON.stringify([webCard.busyMs, performance.now()])")
                    .Run(dir.HostPath());
  if (!run.ok) {
    std::fprintf(stderr, "%s\n", run.Describe().c_str());
    return 1;
  }
  const double start = std::stod(run.values["start"]);
  double b0 = 0, t0 = 0, b1 = 0, t1 = 0;
  std::sscanf(run.values["busy0"].c_str(), "\"[%lf,%lf]\"", &b0, &t0);
  std::sscanf(run.values["busy1"].c_str(), "\"[%lf,%lf]\"", &b1, &t1);
  const double limit = 1.4 * static_cast<double>(media) + 400.0 * 1024;
  std::printf("card: %s\n", platform::GbkToUtf8(platform::paths::ExtractFileName(templ)).c_str());
  std::printf("media %zu bytes in %zu files, page %zu bytes\n", media, files.size(), page);
  std::printf("size   %.3f  (page / (1.4 x media + 400 KB))\n", static_cast<double>(page) / limit);
  std::printf("start  %.3f  (%.0f ms to the first drawn frame / 500 ms)\n", start / 500.0, start);
  std::printf("play   %.3f  (%.1f ms busy in %.0f ms played / 10%%)\n", (b1 - b0) / (t1 - t0) / 0.10, b1 - b0, t1 - t0);
  return 0;
}
