#pragma once
// An SWF reader of the tests' own, apart from the writer's code: the header, every tag
// (sprites' tags too) and the faults a hand-written movie tends to have.
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct SwfTag {
  int code = 0;
  std::string name;    // "DefineSprite", or "Tag123" for a code this reader does not know
  size_t length = 0;   // of the body
  int depth = 0;       // 0 for the movie's own tags, 1 inside a sprite
};

struct SwfCheck {
  bool readable = false;  // the header could be read
  std::string signature;  // FWS or CWS
  int version = 0;
  int width = 0, height = 0;  // stage size in pixels
  double frameRate = 0;
  int frameCount = 0;  // as the header says
  std::vector<SwfTag> tags;
  std::vector<std::string> problems;

  bool Ok() const { return readable && problems.empty(); }
  int Count(std::string_view name) const;
  // The header, the problems and the tag names, for assertion messages.
  std::string Describe() const;
};

// Reads and checks the movie at hostPath (UTF-8).
SwfCheck CheckSwf(const std::string& hostPath);
SwfCheck CheckSwfBytes(std::string_view bytes);

}  // namespace testing_support
