// Times Flash card pages opened from disk in headless Chromium: from the start of navigation to
// the first frame painted after the player has read the movie (its metadata is known, then two
// animation frames have passed). Pages are tried in turn, RUNS times each, a fresh browser
// context every time; the median, the page's size and the size of its folder (give each page a
// folder of its own holding what it loads) are printed per page, with the processor time the
// browser's processes used meanwhile (median; Linux only), which tells the page's own work from
// the time it waited for a busy machine.
//
// usage: node bench/flash_page_load.mjs [--runs N] LABEL=PAGE.html [LABEL=PAGE.html ...]
// Needs the harness's npm packages (scripts/install-deps.sh) and Chromium on the PATH.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { pathToFileURL, fileURLToPath } from "node:url";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(path.join(root, ".cache/npm/node_modules/"));
const { chromium } = require("playwright-core");

let runs = 3;
const pages = [];
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; ++i) {
  if (argv[i] === "--runs") runs = Number(argv[++i]);
  else {
    const at = argv[i].indexOf("=");
    pages.push({ label: argv[i].slice(0, at), file: path.resolve(argv[i].slice(at + 1)), times: [] });
  }
}
if (!pages.length) {
  console.error("usage: node bench/flash_page_load.mjs [--runs N] LABEL=PAGE.html ...");
  process.exit(2);
}

const chromiumPath = (process.env.PATH || "").split(path.delimiter).map((d) => path.join(d, "chromium"))
  .find((p) => fs.existsSync(p));
const browser = await chromium.launch({ executablePath: chromiumPath, headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--mute-audio", "--autoplay-policy=no-user-gesture-required"] });

const watch = `(() => {
  const tick = () => {
    const p = document.querySelector("ruffle-player, ruffle-object, ruffle-embed");
    if (p && p.ruffle && p.ruffle().metadata)
      requestAnimationFrame(() => requestAnimationFrame(() => { window.__firstFrame = performance.now(); }));
    else requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
})();`;

// Processor time (ms) of our child processes (the browser's) by process id, from /proc.
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
  for (const [pid, t] of ticks) {
    if (pid === rootPid) continue;
    for (let p = parent.get(pid) || 0; p > 1; p = parent.get(p) || 0)
      if (p === rootPid) { out.set(pid, t); break; }
  }
  return out;
}
function cpuSince(before, after) {
  let ms = 0;
  for (const [pid, t] of after) ms += t - (before.get(pid) || 0);
  return ms;
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
    const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
    const page = await context.newPage();
    await page.addInitScript({ content: watch });
    const rootPid = process.platform === "linux" ? process.pid : undefined;  // the browser is our child
    const before = rootPid ? browserTicks(rootPid) : new Map();
    await page.goto(pathToFileURL(p.file).href);
    await page.waitForFunction(() => window.__firstFrame !== undefined, null, { timeout: 120000, polling: 50 });
    p.times.push(await page.evaluate(() => window.__firstFrame));
    if (rootPid) (p.cpu = p.cpu || []).push(cpuSince(before, browserTicks(rootPid)));
    await context.close();
  }
}
await browser.close();

const size = (bytes) => bytes < 1048576 ? `${(bytes / 1024).toFixed(1)} KB` : `${(bytes / 1048576).toFixed(2)} MB`;
const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
console.log(`# ${new Date().toISOString()}, ${os.cpus().length} cores, load average ${os.loadavg()[0].toFixed(1)}, ${runs} runs each`);
for (const p of pages)
  console.log(`${p.label}: page ${size(fs.statSync(p.file).size)}, its folder ` +
              `${size(folderBytes(path.dirname(p.file)))}, first frame after ` +
              `${(median(p.times) / 1000).toFixed(2)} s (median; runs ${p.times.map((t) => (t / 1000).toFixed(2)).join(", ")} s)` +
              (p.cpu ? `, browser processor time ${(median(p.cpu) / 1000).toFixed(2)} s` : ""));
