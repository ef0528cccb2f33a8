#pragma once
// The reply link a card opens when it closes: "mailto:" with subject and body, the body's date
// and time placeholders filled and its line breaks written as the mail link's "%0a%0d".
#include <ctime>
#include <string>

namespace ordinary {

std::string MakeMailLink(const std::string& email, const std::string& subject, const std::string& body,
                         const std::tm& now);

}  // namespace ordinary
