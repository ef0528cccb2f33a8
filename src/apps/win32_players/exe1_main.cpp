// exe1.exe for Windows, the ordinary card player: plays the card appended to its own file, or
// the ".crd1" file named on its command line.
#include <windows.h>

#include "player/win32_host/ordinary_player.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return win32_host::RunOrdinaryPlayer(); }
