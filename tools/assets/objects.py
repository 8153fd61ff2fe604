"""Level objects the player meets without getting hurt: the checkpoint
lantern, the scroll, and the fireworks that greet a new best time."""

import math
import os

import cairo

import ink
from ink import INK, PAPER, PAPER_DARK, RIM, RIM_SOFT

TAU = 2 * math.pi


def _smooth(a, b, x):
    t = min(1.0, max(0.0, (x - a) / (b - a)))
    return t * t * (3 - 2 * t)


# --------------------------------------------------------------------------
# Checkpoint: a wayside post with a paper lantern on an arm. Unlit it is
# plain ink; touched, the lantern catches and keeps burning.

CP_W, CP_H = 109, 129
CP_INACTIVE = (36, 0.03)     # frames, seconds per frame
CP_ACTIVATION = (12, 0.08)
CP_ACTIVE = (14, 0.08)

GROUND = 128.0
BASE = (15.0, 119.0, 31.0, 9.0)           # x, y, w, h of the stone footing
POST = (26.0, 15.0, 7.0, 106.0)
ROOF = [(16.0, 18.0), (22.0, 12.5), (29.5, 7.0), (37.0, 12.5), (43.0, 18.0), (29.5, 15.5)]
ARM = (31.0, 24.0, 45.0, 5.0)
PIVOT = (70.0, 29.0)                      # hook at the end of the arm
LANTERN_TOP, LANTERN_BOTTOM, LANTERN_RX = 14.0, 56.0, 15.0
LANTERN_CENTRE = 35.0                     # below the pivot

LIT_CORE = (1.0, 0.94, 0.72)
LIT_MID = (1.0, 0.72, 0.36)
LIT_EDGE = (0.86, 0.40, 0.20)
HALO = (1.0, 0.66, 0.34)


def _lantern_half_width(y):
    """Half width of the lantern body at height y below the pivot: a barrel
    narrowing toward both caps."""
    mid = (LANTERN_TOP + LANTERN_BOTTOM) / 2
    half = (LANTERN_BOTTOM - LANTERN_TOP) / 2
    t = (y - mid) / half
    return 9.0 + (LANTERN_RX - 9.0) * max(0.0, 1 - t * t) ** 0.7


def _lantern_body(ctx):
    ctx.move_to(-9, LANTERN_TOP)
    ctx.curve_to(-LANTERN_RX - 2, LANTERN_TOP + 6, -LANTERN_RX - 2, LANTERN_BOTTOM - 6, -9, LANTERN_BOTTOM)
    ctx.line_to(9, LANTERN_BOTTOM)
    ctx.curve_to(LANTERN_RX + 2, LANTERN_BOTTOM - 6, LANTERN_RX + 2, LANTERN_TOP + 6, 9, LANTERN_TOP)
    ctx.close_path()


def _checkpoint_frame(ctx, sway, tassel, glow, flame=0.0, embers=()):
    """sway, tassel: degrees. glow: 0 unlit .. 1 burning (a little more
    during the flare of catching). flame: a lone flame seen before the paper
    lights. embers: (x, y, size, alpha) in frame coordinates."""
    px, py = PIVOT
    lit = min(1.0, glow)
    a = math.radians(sway)
    cx = px - math.sin(a) * LANTERN_CENTRE
    cy = py + math.cos(a) * LANTERN_CENTRE

    # Light in the air sits behind the ink.
    if glow > 0:
        r = 24 + 6 * min(glow, 1.3)
        ink.radial_disc(ctx, cx, cy, r, [(0, HALO, 0.50 * glow), (0.35, HALO, 0.26 * glow),
                                 (0.7, HALO, 0.08 * glow), (1, HALO, 0)])

    ink.fill_ink(ctx, ink.rounded_path(*BASE, 2.5))
    ink.fill_ink(ctx, ink.rect_path(*POST), rim_width=2.0)
    ink.fill_ink(ctx, ink.rect_path(*ARM), rim_width=2.0)
    # Brace under the arm.
    ink.fill_ink(ctx, ink.poly_path([(33, 28), (50, 28), (50, 30.5), (35.5, 45), (33, 45)]), rim=False)
    ink.fill_ink(ctx, ink.poly_path(ROOF))
    # Arm end cap.
    ink.fill_ink(ctx, ink.rect_path(ARM[0] + ARM[2] - 3, ARM[1] - 1.5, 4, ARM[3] + 3), rim_width=1.5)

    # Warm light catches the underside of the arm near a burning lantern.
    if lit > 0:
        ctx.save()
        ctx.rectangle(ARM[0] + 6, ARM[1] + ARM[3] - 1.6, ARM[2] - 6, 1.6)
        g = cairo.LinearGradient(ARM[0] + 6, 0, PIVOT[0], 0)
        g.add_color_stop_rgba(0, *RIM, 0)
        g.add_color_stop_rgba(1, *RIM, 0.8 * lit)
        ctx.set_source(g)
        ctx.fill()
        ctx.restore()

    ctx.save()
    ctx.translate(px, py)
    ctx.rotate(a)
    # Cord.
    ctx.set_source_rgb(*INK)
    ctx.set_line_width(1.6)
    ctx.move_to(0, -1)
    ctx.line_to(0, 10.5)
    ctx.stroke()

    # Tassel hangs from the bottom cap and trails the swing.
    ctx.save()
    ctx.translate(0, LANTERN_BOTTOM + 4)
    ctx.rotate(math.radians(tassel - sway))
    ctx.set_line_width(1.4)
    ctx.move_to(0, 0)
    ctx.line_to(0, 6)
    ctx.stroke()
    ink.fill_ink(ctx, ink.poly_path([(-1.5, 5), (1.5, 5), (3.2, 15), (0, 16.5), (-3.2, 15)]), rim=False)
    ctx.restore()

    # Paper body: ink when cold, lit from within when burning.
    ink.fill_ink(ctx, _lantern_body, rim_width=2.0)
    if lit > 0:
        ctx.save()
        _lantern_body(ctx)
        ctx.clip()
        mid = LANTERN_CENTRE + 3
        g = cairo.RadialGradient(0, mid, 0, 0, mid, 22)
        g.add_color_stop_rgb(0, *LIT_CORE)
        g.add_color_stop_rgb(0.45, *LIT_MID)
        g.add_color_stop_rgb(1, *LIT_EDGE)
        ctx.set_source(g)
        if lit < 1:
            # Light spreads through the paper outward from the wick.
            reach = 8 + 34 * lit
            m = cairo.RadialGradient(0, mid + 4, 0, 0, mid + 4, reach)
            m.add_color_stop_rgba(0, 0, 0, 0, min(1.0, 3 * lit))
            m.add_color_stop_rgba(0.6, 0, 0, 0, lit)
            m.add_color_stop_rgba(1, 0, 0, 0, 0)
            ctx.mask(m)
        else:
            ctx.paint()
        if glow > 1:
            ctx.set_source_rgba(*LIT_CORE, min(0.6, (glow - 1) * 1.5))
            ctx.paint()
        ctx.restore()
    if flame > 0:
        # The wick catches: a point of light showing through the paper.
        ctx.save()
        _lantern_body(ctx)
        ctx.clip()
        ink.radial_disc(ctx, 0, LANTERN_CENTRE + 6, 4 + 10 * flame,
                [(0, LIT_CORE, flame), (0.4, LIT_MID, 0.7 * flame), (1, LIT_EDGE, 0)])
        ctx.restore()

    # Ribs: faint on cold paper, dark shadows on lit paper.
    if lit > 0:
        rib = INK
        rib_alpha = 0.25 + 0.35 * lit
    else:
        rib = ink.mix(INK, RIM_SOFT, 0.22)
        rib_alpha = 1.0
    ctx.set_line_width(1.0)
    for y in (19.5, 25.5, 31.5, 37.5, 43.5, 49.5):
        w = _lantern_half_width(y) - 0.8
        ctx.move_to(-w, y)
        ctx.curve_to(-w * 0.5, y + 1.4, w * 0.5, y + 1.4, w, y)
        ctx.set_source_rgba(*rib, rib_alpha)
        ctx.stroke()

    # A brush circle, left open, shows only against the light.
    if lit > 0:
        ctx.set_source_rgba(*INK, 0.85 * lit)
        steps = 24
        for k in range(steps):
            a0 = math.radians(-45 + 315 * k / steps)
            a1 = math.radians(-45 + 315 * (k + 1) / steps)
            ctx.set_line_width(0.8 + 2.2 * math.sin(math.pi * (k + 0.5) / steps) ** 0.6)
            ctx.arc(0, LANTERN_CENTRE + 0.5, 6.8, a0, a1)
            ctx.stroke()

    # Caps.
    ink.fill_ink(ctx, ink.rounded_path(-8.5, 9.5, 17, 5.5, 1.5), rim_width=1.5)
    ink.fill_ink(ctx, ink.rounded_path(-7.5, LANTERN_BOTTOM - 1, 15, 5, 1.5), rim_width=1.2)
    ctx.restore()

    for x, y, size, alpha in embers:
        ink.radial_disc(ctx, x, y, size * 2.6, [(0, LIT_MID, 0.5 * alpha), (1, LIT_MID, 0)])
        ink.radial_disc(ctx, x, y, size, [(0, LIT_CORE, alpha), (1, LIT_CORE, 0)])


SWAY_COLD = 2.4       # degrees, a breath of wind on a still lantern
SWAY_LIT = 2.8
TASSEL_EXTRA = 2.5
TASSEL_LAG = 0.7      # radians behind the lantern


def _flicker(t, period):
    """Candle flicker, periodic with the loop so it never jumps."""
    w = TAU / period
    return 1.0 + 0.045 * math.sin(3 * w * t) + 0.03 * math.sin(7 * w * t + 1.3) + 0.02 * math.sin(11 * w * t + 0.4)


def _cp_inactive(ctx, i, *_):
    frames, _ = CP_INACTIVE
    phase = TAU * i / frames
    sway = SWAY_COLD * math.sin(phase)
    tassel = (SWAY_COLD + TASSEL_EXTRA) * math.sin(phase - TASSEL_LAG)
    # The game draws the cold sheet one pixel further up and left than the
    # lit ones (multi-frame sheets lose their first row and column), so
    # shift it back to keep the post standing still when it lights.
    ctx.translate(1, 1)
    _checkpoint_frame(ctx, sway, tassel, 0.0)


def _cp_active(ctx, i, *_):
    frames, ft = CP_ACTIVE
    period = frames * ft
    t = i * ft
    phase = TAU * i / frames
    sway = SWAY_LIT * math.sin(phase)
    tassel = (SWAY_LIT + TASSEL_EXTRA) * math.sin(phase - TASSEL_LAG)
    _checkpoint_frame(ctx, sway, tassel, _flicker(t, period))


def _ember_track(k, rnd):
    start = 0.22 + 0.05 * k + rnd.uniform(-0.02, 0.02)
    drift = rnd.uniform(-14, 14)
    rise = rnd.uniform(30, 42)
    size = rnd.uniform(1.2, 2.0)
    return start, drift, rise, size


def _cp_activation():
    frames, ft = CP_ACTIVATION
    active_frames, active_ft = CP_ACTIVE
    period = active_frames * active_ft
    end = (frames - 1) * ft
    rnd = ink.rng("misc_cp_activation")
    tracks = [_ember_track(k, rnd) for k in range(7)]

    def draw(ctx, i, *_):
        t = i * ft
        u = i / (frames - 1)
        # The touch sets the lantern swinging; the extra swing dies away so
        # the last frame hands over to the burning loop mid-stride.
        kick = 7.0 * math.sin(math.pi * u) * (1 - u) ** 0.5
        phase = TAU * (t - end) / period
        sway = (SWAY_LIT + kick) * math.sin(phase)
        tassel = (SWAY_LIT + TASSEL_EXTRA + kick * 1.4) * math.sin(phase - TASSEL_LAG)
        flame = _smooth(0.0, 0.3, u) * (1 - _smooth(0.3, 0.5, u))
        glow = _smooth(0.1, 0.55, u) * _flicker(0.0, period)
        glow += 0.45 * math.exp(-((u - 0.5) / 0.13) ** 2) * _smooth(0.1, 0.3, u) * (u < 1)
        embers = []
        a = math.radians(sway)
        # Embers leave through the top opening of the lantern.
        top_x = PIVOT[0] - math.sin(a) * (LANTERN_TOP + 2)
        top_y = PIVOT[1] + math.cos(a) * (LANTERN_TOP + 2)
        for start, drift, rise, size in tracks:
            s = (u - start) / 0.3
            if 0 <= s <= 1:
                x = top_x + drift * s + 3 * math.sin(6 * s + drift)
                y = top_y - rise * s
                embers.append((x, y, size * (1 - 0.4 * s), (1 - s) ** 1.5))
        _checkpoint_frame(ctx, sway, tassel, glow, flame, embers)

    return draw


def checkpoint_hitbox():
    """The whole post and lantern, as far as a swing can carry it."""
    left = BASE[0]
    right = PIVOT[0] + LANTERN_RX + 3
    top = ROOF[2][1]
    return {"x": left, "y": top, "width": right - left, "height": GROUND - top}


# --------------------------------------------------------------------------
# Scroll: a rolled letter of warm paper with ink rollers, lit softly so it
# reads against any background.

SCROLL_W, SCROLL_H = 64, 64
SCROLL_TILT = -24.0                 # degrees
SCROLL_LEN, SCROLL_R = 38.0, 8.5    # paper roll length and radius
KNOB_LEN, KNOB_R = 5.0, 3.6


def scroll_surface(grey=False):
    """The scroll on its own image; grey is the not-yet-found icon, drawn
    from the same shape without its light."""
    s, ctx = ink.surface(SCROLL_W, SCROLL_H)
    paper = PAPER
    paper_dark = PAPER_DARK
    glow = (1.0, 0.84, 0.56)
    light = RIM
    if grey:
        paper, paper_dark, light = (0.62, 0.62, 0.64), (0.42, 0.42, 0.45), (0.58, 0.58, 0.62)

    cx, cy = SCROLL_W / 2, SCROLL_H / 2
    if not grey:
        ink.radial_disc(ctx, cx, cy, 31, [(0, glow, 0.42), (0.55, glow, 0.16), (1, glow, 0)])

    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(math.radians(SCROLL_TILT))
    half = SCROLL_LEN / 2

    # The far roller end, behind the roll.
    ink.fill_ink(ctx, ink.rounded_path(-half - KNOB_LEN, -KNOB_R, KNOB_LEN + 2, 2 * KNOB_R, 1.6),
                 rim_width=1.5, light=light)

    # The roll: shaded across its diameter so it reads round.
    body = ink.rounded_path(-half, -SCROLL_R, SCROLL_LEN, 2 * SCROLL_R, 2.0)
    ctx.save()
    body(ctx)
    g = cairo.LinearGradient(0, -SCROLL_R, 0, SCROLL_R)
    g.add_color_stop_rgb(0, *ink.mix(paper, (1, 1, 1), 0.35))
    g.add_color_stop_rgb(0.3, *paper)
    g.add_color_stop_rgb(0.8, *paper_dark)
    g.add_color_stop_rgb(1, *ink.mix(paper_dark, INK, 0.35))
    ctx.set_source(g)
    ctx.fill()
    ctx.restore()

    # Edge of the outer sheet, and a few brush strokes showing through.
    ctx.set_source_rgba(*ink.mix(paper_dark, INK, 0.4), 0.9)
    ctx.set_line_width(1.0)
    ctx.move_to(-half + 6, -SCROLL_R + 1)
    ctx.curve_to(-half + 9, -2, -half + 8, 3, -half + 6, SCROLL_R - 1)
    ctx.stroke()
    ctx.set_source_rgba(*INK, 0.55)
    ctx.set_line_width(1.3)
    for x, y, w in ((-6, -3.5, 8), (4, -3.0, 5), (-3, 0.5, 11), (-8, 3.8, 6), (1, 4.2, 4)):
        ctx.move_to(x, y)
        ctx.curve_to(x + w * 0.3, y - 0.6, x + w * 0.7, y + 0.6, x + w, y)
        ctx.stroke()

    # Ink cord tied round the middle.
    ink.fill_ink(ctx, ink.rect_path(9, -SCROLL_R - 0.5, 3.2, 2 * SCROLL_R + 1), rim_width=1.2, light=light)
    ink.fill_ink(ctx, ink.poly_path([(10.6, SCROLL_R - 1), (13.5, SCROLL_R + 6), (11, SCROLL_R + 6.5),
                                      (9.5, SCROLL_R)]), rim=False)
    ink.fill_ink(ctx, ink.poly_path([(10.6, SCROLL_R - 1), (7.5, SCROLL_R + 7), (5.5, SCROLL_R + 5.5),
                                      (9.0, SCROLL_R - 1)]), rim=False)

    # End face of the roll: the paper spiral round the roller.
    ctx.save()
    ctx.translate(half, 0)
    ctx.scale(0.42, 1)
    ctx.arc(0, 0, SCROLL_R, 0, TAU)
    ctx.set_source_rgb(*paper_dark)
    ctx.fill()
    ctx.set_source_rgb(*ink.mix(paper_dark, INK, 0.45))
    ctx.set_line_width(0.9)
    for r in (SCROLL_R - 2.2, SCROLL_R - 4.4):
        ctx.arc(0, 0, r, 0, TAU)
        ctx.stroke()
    ctx.restore()
    # The near roller end comes out of the middle of the spiral.
    ink.fill_ink(ctx, ink.rounded_path(half - 1, -KNOB_R, KNOB_LEN + 1, 2 * KNOB_R, 1.6), rim_width=1.5, light=light)
    ctx.restore()
    return s


def scroll_hitbox():
    """Box round the tilted roll, rollers included, a little inside it."""
    a = math.radians(SCROLL_TILT)
    half = SCROLL_LEN / 2 + KNOB_LEN
    hx = abs(math.cos(a)) * half + abs(math.sin(a)) * SCROLL_R
    hy = abs(math.sin(a)) * half + abs(math.cos(a)) * SCROLL_R
    hx -= 2
    hy -= 2
    return {"x": SCROLL_W / 2 - hx, "y": SCROLL_H / 2 - hy, "width": 2 * hx, "height": 2 * hy}


# --------------------------------------------------------------------------
# Fireworks: a small ink rocket on a spark trail, and four bursts.

ROCKET_W, ROCKET_H = 57, 149
ROCKET_FRAMES, ROCKET_FT = 8, 0.03
NOZZLE_Y = 50.0                # the nose is the frame's top edge: bursts sit there

SPARK_HOT = (1.0, 0.97, 0.82)
SPARK_WARM = (1.0, 0.74, 0.30)
SPARK_COOL = (0.86, 0.28, 0.16)


def _rocket_body(ctx):
    cx = ROCKET_W / 2
    ctx.move_to(cx, 2.5)
    ctx.curve_to(cx + 3, 6, cx + 5.5, 11, cx + 5.5, 16)
    ctx.line_to(cx + 5.5, 40)
    ctx.line_to(cx + 10.5, 49)
    ctx.line_to(cx + 5, 46.5)
    ctx.line_to(cx + 4, NOZZLE_Y)
    ctx.line_to(cx - 4, NOZZLE_Y)
    ctx.line_to(cx - 5, 46.5)
    ctx.line_to(cx - 10.5, 49)
    ctx.line_to(cx - 5.5, 40)
    ctx.line_to(cx - 5.5, 16)
    ctx.curve_to(cx - 5.5, 11, cx - 3, 6, cx, 2.5)
    ctx.close_path()


def _rocket_sheet():
    rnd = ink.rng("pfx_rocket")
    sparks = []
    for k in range(26):
        sparks.append((k / 26 + rnd.uniform(-0.015, 0.015), rnd.uniform(-1, 1), rnd.uniform(0, TAU)))

    def draw(ctx, i, *_):
        cx = ROCKET_W / 2
        loop = i / ROCKET_FRAMES
        # Nozzle fire, pulsing with the loop.
        pulse = 1 + 0.12 * math.sin(TAU * 2 * loop) + 0.06 * math.sin(TAU * 3 * loop + 1)
        ink.radial_disc(ctx, cx, NOZZLE_Y + 6, 20 * pulse, [(0, SPARK_WARM, 0.55), (0.5, SPARK_COOL, 0.18), (1, SPARK_COOL, 0)])
        ink.radial_disc(ctx, cx, NOZZLE_Y + 4, 7 * pulse, [(0, SPARK_HOT, 1.0), (0.6, SPARK_WARM, 0.7), (1, SPARK_WARM, 0)])
        # Sparks stream back from the nozzle and cool as they go; each wraps
        # round the loop so the trail never jumps.
        for offset, side, wob in sparks:
            s = (loop + offset) % 1.0
            y = NOZZLE_Y + 4 + 92 * s ** 1.1
            x = cx + side * (1.5 + 13 * s) + 1.5 * math.sin(wob + TAU * 2 * loop)
            heat = 1 - s
            colour = ink.mix(SPARK_COOL, SPARK_WARM, min(1, heat * 1.6)) if heat < 0.62 else \
                ink.mix(SPARK_WARM, SPARK_HOT, (heat - 0.62) / 0.38)
            alpha = heat ** 1.3
            size = 0.9 + 1.6 * heat
            tail = 4 + 8 * heat
            ctx.set_line_cap(cairo.LINE_CAP_ROUND)
            ctx.set_line_width(size)
            g = cairo.LinearGradient(x, y - tail, x, y)
            g.add_color_stop_rgba(0, *colour, 0)
            g.add_color_stop_rgba(1, *colour, alpha)
            ctx.set_source(g)
            ctx.move_to(x - side * 1.2, y - tail)
            ctx.line_to(x, y)
            ctx.stroke()
            ink.radial_disc(ctx, x, y, size * 2.6, [(0, colour, 0.35 * alpha), (1, colour, 0)])
        ink.fill_ink(ctx, _rocket_body, rim_width=1.6)

    return ink.sheet(ROCKET_W, ROCKET_H, ROCKET_FRAMES, 1, draw)


BURST_W, BURST_H = 605, 619
BURST_COLUMNS, BURST_ROWS = 6, 5      # whole sheet plays once; 6 x 605 fits 4096
BURST_FT = 0.03

BURSTS = {
    # reach: star travel in pixels; drag: seconds for the push to die down;
    # fall: how far stars sink by the end; trail: seconds of path each star
    # drags behind it; ring: inner shell as a fraction of reach (0: none);
    # glitter: stars shed twinkling sparks along their trails; split: stars
    # crack into small sparks as they burn out.
    "blue": ((0.40, 0.64, 1.0), dict(rays=64, reach=235, drag=0.15, fall=30, trail=0.12, ring=0.5, glitter=0, split=0)),
    "green": ((0.45, 1.0, 0.55), dict(rays=44, reach=185, drag=0.20, fall=85, trail=0.34, ring=0.0, glitter=0, split=0)),
    "pink": ((1.0, 0.48, 0.80), dict(rays=40, reach=205, drag=0.14, fall=35, trail=0.10, ring=0.0, glitter=0, split=1)),
    "yellow": ((1.0, 0.85, 0.38), dict(rays=60, reach=225, drag=0.16, fall=40, trail=0.16, ring=0.0, glitter=1, split=0)),
}
BURST_MARGIN = 10         # stars and their glow stay this far inside the frame
SPLIT_REACH = 26


def _burst_sheet(name, colour, style):
    rnd = ink.rng("pfx_firework_" + name)
    frames = BURST_COLUMNS * BURST_ROWS
    # The sheet plays once and the rocket is removed on its last frame, so
    # everything has burned out by then.
    last = (frames - 1) * BURST_FT
    cx, cy = BURST_W / 2, BURST_H / 2
    drag, fall = style["drag"], style["fall"]
    glow_r = 5.0 * 4.2
    room_x = cx - BURST_MARGIN - glow_r
    room_y = cy - BURST_MARGIN - glow_r - fall
    reach_max = style["reach"] * 1.04 + (SPLIT_REACH if style["split"] else 0)
    assert reach_max <= min(room_x, room_y), name

    stars = []
    n = style["rays"]
    for k in range(n):
        ang = TAU * (k + rnd.uniform(-0.3, 0.3)) / n
        reach = style["reach"] * rnd.uniform(0.86, 1.04)
        life = last * rnd.uniform(0.84, 1.0)
        stars.append((ang, reach, life, rnd.random() * 1000))
    if style["ring"]:
        m = n // 2
        for k in range(m):
            ang = TAU * (k + 0.5 + rnd.uniform(-0.2, 0.2)) / m
            reach = style["reach"] * style["ring"] * rnd.uniform(0.96, 1.02)
            life = last * rnd.uniform(0.6, 0.8)
            stars.append((ang, reach, life, rnd.random() * 1000))

    hot = ink.mix(colour, (1, 1, 1), 0.72)
    deep = ink.mix(colour, (0.25, 0.12, 0.3), 0.35)

    def pos(ang, reach, t):
        r = reach * (1 - math.exp(-t / drag))
        # Stars sink once the shell's push is spent.
        sink = fall * (max(0.0, t - drag) / (last - drag)) ** 2
        return cx + r * math.cos(ang), cy + r * math.sin(ang) + sink

    def twinkle(seed, t):
        return 0.5 + 0.5 * math.sin(seed + t * 55.0) * math.sin(seed * 1.7 + t * 31.0)

    def draw(ctx, i, *_):
        t = i * BURST_FT
        # The break lights the sky: a white flash, then a coloured bloom
        # that spreads and fades with the stars.
        flash = math.exp(-t / 0.05)
        bloom = (1 - math.exp(-(t + 0.02) / 0.05)) * math.exp(-t / 0.25) * (1 - _smooth(0.5 * last, last, t))
        ink.radial_disc(ctx, cx, cy, 120 + 160 * (1 - math.exp(-t / 0.12)),
                [(0, colour, 0.26 * bloom), (0.45, colour, 0.10 * bloom), (1, colour, 0)])
        if flash > 0.02:
            ink.radial_disc(ctx, cx, cy, 40 + 90 * (1 - flash),
                    [(0, (1, 1, 1), flash), (0.35, hot, 0.7 * flash), (1, colour, 0)])
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for ang, reach, life, seed in stars:
            if t >= life:
                continue
            v = t / life
            fade = 1 - _smooth(0.62, 1.0, v)
            if style["glitter"] and v > 0.4:
                fade *= 0.45 + 0.55 * twinkle(seed, t)
            heat = max(0.0, 1 - v * 2.0)
            c = ink.mix(colour, hot, heat) if v < 0.65 else ink.mix(colour, deep, (v - 0.65) / 0.35)
            # The path the star has flown lately, fading back from the head.
            t0 = max(0.0, t - style["trail"])
            pts = [pos(ang, reach, t0 + (t - t0) * j / 8) for j in range(9)]
            for width, strength in ((5.0, 0.22), (1.8, 0.85)):
                ctx.set_line_width(width)
                for j in range(8):
                    ctx.set_source_rgba(*c, strength * fade * ((j + 1) / 8) ** 1.5)
                    ctx.move_to(*pts[j])
                    ctx.line_to(*pts[j + 1])
                    ctx.stroke()
            if style["glitter"]:
                for j in range(1, 8):
                    sparkle = twinkle(seed + j * 13.1, t)
                    if sparkle > 0.55:
                        x, y = pts[j]
                        ink.radial_disc(ctx, x, y + 3 * (8 - j) / 8, 2.6,
                                [(0, hot, fade * sparkle), (1, hot, 0)])
            head = pos(ang, reach, t)
            if style["split"] and v > 0.6:
                # The star cracks: the head gives way to three small sparks.
                w = (v - 0.6) / 0.4
                spread = SPLIT_REACH * (1 - math.exp(-w * 4))
                for j in range(3):
                    b = ang + (j - 1) * 0.9 + math.sin(seed + j) * 0.3
                    x = head[0] + spread * math.cos(b)
                    y = head[1] + spread * math.sin(b)
                    f = fade * (0.6 + 0.4 * twinkle(seed + j * 7.3, t))
                    ink.radial_disc(ctx, x, y, 9, [(0, c, 0.4 * f), (1, c, 0)])
                    ink.radial_disc(ctx, x, y, 2.6, [(0, (1, 1, 1), f), (0.6, hot, 0.8 * f), (1, c, 0)])
                fade *= 1 - w
            size = 3.0 + 2.0 * heat
            ink.radial_disc(ctx, head[0], head[1], size * 4.2, [(0, c, 0.5 * fade), (0.35, c, 0.16 * fade), (1, c, 0)])
            ink.radial_disc(ctx, head[0], head[1], size, [(0, (1, 1, 1), fade), (0.5, hot, 0.9 * fade), (1, c, 0)])

    return ink.sheet(BURST_W, BURST_H, BURST_COLUMNS, BURST_ROWS, draw)


# --------------------------------------------------------------------------

def build(data_dir):
    misc = os.path.join(data_dir, "Graphics", "Misc")
    pfx = os.path.join(data_dir, "Graphics", "Particles")
    values = os.path.join(data_dir, "Values", "Misc Collisions")

    frames, _ = CP_INACTIVE
    ink.save(ink.sheet(CP_W, CP_H, frames, 1, _cp_inactive), os.path.join(misc, "misc_cp_inactive.png"))
    frames, _ = CP_ACTIVATION
    ink.save(ink.sheet(CP_W, CP_H, frames, 1, _cp_activation()), os.path.join(misc, "misc_cp_activation.png"))
    frames, _ = CP_ACTIVE
    ink.save(ink.sheet(CP_W, CP_H, frames, 1, _cp_active), os.path.join(misc, "misc_cp_active.png"))
    ink.write_hitboxes(os.path.join(values, "Checkpoint.hitbox.xml"), [checkpoint_hitbox()])

    ink.save(scroll_surface(), os.path.join(misc, "misc_scroll.png"))
    ink.write_hitboxes(os.path.join(values, "Scroll.hitbox.xml"), [scroll_hitbox()])

    ink.save(_rocket_sheet(), os.path.join(pfx, "pfx_rocket.png"))
    for name, (colour, style) in BURSTS.items():
        ink.save(_burst_sheet(name, colour, style), os.path.join(pfx, "pfx_firework_%s.png" % name))
