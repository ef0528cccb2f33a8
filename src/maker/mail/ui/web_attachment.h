#pragma once
// The web card the mail dialog attaches in place of a card file: the card file's card written
// as one web page into the user's temporary folder, named after the card file.
#include <string>

namespace mail_ui {

// The page's path for a card file: the user's temporary folder, the card file's name with
// ".html" for its extension.
std::string WebAttachmentPath(const std::string& cardFile);

// Writes the web card of the card in cardFile (an interactive or an ordinary card, plain or
// EXE) to WebAttachmentPath(cardFile) and answers that path. Raises a platform::Error whose
// text says what is wrong when the card cannot be read or the page cannot be written.
std::string WriteWebAttachment(const std::string& cardFile);

}  // namespace mail_ui
