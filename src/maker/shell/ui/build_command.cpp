#include "maker/shell/ui/build_command.h"

#include "maker/ordinary/ui/format_chooser.h"
#include "maker/packaging/build_dialogs.h"
#include "maker/packaging/package_builder.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "player/web/interactive_web_card.h"
#include "webmedia/page_converter.h"

namespace cardshell {

bool RunBuildCommand(QWidget* parent, DesignerHost& designer) {
  if (!designer.CardWindowShown()) return false;
  std::optional<ordinary_ui::CardFormat> format = ordinary_ui::ChooseCardFormat(parent, /*offerWeb=*/true);
  if (!format) return false;
  document::CardDocument& doc = designer.Document();
  const bool web = *format == ordinary_ui::CardFormat::Web;
  platform::FileDialogOptions options =
      web ? packaging::WebCardSaveDialog() : packaging::CardSaveDialog(doc, *format == ordinary_ui::CardFormat::Exe);
  std::optional<std::string> output = platform::CurrentDialogs().SaveFile(options);
  if (!output || output->empty()) return false;

  packaging::MakeExeHooks hooks;
  hooks.status = [&designer](const std::string& text) {
    if (designer.statusText) designer.statusText(text);
  };
  hooks.onWindowCheckFailed = [&designer](const std::string& caption) { designer.FlashCheckCaption(caption); };
  bool titleBarBefore = doc.window.showTitbar;
  designer.StopCaptionTimers();
  bool built = false;
  if (web) {
    try {
      std::vector<std::string> failures;
      built = web::BuildInteractiveWebCard(doc, *output, hooks, webmedia::PageMediaConverter(&failures));
      // Music or a sound the browser cannot play and that could not be converted is left out.
      if (!failures.empty()) {
        std::string text = "以下文件无法在网页中播放，网页贺卡中没有它们：";
        for (const std::string& f : failures) text += "\r\n" + f;
        platform::ShowMessage(text, platform::MsgIcon::Warning);
      }
    } catch (const platform::Error& e) {
      platform::ShowMessage(e.what(), platform::MsgIcon::Error);
    }
  } else {
    built = packaging::MakeExe(doc, *output, hooks);
  }
  // The captions go on scrolling whether or not the build succeeded.
  designer.StartCaptionTimers();
  // The build may have switched the title bar on: the panels show it.
  if (doc.window.showTitbar != titleBarBefore) designer.DesignReplaced();
  if (built) platform::ShowMessage(packaging::BuiltMessage(*output), platform::MsgIcon::Information);
  return built;
}

}  // namespace cardshell
