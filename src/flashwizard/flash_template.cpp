// The ".lmflash" template file: an INI file of section "lmFlashCard", then "Scene0",
// "Scene1", … and "Image0", "Image1", … for the live objects in table order.
#include <string>
#include <utility>
#include <vector>

#include "flashwizard/flash_project.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace flashwizard {

namespace {

namespace profile = platform::profile;

class Writer {
 public:
  Writer(const std::string& file, std::string section) : file_(file), section_(std::move(section)) {}
  void Str(const char* key, const std::string& v) { profile::WriteString(file_, section_, key, v); }
  void Int(const char* key, long long v) { Str(key, std::to_string(v)); }
  void Bool(const char* key, bool v) { Str(key, v ? "1" : "0"); }

 private:
  const std::string& file_;
  std::string section_;
};

class Reader {
 public:
  Reader(const std::string& file, std::string section) : file_(file), section_(std::move(section)) {}
  std::string Str(const char* key, const std::string& def) const {
    return profile::GetString(file_, section_, key, def, 4096);
  }
  // Integers as the platform reads them: a value that is no number raises a conversion error.
  int Int(const char* key, int def) const {
    return platform::StrToInt(platform::Trim(Str(key, std::to_string(def))));
  }
  bool Bool(const char* key, bool def) const { return Int(key, def ? 1 : 0) != 0; }

 private:
  const std::string& file_;
  std::string section_;
};

// The text decorations' pictures are temporary files that go when the wizard closes: the
// template keeps copies of them beside itself and names those. All pictures are read before
// any copy is written, since saving over a template rewrites the very copies it was loaded
// with. Answers the File value to save for each table slot.
std::vector<std::string> KeepDecorations(const FlashProject& p, const std::string& file) {
  std::vector<std::string> files(p.ObjectCount);
  std::vector<std::pair<int, std::string>> pictures;
  for (int i = 0; i < p.ObjectCount; ++i) {
    const TpvFlashImageObj& o = p.Objects[i];
    files[i] = o.File;
    if (o.Deleted || !o.IsText) continue;
    if (auto bytes = platform::files::ReadFile(o.File)) pictures.emplace_back(i, std::move(*bytes));
  }
  int n = 0;
  for (auto& [index, bytes] : pictures) {
    std::string copy = TemplateDecorationFile(file, n);
    if (platform::files::WriteFileAtomic(copy, bytes)) {
      files[index] = copy;
      ++n;
    }
  }
  // Copies an earlier save of this template made for decorations that are gone now.
  for (std::string stale = TemplateDecorationFile(file, n); platform::files::FileExists(stale);
       stale = TemplateDecorationFile(file, ++n))
    platform::files::DeleteFile(stale);
  return files;
}

}  // namespace

void FlashProject::SaveSet(const std::string& file) const {
  const std::string prog = platform::paths::ProgramFolder();
  const std::vector<std::string> files = KeepDecorations(*this, file);
  // A fresh file: sections of an earlier, larger project do not linger.
  platform::files::DeleteFile(file);
  profile::BatchWrites batch(file);
  const FlashSettings& s = Settings;
  Writer w(file, "lmFlashCard");
  w.Str("Title", s.Title);
  w.Bool("UseTitle", s.UseTitle);
  w.Str("TitFontName", s.TitFontName);
  w.Str("TitFontSize", s.TitFontSize);
  w.Int("TitFontColor", s.TitFontColor);
  w.Bool("TitFontBold", s.TitFontBold);
  w.Bool("TitFontItalic", s.TitFontItalic);
  w.Bool("TitFontUnderline", s.TitFontUnderline);
  w.Bool("TitFontStrikeOut", s.TitFontStrikeOut);
  w.Str("TitStyle", s.TitStyle);
  w.Str("BackPic", TemplatePath(s.BackPic, prog));
  w.Bool("UseBackPic", s.UseBackPic);
  w.Int("BackCor", s.BackCor);
  w.Bool("TileBack", s.TileBack);
  w.Int("Width", s.Width);
  w.Int("Height", s.Height);
  w.Str("BackMusic", TemplatePath(s.BackMusic, prog));
  w.Bool("UseMusic", s.UseMusic);
  w.Bool("UseJpeg", s.UseJpeg);
  w.Int("SceneCount", SceneCount);
  w.Int("ImageCount", LiveObjectCount());
  for (int i = 0; i < SceneCount; ++i) {
    const TpvFlashScene& c = Scenes[i];
    Writer sw(file, "Scene" + std::to_string(i));
    sw.Str("Name", c.Name);
    sw.Str("BackPic", TemplatePath(c.BackPic, prog));
    sw.Int("BackColor", c.BackColor);
    sw.Bool("TlteBack", c.TileBack);
    sw.Bool("StretchBack", c.StretchBack);
    sw.Int("ShowEff", c.ShowEff);
    sw.Int("HideEff", c.HideEff);
    sw.Int("ShowEffTime", c.ShowEffTime);
    sw.Int("HideEffTime", c.HideEffTime);
    sw.Int("ShowTime", c.ShowTime);
    sw.Bool("UseBackPic", c.UseBackPic);
    sw.Bool("UseBackColor", c.UseBackColor);
    sw.Int("Index", c.Index);
  }
  int k = 0;
  for (int i = 0; i < ObjectCount; ++i) {
    const TpvFlashImageObj& o = Objects[i];
    if (o.Deleted) continue;
    Writer ow(file, "Image" + std::to_string(k++));
    ow.Str("Name", o.Name);
    ow.Int("SceneID", o.SceneID);
    ow.Bool("IsText", o.IsText);
    ow.Bool("IsGif", o.IsGif);
    ow.Int("StartShowTime", o.StartShowTime);
    ow.Int("HideTime", o.HideTime);
    ow.Int("ShowEff", o.ShowEff);
    ow.Int("HideEff", o.HideEff);
    ow.Int("ShowEffTime", o.ShowEffTime);
    ow.Int("HideEffTime", o.HideEffTime);
    ow.Bool("AlphaChange", o.AlphaChange);
    ow.Int("AlphaValue", o.AlphaValue);
    ow.Int("LayerMode", o.LayerMode);
    ow.Int("LayerID", o.LayerID);
    ow.Str("File", TemplatePath(files[i], prog));
    ow.Int("Left", o.Left);
    ow.Int("Top", o.Top);
    ow.Int("Width", o.Width);
    ow.Int("Height", o.Height);
  }
  batch.Commit();
}

void FlashProject::LoadSet(const std::string& file, const LoadHooks& hooks) {
  if (!platform::files::FileExists(file)) return;
  const std::string prog = platform::paths::ProgramFolder();
  // 1. Clear the project's scenes and objects.
  for (int i = 0; i < ObjectCount; ++i) Objects[i].Deleted = true;
  ObjectCount = 0;
  SceneCount = 0;

  // 2. Page-one settings, each with the current value as default.
  FlashSettings& s = Settings;
  Reader r(file, "lmFlashCard");
  s.Title = r.Str("Title", s.Title);
  s.UseTitle = r.Bool("UseTitle", s.UseTitle);
  std::string font = r.Str("TitFontName", s.TitFontName);
  if (!hooks.fontListed || hooks.fontListed(font)) s.TitFontName = font;
  s.TitFontSize = r.Str("TitFontSize", s.TitFontSize);
  s.TitFontColor = r.Int("TitFontColor", s.TitFontColor);
  s.TitFontBold = r.Bool("TitFontBold", s.TitFontBold);
  s.TitFontItalic = r.Bool("TitFontItalic", s.TitFontItalic);
  s.TitFontUnderline = r.Bool("TitFontUnderline", s.TitFontUnderline);
  s.TitFontStrikeOut = r.Bool("TitFontStrikeOut", s.TitFontStrikeOut);
  std::string style = r.Str("TitStyle", s.TitStyle);
  if (!hooks.effectListed || hooks.effectListed(style)) s.TitStyle = style;
  s.BackPic = ResolveTemplatePath(r.Str("BackPic", TemplatePath(s.BackPic, prog)), prog);
  s.UseBackPic = r.Bool("UseBackPic", s.UseBackPic);
  s.BackCor = r.Int("BackCor", s.BackCor);
  s.TileBack = r.Bool("TileBack", s.TileBack);
  s.Width = r.Int("Width", s.Width);
  s.Height = r.Int("Height", s.Height);
  bool musicFound = false;
  s.BackMusic = ResolveTemplatePath(r.Str("BackMusic", TemplatePath(s.BackMusic, prog)), prog, &musicFound);
  s.UseMusic = r.Bool("UseMusic", s.UseMusic);
  s.UseJpeg = r.Bool("UseJpeg", s.UseJpeg);
  if (musicFound && !s.BackMusic.empty() && hooks.musicLength) MusicLength = hooks.musicLength(s.BackMusic);

  // 3. Scenes, at most the scene limit.
  SceneCount = std::min(std::max(r.Int("SceneCount", 0), 0), kSceneLimit);
  for (int i = 0; i < SceneCount; ++i) {
    TpvFlashScene& c = Scenes[i];
    Reader sr(file, "Scene" + std::to_string(i));
    c.Name = sr.Str("Name", c.Name);
    c.BackPic = ResolveTemplatePath(sr.Str("BackPic", c.BackPic), prog);
    c.BackColor = sr.Int("BackColor", c.BackColor);
    c.TileBack = sr.Bool("TlteBack", c.TileBack);
    c.StretchBack = sr.Bool("StretchBack", c.StretchBack);
    c.ShowEff = sr.Int("ShowEff", c.ShowEff);
    c.HideEff = sr.Int("HideEff", c.HideEff);
    c.ShowEffTime = sr.Int("ShowEffTime", c.ShowEffTime);
    c.HideEffTime = sr.Int("HideEffTime", c.HideEffTime);
    c.ShowTime = sr.Int("ShowTime", c.ShowTime);
    c.UseBackPic = sr.Bool("UseBackPic", c.UseBackPic);
    c.UseBackColor = sr.Bool("UseBackColor", c.UseBackColor);
    c.Index = sr.Int("Index", c.Index);
  }

  // 4. Objects whose files exist.
  int count = r.Int("ImageCount", 0);
  for (int k = 0; k < count; ++k) {
    Reader orr(file, "Image" + std::to_string(k));
    bool found = false;
    std::string value = orr.Str("File", "");
    std::string path = ResolveTemplatePath(value, prog, &found);
    // A decoration's copy is also found beside the template after both have moved.
    if (!found && orr.Bool("IsText", false) && !value.empty()) {
      path = platform::paths::ExtractFilePath(file) + platform::paths::ExtractFileName(value);
      found = platform::files::FileExists(path);
    }
    if (!found) continue;
    int index = AddPicture(path, orr.Int("SceneID", 0));
    if (index < 0) continue;
    TpvFlashImageObj& o = Objects[index];
    o.Name = orr.Str("Name", o.Name);
    o.IsText = orr.Bool("IsText", o.IsText);
    o.IsGif = orr.Bool("IsGif", o.IsGif);
    o.StartShowTime = orr.Int("StartShowTime", o.StartShowTime);
    o.HideTime = orr.Int("HideTime", o.HideTime);
    o.ShowEff = orr.Int("ShowEff", o.ShowEff);
    o.HideEff = orr.Int("HideEff", o.HideEff);
    o.ShowEffTime = orr.Int("ShowEffTime", o.ShowEffTime);
    o.HideEffTime = orr.Int("HideEffTime", o.HideEffTime);
    o.AlphaChange = orr.Bool("AlphaChange", o.AlphaChange);
    o.AlphaValue = orr.Int("AlphaValue", o.AlphaValue);
    o.LayerMode = orr.Int("LayerMode", o.LayerMode);
    o.LayerID = orr.Int("LayerID", o.LayerID);
    o.Left = orr.Int("Left", o.Left);
    o.Top = orr.Int("Top", o.Top);
    o.Width = orr.Int("Width", o.Width);
    o.Height = orr.Int("Height", o.Height);
  }
}

}  // namespace flashwizard
