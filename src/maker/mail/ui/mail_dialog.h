#pragma once
// The mail dialog "发送贺卡": sends one card file as an attachment straight to the recipient's
// mail exchanger through the card mailer, or, when the web card box is checked, the card's web
// card, written into the user's temporary folder for the send. Created anew for each use, shown modally and
// destroyed; OpenMailDialog does all three. The send runs on the user-interface thread and
// lets window messages run while it waits, so the stop button works during a send.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "maker/mail/card_mailer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace mail_ui {

class TlmStatusBar;

struct MailDialogOptions {
  mail::MailerSettings mailer;                     // ports, time-outs, greeting name
  std::string resolvConfPath = "/etc/resolv.conf";  // the host's resolver settings (host path)
};

class TForm7 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm7(QWidget* parent = nullptr, MailDialogOptions options = {});
  ~TForm7() override;

  // The card file box (Edit4), a system path (GBK).
  void SetCardFile(const std::string& path);
  std::string CardFile() const;

  // The handlers.
  void Button6Click();  // send
  void Button8Click();  // stop and close
  void Button5Click();  // browse for the card file
  void Button1Click();  // add the recipient box's address to the list
  void Button3Click();  // remove the selected address from the list
  void Button4Click();  // clear the list, after asking
  void AddLst(const std::string& address);

  bool Sending() const { return sending_; }
  // The addresses of the recipient list, in order (GBK).
  std::vector<std::string> ListAddresses() const;
  // The status bar's first panel (GBK).
  std::string StatusText() const;
  // The box a field names (nullptr for None).
  QLineEdit* FieldEdit(mail::MailField field) const;

  QLineEdit* Edit1() const { return edit1_; }  // sender address
  QLineEdit* Edit2() const { return edit2_; }  // sender name
  QLineEdit* Edit3() const { return edit3_; }  // recipient address
  QLineEdit* Edit4() const { return edit4_; }  // card file
  QLineEdit* Edit5() const { return edit5_; }  // subject
  QLineEdit* Edit6() const { return edit6_; }  // DNS server
  QPlainTextEdit* Memo1() const { return memo1_; }
  QCheckBox* WebCardBox() const { return webCard_; }  // send the web card (.html) instead
  QPushButton* Button1() const { return button1_; }
  QPushButton* Button3() const { return button3_; }
  QPushButton* Button4() const { return button4_; }
  QPushButton* Button5() const { return button5_; }
  QPushButton* Button6() const { return button6_; }
  QPushButton* Button7() const { return button7_; }
  QPushButton* Button8() const { return button8_; }
  QListWidget* Lb() const { return lb_; }
  TlmStatusBar* Sb1() const { return sb1_; }
  QProgressBar* PB() const { return pb_; }
  mail::CardMailer& Mailer() { return mailer_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;  // Esc and the close box stop a send in progress, as Button8 does
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void SetProgress(uint64_t max, uint64_t position);
  void SetSendEnabled(bool enabled);

  mail::CardMailer mailer_;
  bool sending_ = false;
  bool startMessageShown_ = false;

  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit5_;
  QLineEdit* edit6_;
  QPlainTextEdit* memo1_;
  QCheckBox* webCard_;
  QPushButton* button1_;
  QPushButton* button3_;
  QPushButton* button4_;
  QPushButton* button5_;
  QPushButton* button6_;
  QPushButton* button7_;
  QPushButton* button8_;
  QListWidget* lb_;
  TlmStatusBar* sb1_;
  QProgressBar* pb_;
};

// Where a caller places the dialog.
enum class MailDialogPlacement { BottomRight, Centered };

// Creates the dialog with the card file box set to cardFile (may be empty), places it over
// caller, shows it modally and destroys it; the dialog's result code. While a script is
// installed (SetMailDialogScript), the script gets the placed, unshown dialog instead.
int OpenMailDialog(QWidget* caller, const std::string& cardFile,
                   MailDialogPlacement placement = MailDialogPlacement::BottomRight);

using MailDialogScript = std::function<int(TForm7& dialog)>;
MailDialogScript SetMailDialogScript(MailDialogScript script);

// The progress bar's range and value for a message of max bytes with position written:
// scaled down when the sizes do not fit the bar's int range.
struct BarProgress {
  int maximum;
  int value;
};
BarProgress ToBarProgress(uint64_t max, uint64_t position);

}  // namespace mail_ui
