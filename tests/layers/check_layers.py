#!/usr/bin/env python3
"""Fails when an include under converter/ runs up the layers.

Each folder of converter/ is a layer and may include only its own layer and
those below it, so no two folders ever include each other. The includes in
KNOWN_UP_INCLUDES are debts still to pay: they are allowed, and listed once, so
that any new one fails, and an entry that is gone fails too, so that the list
only shrinks.
"""

import re
import sys
from pathlib import Path

# Bottom to top: each may include those before it.
LAYERS = ["platform", "base", "report", "record", "reader", "layout", "writer", "compdb", "driver"]

KNOWN_UP_INCLUDES = {
    # Wine's registry text is parsed in base/, where the other readers of
    # escaped text live; the POSIX lookup of the App Paths value uses it.
    ("platform/platform_posix.cpp", "base/registry_text.h"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def includes(converter: Path):
    for path in sorted(converter.rglob("*")):
        if path.suffix in (".h", ".cpp"):
            source = path.relative_to(converter).as_posix()
            for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
                yield source, included


def problems(converter: Path):
    found = set()
    for source, included in includes(converter):
        layer, target = source.split("/")[0], included.split("/")[0]
        for folder in (layer, target):
            if folder not in LAYERS:
                yield f"{source}: folder {folder}/ has no place in the layers; add it to LAYERS"
        if layer in LAYERS and target in LAYERS and LAYERS.index(target) > LAYERS.index(layer):
            found.add((source, included))
            if (source, included) not in KNOWN_UP_INCLUDES:
                yield f"{source}: includes {included}, which is above {layer}/"
    for source, included in sorted(KNOWN_UP_INCLUDES - found):
        yield f"{source} no longer includes {included}: take it off KNOWN_UP_INCLUDES"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_layers.py CONVERTER_FOLDER")
    failures = list(problems(Path(sys.argv[1])))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
