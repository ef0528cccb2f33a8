#include "support/swf_render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "support/run_program.h"
#include "support/swf_check.h"

namespace testing_support {

namespace fs = std::filesystem;

namespace {

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

std::string SwfRender::Describe() const {
  std::string s = run.Describe();
  for (const auto& e : playerErrors) s += "player: " + e + "\n";
  return s;
}

SwfRender RenderSwf(const std::string& hostPath, const std::vector<std::string>& times) {
  SwfRender r;
  const SwfCheck header = CheckSwf(hostPath);
  if (!header.readable) {
    r.run.failure = "the movie's header cannot be read: " + header.Describe();
    return r;
  }
  const fs::path swf(hostPath);
  const int w = std::clamp(header.width, 1, 4096), h = std::clamp(header.height, 1, 4096);
  const std::string page = "/harness/swf_page.html?movie=/" + UrlEncode(swf.filename().string()) + "&w=" +
                           std::to_string(w) + "&h=" + std::to_string(h);
  auto browser = BrowserPage::Served(swf.parent_path().string(), page)
                     .Mount("/harness/", CARD_SOURCE_DIR "/tests/support/browser")
                     .Mount("/ruffle/", BrowserModulesDir() + "/@ruffle-rs/ruffle")
                     .Viewport(w, h)
                     .ReadyWhen("window.swf && window.swf.settled()")
                     .ZeroWhen("window.swf.firstFrame()");
  // Shots in time order, whatever order they were asked in.
  std::vector<std::pair<int, std::string>> order;
  for (const auto& t : times) order.emplace_back(static_cast<int>(std::lround(std::atof(t.c_str()) * 1000)), t);
  std::stable_sort(order.begin(), order.end());
  std::map<std::string, std::string> pngs;
  for (const auto& [ms, t] : order) {
    pngs[t] = (swf.parent_path() / (swf.stem().string() + "_" + t + ".png")).string();
    fs::remove(pngs[t]);
    browser.ClipAt(ms, pngs[t], 0, 0, w, h);
  }
  browser.EvalAt(order.empty() ? 0 : order.back().first, "failed", "window.swf.failed || window.swf.panic()");
  r.run = browser.Run(swf.parent_path().string());
  // The player logs through console.log as "%cERROR%c ...", Chromium as errors and warnings.
  static const std::regex level("^(log|info|debug): %c(ERROR|WARN)%c.*|^(error|warning): .*");
  for (const auto& m : r.run.consoleMessages) {
    if (!std::regex_match(m, level)) continue;
    if (m.find("GL Driver Message") != std::string::npos) continue;
    if (m.find("Unable to create audio backend") != std::string::npos) continue;  // sound is off on purpose
    std::string text = std::regex_replace(m, std::regex("%c"), "");
    r.playerErrors.push_back(text.substr(0, text.find(" color: ")));
  }
  for (const auto& e : r.run.pageErrors) r.playerErrors.push_back(e);
  auto failed = r.run.values.find("failed");
  if (failed != r.run.values.end() && failed->second != "null" && failed->second != "false") {
    r.run.ok = false;
    r.run.failure = "the player could not play the movie: " + failed->second;
  }
  if (r.run.ok)
    for (const auto& [t, png] : pngs)
      if (fs::exists(png)) r.shots[t] = png;
  return r;
}

bool SecondReaderReads(const std::string& hostPath, std::string* why) {
  auto run = RunProgram("node " + ShellQuote(CARD_SOURCE_DIR "/tests/support/browser/swf_parse.mjs") + " " +
                        ShellQuote(BrowserModulesDir()) + " " + ShellQuote(hostPath) + " 2>&1");
  if (why) *why = run.output.substr(0, 3000);
  return run.exitCode == 0;
}

}  // namespace testing_support
