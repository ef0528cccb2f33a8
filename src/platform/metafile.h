#pragma once
// Windows metafiles (WMF, with or without the placeable header, and EMF) drawn by our own
// renderer: the records clip-art uses (pens, brushes, fonts, polygons, polylines, rectangles,
// rounded rectangles, ellipses, text, DIB stretches, the mapping modes and window/viewport
// settings). Records it does not draw are skipped; no record reads outside the file.
#include <cstdint>
#include <memory>
#include <span>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace platform {

struct MetafileInfo {
  bool enhanced = false;      // EMF
  int width = 0, height = 0;  // natural size in pixels at 96 dpi
  int records = 0;
};
bool ProbeMetafile(std::span<const uint8_t> data, MetafileInfo& info);

// Renders the metafile into a width x height 32-bit bitmap (0 = its natural size); pixels
// the picture does not cover are transparent (alpha 0). LoadError when it is no metafile.
std::unique_ptr<Bitmap> RenderMetafile(std::span<const uint8_t> data, int width = 0, int height = 0);

}  // namespace platform
