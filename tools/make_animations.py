#!/usr/bin/env python3
"""Makes the six built-in animation files under animations/.

Sections:
  1. the figure: part names, proportions, joint layout, limits, standing pose
  2. forward kinematics and the animator's spline, to look at the motion
  3. checks: joint limits, floor, limbs clear of the body, partners in touch
  4. the file writer (the program's own animation format)
  5. the choreographies, as data
  6. the scene files of the four built-in scenes (keys 0, 5, 6, 8)
  7. main

Every choreography is checked frame by frame before it is written: the
motion is sampled the way the program plays it (straight glide from the
standing pose into the first keyframe, then the closed Catmull-Rom spline),
each sampled pose is put through forward kinematics, and the script stops
with a message when a joint leaves its range, a figure sinks into the floor
or floats above it, a hand passes through the body, or partners lose touch.

The scene files under scenes/ hold what each scene key sets up from the
start-up state: the figures it uses, dressed and placed as the key leaves
them, each with the animation file's keyframes queued the way the program
loads them (all 21 animators cleared, seeded from the standing pose, set
cycling, then filled).

Usage: tools/make_animations.py [--out DIR] [--scenes DIR] [--report]
       tools/make_animations.py --tables
--tables prints the figure's tables and samples of the spline as plain
lines, and writes nothing: a unit test holds them to the program's own.
Python standard library only.
"""

import argparse
import math
import os
import sys

# =============================================================================
# 1. The figure
# =============================================================================

PARTS = ["ROOT", "TORSO", "STOMK", "PELVIS", "NECK", "HEAD",
         "RUA", "LUA", "RLA", "LLA", "RH", "LH",
         "RUL", "LUL", "RLL", "LLL", "RF", "LF",
         "LHI", "RHI"]

PARENT = {
    "ROOT": None, "PELVIS": "ROOT", "STOMK": "PELVIS", "TORSO": "STOMK",
    "NECK": "TORSO", "HEAD": "NECK",
    "RUA": "TORSO", "LUA": "TORSO", "RLA": "RUA", "LLA": "LUA",
    "RH": "RLA", "LH": "LLA", "RHI": "RH", "LHI": "LH",
    "RUL": "PELVIS", "LUL": "PELVIS", "RLL": "RUL", "LLL": "LUL",
    "RF": "RLL", "LF": "LLL",
}
# Parents before children.
CHAIN_ORDER = ["ROOT", "PELVIS", "STOMK", "TORSO", "NECK", "HEAD",
               "RUA", "RLA", "RH", "RHI", "LUA", "LLA", "LH", "LHI",
               "RUL", "RLL", "RF", "LUL", "LLL", "LF"]

# (length, radius) of parts 0..17 at scale 1; the hand items have none.
SIZES = {
    True: [(0.5, 0.5), (2, 1), (2, 0.85), (1.2, 0.9), (0.6, 0.4), (1.3, 1),
           (3, 0.5), (3, 0.5), (2, 0.5), (2, 0.5), (1, 0.3), (1, 0.3),
           (3, 0.5), (3, 0.5), (2.3, 0.5), (2.3, 0.5), (1, 0.3), (1, 0.3)],
    False: [(0.5, 0.5), (1.9, 0.8), (1.7, 0.7), (1.2, 0.95), (0.6, 0.35), (1.3, 1),
            (3, 0.45), (3, 0.45), (1.9, 0.4), (1.9, 0.4), (0.8, 0.27), (0.8, 0.27),
            (2.9, 0.4), (2.9, 0.4), (2.2, 0.35), (2.2, 0.35), (0.7, 0.3), (0.7, 0.3)],
}

# Joint ranges per axis (min, max), degrees.
LIMITS = {
    "ROOT": ((-360, 360), (-360, 360), (-360, 360)),
    "TORSO": ((-10, 10), (-10, 10), (-10, 10)),
    "STOMK": ((-45, 45), (-35, 35), (-35, 35)),
    "PELVIS": ((-20, 20), (-20, 20), (-20, 20)),
    "NECK": ((-30, 30), (-30, 30), (-10, 10)),
    "HEAD": ((-40, 40), (-40, 40), (-10, 10)),
    "RUA": ((-20, 250), (-5, 5), (-30, 90)),
    "LUA": ((-20, 250), (-5, 5), (-90, 30)),
    "RLA": ((-160, 0), (-90, 90), (-90, 20)),
    "LLA": ((-160, 0), (-90, 90), (-20, 90)),
    "RH": ((-30, 90), (-5, 5), (-30, 30)),
    "LH": ((-30, 90), (-5, 5), (-30, 30)),
    "RUL": ((40, 250), (-5, 5), (-8, 45)),
    "LUL": ((40, 250), (-5, 5), (-45, 8)),
    "RLL": ((0, 160), (-5, 5), (-8, 8)),
    "LLL": ((0, 160), (-5, 5), (-8, 8)),
    "RF": ((-120, 0), (-5, 5), (-20, 20)),
    "LF": ((-120, 0), (-5, 5), (-20, 20)),
    "LHI": ((-360, 360), (-360, 360), (-360, 360)),
    "RHI": ((-360, 360), (-360, 360), (-360, 360)),
}

STANDING_X = {"RUA": 170, "LUA": 170, "RH": 10, "LH": 10, "RUL": 180, "LUL": 180,
              "RF": -90, "LF": -90}


def standing():
    """The standing pose: part -> (x, y, z) angles."""
    return {p: (float(STANDING_X.get(p, 0)), 0.0, 0.0) for p in PARTS}


FLOOR_Y = -5.0
SWORD_LENGTH = 8.0


class Body:
    """Sizes and joint offsets of one figure at scale 1."""

    def __init__(self, male):
        self.male = male
        self.length = {}
        self.radius = {}
        for i, p in enumerate(PARTS):
            length, radius = SIZES[male][i] if i < 18 else (0.0, 0.0)
            self.length[p] = length
            self.radius[p] = radius
        L, R = self.length, self.radius
        self.offset = {
            "ROOT": (0, 0, 0), "PELVIS": (0, 0, 0),
            "STOMK": (0, L["PELVIS"], 0), "TORSO": (0, L["STOMK"], 0),
            "NECK": (0, L["TORSO"], 0), "HEAD": (0, L["NECK"] + 0.2 * L["HEAD"], 0),
            "RUA": (-(R["TORSO"] + R["RUA"]), 0.8 * L["TORSO"], 0),
            "LUA": (R["TORSO"] + R["LUA"], 0.8 * L["TORSO"], 0),
            "RLA": (0, L["RUA"], 0), "LLA": (0, L["LUA"], 0),
            "RH": (0, L["RLA"], 0), "LH": (0, L["LLA"], 0),
            "RUL": (-R["PELVIS"], 0.1 * L["RUL"], 0), "LUL": (R["PELVIS"], 0.1 * L["LUL"], 0),
            "RLL": (0, L["RUL"], 0), "LLL": (0, L["LUL"], 0),
            "RF": (0, L["RLL"], 0), "LF": (0, L["LLL"], 0),
            "LHI": (-R["LH"], 0.5 * L["LH"], 0), "RHI": (R["RH"], 0.5 * L["RH"], 0),
        }


MALE = Body(True)
FEMALE = Body(False)

# =============================================================================
# 2. Forward kinematics and the animator's spline
# =============================================================================


def mat_mul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(4)) for j in range(4)] for i in range(4)]


def translate(x, y, z):
    return [[1, 0, 0, x], [0, 1, 0, y], [0, 0, 1, z], [0, 0, 0, 1]]


def rotate(deg, axis):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    if axis == 0:
        return [[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1]]
    if axis == 1:
        return [[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1]]
    return [[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]


def apply(m, p):
    return tuple(m[i][0] * p[0] + m[i][1] * p[1] + m[i][2] * p[2] + m[i][3] for i in range(3))


def part_matrix(offset, angles):
    """A part's matrix in its parent's frame: translate, then x, y, z turns."""
    m = translate(*offset)
    for axis in range(3):
        m = mat_mul(m, rotate(angles[axis], axis))
    return m


class Figure:
    """World-space joints of one posed figure."""

    def __init__(self, body, position, pose):
        self.body = body
        self.world = {}
        for p in CHAIN_ORDER:
            offset = position if p == "ROOT" else body.offset[p]
            local = part_matrix(offset, pose[p])
            parent = PARENT[p]
            self.world[p] = local if parent is None else mat_mul(self.world[parent], local)

    def joint(self, p):
        return apply(self.world[p], (0, 0, 0))

    def end(self, p):
        return apply(self.world[p], (0, self.body.length[p], 0))

    def segment(self, p):
        return self.joint(p), self.end(p)

    def sword(self):
        """The blade held at the right hand item: 8 units along its -z."""
        return apply(self.world["RHI"], (0, 0, 0)), apply(self.world["RHI"], (0, 0, -SWORD_LENGTH))

    def flower_top(self):
        """The blossom of a flower held at the right hand item (along its +y)."""
        return apply(self.world["RHI"], (0, 1.6, 0))

    def spine(self):
        """Axis of the trunk, from the hips to the base of the neck."""
        return self.joint("PELVIS"), self.joint("NECK")

    def feet_points(self):
        return [self.joint("RF"), self.end("RF"), self.joint("LF"), self.end("LF")]


def lerp3(a, b, f):
    return tuple(a[i] + (b[i] - a[i]) * f for i in range(3))


def cardinal(p0, p1, p2, p3, f, s=0.5):
    """The animator's closed cardinal spline between p1 and p2."""
    h1 = 2 * f ** 3 - 3 * f ** 2 + 1
    h2 = 3 * f ** 2 - 2 * f ** 3
    h3 = f ** 3 - 2 * f ** 2 + f
    h4 = f ** 3 - f ** 2
    out = []
    for i in range(3):
        m1 = s * (p1[i] - p0[i]) + s * (p2[i] - p1[i])
        m2 = s * (p2[i] - p1[i]) + s * (p3[i] - p2[i])
        out.append(h1 * p1[i] + h2 * p2[i] + h3 * m1 + h4 * m2)
    return tuple(out)


def sample_track(origin, values, steps, first_pass):
    """Yields the value of one animator at every step of one pass.

    On the first pass keyframe 0 is reached in a straight line from origin;
    on every later pass it comes from the last keyframe on the spline.
    """
    n = len(values)
    for c in range(n):
        for t in range(steps[c]):
            f = t / steps[c]
            if c == 0 and first_pass:
                yield lerp3(origin, values[0], f)
            else:
                p = (c - 1) % n
                yield cardinal(values[(p - 1) % n], values[p], values[c], values[(c + 1) % n], f)


class Dancer:
    """One figure's part of a choreography: who it is and its keyframes."""

    def __init__(self, name, body, start, keyframes, grounded=True):
        self.name = name
        self.body = body
        self.start = start            # where the figure stands when the file is loaded
        self.keyframes = keyframes    # list of (steps, position or None, pose)
        self.grounded = grounded      # feet stay on the floor

    def frames(self, first_pass):
        """Every (position, pose) the program shows during one pass."""
        steps = [k[0] for k in self.keyframes]
        has_pos = self.keyframes[0][1] is not None
        stand = standing()
        if has_pos:
            pos_track = list(sample_track(self.start, [k[1] for k in self.keyframes], steps, first_pass))
        else:
            pos_track = [self.start] * sum(steps)
        tracks = {p: list(sample_track(stand[p], [k[2][p] for k in self.keyframes], steps, first_pass))
                  for p in PARTS}
        for i in range(sum(steps)):
            yield pos_track[i], {p: tracks[p][i] for p in PARTS}


# =============================================================================
# 3. Checks
# =============================================================================


def dist_point_segment(p, a, b):
    ab = [b[i] - a[i] for i in range(3)]
    ap = [p[i] - a[i] for i in range(3)]
    denom = sum(x * x for x in ab)
    t = 0 if denom == 0 else max(0.0, min(1.0, sum(ap[i] * ab[i] for i in range(3)) / denom))
    q = [a[i] + ab[i] * t for i in range(3)]
    return math.dist(p, q)


def dist_segments(a0, a1, b0, b1, samples=24):
    """Closest approach of two segments (sampled; plenty for a sanity check)."""
    best = float("inf")
    for i in range(samples + 1):
        p = lerp3(a0, a1, i / samples)
        best = min(best, dist_point_segment(p, b0, b1))
    return best


class Problems(list):
    def add(self, who, frame, what):
        self.append(f"{who}, frame {frame}: {what}")


def check_limits(dancer, problems):
    for k, (_, _, pose) in enumerate(dancer.keyframes):
        for p in PARTS:
            for axis in range(3):
                lo, hi = LIMITS[p][axis]
                v = pose[p][axis]
                if not lo <= v <= hi:
                    problems.add(dancer.name, f"keyframe {k + 1}", f"{p} axis {axis} = {v} outside {lo}..{hi}")


def check_body(dancer, frame, fig, problems, floating_allowance=0.2):
    """Floor and self-contact of one sampled pose."""
    feet = min(pt[1] for pt in fig.feet_points())
    if feet < FLOOR_Y - 0.1:
        problems.add(dancer.name, frame, f"feet {feet:.2f} below the floor")
    if dancer.grounded and feet > FLOOR_Y + floating_allowance:
        problems.add(dancer.name, frame, f"feet {feet:.2f} float above the floor")
    above_floor = [fig.joint("RLL"), fig.joint("LLL"), fig.end("RH"), fig.end("LH"), fig.end("HEAD"),
                   fig.joint("HEAD"), fig.joint("TORSO")]
    if min(pt[1] for pt in above_floor) < FLOOR_Y + 0.3:
        problems.add(dancer.name, frame, "knee, hand or head touches the floor")
    # Lower arms and hands stay outside the trunk.
    s0, s1 = fig.spine()
    trunk = dancer.body.radius["TORSO"] + 0.15
    for p in ["RLA", "LLA", "RH", "LH"]:
        a, b = fig.segment(p)
        for i in range(5):
            pt = lerp3(a, b, i / 4)
            if dist_point_segment(pt, s0, s1) < trunk:
                problems.add(dancer.name, frame, f"{p} inside the trunk")
                return
    # Legs do not cross through each other.
    for r, l in [("RLL", "LLL"), ("RF", "LF")]:
        if dist_segments(*fig.segment(r), *fig.segment(l)) < 0.5:
            problems.add(dancer.name, frame, f"{r} and {l} pass through each other")


def frames_of(dancers, first_pass):
    streams = [list(d.frames(first_pass)) for d in dancers]
    n = len(streams[0])
    for s in streams:
        if len(s) != n:
            raise SystemExit("partners' loops differ in length: they would drift apart")
    for i in range(n):
        yield i, [Figure(d.body, *streams[j][i]) for j, d in enumerate(dancers)]


def check_group(dancers, armed=False):
    """Checks every sampled frame of the first pass and of a later pass."""
    problems = Problems()
    for d in dancers:
        check_limits(d, problems)
    for first_pass in (True, False):
        label = "first pass" if first_pass else "loop"
        for i, figs in frames_of(dancers, first_pass):
            for d, fig in zip(dancers, figs):
                check_body(d, f"{label} {i}", fig, problems)
            if len(figs) == 2:
                a, b = figs
                gap = dist_segments(*a.spine(), *b.spine())
                pair = dancers[0].name + "+" + dancers[1].name
                if gap < a.body.radius["TORSO"] + b.body.radius["TORSO"] + 0.3:
                    problems.add(pair, f"{label} {i}", f"bodies overlap (trunks {gap:.2f} apart)")
                for x, y in ((a, b), (b, a)):
                    reach = {p: x.segment(p) for p in ("RLA", "LLA", "RH", "LH")}
                    if armed:
                        reach["blade"] = x.sword()
                    clear = y.body.radius["TORSO"] + 0.1
                    for p, seg in reach.items():
                        if dist_segments(*seg, *y.spine()) < clear:
                            problems.add(pair, f"{label} {i}", f"{p} goes through the other")
    return problems


# =============================================================================
# 4. The file writer
# =============================================================================


def fmt(v):
    """A number as the program writes it (%g: 6 significant digits)."""
    v = float(v)
    if v == 0:
        v = 0.0  # never "-0"
    return "%g" % v


def animation_text(dancer):
    """The file text in the layout the program's own writer produces.

    A dancer without positions gets no "pos" lines: position keyframes are
    absolute, so a file played by several persons must leave them where
    they stand.
    """
    lines = ["!!!Marionetrix_v1.0", "!!type=animation", "!name=Moonwalk",
             "!numKeyFrames=%d" % len(dancer.keyframes)]
    for steps, pos, pose in dancer.keyframes:
        lines.append("<bodykeyframe>")
        lines.append("steps=%s" % fmt(steps))
        if pos is not None:
            lines.append("pos=(%s,%s,%s)REL" % tuple(fmt(c) for c in pos))
        for p in PARTS:
            lines.append("%s=(%s,%s,%s)" % ((p,) + tuple(fmt(c) for c in pose[p])))
    lines.append("EOF")
    return "\n".join(lines) + "\n"


# =============================================================================
# 5. Choreographies
# =============================================================================
#
# A pose is the standing pose with some parts changed: pose(RUA=(90, 0, 20)).
# mirrored() swaps left and right, so a move learnt on one side is danced on
# the other. A keyframe is (steps, position or None, pose).


def pose(base=None, **parts):
    out = dict(base or standing())
    for p, v in parts.items():
        out[p] = tuple(float(c) for c in v)
    return out


def mirrored(p):
    """The same pose with left and right exchanged."""
    swap = {"RUA": "LUA", "RLA": "LLA", "RH": "LH", "RUL": "LUL", "RLL": "LLL",
            "RF": "LF", "RHI": "LHI"}
    swap.update({v: k for k, v in swap.items()})
    out = {}
    for name in PARTS:
        x, y, z = p[swap.get(name, name)]
        out[name] = (x, -y if y else 0.0, -z if z else 0.0)
    return out


def grounded_height(body, position, p):
    """Root height at which the lowest foot rests on the floor."""
    fig = Figure(body, (position[0], 0.0, position[2]), p)
    lowest = min(pt[1] for pt in fig.feet_points())
    return round(FLOOR_Y - lowest, 2)


def on_floor(body, x, z, p):
    """A position at (x, z) with the root raised or lowered to stand on the floor."""
    return (x, grounded_height(body, (x, 0, z), p), z)


# ---- superman: flying a figure of eight above the stage, belly down, one
# fist forward. ROOT (90, 0, c) lays the body level and points the head
# along (-sin c, 0, cos c); the heading follows the path.

SUPERMAN_FLIGHT = pose(
    ROOT=(90, 0, 0),
    NECK=(-25, 0, 0), HEAD=(-35, 0, 0),                       # looking ahead
    RUA=(2, 0, -4), RLA=(0, 0, 0), RH=(0, 0, 0),              # fist forward
    LUA=(178, 0, -12), LLA=(-25, 0, 0), LH=(20, 0, 0),        # arm along the side
    RUL=(182, 0, 3), LUL=(178, 0, -3),
    RLL=(6, 0, 0), LLL=(24, 0, 0),                             # trailing legs
    RF=(-15, 0, 0), LF=(-20, 0, 0),                            # pointed feet
)
SUPERMAN_KEYFRAMES = 16
SUPERMAN_STEPS = 25


def superman_path(k):
    """Position and heading at keyframe k of the figure of eight."""
    t = 2 * math.pi * k / SUPERMAN_KEYFRAMES
    pos = (16 * math.sin(t), 7 + 2 * math.sin(t), -12 + 7 * math.sin(2 * t))
    dx, dz = 16 * math.cos(t), 14 * math.cos(2 * t)
    return pos, math.degrees(math.atan2(-dx, dz))


def superman():
    keyframes = []
    previous = None
    for k in range(SUPERMAN_KEYFRAMES):
        pos, heading = superman_path(k)
        if previous is not None:  # turn the short way round: no spins
            heading += 360 * round((previous - heading) / 360)
        previous = heading
        flutter = 1 if k % 2 else -1  # legs kick in turn
        p = pose(SUPERMAN_FLIGHT,
                 ROOT=(90, 0, round(heading, 1)),
                 RLL=(15 + 9 * flutter, 0, 0), LLL=(15 - 9 * flutter, 0, 0),
                 HEAD=(-35 + 3 * flutter, 0, 0))
        keyframes.append((SUPERMAN_STEPS, tuple(round(c, 2) for c in pos), p))
    return [Dancer("superman", MALE, (0, 0, 0), keyframes, grounded=False)]


# ---- lawnmower: the left hand holds an imaginary mower low in front, the
# right hand reaches down for the starter cord and yanks it up and back,
# twice; then the same on the other side. Danced on the spot by everyone
# shown, so the file carries no positions. Checked on the man's proportions;
# the woman's legs are shorter in the same ratio, so she stands as well.

MOWER_STANCE = pose(
    RUL=(176, 0, 5), LUL=(176, 0, -5), RLL=(8, 0, 0), LLL=(8, 0, 0),
    RF=(-94, 0, 0), LF=(-94, 0, 0),
)
MOWER_REACH = pose(
    MOWER_STANCE,
    STOMK=(30, 8, 0), TORSO=(8, 0, 0), NECK=(5, 0, 0), HEAD=(12, 0, 0),   # bent over the mower
    LUA=(138, 0, -4), LLA=(-34, 0, 0), LH=(40, 0, 0),                      # holding the handle
    RUA=(128, 0, -24), RLA=(-24, 0, 10), RH=(30, 0, 0),                    # gripping the cord
    RUL=(172, 0, 5), LUL=(172, 0, -5), RLL=(16, 0, 0), LLL=(16, 0, 0),
    RF=(-98, 0, 0), LF=(-98, 0, 0),
)
MOWER_PULL = pose(
    MOWER_STANCE,
    STOMK=(10, -26, 0), TORSO=(2, -8, 0), NECK=(-5, -10, 0), HEAD=(-8, -12, 0),  # up and round
    LUA=(146, 0, -4), LLA=(-30, 0, 0), LH=(35, 0, 0),
    RUA=(218, 0, 38), RLA=(-118, 0, 0), RH=(15, 0, 0),                          # elbow yanked back
    RUL=(179, 0, 5), LUL=(179, 0, -5), RLL=(2, 0, 0), LLL=(2, 0, 0),
    RF=(-91, 0, 0), LF=(-91, 0, 0),
)


def lawnmower():
    right = [(12, None, MOWER_REACH), (7, None, MOWER_PULL),
             (10, None, MOWER_REACH), (7, None, MOWER_PULL)]
    left = [(s, None, mirrored(p)) for s, _, p in right]
    return [Dancer("lawnmower", MALE, (0, 0, 0), right + left)]


# ---- boy and girl: a couple dance. The boy (person 0, holding a flower in
# his right hand) bows and offers the flower, she curtsies and leans in to
# smell it; they join hands, sway side to side, and he twirls her under his
# raised hand, once each way. The dance is laid out along a line through
# COUPLE_CENTRE turned by COUPLE_TURN degrees, boy on the left, girl on the
# right: in that frame he faces +x (heading 90) and she faces -x (-90).

COUPLE_CENTRE = (1.5, -2.0)   # x, z on the stage
COUPLE_TURN = 0               # the line runs across the view: both seen side on

BOY_BOW = pose(
    STOMK=(32, 0, 0), TORSO=(5, 0, 0), NECK=(5, 0, 0), HEAD=(12, 0, 0),
    RUA=(150, 0, -12), RLA=(-100, 0, 0), RH=(10, 0, 0), RHI=(-100, 0, -20),  # the flower held out
    LUA=(176, 0, -6), LLA=(-20, 0, 0),
)
GIRL_CURTSY = pose(
    STOMK=(12, 0, 0), NECK=(5, 0, 0), HEAD=(15, 0, 0),
    RUA=(170, 0, 22), LUA=(170, 0, -22), RLA=(-25, 0, 0), LLA=(-25, 0, 0),  # holding her skirt
    RUL=(168, 0, 3), RLL=(22, 0, 0), RF=(-100, 0, 0),
    LUL=(200, 0, -2), LLL=(40, 0, 0), LF=(-105, 0, 0),                      # left foot tucked behind
)
BOY_OFFER = pose(BOY_BOW, STOMK=(18, 0, 0), HEAD=(0, 0, 0),
                 RUA=(122, 0, -30), RLA=(-95, 0, 0), RHI=(-60, 0, -20))     # the flower under her nose
GIRL_SMELL = pose(
    STOMK=(18, 0, 0), TORSO=(4, 0, 0), NECK=(10, 0, 0), HEAD=(5, 0, 0),
    RUA=(160, 0, 10), LUA=(150, 0, -10), RLA=(-60, 0, 0), LLA=(-60, 0, 0),   # hands together
    LUL=(186, 0, -2), LLL=(12, 0, 0), LF=(-100, 0, 0),
)
BOY_HOLD = pose(
    LUA=(168, 0, -3), LLA=(-55, 0, -10), LH=(20, 0, 0),                    # her hand in his
    RUA=(150, 0, 40), RLA=(-100, 0, 0), RH=(0, 0, 0), RHI=(-45, 0, 30),     # flower held up
)
GIRL_HOLD = pose(
    RUA=(165, 0, 3), RLA=(-55, 0, 10), RH=(20, 0, 0),
    LUA=(160, 0, -35), LLA=(-30, 0, 0), LH=(20, 0, 0), HEAD=(5, 0, 6),
)


def leaning_right(p, lean=4):
    """Weight on the right foot: the body tips right, the left heel lifts."""
    return pose(p, ROOT=(0, 0, lean), STOMK=(p["STOMK"][0], 0, -2 * lean),
                LUL=(172, 0, -4), LLL=(24, 0, 0), LF=(-100, 0, 0))


BOY_RAISE = pose(
    BOY_HOLD,
    LUA=(72, 0, 23), LLA=(-50, 0, -6), LH=(-30, 0, 30),                    # his hand over her head
)
GIRL_RAISE = pose(
    RUA=(8, 0, 15), RLA=(0, 0, -75), RH=(0, 0, -20),                       # her hand in his, arm curved
    LUA=(174, 0, -12), LLA=(-10, 0, 0), LH=(10, 0, 0),                     # free arm kept in
    RF=(-100, 0, 0), LF=(-100, 0, 0),
)
# Joined hands at chest height between them, on the way up and down.
BOY_LOWER = pose(BOY_HOLD, LUA=(177, 0, -12), LLA=(-118, 0, -9), LH=(-30, 0, 0))
GIRL_LOWER = pose(GIRL_RAISE, RUA=(146, 0, -11), RLA=(-130, 0, 20), RH=(-12, 0, 29))


def couple_place(x, z, turn):
    """Couple-frame (x, z) to stage (x, z), the frame turned by turn degrees."""
    a = math.radians(COUPLE_TURN + turn)
    return (COUPLE_CENTRE[0] + x * math.cos(a) + z * math.sin(a),
            COUPLE_CENTRE[1] - x * math.sin(a) + z * math.cos(a))


def facing(p, heading):
    """The pose turned to a heading, keeping its own lean."""
    x, y, z = p["ROOT"]
    return pose(p, ROOT=(x, y + heading, z))


def stand_at(body, x, z, p):
    return tuple(round(c, 2) for c in on_floor(body, x, z, p))


def couple_keyframe(steps, boy_x, girl_x, turn, boy_pose, girl_pose, spin=0.0):
    bp = facing(boy_pose, 90 + COUPLE_TURN + turn)
    gp = facing(girl_pose, -90 + COUPLE_TURN + turn + spin)
    bx, bz = couple_place(boy_x, 0, turn)
    gx, gz = couple_place(girl_x, 0, turn)
    return (steps, stand_at(MALE, bx, bz, bp), bp), (steps, stand_at(FEMALE, gx, gz, gp), gp)


def twirl_keyframe(steps, raise_kf, spin):
    """She turns under the joined hands: her root moves so that her raised
    hand stays where his hand holds it."""
    _, held_pos, held_pose = raise_kf
    held = Figure(FEMALE, held_pos, held_pose).end("RH")
    x, y, z = held_pose["ROOT"]
    turned = pose(held_pose, ROOT=(x, y + spin, z))
    hand = Figure(FEMALE, (0, held_pos[1], 0), turned).end("RH")
    return (steps, (round(held[0] - hand[0], 2), held_pos[1], round(held[2] - hand[2], 2)), turned)


def couple():
    boy, girl = [], []

    def add(pair):
        boy.append(pair[0])
        girl.append(pair[1])

    def sways(spin):
        for turn, lean in ((10, 1), (-10, -1), (10, 1), (-10, -1)):
            add(couple_keyframe(16, -3, 3, turn,
                                leaning_right(BOY_HOLD, 4 * lean),
                                mirrored(leaning_right(mirrored(GIRL_HOLD), 4 * lean)), spin))

    def twirl(start, stop):
        add(couple_keyframe(12, -3, 1.6, 0, BOY_LOWER, GIRL_LOWER, start))
        raised = couple_keyframe(14, -3, 0.6, 0, BOY_RAISE, GIRL_RAISE, start)
        add(raised)
        for k in (1, 2, 3, 4):
            spin = start + (stop - start) * k / 4
            boy.append((12,) + raised[0][1:])
            girl.append(twirl_keyframe(12, raised[1], spin - start))
        add(couple_keyframe(14, -3, 1.6, 0, BOY_LOWER, GIRL_LOWER, stop))

    add(couple_keyframe(30, -3.8, 3.8, 0, BOY_BOW, GIRL_CURTSY))
    add(couple_keyframe(30, -3.4, 4.0, 0, BOY_OFFER, GIRL_SMELL))
    add(couple_keyframe(24, -3, 3, 0, BOY_HOLD, GIRL_HOLD))
    sways(0)
    twirl(0, 360)
    add(couple_keyframe(20, -3, 3, 0, BOY_HOLD, GIRL_HOLD, 360))
    sways(360)
    twirl(360, 0)
    add(couple_keyframe(24, -3, 3, 0, BOY_HOLD, GIRL_HOLD))
    return [Dancer("boy", MALE, (0, 0, 0), boy), Dancer("girl", FEMALE, (10, 0, -10), girl)]


# ---- sword fight: two swordsmen face each other along a line through
# DUEL_CENTRE. Each fighter's moves are written in his own duel frame:
# f along the line towards the opponent (from the centre), y up, s to his
# right. Both fighters' frames are the same frame turned half a turn, so a
# move is written once and danced by either. A blade is aimed by turning
# the hand item (the wrist) so that the blade points at a point of the
# duel frame.

DUEL_CENTRE = (0.0, -4.0)    # x, z on the stage
DUEL_TURN = 10               # the line is turned a little so both faces show
DUEL_DISTANCE = 5.5          # from the centre to each fighter's guard position

FENCING_LEGS = dict(RUL=(162, 0, 2), RLL=(28, 0, 0), RF=(-100, 0, 0),   # right foot forward
                    LUL=(196, 0, -2), LLL=(4, 0, 0), LF=(-110, 0, 0))
LUNGE_LEGS = dict(RUL=(142, 0, 2), RLL=(52, 0, 0), RF=(-104, 0, 0),
                  LUL=(206, 0, -2), LLL=(0, 0, 0), LF=(-116, 0, 0))
BACK_ARM = dict(LUA=(205, 0, -35), LLA=(-25, 0, 0), LH=(15, 0, 0))     # free arm out behind

SALUTE = pose(RUA=(150, 0, -15), RLA=(-110, 0, 0), RH=(0, 0, 0),         # hilt before the chin
              LUA=(175, 0, -8), LLA=(-10, 0, 0), HEAD=(-5, 0, 0))
GUARD = pose(STOMK=(4, -10, 0), RUA=(138, 0, -8), RLA=(-45, 0, 0), RH=(10, 0, 0),
             **BACK_ARM, **FENCING_LEGS)
THRUST = pose(STOMK=(14, -14, 0), TORSO=(4, 0, 0), RUA=(102, 0, -6), RLA=(-8, 0, 0),
              RH=(10, 0, 0), LUA=(225, 0, -30), LLA=(-20, 0, 0), **LUNGE_LEGS)
PARRY_OUT = pose(STOMK=(-8, -6, 0), RUA=(132, 0, 20), RLA=(-50, 0, -10), RH=(10, 0, 10),
                 **BACK_ARM, **FENCING_LEGS)
WIND_UP = pose(STOMK=(-6, -12, 0), NECK=(-5, 0, 0), RUA=(20, 0, 10), RLA=(-70, 0, 0),
               RH=(20, 0, 0), **BACK_ARM, **FENCING_LEGS)
CUT = pose(STOMK=(12, -8, 0), TORSO=(5, 0, 0), RUA=(28, 0, -12), RLA=(-10, 0, 0),
           RH=(20, 0, 0), LUA=(210, 0, -30), LLA=(-30, 0, 0), **LUNGE_LEGS)
HIGH_PARRY = pose(STOMK=(-4, -4, 0), RUA=(40, 0, -10), RLA=(-40, 0, 0), RH=(10, 0, 0),
                  HEAD=(-10, 0, 0), **BACK_ARM, **FENCING_LEGS)
LOW_PARRY = pose(STOMK=(10, -6, 0), RUA=(150, 0, 25), RLA=(-30, 0, 0), RH=(20, 0, 0),
                 **BACK_ARM, **FENCING_LEGS)


def duel_to_stage(fighter, f, y, s):
    """A point of a fighter's duel frame on the stage (fighter 0 or 1)."""
    sign = 1 if fighter == 0 else -1
    x, z = sign * f, sign * s                    # fighter 0 looks along +x with his right at +z
    a = math.radians(DUEL_TURN)
    return (DUEL_CENTRE[0] + x * math.cos(a) + z * math.sin(a), y,
            DUEL_CENTRE[1] - x * math.sin(a) + z * math.cos(a))


def aim_blade(body, position, p, point):
    """The pose with the wrist turned so that the blade points at point."""
    hand = Figure(body, position, pose(p, RHI=(0, 0, 0))).world["RHI"]
    origin = apply(hand, (0, 0, 0))
    w = [point[i] - origin[i] for i in range(3)]
    n = math.sqrt(sum(c * c for c in w))
    # Into the hand item's frame (rotation part only: orthonormal, so transpose).
    v = [sum(hand[r][c] * w[r] for r in range(3)) / n for c in range(3)]
    b = -math.degrees(math.asin(max(-1.0, min(1.0, v[0]))))
    a = math.degrees(math.atan2(v[1], -v[2]))
    return pose(p, RHI=(round(a, 1), round(b, 1), 0))


def fighter_keyframe(fighter, steps, f, p, aim, opponent=None):
    """One keyframe of a fighter standing at f of his duel frame, his blade
    aimed at aim: a point (f, y, s) of his own duel frame, or ("blade", t),
    the point at t of the length of the opponent's blade (a parry)."""
    heading = (90 if fighter == 0 else -90) - DUEL_TURN
    p = facing(p, heading)
    x, _, z = duel_to_stage(fighter, f, 0, 0)
    pos = stand_at(MALE, x, z, p)
    if aim[0] == "blade":
        hilt, tip = Figure(MALE, opponent[1], opponent[2]).sword()
        target = lerp3(hilt, tip, aim[1])
    else:
        target = duel_to_stage(fighter, *aim)
    return steps, pos, aim_blade(MALE, pos, p, target)


# One exchange: (steps, fighter 0's move, fighter 1's move); a move is
# (where he stands along the line, pose, where his blade points), all in
# his own duel frame. Blades that meet aim at the same point, or one at the
# other's blade.
D = DUEL_DISTANCE
CROSSED = (0.0, 5.5, 0.0)            # where the blades cross in guard
SALUTE_MOVE = (-D - 1, SALUTE, (-D - 0.5, 14, 0.5))
GUARD_MOVE = (-D, GUARD, CROSSED)
THRUST_MOVE = (-D + 1.5, THRUST, (D - 0.6, 3.5, -2.2))       # beside the other's shoulder
PARRY_MOVE = (-D - 0.5, PARRY_OUT, ("blade", 0.7))
DUEL_EXCHANGE = [
    (30, SALUTE_MOVE, SALUTE_MOVE),
    (24, GUARD_MOVE, GUARD_MOVE),
    (14, THRUST_MOVE, PARRY_MOVE),          # he thrusts; the other turns the blade aside
    (16, GUARD_MOVE, GUARD_MOVE),
    (14, PARRY_MOVE, THRUST_MOVE),          # and the other way round
    (16, GUARD_MOVE, GUARD_MOVE),
    (14, (-D, WIND_UP, (-D - 4, 12, 0.5)), GUARD_MOVE),             # sword raised behind
    (12, (-D + 1.2, CUT, ("blade", 0.35)), (-D - 0.3, HIGH_PARRY, (-D - 0.3, 8.8, -4.0))),
    (14, (-D - 0.3, LOW_PARRY, ("blade", 0.7)), (-D + 1.2, THRUST, (D - 0.8, 1.0, -2.4))),
    (16, GUARD_MOVE, GUARD_MOVE),           # the riposte was swept aside: back on guard
]


def sword_fight():
    fighters = ([], [])
    for steps, move0, move1 in DUEL_EXCHANGE:
        order = ((1, move1), (0, move0)) if move0[2][0] == "blade" else ((0, move0), (1, move1))
        # the one who parries aims at the other's blade, so the other goes first
        done = {}
        for fighter, (f, p, aim) in order:
            done[fighter] = fighter_keyframe(fighter, steps, f, p, aim, done.get(1 - fighter))
        fighters[0].append(done[0])
        fighters[1].append(done[1])
    return [Dancer("swordsman 1", MALE, (0, 0, 0), fighters[0]),
            Dancer("swordsman 2", MALE, (10, 0, -10), fighters[1])]


# =============================================================================
# 6. Scene files
# =============================================================================

SCENE_VERSION = 1
ITEM_FLOWER, ITEM_SWORD = 2, 4
SKIN_LIGHT, SKIN_DARK = 10, 11
# Where start-up places persons 0 and 1.
START_PLACE = [(0.0, 0.0, 0.0), (10.0, 0.0, -10.0)]
CAM_SHIFT_TOWARDS_PERSON = 1

# name: (extra settings, [(person, male, skin, right hand item, animation file)])
SCENES = [
    ("superman.scene", {"cameraMode": CAM_SHIFT_TOWARDS_PERSON},
     [(0, True, SKIN_LIGHT, 0, "superman.txt")]),
    ("boy_and_girl.scene", {},
     [(0, True, SKIN_LIGHT, ITEM_FLOWER, "1_boy.txt"), (1, False, SKIN_LIGHT, 0, "1_girl.txt")]),
    ("swordfight.scene", {},
     [(0, True, SKIN_LIGHT, ITEM_SWORD, "2_swordfight1.txt"),
      (1, True, SKIN_DARK, ITEM_SWORD, "2_swordfight2.txt")]),
    ("lawnmower.scene", {}, [(0, True, SKIN_LIGHT, 0, "lawnmower.txt")]),
]


def animator_lines(owner, start, keys):
    """An animator as loading leaves it: seeded at `start`, cycling, `keys`
    of (x, y, z, steps) queued, not yet played."""
    at = " ".join(fmt(c) for c in start)
    lines = ["anim %s value %s" % (owner, at), "anim %s origin %s 1 1" % (owner, at)]
    for x, y, z, steps in keys:
        lines.append("anim %s key %s %s %s 1 %d" % (owner, fmt(x), fmt(y), fmt(z), steps))
    lines.append("anim %s play 0 0 0 0 1 1" % owner)
    return lines


def figure_lines(i, male, skin, right_item, dancer):
    rest = standing()
    person = "person %d " % i
    lines = [person + "male %d" % male, person + "showTrail 0", person + "animating 1",
             person + "scale 1", person + "alpha 1", person + "trailAlpha 0.2",
             person + "trailFade 0.05", person + "skin %d" % skin,
             person + "leftHandItem 0", person + "rightHandItem %d" % right_item,
             person + "selectedPart 0",
             person + "colour %s" % ("0 0 1" if male else "1 0 0"),
             person + "position %s" % " ".join(fmt(c) for c in START_PLACE[i])]
    lines += [person + "rotation %s %s" % (p, " ".join(fmt(c) for c in rest[p])) for p in PARTS]
    positions = [(k[1][0], k[1][1], k[1][2], k[0]) for k in dancer.keyframes if k[1] is not None]
    lines += animator_lines("person.%d.pos" % i, START_PLACE[i], positions)
    for p in PARTS:
        keys = [(k[2][p][0], k[2][p][1], k[2][p][2], k[0]) for k in dancer.keyframes]
        lines += animator_lines("person.%d.%s" % (i, p), rest[p], keys)
    return lines


def scene_text(settings, figures, dancers):
    lines = ["puppetorium-scene %d" % SCENE_VERSION,
             "# made by tools/make_animations.py: what the scene's key sets up at start",
             "numPersons %d" % len(figures), "selectedPerson 0"]
    lines += ["%s %s" % kv for kv in settings.items()]
    lines += ["music media/01.mp3", "musicOffset 0"]
    for i, male, skin, item, name in figures:
        lines += figure_lines(i, male, skin, item, dancers[name])
    lines.append("end")
    return "\n".join(lines) + "\n"


# =============================================================================
# 7. Main
# =============================================================================

FILES = [
    ("superman.txt", superman),
    ("lawnmower.txt", lawnmower),
    (("1_boy.txt", "1_girl.txt"), couple),
    (("2_swordfight1.txt", "2_swordfight2.txt"), sword_fight),
]


def blades_meet(exchange):
    """Whether the blades touch at this keyframe: crossed in guard, or parried."""
    _, (_, _, aim0), (_, _, aim1) = exchange
    return aim0[0] == "blade" or aim1[0] == "blade" or aim0 == aim1 == CROSSED


def pair_contact(dancers):
    """Keyframes where partners must touch: hands held, blades crossed."""
    problems = Problems()
    a, b = dancers
    for k, (ka, kb) in enumerate(zip(a.keyframes, b.keyframes)):
        fa, fb = Figure(a.body, ka[1], ka[2]), Figure(b.body, kb[1], kb[2])
        if a.name == "boy" and k >= 2:
            gap = math.dist(fa.end("LH"), fb.end("RH"))
            if gap > 0.8:
                problems.add("boy+girl", f"keyframe {k + 1}", f"hands {gap:.2f} apart")
        if a.name == "boy":
            lift = fa.flower_top()[1] - apply(fa.world["RHI"], (0, 0, 0))[1]
            if lift < 1.0:
                problems.add("boy", f"keyframe {k + 1}", "the flower droops")
        if a.name.startswith("swordsman") and blades_meet(DUEL_EXCHANGE[k]):
            gap = dist_segments(*fa.sword(), *fb.sword())
            if gap > 0.4:
                problems.add("swords", f"keyframe {k + 1}", f"blades {gap:.2f} apart")
        if a.name.startswith("swordsman"):
            for x, y in ((fa, fb), (fb, fa)):
                if dist_segments(*x.sword(), *y.spine()) < y.body.radius["TORSO"] + 0.3:
                    problems.add("swords", f"keyframe {k + 1}", "a blade runs through a body")
    return problems


# A track to sample the spline along, both passes, for --tables.
SPLINE_SAMPLE = {"origin": (1.0, 2.0, 3.0), "steps": [7, 12, 10, 9],
                 "values": [(0.0, 0.0, 0.0), (10.0, 20.0, -5.0), (30.0, -10.0, 40.0), (5.0, 5.0, 5.0)]}


def tables_text():
    """The tables above and the spline's samples, one fact a line."""
    lines = []
    for p in CHAIN_ORDER:
        lines.append(f"order {p} {PARENT[p] or '-'}")
    for male in (True, False):
        gender = "male" if male else "female"
        body = Body(male)
        for p in PARTS:
            lines.append(f"size {gender} {p} {body.length[p]!r} {body.radius[p]!r}")
            lines.append(f"offset {gender} {p} " + " ".join(repr(float(v)) for v in body.offset[p]))
    for p in PARTS:
        lines.append(f"limit {p} " + " ".join(f"{lo} {hi}" for lo, hi in LIMITS[p]))
        lines.append(f"standing {p} " + " ".join(repr(v) for v in standing()[p]))
    track = SPLINE_SAMPLE
    lines.append("spline origin " + " ".join(repr(v) for v in track["origin"]))
    for steps, value in zip(track["steps"], track["values"]):
        lines.append(f"spline key {steps} " + " ".join(repr(v) for v in value))
    for first_pass in (True, False):
        samples = sample_track(track["origin"], track["values"], track["steps"], first_pass)
        for t, v in enumerate(samples):
            lines.append(f"sample {int(first_pass)} {t} " + " ".join(repr(x) for x in v))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--out", default=os.path.join(root, "animations"))
    parser.add_argument("--scenes", default=os.path.join(root, "scenes"))
    parser.add_argument("--report", action="store_true", help="print a line per keyframe")
    parser.add_argument("--tables", action="store_true", help="print the figure's tables and spline samples")
    args = parser.parse_args()
    if args.tables:
        sys.stdout.write(tables_text())
        return

    os.makedirs(args.out, exist_ok=True)
    os.makedirs(args.scenes, exist_ok=True)
    failed = False
    made = {}
    for names, make in FILES:
        dancers = make()
        names = names if isinstance(names, tuple) else (names,)
        problems = check_group(dancers, armed=make is sword_fight)
        if len(dancers) == 2:
            problems += pair_contact(dancers)
        for p in problems:
            print("problem:", p, file=sys.stderr)
        failed = failed or bool(problems)
        for name, dancer in zip(names, dancers):
            made[name] = dancer
            if args.report:
                for k, (steps, pos, p) in enumerate(dancer.keyframes):
                    print(f"{name} {k + 1:2d} steps {steps:3d} pos {pos} root {p['ROOT']}")
            with open(os.path.join(args.out, name), "w", newline="\n") as f:
                f.write(animation_text(dancer))
            frames = sum(k[0] for k in dancer.keyframes)
            print(f"{name}: {len(dancer.keyframes)} keyframes, {frames} steps a loop")
    for name, settings, figures in SCENES:
        with open(os.path.join(args.scenes, name), "w", newline="\n") as f:
            f.write(scene_text(settings, figures, made))
        print(f"{name}: {len(figures)} figure(s)")
    if failed:
        sys.exit("some choreography breaks the figure's rules (see above)")


if __name__ == "__main__":
    main()
