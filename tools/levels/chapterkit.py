"""What the chapter levels are built with: a level put together section by
section, its objects placed by cell with the checks of the trap showcase,
decoration dressed onto the ground from the layout, and the map written
into its chapter folder. Built on levelkit (tiles, props, TMX writing).

A level script makes one `Level`, adds its sections (each returns its first
column, so objects are placed relative to the section they belong to), its
objects and props, and calls `write`. See README.md beside this file."""

import os
import zlib

from levelkit import (BAMBOO_GROUND, DIRECTIONS, GROUND, PROPS, SLOPE_EDGES, SOLID, T,
                      LayoutError, Plane,
                      back_plane_tiles, encode, load_layout, run_plane_tiles, tile_objects,
                      write_map)

# Tutorial signs: pictures shown while the hero stands in their trigger.
SIGN_FADE = {"speed_in": 1, "speedin": 200, "speed_out": 1, "speedout": 120}


def deferred(method):
    """Placing objects waits until the level is written: checks need the
    whole run plane, and a script adds its sections as it goes."""
    def call(self, *args, **kwargs):
        if self.placing:
            return method(self, *args, **kwargs)
        self.pending.append((method, args, kwargs))
        return None
    call.__name__, call.__doc__ = method.__name__, method.__doc__
    return call


def _hash(*values):
    """A fixed pseudo-random number for a spot, the same on every run."""
    return zlib.crc32(repr(values).encode("ascii"))


class Level:
    def __init__(self, chapter, name, height):
        self.chapter, self.name, self.height = chapter, name, height
        self.sections = []
        self.width = 0
        self.objects = []
        self.paths = []
        self.triggers = []
        self.background, self.back_plane, self.details_back = [], [], []
        self.details_front, self.details_front_character = [], []
        self.finish_run = None
        self.keep_clear = []        # (x0, x1, row): no automatic dressing here
        self.guarded = set()        # cells of low passages with darts
        self.plane = None
        self.pending = []
        self.placing = False

    # ------------------------------------------------------------ layout

    def section(self, name, text):
        """Adds a block of the run plane; returns its first column."""
        rows = text.strip("\n").split("\n")
        first = self.width
        self.sections.append((name, first, text))
        self.width += len(rows[0])
        return first

    def _plane(self):
        if self.plane is None:
            grid = load_layout(self.sections, self.height)
            self.plane = Plane(stone_deep_ground(grid, self.name))
        return self.plane

    # ------------------------------------------------------------ checks

    def ground(self, col, row, what, span=1, room=2):
        """Level ground (or a plank) under `span` columns from `col` on row
        `row`, with `room` rows of air above."""
        plane = self._plane()
        for c in range(int(col), int(col + span - 0.001) + 1):
            if not (plane.flat_top(c, row) or plane.at(c, row) == "=" and plane.at(c, row - 1) == "."):
                raise LayoutError("%s: %s at column %s has no flat ground on row %d"
                                  % (self.name, what, col, row))
            for y in range(row - room, row):
                if plane.at(c, y) != ".":
                    raise LayoutError("%s: %s at column %s has no room above the ground"
                                      % (self.name, what, col))

    def check_extending(self, name, cell, direction, depth, travel):
        """A trap coming out of the wall cell `cell`: solid for `depth` cells
        back from it, air for at least `travel` cells in front."""
        plane = self._plane()
        dx, dy = DIRECTIONS[direction]
        col, row = cell
        for i in range(depth):
            if not plane.solid(col - dx * i, row - dy * i):
                raise LayoutError("%s: %s at %s: no wall %d cells behind its face"
                                  % (self.name, name, cell, i))
        for i in range(1, travel + 1):
            if plane.at(col + dx * i, row + dy * i) != ".":
                raise LayoutError("%s: %s at %s: no room to come out" % (self.name, name, cell))

    def check_air(self, what, x0, y0, x1, y1):
        plane = self._plane()
        for c in range(int(x0 // T), int((x1 - 1) // T) + 1):
            for r in range(int(y0 // T), int((y1 - 1) // T) + 1):
                if plane.solid(c, r):
                    raise LayoutError("%s: %s lies in the ground at cell (%d, %d)"
                                      % (self.name, what, c, r))

    # ------------------------------------------------------------ objects

    def _add(self, obj):
        if any(o["name"] == obj["name"] for o in self.objects):
            raise LayoutError("%s: two objects named %r" % (self.name, obj["name"]))
        self.objects.append(obj)
        return obj

    @staticmethod
    def _object(name, kind, x, y, properties=None, width=T, height=T):
        obj = {"name": name, "type": kind, "x": x, "y": y, "width": width, "height": height}
        if properties:
            obj["properties"] = properties
        return obj

    @deferred
    def spawn(self, col, row):
        self.ground(col, row, "spawn")
        # The hero's feet start here and drop the last half tile.
        self._add({"name": "spawn", "x": round(col * T), "y": row * T - 32, "width": 32,
                   "height": 32})

    @deferred
    def checkpoint(self, name, col, row):
        self.ground(col, row, name, 2)
        # Its picture is 109 x 129, hung from the object's top-left corner.
        self._add(self._object(name, "checkpoint", round(col * T), row * T - 129, None, 109, 129))

    @deferred
    def scroll(self, x, row):
        self.ground(x, row, "scroll", room=1)
        # Above the ground, with room for it to bob.
        self._add(self._object("scroll", "scroll", round(x * T), row * T - T - 16))

    @deferred
    def spear(self, name, cell, direction, **properties):
        # 196 pixels out of the face: three cells and a little.
        self.check_extending(name, cell, direction, 2, 3)
        self._add(self._object(name, "trap_spear", cell[0] * T, cell[1] * T,
                               dict(properties, dir=direction)))

    @deferred
    def stomper(self, name, cell, direction, look="m", **properties):
        self.check_extending(name, cell, direction, 4, 1)
        self._add(self._object(name, "trap_stomper", cell[0] * T, cell[1] * T,
                               dict(properties, dir=direction, type=look)))

    @deferred
    def stomper_group(self, name, cell, direction, **properties):
        """Three pieces (l, m, r) side by side across the direction. A name
        without spaces gives pieces a route can name too ("ram_1_m")."""
        dx, dy = DIRECTIONS[direction]
        joint = " " if " " in name else "_"
        # The piece with the group's outer edge on top of the picture ("l")
        # goes where the turned picture has its top.
        order = {"left": "lmr", "right": "lmr", "up": "rml", "down": "lmr"}[direction]
        for i, look in enumerate(order):
            piece = (cell[0] + abs(dy) * i, cell[1] + abs(dx) * i)
            self.stomper(name + joint + look, piece, direction, look, **properties)

    @deferred
    def door(self, name, x, y, **properties):
        """A trap door by pixel (128 x 32). A floor door lies with its walking
        surface 4 pixels below its top, level with the ground: y = row * 64 - 4."""
        return self._add(self._object(name, "trap_door", round(x), round(y), properties, 128, 32))

    @deferred
    def floor_door(self, name, col, row, **properties):
        """A door lying over the two cells of a gap in the ground row `row`."""
        plane = self._plane()
        for c in (col, col + 1):
            if plane.at(c, row) != "." or not plane.solid(col - 1, row) and not plane.solid(col + 2, row):
                raise LayoutError("%s: %s lies over no gap at column %d" % (self.name, name, c))
        properties.setdefault("dir", "up")
        properties.setdefault("attach", "left")
        return self.door(name, col * T, row * T - 4, **properties)

    @deferred
    def bamboo(self, name, cell, kind, way):
        plane = self._plane()
        col, row = cell
        key = (kind, way) if kind in ("cin", "cout") else way
        if plane.at(col, row) != "." or key not in BAMBOO_GROUND:
            raise LayoutError("%s: %s at %s is not a bamboo piece in the air" % (self.name, name, cell))
        for dx, dy in BAMBOO_GROUND[key]:
            if not plane.solid(col + dx, row + dy):
                raise LayoutError("%s: %s at %s grows from no ground" % (self.name, name, cell))
        props = {"type": kind, ("cdir" if kind in ("cin", "cout") else "dir"): way}
        self._add(self._object(name, "trap_bamboo", col * T, row * T, props))

    @deferred
    def bamboo_row(self, name, first, last, row, way="up"):
        """A row of pieces along a floor (up) or ceiling (down) from column
        `first` to `last`: l, m ..., r; a single cell gets the large piece."""
        if first == last:
            self.bamboo(name, (first, row), "large", way)
            return
        for c in range(first, last + 1):
            kind = "l" if c == first else "r" if c == last else "m"
            self.bamboo("%s %d" % (name, c - first), (c, row), kind, way)

    @deferred
    def bamboo_pit(self, name, first, last, row):
        """Bamboo over the floor of a pit: its cells (air) are columns
        `first` to `last` on row `row`; where a wall of the pit meets the
        floor an inner corner, a lone cell between two walls the large
        piece, otherwise a row."""
        plane = self._plane()
        if first == last and plane.solid(first - 1, row) and plane.solid(first + 1, row):
            self.bamboo(name, (first, row), "large", "up")
            return
        for c in range(first, last + 1):
            label = "%s %d" % (name, c - first)
            if c == first and plane.solid(c - 1, row):
                self.bamboo(label, (c, row), "cin", "tr")
            elif c == last and plane.solid(c + 1, row):
                self.bamboo(label, (c, row), "cin", "tl")
            else:
                kind = "l" if c == first else "r" if c == last else "m"
                self.bamboo(label, (c, row), kind, "up")

    @deferred
    def arrow(self, name, x, y, direction, **properties):
        """An arrow trap by pixel; the arrow's picture (64 x 16, turned upright
        about its middle for up and down) starts at (x, y)."""
        if direction in ("up", "down"):
            self.check_air(name, x + 24, y - 24, x + 40, y + 40)
        else:
            self.check_air(name, x, y, x + T, y + 16)
        self._add(self._object(name, "trap_arrow", round(x), round(y),
                               dict(properties, dir=direction), T, 16))

    @deferred
    def low_rock_guard(self, name, first, last, row):
        """Under a one-tile ceiling a crouching hero with no speed left can
        neither stand up nor move: a slide that stops in the low passage
        over columns `first` to `last` (its floor on row `row`) would hold
        him there for ever. A trigger over the passage sets off an arrow
        trap at its far end, shooting back through it at crouch height a
        second later, when a slide has long carried him out."""
        plane = self._plane()
        for c in range(first, last + 1):
            if plane.at(c, row - 1) != "." or not plane.solid(c, row - 2) or not plane.solid(c, row):
                raise LayoutError("%s: %s at column %d is no low passage" % (self.name, name, c))
        self.arrow(name, (last + 1) * T, (row - 1) * T + 40, "left", speed=900, interval=0.5)
        self.trigger(name, first, last - first + 1, row, delay=0.6, height=1)
        self.guarded.update((c, row - 1) for c in range(first, last + 1))

    @deferred
    def orbital(self, name, x, y, **properties):
        """A shuriken by its centre in pixels."""
        path = properties.get("path")
        if path is not None and path not in {p["name"] for p in self.paths}:
            raise LayoutError("%s: %s follows no path %r" % (self.name, name, path))
        self._add(self._object(name, "trap_orbital", round(x), round(y), properties, 32, 32))

    @deferred
    def path(self, name, x, y, points):
        self.paths.append({"name": name, "x": round(x), "y": round(y), "polyline": points})

    @deferred
    def picture(self, name, x, y, image, **properties):
        """A picture drawn centred on (x, y) pixels, from Graphics/."""
        props = dict(SIGN_FADE)
        props.update(properties)
        props["path"] = image
        self._add(self._object(name, "picture", round(x), round(y), props, 32, 32))

    @deferred
    def sign(self, name, image, col, row, trigger_first, trigger_span, lift=4.2):
        """A tutorial sign: the picture hung over the walk at column `col`
        (its middle) `lift` tiles above the ground row `row`, shown while the
        hero is in the trigger from `trigger_first` over `trigger_span`
        columns."""
        self.picture(name, col * T, (row - lift) * T, image)
        self.trigger(name, trigger_first, trigger_span, row)

    @deferred
    def trigger(self, target, first, span, row, delay=0, height=3):
        """A trigger over the walk: `span` columns from `first`, `height`
        cells up from the ground row `row`."""
        self.triggers.append((target, first, span, row, delay, height))

    @deferred
    def fireworks(self, name, col, row, **properties):
        self.ground(col, row, name, room=4)
        self._add(self._object(name, "pfx_fireworks", round(col * T), (row - 1) * T, properties))

    @deferred
    def finish(self, trigger_col, row, wall_col, gate=True):
        """The end trigger, the "end" six tiles on, and the run-out to the
        closing wall at `wall_col`: level ground all the way."""
        end_col = trigger_col + 6
        for c in range(trigger_col - 2, wall_col):
            self.ground(c, row, "finish run", room=4)
        if self._plane().at(wall_col, row - 4) == "." or wall_col - end_col < 20:
            raise LayoutError("%s: the finish run needs 20 tiles and a wall after the end"
                              % self.name)
        self._add({"name": "end_trigger", "type": "end_trigger", "x": trigger_col * T,
                   "y": (row - 3) * T, "width": T, "height": 3 * T})
        self._add({"name": "end", "type": "end", "x": end_col * T, "y": (row - 4) * T,
                   "width": T, "height": 4 * T})
        # Fireworks for a run that beats the best: one set off at the gate.
        self.fireworks("fireworks", end_col + 4, row, interval=0.45, max_shots=14)
        self.trigger("fireworks", trigger_col - 1, 2, row)
        if gate:
            # The finish gate: lanterns strung between two gate posts.
            self.back_plane += [("gate_post", trigger_col - 2, row, 3),
                                ("gate_post", trigger_col + 2, row, 3)]
            self.details_back += [("raised_lantern_string", trigger_col - 1.5 + i, row, 3)
                                  for i in range(4)]
        self.finish_run = (trigger_col, row, wall_col)
        self.keep_clear.append((trigger_col - 2, trigger_col + 3, row))

    # ------------------------------------------------------------ writing

    def _trigger_objects(self):
        plane = self._plane()
        names = {o["name"] for o in self.objects}
        out = []
        for target, first, span, row, delay, height in self.triggers:
            if target not in names:
                raise LayoutError("%s: a trigger at column %d names no object %r"
                                  % (self.name, first, target))
            for c in range(first, first + span):
                if any(plane.at(c, y) != "." for y in range(row - min(height, 2), row)):
                    raise LayoutError("%s: the trigger for %r at column %d is not over the walk"
                                      % (self.name, target, first))
            properties = {"target": target}
            if delay:
                properties["delay"] = delay
            name = "trigger " + target
            n = 2
            while name in names:
                name = "trigger %s %d" % (target, n)
                n += 1
            names.add(name)
            out.append(self._object(name, "trigger", first * T, (row - height) * T, properties,
                                    span * T, height * T))
        return out

    def check(self):
        names = [o["name"] for o in self.objects]
        for required in ("spawn", "scroll", "end_trigger", "end"):
            if names.count(required) != 1:
                raise LayoutError("%s: needs exactly one %r" % (self.name, required))
        if not any(o.get("type") == "checkpoint" for o in self.objects):
            raise LayoutError("%s: needs a checkpoint" % self.name)
        plane = self._plane()
        for y in range(1, plane.height - 1):
            for x in range(plane.width):
                low = plane.at(x, y) == "." and plane.solid(x, y - 1) and plane.solid(x, y + 1)
                if low and (x, y) not in self.guarded:
                    raise LayoutError("%s: the low passage at (%d, %d) can hold a crouching hero "
                                      "for ever: give it a low_rock_guard" % (self.name, x, y))

    def place(self):
        """Places the objects the script asked for, on the whole run plane."""
        self._plane()
        self.placing = True
        for method, args, kwargs in self.pending:
            method(self, *args, **kwargs)
        self.pending = []

    def write(self, data_dir, dress=True):
        plane = self._plane()
        self.place()
        self.check()
        traps = self.objects + self._trigger_objects()
        if dress:
            self.dress()
        layers = [
            ("Background", tile_objects(self.background, plane, "background")),
            ("BackPlane", encode(back_plane_tiles(self.back_plane, plane), PROPS)),
            ("DetailsBack", tile_objects(self.details_back, plane)),
            ("Traps", traps),
            ("RunPlane", encode(run_plane_tiles(plane), GROUND)),
            ("DetailsFront", tile_objects(self.details_front, plane)),
            ("DetailsFrontCharacter", tile_objects(self.details_front_character, plane)),
        ]
        if self.paths:
            # Polylines that shuriken follow; never drawn.
            layers.append(("Paths", self.paths))
        path = os.path.join(data_dir, "Levels", self.chapter, self.name + ".tmx")
        write_map(path, plane, layers)
        return path

    # ------------------------------------------------------------ dressing

    def _clear(self, col, row):
        return any(x0 <= col <= x1 and r == row for x0, x1, r in self.keep_clear)

    def _object_cells(self):
        """Cells the Traps layer's objects cover (the dressing keeps off them)."""
        cells = set()
        for o in self.objects:
            if o.get("type") in ("trap_bamboo", "trap_spear", "trap_stomper", "trap_door"):
                cells.add((o["x"] // T, o["y"] // T))
        return cells

    def dress(self):
        """Grass and stones along every open ground top the hand-placed props
        leave bare, hanging roots under ceilings, and reeds in front now and
        then; picked from the spot, so the same on every run."""
        plane = self._plane()
        taken = {(int(e[1]), e[2]) for e in self.details_front + self.details_back}
        trap_cells = self._object_cells()
        for x in range(plane.width):
            for y in range(1, plane.height):
                if plane.flat_top(x, y) and plane.at(x, y - 1) == "." and plane.at(x, y - 2) == ".":
                    if (x, y) in taken or (x, y - 1) in trap_cells or (x, y) in trap_cells:
                        continue
                    if self._clear(x, y):
                        continue
                    h = _hash(self.name, x, y) % 100
                    # Props between two tiles need flat ground under both.
                    wide = plane.flat_top(x + 1, y) and plane.at(x + 1, y - 1) == "."
                    if not wide and h >= 34:
                        h = 45 + h % 5
                    if h < 34:
                        self.details_front.append(("grass_strip", x, y))
                    elif h < 44:
                        self.details_front.append(("grass", x + 0.25, y))
                    elif h < 50:
                        self.details_front.append(("lilies", x, y))
                    elif h < 54:
                        self.details_front.append(("stone", x + 0.5, y))
                    elif h < 56:
                        self.details_front_character.append(("grass_large", x + 0.5, y))
                if plane.flat_bottom(x, y - 1) and plane.at(x, y) == "." and plane.at(x, y + 1) == ".":
                    if (x, y) in trap_cells or (x, y - 1) in trap_cells:
                        continue
                    h = _hash(self.name, "ceiling", x, y) % 100
                    if h < 14:
                        self.details_back.append(("roots_short", x, y - 1))
                    elif h < 22:
                        self.details_back.append(("vines", x, y - 1))
                    elif h < 26:
                        self.details_back.append(("roots_long", x, y - 1))


def stone_deep_ground(grid, seed):
    """Stones and now and then a boulder in ground deep enough to show them
    (all eight neighbours solid, nothing resting on the cell's slope above)."""
    height, width = len(grid), len(grid[0])
    rows = [list(r) for r in grid]

    def solid(x, y):
        return not (0 <= x < width and 0 <= y < height) or grid[y][x] in SOLID

    for y in range(height):
        for x in range(width):
            if grid[y][x] != "#":
                continue
            if not all(solid(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                continue
            if y > 0 and grid[y - 1][x] in SLOPE_EDGES:
                continue
            if x > 0 and x < width - 1 and y > 0 and (grid[y - 1][x - 1] in SLOPE_EDGES or
                                                     grid[y - 1][x + 1] in SLOPE_EDGES):
                continue
            h = _hash(seed, x, y) % 1000
            if h < 45:
                rows[y][x] = "o"
            elif h < 58:
                rows[y][x] = "O"
    return ["".join(r) for r in rows]


def flat(width, row, height, ceiling=None):
    """A section of level ground: solid from row `row` down, and above row
    `ceiling` (exclusive) when given."""
    lines = []
    for y in range(height):
        solid = y >= row or (ceiling is not None and y < ceiling)
        lines.append(("#" if solid else ".") * width)
    return "\n".join(lines)


def rows(text, height, top, fill_below=True, above=None):
    """A section written as its rows from `top` down: rows above are air
    (or the row `above`, repeated), rows below the text are ground (or air
    without `fill_below`)."""
    lines = text.strip("\n").split("\n")
    width = len(lines[0])
    out = [above or "." * width] * top + lines
    while len(out) < height:
        out.append(("#" if fill_below else ".") * width)
    return "\n".join(out)


class Canvas:
    """A section painted with rectangles instead of typed row by row:
    fill and carve take inclusive cell ranges, put writes a string of
    layout characters from a cell rightwards."""

    def __init__(self, width, height, ground=None):
        self.grid = [["."] * width for _ in range(height)]
        if ground is not None:
            self.fill(0, width - 1, ground, height - 1)

    def fill(self, x0, x1, y0, y1, ch="#"):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.grid[y][x] = ch
        return self

    def carve(self, x0, x1, y0, y1):
        return self.fill(x0, x1, y0, y1, ".")

    def put(self, x, y, text):
        for i, ch in enumerate(text):
            self.grid[y][x + i] = ch
        return self

    def text(self):
        return "\n".join("".join(row) for row in self.grid)
