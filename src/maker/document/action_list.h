#pragma once
// The click action list of a label, button, image or GIF, rebuilt from the document each time
// an element is selected, and the sound choices.
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"

namespace document {

inline constexpr std::string_view kActionNone = "无操作";
inline constexpr std::string_view kActionEndCard = "结束贺卡运行";
inline constexpr std::string_view kActionOpenFile = "打开设置值1中的文件";
inline constexpr std::string_view kActionShowMessage = "提示设置值2中的信息";
inline constexpr std::string_view kActionPicsPrevious = "使图像展示框显示上一幅图像";
inline constexpr std::string_view kActionPicsNext = "使图像展示框显示下一幅图像";
inline constexpr std::string_view kActionPicsNumber = "展示框显示序为设置值1的图像";

std::vector<std::string> BuildActionList(const CardDocument& doc);
// Shown names of all sound elements, in table order.
std::vector<std::string> SoundChoices(const CardDocument& doc);

}  // namespace document
