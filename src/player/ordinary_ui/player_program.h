#pragma once
// The work of exe1.exe around its window: which card to play (the ".crd1" file named by the
// first argument, else the card appended to the program's own file), unpacking it, and the
// messages for a card that cannot be played.
#include <QIcon>
#include <optional>
#include <string>
#include <vector>

#include "player/ordinary_ui/card_unpack.h"

namespace ordinary_player_ui {

// The program's own file (the host's /proc/self/exe), as a system path.
std::string OwnProgramFile();

// The card of a run: args are the program's arguments after its name (system paths), selfPath
// the program's own file. The media are written into folder. When the card cannot be played,
// the message naming the file and what is wrong is shown through the platform's dialogs
// (caption: the application title, error icon) and nothing is returned.
std::optional<UnpackedCard> OpenCardForPlaying(const std::vector<std::string>& args, const std::string& selfPath,
                                               const std::string& folder);

// The window icon: the card's patched icon, else the program folder's "图标\ICON26.ICO" when
// it is there, else none.
QIcon CardWindowIcon(const UnpackedCard& card);

// A folder of its own for this run's media, under the temporary folder (system path with its
// trailing separator).
std::string RunMediaFolder();
// Removes the media folders that runs which no longer exist left behind (a player that was
// killed cannot clean up after itself).
void RemoveStaleMediaFolders();

}  // namespace ordinary_player_ui
