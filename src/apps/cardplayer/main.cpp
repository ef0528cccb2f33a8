// exe2.exe and exe3.exe, the interactive card players: one program built twice. exe3.exe
// (CARD_PLAYER_WITH_FLASH) plays Flash elements in a web view when Qt WebEngine was found.
#include <QApplication>

#include "apps/cardplayer/web_flash_view.h"
#include "player/interactive_ui/player_main.h"

int main(int argc, char** argv) {
#if defined(CARD_PLAYER_WITH_FLASH) && defined(CARD_PLAYER_HAS_WEBENGINE)
  cardplayer::PrepareWebFlash();  // before the application object exists
#endif
  return cardplayer::RunInteractivePlayer(argc, argv);
}
