// Opens a Flash card page in headless Chromium from a server on 127.0.0.1 (nothing else may
// be reached), waits until the Ruffle player on it has loaded the movie and played a while,
// and screenshots the player.
// usage: node page_check.mjs PLAYWRIGHT_CORE_DIR FOLDER PAGE OUT.png [SECONDS]
// With PAGE_CHECK_FROM_DISK=1 the page is opened as a file: address instead (no server is used).
// Prints one JSON line {loaded, errors, blocked, title}; exit 0 when the movie loaded.
import http from "node:http";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";

const [pwDir, folder, pageName, outPng, seconds = "2"] = process.argv.slice(2);
const require = createRequire(path.join(pwDir, "package.json"));
const { chromium } = require("playwright-core");
const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".swf": "application/x-shockwave-flash" };
const server = http.createServer((req, res) => {
  const rel = decodeURIComponent(new URL(req.url, "http://127.0.0.1").pathname).replace(/^\/+/, "");
  const file = path.resolve(folder, rel);
  if (!file.startsWith(path.resolve(folder)) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    res.writeHead(404);
    return res.end();
  }
  res.writeHead(200, { "content-type": types[path.extname(file)] || "application/octet-stream" });
  fs.createReadStream(file).pipe(res);
});
await new Promise((r) => server.listen(0, "127.0.0.1", r));
const origin = `http://127.0.0.1:${server.address().port}`;
const fromDisk = process.env.PAGE_CHECK_FROM_DISK === "1";
const profile = fs.mkdtempSync(path.join(os.tmpdir(), "flashpage-profile-"));
const report = { loaded: false, errors: [], blocked: [] };
let context;
try {
  context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium", headless: true,
    viewport: { width: 1000, height: 800 },
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--mute-audio"],
  });
  await context.route("**/*", (route) => {
    const url = route.request().url();
    if (url.startsWith(fromDisk ? "file:" : origin + "/") || url.startsWith("data:") || url.startsWith("blob:"))
      return route.continue();
    report.blocked.push(url);
    return route.abort();
  });
  const page = context.pages()[0] || (await context.newPage());
  page.on("pageerror", (e) => report.errors.push(String(e)));
  await page.goto(fromDisk ? pathToFileURL(path.join(folder, pageName)).href
                           : origin + "/" + encodeURIComponent(pageName));
  report.title = await page.title();
  const deadline = Date.now() + 90000;
  while (Date.now() < deadline) {
    report.loaded = await page.evaluate(() => {
      const p = document.querySelector("ruffle-player, ruffle-object, ruffle-embed");
      return !!(p && p.ruffle && p.ruffle().metadata);
    });
    if (report.loaded) break;
    await new Promise((r) => setTimeout(r, 200));
  }
  if (report.loaded) {
    await new Promise((r) => setTimeout(r, Number(seconds) * 1000));
    await page.locator("ruffle-player").first().screenshot({ path: outPng });
  }
} catch (e) {
  report.errors.push("driver: " + String(e));
} finally {
  if (context) await context.close().catch(() => {});
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(JSON.stringify(report));
process.exit(report.loaded ? 0 : 2);
