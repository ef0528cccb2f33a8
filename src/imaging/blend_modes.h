#pragma once
// BlendPixel: mixes one source colour into one 24-bit destination pixel (blue, green, red in
// memory) with a strength 0..1 in one of 33 blend modes (0 normal .. 32). Mode 0 goes through
// the shared M and A tables; modes 26..32 through seven custom 256 x 256 tables.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace imaging {

constexpr int kBlendModeCount = 33;

// Rounding as the pixel code uses it everywhere except in the M table: halves to even.
double RoundEven(double v);
inline int RoundInt(double v) { return static_cast<int>(RoundEven(v)); }

// The shared arithmetic tables, built once per process (BuildBlendTables is idempotent):
// M[i*256+j] = trunc(i*j/255 + 0.5), A[i*256+j] = min(255, i+j).
void BuildBlendTables();
const uint8_t* MulTable();
const uint8_t* AddTable();

// The tables of modes 26..32, indexed source * 256 + destination; all zero until loaded.
class CustomBlendTables {
 public:
  CustomBlendTables();
  // Table of mode k (26..32).
  uint8_t* Table(int mode) { return tables_[mode - 26].data(); }
  const uint8_t* Table(int mode) const { return tables_[mode - 26].data(); }
  // Fills table k from "<folder>k.mode" for k = 26..32 where that file exists: its first 65536
  // bytes overwrite the table (a shorter file overwrites only its length). Returns how many
  // files were read. folder is a system path with its trailing separator.
  int LoadFromFolder(const std::string& folder);

 private:
  std::array<std::vector<uint8_t>, 7> tables_;
};

// Source colour: 0x00RRGGBB. Returns false only when the colour-space modes fail inside.
// custom may be null (modes 26..32 then mix towards black, as with empty tables).
bool BlendPixel(uint8_t* pixel, int mode, float x, uint32_t color,
                const CustomBlendTables* custom = nullptr);

// Platform colour 0x00BBGGRR to the source order 0x00RRGGBB.
constexpr uint32_t ToSourceColor(int32_t platformColor) {
  uint32_t c = static_cast<uint32_t>(platformColor);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
// The colour of a 24/32-bit pixel (blue, green, red in memory) in source order.
inline uint32_t PixelSourceColor(const uint8_t* p) {
  return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Colour-space conversions of modes 18..21. RgbToHsl gives L and S in 0..100, H in 0..360.
struct Hsl {
  double l = 0, s = 0, h = 0;
};
Hsl RgbToHsl(int r, int g, int b);
// The system's own approximation back to RGB; any value out of range (H = 360 included) gives
// black. Channels in out[0..2] = red, green, blue.
void HslToRgb(double l, double s, double h, int out[3]);

// The pseudo-random source of mode 14 (dissolve): an integer 0..99.
int DissolveRandom();
void SeedDissolve(uint32_t seed);

}  // namespace imaging
