#pragma once
// The new interactive card dialog's settings, its checks and what its OK does to the design.
#include <optional>
#include <string>
#include <string_view>

#include "maker/document/card_document.h"
#include "platform/color.h"

namespace cardshell {

inline constexpr std::string_view kBackgroundLayouts[] = {"平铺背景图片", "拉伸背景图片", "背景图片居中"};
inline constexpr std::string_view kBrowseBackgroundTitle = "浏览背景图片";
inline constexpr std::string_view kBrowseMaskTitle = "浏览掩饰图片";
inline constexpr std::string_view kNewCardIcon = "图标\\ICON26.ICO";
inline constexpr std::string_view kNewCardHelpTopic = "hdhk.htm";
inline constexpr std::string_view kNewDesignName = "新贺卡";

struct NewCardSettings {
  std::string widthText = "520";
  std::string heightText = "390";
  platform::Color color = platform::kClInfoBk;  // the tooltip background colour
  bool useBackground = false;
  std::string backgroundPath;
  int layout = 0;  // 0 tile, 1 stretch, 2 centre
  bool useMask = false;
  std::string maskPath;
};

enum class NewCardField { BackgroundPath, MaskPath, Width, Height };

struct NewCardProblem {
  std::string message;
  NewCardField field;
};

// The size boxes take digits only (and backspace, which the edit handles itself).
bool AcceptsSizeChar(char c);

// OK's checks in order: background file, mask file, width, height. A size that is blank, zero
// or too large for a window counts as blank.
std::optional<NewCardProblem> CheckNewCard(const NewCardSettings& settings);

// The size a mask picture gives the window; nothing when it cannot be read as a picture.
struct MaskSize {
  int width = 0, height = 0;
};
std::optional<MaskSize> ReadMaskSize(std::string_view path);

// What OK does to the document: clears the design (the card window alone in the selector and
// selected), puts the card window's other properties back to their defaults, gives it the default icon, the size (the mask's own size when a readable mask is
// used), the colour, and the background and mask pictures as ticked. The settings must have
// passed CheckNewCard.
void ApplyNewCard(document::CardDocument& doc, const NewCardSettings& settings);

}  // namespace cardshell
