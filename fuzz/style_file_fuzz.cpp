// libFuzzer target for layer style files: any bytes, parsed, described, applied to a text layer
// and composed. Nothing may be read or written outside a bitmap; a refused file must leave the
// layer as it was.
//
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I src fuzz/style_file_fuzz.cpp \
//     src/imaging/*.cpp src/platform/{bitmap,color,files,paths,text,dialogs,console_dialogs,fonts,region}.cpp \
//     $(pkg-config --cflags --libs freetype2 fontconfig) -o style_file_fuzz
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "imaging/layer_style_file.h"
#include "imaging/layered_image.h"
#include "imaging/style_description.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  imaging::StyleFile style;
  if (imaging::ParseStyleFile(bytes, style) == imaging::StyleParse::Ok) {
    imaging::StyleFile again;
    std::string error;
    if (!imaging::ParseStyleDescription(imaging::DescribeStyle(style), ".", again, error)) __builtin_trap();
  }
  static imaging::TlmImageVcl* img = [] {
    auto* i = new imaging::TlmImageVcl;
    auto bg = platform::Bitmap::Create(40, 30, platform::PixelFormat::Bgr24);
    i->NewImageFromBitmap(*bg);
    imaging::TTextLayerInfo info;
    info.SetText("Ab");
    info.size = 12;
    info.smoothing = 3;
    i->AddTextLayer(-3, 5, info);
    return i;
  }();
  static const std::string path = "/tmp/style_fuzz_" + std::to_string(getpid()) + ".style";
  platform::files::WriteFileAtomic(path, bytes);
  const double opacity = img->Layer(1).Opacity;
  if (!img->LoadLayerStyle(1, path) && img->Layer(1).Opacity != opacity) __builtin_trap();
  img->RebuildAllEffects(1);
  img->RedrawImage();
  imaging::BitmapPtr out;
  img->ExportImage(out);
  return 0;
}
