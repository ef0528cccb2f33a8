#include "flashwizard/template_loading.h"

#include "audio/pv_player.h"
#include "flashwizard/title_image.h"
#include "platform/fonts.h"

namespace flashwizard {

LoadHooks HostLoadHooks() {
  LoadHooks hooks;
  hooks.fontListed = [](const std::string& f) { return platform::fonts::IsInstalled(f); };
  hooks.effectListed = [](const std::string& e) { return e == "不添加任何文字特效" || !StyleFileFor(e).empty(); };
  hooks.musicLength = [](const std::string& f) { return audio::GetMusicLength(f); };
  return hooks;
}

std::unique_ptr<FlashProject> LoadFlashTemplate(const std::string& path) {
  const LoadHooks hooks = HostLoadHooks();
  auto project = std::make_unique<FlashProject>();
  project->Settings = FlashProject::DefaultSettings(hooks);
  project->LoadSet(path, hooks);
  return project;
}

}  // namespace flashwizard
