#pragma once
// The card maker's main window TForm1: menus, the quick toolbar and the control toolbox in
// the top dock bar, the properties/events window in the left panel, the designer's card
// window in the middle, the status bar with its clock, and the start-up timer.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "maker/shell/file_commands.h"
#include "maker/shell/ui/designer_host.h"

class QAction;
class QDockWidget;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace mail_ui {
class TlmStatusBar;
}

namespace cardshell {

class TForm2;
class TForm9;

inline constexpr const char* kMainCaption = "Lumo贺卡制作 7.0 标准版";
inline constexpr const char* kApplicationTitle = "Lumo贺卡制作 标准版";
inline constexpr const char* kPropertiesCaption = "属性/事件窗口";
inline constexpr int kLeftPanelWidth = 217;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(std::unique_ptr<DesignerHost> designer, QWidget* parent = nullptr);
  ~TForm1() override;

  DesignerHost& Designer() { return *designer_; }
  FileCommands& Files() { return files_; }

  void SetGallery(TForm2* gallery) { gallery_ = gallery; }
  void SetAboutBox(TForm9* about) { about_ = about; }

  // The start-up timer (1000 ms after the window shows, once); what it does is set by start-up.
  std::function<void()> onStartupTimer;
  QTimer* StartupTimer() const { return timer1_; }

  // Commands.
  void NewClick();
  void OpenClick();
  void CloseClick();
  void SaveClick();
  void SaveAsClick();
  void SaveTemplateClick();
  void BuildClick();
  void PreviewClick();
  void HelpClick();
  void AboutClick();
  void SendClick();
  // Shows the gallery over the main window (bottom-right corners together), modally.
  void ShowGallery();

  // The status bar's first panel (GBK).
  void SetStatusText(const std::string& text);
  std::string StatusText(int panel = 0) const;

  // Controls by their names, for tests: menu actions by object name ("N2" …), the toolbars,
  // the properties/events window and the left panel's width.
  QAction* Action(const QString& name) const;
  QToolBar* QuickToolbar() const { return toolBar1_; }
  QToolBar* Toolbox() const { return toolBar2_; }
  QDockWidget* PropertiesWindow() const { return panel2_; }
  QToolButton* SaveToolButton() const { return saveButton_; }
  QMenu* ViewMenu() const { return viewMenu_; }
  int LeftPanelWidth() const;
  // The View menu's ticks are set from the windows' visibility when the menu opens.
  void UpdateViewChecks();
  // "对象属性/事件窗口": shows or hides the window; shown, it docks into the left panel again.
  void TogglePropertiesWindow(bool show);

 protected:
  void showEvent(QShowEvent* event) override;
  // With unsaved changes in the design, asks first; Cancel keeps the program running.
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* AddAction(QMenu* menu, const QString& name, const char* caption, std::function<void()> run,
                     const QKeySequence& shortcut = {});
  void BuildMenus();
  void BuildToolbars();
  void BuildDocking();
  void BuildStatusBar();
  void DockPropertiesLeft();
  void Tick();

  std::unique_ptr<DesignerHost> designer_;
  FileCommands files_;
  TForm2* gallery_ = nullptr;
  TForm9* about_ = nullptr;
  std::map<QString, QAction*> actions_;
  QMenu* viewMenu_ = nullptr;
  QToolBar* toolBar1_ = nullptr;
  QToolBar* toolBar2_ = nullptr;
  QToolButton* saveButton_ = nullptr;
  QDockWidget* panel2_ = nullptr;
  mail_ui::TlmStatusBar* statusPanels_ = nullptr;
  QTimer* timer1_ = nullptr;
  QTimer* clock_ = nullptr;
  bool shownOnce_ = false;
};

}  // namespace cardshell
