#pragma once
// The platform's simple wave sound call (sndPlaySoundA): plays one WAV file at a time through
// the media backend. A new sound stops the one playing; a synchronous call returns when the
// sound has ended or another call stopped it, so it may be made from a worker thread.
namespace platform::sound {

constexpr unsigned SND_SYNC = 0x0000;
constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_NODEFAULT = 0x0002;  // we have no default sound: accepted and ignored
constexpr unsigned SND_LOOP = 0x0008;       // with SND_ASYNC: repeat until stopped
constexpr unsigned SND_NOSTOP = 0x0010;     // fail instead of stopping a sound that plays

// Plays a WAV file (system path). A null or empty path stops the sound that plays and answers
// true. False when the file is missing or not a WAV file, or SND_NOSTOP finds a sound playing.
bool sndPlaySoundA(const char* path, unsigned flags);

// A sound is playing now.
bool IsPlaying();

}  // namespace platform::sound
