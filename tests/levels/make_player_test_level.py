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
from xml.sax.saxutils import quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "levels"))
from make_sample_level import T, GROUND, TILESETS, Plane, encode, run_plane_tiles  # noqa: E402

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
    # Course: a low ceiling over the rising stomper at its end.
    fill(190, 195, 0, FLOOR - 6)
    return ["".join(row) for row in grid]


def objects():
    """Every object of the course, by columns of the room."""
    y = FLOOR * T
    course = ROOMS["course"][0]
    return [
        {"name": "spawn", "x": 4 * T, "y": y - 32, "width": 32, "height": 32},
        # Spear out of the wall at the course's first stretch... placed by
        # the tests' needs: a spear pointing left from a pillar.
        {"name": "spear", "type": "trap_spear", "x": (course + 10) * T, "y": y - T,
         "width": T, "height": T, "properties": {"dir": "left", "wait_in": "1", "wait_out": "1",
                                                 "active": "1"}},
        {"name": "checkpoint", "type": "checkpoint", "x": (course + 14) * T, "y": y - 129,
         "width": 109, "height": 129},
        {"name": "rider", "type": "trap_stomper", "x": (course + 20) * T, "y": y - T,
         "width": T, "height": T, "properties": {"dir": "up", "active": "1", "wait_in": "1",
                                                 "wait_out": "1", "speed_out": "200"}},
        {"name": "scroll", "type": "scroll", "x": (course + 24) * T, "y": y - 4 * T,
         "width": T, "height": T},
        {"name": "door", "type": "trap_door", "x": (course + 28) * T, "y": y - T // 2,
         "width": 2 * T, "height": T // 2, "properties": {"dir": "up", "attach": "left"}},
        {"name": "door_trigger", "type": "trigger", "x": (course + 27) * T, "y": y - 3 * T,
         "width": T, "height": 3 * T, "properties": {"target": "door", "delay": "0.5"}},
        {"name": "end_trigger", "type": "end_trigger", "x": (course + 32) * T, "y": y - 3 * T,
         "width": T, "height": 3 * T},
        {"name": "end", "type": "end", "x": (course + 36) * T, "y": y - 4 * T,
         "width": T, "height": 4 * T},
        {"name": "crusher", "type": "trap_stomper", "x": (course + 50) * T, "y": y - T,
         "width": T, "height": T, "properties": {"dir": "up", "speed_out": "300"}},
    ]


def write(path, plane, objs):
    next_id = [1]

    def object_xml(o):
        attrs = [("id", next_id[0])]
        next_id[0] += 1
        for key in ("name", "type", "x", "y", "width", "height"):
            if o.get(key) not in (None, ""):
                attrs.append((key, o[key]))
        head = "  <object %s" % " ".join("%s=%s" % (k, quoteattr(str(v))) for k, v in attrs)
        props = o.get("properties")
        if not props:
            return [head + "/>"]
        lines = [head + ">", "   <properties>"]
        lines += ['    <property name=%s value=%s/>' % (quoteattr(k), quoteattr(v))
                  for k, v in sorted(props.items())]
        return lines + ["   </properties>", "  </object>"]

    body = [' <layer id="1" name="RunPlane" width="%d" height="%d">' % (plane.width, plane.height),
            '  <data encoding="base64" compression="zlib">',
            "   " + encode(run_plane_tiles(plane), GROUND),
            "  </data>", " </layer>", ' <objectgroup id="2" name="Traps">']
    for o in objs:
        body += object_xml(o)
    body.append(" </objectgroup>")
    head = ['<?xml version="1.0" encoding="UTF-8"?>',
            '<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" '
            'renderorder="right-down" width="%d" height="%d" tilewidth="%d" tileheight="%d" '
            'infinite="0" nextlayerid="3" nextobjectid="%d">'
            % (plane.width, plane.height, T, T, len(objs) + 1),
            " <properties>", '  <property name="collision" value="RunPlane"/>', " </properties>"]
    head += [' <tileset firstgid="%d" source=%s/>' % (first, quoteattr(source))
             for first, source in TILESETS]
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(head + body + ["</map>"]) + "\n")


def main():
    plane = Plane(build())
    path = os.path.join(HERE, "Player Test.tmx")
    write(path, plane, objects())
    for name, (first, last) in ROOMS.items():
        print("%-7s columns %3d-%3d  x %5d-%5d" % (name, first, last, first * T, (last + 1) * T))
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
