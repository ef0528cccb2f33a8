// The SWF writer's readers of what the Flash builder hands it: frame packets (a frame sheet
// with its delays) and the BMP files of pictures. A packet or picture is read within the
// writer's limits or refused with a reason.
#include "flashwriter/frame_packet.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  flashwriter::FramePacket packet;
  if (flashwriter::ParseFramePacket(data, size, packet, error)) {
    if (packet.frames.size() != packet.delaysMs.size()) __builtin_trap();
    for (const flashwriter::Image& f : packet.frames) {
      if (f.width != packet.frameWidth || f.height != packet.frameHeight ||
          f.rgba.size() != static_cast<size_t>(f.width) * f.height * 4)
        __builtin_trap();
    }
  } else if (error.empty()) {
    __builtin_trap();
  }
  flashwriter::Image image;
  error.clear();
  if (flashwriter::ParseBmp(data, size, image, error)) {
    if (image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) __builtin_trap();
    const flashwriter::Image fit = flashwriter::FitImage(image, 64, 64 * 64);
    if (fit.width > 64 || fit.height > 64) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
