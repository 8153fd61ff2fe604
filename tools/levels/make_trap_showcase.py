#!/usr/bin/python3
"""Writes the map "Levels/Workshop/Trap Showcase.tmx": every checkpoint,
scroll, spear, stomper and trap door of the game in each of its directions
and looks, along one walk from left to right, with triggers wired to the
doors and to a spear and a stomper that wait to be set off.

    tools/levels/make_trap_showcase.py [DATA_DIR]

DATA_DIR defaults to the repository's data/. This script is the source of
the map (see README.md beside it); the output is the same, byte for byte,
on every run.
"""

import os
import sys

from levelkit import (GROUND, PROPS, T, LayoutError, Plane, back_plane_tiles, encode,
                      load_layout, run_plane_tiles, tile_objects, write_map)

HEIGHT = 22
FLOOR = 16                     # the ground row of the walk
MAP_PATH = os.path.join("Levels", "Workshop", "Trap Showcase.tmx")

# ---------------------------------------------------------------- layout
#
# Characters as in the sample level: "." air, "#" ground.

SECTIONS = [
    ("Start", 0, r"""
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
##..........
############
############
############
############
############
############
"""),
    # A spear out of the floor, one out of a hanging rock, one out of each
    # side of a low wall that guards the scroll, and one that waits for a
    # trigger.
    ("Spears", 12, r"""
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
......#####.............
........................
........................
..............##........
..............##........
########################
########################
########################
########################
########################
########################
"""),
    ("Checkpoint", 36, r"""
......
......
......
......
......
......
......
......
......
......
......
......
......
......
......
......
######
######
######
######
######
######
"""),
    # Stompers in groups of three pieces (l, m, r): a lift out of the floor,
    # a ram out of a hanging rock, rams out of both faces of a plateau (the
    # right-hand one slams into a pillar), and a single ram that drops once
    # a trigger is touched.
    ("Stompers", 42, r"""
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
........###.........................###.....
....................................###.....
.............................##.............
.............................##.............
...............############..##.............
...............############..##.............
...............############..##.............
############################################
############################################
############################################
############################################
############################################
############################################
"""),
    # Floor doors over two pits, two gates that fall into a bridge, a hatch
    # in a ceiling and a pair of flaps hanging from one.
    ("Doors", 86, r"""
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................#######...#######.
..................##...##...#######.
..................##...##...#######.
..................##...##...#######.
....................................
....................................
....................................
##..###..###....####################
##..###..###....####################
##..###..###....####################
####################################
####################################
####################################
"""),
    ("Finish", 122, r"""
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
..........................##
############################
############################
############################
############################
############################
############################
"""),
]

SPAWN = 4
END_TRIGGER = 124
END = 126
WALL_RIGHT = 148

# ---------------------------------------------------------------- traps
#
# The waits are chosen so that two seconds in every active trap is out
# (`kuroshin-mapshot ... --time=2` shows them all).
#
# Positions are cells (column, row). A spear or stomper stands on the wall
# cell next to the face it comes out of; its picture hides in the wall
# behind that cell (a spear's head reaches 10 pixels into the next cell, a
# stomper's block three cells further).

DIRECTIONS = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}

SPEARS = [
    # (name, cell, dir, properties)
    ("spear floor", (14, 16), "up", {"active": 1, "wait_in": 1, "wait_out": 0.5}),
    ("spear rock", (20, 11), "down",
     {"active": 1, "wait_in": 0.8, "wait_out": 0.8, "counter": 0.4}),
    ("spear wall left", (26, 15), "left",
     {"active": 1, "wait_in": 1.2, "wait_out": 0.3, "speed_out": 900}),
    ("spear wall right", (27, 15), "right",
     {"active": 1, "wait_in": 1.2, "wait_out": 0.3, "speed_out": 900, "counter": 0.3}),
    # Waits for the trigger in front of it.
    ("spear delayed", (34, 16), "up", {"wait_out": 0.6}),
]

# (name, first cell, dir, properties): groups of l, m and r pieces side by
# side across the direction; single pieces name their look.
STOMPER_GROUPS = [
    ("lift", (44, 16), "up",
     {"active": 1, "speed_out": 150, "speed_in": 150, "wait_in": 1.5, "wait_out": 1.5}),
    ("rock ram", (50, 9), "down", {"active": 1, "wait_in": 1, "wait_out": 0.6}),
    ("plateau ram left", (57, 13), "left", {"active": 1, "wait_in": 1.2, "wait_out": 0.5}),
    ("plateau ram right", (68, 13), "right",
     {"active": 1, "wait_in": 1.2, "wait_out": 0.8, "counter": 0.2}),
]
STOMPERS = [
    ("stomper delayed", (79, 10), "down", {"type": "m", "wait_out": 1}),
]

# (name, x, y in pixels, properties). Floor doors lie with their walking
# surface (4 pixels below the picture's top) level with the ground; gates
# stand on the ground at a pit's edge and fall across it.
DOORS = [
    ("door pit grass", (88 * T, FLOOR * T - 4), {"dir": "up", "attach": "left", "type": "grass"}),
    ("door pit stone", (93 * T, FLOOR * T - 4), {"dir": "up", "attach": "right", "type": "stone"}),
    ("gate left wood", (98 * T, FLOOR * T - 32),
     {"dir": "left", "attach": "down", "type": "wood", "car": 1}),
    ("gate right woodstone", (100 * T, FLOOR * T - 32),
     {"dir": "right", "attach": "down", "type": "woodstone", "car": 1}),
    ("hatch grass", (107 * T, 13 * T - 32), {"dir": "down", "attach": "left", "type": "grass"}),
    ("flap left stone", (115 * T, 13 * T), {"dir": "left", "attach": "up", "type": "stone"}),
    ("flap right wood", (117 * T, 13 * T), {"dir": "right", "attach": "up", "type": "wood"}),
]

# (target, first column, columns, delay): a trigger over the walk, three
# cells high (over a floor door it stands on the door).
TRIGGERS = [
    ("spear delayed", 32, 2, 0.5),
    ("stomper delayed", 76, 2, 0.3),
    ("door pit grass", 88, 2, 0.25),
    ("door pit stone", 93, 2, 0.25),
    ("gate left wood", 96, 2, 0),
    ("gate right woodstone", 96, 2, 0.4),
    ("hatch grass", 106, 3, 0),
    ("flap left stone", 112, 2, 0),
    ("flap right wood", 112, 2, 0.15),
]

CHECKPOINTS = [
    # (name, column, lit from the start)
    ("start", 6, True),
    ("checkpoint", 37, False),
]
SCROLL = (26.5, 14)            # on top of the low wall between the spears

# ---------------------------------------------------------------- props

BACK_PLANE = [
    ("far_bamboo_clump", 3, 16, 5), ("far_bamboo_clump", 9, 16, 4), ("far_fence", 30, 16),
    ("far_fence", 31, 16), ("far_grass_strip", 39, 16), ("far_bamboo_clump", 48, 16, 3),
    ("far_pine", 75, 16), ("far_grass_strip", 82, 16), ("far_fence", 125, 16),
    ("far_fence", 126, 16), ("far_bamboo_clump", 135, 16, 6), ("far_bamboo_clump", 140, 16, 4),
]
BACKGROUND = [("far_boulder", 60, 13), ("far_stones", 130, 16)]
DETAILS_BACK = [
    ("sign", 10, 16), ("stone_lantern", 8, 16), ("grass_strip", 12, 16), ("grass", 17, 16),
    ("grass_strip", 23, 16), ("grass_strip", 30, 16), ("sign", 41, 16), ("grass", 36, 16),
    ("grass_strip", 48, 16), ("stone", 55, 16), ("grass_strip", 61, 13), ("grass", 65, 13),
    ("grass_strip", 74, 16), ("stone_pile", 83, 16), ("sign", 85, 16), ("grass_strip", 91, 16),
    ("stone_lantern", 110, 16), ("grass_strip", 121, 16), ("stone_lantern", 128, 16),
    ("grass_strip", 134, 16), ("stone", 140, 16), ("grass_strip", 145, 16),
]
DETAILS_FRONT = [
    ("lantern_hanging", 22, 11), ("vines", 80, 10),
    ("lantern_hanging", 110, 12), ("roots_long", 104, 12), ("lantern_hanging", 119, 12),
]
DETAILS_FRONT_CHARACTER = [("grass_large", 3, 16), ("grass_large", 42.5, 16), ("reeds", 131, 16)]


# ---------------------------------------------------------------- placing

def ground(plane, col, row, what, span=1, room=2):
    for c in range(int(col), int(col + span - 0.001) + 1):
        if not plane.flat_top(c, row):
            raise LayoutError("%s at column %s has no flat ground on row %d" % (what, col, row))
        for y in range(row - room, row):
            if plane.at(c, y) != ".":
                raise LayoutError("%s at column %s has no room above the ground" % (what, col))


def check_extending(plane, name, cell, direction, depth, travel):
    """A trap coming out of the wall cell `cell`: solid for `depth` cells
    back from it, air for at least `travel` cells in front."""
    dx, dy = DIRECTIONS[direction]
    col, row = cell
    for i in range(depth):
        if not plane.solid(col - dx * i, row - dy * i):
            raise LayoutError("%s at %s: no wall %d cells behind its face" % (name, cell, i))
    for i in range(1, travel + 1):
        if plane.at(col + dx * i, row + dy * i) != ".":
            raise LayoutError("%s at %s: no room to come out" % (name, cell))


def trap_object(name, kind, x, y, properties, width=T, height=T):
    return {"name": name, "type": kind, "x": x, "y": y, "width": width, "height": height,
            "properties": properties}


def traps(plane):
    objects = []
    ground(plane, SPAWN, FLOOR, "spawn")
    # The hero's feet start here and drop the last half tile.
    objects.append({"name": "spawn", "x": SPAWN * T, "y": FLOOR * T - 32, "width": 32,
                    "height": 32})
    for name, col, lit in CHECKPOINTS:
        ground(plane, col, FLOOR, name, 2)
        # Its picture is 109 x 129, hung from the object's top-left corner.
        objects.append(trap_object(name, "checkpoint", col * T, FLOOR * T - 129,
                                   {"active": 1} if lit else {}, 109, 129))
    x, row = SCROLL
    ground(plane, x, row, "scroll", room=1)
    # Above the wall's top, with room for it to bob.
    objects.append(trap_object("scroll", "scroll", round(x * T), row * T - T - 16, {}))

    for name, cell, direction, properties in SPEARS:
        # 196 pixels out of the face: three cells and a little.
        check_extending(plane, name, cell, direction, 2, 3)
        objects.append(trap_object(name, "trap_spear", cell[0] * T, cell[1] * T,
                                   dict(properties, dir=direction)))
    for name, cell, direction, properties in STOMPER_GROUPS:
        dx, dy = DIRECTIONS[direction]
        # The piece with the group's outer edge on top of the picture ("l")
        # goes where the turned picture has its top.
        order = {"left": "lmr", "right": "lmr", "up": "rml", "down": "lmr"}[direction]
        for i, look in enumerate(order):
            piece = (cell[0] + abs(dy) * i, cell[1] + abs(dx) * i)
            check_extending(plane, name, piece, direction, 4, 1)
            objects.append(trap_object("%s %s" % (name, look), "trap_stomper", piece[0] * T,
                                       piece[1] * T, dict(properties, dir=direction, type=look)))
    for name, cell, direction, properties in STOMPERS:
        check_extending(plane, name, cell, direction, 4, 1)
        objects.append(trap_object(name, "trap_stomper", cell[0] * T, cell[1] * T,
                                   dict(properties, dir=direction)))
    for name, (x, y), properties in DOORS:
        objects.append(trap_object(name, "trap_door", x, y, properties, 128, 32))

    names = {o["name"] for o in objects}
    for target, col, span, delay in TRIGGERS:
        if target not in names:
            raise LayoutError("a trigger at column %d names no object %r" % (col, target))
        for c in range(col, col + span):
            if any(plane.at(c, y) != "." for y in range(FLOOR - 3, FLOOR)):
                raise LayoutError("the trigger for %r at column %d is not over the walk"
                                  % (target, col))
        properties = {"target": target}
        if delay:
            properties["delay"] = delay
        objects.append(trap_object("trigger " + target, "trigger", col * T, (FLOOR - 3) * T,
                                   properties, span * T, 3 * T))

    for c in range(END_TRIGGER - 2, WALL_RIGHT):
        ground(plane, c, FLOOR, "finish run", room=4)
    if plane.at(WALL_RIGHT, FLOOR - 4) != "#" or WALL_RIGHT - END < 20:
        raise LayoutError("the finish run needs 20 tiles and a wall after the end")
    objects.append({"name": "end_trigger", "type": "end_trigger", "x": END_TRIGGER * T,
                    "y": (FLOOR - 3) * T, "width": T, "height": 3 * T})
    objects.append({"name": "end", "type": "end", "x": END * T, "y": (FLOOR - 4) * T,
                    "width": T, "height": 4 * T})
    return objects


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "data")
    plane = Plane(load_layout(SECTIONS, HEIGHT))
    layers = [
        ("Background", tile_objects(BACKGROUND, plane, "background")),
        ("BackPlane", encode(back_plane_tiles(BACK_PLANE, plane), PROPS)),
        ("DetailsBack", tile_objects(DETAILS_BACK, plane)),
        ("Traps", traps(plane)),
        ("RunPlane", encode(run_plane_tiles(plane), GROUND)),
        ("DetailsFront", tile_objects(DETAILS_FRONT, plane)),
        ("DetailsFrontCharacter", tile_objects(DETAILS_FRONT_CHARACTER, plane)),
    ]
    path = os.path.join(data, MAP_PATH)
    write_map(path, plane, layers)
    print("wrote %s (%d x %d tiles)" % (os.path.normpath(path), plane.width, plane.height))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        sys.exit("layout: %s" % e)
