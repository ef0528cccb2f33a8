#include "platform/color.h"

namespace platform {

Color ResolveColor(Color c) {
  if (!IsSystemColor(c)) return c & 0x00FFFFFF;
  // The classic (pre-theme) defaults of the system colours, by index.
  static constexpr Color kClassic[] = {
      Rgb(212, 208, 200), Rgb(58, 110, 165),  Rgb(10, 36, 106),   Rgb(128, 128, 128),
      Rgb(212, 208, 200), Rgb(255, 255, 255), Rgb(0, 0, 0),       Rgb(0, 0, 0),
      Rgb(0, 0, 0),       Rgb(255, 255, 255), Rgb(212, 208, 200), Rgb(212, 208, 200),
      Rgb(128, 128, 128), Rgb(10, 36, 106),   Rgb(255, 255, 255), Rgb(212, 208, 200),
      Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(0, 0, 0),       Rgb(212, 208, 200),
      Rgb(255, 255, 255), Rgb(64, 64, 64),    Rgb(212, 208, 200), Rgb(0, 0, 0),
      Rgb(255, 255, 225), Rgb(181, 181, 181), Rgb(0, 0, 128),     Rgb(166, 202, 240),
      Rgb(192, 192, 192), Rgb(10, 36, 106),   Rgb(212, 208, 200),
  };
  unsigned index = static_cast<unsigned>(c) & 0xFF;
  if (index < sizeof(kClassic) / sizeof(kClassic[0])) return kClassic[index];
  return Rgb(0, 0, 0);
}

}  // namespace platform
