#include "maker/document/caption_geometry.h"

#include <algorithm>
#include <climits>

namespace document {

namespace {

int ClampedAdd(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

int CaptionPositionLimit(const CaptionGeometry& g) {
  if (g.way == kWayLeft || g.way == kWayRight) return ClampedAdd(2LL * g.width);
  return ClampedAdd(static_cast<long long>(g.lineCount) * g.lineHeight + g.height);
}

int NextCaptionPosition(const CaptionGeometry& g, int p) {
  const long long next = static_cast<long long>(p) + 1;
  return next > CaptionPositionLimit(g) ? 0 : static_cast<int>(next);
}

std::vector<LinePlacement> PlaceCaptionLines(const CaptionGeometry& g, int p) {
  std::vector<LinePlacement> out;
  out.reserve(static_cast<size_t>(std::max(0, g.lineCount)));
  const long long h = g.lineHeight;
  for (int i = 0; i < g.lineCount; ++i) {
    LinePlacement lp;
    switch (g.way) {
      case kWayDown:
        lp = {g.lineCount - 1 - i, 1, ClampedAdd(p - i * h)};
        break;
      case kWayLeft:
        lp = {i, ClampedAdd(static_cast<long long>(g.width) - p), ClampedAdd(i * h)};
        break;
      case kWayRight:
        lp = {i, ClampedAdd(static_cast<long long>(p) - g.width), ClampedAdd(i * h)};
        break;
      default:  // kWayUp
        lp = {i, 1, ClampedAdd(static_cast<long long>(g.height) - p + i * h)};
        break;
    }
    out.push_back(lp);
  }
  return out;
}

}  // namespace document
