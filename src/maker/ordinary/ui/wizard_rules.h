#pragma once
// The ordinary card wizard's rules that do not need a window: which buttons each page shows,
// the size checks, the enabling of the position lists, the preview checks in their order, the
// finish questions, the output dialog and the greeting box folder listing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/ordinary/ui/format_chooser.h"
#include "platform/dialogs.h"

namespace ordinary_ui {

inline constexpr int kPageCount = 6;

// Which of the buttons below the pages a page shows.
struct PageButtons {
  bool browse = false;    // "浏览贺卡图片或电影(&B)"
  bool previous = false;  // "上一步(&U)"
  bool next = false;      // "下一步(&N)"
  bool finish = false;    // "完成(&F)"
  bool operator==(const PageButtons&) const = default;
};
PageButtons ButtonsForPage(int page);  // page 1..6

// "pn" + page + ".htm".
std::string HelpTopic(int page);

// What a card picture file is, by its lower-cased extension.
enum class PictureKind { None, Still, Gif, Movie, Flash };
PictureKind CardPictureKind(std::string_view path);
// A greeting box picture: still pictures and GIFs only (None for anything else).
PictureKind GreetingBoxKind(std::string_view path);

// File dialog filters.
extern const std::string kCardPictureFilter;
inline constexpr std::string_view kMusicFilter =
    "音乐文件 (*.mid;*.rmi;*.mp3;*.wav;*.mpg;*.mpeg)|*.mid;*.rmi;*.mp3;*.wav;*.mpg;*.mpeg";
inline constexpr std::string_view kVoiceFilter = "声音 (*.wav)|*.wav";
inline constexpr std::string_view kGreetingBoxFilter =
    "图片文件 (*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf)|*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf";
inline constexpr std::string_view kGreetingTextOpenFilter = "保存贺词的文本文件 (*.txt)|*.txt";
inline constexpr std::string_view kGreetingTextSaveFilter = "文本文件 (*.txt)|*.txt";
inline constexpr std::string_view kIconFilter = "图标文件 (*.ico)|*.ico";
inline constexpr std::string_view kOutputFilter =
    "EXE格式 贺卡文件 (*.exe)|*.exe|普通格式贺卡文件 (*.crd1)|*.crd1";

// The number fields take digits and Backspace only.
bool NumberFieldAccepts(char32_t ch);

// The size fields on leaving them.
enum class SizeField { CardWidth, CardHeight, BoxWidth, BoxHeight };
struct SizeCheck {
  bool ok = false;
  int value = 0;            // the number when ok
  std::string message;      // the error box text when not ok
};
SizeCheck CheckSize(SizeField field, std::string_view text);

// The centre lock and the loop movement of page 4 with the position lists they enable. Each
// tick has the same knock-on effects as the user ticking the boxes one after the other.
class MoveLock {
 public:
  void SetCentre(bool on);
  void SetLoop(bool on);
  bool Centre() const { return centre_; }
  bool Loop() const { return loop_; }
  bool StartListEnabled() const { return startEnabled_; }
  bool FinalListEnabled() const { return finalEnabled_; }

 private:
  bool centre_ = false;
  bool loop_ = false;
  bool startEnabled_ = true;
  bool finalEnabled_ = true;
};

// The checks before the preview and the build, in their order.
enum class CheckItem { NoCard, CardMissing, Music, Voice, NoGreetingBox, GreetingBoxMissing, MailBox, NotifyBox };
struct CheckInput {
  bool cardShown = false;
  std::string cardPath;
  bool musicUsed = false;
  std::string musicPath;
  bool voiceUsed = false;
  std::string voicePath;
  int boxIndex = 0;
  bool boxShown = false;
  std::string boxPath;
  bool mailOption = false;
  std::string mailBox;
  bool notifyOption = false;
  std::string notifyBox;
};
struct CheckFailure {
  CheckItem item = CheckItem::NoCard;
  std::string message;
  int page = 1;
};
std::optional<CheckFailure> FirstCheckFailure(const CheckInput& input);

// "完成(&F)": asks the questions that apply (built card, saved template); true when the wizard
// may close.
bool ConfirmFinish(bool built, bool templateOption, bool templateSaved);

// The save dialog of the output "浏览" for the chosen format.
platform::FileDialogOptions OutputDialogOptions(CardFormat format, const std::string& currentOutput,
                                                const std::string& folder);
// The output field's new text: the chosen name with ".crd1" when the plain card filter was in use
// at the end (seen from the chosen name's extension, else from the format), ".exe" otherwise;
// a web card keeps ".html" (".htm") and gets ".html" otherwise.
std::string OutputPathFor(const std::string& chosen, CardFormat format);

// An open dialog's options: a title, a filter, the folder and the current file preselected when
// it exists.
platform::FileDialogOptions OpenDialogOptions(std::string title, std::string_view filter,
                                              const std::string& folder, const std::string& current);

// The names (without folder, sorted by name) of the greeting box folder's pictures.
std::vector<std::string> GreetingBoxFiles(const std::string& folder);
// The same over the user's greeting boxes and the shipped ones together.
std::vector<std::string> GreetingBoxFiles();

// The seven folders where the wizard's file dialogs start; a picked file's folder is remembered
// for its family for as long as the program runs.
enum class FolderFamily { CardPictures, Music, Voices, GreetingBoxes, GreetingTexts, Icons, BuiltCards };
class RememberedFolders {
 public:
  RememberedFolders();  // the data folders (the user's for voices, greeting texts and cards)
  const std::string& Get(FolderFamily family) const;
  void Remember(FolderFamily family, const std::string& pickedFile);

 private:
  std::string folders_[7];
};
// The folders of this process (every wizard shares them).
RememberedFolders& WizardFolders();

}  // namespace ordinary_ui
