#include "maker/ordinary/ordinary_settings.h"

#include <cstdio>

#include "platform/text.h"

namespace ordinary {

Point PositionOf(int position, int screenW, int screenH, int w, int h) {
  const int midLeft = screenW / 2 - w / 2;
  const int midTop = screenH / 2 - h / 2;
  switch (position) {
    case 2: return {midLeft, 0};
    case 3: return {0, 0};
    case 4: return {0, midTop};
    case 5: return {0, screenH - h};
    case 6: return {midLeft, screenH - h};
    case 7: return {screenW - w, screenH - h};
    case 8: return {screenW - w, midTop};
    case 9: return {screenW - w, 0};
    default: return {midLeft, midTop};
  }
}

std::string FormatMailDate(const std::tm& t) {
  return platform::IntToStr(t.tm_year + 1900) + "年" + platform::IntToStr(t.tm_mon + 1) + "月" +
         platform::IntToStr(t.tm_mday) + "日";
}

std::string FormatMailTime(const std::tm& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return buf;
}

std::string FillMailPlaceholders(std::string body, const std::tm& t) {
  body = platform::ReplaceText(std::move(body), kDatePlaceholder, FormatMailDate(t));
  return platform::ReplaceText(std::move(body), kTimePlaceholder, FormatMailTime(t));
}

}  // namespace ordinary
