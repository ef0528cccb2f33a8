// The designer drawing a sample card that holds every kind, and the panel of each kind.
// With DESIGNER_SHOTS_DIR set, the pictures are also saved there as PNG files.
#include <gtest/gtest.h>

#include <QImage>
#include <QTabWidget>
#include <cstdlib>

#include "designer_fixture.h"
#include "maker/document/element_lifecycle.h"
#include "platform/qt/qt_text.h"

using namespace document;
using designer_test::DesignerTest;

namespace {

std::string Media(const char* name) { return std::string(CARD_SOURCE_DIR) + "/data/贺卡图片/" + name; }

void Save(const QImage& img, const char* name) {
  const char* dir = std::getenv("DESIGNER_SHOTS_DIR");
  if (dir && *dir) img.save(QString(dir) + "/" + name + ".png");
}

QColor At(const QImage& img, QPoint p) { return img.pixelColor(p); }

}  // namespace

TEST_F(DesignerTest, SampleCardShowsEveryKindAndTheSelectionHandles) {
  Doc().window.width = 560;
  Doc().window.height = 420;
  Doc().window.bkColor = platform::Rgb(255, 244, 214);
  designer->CardWindowChanged();

  dialogs.openAnswers = {{Media("新年烟花.jpg")}, {Media("气球.gif")}, {dir.File("ding.wav")}, {Media("新春动画.swf")}};
  ASSERT_TRUE(designer->InsertElement(ElementKind::Image));
  designer->SetElementRect({ElementKind::Image, 1}, {20, 20, 240, 180});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Gif));
  designer->SetElementRect({ElementKind::Gif, 1}, {280, 20, 80, 100});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Wav));
  designer->SetElementRect({ElementKind::Wav, 1}, {380, 20, 32, 32});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Flash));
  designer->SetElementRect({ElementKind::Flash, 1}, {430, 20, 110, 80});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  Doc().labels[0].control.caption = "新年快乐\r\n万事如意，阖家幸福！";
  Doc().labels[0].control.font.size = 16;
  Doc().labels[0].control.font.bold = true;
  Doc().labels[0].control.font.color = platform::Rgb(200, 0, 0);
  designer->ElementChanged({ElementKind::Label, 1});
  designer->SetElementRect({ElementKind::Label, 1}, {30, 220, 220, 70});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  designer->SetElementRect({ElementKind::Button, 1}, {30, 320, 90, 26});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Scl));
  Doc().scls[0].rec.Text = "祝您新春愉快，身体健康，\r\n来年大吉大利！";
  Doc().scls[0].control.transparent = false;
  Doc().scls[0].rec.BKColor = platform::Rgb(230, 240, 255);
  designer->ElementChanged({ElementKind::Scl, 1});
  designer->SetElementRect({ElementKind::Scl, 1}, {280, 140, 120, 120});
  ASSERT_TRUE(designer->InsertElement(ElementKind::Pics));
  Doc().picsDat.pictures = {Media("新春红梅.jpg"), Media("中秋明月.jpg")};
  designer->SetElementRect({ElementKind::Pics, 0}, {420, 140, 120, 120});
  designer->ReloadPics();
  View({ElementKind::Scl, 1})->Caption()->Scroller().SetPosition(60);
  View({ElementKind::Scl, 1})->Caption()->Tick();

  designer->SelectElement({ElementKind::Label, 1});
  QApplication::processEvents();
  QImage card = Canvas().Panel()->grab().toImage();
  Save(window.grab().toImage(), "designer-sample-card");
  Save(card, "designer-canvas");

  // What each control drew: picture, button face, sound icon, Flash placeholder, caption.
  EXPECT_NE(At(card, {140, 110}), QColor(255, 244, 214));                 // the image
  EXPECT_EQ(At(card, {34, 340}), QColor(212, 208, 200));                  // button face
  EXPECT_NE(At(card, {380 + 10, 20 + 16}), QColor(255, 244, 214));         // sound icon
  EXPECT_EQ(At(card, {440, 60}).red(), 200);                               // placeholder red
  EXPECT_EQ(At(card, {282, 142}), QColor(230, 240, 255));                  // caption background
  EXPECT_EQ(View({ElementKind::Pics, 0})->Pics()->PictureCount(), 2);
  // Handles of the selected label: navy edges at (L - 6, T - 6) and (L + W, T + H).
  EXPECT_EQ(At(card, {24, 214}), QColor(0, 0, 128));
  EXPECT_EQ(At(card, {250, 290}), QColor(0, 0, 128));
  EXPECT_EQ(At(card, {27, 217}), QColor(255, 255, 255));

  // While handle 4 of the button is dragged, the resize frame shows the new rectangle
  // (inverting what lies below) and the move frame sits on the handle.
  designer->SelectElement({ElementKind::Button, 1});
  QTest::mousePress(Canvas().Handle(4), Qt::LeftButton, {}, QPoint(2, 2));
  QMouseEvent drag(QEvent::MouseMove, QPointF(62, 42), Canvas().Handle(4)->mapToGlobal(QPointF(62, 42)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Canvas().Handle(4), &drag);
  QApplication::processEvents();
  QImage dragging = Canvas().Panel()->grab().toImage();
  Save(dragging.copy(0, 200, 300, 220), "designer-resizing");
  // The frame's right edge runs at x = 30 + 150 - 1 through the card's colour, inverted.
  EXPECT_EQ(At(dragging, {178, 380}), QColor(0, 11, 41));
  QTest::mouseRelease(Canvas().Handle(4), Qt::LeftButton, {}, QPoint(62, 42));
  EXPECT_EQ(RectOf({ElementKind::Button, 1}), (Rect{30, 320, 150, 66}));

  // The panels of each kind and of the card window.
  const std::pair<ElementRef, const char*> kinds[] = {
      {{ElementKind::Label, 1}, "designer-panel-label"}, {{ElementKind::Button, 1}, "designer-panel-button"},
      {{ElementKind::Image, 1}, "designer-panel-image"}, {{ElementKind::Gif, 1}, "designer-panel-gif"},
      {{ElementKind::Wav, 1}, "designer-panel-sound"},   {{ElementKind::Flash, 1}, "designer-panel-flash"},
      {{ElementKind::Scl, 1}, "designer-panel-caption"}, {{ElementKind::Pics, 0}, "designer-panel-showbox"}};
  Props().resize(217, 640);
  for (const auto& [ref, name] : kinds) {
    designer->SelectElement(ref);
    Props().ShowPropertiesPage();
    QApplication::processEvents();
    EXPECT_EQ(platform::FromQString(Props().Selector()->currentText()), ShownName(ref));
    Save(Props().grab().toImage(), name);
    if (ref.kind == ElementKind::Button) {
      Props().Pages()->setCurrentIndex(1);
      QApplication::processEvents();
      Save(Props().grab().toImage(), "designer-panel-button-events");
    }
  }
  designer->SelectCardWindow();
  Props().ShowPropertiesPage();
  QApplication::processEvents();
  EXPECT_EQ(Props().PropertyPanel()->objectName(), "CardPanelProperties");
  Save(Props().grab().toImage(), "designer-panel-card");
  Props().Pages()->setCurrentIndex(1);
  QApplication::processEvents();
  Save(Props().grab().toImage(), "designer-panel-card-events");
}
