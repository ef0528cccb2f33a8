// Times Flash card pages opened from disk in headless Chromium: from the start of navigation to
// the first frame painted after the player has read the movie (its metadata is known, then two
// animation frames have passed). Pages are tried in turn, RUNS times each, a fresh browser
// context every time; the median, the page's size and the size of its folder (give each page a
// folder of its own holding what it loads) are printed per page, with the processor time the
// browser's processes used meanwhile (median; Linux only), which tells the page's own work from
// the time it waited for a busy machine.
//
// The browser is driven through its DevTools pipe with the page and script domains only, as a
// person opening the file has it. A test driver's network domain keeps a decoded copy of every
// response for the debugger: for a 7 MB page that is a few tenths of a second of the renderer's
// time that no reader of the card spends. --network turns that domain on, to show its cost.
//
// usage: node bench/flash_page_load.mjs [--runs N] [--network] LABEL=PAGE.html [LABEL=PAGE.html ...]
// Needs Chromium on the PATH.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { spawn } from "node:child_process";
import { pathToFileURL } from "node:url";

let runs = 3, network = false;
const pages = [];
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; ++i) {
  if (argv[i] === "--runs") runs = Number(argv[++i]);
  else if (argv[i] === "--network") network = true;
  else {
    const at = argv[i].indexOf("=");
    pages.push({ label: argv[i].slice(0, at), file: path.resolve(argv[i].slice(at + 1)), times: [] });
  }
}
if (!pages.length) {
  console.error("usage: node bench/flash_page_load.mjs [--runs N] [--network] LABEL=PAGE.html ...");
  process.exit(2);
}

const chromiumPath = (process.env.PATH || "").split(path.delimiter).map((d) => path.join(d, "chromium"))
  .find((p) => fs.existsSync(p));
if (!chromiumPath) {
  console.error("flash_page_load: no chromium on the PATH (scripts/install-deps.sh installs it)");
  process.exit(2);
}
const profile = fs.mkdtempSync(path.join(os.tmpdir(), "flash-page-load-"));
const chrome = spawn(chromiumPath, [
  "--headless", "--no-sandbox", "--disable-gpu", "--mute-audio", "--autoplay-policy=no-user-gesture-required",
  "--window-size=1000,800", "--no-first-run", "--disable-extensions", "--disable-component-update",
  "--disable-background-networking", "--disable-default-apps", "--disable-sync",
  // The browser's own pages would otherwise load beside the card's. Every fresh browser context
  // starts two renderers for the address bar's pop-ups, which a headless browser never shows and a
  // reader's browser loaded once when it started: together they take most of a core for 3 s.
  "--disable-features=AimEnabled,OptimizationHints,MediaRouter,LensOverlay,WebUIOmniboxPopup,WebUIOmniboxAimPopup",
  "--remote-debugging-pipe", `--user-data-dir=${profile}`, "about:blank"],
  { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });

// The DevTools pipe: JSON messages ended by a NUL byte, written to fd 3 and read from fd 4.
let lastId = 0, pending = [];
const waiting = new Map();
chrome.stdio[4].on("data", (data) => {
  let from = 0, end;
  while ((end = data.indexOf(0, from)) >= 0) {
    pending.push(data.subarray(from, end));
    const m = JSON.parse(Buffer.concat(pending).toString());
    pending = [];
    from = end + 1;
    const w = m.id && waiting.get(m.id);
    if (w) {
      waiting.delete(m.id);
      if (m.error) w.fail(new Error(`${w.method}: ${m.error.message}`));
      else w.done(m.result);
    }
  }
  if (from < data.length) pending.push(Buffer.from(data.subarray(from)));
});
function send(method, params = {}, sessionId = undefined) {
  return new Promise((done, fail) => {
    const id = ++lastId;
    waiting.set(id, { method, done, fail });
    chrome.stdio[3].write(JSON.stringify({ id, method, params, ...(sessionId ? { sessionId } : {}) }) + "\0");
  });
}

const watch = `(() => {
  const tick = () => {
    const p = document.querySelector("ruffle-player, ruffle-object, ruffle-embed");
    if (p && p.ruffle && p.ruffle().metadata)
      requestAnimationFrame(() => requestAnimationFrame(() => { window.__firstFrame = performance.now(); }));
    else requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
})();`;

// Processor time (ms) of the browser and its child processes by process id, from /proc, with
// the ids of the renderers of the browser's own pages (its toolbar's), which should not run.
function browserTicks(rootPid) {
  const parent = new Map(), ticks = new Map();
  for (const d of fs.readdirSync("/proc")) {
    if (!/^\d+$/.test(d)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${d}/stat`, "utf8");
      const f = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      parent.set(Number(d), Number(f[1]));
      ticks.set(Number(d), (Number(f[11]) + Number(f[12])) * 10);
    } catch { /* gone meanwhile */ }
  }
  const out = new Map();
  out.toolbar = new Set();
  for (const [pid, t] of ticks) {
    if (pid === rootPid) { out.set(pid, t); continue; }
    for (let p = parent.get(pid) || 0; p > 1; p = parent.get(p) || 0)
      if (p === rootPid) {
        out.set(pid, t);
        try { if (fs.readFileSync(`/proc/${pid}/cmdline`, "utf8").includes("--top-chrome-webui")) out.toolbar.add(pid); } catch {}
        break;
      }
  }
  return out;
}
function cpuSince(before, after) {
  let ms = 0, toolbar = 0;
  for (const [pid, t] of after) {
    if (after.toolbar.has(pid)) toolbar += t - (before.get(pid) || 0);
    else ms += t - (before.get(pid) || 0);
  }
  return { ms, toolbar };
}

// Bytes of everything in a folder, with its subfolders.
function folderBytes(dir) {
  let total = 0;
  for (const e of fs.readdirSync(dir, { withFileTypes: true }))
    total += e.isDirectory() ? folderBytes(path.join(dir, e.name)) : fs.statSync(path.join(dir, e.name)).size;
  return total;
}

for (let r = 0; r < runs; ++r) {
  for (const p of pages) {
    const { browserContextId } = await send("Target.createBrowserContext");
    const { targetId } = await send("Target.createTarget", { url: "about:blank", browserContextId });
    const { sessionId } = await send("Target.attachToTarget", { targetId, flatten: true });
    await send("Page.enable", {}, sessionId);
    if (network) await send("Network.enable", {}, sessionId);
    await send("Page.addScriptToEvaluateOnNewDocument", { source: watch }, sessionId);
    const before = process.platform === "linux" ? browserTicks(chrome.pid) : null;
    await send("Page.navigate", { url: pathToFileURL(p.file).href }, sessionId);
    const started = Date.now();
    let firstFrame;
    while (firstFrame === undefined) {
      if (Date.now() - started > 120000) throw new Error(`${p.label}: no frame after 120 s`);
      await new Promise((wake) => setTimeout(wake, 50));
      const { result } = await send("Runtime.evaluate", { expression: "window.__firstFrame", returnByValue: true }, sessionId);
      firstFrame = result.value;
    }
    p.times.push(firstFrame);
    if (before) {
      const used = cpuSince(before, browserTicks(chrome.pid));
      (p.cpu = p.cpu || []).push(used.ms);
      if (used.toolbar) (p.toolbar = p.toolbar || []).push(used.toolbar);
    }
    await send("Target.disposeBrowserContext", { browserContextId });
  }
}
chrome.kill();
await new Promise((gone) => chrome.once("exit", gone));
fs.rmSync(profile, { recursive: true, force: true });

const size = (bytes) => bytes < 1048576 ? `${(bytes / 1024).toFixed(1)} KB` : `${(bytes / 1048576).toFixed(2)} MB`;
const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
console.log(`# ${new Date().toISOString()}, ${os.cpus().length} cores, load average ${os.loadavg()[0].toFixed(1)}, ${runs} runs each`);
for (const p of pages)
  console.log(`${p.label}: page ${size(fs.statSync(p.file).size)}, its folder ` +
              `${size(folderBytes(path.dirname(p.file)))}, first frame after ` +
              `${(median(p.times) / 1000).toFixed(2)} s (median; runs ${p.times.map((t) => (t / 1000).toFixed(2)).join(", ")} s)` +
              (p.cpu ? `, browser processor time ${(median(p.cpu) / 1000).toFixed(2)} s` : "") +
              (p.toolbar ? `; the browser's toolbar pages ran in ${p.toolbar.length} of ${p.times.length} runs, ` +
                           `${(median(p.toolbar) / 1000).toFixed(2)} s more (a measurement to discard)` : ""));
