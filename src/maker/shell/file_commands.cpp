#include "maker/shell/file_commands.h"

#include <exception>

#include "maker/document/design_file.h"
#include "maker/document/element_lifecycle.h"
#include "maker/document/stacking.h"
#include "maker/shell/new_card.h"
#include "maker/shell/template_gallery.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/unsaved_work.h"

namespace cardshell {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

std::string DesignSavedMessage() {
  return "贺卡设计方案已保存。\r\n\r\n◇◇注意◇◇：\r\n\r\n"
         "使用“保存”命令保存的只是贺卡设计方案，而并非最终要生成的贺卡文件。"
         "要生成一个贺卡文件必须使用“文件”菜单下的“生成贺卡文件”命令。";
}

bool ValidTemplateName(std::string_view name) {
  if (platform::Trim(name).empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (platform::IsLeadByte(c)) {
      ++i;  // a trail byte may look like '\\' or '|' but is part of the character
      continue;
    }
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return name != "." && name != "..";
}

void FileCommands::New(const std::function<void()>& showGallery) {
  if (CardOpen() && platform::ShowMessage(std::string(kSaveBeforeNewQuestion), MsgIcon::Question,
                                          MsgButtons::YesNo) == MsgResult::Yes) {
    Save();
  }
  if (showGallery) showGallery();
}

bool FileCommands::Open() {
  if (!platform::MayCloseWithChanges(ChangedSinceSave(), std::string(kSaveBeforeOpenQuestion),
                                     [this] { return Save(); })) {
    return false;
  }
  platform::FileDialogOptions o;
  o.title = std::string(kOpenDesignTitle);
  o.filter = std::string(kDesignFilter);
  if (!current_.empty() && platform::files::FileExists(current_)) o.fileName = current_;
  std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
  if (chosen.empty()) return false;
  current_ = chosen.front();
  LoadDesign(current_);
  return true;
}

void FileCommands::LoadDesign(std::string_view path) {
  document::DelAll(doc_);
  view_.ShowCardWindow();
  try {
    document::Loadfileset(doc_, path);
  } catch (...) {
    // What was read until the error stays on the canvas, without the after-open step. The
    // file is forgotten, so that saving the half-read design cannot overwrite it unasked.
    current_ = std::string(kNewDesignName);
    view_.DesignPartlyRead();
    saved_.Mark(doc_);  // the file is as it was: nothing of the user's to lose
    throw;
  }
  document::RestackAfterOpen(doc_);
  view_.DesignReplaced();
  saved_.Mark(doc_);
}

void FileCommands::LoadTemplate(std::string_view path) {
  // A card made from a template is a new card: the first save asks for a file.
  current_ = std::string(kNewDesignName);
  LoadDesign(path);
}

bool FileCommands::Close() {
  if (!CardOpen()) return false;
  if (platform::ShowMessage(std::string(kCloseQuestion), MsgIcon::Question, MsgButtons::YesNo) == MsgResult::No) {
    return false;
  }
  document::DelAll(doc_);
  // The closed file is forgotten, so that saving the empty card cannot overwrite it unasked.
  current_.clear();
  view_.DesignReplaced();
  saved_.Mark(doc_);
  return true;
}

bool FileCommands::WriteDesign(const std::string& path) {
  if (!document::lmsavefile(doc_, path)) {
    platform::ShowMessage("Cannot create file \"" + path + "\"", MsgIcon::Error);
    return false;
  }
  return true;
}

bool FileCommands::Save() {
  if (!CardOpen()) return false;
  if (current_.empty() || !platform::files::FileExists(current_)) return SaveAs();
  if (!WriteDesign(current_)) return false;
  saved_.Mark(doc_);
  platform::ShowMessage(DesignSavedMessage(), MsgIcon::Information);
  return true;
}

bool FileCommands::SaveAs() {
  if (!CardOpen()) return false;
  platform::FileDialogOptions o;
  o.title = std::string(kSaveDesignTitle);
  o.filter = std::string(kDesignFilter);
  o.defaultExt = "lmcard2";
  if (!current_.empty() && platform::files::FileExists(current_)) o.fileName = current_;
  std::optional<std::string> chosen = platform::CurrentDialogs().SaveFile(o);
  if (!chosen || chosen->empty()) return false;
  if (!WriteDesign(*chosen)) return false;
  saved_.Mark(doc_);
  platform::ShowMessage(DesignSavedMessage(), MsgIcon::Information);
  current_ = *chosen;
  return true;
}

bool FileCommands::MayExit() {
  return platform::MayCloseWithChanges(ChangedSinceSave(), std::string(kSaveBeforeExitQuestion),
                                       [this] { return Save(); });
}

bool FileCommands::SaveAsTemplate() {
  if (!CardOpen()) return false;
  std::optional<std::string> name = platform::CurrentDialogs().InputBox(
      std::string(kTemplateInputCaption), std::string(kTemplateInputPrompt), "");
  if (!name) return false;
  if (!ValidTemplateName(*name)) {
    platform::ShowMessage(std::string(kTemplateNameCharsMessage), MsgIcon::Warning);
    return false;
  }
  std::string file = NewTemplateFile(*name, GalleryPage::Interactive);
  if (platform::files::FileExists(file) &&
      platform::ShowMessage(std::string(kTemplateReplaceQuestion), MsgIcon::Question, MsgButtons::YesNo) ==
          MsgResult::No) {
    return false;
  }
  if (!WriteDesign(file)) return false;
  platform::ShowMessage(std::string(kTemplateSavedMessage), MsgIcon::Information);
  return true;
}

}  // namespace cardshell
