#pragma once
// Runs a shell command line to its end and keeps what it printed, for tests that start programs.
#include <string>

namespace testing_support {

struct ProgramRun {
  int exitCode = -1;  // -1 when the command could not start or did not exit normally
  std::string output;
};

ProgramRun RunProgram(const std::string& commandLine);

}  // namespace testing_support
