#include "flashwizard/inline_player.h"

#include <zlib.h>

#include <sstream>

#include "platform/files.h"
#include "platform/text.h"

namespace flashwizard {

namespace {

// Set up before the page's data: answers the player's requests for its WebAssembly core and for
// the movie from the data elements of the page; everything else goes to the browser.
// The core (base64 of gzip) is decoded here and its bytes handed, without a copy, to a worker
// thread that unpacks and compiles it; the worker is started first so that it is running by the
// time the page's 7 MB have been read, and the main thread meanwhile reads the player's scripts.
// The player's own request for the core is answered with an empty marked response, and its
// instantiation takes the compiled module. Where a worker cannot start or cannot hand the
// module over, the main thread compiles it.
// Where WebGL is drawn in software (a browser without a GPU) or missing, the player draws on a
// plain canvas instead: starting its WebGL renderer there takes seconds, and the pictures,
// moves and fades of a card movie look the same either way.
constexpr char kLoaderScript[] = R"JS((function(){
function bytes(s){if(Uint8Array.fromBase64)return Uint8Array.fromBase64(s);
var b=atob(s),o=new Uint8Array(b.length);for(var i=0;i<b.length;i++)o[i]=b.charCodeAt(i);return o;}
// The whole input in one write: reading it from a Blob in pieces is several times slower.
function inflated(b){var d=new DecompressionStream("gzip"),w=d.writable.getWriter();
w.write(b).catch(function(){});w.close().catch(function(){});return d.readable;}
function compile(b){return WebAssembly.compileStreaming(new Response(inflated(b),{headers:{"Content-Type":"application/wasm"}}));}
function work(){onmessage=function(e){compile(e.data).then(function(m){postMessage(m);},function(x){postMessage(String(x));});};}
var W=WebAssembly,real=window.fetch.bind(window),got={},core=null,worker=null,failed=false,settle=null;
var wasm="@WASM@",movie=new URL("@MOVIE@",document.baseURI).href;
try{worker=new Worker(URL.createObjectURL(new Blob([[inflated,compile,"("+work+")();"].join("\n")],{type:"text/javascript"})));
worker.onmessage=function(e){if(settle)settle(e.data);};
worker.onerror=function(e){e.preventDefault();failed=true;if(settle)settle(null);};}catch(e){worker=null;}
// Called by the page right after the core's data element.
window.cardPlayerData=function(){var s=document.getElementById("lm-wasm").textContent;
core=!worker||failed?compile(bytes(s)):new Promise(function(ok){
settle=function(m){settle=null;worker.terminate();ok(m instanceof W.Module?m:compile(bytes(s)));};
var b=bytes(s);worker.postMessage(b,[b.buffer]);});};
function unpack(id){return got[id]||(got[id]=new Response(inflated(bytes(document.getElementById(id).textContent))).arrayBuffer());}
var instantiate=W.instantiateStreaming;
W.instantiateStreaming=function(source,imports){return Promise.resolve(source).then(function(r){
if(!core||!r||!r.headers||r.headers.get("X-Card-Core")!=="1")return instantiate.call(W,r,imports);
return core.then(function(m){return W.instantiate(m,imports).then(function(i){return{module:m,instance:i};});});});};
window.fetch=function(input,init){
var u=new URL(typeof input==="string"?input:(input&&input.url)||String(input),document.baseURI);
var id=u.href===movie?"lm-movie":u.pathname.split("/").pop()===wasm?"lm-wasm":null;
if(!id)return real(input,init);
if(id==="lm-wasm")return Promise.resolve(new Response(new Uint8Array(0),{status:200,headers:{"Content-Type":"application/wasm","X-Card-Core":"1"}}));
return unpack(id).then(function(b){return new Response(b,{status:200,headers:{"Content-Type":"application/x-shockwave-flash"}});});};
var cfg=window.RufflePlayer=window.RufflePlayer||{};cfg=cfg.config=cfg.config||{};
if(!cfg.preferredRenderer){try{var c=document.createElement("canvas"),g=c.getContext("webgl"),i=g&&g.getExtension("WEBGL_debug_renderer_info"),r=i?String(g.getParameter(i.UNMASKED_RENDERER_WEBGL)):"";
if(!g||/swiftshader|llvmpipe|softpipe|software/i.test(r))cfg.preferredRenderer="canvas";
var l=g&&g.getExtension("WEBGL_lose_context");if(l)l.loseContext();}catch(e){cfg.preferredRenderer="canvas";}}
})();)JS";

std::string DataElement(const char* id, std::string_view gzipped) {
  return std::string("<script type=\"application/octet-stream\" id=\"") + id + "\">" + platform::Base64(gzipped) +
         "</script>";
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
  std::string before = page.substr(0, at), after = page.substr(at + tag.size());
  std::string loader =
      platform::ReplaceText(platform::ReplaceText(kLoaderScript, "@WASM@", wasmName), "@MOVIE@", movieAddress);
  // A browser reads a UTF-8 page of this size a tenth of a second sooner than a GBK one. The
  // player's scripts are ASCII; the page's text and the movie's address are converted.
  const std::string gbk = "charset=\"gbk\"";
  if (size_t charset = platform::AsciiLower(before).find(gbk); charset != std::string::npos) {
    before = platform::GbkToUtf8(before.replace(charset, gbk.size(), "charset=\"utf-8\""));
    after = platform::GbkToUtf8(after);
    loader = platform::GbkToUtf8(loader);
  }
  // The core script before the player's: the player finds it already loaded instead of asking for it.
  return before + "<script>" + loader + "</script>" + DataElement("lm-wasm", *wasm) +
         "<script>cardPlayerData();</script>" + DataElement("lm-movie", movieGz) + "<script>" + coreScript +
         "</script><script>" + playerScript + "</script>" + after;
}

}  // namespace flashwizard
