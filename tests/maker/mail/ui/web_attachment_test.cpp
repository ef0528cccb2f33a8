// The web card the mail dialog attaches, made from an ordinary card file.
#include "maker/mail/ui/web_attachment.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/run_program.h"
#include "support/shared_program_folder.h"
#include "support/temp_dir.h"

TEST(WebAttachment, AnOrdinaryCardBecomesAnOrdinaryPageNamedAfterIt) {
  testing_support::SharedProgramFolder programFolder;
  testing_support::TempDir dir;
  const std::string program = std::string(CARD_PROGRAM_DIR) + "/";
  const std::string templ = program + platform::GbkToUtf8("template/新年快乐.lmcard");
  const auto build = testing_support::RunProgram(program + "cardtool build-ordinary '" + templ + "' " +
                                                 dir.HostPath() + "card.crd1 --yes 2>&1");
  ASSERT_EQ(build.exitCode, 0) << build.output;

  const std::string page = mail_ui::WriteWebAttachment(dir.File("card.crd1"));
  EXPECT_EQ(page, mail_ui::WebAttachmentPath(dir.File("card.crd1")));
  EXPECT_EQ(page.substr(page.size() - 9), "card.html");
  const std::string html = platform::files::ReadFile(page).value_or("");
  platform::files::DeleteFile(page);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("\"kind\":\"ordinary\""), std::string::npos);
}
