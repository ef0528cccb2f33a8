#include "maker/shell/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <ctime>

#include "maker/mail/ui/lm_status_bar.h"
#include "maker/mail/ui/mail_dialog.h"
#include "maker/shell/ui/about_box.h"
#include "maker/shell/ui/build_command.h"
#include "maker/shell/ui/template_gallery_window.h"
#include "maker/shell/ui/toolbar_icons.h"
#include "maker/shell/ui/window_placement.h"
#include "maker/shell/mci_extensions.h"
#include "maker/shell/web_links.h"
#include "platform/qt/qt_text.h"

namespace cardshell {

using document::ElementKind;
using platform::ToQString;

namespace {

// A banner picture of the maker: drawn, and a link to one of its pages (opened maximised).
class Banner : public QWidget {
 public:
  Banner(std::string_view address, QString text, QSize size, QWidget* parent)
      : QWidget(parent), address_(address), text_(std::move(text)) {
    setFixedSize(size);
    setCursor(Qt::PointingHandCursor);
    setToolTip(ToQString(address_));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(214, 40, 90));
    g.setColorAt(1, QColor(250, 150, 60));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 4, 4);
    int icon = height() - 6;
    p.drawPixmap(4, 3, DrawShellIcon(ShellIcon::Program, icon));
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(qMax(11, height() / 2 - 1));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(rect().adjusted(icon + 8, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text_);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) OpenAddress(address_);
  }

 private:
  std::string_view address_;
  QString text_;
};

}  // namespace

TForm1::TForm1(std::unique_ptr<DesignerHost> designer, QWidget* parent)
    : QMainWindow(parent), designer_(std::move(designer)), files_(designer_->Document(), *designer_) {
  setObjectName("TForm1");
  setWindowTitle(ToQString(kMainCaption));
  setWindowIcon(MakeShellIcon(ShellIcon::Program));
  setMinimumSize(400, 300);
  resize(1024, 720);
  // The sound extensions the designer's media rely on, and a fresh random sequence.
  checkreg();
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  designer_->statusText = [this](const std::string& text) { SetStatusText(text); };
  setCentralWidget(designer_->CanvasWidget());
  BuildMenus();
  BuildToolbars();
  BuildDocking();
  BuildStatusBar();
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setSingleShot(true);
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, [this] {
    timer1_->stop();
    if (onStartupTimer) onStartupTimer();
  });
}

TForm1::~TForm1() {
  // The designer's widgets belong to this window's layout; the designer goes after them.
  delete panel2_;
  delete takeCentralWidget();
}

QAction* TForm1::AddAction(QMenu* menu, const QString& name, const char* caption, std::function<void()> run,
                           const QKeySequence& shortcut) {
  QAction* a = menu->addAction(ToQString(caption));
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  if (run) connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  actions_[name] = a;
  return a;
}

QAction* TForm1::Action(const QString& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu(ToQString("文件(&F)"));
  AddAction(file, "FileNew", "新建(&N)...", [this] { NewClick(); });
  AddAction(file, "FileOpen", "打开(&O)...", [this] { OpenClick(); });
  AddAction(file, "FileClose", "关闭(&C)", [this] { CloseClick(); });
  file->addSeparator();
  AddAction(file, "FileSave", "保存(&S)", [this] { SaveClick(); });
  AddAction(file, "FileSaveAs", "另存为(&A)...", [this] { SaveAsClick(); });
  AddAction(file, "FileSaveTemplate", "保存为贺卡模板(&T)", [this] { SaveTemplateClick(); });
  file->addSeparator();
  AddAction(file, "FileBuild", "生成贺卡文件(&M)", [this] { BuildClick(); });
  file->addSeparator();
  AddAction(file, "FileExit", "退出(&E)", [this] { close(); });

  QMenu* edit = bar->addMenu(ToQString("编辑(&E)"));
  AddAction(edit, "EditCut", "剪切(&T)", nullptr)->setVisible(false);
  AddAction(edit, "EditCopy", "复制(&C)", nullptr)->setVisible(false);
  AddAction(edit, "EditPaste", "粘贴(&P)", nullptr)->setVisible(false);
  AddAction(edit, "EditDeleteAll", "删除全部对象(&A)", [this] { designer_->DeleteAll(); },
            QKeySequence(Qt::CTRL | Qt::Key_Delete));
  AddAction(edit, "EditDeleteSelected", "删除选定的对象(&D)", [this] { designer_->DeleteSelected(); });

  QMenu* card = bar->addMenu(ToQString("贺卡(&C)"));
  AddAction(card, "CardSaveTemplate", "保存为贺卡模板(&T)", [this] { SaveTemplateClick(); });
  AddAction(card, "CardPreview", "预览贺卡(&P)", [this] { PreviewClick(); });
  AddAction(card, "CardBuild", "生成贺卡文件(&M)", [this] { BuildClick(); });
  card->addSeparator();
  AddAction(card, "CardProperties", "贺卡属性(&I)", [this] { designer_->ShowCardProperties(); });

  QMenu* insert = bar->addMenu(ToQString("插入(&I)"));
  auto ins = [this](ElementKind k) { return [this, k] { designer_->Insert(k); }; };
  AddAction(insert, "InsertLabel", "文本框(&T)", ins(ElementKind::Label));
  AddAction(insert, "InsertButton", "浮动按钮(&S)", ins(ElementKind::Button));
  AddAction(insert, "InsertImage", "图片(&P)...", ins(ElementKind::Image));
  AddAction(insert, "InsertGif", "GIF动画(&G)...", ins(ElementKind::Gif));
  AddAction(insert, "InsertSound", "声音(&W)...", ins(ElementKind::Wav));
  AddAction(insert, "InsertVideo", "视频(&V)...", nullptr)->setVisible(false);
  AddAction(insert, "InsertFlash", "Flash电影(&F)...", ins(ElementKind::Flash));
  AddAction(insert, "InsertCaption", "滚动字幕(&C)", ins(ElementKind::Scl));
  AddAction(insert, "InsertPicsBox", "图像展示框(&I)", ins(ElementKind::Pics));

  viewMenu_ = bar->addMenu(ToQString("视图(&V)"));
  const std::pair<const char*, const char*> views[] = {{"ViewToolbar", "快捷工具栏(&T)"},
                                                       {"ViewToolbox", "控件工具箱(&B)"},
                                                       {"ViewProperties", "对象属性/事件窗口"},
                                                       {"ViewStatusBar", "状态栏(&S)"}};
  for (const auto& [name, caption] : views) {
    QAction* a = AddAction(viewMenu_, name, caption, nullptr);
    a->setCheckable(true);
    a->setChecked(true);
  }
  connect(Action("ViewToolbar"), &QAction::triggered, this, [this](bool on) { toolBar1_->setVisible(on); });
  connect(Action("ViewToolbox"), &QAction::triggered, this, [this](bool on) { toolBar2_->setVisible(on); });
  connect(Action("ViewProperties"), &QAction::triggered, this, [this](bool on) { TogglePropertiesWindow(on); });
  connect(Action("ViewStatusBar"), &QAction::triggered, this, [this](bool on) { statusBar()->setVisible(on); });
  connect(viewMenu_, &QMenu::aboutToShow, this, [this] { UpdateViewChecks(); });

  QMenu* help = bar->addMenu(ToQString("帮助(&H)"));
  AddAction(help, "HelpContents", "目录和索引(&C)", [this] { HelpClick(); });
  help->addSeparator();
  AddAction(help, "HelpMail", "技术支持信箱(&E)", [] { OpenAddress(kSupportMail); });
  AddAction(help, "HelpSupportSite", "技术支持网站(&T)", [] { OpenAddress(kSupportSite); })->setVisible(false);
  AddAction(help, "HelpSite", "Pavo软件官方网站(&S)", [] { OpenAddress(kMakerSite); });
  AddAction(help, "HelpNews", "Pavo软件最新公告(&B)", [] { OpenAddress(kAnnouncementPage); });
  AddAction(help, "HelpLumoHome", "Lumo网首页(&J)", [] { OpenAddress(kLumoHome); })->setVisible(false);
  AddAction(help, "HelpProductHome", "本软件首页(&M)", [] { OpenAddress(kProductHome); })->setVisible(false);
  help->addSeparator();
  AddAction(help, "HelpAbout", "关于(&A)...", [this] { AboutClick(); });
}

void TForm1::BuildToolbars() {
  toolBar1_ = new QToolBar(ToQString("工具栏"), this);
  toolBar1_->setObjectName("ToolBar1");
  toolBar1_->setIconSize(QSize(24, 24));
  toolBar1_->setAllowedAreas(Qt::TopToolBarArea);
  auto tool = [this](QToolBar* bar, const QString& name, ShellIcon icon, const char* hint, std::function<void()> run) {
    QAction* a = bar->addAction(MakeShellIcon(icon), ToQString(hint));
    a->setObjectName(name);
    a->setToolTip(ToQString(hint));
    if (run) connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions_[name] = a;
    return a;
  };
  tool(toolBar1_, "TbNew", ShellIcon::New, "新建贺卡", [this] { NewClick(); });
  tool(toolBar1_, "TbOpen", ShellIcon::Open, "打开贺卡设计方案", [this] { OpenClick(); });
  // Save: the button itself only opens its menu.
  auto* saveMenu = new QMenu(this);
  QAction* menuSave = saveMenu->addAction(ToQString("保存贺卡设计方案..."), this, [this] { SaveClick(); });
  menuSave->setObjectName("TbSaveMenuSave");
  actions_["TbSaveMenuSave"] = menuSave;
  QAction* menuBuild = saveMenu->addAction(ToQString("生成贺卡文件..."), this, [this] { BuildClick(); });
  menuBuild->setObjectName("TbSaveMenuBuild");
  actions_["TbSaveMenuBuild"] = menuBuild;
  saveButton_ = new QToolButton(toolBar1_);
  saveButton_->setObjectName("TbSave");
  saveButton_->setIcon(MakeShellIcon(ShellIcon::Save));
  saveButton_->setToolTip(ToQString("保存贺卡设计方案"));
  saveButton_->setMenu(saveMenu);
  saveButton_->setPopupMode(QToolButton::InstantPopup);
  toolBar1_->addWidget(saveButton_);
  toolBar1_->addSeparator();
  tool(toolBar1_, "TbPreview", ShellIcon::Preview, "预览贺卡", [this] { PreviewClick(); });
  tool(toolBar1_, "TbBuild", ShellIcon::Build, "生成贺卡文件", [this] { BuildClick(); });
  tool(toolBar1_, "TbSend", ShellIcon::Send, "发送贺卡", [this] { SendClick(); })->setVisible(false);
  toolBar1_->addSeparator();
  tool(toolBar1_, "TbHelp", ShellIcon::Help, "帮助", [this] { HelpClick(); });
  // Home: the button opens the maker's home page, its arrow a menu of the maker's pages.
  auto* homeMenu = new QMenu(this);
  homeMenu->addAction(ToQString("Lumo网首页"), this, [] { OpenAddress(kLumoHome); });
  homeMenu->addAction(ToQString("Lumo软件首页"), this, [] { OpenAddress(kLumoSoftHome); });
  homeMenu->addAction(ToQString("本软件首页"), this, [] { OpenAddress(kProductHome); });
  auto* home = new QToolButton(toolBar1_);
  home->setObjectName("TbHome");
  home->setIcon(MakeShellIcon(ShellIcon::Home));
  home->setToolTip(ToQString("主页"));
  home->setMenu(homeMenu);
  home->setPopupMode(QToolButton::MenuButtonPopup);
  connect(home, &QToolButton::clicked, this, [] { OpenAddress(kMakerSite); });
  toolBar1_->addWidget(home);
  tool(toolBar1_, "TbNews", ShellIcon::News, "Pavo软件最新公告", [] { OpenAddress(kAnnouncementPage); });
  addToolBar(Qt::TopToolBarArea, toolBar1_);

  toolBar2_ = new QToolBar(ToQString("控件工具箱"), this);
  toolBar2_->setObjectName("ToolBar2");
  toolBar2_->setIconSize(QSize(24, 24));
  toolBar2_->setAllowedAreas(Qt::TopToolBarArea);
  auto ins = [this](ElementKind k) { return [this, k] { designer_->Insert(k); }; };
  tool(toolBar2_, "TbLabel", ShellIcon::Label, "插入文本框", ins(ElementKind::Label));
  tool(toolBar2_, "TbButton", ShellIcon::Button, "插入按钮", ins(ElementKind::Button));
  tool(toolBar2_, "TbImage", ShellIcon::Image, "插入图片", ins(ElementKind::Image));
  tool(toolBar2_, "TbGif", ShellIcon::Gif, "插入GIF动画", ins(ElementKind::Gif));
  tool(toolBar2_, "TbSound", ShellIcon::Sound, "插入声音", ins(ElementKind::Wav));
  tool(toolBar2_, "TbVideo", ShellIcon::Video, "插入视频", nullptr)->setVisible(false);
  tool(toolBar2_, "TbFlash", ShellIcon::Flash, "插入Flash电影", ins(ElementKind::Flash));
  tool(toolBar2_, "TbCaption", ShellIcon::Caption, "插入滚动字幕", ins(ElementKind::Scl));
  tool(toolBar2_, "TbPicsBox", ShellIcon::PicsBox, "插入图像展示框", ins(ElementKind::Pics));
  addToolBar(Qt::TopToolBarArea, toolBar2_);

  // The banner picture at the end of the toolbar area.
  auto* bannerBar = new QToolBar(this);
  bannerBar->setObjectName("BannerBar");
  bannerBar->setMovable(false);
  bannerBar->setAllowedAreas(Qt::TopToolBarArea);
  bannerBar->toggleViewAction()->setVisible(false);
  bannerBar->addWidget(new Banner(kLumoHome, ToQString("Lumo贺卡网"), QSize(150, 28), bannerBar));
  addToolBar(Qt::TopToolBarArea, bannerBar);
}

void TForm1::BuildDocking() {
  panel2_ = new QDockWidget(ToQString(kPropertiesCaption), this);
  panel2_->setObjectName("Panel2");
  panel2_->setAllowedAreas(Qt::LeftDockWidgetArea);
  panel2_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                       QDockWidget::DockWidgetClosable);
  auto* holder = new QWidget(panel2_);
  auto* column = new QVBoxLayout(holder);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(designer_->PropertiesWidget(), 1);
  column->addWidget(new Banner(kProductHome, ToQString("贺卡模板下载"), QSize(kLeftPanelWidth - 8, 40), holder), 0,
                    Qt::AlignHCenter);
  panel2_->setWidget(holder);
  addDockWidget(Qt::LeftDockWidgetArea, panel2_);
  // Floating, the window keeps its title; docked again, the panel is as wide as before.
  connect(panel2_, &QDockWidget::topLevelChanged, this, [this](bool floating) {
    panel2_->setWindowTitle(ToQString(kPropertiesCaption));
    if (!floating) resizeDocks({panel2_}, {kLeftPanelWidth}, Qt::Horizontal);
  });
}

void TForm1::BuildStatusBar() {
  statusPanels_ = new mail_ui::TlmStatusBar(this);
  statusPanels_->setObjectName("StatusBar1");
  statusPanels_->AddPanel(360);
  statusPanels_->AddPanel(80);
  statusPanels_->AddPanel(70);
  statusPanels_->AddPanel(140);
  statusPanels_->SetPanelText(0, "就绪");
  statusBar()->addWidget(statusPanels_, 1);
  statusBar()->setSizeGripEnabled(true);
  clock_ = new QTimer(this);
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, [this] { Tick(); });
  clock_->start();
  Tick();
}

void TForm1::Tick() {
  for (int panel = 1; panel <= 3; ++panel) statusPanels_->SetPanelText(panel, designer_->ClockText(panel));
}

void TForm1::SetStatusText(const std::string& text) {
  statusPanels_->SetPanelText(0, text);
  statusPanels_->repaint();
}

std::string TForm1::StatusText(int panel) const { return statusPanels_->PanelText(panel); }

int TForm1::LeftPanelWidth() const {
  if (!panel2_->isVisible() || panel2_->isFloating() || dockWidgetArea(panel2_) != Qt::LeftDockWidgetArea) return 0;
  return panel2_->width();
}

void TForm1::DockPropertiesLeft() {
  if (panel2_->isFloating()) panel2_->setFloating(false);
  addDockWidget(Qt::LeftDockWidgetArea, panel2_);
  panel2_->show();
  resizeDocks({panel2_}, {kLeftPanelWidth}, Qt::Horizontal);
}

void TForm1::TogglePropertiesWindow(bool show) {
  if (!show) {
    panel2_->hide();
    return;
  }
  panel2_->show();
  if (!panel2_->isFloating()) DockPropertiesLeft();
}

void TForm1::UpdateViewChecks() {
  Action("ViewToolbar")->setChecked(toolBar1_->isVisible());
  Action("ViewToolbox")->setChecked(toolBar2_->isVisible());
  Action("ViewProperties")->setChecked(panel2_->isVisible());
  Action("ViewStatusBar")->setChecked(statusBar()->isVisible());
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  // The docking layout: the properties/events window in the left panel, both toolbars in the
  // top dock bar with their titles.
  toolBar1_->setWindowTitle(ToQString("工具栏"));
  toolBar2_->setWindowTitle(ToQString("控件工具箱"));
  DockPropertiesLeft();
  timer1_->start();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!files_.MayExit()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TForm1::ShowGallery() {
  if (!gallery_) return;
  PlaceBottomRightOn(gallery_, this);
  gallery_->exec();
}

void TForm1::NewClick() { files_.New([this] { ShowGallery(); }); }
void TForm1::OpenClick() { files_.Open(); }
void TForm1::CloseClick() { files_.Close(); }
void TForm1::SaveClick() { files_.Save(); }
void TForm1::SaveAsClick() { files_.SaveAs(); }
void TForm1::SaveTemplateClick() { files_.SaveAsTemplate(); }
void TForm1::BuildClick() { RunBuildCommand(this, *designer_); }

void TForm1::PreviewClick() {
  if (designer_->CardWindowShown()) designer_->Preview();
}

void TForm1::HelpClick() { OpenHelpContents(); }

void TForm1::AboutClick() {
  if (!about_) return;
  about_->EndSplash();
  PlaceBottomRightOn(about_, this);
  about_->exec();
}

void TForm1::SendClick() { mail_ui::OpenMailDialog(this, std::string(), mail_ui::MailDialogPlacement::BottomRight); }

}  // namespace cardshell
