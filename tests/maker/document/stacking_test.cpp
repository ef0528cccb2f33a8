#include "maker/document/stacking.h"

#include <gtest/gtest.h>

#include "document_fixture.h"
#include "maker/document/element_lifecycle.h"

using namespace document;
using document_test::DocumentTest;

TEST(Stacking, SelectionPutsCaptionsLabelsButtonsFlashAndSoundsAboveImages) {
  CardDocument doc;
  CreateSpeedbutton(doc);         // Ind 1
  createlmscl(doc);               // Ind 2
  CreatelmTxt(doc);               // Ind 3
  CreateWav(doc, "s.wav");
  CreatelmFlash(doc, "f.swf");    // Ind 4
  std::vector<ElementRef> order = SelectElement(doc, {ElementKind::Label, 1});
  std::vector<ElementRef> expect = {{ElementKind::Scl, 1}, {ElementKind::Label, 1}, {ElementKind::Button, 1},
                                    {ElementKind::Flash, 1}, {ElementKind::Wav, 1}};
  EXPECT_EQ(order, expect);
  EXPECT_EQ(doc.stacking, expect);
}

TEST_F(DocumentTest, DeletingRestacksByIndAndLabelsOnlyForLabelOrFlash) {
  CardDocument doc;
  std::string bmp = Make("p.bmp", document_test::BmpBytes(4, 4));
  CreatelmTxt(doc);          // Ind 1
  CreateLmImage(doc, bmp);   // Ind 2
  CreateSpeedbutton(doc);    // Tag 1, Ind 3
  CreateSpeedbutton(doc);    // Tag 2, Ind 4
  std::vector<ElementRef> order = DelSpeedbutton(doc, 2);
  EXPECT_EQ(order, (std::vector<ElementRef>{{ElementKind::Image, 1}, {ElementKind::Button, 1}}));
  // Deleting a label restacks the labels too; the image lies where its Ind puts it.
  CreatelmTxt(doc);          // Ind 5
  order = DellmTxt(doc, 2);
  EXPECT_EQ(order, (std::vector<ElementRef>{{ElementKind::Label, 1}, {ElementKind::Image, 1}, {ElementKind::Button, 1}}));
  EXPECT_EQ(doc.stacking, order);
  EXPECT_TRUE(DelLMWav(doc, 1).empty());
}

TEST(Stacking, DeletedControlsGapIsTakenByTheMovedElement) {
  CardDocument doc;
  CreateWav(doc, "a.wav");
  CreateWav(doc, "b.wav");
  CreateWav(doc, "c.wav");
  doc.stacking = {{ElementKind::Wav, 1}, {ElementKind::Wav, 2}, {ElementKind::Wav, 3}};
  DelLMWav(doc, 1);
  EXPECT_EQ(doc.stacking, (std::vector<ElementRef>{{ElementKind::Wav, 3}, {ElementKind::Wav, 2}}));
}
