#!/usr/bin/env python3
"""Checks the include lines of every C++ file of the project, Windows-only
files included: a layer includes only its own folder and the layers below
it that it may see; no include climbs out of a folder with "../" or names
"./"; and no two files (a header and its source counted as one) include
each other, however indirectly. No library keeps mutable state outside
an object (mutable_state.py). Prints each breach; exits 1 if any.
Usage: include_rules.py SOURCE_ROOT"""
import os
import re
import sys

sys.dont_write_bytecode = True  # no cache files in the source tree
import mutable_state  # noqa: E402

# What each layer may see besides itself (as CMakeLists.txt links them).
SEES = {
    "platform": set(), "image": set(), "order": set(), "widgets": set(),
    "view3d": {"image"}, "resources": {"widgets"},
    "collection": {"order", "platform"}, "carousel": {"image", "platform"},
}
SEES["app"] = set(SEES) | {"resources", "collection", "carousel"}
FOLDERS = set(SEES) | {"tests", "bench", "tools", "fuzz"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def sources(root):
    for folder in sorted(FOLDERS):
        for top, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    path = os.path.join(top, name)
                    yield os.path.relpath(path, root).replace(os.sep, "/")


def module(path):
    return os.path.splitext(path)[0]


def main():
    root = sys.argv[1]
    breaches = []
    edges = {}
    for path in sources(root):
        layer = path.split("/")[0]
        with open(os.path.join(root, path), encoding="utf-8") as source:
            included = INCLUDE.findall(source.read())
        for name in included:
            if name.startswith(("../", "./")) or "/../" in name:
                breaches.append(f"{path}: includes {name}, climbing out of its folder")
                continue
            target = name.split("/")[0]
            if layer in SEES and target in SEES and target != layer and target not in SEES[layer]:
                breaches.append(f"{path}: includes {name}, which layer {layer} may not see")
            if os.path.exists(os.path.join(root, name)):
                edges.setdefault(module(path), set()).add(module(name))
    # A cycle is found when a module is met again while still being visited.
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for following in sorted(edges.get(node, ())):
            if following == node:
                continue
            if state.get(following) == "open":
                cycle = stack[stack.index(following):] + [following]
                breaches.append("include cycle: " + " -> ".join(cycle))
            elif following not in state:
                visit(following)
        stack.pop()
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node)
    breaches.extend(mutable_state.findings(root))
    for breach in breaches:
        print(breach)
    print(f"{len(breaches)} breaches")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
