#include "player/win32_host/flash_page.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace win32_host {

std::string FlashPageHtml(const std::string& movieFileName) {
  std::string name = platform::ReplaceText(movieFileName, "&", "&amp;");
  name = platform::ReplaceText(name, "\"", "&quot;");
  name = platform::ReplaceText(name, "<", "&lt;");
  return "<!DOCTYPE html>\r\n<html><head><meta charset=\"gbk\"><title>Flash电影</title></head>\r\n"
         "<body style=\"margin:0;background:#000\">\r\n"
         "<embed src=\"" + name + "\" type=\"application/x-shockwave-flash\" width=\"100%\" height=\"100%\">\r\n"
         "</body></html>\r\n";
}

bool OpenFlashPage(const std::string& moviePath) {
  if (moviePath.empty() || !platform::files::FileExists(moviePath)) return false;
  const std::string page = moviePath + ".html";
  if (!platform::files::WriteFileAtomic(page, FlashPageHtml(platform::paths::ExtractFileName(moviePath)))) return false;
  return platform::shell::Open(page);
}

}  // namespace win32_host
