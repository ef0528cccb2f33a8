#include "maker/document/ui/panel_kit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>

#include "maker/document/canvas_geometry.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/element_view.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/qt/qt_text.h"

namespace designer {

using document::ElementKind;

// --- helpers -------------------------------------------------------------------------------

namespace {

class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, std::function<bool(char)> accepts, std::function<void()> onEnter)
      : QObject(parent), accepts_(std::move(accepts)), onEnter_(std::move(onEnter)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      if (onEnter_) onEnter_();
      return true;
    }
    if (k->key() == Qt::Key_Backspace) return !accepts_(document::kBackspace);
    const QString text = k->text();
    if (text.isEmpty() || text[0].unicode() < 0x20 || text[0].unicode() == 0x7F) return false;
    char c = text[0].unicode() < 0x80 ? static_cast<char>(text[0].unicode()) : '\0';
    return !accepts_(c);
  }

 private:
  std::function<bool(char)> accepts_;
  std::function<void()> onEnter_;
};

}  // namespace

void FilterKeys(QLineEdit* edit, std::function<bool(char)> accepts, std::function<void()> onEnter) {
  edit->installEventFilter(new KeyFilter(edit, std::move(accepts), std::move(onEnter)));
}

std::string TextOf(const QLineEdit* e) { return platform::FromQString(e->text()); }

std::string TextOf(const QPlainTextEdit* e) {
  QString t = e->toPlainText();
  t.replace("\n", "\r\n");
  return platform::FromQString(t);
}

void SetText(QLineEdit* e, std::string_view gbk) {
  QString t = platform::ToQString(gbk);
  if (e->text() != t) e->setText(t);
}

void SetText(QPlainTextEdit* e, std::string_view gbk) {
  QString t = platform::ToQString(gbk);
  t.replace("\r\n", "\n");
  if (e->toPlainText() != t) e->setPlainText(t);
}

void SetItems(QComboBox* box, const std::vector<std::string>& items) {
  QSignalBlocker block(box);
  box->clear();
  for (const std::string& s : items) box->addItem(platform::ToQString(s));
}

int FindItem(const QComboBox* box, std::string_view text) {
  if (text.empty()) return -1;
  return box->findText(platform::ToQString(text), Qt::MatchExactly);
}

std::string BrowseFile(std::string_view title, std::string_view filter, std::string_view current,
                       std::string_view initialDir) {
  platform::FileDialogOptions o;
  o.title = std::string(title);
  o.filter = std::string(filter);
  o.fileName = std::string(current);
  o.initialDir = std::string(initialDir);
  std::vector<std::string> chosen = platform::CurrentDialogs().OpenFile(o);
  return chosen.empty() ? std::string() : chosen.front();
}

ActionFields ActionFieldsOf(document::CardDocument& doc, document::ElementRef ref) {
  ActionFields f;
  auto fill = [&](auto& table, int index) {
    if (index < 1 || index > static_cast<int>(table.size())) return;
    auto& rec = table[static_cast<size_t>(index - 1)].rec;
    f = {&rec.Hint, &rec.Cursor, &rec.Cmd, &rec.Pic, &rec.Text, &rec.Wav};
  };
  switch (ref.kind) {
    case ElementKind::Label: fill(doc.labels, document::GetlmtxtIndex(doc, ref.tag)); break;
    case ElementKind::Button: fill(doc.buttons, document::GetSpeedbuttonIndex(doc, ref.tag)); break;
    case ElementKind::Image: fill(doc.images, document::GetLmImageIndex(doc, ref.tag)); break;
    case ElementKind::Gif: fill(doc.gifs, document::GETLMGIFINDEX(doc, ref.tag)); break;
    default: break;
  }
  return f;
}

// --- panel ---------------------------------------------------------------------------------

Panel::Panel(Designer& designer, QWidget* parent) : QWidget(parent), designer_(designer) {
  column_ = new QVBoxLayout(this);
  column_->setContentsMargins(6, 6, 6, 6);
  column_->setSpacing(3);
}

void Panel::Fill() {
  filling_ = true;
  DoFill();
  filling_ = false;
}

document::CardDocument& Panel::Doc() { return designer_.Document(); }

document::ElementRef Panel::Selected() { return Doc().selected.value_or(document::ElementRef{}); }

QLabel* Panel::AddCaption(std::string_view caption, QLayout* into) {
  auto* l = new QLabel(platform::ToQString(caption), this);
  (into ? into : column_)->addWidget(l);
  return l;
}

QLineEdit* Panel::AddLine(std::string_view caption, const char* name, QLayout* into) {
  if (!caption.empty()) AddCaption(caption, into);
  auto* e = new QLineEdit(this);
  e->setObjectName(name);
  (into ? into : column_)->addWidget(e);
  return e;
}

QPlainTextEdit* Panel::AddText(std::string_view caption, const char* name, int height, QLayout* into) {
  AddCaption(caption, into);
  auto* e = new QPlainTextEdit(this);
  e->setObjectName(name);
  e->setFixedHeight(height);
  e->setTabChangesFocus(true);
  (into ? into : column_)->addWidget(e);
  return e;
}

QComboBox* Panel::AddChooser(std::string_view caption, const char* name, const std::vector<std::string>& items,
                             QLayout* into) {
  if (!caption.empty()) AddCaption(caption, into);
  auto* c = new QComboBox(this);
  c->setObjectName(name);
  SetItems(c, items);
  (into ? into : column_)->addWidget(c);
  return c;
}

QCheckBox* Panel::AddCheck(std::string_view caption, const char* name, QLayout* into) {
  auto* c = new QCheckBox(platform::ToQString(caption), this);
  c->setObjectName(name);
  (into ? into : column_)->addWidget(c);
  return c;
}

QPushButton* Panel::AddButton(std::string_view caption, const char* name, QLayout* into) {
  auto* b = new QPushButton(platform::ToQString(caption), this);
  b->setObjectName(name);
  b->setMinimumWidth(36);  // the dock is narrow: buttons may be smaller than the style's default
  (into ? into : column_)->addWidget(b);
  return b;
}

QLineEdit* Panel::AddFileField(std::string_view caption, const char* name, QPushButton** browse, bool readOnly,
                               QLayout* into) {
  if (!caption.empty()) AddCaption(caption, into);
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  auto* e = new QLineEdit(this);
  e->setObjectName(name);
  e->setReadOnly(readOnly);
  auto* b = new QPushButton(platform::ToQString("浏览"), this);
  b->setObjectName(QString(name) + "Browse");
  b->setFixedWidth(44);
  row->addWidget(e, 1);
  row->addWidget(b);
  if (into) static_cast<QBoxLayout*>(into)->addLayout(row);
  else column_->addLayout(row);
  if (browse) *browse = b;
  return e;
}

QPushButton* Panel::AddSwatch(std::string_view caption, const char* name, QLayout* into) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(platform::ToQString(caption), this));
  auto* b = new QPushButton(this);
  b->setObjectName(name);
  b->setFixedSize(48, 20);
  row->addWidget(b);
  row->addStretch(1);
  if (into) static_cast<QBoxLayout*>(into)->addLayout(row);
  else column_->addLayout(row);
  return b;
}

void Panel::SetSwatch(QPushButton* swatch, platform::Color c) {
  swatch->setProperty("colour", static_cast<int>(c));
  // Raised when still, lowered while pressed: the bevel follows the button's state.
  swatch->setStyleSheet(QString("QPushButton{background:%1;border:2px outset #c0c0c0;}"
                                "QPushButton:pressed{border:2px inset #c0c0c0;}")
                            .arg(ToQColor(c).name()));
}

QLabel* Panel::AddNote(std::string_view text) {
  auto* l = new QLabel(platform::ToQString(text), this);
  l->setWordWrap(true);
  l->setStyleSheet("color:#404040;");
  column_->addWidget(l);
  return l;
}

void Panel::AddRectFields(ElementKind kind) {
  kind_ = kind;
  static const char* const kCaptions[4] = {"左边距:", "上边距:", "宽  度:", "高  度:"};
  static const char* const kNames[4] = {"Left", "Top", "Width", "Height"};
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  for (int i = 0; i < 4; ++i) {
    auto* e = new QLineEdit(this);
    e->setObjectName(kNames[i]);
    e->setMinimumWidth(30);
    rectFields_[i] = e;
    grid->addWidget(new QLabel(platform::ToQString(kCaptions[i]), this), i / 2, (i % 2) * 2);
    grid->addWidget(e, i / 2, (i % 2) * 2 + 1);
    auto field = static_cast<document::NumberField>(i);
    FilterKeys(e, [kind, field](char c) { return document::NumberFieldAccepts(kind, field, c); },
               [this, i] { ApplyRectField(i); });
    connect(e, &QLineEdit::editingFinished, this, [this, i] { ApplyRectField(i); });
  }
  column_->addLayout(grid);
}

void Panel::FillRectFields() {
  document::Rect r = document::ElementRect(Doc(), Selected());
  const int v[4] = {r.left, r.top, r.width, r.height};
  for (int i = 0; i < 4; ++i)
    if (rectFields_[i]) SetText(rectFields_[i], std::to_string(v[i]));
}

void Panel::ApplyRectField(int i) {
  if (filling_ || !Doc().selected) return;
  document::ElementRef ref = Selected();
  document::Rect r = document::ElementRect(Doc(), ref);
  auto field = static_cast<document::NumberField>(i);
  int value = 0;
  try {
    value = document::ApplyNumberField(kind_, TextOf(rectFields_[i]), document::FieldOf(r, field));
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);  // the element keeps its rectangle
    return;
  }
  designer_.SetElementRect(ref, document::WithField(r, field, value));
}

void Panel::AddHintAndCursor() {
  hint_ = AddLine("鼠标移入时提示信息:", "Hint");
  cursor_ = AddChooser("鼠标指针:", "Cursor", document::kCursorNames);
  connect(hint_, &QLineEdit::textChanged, this, [this] {
    if (Filling()) return;
    if (Selected().kind == ElementKind::Pics) Doc().picsDat.Hint = TextOf(hint_);
    else if (auto f = ActionFieldsOf(Doc(), Selected()); f.hint) *f.hint = TextOf(hint_);
  });
  connect(cursor_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (Filling() || index < 0) return;
    if (Selected().kind == ElementKind::Pics) Doc().picsDat.Cursor = index;
    else if (auto f = ActionFieldsOf(Doc(), Selected()); f.cursor) *f.cursor = index;
  });
}

void Panel::FillHintAndCursor() {
  if (Selected().kind == ElementKind::Pics) {
    SetText(hint_, Doc().picsDat.Hint);
    cursor_->setCurrentIndex(Doc().picsDat.Cursor);
    return;
  }
  ActionFields f = ActionFieldsOf(Doc(), Selected());
  if (!f.hint) return;
  SetText(hint_, *f.hint);
  cursor_->setCurrentIndex(*f.cursor);
}

}  // namespace designer
