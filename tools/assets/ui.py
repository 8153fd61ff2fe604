"""The interface: menu panels, the HUD, the title picture with its turning
sun, logos, the loading picture, credits portraits, the tutorial signs and
the window icon. Panels are warm parchment in ink-brush frames with a red
seal; their sizes follow where the menus place their texts and icons."""

import math
import os

import cairo

import font
import ink
import objects
from ink import INK, PAPER, PAPER_DARK, RIM, SEAL, SCARF

TAU = 2 * math.pi
PAPER_LIGHT = (0.97, 0.92, 0.80)
WASH = (0.55, 0.50, 0.52)          # thinned ink for distant shapes

# Panel sizes. The menu panel holds the level list (icons at x 460), the
# options' values (to x 510) and BACK at y 450; the finish panel the links
# at x 480 and the run time at (175, 180); the HUD the run time at (113, 43).
MENU_W, MENU_H = 580, 540
FINISH_W, FINISH_H = 900, 300
HUD_W, HUD_H = 300, 112
HUD_SLOT = (56, 52)                # where the HUD shows the scroll
PORTRAIT = 170                     # fits above the credits text at every page's place
SIGN_W, SIGN_H = 320, 256
LOGO = 460


# -------------------------------------------------------------- brushwork

def brush(ctx, points, width, rnd, colour=INK, alpha=1.0, taper=(0.35, 0.2)):
    """One brush stroke along a polyline: a filled outline whose width swells
    and tapers at both ends, with a little tremor."""
    pts = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        n = max(2, int(math.hypot(x1 - x0, y1 - y0) / 6))
        for i in range(n):
            t = i / n
            pts.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t))
    pts.append(points[-1])
    if len(pts) < 3:
        return
    count = len(pts)
    left, right = [], []
    raw = [rnd.uniform(-0.3, 0.3) for _ in range(count)]
    # Smoothed, so the edge trembles rather than saws.
    wobble = [sum(raw[max(0, i - 2):i + 3]) / len(raw[max(0, i - 2):i + 3]) for i in range(count)]
    for i, (x, y) in enumerate(pts):
        a = pts[max(0, i - 1)]
        b = pts[min(count - 1, i + 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        d = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / d, dx / d
        t = i / (count - 1)
        w = width * (1 + wobble[i])
        if t < taper[0]:
            w *= 0.35 + 0.65 * math.sin(t / taper[0] * math.pi / 2)
        if t > 1 - taper[1]:
            w *= 0.15 + 0.85 * math.sin((1 - t) / taper[1] * math.pi / 2)
        left.append((x + nx * w / 2, y + ny * w / 2))
        right.append((x - nx * w / 2, y - ny * w / 2))
    ink.poly_path(left + right[::-1])(ctx)
    ctx.set_source_rgba(*colour, alpha)
    ctx.fill()


def arc_points(cx, cy, r, a0, a1, n=48, squash=1.0):
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n), cy + squash * r * math.sin(a0 + (a1 - a0) * i / n))
            for i in range(n + 1)]


def enso(ctx, cx, cy, r, width, rnd, colour=INK, alpha=1.0):
    """The open brush circle: starts heavy, thins out, leaves a gap."""
    start = math.radians(-60)
    brush(ctx, arc_points(cx, cy, r, start, start + math.radians(330), 90), width, rnd, colour, alpha,
          taper=(0.08, 0.35))
    # Dry-brush streaks inside the stroke's tail.
    for k in range(3):
        rr = r + (k - 1) * width * 0.22
        brush(ctx, arc_points(cx, cy, rr, start + math.radians(200), start + math.radians(325 - 12 * k), 40),
              width * 0.12, rnd, colour, alpha * 0.8, taper=(0.2, 0.5))


def rough_rect(x, y, w, h, rnd, jitter=2.0, step=24):
    """A rectangle whose edges wander a little, like torn paper."""
    pts = []
    for (ax, ay), (bx, by) in (((x, y), (x + w, y)), ((x + w, y), (x + w, y + h)),
                               ((x + w, y + h), (x, y + h)), ((x, y + h), (x, y))):
        n = max(1, int(math.hypot(bx - ax, by - ay) / step))
        for i in range(n):
            t = i / n
            j = 0 if i == 0 else rnd.uniform(-jitter, jitter)
            ex, ey = (by - ay), -(bx - ax)
            d = math.hypot(ex, ey)
            pts.append((ax + (bx - ax) * t + ex / d * j, ay + (by - ay) * t + ey / d * j))
    return ink.poly_path(pts)


def parchment(ctx, path_fn, x, y, w, h, rnd, burn=True):
    """Warm paper: a soft gradient, a few fibres, edges darkened by age."""
    ctx.save()
    path_fn(ctx)
    ctx.clip()
    g = cairo.LinearGradient(x, y, x + w * 0.3, y + h)
    g.add_color_stop_rgb(0, *PAPER_LIGHT)
    g.add_color_stop_rgb(0.6, *PAPER)
    g.add_color_stop_rgb(1, *ink.mix(PAPER, PAPER_DARK, 0.4))
    ctx.set_source(g)
    ctx.paint()
    for _ in range(int(w * h / 2500)):
        fx, fy = rnd.uniform(x, x + w), rnd.uniform(y, y + h)
        length, angle = rnd.uniform(6, 22), rnd.uniform(-0.5, 0.5)
        ctx.move_to(fx, fy)
        ctx.rel_line_to(length * math.cos(angle), length * math.sin(angle))
        ctx.set_source_rgba(*PAPER_DARK, rnd.uniform(0.12, 0.3))
        ctx.set_line_width(rnd.uniform(0.6, 1.4))
        ctx.stroke()
    if burn:
        path_fn(ctx)
        ctx.set_source_rgba(*ink.mix(PAPER_DARK, (0.45, 0.28, 0.15), 0.5), 0.55)
        ctx.set_line_width(14)
        ctx.stroke()
        path_fn(ctx)
        ctx.set_source_rgba(*ink.mix(PAPER_DARK, (0.45, 0.28, 0.15), 0.5), 0.35)
        ctx.set_line_width(30)
        ctx.stroke()
    ctx.restore()


def shadowed_parchment(ctx, sheet, x, y, w, h, rnd, shadow, darkness=0.25):
    """Paper lying a little above the scene: its shadow first, offset by `shadow`."""
    ctx.save()
    ctx.translate(*shadow)
    sheet(ctx)
    ctx.set_source_rgba(0, 0, 0, darkness)
    ctx.fill()
    ctx.restore()
    parchment(ctx, sheet, x, y, w, h, rnd)


def brush_frame(ctx, x, y, w, h, rnd, width=5.0):
    """An ink frame of four loose strokes that overshoot at the corners."""
    o = 6
    brush(ctx, [(x - o, y + 1), (x + w * 0.5, y - 1), (x + w + o, y + 1)], width, rnd)
    brush(ctx, [(x + w + 1, y - o), (x + w - 1, y + h * 0.5), (x + w + 1, y + h + o)], width, rnd)
    brush(ctx, [(x + w + o, y + h - 1), (x + w * 0.5, y + h + 1), (x - o, y + h)], width, rnd)
    brush(ctx, [(x - 1, y + h + o), (x + 1, y + h * 0.5), (x, y - o)], width, rnd)


def seal(ctx, cx, cy, size, rnd, angle=-0.05):
    """The red seal: a square stamp with a worn edge and a carved mark."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    h = size / 2
    rough_rect(-h, -h, size, size, rnd, jitter=size * 0.025, step=max(4, size / 6))(ctx)
    ctx.set_source_rgba(*SEAL, 0.92)
    ctx.fill()
    ctx.set_source_rgba(*PAPER_LIGHT, 0.95)
    ctx.set_line_width(size * 0.07)
    ctx.rectangle(-h * 0.72, -h * 0.72, size * 0.72, size * 0.72)
    ctx.stroke()
    # The carved mark: the crest's four blades.
    _star(ctx, 0, 0, h * 0.5, h * 0.14, 4, 0.0)
    ctx.fill()
    ctx.restore()


def _star(ctx, cx, cy, outer, inner, points, rotation):
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = rotation + i * math.pi / points - math.pi / 2
        (ctx.line_to if i else ctx.move_to)(cx + r * math.cos(a), cy + r * math.sin(a))
    ctx.close_path()


def shuriken(ctx, cx, cy, r, rotation=0.0, light=RIM, hole=PAPER):
    """The crest: a four-bladed star in ink with its light, a hole of `hole`."""
    def blades(c):
        c.save()
        c.translate(cx, cy)
        c.rotate(rotation)
        for i in range(4):
            c.rotate(math.pi / 2)
            c.move_to(0, -r * 0.28)
            c.curve_to(r * 0.12, -r * 0.5, r * 0.14, -r * 0.8, 0, -r)
            c.curve_to(-r * 0.18, -r * 0.6, -r * 0.36, -r * 0.34, -r * 0.3, -r * 0.05)
            c.close_path()
        c.arc(0, 0, r * 0.33, 0, TAU)
        c.restore()
    ctx.save()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    ink.fill_ink(ctx, blades, rim_width=max(1.0, r * 0.05), light=light)
    ctx.restore()
    ctx.arc(cx, cy, r * 0.11, 0, TAU)
    if hole is None:
        ctx.save()
        ctx.set_operator(cairo.OPERATOR_CLEAR)
        ctx.fill()
        ctx.restore()
    else:
        ctx.set_source_rgb(*hole)
        ctx.fill()


def text(ctx, s, x, y, size, colour=INK, align=0.0, alpha=1.0, weight=cairo.FONT_WEIGHT_BOLD):
    """Bebas Neue, x at the left (align 0), centre (0.5) or right (1), y the baseline."""
    ctx.select_font_face(font.FAMILY, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)
    ctx.set_font_options(font.options())
    e = ctx.text_extents(s)
    ctx.move_to(x - align * e.x_advance, y)
    ctx.set_source_rgba(*colour, alpha)
    ctx.show_text(s)
    return e


def roller(ctx, x, y, w, h, vertical=False):
    """A scroll's wooden roller with knobbed ends, in ink with its light."""
    ink.fill_ink(ctx, ink.rounded_path(x, y, w, h, min(w, h) / 2.2), rim_width=2.0)
    ctx.set_source_rgba(*SEAL, 0.9)
    if vertical:
        ctx.rectangle(x + 2, y + h * 0.5 - 3, w - 4, 6)
    else:
        ctx.rectangle(x + w * 0.5 - 3, y + 2, 6, h - 4)
    ctx.fill()


# ---------------------------------------------------------------- pieces

def cursor_surface():
    s, ctx = ink.surface(64, 64)
    # Tipped so a blade points at the top-left corner.
    shuriken(ctx, 32, 32, 29, rotation=math.radians(45), hole=None)
    ctx.arc(32, 32, 5, 0, TAU)
    ctx.set_source_rgb(*SEAL)
    ctx.fill()
    return s


def menu_surface():
    rnd = ink.rng("ui_menu_bg")
    s, ctx = ink.surface(MENU_W, MENU_H)
    sheet = rough_rect(14, 20, MENU_W - 28, MENU_H - 40, rnd, jitter=1.5)
    shadowed_parchment(ctx, sheet, 14, 20, MENU_W - 28, MENU_H - 40, rnd, shadow=(3, 5))
    brush_frame(ctx, 34, 44, MENU_W - 68, MENU_H - 88, rnd)
    # A thin second line inside the frame, broken like a hurried stroke.
    brush(ctx, [(48, 58), (MENU_W * 0.4, 57), (MENU_W * 0.62, 58)], 1.6, rnd, alpha=0.6)
    brush(ctx, [(MENU_W * 0.4, MENU_H - 57), (MENU_W - 48, MENU_H - 58)], 1.6, rnd, alpha=0.6)
    roller(ctx, 2, 4, MENU_W - 4, 22)
    roller(ctx, 2, MENU_H - 26, MENU_W - 4, 22)
    seal(ctx, 50, MENU_H - 82, 30, rnd)
    return s


def finisher_surface():
    rnd = ink.rng("ui_menu_bg_finisher")
    s, ctx = ink.surface(FINISH_W, FINISH_H)
    sheet = rough_rect(20, 12, FINISH_W - 40, FINISH_H - 24, rnd, jitter=1.5)
    shadowed_parchment(ctx, sheet, 20, 12, FINISH_W - 40, FINISH_H - 24, rnd, shadow=(4, 5))
    brush_frame(ctx, 44, 30, FINISH_W - 88, FINISH_H - 60, rnd)
    # A pale ensō round the scroll icon (at 300, 130) and a rule under the time.
    enso(ctx, 300, 130, 62, 14, rnd, colour=PAPER_DARK, alpha=0.75)
    brush(ctx, [(160, 252), (330, 249), (470, 253)], 5, rnd, colour=SEAL, alpha=0.85)
    roller(ctx, 4, 2, 24, FINISH_H - 4, vertical=True)
    roller(ctx, FINISH_W - 28, 2, 24, FINISH_H - 4, vertical=True)
    seal(ctx, 82, 66, 30, rnd, angle=0.06)
    return s


def _hud_base(ctx, rnd):
    sheet = ink.poly_path([(6, -4), (HUD_W - 4, -4), (HUD_W - 4, HUD_H - 18), (HUD_W - 30, HUD_H - 12),
                           (HUD_W * 0.55, HUD_H - 16), (HUD_W * 0.3, HUD_H - 10), (22, HUD_H - 14),
                           (6, HUD_H - 20)])
    shadowed_parchment(ctx, sheet, 6, 0, HUD_W - 10, HUD_H - 10, rnd, shadow=(2, 4), darkness=0.3)
    brush(ctx, [(10, HUD_H - 20), (HUD_W * 0.3, HUD_H - 14), (HUD_W * 0.55, HUD_H - 20),
                (HUD_W - 8, HUD_H - 22)], 4, rnd)
    brush(ctx, [(104, 18), (103, 55), (105, 82)], 3, rnd, alpha=0.7)


def hud_surface():
    rnd = ink.rng("ui_ingame_bg")
    s, ctx = ink.surface(HUD_W, HUD_H)
    _hud_base(ctx, rnd)
    # The empty place of the scroll: a faint ink wash of its shape.
    grey = objects.scroll_surface(grey=True)
    ctx.save()
    ctx.translate(*HUD_SLOT)
    ctx.scale(1.1, 1.1)
    ctx.set_source_surface(grey, -32, -32)
    ctx.paint_with_alpha(0.35)
    ctx.restore()
    seal(ctx, HUD_W - 22, 24, 18, rnd)
    return s


def hud_scroll_surface():
    s, ctx = ink.surface(HUD_W, HUD_H)
    ctx.save()
    ctx.translate(*HUD_SLOT)
    ctx.scale(1.1, 1.1)
    ctx.set_source_surface(objects.scroll_surface(), -32, -32)
    ctx.paint()
    ctx.restore()
    return s


def small_scroll(grey):
    s, ctx = ink.surface(48, 48)
    ctx.scale(0.75, 0.75)
    ctx.set_source_surface(objects.scroll_surface(grey=grey), 0, 0)
    ctx.paint()
    return s


# --------------------------------------------------------- title picture

SUN = (384, 570)
# Past about 700 pixels a turned quad comes out garbled in the software
# renderer the headless runs use, so the sun stays under that.
SUN_SIZE = 640


def _mountains(ctx, rnd, base, height, colour, alpha, peaks, x0=-40, x1=1320):
    pts = [(x0, 1100), (x0, base)]
    x = x0
    while x < x1:
        step = rnd.uniform(60, 140)
        peak = rnd.random() < peaks
        pts.append((x + step * 0.5, base - (height * rnd.uniform(0.6, 1.0) if peak else height * rnd.uniform(0.1, 0.35))))
        x += step
        pts.append((x, base - height * rnd.uniform(0.0, 0.2)))
    pts.append((x1, 1100))
    ctx.move_to(*pts[0])
    for i in range(1, len(pts) - 1):
        a, b = pts[i], pts[i + 1]
        ctx.curve_to(a[0] * 0.6 + b[0] * 0.4, a[1], a[0] * 0.4 + b[0] * 0.6, b[1], *b)
    ctx.close_path()
    ctx.set_source_rgba(*colour, alpha)
    ctx.fill()


def title_back_surface():
    """Pale dusk sky: bright enough that the multiplied sun shows through."""
    rnd = ink.rng("ui_mainmenu_bg1")
    s, ctx = ink.surface(1280, 1024)
    g = cairo.LinearGradient(0, 0, 0, 1024)
    g.add_color_stop_rgb(0, 0.86, 0.80, 0.80)
    g.add_color_stop_rgb(0.45, 0.98, 0.90, 0.78)
    g.add_color_stop_rgb(0.7, 1.0, 0.86, 0.66)
    g.add_color_stop_rgb(1, 0.95, 0.72, 0.55)
    ctx.set_source(g)
    ctx.paint()
    # Long cloud strokes in a thin wash.
    for _ in range(9):
        y = rnd.uniform(120, 520)
        x = rnd.uniform(-200, 1100)
        length = rnd.uniform(250, 600)
        brush(ctx, [(x, y), (x + length * 0.5, y - rnd.uniform(-6, 6)), (x + length, y + rnd.uniform(-4, 4))],
              rnd.uniform(6, 16), rnd, colour=(0.72, 0.52, 0.55), alpha=0.35, taper=(0.4, 0.5))
    # The farthest range, barely there.
    _mountains(ctx, rnd, 760, 260, (0.70, 0.58, 0.60), 0.45, 0.5)
    return s


def sun_surface():
    """Multiplied over the picture: white leaves it alone, so the sun and its
    rays are colours that darken the sky towards red, fading to white."""
    s, ctx = ink.surface(SUN_SIZE, SUN_SIZE)
    c = SUN_SIZE / 2
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    rays = 16
    for i in range(rays):
        a0 = i * TAU / rays
        ctx.move_to(c, c)
        ctx.arc(c, c, c, a0, a0 + TAU / rays * 0.5)
        ctx.close_path()
    g = cairo.RadialGradient(c, c, 90, c, c, c - 4)
    g.add_color_stop_rgb(0, 0.98, 0.62, 0.50)
    g.add_color_stop_rgb(0.5, 0.99, 0.82, 0.74)
    g.add_color_stop_rgb(1, 1, 1, 1)
    ctx.set_source(g)
    ctx.fill()
    # A warm halo, then the disc.
    g = cairo.RadialGradient(c, c, 110, c, c, 220)
    g.add_color_stop_rgba(0, 0.95, 0.55, 0.42, 0.8)
    g.add_color_stop_rgba(1, 0.95, 0.55, 0.42, 0.0)
    ctx.set_source(g)
    ctx.arc(c, c, 220, 0, TAU)
    ctx.fill()
    g = cairo.RadialGradient(c - 24, c - 30, 16, c, c, 122)
    g.add_color_stop_rgb(0, 0.90, 0.22, 0.16)
    g.add_color_stop_rgb(1, 0.76, 0.10, 0.10)
    ctx.set_source(g)
    ctx.arc(c, c, 120, 0, TAU)
    ctx.fill()
    return s


def _hero_silhouette(ctx, x, y, k):
    """The hero standing on a crag, scarf streaming: a few ink shapes."""
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(k, k)
    body = ink.poly_path([(-9, 0), (-6, -30), (-11, -58), (-6, -82), (7, -82), (11, -58), (6, -30), (9, 0),
                          (3, 0), (1, -28), (-1, -28), (-3, 0)])
    ink.fill_ink(ctx, body, rim_width=1.8)
    ink.fill_ink(ctx, lambda c: c.arc(0, -92, 11, 0, TAU), rim_width=1.8)
    # Sword across the back.
    ink.fill_ink(ctx, ink.poly_path([(-22, -98), (-19, -101), (20, -58), (17, -55)]), rim=False)
    ctx.restore()
    rnd = ink.rng("hero silhouette")
    brush(ctx, [(x + 4 * k, y - 86 * k), (x + 40 * k, y - 92 * k), (x + 80 * k, y - 80 * k),
                (x + 120 * k, y - 90 * k)], 9 * k, rnd, colour=SCARF, taper=(0.05, 0.6))
    brush(ctx, [(x + 4 * k, y - 84 * k), (x + 36 * k, y - 76 * k), (x + 70 * k, y - 70 * k)], 6 * k, rnd,
          colour=SCARF, taper=(0.05, 0.6))


def _bamboo(ctx, rnd, x, top, bottom, width):
    brush(ctx, [(x, bottom), (x + rnd.uniform(-8, 8), (top + bottom) / 2), (x + rnd.uniform(-14, 14), top)],
          width, rnd, taper=(0.02, 0.1))
    y = bottom - rnd.uniform(40, 80)
    while y > top + 30:
        ctx.rectangle(x - width * 0.7, y, width * 1.4, 3)
        ctx.set_source_rgb(*INK)
        ctx.fill()
        y -= rnd.uniform(70, 110)
    for _ in range(4):
        ly = rnd.uniform(top, top + (bottom - top) * 0.5)
        d = rnd.choice((-1, 1))
        brush(ctx, [(x, ly), (x + d * 40, ly + 12), (x + d * 80, ly + 34)], 12, rnd, taper=(0.3, 0.7))


def title_front_surface():
    """Ink ranges in front of the sun, the hero on a crag, bamboo at the
    edge and the title; the right half is left to the menu panel."""
    rnd = ink.rng("ui_mainmenu_bg2")
    s, ctx = ink.surface(1280, 1024)
    _mountains(ctx, rnd, 700, 160, (0.50, 0.38, 0.44), 0.85, 0.6)
    _mountains(ctx, rnd, 820, 140, (0.30, 0.22, 0.30), 0.95, 0.5)
    # Mist between the ranges.
    for y in (700, 790):
        g = cairo.LinearGradient(0, y - 40, 0, y + 40)
        g.add_color_stop_rgba(0, 1, 0.9, 0.8, 0)
        g.add_color_stop_rgba(0.5, 1, 0.9, 0.8, 0.35)
        g.add_color_stop_rgba(1, 1, 0.9, 0.8, 0)
        ctx.set_source(g)
        ctx.rectangle(0, y - 40, 1280, 80)
        ctx.fill()
    # The near crag the hero stands on.
    crag = ink.poly_path([(-10, 1034), (-10, 860), (120, 842), (260, 800), (330, 796), (372, 812), (420, 860),
                          (560, 900), (760, 930), (1000, 950), (1290, 940), (1290, 1034)])
    ink.fill_ink(ctx, crag, rim_width=3.0)
    _hero_silhouette(ctx, 330, 798, 1.1)
    for x, top, w in ((30, 80, 16), (78, 240, 12), (118, 420, 10), (1248, 520, 12)):
        _bamboo(ctx, rnd, x, top, 1030, w)
    # Title.
    text(ctx, "KUROSHIN", 176, 220, 150, colour=INK)
    brush(ctx, [(170, 246), (380, 240), (640, 248)], 10, rnd, colour=SEAL, taper=(0.1, 0.5))
    seal(ctx, 672, 184, 52, rnd)
    return s


def loading_surface():
    """A parchment sheet with an ink run across the hills; the lower middle
    stays clear for the LOADING text at (500, 850)."""
    rnd = ink.rng("misc_loading_screen")
    s, ctx = ink.surface(1280, 1024)
    parchment(ctx, ink.rect_path(0, 0, 1280, 1024), 0, 0, 1280, 1024, rnd, burn=False)
    g = cairo.RadialGradient(640, 512, 300, 640, 512, 900)
    g.add_color_stop_rgba(0, 0, 0, 0, 0)
    g.add_color_stop_rgba(1, 0.35, 0.2, 0.1, 0.45)
    ctx.set_source(g)
    ctx.paint()
    ctx.arc(900, 300, 120, 0, TAU)
    ctx.set_source_rgba(*SEAL, 0.9)
    ctx.fill()
    # The hills stop at the ground stroke; below it is paper for the label.
    ctx.save()
    ctx.rectangle(0, 0, 1280, 752)
    ctx.clip()
    _mountains(ctx, rnd, 600, 220, WASH, 0.35, 0.5)
    _mountains(ctx, rnd, 700, 150, (0.35, 0.30, 0.33), 0.6, 0.5)
    ctx.restore()
    # A long ground stroke and the hero running along it.
    brush(ctx, [(-20, 760), (300, 740), (700, 752), (1300, 730)], 26, rnd, taper=(0.05, 0.2))
    _runner(ctx, 640, 742, 1.6)
    brush(ctx, [(470, 920), (700, 914), (840, 922)], 6, rnd, colour=SEAL, taper=(0.1, 0.5))
    seal(ctx, 1180, 940, 56, rnd)
    enso(ctx, 130, 140, 70, 14, rnd, alpha=0.85)
    return s


def _runner(ctx, x, y, k):
    """The hero mid-stride, leaning into the run."""
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(k, k)
    rnd = ink.rng("runner")
    torso = [(-4, -40), (6, -62), (14, -80)]
    brush(ctx, torso, 15, rnd, taper=(0.1, 0.1))
    ink.fill_ink(ctx, lambda c: c.arc(18, -92, 10, 0, TAU), rim_width=1.5)
    brush(ctx, [(-4, -40), (16, -24), (10, 0)], 9, rnd, taper=(0.05, 0.2))      # front leg
    brush(ctx, [(-4, -40), (-22, -30), (-38, -40)], 9, rnd, taper=(0.05, 0.2))  # back leg
    brush(ctx, [(10, -74), (26, -62), (38, -70)], 7, rnd, taper=(0.05, 0.3))    # arms
    brush(ctx, [(8, -72), (-8, -62), (-18, -72)], 7, rnd, taper=(0.05, 0.3))
    brush(ctx, [(14, -84), (-20, -90), (-60, -80), (-96, -92)], 7, rnd, colour=SCARF, taper=(0.05, 0.6))
    ctx.restore()


# ------------------------------------------------------------------ logos

def crest(ctx, cx, cy, r, rnd):
    """The game's crest: the four-bladed star on a red sun."""
    ctx.arc(cx, cy, r, 0, TAU)
    ctx.set_source_rgb(*SEAL)
    ctx.fill()
    shuriken(ctx, cx, cy, r * 0.78, rotation=math.radians(12), hole=SEAL)


def studio_logo_surface():
    """An ink ensō round the crest, on a paper disc so it reads on the black
    intro screen and on the parchment credits page alike."""
    rnd = ink.rng("ui_orvel_logo")
    # 460 pixels: a third of it fits between the legal page's title and text.
    s, ctx = ink.surface(LOGO, LOGO)
    ctx.scale(LOGO / 512, LOGO / 512)
    g = cairo.RadialGradient(256, 256, 200, 256, 256, 250)
    g.add_color_stop_rgba(0, *PAPER_LIGHT, 1)
    g.add_color_stop_rgba(0.85, *PAPER, 1)
    g.add_color_stop_rgba(1, *PAPER, 0)
    ctx.set_source(g)
    ctx.arc(256, 256, 250, 0, TAU)
    ctx.fill()
    enso(ctx, 256, 256, 175, 40, rnd)
    crest(ctx, 256, 256, 82, rnd)
    seal(ctx, 392, 400, 40, rnd, angle=0.08)
    return s


def title_logo_surface():
    """KUROSHIN in parchment capitals over a red brush stroke, for black."""
    rnd = ink.rng("ui_pellam_logo")
    s, ctx = ink.surface(900, 300)
    brush(ctx, [(60, 205), (300, 190), (560, 200), (840, 186)], 40, rnd, colour=SEAL, taper=(0.08, 0.4))
    e = text(ctx, "KUROSHIN", 450, 196, 190, colour=PAPER_LIGHT, align=0.5)
    crest(ctx, 450 + e.x_advance / 2 + 48, 88, 30, rnd)
    return s


def icon_surface():
    rnd = ink.rng("icon")
    s, ctx = ink.surface(256, 256)
    ink.rounded_path(8, 8, 240, 240, 36)(ctx)
    ctx.set_source_rgb(*PAPER)
    ctx.fill()
    parchment(ctx, ink.rounded_path(8, 8, 240, 240, 36), 8, 8, 240, 240, rnd)
    enso(ctx, 128, 128, 88, 22, rnd)
    crest(ctx, 128, 128, 50, rnd)
    return s


# -------------------------------------------------------------- portraits

# Six invented team members: each bust differs in hair, headwear and detail.
PORTRAITS = [
    {"hair": "bun", "glasses": False, "band": SEAL, "turn": -1},
    {"hair": "short", "glasses": True, "band": None, "turn": 1},
    {"hair": "hood", "glasses": False, "band": None, "turn": -1},
    {"hair": "long", "glasses": False, "band": SCARF, "turn": 1},
    {"hair": "spiky", "glasses": False, "band": RIM, "turn": -1},
    {"hair": "hat", "glasses": True, "band": None, "turn": 1},
]


def portrait_surface(index):
    p = PORTRAITS[index]
    rnd = ink.rng("ui_portrait_%d" % (index + 1))
    n = PORTRAIT
    s, ctx = ink.surface(n, n)
    c = n / 2
    ctx.arc(c, c, c - 10, 0, TAU)
    g = cairo.RadialGradient(c, c - 20, 10, c, c, c)
    g.add_color_stop_rgb(0, *PAPER_LIGHT)
    g.add_color_stop_rgb(1, *PAPER_DARK)
    ctx.set_source(g)
    ctx.fill()
    ctx.save()
    ctx.arc(c, c, c - 12, 0, TAU)
    ctx.clip()
    t = p["turn"]
    # Shoulders and neck.
    ink.fill_ink(ctx, ink.poly_path([(c - 62, n), (c - 54, 138), (c - 20, 122), (c - 10, 104), (c + 10, 104),
                                     (c + 20, 122), (c + 54, 138), (c + 62, n)]), rim_width=2.5)
    # Head, a little turned.
    head = lambda cc: (cc.save(), cc.translate(c + 3 * t, 80), cc.scale(0.82, 1.0), cc.arc(0, 0, 30, 0, TAU),
                       cc.restore())
    ink.fill_ink(ctx, head, rim_width=2.5)
    hair = p["hair"]
    if hair == "bun":
        ink.fill_ink(ctx, lambda cc: cc.arc(c - 6 * t, 42, 13, 0, TAU), rim_width=2)
        ctx.rectangle(c - 30, 52, 60, 7)
        ctx.set_source_rgb(*p["band"])
        ctx.fill()
    elif hair == "short":
        ink.fill_ink(ctx, ink.poly_path([(c - 27, 70), (c - 22, 50), (c, 46), (c + 24, 52), (c + 28, 72),
                                         (c + 14, 60), (c - 12, 60)]), rim_width=2)
    elif hair == "hood":
        ink.fill_ink(ctx, ink.poly_path([(c - 40, 128), (c - 38, 66), (c - 20, 42), (c + 20, 42), (c + 38, 66),
                                         (c + 40, 128), (c + 26, 116), (c + 26, 76), (c - 26, 76),
                                         (c - 26, 116)]), rim_width=2.5)
        ctx.rectangle(c - 36, 106, 72, 10)
        ctx.set_source_rgb(*SCARF)
        ctx.fill()
    elif hair == "long":
        ink.fill_ink(ctx, ink.poly_path([(c - 30, 130), (c - 32, 70), (c - 18, 48), (c + 18, 48), (c + 32, 70),
                                         (c + 30, 130), (c + 22, 130), (c + 24, 76), (c - 24, 76),
                                         (c - 22, 130)]), rim_width=2.5)
        ctx.rectangle(c - 28, 62, 56, 6)
        ctx.set_source_rgb(*p["band"])
        ctx.fill()
    elif hair == "spiky":
        ink.fill_ink(ctx, ink.poly_path([(c - 30, 72), (c - 38, 52), (c - 20, 56), (c - 16, 36), (c - 2, 52),
                                         (c + 8, 32), (c + 14, 52), (c + 32, 40), (c + 28, 60), (c + 36, 72),
                                         (c + 20, 62), (c - 18, 62)]), rim_width=2)
        brush(ctx, [(c - 28, 66), (c + 28, 66), (c + 50, 74), (c + 66, 70)], 6, rnd, colour=p["band"],
              taper=(0.05, 0.5))
    elif hair == "hat":
        ink.fill_ink(ctx, ink.poly_path([(c - 56, 64), (c, 26), (c + 56, 64), (c + 44, 66), (c, 56),
                                         (c - 44, 66)]), rim_width=2.5)
    # Eyes, catching the light; glasses for some.
    for dx in (-11, 11):
        ctx.rectangle(c + 3 * t + dx - 4, 82, 8, 2.5)
        ctx.set_source_rgb(*RIM)
        ctx.fill()
        if p["glasses"]:
            ctx.arc(c + 3 * t + dx, 83, 8, 0, TAU)
            ctx.set_source_rgb(*RIM)
            ctx.set_line_width(1.6)
            ctx.stroke()
    ctx.restore()
    enso(ctx, c, c, c - 12, 9, rnd)
    seal(ctx, n - 26, n - 24, 22, rnd)
    return s


# -------------------------------------------------------- tutorial signs

# name: keyboard keys (rows of alternatives), pad button highlighted
# (0 bottom, 1 right, 2 left, None for the stick), pictogram.
SIGNS = {
    "tut_run": ([["A", "D"], ["<", ">"]], None, "run"),
    "tut_sprint": ([["SHIFT", "+", "D"], ["SHIFT", "+", ">"]], 2, "sprint"),
    "tut_jump": ([["SPACE"], ["W", "^"]], 0, "jump"),
    "tut_wall_jump": ([["SPACE"], ["W", "^"]], 0, "wall"),
    "tut_slide": ([["D", "+", "S"], [">", "+", "CTRL"]], 1, "slide"),
    "tut_crouch": ([["S", "v"], ["CTRL"]], 1, "crouch"),
}


def _key(ctx, x, y, label):
    """A key cap: width from its label; returns the width used."""
    if label == "+":
        text(ctx, "+", x + 8, y + 30, 30, colour=INK, align=0.5)
        return 16
    w = 38 if len(label) == 1 else 14 + 11 * len(label)
    ink.rounded_path(x + 2, y + 4, w, 38, 6)(ctx)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.fill()
    ink.rounded_path(x, y, w, 38, 6)(ctx)
    ctx.set_source_rgb(*PAPER_LIGHT)
    ctx.fill_preserve()
    ctx.set_source_rgb(*INK)
    ctx.set_line_width(3)
    ctx.stroke()
    if label in ("<", ">", "^", "v"):
        # Arrow keys: a triangle pointing the key's way.
        angle = {">": 0.0, "v": 0.5, "<": 1.0, "^": 1.5}[label] * math.pi
        ctx.save()
        ctx.translate(x + w / 2, y + 19)
        ctx.rotate(angle)
        ctx.move_to(-7, -8)
        ctx.line_to(9, 0)
        ctx.line_to(-7, 8)
        ctx.close_path()
        ctx.restore()
        ctx.set_source_rgb(*INK)
        ctx.fill()
    else:
        text(ctx, label, x + w / 2, y + 29, 24, colour=INK, align=0.5)
    return w


def _pad(ctx, cx, cy, button):
    """The pad's face buttons as a diamond (or its stick), one in red."""
    if button is None:
        ctx.arc(cx, cy, 22, 0, TAU)
        ctx.set_source_rgb(*INK)
        ctx.fill()
        ctx.arc(cx, cy, 12, 0, TAU)
        ctx.set_source_rgb(*SEAL)
        ctx.fill()
        for d in (-1, 1):
            ctx.move_to(cx + d * 30, cy - 8)
            ctx.line_to(cx + d * 42, cy)
            ctx.line_to(cx + d * 30, cy + 8)
            ctx.close_path()
            ctx.set_source_rgb(*INK)
            ctx.fill()
        return
    places = {0: (0, 1), 1: (1, 0), 2: (-1, 0), 3: (0, -1)}
    letters = {0: "A", 1: "B", 2: "X", 3: "Y"}
    for b, (dx, dy) in places.items():
        x, y = cx + dx * 19, cy + dy * 19
        ctx.arc(x, y, 11, 0, TAU)
        ctx.set_source_rgb(*(SEAL if b == button else INK))
        ctx.fill()
        text(ctx, letters[b], x, y + 6, 16, colour=PAPER_LIGHT, align=0.5)


def _pictogram(ctx, kind, x, y, rnd):
    """A small ink figure of the move, inside a 90 x 110 box at (x, y)."""
    def figure(px, py, lean=0.0, crouch=0.0, k=1.0):
        brush(ctx, [(px, py - 36 * k + crouch), (px + lean * 18, py - 72 * k + crouch * 1.6)], 9 * k, rnd)
        ink.fill_ink(ctx, lambda c: c.arc(px + lean * 22, py - 82 * k + crouch * 1.6, 8 * k, 0, TAU),
                     rim=False)
        brush(ctx, [(px, py - 36 * k + crouch), (px + 12 * k, py - 18 * k + crouch * 0.5), (px + 8 * k, py)],
              7 * k, rnd)
        brush(ctx, [(px, py - 36 * k + crouch), (px - 10 * k, py - 18 * k + crouch * 0.5), (px - 14 * k, py)],
              7 * k, rnd)
        brush(ctx, [(px + lean * 16, py - 70 * k + crouch * 1.6), (px + lean * 10 - 24, py - 64 * k + crouch * 1.6)],
              5 * k, rnd, colour=SCARF)
    ground = y + 104
    if kind == "run":
        figure(x + 44, ground, lean=0.4)
        brush(ctx, [(x, ground - 40), (x + 22, ground - 40)], 3, rnd)
        brush(ctx, [(x + 4, ground - 56), (x + 24, ground - 56)], 3, rnd)
    elif kind == "sprint":
        figure(x + 52, ground, lean=0.8)
        for dy in (-30, -46, -62):
            brush(ctx, [(x, ground + dy), (x + 30, ground + dy)], 3, rnd)
    elif kind == "jump":
        figure(x + 46, ground - 26)
        brush(ctx, [(x + 22, ground), (x + 70, ground)], 4, rnd)
        brush(ctx, [(x + 80, ground - 20), (x + 82, ground - 90)], 4, rnd, colour=SEAL)
        ctx.move_to(x + 74, ground - 84)
        ctx.line_to(x + 82, ground - 102)
        ctx.line_to(x + 90, ground - 84)
        ctx.set_source_rgb(*SEAL)
        ctx.fill()
    elif kind == "wall":
        ctx.rectangle(x + 74, y, 14, 110)
        ctx.set_source_rgb(*INK)
        ctx.fill()
        figure(x + 44, ground - 30, lean=-0.3)
        brush(ctx, [(x + 66, ground - 10), (x + 30, ground - 50), (x + 6, ground - 100)], 4, rnd, colour=SEAL)
    elif kind == "slide":
        brush(ctx, [(x + 6, ground - 8), (x + 60, ground - 14)], 10, rnd)
        ink.fill_ink(ctx, lambda c: c.arc(x + 70, ground - 20, 8, 0, TAU), rim=False)
        brush(ctx, [(x + 6, ground - 8), (x - 4, ground)], 7, rnd)
        brush(ctx, [(x + 60, ground - 18), (x + 30, ground - 30)], 5, rnd, colour=SCARF)
        for dy in (-4, -16):
            brush(ctx, [(x + 70, ground + dy), (x + 92, ground + dy)], 3, rnd)
    elif kind == "crouch":
        figure(x + 46, ground, crouch=18)
        ctx.rectangle(x + 4, y + 8, 84, 12)
        ctx.set_source_rgb(*INK)
        ctx.fill()
    brush(ctx, [(x - 6, ground + 2), (x + 96, ground + 1)], 4, rnd)


def sign_surface(name):
    keys, button, kind = SIGNS[name]
    rnd = ink.rng(name)
    s, ctx = ink.surface(SIGN_W, SIGN_H)
    # Two cords up to a nail out of the picture's top.
    for x in (70, SIGN_W - 70):
        brush(ctx, [(SIGN_W / 2, 2), (x, 44)], 3, rnd, taper=(0.0, 0.0))
    ink.fill_ink(ctx, lambda c: c.arc(SIGN_W / 2, 8, 6, 0, TAU), rim_width=1.5)
    board = rough_rect(14, 40, SIGN_W - 28, SIGN_H - 54, rnd, jitter=1.2, step=20)
    shadowed_parchment(ctx, board, 14, 40, SIGN_W - 28, SIGN_H - 54, rnd, shadow=(3, 4), darkness=0.3)
    brush_frame(ctx, 26, 52, SIGN_W - 52, SIGN_H - 78, rnd, width=3.5)
    for x in (70, SIGN_W - 70):
        ink.fill_ink(ctx, lambda c, x=x: c.arc(x, 46, 4, 0, TAU), rim=False)
    _pictogram(ctx, kind, 40, 80, rnd)
    # Keys: each row an alternative; the pad below them.
    y = 68
    for row in keys:
        x = 140
        for label in row:
            x += _key(ctx, x, y, label) + 6
        y += 48
    _pad(ctx, 236, 192, button)
    text(ctx, "OR", 150, 200, 22, colour=PAPER_DARK)
    seal(ctx, SIGN_W - 40, SIGN_H - 40, 18, rnd)
    return s


# ------------------------------------------------------------------ build

def build(data_dir):
    misc = os.path.join(data_dir, "Graphics", "Misc")
    pictures = os.path.join(data_dir, "Graphics", "Pictures")

    def put(surface, folder, name):
        ink.save(surface, os.path.join(folder, name))

    put(cursor_surface(), misc, "ui_shuriken.png")
    put(hud_surface(), misc, "ui_ingame_bg.png")
    put(hud_scroll_surface(), misc, "ui_ingame_scroll.png")
    put(title_back_surface(), misc, "ui_mainmenu_bg1.png")
    put(sun_surface(), misc, "ui_mainmenu_bg_sun.png")
    put(title_front_surface(), misc, "ui_mainmenu_bg2.png")
    put(menu_surface(), misc, "ui_menu_bg.png")
    put(finisher_surface(), misc, "ui_menu_bg_finisher.png")
    overlay, ctx = ink.surface(1, 1)
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    put(overlay, misc, "misc_overlay.png")
    put(loading_surface(), misc, "misc_loading_screen.png")
    put(small_scroll(False), misc, "ui_scroll.png")
    put(small_scroll(True), misc, "ui_scroll_grey.png")
    put(objects.scroll_surface(grey=True), misc, "misc_scroll_grey.png")
    put(studio_logo_surface(), misc, "ui_orvel_logo.png")
    put(title_logo_surface(), misc, "ui_pellam_logo.png")
    for i in range(len(PORTRAITS)):
        put(portrait_surface(i), misc, "ui_portrait_%d.png" % (i + 1))
    for name in SIGNS:
        put(sign_surface(name), pictures, name + ".png")
    put(icon_surface(), misc, "icon.png")
