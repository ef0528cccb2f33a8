#include "flashwizard/inline_player.h"

#include <zlib.h>

#include <sstream>

#include "platform/files.h"
#include "platform/text.h"

namespace flashwizard {

namespace {

// Printable ASCII without the characters that mean something in a page or a script string.
const std::string& Alphabet() {
  static const std::string a = [] {
    std::string s;
    for (char c = '!'; c <= '~' && s.size() < 85; ++c)
      if (std::string_view("\"'\\<>&`").find(c) == std::string_view::npos) s += c;
    return s;
  }();
  return a;
}

// Answers the player's requests for its WebAssembly core and for the movie from the data
// elements of the page; everything else goes to the browser. Unpacking starts at once.
// Where WebGL is drawn in software (a browser without a GPU) or missing, the player draws on a
// plain canvas instead: starting its WebGL renderer there takes seconds, and the pictures,
// moves and fades of a card movie look the same either way.
constexpr char kLoaderScript[] = R"JS((function(){
var A="@ALPHABET@",real=window.fetch.bind(window),got={};
function data(id){var e=document.getElementById(id),s=e.textContent,n=+e.getAttribute("data-size"),m=new Uint8Array(128),o=new Uint8Array(Math.ceil(n/4)*4);
for(var i=0;i<85;i++)m[A.charCodeAt(i)]=i;
for(var i=0,j=0;i+5<=s.length;i+=5,j+=4){var v=(((m[s.charCodeAt(i)]*85+m[s.charCodeAt(i+1)])*85+m[s.charCodeAt(i+2)])*85+m[s.charCodeAt(i+3)])*85+m[s.charCodeAt(i+4)];
o[j]=v/16777216&255;o[j+1]=v>>>16&255;o[j+2]=v>>>8&255;o[j+3]=v&255;}
return new Response(new Blob([o.subarray(0,n)]).stream().pipeThrough(new DecompressionStream("gzip"))).arrayBuffer();}
function unpack(id){return got[id]||(got[id]=data(id));}
var wasm="@WASM@",movie=new URL("@MOVIE@",document.baseURI).href;
window.fetch=function(input,init){
var u=new URL(typeof input==="string"?input:(input&&input.url)||String(input),document.baseURI);
var id=u.href===movie?"lm-movie":u.pathname.split("/").pop()===wasm?"lm-wasm":null;
if(!id)return real(input,init);
return unpack(id).then(function(b){return new Response(b,{status:200,headers:{"Content-Type":id==="lm-wasm"?"application/wasm":"application/x-shockwave-flash"}});});};
unpack("lm-wasm");
var cfg=window.RufflePlayer=window.RufflePlayer||{};cfg=cfg.config=cfg.config||{};
if(!cfg.preferredRenderer){try{var c=document.createElement("canvas"),g=c.getContext("webgl"),i=g&&g.getExtension("WEBGL_debug_renderer_info"),r=i?String(g.getParameter(i.UNMASKED_RENDERER_WEBGL)):"";
if(!g||/swiftshader|llvmpipe|softpipe|software/i.test(r))cfg.preferredRenderer="canvas";
var l=g&&g.getExtension("WEBGL_lose_context");if(l)l.loseContext();}catch(e){cfg.preferredRenderer="canvas";}}
})();)JS";

std::string DataElement(const char* id, std::string_view gzipped) {
  return std::string("<script type=\"application/octet-stream\" id=\"") + id + "\" data-size=\"" +
         std::to_string(gzipped.size()) + "\">" + Base85(gzipped) + "</script>";
}

// A script's text may stand inline when nothing in it ends the element or changes how it is read.
bool SafeInline(const std::string& script) {
  const std::string lower = platform::AsciiLower(script);
  return lower.find("</script") == std::string::npos && lower.find("<!--") == std::string::npos;
}

std::string WithoutSourceMap(std::string script) {
  size_t at = script.rfind("//# sourceMappingURL=");
  if (at != std::string::npos) script.erase(at);
  return script;
}

}  // namespace

std::string Gzip(std::string_view bytes) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&z, bytes.size()) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return rc == Z_STREAM_END ? out : std::string();
}

std::string Base85(std::string_view bytes) {
  const std::string& a = Alphabet();
  std::string out;
  out.reserve((bytes.size() + 3) / 4 * 5);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v = v << 8 | (i + k < bytes.size() ? static_cast<uint8_t>(bytes[i + k]) : 0);
    char group[5];
    for (int k = 4; k >= 0; --k) {
      group[k] = a[v % 85];
      v /= 85;
    }
    out.append(group, 5);
  }
  return out;
}

std::optional<std::string> InlinePlayer(const std::string& page, std::string_view movie,
                                        const std::string& movieAddress, const std::string& playerFolder) {
  const std::string tag = "<script src=\"ruffle/ruffle.js\"></script>";
  size_t at = platform::AsciiLower(page).find(tag);
  if (at == std::string::npos) return page;  // a page that does not use the player
  auto manifest = platform::files::ReadFile(playerFolder + "page-player.txt");
  if (!manifest) return std::nullopt;
  std::istringstream lines(*manifest);
  std::string coreName, wasmName;
  if (!std::getline(lines, coreName) || !std::getline(lines, wasmName)) return std::nullopt;
  if (!coreName.empty() && coreName.back() == '\r') coreName.pop_back();
  if (!wasmName.empty() && wasmName.back() == '\r') wasmName.pop_back();
  auto player = platform::files::ReadFile(playerFolder + "ruffle.js");
  auto core = platform::files::ReadFile(playerFolder + coreName);
  auto wasm = platform::files::ReadFile(playerFolder + wasmName + ".gz");
  if (!player || !core || !wasm || wasmName.empty()) return std::nullopt;
  std::string playerScript = WithoutSourceMap(*player), coreScript = WithoutSourceMap(*core);
  if (!SafeInline(playerScript) || !SafeInline(coreScript) || !SafeInline(movieAddress)) return std::nullopt;
  const std::string movieGz = Gzip(movie);
  if (movieGz.empty()) return std::nullopt;
  std::string loader = platform::ReplaceText(
      platform::ReplaceText(platform::ReplaceText(kLoaderScript, "@ALPHABET@", Alphabet()), "@WASM@", wasmName),
      "@MOVIE@", movieAddress);
  // The core script first: the player finds it already loaded instead of asking for it.
  std::string inline_ = DataElement("lm-wasm", *wasm) + DataElement("lm-movie", movieGz) + "<script>" + loader +
                        "</script><script>" + coreScript + "</script><script>" + playerScript + "</script>";
  return page.substr(0, at) + inline_ + page.substr(at + tag.size());
}

}  // namespace flashwizard
