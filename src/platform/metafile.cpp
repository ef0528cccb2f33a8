#include "platform/metafile.h"

#include "platform/error.h"

namespace platform {

namespace {
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
}  // namespace

bool ProbeMetafile(std::span<const uint8_t> data, MetafileInfo& info) {
  if (data.size() >= 22 && U32(data.data()) == 0x9AC6CDD7u) {
    info.enhanced = false;
    return true;
  }
  if (data.size() >= 88 && U32(data.data()) == 1 && U32(data.data() + 40) == 0x464D4520u) {
    info.enhanced = true;
    return true;
  }
  return false;
}

std::unique_ptr<Bitmap> RenderMetafile(std::span<const uint8_t>, int, int) {
  throw LoadError("Metafile is not valid");
}

}  // namespace platform
