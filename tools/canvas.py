"""canvas.py - a tiny RGB canvas and 24-bit bitmap writer (standard library only).

Conventions kept throughout the image generator:
- Canvas coordinates are top-down: (0, 0) is the top-left pixel, pixel
  centres sit at half-integers. The bitmap writer flips rows, because the
  file stores the bottom row first and the program maps texture t = 0 to
  that first row. So what the canvas shows upright is upright on screen.
- Colours are (r, g, b) floats in 0..255; they are clamped and rounded only
  when the file is written.
- Shapes are painted from signed distance functions (negative inside), which
  gives one pixel of anti-aliasing for free. Shapes may wrap around the left
  and right edges, for textures that are wrapped around a sphere.
- Noise is value noise on a lattice that repeats exactly over the tile, so
  every noisy texture tiles without a seam.
"""

import math
import struct

import font5x7


# ---------------------------------------------------------------- colours

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, f):
    """Linear blend of two colours (f = 0 gives a, f = 1 gives b)."""
    return (a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f, a[2] + (b[2] - a[2]) * f)


def scale(c, f):
    return (c[0] * f, c[1] * f, c[2] * f)


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


# ---------------------------------------------------------------- noise

class TileNoise:
    """Smooth value noise that repeats every `period` lattice cells in x and y."""

    def __init__(self, rng, period_x, period_y=None):
        self.px = period_x
        self.py = period_y if period_y is not None else period_x
        self.v = [rng.random() for _ in range(self.px * self.py)]

    def at(self, x, y):
        """Noise in 0..1 at lattice coordinates (x, y)."""
        xf = math.floor(x)
        yf = math.floor(y)
        fx = x - xf
        fy = y - yf
        fx = fx * fx * (3.0 - 2.0 * fx)
        fy = fy * fy * (3.0 - 2.0 * fy)
        x0 = int(xf) % self.px
        y0 = int(yf) % self.py
        x1 = (x0 + 1) % self.px
        y1 = (y0 + 1) % self.py
        v = self.v
        r0 = y0 * self.px
        r1 = y1 * self.px
        a = v[r0 + x0] + (v[r0 + x1] - v[r0 + x0]) * fx
        b = v[r1 + x0] + (v[r1 + x1] - v[r1 + x0]) * fx
        return a + (b - a) * fy


class TileFbm:
    """Sum of octaves of tileable noise, addressed in tile units (u, v in 0..1
    covers the tile once). The base lattice has `cells_x` by `cells_y` cells."""

    def __init__(self, rng, cells_x, cells_y=None, octaves=4, gain=0.5):
        cells_y = cells_y if cells_y is not None else cells_x
        self.layers = []
        amp = 1.0
        total = 0.0
        for k in range(octaves):
            f = 2 ** k
            self.layers.append((TileNoise(rng, cells_x * f, cells_y * f), cells_x * f, cells_y * f, amp))
            total += amp
            amp *= gain
        self.norm = 1.0 / total

    def at(self, u, v):
        s = 0.0
        for noise, cx, cy, amp in self.layers:
            s += noise.at(u * cx, v * cy) * amp
        return s * self.norm


# ---------------------------------------------------------------- distance functions

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry):
    """Approximate signed distance to an axis-aligned ellipse (exact enough
    for a one-pixel soft edge)."""
    m = min(rx, ry)

    def f(x, y):
        dx = (x - cx) / rx
        dy = (y - cy) / ry
        return (math.sqrt(dx * dx + dy * dy) - 1.0) * m
    return f


def sd_box(x0, y0, x1, y1, radius=0.0):
    cx = (x0 + x1) * 0.5
    cy = (y0 + y1) * 0.5
    hx = (x1 - x0) * 0.5 - radius
    hy = (y1 - y0) * 0.5 - radius

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return f


def seg_dist(px, py, ax, ay, bx, by):
    """Distance from point p to segment ab."""
    vx = bx - ax
    vy = by - ay
    wx = px - ax
    wy = py - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0.0 else clamp((wx * vx + wy * vy) / ll)
    return math.hypot(wx - vx * t, wy - vy * t)


def sd_polyline(points, width):
    segs = list(zip(points, points[1:]))
    half = width * 0.5

    def f(x, y):
        return min(seg_dist(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - half
    return f


def sd_polygon(points):
    """Signed distance to a simple polygon (even-odd inside test)."""
    n = len(points)
    edges = [(points[i], points[(i + 1) % n]) for i in range(n)]

    def f(x, y):
        d = min(seg_dist(x, y, a[0], a[1], b[0], b[1]) for a, b in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y):
                xc = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < xc:
                    inside = not inside
        return -d if inside else d
    return f


def bezier(p0, p1, p2, steps=16):
    """Points along a quadratic Bezier curve, for polylines."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        a = (1 - t) * (1 - t)
        b = 2 * (1 - t) * t
        c = t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return pts


def _bounds(points, pad):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        if width % 4 != 0:
            # The program reads rows without padding.
            raise ValueError("bitmap width must be a multiple of 4")
        self.w = width
        self.h = height
        n = width * height
        self.r = [float(colour[0])] * n
        self.g = [float(colour[1])] * n
        self.b = [float(colour[2])] * n

    # -- pixels
    def get(self, x, y):
        i = y * self.w + x
        return (self.r[i], self.g[i], self.b[i])

    def set(self, x, y, c):
        i = y * self.w + x
        self.r[i], self.g[i], self.b[i] = c[0], c[1], c[2]

    def blend(self, x, y, c, a):
        if a <= 0.0:
            return
        i = y * self.w + x
        if a >= 1.0:
            self.r[i], self.g[i], self.b[i] = c[0], c[1], c[2]
            return
        self.r[i] += (c[0] - self.r[i]) * a
        self.g[i] += (c[1] - self.g[i]) * a
        self.b[i] += (c[2] - self.b[i]) * a

    def shade(self, fn):
        """Set every pixel to fn(x, y) evaluated at the pixel centre."""
        w = self.w
        for y in range(self.h):
            row = y * w
            for x in range(w):
                c = fn(x + 0.5, y + 0.5)
                i = row + x
                self.r[i], self.g[i], self.b[i] = c[0], c[1], c[2]

    def modulate(self, fn):
        """Multiply every pixel by the factor fn(x, y)."""
        w = self.w
        for y in range(self.h):
            row = y * w
            for x in range(w):
                f = fn(x + 0.5, y + 0.5)
                i = row + x
                self.r[i] *= f
                self.g[i] *= f
                self.b[i] *= f

    # -- shapes
    def paint(self, bounds, sdf, colour, alpha=1.0, soft=1.0, wrap=False):
        """Blend `colour` (a colour or a function of x, y) where sdf < 0,
        with a soft edge `soft` pixels wide. With `wrap`, columns beyond the
        left or right edge land on the other side."""
        x0, y0, x1, y1 = bounds
        ys = range(max(0, int(math.floor(y0 - soft))), min(self.h, int(math.ceil(y1 + soft)) + 1))
        xa = int(math.floor(x0 - soft))
        xb = int(math.ceil(x1 + soft)) + 1
        if not wrap:
            xa = max(0, xa)
            xb = min(self.w, xb)
        call = callable(colour)
        for y in ys:
            py = y + 0.5
            for x in range(xa, xb):
                px = x + 0.5
                d = sdf(px, py)
                cov = 0.5 - d / soft
                if cov <= 0.0:
                    continue
                a = alpha * (cov if cov < 1.0 else 1.0)
                self.blend(x % self.w, y, colour(px, py) if call else colour, a)

    def rect(self, x0, y0, x1, y1, colour, alpha=1.0, radius=0.0):
        self.paint((x0, y0, x1, y1), sd_box(x0, y0, x1, y1, radius), colour, alpha)

    def ellipse(self, cx, cy, rx, ry, colour, alpha=1.0, soft=1.0, wrap=False):
        self.paint((cx - rx, cy - ry, cx + rx, cy + ry), sd_ellipse(cx, cy, rx, ry), colour,
                   alpha, soft, wrap)

    def circle(self, cx, cy, r, colour, alpha=1.0, soft=1.0):
        self.paint((cx - r, cy - r, cx + r, cy + r), sd_circle(cx, cy, r), colour, alpha, soft)

    def line(self, points, width, colour, alpha=1.0, soft=1.0, wrap=False):
        self.paint(_bounds(points, width), sd_polyline(points, width), colour, alpha, soft, wrap)

    def polygon(self, points, colour, alpha=1.0, soft=1.0, wrap=False):
        self.paint(_bounds(points, 1.0), sd_polygon(points), colour, alpha, soft, wrap)

    # -- text
    def text(self, x, y, text, colour, alpha=1.0):
        """Draw text with the 5x7 font at one pixel per font cell; (x, y) is
        the top-left corner of the first glyph."""
        for i, ch in enumerate(text):
            rows = font5x7.glyph(ch)
            gx = x + i * font5x7.ADVANCE
            for ry, row in enumerate(rows):
                for rx, on in enumerate(row):
                    px, py = gx + rx, y + ry
                    if on and 0 <= px < self.w and 0 <= py < self.h:
                        self.blend(px, py, colour, alpha)

    def big_text(self, x, y, text, cell_w, cell_h, colour, outline=None, outline_width=0.3,
                 threshold=0.42):
        """Draw text with the 5x7 font enlarged to cells of cell_w by cell_h
        pixels, with smoothed outlines: the glyph bitmap is interpolated and
        cut at a threshold, which rounds the steps of the pixel font.
        `colour` may be a function of (x, y) for gradients."""
        cols = max(1, len(text) * font5x7.ADVANCE)
        grid_w = cols + 2
        grid_h = font5x7.CELL_H + 2
        grid = [[0.0] * grid_w for _ in range(grid_h)]
        for i, ch in enumerate(text):
            for ry, row in enumerate(font5x7.glyph(ch)):
                for rx, on in enumerate(row):
                    if on:
                        grid[ry + 1][i * font5x7.ADVANCE + rx + 1] = 1.0

        def field(px, py):
            u = (px - x) / cell_w + 0.5
            v = (py - y) / cell_h + 0.5
            iu = int(math.floor(u))
            iv = int(math.floor(v))
            if iu < 0 or iv < 0 or iu + 1 >= grid_w or iv + 1 >= grid_h:
                return 0.0
            fu = u - iu
            fv = v - iv
            fu = fu * fu * (3 - 2 * fu)
            fv = fv * fv * (3 - 2 * fv)
            a = grid[iv][iu] + (grid[iv][iu + 1] - grid[iv][iu]) * fu
            b = grid[iv + 1][iu] + (grid[iv + 1][iu + 1] - grid[iv + 1][iu]) * fu
            return a + (b - a) * fv

        # The field rises from 0 to 1 over about one cell, so a field step
        # of 1 / cell size is one pixel of distance.
        px_per_unit = min(cell_w, cell_h)
        bounds = (x - cell_w, y - cell_h, x + cols * cell_w + cell_w, y + (font5x7.CELL_H + 1) * cell_h)
        if outline is not None:
            t_out = threshold - outline_width
            self.paint(bounds, lambda px, py: (t_out - field(px, py)) * px_per_unit, outline)
        self.paint(bounds, lambda px, py: (threshold - field(px, py)) * px_per_unit, colour)

    # -- output
    def bmp_bytes(self):
        """The canvas as a 24-bit uncompressed bottom-up Windows bitmap."""
        w, h = self.w, self.h
        data_size = w * h * 3
        header = struct.pack("<2sIHHI", b"BM", 54 + data_size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, data_size, 2835, 2835, 0, 0)
        out = bytearray(header + info)
        for y in range(h - 1, -1, -1):
            row = y * w
            for x in range(w):
                i = row + x
                out.append(_byte(self.b[i]))
                out.append(_byte(self.g[i]))
                out.append(_byte(self.r[i]))
        return bytes(out)


def _byte(v):
    v = int(v + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v
