#!/usr/bin/env python3
"""Checks that the program's libraries include each other only downward.

Each argument names one library, what it may use and its files:
    <library>:<used library>,<used library>...=<file>|<file>...
A file may include headers of its own library, of the libraries it uses (directly or through
them) and the resource ids (res/resource.h). Any other include of a program header is an edge
against the layering: the check prints it and fails, so the build stops.

With --graph it prints the edges between libraries that the includes actually make, and then the
circles between files: a file pair (Name.h with Name.cpp) whose includes lead back to it.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SHARED = {"res/resource.h"}


def parse(args, root):
    uses, owner = {}, {}
    for arg in args:
        head, _, files = arg.partition("=")
        name, _, used = head.partition(":")
        uses[name] = [u for u in used.split(",") if u]
        for path in filter(None, files.split("|")):
            owner[os.path.relpath(os.path.abspath(os.path.join(root, path)), root).replace(os.sep, "/")] = name
    return uses, owner


def reachable(uses, name):
    seen, todo = set(), [name]
    while todo:
        for used in uses.get(todo.pop(), []):
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def file_circles(rooms):
    """The groups of file pairs that include one another in a circle (Tarjan's components)."""
    index, low, stack, on_stack, circles = {}, {}, [], set(), []

    def visit(room):
        index[room] = low[room] = len(index)
        stack.append(room)
        on_stack.add(room)
        for target in rooms.get(room, ()):
            if target not in index:
                visit(target)
                low[room] = min(low[room], low[target])
            elif target in on_stack:
                low[room] = min(low[room], index[target])
        if low[room] == index[room]:
            group = []
            while not group or group[-1] != room:
                group.append(stack.pop())
                on_stack.discard(group[-1])
            if len(group) > 1:
                circles.append(sorted(group))

    for room in sorted(rooms):
        if room not in index:
            visit(room)
    return circles


def main():
    argv = sys.argv[1:]
    graph = "--graph" in argv
    argv = [a for a in argv if a != "--graph"]
    root, args = argv[0], argv[1:]
    uses, owner = parse(args, root)
    edges, faults, rooms = set(), [], {}
    for path, name in sorted(owner.items()):
        with open(os.path.join(root, path), encoding="utf-8") as source:
            text = source.read()
        allowed = reachable(uses, name) | {name}
        for header in INCLUDE.findall(text):
            if header in SHARED or header not in owner:
                continue
            target = owner[header]
            room, target_room = os.path.splitext(path)[0], os.path.splitext(header)[0]
            if target_room != room:
                rooms.setdefault(room, set()).add(target_room)
            if target != name:
                edges.add((name, target))
            if target not in allowed:
                faults.append(f"{path}: includes {header} of {target}, which {name} may not use")
    if graph:
        depth = {}

        def level(name):
            if name not in depth:
                depth[name] = 1 + max((level(u) for u in uses.get(name, [])), default=0)
            return depth[name]

        order = sorted(uses, key=lambda n: (level(n), list(uses).index(n)))
        for name in order:
            targets = sorted({t for n, t in edges if n == name}, key=order.index)
            print(f"{name} -> {', '.join(targets) if targets else '(nothing)'}")
        circles = file_circles(rooms)
        print("circles between files: " + ("; ".join(" <-> ".join(c) for c in circles) if circles else "none"))
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
