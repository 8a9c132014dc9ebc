#!/usr/bin/env python3
"""Lists the loops of includes between the units of src/ (a unit is a .h with its .cpp): unit A
includes B, and B, through the units it includes, comes back to A. Prints each loop, then their
count. An owner and its worker thread (ComPort and ReadThread) are a known pair and are named."""
import os
import re
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
include = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
units = {}
for folder, _, files in os.walk(root):
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(folder, name)
        unit = os.path.relpath(os.path.splitext(path)[0], root)
        for line in open(path, encoding="utf-8", errors="replace"):
            m = include.match(line)
            if not m:
                continue
            target = m.group(1)
            candidates = [os.path.join(os.path.dirname(path), target), os.path.join(root, target),
                          os.path.join(root, "window", target)]
            for c in candidates:
                if os.path.exists(c):
                    other = os.path.relpath(os.path.splitext(os.path.normpath(c))[0], root)
                    if other != unit:
                        units.setdefault(unit, set()).add(other)
                    break

# Strongly connected components (Tarjan).
index, low, stack, on, loops, counter = {}, {}, [], set(), [], [0]
sys.setrecursionlimit(10000)
def visit(v):
    index[v] = low[v] = counter[0]
    counter[0] += 1
    stack.append(v)
    on.add(v)
    for w in units.get(v, ()):
        if w not in index:
            visit(w)
            low[v] = min(low[v], low[w])
        elif w in on:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        component = []
        while True:
            w = stack.pop()
            on.discard(w)
            component.append(w)
            if w == v:
                break
        if len(component) > 1:
            loops.append(sorted(component))
for v in list(units):
    if v not in index:
        visit(v)
for loop in loops:
    print("loop:", ", ".join(loop))
print(len(loops), "include loops between units")
