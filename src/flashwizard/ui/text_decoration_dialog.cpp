#include "flashwizard/ui/text_decoration_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>

#include "flashwizard/title_image.h"
#include "flashwizard/ui/color_box.h"
#include "flashwizard/ui/scene_dialogs.h"
#include "flashwizard/ui/wizard_rules.h"
#include "imaging/image_crop.h"
#include "imaging/ui/image_paint_box.h"
#include "platform/bmp_codec.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/font_names.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace flashwizard::ui {

using platform::FromQString;
using platform::ToQString;

namespace {

constexpr char kDefaultText[] = "在此输入文字内容";
constexpr int kHintRole = Qt::UserRole + 1;

}  // namespace

void FillEffectBox(QComboBox* box) {
  box->clear();
  for (const std::string& e : TextEffectEntries()) box->addItem(ToQString(e));
  box->setMaxVisibleItems(20);
}

std::string EffectBoxStyleFile(const QComboBox* box) {
  int i = box->currentIndex();
  if (i < 0) return {};
  if (i == box->count() - 1) {
    std::string hint = FromQString(box->itemData(i, kHintRole).toString());
    return !hint.empty() && platform::files::FileExists(hint) ? hint : std::string();
  }
  return StyleFileFor(FromQString(box->itemText(i)));
}

bool AskOtherStyleFile(QComboBox* box) {
  if (box->currentIndex() != box->count() - 1 || box->count() < 2) return false;
  platform::FileDialogOptions o;
  o.filter = "Pavo图层样式文件 (*.style)|*.style";
  std::string current = FromQString(box->itemData(box->count() - 1, kHintRole).toString());
  if (!current.empty()) o.fileName = current;
  auto files = platform::CurrentDialogs().OpenFile(o);
  if (files.empty()) return false;
  box->setItemData(box->count() - 1, ToQString(files.front()), kHintRole);
  return true;
}

void FillFontBox(QComboBox* box, const std::string& prefer) {
  box->clear();
  // The Chinese names that cards carry come first, so the first entry is 宋体.
  for (const std::string& f : FontListEntries(platform::fonts::ChooserFamilies())) box->addItem(ToQString(f));
  int i = box->findText(ToQString(prefer));
  box->setCurrentIndex(i >= 0 ? i : 0);
}

TForm41::TForm41(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm41");
  setWindowTitle(ToQString("添加文字点缀"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto* grid = new QGridLayout(this);
  int row = 0;
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(ToQString("文字字体:"), this));
  font_ = new QComboBox(this);
  font_->setMinimumWidth(140);
  top->addWidget(font_);
  top->addWidget(new QLabel(ToQString("字号:"), this));
  size_ = new QComboBox(this);
  size_->setEditable(true);
  top->addWidget(size_);
  top->addWidget(new QLabel(ToQString("字色:"), this));
  color_ = new ColorBox(this);
  top->addWidget(color_);
  bold_ = new QCheckBox(ToQString("粗体"), this);
  italic_ = new QCheckBox(ToQString("斜体"), this);
  underline_ = new QCheckBox(ToQString("下划线"), this);
  strike_ = new QCheckBox(ToQString("删除线"), this);
  for (QCheckBox* c : {bold_, italic_, underline_, strike_}) top->addWidget(c);
  top->addStretch();
  grid->addLayout(top, row++, 0, 1, 2);

  auto* second = new QHBoxLayout;
  second->addWidget(new QLabel(ToQString("文字间距:"), this));
  letter_ = new QSpinBox(this);
  letter_->setRange(-100, 1000);
  second->addWidget(letter_);
  second->addWidget(new QLabel(ToQString("行间距:"), this));
  line_ = new QSpinBox(this);
  line_->setRange(-100, 1000);
  second->addWidget(line_);
  second->addWidget(new QLabel(ToQString("文字特效:"), this));
  effect_ = new QComboBox(this);
  effect_->setMinimumWidth(200);
  second->addWidget(effect_);
  second->addStretch();
  grid->addLayout(second, row++, 0, 1, 2);

  grid->addWidget(new QLabel(ToQString("文字内容:"), this), row++, 0, 1, 2);
  text_ = new QPlainTextEdit(this);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFixedHeight(80);
  text_->setPlainText(ToQString(kDefaultText));
  grid->addWidget(text_, row++, 0, 1, 2);

  scroll_ = new QScrollArea(this);
  lmImg1_ = new imaging::ui::TlmImageVcl(scroll_);
  lmImg1_->setObjectName("lmImg1");
  scroll_->setWidget(lmImg1_);
  scroll_->setMinimumSize(640, 260);
  grid->addWidget(scroll_, row++, 0, 1, 2);

  auto* bottom = new QHBoxLayout;
  auto* note = new QLabel(ToQString("可以使用《Pavo图像处理系统》设计更多的特效"), this);
  note->setStyleSheet("color: red");
  bottom->addWidget(note);
  auto* link = new QLabel("<a href=\"pavo\" style=\"color:#0000ff\">" + ToQString("Pavo图像处理系统") + "</a>", this);
  connect(link, &QLabel::linkActivated, this, [] { OpenImageProgram(); });
  bottom->addWidget(link);
  bottom->addStretch();
  ok_ = new QPushButton(ToQString("确定(&T)"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(ToQString("取消(&C)"), this);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  grid->addLayout(bottom, row++, 0, 1, 2);

  SetUpImage();
  for (const std::string& s : SizeEntries(100)) size_->addItem(ToQString(s));
  size_->setCurrentIndex(size_->findText(ToQString("二号")));
  FillFontBox(font_, "宋体");  // the dialog font of the system cards are made for
  FillEffectBox(effect_);
  effect_->setCurrentIndex(0);
  color_->SetSelected(platform::Rgb(255, 0, 0));
  QApplication::restoreOverrideCursor();
  // The text is what one types first.
  text_->setFocus();
  text_->selectAll();

  auto re = [this] { RefTextEff(); };
  connect(font_, &QComboBox::currentIndexChanged, this, re);
  connect(size_, &QComboBox::currentTextChanged, this, re);
  connect(color_, &ColorBox::colorChanged, this, re);
  for (QCheckBox* c : {bold_, italic_, underline_, strike_}) connect(c, &QCheckBox::toggled, this, re);
  connect(letter_, &QSpinBox::valueChanged, this, re);
  connect(line_, &QSpinBox::valueChanged, this, re);
  connect(effect_, &QComboBox::currentIndexChanged, this, re);
  connect(effect_, qOverload<int>(&QComboBox::activated), this, [this] {
    if (AskOtherStyleFile(effect_)) RefTextEff();
  });
  connect(text_, &QPlainTextEdit::textChanged, this, re);
  connect(ok_, &QPushButton::clicked, this, &TForm41::Confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm41::SetUpImage() {
  QSize screen(1024, 768);
  if (QScreen* s = QApplication::primaryScreen()) screen = s->size();
  auto back = platform::Bitmap::Create(screen.width(), screen.height(), platform::PixelFormat::Bgr24);
  if (!back) return;
  back->Fill(platform::kClBtnFace);
  lmImg1_->NewImageFromBitmap(*back);
  imaging::TTextLayerInfo info;
  std::string text = FromQString(text_->toPlainText());
  info.SetText(platform::Trim(text).empty() ? std::string(kDefaultText) : text);
  info.SetFontName(FromQString(font_->count() ? font_->currentText() : font().family()));
  info.color = platform::Rgb(255, 0, 0);
  info.size = -29;
  info.smoothing = 3;
  imaging::TlmImageVcl& img = lmImg1_->Image();
  img.AddTextLayer(0, 0, info);
  img.Layer(1).Left = 60;
  img.Layer(1).Top = 60;
  img.RedrawImage();
  lmImg1_->PaintImage();
}

imaging::TTextLayerInfo TForm41::Describe() const {
  imaging::TTextLayerInfo info;
  // Line breaks as the platform's text boxes hold them.
  std::string text = platform::ReplaceText(FromQString(text_->toPlainText()), "\n", "\r\n");
  info.SetText(text);
  info.SetFontName(FromQString(font_->currentText()));
  info.color = color_->Selected();
  info.size = FontSizeFromText(FromQString(size_->currentText()));
  info.bold = bold_->isChecked();
  info.italic = italic_->isChecked();
  info.underline = underline_->isChecked();
  info.strikeOut = strike_->isChecked();
  info.smoothing = 3;
  info.mode = 0;
  info.letterSpacing = static_cast<int16_t>(letter_->value());
  info.lineSpacing = static_cast<int16_t>(line_->value());
  return info;
}

void TForm41::RefTextEff() {
  if (platform::Trim(FromQString(text_->toPlainText())).empty()) return;
  imaging::TlmImageVcl& img = lmImg1_->Image();
  if (img.LayersCount() < 2) return;
  try {
    img.Layer(1).Text = Describe();
    img.RenderTextLayer(1);
    std::string style = EffectBoxStyleFile(effect_);
    if (!style.empty()) img.LoadLayerStyle(1, style);
    img.RebuildAllEffects(1);
    img.Layer(1).Left = 60;
    img.Layer(1).Top = 60;
    img.RedrawImage();
    lmImg1_->PaintImage();
  } catch (...) {
    // The preview never reports errors.
  }
}

void TForm41::Confirm() {
  if (platform::Trim(FromQString(text_->toPlainText())).empty()) {
    platform::ShowMessage("请首先输入文字内容。", platform::MsgIcon::Warning);
    text_->setFocus();
    return;
  }
  imaging::TlmImageVcl& img = lmImg1_->Image();
  if (img.LayersCount() < 2) {
    SetUpImage();
    RefTextEff();
  }
  img.Layer(0).Visible = false;
  imaging::BitmapPtr exported;
  bool ok = img.ExportImage(exported);
  img.Layer(0).Visible = true;
  if (!ok || !exported) return;
  imaging::BitmapPtr cropped = imaging::CropToOpaque(*exported);
  std::string name = DecorationFileName(platform::user_folders::TempFolder());
  platform::SaveBmp(*cropped, name);
  fileName_ = name;
  accept();
}

}  // namespace flashwizard::ui
