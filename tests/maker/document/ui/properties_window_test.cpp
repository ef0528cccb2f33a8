#include "maker/document/ui/properties_window.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QSlider>

#include "designer_fixture.h"
#include "maker/document/element_lifecycle.h"
#include "maker/document/picture_size.h"
#include "platform/qt/qt_text.h"

using namespace document;
using designer_test::DesignerTest;

namespace {

constexpr ElementRef kLabel1{ElementKind::Label, 1};

void Retype(QLineEdit* e, const char* keys) {
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, keys);
}

}  // namespace

TEST_F(DesignerTest, PositionAndSizeFieldsFilterKeysAndApplyOnEnter) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  ASSERT_EQ(Props().PropertyPanel()->objectName(), "LabelPanel");
  // "-5" in Left and Enter: 5 pixels left of the card's edge.
  Retype(Field<QLineEdit>("Left"), "-5");
  QTest::keyClick(Field<QLineEdit>("Left"), Qt::Key_Return);
  EXPECT_EQ(RectOf(kLabel1).left, -5);
  EXPECT_EQ(View(kLabel1)->x(), -5);
  EXPECT_EQ(Canvas().Handle(1)->pos(), QPoint(-11, -6));
  // A label's Width takes no "-"; letters neither.
  QLineEdit* width = Field<QLineEdit>("Width");
  Retype(width, "-8a0");
  EXPECT_EQ(width->text(), "80");
  // Emptied and left: the present width comes back.
  Retype(width, "");
  Field<QLineEdit>("Height")->setFocus();
  EXPECT_EQ(width->text(), "120");
  EXPECT_EQ(RectOf(kLabel1).width, 120);
  // A lone "-" does not convert: the error is shown and the rectangle stays.
  Retype(Field<QLineEdit>("Top"), "-");
  QTest::keyClick(Field<QLineEdit>("Top"), Qt::Key_Return);
  ASSERT_FALSE(dialogs.Messages().empty());
  EXPECT_NE(dialogs.Messages().back().find("-"), std::string::npos);
  EXPECT_EQ(RectOf(kLabel1), (Rect{-5, 0, 120, 120}));
  // Buttons take "-" in their size fields.
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  Retype(Field<QLineEdit>("Width"), "-3");
  EXPECT_EQ(Field<QLineEdit>("Width")->text(), "-3");
}

TEST_F(DesignerTest, DeleteCommandInAFieldDeletesTextNotTheElement) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  QLineEdit* hint = Field<QLineEdit>("Hint");
  hint->setText(platform::ToQString("文本ab"));
  hint->setFocus();
  hint->setCursorPosition(0);
  designer->DeleteSelection();
  EXPECT_EQ(Doc().labels.size(), 1u);
  EXPECT_EQ(Doc().labels[0].rec.Hint, "本ab");  // the whole double-byte character went
  hint->setSelection(1, 1);
  designer->DeleteSelection();
  EXPECT_EQ(Doc().labels[0].rec.Hint, "本b");
  // Back on the canvas, the same command deletes the element.
  Canvas().Panel()->setFocus();
  designer->DeleteSelection();
  EXPECT_TRUE(Doc().labels.empty());
  EXPECT_EQ(Props().PropertyPanel()->objectName(), "CardPanelProperties");
}

TEST_F(DesignerTest, CaptionPanelSpeedDirectionAndTicks) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Scl));
  const ElementRef cap{ElementKind::Scl, 1};
  QSlider* speed = Field<QSlider>("Speed");
  EXPECT_EQ(speed->value(), 500);  // a new caption: 100 ms
  speed->setValue(570);
  EXPECT_EQ(Doc().scls[0].control.timerInterval, 30);
  widgets::ScrollCaptionWidget* w = View(cap)->Caption();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Interval(), 30);
  EXPECT_TRUE(w->IsRunning());

  // Each direction scrolls one step per tick and starts again past its end.
  QComboBox* way = Field<QComboBox>("Way");
  for (int wy = 0; wy < 4; ++wy) {
    way->setCurrentIndex(wy);
    ASSERT_EQ(Doc().scls[0].rec.Way, wy);
    ASSERT_EQ(w->Look().way, wy);
    document::CaptionGeometry g = w->Scroller().Geometry();
    EXPECT_EQ(g.width, 200);
    EXPECT_EQ(g.height, 150);
    int limit = wy < 2 ? g.lineCount * g.lineHeight + 150 : 400;
    EXPECT_EQ(document::CaptionPositionLimit(g), limit) << "way " << wy;
    w->Scroller().SetPosition(7);
    w->Tick();
    EXPECT_EQ(w->Scroller().Position(), 8);
    w->Scroller().SetPosition(limit);
    w->Tick();
    EXPECT_EQ(w->Scroller().Position(), 0) << "way " << wy;
  }
  // Three lines bottom to top in a box 150 high: p runs 0 … 3h + 150, then starts again;
  // right to left in a box 200 wide: 401 ticks from entering to starting again.
  Field<QPlainTextEdit>("Text")->setPlainText(platform::ToQString("一\n二\n三"));
  way->setCurrentIndex(0);
  ASSERT_EQ(w->Scroller().Lines().size(), 3u);
  const int h = w->Scroller().LineHeight();
  ASSERT_GT(h, 0);
  w->Scroller().SetPosition(0);
  for (int i = 0; i < 3 * h + 150; ++i) w->Tick();
  EXPECT_EQ(w->Scroller().Position(), 3 * h + 150);
  w->Tick();
  EXPECT_EQ(w->Scroller().Position(), 0);
  way->setCurrentIndex(2);
  w->Scroller().SetPosition(0);
  for (int i = 0; i < 401; ++i) w->Tick();
  EXPECT_EQ(w->Scroller().Position(), 0);

  // The preview and the build stop every caption timer.
  designer->StopCaptionTimers();
  EXPECT_FALSE(w->IsRunning());
  designer->StartCaptionTimers();
  EXPECT_TRUE(w->IsRunning());
}

TEST_F(DesignerTest, ActionChooserIsRebuiltOnSelection) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  const ElementRef button{ElementKind::Button, 1};
  QComboBox* action = EventField<QComboBox>("Action");
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->count(), 5);  // four fixed entries and one for the label
  const std::string labelAction = "文本框1的内容改为设置值2中的值";
  int i = action->findText(platform::ToQString(labelAction));
  ASSERT_EQ(i, 4);
  action->setCurrentIndex(i);
  emit action->activated(i);
  EXPECT_EQ(Doc().buttons[0].rec.Cmd, labelAction);

  // The label goes: selecting the button shows an empty chooser, the Cmd stays.
  designer->SelectElement(kLabel1);
  Canvas().Panel()->setFocus();
  designer->DeleteSelection();
  designer->SelectElement(button);
  action = EventField<QComboBox>("Action");
  EXPECT_EQ(action->count(), 4);
  EXPECT_EQ(action->currentIndex(), -1);
  EXPECT_EQ(Doc().buttons[0].rec.Cmd, labelAction);

  // "播放声音:" ticked before a sound is chosen leaves Wav as it was.
  EventField<QCheckBox>("PlaySound")->setChecked(true);
  EXPECT_EQ(Doc().buttons[0].rec.Wav, 0);
  // Setting value 1 naming a ".crd3" file marks the document.
  EventField<QLineEdit>("Value1")->setText("C:\\cards\\x.CRD3");
  EXPECT_EQ(Doc().buttons[0].rec.Pic, "C:\\cards\\x.CRD3");
  EXPECT_TRUE(Doc().crd3);
}

TEST_F(DesignerTest, ShowBoxPictureListButtons) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Pics));
  ASSERT_EQ(Props().PropertyPanel()->objectName(), "PicsPanel");
  Field<QPushButton>("Remove")->click();
  ASSERT_FALSE(dialogs.Messages().empty());
  EXPECT_EQ(dialogs.Messages().back(), "请首先选中要移除的图像。");
  dialogs.openAnswers.push_back({dir.File("a.jpg"), dir.File("b.jpg")});
  Field<QPushButton>("Add")->click();
  EXPECT_EQ(dialogs.shown.back().text, "添加图像，可按住Ctrl键一次选中多幅图像");
  EXPECT_TRUE(dialogs.shown.back().file.multiSelect);
  QListWidget* list = Field<QListWidget>("Pictures");
  ASSERT_EQ(list->count(), 2);
  list->setCurrentRow(1);
  Field<QPushButton>("Up")->click();
  EXPECT_EQ(Doc().picsDat.pictures, (std::vector<std::string>{dir.File("b.jpg"), dir.File("a.jpg")}));
  EXPECT_EQ(list->currentRow(), 0);
  // The interval field takes digits only; the effect list names entry 19 specially.
  QLineEdit* inv = Field<QLineEdit>("Interval");
  Retype(inv, "1x2");
  EXPECT_EQ(Doc().picsDat.Inv, 12);
  QComboBox* effect = Field<QComboBox>("Effect");
  EXPECT_EQ(platform::FromQString(effect->itemText(19)), "效果 19 (渐变)");
  effect->setCurrentIndex(7);
  EXPECT_EQ(Doc().picsBox->effectId, 7);
  EXPECT_EQ(View({ElementKind::Pics, 0})->Pics()->Box().OnlyUseXGID, 7);
}

TEST_F(DesignerTest, SelectorAndFontButtonsActOnTheChosenElement) {
  ASSERT_TRUE(designer->InsertElement(ElementKind::Label));
  ASSERT_TRUE(designer->InsertElement(ElementKind::Button));
  Props().Selector()->setCurrentIndex(1);  // "文本框1"
  ASSERT_EQ(*Doc().selected, kLabel1);
  EXPECT_EQ(Props().PropertyPanel()->objectName(), "LabelPanel");
  EXPECT_TRUE(Canvas().HandlesShown());
  platform::FontSpec chosen;
  chosen.name = "黑体";
  chosen.size = 20;
  chosen.italic = true;
  dialogs.fontAnswers.push_back(chosen);
  Field<QPushButton>("FontButton")->click();
  EXPECT_EQ(Doc().labels[0].control.font, chosen);
  dialogs.colorAnswers.push_back(platform::Rgb(1, 2, 3));
  Field<QPushButton>("ColourButton")->click();
  EXPECT_EQ(Doc().labels[0].control.font.color, platform::Rgb(1, 2, 3));
  // The label's content writes its caption through.
  Field<QPlainTextEdit>("Caption")->setPlainText(platform::ToQString("你好\n世界"));
  EXPECT_EQ(Doc().labels[0].control.caption, "你好\r\n世界");
  Props().Selector()->setCurrentIndex(0);
  EXPECT_FALSE(Doc().selected.has_value());
  EXPECT_FALSE(Canvas().HandlesShown());
}

TEST_F(DesignerTest, MaskPictureShapesTheCardAndSetsItsSize) {
  std::string mask = std::string(CARD_SOURCE_DIR) + "/data/贺卡图片/心形掩饰图.gif";
  Field<QCheckBox>("UseMask")->setChecked(true);
  dialogs.openAnswers.push_back({mask});
  Field<QPushButton>("MaskNameBrowse")->click();
  EXPECT_EQ(dialogs.shown.back().text, "浏览掩饰图片");
  document::PictureSize size = document::MeasurePicture(mask);
  EXPECT_EQ(Doc().window.width, size.width);
  EXPECT_EQ(Field<QLineEdit>("CardWidth")->text().toInt(), size.width);
  EXPECT_EQ(Canvas().Panel()->width(), size.width);
  QRegion shape = Canvas().Panel()->mask();
  ASSERT_FALSE(shape.isEmpty());
  EXPECT_FALSE(shape.contains(QPoint(0, 0)));  // the white corner is cut out
  EXPECT_TRUE(shape.contains(QPoint(size.width / 2, size.height / 2)));
  Field<QCheckBox>("UseMask")->setChecked(false);
  EXPECT_TRUE(Canvas().Panel()->mask().isEmpty());
}

TEST_F(DesignerTest, CardWindowPanels) {
  ASSERT_EQ(Props().PropertyPanel()->objectName(), "CardPanelProperties");
  QCheckBox* lock = Field<QCheckBox>("SuoScr");
  QCheckBox* loop = Field<QCheckBox>("MoveScr");
  EXPECT_TRUE(lock->isChecked());
  loop->setChecked(true);
  EXPECT_FALSE(lock->isChecked());
  EXPECT_FALSE(Doc().window.suoScr);
  lock->setChecked(true);
  EXPECT_FALSE(loop->isChecked());
  EXPECT_FALSE(Doc().window.moveScr);
  // The size fields take digits and resize the card panel.
  Retype(Field<QLineEdit>("CardWidth"), "-300");
  QTest::keyClick(Field<QLineEdit>("CardWidth"), Qt::Key_Return);
  EXPECT_EQ(Doc().window.width, 300);
  EXPECT_EQ(Canvas().Panel()->width(), 300);
  // A mask decides the size: the fields are disabled while it is used.
  Field<QCheckBox>("UseMask")->setChecked(true);
  EXPECT_FALSE(Field<QLineEdit>("CardWidth")->isEnabled());
  Field<QCheckBox>("UseMask")->setChecked(false);
  EXPECT_TRUE(Field<QLineEdit>("CardWidth")->isEnabled());
  // The speed field: empty becomes "100", "0" becomes "10".
  Retype(Field<QLineEdit>("MoveSD"), "0");
  QTest::keyClick(Field<QLineEdit>("MoveSD"), Qt::Key_Return);
  EXPECT_EQ(Doc().window.moveSD, "10");
  Retype(Field<QLineEdit>("MoveSD"), "");
  QTest::keyClick(Field<QLineEdit>("MoveSD"), Qt::Key_Return);
  EXPECT_EQ(Doc().window.moveSD, "100");
}
