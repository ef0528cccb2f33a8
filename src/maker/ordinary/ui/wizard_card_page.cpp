// Page 1 "设置贺卡图片或电影": the card picture area with its three display parts (still picture,
// GIF animation, movie), the card size fields and the card background.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

#include "maker/ordinary/ui/picture_part.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/ordinary/ui/wizard_parts.h"
#include "platform/error.h"
#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"

namespace ordinary_ui {

using platform::FromQString;
using platform::ToQString;
namespace mci = platform::mci;

namespace {
// The canvas of a scrolling area grows to hold its display part and never shrinks below the
// area's own view.
void FitCanvas(QScrollArea* area, QWidget* canvas, QSize part) {
  QSize view = area->viewport()->size();
  canvas->resize(std::max(view.width(), part.width()), std::max(view.height(), part.height()));
}
}  // namespace

QLabel* Caption(QWidget* parent, const char* text, int x, int y, int w) {
  auto* label = new QLabel(ToQString(text), parent);
  label->setGeometry(x, y, w, 20);
  return label;
}

QLineEdit* MakeNumberField(QWidget* parent, QObject* filter, int x, int y, int w, const char* text) {
  auto* edit = new QLineEdit(platform::ToQString(text), parent);
  edit->setGeometry(x, y, w, 20);
  edit->setProperty("numberField", true);
  edit->installEventFilter(filter);
  return edit;
}

QWidget* TForm3::BuildCardPage() {
  auto* page = new QWidget;
  ui_.cardArea = new QScrollArea(page);
  ui_.cardArea->setGeometry(18, 24, 400, 265);
  ui_.cardArea->setWidgetResizable(false);
  ui_.cardCanvas = new QWidget;
  ui_.cardCanvas->setAutoFillBackground(true);
  ui_.cardCanvas->resize(396, 261);
  ui_.cardArea->setWidget(ui_.cardCanvas);
  ui_.cardPicture = new PicturePart(ui_.cardCanvas);
  ui_.cardGif = new PicturePart(ui_.cardCanvas);
  ui_.cardMovie = new MoviePart(ui_.cardCanvas);
  ui_.cardPicture->hide();
  ui_.cardGif->hide();
  ui_.cardMovie->hide();
  ApplyCardColour(cardColour_);

  int y = 296;
  Caption(page, "贺卡宽度:", 8, y, 58);
  ui_.cardWidth = MakeNumberField(page, this, 66, y, 44, "");
  Caption(page, "像素", 114, y, 28);
  Caption(page, "贺卡高度:", 146, y, 58);
  ui_.cardHeight = MakeNumberField(page, this, 204, y, 44, "");
  Caption(page, "像素", 252, y, 28);
  Caption(page, "背景色:", 284, y, 46);
  ui_.cardBkColor = new ColorSwatch(page);
  ui_.cardBkColor->setGeometry(330, y + 1, 24, 18);
  ui_.cardBkColor->SetColour(cardColour_);
  ui_.cardBkTran = new QCheckBox(ToQString("背景透明"), page);
  ui_.cardBkTran->setGeometry(362, y, 76, 20);

  connect(ui_.cardWidth, &QLineEdit::editingFinished, this, [this] { LeaveCardSize(SizeField::CardWidth); });
  connect(ui_.cardHeight, &QLineEdit::editingFinished, this, [this] { LeaveCardSize(SizeField::CardHeight); });
  connect(ui_.cardBkColor, &ColorSwatch::clicked, this, [this] { ChooseSwatchColour(ui_.cardBkColor); });
  return page;
}

void TForm3::BrowseCardPicture() {
  RememberedFolders& folders = WizardFolders();
  platform::FileDialogOptions o;
  o.filter = kCardPictureFilter;
  o.initialDir = folders.Get(FolderFamily::CardPictures);
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(o);
  if (picked.empty()) return;
  folders.Remember(FolderFamily::CardPictures, picked[0]);
  if (CardPictureKind(picked[0]) == PictureKind::Flash) {
    // Either answer leaves everything as it was.
    platform::ShowMessage("普通型贺卡不能使用Flash电影！", platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    return;
  }
  Setcardimg(picked[0]);
}

void TForm3::Setcardimg(const std::string& path) {
  PictureKind kind = CardPictureKind(path);
  try {
    switch (kind) {
      case PictureKind::Still: {
        ui_.cardPicture->LoadPicture(path);
        ui_.cardPicture->SetFit(FitMode::Natural);
        ui_.cardPicture->resize(ui_.cardPicture->NaturalSize());
        ui_.cardGif->Clear();
        ui_.cardGif->hide();
        ui_.cardMovie->Stop();
        ui_.cardMovie->hide();
        ui_.cardPicture->show();
        QSize size = ui_.cardPicture->NaturalSize();
        ui_.cardWidth->setText(QString::number(size.width()));
        ui_.cardHeight->setText(QString::number(size.height()));
        ui_.cardPicture->SetFit(FitMode::Stretch);
        FitCanvas(ui_.cardArea, ui_.cardCanvas, size);
        cardPath_ = path;
        cardKind_ = kind;
        CloseMedia();
        movieLoop_.stop();
        break;
      }
      case PictureKind::Gif: {
        ui_.cardGif->LoadAnimation(path);
        ui_.cardGif->SetFit(FitMode::Natural);
        ui_.cardGif->resize(ui_.cardGif->NaturalSize());
        ui_.cardPicture->Clear();
        ui_.cardPicture->hide();
        ui_.cardMovie->Stop();
        ui_.cardMovie->hide();
        cardPath_ = path;
        cardKind_ = kind;
        CloseMedia();
        movieLoop_.stop();
        ui_.cardGif->show();
        ui_.cardGif->Start();
        QSize size = ui_.cardGif->NaturalSize();
        ui_.cardWidth->setText(QString::number(size.width()));
        ui_.cardHeight->setText(QString::number(size.height()));
        ui_.cardGif->SetFit(FitMode::Proportional);
        FitCanvas(ui_.cardArea, ui_.cardCanvas, size);
        break;
      }
      case PictureKind::Movie:
        OpenMovie(path);
        break;
      default:
        break;  // any other extension changes nothing
    }
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
  }
}

void TForm3::OpenMovie(const std::string& path) {
  CloseMedia();
  mci::DeviceId id = 0;
  mci::Result r = mci::Open("", path, &id);
  int w = 0, h = 0;
  if (r == mci::kOk) r = mci::DisplaySize(id, &w, &h);
  if (r != mci::kOk) {
    if (id) mci::Close(id);
    platform::ShowMessage(mci::ErrorText(r), platform::MsgIcon::Error);
    return;
  }
  mediaDevice_ = id;
  mediaFile_ = path;
  int64_t length = 0;
  mci::Length(id, &length);
  ui_.cardMovie->SetMovie(path, static_cast<int>(length));
  ui_.cardMovie->setGeometry(0, 0, w, h);
  mci::Play(id);
  ui_.cardMovie->Play();
  ui_.cardPicture->Clear();
  ui_.cardPicture->hide();
  ui_.cardGif->hide();
  ui_.cardGif->Stop();
  ui_.cardMovie->show();
  ui_.cardWidth->setText(QString::number(ui_.cardMovie->width()));
  ui_.cardHeight->setText(QString::number(ui_.cardMovie->height()));
  FitCanvas(ui_.cardArea, ui_.cardCanvas, ui_.cardMovie->size());
  cardPath_ = path;
  cardKind_ = PictureKind::Movie;
  movieLoop_.start();
}

void TForm3::CloseMedia() {
  // The movie's pictures stop with the media control that shows it.
  if (mediaDevice_ && cardKind_ == PictureKind::Movie && mediaFile_ == cardPath_) ui_.cardMovie->Stop();
  if (mediaDevice_) mci::Close(mediaDevice_);
  mediaDevice_ = 0;
  mediaFile_.clear();
}

void TForm3::MovieLoopTick() {
  int64_t position = 0, length = 0;
  if (!mediaDevice_ || mci::Position(mediaDevice_, &position) != mci::kOk ||
      mci::Length(mediaDevice_, &length) != mci::kOk) {
    movieLoop_.stop();
    return;
  }
  if (cardKind_ == PictureKind::Movie && mediaFile_ == cardPath_) ui_.cardMovie->SetPosition(static_cast<int>(position));
  if (position >= length - 1) {
    if (mci::Stop(mediaDevice_) != mci::kOk || mci::Seek(mediaDevice_, 0) != mci::kOk ||
        mci::Play(mediaDevice_) != mci::kOk)
      movieLoop_.stop();
  }
}

bool TForm3::LeaveCardSize(SizeField field) {
  if (cardKind_ == PictureKind::None) return true;
  QLineEdit* edit = field == SizeField::CardWidth ? ui_.cardWidth : ui_.cardHeight;
  SizeCheck check = CheckSize(field, FromQString(edit->text()));
  if (!check.ok) {
    // The box takes the focus; leaving the field again must not ask twice.
    QSignalBlocker block(edit);
    platform::ShowMessage(check.message, platform::MsgIcon::Error);
    if (Page() != 1) SetPage(1);
    edit->setFocus();
    return false;
  }
  QWidget* part = cardKind_ == PictureKind::Still ? static_cast<QWidget*>(ui_.cardPicture)
                  : cardKind_ == PictureKind::Gif ? static_cast<QWidget*>(ui_.cardGif)
                                                  : static_cast<QWidget*>(ui_.cardMovie);
  QSize size = part->size();
  if (field == SizeField::CardWidth)
    size.setWidth(check.value);
  else
    size.setHeight(check.value);
  part->resize(size);
  part->update();  // a movie is redrawn to fill its part
  FitCanvas(ui_.cardArea, ui_.cardCanvas, size);
  return true;
}

void TForm3::ChooseSwatchColour(ColorSwatch* swatch) {
  std::optional<platform::Color> colour = platform::CurrentDialogs().ChooseColor(swatch->Colour());
  if (!colour) return;
  if (swatch == ui_.cardBkColor)
    ApplyCardColour(*colour);
  else
    ApplyBoxColour(*colour);
}

void TForm3::ApplyCardColour(platform::Color colour) {
  cardColour_ = colour;
  if (ui_.cardBkColor) ui_.cardBkColor->SetColour(colour);
  QPalette pal = ui_.cardCanvas->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  ui_.cardCanvas->setPalette(pal);
}

}  // namespace ordinary_ui
