#pragma once
// The whole of exe2.exe and exe3.exe: open the card named on the command line (or the one
// appended to the program itself), show its window, run until it closes. A card that cannot be
// opened gives one error box that says what is wrong, and the program ends with exit code 1.
namespace cardplayer {

int RunInteractivePlayer(int argc, char** argv);

}  // namespace cardplayer
