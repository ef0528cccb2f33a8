#include "maker/shell/template_gallery.h"

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace cardshell {

std::string_view TemplateExtension(GalleryPage page) {
  switch (page) {
    case GalleryPage::Ordinary: return ".lmcard";
    case GalleryPage::Interactive: return ".lmcard2";
    case GalleryPage::Flash: return ".lmflash";
  }
  return {};
}

constexpr std::string_view kTemplateSubfolder = "template\\";

std::string TemplateFolder() { return platform::paths::ProgramFolder() + std::string(kTemplateSubfolder); }

std::string TemplateCaption(std::string_view fileName, GalleryPage page) {
  std::string_view ext = TemplateExtension(page);
  if (fileName.size() >= ext.size() &&
      platform::EqualsNoCase(fileName.substr(fileName.size() - ext.size()), ext)) {
    return std::string(fileName.substr(0, fileName.size() - ext.size()));
  }
  return std::string(fileName);
}

std::vector<std::string> GalleryEntries(std::string_view folder, GalleryPage page) {
  std::vector<std::string> entries{std::string(kBlankTemplate)};
  for (const std::string& name : platform::files::ListFiles(folder, {std::string(TemplateExtension(page))})) {
    entries.push_back(TemplateCaption(name, page));
  }
  return entries;
}

std::vector<std::string> GalleryEntries(GalleryPage page) {
  std::vector<std::string> entries{std::string(kBlankTemplate)};
  for (const std::string& name :
       platform::user_folders::ListFiles(kTemplateSubfolder, {std::string(TemplateExtension(page))})) {
    entries.push_back(TemplateCaption(name, page));
  }
  return entries;
}

std::string TemplateFile(std::string_view caption, GalleryPage page) {
  return platform::user_folders::Find(kTemplateSubfolder, std::string(caption) + std::string(TemplateExtension(page)));
}

std::string NewTemplateFile(std::string_view caption, GalleryPage page) {
  return platform::user_folders::SavePath(kTemplateSubfolder) + std::string(caption) +
         std::string(TemplateExtension(page));
}

std::string FlashWizardCommandLine(std::string_view programFolder, std::string_view caption) {
  return std::string(programFolder) + std::string(kFlashWizardProgram) + " \"" + std::string(caption);
}

bool FlashWizardInstalled(std::string_view programFolder) {
  std::string program = std::string(programFolder) + std::string(kFlashWizardProgram);
  return platform::files::FileExists(platform::shell::ResolveProgram(program));
}

bool StartFlashWizard(std::string_view caption) {
  std::string folder = platform::paths::ProgramFolder();
  if (!FlashWizardInstalled(folder)) {
    platform::ShowMessage(std::string(kFlashWizardMissingMessage), platform::MsgIcon::Error);
    return false;
  }
  // The arguments are split from the command line as the wizard's runtime would split them,
  // but the program is passed by itself so that a program folder with blanks still works.
  std::string line = FlashWizardCommandLine(folder, caption);
  std::string program = folder + std::string(kFlashWizardProgram);
  return platform::shell::StartProgram(program, platform::shell::SplitCommandLine(line.substr(program.size())));
}

}  // namespace cardshell
