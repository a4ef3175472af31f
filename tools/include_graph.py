#!/usr/bin/env python3
"""Prints which folders of src/ include which, and the pairs that include
each other (a cycle: one of the two reaches upwards).

    tools/include_graph.py            the graph, then the cycles
    tools/include_graph.py --files    also each include behind a cycle
"""
import os
import re
import sys
from collections import defaultdict

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"', re.M)


def edges():
    found = defaultdict(list)  # (from, to) -> files
    for folder in sorted(os.listdir(ROOT)):
        path = os.path.join(ROOT, folder)
        if not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            with open(os.path.join(path, name), encoding="utf-8") as f:
                for to in INCLUDE.findall(f.read()):
                    if to != folder:
                        found[(folder, to)].append(f"{folder}/{name}")
    return found


def main():
    found = edges()
    graph = defaultdict(set)
    for a, b in found:
        graph[a].add(b)
    for a in sorted(graph):
        print(f"{a:8} -> {' '.join(sorted(graph[a]))}")
    cycles = sorted((a, b) for a, b in found if a < b and (b, a) in found)
    print(f"\n{len(cycles)} pairs of folders include each other")
    for a, b in cycles:
        print(f"  {a} <-> {b}")
        if "--files" in sys.argv:
            print(f"    {a} -> {b}: {', '.join(found[(a, b)])}")
            print(f"    {b} -> {a}: {', '.join(found[(b, a)])}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
