#include "maker/transitions/ui/bitmap_image.h"

namespace widgets {

using platform::Bitmap;
using platform::PixelFormat;

QImage WrapBitmap(const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  switch (bitmap.Format()) {
    case PixelFormat::Bgr24:
      return QImage(bitmap.Data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
    case PixelFormat::Bgra32:
      return QImage(bitmap.Data(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_ARGB32);
    case PixelFormat::Indexed8:
      break;
  }
  return ToQImage(bitmap);
}

QImage ToQImage(const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  if (bitmap.Format() == PixelFormat::Indexed8) {
    QImage out(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    const platform::Palette& pal = bitmap.GetPalette();
    for (int y = 0; y < bitmap.Height(); ++y) {
      const uint8_t* s = bitmap.Row(y);
      auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < bitmap.Width(); ++x) d[x] = qRgb(pal[s[x]].r, pal[s[x]].g, pal[s[x]].b);
    }
    return out;
  }
  if (bitmap.Format() == PixelFormat::Bgr24) return WrapBitmap(bitmap).convertToFormat(QImage::Format_RGB32);
  return WrapBitmap(bitmap).copy();
}

}  // namespace widgets
