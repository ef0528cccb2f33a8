#pragma once
// Drives one page in headless Chromium for a test: opened from disk or served from 127.0.0.1,
// a fake clock that moves only to the times the test names, screenshots of the page or of
// one element (a canvas) at those times, clicks, and the console and page errors collected.
// Paths are host paths (UTF-8). The node script tests/support/browser/run_page.mjs does the
// driving; scripts/install-deps.sh installs Chromium and the npm packages it uses.
//
//   auto run = BrowserPage::FromFile(card).Viewport(640, 480)
//                  .ShotAt(0, dir + "/a.png").ClickAt(500, 320, 240).ShotAt(900, dir + "/b.png", "canvas")
//                  .Run(dir);
//   ASSERT_TRUE(run.ok) << run.Describe();
//   EXPECT_TRUE(Near(PixelOf(dir + "/b.png", 10, 10), 255, 0, 0));
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// text (UTF-8) made safe for a URL path or query: all but letters, digits and -_.~ escaped.
std::string UrlEncode(const std::string& text);

// The npm packages of the harness (.cache/npm/node_modules in the source tree).
std::string BrowserModulesDir();

struct PageShot {
  std::string png;
  int at = 0;        // the time asked for, in ms after time zero
  double now = -1;   // the page's clock when it was taken, in ms after time zero
};

struct PageRun {
  bool started = false;  // false: no browser could be started (failure says why)
  bool ok = false;       // every step ran
  std::string failure;
  std::vector<std::string> consoleErrors;    // console messages of type "error"
  std::vector<std::string> consoleMessages;  // every console message, as "type: text"
  std::vector<std::string> pageErrors;       // uncaught exceptions
  std::vector<std::string> blocked;          // requests that were refused
  std::vector<std::string> notFound;         // addresses the test server did not have
  std::map<std::string, std::string> values; // EvalAt results, as JSON
  std::vector<PageShot> shots;
  std::string output;  // what the driver printed

  // Failure, errors and blocked requests in a few lines, for assertion messages.
  std::string Describe() const;
};

class BrowserPage {
 public:
  // A page opened from disk (a file: address).
  static BrowserPage FromFile(const std::string& htmlPath);
  // A page served from root by a server on 127.0.0.1; page is its address there ("/a.html",
  // escaped with UrlEncode where needed).
  static BrowserPage Served(const std::string& root, const std::string& page);

  // Serves folder under the address prefix ("/ruffle/") too.
  BrowserPage& Mount(const std::string& prefix, const std::string& folder);
  BrowserPage& Viewport(int width, int height);
  // The page runs on the real clock; step times are waited for.
  BrowserPage& RealClock();
  // Script run in the page before its own scripts.
  BrowserPage& Init(const std::string& script);
  // Waits (in real time) until the expression is true before time zero is taken.
  BrowserPage& ReadyWhen(const std::string& expression);
  // Moves the clock 16 ms at a time until the expression gives a number (the page time of
  // time zero) or true (time zero is now). Without it time zero is when the page is ready.
  BrowserPage& ZeroWhen(const std::string& expression);
  BrowserPage& TimeoutSeconds(int seconds);

  // Steps, at ms after time zero, in the order given (times must not go back).
  BrowserPage& ShotAt(int ms, const std::string& png);
  BrowserPage& ShotAt(int ms, const std::string& png, const std::string& selector);
  BrowserPage& ClipAt(int ms, const std::string& png, int x, int y, int width, int height);
  BrowserPage& ClickAt(int ms, int x, int y);
  BrowserPage& EvalAt(int ms, const std::string& name, const std::string& expression);

  // Runs it all in one browser; the job file is written into workDir.
  PageRun Run(const std::string& workDir) const;

 private:
  std::string file_;
  std::string root_, page_;
  std::vector<std::pair<std::string, std::string>> mounts_;
  int width_ = 800, height_ = 600;
  bool fakeClock_ = true;
  int timeout_ = 60;
  std::string ready_, zero_;
  std::vector<std::string> init_;
  std::vector<std::string> steps_;  // as JSON objects
};

}  // namespace testing_support
