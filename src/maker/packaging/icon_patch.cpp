#include "maker/packaging/icon_patch.h"

#include <cstdlib>

#include "maker/packaging/build_report.h"
#include "maker/packaging/pe_icon.h"
#include "maker/packaging/side_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace packaging {

void RemoveIconWorkFiles() {
  platform::files::DeleteFile(WorkFile(kIconTailFile));
  platform::files::DeleteFile(WorkFile(kIconCopyFile));
  platform::files::DeleteFile(WorkFile(kFormCopyFile));
}


namespace {

uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t Le16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

}  // namespace

bool UsesReplacementIcon(std::string_view iconPath) {
  if (iconPath.empty() || !platform::files::FileExists(iconPath)) return false;
  return platform::AsciiLower(platform::paths::ExtractFileName(iconPath)) != "icon26.ico";
}

std::optional<std::string> IconImageTail(std::string_view b) {
  if (b.size() < 60) return {};
  size_t at = b.find(kIconHeaderStart, 2);  // the nine bytes end at position 10 or later
  if (at == std::string_view::npos) return {};
  return std::string(b.substr(at + kIconHeaderStart.size()));
}

std::optional<IconPixels> DecodeIconDib(std::string_view b) {
  if (b.size() < 40) return {};
  uint32_t headerSize = Le32(b, 0);
  int32_t width = static_cast<int32_t>(Le32(b, 4));
  int32_t height2 = static_cast<int32_t>(Le32(b, 8));
  uint16_t bpp = Le16(b, 14);
  uint32_t compression = Le32(b, 16);
  uint32_t clrUsed = Le32(b, 32);
  if (headerSize < 40 || headerSize > b.size() || compression != 0) return {};
  if (width <= 0 || width > 1024 || height2 <= 0 || height2 > 2048 || height2 % 2) return {};
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
  const int w = width, h = height2 / 2;
  size_t paletteCount = bpp <= 8 ? (clrUsed && clrUsed <= (1u << bpp) ? clrUsed : 1u << bpp) : 0;
  size_t at = headerSize;
  if (b.size() - at < paletteCount * 4) return {};
  std::string_view palette = b.substr(at, paletteCount * 4);
  at += paletteCount * 4;
  size_t xorStride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  if (b.size() - at < xorStride * h) return {};
  std::string_view bits = b.substr(at, xorStride * h);
  at += xorStride * h;
  bool hasMask = b.size() - at >= andStride * h;
  if (!hasMask && bpp != 32) return {};
  std::string_view mask = hasMask ? b.substr(at, andStride * h) : std::string_view();

  IconPixels px{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  bool anyAlpha = false;
  for (int y = 0; y < h; ++y) {
    std::string_view row = bits.substr(static_cast<size_t>(h - 1 - y) * xorStride, xorStride);
    for (int x = 0; x < w; ++x) {
      uint32_t argb;
      if (bpp >= 24) {
        const size_t p = static_cast<size_t>(x) * (bpp / 8);
        uint32_t bl = static_cast<unsigned char>(row[p]), g = static_cast<unsigned char>(row[p + 1]),
                 r = static_cast<unsigned char>(row[p + 2]);
        uint32_t a = bpp == 32 ? static_cast<unsigned char>(row[p + 3]) : 255;
        if (bpp == 32 && a) anyAlpha = true;
        argb = a << 24 | r << 16 | g << 8 | bl;
      } else {
        size_t bit = static_cast<size_t>(x) * bpp;
        unsigned byte = static_cast<unsigned char>(row[bit / 8]);
        unsigned index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        if (index >= paletteCount) index = 0;
        argb = 0xFF000000u | static_cast<uint32_t>(static_cast<unsigned char>(palette[index * 4 + 2])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(palette[index * 4 + 1])) << 8 |
               static_cast<unsigned char>(palette[index * 4]);
      }
      px.argb[static_cast<size_t>(y) * w + x] = argb;
    }
  }
  // Images without an alpha channel take their transparency from the AND mask.
  if (!anyAlpha && hasMask) {
    for (int y = 0; y < h; ++y) {
      std::string_view row = mask.substr(static_cast<size_t>(h - 1 - y) * andStride, andStride);
      for (int x = 0; x < w; ++x) {
        bool transparent = (static_cast<unsigned char>(row[x / 8]) >> (7 - x % 8)) & 1;
        uint32_t& p = px.argb[static_cast<size_t>(y) * w + x];
        p = transparent ? 0 : (p | 0xFF000000u);
      }
    }
  } else if (!anyAlpha) {
    for (uint32_t& p : px.argb) p |= 0xFF000000u;
  }
  return px;
}

std::optional<std::string> MakeIcon32Copy(std::string_view b) {
  if (b.size() < 6 || Le16(b, 0) != 0 || Le16(b, 2) != 1) return {};
  const size_t count = Le16(b, 4);
  if (count == 0 || b.size() < 6 + 16 * count) return {};
  // The readable image whose size is nearest to 32x32; the deeper one on a tie.
  std::optional<IconPixels> best;
  int bestDistance = 0, bestDepth = 0;
  for (size_t i = 0; i < count; ++i) {
    size_t e = 6 + 16 * i;
    uint32_t size = Le32(b, e + 8), offset = Le32(b, e + 12);
    if (offset > b.size() || size > b.size() - offset) continue;
    auto px = DecodeIconDib(b.substr(offset, size));
    if (!px) continue;
    int distance = std::abs(px->width - 32) + std::abs(px->height - 32);
    int depth = Le16(b.substr(offset), 14);
    if (!best || distance < bestDistance || (distance == bestDistance && depth > bestDepth)) {
      best = std::move(px);
      bestDistance = distance;
      bestDepth = depth;
    }
  }
  if (!best) return {};

  constexpr int kSide = 32;
  constexpr uint32_t kBits = kSide * kSide * 4, kMask = kSide * 4;
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out += static_cast<char>(kSide);
  out += static_cast<char>(kSide);
  out += '\0';  // colour count
  out += '\0';
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 40 + kBits + kMask);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, kSide);
  Put32(out, kSide * 2);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, kBits + kMask);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  std::string mask(kMask, '\0');
  for (int y = kSide - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < kSide; ++x) {
      int sx = x * best->width / kSide, sy = y * best->height / kSide;
      uint32_t p = best->argb[static_cast<size_t>(sy) * best->width + sx];
      Put32(out, p & 0xFF000000u ? p : 0);
      if ((p >> 24) < 128) mask[(kSide - 1 - y) * 4 + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
  }
  out += mask;
  return out;
}

bool PrepareIconTail(std::string_view iconPath, std::string_view tailPath, std::string_view copyPath) {
  namespace files = platform::files;
  std::optional<std::string> icon = files::ReadFile(iconPath);
  if (!icon) return false;
  std::optional<std::string> tail = IconImageTail(*icon);
  if (!tail) {
    std::optional<std::string> copy = MakeIcon32Copy(*icon);
    if (!copy || !files::WriteFileAtomic(copyPath, *copy)) return false;
    std::optional<std::string> reread = files::ReadFile(copyPath);
    if (reread) tail = IconImageTail(*reread);
    if (!tail) return false;
  }
  return files::WriteFileAtomic(tailPath, *tail);
}

uint64_t StubImageEnd(std::string_view stubPath) {
  const std::optional<std::string> stub = platform::files::ReadFile(stubPath);
  return stub ? PeImageEnd(*stub).value_or(0) : 0;
}

}  // namespace packaging
