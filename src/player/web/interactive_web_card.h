#pragma once
// An interactive card as a web card. The card stage plays the card once while the page is
// built: it draws the still card in layers split at each moving part (the picture show box,
// captions, GIF animations; the lowest layer shaped by the mask), and each click action is
// carried out on it with recording hosts, so the page carries what the action does (sounds,
// messages, addresses, the pictures it changes) rather than rules of its own. The moving parts
// run in the browser on the same C++ rules compiled to WebAssembly; card_host.js draws each one
// between the layers the stage put beneath and above it, so the stacking is the stage's.
#include <string>

#include "maker/document/card_document.h"
#include "maker/packaging/package_builder.h"
#include "player/card_source.h"
#include "player/web/web_page.h"

namespace web {

// The card's data for card_host.js, as one JSON value (UTF-8, safe inside a <script> block).
// convert: turns MIDI music and click sounds into media a browser plays (may be empty).
std::string InteractiveCardJson(player::OpenedCard& card, const MediaConverter& convert = {});

// Writes the web card of an opened card to outPath (system path). Raises platform::FileError
// when it cannot be written or the player's scripts are missing.
void WriteInteractiveWebCard(player::OpenedCard& card, const std::string& outPath, const MediaConverter& convert = {});

// Builds the design into a card file of its family (in the temporary folder) with the package
// builder, then writes that card's web card to outPath. False when the builder refused (it has
// told the user why); the builder's checks and messages are the same as for any card. The
// status lines are the builder's, then "正在生成网页贺卡...", and "就绪" last on every path.
bool BuildInteractiveWebCard(document::CardDocument& doc, const std::string& outPath,
                             const packaging::MakeExeHooks& hooks = {}, const MediaConverter& convert = {});

}  // namespace web
