#include "maker/ordinary/ui/format_chooser.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "maker/packaging/build_dialogs.h"
#include "platform/qt/qt_text.h"

namespace ordinary_ui {

using platform::ToQString;

namespace {
FormatChooserScript& Script() {
  static FormatChooserScript script;
  return script;
}
}  // namespace

QString ExplanationHtml(std::string_view text, std::string_view redClause) {
  std::string_view head = text;
  std::string_view tail;
  if (!redClause.empty() && text.size() >= redClause.size() &&
      text.substr(text.size() - redClause.size()) == redClause) {
    head = text.substr(0, text.size() - redClause.size());
    tail = redClause;
  }
  QString html = ToQString(head).toHtmlEscaped();
  if (!tail.empty()) html += "<font color=\"#ff0000\">" + ToQString(tail).toHtmlEscaped() + "</font>";
  return html;
}

FormatChooser::FormatChooser(QWidget* parent, bool offerWeb) : QDialog(parent) {
  setObjectName("TFormFormat");
  setWindowTitle(ToQString(packaging::kFormatCaption));
  setFixedSize(372, 252);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

  auto* prompt = new QLabel(ToQString(packaging::kFormatPrompt), this);
  prompt->setGeometry(16, 12, 340, 18);

  plain_ = new QRadioButton(ToQString(packaging::kFormatPlainCaption), this);
  plain_->setObjectName("RadioPlain");
  plain_->setGeometry(24, 38, 320, 20);
  plainText_ = new QLabel(ExplanationHtml(packaging::kFormatPlainText, packaging::kFormatPlainRedClause), this);
  plainText_->setTextFormat(Qt::RichText);
  plainText_->setWordWrap(true);
  plainText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  plainText_->setGeometry(44, 60, 310, 48);

  exe_ = new QRadioButton(ToQString(packaging::kFormatExeCaption), this);
  exe_->setObjectName("RadioExe");
  exe_->setGeometry(24, 114, 320, 20);
  exeText_ = new QLabel(ExplanationHtml(packaging::kFormatExeText, packaging::kFormatExeRedClause), this);
  exeText_->setTextFormat(Qt::RichText);
  exeText_->setWordWrap(true);
  exeText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  exeText_->setGeometry(44, 136, 310, 48);

  web_ = new QRadioButton(ToQString(packaging::kFormatWebCaption), this);
  web_->setObjectName("RadioWeb");
  web_->setGeometry(24, 190, 320, 20);
  webText_ = new QLabel(ExplanationHtml(packaging::kFormatWebText, packaging::kFormatWebRedClause), this);
  webText_->setTextFormat(Qt::RichText);
  webText_->setWordWrap(true);
  webText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  webText_->setGeometry(44, 212, 310, 48);
  web_->setVisible(offerWeb);
  webText_->setVisible(offerWeb);
  // The web choice sits under the other two; the buttons move down below it.
  const int buttonsTop = offerWeb ? 284 : 208;
  if (offerWeb) setFixedSize(372, 328);

  ok_ = new QPushButton(ToQString(packaging::kFormatOk), this);
  ok_->setGeometry(184, buttonsTop, 80, 26);
  ok_->setDefault(true);
  cancel_ = new QPushButton(ToQString(packaging::kFormatCancel), this);
  cancel_->setGeometry(274, buttonsTop, 80, 26);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  plain_->setChecked(true);
}

CardFormat FormatChooser::Format() const {
  if (web_->isVisibleTo(this) && web_->isChecked()) return CardFormat::Web;
  return exe_->isChecked() ? CardFormat::Exe : CardFormat::Plain;
}

void FormatChooser::SetFormat(CardFormat format) {
  (format == CardFormat::Exe ? exe_ : format == CardFormat::Web && web_->isVisibleTo(this) ? web_ : plain_)
      ->setChecked(true);
}

std::optional<CardFormat> ChooseCardFormat(QWidget* parent, bool offerWeb) {
  if (Script()) return Script()();
  FormatChooser chooser(parent, offerWeb);
  if (parent) {
    QRect frame = parent->frameGeometry();
    chooser.move(frame.center() - QPoint(chooser.width() / 2, chooser.height() / 2));
  }
  if (chooser.exec() != QDialog::Accepted) return std::nullopt;
  return chooser.Format();
}

FormatChooserScript SetFormatChooserScript(FormatChooserScript script) {
  FormatChooserScript previous = std::move(Script());
  Script() = std::move(script);
  return previous;
}

}  // namespace ordinary_ui
