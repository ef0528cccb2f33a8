// Property panel of the picture show box: rectangle, hint, cursor, background colour, the
// picture list with its buttons, random order, click, interval and effect.
#include <QListWidget>

#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"

namespace designer {

using document::ElementKind;

namespace {

class PicsPanel : public Panel {
 public:
  explicit PicsPanel(Designer& d) : Panel(d) {
    setObjectName("PicsPanel");
    AddRectFields(ElementKind::Pics);
    AddHintAndCursor();
    swatch_ = AddSwatch("展示框背景色:", "BkColour");
    AddCaption("图像列表:");
    list_ = new QListWidget(this);
    list_->setObjectName("Pictures");
    list_->setFixedHeight(96);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Column()->addWidget(list_);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    auto* add = AddButton("添加", "Add", row);
    auto* remove = AddButton("移除", "Remove", row);
    auto* up = AddButton("上移", "Up", row);
    auto* down = AddButton("下移", "Down", row);
    Column()->addLayout(row);
    random_ = AddCheck("随机显示图像", "Random");
    click_ = AddCheck("当鼠标单击时显示下一幅图像", "Click");
    auto* invRow = new QHBoxLayout;
    AddCaption("每隔:", invRow);
    inv_ = AddLine("", "Interval", invRow);
    inv_->setFixedWidth(40);
    AddCaption("秒更换一幅图像", invRow);
    invRow->addStretch(1);
    Column()->addLayout(invRow);
    effect_ = AddChooser("图像显示效果:", "Effect", document::EffectChoices());
    Column()->addStretch(1);

    connect(swatch_, &QPushButton::clicked, this, [this] {
      if (auto chosen = platform::CurrentDialogs().ChooseColor(Doc().picsDat.BkCor)) {
        Doc().picsDat.BkCor = *chosen;
        SetSwatch(swatch_, *chosen);
        Changed();
      }
    });
    connect(add, &QPushButton::clicked, this, [this] {
      platform::FileDialogOptions o;
      o.title = "添加图像，可按住Ctrl键一次选中多幅图像";
      o.filter = "JPEG图像 (*.jpg;*.jpeg)|*.jpg;*.jpeg";
      o.defaultExt = "jpg";
      o.multiSelect = true;
      std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
      if (chosen.empty()) return;
      for (const std::string& f : chosen) Doc().picsDat.pictures.push_back(f);
      FillList(list_->currentRow());
      designer_.ReloadPics();
    });
    connect(remove, &QPushButton::clicked, this, [this] { ListButton(document::RemovePicture); });
    connect(up, &QPushButton::clicked, this, [this] { ListButton(document::MovePictureUp); });
    connect(down, &QPushButton::clicked, this, [this] { ListButton(document::MovePictureDown); });
    connect(random_, &QCheckBox::toggled, this, [this](bool on) {
      if (Filling() || !Doc().picsBox) return;
      Doc().picsBox->randPic = on;
      Changed();
    });
    connect(click_, &QCheckBox::toggled, this, [this](bool on) {
      if (!Filling()) Doc().picsDat.Clk = on;
    });
    FilterKeys(inv_, document::DigitsFieldAccepts);
    connect(inv_, &QLineEdit::textChanged, this, [this] {
      if (Filling()) return;
      if (auto v = document::ParseInterval(TextOf(inv_))) {  // a value that does not convert is ignored
        Doc().picsDat.Inv = *v;
        Changed();
      }
    });
    connect(effect_, &QComboBox::currentIndexChanged, this, [this](int index) {
      if (Filling() || index < 0 || !Doc().picsBox) return;
      Doc().picsBox->effectId = index;
      Changed();
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    FillHintAndCursor();
    SetSwatch(swatch_, Doc().picsDat.BkCor);
    FillList(-1);
    if (Doc().picsBox) {
      random_->setChecked(Doc().picsBox->randPic);
      effect_->setCurrentIndex(Doc().picsBox->effectId);
    }
    click_->setChecked(Doc().picsDat.Clk);
    SetText(inv_, std::to_string(Doc().picsDat.Inv));
  }

 private:
  void Changed() { designer_.ElementChanged({ElementKind::Pics, 0}); }

  void FillList(int select) {
    list_->clear();
    for (const std::string& p : Doc().picsDat.pictures) list_->addItem(platform::ToQString(p));
    if (select >= 0 && select < list_->count()) list_->setCurrentRow(select);
  }

  using ListOp = std::optional<int> (*)(std::vector<std::string>&, int, std::string&);
  void ListButton(ListOp op) {
    std::string message;
    int selected = list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
    std::optional<int> next = op(Doc().picsDat.pictures, selected, message);
    if (!next) {
      platform::ShowMessage(message, platform::MsgIcon::Error);
      list_->setFocus();
      return;
    }
    FillList(*next);
    // The box shows the list as it now is.
    designer_.ReloadPics();
  }

  QPushButton* swatch_;
  QListWidget* list_;
  QCheckBox* random_;
  QCheckBox* click_;
  QLineEdit* inv_;
  QComboBox* effect_;
};

}  // namespace

Panel* MakePicsPanel(Designer& d) { return new PicsPanel(d); }

}  // namespace designer
