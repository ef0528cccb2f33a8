#include "maker/mail/ui/web_attachment.h"

#include <unistd.h>

#include "maker/packaging/card_reader.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/user_folders.h"
#include "player/card_source.h"
#include "player/ordinary_ui/card_unpack.h"
#include "player/web/interactive_web_card.h"
#include "player/web/ordinary_web_card.h"
#include "webmedia/page_converter.h"

namespace mail_ui {

std::string WebAttachmentPath(const std::string& cardFile) {
  return platform::user_folders::TempFolder() +
         platform::paths::ChangeFileExt(platform::paths::ExtractFileName(cardFile), ".html");
}

std::string WriteWebAttachment(const std::string& cardFile) {
  const std::string out = WebAttachmentPath(cardFile);
  packaging::CardReader reader = packaging::CardReader::Open(cardFile);
  if (reader.Kind() == packaging::CardKind::Interactive) {
    player::OpenedCard card = player::OpenCardFile(cardFile);
    web::WriteInteractiveWebCard(card, out, webmedia::PageMediaConverter());
    return out;
  }
  // An ordinary card plays from files: its media go to a folder of their own for the writer.
  const std::string folder =
      platform::user_folders::TempFolder() + "webmail-" + std::to_string(::getpid()) + "\\";
  platform::files::CreateFolder(folder);
  struct Remove {
    std::string folder;
    ~Remove() { platform::files::RemoveFolder(folder); }
  } remove{folder};
  const ordinary_player_ui::UnpackedCard unpacked = ordinary_player_ui::UnpackOrdinaryCard(reader, folder);
  web::WriteOrdinaryWebCard(unpacked.settings, out, webmedia::PageMediaConverter());
  return out;
}

}  // namespace mail_ui
