// Layer style files: any bytes are read as a style file; a file that reads describes itself
// in a text that reads back to a style of the same description; then the bytes are loaded
// onto the text layer of a fresh image (which builds its effects) and the image composed.
// Nothing may be read or written outside a bitmap, no number may overflow, and a refused file
// leaves the layer as it was.
#include <cstdio>

#include "fuzz_support.h"
#include "imaging/layer_style_file.h"
#include "imaging/layered_image.h"
#include "imaging/style_description.h"
#include "platform/scripted_dialogs.h"

namespace {

// One image for the process (its blend tables cost more than everything else); every input
// starts from a new background and a new text layer with default effect records.
imaging::TlmImageVcl& FreshImage() {
  static imaging::TlmImageVcl* img = new imaging::TlmImageVcl;
  static const auto bg = platform::Bitmap::Create(40, 30, platform::PixelFormat::Bgr24);
  img->NewImageFromBitmap(*bg);
  imaging::TTextLayerInfo info;
  info.SetText("Ab");
  info.size = 12;
  info.smoothing = 3;
  img->AddTextLayer(-3, 5, info);
  imaging::TlmLayer& L = img->Layer(1);
  L.DropShadow = {}; L.InnerShadow = {}; L.InnerGlow = {}; L.OuterGlow = {}; L.Bevel = {}; L.Stroke = {};
  L.ColorOverlay = {}; L.GradientOverlay = {}; L.StrokeGradient = {}; L.PatternOverlay = {};
  std::fill(std::begin(L.Spare), std::end(L.Spare), 0);
  return *img;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  imaging::StyleFile style;
  if (imaging::ParseStyleFile(bytes, style) == imaging::StyleParse::Ok) {
    // Padding and the pattern's pixels are not described; everything else is.
    const std::string text = imaging::DescribeStyle(style);
    imaging::StyleFile again;
    std::string error;
    if (!imaging::ParseStyleDescription(text, fuzz::Folder(), again, error)) {
      std::fprintf(stderr, "description refused: %s\n%s", error.c_str(), text.c_str());
      __builtin_trap();
    }
    again.patternBytes = style.patternBytes;
    if (imaging::DescribeStyle(again) != text) {
      std::fprintf(stderr, "description changed:\n%s\n----\n%s", text.c_str(), imaging::DescribeStyle(again).c_str());
      __builtin_trap();
    }
  }
  platform::ScriptedDialogs dialogs;  // the box for a version too new
  imaging::TlmImageVcl& img = FreshImage();
  const double opacity = img.Layer(1).Opacity;
  // Loading builds the layer's effects from the new records; building them again would only
  // repeat the same blurs.
  if (!img.LoadLayerStyleBytes(1, bytes) && img.Layer(1).Opacity != opacity) __builtin_trap();
  img.RedrawImage();
  imaging::BitmapPtr out;
  img.ExportImage(out);
  return 0;
}
