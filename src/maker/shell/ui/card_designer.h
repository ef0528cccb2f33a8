#pragma once
// The interactive card designer as the main window holds it: the designer's canvas, its
// properties/events window and its commands behind the shell's designer interface.
#include <memory>

#include "maker/shell/ui/designer_host.h"

namespace designer {
class Designer;
}

namespace cardshell {

class CardDesigner : public DesignerHost {
 public:
  CardDesigner();
  ~CardDesigner() override;

  designer::Designer& Inner() { return *designer_; }

  QWidget* CanvasWidget() override;
  QWidget* PropertiesWidget() override;
  document::CardDocument& Document() override;
  bool CardWindowShown() const override;
  void ShowCardWindow() override;
  void DesignReplaced() override;
  void DesignPartlyRead() override;
  void Insert(document::ElementKind kind) override;
  void DeleteSelected() override;
  void DeleteAll() override;
  void ShowCardProperties() override;
  void Preview() override;
  void StopCaptionTimers() override;
  void StartCaptionTimers() override;
  void FlashCheckCaption(const std::string& caption) override;
  void CreateNewCard(const NewCardSettings& settings) override;
  std::string ClockText(int panel) const override;

 private:
  std::unique_ptr<designer::Designer> designer_;
};

}  // namespace cardshell
