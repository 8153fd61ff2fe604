#!/usr/bin/python3
"""Writes "Player Test.tmx" beside this script: the rooms the player's tests
run in, side by side and walled off from each other.

    tests/levels/make_player_test_level.py

The tests copy the map into Levels/Test/ of their scratch directory, next to
the game's Graphics, Values and Audio, so the tilesets are named relative to
that place. Room columns are printed for the tests' constants.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "levels"))
from levelkit import GROUND, T, Plane, encode, run_plane_tiles, write_map  # noqa: E402

HEIGHT = 18
FLOOR = 14          # first ground row: feet stand at y = 14 * 64 = 896
WIDTH = 202

ROOMS = {}          # name -> (first column, last column), inside the walls


def build():
    grid = [["." for _ in range(WIDTH)] for _ in range(HEIGHT)]

    def fill(x0, x1, y0, y1, ch="#"):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = ch

    fill(0, WIDTH - 1, FLOOR, HEIGHT - 1)
    # Walls two tiles thick: the tileset has no piece for a one-tile wall
    # standing on the ground.
    walls = [0, 45, 66, 79, 110, 141, WIDTH - 2]
    for x in walls:
        fill(x, x + 1, 0, HEIGHT - 1)
    names = ["flat", "pit", "shaft", "tunnel", "slopes", "course"]
    for name, left, right in zip(names, walls, walls[1:]):
        ROOMS[name] = (left + 2, right - 1)

    # Pit: six tiles wide and three deep.
    fill(53, 58, FLOOR, HEIGHT - 2, ".")
    # Shaft: two walls a two-tile corridor apart; the left one lets the hero
    # walk in under it.
    fill(71, 71, 2, FLOOR - 3)
    fill(74, 75, 2, FLOOR - 1)
    # Tunnel: two tiles long, one tile of room under a low ceiling: short
    # enough for a slide from a run to carry the hero through.
    fill(88, 89, 0, FLOOR - 2)
    # Slopes: 45 degrees up and down, then 22.5 degrees up and down.
    grid[FLOOR - 1][115] = "/"
    fill(116, 118, FLOOR - 1, FLOOR - 1)
    grid[FLOOR - 1][119] = "\\"
    grid[FLOOR - 1][123] = "r"
    grid[FLOOR - 1][124] = "R"
    fill(125, 127, FLOOR - 1, FLOOR - 1)
    grid[FLOOR - 1][128] = "F"
    grid[FLOOR - 1][129] = "f"
    # Course: a two-tile pit under the trap door, and a low ceiling over the
    # rising stomper at its end, close enough to crush whoever rides it.
    course = ROOMS["course"][0]
    fill(course + 18, course + 19, FLOOR, FLOOR + 1, ".")
    fill(course + 49, course + 51, 0, FLOOR - 6)
    return ["".join(row) for row in grid]


def objects():
    """The course: the run the replay tests record, left to right."""
    y = FLOOR * T
    c = ROOMS["course"][0]

    def trap(name, kind, col, row, properties, width=T, height=T):
        return {"name": name, "type": kind, "x": col * T, "y": row * T, "width": width,
                "height": height, "properties": properties}

    return [
        # The hero's feet start here and drop the last half tile.
        {"name": "spawn", "x": (c + 1) * T, "y": y - 32, "width": 32, "height": 32},
        # Out of the floor after a second, in again a second later.
        trap("spear", "trap_spear", c + 4, FLOOR,
             {"dir": "up", "active": "1", "wait_in": "1", "wait_out": "1"}),
        {"name": "checkpoint", "type": "checkpoint", "x": (c + 8) * T, "y": y - 129,
         "width": 109, "height": 129},
        # A lift out of the floor: ridden up to the scroll.
        trap("rider", "trap_stomper", c + 12, FLOOR,
             {"dir": "up", "active": "1", "wait_in": "1.5", "wait_out": "1", "speed_out": "200"}),
        {"name": "scroll", "type": "scroll", "x": (c + 12) * T, "y": 440, "width": T,
         "height": T},
        # A floor door over the pit, dropped a second and a half after the trigger.
        {"name": "door_trigger", "type": "trigger", "x": (c + 16) * T, "y": y - 3 * T,
         "width": T, "height": 3 * T, "properties": {"target": "door", "delay": "1.5"}},
        {"name": "door", "type": "trap_door", "x": (c + 18) * T, "y": y - 4, "width": 2 * T,
         "height": 32, "properties": {"dir": "up", "attach": "left", "type": "wood"}},
        {"name": "end_trigger", "type": "end_trigger", "x": (c + 26) * T, "y": y - 3 * T,
         "width": T, "height": 3 * T},
        {"name": "end", "type": "end", "x": (c + 30) * T, "y": y - 4 * T, "width": T,
         "height": 4 * T},
        # Under the low ceiling: whoever stands on it when it rises is crushed.
        trap("crusher", "trap_stomper", c + 50, FLOOR,
             {"dir": "up", "wait_in": "2", "speed_out": "300"}),
    ]


def main():
    plane = Plane(build())
    path = os.path.join(HERE, "Player Test.tmx")
    write_map(path, plane, [("RunPlane", encode(run_plane_tiles(plane), GROUND)),
                            ("Traps", objects())])
    for name, (first, last) in ROOMS.items():
        print("%-7s columns %3d-%3d  x %5d-%5d" % (name, first, last, first * T, (last + 1) * T))
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
