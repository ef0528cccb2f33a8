// The controls from a template's settings, in the order in which LoadSet takes the keys; each
// tick has the side effects of the user's own.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>

#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "platform/files.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace ordinary_ui {

using platform::ToQString;

namespace {
QString MultiLine(const std::string& text) { return ToQString(platform::ReplaceText(text, "\r\n", "\n")); }
int IndexIn(int value, int count) { return value >= 0 && value < count ? value : 0; }
}  // namespace

void TForm3::ApplySettings(const ordinary::OrdinarySettings& s) {
  if (!s.cardImg.empty() && platform::files::FileExists(s.cardImg)) Setcardimg(s.cardImg);
  ui_.cardWidth->setText(ToQString(s.cardWidth));
  ui_.cardHeight->setText(ToQString(s.cardHeight));
  LeaveCardSize(SizeField::CardWidth);
  LeaveCardSize(SizeField::CardHeight);
  ApplyCardColour(s.cardBkColor);
  ui_.cardBkTran->setChecked(s.cardBkTran);
  ui_.bkMusic->setChecked(s.bkMusic);
  ui_.music->setText(ToQString(s.music));
  if (s.musicEndless) {
    ui_.endless->setChecked(true);
  } else {
    ui_.playCount->setChecked(true);
    ui_.musicCount->setText(ToQString(s.musicCount));
  }
  ui_.useWav->setChecked(s.useWav);
  ui_.voice->setText(ToQString(s.wav));
  ui_.playSet->setCurrentIndex(IndexIn(s.playSet, ui_.playSet->count()));
  if (s.playPosition > ui_.playPosition->maximum()) ui_.playPosition->setMaximum(s.playPosition + 10000);
  ui_.playPosition->setValue(s.playPosition);

  if (!s.cardBox.empty()) LMLoadHCK(s.cardBox);
  ui_.boxWidth->setText(ToQString(s.boxWidth));
  ui_.boxHeight->setText(ToQString(s.boxHeight));
  // The box shows at the saved size when it is one the size checks accept.
  if (BoxShown() && CheckSize(SizeField::BoxWidth, s.boxWidth).ok && CheckSize(SizeField::BoxHeight, s.boxHeight).ok) {
    LeaveBoxSize(SizeField::BoxWidth);
    LeaveBoxSize(SizeField::BoxHeight);
  }
  if (s.boxIndex > 0 && !boxPath_.empty()) {
    ui_.boxList->addItem(ToQString(boxPath_));
    ui_.boxList->setCurrentIndex(ui_.boxList->count() - 1);
    // A card with a greeting box may bring the greeting up by itself.
    SetAutoGreetingEnabled(true);
  } else {
    ui_.boxList->setCurrentIndex(0);
    if (s.boxIndex == 0) {
      // As choosing "不要贺词框及贺词": the box is not shown.
      ui_.boxPicture->hide();
      ui_.boxGif->hide();
      ui_.boxGif->Stop();
      boxKind_ = PictureKind::None;
    }
  }

  ApplyBoxColour(s.boxColor);
  ui_.boxTran->setChecked(s.boxTran);
  ui_.boxWord->setPlainText(MultiLine(s.boxWord));
  platform::FontSpec font = greetingFont_;
  font.name = s.boxFontName;
  font.size = s.boxFontSize;
  font.height = 0;
  font.color = s.boxFontColor;
  font.bold = s.boxFontBold;
  font.italic = s.boxFontItalic;
  font.underline = s.boxFontUnderline;
  font.strikeOut = s.boxFontStrikeOut;

  ui_.boxScroll->setChecked(s.boxScroll);
  ui_.boxInv->setText(ToQString(s.boxInv));
  ui_.move->setText(ToQString(s.move));
  ui_.moveSet1->setCurrentIndex(IndexIn(s.moveSet1, ui_.moveSet1->count()));
  ui_.moveSet2->setCurrentIndex(IndexIn(s.moveSet2, ui_.moveSet2->count()));
  ui_.cen->setChecked(s.cen);
  ui_.moves->setChecked(s.moves);
  (s.click ? ui_.click : ui_.dblClick)->setChecked(true);
  ui_.useTime->setChecked(s.useTime);
  ui_.timelen->setText(ToQString(s.timelen));
  ui_.timelen->setEnabled(s.useTime && ui_.useTime->isEnabled());
  ui_.openUrl->setChecked(s.openUrl);
  ui_.url->setText(ToQString(s.url));
  ui_.sendMail->setChecked(s.sendMail);
  ui_.email->setText(ToQString(s.email));
  ui_.subject->setText(ToQString(s.subject));
  ui_.body->setPlainText(MultiLine(s.body));
  ui_.icon->setText(ToQString(s.icon));
  ApplyGreetingFont(font);
}

}  // namespace ordinary_ui
