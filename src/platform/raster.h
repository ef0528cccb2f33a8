#pragma once
// Raster operations on bitmaps, standing in for the platform's fills and block transfers.
// Every operation clips once against the target bitmap, the source bitmap and an optional
// clip region (in target coordinates); the pixel loops behind them walk row pointers.
// Copies between different formats convert each pixel (8-bit through its palette; to 8-bit
// by gray level; to 32-bit with alpha 255 unless the source is 32-bit).
#include "platform/bitmap.h"
#include "platform/region.h"

namespace platform {

// Fills the rectangle (clipped) with a colour; 32-bit targets get the given alpha, 8-bit
// targets the palette index = the colour's red value.
void FillRect(Bitmap& dst, const Rect& rect, Color color, uint8_t alpha = 255, const Region* clip = nullptr);
void FillRegion(Bitmap& dst, const Region& region, Color color, uint8_t alpha = 255);

// Copies src's rectangle srcRect to (dx, dy) of dst, without scaling.
void CopyRect(Bitmap& dst, int dx, int dy, const Bitmap& src, const Rect& srcRect, const Region* clip = nullptr);
// The whole of src to (dx, dy).
inline void CopyBitmap(Bitmap& dst, int dx, int dy, const Bitmap& src, const Region* clip = nullptr) {
  CopyRect(dst, dx, dy, src, Rect::FromSize(0, 0, src.Width(), src.Height()), clip);
}

// Stretched copy with nearest-pixel sampling (colour-on-colour stretch): target pixel x of a
// target rectangle w wide takes source column srcLeft + (2x + 1) * srcWidth / (2w). A negative
// width or height in dstRect (right < left or bottom < top) mirrors that direction, as the
// platform's stretch does with a negative extent. Source pixels outside src are not drawn.
void StretchRect(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect, const Region* clip = nullptr);

// Copies src's rectangle to (dx, dy), reversed left to right and/or top to bottom.
void MirrorRect(Bitmap& dst, int dx, int dy, const Bitmap& src, const Rect& srcRect, bool horizontal, bool vertical,
                const Region* clip = nullptr);

// The pixels of src inside the region (both bitmaps in the same coordinates, as when a work
// image is clipped and another frame is copied in through the clip).
inline void CopyThroughRegion(Bitmap& dst, const Bitmap& src, const Region& region) {
  CopyRect(dst, 0, 0, src, Rect::FromSize(0, 0, src.Width(), src.Height()), &region);
}

}  // namespace platform
