#!/usr/bin/python3
"""Writes the level "Levels/Chapter 1/01 Dusk Road.tmx" from the layout below.

    tools/levels/make_sample_level.py [DATA_DIR]

DATA_DIR defaults to the repository's data/. This script is the source of
the level: change the layout here and run it again; README.md beside it
explains the characters. The output is the same, byte for byte, on every
run.
"""

import base64
import os
import struct
import sys
import zlib
from xml.sax.saxutils import quoteattr

T = 64
HEIGHT = 28
MAP_PATH = os.path.join("Levels", "Chapter 1", "01 Dusk Road.tmx")
TILESETS = (  # (first gid, source relative to the map)
    (1, "../../Graphics/Tiles/ink_ground.tsx"),
    (41, "../../Graphics/Tiles/ink_props.tsx"),
)
GROUND, PROPS = TILESETS[0][0], TILESETS[1][0]


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
Ff.............####O#
####\..........######
#####\.........######
#########Ff....######
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
# Entries are (prop, x, row) or (prop, x, row, tiles): x in tiles (fractions
# are fine for objects, tile layers need whole tiles); row is the ground
# row the prop stands on, or for hanging props the ceiling row it hangs
# from. `tiles` is the height of stacked props (bamboo, gate posts, stilts).

PROP = {
    "grass": 0, "grass_large": 1, "grass_strip": 2, "lilies": 3,
    "stone": 4, "boulder": 5, "stone_pile": 6, "surface_roots": 7,
    "lantern_hanging": 8, "roots_short": 9, "roots_long": 10, "vines": 11,
    "stone_lantern_top": 12, "post_lantern": 13, "fence": 14, "stone_lantern_base": 15,
    "far_grass": 16, "far_grass_strip": 17, "far_stones": 18, "far_boulder": 19,
    "far_bamboo": 20, "far_bamboo_top": 21, "far_fence": 22, "far_pine": 23,
    "far_gate_post": 24, "far_roots": 25, "bamboo": 26, "bamboo_top": 27,
    "sign": 28, "lantern_string": 29, "shrine": 30, "reeds": 31,
}
HANGING = {"lantern_hanging", "roots_short", "roots_long", "vines", "far_roots"}
# Props made of several tiles: given the height, the tiles from the bottom
# up (None leaves a tile empty).
STACKS = {
    "stone_lantern": lambda n: ["stone_lantern_base", "stone_lantern_top"],
    "bamboo_clump": lambda n: ["bamboo"] * (n - 1) + ["bamboo_top"],
    "far_bamboo_clump": lambda n: ["far_bamboo"] * (n - 1) + ["far_bamboo_top"],
    "gate_post": lambda n: ["far_gate_post"] * n,
    # Strung between the tops of gate posts n tiles high.
    "raised_lantern_string": lambda n: [None] * (n - 1) + ["lantern_string"],
}

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
    ("roots_short", 107, 18), ("roots_short", 109.5, 18),
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


# ---------------------------------------------------------------- run plane

SOLID = set("#oO/\\rRFf")
# Surface height at the left and right edge of each slope, in half tiles.
SLOPE_EDGES = {"/": (0, 2), "\\": (2, 0), "r": (0, 1), "R": (1, 2), "F": (2, 1), "f": (1, 0)}
SLOPE_TILE = {"/": 4, "\\": 5, "r": 6, "R": 7, "F": 14, "f": 15}
# The ground under a slope's low end shows the slope's rim dipping into it.
UNDER_SLOPE = {"/": 32, "\\": 33, "r": 34, "f": 35}
# A full block by the sides it shows (up, down, left, right).
BLOCK = {
    "": 9, "u": 1, "ul": 0, "ur": 2, "ulr": 3, "d": 17, "dl": 16, "dr": 18, "dlr": 19,
    "l": 8, "r": 10, "lr": 11, "ud": 25, "udl": 24, "udr": 26, "udlr": 27,
}
# A block showing no side, with one open diagonal.
INNER = {"ul": 12, "ur": 13, "dl": 20, "dr": 21}
DEEP = {"o": 22, "O": 23}
PLANK = {(False, False): 31, (False, True): 28, (True, True): 29, (True, False): 30}


class LayoutError(Exception):
    pass


def load_layout():
    grid = [""] * HEIGHT
    for name, first, text in SECTIONS:
        rows = text.strip("\n").split("\n")
        if len(rows) != HEIGHT:
            raise LayoutError("%s: %d rows, not %d" % (name, len(rows), HEIGHT))
        if len(set(map(len, rows))) != 1:
            raise LayoutError("%s: rows of different lengths" % name)
        if first != len(grid[0]):
            raise LayoutError("%s starts at column %d, not %d" % (name, len(grid[0]), first))
        grid = [a + b for a, b in zip(grid, rows)]
    bad = set("".join(grid)) - SOLID - set(".=")
    if bad:
        raise LayoutError("unknown layout characters: %s" % "".join(sorted(bad)))
    return grid


class Plane:
    def __init__(self, grid):
        self.grid = grid
        self.width = len(grid[0])
        self.height = len(grid)

    def at(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.grid[y][x]
        return "#"             # the world goes on solid past the map's edges

    def solid(self, x, y):
        return self.at(x, y) in SOLID

    def flat_top(self, x, y):
        """A block whose top is open: something can stand on it."""
        return self.at(x, y) in "#oO" and self.at(x, y - 1) == "."

    def flat_bottom(self, x, y):
        return self.at(x, y) in "#oO" and self.at(x, y + 1) == "."


def block_tile(plane, x, y):
    s = plane.solid
    open_sides = "".join(k for k, (dx, dy) in zip("udlr", ((0, -1), (0, 1), (-1, 0), (1, 0)))
                         if not s(x + dx, y + dy))
    corners = [k for k, (dx, dy) in (("ul", (-1, -1)), ("ur", (1, -1)), ("dl", (-1, 1)), ("dr", (1, 1)))
               if s(x + dx, y) and s(x, y + dy) and not s(x + dx, y + dy)]
    ch = plane.at(x, y)
    if ch in DEEP:
        if open_sides or corners:
            raise LayoutError("%r at (%d, %d) is not deep inside the ground" % (ch, x, y))
        return DEEP[ch]
    if corners and (open_sides or len(corners) > 1):
        # The tileset has no such piece; its rim would break off.
        raise LayoutError("no tile for ground at (%d, %d): open %s and corners %s"
                          % (x, y, open_sides or "-", ",".join(corners)))
    if corners:
        return INNER[corners[0]]
    return BLOCK[open_sides]


def check_slope(plane, x, y):
    ch = plane.at(x, y)
    left, right = SLOPE_EDGES[ch]
    if plane.at(x, y - 1) != ".":
        raise LayoutError("slope at (%d, %d) is covered" % (x, y))
    if plane.at(x, y + 1) != "#":
        raise LayoutError("slope at (%d, %d) needs plain ground under it" % (x, y))
    for side, height, dx in (("left", left, -1), ("right", right, 1)):
        n = plane.at(x + dx, y)
        n_edge = SLOPE_EDGES[n][1 if dx < 0 else 0] if n in SLOPE_EDGES else None
        if height == 2:
            # Level ground, or the ground under the next slope down.
            over = plane.at(x + dx, y - 1)
            over_edge = SLOPE_EDGES[over][1 if dx < 0 else 0] if over in SLOPE_EDGES else None
            ok = n in "#oO" and (over == "." or over_edge == 0) or n_edge == 2
        elif height == 1:
            ok = n_edge == 1
        else:
            below = plane.at(x + dx, y + 1)
            below_edge = SLOPE_EDGES[below][1 if dx < 0 else 0] if below in SLOPE_EDGES else None
            ok = n == "." and (below in "#oO" or below_edge == 2)
        if not ok:
            raise LayoutError("slope at (%d, %d) does not meet the ground on its %s" % (x, y, side))
    if ch in UNDER_SLOPE:
        for dx, dy in ((-1, 1), (1, 1), (0, 2)):
            if not plane.solid(x + dx, y + dy):
                raise LayoutError("the ground under the slope at (%d, %d) stands free" % (x, y))


def run_plane_tiles(plane):
    """Local ink_ground ids, row by row; -1 for empty cells."""
    tiles = [[-1] * plane.width for _ in range(plane.height)]
    for y in range(plane.height):
        for x in range(plane.width):
            ch = plane.at(x, y)
            above = plane.at(x, y - 1) if y > 0 else "."
            if ch in SLOPE_TILE:
                check_slope(plane, x, y)
                tiles[y][x] = SLOPE_TILE[ch]
            elif ch == "=":
                joins = (plane.at(x - 1, y) in "=#", plane.at(x + 1, y) in "=#")
                tiles[y][x] = PLANK[joins]
            elif ch in SOLID:
                tiles[y][x] = UNDER_SLOPE[above] if above in UNDER_SLOPE else block_tile(plane, x, y)
    return tiles


# ---------------------------------------------------------------- props

def expand(entries, plane, whole_tiles):
    """(local props id, x in tiles, bottom y in pixels) for every tile of the
    entries, checked against the run plane."""
    placed = []
    for entry in entries:
        kind, x, row = entry[:3]
        count = entry[3] if len(entry) > 3 else 1
        if whole_tiles and x != int(x):
            raise LayoutError("%r at x %s: tile layers take whole tiles" % (kind, x))
        columns = sorted({int(x), int(x + 0.999)})
        if kind == "stilt":
            # Bamboo holding up a plank from below, its foot in the ground.
            if any(plane.at(c, row) != "=" for c in columns):
                raise LayoutError("stilt at %s, %d holds up no plank" % (x, row))
            foot = row + count - 1
            if not all(plane.solid(c, foot + 1) or plane.at(c, foot) in SLOPE_EDGES for c in columns):
                raise LayoutError("stilt at %s, %d does not reach the ground" % (x, row))
            placed += [(PROP["bamboo"], x, (row + 1 + i) * T) for i in range(count)]
            continue
        if kind in HANGING:
            if not all(plane.flat_bottom(c, row) for c in columns):
                raise LayoutError("%r at %s hangs from no ceiling on row %d" % (kind, x, row))
            placed.append((PROP[kind], x, (row + 2) * T))
            continue
        if not all(plane.flat_top(c, row) for c in columns):
            raise LayoutError("%r at %s stands on no flat ground on row %d" % (kind, x, row))
        names = STACKS[kind](count) if kind in STACKS else [kind]
        for i, name in enumerate(names):
            for c in columns:
                if plane.at(c, row - 1 - i) != ".":
                    raise LayoutError("%r at %s runs into the ground" % (kind, x))
            if name is not None:
                placed.append((PROP[name], x, (row - i) * T))
    return placed


def back_plane_tiles(plane):
    tiles = [[-1] * plane.width for _ in range(plane.height)]
    for prop, x, bottom in expand(BACK_PLANE, plane, True):
        row = bottom // T - 1
        if tiles[row][int(x)] != -1:
            raise LayoutError("two back plane props at (%d, %d)" % (x, row))
        tiles[row][int(x)] = prop
    return tiles


def tile_objects(entries, plane, kind=""):
    return [{"type": kind, "gid": PROPS + prop, "x": round(x * T), "y": bottom,
             "width": T, "height": T} for prop, x, bottom in expand(entries, plane, False)]


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


# ---------------------------------------------------------------- writing

def encode(tiles, first_gid):
    gids = [0 if t < 0 else first_gid + t for row in tiles for t in row]
    raw = struct.pack("<%dI" % len(gids), *gids)
    return base64.b64encode(zlib.compress(raw, 9)).decode("ascii")


def write_map(path, plane, layers):
    next_id = [1]

    def object_xml(o):
        attrs = [("id", next_id[0])]
        next_id[0] += 1
        for key in ("name", "type", "gid", "x", "y", "width", "height"):
            if o.get(key) not in (None, ""):
                attrs.append((key, o[key]))
        return "  <object %s/>" % " ".join("%s=%s" % (k, quoteattr(str(v))) for k, v in attrs)

    body = []
    for layer_id, (name, content) in enumerate(layers, 1):
        if isinstance(content, str):
            body += [' <layer id="%d" name=%s width="%d" height="%d">'
                     % (layer_id, quoteattr(name), plane.width, plane.height),
                     '  <data encoding="base64" compression="zlib">',
                     "   " + content,
                     "  </data>",
                     " </layer>"]
        else:
            body.append(' <objectgroup id="%d" name=%s>' % (layer_id, quoteattr(name)))
            body += [object_xml(o) for o in content]
            body.append(" </objectgroup>")
    head = ['<?xml version="1.0" encoding="UTF-8"?>',
            '<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" renderorder="right-down" '
            'width="%d" height="%d" tilewidth="%d" tileheight="%d" infinite="0" nextlayerid="%d" '
            'nextobjectid="%d">' % (plane.width, plane.height, T, T, len(layers) + 1, next_id[0]),
            " <properties>",
            '  <property name="collision" value="RunPlane"/>',
            " </properties>"]
    head += [' <tileset firstgid="%d" source=%s/>' % (first, quoteattr(source))
             for first, source in TILESETS]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(head + body + ["</map>"]) + "\n")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "data")
    plane = Plane(load_layout())
    if WALL_RIGHT >= plane.width:
        raise LayoutError("the closing wall lies outside the map")
    # Drawn in this order: Background, BackPlane, DetailsBack, Traps,
    # RunPlane, DetailsFront, the hero, DetailsFrontCharacter.
    layers = [
        ("Background", tile_objects(BACKGROUND, plane, "background")),
        ("BackPlane", encode(back_plane_tiles(plane), PROPS)),
        ("DetailsBack", tile_objects(DETAILS_BACK, plane)),
        ("Traps", markers(plane)),
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
