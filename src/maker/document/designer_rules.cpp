#include "maker/document/designer_rules.h"

#include <cstdio>

#include "platform/text.h"

namespace document {

ClockPanels ClockTexts(const std::tm& t) {
  static const char* const kDays[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
  ClockPanels p;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  p.time = buf;
  p.weekday = kDays[((t.tm_wday % 7) + 7) % 7];
  std::snprintf(buf, sizeof buf, "%04d", t.tm_year + 1900);
  p.date = " " + std::string(buf) + "年" + platform::IntToStr(t.tm_mon + 1) + "月" +
           platform::IntToStr(t.tm_mday) + "日";
  return p;
}

bool PreviewAsCrd3(const CardDocument& doc) { return !doc.flashes.empty() || doc.crd3; }

std::string PreviewCardName(const CardDocument& doc) {
  return std::string(PreviewAsCrd3(doc) ? kTestCardCrd3 : kTestCardCrd2);
}

namespace {

std::string Quoted(std::string path) {
  if (path.find(' ') == std::string::npos) return path;
  return "\"" + path + "\"";
}

}  // namespace

std::string PreviewCommandLine(std::string_view folder, std::string_view stub, std::string_view card) {
  return PreviewCommandLine(folder, stub, folder, card);
}

std::string PreviewCommandLine(std::string_view stubFolder, std::string_view stub, std::string_view cardFolder,
                               std::string_view card) {
  return Quoted(std::string(stubFolder) + std::string(stub)) + " " + Quoted(std::string(cardFolder) + std::string(card));
}

}  // namespace document
