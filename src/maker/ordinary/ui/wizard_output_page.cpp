// Page 6 "贺卡预览及输出": preview, build, save as template and send, with the output and icon
// fields; the checks that come before the preview and the build.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "maker/mail/ui/mail_dialog.h"
#include "maker/ordinary/ordinary_template.h"
#include "maker/ordinary/ui/ordinary_wizard.h"
#include "maker/ordinary/ui/web_card_build.h"
#include "maker/ordinary/ui/wizard_parts.h"
#include "maker/packaging/ordinary_build.h"
#include "maker/transitions/ui/bitmap_image.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "platform/qt/qt_text.h"
#include "player/ordinary_ui/ordinary_player_window.h"

namespace ordinary_ui {

using platform::FromQString;
using platform::ToQString;

namespace {
PreviewHook& Hook() {
  static PreviewHook hook;
  return hook;
}
}  // namespace

PreviewHook TForm3::SetPreviewHook(PreviewHook hook) {
  PreviewHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

QWidget* TForm3::BuildOutputPage() {
  auto* page = new QWidget;
  const char* captions[4] = {"预览贺卡(&P)", "生成贺卡(&B)", "保存模板(&S)", "发送贺卡(&M)"};
  QPushButton** buttons[4] = {&ui_.preview, &ui_.build, &ui_.saveTemplate, &ui_.send};
  for (int i = 0; i < 4; ++i) {
    *buttons[i] = new QPushButton(ToQString(captions[i]), page);
    (*buttons[i])->setGeometry(16 + i * 104, 36, 96, 32);
  }
  auto* group = new QGroupBox(ToQString("贺卡输出"), page);
  group->setGeometry(8, 88, 428, 200);
  ui_.outputLabel = Caption(group, "贺卡文件输出位置:", 12, 22, 120);
  ui_.output = new QLineEdit(group);
  ui_.output->setGeometry(12, 44, 336, 22);
  ui_.outputBrowse = new QPushButton(ToQString("浏览"), group);
  ui_.outputBrowse->setGeometry(354, 43, 60, 24);
  ui_.iconLabel = Caption(group, "贺卡文件图标位置:", 12, 78, 120);
  ui_.icon = new QLineEdit(ToQString("默认"), group);
  ui_.icon->setGeometry(12, 100, 278, 22);
  ui_.iconBrowse = new QPushButton(ToQString("浏览"), group);
  ui_.iconBrowse->setGeometry(296, 99, 60, 24);
  ui_.iconPreview = new QLabel(group);
  ui_.iconPreview->setGeometry(372, 86, 36, 36);
  ui_.iconPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ui_.iconPreview->setAlignment(Qt::AlignCenter);
  ui_.asTemplate = new QCheckBox(ToQString("输出为贺卡模板  模板名称为:"), group);
  ui_.asTemplate->setGeometry(12, 140, 200, 20);
  ui_.templateName = new QLineEdit(group);
  ui_.templateName->setGeometry(214, 139, 200, 22);
  ui_.templateName->setEnabled(false);

  connect(ui_.preview, &QPushButton::clicked, this, &TForm3::Preview);
  connect(ui_.build, &QPushButton::clicked, this, [this] { Build(); });
  connect(ui_.saveTemplate, &QPushButton::clicked, this, &TForm3::SaveTemplate);
  connect(ui_.send, &QPushButton::clicked, this, &TForm3::SendCard);
  connect(ui_.outputBrowse, &QPushButton::clicked, this, &TForm3::BrowseOutput);
  connect(ui_.iconBrowse, &QPushButton::clicked, this, &TForm3::BrowseIcon);
  connect(ui_.icon, &QLineEdit::textChanged, this, &TForm3::ShowIcon);
  connect(ui_.asTemplate, &QCheckBox::toggled, ui_.templateName, &QWidget::setEnabled);
  return page;
}

std::optional<CheckFailure> TForm3::RunChecks(bool forBuild) {
  CheckInput in;
  in.cardShown = cardKind_ != PictureKind::None;
  in.cardPath = cardPath_;
  in.musicUsed = ui_.bkMusic->isChecked();
  in.musicPath = FromQString(ui_.music->text());
  in.voiceUsed = ui_.useWav->isChecked();
  in.voicePath = FromQString(ui_.voice->text());
  in.boxIndex = std::max(0, ui_.boxList->currentIndex());
  in.boxShown = boxKind_ != PictureKind::None;
  in.boxPath = boxPath_;
  in.mailOption = ui_.sendMail->isChecked();
  in.mailBox = FromQString(ui_.email->text());
  in.notifyOption = ui_.notify->isChecked();
  in.notifyBox = FromQString(ui_.notifyEmail->text());
  std::optional<CheckFailure> failure = FirstCheckFailure(in);
  if (!failure) return failure;
  platform::ShowMessage(failure->message, platform::MsgIcon::Warning);
  SetPage(failure->page);
  QWidget* focus = nullptr;
  QWidget* caption = nullptr;
  switch (failure->item) {
    case CheckItem::Music: focus = ui_.music; caption = ui_.musicLabel; break;
    case CheckItem::Voice: focus = ui_.voice; caption = ui_.voiceLabel; break;
    case CheckItem::NoGreetingBox: caption = ui_.boxListLabel; break;
    case CheckItem::MailBox: focus = ui_.email; caption = ui_.emailLabel; break;
    case CheckItem::NotifyBox: focus = ui_.notifyEmail; caption = ui_.notifyEmailLabel; break;
    default: break;
  }
  if (focus) focus->setFocus();
  if (forBuild && caption) Flash(caption);
  return failure;
}

void TForm3::Preview() {
  if (RunChecks(false)) return;
  ordinary::OrdinarySettings settings = Settings();
  movieLoop_.stop();
  CloseMedia();
  if (Hook()) {
    Hook()(settings);
    return;
  }
  ordinary_player_ui::PreviewCard(settings, this);
}

bool TForm3::Build() {
  if (RunChecks(true)) return false;
  packaging::OrdinaryBuildResult result = packaging::OrdinaryBuildResult::Failed;
  try {
    const std::string output = FromQString(ui_.output->text());
    result = IsWebCardOutput(output) ? BuildOrdinaryWebCard(Settings(), output)
                                     : packaging::BuildOrdinaryCard(Settings(), output);
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
    return false;
  }
  switch (result) {
    case packaging::OrdinaryBuildResult::Built:
      built_ = true;
      return true;
    case packaging::OrdinaryBuildResult::NoOutputPath:
      ui_.output->setFocus();
      Flash(ui_.outputLabel);
      break;
    case packaging::OrdinaryBuildResult::NotReplaced:
      ui_.output->setFocus();
      break;
    case packaging::OrdinaryBuildResult::BadIcon:
      ui_.icon->setFocus();
      Flash(ui_.iconLabel);
      break;
    case packaging::OrdinaryBuildResult::Failed:
    case packaging::OrdinaryBuildResult::BadText:
      break;
  }
  return false;
}

bool TForm3::SaveTemplate() {
  try {
    ordinary::SaveTemplateResult result =
        ordinary::SaveNamedTemplate(FromQString(ui_.templateName->text()), Settings());
    if (result == ordinary::SaveTemplateResult::EmptyName) {
      ui_.asTemplate->setChecked(true);
      ui_.templateName->setFocus();
    } else if (result == ordinary::SaveTemplateResult::Saved) {
      templateSaved_ = true;
      saved_.Mark(Settings());
      return true;
    }
  } catch (const platform::Error& e) {
    platform::ShowMessage(e.what(), platform::MsgIcon::Error);
  }
  return false;
}

void TForm3::SendCard() {
  mail_ui::OpenMailDialog(this, FromQString(ui_.output->text()), mail_ui::MailDialogPlacement::BottomRight);
}

void TForm3::BrowseOutput() {
  std::optional<CardFormat> format = ChooseCardFormat(this, /*offerWeb=*/true);
  if (!format) return;
  RememberedFolders& folders = WizardFolders();
  std::optional<std::string> chosen = platform::CurrentDialogs().SaveFile(
      OutputDialogOptions(*format, FromQString(ui_.output->text()), folders.Get(FolderFamily::BuiltCards)));
  if (!chosen) return;
  ui_.output->setText(ToQString(OutputPathFor(*chosen, *format)));
  folders.Remember(FolderFamily::BuiltCards, *chosen);
}

void TForm3::BrowseIcon() {
  RememberedFolders& folders = WizardFolders();
  std::vector<std::string> picked = platform::CurrentDialogs().OpenFile(
      OpenDialogOptions("浏览图标文件", kIconFilter, folders.Get(FolderFamily::Icons), FromQString(ui_.icon->text())));
  if (picked.empty()) return;
  ui_.icon->setText(ToQString(picked[0]));
  folders.Remember(FolderFamily::Icons, picked[0]);
  ShowIcon();
}

void TForm3::ShowIcon() {
  std::string path = FromQString(ui_.icon->text());
  ui_.iconPreview->clear();
  if (!platform::files::FileExists(path)) return;
  try {
    QImage image = widgets::ToQImage(*platform::LoadPicture(path));
    ui_.iconPreview->setPixmap(QPixmap::fromImage(image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  } catch (const platform::Error&) {
    // A file that is no icon shows nothing.
  }
}

}  // namespace ordinary_ui
