#include "audio/bass_library.h"

#include <cstdlib>
#include <string_view>

#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace audio {
namespace {

namespace dynlib = platform::dynlib;
namespace files = platform::files;
namespace paths = platform::paths;

struct Loaded {
  dynlib::Handle handle = nullptr;
  std::array<void*, 97> entries{};
  BassApi api{};
};
Loaded g_bass;

const std::array<const char*, 97> kNames = {
    "BASS_SetConfig", "BASS_GetConfig", "BASS_SetConfigPtr", "BASS_GetConfigPtr", "BASS_GetVersion",
    "BASS_ErrorGetCode", "BASS_GetDeviceInfo", "BASS_Init", "BASS_SetDevice", "BASS_GetDevice", "BASS_Free",
    "BASS_GetDSoundObject", "BASS_GetInfo", "BASS_Update", "BASS_GetCPU", "BASS_Start", "BASS_Stop",
    "BASS_Pause", "BASS_SetVolume", "BASS_GetVolume", "BASS_PluginLoad", "BASS_PluginFree",
    "BASS_PluginGetInfo", "BASS_Set3DFactors", "BASS_Get3DFactors", "BASS_Set3DPosition",
    "BASS_Get3DPosition", "BASS_Apply3D", "BASS_SetEAXParameters", "BASS_GetEAXParameters", "BASS_MusicLoad",
    "BASS_MusicFree", "BASS_SampleLoad", "BASS_SampleCreate", "BASS_SampleFree", "BASS_SampleSetData",
    "BASS_SampleGetData", "BASS_SampleGetInfo", "BASS_SampleSetInfo", "BASS_SampleGetChannel",
    "BASS_SampleGetChannels", "BASS_SampleStop", "BASS_StreamCreate", "BASS_StreamCreateFile",
    "BASS_StreamCreateURL", "BASS_StreamCreateFileUser", "BASS_StreamFree", "BASS_StreamGetFilePosition",
    "BASS_StreamPutData", "BASS_StreamPutFileData", "BASS_RecordGetDeviceInfo", "BASS_RecordInit",
    "BASS_RecordSetDevice", "BASS_RecordGetDevice", "BASS_RecordFree", "BASS_RecordGetInfo",
    "BASS_RecordGetInputName", "BASS_RecordSetInput", "BASS_RecordGetInput", "BASS_RecordStart",
    "BASS_ChannelBytes2Seconds", "BASS_ChannelSeconds2Bytes", "BASS_ChannelGetDevice", "BASS_ChannelSetDevice",
    "BASS_ChannelIsActive", "BASS_ChannelGetInfo", "BASS_ChannelGetTags", "BASS_ChannelFlags",
    "BASS_ChannelUpdate", "BASS_ChannelLock", "BASS_ChannelPlay", "BASS_ChannelStop", "BASS_ChannelPause",
    "BASS_ChannelSetAttribute", "BASS_ChannelGetAttribute", "BASS_ChannelSlideAttribute",
    "BASS_ChannelIsSliding", "BASS_ChannelSet3DAttributes", "BASS_ChannelGet3DAttributes",
    "BASS_ChannelSet3DPosition", "BASS_ChannelGet3DPosition", "BASS_ChannelGetLength",
    "BASS_ChannelSetPosition", "BASS_ChannelGetPosition", "BASS_ChannelGetLevel", "BASS_ChannelGetData",
    "BASS_ChannelSetSync", "BASS_ChannelRemoveSync", "BASS_ChannelSetDSP", "BASS_ChannelRemoveDSP",
    "BASS_ChannelSetLink", "BASS_ChannelRemoveLink", "BASS_ChannelSetFX", "BASS_ChannelRemoveFX",
    "BASS_FXSetParameters", "BASS_FXGetParameters", "BASS_FXReset"};

int IndexOf(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i)
    if (name == kNames[i]) return static_cast<int>(i);
  return -1;
}

template <typename F>
void Bind(F& slot, const Loaded& l, const char* name) {
  slot = reinterpret_cast<F>(l.entries[static_cast<size_t>(IndexOf(name))]);
}

// The platform's search path lookup: the program folder, the current folder, then PATH.
std::string SearchPath(const std::string& name) {
  std::string local = paths::ProgramFolder() + name;
  if (files::FileExists(local)) return local;
  if (files::FileExists(name)) return name;
  if (const char* path = std::getenv("PATH")) {
    std::string_view rest(path);
    while (!rest.empty()) {
      size_t colon = rest.find(':');
      std::string dir(rest.substr(0, colon));
      rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
      if (dir.empty()) continue;
      std::string candidate = paths::Join(paths::FromHost(dir), name);
      if (files::FileExists(candidate)) return candidate;
    }
  }
  return "";
}

}  // namespace

const std::array<const char*, 97>& BassEntryNames() { return kNames; }

bool LoadBassLibrary(const std::string& path) {
  try {
    if (g_bass.handle) return true;
    std::string target = path;
    if (target.empty()) {
      target = SearchPath("bass.dll");
      if (target.empty()) return false;
    }
    // dynlib never shows a system error box, so there is no error mode to set and restore.
    Loaded l;
    l.handle = dynlib::Load(target);
    if (!l.handle) return false;
    for (size_t i = 0; i < kNames.size(); ++i) {
      l.entries[i] = dynlib::Resolve(l.handle, kNames[i]);
      if (!l.entries[i]) {
        dynlib::Unload(l.handle);
        return false;
      }
    }
    Bind(l.api.Init, l, "BASS_Init");
    Bind(l.api.Free, l, "BASS_Free");
    Bind(l.api.StreamCreateFile, l, "BASS_StreamCreateFile");
    Bind(l.api.StreamFree, l, "BASS_StreamFree");
    Bind(l.api.ChannelStop, l, "BASS_ChannelStop");
    Bind(l.api.ChannelGetLength, l, "BASS_ChannelGetLength");
    Bind(l.api.ChannelBytes2Seconds, l, "BASS_ChannelBytes2Seconds");
    g_bass = l;
    return true;
  } catch (...) {
    return false;
  }
}

const BassApi* Bass() { return g_bass.handle ? &g_bass.api : nullptr; }

void* BassEntry(const std::string& name) {
  int i = IndexOf(name);
  return g_bass.handle && i >= 0 ? g_bass.entries[static_cast<size_t>(i)] : nullptr;
}

void UnloadBassLibrary() {
  if (g_bass.handle) dynlib::Unload(g_bass.handle);
  g_bass = Loaded{};
}

}  // namespace audio
