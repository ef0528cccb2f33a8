#pragma once
// The main window's commands on interactive card design files (".lmcard2"): new, open, close,
// save, save as and save as template, with the current design file and the rule that commands
// needing a card do nothing while the card window is hidden.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"
#include "maker/document/design_changes.h"

namespace cardshell {

inline constexpr std::string_view kDesignFilter = "Lumo互动贺卡设计方案 (*.lmcard2)|*.lmcard2";
inline constexpr std::string_view kOpenDesignTitle = "打开贺卡设计方案";
inline constexpr std::string_view kSaveDesignTitle = "保存设计方案";
inline constexpr std::string_view kSaveBeforeNewQuestion = "是否在新建贺卡前保存当前设计方案？";
inline constexpr std::string_view kCloseQuestion = "确实要关闭文件吗？";
inline constexpr std::string_view kTemplateInputCaption = "保存模板";
inline constexpr std::string_view kTemplateInputPrompt = "请输入模板名称:";
inline constexpr std::string_view kTemplateReplaceQuestion = "同名的模板文件已存在，是否要替换存在的模板文件？";
inline constexpr std::string_view kTemplateSavedMessage = "模板文件已成功保存。";
inline constexpr std::string_view kSaveBeforeExitQuestion = "贺卡设计方案已修改，是否在退出前保存？";
inline constexpr std::string_view kSaveBeforeOpenQuestion = "贺卡设计方案已修改，是否在打开其它设计方案前保存？";
inline constexpr std::string_view kTemplateNameCharsMessage =
    "模板名称不能为空，也不能包含以下字符：\\ / : * ? \" < > |";

// "贺卡设计方案已保存。" and the note that a design is not a card file, lines CR LF.
std::string DesignSavedMessage();

// What the file commands need from the designer in the main window.
class DesignerView {
 public:
  virtual ~DesignerView() = default;
  virtual bool CardWindowShown() const = 0;
  virtual void ShowCardWindow() = 0;
  // The document was cleared, read or rebuilt: the canvas and panels follow it.
  virtual void DesignReplaced() = 0;
  // A read stopped part way: the canvas shows the elements read, without the after-open step
  // (background, mask, show box, selection).
  virtual void DesignPartlyRead() = 0;
};

class FileCommands {
 public:
  FileCommands(document::CardDocument& doc, DesignerView& view) : doc_(doc), view_(view) {}

  // The design last opened or saved ("" at start, "新贺卡" for a new blank card).
  const std::string& CurrentDesignFile() const { return current_; }
  void SetCurrentDesignFile(std::string path) { current_ = std::move(path); }
  bool CardOpen() const { return view_.CardWindowShown(); }

  // New: with a card open, offers to save it first; then shows the gallery.
  void New(const std::function<void()>& showGallery);
  // Open: with unsaved changes, asks whether to save them first (Cancel ends the command); then
  // dialog, clear, show the card window, read, restack. False when cancelled.
  bool Open();
  // Reads a design into the cleared designer (the open command and the gallery's templates).
  // A file that cannot be read raises its error after the designer shows what was read; the
  // current design file is then forgotten.
  void LoadDesign(std::string_view path);
  // The gallery's template entries: as LoadDesign, and the card is a new one ("新贺卡").
  void LoadTemplate(std::string_view path);
  // Close: asks, then leaves an empty card window shown. False when nothing was closed.
  bool Close();
  // Save: into the current design file when it exists, else as Save as. True when written.
  bool Save();
  bool SaveAs();
  // Save as template: a name into the program folder's "template" folder. True when written.
  bool SaveAsTemplate();

  // Whether the open design holds changes that no save has written yet (a design just read,
  // saved or started afresh holds none). A template written from it does not count as a save.
  bool ChangedSinceSave() const { return CardOpen() && saved_.ChangedSince(doc_); }
  // The design in the designer now counts as saved (a new blank card).
  void MarkSaved() { saved_.Mark(doc_); }
  // Before the program ends: with unsaved changes, asks whether to save them (Yes saves as Save
  // does, Cancel keeps the program running). True when the program may end.
  bool MayExit();

 private:
  bool WriteDesign(const std::string& path);

  document::CardDocument& doc_;
  DesignerView& view_;
  std::string current_;
  document::SavedDesignMark saved_;
};

// A template name the user typed is usable as a file name in the template folder.
bool ValidTemplateName(std::string_view name);

}  // namespace cardshell
