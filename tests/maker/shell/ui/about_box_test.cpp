#include "maker/shell/ui/about_box.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>

#include "shell_ui_fixture.h"

using namespace cardshell;

TEST(AboutBox, DrawsTheNameWithItsShadowAndClosesWithItsButton) {
  shell_ui_fixture::App();
  TForm9 box;
  box.EndSplash();
  QImage image = box.grab().toImage();
  // Both copies of the name are drawn: the yellow one and the orange shadow.
  int yellow = 0, orange = 0;
  for (int y = 40; y < 100; ++y) {
    for (int x = 20; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (c.red() > 240 && c.green() > 240 && c.blue() < 40) ++yellow;
      if (c.red() > 240 && c.green() > 120 && c.green() < 160 && c.blue() < 40) ++orange;
    }
  }
  EXPECT_GT(yellow, 20);
  EXPECT_GT(orange, 5);
  EXPECT_TRUE(box.CloseButton()->isVisibleTo(&box));
  box.show();
  QTest::mouseClick(box.CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}
