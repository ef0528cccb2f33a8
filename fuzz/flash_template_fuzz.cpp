// Flash card templates: any bytes are read as a template's INI text into a fresh project.
// Scene and object counts stay within the project's slots; nothing may crash.
#include "flashwizard/flash_project.h"
#include "fuzz_support.h"
#include "platform/error.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::PlaceholderFile("template.fcd");
  platform::profile::InMemoryFile file(path, fuzz::AsText(data, size));
  flashwizard::FlashProject project;
  try {
    project.LoadSet(path);
  } catch (const platform::Error&) {
    return 0;
  }
  if (project.SceneCount < 0 || project.SceneCount > flashwizard::FlashProject::kSceneSlots) __builtin_trap();
  if (project.ObjectCount < 0 || project.ObjectCount > flashwizard::FlashProject::kMaxObjects) __builtin_trap();
  return 0;
}
