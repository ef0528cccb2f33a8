#pragma once
// The build tree's program folder used the way an installed one is: read from, never written.
// What a test's run makes there (work files, settings, saved templates) goes to the user
// folders instead, which live in a fresh folder of the test.
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/paths.h"
#include "platform/user_folders.h"
#include "support/temp_dir.h"

namespace testing_support {

class SharedProgramFolder {
 public:
  SharedProgramFolder() : previous_(platform::paths::ProgramFolder()) {
    const char* x = std::getenv("XDG_DATA_HOME");
    if (x) previousXdg_ = x;
    setenv("XDG_DATA_HOME", home_.HostPath().c_str(), 1);
    platform::paths::SetProgramFolder(std::string(CARD_PROGRAM_DIR) + "/");
    platform::user_folders::ForceInUse(true);
  }
  ~SharedProgramFolder() {
    platform::user_folders::ForceInUse(std::nullopt);
    platform::paths::SetProgramFolder(previous_);
    if (previousXdg_) setenv("XDG_DATA_HOME", previousXdg_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
  }
  SharedProgramFolder(const SharedProgramFolder&) = delete;
  SharedProgramFolder& operator=(const SharedProgramFolder&) = delete;

 private:
  TempDir home_;
  std::string previous_;
  std::optional<std::string> previousXdg_;
};

}  // namespace testing_support
