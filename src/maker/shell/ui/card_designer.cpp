#include "maker/shell/ui/card_designer.h"

#include "maker/document/element_lifecycle.h"
#include "maker/document/ui/design_canvas.h"
#include "maker/document/ui/designer.h"
#include "maker/document/ui/properties_window.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"

namespace cardshell {

CardDesigner::CardDesigner() : designer_(std::make_unique<designer::Designer>()) {
  QObject::connect(designer_.get(), &designer::Designer::statusText, [this](const QString& text) {
    if (statusText) statusText(platform::FromQString(text));
  });
}

CardDesigner::~CardDesigner() = default;

QWidget* CardDesigner::CanvasWidget() { return designer_->Canvas(); }
QWidget* CardDesigner::PropertiesWidget() { return designer_->Properties(); }
document::CardDocument& CardDesigner::Document() { return designer_->Document(); }
bool CardDesigner::CardWindowShown() const { return designer_->CardOpen(); }
void CardDesigner::ShowCardWindow() { designer_->SetCardOpen(true); }
void CardDesigner::DesignReplaced() { designer_->ReloadAfterOpen(); }
void CardDesigner::DesignPartlyRead() { designer_->RebuildControls(); }

void CardDesigner::Insert(document::ElementKind kind) { designer_->InsertElement(kind); }

void CardDesigner::DeleteSelected() {
  if (designer_->CardOpen()) designer_->DeleteSelection();
}

void CardDesigner::DeleteAll() {
  if (!designer_->CardOpen()) return;
  if (platform::ShowMessage(std::string(document::kDeleteAllQuestion), platform::MsgIcon::Question,
                            platform::MsgButtons::YesNo) != platform::MsgResult::Yes) {
    return;
  }
  designer_->ClearDesign();
}

void CardDesigner::ShowCardProperties() {
  if (!designer_->CardOpen()) return;
  designer_->SelectCardWindow();
  designer_->Properties()->ShowPropertiesPage();
}

void CardDesigner::Preview() { designer_->Preview(); }
void CardDesigner::StopCaptionTimers() { designer_->StopCaptionTimers(); }
void CardDesigner::StartCaptionTimers() { designer_->StartCaptionTimers(); }

void CardDesigner::FlashCheckCaption(const std::string& caption) {
  packaging::MakeExeHooks hooks = designer_->BuildHooks();
  if (hooks.onWindowCheckFailed) hooks.onWindowCheckFailed(caption);
}

void CardDesigner::CreateNewCard(const NewCardSettings& settings) {
  designer_->ClearDesign();
  ApplyNewCard(designer_->Document(), settings);
  // The canvas takes the new size, colour, background and mask; the card window is selected
  // and its property pages show the values.
  designer_->ReloadAfterOpen();
  designer_->Properties()->ShowPropertiesPage();
}

std::string CardDesigner::ClockText(int panel) const {
  if (panel < 1 || panel > 3) return {};
  return platform::FromQString(designer::Designer::ClockTexts()[panel - 1]);
}

}  // namespace cardshell
