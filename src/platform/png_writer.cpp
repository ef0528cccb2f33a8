#include "platform/png_writer.h"

#include <csetjmp>
#include <string>

#include <png.h>

#include "platform/error.h"
#include "platform/files.h"

namespace platform {

namespace {

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  v->insert(v->end(), data, data + length);
}
void Flush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const Bitmap& b) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) throw FileError("Out of memory while writing PNG");
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw FileError("Cannot write PNG picture");
  }
  png_set_write_fn(png, &out, WriteToVector, Flush);
  const int type = b.Format() == PixelFormat::Indexed8 ? PNG_COLOR_TYPE_PALETTE
                   : b.Format() == PixelFormat::Bgr24  ? PNG_COLOR_TYPE_RGB
                                                       : PNG_COLOR_TYPE_RGB_ALPHA;
  png_set_IHDR(png, info, static_cast<png_uint_32>(b.Width()), static_cast<png_uint_32>(b.Height()), 8, type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  if (type == PNG_COLOR_TYPE_PALETTE) {
    for (int k = 0; k < 256; ++k) {
      const PaletteEntry& e = b.GetPalette()[static_cast<size_t>(k)];
      palette[k] = {e.r, e.g, e.b};
    }
    png_set_PLTE(png, info, palette, 256);
  }
  png_write_info(png, info);
  if (type != PNG_COLOR_TYPE_PALETTE) png_set_bgr(png);
  for (int y = 0; y < b.Height(); ++y) png_write_row(png, const_cast<png_bytep>(b.Row(y)));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

void SavePng(const Bitmap& bitmap, std::string_view path) {
  const std::vector<uint8_t> bytes = EncodePng(bitmap);
  if (!files::WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
    throw FileError("Cannot create file \"" + std::string(path) + "\"");
}

}  // namespace platform
