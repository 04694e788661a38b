#!/usr/bin/env python3
"""Fails when the project's own libraries (teluma_*) depend on each other in a circle.

Configures the source tree afresh in a temporary folder with `cmake --graphviz`, reads the
link graph (every PUBLIC, PRIVATE and INTERFACE link) and prints each cycle it finds, for
example "teluma_speech -> teluma_numbers -> teluma_speech".

usage: library_cycles.py CMAKE SOURCE_DIR [CMAKE_ARGUMENTS...]
"""
import os
import re
import subprocess
import sys
import tempfile

NODE = re.compile(r'^\s*"(node\d+)"\s*\[\s*label\s*=\s*"([^"]+)"\s*,\s*shape\s*=\s*(\w+)')
# The shapes cmake --graphviz gives static, shared, module, interface and object libraries
# (programs are eggs; the tests' programs are named like libraries).
LIBRARY_SHAPES = {"octagon", "doubleoctagon", "tripleoctagon", "pentagon", "hexagon"}
EDGE = re.compile(r'^\s*"(node\d+)"\s*->\s*"(node\d+)"')


def OwnLibrary(name):
    return name.startswith("teluma_") or name == "teluma-mbrola"


def ReadGraph(dot_file):
    names, edges = {}, {}
    with open(dot_file, encoding="utf-8") as dot:
        for line in dot:
            if m := NODE.match(line):
                if m.group(3) in LIBRARY_SHAPES:
                    names[m.group(1)] = m.group(2)
            elif m := EDGE.match(line):
                edges.setdefault(m.group(1), set()).add(m.group(2))
    graph = {}
    for node, name in names.items():
        if OwnLibrary(name):
            graph[name] = sorted(names[t] for t in edges.get(node, ())
                                 if t in names and OwnLibrary(names[t]))
    return graph


def Cycles(graph):
    """One cycle through each strongly connected group of more than one library (or a library
    that links itself), found by Tarjan's algorithm."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []

    def Visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                Visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1 or v in graph.get(v, ()):
                groups.append(set(group))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            Visit(v)

    cycles = []
    for group in groups:
        start = min(group)
        path, seen = [start], {start}
        # Walk inside the group until a library comes round again.
        while True:
            nxt = next(w for w in graph[path[-1]] if w in group)
            if nxt in seen:
                cycles.append(path[path.index(nxt):] + [nxt])
                break
            path.append(nxt)
            seen.add(nxt)
    return cycles


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    cmake, source = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="library-graph-") as folder:
        dot_file = os.path.join(folder, "graph", "libraries.dot")
        os.makedirs(os.path.dirname(dot_file))
        build = os.path.join(folder, "build")
        run = subprocess.run([cmake, "-S", source, "-B", build, "--graphviz=" + dot_file,
                              *sys.argv[3:]], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr, file=sys.stderr)
            print("cmake failed to configure the tree", file=sys.stderr)
            return 1
        graph = ReadGraph(dot_file)

    links = sum(len(targets) for targets in graph.values())
    # A graph this small means the file was not read as expected, not that all is well.
    if len(graph) < 10 or links < 10:
        print(f"only {len(graph)} libraries and {links} links found in the graph",
              file=sys.stderr)
        return 1
    cycles = Cycles(graph)
    for cycle in cycles:
        print("cycle: " + " -> ".join(cycle))
    print(f"{len(graph)} libraries, {links} links, {len(cycles)} cycles")
    return 1 if cycles else 0


if __name__ == "__main__":
    sys.exit(main())
