#include "maker/document/stacking.h"

#include <algorithm>
#include <unordered_set>

namespace document {

namespace {

struct Candidate {
  int ind;
  int kindRank;  // the position of the kind in the visiting order
  int position;  // table position
  ElementRef ref;
};

template <class T>
void Collect(std::vector<Candidate>& out, const std::vector<T>& table, ElementKind kind, int rank, int zorder) {
  for (size_t i = 0; i < table.size(); ++i) {
    int ind = table[i].rec.Ind;
    if (ind < 1 || ind > zorder) continue;  // the z loop runs over 1 … Zorder only
    out.push_back({ind, rank, static_cast<int>(i), {kind, table[i].control.tag}});
  }
}

std::vector<ElementRef> Refs(std::vector<Candidate>& c, bool kindFirst) {
  std::sort(c.begin(), c.end(), [kindFirst](const Candidate& a, const Candidate& b) {
    if (kindFirst) {
      if (a.kindRank != b.kindRank) return a.kindRank < b.kindRank;
      if (a.ind != b.ind) return a.ind < b.ind;
    } else {
      if (a.ind != b.ind) return a.ind < b.ind;
      if (a.kindRank != b.kindRank) return a.kindRank < b.kindRank;
    }
    return a.position < b.position;
  });
  std::vector<ElementRef> out;
  out.reserve(c.size());
  for (const Candidate& x : c) out.push_back(x.ref);
  return out;
}

struct RefHash {
  size_t operator()(const ElementRef& r) const {
    return std::hash<long long>()((static_cast<long long>(r.kind) << 32) ^ static_cast<unsigned>(r.tag));
  }
};

}  // namespace

bool CanBringToFront(ElementKind kind) { return kind != ElementKind::Pics; }

std::vector<ElementRef> FrontOrderAfterDelete(const CardDocument& doc, ElementKind deleted) {
  if (deleted == ElementKind::Wav) return {};
  std::vector<Candidate> c;
  int z = doc.zorder;
  Collect(c, doc.buttons, ElementKind::Button, 0, z);
  Collect(c, doc.images, ElementKind::Image, 1, z);
  Collect(c, doc.gifs, ElementKind::Gif, 2, z);
  Collect(c, doc.flashes, ElementKind::Flash, 3, z);
  if (deleted == ElementKind::Label || deleted == ElementKind::Flash) Collect(c, doc.labels, ElementKind::Label, 4, z);
  Collect(c, doc.scls, ElementKind::Scl, 5, z);
  return Refs(c, false);
}

std::vector<ElementRef> FrontOrderAfterSelect(const CardDocument& doc) {
  std::vector<Candidate> c;
  int z = doc.zorder;
  Collect(c, doc.scls, ElementKind::Scl, 0, z);
  Collect(c, doc.labels, ElementKind::Label, 1, z);
  Collect(c, doc.buttons, ElementKind::Button, 2, z);
  Collect(c, doc.flashes, ElementKind::Flash, 3, z);
  std::vector<ElementRef> out = Refs(c, true);
  for (const auto& w : doc.wavs) out.push_back({ElementKind::Wav, w.control.tag});
  return out;
}

std::vector<ElementRef> FrontOrderAfterOpen(const CardDocument& doc) {
  std::vector<Candidate> c;
  int z = doc.zorder;
  Collect(c, doc.buttons, ElementKind::Button, 0, z);
  Collect(c, doc.images, ElementKind::Image, 1, z);
  Collect(c, doc.gifs, ElementKind::Gif, 2, z);
  Collect(c, doc.flashes, ElementKind::Flash, 3, z);
  Collect(c, doc.labels, ElementKind::Label, 4, z);
  Collect(c, doc.scls, ElementKind::Scl, 5, z);
  return Refs(c, false);
}

void BringToFront(CardDocument& doc, const std::vector<ElementRef>& order) {
  // Each control brought to the front ends up above all others, so the result is every
  // control not in `order` in its old order, then those in `order` by their last mention.
  std::unordered_set<ElementRef, RefHash> present(doc.stacking.begin(), doc.stacking.end());
  std::vector<ElementRef> front;
  std::unordered_set<ElementRef, RefHash> moved;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (!CanBringToFront(it->kind) || !present.count(*it) || moved.count(*it)) continue;
    moved.insert(*it);
    front.push_back(*it);
  }
  std::reverse(front.begin(), front.end());
  std::vector<ElementRef> result;
  result.reserve(doc.stacking.size());
  for (const ElementRef& r : doc.stacking) {
    if (!moved.count(r)) result.push_back(r);
  }
  result.insert(result.end(), front.begin(), front.end());
  doc.stacking = std::move(result);
}

std::vector<ElementRef> RestackAfterOpen(CardDocument& doc) {
  std::vector<ElementRef> order = FrontOrderAfterOpen(doc);
  BringToFront(doc, order);
  return order;
}

}  // namespace document
