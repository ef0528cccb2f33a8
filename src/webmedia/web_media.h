#pragma once
// Card media that a web browser cannot play, converted when a web card is built.
//
// MIDI music (.mid, .midi, .rmi) is rendered with a General MIDI sound font and encoded as MP3;
// movies (.avi, .mpg, .mpeg, .mpe, .dat, .wmv, .asf, .mov) are transcoded to WebM (VP8 video,
// Opus audio). Everything else is either played by browsers as it is (MP3, WAV, Ogg, pictures)
// or not media at all. This unit is in its own library (card_webmedia) so that only cardtool
// carries the codec libraries; the players never link it.

#include <cstdint>
#include <string>
#include <vector>

namespace webmedia {

struct BrowserMedia {
  std::string mime;                 // e.g. "audio/mpeg", "video/webm"
  std::vector<std::uint8_t> bytes;  // the converted file
};

// True when the file (judged by its name's extension) is a kind ConvertForBrowser converts.
bool NeedsConversion(const std::string& path);

// Converts the media file at `path` (a system path, GBK text) into a form browsers play.
// Throws platform::ConvertError when the file cannot be read or decoded, or when its kind is
// not one that needs conversion; platform::FileError when it cannot be opened.
BrowserMedia ConvertForBrowser(const std::string& path);

// The two conversions on bytes already in memory (what ConvertForBrowser calls).
// `sound_font` empty means the General MIDI sound font found on the system (FindSoundFont).
std::vector<std::uint8_t> MidiToMp3(const std::vector<std::uint8_t>& midi,
                                    const std::string& sound_font = {});
std::vector<std::uint8_t> MovieToWebm(const std::vector<std::uint8_t>& movie);

// The General MIDI sound font used for MIDI music: $LMCARD_SOUNDFONT when set, else the first
// of the system's General MIDI fonts that exists. Empty when none is installed.
std::string FindSoundFont();

}  // namespace webmedia
