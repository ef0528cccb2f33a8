// GIF animations through the Windows Imaging Component: every frame with its place, delay,
// disposal and transparent colour.
#include "platform/gif_codec.h"
#include "platform/gif_screen.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/picture.h"
#include "platform/win32/wic.h"

namespace platform {

namespace {

const char kCorrupt[] = "GIF image is corrupt";

Color PaletteColor(IWICImagingFactory* f, IWICBitmapFrameDecode* frame, IWICBitmapDecoder* decoder, int index) {
  win32::Com<IWICPalette> palette;
  if (index < 0 || FAILED(f->CreatePalette(palette.Put()))) return 0;
  // The frame's own palette, else the global one (frame is null for the logical screen).
  if ((!frame || FAILED(frame->CopyPalette(palette.Get()))) && FAILED(decoder->CopyPalette(palette.Get()))) return 0;
  UINT count = 0;
  WICColor colors[256];
  if (FAILED(palette->GetColors(256, colors, &count)) || static_cast<UINT>(index) >= count) return 0;
  const WICColor c = colors[index];  // 0xAARRGGBB
  return static_cast<Color>(((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16));
}

}  // namespace

GifAnimation DecodeGif(std::span<const uint8_t> data) {
  if (data.size() < 6 || data[0] != 'G' || data[1] != 'I' || data[2] != 'F') throw LoadError(kCorrupt);
  win32::WicDecoder dec;
  IWICImagingFactory* f = win32::WicFactory();
  UINT count = 0;
  if (!f || !win32::OpenDecoder(data, dec) || FAILED(dec.decoder->GetFrameCount(&count)) || count == 0)
    throw LoadError(kCorrupt);
  GifAnimation a;
  win32::Com<IWICMetadataQueryReader> global;
  dec.decoder->GetMetadataQueryReader(global.Put());
  a.width = static_cast<int>(win32::MetadataNumber(global.Get(), L"/logscrdesc/Width").value_or(0));
  a.height = static_cast<int>(win32::MetadataNumber(global.Get(), L"/logscrdesc/Height").value_or(0));
  const bool globalPalette = win32::MetadataNumber(global.Get(), L"/logscrdesc/GlobalColorTableFlag").value_or(0);
  a.backgroundIndex = static_cast<int>(win32::MetadataNumber(global.Get(), L"/logscrdesc/BackgroundColorIndex").value_or(0));
  // The loop count sits in the NETSCAPE2.0 application block: sub-block 1, then the count.
  PROPVARIANT app;
  PropVariantInit(&app);
  if (global && SUCCEEDED(global->GetMetadataByName(L"/appext/Data", &app)) && app.vt == (VT_UI1 | VT_VECTOR) &&
      app.caub.cElems >= 4 && app.caub.pElems[1] == 1) {
    a.loopCount = app.caub.pElems[2] | (app.caub.pElems[3] << 8);
  }
  PropVariantClear(&app);
  for (UINT i = 0; i < count; ++i) {
    win32::Com<IWICBitmapFrameDecode> frame;
    if (FAILED(dec.decoder->GetFrame(i, frame.Put()))) {
      if (a.frames.empty()) throw LoadError(kCorrupt);
      break;  // a damaged tail: the frames before it play
    }
    win32::Com<IWICMetadataQueryReader> md;
    frame->GetMetadataQueryReader(md.Put());
    GifFrame g;
    g.left = static_cast<int>(win32::MetadataNumber(md.Get(), L"/imgdesc/Left").value_or(0));
    g.top = static_cast<int>(win32::MetadataNumber(md.Get(), L"/imgdesc/Top").value_or(0));
    g.interlaced = win32::MetadataNumber(md.Get(), L"/imgdesc/InterlaceFlag").value_or(0) != 0;
    if (auto delay = win32::MetadataNumber(md.Get(), L"/grctlext/Delay")) {
      g.hasControlBlock = true;
      g.delay = static_cast<int>(*delay);
      g.disposalValue = static_cast<int>(win32::MetadataNumber(md.Get(), L"/grctlext/Disposal").value_or(0));
      g.disposal = g.disposalValue <= 3 ? static_cast<GifDisposal>(g.disposalValue) : GifDisposal::None;
      if (win32::MetadataNumber(md.Get(), L"/grctlext/TransparencyFlag").value_or(0)) {
        g.hasTransparent = true;
        g.transparentIndex =
            static_cast<int>(win32::MetadataNumber(md.Get(), L"/grctlext/TransparentColorIndex").value_or(0));
        g.transparentColor = PaletteColor(f, frame.Get(), dec.decoder.Get(), g.transparentIndex);
      }
    }
    g.image = win32::FramePixels(frame.Get());
    if (!g.image) {
      if (a.frames.empty()) throw LoadError(kCorrupt);
      break;
    }
    g.width = g.image->Width();
    g.height = g.image->Height();
    // A frame without a transparent colour is opaque whatever the converter made of it.
    if (!g.hasTransparent) {
      for (int y = 0; y < g.height; ++y) {
        uint8_t* p = g.image->Row(y);
        for (int x = 0; x < g.width; ++x) p[4 * x + 3] = 255;
      }
    }
    a.frames.push_back(std::move(g));
  }
  if (globalPalette && !a.frames.empty()) {
    a.background = PaletteColor(f, nullptr, dec.decoder.Get(), a.backgroundIndex);
  }
  FinishGifScreen(a);
  return a;
}

std::vector<uint8_t> EncodeGif(const GifAnimation&) {
  throw LoadError("Cannot write GIF picture");  // the players only read GIF files
}

}  // namespace platform
