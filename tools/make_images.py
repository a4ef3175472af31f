#!/usr/bin/env python3
"""make_images.py - draws the 21 texture bitmaps under images/.

    python3 tools/make_images.py [output-dir]

Writes every bitmap named in src/gfx/texture_slots.h (default output:
images/ at the repository root). Standard library only; the output is the
same byte for byte on every run (all randomness is seeded per image).

How the pictures meet the geometry that wears them:
- Canvas rows are drawn top-down and stored bottom-up, so texture t = 0 is
  the bottom of each picture as drawn here and every picture appears upright.
- A GLU sphere maps t from 0 at its -z pole to 1 at its +z pole and wraps s
  once around its z axis, with s = 0.5 on its -y side. The head sphere is
  turned -90 degrees about x, which puts the sphere's +z on the head's up
  axis and its -y side on the face side (+z of the figure): so the face is
  drawn centred on s = 0.5, hair wraps round to the seam at s = 0 / 1 at the
  back of the head, and the chin is towards t = 0. The eye spheres are not
  turned, so their +z pole (t = 1, the top rows) looks forward: the pupil is
  the top band of the eye picture.
- The upper-arm sleeve is turned the same way as the head, with its +z pole
  at the elbow: t = 1 is the elbow end, where the shirt cuff shows.
- The chest box front maps the whole picture upright and unmirrored; the
  shoulder block shows only its outer sixths, so they stay plain cloth.
- The floor repeats its picture 20 x 10 times over 200 x 200 units, so one
  tile is 10 units across (s) and 20 deep (t), and it is darkened to half by
  a grey colour: the planks run along t and are drawn light.
"""

import math
import os
import random
import sys

sys.dont_write_bytecode = True   # keep the source tree clean when tests run this
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from canvas import Canvas, TileFbm, TileNoise, bezier, clamp, mix, scale, smoothstep  # noqa: E402
import font5x7  # noqa: E402
from font5x7 import ARROW_DOWN, ARROW_LEFT, ARROW_RIGHT, ARROW_UP  # noqa: E402

TAU = 2.0 * math.pi


# ---------------------------------------------------------------- flat colours

FLAT_COLOURS = {
    "color_white.bmp": (255, 255, 255),
    "color_black.bmp": (0, 0, 0),
    "color_yellow.bmp": (255, 255, 0),
    "color_silver.bmp": (192, 192, 192),
}


def flat(colour):
    return Canvas(32, 32, colour)


# ---------------------------------------------------------------- wooden floor

def floor_wooden():
    """Eight honey-coloured planks running along t, with grain, a few knots
    and staggered end joints; seamless in both directions."""
    size = 256
    planks = 8
    pw = size // planks
    rng = random.Random(4)
    c = Canvas(size, size)
    grain_warp = TileFbm(rng, 4, 2, octaves=3)
    fibre = TileNoise(rng, 128, 8)
    tone = TileFbm(rng, 8, 4, octaves=3)
    bases = [(240, 194, 134), (230, 180, 118), (246, 202, 142), (236, 186, 124),
             (226, 176, 114), (244, 198, 136), (234, 184, 120), (240, 192, 130)]
    rng.shuffle(bases)
    joints = [rng.randrange(size) for _ in range(planks)]
    ring_freq = [rng.uniform(5.0, 9.0) for _ in range(planks)]
    ring_phase = [rng.random() for _ in range(planks)]
    knots = []
    for p in range(planks):
        if rng.random() < 0.4:
            knots.append((p * pw + rng.uniform(9, pw - 9), rng.uniform(0, size), rng.uniform(3.0, 5.0)))

    def wood(x, y):
        p = int(x) // pw
        lx = (x - p * pw) / pw          # 0..1 across the plank
        v = y / size
        warp = grain_warp.at(x / size + p * 0.37, v)
        r = lx * ring_freq[p] * 0.6 + warp * 3.0 + ring_phase[p]
        for kx, ky, kr in knots:
            dy = (y - ky + size / 2) % size - size / 2
            dx = x - kx
            d = math.hypot(dx, dy * 0.35)
            if d < kr * 6:
                r += 2.5 * math.exp(-d / (kr * 1.5))
        band = r - math.floor(r)
        line = smoothstep(0.78, 0.95, band) * (1 - smoothstep(0.95, 1.0, band))
        col = bases[p]
        f = 1.0 - 0.22 * line
        f *= 0.92 + 0.12 * fibre.at(x * 0.5, v * 8)
        f *= 0.94 + 0.10 * tone.at(x / size, v)
        for kx, ky, kr in knots:
            dy = (y - ky + size / 2) % size - size / 2
            d = math.hypot(x - kx, dy * 0.6)
            if d < kr * 2.2:
                f *= 0.7 + 0.3 * smoothstep(kr * 0.5, kr * 2.2, d)
        # plank edges: a dark gap on the left, a faint bevel either side
        ex = x - p * pw
        if ex < 1.0:
            f *= 0.35
        elif ex < 2.0:
            f *= 0.8
        elif ex > pw - 1.0:
            f *= 0.88
        # one end joint per plank, staggered
        jd = abs((y - joints[p] + size / 2) % size - size / 2)
        if jd < 0.75:
            f *= 0.4
        elif jd < 1.75:
            f *= 0.85
        return scale(col, f)

    c.shade(wood)
    return c


# ---------------------------------------------------------------- test pattern

def test_pattern():
    """A card for checking texture orientation: colour bars at the top, a
    grey ramp, a grid, a circle, tinted quadrants and labelled corners."""
    size = 256
    c = Canvas(size, size, (110, 110, 110))
    quad = {(0, 0): (150, 80, 80), (1, 0): (80, 140, 80), (0, 1): (80, 90, 160), (1, 1): (160, 150, 70)}
    # quadrants keyed by (s half, t half); canvas y is top-down
    c.shade(lambda x, y: quad[(int(x >= size / 2), int(y < size / 2))])
    for k in range(0, size + 1, 32):
        c.rect(k - 1, 0, k + 1, size, (230, 230, 230))
        c.rect(0, k - 1, size, k + 1, (230, 230, 230))
    bars = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
            (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0)]
    for i, col in enumerate(bars):
        c.rect(i * 32, 16, i * 32 + 32, 48, col)
    for i in range(16):
        g = i * 17
        c.rect(i * 16, 208, i * 16 + 16, 224, (g, g, g))
    c.ellipse(128, 128, 80, 80, (255, 255, 255))
    c.ellipse(128, 128, 77, 77, (40, 40, 40))
    c.rect(127, 56, 129, 200, (255, 255, 255))
    c.rect(56, 127, 200, 129, (255, 255, 255))
    c.big_text(128 - 3.5 * 29 / 2, 88, "TEST", 3.5, 4, (255, 255, 255), outline=(0, 0, 0),
               outline_width=0.2)
    c.big_text(128 - 3 * 23 / 2, 140, "s" + ARROW_RIGHT + "t" + ARROW_UP, 3, 3, (255, 230, 90),
               outline=(0, 0, 0), outline_width=0.2)
    c.rect(0, 0, 44, 11, (0, 0, 0))
    c.text(2, 2, "0,1 TL", (255, 255, 255))
    c.rect(size - 44, 0, size, 11, (0, 0, 0))
    c.text(size - 42, 2, "1,1 TR", (255, 255, 255))
    c.rect(0, size - 11, 44, size, (0, 0, 0))
    c.text(2, size - 9, "0,0 BL", (255, 255, 255))
    c.rect(size - 44, size - 11, size, size, (0, 0, 0))
    c.text(size - 42, size - 9, "1,0 BR", (255, 255, 255))
    return c


# ---------------------------------------------------------------- keyboard chart

# Key groups and their cap colours.
GROUPS = {
    "pose": (168, 200, 240),      # turning and choosing body parts
    "figure": (170, 222, 170),    # persons: walk, add, dress, size
    "camera": (246, 196, 140),    # view modes and tours
    "anim": (208, 182, 236),      # play rate, scenes, choreographies, files
    "view": (222, 222, 206),      # display switches, help, music
    "edit": (240, 176, 196),      # keyframe editing, undo, scene files
}
UNUSED = (98, 102, 112)

# (key legend, width in key units, group or None, label line 1, label line 2)
KEY_ROWS = [
    [("F1", 1, "view", "help", ""), ("F2", 1, "view", "wire", "frame"),
     ("F3", 1, "view", "tex-", "tures"), ("F4", 1, "anim", "anim-", "ate"),
     ("", 0.5, None, None, None),
     ("F5", 1, "anim", "load", "anim"), ("F6", 1, "anim", "save", "anim"),
     ("F7", 1, "anim", "rec", "pose"), ("F8", 1, "anim", "trail", ""),
     ("", 0.5, None, None, None),
     ("F9", 1, "view", "light", "0"), ("F10", 1, "view", "light", "1"),
     ("F11", 1, "view", "light", "2"), ("F12", 1, "view", "light", "3")],
    [("`", 1, None, "", ""), ("1", 1, "camera", "cam", "stop"), ("2", 1, "camera", "orbit", "tour"),
     ("3", 1, "camera", "fly", "by"), ("4", 1, "camera", "low", "orbit"),
     ("5", 1, "anim", "boy+", "girl"), ("6", 1, "anim", "sword", "fight"),
     ("7", 1, "anim", "skip", ""), ("8", 1, "anim", "lawn", "mower"),
     ("9", 1, "anim", "four", "step"), ("0", 1, "anim", "super", "man"),
     ("-", 1, "anim", "rate", "-0.2"), ("=", 1, "anim", "rate", "+0.2"),
     ("Bksp", 1.5, "pose", "stand", "part")],
    [("Tab", 1.5, "figure", "hold:", "step" + ARROW_LEFT + ARROW_RIGHT), ("q", 1, "pose", "turn", "x-"),
     ("w", 1, "pose", "turn", "x+"), ("e", 1, "camera", "view", "mode"),
     ("r", 1, "view", "fps", "limit"), ("t", 1, "pose", "prev", "part"),
     ("y", 1, "pose", "next", "part"), ("u", 1, "figure", "next", "pers."),
     ("i", 1, "figure", "prev", "pers."), ("o", 1, "figure", "add", "pers."),
     ("p", 1, "figure", "drop", "pers."), ("[", 1, "figure", "right", "item"),
     ("]", 1, "figure", "left", "item"), ("\\", 1, None, "", "")],
    [("", 1.75, None, "", ""), ("a", 1, "pose", "turn", "y-"), ("s", 1, "pose", "turn", "y+"),
     ("d", 1, "view", "music", ""), ("f", 1, None, "", ""), ("g", 1, None, "", ""),
     ("h", 1, "view", "this", "chart"), ("j", 1, "anim", "two", "step"),
     ("k", 1, "anim", "kick", "left"), ("l", 1, "anim", "kick", "right"),
     (";", 1, None, "", ""), ("'", 1, None, "", ""), ("Return", 1.75, "anim", "pause", "/play")],
    [("", 2.25, None, "", ""), ("z", 1, "pose", "turn", "z-"), ("x", 1, "pose", "turn", "z+"),
     ("c", 1, "figure", "move", "up"), ("v", 1, "figure", "move", "down"),
     ("b", 1, "figure", "size", "+"), ("n", 1, "figure", "size", "-"),
     ("m", 1, "figure", "male", "<>fem"), (",", 1, "anim", "back", "-1"),
     (".", 1, "anim", "play", "1"), ("/", 1, "anim", "pause", "0"), ("", 2.25, None, "", "")],
    [("Ctrl+B", 1.25, "edit", "snap", "beats"), ("Alt+" + ARROW_LEFT + ARROW_RIGHT, 1.25, "view", "music", "step"),
     ("space", 7, "camera", "drag turns camera <> part (spin mode)", ""),
     ("", 1, None, None, None),
     (ARROW_LEFT, 1, "figure", "turn", "left"), (ARROW_UP, 1, "figure", "walk", "fwd"),
     (ARROW_DOWN, 1, "figure", "walk", "back"), (ARROW_RIGHT, 1, "figure", "turn", "right")],
    # The editing keys, the navigation block and the Ctrl chords, in a row
    # of their own below the keyboard.
    [("Ins", 1, "edit", "ins.", "key"), ("Del", 1, "edit", "del.", "key"),
     ("Home", 1, "edit", "first", "key"), ("End", 1, "edit", "last", "key"),
     ("PgUp", 1, "edit", "prev", "key"), ("PgDn", 1, "edit", "next", "key"),
     ("Ctrl+R", 1.25, "edit", "repl.", "key"), ("Ctrl+Z", 1.25, "edit", "undo", ""),
     ("Ctrl+Y", 1.25, "edit", "redo", ""), ("Ctrl+S", 1.25, "edit", "save", "scene"),
     ("Ctrl+O", 1.25, "edit", "open", "scene"),
     ("Ctrl+PgUp/Dn", 2.25, "edit", "key length", "+-5 / beat")],
    # The scene's time line: kinds, part keys, the dope sheet, the whole
    # scene at once and the camera's keyframes.
    [("Shift+F7", 1.55, "edit", "key", "part"), ("Ctrl+T", 1.2, "edit", "key", "kind"),
     ("Ctrl+Shift+T", 2.25, "edit", "kind to", "all keys"), ("Ctrl+D", 1.2, "edit", "dope", "sheet"),
     ("Ctrl+Home", 1.75, "anim", "scene to", "time 0"), ("Ctrl+Return", 2.1, "anim", "play", "scene"),
     ("Ctrl+K", 1.2, "camera", "cam", "key"), ("Ctrl+Shift+K", 2.25, "camera", "clear", "cam keys")],
    # Posing by hand and the named views: Ctrl chords of their own.
    [("Ctrl+L-drag", 2.25, "pose", "hand, foot:", "limb; trunk"),
     ("Ctrl+C", 1.25, "pose", "copy", "pose"), ("Ctrl+V", 1.25, "pose", "paste", "pose"),
     ("C+Sh+V", 1.25, "pose", "paste", "mirror"), ("Ctrl+E", 1.25, "pose", "exact", "values"),
     ("", 0.5, None, None, None),
     ("Ctrl+7", 1.25, "camera", "top", "view"), ("Ctrl+1", 1.25, "camera", "front", "view"),
     ("Ctrl+3", 1.25, "camera", "side", "view"), ("Ctrl+5", 1.25, "camera", "camera", "again")],
]


def keyboard_chart():
    """The key map as a keyboard: every cap that does something shows its
    key and a short label, coloured by what it acts on."""
    # 8:5, the shape the chart is shown at, with room for every row.
    w, h = 512, 320
    unit = 34
    pitch = 31
    cap_h = 28
    left = (w - 14.5 * unit) / 2
    top = 16
    c = Canvas(w, h, (34, 38, 46))
    c.rect(2, 2, w - 2, h - 2, (48, 53, 63), radius=6)
    title = "PUPPETORIUM KEYS"
    c.text(int(left) + 2, 5, title, (255, 255, 255))
    # legend of the groups, right-aligned on the title line
    legend = [("pose", "pose"), ("figure", "figure"), ("camera", "camera"), ("anim", "play"),
              ("view", "view"), ("edit", "edit")]
    x = w - int(left) - 2
    for group, word in reversed(legend):
        x -= font5x7.text_width(word)
        c.text(x, 5, word, GROUPS[group])
        x -= 10
        c.rect(x, 5, x + 7, 12, GROUPS[group], radius=1)
        x -= 10
    for r, row in enumerate(KEY_ROWS):
        x = left
        y = top + r * pitch
        for legend_text, width, group, line1, line2 in row:
            kw = width * unit
            if line1 is not None:
                _key_cap(c, x, y, kw, cap_h, legend_text, group, line1, line2)
            x += kw
    footer = "L-click: select part  L-drag: orbit/turn  M-drag: pan  wheel: zoom  R: menu"
    c.text(int((w - font5x7.text_width(footer)) / 2), h - 10, footer, (230, 230, 230))
    return c


def _key_cap(c, x, y, kw, kh, legend_text, group, line1, line2):
    x0, y0, x1, y1 = x + 1, y + 1, x + kw - 1, y + kh - 1
    face = GROUPS[group] if group else UNUSED
    c.rect(x0, y0 + 1, x1, y1 + 1, (20, 22, 28), radius=3)                 # shadow
    c.rect(x0, y0, x1, y1, scale(face, 0.8), radius=3)                     # cap edge
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 2, face, radius=2)                 # cap top
    ink = (20, 24, 34) if group else (150, 154, 164)
    lx = int(x0 + 3)
    c.text(lx, int(y0 + 2), legend_text, ink)
    if group:
        label_ink = (60, 30, 20) if group == "camera" else (36, 40, 60)
        c.text(lx, int(y0 + 10), line1, label_ink)
        c.text(lx, int(y0 + 18), line2, label_ink)
        for text in (legend_text, line1, line2):
            if 3 + font5x7.text_width(text) > kw - 2:
                raise ValueError("label %r does not fit its key" % text)


# ---------------------------------------------------------------- logo

GOLD_LIGHT = (255, 222, 110)
GOLD = (222, 170, 50)
GOLD_DARK = (140, 96, 20)
CURTAIN = (150, 18, 26)


def _curtain(x, y, folds=24.0):
    f = 0.5 + 0.5 * math.sin(x * TAU / folds + 0.8 * math.sin(y * 0.03))
    return scale(CURTAIN, 0.5 + 0.5 * f)


def logo():
    """A little stage: curtains, a gold frame and valance, the name hanging
    from marionette strings, and boards at the bottom. The block that wears
    it is 12 by 10 units, so the lettering is drawn narrower than square."""
    size = 256
    c = Canvas(size, size)
    c.shade(lambda x, y: _curtain(x, y))
    # dark stage opening behind the name
    c.rect(26, 70, 230, 206, (24, 10, 14), radius=14)
    # valance with scallops
    c.rect(0, 0, size, 34, (120, 12, 20))
    for i in range(9):
        cx = 14 + i * 28.5
        c.ellipse(cx, 34, 15, 12, (120, 12, 20))
        c.line(bezier((cx - 14, 34), (cx, 52), (cx + 14, 34)), 3, GOLD)
    c.rect(0, 30, size, 33, GOLD)
    c.rect(0, 4, size, 7, GOLD)
    # marionette control bar and strings down to the letters
    text = "PUPPETORIUM"
    cell_w, cell_h = 3.4, 4.6
    tw = len(text) * font5x7.ADVANCE * cell_w
    tx = (size - tw) / 2 + cell_w / 2
    ty = 112
    c.line([(78, 58), (178, 58)], 5, (150, 100, 50))
    c.line([(128, 46), (128, 72)], 5, (150, 100, 50))
    for letter, bar_x in ((0, 80), (3, 110), (7, 146), (10, 176)):
        lx = tx + (letter * font5x7.ADVANCE + 2) * cell_w
        c.line([(bar_x, 58), (lx, ty + 2)], 1.0, (230, 230, 220), alpha=0.8)
    # the name
    gold = lambda px, py: mix(GOLD_LIGHT, GOLD_DARK, clamp((py - ty) / (7 * cell_h)))  # noqa: E731
    c.big_text(tx, ty, text, cell_w, cell_h, gold, outline=(40, 16, 8), outline_width=0.32)
    c.big_text(size / 2 - 1.6 * 23 / 2, 160, "v1.0", 1.6, 2.2, (236, 226, 200))
    # stars
    rng = random.Random(7)
    for _ in range(14):
        sx = rng.uniform(34, 222)
        sy = rng.choice([rng.uniform(78, 100), rng.uniform(176, 198)])
        if abs(sx - 128) < 30 and sy > 150:
            continue
        r = rng.uniform(1.2, 2.2)
        c.line([(sx - r * 2, sy), (sx + r * 2, sy)], 1.0, GOLD_LIGHT, alpha=0.9)
        c.line([(sx, sy - r * 2), (sx, sy + r * 2)], 1.0, GOLD_LIGHT, alpha=0.9)
    # stage boards
    for y in range(214, size):
        for x in range(size):
            p = (x + (y // 14) * 13) // 40
            tone = 0.85 + 0.15 * ((p * 37) % 7) / 6.0
            base = (150, 96, 52) if (x + (y // 14) * 13) % 40 > 0 else (70, 40, 20)
            c.set(x, y, scale(base, tone))
        if (y - 214) % 14 == 0:
            for x in range(size):
                c.set(x, y, (70, 40, 20))
    c.rect(0, 210, size, 215, GOLD)
    # gold frame
    c.paint((0, 0, size, size), lambda x, y: min(x, y, size - x, size - y) - 5.0, GOLD)
    c.paint((0, 0, size, size), lambda x, y: abs(min(x, y, size - x, size - y) - 2.5) - 0.7, GOLD_DARK)
    return c


def logo_sides():
    """Red velvet with a gold diamond lattice and a gold edge, for the
    sides of the logo block (it reads the same at any stretch)."""
    size = 128
    rng = random.Random(8)
    nap = TileFbm(rng, 16, 16, octaves=2)
    c = Canvas(size, size)
    c.shade(lambda x, y: scale(CURTAIN, 0.75 + 0.3 * nap.at(x / size, y / size)))
    cell = 32

    def lattice(x, y):
        u = (x + y) % cell
        v = (x - y) % cell
        return min(abs(u - cell / 2), abs(v - cell / 2)) - 1.0
    c.paint((0, 0, size, size), lattice, GOLD, alpha=0.9)
    for cy in range(0, size + 1, cell):
        for cx in range(0, size + 1, cell):
            c.ellipse(cx, cy, 3, 3, GOLD_LIGHT)
    c.paint((0, 0, size, size), lambda x, y: min(x, y, size - x, size - y) - 4.0, GOLD)
    return c


# ---------------------------------------------------------------- eye

def eye():
    """White below, a blue iris ring and a black pupil in the top rows: the
    top of the picture is the eye sphere's forward pole."""
    w, h = 128, 64
    rng = random.Random(9)
    fibres = TileNoise(rng, 48, 4)
    iris_in, iris_out = 0.885, 0.78   # t of the pupil edge and the iris edge
    white = (246, 244, 238)
    iris_a = (40, 100, 170)
    iris_b = (120, 170, 210)
    c = Canvas(w, h)

    def px(x, y):
        s = x / w
        t = 1.0 - y / h
        if t >= iris_in:
            return (12, 10, 10)
        if t >= iris_out:
            f = (t - iris_out) / (iris_in - iris_out)
            col = mix(iris_a, iris_b, fibres.at(s * 48, f * 2))
            col = mix(col, (20, 40, 70), 1 - smoothstep(0.0, 0.25, f))   # dark limbal ring
            return mix(col, scale(iris_a, 0.6), smoothstep(0.8, 1.0, f))
        # faint veins towards the back of the eye
        return mix(white, (235, 190, 180), smoothstep(0.5, 0.1, t) * 0.6)

    c.shade(px)
    # a highlight up and to the viewer's right of the pupil
    c.ellipse(0.875 * w, (1 - 0.885) * h, 7, 2.2, (255, 255, 255), alpha=0.9)
    return c


# ---------------------------------------------------------------- skin

SKIN_LIGHT = (240, 196, 164)
SKIN_DARK = (128, 84, 58)


def _skin_shader(base, rng, size):
    mottle = TileFbm(rng, 6, 6, octaves=4)
    pores = TileNoise(rng, size // 2, size // 2)

    def f(x, y):
        m = mottle.at(x / size, y / size)
        p = pores.at(x / 2, y / 2)
        k = 0.94 + 0.1 * m - 0.04 * p
        return (base[0] * k, base[1] * (k - 0.02 * (m - 0.5)), base[2] * k)
    return f


def skin(base, seed):
    size = 128
    c = Canvas(size, size)
    c.shade(_skin_shader(base, random.Random(seed), size))
    return c


# ---------------------------------------------------------------- faces

HEAD_R = 1.0    # head ellipsoid radius across (units of the part radius)
HEAD_L = 1.3    # half height, for the head's proportions of length and radius


def head_point(s, t):
    """Point of the head's surface (x right-of-figure = left of viewer is -x,
    y up, z forward) that texture coordinate (s, t) lands on, through the
    sphere mapping described at the top of this file."""
    phi = (1.0 - t) * math.pi           # 0 at the top pole
    theta = (1.0 - s) * TAU             # around the sphere's axis, 0 on its +y
    qx = math.sin(phi) * math.sin(theta)
    qy = math.sin(phi) * math.cos(theta)
    qz = math.cos(phi)
    return (HEAD_R * qx, HEAD_L * qz, -HEAD_R * qy)


def _interp(points, a):
    """Piecewise-linear lookup in a sorted list of (key, value)."""
    if a <= points[0][0]:
        return points[0][1]
    for (a0, v0), (a1, v1) in zip(points, points[1:]):
        if a <= a1:
            return v0 + (v1 - v0) * smoothstep(a0, a1, a)
    return points[-1][1]


def _arc_dist(x, y, cx, cy, r, a0, a1):
    """Distance from (x, y) to the circular arc of radius r around (cx, cy)
    between angles a0 and a1 (radians, counter-clockwise, y up)."""
    a = math.atan2(y - cy, x - cx)
    if a0 <= a <= a1:
        return abs(math.hypot(x - cx, y - cy) - r), (a - a0) / (a1 - a0)
    e0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    e1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
    d0 = math.hypot(x - e0[0], y - e0[1])
    d1 = math.hypot(x - e1[0], y - e1[1])
    return (d0, 0.0) if d0 < d1 else (d1, 1.0)


FACES = {
    # file: (skin, hair, brow, lips, female, curly hair)
    "skin_light_face_male.bmp": (SKIN_LIGHT, (92, 58, 32), (70, 44, 26), (196, 118, 108), False, False),
    "skin_dark_face_male.bmp": (SKIN_DARK, (26, 22, 20), (24, 18, 16), (92, 50, 44), False, True),
    "skin_light_face_female.bmp": (SKIN_LIGHT, (196, 132, 58), (120, 76, 40), (200, 40, 66), True, False),
    "skin_dark_face_female.bmp": (SKIN_DARK, (34, 26, 24), (26, 20, 18), (150, 36, 56), True, False),
}

# Hairline: the height above which there is hair, by the angle round the
# head from the face (0) to the back (180 degrees).
MALE_HAIRLINE = [(0, 0.80), (25, 0.83), (45, 0.72), (60, 0.55), (67, 0.2), (72, -0.22),
                 (79, -0.22), (83, 0.36), (98, 0.42), (106, 0.05), (118, -0.6), (180, -0.78)]
FEMALE_HAIRLINE = [(0, 0.64), (22, 0.7), (40, 0.6), (48, 0.2), (53, -1.05), (180, -1.22)]


def face(skin_col, hair_col, brow_col, lip_col, female, curly, seed):
    size = 256
    rng = random.Random(seed)
    skin_fn = _skin_shader(skin_col, random.Random(seed + 100), size)
    strands = TileNoise(rng, 96, 6)
    strand_fine = TileNoise(rng, 192, 12)
    curls = TileNoise(rng, 64, 32)
    edge = TileNoise(rng, 48, 12)
    hairline = FEMALE_HAIRLINE if female else MALE_HAIRLINE
    dark_skin = skin_col[0] < 200

    def px(x, y):
        s = x / size
        t = 1.0 - y / size
        hx, hy, hz = head_point(s, t)
        col = skin_fn(x, y)
        az = math.degrees(math.atan2(hx, hz))   # 0 at the face, +-180 at the back
        aaz = abs(az)
        front = hz > 0.0

        if front:
            # soft shade round the eye sockets and under the brow
            for ex in (-0.32, 0.32):
                d = math.hypot((hx - ex) / 0.34, (hy - 0.12) / 0.3)
                if d < 1.0:
                    col = scale(col, 1.0 - 0.12 * (1 - d))
            if female:
                for cx in (-0.5, 0.5):
                    d = math.hypot((hx - cx) / 0.2, (hy + 0.32) / 0.14)
                    if d < 1.0:
                        col = mix(col, (230, 110, 110) if not dark_skin else (150, 60, 50), 0.3 * (1 - d))
            col = _nose(col, hx, hy, skin_col)
            col = _mouth(col, hx, hy, lip_col, female)
            col = _brows(col, hx, hy, brow_col, female)
            if female:
                col = _lashes(col, hx, hy)
        col = _ear(col, hx, hy, hz, skin_col, female)

        # hair
        limit = _interp(hairline, aaz)
        if female and 8 < az < 30:
            # a side parting: the fringe sweeps from the figure's left
            limit -= 0.06 * math.sin((az - 8) / 22 * math.pi)
        wobble = (edge.at(s * 48, t * 12) - 0.5) * 0.08
        cover = smoothstep(limit - 0.015, limit + 0.03, hy + wobble)
        if cover > 0.0:
            if curly:
                k = 0.7 + 0.5 * curls.at(s * 64, t * 32) * strand_fine.at(s * 192, t * 12)
            else:
                k = 0.72 + 0.42 * strands.at(s * 96, t * 6) + 0.12 * (strand_fine.at(s * 192, t * 12) - 0.5)
            shine = smoothstep(0.55, 0.95, t) * 0.12
            hc = (hair_col[0] * k + 255 * shine * 0.4, hair_col[1] * k + 255 * shine * 0.3,
                  hair_col[2] * k + 255 * shine * 0.2)
            if female and 18 < az < 22 and hy > 0.65:
                hc = scale(hc, 0.7)   # the parting line
            col = mix(col, hc, cover)
        return col

    c = Canvas(size, size)
    c.shade(px)
    return c


def _soft(d, width=0.022):
    """Coverage from a distance in head units: 1 inside, fading over width."""
    return clamp(0.5 - d / width)


def _nose(col, x, y, skin_col):
    shadow = scale(skin_col, 0.72)
    # the ridge: a soft shadow down the figure's left side of the nose
    if -0.3 < y < 0.08:
        d = abs(x - 0.09 - 0.05 * (0.08 - y)) - 0.02
        col = mix(col, shadow, 0.55 * _soft(d, 0.05) * smoothstep(0.08, -0.05, y))
    # the tip and the wings round the nostrils
    d_tip = math.hypot(x / 0.16, (y + 0.3) / 0.1) - 1.0
    if abs(d_tip) < 0.3 and y < -0.27:
        col = mix(col, shadow, 0.7 * _soft(abs(d_tip) * 0.12 - 0.008, 0.02))
    for nx in (-0.075, 0.075):
        d = math.hypot((x - nx) / 0.05, (y + 0.35) / 0.03) - 1.0
        col = mix(col, scale(skin_col, 0.35), _soft(d * 0.03, 0.015))
    return col


def _mouth(col, x, y, lip_col, female):
    half = 0.25 if female else 0.24
    if abs(x) > half + 0.03 or not (-0.8 < y < -0.5):
        return col
    u = x / half
    bow = max(0.0, 1.0 - u * u)
    line_y = -0.64 + 0.03 * u * u                        # a slight smile
    upper = line_y + (0.06 if female else 0.045) * bow + 0.015 * math.cos(u * 3 * math.pi) * bow
    lower = line_y - (0.08 if female else 0.06) * bow ** 0.7
    alpha = 0.9 if female else 0.75
    if lower - 0.01 <= y <= upper + 0.01 and abs(u) <= 1:
        lc = lip_col if y > line_y else scale(lip_col, 1.08)
        edge_fade = min(1.0, (upper - y) / 0.02 + 0.5, (y - lower) / 0.02 + 0.5)
        col = mix(col, lc, alpha * clamp(edge_fade))
    d = abs(y - line_y) - 0.008
    if abs(u) <= 1.02:
        col = mix(col, scale(lip_col, 0.45), 0.85 * _soft(d))
    return col


def _brows(col, x, y, brow_col, female):
    for side in (-1, 1):
        # an arc above the eye; f runs from its outer end (0) to its inner end
        # (1), where a brow is thickest
        if female:
            d, f = _arc_dist(x * side, y, 0.33, 0.08, 0.4, math.radians(45), math.radians(128))
            width = 0.05 * (0.5 + 0.5 * f) + 0.015
        else:
            d, f = _arc_dist(x * side, y, 0.33, 0.02, 0.46, math.radians(55), math.radians(122))
            width = 0.075 * (0.7 + 0.3 * f) + 0.02
        col = mix(col, brow_col, 0.95 * _soft(d - width * 0.5))
    return col


def _lashes(col, x, y):
    for side in (-1, 1):
        d, _ = _arc_dist(x * side, y, 0.32, 0.1, 0.25, math.radians(15), math.radians(165))
        col = mix(col, (20, 14, 12), 0.9 * _soft(d - 0.02))
    return col


def _ear(col, x, y, z, skin_col, female):
    if abs(x) < 0.6:
        return col
    d = math.hypot((z + 0.06) / 0.17, (y - 0.02) / 0.3)
    if d > 1.1:
        return col
    ear = scale(skin_col, 0.93)
    col = mix(col, ear, _soft((d - 1.0) * 0.17))
    col = mix(col, scale(skin_col, 0.62), 0.8 * _soft(abs(d - 0.97) * 0.17 - 0.01))
    d_in = math.hypot((z + 0.07) / 0.08, (y - 0.0) / 0.15)
    col = mix(col, scale(skin_col, 0.75), 0.4 * _soft(abs(d_in - 1.0) * 0.08 - 0.008))
    return col


# ---------------------------------------------------------------- fabrics

def weave(base, seed, size=128, thread=4, twill=False, contrast=0.22):
    """Woven cloth: warp and weft threads over and under each other (plain
    weave, or a diagonal twill), each thread a little different in tone."""
    rng = random.Random(seed)
    n = size // thread
    warp_tone = [rng.uniform(-1, 1) for _ in range(n)]
    weft_tone = [rng.uniform(-1, 1) for _ in range(n)]
    fuzz = TileNoise(rng, size // 2, size // 2)

    def px(x, y):
        i = int(x) // thread
        j = int(y) // thread
        fx = (x % thread) / thread
        fy = (y % thread) / thread
        warp_on_top = ((i + j) % 4 < 2) if twill else ((i + j) % 2 == 0)
        if warp_on_top:
            profile = math.sin(fx * math.pi)
            tone = warp_tone[i % n]
        else:
            profile = math.sin(fy * math.pi)
            tone = weft_tone[j % n]
        k = 1.0 - contrast + contrast * profile + 0.05 * tone + 0.06 * (fuzz.at(x / 2, y / 2) - 0.5)
        return scale(base, k)
    return px


FABRIC_BLACK = (40, 40, 46)
FABRIC_RED = (176, 26, 34)
FABRIC_GREY = (134, 134, 138)


def fabric(base, seed, twill=False):
    c = Canvas(128, 128)
    c.shade(weave(base, seed, twill=twill))
    return c


def suit_cuff():
    """A black suit sleeve whose elbow end (t near 1) shows a white shirt cuff."""
    size = 128
    c = Canvas(size, size)
    cloth = weave(FABRIC_BLACK, 20, size=size, twill=True)
    shirt = (236, 238, 244)
    hem_t = 0.70

    def px(x, y):
        t = 1.0 - y / size
        if t < hem_t - 0.02:
            return cloth(x, y)
        if t < hem_t:
            return scale(cloth(x, y), 0.6)    # the sleeve's hem
        k = 1.0 - 0.1 * smoothstep(hem_t + 0.04, hem_t, t)
        if abs(t - 0.8) < 0.006:
            k *= 0.85                         # the cuff's stitched edge
        return scale(shirt, k)

    c.shade(px)
    return c


def suit_front():
    """The front of a black jacket: satin lapels, a white shirt and a red
    tie in the opening, two buttons, a breast pocket with a white square on
    the wearer's left (the picture's right) and two hip pockets. The outer
    sixths stay plain cloth, because the shoulder block shows only them."""
    size = 256
    c = Canvas(size, size)
    c.shade(weave(FABRIC_BLACK, 21, size=size, thread=8, twill=True))
    shirt = (238, 240, 246)
    lapel = (58, 58, 66)
    seam = (14, 14, 18)
    vx, vy = 128, 132                                   # bottom of the opening
    # shirt in the V, darker where the lapels shade it
    c.polygon([(74, -2), (182, -2), (vx, vy)], shirt)
    c.polygon([(74, -2), (96, -2), (vx, vy)], (200, 202, 210), alpha=0.6)
    c.polygon([(160, -2), (182, -2), (vx, vy)], (200, 202, 210), alpha=0.6)
    # collar points either side of the knot
    c.polygon([(100, 0), (124, 6), (112, 30)], (250, 250, 252))
    c.polygon([(156, 0), (132, 6), (144, 30)], (250, 250, 252))
    c.line([(100, 0), (112, 30), (124, 6)], 1.2, (170, 172, 182))
    c.line([(156, 0), (144, 30), (132, 6)], 1.2, (170, 172, 182))
    # tie: knot and blade with diagonal stripes
    tie = (156, 22, 34)
    stripes = lambda x, y: (200, 160, 60) if (x + y) % 16 < 3 else tie  # noqa: E731
    c.polygon([(118, 6), (138, 6), (134, 26), (122, 26)], scale(tie, 0.85))
    c.polygon([(122, 26), (134, 26), (143, 112), (128, 128), (113, 112)], stripes)
    c.line([(122, 26), (134, 26)], 1.0, scale(tie, 0.5))
    # lapels: a satin band along each side of the opening, notched near the top
    left = [(74, -2), (vx, vy), (vx - 6, vy + 16), (60, 62), (44, 50), (50, 40), (52, -2)]
    right = [(size - px, py) for px, py in left]
    for poly in (left, right):
        c.polygon(poly, lapel)
        c.line(poly + [poly[0]], 1.4, seam)
    c.line([(vx - 6, vy + 16), (vx - 6, 246), (vx + 8, size)], 1.6, seam)    # front edge
    # buttons
    for by in (160, 214):
        c.circle(vx - 6, by, 6.5, (20, 20, 24))
        c.circle(vx - 6, by, 5.0, (44, 44, 50))
        for hx, hy in ((-1.6, -1.6), (1.6, -1.6), (-1.6, 1.6), (1.6, 1.6)):
            c.circle(vx - 6 + hx, by + hy, 0.9, (10, 10, 12))
    # breast pocket on the wearer's left, with a pocket square
    c.polygon([(176, 66), (190, 58), (198, 64), (206, 57), (212, 68)], (246, 246, 250))
    c.rect(172, 66, 214, 72, (30, 30, 36))
    c.line([(172, 66), (214, 66)], 1.0, (70, 70, 78))
    # hip pocket flaps
    for x0 in (48, 164):
        c.rect(x0, 200, x0 + 44, 212, (34, 34, 40))
        c.line([(x0, 200), (x0 + 44, 200), (x0 + 44, 212), (x0, 212), (x0, 200)], 1.2, seam)
    return c


# ---------------------------------------------------------------- all images

def build_all():
    """Every bitmap by file name, in slot order."""
    images = {}
    for name, colour in FLAT_COLOURS.items():
        images[name] = lambda colour=colour: flat(colour)
    images.update({
        "floor_wooden.bmp": floor_wooden,
        "test--.bmp": test_pattern,
        "keyboard_chart.bmp": keyboard_chart,
        "logo.bmp": logo,
        "logo_sides.bmp": logo_sides,
        "eye.bmp": eye,
        "skin_light.bmp": lambda: skin(SKIN_LIGHT, 10),
        "skin_dark.bmp": lambda: skin(SKIN_DARK, 11),
    })
    for i, (name, args) in enumerate(FACES.items()):
        images[name] = lambda args=args, i=i: face(*args, seed=12 + i)
    images.update({
        "fabric_black.bmp": lambda: fabric(FABRIC_BLACK, 16, twill=True),
        "fabric_red.bmp": lambda: fabric(FABRIC_RED, 17),
        "fabric_grey.bmp": lambda: fabric(FABRIC_GREY, 18),
        "fabric_black_suit_cuff.bmp": suit_cuff,
        "fabric_black_suit_front.bmp": suit_front,
    })
    return images


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(root, "images")
    only = set(argv[2:])
    os.makedirs(out_dir, exist_ok=True)
    for name, make in build_all().items():
        if only and name not in only:
            continue
        data = make().bmp_bytes()
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("wrote", os.path.join(out_dir, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
