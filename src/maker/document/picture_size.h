#pragma once
// The natural size of a picture file, as an image or GIF element needs it when it is created.
// The default reads the size from the file's header (JPEG, BMP, GIF, EMF, WMF); a program that
// decodes pictures anyway may install its own measurer.
#include <functional>
#include <string>
#include <string_view>

namespace document {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// platform::LoadError when the file cannot be opened or is not a picture of a known kind.
PictureSize MeasurePicture(std::string_view path);

using PictureMeasurer = std::function<PictureSize(std::string_view path)>;
// Installs a measurer (an empty one restores the header reader); returns the previous one.
PictureMeasurer SetPictureMeasurer(PictureMeasurer measurer);
PictureSize ReadPictureHeaderSize(std::string_view path);
// The same from a file's first bytes (up to 256 KiB for a JPEG); the path only names the
// extension in the error.
PictureSize PictureHeaderSize(std::string_view headerBytes, std::string_view path);

}  // namespace document
