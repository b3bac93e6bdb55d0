#!/usr/bin/env python3
"""Fails on an include that goes up or sideways between the project's layers.

Every source includes from the repository root ("framework/x.h"), so the folder of an
include names its layer. A layer may include its own files and those of the layers below it
(the table, closed transitively); anything else is printed as FILE:LINE with the forbidden
edge, and the exit status is 1.

usage: check_layers.py [--root DIR] [--stamp FILE]
"""

import argparse
import pathlib
import re
import sys

# Each layer with the layers directly below it. The module: host, platform, support,
# framework and macros, the tools, plugin on top. The host: host, zelta/base, zelta/pdf and
# zelta/ui, zelta/app, the front-ends on top. A layer's subfolders (zelta/pdf/outline) belong
# to it.
LAYERS = {
    "host": [],
    "platform": ["host"],
    "support": ["platform"],
    "framework": ["support"],
    "macros": ["support"],
    "tools/title": ["framework", "macros"],
    "tools/tree": ["framework", "macros"],
    "tools/create": ["framework", "macros"],
    "autogen": ["framework", "macros"],
    "toc": ["framework", "macros"],
    "plugin": ["tools/title", "tools/tree", "tools/create", "autogen", "toc"],
    "zelta/base": ["host"],
    "zelta/pdf": ["zelta/base"],
    "zelta/ui": ["zelta/base"],
    "zelta/app": ["zelta/pdf", "zelta/ui"],
    "zelta/cli": ["zelta/app"],
    "zelta/desktop": ["zelta/app"],
}

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def closure(layers):
    allowed = {}

    def below(name, seen):
        for lower in layers[name]:
            if lower not in seen:
                seen.add(lower)
                below(lower, seen)
        return seen

    for name in layers:
        allowed[name] = below(name, set())
    return allowed


def layer_of(path):
    """The layer a root-relative path belongs to (the longest matching folder), or None."""
    best = None
    for name in LAYERS:
        if path == name or path.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def check(root):
    allowed = closure(LAYERS)
    violations = []
    for name in sorted(LAYERS):
        folder = root / name
        if not folder.is_dir():
            continue
        for file in sorted(folder.rglob("*")):
            if file.suffix not in SOURCE_SUFFIXES or not file.is_file():
                continue
            rel = file.relative_to(root).as_posix()
            own = layer_of(rel)
            text = file.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = layer_of(match.group(1))
                if target is None or target == own or target in allowed[own]:
                    continue
                violations.append((rel, number, own, target, match.group(1)))
    return violations, allowed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=pathlib.Path(__file__).resolve().parent.parent, type=pathlib.Path)
    parser.add_argument("--stamp", type=pathlib.Path, help="file to touch when the check passes")
    args = parser.parse_args()
    violations, allowed = check(args.root.resolve())
    for rel, number, own, target, include in violations:
        below = ", ".join(sorted(allowed[own])) or "nothing"
        print(f'{rel}:{number}: error: layer {own} must not include {target} ("{include}"); '
              f"{own} may include {below}", file=sys.stderr)
    if violations:
        print(f"check_layers: {len(violations)} forbidden include(s)", file=sys.stderr)
        return 1
    if args.stamp:
        args.stamp.touch()
    return 0


if __name__ == "__main__":
    sys.exit(main())
