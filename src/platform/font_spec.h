#pragma once
// A font as the system's controls and files describe one: family name, size in points or a
// character height in pixels, styles, colour and character set.
#include <string>

#include "platform/color.h"

namespace platform {

struct FontSpec {
  std::string name = "宋体";   // family name (GBK)
  int size = 9;                // points at 96 dpi; used when height is 0
  int height = 0;              // platform font height: negative = character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Color color = kClWindowText;
  int charset = 134;           // GB2312_CHARSET

  // Character height in pixels at 96 dpi.
  int PixelHeight() const { return height != 0 ? (height < 0 ? -height : height) : (size * 96 + 36) / 72; }
  bool operator==(const FontSpec&) const = default;
};

}  // namespace platform
