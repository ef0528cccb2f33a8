#include "support/browser_page.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "support/json_value.h"
#include "support/run_program.h"

namespace testing_support {

namespace {

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::vector<std::string> Texts(const JsonValue& list) {
  std::vector<std::string> out;
  for (const auto& v : list.Items()) out.push_back(v.AsString());
  return out;
}

}  // namespace

std::string UrlEncode(const std::string& text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string BrowserModulesDir() { return CARD_SOURCE_DIR "/.cache/npm/node_modules"; }

std::string PageRun::Describe() const {
  std::string s = failure.empty() ? std::string() : "failure: " + failure + "\n";
  for (const auto& e : pageErrors) s += "page error: " + e + "\n";
  for (const auto& e : consoleErrors) s += "console error: " + e + "\n";
  for (const auto& b : blocked) s += "blocked: " + b + "\n";
  for (const auto& n : notFound) s += "not found: " + n + "\n";
  if (!started) s += output.substr(0, 3000);
  return s;
}

BrowserPage BrowserPage::FromFile(const std::string& htmlPath) {
  BrowserPage p;
  p.file_ = htmlPath;
  return p;
}

BrowserPage BrowserPage::Served(const std::string& root, const std::string& page) {
  BrowserPage p;
  p.root_ = root;
  p.page_ = page;
  return p;
}

BrowserPage& BrowserPage::Mount(const std::string& prefix, const std::string& folder) {
  mounts_.emplace_back(prefix, folder);
  return *this;
}

BrowserPage& BrowserPage::Viewport(int width, int height) {
  width_ = width;
  height_ = height;
  return *this;
}

BrowserPage& BrowserPage::RealClock() {
  fakeClock_ = false;
  return *this;
}

BrowserPage& BrowserPage::Init(const std::string& script) {
  init_.push_back(script);
  return *this;
}

BrowserPage& BrowserPage::ReadyWhen(const std::string& expression) {
  ready_ = expression;
  return *this;
}

BrowserPage& BrowserPage::ZeroWhen(const std::string& expression) {
  zero_ = expression;
  return *this;
}

BrowserPage& BrowserPage::TimeoutSeconds(int seconds) {
  timeout_ = seconds;
  return *this;
}

BrowserPage& BrowserPage::ShotAt(int ms, const std::string& png) {
  steps_.push_back("{\"at\":" + std::to_string(ms) + ",\"shot\":" + JsonQuote(png) + "}");
  return *this;
}

BrowserPage& BrowserPage::ShotAt(int ms, const std::string& png, const std::string& selector) {
  steps_.push_back("{\"at\":" + std::to_string(ms) + ",\"shot\":" + JsonQuote(png) +
                   ",\"selector\":" + JsonQuote(selector) + "}");
  return *this;
}

BrowserPage& BrowserPage::ClipAt(int ms, const std::string& png, int x, int y, int width, int height) {
  steps_.push_back("{\"at\":" + std::to_string(ms) + ",\"shot\":" + JsonQuote(png) + ",\"clip\":[" +
                   std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(width) + "," +
                   std::to_string(height) + "]}");
  return *this;
}

BrowserPage& BrowserPage::ClickAt(int ms, int x, int y) {
  steps_.push_back("{\"at\":" + std::to_string(ms) + ",\"click\":[" + std::to_string(x) + "," +
                   std::to_string(y) + "]}");
  return *this;
}

BrowserPage& BrowserPage::EvalAt(int ms, const std::string& name, const std::string& expression) {
  steps_.push_back("{\"at\":" + std::to_string(ms) + ",\"eval\":" + JsonQuote(expression) +
                   ",\"name\":" + JsonQuote(name) + "}");
  return *this;
}

PageRun BrowserPage::Run(const std::string& workDir) const {
  std::string job = "{\"modules\":" + JsonQuote(BrowserModulesDir());
  if (!file_.empty()) {
    job += ",\"file\":" + JsonQuote(file_);
  } else {
    job += ",\"serve\":{\"root\":" + JsonQuote(root_) + ",\"page\":" + JsonQuote(page_) + ",\"mounts\":{";
    for (size_t i = 0; i < mounts_.size(); ++i)
      job += (i ? "," : "") + JsonQuote(mounts_[i].first) + ":" + JsonQuote(mounts_[i].second);
    job += "}}";
  }
  job += ",\"viewport\":[" + std::to_string(width_) + "," + std::to_string(height_) + "]";
  job += std::string(",\"clock\":") + (fakeClock_ ? "true" : "false");
  job += ",\"timeout\":" + std::to_string(timeout_);
  if (!ready_.empty()) job += ",\"ready\":" + JsonQuote(ready_);
  if (!zero_.empty()) job += ",\"zero\":" + JsonQuote(zero_);
  job += ",\"init\":[";
  for (size_t i = 0; i < init_.size(); ++i) job += (i ? "," : "") + JsonQuote(init_[i]);
  job += "],\"steps\":[";
  for (size_t i = 0; i < steps_.size(); ++i) job += (i ? "," : "") + steps_[i];
  job += "]}";

  PageRun run;
  std::filesystem::create_directories(workDir);
  const std::string jobFile = (std::filesystem::path(workDir) / "browser_job.json").string();
  if (!(std::ofstream(jobFile, std::ios::binary) << job)) {
    run.failure = "cannot write " + jobFile;
    return run;
  }
  auto r = RunProgram("node " + ShellQuote(CARD_SOURCE_DIR "/tests/support/browser/run_page.mjs") + " " +
                      ShellQuote(jobFile) + " 2>&1");
  run.output = r.output;
  // The report is the last line that reads as JSON; anything else is the driver's own output.
  std::optional<JsonValue> report;
  std::vector<std::string_view> lines;
  for (size_t at = 0; at < r.output.size();) {
    size_t nl = r.output.find('\n', at);
    if (nl == std::string::npos) nl = r.output.size();
    lines.push_back(std::string_view(r.output).substr(at, nl - at));
    at = nl + 1;
  }
  for (auto it = lines.rbegin(); it != lines.rend() && !report; ++it)
    if (!it->empty() && it->front() == '{') report = JsonValue::Parse(*it);
  if (!report) {
    run.failure = r.exitCode == 127 || r.output.find("node: not found") != std::string::npos
                      ? "node is not installed (run scripts/install-deps.sh)"
                      : "the browser driver gave no report (exit " + std::to_string(r.exitCode) + ")";
    return run;
  }
  const JsonValue& rep = *report;
  run.started = r.exitCode != 1;
  run.ok = rep["ok"].AsBool() && r.exitCode == 0;
  if (!rep["failure"].IsNull()) run.failure = rep["failure"].AsString();
  for (const auto& m : rep["console"].Items()) {
    run.consoleMessages.push_back(m["type"].AsString() + ": " + m["text"].AsString());
    if (m["type"].AsString() == "error") run.consoleErrors.push_back(m["text"].AsString());
  }
  run.pageErrors = Texts(rep["page_errors"]);
  run.blocked = Texts(rep["blocked"]);
  run.notFound = Texts(rep["not_found"]);
  for (const auto& [name, v] : rep["values"].Members()) run.values[name] = v.ToJson();
  for (const auto& s : rep["shots"].Items())
    run.shots.push_back({s["png"].AsString(), static_cast<int>(s["at"].AsNumber()), s["now"].AsNumber()});
  return run;
}

}  // namespace testing_support
