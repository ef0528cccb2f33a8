#pragma once
// Playback through the system's media control interface (winmm MCI): MIDI on the sequencer,
// WAV on waveaudio, MP3 and movies on mpegvideo. Installed as the media backend by the Windows
// players, so the MCI layer and sndPlaySound of platform/ play through it.
#include "platform/media_backend.h"

namespace platform::win32 {

media::MediaBackend& MciBackend();

}  // namespace platform::win32
