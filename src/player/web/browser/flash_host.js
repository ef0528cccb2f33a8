// The browser host of a Flash card's web card. The SWF writer laid the movie out when the page
// was built: for every frame, which picture is on the stage, where, how large and how opaque
// (data.timeline). This script only draws that layout on a canvas with the movie's pictures
// and plays its music; it decides nothing of its own. Card texts reach the page as text only.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('card-data').textContent);
  const tl = data.timeline;
  const canvas = document.getElementById('card');
  const ctx = canvas.getContext('2d');
  const state = { t0: -1, ready: false, frames: 0, busyMs: 0, firstPaint: -1, frame: -1, soundAllowed: false,
                  music: null, musicHeld: false };
  window.webCard = state;

  function loadPicture(pic) {
    if (!pic) return Promise.resolve(null);
    return new Promise(function (resolve) {
      const img = new Image();
      img.onload = function () { resolve(Object.assign({ img: img, tiles: [] }, pic)); };
      img.onerror = function () { resolve(null); };
      img.src = pic.src;
    });
  }

  // The item's last step at or before frame f, or null while it is not on the stage.
  function stepAt(item, f) {
    const s = item.steps;
    if (!s.length || f < s[0][0]) return null;
    let lo = 0, hi = s.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (s[mid][0] <= f) lo = mid; else hi = mid - 1;
    }
    return s[lo].length > 1 ? s[lo] : null;
  }

  // The picture frame an animation shows `since` movie frames after it was placed.
  function frameAt(item, since) {
    let k = item.cycle > 0 ? since % item.cycle : 0;
    for (const e of item.schedule) {
      if (k < e[1]) return e[0];
      k -= e[1];
    }
    return 0;
  }

  function tileOf(pic, k, sx, sy) {
    if (!pic.tiles[k]) {
      const c = document.createElement('canvas');
      c.width = pic.fw; c.height = pic.fh;
      c.getContext('2d').drawImage(pic.img, sx, sy, pic.fw, pic.fh, 0, 0, pic.fw, pic.fh);
      pic.tiles[k] = ctx.createPattern(c, 'repeat');
    }
    return pic.tiles[k];
  }

  function drawItem(item, f) {
    const st = stepAt(item, f);
    if (!st) return;
    ctx.setTransform(st[1], st[2], st[3], st[4], st[5], st[6]);
    ctx.globalAlpha = Math.max(0, Math.min(1, st[7] / 256));
    ctx.globalCompositeOperation = item.blend === 1 ? 'screen' : 'source-over';
    if (item.color) {
      ctx.fillStyle = item.color;
      ctx.fillRect(0, 0, item.w, item.h);
      return;
    }
    const pic = item.pic;
    if (!pic) return;
    const k = frameAt(item, f - item.steps[0][0]);
    const sx = (k % pic.columns) * pic.fw, sy = Math.floor(k / pic.columns) * pic.fh;
    if (item.tiled) {
      ctx.fillStyle = tileOf(pic, k, sx, sy);
      ctx.fillRect(0, 0, item.w, item.h);
    } else {
      ctx.drawImage(pic.img, sx, sy, pic.fw, pic.fh, 0, 0, item.w, item.h);
    }
  }

  // The music plays over its frames; it starts again when the movie does.
  function keepMusic(f, previous) {
    const m = tl.music;
    if (!m || !data.music) return;
    if (!state.music) {
      state.music = new Audio(data.music);
      state.music.loop = m.repeat;
    }
    const a = state.music;
    if (f < m.start || f >= m.end) {
      if (!a.paused) a.pause();
      return;
    }
    if (f < previous || previous < m.start) a.currentTime = m.skipMs / 1000;
    if (a.paused && !state.musicHeld) {
      state.musicHeld = true;  // until the browser answers
      a.play().then(function () { state.soundAllowed = true; state.musicHeld = false; }, function () {});
    }
  }

  function movieFrame(t) {
    const f = Math.floor(t / tl.frameMs);
    return tl.loop ? f % tl.frames : Math.min(f, tl.frames - 1);
  }

  function paint() {
    const t = performance.now() - state.t0;
    const f = movieFrame(t);
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalAlpha = 1;
    ctx.globalCompositeOperation = 'source-over';
    ctx.fillStyle = tl.stage;
    ctx.fillRect(0, 0, tl.width, tl.height);
    for (const item of tl.items) drawItem(item, f);
    keepMusic(f, state.frame);
    state.frame = f;
    state.frames++;
    return t;
  }
  state.paintNow = paint;

  function loop() {
    const started = performance.now();
    paint();
    state.busyMs += performance.now() - started;
    requestAnimationFrame(loop);
  }

  // A browser that holds sound back until the page is clicked gets the music on the click.
  canvas.addEventListener('click', function () {
    if (state.soundAllowed || !state.music) return;
    state.musicHeld = false;
    state.frame = -1;
  });

  document.title = data.title || document.title;
  canvas.width = tl.width;
  canvas.height = tl.height;
  const parts = ['title', 'background', 'scene', 'sprinkle'];
  Promise.all(parts.map(function (part) {
    const p = data.pictures[part];
    return Array.isArray(p) ? Promise.all(p.map(loadPicture)) : loadPicture(p);
  })).then(function (loaded) {
    const pictures = {};
    parts.forEach(function (part, i) { pictures[part] = loaded[i]; });
    for (const item of tl.items) {
      const p = pictures[item.part];
      item.pic = Array.isArray(p) ? p[item.index] || null : p || null;
      item.cycle = item.schedule.reduce(function (sum, e) { return sum + e[1]; }, 0);
    }
    state.t0 = performance.now();
    loop();
    state.firstPaint = performance.now();
    state.ready = true;
  });
})();
