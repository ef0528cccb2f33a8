// cardtool build-flash: builds a Flash card (SWF movie and its HTML page) from a Flash card
// template (".lmflash"), as the wizard's save command does, with the progress on the terminal.
// An output name ending in ".html" gives the web card instead, which plays without Flash.
#include <cstdio>
#include <string>

#include "command.h"
#include "flashwizard/flash_builder.h"
#include "flashwizard/flash_pages.h"
#include "flashwizard/flash_project.h"
#include "flashwizard/template_loading.h"
#include "flashwizard/title_image.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/flash_web_card.h"

namespace {

int Run(const cardtool::Args& args);
const cardtool::Command kCommand{"build-flash", "build-flash TEMPLATE.lmflash OUT.swf|OUT.html [--no-page]",
                                 "builds a Flash card movie and its HTML page, or its web card (.html), from a Flash card template", &Run};
const cardtool::Registrar reg(kCommand);

int Run(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kCommand);
  const std::string templ = platform::paths::FromHost(opt.Positionals()[0]);
  const std::string out = platform::paths::FromHost(opt.Positionals()[1]);
  if (!platform::files::FileExists(templ)) return cardtool::Fail("cannot open " + opt.Positionals()[0]);
  const bool webCard = platform::AsciiLower(platform::paths::ExtractFileExt(out)) == ".html";

  std::unique_ptr<flashwizard::FlashProject> project = flashwizard::LoadFlashTemplate(templ);

  flashwizard::BuildHooks build;
  const flashwizard::FlashSettings& s = project->Settings;
  build.exportTitle = [&s] { return flashwizard::RenderTitleImage(s); };
  build.progress = [](int maximum, int position) {
    std::fprintf(stderr, "\rbuilding: %d / %d", position, maximum);
    std::fflush(stderr);
  };
  bool ok = webCard ? web::WriteFlashWebCard(*project, out, build) : flashwizard::MakeFlash(*project, out, build);
  std::fprintf(stderr, "\n");
  if (!ok) return cardtool::Fail(platform::GbkToUtf8(webCard ? "生成网页贺卡失败！" : "生成flash失败！"));
  const uint64_t size = platform::files::FileSize(out).value_or(0);
  std::printf("%s: Flash %s, %dx%d, %d scenes, %d objects, %s\n", opt.Positionals()[1].c_str(),
              webCard ? "web card" : "card", s.Width, s.Height, project->SceneCount, project->LiveObjectCount(),
              flashwizard::FormatFileSize(size).c_str());
  if (!webCard && !opt.Flag("--no-page")) {
    auto page = flashwizard::WriteMoviePage(flashwizard::PageKind::Save, out, std::to_string(s.Width),
                                            std::to_string(s.Height));
    if (!page) return cardtool::Fail("the HTML page could not be written");
    std::printf("%s\n", platform::paths::ToHost(*page).c_str());
  }
  return 0;
}

}  // namespace
