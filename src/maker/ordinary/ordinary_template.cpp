#include "maker/ordinary/ordinary_template.h"

#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace ordinary {

namespace {

using platform::IntToStr;
using platform::StrToInt;

std::string TrueFalse(bool b) { return b ? "True" : "False"; }

// A path as given when that file exists, else the program folder + path when that exists.
std::string WithProgramFolderFallback(const std::string& value) {
  if (platform::files::FileExists(value)) return value;
  std::string longer = platform::paths::ProgramFolder() + value;
  if (platform::files::FileExists(longer)) return longer;
  return {};
}

}  // namespace

std::string TemplatePath(std::string_view name) {
  return platform::user_folders::SavePath(kTemplateFolder) + std::string(name) + std::string(kTemplateExt);
}

std::string ReadSet(std::string_view templatePath, std::string_view key, std::string_view def) {
  return platform::TrimRight(platform::profile::GetString(templatePath, kTemplateSection, key, def, 1024));
}

bool SaveSet(std::string_view path, const OrdinarySettings& s) {
  namespace files = platform::files;
  if (files::FileExists(path)) {
    if (platform::ShowMessage("同名的模板文件已存在，是否替换原文件？", platform::MsgIcon::Question,
                              platform::MsgButtons::YesNo) != platform::MsgResult::Yes) {
      return false;
    }
  }
  // The template is written beside the target and renamed over it, so a failed write keeps
  // the old template.
  const std::string temp = std::string(path) + ".~new";
  files::DeleteFile(temp);
  bool ok;
  {
    platform::profile::BatchWrites batch(temp);
    auto put = [&](std::string_view key, const std::string& value) {
      platform::profile::WriteString(temp, kTemplateSection, key, value);
    };
    auto putIfSet = [&](std::string_view key, bool flag) {
      if (flag) put(key, "True");
    };
    put("Cardimg", s.cardImg);
    put("CardWidth", s.cardWidth);
    put("CardHeight", s.cardHeight);
    put("CardBkColor", IntToStr(s.cardBkColor));
    put("CardBkTran", TrueFalse(s.cardBkTran));
    put("BkMusic", TrueFalse(s.bkMusic));
    put("Music", s.music);
    put("MusicCount", s.musicEndless ? "0" : s.musicCount);
    put("UseWav", TrueFalse(s.useWav));
    put("Wav", s.wav);
    put("PlaySet", IntToStr(s.playSet));
    put("PlayPosition", IntToStr(s.playPosition));
    put("CardBox", s.cardBox);
    put("BoxWidth", s.boxWidth);
    put("BoxHeight", s.boxHeight);
    put("BoxIndex", IntToStr(s.boxIndex));
    put("BoxColor", IntToStr(s.boxColor));
    put("BoxTran", TrueFalse(s.boxTran));
    put("BoxWord", platform::EncodeLineBreaks(s.boxWord, kTemplateLineBreak));
    put("BoxFontName", s.boxFontName);
    put("BoxFontSize", IntToStr(s.boxFontSize));
    put("BoxFontColor", IntToStr(s.boxFontColor));
    putIfSet("BoxFontBold", s.boxFontBold);
    putIfSet("BoxFontItalic", s.boxFontItalic);
    putIfSet("BoxFontUnderline", s.boxFontUnderline);
    putIfSet("BoxFontStrikeOut", s.boxFontStrikeOut);
    putIfSet("BoxScroll", s.boxScroll);
    put("BoxInv", s.boxInv);
    put("Move", s.move);
    put("MoveSet1", IntToStr(s.moveSet1));
    put("MoveSet2", IntToStr(s.moveSet2));
    putIfSet("Cen", s.cen);
    putIfSet("Moves", s.moves);
    putIfSet("Click", s.click);
    putIfSet("UseTime", s.useTime);
    put("Timelen", s.timelen);
    putIfSet("OpenUrl", s.openUrl);
    put("Url", s.url);
    putIfSet("SendMail", s.sendMail);
    put("Email", s.email);
    put("Subject", s.subject);
    put("Body", platform::EncodeLineBreaks(s.body, kTemplateLineBreak));
    put("ICON", s.icon);
    ok = batch.Commit();
  }
  if (!ok || !files::RenameFile(temp, path)) {
    files::DeleteFile(temp);
    throw platform::FileError("Cannot create file \"" + std::string(path) + "\"");
  }
  platform::profile::ClearCache();
  return true;
}

SaveTemplateResult SaveNamedTemplate(std::string_view name, const OrdinarySettings& settings) {
  const std::string trimmed = platform::Trim(name);
  if (trimmed.empty()) {
    platform::ShowMessage("请首先输入模板文件名。", platform::MsgIcon::Warning);
    return SaveTemplateResult::EmptyName;
  }
  if (!SaveSet(TemplatePath(trimmed), settings)) return SaveTemplateResult::Kept;
  platform::ShowMessage("模板已保存。", platform::MsgIcon::Information);
  return SaveTemplateResult::Saved;
}

void LoadSet(std::string_view path, OrdinarySettings& s) {
  auto get = [&](std::string_view key, std::string_view def) { return ReadSet(path, key, def); };
  auto flag = [&](std::string_view key) { return get(key, "") == "True"; };
  auto number = [&](std::string_view key, std::string_view def) { return StrToInt(get(key, def)); };

  s.cardImg = WithProgramFolderFallback(get("Cardimg", ""));
  s.cardWidth = get("CardWidth", "0");
  s.cardHeight = get("CardHeight", "0");
  s.cardBkColor = number("CardBkColor", "12632256");
  s.cardBkTran = flag("CardBkTran");
  s.bkMusic = flag("BkMusic");
  {
    std::string music = get("Music", "");
    std::string found = WithProgramFolderFallback(music);
    s.music = found.empty() ? music : found;
  }
  std::string count = get("MusicCount", "0");
  s.musicEndless = count == "0";
  if (!s.musicEndless) s.musicCount = count;
  s.useWav = flag("UseWav");
  s.wav = get("Wav", "");
  s.playSet = number("PlaySet", "0");
  s.playPosition = number("PlayPosition", "0");
  s.cardBox = WithProgramFolderFallback(get("CardBox", ""));
  s.boxWidth = get("BoxWidth", "0");
  s.boxHeight = get("BoxHeight", "0");
  s.boxIndex = number("BoxIndex", "0");
  s.boxColor = number("BoxColor", IntToStr(s.boxColor));
  s.boxTran = flag("BoxTran");
  s.boxWord = platform::DecodeLineBreaks(get("BoxWord", ""), kTemplateLineBreak);
  s.boxFontName = get("BoxFontName", "宋体");
  s.boxFontSize = number("BoxFontSize", "9");
  // The reader has always asked for these spellings; key names match without regard to case.
  s.boxFontColor = number("BoxFontcolor", "255");
  s.boxFontBold = flag("BoxFontBold");
  s.boxFontItalic = flag("BoxFontItalic");
  s.boxFontUnderline = flag("BoxFontUnderline");
  s.boxFontStrikeOut = flag("BoxFontstrikeout");
  s.boxScroll = flag("BoxScroll");
  s.boxInv = get("BoxInv", "100");
  s.move = get("Move", "100");
  s.moveSet1 = number("MoveSet1", "0");
  s.moveSet2 = number("MoveSet2", "0");
  s.cen = flag("Cen");
  s.moves = flag("Moves");
  s.click = flag("Click");
  s.useTime = flag("UseTime");
  s.timelen = get("TimeLen", "60");
  s.openUrl = flag("OpenUrl");
  s.url = get("Url", "");
  s.sendMail = flag("SendMail");
  s.email = get("Email", "");
  s.subject = get("Subject", "");
  s.body = platform::DecodeLineBreaks(get("Body", ""), kTemplateLineBreak);
  {
    std::string icon = get("ICON", "");
    std::string found = WithProgramFolderFallback(icon);
    s.icon = found.empty() ? icon : found;
  }
}

OrdinarySettings LoadTemplate(std::string_view path) {
  OrdinarySettings s = NewCardSettings();
  LoadSet(path, s);
  return s;
}

}  // namespace ordinary
