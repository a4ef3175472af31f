#!/usr/bin/env python3
"""bvh_fk.py - an independent BVH reader: joint positions by forward kinematics.

   bvh_fk.py FILE.bvh EXPECTED.csv [TOLERANCE]

Reads the HIERARCHY (joints, OFFSETs, CHANNELS in their listed order, End
Sites) and the MOTION frames, and computes every joint's world position in
every frame: a joint's local matrix is the translation by its OFFSET (plus
its position channels) times one rotation per rotation channel, multiplied
in the order the channels are listed, as BVH readers do. EXPECTED.csv holds
lines "frame,joint,x,y,z". Exits 0 when every expected position is matched
within TOLERANCE (default 1e-3), 1 otherwise, printing the largest
difference. Python standard library only.
"""
import math
import sys


class Joint:
    def __init__(self, name, parent):
        self.name, self.parent = name, parent
        self.offset = (0.0, 0.0, 0.0)
        self.channels = []


def parse(text):
    tokens = text.split()
    pos = 0
    joints, stack = [], []

    def take():
        nonlocal pos
        pos += 1
        return tokens[pos - 1]

    if take() != "HIERARCHY":
        raise ValueError("no HIERARCHY")
    end_site = False
    while True:
        t = take()
        if t in ("ROOT", "JOINT"):
            j = Joint(take(), stack[-1] if stack else None)
            joints.append(j)
            stack.append(j)
            end_site = False
        elif t == "End":
            take()  # "Site"
            end_site = True
        elif t == "{":
            pass
        elif t == "}":
            if end_site:
                end_site = False
            else:
                stack.pop()
        elif t == "OFFSET":
            offset = tuple(float(take()) for _ in range(3))
            if not end_site:
                stack[-1].offset = offset
        elif t == "CHANNELS":
            stack[-1].channels = [take() for _ in range(int(take()))]
        elif t == "MOTION":
            break
        else:
            raise ValueError(f"unexpected {t!r}")
    take()  # "Frames:"
    count = int(take())
    take(), take()  # "Frame", "Time:"
    float(take())
    width = sum(len(j.channels) for j in joints)
    frames = []
    for _ in range(count):
        frames.append([float(take()) for _ in range(width)])
    return joints, frames


def matmul(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(4)) for c in range(4)] for r in range(4)]


def translation(x, y, z):
    return [[1, 0, 0, x], [0, 1, 0, y], [0, 0, 1, z], [0, 0, 0, 1]]


def rotation(axis, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    if axis == "X":
        return [[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1]]
    if axis == "Y":
        return [[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1]]
    return [[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]


def positions(joints, values):
    world, out, i = {}, {}, 0
    for j in joints:
        t = list(j.offset)
        rotations = []
        for ch in j.channels:
            v = values[i]
            i += 1
            if ch.endswith("position"):
                t["XYZ".index(ch[0])] += v
            else:
                rotations.append(rotation(ch[0], v))
        m = translation(*t)
        for r in rotations:
            m = matmul(m, r)
        if j.parent is not None:
            m = matmul(world[j.parent.name], m)
        world[j.name] = m
        out[j.name] = (m[0][3], m[1][3], m[2][3])
    return out


def main():
    joints, frames = parse(open(sys.argv[1]).read())
    tolerance = float(sys.argv[3]) if len(sys.argv) > 3 else 1e-3
    computed = [positions(joints, f) for f in frames]
    worst, where, checked = 0.0, "", 0
    for line in open(sys.argv[2]):
        frame, name, x, y, z = line.strip().split(",")
        got = computed[int(frame)][name]
        d = max(abs(a - float(b)) for a, b in zip(got, (x, y, z)))
        checked += 1
        if d > worst:
            worst, where = d, f"frame {frame} joint {name}"
    print(f"{len(joints)} joints, {len(frames)} frames, {checked} positions;"
          f" largest difference {worst:.6f} at {where or '-'}")
    sys.exit(0 if checked > 0 and worst <= tolerance else 1)


if __name__ == "__main__":
    main()
