#pragma once
// What exe1.exe does with a card file before it shows it: checks that the card can be played,
// writes its media into a folder of files (the music and the voice are played from files) and
// gives the settings with their paths pointing there, and the icon patched into it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/ordinary/ordinary_settings.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/icon_patch.h"

namespace ordinary_player_ui {

struct UnpackedCard {
  ordinary::OrdinarySettings settings;  // media paths name the files in the folder
  std::optional<packaging::IconPixels> icon;  // the replacement icon of an EXE card
  std::vector<std::string> files;       // the files written (system paths)
};

// Kinds of picture an ordinary card shows, by the extension stored with it.
enum class PictureKind { Still, Animation, Movie, Unknown };
PictureKind PictureKindOf(std::string_view ext);

// Checks an ordinary card and writes its media into folder (a system path with its trailing
// separator). Raises packaging::CardFormatError naming what is wrong when the card is no
// ordinary card, its card size is not a usable number, or its card or greeting box picture is
// of an unknown kind or cannot be decoded; platform::FileError when a file cannot be written.
UnpackedCard UnpackOrdinaryCard(const packaging::CardReader& card, std::string_view folder);

// Deletes the files an unpacking wrote (and the folder when it is then empty).
void RemoveUnpackedFiles(const UnpackedCard& card, std::string_view folder);

// The message shown for a card that cannot be played, naming the file and what is wrong.
std::string CardErrorMessage(std::string_view cardPath, std::string_view reason);
// The message of a player started without a card of its own and without a card file.
std::string NoCardMessage();

}  // namespace ordinary_player_ui
