#pragma once
// How far a GIF's logical screen may reach: the decoders' last step. A player composes every
// frame at the screen's size, so a few bytes that claim a vast screen or thousands of frames
// would otherwise cost gigabytes.
#include "platform/gif_codec.h"

namespace platform {

// A logical screen wider or taller than this is refused: no card window is that large.
constexpr int kMaxGifScreenSide = 4096;
// The frames kept are at most as many as fit this many pixels composed at the screen's size
// (1 GB of 32-bit pixels); later frames end the list, as a damaged frame does.
constexpr long long kMaxComposedGifPixels = 256LL * 1024 * 1024;

// A logical screen of zero size takes the frames' extent, then the limits above apply.
// LoadError for a screen too large or an animation without frames.
void FinishGifScreen(GifAnimation& animation);

}  // namespace platform
