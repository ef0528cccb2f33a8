#include "maker/mail/send_checks.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using mail::AddResult;
using mail::AddToRecipientList;
using mail::CheckSend;
using mail::MailField;
using mail::SendForm;
using platform::MsgIcon;

namespace {

SendForm Valid(const testing_support::TempDir& dir) {
  testing_support::WriteBytes(dir.File("card.exe"), "MZ");
  return SendForm{" 10.0.0.1 ", "me@sender.test", "小明", "you@card.test", dir.File("card.exe"), "新年快乐", ""};
}

}  // namespace

TEST(SendChecks, TheFirstFailingCheckGivesItsMessageIconAndFocus) {
  testing_support::TempDir dir;
  EXPECT_FALSE(CheckSend(Valid(dir)).has_value());

  // Everything wrong at once: the checks run in their order.
  SendForm f{"  ", "nobody", "", "nobody", dir.File("missing.exe"), "", ""};
  struct Step {
    std::string message;
    MsgIcon icon;
    MailField focus;
  };
  const std::vector<Step> steps = {
      {"请输入DNS服务器地址。", MsgIcon::Warning, MailField::DnsServer},
      {"请正确输入您的电子信箱地址。", MsgIcon::Warning, MailField::SenderAddress},
      {"请在“接收贺卡的邮箱地址”输入框中输入正确的邮址。", MsgIcon::Warning, MailField::Recipient},
      {"请输入正确的贺卡文件位置。", MsgIcon::Warning, MailField::CardFile},
      {"发件箱和收件箱不能在同一服务器下，因为很多服务器在这种情况下要求身份验证。", MsgIcon::Error, MailField::None},
  };
  auto mend = [&](size_t i) {
    if (i == 0) f.dnsServer = "10.0.0.1";
    if (i == 1) f.senderAddress = "me@Card.Test";
    if (i == 2) f.recipient = "you@card.TEST";  // same domain in other letter case
    if (i == 3) f.cardFile = Valid(dir).cardFile;
    if (i == 4) f.recipient = "you@other.test";
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    auto failure = CheckSend(f);
    ASSERT_TRUE(failure.has_value()) << i;
    EXPECT_EQ(failure->message, steps[i].message);
    EXPECT_EQ(failure->icon, steps[i].icon);
    EXPECT_EQ(failure->focus, steps[i].focus);
    mend(i);
  }
  EXPECT_FALSE(CheckSend(f).has_value());
}

TEST(SendChecks, TheSendCheckNeedsOnlyAnAtSign) {
  testing_support::TempDir dir;
  SendForm f = Valid(dir);
  f.recipient = "x@ab";  // too short for the list, fine for sending
  EXPECT_FALSE(CheckSend(f).has_value());
  EXPECT_FALSE(mail::IsValidListAddress("x@ab"));
}

TEST(SendChecks, LineBreaksInNameAddressesOrSubjectAreRefusedBeforeSending) {
  testing_support::TempDir dir;
  const std::vector<std::pair<std::string SendForm::*, MailField>> fields = {
      {&SendForm::senderName, MailField::SenderName},
      {&SendForm::senderAddress, MailField::SenderAddress},
      {&SendForm::recipient, MailField::Recipient},
      {&SendForm::subject, MailField::Subject},
  };
  for (const auto& [member, focus] : fields) {
    for (const char* br : {"\r\n", "\n", "\r"}) {
      SendForm f = Valid(dir);
      f.*member += std::string(br) + "Bcc: all@victims.test";
      auto failure = CheckSend(f);
      ASSERT_TRUE(failure.has_value());
      EXPECT_EQ(failure->focus, focus);
      EXPECT_NE(failure->message.find("换行符"), std::string::npos);
    }
  }
  // A line break in the body is ordinary text.
  SendForm f = Valid(dir);
  f.body = "line one\r\nline two";
  EXPECT_FALSE(CheckSend(f).has_value());
}

TEST(RecipientList, ValidDistinctAddressesUpToTen) {
  std::vector<std::string> list;
  EXPECT_EQ(AddToRecipientList(list, "a@abc"), AddResult::Invalid);  // 3 characters after "@"
  EXPECT_EQ(AddToRecipientList(list, "nobody.test"), AddResult::Invalid);
  EXPECT_EQ(mail::AddResultMessage(AddResult::Invalid), "请输入正确的邮址。");
  EXPECT_EQ(AddToRecipientList(list, "a@abcd"), AddResult::Added);
  EXPECT_EQ(AddToRecipientList(list, "A@ABCD"), AddResult::Duplicate);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(AddToRecipientList(list, "u" + std::to_string(i) + "@card.test"), AddResult::Added);
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(AddToRecipientList(list, "eleventh@card.test"), AddResult::ListFull);
  EXPECT_EQ(mail::AddResultMessage(AddResult::ListFull),
            "对不起，为防止有人利用本软件乱发垃圾邮件，所以本软件一次最多允许10个邮箱存在目标邮箱列表中。");
  EXPECT_EQ(list.size(), 10u);
  EXPECT_EQ(list.front(), "a@abcd");
}
