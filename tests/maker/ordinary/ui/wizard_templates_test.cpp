// Every shipped ordinary template opens in the wizard. With LMCARD_WIZARD_SHOTS set to a
// folder, the pages of the wizard on the first template are saved there as PNG pictures.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QScrollArea>
#include <QTabWidget>

#include "maker/ordinary/ui/format_chooser.h"
#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/wizard_fixture.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

using namespace ordinary_ui;

TEST_F(WizardFixture, ShippedTemplatesOpenOnEveryPage) {
  std::vector<std::string> names = platform::files::ListFiles(ProgramFile("template\\"), {".lmcard"});
  ASSERT_FALSE(names.empty());
  QByteArray shots = qgetenv("LMCARD_WIZARD_SHOTS");
  for (const std::string& name : names) {
    SCOPED_TRACE(platform::GbkToUtf8(name));
    TForm3 wizard;
    wizard.LoadTemplate(ProgramFile("template\\" + name));
    wizard.show();
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_NE(wizard.CardKind(), PictureKind::None);
    ordinary::OrdinarySettings s = wizard.Settings();
    EXPECT_EQ(wizard.BoxShown(), s.boxIndex != 0);
    // The card picture is drawn: its middle is not the area's background colour.
    QImage card = wizard.Ui().cardArea->grab().toImage();
    QColor background = ToQColor(s.cardBkColor);
    int differing = 0;
    for (int x = 100; x < 300; x += 10) differing += card.pixelColor(x, 130) != background;
    EXPECT_GT(differing, 10);
    if (!shots.isEmpty() && name == names.front()) {
      for (int page = 1; page <= 6; ++page) {
        wizard.SetPage(page);
        QTest::qWait(50);
        wizard.grab().save(QString::fromUtf8(shots) + QString("/wizard-page%1.png").arg(page));
      }
      FormatChooser chooser(&wizard);
      chooser.show();
      QTest::qWait(50);
      chooser.grab().save(QString::fromUtf8(shots) + "/wizard-format-chooser.png");
    }
  }
}
