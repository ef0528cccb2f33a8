#include "platform/font_names.h"

#include <algorithm>

#include "platform/fonts.h"

namespace platform::fonts {

const std::vector<std::string>& CardFontNames() {
  static const std::vector<std::string> names = {"宋体", "新宋体", "黑体", "楷体", "楷体_GB2312", "仿宋",
                                                 "仿宋_GB2312", "隶书", "幼圆", "华文行楷", "华文楷体",
                                                 "华文宋体", "华文仿宋", "华文细黑"};
  return names;
}

std::vector<std::string> ChooserFamilies() {
  std::vector<std::string> out;
  for (const std::string& name : CardFontNames())
    if (IsInstalled(name)) out.push_back(name);
  const std::vector<std::string> cardNames = out;
  for (const std::string& family : InstalledFamilies())
    if (std::find(cardNames.begin(), cardNames.end(), family) == cardNames.end()) out.push_back(family);
  return out;
}

}  // namespace platform::fonts
