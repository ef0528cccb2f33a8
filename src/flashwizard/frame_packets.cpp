#include "flashwizard/frame_packets.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "flashwizard/flash_project.h"
#include "platform/bmp_codec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace flashwizard {

using platform::Bitmap;
using platform::PixelFormat;

int SheetRows(int n, int h) {
  if (n % 6 == 0 && 6 * h <= 2048) return 6;
  if (n % 5 == 0 && 5 * h <= 2048) return 5;
  if (n % 4 == 0 && 4 * h <= 2048) return 4;
  if (n % 3 == 0) return 3;
  if (n % 2 == 1) return 1;
  return 2;
}

FrameSheet BuildFrameSheet(const platform::GifAnimation& gif) {
  FrameSheet out;
  const int w = std::max(1, gif.width), h = std::max(1, gif.height);
  int n = static_cast<int>(std::min<size_t>(gif.frames.size(), kMaxSheetFrames));
  n = static_cast<int>(std::min<long long>(n, std::max(1LL, platform::kMaxPicturePixels / (static_cast<long long>(w) * h))));
  if (n <= 0) return out;
  const int rows = SheetRows(n, h), cols = n / rows;
  out.rows = rows;
  out.frameWidth = w;
  out.frameHeight = h;
  BitmapPtr sheet = Bitmap::Create(cols * w, rows * h, PixelFormat::Bgr24);
  if (!sheet) return out;
  sheet->Fill(platform::kClWhite);
  auto cellX = [&](int k) { return (k % cols) * w; };
  auto cellY = [&](int k) { return (k / cols) * h; };
  for (int k = 0; k < n; ++k) {
    const platform::GifFrame& f = gif.frames[k];
    int cx = cellX(k), cy = cellY(k);
    if (f.hasTransparent) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sheet->SetPixelColor(cx + x, cy + y, f.transparentColor);
    }
    if (k > 0 && (f.disposal != platform::GifDisposal::RestoreBackground || !f.hasControlBlock)) {
      int px = cellX(k - 1), py = cellY(k - 1);
      for (int y = 0; y < h; ++y)
        std::memcpy(sheet->Row(cy + y) + cx * 3, sheet->Row(py + y) + px * 3, static_cast<size_t>(w) * 3);
    }
    if (f.image) {
      for (int y = 0; y < f.image->Height(); ++y) {
        int ty = f.top + y;
        if (ty < 0 || ty >= h) continue;
        for (int x = 0; x < f.image->Width(); ++x) {
          int tx = f.left + x;
          if (tx < 0 || tx >= w || f.image->PixelAlpha(x, y) == 0) continue;
          sheet->SetPixelColor(cx + tx, cy + ty, f.image->PixelColor(x, y));
        }
      }
    }
    out.delays.push_back(n == 1 ? 10000 : f.hasControlBlock ? f.delay * 10 : 100);
  }
  if (gif.frames[0].hasTransparent) {
    BitmapPtr alpha = sheet->ConvertTo(PixelFormat::Bgra32);
    for (int k = 0; k < n; ++k) {
      const platform::GifFrame& f = gif.frames[k];
      if (!f.hasTransparent) continue;
      platform::Color tc = platform::ResolveColor(f.transparentColor);
      int cx = cellX(k), cy = cellY(k);
      for (int y = 0; y < h; ++y) {
        uint8_t* p = alpha->Row(cy + y) + cx * 4;
        for (int x = 0; x < w; ++x, p += 4)
          if (platform::Rgb(p[2], p[1], p[0]) == tc) p[3] = 0;
      }
    }
    sheet = std::move(alpha);
  }
  out.sheet = std::move(sheet);
  return out;
}

BitmapPtr ApplyOpacity(BitmapPtr bitmap, int opacity) {
  if (!bitmap || opacity >= 100) return bitmap;
  opacity = std::max(0, opacity);
  if (bitmap->Format() == PixelFormat::Bgra32) {
    for (int y = 0; y < bitmap->Height(); ++y) {
      uint8_t* p = bitmap->Row(y);
      for (int x = 0; x < bitmap->Width(); ++x, p += 4)
        p[3] = static_cast<uint8_t>(std::lround(p[3] * opacity / 100.0));
    }
    return bitmap;
  }
  BitmapPtr out = bitmap->ConvertTo(PixelFormat::Bgra32);
  uint8_t a = static_cast<uint8_t>(std::lround(opacity / 100.0 * 255));
  for (int y = 0; y < out->Height(); ++y) {
    uint8_t* p = out->Row(y);
    for (int x = 0; x < out->Width(); ++x, p += 4) p[3] = a;
  }
  return out;
}

void PremultiplyAlpha(Bitmap& bitmap) {
  if (bitmap.Format() != PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4)
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::lround(p[c] * p[3] / 255.0));
  }
}

Packet EncodePacket(const Bitmap& sheet, int frameWidth, int frameHeight, const std::vector<int>& delays) {
  Packet p;
  auto i32 = [&](int32_t v) { for (int i = 0; i < 4; ++i) p.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF)); };
  i32(frameWidth);
  i32(frameHeight);
  i32(static_cast<int32_t>(delays.size()));
  for (int d : delays) {
    uint16_t v = static_cast<uint16_t>(std::clamp(d, 0, 65535));
    p.push_back(v & 0xFF);
    p.push_back(v >> 8);
  }
  std::vector<uint8_t> bmp = platform::EncodeBmp(sheet);
  p.insert(p.end(), bmp.begin(), bmp.end());
  return p;
}

Packet MakeBitmapPacket(Bitmap& bitmap) {
  PremultiplyAlpha(bitmap);
  return EncodePacket(bitmap, bitmap.Width(), bitmap.Height(), {1});
}

bool MakeImagePacket(const std::string& file, int opacity, Packet& packet) {
  packet.clear();
  std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(file));
  try {
    if (ext == ".gif") {
      FrameSheet s = BuildFrameSheet(platform::LoadGifAnimation(file));
      if (!s.sheet) return false;
      BitmapPtr sheet = ApplyOpacity(std::move(s.sheet), opacity);
      PremultiplyAlpha(*sheet);
      packet = EncodePacket(*sheet, s.frameWidth, s.frameHeight, s.delays);
    } else if (ext == ".bmp") {
      BitmapPtr b = ApplyOpacity(platform::LoadPicture(file), opacity);
      if (!b) return false;
      PremultiplyAlpha(*b);
      packet = EncodePacket(*b, b->Width(), b->Height(), {100});
    } else if (ext == ".jpg" || ext == ".jpeg") {
      BitmapPtr b = platform::LoadPicture(file);
      if (!b) return false;
      if (opacity < 100) {
        b = ApplyOpacity(std::move(b), opacity);
        PremultiplyAlpha(*b);
      }
      packet = EncodePacket(*b, b->Width(), b->Height(), {100});
    } else if (ext == ".bmpex") {
      auto bytes = platform::files::ReadFile(file);
      if (!bytes) return false;
      packet.assign(bytes->begin(), bytes->end());
    }
    return true;
  } catch (const std::exception&) {
    packet.clear();
    return false;
  }
}

BitmapPtr CropToOpaque(const Bitmap& bitmap) {
  if (bitmap.Format() != PixelFormat::Bgra32) return bitmap.Clone();
  int left = bitmap.Width(), top = bitmap.Height(), right = -1, bottom = -1;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (p[4 * x + 3] != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  }
  if (right < 0) return bitmap.Clone();
  left = std::max(0, left - 1);
  top = std::max(0, top - 1);
  right = std::min(bitmap.Width() - 1, right + 1);
  bottom = std::min(bitmap.Height() - 1, bottom + 1);
  BitmapPtr out = Bitmap::Create(right - left + 1, bottom - top + 1, PixelFormat::Bgra32);
  for (int y = top; y <= bottom; ++y)
    std::memcpy(out->Row(y - top), bitmap.Row(y) + left * 4, static_cast<size_t>(out->Width()) * 4);
  return out;
}

namespace {
double CubicWeight(double t) {
  t = std::fabs(t);
  if (t < 1) return 1 - 2 * t * t + t * t * t;
  if (t < 2) return 4 - 8 * t + 5 * t * t - t * t * t;
  return 0;
}
}  // namespace

BitmapPtr StretchBicubic(const Bitmap& source, int width, int height) {
  BitmapPtr src = source.Format() == PixelFormat::Indexed8 ? source.ConvertTo(PixelFormat::Bgr24) : source.Clone();
  BitmapPtr out = Bitmap::Create(width, height, src->Format());
  if (!out || src->Empty() || width <= 0 || height <= 0) return out;
  const int bpp = platform::BytesPerPixel(src->Format());
  const int sw = src->Width(), sh = src->Height();
  for (int y = 0; y < height; ++y) {
    double fy = static_cast<double>(y) * sh / height;
    int iy = static_cast<int>(std::floor(fy));
    double wy[4];
    const uint8_t* rows[4];
    for (int j = 0; j < 4; ++j) {
      wy[j] = CubicWeight(fy - (iy - 1 + j));
      rows[j] = src->Row(std::clamp(iy - 1 + j, 0, sh - 1));
    }
    uint8_t* dst = out->Row(y);
    for (int x = 0; x < width; ++x) {
      double fx = static_cast<double>(x) * sw / width;
      int ix = static_cast<int>(std::floor(fx));
      double wx[4];
      int cols[4];
      for (int i = 0; i < 4; ++i) {
        wx[i] = CubicWeight(fx - (ix - 1 + i));
        cols[i] = std::clamp(ix - 1 + i, 0, sw - 1) * bpp;
      }
      for (int c = 0; c < bpp; ++c) {
        double sum = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) sum += rows[j][cols[i] + c] * wy[j] * wx[i];
        dst[x * bpp + c] = static_cast<uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
      }
    }
  }
  return out;
}

BitmapPtr EmptySceneBitmap() {
  BitmapPtr b = Bitmap::Create(8, 8, PixelFormat::Bgra32);
  b->Fill(platform::kClBlack, 0);
  return b;
}

BitmapPtr GetSceneBmp(const FlashProject& project, int scene) {
  const TpvFlashScene& s = project.Scenes[scene];
  const int W = project.Settings.Width, H = project.Settings.Height;
  if (s.UseBackPic) {
    BitmapPtr pic;
    try {
      pic = platform::LoadPicture(s.BackPic);
    } catch (const std::exception&) {
      pic.reset();
    }
    if (!pic || pic->Empty()) return EmptySceneBitmap();
    if (pic->Format() == PixelFormat::Indexed8) pic = pic->ConvertTo(PixelFormat::Bgr24);
    if (s.TileBack) {
      BitmapPtr out = Bitmap::Create(W, H, pic->Format());
      if (!out) return EmptySceneBitmap();
      const int bpp = platform::BytesPerPixel(pic->Format());
      for (int y = 0; y < H; ++y) {
        const uint8_t* src = pic->Row(y % pic->Height());
        uint8_t* dst = out->Row(y);
        for (int x = 0; x < W; ++x) std::memcpy(dst + x * bpp, src + (x % pic->Width()) * bpp, bpp);
      }
      return out;
    }
    if (s.StretchBack) return StretchBicubic(*pic, W, H);
    return pic;
  }
  if (s.UseBackColor) {
    BitmapPtr out = Bitmap::Create(W, H, PixelFormat::Bgr24);
    if (!out) return EmptySceneBitmap();
    out->Fill(s.BackColor);
    return out;
  }
  return EmptySceneBitmap();
}

}  // namespace flashwizard
