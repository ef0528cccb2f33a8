#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

extern char** environ;

namespace platform::shell {
namespace {

// Starts argv detached: a short-lived middle process starts the program and exits at once,
// so the program is never left as a zombie of ours and we never wait for it.
bool SpawnDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  int fds[2];
  if (::pipe(fds) != 0) return false;
  pid_t mid = ::fork();
  if (mid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (mid == 0) {
    ::close(fds[0]);
    ::setsid();
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t child = 0;
    int rc = ::posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ);
    char ok = rc == 0 ? 1 : 0;
    (void)!::write(fds[1], &ok, 1);
    ::_exit(0);
  }
  ::close(fds[1]);
  char ok = 0;
  ssize_t n = ::read(fds[0], &ok, 1);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(mid, &status, 0);
  return n == 1 && ok == 1;
}

}  // namespace

std::string ResolveProgram(std::string_view program) {
  std::string p(program);
  if (files::FileExists(p)) return p;
  std::string ext = AsciiLower(paths::ExtractFileExt(p));
  if (ext == ".exe") {
    std::string bare = p.substr(0, p.size() - 4);
    if (files::FileExists(bare)) return bare;
  }
  return p;
}

bool StartProgram(std::string_view program, const std::vector<std::string>& args) {
  std::string prog = ResolveProgram(program);
  std::vector<std::string> argv;
  // A program given with a folder is started by its host path; a bare name goes along PATH.
  argv.push_back(paths::LastSeparator(prog) == std::string::npos ? GbkToUtf8(prog) : paths::ToHost(prog));
  for (const std::string& a : args) {
    bool looksLikePath = paths::IsAbsolute(a) && files::Exists(a);
    argv.push_back(looksLikePath ? paths::ToHost(a) : GbkToUtf8(a));
  }
  return SpawnDetached(argv);
}

bool StartProgram(std::string_view commandLine) {
  std::vector<std::string> parts = SplitCommandLine(commandLine);
  if (parts.empty()) return false;
  std::string prog = parts.front();
  parts.erase(parts.begin());
  return StartProgram(prog, parts);
}

bool Open(std::string_view target) {
  std::string t(target);
  if (t.empty()) return false;
  // Addresses go as they are; files and folders by their host path.
  bool isAddress = t.find("://") != std::string::npos || AsciiLower(t).rfind("mailto:", 0) == 0;
  std::string arg = isAddress ? GbkToUtf8(t) : paths::ToHost(t);
  if (!isAddress && !files::Exists(t)) return false;
  const char* opener = std::getenv("LMCARD_OPENER");
  std::vector<std::string> argv = {opener && *opener ? opener : "xdg-open", arg};
  return SpawnDetached(argv);
}

bool OpenHelp(std::string_view topic) {
  std::string page = paths::ProgramFolder() + "help/" + (topic.empty() ? std::string("index.htm") : std::string(topic));
  if (!files::FileExists(page)) page = paths::ProgramFolder() + "help/index.htm";
  return Open(page);
}

}  // namespace platform::shell
