#!/usr/bin/python3
"""Writes the map "tests/levels/Trap Showcase.tmx": every checkpoint,
scroll, spear, stomper and trap door of the game in each of its directions
and looks, along one walk from left to right, with triggers wired to the
doors and to a spear and a stomper that wait to be set off.

    tools/levels/make_trap_showcase.py [MAP.tmx]

The map is the tests' own, loaded as the sample level is (see
make_sample_level.py). This script is the source of the map (see README.md
beside it); the output is the same, byte for byte, on every run.
"""

import os
import sys

from levelkit import (BAMBOO_GROUND, DIRECTIONS, GROUND, PROPS, T, LayoutError, Plane,
                      back_plane_tiles, check_bamboo, check_extending, encode,
                      load_layout, run_plane_tiles, tile_objects, write_map)

HEIGHT = 22
FLOOR = 16                     # the ground row of the walk
MAP_PATH = os.path.join("tests", "levels", "Trap Showcase.tmx")

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
    # Bamboo in every piece and direction: a large cluster, a pit lined with
    # inner corners, wall pieces and rim fans, a row on the floor, a hanging
    # rock ringed with rows and outer corners, and a ceiling with an alcove.
    ("Bamboo", 122, r"""
..................########..
..................########..
..................########..
..................########..
..................########..
..................########..
..................########..
..................########..
............###...########..
............###...###..###..
............###.............
............................
............................
............................
............................
............................
#####...####################
#####...####################
############################
############################
############################
############################
"""),
    # Arrows in each direction: two across a corridor between low walls, one
    # down from a ceiling once a trigger is touched, one up into another.
    ("Arrows", 150, r"""
.............#####.####.
.............#####.####.
.............#####.####.
.............#####.####.
.............#####.####.
.............#####.####.
.............#####.####.
.............#####......
.............#####......
.............#####......
........................
........................
........................
........................
##........##............
##........##............
########################
########################
########################
########################
########################
########################
"""),
    # Shuriken in each colour: one circling a point, one along a path and
    # back, one circling a point that runs round a loop, and one resting
    # until a trigger sets it going.
    ("Orbitals", 174, r"""
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
..........................
##########################
##########################
##########################
##########################
##########################
##########################
"""),
    ("Finish", 200, r"""
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
END_TRIGGER = 202
END = 204
WALL_RIGHT = 226

# ---------------------------------------------------------------- traps
#
# The waits are chosen so that two seconds in every active trap is out
# (`kuroshin-mapshot ... --time=2` shows them all).
#
# Positions are cells (column, row). A spear or stomper stands on the wall
# cell next to the face it comes out of; its picture hides in the wall
# behind that cell (a spear's head reaches 10 pixels into the next cell, a
# stomper's block three cells further).


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

# (name, cell, type, dir or cdir). Straight pieces point away from the
# ground they stand on; a corner's cdir is its cell's place among the four
# around the corner point (an inner corner has ground on two sides, an
# outer one the ground cell diagonally across).
B = 122
BAMBOO = [
    ("bamboo large", (B + 2, 15), "large", "up"),
    # The pit: inner corners on its floor, pieces on its walls, fans on its rims.
    ("bamboo pit floor left", (B + 5, 17), "cin", "tr"),
    ("bamboo pit floor", (B + 6, 17), "m", "up"),
    ("bamboo pit floor right", (B + 7, 17), "cin", "tl"),
    ("bamboo pit wall left", (B + 5, 16), "m", "right"),
    ("bamboo pit wall right", (B + 7, 16), "m", "left"),
    ("bamboo pit rim left", (B + 5, 15), "cout", "tr"),
    ("bamboo pit rim right", (B + 7, 15), "cout", "tl"),
    ("bamboo row l", (B + 9, 15), "l", "up"),
    ("bamboo row m", (B + 10, 15), "m", "up"),
    ("bamboo row r", (B + 11, 15), "r", "up"),
    # The hanging rock. A turned row keeps its "l" end where the turn takes
    # the picture's left edge: the bottom for "left", the top for "right".
    ("bamboo rock top l", (B + 12, 7), "l", "up"),
    ("bamboo rock top m", (B + 13, 7), "m", "up"),
    ("bamboo rock top r", (B + 14, 7), "r", "up"),
    ("bamboo rock bottom l", (B + 12, 11), "l", "down"),
    ("bamboo rock bottom m", (B + 13, 11), "m", "down"),
    ("bamboo rock bottom r", (B + 14, 11), "r", "down"),
    ("bamboo rock left r", (B + 11, 8), "r", "left"),
    ("bamboo rock left m", (B + 11, 9), "m", "left"),
    ("bamboo rock left l", (B + 11, 10), "l", "left"),
    ("bamboo rock right l", (B + 15, 8), "l", "right"),
    ("bamboo rock right m", (B + 15, 9), "m", "right"),
    ("bamboo rock right r", (B + 15, 10), "r", "right"),
    ("bamboo rock corner tl", (B + 11, 7), "cout", "tl"),
    ("bamboo rock corner tr", (B + 15, 7), "cout", "tr"),
    ("bamboo rock corner bl", (B + 11, 11), "cout", "bl"),
    ("bamboo rock corner br", (B + 15, 11), "cout", "br"),
    # Under the ceiling, and in the alcove's upper corners.
    ("bamboo ceiling l", (B + 18, 10), "l", "down"),
    ("bamboo ceiling m", (B + 19, 10), "m", "down"),
    ("bamboo ceiling r", (B + 20, 10), "r", "down"),
    ("bamboo alcove left", (B + 21, 9), "cin", "br"),
    ("bamboo alcove right", (B + 22, 9), "cin", "bl"),
    ("bamboo ceiling 2 l", (B + 23, 10), "l", "down"),
    ("bamboo ceiling 2 m", (B + 24, 10), "m", "down"),
    ("bamboo ceiling 2 r", (B + 25, 10), "r", "down"),
]

# (name, x, y in pixels, dir, properties). An arrow starts with its
# picture's top left on the trap's position (turned about its middle for up
# and down: a 64 x 16 picture then covers x + 24 to x + 40, y - 24 to
# y + 40), here just off a wall face so it flies out of it.
A = 150
ARROWS = [
    ("arrow right", ((A + 2) * T, 14 * T + 24), "right",
     {"active": 1, "speed": 400, "interval": 1.5}),
    ("arrow left", ((A + 9) * T, 15 * T + 8), "left",
     {"active": 1, "speed": 300, "interval": 1.7}),
    ("arrow down", ((A + 15) * T, 10 * T + 24), "down", {"interval": 1.4}),
    ("arrow up", ((A + 20) * T, FLOOR * T - 40), "up",
     {"active": 1, "speed": 600, "interval": 1.8, "max_shots": 3}),
]

# (name, centre x, y in pixels, properties); (path name, origin, points).
O = 174
ORBITALS = [
    ("orbital black", ((O + 4) * T + 32, 13 * T),
     {"active": 1, "radius": 80, "rotation_speed": 90, "spin_speed": 540}),
    ("orbital grey", ((O + 8) * T, 14 * T),
     {"active": 1, "type": "grey", "path": "grey path", "poly_speed": 160, "spin_speed": 360}),
    ("orbital white", ((O + 16) * T, 11 * T),
     {"active": 1, "type": "white", "path": "white loop", "loop": 1, "vertex": 2, "radius": 40,
      "rotation_speed": -180, "poly_speed": 220, "spin_speed": -720}),
    ("orbital waiting", ((O + 23) * T, 13 * T),
     {"radius": 64, "rotation_speed": 240, "spin_speed": 600}),
]
PATHS = [
    ("grey path", ((O + 8) * T, 14 * T), [(0, 0), (320, 0), (320, -192)]),
    ("white loop", ((O + 16) * T, 11 * T), [(0, 0), (256, 0), (256, 192), (0, 192)]),
]

# (name, x, y in pixels, properties): a control hint shown while the hero
# stands in its trigger.
PICTURES = [
    ("picture jump hint", (10 * T, 11 * T),
     {"path": "Pictures/tut_jump.png", "speed_in": 1, "speedin": 150, "speed_out": 1,
      "speedout": 100}),
]

# (name, cell, properties): launchers that greet a run faster than the
# best; one from the start, one once the hero nears the end.
FIREWORKS = [
    ("fireworks record", (208, 15), {"active": 1, "interval": 0.6}),
    ("fireworks finish", (214, 15), {"interval": 0.4, "max_shots": 16}),
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
    ("picture jump hint", 8, 3, 0),
    ("arrow down", A + 13, 2, 0.3),
    ("orbital waiting", O + 19, 2, 0),
    ("fireworks finish", 200, 2, 0),
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
    ("far_pine", 75, 16), ("far_grass_strip", 82, 16), ("far_fence", 203, 16),
    ("far_fence", 204, 16), ("far_bamboo_clump", 213, 16, 6), ("far_bamboo_clump", 218, 16, 4),
]
BACKGROUND = [("far_boulder", 60, 13), ("far_stones", 208, 16)]
DETAILS_BACK = [
    ("sign", 10, 16), ("stone_lantern", 8, 16), ("grass_strip", 12, 16), ("grass", 17, 16),
    ("grass_strip", 23, 16), ("grass_strip", 30, 16), ("sign", 41, 16), ("grass", 36, 16),
    ("grass_strip", 48, 16), ("stone", 55, 16), ("grass_strip", 61, 13), ("grass", 65, 13),
    ("grass_strip", 74, 16), ("stone_pile", 83, 16), ("sign", 85, 16), ("grass_strip", 91, 16),
    ("stone_lantern", 110, 16), ("grass_strip", 121, 16), ("stone_lantern", 206, 16),
    ("grass_strip", 212, 16), ("stone", 218, 16), ("grass_strip", 223, 16),
]
DETAILS_FRONT = [
    ("lantern_hanging", 22, 11), ("vines", 80, 10),
    ("lantern_hanging", 110, 12), ("roots_long", 104, 12), ("lantern_hanging", 119, 12),
]
DETAILS_FRONT_CHARACTER = [("grass_large", 3, 16), ("grass_large", 42.5, 16), ("reeds", 209, 16)]


# ---------------------------------------------------------------- placing

def ground(plane, col, row, what, span=1, room=2):
    for c in range(int(col), int(col + span - 0.001) + 1):
        if not plane.flat_top(c, row):
            raise LayoutError("%s at column %s has no flat ground on row %d" % (what, col, row))
        for y in range(row - room, row):
            if plane.at(c, y) != ".":
                raise LayoutError("%s at column %s has no room above the ground" % (what, col))


def check_air(plane, what, x0, y0, x1, y1):
    """Pixels (x0, y0) to (x1, y1) hold no ground."""
    for c in range(int(x0 // T), int((x1 - 1) // T) + 1):
        for r in range(int(y0 // T), int((y1 - 1) // T) + 1):
            if plane.solid(c, r):
                raise LayoutError("%s starts in the ground at cell (%d, %d)" % (what, c, r))


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
    for name, cell, kind, way in BAMBOO:
        check_bamboo(plane, name, cell, kind, way)
        key = "cdir" if kind in ("cin", "cout") else "dir"
        objects.append(trap_object(name, "trap_bamboo", cell[0] * T, cell[1] * T,
                                   {"type": kind, key: way}))
    for name, (x, y), direction, properties in ARROWS:
        # Where the arrow's picture starts: turned upright about its middle
        # for up and down.
        if direction in ("up", "down"):
            check_air(plane, name, x + 24, y - 24, x + 40, y + 40)
        else:
            check_air(plane, name, x, y, x + T, y + 16)
        objects.append(trap_object(name, "trap_arrow", x, y, dict(properties, dir=direction),
                                   T, 16))
    paths = {name for name, _, _ in PATHS}
    for name, (x, y), properties in ORBITALS:
        if properties.get("path", name) not in paths | {name}:
            raise LayoutError("%s follows no path %r" % (name, properties["path"]))
        # The shuriken's middle is the position: a small square around it.
        objects.append(trap_object(name, "trap_orbital", x, y, properties, 32, 32))
    for name, (x, y), properties in PICTURES:
        # Drawn centred on the position.
        objects.append(trap_object(name, "picture", x, y, properties, 32, 32))
    for name, cell, properties in FIREWORKS:
        ground(plane, cell[0], cell[1] + 1, name, room=4)
        objects.append(trap_object(name, "pfx_fireworks", cell[0] * T, cell[1] * T, properties))

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
    path = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", MAP_PATH)
    plane = Plane(load_layout(SECTIONS, HEIGHT))
    layers = [
        ("Background", tile_objects(BACKGROUND, plane, "background")),
        ("BackPlane", encode(back_plane_tiles(BACK_PLANE, plane), PROPS)),
        ("DetailsBack", tile_objects(DETAILS_BACK, plane)),
        ("Traps", traps(plane)),
        ("RunPlane", encode(run_plane_tiles(plane), GROUND)),
        ("DetailsFront", tile_objects(DETAILS_FRONT, plane)),
        ("DetailsFrontCharacter", tile_objects(DETAILS_FRONT_CHARACTER, plane)),
        # Polylines that shuriken follow; never drawn.
        ("Paths", [{"name": name, "x": x, "y": y, "polyline": points}
                   for name, (x, y), points in PATHS]),
    ]
    write_map(path, plane, layers)
    print("wrote %s (%d x %d tiles)" % (os.path.normpath(path), plane.width, plane.height))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        sys.exit("layout: %s" % e)
