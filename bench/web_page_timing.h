#pragma once
// The web card benches' browser run: a page opened from disk in headless Chromium on the real
// clock, with the time to its first drawn frame and its main-thread time over five seconds of
// play (what the page's host script counts in webCard.firstPaint and webCard.busyMs).
#include <cstdio>
#include <optional>
#include <string>

#include "support/browser_page.h"

struct WebPageTiming {
  double startMs = 0;   // from opening the page to its first drawn frame
  double busyMs = 0;    // script and drawing on the main thread while it played
  double playedMs = 0;  // how long it played meanwhile
};

// page: the page's host path; folder: a folder of the run's own. Prints why and answers nothing
// when the page does not get ready.
inline std::optional<WebPageTiming> TimeWebCardPage(const std::string& page, const std::string& folder) {
  testing_support::PageRun run = testing_support::BrowserPage::FromFile(page)
                                     .RealClock()
                                     .ReadyWhen("window.webCard && webCard.ready")
                                     .EvalAt(0, "start", "webCard.firstPaint")
                                     .EvalAt(0, "busy0", "JSON.stringify([webCard.busyMs, performance.now()])")
                                     .EvalAt(5000, "busy1", "JSON.stringify([webCard.busyMs, performance.now()])")
                                     .Run(folder);
  if (!run.ok) {
    std::fprintf(stderr, "%s\n", run.Describe().c_str());
    return std::nullopt;
  }
  double b0 = 0, t0 = 0, b1 = 0, t1 = 0;
  std::sscanf(run.values["busy0"].c_str(), "\"[%lf,%lf]\"", &b0, &t0);
  std::sscanf(run.values["busy1"].c_str(), "\"[%lf,%lf]\"", &b1, &t1);
  return WebPageTiming{std::stod(run.values["start"]), b1 - b0, t1 - t0};
}

// The start and play lines of a bench's report, as ratios of their limits (<= 1 passes).
inline void PrintStartAndPlay(const WebPageTiming& t) {
  std::printf("start  %.3f  (%.0f ms to the first drawn frame / 500 ms)\n", t.startMs / 500.0, t.startMs);
  std::printf("play   %.3f  (%.1f ms busy in %.0f ms played / 10%%)\n", t.busyMs / t.playedMs / 0.10, t.busyMs,
              t.playedMs);
}
