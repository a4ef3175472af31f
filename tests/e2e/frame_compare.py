#!/usr/bin/env python3
"""frame_compare.py - does a decoded video frame show what the picture shows?

   frame_compare.py W H PICTURE.rgb OTHER.rgb FRAME.rgb

Raw RGB24 frames of W x H. PICTURE is a frame rendered straight to a
picture, OTHER a later frame of the same scene, FRAME the one decoded from
the video at PICTURE's index. The fencers' dark suits and hair are the dark
pixels of PICTURE: there must be plenty in each half (two figures), and
FRAME must match PICTURE there and overall. Where PICTURE and OTHER differ
(the figures moved), FRAME must be nearer PICTURE: the video holds that
frame, not a neighbour. Prints the measures; exits 1 when a check fails.
"""
import sys


def load(path, n):
    data = open(path, "rb").read()
    if len(data) != n:
        sys.exit(f"{path}: {len(data)} bytes, expected {n}")
    return data


def error(a, b, pixels):
    total = sum(sum(abs(a[i + c] - b[i + c]) for c in range(3)) for i in pixels)
    return total / (3 * max(1, len(pixels)))


def main():
    w, h = int(sys.argv[1]), int(sys.argv[2])
    n = w * h * 3
    pic, other, frame = (load(p, n) for p in sys.argv[3:6])
    every = range(0, n, 3 * 7)  # a sample is plenty for the overall error
    dark = [i for i in range(0, n, 3) if pic[i] + pic[i + 1] + pic[i + 2] < 150]
    left = sum(1 for i in dark if (i // 3) % w < w // 2)
    right = len(dark) - left
    moved = [i for i in range(0, n, 3)
             if sum(abs(pic[i + c] - other[i + c]) for c in range(3)) > 120]
    overall, figures = error(frame, pic, every), error(frame, pic, dark)
    to_pic, to_other = error(frame, pic, moved), error(frame, other, moved)
    print(f"dark figure pixels left {left} right {right}; error overall {overall:.1f},"
          f" on figures {figures:.1f}; where they moved: to this frame {to_pic:.1f},"
          f" to the later one {to_other:.1f}")
    ok = (left > 2000 and right > 2000 and overall < 10 and figures < 20
          and len(moved) > 1000 and to_other > 2 * to_pic + 10)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
