#include "flashwizard/flash_builder.h"

#include <cmath>

#include "flashwizard/flash_project.h"
#include "flashwizard/frame_packets.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace flashwizard {

namespace {

const BuildHooks* g_hooks = nullptr;  // the build in progress, for the library's callback

void OnProgress(int32_t maximum, int32_t position) {
  if (g_hooks && g_hooks->progress) g_hooks->progress(maximum, position);
}

void Error(const std::string& text) { platform::ShowMessage(text, platform::MsgIcon::Error); }

template <typename T>
bool Resolve(platform::dynlib::Handle h, T& fn, const char* name) {
  fn = reinterpret_cast<T>(platform::dynlib::Resolve(h, name));
  return fn != nullptr;
}

}  // namespace

bool LoadFlashDll(FlashDll& dll) {
  dll = FlashDll();
  dll.handle = platform::dynlib::Load(platform::paths::ProgramFolder() + "Flash.dll");
  if (!dll.handle) return false;
  bool ok = Resolve(dll.handle, dll.CreateFlash, "CreateFlash") &&
            Resolve(dll.handle, dll.CreateLoading, "CreateLoading") &&
            Resolve(dll.handle, dll.CreateTitle, "CreateTitle") &&
            Resolve(dll.handle, dll.CreateBackGround, "CreateBackGround") &&
            Resolve(dll.handle, dll.AddSound, "AddSound") &&
            Resolve(dll.handle, dll.CreateSound, "CreateSound") &&
            Resolve(dll.handle, dll.AddSprinkle, "AddSprinkle") &&
            Resolve(dll.handle, dll.AddPhoto, "AddPhoto") &&
            Resolve(dll.handle, dll.FlashToFile, "FlashToFile") &&
            Resolve(dll.handle, dll.FreeFlashObj, "FreeFlashObj") &&
            Resolve(dll.handle, dll.CreatePTDH, "CreatePTDH");
  if (!ok) {
    UnloadFlashDll(dll);
    return false;
  }
  return true;
}

void UnloadFlashDll(FlashDll& dll) {
  if (dll.handle) platform::dynlib::Unload(dll.handle);
  dll = FlashDll();
}

MovieTiming ComputeTiming(const FlashProject& project) {
  MovieTiming t;
  int sum = 0;
  for (int s = 0; s < project.SceneCount; ++s) {
    const TpvFlashScene& c = project.Scenes[s];
    t.sceneStart.push_back(sum);
    t.sceneLength.push_back(c.ShowEffTime + c.ShowTime + c.HideEffTime);
    sum += t.sceneLength.back();
  }
  const FlashSettings& st = project.Settings;
  if (st.UseMusic && platform::files::FileExists(st.BackMusic)) t.musicLength = project.MusicLength;
  t.movieLength = std::max(t.musicLength, sum);
  return t;
}

int32_t PackedPosition(int left, int top, int canvasWidth, int canvasHeight) {
  long long x = std::llround(left * 1000.0 / std::max(1, canvasWidth));
  long long y = std::llround(top * 1000.0 / std::max(1, canvasHeight));
  return static_cast<int32_t>(x * 65536 + y);
}

bool MakeFlash(const FlashProject& project, const std::string& file, const BuildHooks& hooks) {
  return BuildMovie(project, hooks, [&file](FlashDll& dll) {
    // A movie that was not written is not reported as built.
    bool written = dll.FlashToFile(file.c_str());
    if (!written) Error("写入Flash到文件失败！");
    return written;
  });
}

bool BuildMovie(const FlashProject& project, const BuildHooks& hooks,
                const std::function<bool(FlashDll& dll)>& finish, MovieInput* input) {
  MovieInput ignored;
  MovieInput& in = input ? *input : ignored;
  in = MovieInput();
  const FlashSettings& st = project.Settings;
  const int W = st.Width, H = st.Height;

  // 1. The library.
  FlashDll dll;
  if (!LoadFlashDll(dll)) {
    Error("载入Flash插件失败！请重新下载安装完整的《Lumo贺卡制作》。");
    return false;
  }
  g_hooks = &hooks;
  // An early failure frees what was made and unloads the library again.
  auto fail = [&](bool created) {
    if (created) dll.FreeFlashObj();
    UnloadFlashDll(dll);
    g_hooks = nullptr;
    return false;
  };

  // 2. Timing.
  const MovieTiming timing = ComputeTiming(project);

  // 3. The movie.
  if (!dll.CreateFlash(W, H, W, H, st.UseJpeg, true, "mintcloverharbors", &OnProgress)) {
    Error("创建Flash失败！");
    return fail(false);
  }

  // 4. Loading animation.
  const std::string loading = platform::paths::ProgramFolder() + "loading.gif";
  if (platform::files::FileExists(loading)) {
    Packet p;
    if (MakeImagePacket(loading, 100, p) &&
        !dll.CreateLoading(0, p.data(), static_cast<int32_t>(p.size()))) {
      Error("创建载入动画失败！");
      return fail(true);
    }
  }

  // 5. Title.
  if (st.UseTitle && !platform::Trim(st.Title).empty()) {
    std::unique_ptr<platform::Bitmap> image = hooks.exportTitle ? hooks.exportTitle() : nullptr;
    bool ok = false;
    if (image) {
      std::unique_ptr<platform::Bitmap> cropped = CropToOpaque(*image);
      Packet p = MakeBitmapPacket(*cropped);
      ok = dll.CreateTitle(p.data(), static_cast<int32_t>(p.size()), (W - cropped->Width()) / 2, 8);
      if (ok && input) in.title = std::move(p);
    }
    if (!ok) Error("添加标题失败！");
  }

  // 6. Background.
  if (!st.UseBackPic) {
    static const uint8_t kNothing = 0;
    if (!dll.CreateBackGround(st.BackCor, st.BackCor, 0, &kNothing, 0, 0)) {
      Error("创建背景失败！");
      return fail(true);
    }
  } else {
    Packet p;
    if (MakeImagePacket(st.BackPic, 100, p) &&
        !dll.CreateBackGround(st.BackCor, st.BackCor, 0, p.data(), static_cast<int32_t>(p.size()),
                              st.TileBack ? 2 : 1)) {
      Error("创建背景失败！");
      return fail(true);
    }
    if (input) in.background = std::move(p);
  }

  // 7. Music.
  if (platform::files::FileExists(st.BackMusic) && st.UseMusic) {
    if (!dll.AddSound(st.BackMusic.c_str(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0)) {
      Error("添加背景音乐失败！\r\n\r\n您可以换个音乐文件再试一下。\r\n\r\n"
            "或者使用《Pavo电子相册制作》中“工具”菜单下的“音乐格式转换”工具重新转换一下音乐文件格式后再作为贺卡背景音乐。");
    } else if (!dll.CreateSound()) {
      Error("添加背景音乐失败！");
    } else {
      in.music = st.BackMusic;
    }
  }

  // 8. Objects, layer by layer, in table order.
  if (hooks.progress) hooks.progress(project.ObjectCount, 0);
  const int lastScene = project.SceneCount - 1;
  for (int layer = 0; layer <= 9; ++layer) {
    for (int i = 0; i < project.ObjectCount; ++i) {
      const TpvFlashImageObj& o = project.Objects[i];
      if (o.Deleted || o.LayerID != layer) continue;
      Packet p;
      MakeImagePacket(o.File, o.AlphaValue, p);
      int32_t position[2] = {9, PackedPosition(o.Left, o.Top, W, H)};
      int scene = std::clamp(o.SceneID, 0, std::max(0, project.SceneCount));
      int sceneStart = scene < static_cast<int>(timing.sceneStart.size()) ? timing.sceneStart[scene] : timing.movieLength;
      int start = sceneStart + o.StartShowTime;
      int end = start + o.ShowEffTime + o.HideTime;
      // Objects of the last scene that stay to its end stay to the movie's end. Without scenes
      // there is no last scene to look at (an object may still name scene -1).
      if (lastScene >= 0 && o.SceneID == lastScene &&
          o.StartShowTime + o.HideTime >= project.Scenes[lastScene].ShowTime)
        end = timing.movieLength;
      float sx = o.PictureWidth > 0 ? static_cast<float>(o.Width) / o.PictureWidth : 1.0f;
      float sy = o.PictureHeight > 0 ? static_cast<float>(o.Height) / o.PictureHeight : 1.0f;
      if (!dll.AddSprinkle(p.data(), static_cast<int32_t>(p.size()), 9, position, 0, 0, 0, 1, start, 1,
                           end, o.ShowEff, o.HideEff, o.ShowEffTime, o.HideEffTime, o.AlphaChange,
                           o.LayerMode, sx, sy))
        Error("添加 “" + o.Name + "”失败！");
      else if (input)
        in.sprinkles.push_back(std::move(p));
      if (hooks.progress) hooks.progress(project.ObjectCount, i + 1);
      platform::ProcessPendingMessages();
    }
  }

  // 9. Scenes in order.
  for (int s = 0; s < project.SceneCount; ++s) {
    const TpvFlashScene& c = project.Scenes[s];
    std::unique_ptr<platform::Bitmap> bmp = GetSceneBmp(project, s);
    Packet p = MakeBitmapPacket(*bmp);
    if (!dll.AddPhoto(p.data(), static_cast<int32_t>(p.size()), c.ShowTime, c.ShowEff, c.ShowEffTime,
                      c.HideEff, c.HideEffTime, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 1, 0))
      Error("添加场景 “" + c.Name + "” 失败！");
    if (input) in.scenes.push_back(std::move(p));
  }

  // 10. The file, or whatever the caller writes the movie out as.
  bool written = finish(dll);

  // 11. Let the window repaint, then free the movie and the library.
  for (int i = 0; i < 6002; ++i) platform::ProcessPendingMessages();
  dll.FreeFlashObj();
  UnloadFlashDll(dll);
  g_hooks = nullptr;
  return written;
}

}  // namespace flashwizard
