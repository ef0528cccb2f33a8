#include "platform/qt/font_chooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/font_names.h"
#include "platform/qt/qt_paint.h"
#include "platform/qt/qt_text.h"

namespace platform {
namespace {

// Rows of the style list: regular, italic, bold, bold italic.
constexpr const char* kStyles[] = {"常规", "斜体", "粗体", "粗斜体"};
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The family list with `current` selected; a name that is not installed goes on top.
QStringList FamilyEntries(const std::string& current, int* currentRow) {
  QStringList out;
  for (const std::string& f : fonts::ChooserFamilies()) out << ToQString(f);
  const QString name = ToQString(current);
  *currentRow = name.isEmpty() ? 0 : static_cast<int>(out.indexOf(name));
  if (*currentRow < 0) {
    out.prepend(name);
    *currentRow = 0;
  }
  return out;
}

int PointsOf(const FontSpec& f) {
  if (f.height != 0) return (f.PixelHeight() * 72 + 48) / 96;
  return f.size > 0 ? f.size : 9;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(ToQString(text), parent);
  l->setBuddy(buddy);
  return l;
}

}  // namespace

FontChooser::FontChooser(const FontSpec& initial, QWidget* parent) : QDialog(parent), initial_(initial) {
  setObjectName("FontChooser");
  setWindowTitle(ToQString("字体"));
  auto* grid = new QGridLayout(this);

  families_ = new QListWidget(this);
  families_->setObjectName("Families");
  int row = 0;
  families_->addItems(FamilyEntries(initial.name, &row));
  families_->setCurrentRow(row);
  styles_ = new QListWidget(this);
  styles_->setObjectName("Styles");
  for (const char* s : kStyles) styles_->addItem(ToQString(s));
  styles_->setCurrentRow((initial.bold ? 2 : 0) + (initial.italic ? 1 : 0));
  size_ = new QLineEdit(QString::number(PointsOf(initial)), this);
  size_->setObjectName("Size");
  size_->setValidator(new QIntValidator(1, 999, size_));
  sizes_ = new QListWidget(this);
  for (int s : kSizes) sizes_->addItem(QString::number(s));

  grid->addWidget(Caption("字体(&F):", families_, this), 0, 0);
  grid->addWidget(Caption("字形(&Y):", styles_, this), 0, 1);
  grid->addWidget(Caption("大小(&S):", size_, this), 0, 2);
  grid->addWidget(families_, 1, 0, 2, 1);
  grid->addWidget(styles_, 1, 1, 2, 1);
  grid->addWidget(size_, 1, 2);
  grid->addWidget(sizes_, 2, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 1);

  auto* effects = new QGroupBox(ToQString("效果"), this);
  auto* effectColumn = new QVBoxLayout(effects);
  strikeOut_ = new QCheckBox(ToQString("删除线(&K)"), effects);
  strikeOut_->setChecked(initial.strikeOut);
  underline_ = new QCheckBox(ToQString("下划线(&U)"), effects);
  underline_->setChecked(initial.underline);
  effectColumn->addWidget(strikeOut_);
  effectColumn->addWidget(underline_);
  effectColumn->addStretch(1);
  grid->addWidget(effects, 3, 0);

  auto* sampleBox = new QGroupBox(ToQString("示例"), this);
  auto* sampleColumn = new QVBoxLayout(sampleBox);
  sample_ = new QLabel(ToQString("贺卡字体 AaBbYyZz"), sampleBox);
  sample_->setObjectName("Sample");
  sample_->setTextFormat(Qt::PlainText);
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setMinimumHeight(60);
  sampleColumn->addWidget(sample_);
  grid->addWidget(sampleBox, 3, 1, 1, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQString("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQString("取消"));
  grid->addWidget(buttons, 4, 0, 1, 3);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  connect(sizes_, &QListWidget::currentTextChanged, this, [this](const QString& s) { size_->setText(s); });
  connect(families_, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
  connect(styles_, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
  connect(size_, &QLineEdit::textChanged, this, [this] { UpdateSample(); });
  connect(strikeOut_, &QCheckBox::toggled, this, [this] { UpdateSample(); });
  connect(underline_, &QCheckBox::toggled, this, [this] { UpdateSample(); });
  resize(440, 360);
  UpdateSample();
}

FontSpec FontChooser::Chosen() const {
  FontSpec out = initial_;
  if (QListWidgetItem* item = families_->currentItem()) out.name = FromQString(item->text());
  bool ok = false;
  const int points = size_->text().toInt(&ok);
  out.size = ok && points > 0 ? points : PointsOf(initial_);
  out.height = 0;
  const int style = std::max(0, styles_->currentRow());
  out.bold = style >= 2;
  out.italic = style % 2 == 1;
  out.strikeOut = strikeOut_->isChecked();
  out.underline = underline_->isChecked();
  return out;
}

void FontChooser::UpdateSample() { sample_->setFont(ToQFont(Chosen())); }

std::optional<FontSpec> FontChooser::Choose(const FontSpec& initial, QWidget* parent) {
  FontChooser chooser(initial, parent);
  if (chooser.exec() != QDialog::Accepted) return std::nullopt;
  return chooser.Chosen();
}

void FillFontFamilies(QComboBox* box, const std::string& current) {
  int row = 0;
  box->clear();
  box->addItems(FamilyEntries(current, &row));
  box->setCurrentIndex(row);
}

}  // namespace platform
