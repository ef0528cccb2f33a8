#pragma once
// The show box's pictures in the card's order. The box shows its own positions in turn; it
// is handed the list turned so that its position j holds list picture j + offset. Turning the
// list is how a chosen picture comes next, with list order going on from it.

#include <memory>
#include <vector>

#include "maker/transitions/pic_show_box.h"
#include "platform/bitmap.h"

namespace transitions {

class PicsList {
 public:
  // Takes the pictures (empty ones are left out) and hands them to the box unturned.
  void Set(TlmPics& box, std::vector<std::unique_ptr<platform::Bitmap>> pictures);
  int Count() const { return static_cast<int>(pictures_.size()); }
  bool Empty() const { return pictures_.empty(); }

  // Turns the list so that the box's next change in list order shows picture index;
  // false, with nothing changed, when index is out of range.
  bool TurnToNext(TlmPics& box, int index);
  // The list index of the picture on show (or coming in); -1 before the first change.
  int Shown(const TlmPics& box) const;
  // The picture before the one on show, wrapping; the last one before any was shown.
  int Previous(const TlmPics& box) const;

 private:
  void Rotate(TlmPics& box, int offset);

  std::vector<std::shared_ptr<const platform::Bitmap>> pictures_;
  int offset_ = 0;
};

}  // namespace transitions
