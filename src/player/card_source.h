#pragma once
// Finding and opening the card a player shows: the card file named as its argument, or the
// card appended to the player's own program file. Every failure becomes a CardOpenError whose
// text tells the user what is wrong, naming the file.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/packaging/card_reader.h"
#include "platform/error.h"
#include "player/card_media.h"
#include "player/card_model.h"

namespace player {

class CardOpenError : public platform::Error {
 public:
  using Error::Error;
};

struct OpenedCard {
  std::string path;                 // the card file (system path)
  bool ownProgram = false;          // the card is appended to the running program
  std::unique_ptr<packaging::CardReader> reader;
  CardModel model;
  std::unique_ptr<MediaStore> media;
};

// args: the command line after the program name (system paths). With an argument, the first
// one names the card file; without, selfPath (the running program) must carry a card.
OpenedCard OpenCard(const std::vector<std::string>& args, std::string_view selfPath);
// Opens one card file.
OpenedCard OpenCardFile(std::string_view path, bool ownProgram = false);

// The running program's own file (/proc/self/exe), as a system path.
std::string SelfProgramPath();

// The 32x32 icon patched into an EXE card, as top-down 0xAARRGGBB pixels; nothing when the
// card carries none (the stub keeps its own icon) or the image is damaged.
struct CardIcon {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};
std::optional<CardIcon> PatchedIcon(const packaging::CardReader& card);

}  // namespace player
