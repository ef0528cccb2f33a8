#include "maker/shell/ui/build_command.h"

#include "maker/ordinary/ui/format_chooser.h"
#include "maker/packaging/build_dialogs.h"
#include "maker/packaging/package_builder.h"
#include "platform/dialogs.h"

namespace cardshell {

bool RunBuildCommand(QWidget* parent, DesignerHost& designer) {
  if (!designer.CardWindowShown()) return false;
  std::optional<ordinary_ui::CardFormat> format = ordinary_ui::ChooseCardFormat(parent);
  if (!format) return false;
  document::CardDocument& doc = designer.Document();
  platform::FileDialogOptions options = packaging::CardSaveDialog(doc, *format == ordinary_ui::CardFormat::Exe);
  std::optional<std::string> output = platform::CurrentDialogs().SaveFile(options);
  if (!output || output->empty()) return false;

  packaging::MakeExeHooks hooks;
  hooks.status = [&designer](const std::string& text) {
    if (designer.statusText) designer.statusText(text);
  };
  hooks.onWindowCheckFailed = [&designer](const std::string& caption) { designer.FlashCheckCaption(caption); };
  bool titleBarBefore = doc.window.showTitbar;
  designer.StopCaptionTimers();
  bool built = packaging::MakeExe(doc, *output, hooks);
  // The captions go on scrolling whether or not the build succeeded.
  designer.StartCaptionTimers();
  // The build may have switched the title bar on: the panels show it.
  if (doc.window.showTitbar != titleBarBefore) designer.DesignReplaced();
  if (built) platform::ShowMessage(packaging::BuiltMessage(*output), platform::MsgIcon::Information);
  return built;
}

}  // namespace cardshell
