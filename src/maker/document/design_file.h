#pragma once
// The design file (".lmcard2", also the interactive card templates): INI text written and
// read one value at a time through the profile-string functions.
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"

namespace document {

// The module-wide current file that GetSet and the writers use; lmsavefile and Loadfileset
// set it to their path first. The package builder points it at its own settings file.
const std::string& CurrentFilePath();
void SetCurrentFilePath(std::string_view path);

// One value of the current file (1024-byte buffer: longer values come back cut), with
// "<%=lmcardpath%>" replaced by the program folder and blanks and control characters
// removed from the end.
std::string GetSet(std::string_view section, std::string_view key, std::string_view def);

// Writes the open design to path. The previous file is replaced only once the new one is
// completely written; false when it could not be written (the old file then stays whole).
bool lmsavefile(CardDocument& doc, std::string_view path);

// Reads a design file into a cleared document (callers run DelAll first). A value that is not
// a number, a missing key without default, or a picture that cannot be loaded raises
// platform::ConvertError / platform::LoadError; what was read until then stays in the
// document. On success the card window ends up selected.
void Loadfileset(CardDocument& doc, std::string_view path);

// Media ids: 0-based position of the lower-cased path in a media list, -1 when absent.
int MediaId(const std::vector<std::string>& mediaList, std::string_view path);
// Adds the lower-cased path unless an entry equals it.
void AddMedia(std::vector<std::string>& mediaList, std::string_view path);
// The design file writer's media list of the document (cleared and refilled).
void FillDesignMediaList(CardDocument& doc);

// Section writers, shared with the package builder. Each writes one section's keys in the
// design file's order to `file`, under the section name given, taking media ids from mediaList.
struct ApplicationWriteOptions {
  bool writeIcon = true;   // card files carry no ICON key
  bool musicIdWhenExists = true;  // design file: Music only when the file exists;
                                  // false: Music whenever the music field is not empty
};
void WriteApplicationSection(const CardDocument& doc, std::string_view file,
                             const std::vector<std::string>& mediaList,
                             const ApplicationWriteOptions& options = {});
void WriteLabelSection(const CardDocument& doc, int position, std::string_view file,
                       std::string_view section, const std::vector<std::string>& mediaList);
void WriteButtonSection(const CardDocument& doc, int position, std::string_view file,
                        std::string_view section, const std::vector<std::string>& mediaList);
void WriteImageSection(const CardDocument& doc, int position, std::string_view file,
                       std::string_view section, const std::vector<std::string>& mediaList);
void WriteGifSection(const CardDocument& doc, int position, std::string_view file,
                     std::string_view section, const std::vector<std::string>& mediaList);
void WriteWavSection(const CardDocument& doc, int position, std::string_view file,
                     std::string_view section, const std::vector<std::string>& mediaList);
void WriteFlashSection(const CardDocument& doc, int position, std::string_view file,
                       std::string_view section, const std::vector<std::string>& mediaList);
void WriteSclSection(const CardDocument& doc, int position, std::string_view file,
                     std::string_view section, const std::vector<std::string>& mediaList);
// [PicsBox]: the picture paths, or (picturesAsIds) their media ids.
void WritePicsBoxSection(const CardDocument& doc, std::string_view file,
                         const std::vector<std::string>& mediaList, bool picturesAsIds = false);

// The three 1000-byte pieces (Txt1..Txt3) of a scrolling caption's text as written, and the
// text read back from them.
std::vector<std::string> CaptionPieces(std::string_view text);
std::string JoinCaptionPieces(const std::string& t1, const std::string& t2, const std::string& t3);

}  // namespace document
