"""Traps: the flying arrow, bamboo spikes, the orbiting shuriken, the wall
spear, the stomper and the trap doors, each with the collision boxes the
game reads for it. Every box is computed from the numbers that draw the
picture, so the two cannot drift apart.

All trap images are single frames drawn as if pointing left (arrow, spear,
stomper) or up (bamboo, trap door); the game turns and mirrors them."""

import math
import os

import cairo

import ink
from ink import INK, RIM, RIM_SOFT, STEEL, STEEL_DARK, BAMBOO, BAMBOO_NODE

TAU = 2 * math.pi


# --------------------------------------------------------------------------
# Shared drawing helpers

def _ink_tone(t):
    """Ink lifted a little toward a cool grey: stone and wood grain."""
    return ink.mix(INK, (0.30, 0.28, 0.34), t)


def _texture(ctx, path_fn, name, area, count, size, tone=0.12, dark=0.05):
    """Faint blotches clipped to a shape; area is (x, y, w, h)."""
    r = ink.rng(name)
    x0, y0, w, h = area
    ctx.save()
    path_fn(ctx)
    ctx.clip()
    for i in range(count):
        x = x0 + r.random() * w
        y = y0 + r.random() * h
        rx = size * (0.5 + r.random())
        ry = rx * (0.35 + r.random() * 0.4)
        ctx.save()
        ctx.translate(x, y)
        ctx.scale(rx, ry)
        ctx.arc(0, 0, 1, 0, TAU)
        ctx.restore()
        if i % 3 == 0:
            ctx.set_source_rgba(0, 0, 0, dark * 4)
        else:
            ctx.set_source_rgba(*_ink_tone(1.0), tone * (0.4 + 0.6 * r.random()))
        ctx.fill()
    ctx.restore()


def _line(ctx, points, width, colour, alpha=1.0, cap=cairo.LINE_CAP_ROUND):
    ctx.save()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.set_line_width(width)
    ctx.set_line_cap(cap)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_source_rgba(*colour, alpha)
    ctx.stroke()
    ctx.restore()


def _box(x0, y0, x1, y1, userdata=None):
    b = {"x": x0, "y": y0, "width": x1 - x0, "height": y1 - y0}
    if userdata is not None:
        b["userdata"] = userdata
    return b


def _check_boxes(name, boxes, w, h):
    for b in boxes:
        assert b["width"] > 0 and b["height"] > 0, (name, b)
        assert 0 <= b["x"] and b["x"] + b["width"] <= w, (name, b)
        assert 0 <= b["y"] and b["y"] + b["height"] <= h, (name, b)


def _steel_blade(ctx, points, ridge):
    """A blade: steel with its lower half in shade below the ridge line
    (ridge is a list of points from tip to base), lit on top."""
    path = ink.poly_path(points)
    ink.fill_ink(ctx, path, colour=STEEL, light=(1.0, 0.86, 0.70), rim_width=1.5)
    ctx.save()
    path(ctx)
    ctx.clip()
    # Shade everything below the ridge.
    ctx.move_to(*ridge[0])
    for p in ridge[1:]:
        ctx.line_to(*p)
    ctx.line_to(ridge[-1][0], 10000)
    ctx.line_to(ridge[0][0], 10000)
    ctx.close_path()
    ctx.set_source_rgb(*STEEL_DARK)
    ctx.fill()
    ctx.restore()
    # A dark edge keeps the blade crisp against a pale sky.
    ctx.save()
    path(ctx)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(*INK, 0.85)
    ctx.stroke()
    ctx.restore()


# --------------------------------------------------------------------------
# Arrow: flies left; the game turns it for the other directions about the
# frame centre, so the box is kept centred on the frame's middle line.

ARROW_W, ARROW_H = 64, 16
ARROW_MID = ARROW_H / 2
ARROW_TIP = 0.5
ARROW_HEAD_END = 14.0          # back of the barbs
ARROW_HEAD_HALF = 5.0
ARROW_SHAFT_HALF = 1.5
ARROW_VANE_START, ARROW_VANE_END = 43.0, 62.0
ARROW_VANE_HALF = 6.0
ARROW_NOCK = 63.5


def _arrow():
    s, ctx = ink.surface(ARROW_W, ARROW_H)
    m = ARROW_MID
    # Fletching first so the shaft lies over it.
    for sign in (-1, 1):
        vane = [(ARROW_VANE_START, m + sign * ARROW_SHAFT_HALF),
                (ARROW_VANE_START + 7, m + sign * ARROW_VANE_HALF),
                (ARROW_VANE_END, m + sign * ARROW_VANE_HALF),
                (ARROW_VANE_END - 3, m + sign * ARROW_SHAFT_HALF)]
        ink.fill_ink(ctx, ink.poly_path(vane), rim_width=0.9, rim=sign < 0)
    ink.fill_ink(ctx, ink.rect_path(ARROW_HEAD_END - 4, m - ARROW_SHAFT_HALF,
                                    ARROW_NOCK - ARROW_HEAD_END + 4, 2 * ARROW_SHAFT_HALF),
                 rim_width=0.6)
    # Nock: a small notch of ink at the tail.
    ink.fill_ink(ctx, ink.rect_path(ARROW_NOCK - 2.5, m - 2.2, 2.5, 4.4), rim_width=1.0)
    head = [(ARROW_TIP, m),
            (ARROW_HEAD_END, m - ARROW_HEAD_HALF),
            (ARROW_HEAD_END - 3.5, m),
            (ARROW_HEAD_END, m + ARROW_HEAD_HALF)]
    _steel_blade(ctx, head, [(ARROW_TIP, m), (ARROW_HEAD_END - 3.5, m)])
    # Deadly along its whole length; the vanes are soft, so the box keeps to
    # the head's height.
    half = ARROW_HEAD_HALF - 1
    boxes = [_box(ARROW_TIP + 0.5, m - half, ARROW_VANE_END, m + half)]
    return s, boxes


# --------------------------------------------------------------------------
# Bamboo: sharpened stakes in dark green with light-green nodes, planted in
# the frame's bottom edge and cut to points. All frames are square, so the
# game can turn them a quarter without moving the box off the picture.

BAMBOO_SIZE = 64
STAKE_PITCH = 16               # row pieces repeat every 16 px across tiles
CUT_FACE = (0.80, 0.90, 0.62)  # the fresh cut: pale green


def _stake(base, angle, length, half, nodes=()):
    """A stake from base (x, y) toward angle (radians, 0 = up, positive
    turning right), cut on a slant at its end. Kept as numbers so boxes can
    be measured; drawn in its own upright frame so that, like the row pieces
    the game turns, only its cut catches the light."""
    dx, dy = math.sin(angle), -math.cos(angle)
    nx, ny = -dy, dx
    bx, by = base

    def at(t, s):
        return (bx + dx * t + nx * s, by + dy * t + ny * s)

    cut = 2.6 * half
    return {"base": base, "angle": angle, "length": length, "half": half,
            "nodes": nodes, "cut": cut,
            "tip": at(length, -half),
            "points": [at(-4, -half), at(length, -half), at(length - cut, half), at(-4, half)]}


def _draw_stake(ctx, st):
    L, h, cut = st["length"], st["half"], st["cut"]
    ctx.save()
    ctx.translate(*st["base"])
    ctx.rotate(st["angle"])
    outline = ink.poly_path([(-h, 4), (-h, -L), (h, -L + cut), (h, 4)])
    ink.fill_ink(ctx, outline, colour=BAMBOO, rim_width=1.6)
    ctx.save()
    outline(ctx)
    ctx.clip()
    # Shade down the right side and a faint sheen down the left give the
    # stalk its roundness.
    ctx.rectangle(h * 0.35, -L, h, L + 4)
    ctx.set_source_rgba(*INK, 0.38)
    ctx.fill()
    ctx.rectangle(-h * 0.55, -L, h * 0.3, L + 4)
    ctx.set_source_rgba(*BAMBOO_NODE, 0.12)
    ctx.fill()
    ctx.restore()
    for t in st["nodes"]:
        if t < L - cut - 2:
            # Nodes bulge a hair past the stalk.
            ink.fill_ink(ctx, ink.rounded_path(-h - 0.7, -t - 1.1, 2 * h + 1.4, 2.2, 1.0),
                         rim=False, colour=BAMBOO_NODE)
            ctx.rectangle(-h - 0.7, -t + 0.4, 2 * h + 1.4, 0.7)
            ctx.set_source_rgba(*INK, 0.35)
            ctx.fill()
    # The fresh cut face, a pale sliver along the slant.
    ctx.move_to(-h, -L)
    ctx.curve_to(-h * 0.2, -L + cut * 0.35, h * 0.5, -L + cut * 0.75, h, -L + cut)
    ctx.curve_to(h * 0.1, -L + cut * 0.55, -h * 0.5, -L + cut * 0.2, -h, -L)
    ctx.close_path()
    ctx.set_source_rgb(*CUT_FACE)
    ctx.fill()
    ctx.restore()


def _binding(ctx, a, b, width=4.0):
    """Rope lashing the stakes together: ink, lit along its upper side in
    the frame it is drawn in, with dark wraps."""
    ctx.save()
    ctx.translate(*a)
    ctx.rotate(math.atan2(b[1] - a[1], b[0] - a[0]))
    length = math.hypot(b[0] - a[0], b[1] - a[1])
    ink.fill_ink(ctx, ink.rect_path(0, -width / 2, length, width), rim_width=1.0,
                 light=RIM_SOFT)
    x = 2.5
    while x < length - 1:
        ctx.move_to(x - 1.2, -width / 2 + 0.8)
        ctx.line_to(x + 1.2, width / 2)
        x += 5.0
    ctx.set_line_width(0.9)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.stroke()
    ctx.restore()


def _knot(ctx, x, y):
    ink.fill_ink(ctx, lambda c: c.arc(x, y, 3.4, 0, TAU), rim_width=1.2)
    _line(ctx, [(x, y + 2), (x - 2.5, y + 9)], 1.8, INK)
    _line(ctx, [(x + 0.5, y + 2), (x + 2.5, y + 8)], 1.8, INK)


# Row pieces: four stakes at the 16 px pitch, tips between these heights.
ROW_HEIGHTS = [36.0, 42.0, 38.0, 44.0]
ROW_HALF = 5.0
ROW_BIND_Y = 52.0
# The large piece: five taller stakes leaning a little apart.
LARGE_STAKES = [(-0.16, 12.0, 46.0), (-0.07, 22.0, 54.0), (0.0, 32.0, 58.0),
                (0.07, 42.0, 54.0), (0.16, 52.0, 46.0)]   # angle, base x, length
LARGE_HALF = 5.2
LARGE_BIND_Y = 50.0


def _row_stakes():
    st = []
    for i, length in enumerate(ROW_HEIGHTS):
        x = STAKE_PITCH / 2 + i * STAKE_PITCH
        st.append(_stake((x, BAMBOO_SIZE), 0.0, length, ROW_HALF,
                         nodes=(10.0, 26.0)))
    return st


def _bamboo_row(kind):
    s, ctx = ink.surface(BAMBOO_SIZE, BAMBOO_SIZE)
    stakes = _row_stakes()
    for st in stakes:
        _draw_stake(ctx, st)
    left = -1.0 if kind in ("m", "r") else STAKE_PITCH / 2 - ROW_HALF - 1
    right = BAMBOO_SIZE + 1.0 if kind in ("m", "l") else BAMBOO_SIZE - STAKE_PITCH / 2 + ROW_HALF + 1
    _binding(ctx, (left, ROW_BIND_Y), (right, ROW_BIND_Y))
    if kind == "l":
        _knot(ctx, left + 1, ROW_BIND_Y)
    if kind == "r":
        _knot(ctx, right - 1, ROW_BIND_Y)
    return s, stakes


def _small_box():
    # Rows tile, so the box runs the full width; its top sits a little under
    # the lowest reaching tips, where the points are too thin to see a touch.
    tips = [st["tip"][1] for st in _row_stakes()]
    top = math.ceil(sum(sorted(tips)[:2]) / 2 + 4)
    return [_box(0, top, BAMBOO_SIZE, BAMBOO_SIZE)]


def _large_stakes():
    return [_stake((bx, BAMBOO_SIZE), a, length, LARGE_HALF, nodes=(12.0, 30.0))
            for a, bx, length in LARGE_STAKES]


def _bamboo_large():
    s, ctx = ink.surface(BAMBOO_SIZE, BAMBOO_SIZE)
    stakes = _large_stakes()
    order = [0, 4, 1, 3, 2]                 # the tallest in front
    for i in order:
        _draw_stake(ctx, stakes[i])
    _binding(ctx, (7, LARGE_BIND_Y), (BAMBOO_SIZE - 7, LARGE_BIND_Y), 5.0)
    _knot(ctx, BAMBOO_SIZE / 2, LARGE_BIND_Y)
    return s, stakes


def _large_box():
    # Symmetric about the middle, like the stakes.
    stakes = _large_stakes()
    xs = [p[0] for st in stakes for p in st["points"]]
    inset = 6
    half = math.floor(min(BAMBOO_SIZE / 2 - min(xs), max(xs) - BAMBOO_SIZE / 2) - inset)
    tips = sorted(st["tip"][1] for st in stakes)
    top = math.ceil(tips[1] + 5)
    return [_box(BAMBOO_SIZE / 2 - half, top, BAMBOO_SIZE / 2 + half, BAMBOO_SIZE)]


CORNER_ROPE = BAMBOO_SIZE - ROW_BIND_Y    # meets the neighbouring rows' rope


def _corner_stakes(kind):
    """Both corners are drawn for the top-left: ground at the bottom right,
    points toward the top left."""
    S = BAMBOO_SIZE
    st = []
    if kind == "in":
        # Floor below and wall to the right, at the rows' pitch; one big
        # stake leans out of the corner.
        # Lengths alternate so the inner two pass each other, not cross.
        for pos, up, side in [(STAKE_PITCH * 0.5, 40.0, 40.0), (STAKE_PITCH * 1.5, 44.0, 30.0)]:
            st.append(_stake((S, pos), -math.pi / 2, side, ROW_HALF, nodes=(10.0, 26.0)))
            st.append(_stake((pos, S), 0.0, up, ROW_HALF, nodes=(10.0, 26.0)))
        st.append(_stake((S - 1, S - 1), -math.pi / 4, 50.0, LARGE_HALF, nodes=(14.0, 30.0)))
    else:
        # Around a block's corner: a fan rooted at the bottom-right corner,
        # upright at the right edge and level at the bottom, where it meets
        # the rows that continue the border.
        count = 6
        for i in range(count):
            a = -math.pi / 2 * i / (count - 1)
            # Bases sit on a small arc about the corner, the outer two on the
            # rows' pitch.
            base = (S - STAKE_PITCH / 2 * math.cos(a), S + STAKE_PITCH / 2 * math.sin(a))
            length = 44.0 + 16.0 * math.sin(-2 * a)
            st.append(_stake(base, a, length, ROW_HALF + 0.4 * math.sin(-2 * a),
                             nodes=(12.0, 28.0)))
    return st


def _bamboo_corner(kind):
    s, ctx = ink.surface(BAMBOO_SIZE, BAMBOO_SIZE)
    S = BAMBOO_SIZE
    stakes = _corner_stakes(kind)
    r = CORNER_ROPE
    if kind == "in":
        for st in stakes:
            _draw_stake(ctx, st)
        _binding(ctx, (-1, S - r), (S - r + 2, S - r))
        _binding(ctx, (S - r, -1), (S - r, S - r + 2))
        _knot(ctx, S - r, S - r)
    else:
        for i in [0, 5, 1, 4, 2, 3]:
            _draw_stake(ctx, stakes[i])
        # The lashing follows an arc about the corner, leaving the frame
        # where the rows' ropes enter theirs.
        ctx.save()
        ctx.translate(S, S)
        steps = 12
        for i in range(steps):
            a0 = math.pi + (math.pi / 2) * i / steps
            a1 = math.pi + (math.pi / 2) * (i + 1) / steps
            _binding(ctx, (r * math.cos(a0), r * math.sin(a0)),
                     (r * math.cos(a1), r * math.sin(a1)), 5.0)
        ctx.restore()
        _knot(ctx, S - r * 0.72, S - r * 0.72)
    return s, stakes


def _corner_box(kind):
    """The corners have boxes of their own: the large piece's would let the
    hero into the inner corner's top stake and kill him in the empty half
    of the outer corner's frame. Both reach to the frame's bottom-right
    corner, where the stakes are rooted."""
    S = BAMBOO_SIZE
    stakes = _corner_stakes(kind)
    if kind == "in":
        # An L of stakes along the floor and up the wall. Whoever comes along
        # the floor or down the wall meets the outermost stakes first: the
        # box starts half a stake inside them.
        floor = [p for st in stakes if st["angle"] == 0.0 for p in st["points"]]
        wall = [p for st in stakes if st["angle"] == -math.pi / 2 for p in st["points"]]
        left = round(min(p[0] for p in floor)) + ROW_HALF
        top = round(min(p[1] for p in wall)) + ROW_HALF
        return [_box(left, top, S, S)]
    # A fan, a quarter disc about the corner: the square from the corner
    # that covers the most of the drawn stakes for the least empty space.
    s, ctx = ink.surface(S, S)
    for st in stakes:
        _draw_stake(ctx, st)
    s.flush()
    data, stride = s.get_data(), s.get_stride()
    weight = [[1 if data[y * stride + x * 4 + 3] >= 128 else -1 for x in range(S)]
              for y in range(S)]
    # Sums over the square from (x, y) to the corner.
    tail = [[0] * (S + 1) for _ in range(S + 1)]
    for y in range(S - 1, -1, -1):
        for x in range(S - 1, -1, -1):
            tail[y][x] = weight[y][x] + tail[y + 1][x] + tail[y][x + 1] - tail[y + 1][x + 1]
    _, left, top = max((tail[y][x], x, y) for y in range(S) for x in range(S))
    return [_box(left, top, S, S)]


# --------------------------------------------------------------------------
# Orbital: a four-bladed shuriken that spins about the frame centre, so its
# box is a centred square that stays inside the blades at any turn.

SHURIKEN = 96
SH_C = SHURIKEN / 2
SH_TIP = 44.0                  # blade tip radius
SH_WAIST = 11.0                # radius of the notches between blades
SH_HUB = 8.0
SH_HOLE = 4.0

SHURIKEN_LOOKS = {
    # body, edge, hub
    "black": (INK, STEEL, _ink_tone(0.5)),
    "grey": (ink.mix(STEEL_DARK, INK, 0.35), STEEL, INK),
    "white": (ink.mix(STEEL, (1, 1, 1), 0.45), (1.0, 1.0, 1.0), INK),
}


def _shuriken_points(turn=0.0):
    pts = []
    for i in range(4):
        a = turn + i * TAU / 4
        # Each blade curves a little, like a pinwheel, so the spin reads.
        pts.append((SH_C + SH_TIP * math.cos(a), SH_C + SH_TIP * math.sin(a)))
        b = a + 0.30
        pts.append((SH_C + 20 * math.cos(b), SH_C + 20 * math.sin(b)))
        c = a + TAU / 8 + 0.12
        pts.append((SH_C + SH_WAIST * math.cos(c), SH_C + SH_WAIST * math.sin(c)))
        d = a + TAU / 4 - 0.22
        pts.append((SH_C + 17 * math.cos(d), SH_C + 17 * math.sin(d)))
    return pts


def _shuriken(look):
    body, edge, hub = SHURIKEN_LOOKS[look]
    s, ctx = ink.surface(SHURIKEN, SHURIKEN)
    turn = -math.pi / 4 + 0.1
    pts = _shuriken_points(turn)
    path = ink.poly_path(pts)
    # A dark outline keeps the pale ones legible against a bright sky.
    ctx.save()
    path(ctx)
    ctx.set_line_width(2.4)
    ctx.set_line_join(cairo.LINE_JOIN_MITER)
    ctx.set_source_rgb(*INK)
    ctx.stroke()
    ctx.restore()
    ink.fill_ink(ctx, path, colour=body, rim_width=1.8)
    # Honed edges: the leading edge of each blade, from tip toward the waist.
    for i in range(4):
        tip = pts[i * 4]
        nxt = pts[i * 4 + 1]
        _line(ctx, [tip, ink.mix(tip, nxt, 0.92)], 2.2, edge, 0.95)
        # The other side in shade.
        prev = pts[(i * 4 - 1) % len(pts)]
        _line(ctx, [tip, ink.mix(tip, prev, 0.85)], 1.2, ink.mix(edge, INK, 0.55), 0.9)
    # Hub ring and hole.
    ctx.save()
    ctx.arc(SH_C, SH_C, SH_HUB, 0, TAU)
    ctx.set_source_rgb(*hub)
    ctx.fill()
    ctx.arc(SH_C, SH_C, SH_HUB, 0, TAU)
    ctx.set_line_width(1.4)
    ctx.set_source_rgba(*edge, 0.8)
    ctx.stroke()
    ctx.arc(SH_C, SH_C, SH_HOLE, 0, TAU)
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    ctx.fill()
    ctx.restore()
    return s


def _orbital_box():
    # The blades sweep a disc; a square inside it of about two thirds of the
    # tip radius touches what the eye calls the star.
    half = round(SH_TIP * 0.62)
    return [_box(SH_C - half, SH_C - half, SH_C + half, SH_C + half)]


# --------------------------------------------------------------------------
# Spear: a steel leaf head on a long shaft, pointing left. The game shows
# the first L pixels of the frame as it slides out, so the head is at x = 0
# and the shaft runs to the frame's right edge.

SPEAR_W, SPEAR_H = 256, 64
SPEAR_MID = SPEAR_H / 2
SPEAR_BLADE_END = 50.0         # where the blade meets the socket
SPEAR_BLADE_HALF = 10.0
SPEAR_BLADE_WIDEST = 20.0
SPEAR_SOCKET = (46.0, 66.0, 5.5)   # from, to, half height
SPEAR_SHAFT_HALF = 4.5
SPEAR_BANDS = [78.0, 150.0, 222.0]


def _spear():
    s, ctx = ink.surface(SPEAR_W, SPEAR_H)
    m = SPEAR_MID
    shaft = ink.rect_path(SPEAR_SOCKET[0], m - SPEAR_SHAFT_HALF,
                          SPEAR_W - SPEAR_SOCKET[0] + 2, 2 * SPEAR_SHAFT_HALF)
    ink.fill_ink(ctx, shaft, rim_width=1.6)
    # Grain: faint long strokes along the shaft.
    r = ink.rng("trp_spear_head")
    ctx.save()
    shaft(ctx)
    ctx.clip()
    for i in range(14):
        x = SPEAR_SOCKET[1] + r.random() * (SPEAR_W - SPEAR_SOCKET[1])
        y = m - SPEAR_SHAFT_HALF + 2 + r.random() * (2 * SPEAR_SHAFT_HALF - 3)
        _line(ctx, [(x, y), (x + 18 + r.random() * 30, y)], 0.8, _ink_tone(0.9), 0.35)
    ctx.restore()
    for x in SPEAR_BANDS:
        band = ink.rect_path(x, m - SPEAR_SHAFT_HALF - 1, 6, 2 * SPEAR_SHAFT_HALF + 2)
        ink.fill_ink(ctx, band, rim_width=1.2, colour=_ink_tone(0.35))
    sx0, sx1, sh = SPEAR_SOCKET
    socket = [(sx0, m - sh + 1.5), (sx0 + 4, m - sh), (sx1, m - sh + 1), (sx1, m + sh - 1),
              (sx0 + 4, m + sh), (sx0, m + sh - 1.5)]
    ink.fill_ink(ctx, ink.poly_path(socket), rim_width=1.6)
    for x in (sx0 + 7, sx0 + 11, sx0 + 15):
        _line(ctx, [(x, m - sh + 0.5), (x, m + sh - 0.5)], 1.0, _ink_tone(0.6), 0.9)
    w = SPEAR_BLADE_WIDEST
    blade = [(0.5, m),
             (w * 0.45, m - SPEAR_BLADE_HALF * 0.72),
             (w, m - SPEAR_BLADE_HALF),
             (SPEAR_BLADE_END - 6, m - 4.5),
             (SPEAR_BLADE_END, m - 3.5),
             (SPEAR_BLADE_END, m + 3.5),
             (SPEAR_BLADE_END - 6, m + 4.5),
             (w, m + SPEAR_BLADE_HALF),
             (w * 0.45, m + SPEAR_BLADE_HALF * 0.72)]
    _steel_blade(ctx, blade, [(0.5, m), (SPEAR_BLADE_END, m)])
    # Head kills, shaft is solid: the two boxes meet at the socket.
    damage = _box(1.0, m - SPEAR_BLADE_HALF + 1, sx0 + 4, m + SPEAR_BLADE_HALF - 1, "Damage")
    solid = _box(sx0 + 4, m - SPEAR_SHAFT_HALF - 1.5, SPEAR_W, m + SPEAR_SHAFT_HALF + 1.5,
                 "Collision")
    return s, [solid, damage]


# --------------------------------------------------------------------------
# Stomper: a heavy stone ram faced with iron, pointing left; the game
# reveals it from the head as it slides out. Wide stompers are a column of
# pieces: "l" carries the outer edge at the frame's top, "r" at its bottom,
# "m" is the plain middle.

STOMPER_W, STOMPER_H = 256, 64
ST_FACE = 10.0                 # iron face plate depth
ST_HEAD = 58.0                 # stone head, face plate included
ST_COLLAR = 8.0                # iron collar behind the head
ST_STRIP = 2.0                 # depth of the head's edge probes
ST_EDGE = 6.0                  # outer bevel on l and r


def _stomper_outline(kind):
    """Full-height block; the outer side of an edge piece is bevelled at the
    head."""
    W, H = STOMPER_W, STOMPER_H
    top_cut = ST_EDGE if kind == "l" else 1.5
    bottom_cut = ST_EDGE if kind == "r" else 1.5
    return [(top_cut, 0), (W + 2, 0), (W + 2, H), (bottom_cut, H),
            (0, H - bottom_cut), (0, top_cut)]


def _stomper(kind):
    W, H = STOMPER_W, STOMPER_H
    s, ctx = ink.surface(W, H)
    outline = _stomper_outline(kind)
    path = ink.poly_path(outline)
    ink.fill_ink(ctx, path, rim_width=2.5 if kind == "l" else 1.8)
    _texture(ctx, path, "trp_stomper_" + kind, (ST_HEAD, 0, W - ST_HEAD, H), 40, 9.0,
             tone=0.07, dark=0.04)
    # Courses of dressed stone along the body; seams run across the ram so
    # stacked pieces read as one block.
    ctx.save()
    path(ctx)
    ctx.clip()
    r = ink.rng("stomper-courses-" + kind)
    x = ST_HEAD + ST_COLLAR
    while x < W:
        step = 44 + r.random() * 10
        x += step
        if x < W - 4:
            _line(ctx, [(x, 3), (x, H - 3)], 1.4, (0, 0, 0), 0.55)
            _line(ctx, [(x + 1.2, 3), (x + 1.2, H - 3)], 0.8, _ink_tone(1.0), 0.35)
    ctx.restore()
    # Stone head: a shade lighter, textured, with its own lit top.
    head = ink.poly_path([(outline[0][0], 0), (ST_HEAD, 0), (ST_HEAD, H),
                          (outline[3][0], H), (0, outline[4][1]), (0, outline[5][1])])
    ink.fill_ink(ctx, head, colour=_ink_tone(0.22), rim_width=2.2)
    _texture(ctx, head, "trp_stomper_head_" + kind, (0, 0, ST_HEAD, H), 16, 6.0, tone=0.10)
    # Iron collar and face plate, with rivets.
    collar = ink.rect_path(ST_HEAD, 0, ST_COLLAR, H)
    ink.fill_ink(ctx, collar, colour=INK, rim_width=1.6)
    face = ink.poly_path([(outline[0][0], 0), (ST_FACE, 0), (ST_FACE, H),
                          (outline[3][0], H), (0, outline[4][1]), (0, outline[5][1])])
    ink.fill_ink(ctx, face, colour=INK, rim_width=1.6)
    for y in (12.0, 32.0, 52.0):
        for x0 in (ST_FACE / 2, ST_HEAD + ST_COLLAR / 2):
            ctx.arc(x0, y, 1.6, 0, TAU)
            ctx.set_source_rgba(*RIM_SOFT, 0.55)
            ctx.fill()
    # A carved ward on the head, the mark of the temple that set the trap.
    cx, cy = (ST_FACE + ST_HEAD) / 2, H / 2
    ctx.save()
    ctx.arc(cx, cy, 11, 0, TAU)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.set_line_width(2.2)
    ctx.stroke()
    for a in range(4):
        t = a * TAU / 4 + TAU / 8
        _line(ctx, [(cx + 4 * math.cos(t), cy + 4 * math.sin(t)),
                    (cx + 8 * math.cos(t), cy + 8 * math.sin(t))], 2.0, (0, 0, 0), 0.55)
    ctx.arc(cx, cy - 1.0, 11, math.pi * 1.1, math.pi * 1.9)
    ctx.set_source_rgba(*RIM_SOFT, 0.35)
    ctx.set_line_width(1.0)
    ctx.stroke()
    ctx.restore()
    # Outer edge of the group: a heavy lit band along the outside.
    if kind == "l":
        _line(ctx, [(ST_EDGE + 1, 1.2), (W, 1.2)], 2.4, RIM, 0.9, cairo.LINE_CAP_BUTT)
    if kind == "r":
        _line(ctx, [(ST_EDGE + 1, H - 2.0), (W, H - 2.0)], 3.0, (0, 0, 0), 0.6, cairo.LINE_CAP_BUTT)
    return s


def _stomper_boxes():
    W, H = STOMPER_W, STOMPER_H
    # The game asks whether a stomper's front probe touches any stomper, its
    # own body included, so the body starts a pixel behind the probes: a
    # shared edge could overlap by a rounding error.
    body = _box(ST_STRIP + 1, 0, W, H, "Body")
    # Two thin probes at the two ends of the face; the ram stops only when
    # both bite into the level, so grazing a floor or a ledge corner does not
    # stop it. Kept short of the sides so side-by-side pieces leave each
    # other alone. Only two pixels deep: at rest they lie inside the wall
    # the ram comes out of, and must clear it on the first step out.
    inset = max(ST_EDGE, 4.0)
    front = _box(0, inset, ST_STRIP, H / 2 - 8, "HeadFront")
    back = _box(0, H / 2 + 8, ST_STRIP, H - inset, "HeadBack")
    return [body, front, back]


# --------------------------------------------------------------------------
# Trap doors: a slab hinged at one end, drawn lying flat.

DOOR_W, DOOR_H = 128, 32
DOOR_TOP = 4.0                 # walking surface; grass blades rise above it


def _door_slab(ctx):
    path = ink.rect_path(0, DOOR_TOP, DOOR_W, DOOR_H - DOOR_TOP)
    ink.fill_ink(ctx, path, rim_width=2.2)
    return path


def _hinges(ctx):
    for x0 in (6.0, DOOR_W - 20.0):
        strap = ink.rect_path(x0, DOOR_TOP + 2, 14, DOOR_H - DOOR_TOP - 4)
        ink.fill_ink(ctx, strap, colour=_ink_tone(0.3), rim_width=1.2)
        for y in (DOOR_TOP + 7, DOOR_H - 7):
            ctx.arc(x0 + 7, y, 1.4, 0, TAU)
            ctx.set_source_rgba(*RIM_SOFT, 0.5)
            ctx.fill()


def _door(kind):
    s, ctx = ink.surface(DOOR_W, DOOR_H)
    W, H, T = DOOR_W, DOOR_H, DOOR_TOP
    name = "trp_trapdoor_" + kind
    r = ink.rng(name)
    if kind == "grass":
        path = ink.rect_path(0, T, W, H - T)
        ink.fill_ink(ctx, path, rim=False)
        _texture(ctx, path, name, (0, T + 8, W, H - T - 8), 30, 5.0, tone=0.16)
        # Turf: blades of grass along the top, lit at their tips.
        # Tufts of a few blades with short bare stretches between, so the
        # edge reads as grass and not as a saw.
        blades = []
        x = 2.0 + r.random() * 3
        while x < W - 2:
            n = 3 + int(r.random() * 3)
            tall = 4.0 + r.random() * 4.0
            for i in range(n):
                k = i - (n - 1) / 2
                hgt = tall * (1 - 0.18 * abs(k)) * (0.8 + 0.3 * r.random())
                blades.append((x + k * 1.6, hgt, k * 1.3 + (r.random() - 0.5)))
            x += n * 1.6 + 4.0 + r.random() * 7.0
        def turf(c):
            c.move_to(0, T + 6)
            c.line_to(0, T)
            for bx, hgt, lean in blades:
                c.line_to(bx - 0.9, T + 0.3)
                c.line_to(bx + lean, T - hgt)
                c.line_to(bx + 0.9, T + 0.3)
            c.line_to(W, T)
            c.line_to(W, T + 6)
            c.close_path()
        ink.fill_ink(ctx, turf, rim_width=1.4)
        # Roots hang under the turf, the slab is earth.
        for i in range(10):
            x0 = 6 + r.random() * (W - 12)
            _line(ctx, [(x0, H - 3), (x0 + (r.random() - 0.5) * 6, H + 3)], 1.4, INK)
        _line(ctx, [(2, T + 9), (W - 2, T + 9)], 1.0, (0, 0, 0), 0.5)
    elif kind == "stone":
        path = _door_slab(ctx)
        _texture(ctx, path, name, (0, T, W, H - T), 36, 6.0)
        # Two flagstones with a seam and chipped corners.
        for x0 in (W * 0.48,):
            _line(ctx, [(x0, T + 1), (x0 + 2, H)], 1.6, (0, 0, 0), 0.6)
            _line(ctx, [(x0 + 1.4, T + 2), (x0 + 3.4, H)], 0.8, _ink_tone(1.0), 0.35)
        _line(ctx, [(W * 0.2, T + 9), (W * 0.28, T + 15), (W * 0.26, T + 21)], 1.0, (0, 0, 0), 0.45)
        _line(ctx, [(W * 0.74, T + 5), (W * 0.7, T + 12)], 1.0, (0, 0, 0), 0.45)
    elif kind == "wood":
        path = _door_slab(ctx)
        # Three boards with grain and nail heads.
        ctx.save()
        path(ctx)
        ctx.clip()
        for i in range(18):
            y = T + 3 + r.random() * (H - T - 6)
            x0 = r.random() * W
            _line(ctx, [(x0, y), (x0 + 20 + r.random() * 40, y + (r.random() - 0.5))],
                  0.8, _ink_tone(0.9), 0.35)
        for y in (T + (H - T) / 3, T + 2 * (H - T) / 3):
            _line(ctx, [(0, y), (W, y)], 1.4, (0, 0, 0), 0.7)
            _line(ctx, [(0, y + 1.1), (W, y + 1.1)], 0.7, RIM_SOFT, 0.22)
        ctx.restore()
        _hinges(ctx)
    else:  # wood and stone: a stone slab in a timber frame
        path = _door_slab(ctx)
        inner = ink.rect_path(10, T + 5, W - 20, H - T - 10)
        ink.fill_ink(ctx, inner, colour=_ink_tone(0.28), rim_width=1.2)
        _texture(ctx, inner, name, (10, T + 5, W - 20, H - T - 10), 20, 5.0, tone=0.15)
        _line(ctx, [(W / 2, T + 5), (W / 2 + 1, H - 5)], 1.4, (0, 0, 0), 0.6)
        ctx.save()
        path(ctx)
        ctx.clip()
        for i in range(10):
            y = T + 1 + r.random() * 3
            x0 = r.random() * W
            _line(ctx, [(x0, y), (x0 + 16 + r.random() * 20, y)], 0.7, _ink_tone(0.9), 0.35)
        ctx.restore()
        for x0 in (4.0, W - 4.0):
            for y in (T + 4, H - 4):
                ctx.arc(x0, y, 1.4, 0, TAU)
                ctx.set_source_rgba(*RIM_SOFT, 0.5)
                ctx.fill()
    return s


def _door_boxes():
    return [_box(0, DOOR_TOP, DOOR_W, DOOR_H)]


# --------------------------------------------------------------------------

DOOR_KINDS = ["grass", "stone", "wood", "woodstone"]


def images():
    """(file name, surface) for every trap image."""
    out = [("trp_arrow.png", _arrow()[0]),
           ("trp_bamboo.png", _bamboo_large()[0]),
           ("trp_bamboo_l.png", _bamboo_row("l")[0]),
           ("trp_bamboo_m.png", _bamboo_row("m")[0]),
           ("trp_bamboo_r.png", _bamboo_row("r")[0]),
           ("trp_bamboo_corner_in.png", _bamboo_corner("in")[0]),
           ("trp_bamboo_corner_out.png", _bamboo_corner("out")[0])]
    for look in ("black", "grey", "white"):
        out.append(("trp_shuriken_%s.png" % look, _shuriken(look)))
    out.append(("trp_spear_head.png", _spear()[0]))
    for kind in ("l", "m", "r"):
        out.append(("trp_stomper_%s.png" % kind, _stomper(kind)))
    for kind in DOOR_KINDS:
        out.append(("trp_trapdoor_%s.png" % kind, _door(kind)))
    return out


def hitboxes():
    """(file name, frame size the boxes live in, boxes)."""
    return [("Arrow", (ARROW_W, ARROW_H), _arrow()[1]),
            ("BambooLarge", (BAMBOO_SIZE, BAMBOO_SIZE), _large_box()),
            ("BambooSmall", (BAMBOO_SIZE, BAMBOO_SIZE), _small_box()),
            ("BambooCornerIn", (BAMBOO_SIZE, BAMBOO_SIZE), _corner_box("in")),
            ("BambooCornerOut", (BAMBOO_SIZE, BAMBOO_SIZE), _corner_box("out")),
            ("Orbital", (SHURIKEN, SHURIKEN), _orbital_box()),
            ("Spear", (SPEAR_W, SPEAR_H), _spear()[1]),
            ("Stomper", (STOMPER_W, STOMPER_H), _stomper_boxes()),
            ("Door", (DOOR_W, DOOR_H), _door_boxes())]


def build(data_dir):
    gfx = os.path.join(data_dir, "Graphics", "Traps")
    values = os.path.join(data_dir, "Values", "Trap Collisions")
    for name, surface in images():
        ink.save(surface, os.path.join(gfx, name))
    for name, (w, h), boxes in hitboxes():
        _check_boxes(name, boxes, w, h)
        ink.write_hitboxes(os.path.join(values, name + ".hitbox.xml"), boxes)
