#include "platform/win32/wic.h"

#include <propvarutil.h>

#include <cstring>

#include "platform/picture.h"

namespace platform::win32 {

IWICImagingFactory* WicFactory() {
  thread_local Com<IWICImagingFactory> factory;
  thread_local bool tried = false;
  if (!tried) {
    tried = true;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.Put()));
  }
  return factory.Get();
}

bool OpenDecoder(std::span<const uint8_t> data, WicDecoder& out) {
  IWICImagingFactory* f = WicFactory();
  if (!f || data.empty() || data.size() > 0x7fffffff) return false;
  if (FAILED(f->CreateStream(out.stream.Put()))) return false;
  // The stream reads the caller's bytes in place: the decoder lives no longer than the call.
  if (FAILED(out.stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()))))
    return false;
  return SUCCEEDED(f->CreateDecoderFromStream(out.stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              out.decoder.Put()));
}

std::unique_ptr<Bitmap> FramePixels(IWICBitmapSource* source) {
  UINT w = 0, h = 0;
  if (!source || FAILED(source->GetSize(&w, &h))) return nullptr;
  if (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide ||
      static_cast<long long>(w) * h > kMaxPicturePixels)
    return nullptr;
  Com<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, source, converted.Put()))) return nullptr;
  auto bmp = Bitmap::Create(static_cast<int>(w), static_cast<int>(h), PixelFormat::Bgra32);
  if (!bmp) return nullptr;
  WICRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  if (FAILED(converted->CopyPixels(&all, static_cast<UINT>(bmp->Stride()), static_cast<UINT>(bmp->ByteSize()),
                                   bmp->Data())))
    return nullptr;
  return bmp;
}

std::optional<long long> MetadataNumber(IWICMetadataQueryReader* reader, const wchar_t* query) {
  if (!reader) return std::nullopt;
  PROPVARIANT v;
  PropVariantInit(&v);
  std::optional<long long> out;
  if (SUCCEEDED(reader->GetMetadataByName(query, &v))) {
    switch (v.vt) {
      case VT_UI1: out = v.bVal; break;
      case VT_UI2: out = v.uiVal; break;
      case VT_UI4: out = v.ulVal; break;
      case VT_I4: out = v.lVal; break;
      case VT_BOOL: out = v.boolVal ? 1 : 0; break;
      default: break;
    }
  }
  PropVariantClear(&v);
  return out;
}

}  // namespace platform::win32
