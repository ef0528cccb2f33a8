// The browser host of a web card: draws the card on a canvas, plays its sounds, forwards
// clicks. What the card does was decided when the page was built (the card's data: pictures,
// effect lists) or is decided by the card rules in WebAssembly (CardRules: the show box and
// caption places); this script only carries it out. Card texts reach the page as text only.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('card-data').textContent);
  const canvas = document.getElementById('card');
  const ctx = canvas.getContext('2d');
  const state = {
    t0: -1, ready: false, ended: false, frames: 0, busyMs: 0, firstPaint: -1, soundAllowed: false,
    box: null, gifs: [], captions: [], layers: [], music: null,
  };
  window.webCard = state;

  function loadImage(src) {
    return new Promise(function (resolve) {
      const img = new Image();
      img.onload = function () { resolve(img); };
      img.onerror = function () { resolve(null); };
      img.src = src;
    });
  }
  function loadAll(list) { return Promise.all(list.map(loadImage)); }
  function now() { return performance.now() - state.t0; }

  // --- sound: the browser may hold sound back until the first click ---------------------
  function playMusic() {
    if (!data.music || state.ended) return;
    if (!state.music) {
      state.music = new Audio(data.music);
      state.music.loop = true;
    }
    state.music.play().then(function () { state.soundAllowed = true; }, function () {});
  }
  let clickSound = null;
  function playSound(src) {
    if (clickSound) clickSound.pause();
    clickSound = new Audio(src);
    clickSound.play().catch(function () {});
  }

  // --- messages, shown over the card as text -------------------------------------------
  const messageBox = document.getElementById('message');
  const messageQueue = [];
  function showMessage(text) {
    messageQueue.push(String(text).replace(/\r\n/g, '\n'));
    if (messageQueue.length === 1) showNextMessage();
  }
  function showNextMessage() {
    if (!messageQueue.length) { messageBox.style.display = 'none'; return; }
    document.getElementById('message-text').textContent = messageQueue[0];
    messageBox.style.display = 'block';
  }
  document.getElementById('message-ok').addEventListener('click', function () {
    messageQueue.shift();
    showNextMessage();
  });

  function endCard() {
    if (state.ended) return;
    runEffects(data.onClose || []);
    state.ended = true;
    if (state.music) state.music.pause();
    if (state.box) rules._wp_box_stop(state.box.handle);
    canvas.style.visibility = 'hidden';
    const ended = document.getElementById('ended');
    ended.textContent = '\u8d3a\u5361\u5df2\u7ed3\u675f\u3002';  // the card has ended
    ended.style.display = 'block';
  }

  function openAddress(url) {
    let address = String(url);
    if (/^www\./i.test(address)) address = 'http://' + address;
    if (!/^(https?:|ftp:|mailto:)/i.test(address)) return;
    window.open(address, '_blank', 'noopener');
  }

  function runEffects(effects) {
    for (const e of effects) {
      switch (e.do) {
        case 'close': endCard(); return;
        case 'open': openAddress(e.url); break;
        case 'message': showMessage(e.text); break;
        case 'sound': playSound(e.src); break;
        case 'next': if (state.box) rules._wp_box_show_next(state.box.handle, now()); break;
        case 'previous': if (state.box) rules._wp_box_show_previous(state.box.handle, now()); break;
        case 'show': if (state.box) rules._wp_box_show_index(state.box.handle, e.index, now()); break;
        case 'paint': loadImage(e.src).then(function (img) {
          const layer = state.layers[e.layer];
          if (!img || !layer) return;
          layer.ctx.clearRect(e.x, e.y, e.w, e.h);
          layer.ctx.drawImage(img, e.x, e.y);
        }); break;
        case 'gif': {
          const g = state.gifs.find(function (x) { return x.tag === e.tag; });
          if (g) loadAll(e.frames).then(function (imgs) { g.frames = imgs; g.delays = e.delays; g.start = now(); });
          break;
        }
      }
    }
  }

  // --- the picture show box, on the rules in WebAssembly -------------------------------
  let rules = null;
  function rgbaOf(img) {
    const c = document.createElement('canvas');
    c.width = img.width; c.height = img.height;
    const cx = c.getContext('2d');
    cx.drawImage(img, 0, 0);
    return cx.getImageData(0, 0, img.width, img.height).data;
  }
  function makeBox(b, pictures) {
    const handle = rules._wp_box_new(b.w, b.h, b.bk, b.interval, b.random ? 1 : 0, b.click ? 1 : 0, b.effect,
                                     screen.width || 1024, screen.height || 768, (Math.random() * 4294967296) >>> 0, 10);
    for (const img of pictures) {
      if (!img) continue;
      const px = rgbaOf(img);
      const ptr = rules._wp_alloc(px.length);
      rules.HEAPU8.set(px, ptr);
      rules._wp_box_add_picture(handle, img.width, img.height, ptr);
      rules._wp_free(ptr);
    }
    const surface = document.createElement('canvas');
    surface.width = b.w;
    surface.height = b.h;
    return { handle: handle, rect: b, image: new ImageData(b.w, b.h), canvas: surface, ctx: surface.getContext('2d') };
  }
  function drawBox() {
    const box = state.box;
    rules._wp_box_advance(box.handle, now());
    const ptr = rules._wp_box_surface(box.handle);
    box.image.data.set(rules.HEAPU8.subarray(ptr, ptr + box.rect.w * box.rect.h * 4));
    // putImageData replaces pixels without compositing: the box goes through its own canvas
    // so that it is stacked like any picture.
    box.ctx.putImageData(box.image, 0, 0);
    ctx.drawImage(box.canvas, box.rect.x, box.rect.y);
  }

  // --- captions: the rules place the lines, the page draws them ------------------------
  const placeBuf = { ptr: 0, size: 0 };
  function drawCaption(c) {
    const n = c.lines.length;
    c.p = rules._wp_caption_position(c.way, n, c.lineHeight, c.w, c.h, now(), c.interval);
    ctx.save();
    ctx.beginPath();
    ctx.rect(c.x, c.y, c.w, c.h);
    ctx.clip();
    if (c.bg) ctx.drawImage(c.bg, c.x, c.y);
    if (placeBuf.size < n * 12) {
      if (placeBuf.ptr) rules._wp_free(placeBuf.ptr);
      placeBuf.size = Math.max(n * 12, 12);
      placeBuf.ptr = rules._wp_alloc(placeBuf.size);
    }
    const count = rules._wp_caption_place(c.way, n, c.lineHeight, c.w, c.h, c.p, placeBuf.ptr);
    const places = rules.HEAP32.subarray(placeBuf.ptr >> 2, (placeBuf.ptr >> 2) + count * 3);
    for (let i = 0; i < count; i++) {
      const line = c.lines[places[i * 3]];
      if (line) ctx.drawImage(line, c.x + places[i * 3 + 1], c.y + places[i * 3 + 2]);
    }
    ctx.restore();
    c.shown = c.p;
  }

  function gifFrame(g, elapsed) {
    let total = 0;
    for (const d of g.delays) total += d;
    if (g.frames.length < 2 || total <= 0) return 0;
    let t = elapsed % total;
    for (let i = 0; i < g.delays.length; i++) {
      if (t < g.delays[i]) return i;
      t -= g.delays[i];
    }
    return 0;
  }

  function drawGif(g, t) {
    const f = g.frames[gifFrame(g, t - g.start)];
    if (!f) return;
    ctx.save();
    ctx.beginPath();
    ctx.rect(g.x, g.y, g.w, g.h);
    ctx.clip();
    ctx.drawImage(f, g.x, g.y, g.w, g.h);
    ctx.restore();
  }

  // The still card's layers as canvases of the card's size: clicks repaint parts of them.
  function layerOf(img, x, y) {
    const c = document.createElement('canvas');
    c.width = canvas.width;
    c.height = canvas.height;
    const cx = c.getContext('2d');
    if (img) cx.drawImage(img, x, y);
    return { canvas: c, ctx: cx };
  }
  function byTag(list, tag) { return list.find(function (x) { return x.tag === tag; }); }

  // The card back to front as the stage stacks it: the lowest layer, then each moving part
  // followed by the still layer above it; the mask cuts everything to the card's shape.
  let baseImg = null;
  let shapeMask = null;
  function paint() {
    if (state.ended) return;
    const t = now();
    ctx.clearRect(0, 0, canvas.width, canvas.height);
    ctx.drawImage(state.layers[0].canvas, 0, 0);
    (data.stack || []).forEach(function (s, i) {
      if (s.part === 'box') {
        if (state.box) drawBox();
      } else if (s.part === 'gif') {
        const g = byTag(state.gifs, s.tag);
        if (g) drawGif(g, t);
      } else if (s.part === 'caption') {
        const c = byTag(state.captions, s.tag);
        if (c) drawCaption(c);
      }
      const layer = state.layers[i + 1];
      if (layer) ctx.drawImage(layer.canvas, 0, 0);
    });
    if (shapeMask) {
      ctx.save();
      ctx.globalCompositeOperation = 'destination-in';
      ctx.drawImage(shapeMask, 0, 0);
      ctx.restore();
    }
    state.frames++;
  }
  function frame() {
    if (state.ended) return;
    const started = performance.now();
    paint();
    state.busyMs += performance.now() - started;
    requestAnimationFrame(frame);
  }
  // Draws the card as it is at this moment (tests take their pictures right after).
  state.paintNow = function () { paint(); return now(); };

  // --- input -----------------------------------------------------------------------------
  function hitAt(x, y) {
    for (const h of data.hits || []) {
      if (x >= h.x && y >= h.y && x < h.x + h.w && y < h.y + h.h) return h;
    }
    return null;
  }
  function cardPoint(ev) {
    const r = canvas.getBoundingClientRect();
    return { x: Math.floor(ev.clientX - r.left), y: Math.floor(ev.clientY - r.top) };
  }
  function insideShape(p) {
    if (!data.shaped) return true;
    return ctx.getImageData(p.x, p.y, 1, 1).data[3] !== 0;
  }
  canvas.addEventListener('mousemove', function (ev) {
    const p = cardPoint(ev);
    const h = insideShape(p) ? hitAt(p.x, p.y) : null;
    canvas.style.cursor = h ? h.cursor : 'default';
    canvas.title = h && h.hint ? h.hint : '';
  });
  canvas.addEventListener('click', function (ev) {
    if (state.ended || !state.ready || data.kind === 'ordinary') return;
    if (!state.soundAllowed) playMusic();
    const p = cardPoint(ev);
    if (!insideShape(p)) return;
    const h = hitAt(p.x, p.y);
    if (!h) return;
    if (h.box) {
      if (state.box) rules._wp_box_click(state.box.handle, now());
      return;
    }
    runEffects(h.effects);
  });
  window.addEventListener('pagehide', function () { if (!state.ended) runEffects(data.onClose || []); });

  // --- ordinary cards: the ordinary card player in WebAssembly, drawn on the page's clock ----
  // The page is the screen: the card comes up and travels on it. The rules decide place, size,
  // greeting, entrance, scrolling and sound; this draws them and plays what they ask for.
  function playOrdinary() {
    const cfg = data.config, g = data.greeting;
    const shown = { handle: 0, look: null, greetingAt: -1, picture: null, box: null, lines: [], video: null };
    const audioLog = [];
    state.audioLog = audioLog;  // every sound the card starts: { what: 'music' | 'voice', at }
    state.ordinary = shown;
    canvas.style.position = 'absolute';

    // The sound, on the rules' clock: positions run while playing, lengths come with the card.
    const music = { el: null, playing: false, pos: 0, since: 0 };
    const voice = { el: null, since: -1 };
    const media = {
      time: 0,
      openMusic: function () { return !!data.music && data.musicMs > 0; },
      music: function (what) {
        if (!music.el) { music.el = new Audio(data.music); state.music = music.el; }
        const t = media.time;
        if (what === 0 || what === 3) {  // play, resume
          if (what === 0) audioLog.push({ what: 'music', at: t });
          music.playing = true;
          music.since = t;
          music.el.currentTime = music.pos / 1000;
          music.el.play().catch(function () {});
        } else if (what === 4) {  // back to the start
          music.pos = 0;
          music.since = t;
          music.el.currentTime = 0;
        } else {  // stop, pause, close
          music.pos = media.musicPosition();
          music.playing = false;
          music.el.pause();
        }
      },
      musicLength: function () { return data.musicMs; },
      musicPosition: function () {
        return music.playing ? Math.min(data.musicMs, music.pos + media.time - music.since) : music.pos;
      },
      playVoice: function () {
        if (!data.voice) return;
        if (!voice.el) voice.el = new Audio(data.voice);
        audioLog.push({ what: 'voice', at: media.time });
        voice.since = media.time;
        voice.el.currentTime = 0;
        voice.el.play().catch(function () {});
      },
      stopVoice: function () { voice.since = -1; if (voice.el) voice.el.pause(); },
      voicePlaying: function () { return voice.since >= 0 && media.time - voice.since < data.voiceMs; },
      open: function (target) { openAddress(target); },
    };

    function withString(text, fn) {
      const bytes = new TextEncoder().encode(text);
      const ptr = rules._wp_alloc(bytes.length + 1);
      rules.HEAPU8.set(bytes, ptr);
      rules.HEAPU8[ptr + bytes.length] = 0;
      const r = fn(ptr);
      rules._wp_free(ptr);
      return r;
    }
    const lookBuf = { ptr: 0 };
    function look(t) {
      rules._wp_ord_state(shown.handle, t, lookBuf.ptr);
      const v = rules.HEAP32.subarray(lookBuf.ptr >> 2, (lookBuf.ptr >> 2) + 13);
      return { left: v[0], top: v[1], width: v[2], height: v[3], greeting: v[4] !== 0, closed: v[5] !== 0,
               scroll: v[6], entrance: v[7], part: [v[8], v[9], v[10], v[11], v[12]], t: t };
    }
    function frameOf(p, elapsed) { return p.frames[gifFrame(p, elapsed)] || p.frames[0]; }

    function drawCard(t) {
      if (!data.transparent) { ctx.fillStyle = data.color; ctx.fillRect(0, 0, canvas.width, canvas.height); }
      if (shown.picture) {
        const r = data.pictureRect;
        ctx.drawImage(frameOf(shown.picture, t), r[0], r[1], r[2], r[3]);
      }
    }
    function drawGreeting(target, t, s) {
      const c = target.getContext('2d');
      const w = target.width, h = target.height;
      c.clearRect(0, 0, w, h);
      if (!g.transparent) { c.fillStyle = g.color; c.fillRect(0, 0, w, h); }
      if (shown.box) c.drawImage(frameOf(shown.box, t - shown.greetingAt), 0, 0, w, h);
      c.save();
      c.beginPath();
      // Scrolling text runs over the whole window; still text stays in the label.
      if (cfg.scroll) c.rect(0, 0, w, h); else c.rect(8, 8, cfg.labelWidth, cfg.labelHeight);
      c.clip();
      const top = cfg.scroll ? s.scroll : 8;
      for (let i = 0; i < shown.lines.length; i++) {
        if (shown.lines[i]) c.drawImage(shown.lines[i], 8, top + i * g.lineHeight);
      }
      c.restore();
    }
    const work = document.createElement('canvas');
    function place(s) {
      canvas.style.left = s.left + 'px';
      canvas.style.top = s.top + 'px';
      if (canvas.width !== s.width || canvas.height !== s.height) { canvas.width = s.width; canvas.height = s.height; }
      if (shown.video) {
        shown.video.style.left = s.left + 'px';
        shown.video.style.top = s.top + 'px';
      }
    }
    function paintOrdinary() {
      if (state.ended) return;
      const t = now();
      media.time = t;
      rules._wp_ord_advance(shown.handle, t);
      const s = look(t);
      shown.look = s;
      if (s.closed) {
        if (shown.video) { shown.video.pause(); shown.video.remove(); shown.video = null; }
        endCard();
        return;
      }
      place(s);
      ctx.clearRect(0, 0, canvas.width, canvas.height);
      if (!s.greeting) {
        drawCard(t);
      } else {
        if (shown.greetingAt < 0) {
          shown.greetingAt = t;
          if (shown.video) { shown.video.pause(); shown.video.remove(); shown.video = null; }
        }
        work.width = s.width;
        work.height = s.height;
        drawGreeting(work, t, s);
        // The entrance: the part shown so far, at its opacity; the page shows through elsewhere.
        const p = s.part;
        ctx.save();
        ctx.beginPath();
        ctx.rect(p[0], p[1], p[2], p[3]);
        ctx.clip();
        ctx.globalAlpha = p[4] / 255;
        ctx.drawImage(work, 0, 0);
        ctx.restore();
      }
      state.frames++;
    }
    state.paintNow = function () { paintOrdinary(); return now(); };
    function loop() {
      if (state.ended) return;
      const started = performance.now();
      paintOrdinary();
      state.busyMs += performance.now() - started;
      requestAnimationFrame(loop);
    }
    function input(twice) {
      if (state.ended || !state.ready) return;
      // Browsers hold sound back until the first click: what the rules play starts sounding now.
      if (shown.video) shown.video.muted = false;
      if (music.playing && music.el.paused) music.el.play().catch(function () {});
      if (media.voicePlaying() && voice.el.paused) voice.el.play().catch(function () {});
      media.time = now();
      rules._wp_ord_click(shown.handle, media.time, twice ? 1 : 0);
      paintOrdinary();
    }
    canvas.addEventListener('click', function () { input(false); });
    canvas.addEventListener('dblclick', function () { input(true); });
    window.addEventListener('pagehide', function () {
      if (shown.handle && !state.ended) rules._wp_ord_close(shown.handle);
    });

    function loadPicture(p) {
      return p ? loadAll(p.frames).then(function (imgs) { return { frames: imgs, delays: p.delays }; }) : null;
    }
    Promise.all([CardRules({ ordinaryMedia: media }), loadPicture(data.picture),
                 g ? loadPicture(g.picture) : null, g ? loadAll(g.lines) : []])
      .then(function (loaded) {
        rules = loaded[0];
        shown.picture = loaded[1];
        shown.box = loaded[2];
        shown.lines = loaded[3];
        if (data.movie) {
          // The movie plays from the window's top-left corner at the card size, again and again;
          // its sound comes with the first click (browsers start muted movies only).
          const v = document.createElement('video');
          v.src = data.movie;
          v.loop = true;
          v.muted = true;
          v.playsInline = true;
          v.style.cssText = 'position:absolute;object-fit:fill;pointer-events:none';
          v.width = data.width;
          v.height = data.height;
          document.body.appendChild(v);
          v.play().catch(function () {});
          shown.video = v;
        }
        lookBuf.ptr = rules._wp_alloc(13 * 4);
        shown.handle = rules._wp_ord_new();
        for (const name in cfg) withString(name, function (p) { rules._wp_ord_set(shown.handle, p, cfg[name]); });
        if (data.url) withString(data.url, function (p) { rules._wp_ord_set_link(shown.handle, 0, p); });
        if (data.mail) withString(data.mail, function (p) { rules._wp_ord_set_link(shown.handle, 1, p); });
        state.t0 = performance.now();
        media.time = 0;
        rules._wp_ord_start(shown.handle, 0, window.innerWidth || 1024, window.innerHeight || 768,
                            (Math.random() * 4294967296) >>> 0, g ? g.lineHeight : 0, g ? g.lines.length : 0);
        loop();
        state.firstPaint = performance.now();
        state.ready = true;
      });
  }

  // --- start -------------------------------------------------------------------------------
  document.title = data.title || document.title;
  canvas.width = data.width;
  canvas.height = data.height;
  if (data.kind === 'ordinary') {
    playOrdinary();
    return;
  }
  // The card's picture goes up as soon as it is decoded; the moving parts follow.
  loadImage(data.base).then(function (img) {
    if (!img || state.firstPaint >= 0) return;
    ctx.drawImage(img, 0, 0);
    state.firstPaint = performance.now();
  });
  const boxPictures = data.box ? loadAll(data.box.pictures) : Promise.resolve([]);
  Promise.all([CardRules(), loadImage(data.base), boxPictures,
               Promise.all(data.gifs.map(function (g) { return loadAll(g.frames); })),
               Promise.all(data.captions.map(function (c) { return loadAll(c.lines); })),
               Promise.all(data.captions.map(function (c) { return c.background ? loadImage(c.background) : null; })),
               Promise.all((data.stack || []).map(function (s) { return s.over ? loadImage(s.over.src) : null; }))])
    .then(function (loaded) {
      rules = loaded[0];
      baseImg = loaded[1];
      state.layers = [layerOf(baseImg, 0, 0)].concat((data.stack || []).map(function (s, i) {
        return s.over ? layerOf(loaded[6][i], s.over.x, s.over.y) : layerOf(null, 0, 0);
      }));
      if (data.shaped) shapeMask = layerOf(baseImg, 0, 0).canvas;
      state.t0 = performance.now();
      if (data.box) {
        state.box = makeBox(data.box, loaded[2]);
        rules._wp_box_start(state.box.handle, 0);
      }
      state.gifs = data.gifs.map(function (g, i) {
        return { tag: g.tag, x: g.x, y: g.y, w: g.w, h: g.h, frames: loaded[3][i], delays: g.delays, start: 0 };
      });
      state.captions = data.captions.map(function (c, i) {
        return { tag: c.tag, x: c.x, y: c.y, w: c.w, h: c.h, way: c.way, interval: c.interval, lineHeight: c.lineHeight,
                 lines: loaded[4][i], bg: loaded[5][i], p: 0, shown: 0 };
      });
      frame();
      if (state.firstPaint < 0) state.firstPaint = performance.now();
      state.ready = true;
      playMusic();
      runEffects(data.onLoad || []);
    });
})();
