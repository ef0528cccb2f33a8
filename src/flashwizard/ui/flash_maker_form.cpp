#include "flashwizard/ui/flash_maker_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "audio/pv_player.h"
#include "flashwizard/flash_builder.h"
#include "flashwizard/flash_pages.h"
#include "flashwizard/music_check.h"
#include "flashwizard/title_image.h"
#include "flashwizard/ui/color_box.h"
#include "flashwizard/ui/scene_dialogs.h"
#include "flashwizard/ui/scene_editor.h"
#include "flashwizard/ui/text_decoration_dialog.h"
#include "flashwizard/ui/wizard_rules.h"
#include "imaging/ui/image_paint_box.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"
#include "platform/text.h"
#include "platform/user_folders.h"
#include "player/web/flash_web_card.h"

namespace flashwizard::ui {

using platform::FromQString;
using platform::ToQString;

namespace {

constexpr int kPreviewWidth = 761, kPreviewHeight = 65;

QLabel* Label(const char* text, QWidget* parent) { return new QLabel(ToQString(text), parent); }

}  // namespace

TpvFlashMakerForm::TpvFlashMakerForm(std::string templateName, QWidget* parent)
    : QWidget(parent), templateName_(std::move(templateName)) {
  setObjectName("TpvFlashMakerForm");
  setWindowTitle(ToQString("生成Flash贺卡 - Lumo贺卡制作 7.0"));
  runDialog_ = [](QDialog& d) { return d.exec(); };

  auto* v = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->addTab(BuildStepOne(), ToQString("第一步:设置贺卡标题和背景"));
  editor_ = new SceneEditor(project_, pages_);
  editor_->pageOneColor = [this] { return backColor_->Selected(); };
  editor_->tempFiles = &tempFiles_;
  editor_->execDialog = [this](QDialog& d) { return runDialog_(d); };
  pages_->addTab(editor_, ToQString("第二步:编辑贺卡场景"));
  v->addWidget(pages_, 1);

  auto* bar = new QHBoxLayout;
  bar->addStretch();
  prev_ = new QPushButton(ToQString("上一步(&U)"), this);
  next_ = new QPushButton(ToQString("下一步(&N)"), this);
  saveTemplate_ = new QPushButton(ToQString("保存模板(&S)..."), this);
  preview_ = new QPushButton(ToQString("预览Flas&h"), this);
  saveFlash_ = new QPushButton(ToQString("保存&Flash..."), this);
  saveWeb_ = new QPushButton(ToQString("保存网页贺卡(&W)..."), this);
  QFont bold = saveFlash_->font();
  bold.setBold(true);
  saveFlash_->setFont(bold);
  for (QPushButton* b : {prev_, next_, saveTemplate_, preview_, saveFlash_, saveWeb_}) bar->addWidget(b);
  v->addLayout(bar);
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  progress_->hide();

  connect(prev_, &QPushButton::clicked, this, [this] { ShowStep(0); });
  connect(next_, &QPushButton::clicked, this, [this] { ShowStep(1); });
  connect(pages_, &QTabWidget::currentChanged, this, [this](int i) { ShowStep(i); });
  connect(saveTemplate_, &QPushButton::clicked, this, &TpvFlashMakerForm::SaveTemplate);
  connect(preview_, &QPushButton::clicked, this, &TpvFlashMakerForm::PreviewFlash);
  connect(saveFlash_, &QPushButton::clicked, this, &TpvFlashMakerForm::SaveFlash);
  connect(saveWeb_, &QPushButton::clicked, this, &TpvFlashMakerForm::SaveWebCard);

  // Window creation: the title preview, the effect list, the default background.
  StartTitlePreview();
  FillEffectBox(effect_);
  int preferred = effect_->findText(ToQString("黄字红边加投影"));
  effect_->setCurrentIndex(preferred > 0 ? preferred : 0);
  titleColor_->SetSelected(platform::Rgb(255, 0, 0));
  backColor_->SetSelected(platform::kClWhite);
  std::string back = platform::paths::ProgramFolder() + "背景图\\006.gif";
  if (platform::files::FileExists(back) && LoadBackPreview(back)) {
    backPath_->setText(ToQString(back));
    useBack_->setChecked(true);
    tile_->setChecked(true);
  }
  RefTextEff();

  // Every change of the title's controls re-renders it.
  auto re = [this] { RefTextEff(); };
  connect(title_, &QLineEdit::textChanged, this, re);
  connect(font_, &QComboBox::currentIndexChanged, this, re);
  connect(size_, &QComboBox::currentTextChanged, this, re);
  connect(titleColor_, &ColorBox::colorChanged, this, re);
  for (QCheckBox* c : {bold_, italic_, underline_, strike_}) connect(c, &QCheckBox::toggled, this, re);
  connect(effect_, &QComboBox::currentIndexChanged, this, re);
  connect(effect_, qOverload<int>(&QComboBox::activated), this, [this] {
    if (AskOtherStyleFile(effect_)) RefTextEff();
  });
  connect(backColor_, &ColorBox::colorChanged, this, [this](platform::Color c) { editor_->SetCanvasColor(c); });
  auto resize = [this] { editor_->SetCanvasSize(width_->value(), height_->value()); };
  connect(width_, &QSpinBox::valueChanged, this, resize);
  connect(height_, &QSpinBox::valueChanged, this, resize);
  resize();
  editor_->SetCanvasColor(backColor_->Selected());

  ShowStep(0);
  this->resize(1000, 700);
  MarkSaved();
}

TpvFlashMakerForm::~TpvFlashMakerForm() { DeleteTempFiles(); }

void TpvFlashMakerForm::SetDialogRunner(std::function<int(QDialog&)> run) { runDialog_ = std::move(run); }

QWidget* TpvFlashMakerForm::BuildStepOne() {
  auto* page = new QWidget;
  auto* outer = new QGridLayout(page);
  panel_ = new QWidget(page);
  panel_->setObjectName("StepOnePanel");
  outer->addWidget(panel_, 0, 0, Qt::AlignCenter);
  auto* g = new QVBoxLayout(panel_);

  auto* titleBox = new QGroupBox(panel_);
  auto* tg = new QGridLayout(titleBox);
  showTitle_ = new QCheckBox(ToQString("显示贺卡标题:"), titleBox);
  title_ = new QLineEdit(ToQString("Lumo贺卡"), titleBox);
  tg->addWidget(showTitle_, 0, 0);
  tg->addWidget(title_, 0, 1, 1, 5);
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(Label("标题字体:", titleBox));
  font_ = new QComboBox(titleBox);
  font_->setMinimumWidth(150);
  FillFontBox(font_, "隶书");
  if (font_->findText(ToQString("隶书")) < 0) {
    int own = font_->findText(font().family());
    if (own >= 0) font_->setCurrentIndex(own);
  }
  fontRow->addWidget(font_);
  fontRow->addWidget(Label("字号:", titleBox));
  size_ = new QComboBox(titleBox);
  size_->setEditable(true);
  for (const std::string& s : SizeEntries(36)) size_->addItem(ToQString(s));
  size_->setCurrentIndex(size_->findText(ToQString("二号")));
  fontRow->addWidget(size_);
  fontRow->addWidget(Label("字色:", titleBox));
  titleColor_ = new ColorBox(titleBox);
  fontRow->addWidget(titleColor_);
  bold_ = new QCheckBox(ToQString("粗体"), titleBox);
  italic_ = new QCheckBox(ToQString("斜体"), titleBox);
  underline_ = new QCheckBox(ToQString("下划线"), titleBox);
  strike_ = new QCheckBox(ToQString("删除线"), titleBox);
  for (QCheckBox* c : {bold_, italic_, underline_, strike_}) fontRow->addWidget(c);
  fontRow->addStretch();
  tg->addLayout(fontRow, 1, 0, 1, 6);
  auto* effRow = new QHBoxLayout;
  effRow->addWidget(Label("标题文字特效:", titleBox));
  effect_ = new QComboBox(titleBox);
  effect_->setMinimumWidth(220);
  effRow->addWidget(effect_);
  effRow->addStretch();
  tg->addLayout(effRow, 2, 0, 1, 6);
  lmImg_ = new imaging::ui::TlmImageVcl(titleBox);
  lmImg_->setObjectName("lmImg");
  tg->addWidget(lmImg_, 3, 0, 1, 6);
  auto* noteRow = new QHBoxLayout;
  auto* note = Label("可以使用《Pavo图像处理系统》设计更多的特效", titleBox);
  note->setStyleSheet("color: red");
  noteRow->addWidget(note);
  auto* link = new QLabel("<a href=\"pavo\" style=\"color:#0000ff\">" + ToQString("Pavo图像处理系统") + "</a>", titleBox);
  connect(link, &QLabel::linkActivated, this, [] { OpenImageProgram(); });
  noteRow->addWidget(link);
  noteRow->addStretch();
  auto* help = new QToolButton(titleBox);
  help->setText("?");
  help->setToolTip(ToQString("帮助"));
  connect(help, &QToolButton::clicked, this, [] { OpenWizardHelp(); });
  noteRow->addWidget(help);
  tg->addLayout(noteRow, 4, 0, 1, 6);
  g->addWidget(titleBox);

  auto* backBox = new QGroupBox(panel_);
  auto* bg = new QGridLayout(backBox);
  useBack_ = new QCheckBox(ToQString("使用背景图片或动画:"), backBox);
  backPath_ = new QLineEdit(backBox);
  backPath_->setReadOnly(true);
  auto* browseBack = new QPushButton(ToQString("浏览(&B)"), backBox);
  bg->addWidget(useBack_, 0, 0);
  bg->addWidget(backPath_, 0, 1, 1, 3);
  bg->addWidget(browseBack, 0, 4);
  backScroll_ = new QScrollArea(backBox);
  backPreview_ = new QLabel;
  backPreview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  backScroll_->setWidget(backPreview_);
  backScroll_->setFixedSize(300, 130);
  bg->addWidget(backScroll_, 1, 0, 4, 2);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(Label("背景色:", backBox));
  backColor_ = new ColorBox(backBox);
  colorRow->addWidget(backColor_);
  tile_ = new QCheckBox(ToQString("平铺背景图"), backBox);
  colorRow->addWidget(tile_);
  colorRow->addStretch();
  bg->addLayout(colorRow, 1, 2, 1, 3);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(Label("Flash 宽度:", backBox));
  width_ = new QSpinBox(backBox);
  width_->setRange(10, 10000);
  width_->setValue(800);
  sizeRow->addWidget(width_);
  sizeRow->addWidget(Label("像素", backBox));
  sizeRow->addWidget(Label("Flash 高度:", backBox));
  height_ = new QSpinBox(backBox);
  height_->setRange(10, 10000);
  height_->setValue(600);
  sizeRow->addWidget(height_);
  sizeRow->addWidget(Label("像素", backBox));
  sizeRow->addStretch();
  bg->addLayout(sizeRow, 2, 2, 1, 3);
  auto* musicRow = new QHBoxLayout;
  music_ = new QCheckBox(ToQString("背景音乐:"), backBox);
  musicPath_ = new QLineEdit(backBox);
  musicPath_->setReadOnly(true);
  auto* browseMusic = new QPushButton(ToQString("浏览(&L)"), backBox);
  musicRow->addWidget(music_);
  musicRow->addWidget(musicPath_, 1);
  musicRow->addWidget(browseMusic);
  bg->addLayout(musicRow, 3, 2, 1, 3);
  jpeg_ = new QCheckBox(ToQString("使用 JPEG 压缩图像（质量会降低一些，但文件会小一些）"), backBox);
  jpeg_->setChecked(true);
  bg->addWidget(jpeg_, 4, 2, 1, 3);
  g->addWidget(backBox);

  connect(browseBack, &QPushButton::clicked, this, &TpvFlashMakerForm::BrowseBackground);
  connect(browseMusic, &QPushButton::clicked, this, &TpvFlashMakerForm::BrowseMusic);
  return page;
}

void TpvFlashMakerForm::StartTitlePreview() {
  auto back = platform::Bitmap::Create(kPreviewWidth, kPreviewHeight, platform::PixelFormat::Bgr24);
  if (!back) return;
  back->Fill(platform::kClBtnFace);
  lmImg_->NewImageFromBitmap(*back);
  imaging::TTextLayerInfo info;
  info.SetText(FromQString(title_->text()));
  info.SetFontName(FromQString(font_->currentText()));
  info.color = platform::Rgb(255, 0, 0);
  info.size = FontSizeFromText("二号");
  info.smoothing = 3;
  imaging::TlmImageVcl& img = lmImg_->Image();
  if (!img.AddTextLayer(0, 0, info)) return;
  img.Layer(1).Left = (kPreviewWidth - img.Layer(1).Width()) / 2;
  img.Layer(1).Top = (kPreviewHeight - img.Layer(1).Height()) / 2;
  img.RedrawImage();
  lmImg_->PaintImage();
}

void TpvFlashMakerForm::RefTextEff() {
  std::string text = FromQString(title_->text());
  if (platform::Trim(text).empty()) return;
  imaging::TlmImageVcl& img = lmImg_->Image();
  if (img.LayersCount() < 2) return;
  try {
    imaging::TTextLayerInfo info;
    info.SetText(text);
    info.SetFontName(FromQString(font_->currentText()));
    info.color = titleColor_->Selected();
    info.size = FontSizeFromText(FromQString(size_->currentText()));
    info.bold = bold_->isChecked();
    info.italic = italic_->isChecked();
    info.underline = underline_->isChecked();
    info.strikeOut = strike_->isChecked();
    info.smoothing = 3;
    img.Layer(1).Text = info;
    img.RenderTextLayer(1);
    std::string style = EffectBoxStyleFile(effect_);
    if (!style.empty()) img.LoadLayerStyle(1, style);
    img.RebuildAllEffects(1);
    img.Layer(1).Left = (img.ImageWidth() - img.Layer(1).Width()) / 2;
    img.Layer(1).Top = (img.ImageHeight() - img.Layer(1).Height()) / 2;
    img.RedrawImage();
    lmImg_->PaintImage();
  } catch (...) {
    // The preview never reports errors.
  }
}

std::unique_ptr<platform::Bitmap> TpvFlashMakerForm::ExportTitle() {
  imaging::TlmImageVcl& img = lmImg_->Image();
  if (img.LayersCount() < 2) return nullptr;
  img.Layer(0).Visible = false;
  imaging::BitmapPtr out;
  bool ok = img.ExportImage(out);
  img.Layer(0).Visible = true;
  return ok ? std::move(out) : nullptr;
}

bool TpvFlashMakerForm::LoadBackPreview(const std::string& file) {
  backPreview_->clear();
  backPreview_->resize(1, 1);
  backPreview_->repaint();
  try {
    auto bmp = platform::LoadPicture(file);
    if (!bmp) return false;
    QPixmap pm = QPixmap::fromImage(imaging::ui::ToQImage(*bmp));
    backPreview_->setPixmap(pm);
    backPreview_->resize(pm.size());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TpvFlashMakerForm::BrowseBackground() {
  platform::FileDialogOptions o;
  o.filter = "图片和动画 (*.bmp;*.jpg;*.jpeg;*.gif)|*.bmp;*.jpg;*.jpeg;*.gif";
  std::string current = FromQString(backPath_->text());
  if (!current.empty() && platform::files::FileExists(current)) {
    o.initialDir = platform::paths::ExtractFilePath(current);
    o.fileName = platform::paths::ExtractFileName(current);
  }
  auto files = platform::CurrentDialogs().OpenFile(o);
  if (files.empty()) return;
  const std::string& file = files.front();
  if (!LoadBackPreview(file)) {
    platform::ShowMessage("载入图片失败！请重新选择图片文件。", platform::MsgIcon::Error);
    useBack_->setChecked(false);
    return;
  }
  backPath_->setText(ToQString(file));
  useBack_->setChecked(true);
  QSize pic = backPreview_->pixmap().size();
  tile_->setChecked(ShouldTileBackground(pic.width(), pic.height(), width_->value(), height_->value()));
}

void TpvFlashMakerForm::BrowseMusic() {
  platform::FileDialogOptions o;
  o.filter = "mp3|*.mp3";
  std::string current = FromQString(musicPath_->text());
  if (!current.empty() && platform::files::FileExists(current)) {
    o.initialDir = platform::paths::ExtractFilePath(current);
    o.fileName = platform::paths::ExtractFileName(current);
  }
  auto files = platform::CurrentDialogs().OpenFile(o);
  if (files.empty()) return;
  int length = audio::GetMusicLength(files.front());
  if (length == 0) {
    platform::ShowMessage("打开音乐文件失败！可能文件格式不正确，请重新换一首mp3文件。", platform::MsgIcon::Error);
    return;
  }
  // Refused here rather than when the movie is built.
  if (std::string problem = MusicRateProblem(files.front()); !problem.empty()) {
    platform::ShowMessage(problem, platform::MsgIcon::Error);
    return;
  }
  project_.MusicLength = length;
  musicPath_->setText(ToQString(files.front()));
  music_->setChecked(true);
}

void TpvFlashMakerForm::ReadSettings() {
  FlashSettings& s = project_.Settings;
  s.Title = FromQString(title_->text());
  s.UseTitle = showTitle_->isChecked();
  s.TitFontName = FromQString(font_->currentText());
  s.TitFontSize = FromQString(size_->currentText());
  s.TitFontColor = titleColor_->Selected();
  s.TitFontBold = bold_->isChecked();
  s.TitFontItalic = italic_->isChecked();
  s.TitFontUnderline = underline_->isChecked();
  s.TitFontStrikeOut = strike_->isChecked();
  s.TitStyle = FromQString(effect_->currentText());
  s.BackPic = FromQString(backPath_->text());
  s.UseBackPic = useBack_->isChecked();
  s.BackCor = backColor_->Selected();
  s.TileBack = tile_->isChecked();
  s.Width = width_->value();
  s.Height = height_->value();
  s.BackMusic = FromQString(musicPath_->text());
  s.UseMusic = music_->isChecked();
  s.UseJpeg = jpeg_->isChecked();
}

void TpvFlashMakerForm::WriteSettings() {
  const FlashSettings& s = project_.Settings;
  title_->setText(ToQString(s.Title));
  showTitle_->setChecked(s.UseTitle);
  if (int i = font_->findText(ToQString(s.TitFontName)); i >= 0) font_->setCurrentIndex(i);
  size_->setCurrentText(ToQString(s.TitFontSize));
  titleColor_->SetSelected(s.TitFontColor);
  bold_->setChecked(s.TitFontBold);
  italic_->setChecked(s.TitFontItalic);
  underline_->setChecked(s.TitFontUnderline);
  strike_->setChecked(s.TitFontStrikeOut);
  if (int i = effect_->findText(ToQString(s.TitStyle)); i >= 0) effect_->setCurrentIndex(i);
  backPath_->setText(ToQString(s.BackPic));
  useBack_->setChecked(s.UseBackPic);
  backPreview_->clear();
  if (platform::files::FileExists(s.BackPic)) LoadBackPreview(s.BackPic);
  backColor_->SetSelected(s.BackCor);
  tile_->setChecked(s.TileBack);
  width_->setValue(s.Width);
  height_->setValue(s.Height);
  musicPath_->setText(ToQString(s.BackMusic));
  music_->setChecked(s.UseMusic);
  jpeg_->setChecked(s.UseJpeg);
  RefTextEff();
}

void TpvFlashMakerForm::LoadSet(const std::string& file) {
  if (!platform::files::FileExists(file)) return;
  ReadSettings();
  LoadHooks hooks;
  hooks.fontListed = [this](const std::string& f) { return font_->findText(ToQString(f)) >= 0; };
  hooks.effectListed = [this](const std::string& e) { return effect_->findText(ToQString(e)) >= 0; };
  hooks.musicLength = [](const std::string& m) { return audio::GetMusicLength(m); };
  project_.LoadSet(file, hooks);
  WriteSettings();
  editor_->Reload();
  MarkSaved();
}

void TpvFlashMakerForm::MarkSaved() {
  ReadSettings();
  if (!saved_) saved_ = std::make_unique<FlashProject>();
  *saved_ = project_;
}

bool TpvFlashMakerForm::Modified() {
  ReadSettings();
  return !saved_ || !project_.SameContent(*saved_);
}

void TpvFlashMakerForm::ShowStep(int step) {
  if (pages_->currentIndex() != step) {
    pages_->setCurrentIndex(step);  // comes back here through the tab signal
    return;
  }
  prev_->setVisible(step == 1);
  next_->setVisible(step == 0);
  saveTemplate_->setVisible(step == 1);
  preview_->setVisible(step == 1);
  saveFlash_->setVisible(step == 1);
  saveWeb_->setVisible(step == 1);
  if (step == 1 && !noticeShown_ && isVisible()) {
    noticeShown_ = true;
    TForm3 notice(this);
    runDialog_(notice);
  }
}

int TpvFlashMakerForm::Step() const { return pages_->currentIndex(); }

bool TpvFlashMakerForm::SaveTemplate() {
  ReadSettings();
  std::string name = FromQString(title_->text());
  for (;;) {
    auto typed = platform::CurrentDialogs().InputBox("保存模板", "请输入模板名称：  ", name);
    if (!typed) return false;
    name = *typed;
    std::string file = platform::user_folders::SavePath("template\\") + name + ".lmflash";
    if (platform::files::FileExists(file) &&
        platform::ShowMessage("名称为“" + name + "”的模板已存在，是否替代已存在的模板？", platform::MsgIcon::Question,
                              platform::MsgButtons::YesNo) == platform::MsgResult::No)
      continue;
    project_.SaveSet(file);
    if (!platform::files::FileExists(file)) return false;
    platform::ShowMessage("模板已保存。", platform::MsgIcon::Information);
    MarkSaved();
    return true;
  }
}

bool TpvFlashMakerForm::Build(Output output) {
  ReadSettings();
  std::string file;
  if (output != Output::Preview) {
    platform::FileDialogOptions o;
    o.filter = output == Output::Movie ? "flash (*.swf)|*.swf" : "网页贺卡 (*.html)|*.html";
    o.defaultExt = output == Output::Movie ? "swf" : "html";
    o.overwritePrompt = true;
    auto chosen = platform::CurrentDialogs().SaveFile(o);
    if (!chosen) return false;
    file = *chosen;
  }
  BuildHooks hooks;
  hooks.exportTitle = [this] { return ExportTitle(); };
  hooks.progress = [this](int maximum, int position) {
    progress_->setMaximum(std::max(1, maximum));
    progress_->setValue(std::clamp(position, 0, std::max(1, maximum)));
  };
  PlaceProgress();
  progress_->setValue(0);
  progress_->show();
  // The build lets the window handle its messages, and the library holds one movie at a time:
  // nothing may start a second build or change the project until this one is over.
  auto lock = [this](bool on) {
    building_ = on;
    for (QWidget* w : std::initializer_list<QWidget*>{pages_, prev_, next_, saveTemplate_, preview_, saveFlash_, saveWeb_})
      w->setEnabled(!on);
    if (!on) progress_->hide();
  };
  lock(true);
  bool ok = false;
  try {
    switch (output) {
      case Output::Preview: ok = flashwizard::PreviewFlash(project_, hooks); break;
      case Output::Movie: ok = flashwizard::SaveFlash(project_, file, hooks); break;
      case Output::WebCard: ok = web::SaveFlashWebCard(project_, file, hooks); break;
    }
  } catch (...) {
    lock(false);
    throw;
  }
  lock(false);
  return ok;
}

bool TpvFlashMakerForm::PreviewFlash() { return Build(Output::Preview); }
bool TpvFlashMakerForm::SaveFlash() { return Build(Output::Movie); }
bool TpvFlashMakerForm::SaveWebCard() { return Build(Output::WebCard); }

void TpvFlashMakerForm::DeleteTempFiles() {
  for (const std::string& f : tempFiles_)
    if (platform::files::FileExists(f)) platform::files::DeleteFile(f);
  tempFiles_.clear();
}

void TpvFlashMakerForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (templateTried_) return;
  templateTried_ = true;
  if (templateName_.empty()) return;
  std::string file = platform::user_folders::Find("template\\", templateName_ + ".lmflash");
  // A template file opened from the desktop comes by its path.
  if (!platform::files::FileExists(file) && platform::files::FileExists(templateName_)) file = templateName_;
  if (platform::files::FileExists(file)) LoadSet(file);
}

void TpvFlashMakerForm::closeEvent(QCloseEvent* event) {
  if (building_) {
    event->ignore();
    return;
  }
  if (Modified()) {
    platform::MsgResult answer = platform::ShowMessage("贺卡已修改，关闭前是否保存为模板？", platform::MsgIcon::Question,
                                                       platform::MsgButtons::YesNoCancel);
    if (answer == platform::MsgResult::Cancel || (answer == platform::MsgResult::Yes && !SaveTemplate())) {
      event->ignore();
      return;
    }
  }
  DeleteTempFiles();
  QWidget::closeEvent(event);
}

void TpvFlashMakerForm::PlaceProgress() {
  const int left = std::max(0, width() - 260);
  progress_->setGeometry(left, 4, std::max(10, width() - left - 8), 14);
  progress_->raise();
}

void TpvFlashMakerForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceProgress();
}

}  // namespace flashwizard::ui
