#include "maker/ordinary/ui/web_card_build.h"

#include "maker/packaging/build_report.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/web/ordinary_web_card.h"
#include "webmedia/page_converter.h"

namespace ordinary_ui {

using packaging::OrdinaryBuildResult;
using platform::MsgIcon;

bool IsWebCardOutput(const std::string& outputPath) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(platform::Trim(outputPath)));
  return ext == ".html" || ext == ".htm";
}

OrdinaryBuildResult BuildOrdinaryWebCard(const ordinary::OrdinarySettings& settings, const std::string& outputPathIn) {
  const std::string outputPath = platform::Trim(outputPathIn);
  if (outputPath.empty()) {
    platform::ShowMessage("请输入贺卡输出位置！", MsgIcon::Warning);
    return OrdinaryBuildResult::NoOutputPath;
  }
  if (platform::files::Exists(outputPath) &&
      platform::ShowMessage("文件 " + outputPath + " 已存在，是否替换原文件？", MsgIcon::Question,
                            platform::MsgButtons::YesNo) != platform::MsgResult::Yes)
    return OrdinaryBuildResult::NotReplaced;
  std::vector<std::string> failures, leftOut;
  try {
    leftOut = web::WriteOrdinaryWebCard(settings, outputPath, webmedia::PageMediaConverter(&failures));
  } catch (const platform::Error& e) {
    platform::ShowMessage(std::string(e.what()) + "\r\n" + packaging::BuildFailureMessage(outputPath), MsgIcon::Error);
    return OrdinaryBuildResult::Failed;
  }
  if (!leftOut.empty()) {
    std::string text = "以下文件无法在网页中播放，网页贺卡中没有它们：";
    for (const std::string& f : leftOut) text += "\r\n" + f;
    platform::ShowMessage(text, MsgIcon::Warning);
  }
  platform::ShowMessage("贺卡文件 " + outputPath + " 已生成，您现在可以将它发送给您的朋友了。", MsgIcon::Information);
  return OrdinaryBuildResult::Built;
}

}  // namespace ordinary_ui
