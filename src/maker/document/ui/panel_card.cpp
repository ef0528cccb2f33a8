// The card window's property panel (title, size, colour, title bar, background and mask
// pictures, music, icon, screen positions and movement) and its event panel.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>

#include "maker/document/element_lifecycle.h"
#include "maker/document/picture_size.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/element_view.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace designer {

namespace {

inline constexpr std::string_view kMaskFilter =
    "所有图片 (*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf|JPEG 图像 (*.jpg;*.jpeg)|"
    "*.jpg;*.jpeg|GIF 图像 (*.gif)|*.gif|位图 (*.bmp)|*.bmp|元文件和增强的元文件 (*.wmf;*.emf)|*.wmf;*.emf";
inline constexpr std::string_view kMusicFilter =
    "背景音乐 (*.mid;*.rmi;*.mp3;*.wav;*.mpg;*.mpeg)|*.mid;*.rmi;*.mp3;*.wav;*.mpg;*.mpeg";
inline constexpr std::string_view kIconFilter = "图标文件 (*.ico)|*.ico";

class CardPropertiesPanel : public Panel {
 public:
  explicit CardPropertiesPanel(Designer& d) : Panel(d) {
    setObjectName("CardPanelProperties");
    title_ = AddLine("贺卡标题:", "CardTitle");
    width_ = AddLine("贺卡窗口宽度:", "CardWidth");
    height_ = AddLine("贺卡窗口高度:", "CardHeight");
    swatch_ = AddSwatch("贺卡窗口背景色:", "CardColour");
    titleBar_ = AddCheck("显示窗口标题栏", "ShowTitbar");
    useBk_ = AddCheck("使用背景图片", "UseBkPic");
    bkShowCaption_ = AddCaption("显示:");
    bkSet_ = AddChooser("", "BkPicSet", {"平铺背景图片", "拉伸背景图片", "背景图片居中"});
    bkPath_ = AddFileField("", "BkPicName", &bkBrowse_);
    useMask_ = AddCheck("使用掩饰图片", "UseMask");
    maskPath_ = AddFileField("", "MaskName", &maskBrowse_);
    QPushButton* musicBrowse = nullptr;
    QPushButton* iconBrowse = nullptr;
    music_ = AddFileField("贺卡背景音乐:", "Music", &musicBrowse, false);
    icon_ = AddFileField("贺卡文件图标:", "Icon", &iconBrowse, false);
    sPos_ = AddChooser("贺卡出现位置:", "SPos", document::kScreenPositions);
    ePos_ = AddChooser("贺卡最终位置:", "EPos", document::kScreenPositions);
    lock_ = AddCheck("将贺卡锁定在屏幕正中央", "SuoScr");
    loop_ = AddCheck("贺卡在屏幕上循环移动", "MoveScr");
    auto* speedRow = new QHBoxLayout;
    AddCaption("贺卡移动速度:", speedRow);
    speed_ = AddLine("", "MoveSD", speedRow);
    speed_->setFixedWidth(48);
    AddCaption("毫秒/次", speedRow);
    speedRow->addStretch(1);
    Column()->addLayout(speedRow);
    Column()->addStretch(1);

    auto& w = Doc().window;
    connect(title_, &QLineEdit::textChanged, this, [this, &w] { if (!Filling()) w.cardTitle = TextOf(title_); });
    for (QLineEdit* e : {width_, height_}) {
      FilterKeys(e, document::DigitsFieldAccepts, [this, e] { ApplySize(e); });
      connect(e, &QLineEdit::editingFinished, this, [this, e] { ApplySize(e); });
    }
    connect(swatch_, &QPushButton::clicked, this, [this, &w] {
      if (auto c = platform::CurrentDialogs().ChooseColor(w.bkColor)) {
        w.bkColor = *c;
        SetSwatch(swatch_, *c);
        designer_.CardWindowChanged();
      }
    });
    connect(titleBar_, &QCheckBox::toggled, this, [this, &w](bool on) { if (!Filling()) w.showTitbar = on; });
    connect(useBk_, &QCheckBox::toggled, this, [this, &w](bool on) {
      EnableBackground(on);
      if (Filling()) return;
      w.bkPic = on;
      designer_.CardWindowChanged();
    });
    connect(bkSet_, &QComboBox::currentIndexChanged, this, [this, &w](int i) {
      if (Filling() || i < 0) return;
      w.bkPicSet = i;
      designer_.CardWindowChanged();
    });
    connect(bkBrowse_, &QPushButton::clicked, this, [this, &w] {
      std::string f = BrowseFile("浏览背景图片", document::kPictureFilter, w.bkPicName);
      if (f.empty()) return;
      w.bkPicName = f;
      SetText(bkPath_, f);
      designer_.CardWindowChanged();
    });
    connect(useMask_, &QCheckBox::toggled, this, [this, &w](bool on) {
      EnableMask(on);
      if (Filling()) return;
      w.yxPic = on;
      designer_.CardWindowChanged();
    });
    connect(maskBrowse_, &QPushButton::clicked, this, [this, &w] {
      std::string f = BrowseFile("浏览掩饰图片", kMaskFilter, w.yxPicName);
      if (f.empty()) return;
      document::PictureSize size;
      try {
        size = document::MeasurePicture(f);
      } catch (const platform::Error& e) {
        platform::ShowMessage(e.what(), platform::MsgIcon::Error);
        return;
      }
      w.yxPicName = f;
      w.width = size.width;  // the card takes the mask's size
      w.height = size.height;
      Fill();
      designer_.CardWindowChanged();
    });
    connect(music_, &QLineEdit::textChanged, this, [this, &w] { if (!Filling()) w.musicName = TextOf(music_); });
    connect(icon_, &QLineEdit::textChanged, this, [this, &w] { if (!Filling()) w.icon = TextOf(icon_); });
    connect(musicBrowse, &QPushButton::clicked, this, [this, &w] {
      std::string dir = platform::files::FileExists(w.musicName) ? std::string()
                                                          : platform::paths::ProgramFolder() + "背景音乐\\";
      std::string f = BrowseFile("浏览背景音乐", kMusicFilter, w.musicName, dir);
      if (!f.empty()) music_->setText(platform::ToQString(f));
    });
    connect(iconBrowse, &QPushButton::clicked, this, [this, &w] {
      std::string dir = platform::files::FileExists(w.icon) ? std::string() : platform::paths::ProgramFolder() + "图标\\";
      std::string f = BrowseFile("浏览图标文件", kIconFilter, w.icon, dir);
      if (!f.empty()) icon_->setText(platform::ToQString(f));
    });
    connect(sPos_, &QComboBox::currentIndexChanged, this, [this, &w](int i) { if (!Filling() && i >= 0) w.sPos = i; });
    connect(ePos_, &QComboBox::currentIndexChanged, this, [this, &w](int i) { if (!Filling() && i >= 0) w.ePos = i; });
    // The two movement switches exclude each other.
    connect(lock_, &QCheckBox::toggled, this, [this, &w](bool on) {
      if (Filling()) return;
      w.SetSuoScr(on);
      QSignalBlocker b(loop_);
      loop_->setChecked(w.moveScr);
    });
    connect(loop_, &QCheckBox::toggled, this, [this, &w](bool on) {
      if (Filling()) return;
      w.SetMoveScr(on);
      QSignalBlocker b(lock_);
      lock_->setChecked(w.suoScr);
    });
    FilterKeys(speed_, document::DigitsFieldAccepts, [this] { ApplySpeed(); });
    connect(speed_, &QLineEdit::editingFinished, this, [this] { ApplySpeed(); });
  }

  // Alternates a caption between red and its own colour (the build's attention flash).
  void Flash(const std::string& caption) {
    QString text = platform::ToQString(caption);
    QWidget* target = nullptr;
    for (QWidget* wdg : findChildren<QWidget*>()) {
      if (auto* l = qobject_cast<QLabel*>(wdg); l && l->text() == text) target = l;
      if (auto* c = qobject_cast<QCheckBox*>(wdg); c && c->text() == text) target = c;
    }
    if (!target) return;
    const QString own = target->styleSheet();
    for (int round = 0; round < 2; ++round) {
      for (const QString& style : {QString("color:red;"), own}) {
        target->setStyleSheet(style);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 120) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      }
    }
  }

 protected:
  void DoFill() override {
    const auto& w = Doc().window;
    SetText(title_, w.cardTitle);
    SetText(width_, std::to_string(w.width));
    SetText(height_, std::to_string(w.height));
    SetSwatch(swatch_, w.bkColor);
    titleBar_->setChecked(w.showTitbar);
    useBk_->setChecked(w.bkPic);
    bkSet_->setCurrentIndex(w.bkPicSet >= 0 && w.bkPicSet <= 2 ? w.bkPicSet : 0);
    SetText(bkPath_, w.bkPicName);
    EnableBackground(w.bkPic);
    useMask_->setChecked(w.yxPic);
    SetText(maskPath_, w.yxPicName);
    EnableMask(w.yxPic);
    SetText(music_, w.musicName);
    SetText(icon_, w.icon);
    sPos_->setCurrentIndex(w.sPos);
    ePos_->setCurrentIndex(w.ePos);
    lock_->setChecked(w.suoScr);
    loop_->setChecked(w.moveScr);
    SetText(speed_, w.moveSD);
  }

 private:
  void EnableBackground(bool on) {
    for (QWidget* wdg : std::initializer_list<QWidget*>{bkShowCaption_, bkSet_, bkPath_, bkBrowse_}) wdg->setEnabled(on);
    // Window colour when in use, button face when not.
    const QString style = on ? "background:#ffffff;" : "background:#d4d0c8;";
    bkPath_->setStyleSheet(style);
    bkSet_->setStyleSheet(on ? QString() : QString("QComboBox{background:#d4d0c8;}"));
  }
  void EnableMask(bool on) {
    maskPath_->setEnabled(on);
    maskBrowse_->setEnabled(on);
    width_->setEnabled(!on);  // the mask decides the card's size
    height_->setEnabled(!on);
  }
  void ApplySize(QLineEdit* e) {
    if (Filling()) return;
    auto& w = Doc().window;
    int& field = e == width_ ? w.width : w.height;
    try {
      field = document::ApplyNumberField(document::ElementKind::Label, TextOf(e), field);
    } catch (const platform::Error& err) {
      platform::ShowMessage(err.what(), platform::MsgIcon::Error);
      return;
    }
    SetText(e, std::to_string(field));
    designer_.CardWindowChanged();
  }
  void ApplySpeed() {
    if (Filling()) return;
    Doc().window.ApplyMoveSpeed(TextOf(speed_));
    SetText(speed_, Doc().window.moveSD);
  }

  QLineEdit *title_, *width_, *height_, *bkPath_, *maskPath_, *music_, *icon_, *speed_;
  QPushButton *swatch_, *bkBrowse_ = nullptr, *maskBrowse_ = nullptr;
  QCheckBox *titleBar_, *useBk_, *useMask_, *lock_, *loop_;
  QLabel* bkShowCaption_;
  QComboBox *bkSet_, *sPos_, *ePos_;
};

class CardEventsPanel : public Panel {
 public:
  explicit CardEventsPanel(Designer& d) : Panel(d) {
    setObjectName("CardPanelEvents");
    onLoad_ = AddChooser("当窗口显示时:", "OnLoad", document::kWindowActions);
    onLoadSet_ = AddLine("设置值:", "OnLoadSet");
    onClose_ = AddChooser("当窗口关闭时:", "OnClose", document::kWindowActions);
    onCloseSet_ = AddLine("设置值:", "OnCloseSet");
    Column()->addStretch(1);
    auto& w = Doc().window;
    connect(onLoad_, &QComboBox::currentIndexChanged, this, [this, &w](int i) { if (!Filling() && i >= 0) w.onLoad = i; });
    connect(onClose_, &QComboBox::currentIndexChanged, this, [this, &w](int i) { if (!Filling() && i >= 0) w.onClose = i; });
    connect(onLoadSet_, &QLineEdit::textChanged, this, [this, &w] { if (!Filling()) w.onLoadSet = TextOf(onLoadSet_); });
    connect(onCloseSet_, &QLineEdit::textChanged, this, [this, &w] { if (!Filling()) w.onCloseSet = TextOf(onCloseSet_); });
  }

 protected:
  void DoFill() override {
    const auto& w = Doc().window;
    onLoad_->setCurrentIndex(w.onLoad);
    SetText(onLoadSet_, w.onLoadSet);
    onClose_->setCurrentIndex(w.onClose);
    SetText(onCloseSet_, w.onCloseSet);
  }

 private:
  QComboBox *onLoad_, *onClose_;
  QLineEdit *onLoadSet_, *onCloseSet_;
};

}  // namespace

Panel* MakeCardPropertiesPanel(Designer& d) { return new CardPropertiesPanel(d); }
Panel* MakeCardEventsPanel(Designer& d) { return new CardEventsPanel(d); }

void FlashCardPanelCaption(Panel* cardPanel, const std::string& caption) {
  if (auto* p = dynamic_cast<CardPropertiesPanel*>(cardPanel)) p->Flash(caption);
}

}  // namespace designer
