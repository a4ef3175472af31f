#!/usr/bin/env python3
"""pose_check.py - reads the poses back from saved animation files and checks
them by forward kinematics (a man at scale 1), for the posing journey.

    pose_check.py FILE            prints each keyframe's wrist, ankle and
                                  knee positions, as a person would look
    pose_check.py journey FIG1 FIG2
                                  the journey's checks; exits 1 on the first
                                  that fails, saying which

Angles and positions are taken as the file writes them (six significant
digits), so distances are compared to 1e-3.
"""
import math
import re
import sys

# Parent, joint offset (male, scale 1) of the parts on the limb chains.
PARTS = {
    "PELVIS": ("ROOT", (0, 0, 0)),
    "STOMK": ("PELVIS", (0, 1.2, 0)),
    "TORSO": ("STOMK", (0, 2, 0)),
    "RUA": ("TORSO", (-1.5, 1.6, 0)), "LUA": ("TORSO", (1.5, 1.6, 0)),
    "RLA": ("RUA", (0, 3, 0)), "LLA": ("LUA", (0, 3, 0)),
    "RH": ("RLA", (0, 2, 0)), "LH": ("LLA", (0, 2, 0)),
    "RUL": ("PELVIS", (-0.9, 0.3, 0)), "LUL": ("PELVIS", (0.9, 0.3, 0)),
    "RLL": ("RUL", (0, 3, 0)), "LLL": ("LUL", (0, 3, 0)),
    "RF": ("RLL", (0, 2.3, 0)), "LF": ("LLL", (0, 2.3, 0)),
}
TWINS = {"RUA": "LUA", "RLA": "LLA", "RH": "LH", "RUL": "LUL", "RLL": "LLL", "RF": "LF", "RHI": "LHI"}
TWINS.update({v: k for k, v in TWINS.items()})


def read(path):
    """The file's keyframes: dicts of label -> (x, y, z) texts, 'pos' included."""
    frames = []
    for line in open(path):
        line = line.strip()
        if line == "<bodykeyframe>":
            frames.append({})
            continue
        m = re.match(r"^(pos|[A-Z]+)=\(([^,]+),([^,]+),([^)]+)\)", line)
        if m and frames:
            frames[-1][m.group(1)] = (m.group(2), m.group(3), m.group(4))
    return frames


def rot(a):
    x, y, z = (math.radians(float(v)) for v in a)
    sa, ca, sb, cb, sc, cc = math.sin(x), math.cos(x), math.sin(y), math.cos(y), math.sin(z), math.cos(z)
    return [[cb * cc, -cb * sc, sb],
            [ca * sc + sa * sb * cc, ca * cc - sa * sb * sc, -sa * cb],
            [sa * sc - ca * sb * cc, sa * cc + ca * sb * sc, ca * cb]]


def mul(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(3)) for c in range(3)] for r in range(3)]


def apply(m, v):
    return [sum(m[r][k] * v[k] for k in range(3)) for r in range(3)]


def world(frame, part):
    """The world position and rotation of a part's joint."""
    if part == "ROOT":
        return [float(v) for v in frame["pos"]], rot(frame["ROOT"])
    parent, offset = PARTS[part]
    p, r = world(frame, parent)
    moved = apply(r, offset)
    return [p[k] + moved[k] for k in range(3)], mul(r, rot(frame[part]))


def joint(frame, part):
    return world(frame, part)[0]


def dist(a, b):
    return math.sqrt(sum((a[k] - b[k]) ** 2 for k in range(3)))


def negated(text):
    return "0" if float(text) == 0 else (text[1:] if text.startswith("-") else "-" + text)


def check(ok, what):
    print(("ok - " if ok else "FAIL: ") + what)
    if not ok:
        sys.exit(1)


STANDING = {"RUA": 170, "LUA": 170, "RH": 10, "LH": 10, "RUL": 180, "LUL": 180, "RF": -90, "LF": -90}


def journey(fig1, fig2):
    f = read(fig1)
    check(len(f) == 7, "figure 1's file holds seven keyframes (%d)" % len(f))
    stand, hand_undone, hand, crouch_undone, crouch, mirrored, exact = f
    standing = {k: ("0", "0", "0") for k in stand}
    standing.update({k: (str(v), "0", "0") for k, v in STANDING.items()})
    standing["pos"] = ("0", "0", "0")
    check(stand == standing, "the first keyframe is the standing pose")
    check(hand_undone == stand, "Ctrl+Z took the hand drag back exactly")
    wrist0, wrist1 = joint(stand, "RH"), joint(hand, "RH")
    check(wrist1[0] < wrist0[0] - 1 and wrist1[1] > wrist0[1] + 2,
          "the right hand went out and up: wrist %s -> %s" % (fmt(wrist0), fmt(wrist1)))
    moved = sorted(k for k in hand if k != "pos" and tuple(float(v) for v in hand[k]) != tuple(float(v) for v in stand[k]))
    check(moved == ["RH", "RLA", "RUA"], "only the right arm turned (%s)" % ", ".join(moved))
    check(float(hand["RLA"][0]) < 0, "the elbow bends its natural way (RLA x %s)" % hand["RLA"][0])
    check(crouch_undone == hand, "Ctrl+Z took the body drag back exactly")
    check(float(crouch["pos"][1]) < -0.5, "the stomach drag lowered the body (y %s)" % crouch["pos"][1])
    for foot in ("RF", "LF"):
        d = dist(joint(hand, foot), joint(crouch, foot))
        check(d < 1e-3, "%s stayed where it stood (moved %.6f)" % (foot, d))
    for shin in ("RLL", "LLL"):
        check(float(crouch[shin][0]) > 15, "the %s knee bent (x %s)" % (shin[0], crouch[shin][0]))
        knee, ankle = joint(crouch, shin), joint(crouch, shin[0] + "F")
        check(knee[2] > ankle[2], "and it bent forwards (knee z %.3f, ankle z %.3f)" % (knee[2], ankle[2]))
    for part, (x, y, z) in crouch.items():
        if part == "pos":
            continue
        want = (crouch[TWINS.get(part, part)][0], negated(crouch[TWINS.get(part, part)][1]),
                negated(crouch[TWINS.get(part, part)][2]))
        check(mirrored[part] == want, "mirrored %s is %s (from %s)" % (part, ",".join(want), ",".join(crouch[TWINS.get(part, part)])))
    text = open(fig1).read()
    check(not re.search(r"[(,]-0[,)]", text), "no -0 in the file")
    check(exact["STOMK"] == ("10", "-5", "0"), "the dialog's angles were set (STOMK %s)" % ",".join(exact["STOMK"]))
    check(exact["pos"][0] == "2.5" and exact["pos"][2] == "-3", "the dialog's position was set (%s)" % ",".join(exact["pos"]))
    check(exact["ROOT"][1] == "90", "the dialog's heading was set (ROOT y %s)" % exact["ROOT"][1])
    g = read(fig2)
    check(len(g) == 1, "figure 2's file holds one keyframe")
    same = all(g[0][k] == crouch[k] for k in crouch if k != "pos")
    check(same, "figure 2 took figure 1's crouching pose")
    check(g[0]["pos"] != crouch["pos"], "but kept its own place (%s)" % ",".join(g[0]["pos"]))


def fmt(v):
    return "(%.3f, %.3f, %.3f)" % tuple(v)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "journey":
        journey(sys.argv[2], sys.argv[3])
        return
    for i, frame in enumerate(read(sys.argv[1])):
        print("keyframe %d: pos %s" % (i + 1, ",".join(frame["pos"])))
        for part in ("RH", "LH", "RLL", "LLL", "RF", "LF"):
            print("  %-3s %s" % (part, fmt(joint(frame, part))))


if __name__ == "__main__":
    main()
