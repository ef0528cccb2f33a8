// Design files (".lmcard2", also the interactive card templates): any bytes are read as the
// INI text of a design into a fresh document. A design is read or refused with a platform
// error; nothing else may escape, crash or read outside memory it owns.
#include "fuzz_support.h"
#include "maker/document/card_document.h"
#include "maker/document/design_file.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "platform/scripted_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::PlaceholderFile("design.lmcard2");
  platform::profile::InMemoryFile file(path, fuzz::AsText(data, size));
  platform::ScriptedDialogs dialogs;
  document::CardDocument doc;
  try {
    document::Loadfileset(doc, path);
  } catch (const platform::Error&) {
  }
  return 0;
}
