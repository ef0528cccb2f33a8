#pragma once
// TTextLayerInfo: the text description of a text layer, 2124 bytes in a fixed layout (the
// Flash wizard fills it and it is copied into the layer as a whole).
#include <cstddef>
#include <cstdint>
#include <string>

namespace imaging {

#pragma pack(push, 1)
struct alignas(4) TTextLayerInfo {
  char text[2001] = {};        // GBK, zero-ended, at most 2000 bytes; lines split by line breaks
  uint8_t fontName[101] = {};  // length byte, then up to 100 characters
  uint8_t pad2102[2] = {};
  int32_t color = 0;           // platform colour
  int32_t size = 0;            // >= 0 points, < 0 character height in pixels
  uint8_t bold = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  int16_t letterSpacing = 0;   // pixels
  int16_t lineSpacing = 0;     // pixels
  uint16_t mode = 0;           // 0: horizontal lines, left-aligned
  uint8_t smoothing = 0;       // 0 none, 1 twice, 2 three times, 3 four times the size
  uint8_t zero = 0;

  std::string Text() const;
  void SetText(const std::string& gbk);        // cut to 2000 bytes
  std::string FontName() const;
  void SetFontName(const std::string& gbk);    // cut to 100 bytes
};
#pragma pack(pop)

static_assert(sizeof(TTextLayerInfo) == 2124);
static_assert(offsetof(TTextLayerInfo, fontName) == 2001 && offsetof(TTextLayerInfo, color) == 2104 &&
              offsetof(TTextLayerInfo, size) == 2108 && offsetof(TTextLayerInfo, bold) == 2112 &&
              offsetof(TTextLayerInfo, letterSpacing) == 2116 && offsetof(TTextLayerInfo, lineSpacing) == 2118 &&
              offsetof(TTextLayerInfo, mode) == 2120 && offsetof(TTextLayerInfo, smoothing) == 2122);

}  // namespace imaging
