// Event panels of labels, buttons, images and GIFs: the click action, its two setting values
// and the sound played on click. The action and sound choosers are rebuilt on every selection.
#include "maker/document/action_list.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "maker/packaging/build_dialogs.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace designer {

using document::ElementKind;

namespace {

const char* EventCaption(ElementKind kind) {
  switch (kind) {
    case ElementKind::Button: return "当鼠标在按钮上单击时";
    case ElementKind::Image: return "当鼠标在图片上单击时";
    case ElementKind::Gif: return "当鼠标在GIF动画上单击时";
    default: return "当鼠标在文本框上单击时";
  }
}

class EventPanel : public Panel {
 public:
  EventPanel(Designer& d, ElementKind kind) : Panel(d) {
    setObjectName(QString("EventPanel%1").arg(static_cast<int>(kind)));
    auto* title = AddCaption(EventCaption(kind));
    title->setStyleSheet("font-weight:bold;");
    action_ = AddChooser("", "Action", {});
    QPushButton* browse = nullptr;
    pic_ = AddFileField("设置值1:", "Value1", &browse, false);
    text_ = AddText("设置值2:", "Value2", 90);
    playSound_ = AddCheck("播放声音:", "PlaySound");
    sound_ = AddChooser("", "Sound", {});
    Column()->addStretch(1);

    connect(action_, &QComboBox::activated, this, [this](int index) {
      if (Filling() || index < 0) return;
      if (auto f = Fields(); f.cmd) *f.cmd = platform::FromQString(action_->itemText(index));
    });
    connect(pic_, &QLineEdit::textChanged, this, [this] {
      if (Filling()) return;
      if (auto f = Fields(); f.pic) {
        *f.pic = TextOf(pic_);
        document::NoteSettingValue1(Doc(), *f.pic);
      }
    });
    connect(browse, &QPushButton::clicked, this, [this] {
      std::string f = BrowseFile("浏览文件", "所有文件 (*.*)|*.*", TextOf(pic_));
      if (f.empty()) return;
      pic_->setText(platform::ToQString(f));  // writes Pic through textChanged
      if (packaging::WarnsAsExecutable(f))
        platform::ShowMessage(std::string(packaging::kExecutableActionWarning), platform::MsgIcon::Warning);
    });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
      if (Filling()) return;
      if (auto f = Fields(); f.text) *f.text = TextOf(text_);
    });
    connect(playSound_, &QCheckBox::toggled, this, [this] { WriteSound(); });
    connect(sound_, &QComboBox::currentIndexChanged, this, [this] { WriteSound(); });
  }

 protected:
  void DoFill() override {
    ActionFields f = Fields();
    if (!f.cmd) return;
    SetItems(action_, document::BuildActionList(Doc()));
    action_->setCurrentIndex(FindItem(action_, *f.cmd));  // none when the entry is gone
    SetItems(sound_, document::SoundChoices(Doc()));
    sound_->setCurrentIndex(*f.wav >= 1 ? FindItem(sound_, document::ShownName(ElementKind::Wav, *f.wav)) : -1);
    playSound_->setChecked(*f.wav >= 1);
    SetText(pic_, *f.pic);
    SetText(text_, *f.text);
  }

 private:
  ActionFields Fields() { return Doc().selected ? ActionFieldsOf(Doc(), *Doc().selected) : ActionFields{}; }

  // Wav: the chosen sound's Tag when ticked, 0 when not; ticked without a sound changes nothing.
  void WriteSound() {
    if (Filling()) return;
    ActionFields f = Fields();
    if (!f.wav) return;
    if (!playSound_->isChecked()) {
      *f.wav = 0;
      return;
    }
    if (sound_->currentIndex() < 0) return;
    std::string name = platform::FromQString(sound_->currentText());
    const size_t prefix = document::kWavPrefix.size();
    int tag = 0;
    if (name.size() > prefix && platform::TryStrToInt(std::string_view(name).substr(prefix), tag)) *f.wav = tag;
  }

  QComboBox* action_;
  QLineEdit* pic_;
  QPlainTextEdit* text_;
  QCheckBox* playSound_;
  QComboBox* sound_;
};

}  // namespace

Panel* MakeEventPanel(Designer& d, ElementKind kind) { return new EventPanel(d, kind); }

}  // namespace designer
