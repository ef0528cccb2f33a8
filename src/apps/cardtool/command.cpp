#include "command.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace cardtool {
namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> r;
  return r;
}
}  // namespace

const std::vector<Command>& Commands() {
  auto& r = Registry();
  std::sort(r.begin(), r.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
  return r;
}

Registrar::Registrar(Command c) { Registry().push_back(std::move(c)); }

Options::Options(const Args& args, const std::vector<std::string>& valueOptions) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.rfind("--", 0) == 0) {
      std::string name = a.substr(2);
      std::string value;
      bool inlineValue = false;
      if (size_t eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name = name.substr(0, eq);
        inlineValue = true;
      }
      bool takesValue = std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
      if (takesValue) {
        if (!inlineValue) {
          if (i + 1 >= args.size()) {
            error_ = "option --" + name + " needs a value";
            return;
          }
          value = args[++i];
        }
        values_[name] = value;
      } else {
        flags_.push_back(name);
      }
    } else {
      positionals_.push_back(a);
    }
  }
}

bool Options::Flag(const std::string& name) const {
  return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::optional<std::string> Options::Value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string Options::ValueOr(const std::string& name, const std::string& fallback) const {
  return Value(name).value_or(fallback);
}

int Fail(const std::string& utf8Message, int code) {
  std::fprintf(stderr, "cardtool: %s\n", utf8Message.c_str());
  return code;
}

int Usage(const Command& c) {
  std::fprintf(stderr, "usage: cardtool %s\n  %s\n", platform::GbkToUtf8(c.synopsis).c_str(),
               platform::GbkToUtf8(c.summary).c_str());
  return 2;
}

}  // namespace cardtool
