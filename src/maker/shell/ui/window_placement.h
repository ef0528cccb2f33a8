#pragma once
// Where the card maker's dialogs appear relative to the window that opens them.
class QWidget;

namespace cardshell {

// Moves w so that its bottom-right corner meets anchor's (frames included).
void PlaceBottomRightOn(QWidget* w, const QWidget* anchor);
// Centres w on anchor, or on the screen when anchor is null.
void CentreOn(QWidget* w, const QWidget* anchor);

}  // namespace cardshell
