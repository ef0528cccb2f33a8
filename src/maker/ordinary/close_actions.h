#pragma once
// What an ordinary card opens when it closes: the web address, then the mail link.
#include <functional>
#include <string>
#include <vector>

#include "maker/ordinary/card_player_config.h"

namespace ordinary {

std::vector<std::string> CloseTargets(const CardPlayerConfig& config);

// Opens every target with the shell's "open" action (opener); answers how many opened.
int RunCloseActions(const CardPlayerConfig& config, const std::function<bool(const std::string&)>& opener);

}  // namespace ordinary
