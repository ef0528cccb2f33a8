// JPEG pictures through the Windows Imaging Component.
#include "platform/jpeg_codec.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/win32/wic.h"

namespace platform {

bool ProbeJpeg(std::span<const uint8_t> data, JpegInfo& info) {
  // The frame header (SOFn) gives size, components and whether the picture is progressive.
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  size_t p = 2;
  while (p + 4 <= data.size()) {
    if (data[p] != 0xFF) return false;
    const uint8_t m = data[p + 1];
    if (m == 0xFF) {
      ++p;
      continue;
    }
    const size_t len = (data[p + 2] << 8) | data[p + 3];
    if (len < 2) return false;
    const bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
    if (sof) {
      if (p + 10 > data.size()) return false;
      info.height = (data[p + 5] << 8) | data[p + 6];
      info.width = (data[p + 7] << 8) | data[p + 8];
      info.components = data[p + 9];
      info.progressive = m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE;
      return info.width > 0 && info.height > 0;
    }
    if (m == 0xD9 || m == 0xDA) return false;
    p += 2 + len;
  }
  return false;
}

std::unique_ptr<Bitmap> DecodeJpeg(std::span<const uint8_t> data) {
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) throw LoadError("JPEG error #53 (Not a JPEG file)");
  win32::WicDecoder dec;
  win32::Com<IWICBitmapFrameDecode> frame;
  if (!win32::OpenDecoder(data, dec) || FAILED(dec.decoder->GetFrame(0, frame.Put())))
    throw LoadError("JPEG error #53 (Not a JPEG file)");
  auto bgra = win32::FramePixels(frame.Get());
  if (!bgra) throw LoadError("JPEG error #54 (Insufficient memory)");
  auto out = bgra->ConvertTo(PixelFormat::Bgr24);
  if (!out) throw LoadError("JPEG error #54 (Insufficient memory)");
  return out;
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality, bool progressive) {
  (void)progressive;  // the system's JPEG encoder writes baseline pictures
  std::unique_ptr<Bitmap> bgr = bitmap.ConvertTo(PixelFormat::Bgr24);
  IWICImagingFactory* f = win32::WicFactory();
  if (!bgr || !f) throw LoadError("JPEG error #54 (Insufficient memory)");
  win32::Com<IStream> stream;
  win32::Com<IWICBitmapEncoder> enc;
  win32::Com<IWICBitmapFrameEncode> frame;
  win32::Com<IPropertyBag2> props;
  bool ok = SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) &&
            SUCCEEDED(f->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, enc.Put())) &&
            SUCCEEDED(enc->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(enc->CreateNewFrame(frame.Put(), props.Put()));
  if (ok) {
    PROPBAG2 name{};
    name.pstrName = const_cast<wchar_t*>(L"ImageQuality");
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R4;
    v.fltVal = std::clamp(quality, 1, 100) / 100.0f;
    props->Write(1, &name, &v);
    WICPixelFormatGUID fmt = GUID_WICPixelFormat24bppBGR;
    ok = SUCCEEDED(frame->Initialize(props.Get())) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(bgr->Width()), static_cast<UINT>(bgr->Height()))) &&
         SUCCEEDED(frame->SetPixelFormat(&fmt)) && IsEqualGUID(fmt, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(bgr->Height()), static_cast<UINT>(bgr->Stride()),
                                      static_cast<UINT>(bgr->ByteSize()), bgr->Data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(enc->Commit());
  }
  if (!ok) throw LoadError("JPEG error #54 (Insufficient memory)");
  HGLOBAL mem = nullptr;
  GetHGlobalFromStream(stream.Get(), &mem);
  STATSTG st{};
  stream->Stat(&st, STATFLAG_NONAME);
  const auto* p = static_cast<const uint8_t*>(GlobalLock(mem));
  std::vector<uint8_t> out(p, p + st.cbSize.QuadPart);
  GlobalUnlock(mem);
  return out;
}

}  // namespace platform
