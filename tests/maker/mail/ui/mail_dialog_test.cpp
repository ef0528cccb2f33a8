#include "maker/mail/ui/mail_dialog.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "maker/mail/ui/lm_status_bar.h"
#include "maker/mail/ui/mail_ui_fixture.h"
#include "platform/qt/qt_text.h"
#include "platform/registry.h"

using mail_ui::TForm7;
using mail_ui_test::DialogScope;
using platform::FromQString;
using platform::MsgIcon;
using platform::MsgResult;
using platform::ToQString;

namespace {

std::string Caption(const QWidget* w) {
  if (auto* b = qobject_cast<const QPushButton*>(w)) return FromQString(b->text());
  return "";
}

// The text of the label whose buddy is box.
std::string LabelOf(const TForm7& form, const QWidget* box) {
  for (QLabel* l : form.findChildren<QLabel*>()) {
    if (l->buddy() == box) return FromQString(l->text());
  }
  return "";
}

void ShowActive(QWidget* w) {
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

}  // namespace

TEST(MailDialog, ControlsDefaultsAndTheStartMessage) {
  DialogScope s;
  TForm7& f = s.Make("10.20.30.40");
  EXPECT_EQ(FromQString(f.windowTitle()), "发送贺卡");
  EXPECT_EQ(f.minimumSize(), f.maximumSize());  // fixed size
  EXPECT_EQ(FromQString(f.Edit6()->text()), "10.20.30.40");
  for (QLineEdit* e : {f.Edit1(), f.Edit2(), f.Edit3(), f.Edit4(), f.Edit5()}) EXPECT_TRUE(e->text().isEmpty());
  EXPECT_EQ(LabelOf(f, f.Edit6()), "域名解析服务器(DNS)地址:");
  EXPECT_EQ(LabelOf(f, f.Edit1()), "您的电子邮件地址:");
  EXPECT_EQ(LabelOf(f, f.Edit2()), "您的名字:");
  EXPECT_EQ(LabelOf(f, f.Edit3()), "接收贺卡的邮箱地址:");
  EXPECT_EQ(LabelOf(f, f.Edit4()), "贺卡文件:");
  EXPECT_EQ(LabelOf(f, f.Edit5()), "邮件标题:");
  EXPECT_EQ(LabelOf(f, f.Memo1()), "邮件正文:");
  EXPECT_EQ(FromQString(f.Memo1()->toPlainText()),
            "您好，贺卡文件在邮件附件中。\n\n如果您使用Outlook接收邮件，并且您的Outlook设置了不允许打开和保存附件\n"
            "的安全选项，请去掉该选项后才再开邮件。");
  EXPECT_EQ(Caption(f.Button5()), "浏览贺卡文件");
  EXPECT_EQ(Caption(f.Button6()), "立即发送贺卡(&S)");
  EXPECT_EQ(Caption(f.Button8()), "停止发送并关闭窗口");
  EXPECT_TRUE(f.Button6()->font().bold());
  EXPECT_TRUE(f.Button8()->font().bold());
  EXPECT_EQ(Caption(f.Button1()), "将邮址添加到下面的列表中");
  EXPECT_EQ(Caption(f.Button3()), "移除选定的邮箱");
  EXPECT_EQ(Caption(f.Button4()), "清空邮箱列表");
  EXPECT_EQ(Caption(f.Button7()), "向列表中的邮箱发送贺卡");

  // The status bar: "就绪" in a 180-pixel first panel, the progress bar over the second.
  EXPECT_EQ(f.StatusText(), "就绪");
  EXPECT_EQ(f.Sb1()->PanelRect(0).width(), 180);
  EXPECT_EQ(f.PB()->parentWidget(), f.Sb1());
  EXPECT_TRUE(f.Sb1()->PanelRect(1).contains(f.PB()->geometry()));
  EXPECT_EQ(f.PB()->minimum(), 0);
  EXPECT_EQ(f.PB()->maximum(), 100);
  EXPECT_EQ(f.PB()->value(), 0);
  // Labels show text from outside (a mail exchanger's name in the status) as it is, never as markup.
  for (QLabel* l : f.findChildren<QLabel*>()) EXPECT_EQ(l->textFormat(), Qt::PlainText) << FromQString(l->text());

  f.show();
  QTest::qWait(20);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  const auto& hint = s.dialogs.shown[0];
  EXPECT_EQ(hint.icon, MsgIcon::Information);
  EXPECT_EQ(hint.caption, platform::ApplicationTitle());
  EXPECT_EQ(hint.text,
            "◇◇提示◇◇：\n\n将贺卡发送给您的朋友并不一定要用《Lumo贺卡制作》所附带的邮件发送功能，您还可以使用"
            "outlook、foxmail等任意邮件客户端软件发送您的贺卡，发送时请注意将贺卡文件添加到邮件附件中。\n\n"
            "另外，使用OICQ、MSN等可以进行文件传输的软件将您的贺卡文件传送给您的朋友也可以。\n\n"
            "总之，使用任何可以将贺卡文件传送给您朋友的方法都可以。");

  // What the user sees lies inside the client area; the recipient list lies beyond it.
  const QRect client = f.rect();
  for (QWidget* w : std::initializer_list<QWidget*>{f.Edit1(), f.Edit2(), f.Edit3(), f.Edit4(), f.Edit5(), f.Edit6(),
                                                    f.Memo1(), f.Button5(), f.Button6(), f.Button8(), f.Sb1()}) {
    EXPECT_TRUE(client.contains(w->geometry())) << w->metaObject()->className();
  }
  for (QWidget* w : std::initializer_list<QWidget*>{f.Lb(), f.Button1(), f.Button3(), f.Button4(), f.Button7()}) {
    EXPECT_FALSE(client.intersects(w->geometry()));
  }
  // Screenshots: LMCARD_SHOT_DIR names a folder for a picture of the dialog.
  if (const char* dir = std::getenv("LMCARD_SHOT_DIR")) f.grab().save(QString(dir) + "/mail-dialog.png");
}

TEST(MailDialog, TheDnsServerComesFromTheRegistryBeforeTheResolverSettings) {
  DialogScope s;
  platform::registry::WriteString(platform::registry::Hive::LocalMachine,
                                  "\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", "NameServer",
                                  "192.0.2.53,192.0.2.54");
  EXPECT_EQ(FromQString(s.Make("10.20.30.40").Edit6()->text()), "192.0.2.53");
}

// The checks themselves are the send checks' own tests; here, that Send runs them, shows the
// failure and moves the focus to the field each one names (or leaves it on the button).
TEST(MailDialog, AFailedSendCheckShowsItsMessageAndFocusesItsField) {
  DialogScope s;
  TForm7& f = s.Make("   ");
  ShowActive(&f);
  s.dialogs.shown.clear();
  const std::string card = s.files.File("贺卡.exe");
  const std::vector<std::pair<std::function<void()>, QWidget*>> steps = {
      {[] {}, f.Edit6()},
      {[&] { f.Edit6()->setText("127.0.0.1"); f.Edit1()->setText("me.sender.test"); }, f.Edit1()},
      {[&] { f.Edit1()->setText("me@sender.test"); f.Edit3()->setText("friend.card.test"); }, f.Edit3()},
      {[&] { f.Edit3()->setText("friend@sender.test"); f.SetCardFile(card); }, f.Edit4()},
      {[&] { testing_support::WriteBytes(card, "MZ"); }, f.Button6()},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    steps[i].first();
    f.Edit5()->setFocus();
    QTest::mouseClick(f.Button6(), Qt::LeftButton);
    ASSERT_EQ(s.dialogs.shown.size(), i + 1);
    EXPECT_TRUE(steps[i].second->hasFocus());
    EXPECT_EQ(f.StatusText(), "就绪");  // nothing was sent
  }
  EXPECT_EQ(s.dialogs.shown[0].text, "请输入DNS服务器地址。");
  EXPECT_EQ(s.dialogs.shown[0].icon, MsgIcon::Warning);
  EXPECT_EQ(s.dialogs.shown[0].caption, platform::ApplicationTitle());
}

// The list's rules are the recipient list's own tests; here, Enter and the buttons reach them.
TEST(MailDialog, EnterInTheRecipientBoxAddsToTheListAndTheButtonsEditIt) {
  DialogScope s;
  TForm7& f = s.Make("127.0.0.1");
  ShowActive(&f);
  s.dialogs.shown.clear();
  auto enter = [&](const std::string& address) {
    f.Edit3()->setText(ToQString(address));
    f.Edit3()->setFocus();
    QTest::keyClick(f.Edit3(), Qt::Key_Return);
  };
  enter("friend@b.c");
  ASSERT_EQ(s.dialogs.Messages(), std::vector<std::string>{"请输入正确的邮址。"});
  EXPECT_EQ(s.dialogs.shown[0].icon, MsgIcon::Error);
  EXPECT_TRUE(f.Edit3()->hasFocus());
  EXPECT_EQ(f.StatusText(), "就绪");  // the key did not send

  enter("Friend@card.test");
  enter("user2@card.test");
  EXPECT_EQ(f.ListAddresses(), (std::vector<std::string>{"Friend@card.test", "user2@card.test"}));
  EXPECT_EQ(FromQString(f.Edit3()->text()), "user2@card.test");  // Enter typed nothing into the box

  f.Lb()->setCurrentRow(0);
  f.Button3Click();
  EXPECT_EQ(f.ListAddresses(), std::vector<std::string>{"user2@card.test"});

  // Clearing asks; No keeps the list, anything else clears it.
  s.dialogs.messageAnswers = {MsgResult::No, MsgResult::Cancel};
  f.Button4Click();
  EXPECT_EQ(s.dialogs.shown.back().text, "您确实要清空邮箱列表吗？");
  EXPECT_EQ(s.dialogs.shown.back().icon, MsgIcon::Question);
  EXPECT_EQ(f.ListAddresses().size(), 1u);
  f.Button4Click();
  EXPECT_TRUE(f.ListAddresses().empty());
}

TEST(MailDialog, BrowseTakesAnExistingCardFile) {
  DialogScope s;
  TForm7& f = s.Make("127.0.0.1");
  f.SetCardFile("old.exe");
  s.dialogs.openAnswers = {{}, {"C:\\贺卡\\新年.exe"}};
  f.Button5Click();
  EXPECT_EQ(f.CardFile(), "old.exe");
  f.Button5Click();
  EXPECT_EQ(f.CardFile(), "C:\\贺卡\\新年.exe");
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[0].kind, "open");
  EXPECT_EQ(s.dialogs.shown[0].text, "浏览贺卡文件");
  EXPECT_EQ(s.dialogs.shown[0].file.filter, "贺卡文件 (*.exe)|*.exe");
  EXPECT_EQ(s.dialogs.shown[0].file.defaultExt, "exe");
}

TEST(MailDialog, OpenMailDialogCarriesTheCardFileAndPlacesTheDialog) {
  DialogScope s;
  QWidget caller;
  caller.setGeometry(100, 80, 900, 700);
  std::vector<std::pair<std::string, QRect>> seen;
  auto previous = mail_ui::SetMailDialogScript([&](TForm7& dialog) {
    seen.emplace_back(dialog.CardFile(), dialog.frameGeometry());
    return 3;
  });
  EXPECT_EQ(mail_ui::OpenMailDialog(&caller, "D:\\我的贺卡.exe"), 3);
  EXPECT_EQ(mail_ui::OpenMailDialog(&caller, "", mail_ui::MailDialogPlacement::Centered), 3);
  mail_ui::SetMailDialogScript(previous);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, "D:\\我的贺卡.exe");
  EXPECT_EQ(seen[0].second.bottomRight(), caller.frameGeometry().bottomRight());
  EXPECT_EQ(seen[1].first, "");
  EXPECT_LE(std::abs(seen[1].second.center().x() - caller.frameGeometry().center().x()), 1);
  EXPECT_LE(std::abs(seen[1].second.center().y() - caller.frameGeometry().center().y()), 1);
}

TEST(MailDialog, ProgressOfHugeMessagesIsScaledIntoTheBar) {
  EXPECT_EQ(mail_ui::ToBarProgress(1000, 250).maximum, 1000);
  EXPECT_EQ(mail_ui::ToBarProgress(1000, 250).value, 250);
  const uint64_t huge = uint64_t{6} << 30;  // 6 GiB
  const auto end = mail_ui::ToBarProgress(huge, huge);
  EXPECT_GT(end.maximum, 0);
  EXPECT_EQ(end.value, end.maximum);
  const auto half = mail_ui::ToBarProgress(huge, huge / 2);
  EXPECT_NEAR(static_cast<double>(half.value) / half.maximum, 0.5, 1e-6);
  EXPECT_EQ(mail_ui::ToBarProgress(0, 0).value, 0);  // never a busy bar
  EXPECT_GT(mail_ui::ToBarProgress(0, 0).maximum, 0);
}
