#!/usr/bin/python3
"""Writes the sample level "tests/levels/Dusk Road.tmx" from the layout below.

    tools/levels/make_sample_level.py [MAP.tmx]

The map is the tests' own (the game's chapters are in data/Levels); its
tilesets are named as from a chapter folder, so it loads once copied two
folders below a game directory, as the tests do. This script is the source
of the level: change the layout here and run it again; README.md beside it
explains the characters. The output is the same, byte for byte, on every
run.
"""

import os
import sys

from levelkit import (GROUND, PROPS, T, LayoutError, Plane, back_plane_tiles, encode,
                      load_layout, run_plane_tiles, tile_objects, write_map)

HEIGHT = 28
MAP_PATH = os.path.join("tests", "levels", "Dusk Road.tmx")


# ---------------------------------------------------------------- layout
#
# The run plane, section by section from left to right; each section gives
# its first column so the tile x-ranges can be read off. Every section has
# HEIGHT rows. Characters:
#   .  air
#   #  ground; rims, corners and walls are picked from the neighbours
#   o O  ground with stones / with a boulder (only deep inside the ground)
#   /  45 degree slope up to the right       \  45 degree slope down
#   r R  22.5 degree slope up: low half, then high half
#   F f  22.5 degree slope down: high half, then low half
#   =  wooden plank (ends are picked from the neighbours)

SECTIONS = [
    ("Shrine at the cliff foot", 0, r"""
##................
##................
##................
##................
##................
##................
###...............
###...............
###...............
###...............
###...............
###...............
###...............
###...............
####..............
####..............
####..............
####..............
####..............
####..............
##################
##################
##################
##############O###
########o#########
##################
##################
##################
"""),
    ("Rolling hills", 18, r"""
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
...........................
............/####\.........
.........../######\........
......rR#############Ff....
rR#######################Ff
###############O###########
###########################
#########o#################
###########################
######################o####
###########################
###########################
###########################
"""),
    ("Steps up to the marsh ledge", 45, r"""
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
.............
........#####
........#####
.....########
.....########
...##########
#############
#############
#######O#####
#############
#############
#############
#############
#############
"""),
    ("Marsh planks", 58, r"""
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
.................................
..................=====..../#####
..====........##........../######
.........===..##........./#######
..............##......../########
..............##......./######O##
..............##....../##########
..............##...../####o######
#################################
#################################
###########O#####################
####o############################
#################################
#################################
"""),
    ("Down to the low tunnel", 91, r"""
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.....................
.................####
................#####
...............######
Ff.............######
####\..............##
#####\.............##
#########Ff........##
###########Ff........
#####################
#####################
#####################
#######o#############
#####################
#####################
#####################
#####################
"""),
    ("Checkpoint and the shaft", 112, r"""
.....##########.
.....#####O####.
.....##########.
.....##.....####
.....##.....####
.....##.....####
.....####...####
.....####...####
.....####...####
.....####...####
.....####.......
.....####.......
#########.......
#########...####
#########...####
#########...####
.....####...####
............####
............####
............####
################
################
################
################
##o#############
################
################
################
"""),
    ("Corridor under the overhang", 128, r"""
.............................
.............................
.............................
####.........................
####.........................
#############................
#o###########................
#############................
#############................
########.....................
.............................
.............................
.............................
######Ff.....................
###############\.............
################\............
####################Ff.......
######################Ff.....
###########################\.
############################\
#############################
#############################
##########O##################
######################o######
#############################
#############################
#############################
#############################
"""),
    ("Last slope and the mound", 157, r"""
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...............
...rR##Ff......
###############
###############
###############
###############
######O########
###############
###############
###############
"""),
    ("Finish gate and the run-out", 172, r"""
...................................###
...................................###
...................................###
...................................###
...................................###
...................................###
...................................###
...................................###
...................................###
...................................###
..................................####
..................................####
..................................####
..................................####
..................................##O#
..................................####
..................................####
..................................####
..................................####
..................................####
######################################
######################################
######################################
####o###################o#############
######################################
##############O#######################
######################################
######################################
"""),
]

# Spots the objects refer to, in tiles: (column, row of the ground top).
SPAWN = (5.5, 20)
CHECKPOINT = (113, 20)
SCROLL_NOOK = (119.5, 6)       # floor of the nook at the top of the shaft
END_TRIGGER = (172, 20)        # under the lantern gate
END = (178, 20)
WALL_RIGHT = 206               # first column of the closing wall

# ---------------------------------------------------------------- props
#
# Entries are (prop, x, row) or (prop, x, row, tiles), as levelkit.expand
# reads them; prop names are those of levelkit.PROP.

BACK_PLANE = [
    ("far_bamboo_clump", 4, 20, 5), ("far_bamboo_clump", 5, 20, 3),
    ("far_grass_strip", 6, 20), ("far_grass_strip", 9, 20), ("far_grass", 14, 20),
    ("far_bamboo_clump", 21, 19, 4), ("far_bamboo_clump", 22, 19, 6),
    ("far_fence", 26, 18), ("far_fence", 27, 18), ("far_fence", 28, 18),
    ("far_grass_strip", 37, 18), ("far_stones", 41, 19),
    ("far_bamboo_clump", 46, 20, 5), ("far_boulder", 51, 17),
    ("far_grass_strip", 58, 22), ("far_grass_strip", 59, 22), ("far_grass", 65, 22),
    ("far_bamboo_clump", 70, 22, 4), ("far_bamboo_clump", 75, 22, 6),
    ("far_bamboo_clump", 88, 15, 4), ("far_fence", 97, 18), ("far_fence", 98, 18),
    ("far_grass_strip", 104, 20),
    ("far_roots", 112, 15), ("far_roots", 115, 15), ("far_roots", 117, 16), ("far_roots", 120, 16),
    ("far_roots", 122, 2),
    ("far_roots", 125, 9), ("far_roots", 129, 9), ("far_roots", 133, 9), ("far_roots", 137, 8),
    ("far_bamboo_clump", 146, 16, 5), ("far_grass_strip", 152, 18),
    ("far_fence", 158, 20), ("far_fence", 159, 20),
    ("far_bamboo_clump", 180, 20, 4), ("far_bamboo_clump", 181, 20, 6),
    ("far_bamboo_clump", 183, 20, 3), ("far_grass_strip", 187, 20),
    ("gate_post", 170, 20, 3), ("gate_post", 174, 20, 3),
    ("far_bamboo_clump", 195, 20, 4), ("far_grass_strip", 196, 20),
    ("far_fence", 200, 20), ("far_fence", 201, 20), ("far_bamboo_clump", 204, 20, 5),
]

BACKGROUND = [
    ("far_pine", 12, 20), ("far_pine", 33.5, 16), ("far_boulder", 67, 22),
    ("far_pine", 87.5, 15), ("far_pine", 108.5, 12), ("far_pine", 141.5, 14),
    ("far_pine", 185, 20), ("far_boulder", 190, 20), ("far_pine", 199.5, 20),
]

DETAILS_BACK = [
    ("shrine", 7, 20), ("stone_lantern", 10, 20),
    ("post_lantern", 13, 20), ("post_lantern", 16, 20),
    ("lantern_string", 13.5, 20), ("lantern_string", 14.5, 20), ("lantern_string", 15.5, 20),
    ("stone_lantern", 31.5, 16), ("bamboo_clump", 38, 18, 3),
    ("post_lantern", 56, 15),
    ("stilt", 60, 16, 6), ("stilt", 63, 16, 6), ("stilt", 67, 17, 5), ("stilt", 69, 17, 5),
    ("stilt", 76, 15, 7), ("stilt", 80, 15, 6),
    ("stone_lantern", 72.5, 16),
    ("post_lantern", 98, 18),
    ("bamboo_clump", 108.25, 12, 4), ("bamboo_clump", 109.5, 12, 3),
    ("roots_short", 107, 15), ("roots_short", 110.5, 18),
    ("vines", 112.5, 15), ("lantern_hanging", 116, 15), ("lantern_hanging", 118.5, 16),
    ("lantern_hanging", 126, 9), ("roots_long", 128, 9), ("lantern_hanging", 130.5, 9),
    ("roots_long", 132.5, 9), ("vines", 137, 8), ("lantern_hanging", 138.5, 8), ("vines", 139.5, 8),
    ("bamboo_clump", 145.5, 16, 4), ("stone_lantern", 153, 18),
    ("boulder", 162.5, 19),
    # The finish gate: lanterns strung between the gate posts of the back plane.
    ("raised_lantern_string", 170.5, 20, 3), ("raised_lantern_string", 171.5, 20, 3),
    ("raised_lantern_string", 172.5, 20, 3), ("raised_lantern_string", 173.5, 20, 3),
    ("bamboo_clump", 188, 20, 4), ("shrine", 202, 20), ("stone_lantern", 204, 20),
]

DETAILS_FRONT = [
    ("grass_strip", 4, 20), ("grass_strip", 5, 20), ("grass", 8.5, 20), ("lilies", 9, 20),
    ("grass_strip", 11, 20), ("grass_strip", 12, 20), ("stone", 14.5, 20), ("sign", 17, 20),
    ("grass_strip", 20, 19), ("grass_strip", 21, 19), ("grass_large", 22.5, 19),
    ("grass_strip", 26, 18), ("lilies", 27, 18), ("grass_strip", 28, 18),
    ("grass_strip", 31, 16), ("grass", 33, 16), ("stone", 34, 16),
    ("grass_strip", 37, 18), ("grass_strip", 41, 19), ("lilies", 42, 19),
    ("grass_strip", 45, 20), ("grass", 47, 20), ("grass_strip", 49, 19),
    ("grass", 51, 17), ("surface_roots", 54, 15), ("grass_strip", 55, 15), ("grass", 57, 15),
    ("reeds", 58, 22), ("lilies", 61.5, 22), ("reeds", 64, 22), ("stone_pile", 65.25, 22),
    ("reeds", 66.5, 22), ("lilies", 68, 22), ("reeds", 70.5, 22), ("reeds", 74.5, 22),
    ("grass_strip", 75.5, 22), ("reeds", 77.5, 22),
    ("grass_strip", 86, 15), ("grass_strip", 87, 15), ("sign", 89.5, 15),
    ("stone", 93.5, 16), ("grass_strip", 97, 18), ("grass_strip", 99, 18),
    ("sign", 104.25, 20), ("grass_strip", 105, 20),
    ("grass_strip", 107, 13), ("grass_strip", 108, 12), ("grass_strip", 109, 12),
    ("grass_strip", 112, 20), ("lilies", 116, 20), ("grass_strip", 117, 20),
    ("grass", 121.5, 20), ("grass", 119.5, 6),
    ("grass_strip", 125, 13), ("stone", 127.5, 13), ("grass_strip", 131, 13),
    ("grass_strip", 136, 14), ("surface_roots", 138, 14), ("grass_strip", 141, 14),
    ("grass_strip", 145, 16), ("stone", 147, 16), ("grass_strip", 152, 18), ("grass", 154, 18),
    ("grass_strip", 157, 20), ("lilies", 158.5, 20), ("grass_strip", 162, 19),
    ("grass_strip", 166, 20), ("grass_strip", 167, 20), ("lilies", 176, 20),
    ("grass_strip", 179, 20), ("grass_strip", 180, 20), ("stone", 184, 20),
    ("grass_strip", 189, 20), ("grass_strip", 190, 20), ("lilies", 193, 20),
    ("grass_strip", 197, 20), ("stone_pile", 199, 20), ("grass_strip", 203, 20),
    ("grass_strip", 205, 20),
]

# In front of the hero: a few near blades only, so nothing hides the way.
DETAILS_FRONT_CHARACTER = [
    ("grass_large", 4.25, 20), ("reeds", 20.25, 19), ("reeds", 59.25, 22), ("grass_large", 70.25, 22),
    ("grass_large", 115.75, 20), ("grass_large", 168, 20), ("reeds", 191.5, 20),
]


# ---------------------------------------------------------------- markers

def markers(plane):
    def ground(col, row, what, span=1):
        for c in range(int(col), int(col + span - 0.001) + 1):
            if not plane.flat_top(c, row):
                raise LayoutError("%s at column %s has no flat ground on row %d" % (what, col, row))
            for y in range(row - 3, row):
                if plane.at(c, y) != ".":
                    raise LayoutError("%s at column %s has no room above the ground" % (what, col))

    x, row = SPAWN
    ground(x, row, "spawn")
    # The hero's feet start here and drop the last half tile.
    spawn = {"name": "spawn", "x": round(x * T), "y": row * T - 32, "width": 32, "height": 32}

    col, row = CHECKPOINT
    ground(col, row, "checkpoint", 2)
    # Its picture is 109 x 129, hung from the object's top-left corner.
    checkpoint = {"name": "checkpoint", "type": "checkpoint", "x": col * T, "y": row * T - 129,
                  "width": 109, "height": 129}

    x, row = SCROLL_NOOK
    ground(x, row, "scroll")
    # Above the nook's floor, with room for it to bob.
    scroll = {"name": "scroll", "type": "scroll", "x": round(x * T), "y": row * T - T - 16,
              "width": T, "height": T}

    col, row = END_TRIGGER
    end_col, end_row = END
    if end_row != row:
        raise LayoutError("the finish run needs level ground")
    for c in range(col - 2, WALL_RIGHT):
        ground(c, row, "finish run")
    if plane.at(WALL_RIGHT, row - 4) != "#" or WALL_RIGHT - end_col < 20:
        raise LayoutError("the finish run needs 20 tiles and a wall after the end")
    end_trigger = {"name": "end_trigger", "type": "end_trigger", "x": col * T, "y": (row - 3) * T,
                   "width": T, "height": 3 * T}
    end = {"name": "end", "type": "end", "x": end_col * T, "y": (row - 4) * T,
           "width": T, "height": 4 * T}
    return [spawn, checkpoint, scroll, end_trigger, end]


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    path = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", MAP_PATH)
    plane = Plane(load_layout(SECTIONS, HEIGHT))
    if WALL_RIGHT >= plane.width:
        raise LayoutError("the closing wall lies outside the map")
    # Drawn in this order: Background, BackPlane, DetailsBack, Traps,
    # RunPlane, DetailsFront, the hero, DetailsFrontCharacter.
    layers = [
        ("Background", tile_objects(BACKGROUND, plane, "background")),
        ("BackPlane", encode(back_plane_tiles(BACK_PLANE, plane), PROPS)),
        ("DetailsBack", tile_objects(DETAILS_BACK, plane)),
        ("Traps", markers(plane)),
        ("RunPlane", encode(run_plane_tiles(plane), GROUND)),
        ("DetailsFront", tile_objects(DETAILS_FRONT, plane)),
        ("DetailsFrontCharacter", tile_objects(DETAILS_FRONT_CHARACTER, plane)),
    ]
    write_map(path, plane, layers)
    print("wrote %s (%d x %d tiles)" % (os.path.normpath(path), plane.width, plane.height))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        sys.exit("layout: %s" % e)
