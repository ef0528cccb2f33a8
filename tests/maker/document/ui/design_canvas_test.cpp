#include "maker/document/ui/design_canvas.h"

#include <gtest/gtest.h>

#include "designer_fixture.h"
#include "maker/document/element_lifecycle.h"
#include "platform/qt/qt_text.h"

using namespace document;
using designer_test::DesignerTest;

namespace {

constexpr ElementRef kLabel1{ElementKind::Label, 1};

}  // namespace

TEST_F(DesignerTest, ClickSelectsWithoutMovingAndDragMovesByTheMouseOffset) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  designer->SetElementRect(kLabel1, {50, 40, 120, 120});
  designer->SelectCardWindow();
  EXPECT_FALSE(Canvas().HandlesShown());

  QTest::mouseClick(View(kLabel1), Qt::LeftButton, {}, QPoint(10, 10));
  ASSERT_TRUE(Doc().selected.has_value());
  EXPECT_EQ(*Doc().selected, kLabel1);
  EXPECT_EQ(RectOf(kLabel1), (Rect{50, 40, 120, 120}));
  EXPECT_TRUE(Canvas().HandlesShown());
  EXPECT_EQ(Canvas().Handle(1)->pos(), QPoint(44, 34));
  EXPECT_EQ(platform::FromQString(Props().Selector()->currentText()), "文本框1");

  // Press, drag (the move frame follows), release: the element moves by the mouse offset.
  designer::ElementView* v = View(kLabel1);
  QTest::mousePress(v, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(Canvas().MoveFrameShown());
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 25), v->mapToGlobal(QPointF(30, 25)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(v, &move);
  QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(-70, 25));
  EXPECT_FALSE(Canvas().MoveFrameShown());
  // No clamping: the label may leave the card on the left.
  EXPECT_EQ(RectOf(kLabel1), (Rect{-30, 55, 120, 120}));
  EXPECT_EQ(v->geometry(), QRect(-30, 55, 120, 120));
  EXPECT_EQ(Field<QLineEdit>("Left")->text(), "-30");
}

TEST_F(DesignerTest, HandlesResizeAndMirrorPastTheOppositeSide) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  const ElementRef button{ElementKind::Button, 1};
  designer->SetElementRect(button, {100, 100, 68, 20});

  // Handle 3 (right middle) dragged 20 px to the right widens by 20.
  QTest::mousePress(Canvas().Handle(3), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_TRUE(Canvas().ResizeFrameShown());
  QTest::mouseRelease(Canvas().Handle(3), Qt::LeftButton, {}, QPoint(23, 3));
  EXPECT_EQ(RectOf(button), (Rect{100, 100, 88, 20}));
  EXPECT_FALSE(Canvas().ResizeFrameShown());
  EXPECT_EQ(Canvas().Handle(3)->pos(), QPoint(188, 107));  // the handles follow

  // Handle 1 dragged beyond handle 2 (x 188): the left edge lands at handle 2 + 6.
  QTest::mousePress(Canvas().Handle(1), Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseRelease(Canvas().Handle(1), Qt::LeftButton, {}, QPoint(151, 1));
  EXPECT_EQ(RectOf(button), (Rect{194, 100, 50, 20}));
}

TEST_F(DesignerTest, RightButtonNeitherMovesNorSelects) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  designer->SelectCardWindow();
  QTest::mousePress(View(kLabel1), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mouseRelease(View(kLabel1), Qt::RightButton, {}, QPoint(40, 40));
  EXPECT_FALSE(Doc().selected.has_value());
  EXPECT_EQ(RectOf(kLabel1), (Rect{0, 0, 120, 120}));
  EXPECT_FALSE(Canvas().MoveFrameShown());
}

TEST_F(DesignerTest, AGifAboveALabelGoesUnderItAfterASelection) {
  std::string gif = designer_test::WriteGif(dir.File("a.gif"), 30, 20);
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  dialogs.openAnswers.push_back({gif});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Gif));
  const ElementRef gifRef{ElementKind::Gif, 1};
  EXPECT_EQ(RectOf(gifRef), (Rect{0, 0, 30, 20}));  // natural size
  ASSERT_NE(View(gifRef)->Gif(), nullptr);
  EXPECT_EQ(View(gifRef)->Gif()->FrameCount(), 2);
  // Opened as a design, the GIF (higher Ind) lies on top of the label.
  designer->ReloadAfterOpen();
  EXPECT_EQ(Canvas().DrawingOrder(), (std::vector<ElementRef>{kLabel1, gifRef}));
  QTest::mouseClick(View(gifRef), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(*Doc().selected, gifRef);
  EXPECT_EQ(Canvas().DrawingOrder(), (std::vector<ElementRef>{gifRef, kLabel1}));
  EXPECT_EQ(dialogs.shown.front().text, "插入GIF 动画");
}

TEST_F(DesignerTest, DeleteKeyOnTheCanvasDeletesTheSelectedElement) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  QTest::mouseClick(View(kLabel1), Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_TRUE(Canvas().Panel()->hasFocus());
  QTest::keyClick(Canvas().Panel(), Qt::Key_Delete);
  EXPECT_EQ(Doc().labels.size(), 1u);
  EXPECT_EQ(View(kLabel1), nullptr);
  EXPECT_NE(View({ElementKind::Label, 2}), nullptr);
  EXPECT_FALSE(Doc().selected.has_value());
  EXPECT_FALSE(Canvas().HandlesShown());
  EXPECT_EQ(Props().Selector()->count(), 2);
}

TEST_F(DesignerTest, InsertCommandsRespectTheOpenCardAndTheOneShowBox) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Pics));
  EXPECT_FALSE(designer->InsertElement(ElementKind::Pics));
  EXPECT_EQ(dialogs.Messages().back(), "每个贺卡中只允许一个“图像展示框”存在。");
  dialogs.openAnswers.push_back({});  // the sound dialog is cancelled
  EXPECT_FALSE(designer->InsertElement(ElementKind::Wav));
  EXPECT_TRUE(Doc().wavs.empty());
  designer->SetCardOpen(false);
  EXPECT_FALSE(designer->InsertElement(ElementKind::Label));
  EXPECT_TRUE(Doc().labels.empty());
}
