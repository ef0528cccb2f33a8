#pragma once
// The media control stand-in (the platform's MCI). A device is opened on a file with a device
// type name, and the type accepts the file by its content, never its name:
//   "MPEGVideo"  MP3 and other MPEG audio, MPEG system streams, WAV (any format), AVI, MIDI/RMI
//   "WaveAudio"  PCM WAV only; the one type that records and saves
//   "Sequencer"  MIDI and RMI
// Lengths and positions come from our own readers (media_probe.h), in the device's time format
// (milliseconds at open). Sound goes through the media backend (media_backend.h).
// Every call answers 0 or an error number as the platform's MCI does, and never throws.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/media_probe.h"

namespace platform::mci {

using DeviceId = uint32_t;
using Result = uint32_t;

// Error numbers, as the platform numbers them (MCIERR_BASE = 256).
constexpr Result kOk = 0;
constexpr Result kInvalidDeviceId = 257;         // MCIERR_INVALID_DEVICE_ID
constexpr Result kHardware = 262;                // MCIERR_HARDWARE
constexpr Result kInvalidDeviceName = 263;       // MCIERR_INVALID_DEVICE_NAME
constexpr Result kUnsupportedFunction = 274;     // MCIERR_UNSUPPORTED_FUNCTION
constexpr Result kFileNotFound = 275;            // MCIERR_FILE_NOT_FOUND
constexpr Result kOutOfRange = 282;              // MCIERR_OUTOFRANGE
constexpr Result kFileNotSaved = 286;            // MCIERR_FILE_NOT_SAVED
constexpr Result kBadTimeFormat = 293;           // MCIERR_BAD_TIME_FORMAT
constexpr Result kInvalidFile = 296;             // MCIERR_INVALID_FILE
constexpr Result kWaveInputsUnsuitable = 328;    // MCIERR_WAVE_INPUTSUNSUITABLE: no input device

enum class TimeFormat { Milliseconds, Bytes, Samples, Frames };
enum class Mode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

// Whether a device type accepts a file the readers measured; false for unknown type names.
bool Accepts(std::string_view deviceType, const media::MediaInfo& info);
// The device type that takes a file when none is named: PCM WAV to WaveAudio, MIDI to
// Sequencer, everything else readable to MPEGVideo; "" for a file nobody takes.
std::string AutoDeviceType(const media::MediaInfo& info);

// The chunks of a WAV file that the WaveAudio device keeps: the format chunk's body, whether
// a fact chunk is there, and the sound; a chunk that runs past the end is cut there. False
// when no format chunk of at least 16 bytes is found.
struct WaveChunks {
  std::string format;
  bool hasFact = false;
  std::string sound;
};
bool ReadWaveChunks(std::string_view bytes, WaveChunks& out);

// Opens element (a system path) with deviceType ("" picks one by content); *id gets the device.
Result Open(std::string_view deviceType, std::string_view element, DeviceId* id, bool shareable = false);
Result Close(DeviceId id);

Result SetTimeFormat(DeviceId id, TimeFormat format);
Result GetTimeFormat(DeviceId id, TimeFormat* format);
Result Length(DeviceId id, int64_t* length);      // in the time format
Result Position(DeviceId id, int64_t* position);  // in the time format
Result GetMode(DeviceId id, Mode* mode);
Result DeviceType(DeviceId id, std::string* type);
Result Info(DeviceId id, media::MediaInfo* info);
// A movie's display rectangle size; 0 × 0 for sound.
Result DisplaySize(DeviceId id, int* width, int* height);

// Plays from 'from' (default: the current position) to 'to' (default: the end), in the time format.
Result Play(DeviceId id, std::optional<int64_t> from = {}, std::optional<int64_t> to = {});
Result Pause(DeviceId id);
Result Resume(DeviceId id);
Result Stop(DeviceId id);
Result Seek(DeviceId id, int64_t to);  // in the time format; stops playing
Result SeekToStart(DeviceId id);
Result SeekToEnd(DeviceId id);

// WaveAudio only: records from the default input device in the open file's format, inserting
// at the current position; kWaveInputsUnsuitable when there is no input device.
Result Record(DeviceId id);
// WaveAudio only: writes the sound (with what was recorded) as a WAV file to path ("" = the
// open file); the file is replaced whole or not at all.
Result Save(DeviceId id, std::string_view path = {});

// The platform's text for an error number.
std::string ErrorText(Result r);

}  // namespace platform::mci
