#include "flashwizard/ui/scene_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "flashwizard/title_image.h"
#include "flashwizard/ui/color_box.h"
#include "flashwizard/ui/wizard_rules.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/shell.h"

namespace flashwizard::ui {

using platform::ToQString;

namespace {

QComboBox* EffectList(const std::vector<std::string>& names, QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (const std::string& n : names) box->addItem(ToQString(n));
  box->setCurrentIndex(0);
  box->setMaxVisibleItems(20);
  return box;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm2");
  setWindowTitle(ToQString("添加场景"));
  auto* grid = new QGridLayout(this);
  int row = 0;
  grid->addWidget(new QLabel(ToQString("场景名:"), this), row, 0);
  name_ = new QLineEdit(this);
  grid->addWidget(name_, row++, 1, 1, 3);

  auto* back = new QGroupBox(this);
  auto* bg = new QGridLayout(back);
  none_ = new QRadioButton(ToQString("不使用背景"), back);
  useColor_ = new QRadioButton(ToQString("使用背景色:"), back);
  usePicture_ = new QRadioButton(ToQString("使用背景图片:"), back);
  auto* group = new QButtonGroup(this);
  for (QRadioButton* r : {none_, useColor_, usePicture_}) group->addButton(r);
  none_->setChecked(true);
  color_ = new ColorBox(back);
  color_->SetSelected(platform::kClWhite);
  path_ = new QLineEdit(back);
  path_->setMinimumWidth(220);
  browse_ = new QPushButton(ToQString("浏览(&B)"), back);
  layout_ = new QComboBox(back);
  for (const char* l : {"背景居中显示", "拉伸背景", "平铺背景"}) layout_->addItem(ToQString(l));
  layout_->setCurrentIndex(0);
  bg->addWidget(none_, 0, 0);
  bg->addWidget(useColor_, 1, 0);
  bg->addWidget(color_, 1, 1);
  bg->addWidget(usePicture_, 2, 0);
  bg->addWidget(path_, 2, 1, 1, 2);
  bg->addWidget(browse_, 2, 3);
  bg->addWidget(layout_, 3, 1);
  grid->addWidget(back, row++, 0, 1, 4);

  grid->addWidget(new QLabel(ToQString("背景图片出现效果:"), this), row, 0);
  showEff_ = EffectList(SceneAppearEffects(), this);
  grid->addWidget(showEff_, row, 1);
  grid->addWidget(new QLabel(ToQString("效果持续时长:"), this), row, 2);
  showTime_ = new QLineEdit("1.0", this);
  auto* st = new QHBoxLayout;
  st->addWidget(showTime_);
  st->addWidget(new QLabel(ToQString("秒"), this));
  grid->addLayout(st, row++, 3);

  grid->addWidget(new QLabel(ToQString("背景图片消失效果:"), this), row, 0);
  hideEff_ = EffectList(SceneDisappearEffects(), this);
  grid->addWidget(hideEff_, row, 1);
  grid->addWidget(new QLabel(ToQString("效果持续时长:"), this), row, 2);
  hideTime_ = new QLineEdit("1.0", this);
  auto* ht = new QHBoxLayout;
  ht->addWidget(hideTime_);
  ht->addWidget(new QLabel(ToQString("秒"), this));
  grid->addLayout(ht, row++, 3);

  auto* disp = new QHBoxLayout;
  disp->addWidget(new QLabel(ToQString("在"), this));
  displayTime_ = new QLineEdit("30", this);
  displayTime_->setMaximumWidth(60);
  disp->addWidget(displayTime_);
  disp->addWidget(new QLabel(ToQString("秒后自动切换到下一个场景"), this));
  disp->addStretch();
  grid->addLayout(disp, row++, 0, 1, 4);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = new QPushButton(ToQString("确定(&T)"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(ToQString("取消(&C)"), this);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  grid->addLayout(buttons, row++, 0, 1, 4);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(browse_, &QPushButton::clicked, this, &TForm2::Browse);
}

void TForm2::Browse() {
  platform::FileDialogOptions o;
  o.filter = "图片文件 (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg";
  auto files = platform::CurrentDialogs().OpenFile(o);
  if (files.empty()) return;
  path_->setText(ToQString(files.front()));
  usePicture_->setChecked(true);
}

TpvFlashScene TForm2::ReadScene() const {
  TpvFlashScene s;
  s.Name = platform::FromQString(name_->text());
  s.ShowEffTime = MillisecondsFromText(platform::FromQString(showTime_->text()));
  s.HideEffTime = MillisecondsFromText(platform::FromQString(hideTime_->text()));
  s.ShowTime = MillisecondsFromText(platform::FromQString(displayTime_->text()));
  s.ShowEff = showEff_->currentIndex();
  s.HideEff = hideEff_->currentIndex();
  s.BackColor = color_->Selected();
  s.UseBackColor = useColor_->isChecked();
  s.BackPic = platform::FromQString(path_->text());
  // A picture that does not exist leaves the scene without one.
  s.UseBackPic = usePicture_->isChecked() && !s.BackPic.empty() && platform::files::FileExists(s.BackPic);
  s.StretchBack = layout_->currentIndex() == 1;
  s.TileBack = layout_->currentIndex() == 2;
  return s;
}

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm3");
  setWindowTitle(ToQString("重要提示"));
  auto* v = new QVBoxLayout(this);
  for (const char* line :
       {"有些背景透明的图片在编辑时可能会看到背景不是透明的，但在最终生成的 Flash 中可以正常的显示背景透明效果。",
        "插入的文字在编辑时背景是不透明的，但在最终生成的 Flash 中背景是透明的。",
        "图片的不透明度在编辑时没有效果，但在最终生成的 Flash 中是有效的。"}) {
    auto* l = new QLabel(ToQString(line), this);
    l->setWordWrap(true);
    v->addWidget(l);
  }
  link_ = new QLabel(this);
  link_->setWordWrap(true);
  link_->setTextFormat(Qt::RichText);
  link_->setText("<a href=\"pavo\" style=\"color:#0000ff\">" +
                 ToQString("如果您想使用背景透明的 PNG 图片，可以使用《Pavo图像处理系统》打开 PNG 图片后，另存为 "
                           "32位的Bmp 文件，然后再插入到 Flash 贺卡中。")
                     .toHtmlEscaped() +
                 "</a>");
  connect(link_, &QLabel::linkActivated, this, [] { OpenImageProgramPage(); });
  v->addWidget(link_);
  auto* h = new QHBoxLayout;
  h->addStretch();
  auto* ok = new QPushButton(ToQString("确定(&T)"), this);
  ok->setDefault(true);
  h->addWidget(ok);
  v->addLayout(h);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setMinimumWidth(460);
}

void OpenImageProgramPage() {
  // The image program's own page when the help folder has one, else the Flash card help.
  const bool own = platform::files::FileExists(platform::paths::ProgramFolder() + "help\\pavo.htm");
  platform::shell::OpenHelp(own ? "pavo.htm" : "flash.htm");
}

void OpenWizardHelp() { platform::shell::OpenHelp("flash.htm"); }

void OpenImageProgram() {
  std::string exe = ImageProgramPath();
  if (!exe.empty() && platform::files::FileExists(exe)) {
    platform::shell::StartProgram(exe, {});
    return;
  }
  OpenImageProgramPage();
}

}  // namespace flashwizard::ui
