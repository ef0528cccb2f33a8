#pragma once
// "Changed since the last save" for the ordinary card wizard: its settings as they were when
// last saved as a template, read from one, or when the wizard opened, compared with now.
#include "maker/ordinary/ordinary_settings.h"

namespace ordinary {

class SavedSettingsMark {
 public:
  void Mark(const OrdinarySettings& settings) { saved_ = settings; }
  bool ChangedSince(const OrdinarySettings& now) const { return !(now == saved_); }

 private:
  OrdinarySettings saved_ = NewCardSettings();
};

// The question before a wizard with unsaved settings closes.
inline constexpr const char* kSaveSettingsQuestion = "贺卡设置已修改，是否保存为贺卡模板？";

}  // namespace ordinary
