#include "maker/transitions/pics_list.h"

namespace transitions {

using platform::Bitmap;

void PicsList::Set(TlmPics& box, std::vector<std::unique_ptr<Bitmap>> pictures) {
  pictures_.clear();
  for (auto& p : pictures)
    if (p) pictures_.push_back(std::shared_ptr<const Bitmap>(std::move(p)));
  Rotate(box, 0);
}

void PicsList::Rotate(TlmPics& box, int offset) {
  const int n = Count();
  offset_ = n > 0 ? ((offset % n) + n) % n : 0;
  std::vector<std::unique_ptr<Bitmap>> rotated;
  rotated.reserve(pictures_.size());
  for (int j = 0; j < n; ++j) rotated.push_back(pictures_[static_cast<size_t>((j + offset_) % n)]->Clone());
  box.SetPictures(std::move(rotated));
}

bool PicsList::TurnToNext(TlmPics& box, int index) {
  const int n = Count();
  if (index < 0 || index >= n) return false;
  // In list order the box shows the position after its current one.
  const int cur = box.Current();
  const int nextPos = cur >= n - 1 ? 0 : cur + 1;
  Rotate(box, index - nextPos);
  return true;
}

int PicsList::Shown(const TlmPics& box) const {
  const int n = Count();
  if (n == 0 || box.Last() < 0) return -1;
  return (box.Last() + offset_) % n;
}

int PicsList::Previous(const TlmPics& box) const {
  const int n = Count();
  if (n == 0) return -1;
  const int shown = Shown(box);
  return shown < 0 ? n - 1 : (shown + n - 1) % n;
}

}  // namespace transitions
