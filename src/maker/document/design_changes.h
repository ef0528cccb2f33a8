#pragma once
// "Changed since the last save": the design as it was last saved or read, compared with the
// design now by what a design file stores of it — the card window, every element's control and
// record, the picture show box and the last stacking value. Selection, the canvas's drawing
// order and the designer's own state (a caption's scroll position) are no change.
#include "maker/document/card_document.h"

namespace document {

bool SameStoredDesign(const CardDocument& a, const CardDocument& b);

class SavedDesignMark {
 public:
  // The design was saved, read or started afresh: it holds nothing unsaved.
  void Mark(const CardDocument& doc) { saved_ = doc; }
  bool ChangedSince(const CardDocument& doc) const { return !SameStoredDesign(saved_, doc); }

 private:
  CardDocument saved_;  // a new, empty design until the first mark
};

}  // namespace document
