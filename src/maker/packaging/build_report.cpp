#include "maker/packaging/build_report.h"

#include "platform/paths.h"
#include "platform/user_folders.h"

namespace packaging {

std::string BuildFailureMessage(std::string_view path) {
  return "生成贺卡文件：" + std::string(path) + " 出错！\r\n\r\n"
         "请重新生成一次贺卡文件再试试看，如果还是出错，原因可能是安装的防火墙影响了贺卡文件的生成。\r\n\r\n"
         "◇◆◇根据一些用户反应，《瑞星病毒防火墙》会影响贺卡的生成，所以如果您的系统中运行有瑞星，请在生成贺卡时暂时关闭它。\r\n\r\n"
         "截止您所使用的《Lumo贺卡制作》版本发布前，还没有用户反应其它病毒防火墙会影响贺卡的生成。";
}

std::string ProgramFile(std::string_view name) { return platform::paths::ProgramFolder() + std::string(name); }

std::string WorkFile(std::string_view name) { return platform::user_folders::WorkFolder() + std::string(name); }
std::string ExeCardFile(std::string_view name) {
  return platform::paths::ProgramFolder() + std::string(kExeCardFolder) + std::string(name);
}

}  // namespace packaging
