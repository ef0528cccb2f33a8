#pragma once
// Whether a music file can go into the movie as it is: the movie states an MP3's sample rate
// with a code that knows only 11025, 22050 and 44100 Hz.
#include <string>

namespace flashwizard {

// The refusal to show for a music file the movie cannot carry; empty when it can (or when the
// file is not read as MP3 at all, which the length check reports).
std::string MusicRateProblem(const std::string& file);

}  // namespace flashwizard
