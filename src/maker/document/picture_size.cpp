#include "maker/document/picture_size.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace document {

namespace {

PictureMeasurer& Installed() {
  static PictureMeasurer m;
  return m;
}

uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
int Le16(std::string_view b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
int Be16(std::string_view b, size_t at) {
  return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]);
}

bool JpegSize(std::string_view b, PictureSize& s) {
  size_t i = 2;
  while (i + 9 < b.size()) {
    if (static_cast<unsigned char>(b[i]) != 0xFF) return false;
    unsigned char m = static_cast<unsigned char>(b[i + 1]);
    if (m == 0xFF) { ++i; continue; }
    if (m == 0xD8 || (m >= 0xD0 && m <= 0xD7) || m == 0x01) { i += 2; continue; }
    int len = Be16(b, i + 2);
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      s.height = Be16(b, i + 5);
      s.width = Be16(b, i + 7);
      return s.width > 0 && s.height > 0;
    }
    if (len < 2) return false;
    i += 2 + static_cast<size_t>(len);
  }
  return false;
}

// Metafile sizes at the screen's 96 pixels per inch.
constexpr int kDpi = 96;

// A size read from a header, kept only when both sides are positive and fit an int.
bool Fits(long long w, long long h, PictureSize& s) {
  if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return false;
  s.width = static_cast<int>(w);
  s.height = static_cast<int>(h);
  return true;
}

}  // namespace

PictureSize ReadPictureHeaderSize(std::string_view path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(platform::paths::ToHost(path).c_str(), "rb"),
                                                     &std::fclose);
  if (!in) {
    throw platform::LoadError("Cannot open file \"" + std::string(path) + "\". 系统找不到指定的文件。");
  }
  // Headers sit at the start; a JPEG's frame header may follow large metadata blocks, so a
  // JPEG longer than the first block is read further.
  std::string b(4096, '\0');
  b.resize(std::fread(b.data(), 1, b.size(), in.get()));
  if (b.size() == 4096 && static_cast<unsigned char>(b[0]) == 0xFF) {
    std::string more(256 * 1024, '\0');
    b.append(more, 0, std::fread(more.data(), 1, more.size(), in.get()));
  }
  return PictureHeaderSize(b, path);
}

PictureSize PictureHeaderSize(std::string_view b, std::string_view path) {
  PictureSize s;
  if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
    if (Le32(b, 14) == 12) {
      s.width = Le16(b, 18);
      s.height = Le16(b, 20);
    } else {
      // A negative height is a top-down bitmap.
      const long long h = static_cast<int32_t>(Le32(b, 22));
      if (Fits(static_cast<int32_t>(Le32(b, 18)), h < 0 ? -h : h, s)) return s;
    }
    if (s.width > 0 && s.height > 0) return s;
  } else if (b.size() >= 10 && b.compare(0, 3, "GIF") == 0) {
    s.width = Le16(b, 6);
    s.height = Le16(b, 8);
    if (s.width > 0 && s.height > 0) return s;
  } else if (b.size() >= 4 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xD8) {
    if (JpegSize(b, s)) return s;
  } else if (b.size() >= 44 && Le32(b, 0) == 1 && b.compare(40, 4, " EMF") == 0) {
    // rclFrame in hundredths of a millimetre.
    const long long w = static_cast<long long>(static_cast<int32_t>(Le32(b, 32))) - static_cast<int32_t>(Le32(b, 24));
    const long long h = static_cast<long long>(static_cast<int32_t>(Le32(b, 36))) - static_cast<int32_t>(Le32(b, 28));
    if (Fits(w * kDpi / 2540, h * kDpi / 2540, s)) return s;
  } else if (b.size() >= 22 && Le32(b, 0) == 0x9AC6CDD7u) {
    // Placeable metafile: bounding box in metafile units, units per inch.
    int w = static_cast<int16_t>(Le16(b, 10)) - static_cast<int16_t>(Le16(b, 6));
    int h = static_cast<int16_t>(Le16(b, 12)) - static_cast<int16_t>(Le16(b, 8));
    int inch = Le16(b, 14);
    if (inch > 0) {
      s.width = w * kDpi / inch;
      s.height = h * kDpi / inch;
      if (s.width > 0 && s.height > 0) return s;
    }
  }
  std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  if (ext != ".jpg" && ext != ".jpeg" && ext != ".bmp" && ext != ".gif" && ext != ".emf" && ext != ".wmf") {
    throw platform::LoadError("Unknown picture file extension (" + ext + ")");
  }
  throw platform::LoadError("Bitmap image is not valid");
}

PictureSize MeasurePicture(std::string_view path) {
  const PictureMeasurer& m = Installed();
  return m ? m(path) : ReadPictureHeaderSize(path);
}

PictureMeasurer SetPictureMeasurer(PictureMeasurer measurer) {
  PictureMeasurer old = std::move(Installed());
  Installed() = std::move(measurer);
  return old;
}

}  // namespace document
