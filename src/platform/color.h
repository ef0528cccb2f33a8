#pragma once
// Colours are the platform's 32-bit values 0x00BBGGRR (red in the low byte), kept signed as
// the settings files store them. A system colour has 0xFF in the top byte and its index in the
// low byte; it is resolved to the classic default of that index when drawn.
#include <cstdint>

namespace platform {

using Color = int32_t;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return c & 0xFF; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Color c) { return (c >> 16) & 0xFF; }

constexpr bool IsSystemColor(Color c) { return (static_cast<uint32_t>(c) >> 24) == 0xFF; }
constexpr Color SystemColor(int index) { return static_cast<Color>(0xFF000000u | static_cast<uint32_t>(index)); }

// System colour indices used by the suite.
enum SystemColorIndex {
  kColorScrollBar = 0, kColorBackground = 1, kColorActiveCaption = 2, kColorInactiveCaption = 3,
  kColorMenu = 4, kColorWindow = 5, kColorWindowFrame = 6, kColorMenuText = 7, kColorWindowText = 8,
  kColorCaptionText = 9, kColorActiveBorder = 10, kColorInactiveBorder = 11, kColorAppWorkspace = 12,
  kColorHighlight = 13, kColorHighlightText = 14, kColorBtnFace = 15, kColorBtnShadow = 16,
  kColorGrayText = 17, kColorBtnText = 18, kColorInactiveCaptionText = 19, kColorBtnHighlight = 20,
  kColor3DDkShadow = 21, kColor3DLight = 22, kColorInfoText = 23, kColorInfoBk = 24,
};

// The framework's named colours that settings files contain.
constexpr Color kClBtnFace = SystemColor(kColorBtnFace);
constexpr Color kClInfoBk = SystemColor(kColorInfoBk);
constexpr Color kClWindow = SystemColor(kColorWindow);
constexpr Color kClWindowText = SystemColor(kColorWindowText);
constexpr Color kClBlack = Rgb(0, 0, 0);
constexpr Color kClWhite = Rgb(255, 255, 255);

// A plain RGB value for any colour: system colours become their classic defaults,
// other values lose their top byte.
Color ResolveColor(Color c);

}  // namespace platform
