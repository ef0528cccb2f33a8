#pragma once
// The packed files of an opened card, written out on demand into a private temporary folder
// (pictures, sounds, movies and action files are played from there); the folder goes away
// with the store. Each file keeps the name the design gave it (in a subfolder named by its
// media id), so a file the card opens for the user shows a meaningful name.
#include <map>
#include <string>
#include <string_view>

#include "maker/packaging/card_reader.h"
#include "player/card_model.h"

namespace player {

class MediaStore {
 public:
  // folder: where files go (a system path with its trailing separator); empty chooses a new
  // folder under the temporary folder. Nothing is written before the first PathOf.
  explicit MediaStore(const packaging::CardReader& card, std::string folder = {});
  ~MediaStore();
  MediaStore(const MediaStore&) = delete;
  MediaStore& operator=(const MediaStore&) = delete;

  // The file of media id (system path), written on first use; nameHint (the design's path)
  // gives its name and extension, else the extension comes from the content (pictures) or
  // ".dat". Empty when the id names no media or the file cannot be written.
  std::string PathOf(int id, std::string_view nameHint = {});
  std::string PathOf(const MediaRef& ref) { return ref.Packed() ? PathOf(ref.id, ref.path) : std::string(); }
  // The bytes of a media id (empty for an unknown id).
  std::string_view Bytes(int id) const;
  const std::string& Folder() const { return folder_; }

 private:
  const packaging::CardReader& card_;
  std::string folder_;
  bool ownFolder_ = false;
  bool created_ = false;
  std::map<int, std::string> written_;
};

// The extension a packed file's bytes call for when no name says it: ".jpg", ".bmp", ".gif",
// ".wmf", ".emf", ".swf", ".wav", ".mid", ".mp3", else ".dat".
std::string SniffExtension(std::string_view bytes);

}  // namespace player
