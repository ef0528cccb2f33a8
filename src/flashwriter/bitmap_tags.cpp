#include "flashwriter/bitmap_tags.h"

#include <cstdio>
#include <csetjmp>
#include <unordered_set>

#include <jpeglib.h>

namespace flashwriter {

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) {
  longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void AppendLossless(Bytes& out, int id, const Image& img) {
  // Format 5: 32 bits a pixel; the plain tag ignores the first byte, the alpha tag reads it
  // as premultiplied alpha.
  bool alpha = !img.opaque;
  Bytes raw(static_cast<size_t>(img.width) * img.height * 4);
  for (size_t i = 0, n = raw.size(); i < n; i += 4) {
    raw[i] = alpha ? img.rgba[i + 3] : 0;
    raw[i + 1] = img.rgba[i];
    raw[i + 2] = img.rgba[i + 1];
    raw[i + 3] = img.rgba[i + 2];
  }
  SwfBuffer b;
  b.U16(id);
  b.U8(5);
  b.U16(img.width);
  b.U16(img.height);
  b.Append(Deflate(raw.data(), raw.size(), 6));
  WriteTag(out, alpha ? kTagDefineBitsLossless2 : kTagDefineBitsLossless, b, true);
}

}  // namespace

bool HasManyColors(const Image& image) {
  std::unordered_set<uint32_t> seen;
  const uint8_t* p = image.rgba.data();
  for (size_t i = 0, n = image.rgba.size(); i < n; i += 4) {
    uint32_t v = p[i] | (p[i + 1] << 8) | (p[i + 2] << 16) | (uint32_t(p[i + 3]) << 24);
    if (seen.insert(v).second && seen.size() > 256) return true;
  }
  return false;
}

Bytes EncodeJpegRgb(const Image& image, int quality) {
  jpeg_compress_struct cinfo;
  JpegError err;
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return {};
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &mem, &memSize);
  cinfo.image_width = image.width;
  cinfo.image_height = image.height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = image.rgba.data() + static_cast<size_t>(cinfo.next_scanline) * image.width * 4;
    for (int x = 0; x < image.width; ++x) {
      row[3 * x] = src[4 * x];
      row[3 * x + 1] = src[4 * x + 1];
      row[3 * x + 2] = src[4 * x + 2];
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(mem, mem + memSize);
  jpeg_destroy_compress(&cinfo);
  free(mem);
  return out;
}

void AppendBitmapTag(Bytes& out, int id, const Image& image, bool preferJpeg, int jpegQuality) {
  if (preferJpeg && HasManyColors(image)) {
    Bytes jpeg = EncodeJpegRgb(image, jpegQuality);
    if (!jpeg.empty()) {
      SwfBuffer b;
      b.U16(id);
      if (image.opaque) {
        b.Append(jpeg);
        WriteTag(out, kTagDefineBitsJpeg2, b, true);
      } else {
        // The colours stay premultiplied; the alpha plane follows the JPEG data.
        b.U32(static_cast<uint32_t>(jpeg.size()));
        b.Append(jpeg);
        Bytes alpha(static_cast<size_t>(image.width) * image.height);
        for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = image.rgba[4 * i + 3];
        b.Append(Deflate(alpha.data(), alpha.size(), 6));
        WriteTag(out, kTagDefineBitsJpeg3, b, true);
      }
      return;
    }
  }
  AppendLossless(out, id, image);
}

}  // namespace flashwriter
