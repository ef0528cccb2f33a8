// Property panels of text labels and floating buttons.
#include "maker/document/ui/designer.h"
#include "maker/document/ui/panel_kit.h"
#include "platform/dialogs.h"

namespace designer {

using document::ElementKind;

namespace {

// Font and colour buttons of labels and buttons: the dialog starts from the control's font
// (character set GB2312) and the choice is assigned on OK.
void ConnectFontButtons(Panel* panel, Designer& d, QPushButton* fontButton, QPushButton* colourButton) {
  QObject::connect(fontButton, &QPushButton::clicked, panel, [&d] {
    auto& doc = d.Document();
    if (!doc.selected) return;
    document::ElementControl* c = doc.FindControl(*doc.selected);
    if (!c) return;
    platform::FontSpec initial = c->font;
    initial.charset = 134;
    if (auto chosen = platform::CurrentDialogs().ChooseFont(initial)) {
      c->font = *chosen;
      d.ElementChanged(*doc.selected);
    }
  });
  QObject::connect(colourButton, &QPushButton::clicked, panel, [&d] {
    auto& doc = d.Document();
    if (!doc.selected) return;
    document::ElementControl* c = doc.FindControl(*doc.selected);
    if (!c) return;
    if (auto chosen = platform::CurrentDialogs().ChooseColor(c->font.color)) {
      c->font.color = *chosen;
      d.ElementChanged(*doc.selected);
    }
  });
}

class LabelPanel : public Panel {
 public:
  explicit LabelPanel(Designer& d) : Panel(d) {
    setObjectName("LabelPanel");
    AddRectFields(ElementKind::Label);
    content_ = AddText("文本框内容:", "Caption", 90);
    auto* font = AddButton("设置文字字体", "FontButton");
    auto* colour = AddButton("设置文字字色", "ColourButton");
    ConnectFontButtons(this, d, font, colour);
    AddHintAndCursor();
    Column()->addStretch(1);
    connect(content_, &QPlainTextEdit::textChanged, this, [this] {
      if (Filling() || !Doc().selected) return;
      if (auto* c = Doc().FindControl(*Doc().selected)) {
        c->caption = TextOf(content_);
        designer_.ElementChanged(*Doc().selected);
      }
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    if (auto* c = Doc().FindControl(Selected())) SetText(content_, c->caption);
    FillHintAndCursor();
  }

 private:
  QPlainTextEdit* content_;
};

class ButtonPanel : public Panel {
 public:
  explicit ButtonPanel(Designer& d) : Panel(d) {
    setObjectName("ButtonPanel");
    AddRectFields(ElementKind::Button);
    title_ = AddLine("按钮标题:", "Caption");
    auto* font = AddButton("设置按钮字体", "FontButton");
    auto* colour = AddButton("设置按钮字色", "ColourButton");
    ConnectFontButtons(this, d, font, colour);
    AddHintAndCursor();
    Column()->addStretch(1);
    connect(title_, &QLineEdit::textChanged, this, [this] {
      if (Filling() || !Doc().selected) return;
      if (auto* c = Doc().FindControl(*Doc().selected)) {
        c->caption = TextOf(title_);
        designer_.ElementChanged(*Doc().selected);
      }
    });
  }

 protected:
  void DoFill() override {
    FillRectFields();
    if (auto* c = Doc().FindControl(Selected())) SetText(title_, c->caption);
    FillHintAndCursor();
  }

 private:
  QLineEdit* title_;
};

}  // namespace

Panel* MakeLabelPanel(Designer& d) { return new LabelPanel(d); }
Panel* MakeButtonPanel(Designer& d) { return new ButtonPanel(d); }

}  // namespace designer
