#!/usr/bin/env python3
"""Checks the shape of the source tree's includes.

- Every project include names its file from the top of the source tree
  ("qt/controls/formlabel.h"), and that file exists (a generated header
  exists as its ".in" template).
- Every folder includes only from the folders below it: main() on top, then
  each front end (qt/, win32/) over the design core (core/), which includes
  no header but the C++ standard library's: no toolkit's and no system's.
- No header includes itself through others, and the files of the shell use
  each other in one direction only (a file's header and source count as one).
- Only the top-level CMakeLists.txt names include folders, so that every
  target sees the tree from its root.

Usage: check_includes.py <source root>
"""

import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".cpp", ".in", ".c"}

# What each folder may include from, besides itself. Folders not listed
# (tests, tools) may include anything of the program.
CORE = {"core", "core/scale", "core/design", "core/forms", "core/windows"}
QT = {"qt/startup", "qt/builder", "qt/controls", "qt/shell"}
WIN32 = {"win32/frontend", "win32/controls", "win32/support", "win32/resources"}
FLOORS = {
    "app": CORE | QT | WIN32 | {"assets"},
    # The Qt front end, over the core.
    "qt/startup": CORE | {"qt/builder", "qt/controls", "qt/shell", "assets"},
    "qt/builder": CORE | {"qt/controls", "qt/shell", "assets"},
    "qt/controls": CORE | {"assets"},
    "qt/shell": CORE,
    # The Win32 front end, over the core.
    "win32/frontend": CORE | {"win32/controls", "win32/support", "win32/resources"},
    "win32/controls": CORE | {"win32/support", "win32/resources"},
    "win32/support": CORE,
    # The resource script takes in packaging's version resource.
    "win32/resources": {"packaging"},
    # The design core, over nothing but the standard library.
    "core/windows": {"core", "core/forms", "core/design", "core/scale"},
    "core/forms": {"core/design"},
    "core/design": set(),
    "core/scale": set(),
    "core": set(),
    "assets": set(),
}
# Folders whose files must use each other in one direction only.
ACYCLIC_COMPONENTS = {"qt/shell", "qt/startup", "qt/controls", "qt/builder", "core/scale",
                      "core/forms", "core/design", "win32/controls", "win32/support"}
# A library header in angle brackets: the core takes only the C++ standard
# library's, which have no file suffix (<vector>, <cstdint>); a toolkit's
# (<QString>, <QtCore/qglobal.h>) or a system's (<windows.h>) never reach it.
ANGLE_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.MULTILINE)


def folder_of(path: str) -> str:
    parts = path.split("/")
    if parts[0] in ("core", "qt", "win32") and len(parts) > 2:
        return "/".join(parts[:2])
    return parts[0]


def is_standard_header(name: str) -> bool:
    return "." not in name and "/" not in name and not name.startswith("Q")


def sources(root: Path):
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root).as_posix()
        if relative.startswith(("build", ".git", "tests/fuzz/corpus")) or "/build" in relative:
            continue
        if path.is_file() and path.suffix in SOURCE_SUFFIXES:
            yield relative, path.read_text(encoding="utf-8", errors="replace")


def find_cycle(graph):
    """A cycle in `graph` as a list of nodes, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        trail.append(node)
        for target in sorted(graph.get(node, ())):
            if state.get(target) == "open":
                return trail[trail.index(target):] + [target]
            if target not in state:
                cycle = visit(target, trail)
                if cycle:
                    return cycle
        state[node] = "done"
        trail.pop()
        return None

    for node in sorted(graph):
        if node not in state:
            cycle = visit(node, [])
            if cycle:
                return cycle
    return None


def check(root: Path):
    problems = []
    includes = {}
    for path, text in sources(root):
        includes[path] = [name for name in INCLUDE.findall(text) if not name.endswith(".moc")]
        if folder_of(path) in CORE:
            for name in ANGLE_INCLUDE.findall(text):
                if not is_standard_header(name):
                    problems.append(f"{path}: the core includes <{name}>, which is not a "
                                    "header of the C++ standard library")

    for path, names in includes.items():
        source_folder = folder_of(path)
        for name in names:
            if not ((root / name).is_file() or (root / (name + ".in")).is_file()):
                problems.append(f"{path}: #include \"{name}\" does not name a file from the "
                                "top of the source tree")
                continue
            target_folder = folder_of(name)
            allowed = FLOORS.get(source_folder)
            if allowed is not None and target_folder != source_folder and \
                    target_folder not in allowed:
                problems.append(f"{path}: {source_folder}/ must not include {name} "
                                f"({target_folder}/ is not below it)")

    headers = {path: {n for n in names if n.endswith(".h")}
               for path, names in includes.items() if path.endswith(".h")}
    cycle = find_cycle(headers)
    if cycle:
        problems.append("headers include each other: " + " -> ".join(cycle))

    for folder in sorted(ACYCLIC_COMPONENTS):
        components = {}
        for path, names in includes.items():
            if folder_of(path) != folder:
                continue
            own = path.rsplit(".", 1)[0]
            uses = components.setdefault(own, set())
            for name in names:
                other = name.rsplit(".", 1)[0]
                if folder_of(name) == folder and other != own:
                    uses.add(other)
        cycle = find_cycle(components)
        if cycle:
            problems.append(f"files of {folder}/ use each other in a circle: " +
                            " -> ".join(cycle))

    for cmake in sorted(root.rglob("CMakeLists.txt")):
        relative = cmake.relative_to(root).as_posix()
        if relative.startswith("build") or relative == "CMakeLists.txt":
            continue
        if "target_include_directories" in cmake.read_text(encoding="utf-8"):
            problems.append(f"{relative}: names include folders of its own; every target "
                            "includes from the top of the tree")
    return problems


def main():
    root = Path(sys.argv[1]).resolve()
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_includes: {len(problems)} problem(s)")
        return 1
    print(f"check_includes: includes of {root} are in order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
