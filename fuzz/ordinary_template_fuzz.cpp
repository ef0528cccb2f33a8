// Ordinary card templates and settings files: any bytes are read as a template's INI text.
// Every field either takes the file's value or keeps the new card's default; nothing may crash.
#include "fuzz_support.h"
#include "maker/ordinary/ordinary_template.h"
#include "platform/error.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::PlaceholderFile("template.crd1set");
  platform::profile::InMemoryFile file(path, fuzz::AsText(data, size));
  try {
    const ordinary::OrdinarySettings s = ordinary::LoadTemplate(path);
    (void)s;
  } catch (const platform::Error&) {
  }
  return 0;
}
