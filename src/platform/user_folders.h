#pragma once
// Where the programs write. The program folder holds the shipped files; a copy that can be
// written (the build tree, a portable copy) also takes everything the programs write, as it
// always did. An installed program folder is read-only and shared by every user: then
//   - work files (the builders' ~tmp files, the preview's TestCard) go to a per-user
//     temporary folder, and
//   - what a user makes or adds (templates, finished cards, recordings, pictures, music,
//     greeting boxes, the program's settings) goes to the user's data folder,
//     $XDG_DATA_HOME/lmcard/ (default ~/.local/share/lmcard/), under the same folder names.
// Listings show the user's files and the shipped ones together; on a clash of names the
// user's file wins.
//
// LMCARD_USER_FOLDERS=1 uses the user folders even beside a writable program folder (a clean
// build tree, or a check run by root, for whom nothing is read-only); =0 never uses them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::user_folders {

// True when the user folders are in use: the program folder cannot be written.
bool InUse();
// Overrides the decision for tests; nullopt restores it.
void ForceInUse(std::optional<bool> inUse);

// The user's data folder with its trailing separator (not created).
std::string DataFolder();

// A per-user temporary folder, created private to the user, with its trailing separator.
std::string TempFolder();

// Where the builders and the preview put their work files: the program folder, or
// TempFolder() when the user folders are in use.
std::string WorkFolder();

// Where a file the user makes goes: the program folder + relative ("template\", "lmcard.ini"),
// or the data folder + relative when the user folders are in use. A folder is created.
std::string SavePath(std::string_view relative);

// The folders a data folder ("template\") is read from, the user's first when in use.
std::vector<std::string> ReadFolders(std::string_view folder);

// Names of the files of a data folder across ReadFolders (see files::ListFiles for exts),
// each once (names compare without regard to case), sorted by name.
std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& exts = {});

// The path of name in a data folder: the user's file when it exists, else the shipped one
// (which may not exist either).
std::string Find(std::string_view folder, std::string_view name);

// The other folders of the same data folder when folder is one of ReadFolders(sub) for a
// data folder sub: what a file dialog started in folder offers beside it.
std::vector<std::string> CounterpartFolders(std::string_view folder);

}  // namespace platform::user_folders
