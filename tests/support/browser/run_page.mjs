// Opens one page in headless Chromium, runs a list of steps against a fake clock and prints
// one JSON report line. Driven by tests/support/browser_page.cpp; see docs/architecture.md.
//
// usage: node run_page.mjs JOB.json
// The job (all paths absolute or relative to the working folder):
//   modules   folder holding playwright-core (.cache/npm/node_modules)
//   file      a page opened from disk as a file: address, or
//   serve     {root, mounts: {"/prefix/": folder}, page: "/path"}: a static server on
//             127.0.0.1 (stopped before the script ends) and the page taken from it
//   viewport  [width, height] in CSS pixels (device scale 1)
//   clock     true (default): a fake clock starting at 0 and paused; time moves only in steps
//   init      scripts run in the page before its own scripts
//   ready     a JavaScript expression polled in real time until true (default: true)
//   zero      an expression tried while the clock moves 16 ms at a time: a number is the
//             fake time of time zero, true means now; steps count from time zero
//   steps     [{at: ms, shot: png, selector?: css, clip?: [x, y, w, h]},
//              {at: ms, click: [x, y]}, {at: ms, eval: expr, name: key}]; at is relative
//             to time zero, in order; with no fake clock, at is waited for in real time
//   timeout   seconds for ready and zero (default 30)
// The report: ok, failure, console [{type, text}], page_errors, blocked (requests refused:
// only the page's own server, file:, data: and blob: may be reached), not_found (addresses
// the server did not have), values {name: value},
// shots [{png, at, now}], zero.
// Exit 0 when every step ran, 2 when the page failed (not ready, no time zero, a step
// failed), 1 when the job or the browser could not start.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";

const report = { ok: false, failure: null, console: [], page_errors: [], blocked: [], not_found: [], values: {},
  shots: [], zero: null };
function finish(code) {
  report.ok = code === 0;
  process.stdout.write(JSON.stringify(report) + "\n", () => process.exit(code));
}

// Chromium is whichever the PATH offers.
function findChromium() {
  for (const dir of (process.env.PATH || "").split(path.delimiter)) {
    for (const name of ["chromium", "chromium-browser"]) {
      const p = path.join(dir || ".", name);
      try {
        fs.accessSync(p, fs.constants.X_OK);
        return p;
      } catch {}
    }
  }
  return null;
}

// No charset for pages: a card page says its own (often GBK) in its meta tag.
const TYPES = { ".html": "text/html", ".htm": "text/html", ".js": "text/javascript",
  ".mjs": "text/javascript", ".wasm": "application/wasm", ".json": "application/json", ".css": "text/css",
  ".png": "image/png", ".jpg": "image/jpeg", ".gif": "image/gif", ".swf": "application/x-shockwave-flash",
  ".mp3": "audio/mpeg", ".wav": "audio/wav", ".mid": "audio/midi" };

// Serves files from root and the mounted folders; nothing outside them.
function startServer(serve) {
  const mounts = Object.entries(serve.mounts || {}).sort((a, b) => b[0].length - a[0].length);
  mounts.push(["/", serve.root]);
  const server = http.createServer((req, res) => {
    let file = null;
    try {
      const name = decodeURIComponent(new URL(req.url, "http://127.0.0.1").pathname);
      const [prefix, folder] = mounts.find(([p]) => name.startsWith(p)) || [];
      if (folder) {
        const base = path.resolve(folder);
        const f = path.resolve(base, name.slice(prefix.length));
        if ((f === base || f.startsWith(base + path.sep)) && fs.statSync(f).isFile()) file = f;
      }
    } catch {}
    if (!file) {
      report.not_found.push(req.url);
      res.writeHead(404);
      return res.end();
    }
    res.writeHead(200, { "content-type": TYPES[path.extname(file).toLowerCase()] || "application/octet-stream" });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.listen(0, "127.0.0.1", () => resolve(server));
  });
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Moves the fake clock. A timer that throws does not stop the others; the clock reports the
// first such error when it is done, and here it counts as the page's uncaught error it is.
async function advance(page, ms) {
  try {
    await page.clock.runFor(ms);
  } catch (e) {
    const text = String(e && e.message ? e.message : e).replace(/^clock\.runFor: /, "");
    if (/Target (page, context or browser )?(has been )?closed/.test(text)) throw e;
    report.page_errors.push(text.slice(0, 4000));
  }
}

async function main() {
  const jobFile = process.argv[2];
  if (!jobFile) {
    report.failure = "usage: node run_page.mjs JOB.json";
    return 1;
  }
  let job;
  try {
    job = JSON.parse(fs.readFileSync(jobFile, "utf8"));
  } catch (e) {
    report.failure = "cannot read the job: " + e.message;
    return 1;
  }
  const modules = path.resolve(job.modules || "");
  if (!fs.existsSync(path.join(modules, "playwright-core", "package.json"))) {
    report.failure = `playwright-core is not in ${modules} (run scripts/install-deps.sh)`;
    return 1;
  }
  const chromiumPath = findChromium();
  if (!chromiumPath) {
    report.failure = "no chromium on the PATH (run scripts/install-deps.sh)";
    return 1;
  }
  const { chromium } = createRequire(path.join(modules, "package.json"))("playwright-core");
  const timeoutMs = (job.timeout || 30) * 1000;
  const useClock = job.clock !== false;
  const [width, height] = job.viewport || [800, 600];

  let server = null;
  let browser = null;
  try {
    let url;
    let origin = null;
    if (job.serve) {
      server = await startServer(job.serve);
      origin = `http://127.0.0.1:${server.address().port}`;
      url = origin + (job.serve.page || "/");
    } else if (job.file) {
      url = pathToFileURL(path.resolve(job.file)).href;
    } else {
      report.failure = "the job names neither a file nor a server";
      return 1;
    }
    browser = await chromium.launch({
      executablePath: chromiumPath,
      headless: true,
      args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
        "--disable-component-update", "--disable-sync", "--mute-audio", "--autoplay-policy=no-user-gesture-required"],
    });
    const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: 1 });
    await context.route("**/*", (route) => {
      const u = route.request().url();
      if ((origin && u.startsWith(origin + "/")) || /^(file|data|blob):/.test(u)) return route.continue();
      report.blocked.push(u);
      return route.abort();
    });
    const page = await context.newPage();
    page.on("console", (m) => report.console.push({ type: m.type(), text: m.text().slice(0, 4000) }));
    page.on("pageerror", (e) => report.page_errors.push(String(e).slice(0, 4000)));
    for (const script of job.init || []) await page.addInitScript({ content: script });
    if (useClock) {
      await page.clock.install({ time: 0 });
      await page.clock.pauseAt(1000);
    }
    await page.goto(url);

    const deadline = Date.now() + timeoutMs;
    if (job.ready) {
      while (!(await page.evaluate(job.ready))) {
        if (Date.now() > deadline) {
          report.failure = "the page never became ready: " + job.ready;
          return 2;
        }
        await sleep(25);
      }
    }
    const now = () => page.evaluate(() => performance.now());
    let zero = await now();
    if (job.zero) {
      for (;;) {
        const z = await page.evaluate(job.zero);
        if (typeof z === "number") { zero = z; break; }
        if (z) { zero = await now(); break; }
        if (Date.now() > deadline) {
          report.failure = "time zero never came: " + job.zero;
          return 2;
        }
        if (useClock) await advance(page, 16);
        else await sleep(16);
      }
    }
    report.zero = zero;

    for (const step of job.steps || []) {
      const left = zero + (step.at || 0) - (await now());
      if (left > 0) {
        if (useClock) await advance(page, Math.ceil(left));
        else await sleep(Math.ceil(left));
      }
      if (step.shot) {
        const shot = { png: step.shot, at: step.at || 0, now: (await now()) - zero };
        if (step.selector) await page.locator(step.selector).first().screenshot({ path: step.shot });
        else if (step.clip) {
          const [x, y, w, h] = step.clip;
          await page.screenshot({ path: step.shot, clip: { x, y, width: w, height: h } });
        } else await page.screenshot({ path: step.shot });
        report.shots.push(shot);
      }
      if (step.click) await page.mouse.click(step.click[0], step.click[1]);
      if (step.eval) report.values[step.name || step.eval] = await page.evaluate(step.eval);
    }
    return 0;
  } catch (e) {
    report.failure = "browser: " + String(e).slice(0, 4000);
    return browser ? 2 : 1;
  } finally {
    if (browser) await browser.close().catch(() => {});
    if (server) server.close();
  }
}

finish(await main());
