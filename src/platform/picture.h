#pragma once
// Pictures from files, by extension, as the programs load them: ".bmp", ".jpg"/".jpeg",
// ".gif" (first frame; LoadGifAnimation for all), ".ico" (the largest image), ".wmf"/".emf"
// (rendered at their own size), ".png" is not read. A file that cannot be read raises
// FileError; one that cannot be decoded raises LoadError with a clear text.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "platform/gif_codec.h"
#include "platform/ico_codec.h"
#include "platform/jpeg_codec.h"
#include "platform/metafile.h"
#include "platform/png_writer.h"

namespace platform {

// Decoders refuse pictures larger than this in either direction or in pixel count.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

// The picture of a file (system path, GBK): 24-bit, or 32-bit when the file carries alpha
// or transparency (32-bit BMP, GIF with a transparent colour, ICO with a mask). 8-bit files
// are converted to 24-bit.
std::unique_ptr<Bitmap> LoadPicture(std::string_view path);
// The same from bytes, with the extension (".bmp") choosing the decoder.
std::unique_ptr<Bitmap> DecodePicture(std::span<const uint8_t> data, std::string_view ext);

// What a picture file holds, without keeping its pixels.
struct PictureInfo {
  std::string format;  // "BMP", "JPEG", "GIF", "ICO", "WMF", "EMF", "PNG"
  int width = 0, height = 0;
  int frames = 1;      // GIF frames, ICO images
  int bitsPerPixel = 0;
  bool progressive = false;  // JPEG
  bool interlaced = false;   // GIF: any frame interlaced
};
// Recognised by content (not extension); LoadError when the bytes are no known picture.
PictureInfo ProbePicture(std::span<const uint8_t> data);

// The whole file's bytes; FileError with the platform's text when it cannot be read.
std::string ReadPictureFile(std::string_view path);

}  // namespace platform
