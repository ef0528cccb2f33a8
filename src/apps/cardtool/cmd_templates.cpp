// cardtool save-template and templates: a design saved as a template the way the card
// maker's "保存为贺卡模板" saves it, and the template gallery's entries as the maker lists them
// (the user's templates beside the shipped ones when the program folder is read-only).
#include <cstdio>
#include <string>

#include "command.h"
#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/shell/file_commands.h"
#include "maker/shell/template_gallery.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

int SaveTemplate(const cardtool::Args& args);
const cardtool::Command kSaveCommand{
    "save-template", "save-template DESIGN.lmcard2 NAME [--yes]",
    "saves a design as the interactive card template NAME (where the card maker saves it)", &SaveTemplate};
const cardtool::Registrar saveReg(kSaveCommand);

int ListTemplates(const cardtool::Args& args);
const cardtool::Command kListCommand{"templates", "templates",
                                     "lists the template gallery's pages: ordinary, interactive, Flash",
                                     &ListTemplates};
const cardtool::Registrar listReg(kListCommand);

int SaveTemplate(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (opt.Positionals().size() != 2) return cardtool::Usage(kSaveCommand);
  const std::string name = platform::Utf8ToGbk(opt.Positionals()[1]);
  if (!cardshell::ValidTemplateName(name)) {
    platform::ShowMessage(std::string(cardshell::kTemplateNameCharsMessage), platform::MsgIcon::Warning);
    return 1;
  }
  document::CardDocument doc;
  document::DelAll(doc);
  document::Loadfileset(doc, platform::paths::FromHost(opt.Positionals()[0]));
  const std::string file = cardshell::NewTemplateFile(name, cardshell::GalleryPage::Interactive);
  if (platform::files::FileExists(file) &&
      platform::ShowMessage(std::string(cardshell::kTemplateReplaceQuestion), platform::MsgIcon::Question,
                            platform::MsgButtons::YesNo) == platform::MsgResult::No) {
    return 1;
  }
  if (!document::lmsavefile(doc, file)) return cardtool::Fail("cannot write " + platform::paths::ToHost(file));
  std::printf("%s\n", platform::paths::ToHost(file).c_str());
  return 0;
}

int ListTemplates(const cardtool::Args& args) {
  cardtool::Options opt(args, {});
  if (!opt.Ok()) return cardtool::Fail(opt.Error(), 2);
  if (!opt.Positionals().empty()) return cardtool::Usage(kListCommand);
  const char* pages[3] = {"ordinary", "interactive", "flash"};
  for (int i = 0; i < 3; ++i) {
    const auto page = static_cast<cardshell::GalleryPage>(i);
    for (const std::string& caption : cardshell::GalleryEntries(page)) {
      if (caption == cardshell::kBlankTemplate) continue;
      std::printf("%s\t%s\t%s\n", pages[i], platform::GbkToUtf8(caption).c_str(),
                  platform::paths::ToHost(cardshell::TemplateFile(caption, page)).c_str());
    }
  }
  return 0;
}

}  // namespace
