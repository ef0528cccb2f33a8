#include "support/run_program.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace testing_support {

ProgramRun RunProgram(const std::string& commandLine) {
  ProgramRun r;
  FILE* p = ::popen(commandLine.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
  const int status = ::pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace testing_support
