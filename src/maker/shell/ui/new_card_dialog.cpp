#include "maker/shell/ui/new_card_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "maker/document/element_lifecycle.h"
#include "maker/shell/web_links.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"

namespace cardshell {

using platform::FromQString;
using platform::ToQString;

// The colour swatch: a panel in the card colour that looks pressed while the mouse is down.
class ColorSwatch : public QFrame {
 public:
  explicit ColorSwatch(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel1");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
  }
  std::function<void()> onClick;

  void SetColor(platform::Color c) {
    platform::Color rgb = platform::ResolveColor(c);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(platform::RedOf(rgb), platform::GreenOf(rgb), platform::BlueOf(rgb)));
    setPalette(pal);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) setFrameShadow(QFrame::Sunken);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    setFrameShadow(QFrame::Raised);
    if (rect().contains(e->position().toPoint()) && onClick) onClick();
  }
};

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm6");
  setWindowTitle(ToQString("新建贺卡"));
  setFixedSize(430, 330);
  auto label = [this](const char* text, int x, int y, int w = 100) {
    auto* l = new QLabel(ToQString(text), this);
    l->setGeometry(x, y, w, 22);
    return l;
  };
  auto* sizeValidator = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);

  auto* group = new QGroupBox(ToQString("贺卡窗口"), this);
  group->setGeometry(10, 8, 410, 270);
  group->lower();

  widthLabel_ = label("贺卡窗口宽度:", 24, 32);
  edit1_ = new QLineEdit("520", this);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(124, 32, 70, 22);
  edit1_->setValidator(sizeValidator);
  widthUnit_ = label("像素", 198, 32, 40);
  heightLabel_ = label("贺卡窗口高度:", 24, 62);
  edit2_ = new QLineEdit("390", this);
  edit2_->setObjectName("Edit2");
  edit2_->setGeometry(124, 62, 70, 22);
  edit2_->setValidator(sizeValidator);
  heightUnit_ = label("像素", 198, 62, 40);

  label("贺卡窗口背景色:", 240, 32, 110);
  swatch_ = new ColorSwatch(this);
  swatch_->setGeometry(350, 30, 54, 54);
  swatch_->onClick = [this] { SwatchClick(); };
  SetSwatchColor(platform::kClInfoBk);

  check1_ = new QCheckBox(ToQString("使用背景图片"), this);
  check1_->setObjectName("CheckBox1");
  check1_->setGeometry(24, 100, 200, 22);
  edit3_ = new QLineEdit(this);
  edit3_->setObjectName("Edit3");
  edit3_->setGeometry(44, 126, 290, 22);
  button3_ = new QPushButton(ToQString("浏览"), this);
  button3_->setObjectName("Button3");
  button3_->setGeometry(340, 125, 64, 24);
  layoutLabel_ = label("显示:", 44, 154, 40);
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("ComboBox1");
  combo1_->setGeometry(88, 154, 140, 22);
  for (std::string_view item : kBackgroundLayouts) combo1_->addItem(ToQString(item));
  combo1_->setCurrentIndex(0);

  check2_ = new QCheckBox(ToQString("使用掩饰图片(有关掩饰图像的说明请参略帮助)"), this);
  check2_->setObjectName("CheckBox2");
  check2_->setGeometry(24, 190, 380, 22);
  edit4_ = new QLineEdit(this);
  edit4_->setObjectName("Edit4");
  edit4_->setGeometry(44, 216, 290, 22);
  button4_ = new QPushButton(ToQString("浏览"), this);
  button4_->setObjectName("Button4");
  button4_->setGeometry(340, 215, 64, 24);

  help_ = new QPushButton(ToQString("帮助信息"), this);
  help_->setObjectName("Button5");
  help_->setFlat(true);
  help_->setGeometry(10, 290, 90, 26);
  ok_ = new QPushButton(ToQString("确定(&T)"), this);
  ok_->setObjectName("Button1");
  ok_->setGeometry(250, 290, 80, 26);
  ok_->setDefault(true);
  cancel_ = new QPushButton(ToQString("取消(&C)"), this);
  cancel_->setObjectName("Button2");
  cancel_->setGeometry(340, 290, 80, 26);

  connect(check1_, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(check2_, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
  connect(button3_, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(button4_, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(help_, &QPushButton::clicked, this, [this] { HelpClick(); });
  connect(ok_, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  CheckBox1Click();
  CheckBox2Click();
}

QWidget* TForm6::Swatch() const { return swatch_; }

void TForm6::SetSwatchColor(platform::Color c) {
  color_ = c;
  swatch_->SetColor(c);
}

void TForm6::SetEnabledLook(QWidget* w, bool enabled) {
  w->setEnabled(enabled);
  // Enabled fields have the window colour, disabled ones the button face.
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, enabled ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
  w->setPalette(pal);
}

void TForm6::CheckBox1Click() {
  bool on = check1_->isChecked();
  layoutLabel_->setEnabled(on);
  SetEnabledLook(edit3_, on);
  button3_->setEnabled(on);
  SetEnabledLook(combo1_, on);
}

void TForm6::CheckBox2Click() {
  bool on = check2_->isChecked();
  SetEnabledLook(edit4_, on);
  button4_->setEnabled(on);
  // The mask decides the window size.
  SetEnabledLook(edit1_, !on);
  SetEnabledLook(edit2_, !on);
  widthLabel_->setEnabled(!on);
  heightLabel_->setEnabled(!on);
  widthUnit_->setEnabled(!on);
  heightUnit_->setEnabled(!on);
}

void TForm6::Button3Click() {
  platform::FileDialogOptions o;
  o.title = std::string(kBrowseBackgroundTitle);
  o.filter = std::string(document::kPictureFilter);
  std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
  if (!chosen.empty()) edit3_->setText(ToQString(chosen.front()));
}

void TForm6::Button4Click() {
  platform::FileDialogOptions o;
  o.title = std::string(kBrowseMaskTitle);
  o.filter = std::string(document::kPictureFilter);
  std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
  if (chosen.empty()) return;
  edit4_->setText(ToQString(chosen.front()));
  if (std::optional<MaskSize> size = ReadMaskSize(chosen.front())) {
    edit1_->setText(QString::number(size->width));
    edit2_->setText(QString::number(size->height));
  }
}

void TForm6::SwatchClick() {
  if (std::optional<platform::Color> c = platform::CurrentDialogs().ChooseColor(color_)) SetSwatchColor(*c);
}

void TForm6::HelpClick() { OpenHelpTopic(kNewCardHelpTopic); }

NewCardSettings TForm6::Settings() const {
  NewCardSettings s;
  s.widthText = FromQString(edit1_->text());
  s.heightText = FromQString(edit2_->text());
  s.color = color_;
  s.useBackground = check1_->isChecked();
  s.backgroundPath = FromQString(edit3_->text());
  s.layout = combo1_->currentIndex() < 0 ? 0 : combo1_->currentIndex();
  s.useMask = check2_->isChecked();
  s.maskPath = FromQString(edit4_->text());
  return s;
}

void TForm6::OkClick() {
  std::optional<NewCardProblem> problem = CheckNewCard(Settings());
  if (!problem) {
    accept();
    return;
  }
  platform::ShowMessage(problem->message, platform::MsgIcon::Warning);
  switch (problem->field) {
    case NewCardField::BackgroundPath: edit3_->setFocus(); break;
    case NewCardField::MaskPath: edit4_->setFocus(); break;
    case NewCardField::Width: edit1_->setFocus(); break;
    case NewCardField::Height: edit2_->setFocus(); break;
  }
}

}  // namespace cardshell
