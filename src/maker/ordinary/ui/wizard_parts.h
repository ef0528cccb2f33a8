#pragma once
// Small control makers shared by the wizard's page files.
class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace ordinary_ui {

// A label at (x, y), 20 pixels high.
QLabel* Caption(QWidget* parent, const char* text, int x, int y, int w = 60);
// A number field (digits and Backspace only, Enter leaves it); filter receives its keys.
QLineEdit* MakeNumberField(QWidget* parent, QObject* filter, int x, int y, int w, const char* text);

}  // namespace ordinary_ui
