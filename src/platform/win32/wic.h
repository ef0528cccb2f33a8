#pragma once
// The Windows Imaging Component, as the picture codecs use it: a factory per thread, a decoder
// over bytes in memory, and the pixels of a frame as a 32-bit bitmap.
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/bitmap.h"

namespace platform::win32 {

// An owning COM pointer.
template <class T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() { Reset(); }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** Put() {
    Reset();
    return &p_;
  }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// The factory of the calling thread (COM is initialised on it); nullptr when WIC is missing.
IWICImagingFactory* WicFactory();

// A decoder over a copy of data held by the returned stream; false when no codec takes the bytes.
struct WicDecoder {
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
};
bool OpenDecoder(std::span<const uint8_t> data, WicDecoder& out);

// The pixels of a frame (or any bitmap source) as a top-down 32-bit BGRA bitmap.
std::unique_ptr<Bitmap> FramePixels(IWICBitmapSource* source);

// A number from a metadata reader ("/grctlext/Delay"), nothing when absent.
std::optional<long long> MetadataNumber(IWICMetadataQueryReader* reader, const wchar_t* query);

}  // namespace platform::win32
