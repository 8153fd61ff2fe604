#!/usr/bin/python3
"""Regenerates every generated game file under data/ (or under the folder
given as the first argument). Deterministic: two runs give identical bytes."""

import importlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

# Each module has build(data_dir). Later art issues add theirs here.
MODULES = ["backgrounds", "tiles", "traps", "objects", "hero", "hero_fx", "hero_tuning", "sfx", "music", "font", "ui"]


def main():
    data = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data")
    for name in MODULES:
        importlib.import_module(name).build(data)
        print("built", name)


if __name__ == "__main__":
    main()
