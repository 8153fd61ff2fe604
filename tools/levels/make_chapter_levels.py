#!/usr/bin/python3
"""Writes the levels of the chapters "1 Tutorial" and "2 Basic" into
data/Levels from the level scripts in chapters/.

    tools/levels/make_chapter_levels.py [--data DATA_DIR] [WORD ...]

With words, only the levels whose file name contains one of them are
written. The scripts are the source of their levels (see README.md beside
this file); the output is the same, byte for byte, on every run.
"""

import importlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from levelkit import LayoutError  # noqa: E402

# In play order; each module's build() returns its chapterkit.Level.
LEVELS = [
    "tutorial_01_dawn_path",
    "tutorial_02_stepping",
    "tutorial_03_the_well",
    "tutorial_04_low_roofs",
    "tutorial_05_lanterns",
    "basic_01_bamboo_gate",
    "basic_02_old_bridge",
    "basic_03_stone_mill",
    "basic_04_arrow_hall",
    "basic_05_last_light",
]


def main(argv):
    args = argv[1:]
    data = os.path.join(HERE, "..", "..", "data")
    if args[:1] == ["--data"]:
        if len(args) < 2:
            sys.exit("usage: make_chapter_levels.py [--data DATA_DIR] [WORD ...]")
        data, args = args[1], args[2:]
    written = 0
    for module in LEVELS:
        if not os.path.exists(os.path.join(HERE, "chapters", module + ".py")):
            continue
        level = importlib.import_module("chapters." + module).build()
        if args and not any(word.lower() in level.name.lower() for word in args):
            continue
        path = level.write(data)
        print("wrote %s (%d x %d tiles)" % (os.path.normpath(path), level.width, level.height))
        written += 1
    return 0 if written else 1


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        sys.exit("layout: %s" % e)
