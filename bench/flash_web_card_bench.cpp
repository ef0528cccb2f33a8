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

#include "flashwizard/flash_project.h"
#include "flashwizard/template_loading.h"
#include "flashwizard/title_image.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/flash_web_card.h"
#include "support/temp_dir.h"
#include "web_page_timing.h"

using namespace testing_support;

int main(int argc, char** argv) {
  platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
  const std::string templ = argc > 1 ? platform::paths::FromHost(argv[1])
                                     : std::string(CARD_SOURCE_DIR) + "/data/template/中秋月圆.lmflash";
  std::unique_ptr<flashwizard::FlashProject> project = flashwizard::LoadFlashTemplate(templ);
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

  const std::optional<WebPageTiming> timing = TimeWebCardPage(dir.HostPath() + "alone/card.html", dir.HostPath());
  if (!timing) return 1;
  const double limit = 1.4 * static_cast<double>(media) + 400.0 * 1024;
  std::printf("card: %s\n", platform::GbkToUtf8(platform::paths::ExtractFileName(templ)).c_str());
  std::printf("media %zu bytes in %zu files, page %zu bytes\n", media, files.size(), page);
  std::printf("size   %.3f  (page / (1.4 x media + 400 KB))\n", static_cast<double>(page) / limit);
  PrintStartAndPlay(*timing);
  return 0;
}
