// The Qt dialogs of the window programs: plain-text message boxes, Chinese buttons and Qt's own
// texts in Chinese, and the shared font chooser with the card font names first.
#include "platform/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/fonts.h"
#include "platform/qt/font_chooser.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_translations.h"
#include "support/qt_app.h"

using namespace platform;

namespace {

void App() {
  testing_support::QtApp("platform_qt_tests", true);
  fonts::UseAliasFile(std::string(CARD_SOURCE_DIR) + "/data/fonts/fonts.conf");
}

// Runs `action` on the modal dialog of class D once it is up, while `open` runs the dialog.
template <class D>
bool WithModal(const std::function<void()>& open, const std::function<void(D*)>& action) {
  bool seen = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget()); d && !seen) {
      seen = true;
      action(d);
    }
  });
  poll.start(5);
  QTimer::singleShot(5000, [] {
    if (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  open();
  return seen;
}

QStringList Rows(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

TEST(QtDialogs, MessageBoxesShowOutsideTextAsItIsWithChineseButtons) {
  App();
  QtDialogs dialogs;
  const std::string text = "<b>mx.example.com</b> 220 <a href=\"x\">ready</a>";
  Qt::TextFormat format = Qt::AutoText;
  QString shown;
  QStringList buttons;
  MsgResult result = MsgResult::Ok;
  ASSERT_TRUE(WithModal<QMessageBox>([&] { result = dialogs.MessageBox(text, "标题", MsgIcon::Question, MsgButtons::YesNoCancel); },
                                     [&](QMessageBox* box) {
                                       auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                                       format = label ? label->textFormat() : Qt::AutoText;
                                       shown = label ? label->text() : QString();
                                       for (QAbstractButton* b : box->buttons()) buttons << b->text();
                                       box->button(QMessageBox::No)->click();
                                     }));
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(FromQString(shown), text);
  buttons.sort();
  QStringList expected{ToQString("是(&Y)"), ToQString("否(&N)"), ToQString("取消")};
  expected.sort();
  EXPECT_EQ(buttons, expected);
  EXPECT_EQ(result, MsgResult::No);
}

TEST(QtDialogs, TheTemplateNameBoxSpeaksChinese) {
  App();
  QtDialogs dialogs;
  QStringList buttons;
  std::optional<std::string> name;
  ASSERT_TRUE(WithModal<QInputDialog>([&] { name = dialogs.InputBox("保存模板", "请输入模板名称:", ""); },
                                      [&](QInputDialog* box) {
                                        for (QAbstractButton* b : box->findChild<QDialogButtonBox*>()->buttons())
                                          buttons << b->text();
                                        box->setTextValue(ToQString("春节"));
                                        box->accept();
                                      }));
  buttons.sort();
  QStringList expected{ToQString("确定"), ToQString("取消")};
  expected.sort();
  EXPECT_EQ(buttons, expected);
  EXPECT_EQ(name, std::optional<std::string>("春节"));
}

TEST(QtDialogs, QtsOwnDialogTextsAreChineseOnceTheTranslationsAreInstalled) {
  App();
  std::string why;
  ASSERT_TRUE(InstallQtTranslations(&why)) << why << " (install qt6-translations-l10n)";
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(FromQString(box.button(QDialogButtonBox::Ok)->text()), "确定");
  EXPECT_EQ(FromQString(box.button(QDialogButtonBox::Cancel)->text()), "取消");
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_NE(files.labelText(QFileDialog::FileType), "Files of type:");
  EXPECT_NE(files.labelText(QFileDialog::LookIn), "Look in:");
  // Screenshots: LMCARD_SHOT_DIR names a folder for pictures of the standard dialogs.
  if (const char* dir = std::getenv("LMCARD_SHOT_DIR")) {
    QColorDialog colours;
    FontChooser fonts(FontSpec{});
    const std::pair<QWidget*, const char*> shots[] = {{&files, "file"}, {&colours, "colour"}, {&fonts, "font"}};
    for (const auto& [w, name] : shots) {
      w->show();
      QTest::qWait(300);
      w->grab().save(QString(dir) + "/" + name + "_dialog.png");
    }
  }
}

TEST(FontChooser, OffersTheCardNamesFirstAndKeepsANameItDoesNotKnow) {
  App();
  FontSpec initial;
  initial.name = "隶书";
  initial.size = 0;
  initial.height = -16;  // 12 points
  initial.bold = true;
  initial.color = Rgb(1, 2, 3);
  FontChooser chooser(initial);
  const QStringList rows = Rows(chooser.FamilyList());
  ASSERT_GE(rows.size(), 7);
  EXPECT_EQ(FromQString(rows[0]), "宋体");
  EXPECT_LT(rows.indexOf(ToQString("华文行楷")), rows.indexOf("AR PL UKai CN"));
  EXPECT_EQ(FromQString(chooser.FamilyList()->currentItem()->text()), "隶书");
  EXPECT_EQ(chooser.StyleList()->currentRow(), 2);  // bold
  EXPECT_EQ(chooser.SizeEdit()->text(), "12");

  chooser.FamilyList()->setCurrentRow(rows.indexOf(ToQString("黑体")));
  chooser.StyleList()->setCurrentRow(3);  // bold italic
  chooser.SizeEdit()->setText("20");
  chooser.UnderlineBox()->setChecked(true);
  FontSpec chosen = chooser.Chosen();
  EXPECT_EQ(chosen.name, "黑体");
  EXPECT_EQ(chosen.size, 20);
  EXPECT_EQ(chosen.height, 0);
  EXPECT_TRUE(chosen.bold && chosen.italic && chosen.underline && !chosen.strikeOut);
  EXPECT_EQ(chosen.color, Rgb(1, 2, 3));

  // A card's name that this machine lacks stays chosen rather than turning into another.
  initial.name = "方正舒体";
  FontChooser other(initial);
  EXPECT_EQ(FromQString(other.FamilyList()->currentItem()->text()), "方正舒体");
  EXPECT_EQ(other.Chosen().name, "方正舒体");
}

TEST(FontChooser, IsTheFontDialogOfTheWindowPrograms) {
  App();
  QtDialogs dialogs;
  std::optional<FontSpec> chosen;
  ASSERT_TRUE(WithModal<FontChooser>([&] { chosen = dialogs.ChooseFont(FontSpec{}); },
                                     [](FontChooser* c) {
                                       c->FamilyList()->setCurrentRow(
                                           Rows(c->FamilyList()).indexOf(ToQString("楷体")));
                                       c->accept();
                                     }));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->name, "楷体");
}
