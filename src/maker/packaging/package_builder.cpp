#include "maker/packaging/package_builder.h"

#include <chrono>

#include "maker/document/action_list.h"
#include "maker/document/design_file.h"
#include "maker/packaging/card_output.h"
#include "maker/packaging/icon_patch.h"
#include "maker/packaging/read_ini.h"
#include "maker/packaging/settings_block.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/user_folders.h"

namespace packaging {

namespace {

namespace files = platform::files;
using document::CardDocument;
using document::ElementKind;
using platform::MsgIcon;

std::string Section(std::string_view prefix, long long n) { return std::string(prefix) + platform::IntToStr(n); }

// An action file is packed when it exists and is not a program.
bool PackableAction(const std::string& pic) { return files::FileExists(pic) && !IsExecutableExtension(pic); }

bool EndsCard(const std::string& cmd) { return cmd == document::kActionEndCard; }


std::tm Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// Step 2: the checks of the card window and the picture show box.
bool CheckDesign(CardDocument& doc, const MakeExeHooks& hooks) {
  const document::CardWindow& w = doc.window;
  auto fail = [&](const std::string& text, const char* caption) {
    platform::ShowMessage(text, MsgIcon::Warning);
    if (hooks.onWindowCheckFailed) hooks.onWindowCheckFailed(caption);
    return false;
  };
  if (w.bkPic && !files::FileExists(w.bkPicName)) {
    return fail("图片文件 " + w.bkPicName + " 不存在，请重新定义背景图片的位置或不使用背景图片。", "使用背景图片");
  }
  if (w.yxPic && !files::FileExists(w.yxPicName)) {
    return fail("图片文件 " + w.yxPicName + " 不存在，请重新定义掩饰图片的位置或不使用掩饰图片。", "使用掩饰图片");
  }
  if (!w.musicName.empty() && !files::FileExists(w.musicName)) {
    return fail("音乐文件 " + w.musicName + " 不存在，请重新定义背景音乐的位置或不使用背景音乐。", "贺卡背景音乐:");
  }
  if (!w.showTitbar) {
    bool closable = false;
    for (const auto& e : doc.labels) closable = closable || EndsCard(e.rec.Cmd);
    for (const auto& e : doc.buttons) closable = closable || EndsCard(e.rec.Cmd);
    for (const auto& e : doc.images) closable = closable || EndsCard(e.rec.Cmd);
    for (const auto& e : doc.gifs) closable = closable || EndsCard(e.rec.Cmd);
    if (!closable) doc.window.showTitbar = true;
  }
  if (doc.picsBox) {
    for (const std::string& pic : doc.picsDat.pictures) {
      if (!files::FileExists(pic)) {
        platform::ShowMessage("您在图像展示框中设置的图像文件：" + pic + " 不存在，请重新定位该文件位置或移除该图像。",
                              MsgIcon::Error);
        return false;
      }
    }
  }
  return true;
}

// Step 4: the settings sections of the design, in the card file's order.
void WriteDesignSections(const CardDocument& doc, const std::string& file, const std::vector<std::string>& media) {
  document::ApplicationWriteOptions app;
  app.writeIcon = false;
  app.musicIdWhenExists = false;
  document::WriteApplicationSection(doc, file, media, app);
  for (int n = 1; n <= doc.Count(ElementKind::Label); ++n)
    document::WriteLabelSection(doc, n, file, Section("Label", n), media);
  for (int n = 1; n <= doc.Count(ElementKind::Button); ++n)
    document::WriteButtonSection(doc, n, file, Section("Button", n), media);
  for (int n = 1; n <= doc.Count(ElementKind::Image); ++n)
    document::WriteImageSection(doc, n, file, Section("Image", n), media);
  document::WritePicsBoxSection(doc, file, media, true);
  for (int n = 1; n <= doc.Count(ElementKind::Gif); ++n)
    document::WriteGifSection(doc, n, file, Section("Gif", n), media);
  // A sound's section is named after its Tag: click actions refer to sounds by Tag.
  for (int n = 1; n <= doc.Count(ElementKind::Wav); ++n)
    document::WriteWavSection(doc, n, file, Section("Wav", doc.wavs[static_cast<size_t>(n - 1)].Tag()), media);
  for (int n = 1; n <= doc.Count(ElementKind::Flash); ++n)
    document::WriteFlashSection(doc, n, file, Section("Flash", n), media);
  for (int n = 1; n <= doc.Count(ElementKind::Scl); ++n)
    document::WriteSclSection(doc, n, file, Section("lmscl", n), media);
}

}  // namespace

bool IsExecutableExtension(std::string_view path) {
  static const char* kExts[] = {".exe", ".scr", ".com", ".vbs", ".cmd", ".reg", ".bat"};
  std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  for (const char* e : kExts) {
    if (ext == e) return true;
  }
  return false;
}

std::vector<std::string> BuilderMediaList(const CardDocument& doc) {
  std::vector<std::string> list;
  const document::CardWindow& w = doc.window;
  if (w.bkPic) list.push_back(platform::AsciiLower(w.bkPicName));
  if (w.yxPic) document::AddMedia(list, w.yxPicName);
  if (files::FileExists(w.musicName)) document::AddMedia(list, w.musicName);
  auto addAction = [&](const std::string& pic) {
    if (PackableAction(pic)) document::AddMedia(list, pic);
  };
  auto addFile = [&](const std::string& path) {
    if (files::FileExists(path)) document::AddMedia(list, path);
  };
  for (const auto& e : doc.labels) addAction(e.rec.Pic);
  if (doc.picsBox) {
    for (const std::string& pic : doc.picsDat.pictures) document::AddMedia(list, pic);
  }
  for (const auto& e : doc.buttons) addAction(e.rec.Pic);
  for (const auto& e : doc.images) {
    addAction(e.rec.Pic);
    addFile(e.rec.Filename);
  }
  for (const auto& e : doc.gifs) {
    addAction(e.rec.Pic);
    addFile(e.rec.Filename);
  }
  for (const auto& e : doc.wavs) addFile(e.rec.Filename);
  for (const auto& e : doc.flashes) addFile(e.rec.Filename);
  for (const auto& e : doc.scls) addFile(e.rec.Pic);
  return list;
}

const StubFamily& ChooseFamily(const CardDocument& doc, const std::vector<std::string>& mediaList) {
  bool flash = !doc.flashes.empty();
  for (const std::string& m : mediaList) flash = flash || platform::paths::ExtractFileExt(m) == ".crd3";
  return flash ? kFlashFamily : kPlainFamily;
}

std::string ShortDateLongTime(const std::tm& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d-%d-%d %d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return buf;
}

std::string ProgramSettingsFile() {
  const std::string self = platform::paths::ProgramFile();
  std::string name = self.empty() ? "lmcard" : platform::paths::ExtractFileName(self);
  return platform::user_folders::SavePath(name + ".ini");
}

bool MakeExe(CardDocument& doc, std::string_view outputPathIn, const MakeExeHooks& hooks) {
  const std::string outputPath(outputPathIn);
  auto say = [&](std::string_view text) {
    if (hooks.status) hooks.status(std::string(text));
  };
  struct Ready {
    const StatusCallback& status;
    ~Ready() {
      if (status) status(std::string(kStatusReady));
    }
  } ready{hooks.status};

  // Step 1.
  const std::string settingsFile = WorkFile(kSettingsWorkFile);
  files::DeleteFile(settingsFile);
  platform::profile::ClearCache();
  say(kStatusCompiling);
  platform::ProcessPendingMessages();

  // Step 2.
  if (!CheckDesign(doc, hooks)) return false;
  const std::string iconPath = doc.window.icon;
  bool useIcon = UsesReplacementIcon(iconPath);

  // Step 3.
  doc.mediaList = BuilderMediaList(doc);
  const std::vector<std::string>& media = doc.mediaList;

  platform::profile::BatchWrites batch(settingsFile);
  // Step 4.
  WriteDesignSections(doc, settingsFile, media);

  // Step 5: an icon that cannot be used leaves the stub's own icon.
  const IconWorkFilesGuard iconWorkFiles;
  if (useIcon) {
    RemoveIconWorkFiles();
    useIcon = PrepareIconTail(iconPath, WorkFile(kIconTailFile), WorkFile(kIconCopyFile));
    if (!useIcon) RemoveIconWorkFiles();
  }

  // Step 6 on: any failure gets the failure box.
  say(kStatusWriting);
  const StubFamily& family = ChooseFamily(doc, media);
  const bool plainFile = platform::AsciiLower(platform::paths::ExtractFileExt(outputPath)) == family.plainExt;
  bool ok;
  {
    CardOutput out(outputPath);
    ok = out.AppendFile(plainFile ? ProgramFile(kHeaderFileName) : ExeCardFile(family.stub));
    if (plainFile && useIcon) {
      RemoveIconWorkFiles();
      useIcon = false;
    }
    if (ok && useIcon) {
      int cut = family.defaultLength;
      try {
        cut = ReadIni(kOptionSection, family.optionKey, ExeCardFile(kOptionIniName), family.defaultLength);
      } catch (const platform::Error&) {
        ok = false;
      }
      std::optional<std::string> icon = files::ReadFile(iconPath);
      const bool colors256 = icon && icon->size() > 14 && static_cast<unsigned char>((*icon)[14]) == 168;
      ok = ok && icon && cut >= 0 && out.CutTo(static_cast<uint64_t>(cut)) &&
           files::CopyFile(ExeCardFile(colors256 ? kForm4Name : kForm3Name), WorkFile(kFormCopyFile), false) &&
           out.AppendFilePrefix(WorkFile(kFormCopyFile), kForm34PrefixLength) &&
           out.AppendFile(WorkFile(kIconTailFile)) &&
           out.PadTo(StubImageEnd(ExeCardFile(family.stub)));
      RemoveIconWorkFiles();
    }
    // Step 10.
    for (size_t k = 0; ok && k < media.size(); ++k) {
      const uint64_t start = out.Size();
      uint64_t length = 0;
      ok = out.AppendFile(media[k], &length);
      const std::string section = Section("File", static_cast<long long>(k));
      platform::profile::WriteString(settingsFile, section, "Len", std::to_string(length));
      platform::profile::WriteString(settingsFile, section, "Start", std::to_string(start));
    }
    // Step 11.
    if (ok) {
      const std::string now = ShortDateLongTime(Now());
      platform::profile::WriteString(settingsFile, "END", "MakeTime", now);
      platform::profile::WriteString(ProgramSettingsFile(), "LMCARD", "LastMake", now);
    }
    // Step 12.
    ok = ok && batch.Commit();
    std::optional<std::string> text = ok ? files::ReadFile(settingsFile) : std::nullopt;
    ok = ok && text && out.Append(InteractiveBlock(*text)) && out.Commit(!plainFile);
  }
  if (!ok) {
    platform::ShowMessage(BuildFailureMessage(outputPath), MsgIcon::Error);
    return false;
  }
  return true;
}

}  // namespace packaging
