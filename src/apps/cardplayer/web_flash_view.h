#pragma once
// Flash elements of exe3.exe in an embedded web view: a page with the program folder's Flash
// player ("ruffle\") plays the movie. The page, the player and the movie are served to the view
// from 127.0.0.1 on a free port (a page opened from disk may not fetch the player's code).
#if defined(CARD_PLAYER_WITH_FLASH) && defined(CARD_PLAYER_HAS_WEBENGINE)

namespace cardplayer {

// Sets what the web engine needs before the application object exists, and installs the web
// view as the Flash view of this program when the Flash player is in the program folder.
void PrepareWebFlash();

}  // namespace cardplayer

#endif
