"""The list of game files with their frame sizes, read from the C++ header
the game and its tests use, so there is one list only."""

import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "graphics",
                      "AssetManifest.h")

IMAGE = re.compile(r'\{\s*"([^"]+\.png)"\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*'
                   r'(?:,\s*(-?\d+)\s*)?(?:,\s*(-?\d+)\s*)?\}')


def entries():
    with open(HEADER, encoding="utf-8") as f:
        text = f.read()
    result = []
    for path, w, h, frames, mode, anchor in IMAGE.findall(text):
        entry = {"path": path, "min_frames": int(frames)}
        if mode:
            entry["mode"] = int(mode)
        if anchor:
            entry["anchor"] = int(anchor)
        if int(w) and int(h):
            entry["frame"] = (int(w), int(h))
        result.append(entry)
    return result
