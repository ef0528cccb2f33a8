#pragma once
// A Flash card project as a web card, played by the page itself without a Flash player. The
// project is built into a movie by Flash.dll exactly as for the SWF file; the library then
// hands back the movie laid out frame by frame (what is shown where, how large, how opaque),
// and the page draws that layout with the pictures and music the builder gave the library.
#include <optional>
#include <string>

#include "flashwizard/flash_builder.h"

namespace flashwizard {
class FlashProject;
}

namespace web {

// A picture packet (frame size, delays, the frames as one BMP sheet) as a page picture: PNG,
// or JPEG when that is smaller and allowed (opaque pictures only). Colours come back
// un-premultiplied. Empty when the packet holds no picture.
struct PagePicture {
  std::string src;  // data: address
  int frameWidth = 0, frameHeight = 0, columns = 1;
};
PagePicture PacketPicture(const std::vector<uint8_t>& packet, bool allowJpeg);

// The card's data for flash_host.js (kind "flash"), or nothing when the movie could not be
// built (the builder has shown why).
std::optional<std::string> FlashCardJson(const flashwizard::FlashProject& project,
                                         const flashwizard::BuildHooks& hooks = {});

// Builds the movie and writes the web card to outPath (system path). False when the movie
// could not be built or the page not written; every failure is shown as a message.
bool WriteFlashWebCard(const flashwizard::FlashProject& project, const std::string& outPath,
                       const flashwizard::BuildHooks& hooks = {});

// The wizard's web card command after the file name is chosen: build and write the card, show
// "生成网页贺卡失败！" when that fails, else open the page. False when nothing was written.
bool SaveFlashWebCard(const flashwizard::FlashProject& project, const std::string& outPath,
                      const flashwizard::BuildHooks& hooks = {});

}  // namespace web
