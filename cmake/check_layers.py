#!/usr/bin/env python3
"""Fails when a quoted #include runs against the layers of cmake/layers.txt.

usage: check_layers.py SOURCE_ROOT [--table FILE]

Every C++ file of the folders the table names is read; each #include "..."
that resolves to a file of the tree is checked:
  - it may reach its own folder or a folder on a lower line of the table;
  - a file outside ui/ never includes a header under a ui/ folder (the core
    stays free of Qt), except in the folders the table lists as desktop;
  - the folders, joined by every include between them, form no cycle (a
    ui/ folder counts as its folder unless the table places it itself).
Each finding is printed as file:line and the exit status is 1.
"""

import argparse
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".cxx")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


class Table:
    """The layers, bottom first, and the folders the checker leaves alone."""

    def __init__(self, path):
        self.level = {}  # folder ("measure", "measure/ui") -> line index
        self.desktop = set()
        self.unscanned = set()
        self.errors = []
        layer = 0
        with open(path, encoding="utf-8") as f:
            for number, raw in enumerate(f, 1):
                line = raw.split("#", 1)[0].strip()
                if not line:
                    continue
                key, sep, rest = line.partition(":")
                if sep:
                    self._keyword(path, number, key.strip(), rest.split())
                    continue
                for folder in line.split():
                    if folder in self.level:
                        self.errors.append(f"{path}:{number}: {folder} is on two lines")
                    self.level[folder] = layer
                layer += 1

    def _keyword(self, path, number, key, folders):
        if key == "desktop":
            self.desktop.update(folders)
        elif key == "unscanned":
            self.unscanned.update(folders)
        else:
            self.errors.append(f"{path}:{number}: unknown keyword {key}")

    def unit(self, rel):
        """The longest table folder holding the file `rel`, or None."""
        parts = rel.split("/")[:-1]
        for n in range(len(parts), 0, -1):
            folder = "/".join(parts[:n])
            if folder in self.level:
                return folder
        return None


def is_build_tree(path):
    return os.path.exists(os.path.join(path, "CMakeCache.txt"))


def source_files(root, table, problems):
    """Relative paths of the C++ files to check; unplaced folders are problems."""
    files = []
    for top in sorted(os.listdir(root)):
        full = os.path.join(root, top)
        if top.startswith(".") or top in table.unscanned:
            continue
        if not os.path.isdir(full):
            if top.endswith(SOURCE_SUFFIXES):
                problems.append(f"{top}: a C++ file outside every folder of the layer table")
            continue
        if is_build_tree(full):
            continue
        if top not in table.level:
            if any(name.endswith(SOURCE_SUFFIXES) for _, _, names in os.walk(full) for name in names):
                problems.append(f"{top}/: C++ files in a folder the layer table does not place")
            continue
        for dirpath, dirnames, filenames in os.walk(full):
            dirnames[:] = sorted(
                d for d in dirnames
                if not d.startswith(".") and not is_build_tree(os.path.join(dirpath, d)))
            for name in sorted(filenames):
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/"))
    return files


def resolve(root, rel, target):
    """The tree-relative path an include names, as the compiler finds it, or None."""
    for base in (os.path.dirname(rel), ""):
        candidate = os.path.normpath(os.path.join(base, target)).replace(os.sep, "/")
        if candidate.startswith("../"):
            continue
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def in_ui(rel):
    return "ui" in rel.split("/")[:-1]


def check_include(table, rel, unit, line, target, found):
    """The finding for one include of `rel` reaching the file `found`, or None."""
    where = f'{rel}:{line}: #include "{target}"'
    if in_ui(found) and not in_ui(rel) and unit.split("/")[0] not in table.desktop:
        return f"{where}: a file outside ui/ includes a ui/ header"
    other = table.unit(found)
    if other is None or other == unit:
        return None
    if table.level[other] > table.level[unit]:
        return f"{where}: {unit} is below {other} and may not include it"
    if table.level[other] == table.level[unit]:
        return f"{where}: {unit} and {other} are on one layer and independent"
    return None


def find_cycles(edges):
    """One cycle, as a list of folders, for each knot of mutually including folders."""
    cycles = []
    done = set()
    for start in sorted(edges):
        if start in done:
            continue
        # Depth-first from `start`; a step back onto the current path closes a cycle.
        path, on_path, seen = [], set(), set()

        def visit(node):
            path.append(node)
            on_path.add(node)
            seen.add(node)
            for succ in sorted(edges.get(node, {})):
                if succ in on_path:
                    return path[path.index(succ):] + [succ]
                if succ not in seen and succ not in done:
                    cycle = visit(succ)
                    if cycle:
                        return cycle
            path.pop()
            on_path.discard(node)
            return None

        cycle = visit(start)
        if cycle:
            cycles.append(cycle)
            # Everything the cycle reaches and that reaches it back is one knot.
            knot = reachable(edges, cycle[0]) & reachable(reverse(edges), cycle[0])
            done |= knot
        done.add(start)
    return cycles


def reachable(edges, node):
    seen, todo = {node}, [node]
    while todo:
        for succ in edges.get(todo.pop(), {}):
            if succ not in seen:
                seen.add(succ)
                todo.append(succ)
    return seen


def reverse(edges):
    back = {}
    for node, targets in edges.items():
        for succ in targets:
            back.setdefault(succ, {})[node] = True
    return back


def check(root, table_path):
    table = Table(table_path)
    problems = list(table.errors)
    edges = {}  # folder -> {folder it includes: first file:line}
    files = source_files(root, table, problems)
    includes = 0
    for rel in files:
        unit = table.unit(rel)
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            for line, text in enumerate(f, 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                found = resolve(root, rel, match.group(1))
                if found is None:
                    continue  # a system or generated header, or one of tests/
                includes += 1
                problem = check_include(table, rel, unit, line, match.group(1), found)
                if problem:
                    problems.append(problem)
                other = table.unit(found)
                if other and other != unit:
                    edges.setdefault(unit, {}).setdefault(other, f"{rel}:{line}")
    for cycle in find_cycles(edges):
        steps = ", ".join(f"{a} -> {b} at {edges[a][b]}" for a, b in zip(cycle, cycle[1:]))
        problems.append(f"include cycle {' -> '.join(cycle)}: {steps}")
    return problems, len(files), includes


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root")
    parser.add_argument("--table", help="the layer table (default: ROOT/cmake/layers.txt)")
    args = parser.parse_args()
    table = args.table or os.path.join(args.root, "cmake", "layers.txt")
    problems, files, includes = check(args.root, table)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} problem(s) with the layers of {table}", file=sys.stderr)
        return 1
    print(f"{files} files, {includes} includes follow the layers of {table}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
