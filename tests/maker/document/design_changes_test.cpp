#include "maker/document/design_changes.h"

#include <gtest/gtest.h>

#include "maker/document/element_lifecycle.h"
#include "maker/document/stacking.h"

using namespace document;

TEST(DesignChanges, WhatADesignFileStoresCountsWhatTheDesignerKeepsForItselfDoesNot) {
  CardDocument doc;
  const int label = CreatelmTxt(doc);
  const int caption = createlmscl(doc);
  SavedDesignMark mark;
  mark.Mark(doc);
  EXPECT_FALSE(mark.ChangedSince(doc));

  // Selecting, restacking and scrolling a caption change nothing a save would write.
  doc.selected = ElementRef{ElementKind::Label, label};
  BringToFront(doc, {ElementRef{ElementKind::Scl, caption}, ElementRef{ElementKind::Label, label}});
  doc.scls[0].rec.scrollPos += 40;
  EXPECT_FALSE(mark.ChangedSince(doc));

  // Each of these is a change.
  auto changed = [&](auto edit) {
    CardDocument copy = doc;
    edit(copy);
    return mark.ChangedSince(copy);
  };
  EXPECT_TRUE(changed([](CardDocument& d) { d.window.cardTitle = "新标题"; }));
  EXPECT_TRUE(changed([](CardDocument& d) { d.labels[0].control.caption = "你好"; }));
  EXPECT_TRUE(changed([](CardDocument& d) { d.labels[0].control.rect.left += 1; }));
  EXPECT_TRUE(changed([](CardDocument& d) { d.scls[0].rec.Text = "滚动"; }));
  EXPECT_TRUE(changed([](CardDocument& d) { CreatePics(d); }));
  EXPECT_TRUE(changed([&](CardDocument& d) { DellmTxt(d, label); }));

  // A new mark takes the design as it is now.
  doc.window.width = 640;
  ASSERT_TRUE(mark.ChangedSince(doc));
  mark.Mark(doc);
  EXPECT_FALSE(mark.ChangedSince(doc));
}
