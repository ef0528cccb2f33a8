#pragma once
// Run-time loading of bass.dll, the outside audio library (version 2.4 interface). The module
// and its entry points are process-wide, shared by every music player.
#include <array>
#include <cstdint>
#include <string>

namespace audio {

using BassBool = int;
using BassDword = uint32_t;
using BassQword = uint64_t;
constexpr BassDword kBassPosByte = 0;  // BASS_POS_BYTE

// The seven entry points the music player calls.
struct BassApi {
  BassBool (*Init)(int device, BassDword freq, BassDword flags, void* win, const void* clsid);
  BassBool (*Free)();
  BassDword (*StreamCreateFile)(BassBool mem, const void* file, BassQword offset, BassQword length,
                                BassDword flags);
  BassBool (*StreamFree)(BassDword handle);
  BassBool (*ChannelStop)(BassDword handle);
  BassQword (*ChannelGetLength)(BassDword handle, BassDword mode);
  double (*ChannelBytes2Seconds)(BassDword handle, BassQword pos);
};

// The 97 entry point names a bass.dll must offer, in the order they are resolved.
const std::array<const char*, 97>& BassEntryNames();

// Loads bass.dll from path (a system path, or a bare name found by the library search order;
// "" searches the program folder, the current folder and PATH for "bass.dll") and resolves
// all 97 entry points. A library lacking any of them is unloaded and counts as absent.
// Answers at once when a library is already loaded. Never throws.
bool LoadBassLibrary(const std::string& path);

// The loaded library's entry points, or nullptr when none is loaded.
const BassApi* Bass();
// Any of the 97 entry points by name, or nullptr.
void* BassEntry(const std::string& name);

// Unloads and forgets the library (the programs never do; tests start afresh with it).
void UnloadBassLibrary();

}  // namespace audio
