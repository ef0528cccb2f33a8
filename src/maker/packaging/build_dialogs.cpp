#include "maker/packaging/build_dialogs.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace packaging {

platform::FileDialogOptions CardSaveDialog(const document::CardDocument& doc, bool exeCard) {
  platform::FileDialogOptions o;
  o.title = "浏览贺卡文件输出位置";
  o.overwritePrompt = true;
  o.fileName.clear();
  if (exeCard) {
    o.filter = "Lumo贺卡 (*.exe)|*.exe";
    o.defaultExt = "exe";
  } else if (!doc.flashes.empty() || doc.crd3) {
    o.filter = "Lumo贺卡 (*.crd3)|*.crd3";
    o.defaultExt = "crd3";
  } else {
    o.filter = "Lumo贺卡 (*.crd2)|*.crd2";
    o.defaultExt = "crd2";
  }
  return o;
}

platform::FileDialogOptions WebCardSaveDialog() {
  platform::FileDialogOptions o;
  o.title = "浏览贺卡文件输出位置";
  o.overwritePrompt = true;
  o.filter = "网页贺卡 (*.html)|*.html";
  o.defaultExt = "html";
  return o;
}

std::string BuiltMessage(std::string_view path) { return "贺卡文件 " + std::string(path) + " 已生成"; }

bool WarnsAsExecutable(std::string_view path) {
  static const char* kExts[] = {".exe", ".cmd", ".scr", ".com", ".bat", ".vbs"};
  std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  for (const char* e : kExts) {
    if (ext == e) return true;
  }
  return false;
}

}  // namespace packaging
