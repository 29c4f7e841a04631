#!/usr/bin/env python3
"""Counts the #include arrows between the folders of src/ and the include cycles between units
(a .h with its .cpp is one unit). Usage: include_layers.py [--check] [src folder].
With --check it fails, one line per fault naming the file, on an arrow that allowed_arrows.txt
does not list, on any cycle, on an OpenGL call outside src/render and src/assets, and on GLFW
outside the platform and window files of src/app."""
import os, re, sys
from collections import defaultdict

args = [a for a in sys.argv[1:] if a != '--check']
check = '--check' in sys.argv[1:]
here = os.path.dirname(os.path.abspath(__file__))
src = args[0] if args else os.path.join(here, '..', '..', 'src')
allowed = set()
for line in open(os.path.join(here, 'allowed_arrows.txt'), encoding='utf-8'):
    if '->' in line and not line.startswith('#'):
        a, targets = line.split('->')
        allowed |= {(a.strip(), b) for b in targets.split()}
faults = []
glfwFiles = {'app/Platform.cpp', 'app/Window.cpp'}
edges = defaultdict(set)
for folder, _, files in os.walk(src):
    for name in files:
        if not name.endswith(('.h', '.cpp')):
            continue
        path = os.path.join(folder, name)
        unit = os.path.relpath(path, src).rsplit('.', 1)[0]
        where = os.path.relpath(path, src)
        for number, line in enumerate(open(path, encoding='utf-8'), 1):
            m = re.match(r'\s*#include\s+"([^"]+)"', line)
            if m:
                target = m.group(1).rsplit('.', 1)[0]
                if target != unit:
                    edges[unit].add(target)
                fa, fb = unit.split('/')[0], target.split('/')[0]
                if fa != fb and (fa, fb) not in allowed:
                    faults.append('%s:%d: %s may not include %s' % (where, number, fa, m.group(1)))
            if re.search(r'[<"]GLFW/', line) and where not in glfwFiles:
                faults.append('%s:%d: only %s see GLFW' % (where, number, ' and '.join(sorted(glfwFiles))))
            if re.search(r'\bgl[A-Z]\w*\s*\(', line) and unit.split('/')[0] not in ('render', 'assets'):
                faults.append('%s:%d: OpenGL is called from src/render and src/assets only' % (where, number))

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
    faults.append('%s: in an include cycle with %s' % (c[0], ' '.join(c[1:])))
if check and faults:
    print('\n'.join(faults), file=sys.stderr)
    sys.exit(1)
