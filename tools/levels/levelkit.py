"""What the level generators share: the run plane from ASCII rows with its
tiles picked from the neighbouring cells, props and their checks, and the
TMX writer. The tile numbers are those of the art's tilesets
(data/Graphics/Tiles/ink_ground.tsx and ink_props.tsx)."""

import base64
import os
import struct
import zlib
from xml.sax.saxutils import quoteattr

T = 64
# (first gid, source relative to a map in a chapter folder of data/Levels)
TILESETS = (
    (1, "../../Graphics/Tiles/ink_ground.tsx"),
    (41, "../../Graphics/Tiles/ink_props.tsx"),
)
GROUND, PROPS = TILESETS[0][0], TILESETS[1][0]


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


def load_layout(sections, height):
    """The run plane's rows from sections of (name, first column, ASCII
    rows), left to right, each `height` rows tall."""
    grid = [""] * height
    for name, first, text in sections:
        rows = text.strip("\n").split("\n")
        if len(rows) != height:
            raise LayoutError("%s: %d rows, not %d" % (name, len(rows), height))
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


def back_plane_tiles(entries, plane):
    tiles = [[-1] * plane.width for _ in range(plane.height)]
    for prop, x, bottom in expand(entries, plane, True):
        row = bottom // T - 1
        if tiles[row][int(x)] != -1:
            raise LayoutError("two back plane props at (%d, %d)" % (x, row))
        tiles[row][int(x)] = prop
    return tiles


def tile_objects(entries, plane, kind=""):
    return [{"type": kind, "gid": PROPS + prop, "x": round(x * T), "y": bottom,
             "width": T, "height": T} for prop, x, bottom in expand(entries, plane, False)]


# ---------------------------------------------------------------- writing

def encode(tiles, first_gid):
    gids = [0 if t < 0 else first_gid + t for row in tiles for t in row]
    raw = struct.pack("<%dI" % len(gids), *gids)
    return base64.b64encode(zlib.compress(raw, 9)).decode("ascii")


def write_map(path, plane, layers):
    """Writes the map: `layers` are (name, content) in file order, content
    either a tile layer encoded by `encode` or a list of objects, dicts of
    the TMX object attributes, optionally "properties" (a dict, written
    as string properties in key order) and "polyline" (points relative to
    the object's position)."""
    next_id = [1]

    def object_xml(o):
        attrs = [("id", next_id[0])]
        next_id[0] += 1
        for key in ("name", "type", "gid", "x", "y", "width", "height"):
            if o.get(key) not in (None, ""):
                attrs.append((key, o[key]))
        opening = "  <object %s" % " ".join("%s=%s" % (k, quoteattr(str(v))) for k, v in attrs)
        properties = o.get("properties")
        polyline = o.get("polyline")
        if not properties and not polyline:
            return opening + "/>"
        lines = [opening + ">"]
        if properties:
            lines.append("   <properties>")
            lines += ['    <property name=%s value=%s/>'
                      % (quoteattr(k), quoteattr(str(properties[k]))) for k in sorted(properties)]
            lines.append("   </properties>")
        if polyline:
            points = " ".join("%s,%s" % (x, y) for x, y in polyline)
            lines.append("   <polyline points=%s/>" % quoteattr(points))
        return "\n".join(lines + ["  </object>"])

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


# Trap placement checks shared by the level scripts.

DIRECTIONS = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}


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


# The ground a bamboo piece grows from, as (dx, dy) of solid cells next to
# it; an outer corner's ground lies diagonally across.
BAMBOO_GROUND = {
    "up": [(0, 1)], "down": [(0, -1)], "left": [(1, 0)], "right": [(-1, 0)],
    ("cin", "tl"): [(0, 1), (1, 0)], ("cin", "tr"): [(0, 1), (-1, 0)],
    ("cin", "bl"): [(0, -1), (1, 0)], ("cin", "br"): [(0, -1), (-1, 0)],
    ("cout", "tl"): [(1, 1)], ("cout", "tr"): [(-1, 1)],
    ("cout", "bl"): [(1, -1)], ("cout", "br"): [(-1, -1)],
}


def check_bamboo(plane, name, cell, kind, way):
    col, row = cell
    key = (kind, way) if kind in ("cin", "cout") else way
    if plane.at(col, row) != "." or key not in BAMBOO_GROUND:
        raise LayoutError("%s at %s is not a bamboo piece in the air" % (name, cell))
    for dx, dy in BAMBOO_GROUND[key]:
        if not plane.solid(col + dx, row + dy):
            raise LayoutError("%s at %s grows from no ground" % (name, cell))
    if kind == "cout" and any(plane.solid(col + dx, row) or plane.solid(col, row + dy)
                              for dx, dy in BAMBOO_GROUND[key]):
        raise LayoutError("%s at %s is no outer corner" % (name, cell))
