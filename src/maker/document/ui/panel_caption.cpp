// Property panel of scrolling captions: text, font, background colour, transparency,
// background picture, direction and speed.
#include <QSlider>

#include "maker/document/element_lifecycle.h"
#include "maker/document/picture_size.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/dialogs.h"
#include "platform/error.h"

namespace designer {

using document::ElementKind;

namespace {

class CaptionPanel : public Panel {
 public:
  explicit CaptionPanel(Designer& d) : Panel(d) {
    setObjectName("CaptionPanel");
    AddRectFields(ElementKind::Scl);
    text_ = AddText("字幕内容:", "Text", 80);
    auto* font = AddButton("设置文字字体", "FontButton");
    auto* colour = AddButton("设置文字字色", "ColourButton");
    swatch_ = AddSwatch("背景色:", "BkColour");
    transparent_ = AddCheck("背景透明", "Transparent");
    usePic_ = AddCheck("使用字幕背景图片:", "UsePicture");
    pic_ = AddFileField("", "Picture", &browse_);
    way_ = AddChooser("字幕滚动方向:", "Way", document::kScrollDirections);
    AddCaption("字幕滚动速度:");
    speed_ = new QSlider(Qt::Horizontal, this);
    speed_->setObjectName("Speed");
    speed_->setRange(0, document::kSliderMax);
    Column()->addWidget(speed_);
    Column()->addStretch(1);

    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
      if (Filling()) return;
      auto* e = Element();
      if (!e) return;
      std::string t = TextOf(text_);
      std::string limited = document::LimitScrollText(t);
      if (limited != t) {  // at most 3000 characters
        QSignalBlocker block(text_);
        SetText(text_, limited);
        text_->moveCursor(QTextCursor::End);
      }
      e->rec.Text = limited;
      Changed();
    });
    connect(font, &QPushButton::clicked, this, [this] {
      auto* e = Element();
      if (!e) return;
      platform::FontSpec initial = e->rec.Font;
      initial.charset = 134;
      if (auto chosen = platform::CurrentDialogs().ChooseFont(initial)) {
        e->rec.Font = *chosen;
        Changed();
      }
    });
    connect(colour, &QPushButton::clicked, this, [this] {
      auto* e = Element();
      if (!e) return;
      if (auto chosen = platform::CurrentDialogs().ChooseColor(e->rec.Font.color)) {
        e->rec.Font.color = *chosen;
        Changed();
      }
    });
    connect(swatch_, &QPushButton::clicked, this, [this] {
      auto* e = Element();
      if (!e) return;
      if (auto chosen = platform::CurrentDialogs().ChooseColor(e->rec.BKColor)) {
        e->rec.BKColor = *chosen;
        SetSwatch(swatch_, *chosen);
        Changed();
      }
    });
    connect(transparent_, &QCheckBox::toggled, this, [this](bool on) {
      if (Filling()) return;
      auto* e = Element();
      if (!e) return;
      e->control.transparent = on;
      Changed();
      designer_.SelectElement(*Doc().selected);
    });
    connect(usePic_, &QCheckBox::toggled, this, [this](bool on) {
      pic_->setEnabled(on);
      browse_->setEnabled(on);
      if (Filling()) return;
      auto* e = Element();
      if (!e) return;
      e->rec.Pic = on ? TextOf(pic_) : std::string();
      Changed();
    });
    connect(browse_, &QPushButton::clicked, this, [this] { BrowsePicture(); });
    connect(way_, &QComboBox::currentIndexChanged, this, [this](int index) {
      if (Filling() || index < 0) return;
      if (auto* e = Element()) {
        e->rec.Way = index;
        Changed();
      }
    });
    connect(speed_, &QSlider::valueChanged, this, [this](int pos) {
      if (Filling()) return;
      if (auto* e = Element()) {
        e->control.timerInterval = document::IntervalFromSlider(pos);
        Changed();
      }
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    auto* e = Element();
    if (!e) return;
    SetText(text_, e->rec.Text);
    SetSwatch(swatch_, e->rec.BKColor);
    transparent_->setChecked(e->control.transparent);
    usePic_->setChecked(!e->rec.Pic.empty());
    pic_->setEnabled(!e->rec.Pic.empty());
    browse_->setEnabled(!e->rec.Pic.empty());
    SetText(pic_, e->rec.Pic);
    way_->setCurrentIndex(e->rec.Way >= 0 && e->rec.Way <= 3 ? e->rec.Way : 0);
    speed_->setValue(document::SliderFromInterval(e->control.timerInterval));
  }

 private:
  document::SclElement* Element() {
    if (!Doc().selected || Doc().selected->kind != ElementKind::Scl) return nullptr;
    int i = document::getlmsclindex(Doc(), Doc().selected->tag);
    if (i < 1 || i > static_cast<int>(Doc().scls.size())) return nullptr;
    return &Doc().scls[static_cast<size_t>(i - 1)];
  }
  void Changed() { designer_.ElementChanged(*Doc().selected); }

  void BrowsePicture() {
    auto* e = Element();
    if (!e) return;
    std::string f = BrowseFile("浏览背景图片", document::kPictureFilter, TextOf(pic_));
    if (f.empty()) return;
    SetText(pic_, f);
    e->rec.Pic = f;
    Changed();
    if (platform::ShowMessage("是否要将滚动字幕框的大小设置的和背景图大小相同？", platform::MsgIcon::Question,
                              platform::MsgButtons::YesNo) != platform::MsgResult::Yes)
      return;
    try {
      document::PictureSize size = document::MeasurePicture(f);
      document::Rect r = e->control.rect;
      designer_.SetElementRect(*Doc().selected, {r.left, r.top, size.width, size.height});
    } catch (const platform::Error& err) {
      platform::ShowMessage(err.what(), platform::MsgIcon::Error);
    }
  }

  QPlainTextEdit* text_;
  QPushButton* swatch_;
  QCheckBox* transparent_;
  QCheckBox* usePic_;
  QLineEdit* pic_;
  QPushButton* browse_ = nullptr;
  QComboBox* way_;
  QSlider* speed_;
};

}  // namespace

Panel* MakeCaptionPanel(Designer& d) { return new CaptionPanel(d); }

}  // namespace designer
