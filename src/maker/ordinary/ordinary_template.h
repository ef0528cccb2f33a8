#pragma once
// The ordinary card template file (".lmcard" in the program folder's "template\"): an INI file
// with the single section [普通型贺卡] holding the keys of the settings record.
#include <string>
#include <string_view>

#include "maker/ordinary/ordinary_settings.h"

namespace ordinary {

inline constexpr std::string_view kTemplateSection = "普通型贺卡";
inline constexpr std::string_view kTemplateExt = ".lmcard";

// "template\" + name + ".lmcard" where a saved template goes (platform/user_folders.h), the
// folder created.
std::string TemplatePath(std::string_view name);

// One value of a template with a default: the profile-string reader with a buffer of 1024
// characters, trailing blanks removed.
std::string ReadSet(std::string_view templatePath, std::string_view key, std::string_view def);

// Writes the template to path. When the file exists it asks "同名的模板文件已存在，是否替换原文件？"
// (Yes/No); No writes nothing and returns false. The old file is replaced only once the new
// one is completely written; a file that cannot be written raises platform::FileError and
// leaves the old one whole.
bool SaveSet(std::string_view path, const OrdinarySettings& settings);

enum class SaveTemplateResult { EmptyName, Kept, Saved };

// The wizard's "保存模板(&S)": an empty name (after trimming) shows "请首先输入模板文件名。";
// otherwise the folder "template" of the program folder is created when missing, the template
// is written there as name + ".lmcard" with SaveSet, and "模板已保存。" is shown. Kept when the
// user chose to keep an existing template of that name. Write errors raise platform::FileError.
SaveTemplateResult SaveNamedTemplate(std::string_view name, const OrdinarySettings& settings);

// Fills settings from the template at path, key by key in the file's order. Paths that do not
// exist are tried under the program folder (card picture, music, greeting box picture, icon);
// a card or greeting box picture found in neither place is left unset. A numeric key that does
// not hold a number raises platform::ConvertError at that key; what was read before it stays in
// settings. Keys missing from the file take the defaults of the settings table (BoxColor keeps
// the value settings already holds).
void LoadSet(std::string_view path, OrdinarySettings& settings);

// LoadSet on a new wizard's settings.
OrdinarySettings LoadTemplate(std::string_view path);

}  // namespace ordinary
