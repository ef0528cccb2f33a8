#include "maker/shell/new_card.h"

#include <exception>

#include "maker/document/element_lifecycle.h"
#include "maker/document/picture_size.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace cardshell {
namespace {

constexpr int kMaxWindowSide = 10000;

bool ValidSize(const std::string& text) {
  std::string t = platform::Trim(text);
  if (t.empty() || t.size() > 6) return false;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
  }
  int v = platform::StrToIntDef(t, 0);
  return v > 0 && v <= kMaxWindowSide;
}

}  // namespace

bool AcceptsSizeChar(char c) { return (c >= '0' && c <= '9') || c == '\b'; }

std::optional<NewCardProblem> CheckNewCard(const NewCardSettings& s) {
  if (s.useBackground && !platform::files::FileExists(s.backgroundPath)) {
    return NewCardProblem{"图片文件 " + s.backgroundPath + " 不存在，请重新定义背景图片位置。",
                          NewCardField::BackgroundPath};
  }
  if (s.useMask && !platform::files::FileExists(s.maskPath)) {
    return NewCardProblem{"图片文件 " + s.maskPath + " 不存在，请重新定义掩饰图片位置。", NewCardField::MaskPath};
  }
  if (!ValidSize(s.widthText)) return NewCardProblem{"请输入正确的贺卡窗口宽度。", NewCardField::Width};
  if (!ValidSize(s.heightText)) return NewCardProblem{"请输入正确的贺卡窗口高度。", NewCardField::Height};
  return std::nullopt;
}

std::optional<MaskSize> ReadMaskSize(std::string_view path) {
  try {
    document::PictureSize size = document::MeasurePicture(path);
    if (size.width <= 0 || size.height <= 0) return std::nullopt;
    return MaskSize{size.width, size.height};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void ApplyNewCard(document::CardDocument& doc, const NewCardSettings& s) {
  document::DelAll(doc);
  // A new card starts from the card window's defaults: nothing of the previous design (its
  // title, music, actions, movement) is carried into it unseen.
  doc.window = document::CardWindow{};
  document::CardWindow& w = doc.window;
  w.icon = platform::paths::ProgramFolder() + std::string(kNewCardIcon);
  w.width = platform::StrToIntDef(platform::Trim(s.widthText), w.width);
  w.height = platform::StrToIntDef(platform::Trim(s.heightText), w.height);
  w.bkColor = s.color;
  w.bkPic = s.useBackground;
  w.bkPicName = s.useBackground ? s.backgroundPath : std::string();
  w.bkPicSet = s.useBackground ? s.layout : 0;
  w.yxPic = s.useMask;
  w.yxPicName = s.useMask ? s.maskPath : std::string();
  // The mask gives the window its shape, so its size decides the window's size.
  if (s.useMask) {
    if (std::optional<MaskSize> size = ReadMaskSize(s.maskPath)) {
      w.width = size->width;
      w.height = size->height;
    }
  }
}

}  // namespace cardshell
