#include "maker/ordinary/mail_link.h"

#include "maker/ordinary/ordinary_settings.h"
#include "platform/text.h"

namespace ordinary {

std::string MakeMailLink(const std::string& email, const std::string& subject, const std::string& body,
                         const std::tm& now) {
  std::string filled = FillMailPlaceholders(body, now);
  filled = platform::ReplaceText(filled, "\r\n", std::string(kMailLineBreak));
  return "mailto:" + email + "?subject=" + subject + "&body=" + filled;
}

}  // namespace ordinary
