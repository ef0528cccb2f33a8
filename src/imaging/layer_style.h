#pragma once
// The parameter records of the layer style effects. They are both the in-memory parameters of
// a layer and, byte for byte, the records of the newest style file version, so their layout is
// fixed (little-endian, explicit padding). Colours are platform colours (0x00BBGGRR).
#include <cstddef>
#include <cstdint>

namespace imaging {

// Packed, so that no padding appears but the listed bytes; aligned, so that every field sits at
// its natural alignment wherever a record is held.
#pragma pack(push, 1)

struct alignas(4) TContourPoint {
  int32_t x = 0, y = 0;
};

constexpr int kContourPoints = 51;
constexpr int kContourTable = 257;  // entries 0..255 are used

// Drop shadow and inner shadow.
struct alignas(4) TShadowStyle {
  uint8_t blendMode = 0;
  uint8_t pad1[3] = {};
  int32_t color = 0;
  uint8_t opacity = 0;        // percent, 0..100
  uint8_t pad9[3] = {};
  int32_t reserved12 = 0;
  int32_t reserved16 = 0;
  int32_t spread = 0;         // pixels; the choke for the inner shadow
  int32_t size = 0;           // pixels
  int32_t reserved28 = 0;
  int32_t originX = 0;        // mask left edge relative to the layer's Left: displacement - 2 max(spread, size)
  int32_t originY = 0;
  int32_t reserved40 = 0;
  uint8_t contourOn = 0;
  uint8_t pad45[3] = {};
  int32_t contourCount = 0;
  TContourPoint contour[kContourPoints] = {};
  uint8_t contourTable[kContourTable] = {};
  uint8_t pad717[3] = {};
  int32_t reserved720 = 0;
  int32_t reserved724 = 0;
};

// Outer glow and inner glow.
struct alignas(4) TGlowStyle {
  uint8_t blendMode = 0;
  uint8_t pad1[3] = {};
  int32_t color = 0;
  uint8_t opacity = 0;        // percent
  uint8_t reserved9 = 0;
  uint8_t reserved10 = 0;
  uint8_t pad11 = 0;
  int32_t spread = 0;         // pixels; the choke for the inner glow
  int32_t size = 0;           // pixels
  uint8_t reserved20 = 0;
  uint8_t reserved21 = 0;
  uint8_t pad22[2] = {};
  int32_t originX = 0;        // -2 max(spread, size)
  int32_t originY = 0;
  int32_t reserved32 = 0;
  uint8_t contourOn = 0;
  uint8_t pad37[3] = {};
  int32_t contourCount = 0;
  TContourPoint contour[kContourPoints] = {};
  uint8_t contourTable[kContourTable] = {};
  uint8_t pad709[3] = {};
  int32_t reserved712 = 0;
  int32_t reserved716 = 0;
};

enum BevelStyleKind : uint8_t { kInnerBevel = 0, kOuterBevel = 1 };

struct alignas(4) TBevelStyle {
  uint8_t style = 0;          // 0 inner bevel, 1 outer bevel, others draw nothing
  uint8_t reserved1[3] = {};
  int32_t size = 0;           // pixels
  int32_t reserved8 = 0;
  int32_t reserved12 = 0;
  int32_t reserved16 = 0;
  uint8_t reserved20 = 0;
  uint8_t highlightBlendMode = 0;
  uint8_t highlightOpacity = 0;  // percent
  uint8_t pad23 = 0;
  int32_t highlightColor = 0;
  uint8_t shadowBlendMode = 0;
  uint8_t shadowOpacity = 0;     // percent
  uint8_t pad30[2] = {};
  int32_t shadowColor = 0;
  int32_t choke = 0;          // pixels
  int32_t highlightOriginX = 0;  // highlight displacement - 2 max(size, choke)
  int32_t highlightOriginY = 0;
  int32_t shadowOriginX = 0;     // -highlight displacement - 2 max(size, choke)
  int32_t shadowOriginY = 0;
  uint8_t contourOn = 0;
  uint8_t pad57[3] = {};
  int32_t contourCount = 0;
  TContourPoint contour[kContourPoints] = {};
  uint8_t contourTable[kContourTable] = {};
  uint8_t pad729[3] = {};
  int32_t reserved732 = 0;
  int32_t reserved736 = 0;
};

enum StrokePosition : uint8_t { kStrokeOutside = 0, kStrokeInside = 1, kStrokeCentre = 2 };

struct alignas(4) TStrokeStyle {
  uint8_t blendMode = 0;
  uint8_t pad1[3] = {};
  int32_t size = 0;           // pixels
  int32_t softness = 0;       // pixels
  uint8_t opacity = 0;        // percent
  uint8_t position = 0;       // 0 outside, 1 inside, 2 centre
  uint8_t pad14[2] = {};
  int32_t color = 0;          // used when the stroke gradient is off
  int32_t originX = 0;        // -2 (size + softness)
  int32_t originY = 0;
  uint8_t contourOn = 0;
  uint8_t pad29[3] = {};
  int32_t contourCount = 0;
  TContourPoint contour[kContourPoints] = {};
  uint8_t contourTable[kContourTable] = {};
  uint8_t pad701[3] = {};
  int32_t reserved704 = 0;
  int32_t reserved708 = 0;
};

struct alignas(4) TColorOverlayStyle {
  uint8_t blendMode = 0;
  uint8_t pad1[3] = {};
  int32_t color = 0;
  uint8_t opacity = 0;        // percent
  uint8_t reserved9[7] = {};
};

struct alignas(8) TGradientStop {
  int32_t color = 0;
  uint8_t reserved4[4] = {};
  double fraction = 0;        // run to the next stop as a share of the gradient's length
};

constexpr int kMaxGradientStops = 51;

struct alignas(8) TGradientFillStyle {
  uint8_t blendMode = 0;      // gradient overlay only; the stroke gradient uses the stroke's
  uint8_t type = 0;           // 0 horizontal, 1 vertical, 2 rectangular, 3 elliptical, 4 angled
  uint8_t opacity = 0;        // percent, gradient overlay only
  uint8_t pad3[5] = {};
  int32_t stopCount = 0;      // 2..51
  uint8_t reverse = 0;
  uint8_t pad13[3] = {};
  int32_t angle = 0;          // degrees 0..360, type 4
  uint8_t pad20[4] = {};
  TGradientStop stops[kMaxGradientStops] = {};
};

struct alignas(4) TPatternOverlayStyle {
  uint8_t blendMode = 0;
  uint8_t opacity = 0;        // percent
  uint8_t pad2[2] = {};
  int32_t streamSize = 0;     // bytes of the bitmap file that follows in a style file
};

#pragma pack(pop)

static_assert(sizeof(TContourPoint) == 8 && alignof(TShadowStyle) == 4 && alignof(TGradientFillStyle) == 8);
static_assert(sizeof(TShadowStyle) == 728 && offsetof(TShadowStyle, contour) == 52 &&
              offsetof(TShadowStyle, contourTable) == 460 && offsetof(TShadowStyle, reserved720) == 720);
static_assert(sizeof(TGlowStyle) == 720 && offsetof(TGlowStyle, originX) == 24 &&
              offsetof(TGlowStyle, contour) == 44 && offsetof(TGlowStyle, contourTable) == 452 &&
              offsetof(TGlowStyle, reserved712) == 712);
static_assert(sizeof(TBevelStyle) == 740 && offsetof(TBevelStyle, highlightColor) == 24 &&
              offsetof(TBevelStyle, choke) == 36 && offsetof(TBevelStyle, contourOn) == 56 &&
              offsetof(TBevelStyle, contour) == 64 && offsetof(TBevelStyle, contourTable) == 472 &&
              offsetof(TBevelStyle, reserved732) == 732);
static_assert(sizeof(TStrokeStyle) == 712 && offsetof(TStrokeStyle, color) == 16 &&
              offsetof(TStrokeStyle, contourOn) == 28 && offsetof(TStrokeStyle, contour) == 36 &&
              offsetof(TStrokeStyle, contourTable) == 444 && offsetof(TStrokeStyle, reserved704) == 704);
static_assert(sizeof(TColorOverlayStyle) == 16);
static_assert(sizeof(TGradientStop) == 16);
static_assert(sizeof(TGradientFillStyle) == 840 && offsetof(TGradientFillStyle, stopCount) == 8 &&
              offsetof(TGradientFillStyle, angle) == 16 && offsetof(TGradientFillStyle, stops) == 24);
static_assert(sizeof(TPatternOverlayStyle) == 8);

// Lengths of the short records of versions 0x0100..0x0102: the head of the full record up to
// the contour switch, then the two trailing reserved ints.
constexpr int kShadowShortHead = 44, kGlowShortHead = 36, kBevelShortHead = 56, kStrokeShortHead = 28;

}  // namespace imaging
