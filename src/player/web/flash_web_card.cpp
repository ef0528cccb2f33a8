#include "player/web/flash_web_card.h"

#include <algorithm>
#include <span>

#include "flashwizard/flash_project.h"
#include "platform/bmp_codec.h"
#include "platform/dialogs.h"
#include "platform/dynlib.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/jpeg_codec.h"
#include "platform/png_writer.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "player/web/web_page.h"

namespace web {

namespace {

using FlashTimelineProc = int32_t (*)(char*, int32_t);

int32_t ReadInt(const std::vector<uint8_t>& p, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | p[at + i];
  return static_cast<int32_t>(v);
}

// Packets hold 32-bit colours premultiplied by alpha; a page picture holds them straight.
void Unpremultiply(platform::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* px = b.Row(y);
    for (int x = 0; x < b.Width(); ++x, px += 4) {
      const int a = px[3];
      if (a == 0 || a == 255) continue;
      for (int c = 0; c < 3; ++c) px[c] = static_cast<uint8_t>(std::min(255, (px[c] * 255 + a / 2) / a));
    }
  }
}

bool Opaque(const platform::Bitmap& b) {
  if (b.Format() != platform::PixelFormat::Bgra32) return true;
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* px = b.Row(y);
    for (int x = 0; x < b.Width(); ++x)
      if (px[x * 4 + 3] != 255) return false;
  }
  return true;
}

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::string PictureJson(const PagePicture& p) {
  if (p.src.empty()) return "null";
  return "{\"src\":" + JsonString(p.src) + ",\"fw\":" + std::to_string(p.frameWidth) +
         ",\"fh\":" + std::to_string(p.frameHeight) + ",\"columns\":" + std::to_string(p.columns) + "}";
}

std::string PictureList(const std::vector<std::vector<uint8_t>>& packets, bool jpeg) {
  std::string out = "[";
  for (size_t i = 0; i < packets.size(); ++i) out += (i ? "," : "") + PictureJson(PacketPicture(packets[i], jpeg));
  return out + "]";
}

void Error(const std::string& text) { platform::ShowMessage(text, platform::MsgIcon::Error); }

}  // namespace

PagePicture PacketPicture(const std::vector<uint8_t>& packet, bool allowJpeg) {
  PagePicture out;
  if (packet.size() < 12) return out;
  const int fw = ReadInt(packet, 0), fh = ReadInt(packet, 4), n = ReadInt(packet, 8);
  if (fw <= 0 || fh <= 0 || n <= 0 || packet.size() < 12 + 2 * static_cast<size_t>(n)) return out;
  std::unique_ptr<platform::Bitmap> sheet;
  try {
    sheet = platform::DecodeBmp(std::span<const uint8_t>(packet).subspan(12 + 2 * static_cast<size_t>(n)));
  } catch (const platform::Error&) {
    return out;
  }
  if (!sheet || sheet->Width() < fw || sheet->Height() < fh) return out;
  if (sheet->Format() == platform::PixelFormat::Bgra32) Unpremultiply(*sheet);
  std::string bytes = Bytes(platform::EncodePng(*sheet));
  std::string mime = "image/png";
  if (allowJpeg && Opaque(*sheet)) {
    std::string jpeg = Bytes(platform::EncodeJpeg(*sheet, 85));
    if (jpeg.size() < bytes.size()) {
      bytes = std::move(jpeg);
      mime = "image/jpeg";
    }
  }
  out.src = DataUri(mime, bytes);
  out.frameWidth = fw;
  out.frameHeight = fh;
  out.columns = std::max(1, sheet->Width() / fw);
  return out;
}

std::optional<std::string> FlashCardJson(const flashwizard::FlashProject& project,
                                         const flashwizard::BuildHooks& hooks) {
  std::string timeline;
  flashwizard::MovieInput input;
  const bool built = flashwizard::BuildMovie(project, hooks, [&timeline](flashwizard::FlashDll& dll) {
    auto layout = reinterpret_cast<FlashTimelineProc>(platform::dynlib::Resolve(dll.handle, "FlashTimeline"));
    if (!layout) {
      Error("载入Flash插件失败！请重新下载安装完整的《Lumo贺卡制作》。");
      return false;
    }
    const int32_t length = layout(nullptr, 0);
    if (length > 0) {
      timeline.assign(static_cast<size_t>(length) + 1, '\0');
      if (layout(timeline.data(), length + 1) == length)
        timeline.resize(static_cast<size_t>(length));
      else
        timeline.clear();
    }
    if (timeline.empty() || timeline[0] != '{') {
      Error("生成网页贺卡失败！");
      return false;
    }
    return true;
  }, &input);
  if (!built) return std::nullopt;

  const flashwizard::FlashSettings& st = project.Settings;
  std::string music;
  if (!input.music.empty()) {
    if (auto bytes = platform::files::ReadFile(input.music)) music = SoundDataUri(*bytes);
  }
  std::string json = "{\"kind\":\"flash\",\"title\":" + JsonText(st.Title) +
                     ",\"width\":" + std::to_string(st.Width) + ",\"height\":" + std::to_string(st.Height) +
                     ",\"timeline\":" + timeline;
  json += ",\"pictures\":{\"title\":" + PictureJson(PacketPicture(input.title, false)) +
          ",\"background\":" + PictureJson(PacketPicture(input.background, st.UseJpeg)) +
          ",\"scene\":" + PictureList(input.scenes, st.UseJpeg) +
          ",\"sprinkle\":" + PictureList(input.sprinkles, st.UseJpeg) + "}";
  json += ",\"music\":" + (music.empty() ? std::string("null") : JsonString(music)) + "}";
  return json;
}

bool WriteFlashWebCard(const flashwizard::FlashProject& project, const std::string& outPath,
                       const flashwizard::BuildHooks& hooks) {
  std::optional<std::string> json = FlashCardJson(project, hooks);
  if (!json) return false;
  std::string page;
  try {
    page = WebCardPage(platform::GbkToUtf8(project.Settings.Title), *json, {"flash_host.js"});
  } catch (const platform::Error& e) {
    Error(e.what());
    return false;
  }
  if (!platform::files::WriteFileAtomic(outPath, page)) {
    Error("写入网页贺卡失败！");
    return false;
  }
  return true;
}

bool SaveFlashWebCard(const flashwizard::FlashProject& project, const std::string& outPath,
                      const flashwizard::BuildHooks& hooks) {
  if (!WriteFlashWebCard(project, outPath, hooks)) {
    Error("生成网页贺卡失败！");
    return false;
  }
  platform::shell::Open(outPath);
  return true;
}

}  // namespace web
