#include "platform/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "platform/error.h"
#include "platform/picture.h"

namespace platform {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the
// decoder's frame, which holds no objects with destructors between setjmp and the jump.
struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  int code = 0;
  char text[JMSG_LENGTH_MAX] = {};
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->code = err->pub.msg_code;
  (*cinfo->err->format_message)(cinfo, err->text);
  longjmp(err->jump, 1);
}
void SilentMessage(j_common_ptr, int) {}

// A progressive stream with thousands of scans is a denial of service, not a picture.
constexpr int kMaxScans = 1000;
struct ScanLimit {
  jpeg_progress_mgr pub;
};
void ProgressMonitor(j_common_ptr cinfo) {
  if (cinfo->is_decompressor) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
      cinfo->err->msg_code = 0;  // reported as a generic failure
      ErrorExit(cinfo);
    }
  }
}

std::string ErrorText(const ErrorManager& e) { return "JPEG error #" + std::to_string(e.code) + " (" + e.text + ")"; }

}  // namespace

bool ProbeJpeg(std::span<const uint8_t> data, JpegInfo& info) {
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = SilentMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  info.width = static_cast<int>(cinfo.image_width);
  info.height = static_cast<int>(cinfo.image_height);
  info.components = cinfo.num_components;
  info.progressive = jpeg_has_multiple_scans(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

namespace {

// State that must survive a jump out of libjpeg lives outside the frame that calls setjmp.
struct DecodeState {
  std::span<const uint8_t> data;
  std::unique_ptr<Bitmap> out;
  std::vector<uint8_t> cmykRow;
  std::string error;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  ScanLimit limit;
};

void Decode(DecodeState* st) {
  jpeg_decompress_struct* cinfo = &st->cinfo;
  cinfo->err = jpeg_std_error(&st->err.pub);
  st->err.pub.error_exit = ErrorExit;
  st->err.pub.emit_message = SilentMessage;
  if (setjmp(st->err.jump)) {
    jpeg_destroy_decompress(cinfo);
    st->out.reset();
    st->error = ErrorText(st->err);
    return;
  }
  jpeg_create_decompress(cinfo);
  st->limit.pub.progress_monitor = ProgressMonitor;
  cinfo->progress = &st->limit.pub;
  jpeg_mem_src(cinfo, st->data.data(), static_cast<unsigned long>(st->data.size()));
  jpeg_read_header(cinfo, TRUE);
  const long long w = cinfo->image_width, h = cinfo->image_height;
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide || w * h > kMaxPicturePixels) {
    jpeg_destroy_decompress(cinfo);
    st->error = "JPEG error #42 (Maximum supported image dimension exceeded)";
    return;
  }
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(cinfo);
  st->out = Bitmap::Create(static_cast<int>(w), static_cast<int>(h), PixelFormat::Bgr24);
  if (!st->out) {
    jpeg_destroy_decompress(cinfo);
    st->error = "JPEG error #54 (Insufficient memory)";
    return;
  }
  if (cmyk) st->cmykRow.resize(static_cast<size_t>(w) * 4);
  while (cinfo->output_scanline < cinfo->output_height) {
    uint8_t* row = st->out->Row(static_cast<int>(cinfo->output_scanline));
    JSAMPROW rows[1] = {cmyk ? st->cmykRow.data() : row};
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) break;
    if (cmyk) {
      // Adobe writes CMYK inverted: the stored values are 255 - ink.
      const bool inverted = cinfo->saw_Adobe_marker;
      const uint8_t* k4 = st->cmykRow.data();
      for (long long x = 0; x < w; ++x) {
        int c = k4[4 * x], m = k4[4 * x + 1], y = k4[4 * x + 2], k = k4[4 * x + 3];
        if (!inverted) { c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k; }
        row[3 * x + 0] = static_cast<uint8_t>(y * k / 255);
        row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
        row[3 * x + 2] = static_cast<uint8_t>(c * k / 255);
      }
    }
  }
  // Rows the stream did not deliver (a cut file) stay black; the picture is still shown.
  jpeg_abort_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
}

struct EncodeState {
  const Bitmap* src = nullptr;
  int quality = 85;
  bool progressive = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::string error;
  jpeg_compress_struct cinfo;
  ErrorManager err;
};

void Encode(EncodeState* st) {
  jpeg_compress_struct* cinfo = &st->cinfo;
  cinfo->err = jpeg_std_error(&st->err.pub);
  st->err.pub.error_exit = ErrorExit;
  st->err.pub.emit_message = SilentMessage;
  if (setjmp(st->err.jump)) {
    jpeg_destroy_compress(cinfo);
    st->error = ErrorText(st->err);
    return;
  }
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, &st->buffer, &st->size);
  cinfo->image_width = static_cast<JDIMENSION>(st->src->Width());
  cinfo->image_height = static_cast<JDIMENSION>(st->src->Height());
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, std::clamp(st->quality, 1, 100), TRUE);
  if (st->progressive) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW rows[1] = {const_cast<uint8_t*>(st->src->Row(static_cast<int>(cinfo->next_scanline)))};
    jpeg_write_scanlines(cinfo, rows, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
}

}  // namespace

std::unique_ptr<Bitmap> DecodeJpeg(std::span<const uint8_t> data) {
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) throw LoadError("JPEG error #53 (Not a JPEG file)");
  auto st = std::make_unique<DecodeState>();
  st->data = data;
  Decode(st.get());
  if (!st->error.empty()) throw LoadError(st->error);
  return std::move(st->out);
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality, bool progressive) {
  std::unique_ptr<Bitmap> converted;
  auto st = std::make_unique<EncodeState>();
  st->src = &bitmap;
  if (bitmap.Format() != PixelFormat::Bgr24) {
    converted = bitmap.ConvertTo(PixelFormat::Bgr24);
    if (!converted) throw LoadError("JPEG error #54 (Insufficient memory)");
    st->src = converted.get();
  }
  st->quality = quality;
  st->progressive = progressive;
  Encode(st.get());
  std::vector<uint8_t> result;
  if (st->error.empty()) result.assign(st->buffer, st->buffer + st->size);
  free(st->buffer);
  if (!st->error.empty()) throw LoadError(st->error);
  return result;
}

}  // namespace platform
