#include "maker/document/caption_scroll.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/raster.h"

namespace document {

using platform::Bitmap;
using platform::PixelFormat;

int CaptionLineHeight(const platform::fonts::Font& font) { return font.Measure("软").height; }

std::vector<std::string> CaptionLines(const platform::fonts::Font& font, std::string_view text, int width) {
  if (text.empty()) return {};
  return platform::fonts::WrapText(font, text, std::max(width, 1));
}

std::shared_ptr<const Bitmap> LoadCaptionPicture(std::string_view path) {
  if (path.empty() || !platform::files::FileExists(path)) return nullptr;
  try {
    return std::shared_ptr<const Bitmap>(platform::LoadPicture(path));
  } catch (const platform::Error&) {
    return nullptr;
  }
}

std::unique_ptr<Bitmap> DrawCaptionFrame(const CaptionLook& look, const platform::fonts::Font& font,
                                         const std::vector<std::string>& lines, int lineHeight, int p) {
  auto frame = Bitmap::Create(std::max(look.width, 0), std::max(look.height, 0), PixelFormat::Bgra32);
  if (!frame) return nullptr;
  frame->Fill(look.bkColor, look.transparent ? 0 : 255);
  if (frame->Empty()) return frame;
  if (look.picture && !look.picture->Empty()) {
    platform::StretchRect(*frame, platform::Rect::FromSize(0, 0, frame->Width(), frame->Height()), *look.picture,
                          platform::Rect::FromSize(0, 0, look.picture->Width(), look.picture->Height()));
  }
  const CaptionGeometry g{look.way, static_cast<int>(lines.size()), lineHeight, look.width, look.height};
  for (const LinePlacement& lp : PlaceCaptionLines(g, p)) {
    // Lines wholly outside the frame cost nothing to skip.
    if (lp.y >= frame->Height() || lp.y + font.Height() <= 0 || lp.x >= frame->Width()) continue;
    font.Draw(*frame, lp.x, lp.y, lines[static_cast<size_t>(lp.line)], look.font.color);
  }
  return frame;
}

CaptionScroller::CaptionScroller(CaptionLook look) { SetLook(std::move(look)); }

void CaptionScroller::SetLook(CaptionLook look) {
  look_ = std::move(look);
  Layout();
}

void CaptionScroller::Layout() {
  font_ = platform::fonts::Font::Create(look_.font);
  if (!font_) {
    lines_.clear();
    lineHeight_ = 0;
    return;
  }
  lineHeight_ = CaptionLineHeight(*font_);
  lines_ = CaptionLines(*font_, look_.text, look_.width);
  if (p_ > CaptionPositionLimit(Geometry())) p_ = 0;
}

CaptionGeometry CaptionScroller::Geometry() const {
  return {look_.way, static_cast<int>(lines_.size()), lineHeight_, look_.width, look_.height};
}

std::unique_ptr<Bitmap> CaptionScroller::Frame() const {
  if (!font_) {
    auto frame = Bitmap::Create(std::max(look_.width, 0), std::max(look_.height, 0), PixelFormat::Bgra32);
    if (frame) frame->Fill(look_.bkColor, look_.transparent ? 0 : 255);
    return frame;
  }
  return DrawCaptionFrame(look_, *font_, lines_, lineHeight_, p_);
}

std::unique_ptr<Bitmap> CaptionScroller::Tick() {
  auto frame = Frame();
  p_ = NextCaptionPosition(Geometry(), p_);
  return frame;
}

}  // namespace document
