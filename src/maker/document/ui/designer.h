#pragma once
// The interactive card designer as the main window uses it. One Designer owns the open card
// document, the design canvas (the card panel at real size in a scrolling area), the
// property/event window ("对象属性/事件窗口") and the designer's commands.
//
// Use from the main window:
//   designer::Designer d;
//   setCentralWidget(d.Canvas());                    // the scrolling area with the card panel
//   leftDock->setWidget(d.Properties());             // 217 px wide panel
//   connect(&d, &designer::Designer::statusText, ...);   // first status bar panel ("就绪")
//   // a one-second timer:  auto [time, weekday, date] = designer::Designer::ClockTexts();
//
// Opening a design file:
//   d.ClearDesign();                                  // DelAll and an empty canvas
//   try { document::Loadfileset(d.Document(), path); d.ReloadAfterOpen(); }
//   catch (...) { d.RebuildControls(); throw; }       // what was read stays on the canvas
// A new card (dialog values written into d.Document().window) or a template: the same,
// ReloadAfterOpen() once the document holds the card. ReloadAfterOpen() also shows the canvas.
//
// Saving: document::lmsavefile(d.Document(), path) reads everything from the document (the
// panels write through on every change).
// Building: StopCaptionTimers(); packaging::MakeExe(d.Document(), out, d.BuildHooks());
// StartCaptionTimers();
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "maker/document/card_document.h"
#include "maker/packaging/package_builder.h"

class QWidget;

namespace designer {

class DesignCanvas;
class PropertiesWindow;

class Designer : public QObject {
  Q_OBJECT

 public:
  explicit Designer(QObject* parent = nullptr);
  ~Designer() override;

  // The one open card. Callers that change it directly (reading a file, the new card dialog)
  // call ReloadAfterOpen() or RebuildControls() afterwards so the widgets follow.
  document::CardDocument& Document() { return doc_; }
  const document::CardDocument& Document() const { return doc_; }

  // The widgets, created without parent; the main window places them. The designer deletes
  // them when it goes (whether placed or not); a widget the main window deleted first is
  // noticed and left alone.
  DesignCanvas* Canvas() const;
  PropertiesWindow* Properties() const;

  // A card is open when the card panel is visible; insert, delete and preview do nothing
  // while no card is open. ReloadAfterOpen() opens; the close command calls SetCardOpen(false).
  bool CardOpen() const;
  void SetCardOpen(bool open);

  // --- commands -------------------------------------------------------------------------
  // The control toolbox and the "插入(&I)" menu: inserts an element of a kind. Pictures,
  // GIFs, sounds and Flash movies ask for their file first ("插入图片", "插入GIF 动画",
  // "插入声音", "插入Flash 电影"); a second picture show box or a 161st element is refused
  // with a message. The new element is selected. False when nothing was inserted.
  bool InsertElement(document::ElementKind kind);
  // "删除选定的对象(&D)": in a focused text field of the panels it acts as the Delete key
  // there (selection, or the character after the caret, two bytes for a GBK lead byte);
  // otherwise it deletes the selected element and selects the card window.
  void DeleteSelection();
  // Empties the design (DelAll) and the canvas; the card window is selected. The caller asks
  // "确实要删除所有对象吗？" first where the command needs it.
  void ClearDesign();
  // "贺卡属性(&I)" and the end of every delete: no element selected, the card window's panels.
  void SelectCardWindow();
  // Selects an element (lmSetfocus): handles, selector entry, restack, panels.
  void SelectElement(document::ElementRef ref);
  // After a design was read into the document: rebuilds every control, restacks them by Ind,
  // draws the background and the mask, starts the picture show box, selects the card window
  // and shows the canvas.
  void ReloadAfterOpen();
  // Rebuilds the controls from the document (no restack by Ind, background or selection):
  // for a read that stopped part way.
  void RebuildControls();
  // The designer window's font as a card stores it: new buttons take it.
  platform::FontSpec WindowFont() const;
  // "预览贺卡": builds "TestCard.crd2" or "TestCard.crd3" in the work folder and starts
  // exe2.exe or exe3.exe on it without waiting; caption timers stop around the build.
  void Preview();
  // Every caption timer (the build command stops them for the duration of a build).
  void StopCaptionTimers();
  void StartCaptionTimers();
  bool CaptionTimersRunning() const;

  // Hooks for packaging::MakeExe: status texts go to statusText(); a failed card window check
  // selects the card window, shows its property page and flashes the named caption.
  packaging::MakeExeHooks BuildHooks();

  // How the preview starts a stub: a Windows-style command line, started without waiting.
  // platform::shell::StartProgram by default; tests record the line instead.
  using ProgramStarter = std::function<bool(const std::string& commandLine)>;
  void SetProgramStarter(ProgramStarter starter) { starter_ = std::move(starter); }

  // The status bar clock: time "HH:NN:SS", weekday "星期一", date " 2026年1月5日" (now).
  static std::array<QString, 3> ClockTexts();

  // --- used by the canvas and the panels -------------------------------------------------
  // The rectangle of an element changed (drag, handle, field): the control follows and the
  // element is selected again.
  void SetElementRect(document::ElementRef ref, const document::Rect& rect);
  // Something the control shows changed (caption, font, picture, natural size, caption look,
  // show box settings): the control is updated, nothing else.
  void ElementChanged(document::ElementRef ref);
  // The card window's size, colour, background or mask changed: the card panel follows.
  void CardWindowChanged();
  // The show box's pictures were changed: UPdatePics.
  void ReloadPics();

 signals:
  // Text for the first status bar panel.
  void statusText(const QString& text);
  // The selection changed (an element or the card window).
  void selectionChanged();

 private:
  void AfterChange();

  document::CardDocument doc_;
  QPointer<DesignCanvas> canvas_;
  QPointer<PropertiesWindow> properties_;
  bool captionTimersRunning_ = true;
  ProgramStarter starter_;
};

}  // namespace designer
