#pragma once
// What the wizard tests share: the program folder of the build, scripted dialogs, a short flash.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <string>

#include "maker/ordinary/ui/test_app.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "platform/paths.h"
#include "platform/scripted_dialogs.h"

struct WizardFixture : ::testing::Test {
  WizardFixture() {
    TestApp();
    platform::paths::SetProgramFolder(CARD_PROGRAM_DIR "/");
    ordinary_ui::TForm3::SetFlashPumpCount(1);
  }
  platform::ScriptedDialogs dialogs;
};

inline std::string ProgramFile(const std::string& name) { return platform::paths::ProgramFolder() + name; }
inline const std::string kBox = "贺词框\\红金贺词框.jpg";
inline const std::string kCard = "贺卡图片\\新年烟花.jpg";

// Shows the wizard without a modal loop and makes it the active window, so focus moves.
inline void ShowActive(ordinary_ui::TForm3& wizard) {
  wizard.show();
  wizard.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&wizard));
}

// Leaves a field with Enter, as the user does.
inline void Leave(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->setText(text);
  QTest::keyClick(edit, Qt::Key_Return);
}
