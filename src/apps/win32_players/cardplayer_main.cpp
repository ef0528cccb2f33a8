// exe2.exe and exe3.exe for Windows, the interactive card players (exe3.exe for cards with Flash
// elements, whose movies open in the browser): one program built twice.
#include <windows.h>

#include "player/win32_host/interactive_player.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return win32_host::RunInteractivePlayer(); }
