#include "maker/packaging/ordinary_build.h"

#include "maker/packaging/card_output.h"
#include "maker/packaging/icon_patch.h"
#include "maker/packaging/read_ini.h"
#include "maker/packaging/settings_block.h"
#include "maker/packaging/side_files.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace packaging {

namespace {

using platform::IntToStr;

std::string Flag(bool b) { return b ? "1" : "0"; }
std::string Count(uint64_t n) { return std::to_string(n); }

// The longest start of text of at most maxBytes that does not end inside a two-byte character.
std::string CutToBytes(std::string_view text, size_t maxBytes) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t len = platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  return std::string(text.substr(0, i));
}


}  // namespace

bool HoldsPackedSeparator(const ordinary::OrdinarySettings& s) {
  const std::string* typed[] = {&s.cardImg, &s.cardWidth,   &s.cardHeight, &s.music,  &s.musicCount,
                                &s.wav,     &s.cardBox,     &s.boxWidth,   &s.boxHeight, &s.boxWord,
                                &s.boxFontName, &s.boxInv,  &s.move,       &s.timelen, &s.url,
                                &s.email,   &s.subject,     &s.body};
  for (const std::string* t : typed)
    if (t->find(ordinary::kPackedSeparator) != std::string::npos) return true;
  return false;
}

std::string OrdinarySettingsText(const ordinary::OrdinarySettings& s, const OrdinaryMediaLengths& len,
                                 uint64_t payloadOffset) {
  using platform::paths::ExtractFileExt;
  const bool music = s.bkMusic, voice = s.useWav, box = s.HasGreetingBox();
  std::string greeting = platform::EncodeLineBreaks(s.boxWord, ordinary::kPackedLineBreak);
  greeting = CutToBytes(greeting, kMaxPackedGreeting);
  const std::string fields[] = {
      ExtractFileExt(s.cardImg),                                  // 1
      Count(len.cardImg),                                         // 2
      s.cardWidth,                                                // 3
      s.cardHeight,                                               // 4
      IntToStr(s.cardBkColor),                                    // 5
      Flag(s.cardBkTran),                                         // 6
      Flag(music),                                                // 7
      music ? ExtractFileExt(s.music) : " ",                      // 8
      music ? Count(len.music) : "0",                             // 9
      music && !s.musicEndless ? s.musicCount : "0",              // 10
      Flag(voice),                                                // 11
      voice ? Count(len.wav) : "0",                               // 12
      IntToStr(s.playSet),                                        // 13
      IntToStr(s.playPosition),                                   // 14
      Flag(box),                                                  // 15
      box ? ExtractFileExt(s.cardBox) : " ",                      // 16
      box ? Count(len.cardBox) : "0",                             // 17
      box ? s.boxWidth : "0",                                     // 18
      box ? s.boxHeight : "0",                                    // 19
      IntToStr(s.boxColor),                                       // 20
      Flag(s.boxTran),                                            // 21
      greeting,                                                   // 22
      s.boxFontName,                                              // 23
      IntToStr(s.boxFontSize),                                    // 24
      IntToStr(s.boxFontColor),                                   // 25
      Flag(s.boxFontBold),                                        // 26
      Flag(s.boxFontItalic),                                      // 27
      Flag(s.boxFontUnderline),                                   // 28
      Flag(s.boxFontStrikeOut),                                   // 29
      s.move,                                                     // 30
      IntToStr(s.moveSet1),                                       // 31
      IntToStr(s.moveSet2),                                       // 32
      Flag(s.cen),                                                // 33
      Flag(s.moves),                                              // 34
      Flag(s.click),                                              // 35
      Flag(!s.click),                                             // 36
      Flag(s.useTime),                                            // 37
      s.timelen,                                                  // 38
      Flag(s.openUrl),                                            // 39
      s.url,                                                      // 40
      Flag(s.sendMail),                                           // 41
      s.email,                                                    // 42
      s.subject,                                                  // 43
      platform::EncodeLineBreaks(s.body, ordinary::kMailLineBreak),  // 44
      Flag(s.boxScroll),                                          // 45
      s.boxInv,                                                   // 46
      "",                                                         // 47
      Count(payloadOffset),                                       // 48
  };
  std::string text;
  for (const std::string& f : fields) {
    text += f;
    text += ordinary::kPackedSeparator;
  }
  return text;
}

OrdinaryBuildResult BuildOrdinaryCard(const ordinary::OrdinarySettings& s, std::string_view outputPathIn,
                                      const StatusCallback& status) {
  namespace files = platform::files;
  using platform::MsgButtons;
  using platform::MsgIcon;
  auto say = [&](std::string_view text) {
    if (status) status(std::string(text));
  };
  struct Ready {
    const StatusCallback& status;
    ~Ready() {
      if (status) status(std::string(kStatusReady));
    }
  } ready{status};

  say(kStatusCompiling);
  platform::ProcessPendingMessages();
  const std::string outputPath = platform::Trim(outputPathIn);
  if (outputPath.empty()) {
    platform::ShowMessage("请输入贺卡输出位置！", MsgIcon::Warning);
    return OrdinaryBuildResult::NoOutputPath;
  }
  // The separator of the packed fields inside a typed text would shift every field after it,
  // and no player could read the card.
  if (HoldsPackedSeparator(s)) {
    platform::ShowMessage("贺词、网址、邮件地址、主题和内容中不能含有“" + std::string(ordinary::kPackedSeparator) +
                              "”，请修改后再生成贺卡。",
                          MsgIcon::Warning);
    return OrdinaryBuildResult::BadText;
  }
  if (files::Exists(outputPath)) {
    if (platform::ShowMessage("文件 " + outputPath + " 已存在，是否替换原文件？", MsgIcon::Question,
                              MsgButtons::YesNo) != platform::MsgResult::Yes) {
      return OrdinaryBuildResult::NotReplaced;
    }
  }

  const IconWorkFilesGuard iconWorkFiles;
  bool useIcon = UsesReplacementIcon(s.icon);
  if (useIcon) {
    RemoveIconWorkFiles();
    if (!PrepareIconTail(s.icon, WorkFile(kIconTailFile), WorkFile(kIconCopyFile))) {
      RemoveIconWorkFiles();
      platform::ShowMessage("图标文件 " + s.icon + " 无法被《Lumo贺卡制作 2002》处理，请重新选择图标文件。",
                            MsgIcon::Error);
      return OrdinaryBuildResult::BadIcon;
    }
  }

  say(kStatusWriting);
  const bool plainFile = platform::AsciiLower(platform::paths::ExtractFileExt(outputPath)) == kOrdinaryFamily.plainExt;
  if (plainFile) useIcon = false;
  bool ok;
  {
    CardOutput out(outputPath);
    ok = out.AppendFile(plainFile ? ProgramFile(kHeaderFileName) : ExeCardFile(kOrdinaryFamily.stub));
    if (ok && useIcon) {
      int cut = kOrdinaryFamily.defaultLength;
      try {
        cut = ReadIni(kOptionSection, kOrdinaryFamily.optionKey, ExeCardFile(kOptionIniName),
                      kOrdinaryFamily.defaultLength);
      } catch (const platform::Error&) {
        ok = false;
      }
      ok = ok && cut >= 0 && out.CutTo(static_cast<uint64_t>(cut)) &&
           files::CopyFile(ExeCardFile(kForm1Name), WorkFile(kFormCopyFile), false) &&
           out.AppendFilePrefix(WorkFile(kFormCopyFile), kForm1PrefixLength) &&
           out.AppendFile(WorkFile(kIconTailFile)) &&
           out.PadTo(StubImageEnd(ExeCardFile(kOrdinaryFamily.stub)));
    }
    if (useIcon) RemoveIconWorkFiles();
    const uint64_t payloadOffset = out.Size();
    OrdinaryMediaLengths len;
    ok = ok && out.AppendFile(s.cardImg, &len.cardImg);
    if (ok && s.bkMusic) ok = out.AppendFile(s.music, &len.music);
    if (ok && s.useWav) ok = out.AppendFile(s.wav, &len.wav);
    if (ok && s.HasGreetingBox()) ok = out.AppendFile(s.cardBox, &len.cardBox);
    ok = ok && out.Append(OrdinaryBlock(OrdinarySettingsText(s, len, payloadOffset))) && out.Commit(!plainFile);
  }
  if (!ok) {
    platform::ShowMessage(BuildFailureMessage(outputPath), MsgIcon::Error);
    return OrdinaryBuildResult::Failed;
  }
  platform::ShowMessage("贺卡文件 " + outputPath + " 已生成，您现在可以将它发送给您的朋友了。", MsgIcon::Information);
  return OrdinaryBuildResult::Built;
}

}  // namespace packaging
