#!/usr/bin/env python3
"""Prints ImageMagick drawing commands (MVG) for the shapes of the shipped pictures: hearts,
blossoming branches, confetti, stars, bunting, clouds and soft light spots. make_media.sh and
make_flash_media.sh pass the output to `convert -draw @FILE`.

usage: shapes.py SHAPE [ARGS...]   (see the functions below; numbers are pixels)
"""
import math
import random
import sys


def heart_points(cx, cy, size, steps=48):
    pts = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((cx + x * size / 32, cy - y * size / 32))
    return pts


def poly(pts):
    return "polygon " + " ".join("%.1f,%.1f" % p for p in pts)


def heart(cx, cy, size, color, opacity=1.0):
    return ["push graphic-context", "fill '%s'" % color, "fill-opacity %.2f" % opacity, "stroke none",
            poly(heart_points(cx, cy, size)), "pop graphic-context"]


def hearts(w, h, n, seed, colors="#ff4f81,#ff8fab,#ffffff,#e91e63"):
    rnd = random.Random(seed)
    out = []
    cols = colors.split(",")
    for _ in range(n):
        out += heart(rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(14, 48), rnd.choice(cols),
                     rnd.uniform(0.35, 0.9))
    return out


def blossom(x, y, r, petal, centre):
    out = ["fill '%s'" % petal]
    for k in range(5):
        a = k * 2 * math.pi / 5 - math.pi / 2
        out.append("circle %.1f,%.1f %.1f,%.1f" % (x + math.cos(a) * r * 0.6, y + math.sin(a) * r * 0.6,
                                                 x + math.cos(a) * r * 0.6 + r * 0.55, y + math.sin(a) * r * 0.6))
    out.append("fill '%s'" % centre)
    out.append("circle %.1f,%.1f %.1f,%.1f" % (x, y, x + r * 0.28, y))
    return out


def branch(x0, y0, angle, length, width, depth, rnd, segs, tips):
    """A crooked branch: line segments, with side branches; the tips collect blossom places."""
    x, y = x0, y0
    steps = 5
    for i in range(steps):
        angle += rnd.uniform(-0.35, 0.35)
        nx = x + math.cos(angle) * length / steps
        ny = y + math.sin(angle) * length / steps
        segs.append((x, y, nx, ny, max(1.5, width * (1 - i / steps * 0.6))))
        if i >= 1:
            tips.append((nx, ny))
        if depth > 0 and i in (1, 3):
            side = angle + rnd.choice((-1, 1)) * rnd.uniform(0.5, 0.9)
            branch(nx, ny, side, length * 0.5, width * 0.55, depth - 1, rnd, segs, tips)
        x, y = nx, ny
    tips.append((x, y))


def plum(x0, y0, angle_deg, length, seed, petal="#ffd6e0", centre="#f7c948", wood="#3a1d0e", flowers=26):
    rnd = random.Random(seed)
    segs, tips = [], []
    branch(x0, y0, math.radians(angle_deg), length, 14, 2, rnd, segs, tips)
    out = ["push graphic-context", "stroke '%s'" % wood, "stroke-linecap round", "fill none"]
    for x1, y1, x2, y2, w in segs:
        out += ["stroke-width %.1f" % w, "line %.1f,%.1f %.1f,%.1f" % (x1, y1, x2, y2)]
    out += ["stroke none"]
    for (x, y) in rnd.sample(tips, min(flowers, len(tips))):
        out += blossom(x + rnd.uniform(-6, 6), y + rnd.uniform(-6, 6), rnd.uniform(9, 15), petal, centre)
    for (x, y) in rnd.sample(tips, min(flowers // 2, len(tips))):
        out += ["fill '%s'" % petal, "circle %.1f,%.1f %.1f,%.1f" % (x, y, x + 4, y)]  # buds
    return out + ["pop graphic-context"]


def osmanthus(x0, y0, angle_deg, length, seed):
    """A branch with pointed leaves and clusters of small golden flowers."""
    rnd = random.Random(seed)
    segs, tips = [], []
    branch(x0, y0, math.radians(angle_deg), length, 9, 1, rnd, segs, tips)
    out = ["push graphic-context", "stroke '#5d4037'", "stroke-linecap round", "fill none"]
    for x1, y1, x2, y2, w in segs:
        out += ["stroke-width %.1f" % w, "line %.1f,%.1f %.1f,%.1f" % (x1, y1, x2, y2)]
    out += ["stroke none"]
    for (x, y) in tips:
        for _ in range(2):
            a = rnd.uniform(0, 2 * math.pi)
            l, wd = rnd.uniform(30, 46), rnd.uniform(8, 12)
            tipx, tipy = x + math.cos(a) * l, y + math.sin(a) * l
            mx, my = x + math.cos(a) * l / 2, y + math.sin(a) * l / 2
            px, py = -math.sin(a) * wd, math.cos(a) * wd
            out += ["fill '%s'" % rnd.choice(("#2e7d32", "#388e3c", "#1b5e20")),
                    poly([(x, y), (mx + px, my + py), (tipx, tipy), (mx - px, my - py)])]
    for (x, y) in tips:
        for _ in range(6):
            fx, fy = x + rnd.uniform(-14, 14), y + rnd.uniform(-14, 14)
            out += ["fill '%s'" % rnd.choice(("#ffb300", "#ffca28", "#ffa000")),
                    "circle %.1f,%.1f %.1f,%.1f" % (fx, fy, fx + rnd.uniform(3, 5), fy)]
    return out + ["pop graphic-context"]


def confetti(w, h, n, seed):
    rnd = random.Random(seed)
    cols = ("#ff5252", "#ffd740", "#69f0ae", "#40c4ff", "#e040fb", "#ffffff", "#ff6e40")
    out = ["stroke none"]
    for _ in range(n):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h)
        a = rnd.uniform(0, math.pi)
        l, t = rnd.uniform(6, 14), rnd.uniform(3, 6)
        c, s = math.cos(a), math.sin(a)
        pts = [(x + c * l - s * t, y + s * l + c * t), (x - c * l - s * t, y - s * l + c * t),
               (x - c * l + s * t, y - s * l - c * t), (x + c * l + s * t, y + s * l - c * t)]
        out += ["fill '%s'" % rnd.choice(cols), poly(pts)]
    return out


def stars(w, h, n, seed, top=1.0):
    rnd = random.Random(seed)
    out = ["stroke none"]
    for _ in range(n):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h * top)
        r = rnd.choice((0.8, 1.0, 1.2, 1.6, 2.2))
        out += ["fill '%s'" % rnd.choice(("#ffffff", "#fff9c4", "#bbdefb")),
                "fill-opacity %.2f" % rnd.uniform(0.5, 1.0), "circle %.1f,%.1f %.1f,%.1f" % (x, y, x + r, y)]
    return out + ["fill-opacity 1"]


def star_points(cx, cy, r_out, r_in, spikes=5, turn=-math.pi / 2):
    pts = []
    for i in range(spikes * 2):
        r = r_out if i % 2 == 0 else r_in
        a = turn + i * math.pi / spikes
        pts.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
    return pts


def star_heart(cx, cy, size, n, seed):
    """Small five-pointed stars laid along a heart's outline."""
    rnd = random.Random(seed)
    out = ["stroke none"]
    for (x, y) in heart_points(cx, cy, size, n):
        r = rnd.uniform(4, 8)
        out += ["fill '%s'" % rnd.choice(("#fff59d", "#ffffff", "#f8bbd0")), poly(star_points(x, y, r, r * 0.45))]
    return out


def bunting(w, y, n, sag):
    cols = ("#ef5350", "#ffca28", "#66bb6a", "#42a5f5", "#ab47bc", "#ff7043")
    out = ["stroke '#8d6e63'", "stroke-width 2", "fill none"]
    line = [(i * w / 40, y + sag * math.sin(math.pi * i / 40)) for i in range(41)]
    out.append("polyline " + " ".join("%.1f,%.1f" % p for p in line))
    out.append("stroke none")
    for i in range(n):
        x = (i + 0.5) * w / n
        top = y + sag * math.sin(math.pi * x / w)
        out += ["fill '%s'" % cols[i % len(cols)], poly([(x - 22, top), (x + 22, top), (x, top + 46)])]
    return out


def clouds(x, y, scale, color, opacity=1.0):
    """An auspicious cloud: a row of overlapping circles over a flat base."""
    out = ["push graphic-context", "fill '%s'" % color, "fill-opacity %.2f" % opacity, "stroke none"]
    for dx, dy, r in ((0, 0, 30), (38, -18, 38), (82, -6, 32), (116, 6, 24), (-30, 8, 22)):
        out.append("circle %.1f,%.1f %.1f,%.1f" % (x + dx * scale, y + dy * scale, x + (dx + r) * scale, y + dy * scale))
    out.append("rectangle %.1f,%.1f %.1f,%.1f" % (x - 30 * scale, y + 8 * scale, x + 140 * scale, y + 30 * scale))
    return out + ["pop graphic-context"]


def bokeh(w, h, n, seed, colors="#ffffff,#ffe0ec,#fff3c4"):
    rnd = random.Random(seed)
    out = ["stroke none"]
    for _ in range(n):
        x, y, r = rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(10, 44)
        out += ["fill '%s'" % rnd.choice(colors.split(",")), "fill-opacity %.2f" % rnd.uniform(0.08, 0.3),
                "circle %.1f,%.1f %.1f,%.1f" % (x, y, x + r, y)]
    return out + ["fill-opacity 1"]


def star(cx, cy, r_out, r_in, color):
    return ["stroke none", "fill '%s'" % color, poly(star_points(cx, cy, r_out, r_in))]


def burst(cx, cy, r, rays, color, inner=0.25, width=3):
    out = ["stroke '%s'" % color, "stroke-width %d" % width, "stroke-linecap round", "fill none"]
    for i in range(rays):
        a = i * 2 * math.pi / rays
        out.append("line %.1f,%.1f %.1f,%.1f" % (cx + math.cos(a) * r * inner, cy + math.sin(a) * r * inner,
                                               cx + math.cos(a) * r, cy + math.sin(a) * r))
    return out + ["stroke none"]


def bouquet(cx, base_y, scale, seed):
    """A bunch of round flowers on green stems, tied with a ribbon."""
    rnd = random.Random(seed)
    heads = [(-120, -300), (-50, -360), (30, -330), (110, -290), (-10, -250), (70, -230), (-90, -220)]
    cols = (("#ef5350", "#ffcdd2"), ("#ffca28", "#fff8e1"), ("#ab47bc", "#f3e5f5"), ("#ff7043", "#ffe0b2"),
            ("#ec407a", "#fce4ec"))
    out = ["stroke '#558b2f'", "stroke-linecap round", "fill none"]
    for hx, hy in heads:
        out += ["stroke-width %.1f" % (6 * scale),
                "line %.1f,%.1f %.1f,%.1f" % (cx, base_y, cx + hx * scale, base_y + hy * scale)]
    out.append("stroke none")
    for i, (hx, hy) in enumerate(heads):
        x, y, r = cx + hx * scale, base_y + hy * scale, rnd.uniform(38, 50) * scale
        petal, centre = cols[i % len(cols)]
        out += ["fill '%s'" % petal]
        for k in range(8):
            a = k * math.pi / 4 + rnd.uniform(0, 0.3)
            out.append("circle %.1f,%.1f %.1f,%.1f" % (x + math.cos(a) * r * 0.6, y + math.sin(a) * r * 0.6,
                                                     x + math.cos(a) * r * 0.6 + r * 0.45, y + math.sin(a) * r * 0.6))
        out += ["fill '%s'" % centre, "circle %.1f,%.1f %.1f,%.1f" % (x, y, x + r * 0.35, y)]
    out += ["fill '#d81b60'", poly([(cx - 40 * scale, base_y - 60 * scale), (cx + 40 * scale, base_y - 60 * scale),
                                    (cx + 15 * scale, base_y - 30 * scale), (cx - 15 * scale, base_y - 30 * scale)])]
    return out


SHAPES = {"bouquet": bouquet, "heart": heart, "hearts": hearts, "plum": plum, "osmanthus": osmanthus, "confetti": confetti,
          "stars": stars, "star_heart": star_heart, "bunting": bunting, "clouds": clouds, "bokeh": bokeh,
          "star": star, "burst": burst}


def number(s):
    try:
        return int(s)
    except ValueError:
        try:
            return float(s)
        except ValueError:
            return s


if __name__ == "__main__":
    fn = SHAPES[sys.argv[1]]
    print("\n".join(fn(*[number(a) for a in sys.argv[2:]])))
