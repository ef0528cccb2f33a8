#pragma once
// The design canvas: the card panel at the card's real size inside a scrolling area, in the
// card's colour, with the background layer, one control per element (following the
// document's drawing order), the eight grab handles and the two rubber-band frames. Mouse
// presses, drags and releases on element controls and handles move and resize the selected
// element; a release on the bare panel selects the card window; the right button does
// nothing; Delete released on the panel runs the delete command.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QScrollArea>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "maker/document/canvas_geometry.h"
#include "maker/document/card_document.h"

namespace designer {

class Designer;
class ElementView;

// The card panel: the card's client area at real size.
class CardPanel : public QWidget {
  Q_OBJECT

 public:
  explicit CardPanel(Designer& designer, QWidget* parent = nullptr);

  // The background layer's picture (card size, transparent where nothing is drawn).
  void SetBackground(QImage image) { background_ = std::move(image); update(); }
  const QImage& Background() const { return background_; }
  QColor Colour() const { return colour_; }
  void SetColour(QColor c) { colour_ = c; update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  Designer& designer_;
  QImage background_;
  QColor colour_;
};

// One grab handle (1 … 8): 6 x 6, navy frame, the resize cursor of its place.
class HandleWidget : public QWidget {
  Q_OBJECT

 public:
  HandleWidget(int number, class DesignCanvas& canvas, QWidget* parent);
  int Number() const { return number_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int number_;
  DesignCanvas& canvas_;
};

// The move frame (dotted) and the resize frame (2 px), drawn inverting over the panel.
class FrameOverlay : public QWidget {
  Q_OBJECT

 public:
  explicit FrameOverlay(QWidget* parent);
  std::optional<QRect> moveFrame, resizeFrame;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class DesignCanvas : public QScrollArea {
  Q_OBJECT

 public:
  explicit DesignCanvas(Designer& designer);
  ~DesignCanvas() override;

  CardPanel* Panel() const { return panel_; }
  // The control of an element; nullptr when it has none.
  ElementView* ViewOf(document::ElementRef ref) const;
  HandleWidget* Handle(int number) const { return handles_[static_cast<size_t>(number - 1)]; }
  bool HandlesShown() const;
  bool MoveFrameShown() const { return overlay_->moveFrame.has_value(); }
  bool ResizeFrameShown() const { return overlay_->resizeFrame.has_value(); }

  // Makes the controls follow the document: controls of deleted elements go, new elements
  // get one, every control takes its element's rectangle and the document's drawing order,
  // the handles are placed around the selection (hidden for the card window).
  void Sync();
  // Drops every control and builds them again (after DelAll or a read).
  void Rebuild();
  // Updates what one control shows (picture, caption, font, caption look, box settings).
  void Refresh(document::ElementRef ref);
  // The panel takes the card window's size and colour, and with pictures its background picture
  // and mask shape.
  void ApplyCardWindow(bool pictures = true);
  // Controls from the bottom of the panel to its top.
  std::vector<document::ElementRef> DrawingOrder() const;

  // Caption timers of every caption control.
  void StopCaptions();
  void StartCaptions();
  // The show box control: stop, reload the pictures from the document (UPdatePics), start.
  void ReloadPics();

  // Mouse protocol of the element controls (positions inside the element).
  void ElementPressed(document::ElementRef ref, QPoint pos);
  void ElementDragged(document::ElementRef ref, QPoint pos);
  void ElementReleased(document::ElementRef ref, QPoint pos);
  // Mouse protocol of the handles (positions inside the handle).
  void HandlePressed(int number, QPoint pos);
  void HandleDragged(int number, QPoint pos);
  void HandleReleased(int number, QPoint pos);

 private:
  void PlaceHandles();
  void Restack();
  ElementView* MakeView(document::ElementRef ref);

  Designer& designer_;
  CardPanel* panel_;
  FrameOverlay* overlay_;
  std::vector<HandleWidget*> handles_;
  std::map<std::pair<int, int>, ElementView*> views_;  // (kind, tag) -> control
  QPoint pressPos_;
  document::Rect pressRect_;
  bool captionsRunning_ = true;
};

}  // namespace designer
