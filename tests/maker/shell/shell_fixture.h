#pragma once
// A program folder of its own for a shell test, with the registry stand-in beside it.
#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace shell_fixture {

class ProgramFolderScope {
 public:
  ProgramFolderScope() : previous_(platform::paths::ProgramFolder()) {
    platform::paths::SetProgramFolder(dir_.Path());
    const char* config = std::getenv("LMCARD_CONFIG_HOME");
    previousConfig_ = config ? config : "";
    setenv("LMCARD_CONFIG_HOME", (dir_.HostPath() + "config").c_str(), 1);
  }
  ~ProgramFolderScope() {
    platform::paths::SetProgramFolder(previous_);
    setenv("LMCARD_CONFIG_HOME", previousConfig_.c_str(), 1);
  }
  const testing_support::TempDir& Dir() const { return dir_; }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  testing_support::TempDir dir_;
  std::string previous_;
  std::string previousConfig_;
};

}  // namespace shell_fixture
