#include "player/web/web_page.h"

#include <cstdio>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/media_probe.h"
#include "platform/paths.h"
#include "platform/png_writer.h"
#include "platform/text.h"

namespace web {

std::string WebPlayerFolder() { return platform::paths::ProgramFolder() + "web\\"; }

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  out.reserve(utf8.size() + 2);
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    // U+2028 / U+2029 (E2 80 A8 / E2 80 A9) end lines in older script parsers.
    if (c == 0xE2 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
        (static_cast<unsigned char>(utf8[i + 2]) == 0xA8 || static_cast<unsigned char>(utf8[i + 2]) == 0xA9)) {
      out += static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '<': out += "\\u003c"; break;
      case '>': out += "\\u003e"; break;
      case '&': out += "\\u0026"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::string JsonText(std::string_view gbk) { return JsonString(platform::GbkToUtf8(gbk)); }

std::string DataUri(std::string_view mime, std::string_view bytes) {
  return "data:" + std::string(mime) + ";base64," + platform::Base64(bytes);
}

std::string PngDataUri(const platform::Bitmap& bitmap) {
  const std::vector<uint8_t> png = platform::EncodePng(bitmap);
  return DataUri("image/png", std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

std::string SoundDataUri(std::string_view bytes) {
  if (bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WAVE") {
    return DataUri("audio/wav", bytes);
  }
  const bool id3 = bytes.size() >= 3 && bytes.substr(0, 3) == "ID3";
  const bool frame = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                     (static_cast<unsigned char>(bytes[1]) & 0xE0) == 0xE0;
  if (id3 || frame) return DataUri("audio/mpeg", bytes);
  return {};
}

std::string MediaFileDataUri(const std::string& path, const MediaConverter& convert, int64_t* lengthMs) {
  if (lengthMs) *lengthMs = 0;
  auto bytes = platform::files::ReadFile(path);
  return bytes ? MediaDataUri(path, *bytes, convert, lengthMs) : std::string();
}

std::string MediaDataUri(const std::string& name, std::string_view bytes, const MediaConverter& convert,
                         int64_t* lengthMs) {
  if (lengthMs) *lengthMs = 0;
  std::string uri = SoundDataUri(bytes);
  std::string_view played = bytes;
  std::optional<ConvertedMedia> converted;
  if (uri.empty() && convert && (converted = convert(name, bytes))) {
    uri = DataUri(converted->mime, converted->bytes);
    played = converted->bytes;
  }
  if (!uri.empty() && lengthMs) *lengthMs = platform::media::Probe(platform::media::BufferSource(played)).lengthMs;
  return uri;
}

namespace {

std::string ReadPlayerFile(const std::string& name) {
  const std::string path = WebPlayerFolder() + name;
  auto bytes = platform::files::ReadFile(path);
  if (!bytes) throw platform::FileError("网页贺卡的播放程序文件 " + path + " 不存在。");
  return *bytes;
}

// A script's text inside <script>: a "</script" in it (only ever inside a string or a comment
// of the player's code) is written "<\\/script", which reads the same there.
std::string ScriptBody(std::string text) {
  for (size_t at = 0; (at = text.find("</", at)) != std::string::npos; at += 3) {
    if (at + 2 < text.size() && (text[at + 2] == 's' || text[at + 2] == 'S')) text.replace(at, 2, "<\\/");
  }
  return text;
}

std::string HtmlText(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string WebCardPage(std::string_view titleUtf8, std::string_view cardJson) {
  return WebCardPage(titleUtf8, cardJson, {"card_rules.js", "card_host.js"});
}

std::string WebCardPage(std::string_view titleUtf8, std::string_view cardJson,
                        const std::vector<std::string>& scripts) {
  std::vector<std::string> bodies;
  size_t size = cardJson.size() + 2048;
  for (const std::string& name : scripts) {
    bodies.push_back(ReadPlayerFile(name));
    size += bodies.back().size();
  }
  std::string page;
  page.reserve(size);
  page +=
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
      "script-src 'unsafe-inline' 'wasm-unsafe-eval'; style-src 'unsafe-inline'; img-src data: blob:; "
      "media-src data: blob:; connect-src data:; form-action 'none'; base-uri 'none'\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  page += HtmlText(titleUtf8);
  page +=
      "</title>\n<style>\n"
      "html,body{margin:0;background:#808080;height:100%}\n"
      "#card{display:block}\n"
      "#message{position:fixed;left:50%;top:40%;transform:translate(-50%,-50%);background:#f0f0f0;"
      "border:1px solid #404040;padding:16px 20px;font:14px sans-serif;white-space:pre-wrap;max-width:80%;"
      "box-shadow:2px 2px 8px #0008;display:none}\n"
      "#message button{display:block;margin:12px auto 0;min-width:72px}\n"
      "#ended{position:fixed;left:0;right:0;bottom:8px;text-align:center;font:13px sans-serif;color:#fff;"
      "display:none}\n"
      "</style>\n</head><body>\n<canvas id=\"card\"></canvas>\n"
      "<div id=\"message\" role=\"alertdialog\"><div id=\"message-text\"></div><button id=\"message-ok\">OK</button>"
      "</div>\n<div id=\"ended\"></div>\n"
      "<script type=\"application/json\" id=\"card-data\">";
  page += cardJson;
  page += "</script>\n";
  for (std::string& body : bodies) {
    page += "<script>\n";
    page += ScriptBody(std::move(body));
    page += "\n</script>\n";
  }
  page += "</body></html>\n";
  return page;
}

}  // namespace web
