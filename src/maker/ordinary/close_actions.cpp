#include "maker/ordinary/close_actions.h"

namespace ordinary {

std::vector<std::string> CloseTargets(const CardPlayerConfig& config) {
  std::vector<std::string> targets;
  if (!config.url.empty()) targets.push_back(config.url);
  if (!config.mailLink.empty()) targets.push_back(config.mailLink);
  return targets;
}

int RunCloseActions(const CardPlayerConfig& config, const std::function<bool(const std::string&)>& opener) {
  int opened = 0;
  for (const std::string& target : CloseTargets(config))
    if (opener(target)) ++opened;
  return opened;
}

}  // namespace ordinary
