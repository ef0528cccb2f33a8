#pragma once
// Layer style files (".style"): a 14-byte header ("LayerStyle", version 0x0100..0x0103) and the
// layer's opacity, blend mode and effect records. Versions before 0x0103 carry short records
// without contours; 0x0101 adds the spare block, gradient overlay and pattern overlay, 0x0102 the
// stroke gradient.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/layer_style.h"

namespace imaging {

constexpr uint16_t kStyleVersionFirst = 0x0100;
constexpr uint16_t kStyleVersionLast = 0x0103;
constexpr size_t kStyleHeaderSize = 14;

// The whole content of a style file. Switch bytes are kept as read (non-zero means on).
struct StyleFile {
  uint16_t version = kStyleVersionLast;
  uint8_t headerUnused = 0;
  double opacity = 1.0;
  uint8_t blendMode = 0;
  uint8_t effectsKeepOpacity = 0;
  uint8_t dropShadowOn = 0;     TShadowStyle dropShadow;
  uint8_t innerShadowOn = 0;    TShadowStyle innerShadow;
  uint8_t innerGlowOn = 0;      TGlowStyle innerGlow;
  uint8_t outerGlowOn = 0;      TGlowStyle outerGlow;
  uint8_t bevelOn = 0;          TBevelStyle bevel;
  uint8_t strokeOn = 0;         TStrokeStyle stroke;
  uint8_t colorOverlayOn = 0;   TColorOverlayStyle colorOverlay;
  uint8_t spareByte = 0;        uint8_t spare[48] = {};
  uint8_t gradientOverlayOn = 0; TGradientFillStyle gradientOverlay;
  uint8_t strokeGradientOn = 0;  TGradientFillStyle strokeGradient;
  uint8_t patternOn = 0;        TPatternOverlayStyle pattern;
  std::string patternBytes;     // the bitmap file, when the pattern switch is on
};

enum class StyleParse { Ok, NotAStyleFile, VersionTooNew, Malformed };

// Reads a style file's bytes over `style`: fields a version does not carry, and the contour
// parts of short records, keep what `style` held. Short or inconsistent files give Malformed.
StyleParse ParseStyleFile(std::string_view bytes, StyleFile& style);

// The bytes of a style file of style.version (short records before 0x0103). The pattern
// stream size is taken from patternBytes.
std::string WriteStyleFile(const StyleFile& style);

// The texts of the box shown for a style file of an unknown version.
extern const char kStyleTooNewText[];
extern const char kStyleTooNewCaption[];

}  // namespace imaging
