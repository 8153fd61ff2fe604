#!/usr/bin/python3
"""Writes the levels of the chapter "Levels/3 Hard" from the level
descriptions in tools/levels/hard/ (one module a level, listed in LEVELS).

    tools/levels/make_hard_chapter.py [DATA_DIR] [LEVEL_MODULE ...]

DATA_DIR defaults to the repository's data/; naming modules writes only
those levels. The descriptions are the source of the levels (README.md
beside this script); the output is the same, byte for byte, on every run.

A description gives the run plane as ASCII sections (levelkit's characters),
the objects of the "Traps" layer by cell, and the hand-placed props: lanterns
where the path turns, gates, shrines. This script adds the ground's stones,
the grass along open ground, roots under ceilings, the far props of the back
plane and the parallax pines, everywhere clear of the traps, so that no
stretch of ground is left bare.
"""

import importlib
import os
import sys
import zlib

from levelkit import (BAMBOO_GROUND, DIRECTIONS, GROUND, PROPS, T, LayoutError, Plane,
                      back_plane_tiles, check_bamboo, check_extending, encode, expand,
                      load_layout, run_plane_tiles, tile_objects, write_map)

CHAPTER = "3 Hard"
LEVELS = ["hard.thorn_steps", "hard.ram_hall", "hard.arrow_rain", "hard.shuriken_spire",
          "hard.black_summit"]



def noise(*key):
    """A number in 0 ... 1 from the key, the same on every run."""
    return zlib.crc32(repr(key).encode("utf-8")) / 2.0 ** 32


# ---------------------------------------------------------------- run plane

def sprinkle_stones(grid, seed):
    """Stones and boulders deep in the ground, so that wide masses of it are
    not one flat fill."""
    rows = [list(r) for r in grid]
    height, width = len(rows), len(rows[0])

    def deep(x, y):
        return all(0 <= x + dx < width and 0 <= y + dy < height and grid[y + dy][x + dx] == "#"
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    for y in range(1, height - 1):
        for x in range(1, width - 1):
            if not deep(x, y):
                continue
            n = noise(seed, "stone", x, y)
            if n < 0.06:
                rows[y][x] = "o"
            elif n < 0.085:
                rows[y][x] = "O"
    return ["".join(r) for r in rows]


# ---------------------------------------------------------------- checks

def ground(plane, col, row, what, span=1, room=2):
    for c in range(int(col), int(col + span - 0.001) + 1):
        if not plane.flat_top(c, row):
            raise LayoutError("%s at column %s has no flat ground on row %d" % (what, col, row))
        for y in range(row - room, row):
            if plane.at(c, y) != ".":
                raise LayoutError("%s at column %s has no room above row %d" % (what, col, row))


def check_air(plane, what, x0, y0, x1, y1):
    """Pixels (x0, y0) to (x1, y1) hold no ground."""
    for c in range(int(x0 // T), int((x1 - 1) // T) + 1):
        for r in range(int(y0 // T), int((y1 - 1) // T) + 1):
            if plane.solid(c, r):
                raise LayoutError("%s starts in the ground at cell (%d, %d)" % (what, c, r))


# ---------------------------------------------------------------- bamboo rows

def bamboo_row(name, first, last, row, way="up"):
    """A row of bamboo pieces from cell `first` to `last` (inclusive) along
    row `row` (way up or down), or along column `row`... for walls the cells
    run from `first` to `last` down the column given as `row`."""
    pieces = []
    if way in ("up", "down"):
        cells = [(c, row) for c in range(first, last + 1)]
        ends = ("l", "r")
    else:
        # Down a wall: the turn puts the picture's left edge at the bottom
        # for "left" and at the top for "right".
        cells = [(row, r) for r in range(first, last + 1)]
        ends = ("r", "l") if way == "left" else ("l", "r")
    if len(cells) == 1:
        return [(name, cells[0], "large", way)]
    for i, cell in enumerate(cells):
        look = ends[0] if i == 0 else ends[1] if i == len(cells) - 1 else "m"
        pieces.append(("%s %d" % (name, i + 1), cell, look, way))
    return pieces


# ---------------------------------------------------------------- traps

def trap_object(name, kind, x, y, properties, width=T, height=T):
    return {"name": name, "type": kind, "x": x, "y": y, "width": width, "height": height,
            "properties": properties}


def traps(plane, design, occupied):
    """The objects of the Traps layer; `occupied` collects the cells they
    cover, which the decoration leaves free."""
    objects = []

    def cover(x0, y0, x1, y1):
        for c in range(int(x0 // T), int((x1 - 1) // T) + 1):
            for r in range(int(y0 // T), int((y1 - 1) // T) + 1):
                occupied.add((c, r))

    col, row = design.SPAWN
    ground(plane, col, row, "spawn")
    # The hero's feet start here and drop the last half tile.
    objects.append({"name": "spawn", "x": round(col * T), "y": row * T - 32, "width": 32,
                    "height": 32})

    for name, col, row, lit in design.CHECKPOINTS:
        ground(plane, col, row, name, 2)
        # Its picture is 109 x 129, hung from the object's top-left corner.
        objects.append(trap_object(name, "checkpoint", col * T, row * T - 129,
                                   {"active": 1} if lit else {}, 109, 129))
        cover(col * T, row * T - 129, col * T + 109, row * T)

    x, row = design.SCROLL
    ground(plane, x, row, "scroll", room=1)
    # Above the floor, with room for it to bob.
    objects.append(trap_object("scroll", "scroll", round(x * T), row * T - T - 16, {}))
    cover(x * T, row * T - T - 16, x * T + T, row * T)

    for name, cell, direction, properties in getattr(design, "SPEARS", []):
        # 196 pixels out of the face at full reach: three cells and a little.
        reach = 3 * float(properties.get("max_out", 100)) / 100
        check_extending(plane, name, cell, direction, 2, max(1, int(reach + 0.999)))
        objects.append(trap_object(name, "trap_spear", cell[0] * T, cell[1] * T,
                                   dict(properties, dir=direction)))
        dx, dy = DIRECTIONS[direction]
        for i in range(1, int(reach + 0.999) + 1):
            occupied.add((cell[0] + dx * i, cell[1] + dy * i))

    for name, cell, direction, properties in getattr(design, "STOMPER_GROUPS", []):
        dx, dy = DIRECTIONS[direction]
        # The piece with the group's outer edge on top of the picture ("l")
        # goes where the turned picture has its top.
        order = {"left": "lmr", "right": "lmr", "up": "rml", "down": "lmr"}[direction]
        reach = int(4 * float(properties.get("max_out", 100)) / 100 + 0.999)
        for i, look in enumerate(order):
            piece = (cell[0] + abs(dy) * i, cell[1] + abs(dx) * i)
            check_extending(plane, name, piece, direction, 4, 1)
            objects.append(trap_object("%s-%s" % (name, look), "trap_stomper", piece[0] * T,
                                       piece[1] * T, dict(properties, dir=direction, type=look)))
            for j in range(1, reach + 1):
                occupied.add((piece[0] + dx * j, piece[1] + dy * j))

    for name, cell, direction, properties in getattr(design, "STOMPERS", []):
        dx, dy = DIRECTIONS[direction]
        check_extending(plane, name, cell, direction, 4, 1)
        objects.append(trap_object(name, "trap_stomper", cell[0] * T, cell[1] * T,
                                   dict(properties, dir=direction)))
        reach = int(4 * float(properties.get("max_out", 100)) / 100 + 0.999)
        for j in range(1, reach + 1):
            occupied.add((cell[0] + dx * j, cell[1] + dy * j))

    for name, (col, row), properties in getattr(design, "DOORS", []):
        # A floor door: its walking surface (4 pixels below the picture's
        # top) level with the ground, over two cells of a pit.
        for c in (col, col + 1):
            if plane.at(c, row) != "." or plane.at(c, row - 1) != ".":
                raise LayoutError("%s at (%d, %d) lies over no pit" % (name, col, row))
        objects.append(trap_object(name, "trap_door", col * T, row * T - 4,
                                   dict(properties, dir="up"), 128, 32))
        cover(col * T, row * T - T, col * T + 128, row * T + T)

    bamboo = []
    for entry in getattr(design, "BAMBOO", []):
        bamboo += entry if isinstance(entry, list) else [entry]
    for name, cell, kind, way in bamboo:
        check_bamboo(plane, name, cell, kind, way)
        key = "cdir" if kind in ("cin", "cout") else "dir"
        objects.append(trap_object(name, "trap_bamboo", cell[0] * T, cell[1] * T,
                                   {"type": kind, key: way}))
        occupied.add(cell)

    for name, (x, y), direction, properties in getattr(design, "ARROWS", []):
        # Where the arrow's picture starts: turned upright about its middle
        # for up and down.
        if direction in ("up", "down"):
            check_air(plane, name, x + 24, y - 24, x + 40, y + 40)
        else:
            check_air(plane, name, x, y, x + T, y + 16)
        objects.append(trap_object(name, "trap_arrow", x, y, dict(properties, dir=direction),
                                   T, 16))

    paths = {name for name, _, _ in getattr(design, "PATHS", [])}
    for name, (x, y), properties in getattr(design, "ORBITALS", []):
        if "path" in properties and properties["path"] not in paths:
            raise LayoutError("%s follows no path %r" % (name, properties["path"]))
        # The shuriken's middle is the position: a small square around it.
        objects.append(trap_object(name, "trap_orbital", x, y, properties, 32, 32))

    for name, cell, properties in getattr(design, "FIREWORKS", []):
        ground(plane, cell[0], cell[1] + 1, name, room=4)
        objects.append(trap_object(name, "pfx_fireworks", cell[0] * T, cell[1] * T, properties))

    names = {o["name"] for o in objects}
    for target, col, row, span, delay in getattr(design, "TRIGGERS", []):
        if target not in names:
            raise LayoutError("a trigger at column %d names no object %r" % (col, target))
        properties = {"target": target}
        if delay:
            properties["delay"] = delay
        objects.append(trap_object("trigger " + target, "trigger", col * T, (row - 3) * T,
                                   properties, span * T, 3 * T))

    col, row = design.END_TRIGGER
    end_col = design.END
    for c in range(col - 2, design.WALL_RIGHT):
        ground(plane, c, row, "finish run", room=4)
    if plane.at(design.WALL_RIGHT, row - 4) != "#" or design.WALL_RIGHT - end_col < 20:
        raise LayoutError("the finish run needs 20 tiles and a wall after the end")
    objects.append({"name": "end_trigger", "type": "end_trigger", "x": col * T,
                    "y": (row - 3) * T, "width": T, "height": 3 * T})
    objects.append({"name": "end", "type": "end", "x": end_col * T, "y": (row - 4) * T,
                    "width": T, "height": 4 * T})

    if sum(o["name"] == "spawn" for o in objects) != 1 or \
            sum(o["name"] == "scroll" for o in objects) != 1:
        raise LayoutError("a level has one spawn and one scroll")
    return objects


# ---------------------------------------------------------------- decoration

def surfaces(plane):
    """(column, ground row, room) of every cell something can stand on,
    room being the air above it, at most 6."""
    found = []
    for x in range(plane.width):
        for y in range(1, plane.height):
            if plane.flat_top(x, y):
                room = 0
                while room < 6 and plane.at(x, y - 1 - room) == ".":
                    room += 1
                found.append((x, y, room))
    return found


def ceilings(plane):
    """(column, ceiling row, room) of flat ceilings with air under them."""
    found = []
    for x in range(plane.width):
        for y in range(0, plane.height - 1):
            if plane.flat_bottom(x, y):
                room = 0
                while room < 6 and plane.at(x, y + 1 + room) == ".":
                    room += 1
                found.append((x, y, room))
    return found


def decoration(plane, design, occupied):
    """Props along the level, on top of the hand-placed ones, kept off the
    cells of traps and of hand-placed props."""
    seed = design.NAME
    taken = set(occupied)
    for entries in (design.DETAILS_BACK, design.DETAILS_FRONT, design.DETAILS_FRONT_CHARACTER):
        for entry in entries:
            kind, x, row = entry[:3]
            taken.add((int(x), row - 1))
            taken.add((int(x + 0.999), row - 1))
    quiet = set(getattr(design, "QUIET", []))   # columns left plain on purpose

    def fits(entry):
        try:
            expand([entry], plane, entry[1] == int(entry[1]))
        except LayoutError:
            return False
        return all((c, entry[2] - 1) not in taken and (c, entry[2] + 1) not in taken
                   for c in {int(entry[1]), int(entry[1] + 0.999)})

    front, front_character, back, back_plane = [], [], [], []
    plane_taken = {(entry[1], entry[2] - 1) for entry in design.BACK_PLANE}
    for x, y, room in surfaces(plane):
        if x in quiet or x < 2 or x > plane.width - 3:
            continue
        n = noise(seed, "front", x, y)
        pick = (("grass_strip", x, y) if n < 0.42 else ("grass", x + 0.25, y) if n < 0.52
                else ("stone", x + 0.5, y) if n < 0.57 else ("lilies", x, y) if n < 0.61
                else ("stone_pile", x, y) if n < 0.63 else None)
        if pick and fits(pick):
            front.append(pick)
        m = noise(seed, "near", x, y)
        pick = ("grass_large" if m < 0.03 else "reeds", x + 0.25, y)
        if room >= 2 and m < 0.05 and fits(pick):
            front_character.append(pick)
        # The back plane: far grass and bamboo behind the walk.
        b = noise(seed, "far", x, y)
        if (x, y - 1) in plane_taken or (x, y - 1) in taken:
            continue
        pick = (("far_bamboo_clump", x, y, 3 + int(noise(seed, "h", x) * 3)) if room >= 5 and b < 0.07
                else ("far_grass_strip", x, y) if b < 0.16
                else ("far_stones", x, y) if b < 0.18 else None)
        if pick and fits(pick):
            back_plane.append(pick)
            plane_taken.add((x, y - 1))
    for x, y, room in ceilings(plane):
        if x in quiet or room < 3:
            continue
        n = noise(seed, "ceiling", x, y)
        pick = (("roots_short", x, y) if n < 0.12 else ("roots_long", x, y) if n < 0.18
                else ("vines", x, y) if n < 0.24 else None)
        if pick and fits(pick):
            back.append(pick)
    # Pines far behind, on open ground every dozen tiles or so.
    background = []
    last = -100
    for x, y, room in sorted(surfaces(plane)):
        pick = ("far_pine", x, y)
        if room >= 4 and x - last >= 10 and noise(seed, "pine", x) < 0.3 and fits(pick):
            background.append(pick)
            last = x
    return background, back_plane, back, front, front_character


# ---------------------------------------------------------------- writing

def build(design, data):
    grid = sprinkle_stones(load_layout(design.SECTIONS, design.HEIGHT), design.NAME)
    plane = Plane(grid)
    if design.WALL_RIGHT >= plane.width:
        raise LayoutError("the closing wall lies outside the map")
    occupied = set()
    objects = traps(plane, design, occupied)
    background, back_plane, back, front, front_character = decoration(plane, design, occupied)
    # Drawn in this order: Background, BackPlane, DetailsBack, Traps,
    # RunPlane, DetailsFront, the hero, DetailsFrontCharacter.
    layers = [
        ("Background", tile_objects(design.BACKGROUND + background, plane, "background")),
        ("BackPlane", encode(back_plane_tiles(design.BACK_PLANE + back_plane, plane), PROPS)),
        ("DetailsBack", tile_objects(design.DETAILS_BACK + back, plane)),
        ("Traps", objects),
        ("RunPlane", encode(run_plane_tiles(plane), GROUND)),
        ("DetailsFront", tile_objects(design.DETAILS_FRONT + front, plane)),
        ("DetailsFrontCharacter",
         tile_objects(design.DETAILS_FRONT_CHARACTER + front_character, plane)),
    ]
    if getattr(design, "PATHS", []):
        # Polylines that shuriken follow; never drawn.
        layers.append(("Paths", [{"name": name, "x": x, "y": y, "polyline": points}
                                 for name, (x, y), points in design.PATHS]))
    path = os.path.join(data, "Levels", CHAPTER, design.NAME + ".tmx")
    write_map(path, plane, layers)
    print("wrote %s (%d x %d tiles)" % (os.path.normpath(path), plane.width, plane.height))


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    args = argv[1:]
    data = os.path.join(here, "..", "..", "data")
    if args and not args[0].startswith("hard."):
        data = args.pop(0)
    for module in args or LEVELS:
        design = importlib.import_module(module)
        try:
            build(design, data)
        except LayoutError as e:
            raise LayoutError("%s: %s" % (design.NAME, e))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        sys.exit("layout: %s" % e)
