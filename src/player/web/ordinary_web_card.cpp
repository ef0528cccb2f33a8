#include "player/web/ordinary_web_card.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "maker/ordinary/card_player_config.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "player/stage/null_hosts.h"
#include "player/stage/ordinary_stage.h"
#include "player/stage/stage_pictures.h"

namespace web {

namespace {

using platform::Bitmap;

std::string Int(int64_t v) { return std::to_string(v); }
std::string Bool(bool v) { return v ? "true" : "false"; }

std::string Css(platform::Color c) {
  c = platform::ResolveColor(c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<unsigned>(c & 0xFF), static_cast<unsigned>(c >> 8 & 0xFF),
                static_cast<unsigned>(c >> 16 & 0xFF));
  return JsonString(buf);
}

// A picture's frames as PNG addresses with their delays; null when there is none.
std::string PictureJson(const stage::StagePicture* picture) {
  if (!picture) return "null";
  std::string frames, delays;
  for (int i = 0; i < picture->FrameCount(); ++i) {
    frames += (i ? "," : "") + JsonString(PngDataUri(*picture->frames[static_cast<size_t>(i)]));
    const int delay = i < static_cast<int>(picture->delaysMs.size()) ? picture->delaysMs[static_cast<size_t>(i)] : 0;
    delays += (i ? "," : "") + Int(delay);
  }
  return "{\"frames\":[" + frames + "],\"delays\":[" + delays + "]}";
}

// One greeting line in the greeting font and colour on a clear ground, wide enough for the
// window and twice the line height for what hangs below the line.
std::string LineJson(const platform::fonts::Font& font, const std::string& line, int width, int lineHeight,
                     platform::Color color) {
  const int w = std::max(1, width), h = std::max(1, lineHeight * 2);
  auto mask = Bitmap::Create(w, h, platform::PixelFormat::Bgr24);
  mask->Fill(platform::Rgb(0, 0, 0));
  font.Draw(*mask, 0, 0, line, platform::Rgb(255, 255, 255));
  auto out = Bitmap::Create(w, h, platform::PixelFormat::Bgra32);
  color = platform::ResolveColor(color);
  for (int y = 0; y < h; ++y) {
    const uint8_t* m = mask->Row(y);
    uint8_t* o = out->Row(y);
    for (int x = 0; x < w; ++x) {
      o[x * 4] = static_cast<uint8_t>(color >> 16 & 0xFF);
      o[x * 4 + 1] = static_cast<uint8_t>(color >> 8 & 0xFF);
      o[x * 4 + 2] = static_cast<uint8_t>(color & 0xFF);
      o[x * 4 + 3] = std::max({m[x * 3], m[x * 3 + 1], m[x * 3 + 2]});
    }
  }
  return JsonString(PngDataUri(*out));
}

bool IsMovie(const std::string& path) {
  const std::string ext = platform::AsciiLower(platform::paths::ExtractFileExt(path));
  return ext == ".avi" || ext == ".mpg" || ext == ".mpeg";
}

}  // namespace

std::string OrdinaryCardJson(const ordinary::OrdinarySettings& settings, const MediaConverter& convert,
                             std::vector<std::string>* leftOut) {
  std::tm now{};
  const std::time_t clock = std::time(nullptr);
  localtime_r(&clock, &now);
  const ordinary::CardPlayerConfig c = ordinary::MakeCardPlayerConfig(settings, now);
  // A stage that never plays: it measures and breaks the greeting text as the players do.
  stage::SilentCardMedia silent;
  stage::OrdinaryStageHosts hosts;
  hosts.media = &silent;
  const stage::OrdinaryStage measured(settings, c, hosts, ordinary::ScreenSize{1024, 768});

  std::string j = "{\"kind\":\"ordinary\",\"title\":" + JsonText("贺卡");
  j += ",\"width\":" + Int(c.width) + ",\"height\":" + Int(c.height);
  j += ",\"color\":" + Css(c.windowColor) + ",\"transparent\":" + Bool(c.transparent);

  auto media = [&](const std::string& path, int64_t* length) {
    std::string uri = path.empty() ? std::string() : MediaFileDataUri(path, convert, length);
    if (uri.empty() && !path.empty() && leftOut) leftOut->push_back(path);
    return uri.empty() ? std::string("null") : JsonString(uri);
  };
  // The card picture: a movie plays in the page; a still picture fills the window, a GIF keeps
  // its proportions inside it.
  if (IsMovie(c.cardImg)) {
    j += ",\"movie\":" + media(c.cardImg, nullptr) + ",\"picture\":null";
  } else {
    auto picture = stage::LoadStagePicture(c.cardImg);
    j += ",\"movie\":null,\"picture\":" + PictureJson(picture.get());
    if (picture) {
      const bool gif = picture->FrameCount() > 1 || platform::AsciiLower(platform::paths::ExtractFileExt(c.cardImg)) == ".gif";
      const platform::Rect r = gif ? stage::ProportionalRect(picture->frames[0]->Width(), picture->frames[0]->Height(),
                                                             c.width, c.height)
                                   : platform::Rect::FromSize(0, 0, c.width, c.height);
      j += ",\"pictureRect\":[" + Int(r.left) + "," + Int(r.top) + "," + Int(r.Width()) + "," + Int(r.Height()) + "]";
    }
  }

  int64_t musicMs = 0, voiceMs = 0;
  const std::string music = c.musicUsed ? media(c.music, &musicMs) : "null";
  const std::string voice = c.voiceUsed ? media(c.voice, &voiceMs) : "null";
  j += ",\"music\":" + music + ",\"musicMs\":" + Int(musicMs) + ",\"voice\":" + voice + ",\"voiceMs\":" + Int(voiceMs);

  // The player's configuration, item by item as the rules take it.
  const std::pair<const char*, int> items[] = {
      {"width", c.width}, {"height", c.height}, {"musicUsed", c.musicUsed}, {"musicCount", c.musicCount},
      {"voiceUsed", c.voiceUsed}, {"playOrder", c.playOrder}, {"musicPosition", c.musicPosition},
      {"moveInterval", c.moveInterval}, {"startPosition", c.startPosition}, {"finalPosition", c.finalPosition},
      {"centreLock", c.centreLock}, {"loop", c.loop}, {"singleClick", c.singleClick},
      {"autoGreeting", c.autoGreeting}, {"autoGreetingInterval", c.autoGreetingInterval},
      {"greetingBox", c.greetingBox}, {"labelWidth", c.labelWidth}, {"labelHeight", c.labelHeight},
      {"scroll", c.scroll}, {"scrollInterval", c.scrollInterval}};
  j += ",\"config\":{";
  bool first = true;
  for (const auto& [name, value] : items) {
    j += std::string(first ? "" : ",") + "\"" + name + "\":" + Int(value);
    first = false;
  }
  j += "},\"url\":" + JsonText(c.url) + ",\"mail\":" + JsonText(c.mailLink);

  if (!c.greetingBox) return j + ",\"greeting\":null}";
  auto box = stage::LoadStagePicture(settings.cardBox);
  j += ",\"greeting\":{\"color\":" + Css(c.greetingColor) + ",\"transparent\":" + Bool(c.boxTransparent) +
       ",\"picture\":" + PictureJson(box.get()) + ",\"lineHeight\":" + Int(measured.GreetingLineHeight()) +
       ",\"lines\":[";
  if (const platform::fonts::Font* font = measured.GreetingFontFace()) {
    const auto& lines = measured.GreetingLines();
    for (size_t i = 0; i < lines.size(); ++i)
      j += (i ? "," : "") + LineJson(*font, lines[i], c.labelWidth + 8, measured.GreetingLineHeight(),
                                     settings.boxFontColor);
  }
  return j + "]}}";
}

std::vector<std::string> WriteOrdinaryWebCard(const ordinary::OrdinarySettings& settings, const std::string& outPath,
                                              const MediaConverter& convert) {
  std::vector<std::string> leftOut;
  const std::string page = WebCardPage(platform::GbkToUtf8("贺卡"), OrdinaryCardJson(settings, convert, &leftOut));
  if (!platform::files::WriteFileAtomic(outPath, page)) throw platform::FileError("无法写入文件 " + outPath + "。");
  return leftOut;
}

}  // namespace web
