#pragma once
// SWF movies played by the Flash player the card pages ship (from the harness's npm packages)
// in headless Chromium: pictures of the stage at chosen movie times, and a second reader.
#include <map>
#include <string>
#include <vector>

#include "support/browser_page.h"

namespace testing_support {

struct SwfRender {
  PageRun run;
  std::map<std::string, std::string> shots;  // movie time as given -> PNG of the stage
  std::vector<std::string> playerErrors;     // errors and warnings the player logged

  bool Ok() const { return run.ok && !shots.empty(); }
  std::string Describe() const;
};

// Renders the movie at each time (seconds after frame 1 is shown, as text: "0.5"); the PNGs
// go beside the movie as NAME_TIME.png. hostPath is a UTF-8 path.
SwfRender RenderSwf(const std::string& hostPath, const std::vector<std::string>& times);

// Whether the second reader (npm swf-parser) reads the whole movie; why not in *why.
bool SecondReaderReads(const std::string& hostPath, std::string* why);

}  // namespace testing_support
