#pragma once
// Pictures as SWF bitmap definitions: lossless (zlib, with alpha when the picture has any)
// or JPEG (with a zlib alpha plane when the picture has alpha).
#include "flashwriter/frame_packet.h"
#include "flashwriter/swf_tags.h"

namespace flashwriter {

// The side and pixel limits of one SWF bitmap; larger pictures are scaled down to fit and
// drawn at their full size through the fill matrix.
constexpr int kMaxBitmapSide = 8191;
constexpr long long kMaxBitmapPixels = 16 * 1024 * 1024 - 1;

// Appends the definition tag of `image` (which must fit the limits) with character id `id`.
// With preferJpeg, pictures of many colours go out as JPEG; pictures of at most 256 colours
// (drawings, text, most animation frames) stay lossless, where they are smaller and sharp.
void AppendBitmapTag(Bytes& out, int id, const Image& image, bool preferJpeg, int jpegQuality = 85);

// The JPEG file bytes of the colour planes (empty on failure).
Bytes EncodeJpegRgb(const Image& image, int quality);

// True when the picture has more than 256 different colours (alpha included).
bool HasManyColors(const Image& image);

}  // namespace flashwriter
