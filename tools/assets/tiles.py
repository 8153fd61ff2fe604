"""Tilesets for the playfield: "ink_ground" (terrain, slopes and planks, with
their collision data) and "ink_props" (decoration placed as tile objects or
painted on tile layers). Both are 64 x 64 tiles with no margin or spacing,
each shipped as an external Tiled tileset beside its image.

A terrain tile is drawn from the shape of its neighbourhood, not on its
own: the ink mass is extended past every edge that continues into solid
ground, so rims and edge bands are cut at the tile border exactly where
the neighbour picks them up."""

import math
import os
import xml.sax.saxutils as sax

import cairo

import ink

T = 64
EXT = 12                       # how far the mass reaches into solid neighbours
BAND = 9                       # the lighter edge band just inside exposed faces
RADIUS = 14                    # rounding of outer corners
BAND_INK = ink.mix(ink.INK, (0.42, 0.30, 0.44), 0.16)
STONE_INK = ink.mix(ink.INK, (0.42, 0.30, 0.44), 0.09)
WOOD = ink.mix(ink.INK, (0.55, 0.36, 0.25), 0.16)
BACK_INK = ink.mix(ink.INK, ink.SKY[1], 0.30)     # props that stand behind the run plane
BACK_RIM = ink.mix(ink.RIM_SOFT, ink.SKY[1], 0.35)
GLOW = (1.0, 0.78, 0.45)
LANTERN = (0.93, 0.42, 0.22)

PLANK_H = 14                   # plank thickness; its top is the tile's top


# ---------------------------------------------------------------- drawing

def _poly(points):
    return ink.poly_path(points)


def _clip_tile(ctx):
    ctx.rectangle(0, 0, T, T)
    ctx.clip()


def _block_path(n):
    """The mass of a square tile given which of its neighbours are solid:
    reaches EXT past solid sides, rounds corners that stand free."""
    x0 = -EXT if n["l"] else 0
    x1 = T + EXT if n["r"] else T
    y0 = -EXT if n["u"] else 0
    y1 = T + EXT if n["d"] else T
    corners = {
        "tl": not n["u"] and not n["l"], "tr": not n["u"] and not n["r"],
        "br": not n["d"] and not n["r"], "bl": not n["d"] and not n["l"],
    }

    def draw(ctx, inset=0.0):
        a, b = x0 + (0 if n["l"] else inset), x1 - (0 if n["r"] else inset)
        c, d = y0 + (0 if n["u"] else inset), y1 - (0 if n["d"] else inset)
        r = max(RADIUS - inset, 0.0)

        def rad(key):
            return r if corners[key] else 0.0
        ctx.new_sub_path()
        ctx.move_to(a + rad("tl"), c)
        ctx.line_to(b - rad("tr"), c)
        if rad("tr"):
            ctx.arc(b - r, c + r, r, -math.pi / 2, 0)
        ctx.line_to(b, d - rad("br"))
        if rad("br"):
            ctx.arc(b - r, d - r, r, 0, math.pi / 2)
        ctx.line_to(a + rad("bl"), d)
        if rad("bl"):
            ctx.arc(a + r, d - r, r, math.pi / 2, math.pi)
        ctx.line_to(a, c + rad("tl"))
        if rad("tl"):
            ctx.arc(a + r, c + r, r, math.pi, 3 * math.pi / 2)
        ctx.close_path()
    return draw


def _draw_block(ctx, n, stones=()):
    outer = _block_path(n)
    ink.fill_ink(ctx, outer, colour=BAND_INK)
    # The ink core, inset on exposed sides; where two solid sides meet an
    # empty diagonal the band turns the inner corner as a quarter circle.
    ctx.save()
    outer(ctx, BAND)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    for key, cx, cy in (("ul", 0, 0), ("ur", T, 0), ("dr", T, T), ("dl", 0, T)):
        a, b = {"ul": ("u", "l"), "ur": ("u", "r"), "dr": ("d", "r"), "dl": ("d", "l")}[key]
        if n[a] and n[b] and not n[key]:
            ctx.new_sub_path()
            ctx.arc(cx, cy, BAND, 0, 2 * math.pi)
    ctx.set_source_rgb(*ink.INK)
    ctx.fill()
    ctx.restore()
    for sx, sy, sr in stones:
        _embedded_stone(ctx, sx, sy, sr)


def _embedded_stone(ctx, x, y, r):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(1.0, 0.72)
    ctx.arc(0, 0, r, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgb(*STONE_INK)
    ctx.fill_preserve()
    ctx.set_source_rgb(*BAND_INK)
    ctx.set_line_width(1.5)
    ctx.stroke()


def _draw_surface(ctx, points):
    """Ground under a polyline surface (slopes and the tiles below them):
    ink with a band of even vertical depth under the surface, so it joins
    the flat tiles' band at the same thickness."""
    pts = list(points) + [(T + EXT, T + EXT), (-EXT, T + EXT)]
    ink.fill_ink(ctx, _poly(pts), colour=BAND_INK)
    ctx.save()
    _poly([(x, y + BAND) for x, y in points] + [(T + EXT, T + EXT + BAND), (-EXT, T + EXT + BAND)])(ctx)
    ctx.set_source_rgb(*ink.INK)
    ctx.fill()
    ctx.restore()


def _slope_line(n, m, x_from=-EXT, x_to=T + EXT):
    """Surface points y = T * (1 - (m * u + n)) across the tile and a little
    beyond, so the neighbours' surfaces carry on."""
    def y(x):
        return T * (1 - (m * x / T + n))
    return [(x_from, y(x_from)), (0, y(0)), (T, y(T)), (x_to, y(x_to))]


def _slope_points(n, m, left_flat, right_flat):
    pts = _slope_line(n, m)
    # Where the slope meets flat ground, the neighbour's surface is level.
    if left_flat:
        pts[0] = (-EXT, pts[1][1])
    if right_flat:
        pts[3] = (T + EXT, pts[2][1])
    return pts


def _plank(ctx, x0, x1, left_end, right_end):
    def path(c):
        c.move_to(x0, 0)
        c.line_to(x1, 0)
        if right_end:
            c.line_to(x1 + 0, PLANK_H - 3)
            c.line_to(x1 - 3, PLANK_H)
        else:
            c.line_to(x1, PLANK_H)
        if left_end:
            c.line_to(x0 + 3, PLANK_H)
            c.line_to(x0, PLANK_H - 3)
        else:
            c.line_to(x0, PLANK_H)
        c.close_path()
    ink.fill_ink(ctx, path, colour=WOOD, rim_width=2.0)
    # Board seams and pegs, in ink, kept off the tile border.
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(1.5)
    for sx in (21.5, 42.5):
        if x0 + 4 < sx < x1 - 4:
            ctx.move_to(sx, 4)
            ctx.line_to(sx, PLANK_H - 2)
            ctx.stroke()
    ctx.move_to(max(x0, 0) + (6 if left_end else 0), PLANK_H - 4.5)
    ctx.line_to(min(x1, T) - (6 if right_end else 0), PLANK_H - 4.5)
    ctx.set_source_rgba(*ink.INK, 0.6)
    ctx.set_line_width(1.0)
    ctx.stroke()
    # A batten under the boards, set in from the ends.
    bx0 = x0 + 6 if left_end else x0
    bx1 = x1 - 6 if right_end else x1
    ink.fill_ink(ctx, ink.rect_path(bx0, PLANK_H, bx1 - bx0, 4), rim=False)


# ---------------------------------------------------------------- ground

def _n(**kw):
    n = {k: True for k in ("u", "d", "l", "r", "ul", "ur", "dl", "dr")}
    n.update(kw)
    return n


F = False


def _ground_tiles():
    """(name, draw(ctx), collision) in tile order; collision is ("full",),
    ("slope", m, n) or ("boxes", [(x, y, w, h), ...])."""
    tiles = []

    def block(name, stones=(), **kw):
        n = _n(**kw)
        tiles.append((name, lambda ctx: _draw_block(ctx, n, stones), ("full",)))

    def slope(name, n, m, left_flat, right_flat):
        pts = _slope_points(n, m, left_flat, right_flat)
        tiles.append((name, lambda ctx: _draw_surface(ctx, pts), ("slope", m, n)))

    def foot(name, n, m, left_flat, right_flat):
        # The solid tile under a slope's low end: the slope's band dips
        # into it, so it draws the slope one tile up.
        pts = [(x, y - T) for x, y in _slope_points(n, m, left_flat, right_flat)]
        tiles.append((name, lambda ctx: _draw_surface(ctx, pts), ("full",)))

    def plank(name, left_end, right_end):
        x0 = 4 if left_end else -EXT
        x1 = T - 4 if right_end else T + EXT
        box = (max(x0, 0), 0, min(x1, T) - max(x0, 0), PLANK_H)
        tiles.append((name, lambda ctx: _plank(ctx, x0, x1, left_end, right_end), ("boxes", [box])))

    # Row 0
    block("ground top-left outer corner", u=F, l=F, ul=F, ur=F, dl=F)
    block("ground top", u=F, ul=F, ur=F)
    block("ground top-right outer corner", u=F, r=F, ul=F, ur=F, dr=F)
    block("pillar top", u=F, l=F, r=F, ul=F, ur=F, dl=F, dr=F)
    slope("slope 45 rising", 0.0, 1.0, True, True)
    slope("slope 45 falling", 1.0, -1.0, True, True)
    slope("slope 22.5 rising, low half", 0.0, 0.5, True, False)
    slope("slope 22.5 rising, high half", 0.5, 0.5, False, True)
    # Row 1
    block("wall facing left", l=F, ul=F, dl=F)
    block("ground fill")
    block("wall facing right", r=F, ur=F, dr=F)
    block("pillar", l=F, r=F, ul=F, ur=F, dl=F, dr=F)
    block("inner corner, open top-left", ul=F)
    block("inner corner, open top-right", ur=F)
    slope("slope 22.5 falling, high half", 1.0, -0.5, True, False)
    slope("slope 22.5 falling, low half", 0.5, -0.5, False, True)
    # Row 2
    block("ceiling bottom-left outer corner", d=F, l=F, dl=F, dr=F, ul=F)
    block("ceiling", d=F, dl=F, dr=F)
    block("ceiling bottom-right outer corner", d=F, r=F, dl=F, dr=F, ur=F)
    block("pillar bottom", d=F, l=F, r=F, ul=F, ur=F, dl=F, dr=F)
    block("inner corner, open bottom-left", dl=F)
    block("inner corner, open bottom-right", dr=F)
    block("ground fill with stones", stones=((18, 22, 7), (44, 46, 5), (50, 14, 3)))
    block("ground fill with a boulder", stones=((34, 36, 13), (12, 52, 3)))
    # Row 3
    block("ledge left end", u=F, d=F, l=F, ul=F, ur=F, dl=F, dr=F)
    block("ledge", u=F, d=F, ul=F, ur=F, dl=F, dr=F)
    block("ledge right end", u=F, d=F, r=F, ul=F, ur=F, dl=F, dr=F)
    block("single block", u=F, d=F, l=F, r=F, ul=F, ur=F, dl=F, dr=F)
    plank("plank left end", True, False)
    plank("plank", False, False)
    plank("plank right end", False, True)
    plank("plank, single", True, True)
    # Row 4: the tiles under the low end of each slope.
    foot("under slope 45 rising", 0.0, 1.0, True, True)
    foot("under slope 45 falling", 1.0, -1.0, True, True)
    foot("under slope 22.5 rising", 0.0, 0.5, True, False)
    foot("under slope 22.5 falling", 0.5, -0.5, False, True)
    return tiles


# ---------------------------------------------------------------- props

def _blade(ctx, x, base, h, bend, w):
    ctx.move_to(x - w, base)
    ctx.curve_to(x - w * 0.6, base - h * 0.5, x + bend * 0.5, base - h * 0.8, x + bend, base - h)
    ctx.curve_to(x + bend * 0.45 + w * 0.3, base - h * 0.75, x + w * 0.7, base - h * 0.45, x + w, base)
    ctx.close_path()


def _tuft(blades, colour=ink.INK, light=ink.RIM):
    def draw(ctx):
        def path(c):
            for x, h, bend, w in blades:
                _blade(c, x, T + 2, h, bend, w)
        ink.fill_ink(ctx, path, rim_width=1.4, colour=colour, light=light)
    return draw


def _stone(shapes, colour=ink.INK, light=ink.RIM):
    """Stones resting on the tile's bottom: each (cx, w, h) a rounded lump."""
    def draw(ctx):
        for cx, w, h in shapes:
            def path(c, cx=cx, w=w, h=h):
                c.move_to(cx - w / 2, T)
                c.curve_to(cx - w / 2, T - h * 0.75, cx - w * 0.28, T - h, cx + w * 0.05, T - h)
                c.curve_to(cx + w * 0.36, T - h, cx + w / 2, T - h * 0.6, cx + w / 2, T)
                c.close_path()
            ink.fill_ink(ctx, path, colour=colour, light=light)
    return draw


def _glow(ctx, x, y, r, alpha):
    ink.radial_disc(ctx, x, y, r, [(0, GLOW, alpha), (1, GLOW, 0)])


def _hanging_lantern(ctx):
    cx = T / 2
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(2)
    ctx.move_to(cx, 0)
    ctx.line_to(cx, 16)
    ctx.stroke()
    _glow(ctx, cx, 38, 30, 0.45)
    ctx.save()
    ctx.translate(cx, 38)
    ctx.scale(14, 17)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgb(*LANTERN)
    ctx.fill()
    ctx.save()
    ctx.translate(cx, 36)
    ctx.scale(7, 11)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgb(*GLOW)
    ctx.fill()
    ctx.set_source_rgba(*ink.INK, 0.55)
    ctx.set_line_width(1.2)
    for dy in (-9, -3, 3, 9):
        half = 14 * math.sqrt(max(0.0, 1 - (dy / 17) ** 2))
        ctx.move_to(cx - half, 38 + dy)
        ctx.line_to(cx + half, 38 + dy)
        ctx.stroke()
    ink.fill_ink(ctx, ink.rounded_path(cx - 9, 17, 18, 5, 2), rim_width=1.2)
    ink.fill_ink(ctx, ink.rounded_path(cx - 9, 54, 18, 5, 2), rim_width=1.2)
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(1.5)
    for dx in (-3, 0, 3):
        ctx.move_to(cx + dx, 59)
        ctx.line_to(cx + dx * 1.3, 63)
        ctx.stroke()


def _roots(strands, colour=ink.INK):
    """Roots hanging from a ceiling: each strand (x, length, sway, width)."""
    def draw(ctx):
        ctx.set_source_rgb(*colour)
        for x, length, sway, w in strands:
            ctx.move_to(x - w, -1)
            ctx.curve_to(x - w, length * 0.4, x + sway - w * 0.3, length * 0.7, x + sway, length)
            ctx.curve_to(x + sway + w * 0.3, length * 0.7, x + w, length * 0.4, x + w, -1)
            ctx.close_path()
            ctx.fill()
            # A few rootlets branching off.
            ctx.set_line_width(1.2)
            for t, dx in ((0.45, 6), (0.7, -5)):
                if length * t > 10:
                    px = x + sway * t * t
                    py = length * t
                    ctx.move_to(px, py)
                    ctx.curve_to(px + dx * 0.5, py + 3, px + dx, py + 5, px + dx * 1.2, py + 10)
                    ctx.stroke()
    return draw


def _surface_roots(ctx):
    def path(c):
        # Arching roots that surface along the ground and dive back in.
        for x0, x1, h, w in ((-2, 44, 16, 6.5), (26, 66, 11, 5.0), (40, 58, 5, 3.0)):
            mid = (x0 + x1) / 2
            c.move_to(x0, T + 1)
            c.curve_to(x0 + 6, T - h * 1.3, mid, T - h * 1.1, x1 - 3, T + 1)
            c.line_to(x1 - 3 - w, T + 1)
            c.curve_to(mid, T - h * 1.1 + w * 1.4, x0 + 8, T - h * 1.3 + w * 1.6, x0 + w * 1.6, T + 1)
            c.close_path()
    ink.fill_ink(ctx, path, rim_width=1.4)


def _stone_lantern_top(ctx):
    cx = T / 2
    # Roof with upturned eaves, the light box glowing under it.
    _glow(ctx, cx, 48, 26, 0.5)
    ink.fill_ink(ctx, _poly([(cx - 10, 40), (cx + 10, 40), (cx + 10, 58), (cx - 10, 58)]), rim=False)
    ctx.rectangle(cx - 6, 43, 12, 12)
    ctx.set_source_rgb(*GLOW)
    ctx.fill()
    ctx.rectangle(cx - 1, 43, 2, 12)
    ctx.set_source_rgb(*ink.INK)
    ctx.fill()
    ink.fill_ink(ctx, _poly([(cx - 26, 36), (cx - 20, 30), (cx - 8, 22), (cx + 8, 22), (cx + 20, 30),
                             (cx + 26, 36), (cx + 22, 40), (cx - 22, 40)]))
    ink.fill_ink(ctx, ink.rounded_path(cx - 4, 12, 8, 11, 3))
    ink.fill_ink(ctx, ink.rounded_path(cx - 16, 58, 32, 6, 1.5))


def _stone_lantern_bottom(ctx):
    cx = T / 2
    ink.fill_ink(ctx, _poly([(cx - 7, 0), (cx + 7, 0), (cx + 9, 44), (cx - 9, 44)]), rim=False)
    ink.fill_ink(ctx, _poly([(cx - 12, 16), (cx + 12, 16), (cx + 12, 20), (cx - 12, 20)]), rim_width=1.2)
    ink.fill_ink(ctx, _poly([(cx - 18, 50), (cx - 14, 44), (cx + 14, 44), (cx + 18, 50), (cx + 18, 64),
                             (cx - 18, 64)]))


def _post_lantern(ctx):
    """A paper lantern on a short post, the kind that lines paths."""
    cx = T / 2
    _glow(ctx, cx, 24, 26, 0.45)
    ink.fill_ink(ctx, ink.rect_path(cx - 2.5, 34, 5, 30), rim=False)
    ctx.rectangle(cx - 9, 12, 18, 22)
    ctx.set_source_rgb(*ink.PAPER)
    ctx.fill()
    ctx.rectangle(cx - 5, 14, 10, 18)
    ctx.set_source_rgb(*GLOW)
    ctx.fill()
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(1.5)
    ctx.rectangle(cx - 9, 12, 18, 22)
    ctx.stroke()
    ctx.move_to(cx - 9, 23)
    ctx.line_to(cx + 9, 23)
    ctx.stroke()
    ink.fill_ink(ctx, _poly([(cx - 13, 12), (cx - 6, 6), (cx + 6, 6), (cx + 13, 12)]), rim_width=1.5)
    ink.fill_ink(ctx, ink.rect_path(cx - 11, 34, 22, 3), rim=False)


def _spider_lilies(ctx):
    # Red lilies at dusk: thin stems, curled petals.
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(1.6)
    heads = []
    for x, h, lean in ((20, 34, -4), (34, 44, 3), (46, 30, 6)):
        ctx.move_to(x, T)
        ctx.curve_to(x, T - h * 0.5, x + lean * 0.5, T - h * 0.8, x + lean, T - h)
        ctx.stroke()
        heads.append((x + lean, T - h))
    for hx, hy in heads:
        ctx.set_source_rgb(*ink.SEAL)
        for k in range(6):
            a = -math.pi / 2 + (k - 2.5) * 0.55
            ctx.save()
            ctx.translate(hx, hy)
            ctx.rotate(a)
            ctx.move_to(0, 0)
            ctx.curve_to(4, -2, 9, -2, 10, 2)
            ctx.curve_to(8, 0, 4, 1, 0, 0)
            ctx.close_path()
            ctx.restore()
            ctx.fill()
        ctx.set_source_rgb(*ink.mix(ink.SEAL, ink.RIM, 0.5))
        ctx.set_line_width(0.8)
        for k in range(5):
            a = -math.pi / 2 + (k - 2) * 0.45
            ctx.move_to(hx, hy)
            ctx.line_to(hx + 13 * math.cos(a), hy + 13 * math.sin(a))
            ctx.stroke()
        ctx.set_source_rgb(*ink.INK)
        ctx.set_line_width(1.6)
    _tuft([(16, 14, -5, 2.2), (28, 10, 3, 2), (40, 16, 4, 2.4), (52, 11, 5, 2)])(ctx)


def _fence(colour, light):
    """A bamboo rail fence, seamless left to right."""
    def draw(ctx):
        ink.fill_ink(ctx, ink.rect_path(-2, 24, T + 4, 5), colour=colour, light=light, rim_width=1.5)
        ink.fill_ink(ctx, ink.rect_path(-2, 40, T + 4, 5), colour=colour, light=light, rim_width=1.5)
        for px in (16, 48):
            ink.fill_ink(ctx, ink.rounded_path(px - 4, 14, 8, 52, 3), colour=colour, light=light, rim_width=1.5)
            ctx.set_source_rgb(*light)
            ctx.rectangle(px - 4, 33, 8, 1.2)
            ctx.fill()
    return draw


def _leaf(ctx, x, y, angle, length):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    ctx.move_to(0, 0)
    ctx.curve_to(length * 0.3, -length * 0.13, length * 0.7, -length * 0.1, length, length * 0.04)
    ctx.curve_to(length * 0.6, length * 0.1, length * 0.3, length * 0.1, 0, 0)
    ctx.close_path()
    ctx.restore()
    ctx.fill()


def _bamboo_segment(colour, light, top):
    """A bamboo stalk that tiles upwards; the top piece tapers off and hangs
    out its leaves."""
    def draw(ctx):
        cx = T / 2
        if top:
            ink.fill_ink(ctx, _poly([(cx - 5, T + 1), (cx - 2, 6), (cx + 2, 6), (cx + 5, T + 1)]),
                         colour=colour, light=light, rim_width=1.2)
            ctx.set_source_rgb(*colour)
            for ny, side, spread in ((44, -1, (20, 40, 62)), (30, 1, (15, 35, 58)), (16, -1, (25, 50))):
                for deg in spread:
                    a = math.radians(deg)
                    angle = a if side > 0 else math.pi - a
                    _leaf(ctx, cx + side * 2, ny, angle, 24 - deg * 0.08)
        else:
            ctx.rectangle(cx - 5, -1, 10, T + 2)
            ctx.set_source_rgb(*colour)
            ctx.fill()
            ctx.rectangle(cx - 6, 30, 12, 3)
            ctx.set_source_rgb(*light)
            ctx.fill()
            ctx.rectangle(cx - 6, 33, 12, 2)
            ctx.set_source_rgb(*colour)
            ctx.fill()
    return draw


def _back_tree(ctx):
    # A windswept pine in haze: a crooked trunk and flat cloud-like pads.
    ctx.set_source_rgb(*BACK_INK)
    ctx.move_to(26, T + 1)
    ctx.curve_to(24, 48, 40, 42, 34, 24)
    ctx.line_to(39, 24)
    ctx.curve_to(46, 42, 33, 50, 36, T + 1)
    ctx.close_path()
    ctx.fill()
    ctx.set_line_width(3)
    ctx.move_to(34, 34)
    ctx.curve_to(26, 32, 20, 30, 14, 31)
    ctx.stroke()
    for cx, cy, w in ((36, 22, 20), (14, 30, 11), (50, 36, 10), (38, 9, 12)):
        def pad(c, cx=cx, cy=cy, w=w):
            c.move_to(cx - w, cy + 4)
            c.curve_to(cx - w - 4, cy + 4, cx - w - 2, cy - 3, cx - w * 0.5, cy - 3)
            c.curve_to(cx - w * 0.4, cy - 8, cx - w * 0.05, cy - 8, cx + w * 0.1, cy - 5)
            c.curve_to(cx + w * 0.3, cy - 9, cx + w * 0.8, cy - 7, cx + w * 0.75, cy - 2)
            c.curve_to(cx + w + 4, cy - 2, cx + w + 4, cy + 4, cx + w, cy + 4)
            c.close_path()
        ink.fill_ink(ctx, pad, colour=BACK_INK, light=BACK_RIM, rim_width=1.5)


def _sign(ctx):
    # A wooden trail sign with a painted mark.
    ink.fill_ink(ctx, ink.rect_path(29, 20, 6, T - 20), rim=False)
    ink.fill_ink(ctx, _poly([(10, 12), (50, 12), (56, 20), (50, 28), (10, 28)]), colour=WOOD, rim_width=1.5)
    ctx.set_source_rgb(*ink.PAPER_DARK)
    ctx.rectangle(16, 18, 22, 2.5)
    ctx.fill()
    ctx.arc(44, 20, 2.5, 0, 2 * math.pi)
    ctx.set_source_rgb(*ink.SEAL)
    ctx.fill()


def _lantern_string(ctx):
    """A rope of small lanterns strung between posts, seamless left to right."""
    ctx.set_source_rgb(*ink.INK)
    ctx.set_line_width(1.5)
    ctx.move_to(-1, 8)
    ctx.curve_to(20, 20, 44, 20, T + 1, 8)
    ctx.stroke()
    for t in (0.25, 0.75):
        # Hang each lantern from the point of the rope itself.
        x = -(1 - t) ** 3 + 3 * 20 * (1 - t) ** 2 * t + 3 * 44 * (1 - t) * t * t + (T + 1) * t ** 3
        y = 8 * (1 - t) ** 3 + 3 * 20 * (1 - t) ** 2 * t + 3 * 20 * (1 - t) * t * t + 8 * t ** 3
        ctx.set_source_rgb(*ink.INK)
        ctx.move_to(x, y)
        ctx.line_to(x, y + 5)
        ctx.stroke()
        _glow(ctx, x, y + 13, 14, 0.4)
        ctx.save()
        ctx.translate(x, y + 13)
        ctx.scale(6, 8)
        ctx.arc(0, 0, 1, 0, 2 * math.pi)
        ctx.restore()
        ctx.set_source_rgb(*LANTERN)
        ctx.fill()
        ctx.rectangle(x - 4, y + 4, 8, 2)
        ctx.rectangle(x - 4, y + 20, 8, 2)
        ctx.set_source_rgb(*ink.INK)
        ctx.fill()


def _shrine(ctx):
    # A small wayside shrine on a stone plinth.
    ink.fill_ink(ctx, ink.rect_path(12, 54, 40, 10))
    ink.fill_ink(ctx, ink.rect_path(18, 30, 28, 24), rim=False)
    ctx.rectangle(24, 36, 16, 14)
    ctx.set_source_rgb(*ink.mix(GLOW, LANTERN, 0.3))
    ctx.fill()
    ctx.rectangle(31, 36, 2, 14)
    ctx.set_source_rgb(*ink.INK)
    ctx.fill()
    ink.fill_ink(ctx, _poly([(6, 32), (14, 24), (24, 16), (40, 16), (50, 24), (58, 32), (52, 32), (12, 32)]))
    ink.fill_ink(ctx, ink.rounded_path(29, 9, 6, 8, 2), rim_width=1.2)


def _back_shrine_post(ctx):
    # A red-lacquered gate post, dulled by distance.
    red = ink.mix(ink.SEAL, ink.SKY[1], 0.55)
    ink.fill_ink(ctx, ink.rect_path(24, -1, 16, T + 2), colour=red, light=BACK_RIM, rim=False)
    ink.fill_ink(ctx, ink.rect_path(21, 52, 22, 12), colour=BACK_INK, light=BACK_RIM, rim_width=1.5)
    ctx.rectangle(24, 8, 16, 2)
    ctx.set_source_rgb(*ink.mix(red, BACK_INK, 0.5))
    ctx.fill()


def _prop_tiles():
    r = ink.rng("ink_props")

    def blades(n, x0, x1, hmin, hmax):
        return [(r.uniform(x0, x1), r.uniform(hmin, hmax), r.uniform(-9, 9), r.uniform(1.8, 3.0))
                for _ in range(n)]

    def strands(n, lmin, lmax):
        return [(r.uniform(8, 56), r.uniform(lmin, lmax), r.uniform(-7, 7), r.uniform(1.6, 3.2))
                for _ in range(n)]

    back = dict(colour=BACK_INK, light=BACK_RIM)
    return [
        # Row 0: ground dressing, in front of or on the run plane.
        ("grass tuft, small", _tuft(blades(6, 22, 42, 10, 22))),
        ("grass tuft, large", _tuft(blades(10, 14, 50, 16, 40))),
        ("grass strip, seamless left to right", _tuft(blades(16, 2, 62, 8, 24))),
        ("spider lilies", _spider_lilies),
        ("stone, small", _stone([(32, 26, 14)])),
        ("boulder", _stone([(30, 50, 34)])),
        ("stone pile", _stone([(20, 26, 16), (44, 24, 12), (32, 16, 26 - 4)])),
        ("surface roots", _surface_roots),
        # Row 1: hung from ceilings, and things that stand.
        ("hanging lantern", _hanging_lantern),
        ("hanging roots, short", _roots(strands(5, 14, 30))),
        ("hanging roots, long", _roots(strands(6, 28, 60))),
        ("hanging roots and vines", _roots(strands(9, 10, 62))),
        ("stone lantern, top", _stone_lantern_top),
        ("post lantern", _post_lantern),
        ("bamboo fence", _fence(ink.INK, ink.RIM)),
        ("stone lantern, base", _stone_lantern_bottom),
        # Row 2: the same kinds in haze, for behind the run plane.
        ("far grass tuft", _tuft(blades(9, 12, 52, 14, 36), **back)),
        ("far grass strip, seamless left to right", _tuft(blades(16, 2, 62, 8, 24), **back)),
        ("far stones", _stone([(24, 30, 18), (46, 20, 11)], **back)),
        ("far boulder", _stone([(32, 54, 40)], **back)),
        ("far bamboo stalk, tiles upwards", _bamboo_segment(BACK_INK, BACK_RIM, False)),
        ("far bamboo top", _bamboo_segment(BACK_INK, BACK_RIM, True)),
        ("far bamboo fence", _fence(BACK_INK, BACK_RIM)),
        ("far pine", _back_tree),
        # Row 3
        ("far gate post, tiles upwards", _back_shrine_post),
        ("far hanging roots", _roots(strands(7, 16, 56), colour=BACK_INK)),
        ("bamboo stalk, tiles upwards", _bamboo_segment(ink.INK, ink.RIM, False)),
        ("bamboo top", _bamboo_segment(ink.INK, ink.RIM, True)),
        ("trail sign", _sign),
        ("string of lanterns, seamless left to right", _lantern_string),
        ("wayside shrine", _shrine),
        ("reeds, tall", _tuft(blades(7, 18, 46, 34, 60))),
    ]


# ---------------------------------------------------------------- files

def _render(tiles, columns):
    rows = (len(tiles) + columns - 1) // columns
    s, ctx = ink.surface(columns * T, rows * T)
    for i, tile in enumerate(tiles):
        ctx.save()
        ctx.translate((i % columns) * T, (i // columns) * T)
        _clip_tile(ctx)
        tile[1](ctx)
        ctx.restore()
    return s, rows


def _write_tsx(path, name, image, columns, rows, properties):
    count = columns * rows
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<tileset version="1.10" tiledversion="1.10.2" name=%s tilewidth="%d" tileheight="%d" '
             'tilecount="%d" columns="%d">' % (sax.quoteattr(name), T, T, count, columns),
             ' <image source=%s width="%d" height="%d"/>' % (sax.quoteattr(image), columns * T, rows * T)]
    for index, props in properties:
        lines.append(' <tile id="%d">' % index)
        lines.append('  <properties>')
        for key, kind, value in props:
            lines.append('   <property name="%s" type="%s" value="%s"/>' % (key, kind, value))
        lines.append('  </properties>')
        lines.append(' </tile>')
    lines.append('</tileset>')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def ground_collisions():
    """Tile index -> collision, for the manifest and for review."""
    return [(i, name, col) for i, (name, _, col) in enumerate(_ground_tiles())]


def build(data_dir):
    tiles_dir = os.path.join(data_dir, "Graphics", "Tiles")

    name, columns = "ink_ground", 8
    tiles = _ground_tiles()
    s, rows = _render(tiles, columns)
    ink.save(s, os.path.join(tiles_dir, name + ".png"))
    properties = []
    for i, (_, _, col) in enumerate(tiles):
        if col[0] == "full":
            properties.append((i, [("collision_type", "int", "1")]))
        elif col[0] == "slope":
            properties.append((i, [("collision_type", "int", "3"),
                                   ("slope_m", "float", ink.fmt(col[1])),
                                   ("slope_n", "float", ink.fmt(col[2]))]))
        else:
            properties.append((i, [("collision_type", "int", "2")]))
            ink.write_hitboxes(
                os.path.join(data_dir, "Values", "Tile Collisions", name, "%d.hitbox.xml" % i),
                [{"x": x, "y": y, "width": w, "height": h} for x, y, w, h in col[1]])
    _write_tsx(os.path.join(tiles_dir, name + ".tsx"), name, name + ".png", columns, rows, properties)

    name, columns = "ink_props", 8
    tiles = _prop_tiles()
    s, rows = _render(tiles, columns)
    ink.save(s, os.path.join(tiles_dir, name + ".png"))
    _write_tsx(os.path.join(tiles_dir, name + ".tsx"), name, name + ".png", columns, rows, [])
