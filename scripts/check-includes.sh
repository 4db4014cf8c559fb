#!/usr/bin/env bash
# Checks that the includes of src/ point one way: no feature folder includes
# a header of src/app, no program file outside the toolkit includes the
# toolkit's inner or testing header, and no file reaches itself through its
# includes. A header and the source file of the same name count as one unit,
# so that two units that use each other form a circle too. Also checks that
# no C++ file of src/, tests/, tools/ or bench/ grows past 500 lines. Prints
# each fault and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - <<'PY'
import pathlib
import re
import sys

src = pathlib.Path("src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
faults = []
edges = {}  # unit -> set of units it includes


def unit(path):
    return str(path.with_suffix("")).removeprefix("src/")


for path in sorted(src.rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    name = unit(path)
    folder = path.parent.name
    for target in include.findall(path.read_text(encoding="utf-8", errors="replace")):
        if (src / target).is_file():
            resolved = src / target
        elif (path.parent / target).is_file():
            resolved = path.parent / target
        else:
            continue  # generated or from outside src/
        if folder != "app" and resolved.parent.name == "app":
            faults.append(f"{path}: includes {target}, a header of src/app")
        if folder != "ui" and resolved.name in ("toolkit_internal.h", "toolkit_testing.h"):
            faults.append(f"{path}: includes {target}, which only the toolkit, tests and benchmarks may")
        other = unit(resolved)
        if other != name:
            edges.setdefault(name, set()).add(other)

# Depth-first search for circles.
state = {}
stack = []


def visit(node):
    state[node] = "open"
    stack.append(node)
    for nxt in sorted(edges.get(node, ())):
        if state.get(nxt) == "open":
            circle = stack[stack.index(nxt):] + [nxt]
            faults.append("include circle: " + " -> ".join(circle))
        elif nxt not in state:
            visit(nxt)
    stack.pop()
    state[node] = "done"


for node in sorted(edges):
    if node not in state:
        visit(node)

for folder in ("src", "tests", "tools", "bench"):
    for path in sorted(pathlib.Path(folder).rglob("*")):
        if path.suffix in (".h", ".cpp"):
            lines = path.read_text(encoding="utf-8", errors="replace").count("\n")
            if lines > 500:
                faults.append(f"{path}: {lines} lines, more than 500: split it")

for fault in faults:
    print(fault, file=sys.stderr)
sys.exit(1 if faults else 0)
PY
