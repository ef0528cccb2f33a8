#include "maker/document/design_changes.h"

#include <algorithm>

namespace document {
namespace {

bool SameCaptions(const std::vector<SclElement>& a, const std::vector<SclElement>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SclElement& x, SclElement y) {
    y.rec.scrollPos = x.rec.scrollPos;  // where the text is scrolled to is not stored
    return x == y;
  });
}

}  // namespace

bool SameStoredDesign(const CardDocument& a, const CardDocument& b) {
  return a.window == b.window && a.labels == b.labels && a.buttons == b.buttons && a.images == b.images &&
         a.gifs == b.gifs && a.wavs == b.wavs && a.flashes == b.flashes && SameCaptions(a.scls, b.scls) &&
         a.picsBox == b.picsBox && a.picsDat == b.picsDat && a.zorder == b.zorder;
}

}  // namespace document
