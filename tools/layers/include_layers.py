#!/usr/bin/env python3
"""Counts the #include arrows between the folders of src/ and the include cycles between units
(a .h with its .cpp is one unit). Usage: include_layers.py [src folder]."""
import os, re, sys
from collections import defaultdict

src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'src')
edges = defaultdict(set)
for folder, _, files in os.walk(src):
    for name in files:
        if not name.endswith(('.h', '.cpp')):
            continue
        path = os.path.join(folder, name)
        unit = os.path.relpath(path, src).rsplit('.', 1)[0]
        for line in open(path, encoding='utf-8'):
            m = re.match(r'\s*#include\s+"([^"]+)"', line)
            if m:
                target = m.group(1).rsplit('.', 1)[0]
                if target != unit:
                    edges[unit].add(target)

folders = defaultdict(set)
for a, targets in edges.items():
    for b in targets:
        fa, fb = a.split('/')[0], b.split('/')[0]
        if fa != fb:
            folders[fa].add(fb)
mutual = sorted({tuple(sorted((a, b))) for a in folders for b in folders[a] if a in folders.get(b, ())})
print('folder arrows:')
for a in sorted(folders):
    print('  %s -> %s' % (a, ', '.join(sorted(folders[a]))))
print('folders including each other: %d %s' % (len(mutual), ' '.join('%s<->%s' % p for p in mutual)))

# Tarjan's strongly connected components: each component of more than one unit is a cycle.
index, low, stack, onstack, comps, counter = {}, {}, [], set(), [], [0]
def visit(v):
    index[v] = low[v] = counter[0]; counter[0] += 1
    stack.append(v); onstack.add(v)
    for w in edges.get(v, ()):
        if w not in index:
            visit(w); low[v] = min(low[v], low[w])
        elif w in onstack:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        comp = []
        while True:
            w = stack.pop(); onstack.discard(w); comp.append(w)
            if w == v:
                break
        if len(comp) > 1:
            comps.append(sorted(comp))
sys.setrecursionlimit(10000)
for v in list(edges):
    if v not in index:
        visit(v)
print('include cycles: %d, largest %d units' % (len(comps), max((len(c) for c in comps), default=0)))
for c in comps:
    print('  ' + ' '.join(c))
