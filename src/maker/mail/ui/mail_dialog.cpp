#include "maker/mail/ui/mail_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <climits>

#include "maker/mail/dns_discovery.h"
#include "maker/mail/send_checks.h"
#include "maker/mail/ui/lm_status_bar.h"
#include "maker/mail/ui/web_attachment.h"
#include "platform/files.h"
#include "platform/dialogs.h"
#include "platform/message_pump.h"
#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace mail_ui {
namespace {

using platform::FromQString;
using platform::ToQString;

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 462;

MailDialogScript& Script() {
  static MailDialogScript script;
  return script;
}

// The body box holds lines; the message wants them separated by CR LF.
std::string BodyText(const QPlainTextEdit* memo) {
  return platform::ReplaceText(FromQString(memo->toPlainText()), "\n", "\r\n");
}

// Lets window messages run while the mailer waits, for the length of one send, whether or
// not the program installed a pump of its own.
class PumpScope {
 public:
  PumpScope()
      : previous_(platform::SetMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); })) {}
  ~PumpScope() { platform::SetMessagePump(std::move(previous_)); }

 private:
  std::function<void()> previous_;
};

}  // namespace

BarProgress ToBarProgress(uint64_t max, uint64_t position) {
  if (max == 0) return {100, 0};
  position = std::min(position, max);
  const uint64_t scale = max / INT_MAX + 1;
  return {static_cast<int>(max / scale), static_cast<int>(position / scale)};
}

MailDialogScript SetMailDialogScript(MailDialogScript script) {
  MailDialogScript old = std::move(Script());
  Script() = std::move(script);
  return old;
}

TForm7::TForm7(QWidget* parent, MailDialogOptions options)
    : QDialog(parent),
      mailer_(mail::MailerView{[this](const std::string& text) { sb1_->SetPanelText(0, text); },
                               [this](uint64_t max, uint64_t position) { SetProgress(max, position); },
                               [this](bool enabled) { SetSendEnabled(enabled); }},
              options.mailer) {
  setWindowTitle(ToQString("发送贺卡"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  BuildControls();
  setFixedSize(kClientWidth, kClientHeight);
  // FormCreate: the DNS server the host uses.
  edit6_->setText(ToQString(mail::DiscoverDnsServer(options.resolvConfPath)));
}

TForm7::~TForm7() {
  // An open connection is dropped with the dialog, without a QUIT.
  mailer_.Client().Disconnect();
}

void TForm7::BuildControls() {
  const int x = 12;
  const int full = kClientWidth - 2 * x;
  auto label = [this](const char* text, int lx, int ly, QWidget* buddy) {
    auto* l = new QLabel(this);
    l->setTextFormat(Qt::PlainText);
    l->setText(ToQString(text));
    l->setGeometry(lx, ly, 230, 18);
    l->setBuddy(buddy);
    return l;
  };
  auto edit = [this](int ex, int ey, int w) {
    auto* e = new QLineEdit(this);
    e->setGeometry(ex, ey, w, 22);
    return e;
  };

  edit6_ = edit(x, 28, 216);
  label("域名解析服务器(DNS)地址:", x, 10, edit6_);
  edit1_ = edit(x, 76, 216);
  label("您的电子邮件地址:", x, 58, edit1_);
  edit2_ = edit(240, 76, kClientWidth - x - 240);
  label("您的名字:", 240, 58, edit2_);
  edit3_ = edit(x, 124, full);
  label("接收贺卡的邮箱地址:", x, 106, edit3_);
  edit4_ = edit(x, 172, full - 118);
  label("贺卡文件:", x, 154, edit4_);
  webCard_ = new QCheckBox(ToQString("发送网页贺卡 (*.html)"), this);
  webCard_->setGeometry(250, 152, kClientWidth - x - 250, 18);
  button5_ = new QPushButton(ToQString("浏览贺卡文件"), this);
  button5_->setGeometry(kClientWidth - x - 112, 171, 112, 24);
  edit5_ = edit(x, 220, full);
  label("邮件标题:", x, 202, edit5_);
  memo1_ = new QPlainTextEdit(this);
  memo1_->setGeometry(x, 268, full, 120);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setPlainText(ToQString(platform::ReplaceText(mail::kDefaultBody, "\r\n", "\n")));
  label("邮件正文:", x, 250, memo1_);

  QFont bold = font();
  bold.setBold(true);
  button6_ = new QPushButton(ToQString("立即发送贺卡(&S)"), this);
  button6_->setGeometry(x, 398, 212, 30);
  button6_->setFont(bold);
  button8_ = new QPushButton(ToQString("停止发送并关闭窗口"), this);
  button8_->setGeometry(kClientWidth - x - 212, 398, 212, 30);
  button8_->setFont(bold);

  sb1_ = new TlmStatusBar(this);
  sb1_->setGeometry(0, kClientHeight - 24, kClientWidth, 24);
  sb1_->AddPanel(180);
  sb1_->AddPanel(50);
  sb1_->SetPanelText(0, "就绪");
  pb_ = new QProgressBar;
  pb_->setRange(0, 100);
  pb_->setValue(0);
  pb_->setTextVisible(false);
  sb1_->CoverPanel(1, pb_);

  // The recipient list and its buttons lie beyond the visible client area.
  const int lx = kClientWidth + 16;
  lb_ = new QListWidget(this);
  lb_->setGeometry(lx, 10, 220, 200);
  button1_ = new QPushButton(ToQString("将邮址添加到下面的列表中"), this);
  button1_->setGeometry(lx, 216, 220, 24);
  button3_ = new QPushButton(ToQString("移除选定的邮箱"), this);
  button3_->setGeometry(lx, 244, 220, 24);
  button4_ = new QPushButton(ToQString("清空邮箱列表"), this);
  button4_->setGeometry(lx, 272, 220, 24);
  button7_ = new QPushButton(ToQString("向列表中的邮箱发送贺卡"), this);
  button7_->setGeometry(lx, 300, 220, 24);

  // Enter in a box never presses a button by itself.
  for (QPushButton* b : {button1_, button3_, button4_, button5_, button6_, button7_, button8_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  edit3_->installEventFilter(this);

  connect(button6_, &QPushButton::clicked, this, [this] { Button6Click(); });
  connect(button8_, &QPushButton::clicked, this, [this] { Button8Click(); });
  connect(button5_, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });
  setTabOrder(edit6_, edit1_);
  setTabOrder(edit1_, edit2_);
  setTabOrder(edit2_, edit3_);
  setTabOrder(edit3_, edit4_);
  setTabOrder(edit4_, button5_);
  setTabOrder(button5_, webCard_);
  setTabOrder(webCard_, edit5_);
  setTabOrder(edit5_, memo1_);
  setTabOrder(memo1_, button6_);
  setTabOrder(button6_, button8_);
}

void TForm7::SetCardFile(const std::string& path) { edit4_->setText(ToQString(path)); }

std::string TForm7::CardFile() const { return FromQString(edit4_->text()); }

std::string TForm7::StatusText() const { return sb1_->PanelText(0); }

QLineEdit* TForm7::FieldEdit(mail::MailField field) const {
  switch (field) {
    case mail::MailField::DnsServer: return edit6_;
    case mail::MailField::SenderAddress: return edit1_;
    case mail::MailField::SenderName: return edit2_;
    case mail::MailField::Recipient: return edit3_;
    case mail::MailField::CardFile: return edit4_;
    case mail::MailField::Subject: return edit5_;
    case mail::MailField::None: break;
  }
  return nullptr;
}

std::vector<std::string> TForm7::ListAddresses() const {
  std::vector<std::string> out;
  for (int i = 0; i < lb_->count(); ++i) out.push_back(FromQString(lb_->item(i)->text()));
  return out;
}

void TForm7::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (startMessageShown_) return;
  startMessageShown_ = true;
  // FormShow: the hint comes once the dialog is on the screen.
  QTimer::singleShot(0, this, [] {
    platform::ShowMessage(
        "◇◇提示◇◇：\n\n"
        "将贺卡发送给您的朋友并不一定要用《Lumo贺卡制作》所附带的邮件发送功能，您还可以使用outlook、"
        "foxmail等任意邮件客户端软件发送您的贺卡，发送时请注意将贺卡文件添加到邮件附件中。\n\n"
        "另外，使用OICQ、MSN等可以进行文件传输的软件将您的贺卡文件传送给您的朋友也可以。\n\n"
        "总之，使用任何可以将贺卡文件传送给您朋友的方法都可以。",
        platform::MsgIcon::Information);
  });
}

void TForm7::SetProgress(uint64_t max, uint64_t position) {
  const BarProgress p = ToBarProgress(max, position);
  pb_->setRange(0, p.maximum);
  pb_->setValue(p.value);
}

void TForm7::SetSendEnabled(bool enabled) {
  button6_->setEnabled(enabled);
  button7_->setEnabled(enabled);
}

void TForm7::Button6Click() {
  if (sending_) return;
  mail::SendForm form{FromQString(edit6_->text()), FromQString(edit1_->text()), FromQString(edit2_->text()),
                      FromQString(edit3_->text()), FromQString(edit4_->text()), FromQString(edit5_->text()),
                      BodyText(memo1_)};
  // The web card goes in the card file's place; a missing card file is left to the send
  // checks, which name it.
  std::string webPage;
  if (webCard_->isChecked() && platform::files::FileExists(form.cardFile)) {
    sb1_->SetPanelText(0, "正在生成网页贺卡...");
    try {
      webPage = WriteWebAttachment(form.cardFile);
    } catch (const std::exception& e) {
      sb1_->SetPanelText(0, "就绪");
      platform::ShowMessage("无法生成网页贺卡：" + std::string(e.what()), platform::MsgIcon::Error);
      edit4_->setFocus();
      return;
    }
    form.cardFile = webPage;
  }
  struct RemovePage {
    std::string path;
    ~RemovePage() {
      if (!path.empty()) platform::files::DeleteFile(path);
    }
  } removePage{webPage};
  sending_ = true;
  {
    PumpScope pump;
    try {
      const mail::SendResult result = mailer_.Send(form);
      if (result.outcome == mail::SendOutcome::CheckFailed) {
        if (QLineEdit* box = FieldEdit(result.focus)) box->setFocus();
      }
    } catch (const std::exception& e) {
      // A failure before the connection was up: the program's general error report.
      platform::CardApplication::ShowException(e.what());
    }
  }
  sending_ = false;
}

void TForm7::Button8Click() {
  mailer_.Abort();
  QDialog::reject();
}

void TForm7::reject() {
  if (sending_) mailer_.Abort();
  QDialog::reject();
}

void TForm7::Button5Click() {
  platform::FileDialogOptions options;
  options.title = "浏览贺卡文件";
  options.filter = "贺卡文件 (*.exe)|*.exe";
  options.defaultExt = "exe";
  options.fileName = CardFile();
  const std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(options);
  if (!chosen.empty()) SetCardFile(chosen.front());
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit3_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Button1Click();
      return true;  // the key is swallowed
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm7::Button1Click() {
  const std::string address = FromQString(edit3_->text());
  if (!mail::IsValidListAddress(address)) {
    platform::ShowMessage(mail::AddResultMessage(mail::AddResult::Invalid), platform::MsgIcon::Error);
    edit3_->setFocus();
    return;
  }
  AddLst(address);
}

void TForm7::AddLst(const std::string& address) {
  std::vector<std::string> list = ListAddresses();
  const mail::AddResult result = mail::AddToRecipientList(list, address);
  if (result == mail::AddResult::Added) {
    lb_->addItem(ToQString(address));
  } else if (const std::string message = mail::AddResultMessage(result); !message.empty()) {
    platform::ShowMessage(message, platform::MsgIcon::Error);
  }
}

void TForm7::Button3Click() {
  const int row = lb_->currentRow();
  if (row >= 0) delete lb_->takeItem(row);
}

void TForm7::Button4Click() {
  if (platform::ShowMessage("您确实要清空邮箱列表吗？", platform::MsgIcon::Question, platform::MsgButtons::YesNo) !=
      platform::MsgResult::No) {
    lb_->clear();
  }
}

int OpenMailDialog(QWidget* caller, const std::string& cardFile, MailDialogPlacement placement) {
  TForm7 dialog(caller);
  dialog.SetCardFile(cardFile);
  if (caller) {
    const QRect frame = caller->frameGeometry();
    const QSize mine = dialog.frameGeometry().size();
    if (placement == MailDialogPlacement::BottomRight) {
      dialog.move(frame.right() + 1 - mine.width(), frame.bottom() + 1 - mine.height());
    } else {
      dialog.move(frame.center().x() - mine.width() / 2, frame.center().y() - mine.height() / 2);
    }
  }
  if (Script()) return Script()(dialog);
  return dialog.exec();
}

}  // namespace mail_ui
