#pragma once
// Our own readers of media files: what kind of file it is (by its content, never its name),
// its length in milliseconds and, for movies, the display size. The media control stand-in
// decides which device types accept a file from this, and answers lengths with it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::media {

enum class Kind { Unknown, Wave, Midi, Mp3, MpegSystem, Avi };

struct MediaInfo {
  Kind kind = Kind::Unknown;
  int64_t lengthMs = 0;
  bool rmi = false;        // MIDI wrapped in a RIFF RMID file
  // Wave files: the format chunk.
  int formatTag = 0;       // 1 = PCM (an extensible PCM format also reads as 1)
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  int blockAlign = 0;
  int64_t avgBytesPerSec = 0;
  int64_t dataBytes = 0;   // the sound bytes present in the file
  // MP3: the first frame's numbers.
  int mp3Bitrate = 0;      // kbit/s of the first frame
  bool mp3Vbr = false;     // a Xing or VBRI header was found
  // Movies: display size in pixels and frame rate (0 when unknown).
  int width = 0;
  int height = 0;
  double framesPerSecond = 0;
};

// Random access to the bytes of a file or a buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Up to n bytes from offset; fewer at the end.
  virtual std::string Read(uint64_t offset, size_t n) const = 0;
};

class BufferSource : public ByteSource {
 public:
  explicit BufferSource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  std::string Read(uint64_t offset, size_t n) const override;

 private:
  std::string_view bytes_;
};

// A file by system path; nullptr when it cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(std::string_view path);

// Recognises the file and measures it; Kind::Unknown when no reader accepts it.
// Never throws: damaged files read as Unknown or with what could be measured.
MediaInfo Probe(const ByteSource& src);
MediaInfo ProbeBytes(std::string_view bytes);
MediaInfo ProbeFile(std::string_view path);

// The single readers; nullopt when the bytes are not of that kind.
std::optional<MediaInfo> ProbeWave(const ByteSource& src);
std::optional<MediaInfo> ProbeMidi(const ByteSource& src);  // SMF and RMI
std::optional<MediaInfo> ProbeMp3(const ByteSource& src);
std::optional<MediaInfo> ProbeMpegSystem(const ByteSource& src);
std::optional<MediaInfo> ProbeAvi(const ByteSource& src);

const char* KindName(Kind kind);  // "WAV", "MIDI", "MP3", "MPEG", "AVI", "unknown"

}  // namespace platform::media
