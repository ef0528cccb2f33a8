#pragma once
// cardtool's subcommands. Each lives in its own cmd_*.cpp and registers itself with a
// static Registrar, so adding a command touches no other file.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cardtool {

// Arguments as given on the host's command line (UTF-8).
using Args = std::vector<std::string>;

struct Command {
  std::string name;      // "build"
  std::string synopsis;  // "build DESIGN.lmcard2 OUT"
  std::string summary;   // one line for --help
  int (*run)(const Args& args);
};

const std::vector<Command>& Commands();

struct Registrar {
  explicit Registrar(Command c);
};

// Options of one command: "--name value", "--flag" and positionals, in any order.
class Options {
 public:
  // valueOptions names the options that take a value ("--size"); others are flags.
  Options(const Args& args, const std::vector<std::string>& valueOptions);
  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  bool Flag(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;
  std::string ValueOr(const std::string& name, const std::string& fallback) const;
  const std::vector<std::string>& Positionals() const { return positionals_; }

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> flags_;
  std::vector<std::string> positionals_;
  std::string error_;
};

// A message on stderr, "cardtool: " first; returns 2 (the code for bad usage) or the given code.
int Fail(const std::string& utf8Message, int code = 1);
int Usage(const Command& c);

}  // namespace cardtool
