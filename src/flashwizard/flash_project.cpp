#include "flashwizard/flash_project.h"

#include <exception>
#include <vector>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace flashwizard {

namespace {

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsLeadByte(c) && i + 1 < path.size()) {
      cur += path[i];
      cur += path[++i];
    } else if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += path[i];
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

}  // namespace

std::string TemplatePath(const std::string& path, const std::string& programFolder) {
  if (path.size() <= 1 || programFolder.size() <= 1 ||
      !platform::EqualsNoCase(path.substr(0, 1), programFolder.substr(0, 1)))
    return path;
  std::vector<std::string> base = Components(programFolder), dest = Components(path);
  size_t common = 0;
  while (common < base.size() && common + 1 < dest.size() &&
         platform::EqualsNoCase(base[common], dest[common]))
    ++common;
  std::string out;
  for (size_t i = common; i < base.size(); ++i) out += "..\\";
  for (size_t i = common; i < dest.size(); ++i) out += dest[i] + (i + 1 < dest.size() ? "\\" : "");
  return out;
}

std::string TemplateDecorationFile(const std::string& templateFile, int n) {
  return platform::paths::ChangeFileExt(templateFile, "") + "_文字" + std::to_string(n) + ".bmp";
}

std::string ResolveTemplatePath(const std::string& value, const std::string& programFolder, bool* found) {
  if (found) *found = true;
  if (!value.empty() && platform::files::FileExists(value)) return value;
  if (!value.empty() && platform::files::FileExists(programFolder + value)) return programFolder + value;
  if (found) *found = false;
  return value;
}

FlashSettings FlashProject::DefaultSettings(const LoadHooks& hooks) {
  FlashSettings s;
  if (hooks.fontListed && !hooks.fontListed(s.TitFontName)) s.TitFontName.clear();
  if (hooks.effectListed && hooks.effectListed("黄字红边加投影")) s.TitStyle = "黄字红边加投影";
  std::string back = platform::paths::ProgramFolder() + "背景图\\006.gif";
  if (platform::files::FileExists(back)) {
    s.BackPic = back;
    s.UseBackPic = true;
    s.TileBack = true;
  }
  return s;
}

int FlashProject::AddPicture(const std::string& file, int sceneIndex) {
  int slot = -1;
  for (int i = 0; i < ObjectCount && slot < 0; ++i)
    if (Objects[i].Deleted) slot = i;
  if (slot < 0) {
    if (ObjectCount >= kMaxObjects) {
      platform::ShowMessage("最多只能添加 " + std::to_string(kMaxObjects) + " 个文本框、图片或动画。",
                            platform::MsgIcon::Warning);
      return -1;
    }
    slot = ObjectCount;
  }
  int w = 0, h = 0;
  try {
    auto picture = platform::LoadPicture(file);
    if (!picture) return -1;
    w = picture->Width();
    h = picture->Height();
  } catch (const std::exception&) {
    return -1;
  }
  TpvFlashImageObj o;
  o.Name = platform::paths::ExtractFileName(file);
  o.SceneID = sceneIndex;
  o.File = file;
  o.Width = o.PictureWidth = w;
  o.Height = o.PictureHeight = h;
  Objects[slot] = o;
  if (slot == ObjectCount) ++ObjectCount;
  return slot;
}

void FlashProject::DelObj(int index) {
  if (index < 0 || index >= ObjectCount) return;
  Objects[index].Deleted = true;
  if (index == ObjectCount - 1) --ObjectCount;
}

int FlashProject::LiveObjectCount() const {
  int n = 0;
  for (int i = 0; i < ObjectCount; ++i) n += !Objects[i].Deleted;
  return n;
}

bool FlashProject::HasFreeSlot() const {
  if (ObjectCount < kMaxObjects) return true;
  for (int i = 0; i < ObjectCount; ++i)
    if (Objects[i].Deleted) return true;
  return false;
}

bool FlashProject::SameContent(const FlashProject& other) const {
  if (!(Settings == other.Settings) || SceneCount != other.SceneCount) return false;
  for (int s = 0; s < SceneCount; ++s)
    if (!(Scenes[s] == other.Scenes[s])) return false;
  std::vector<const TpvFlashImageObj*> mine, theirs;
  for (int i = 0; i < ObjectCount; ++i)
    if (!Objects[i].Deleted) mine.push_back(&Objects[i]);
  for (int i = 0; i < other.ObjectCount; ++i)
    if (!other.Objects[i].Deleted) theirs.push_back(&other.Objects[i]);
  if (mine.size() != theirs.size()) return false;
  for (size_t k = 0; k < mine.size(); ++k)
    if (!(*mine[k] == *theirs[k])) return false;
  return true;
}

}  // namespace flashwizard
