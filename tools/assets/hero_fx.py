"""The hero's effects: slide dust (a start burst and a loop), the puff of a
wall jump, the flash of a collected scroll, and the one white pixel the
game keeps loaded beside them.

Where the game puts them decides how they are drawn. The dust is a 36 x 75
strip that the game stands on its side along the floor (turned a quarter
clockwise) or upright along a wall; either way the strip's column 18 lies
on the surface and columns 0 to 16 are open air, its bottom end is at the
feet or hands and its top end trails behind the slide. The wall-jump puff
is centred on the wall at the feet, with the open air to the right of the
centre (the game mirrors it for a wall on the right)."""

import math
import os

import cairo

import hero_tuning as tuning
import ink
from ink import INK, PAPER, RIM, RIM_SOFT

TAU = 2 * math.pi

DUST_W, DUST_H = 36, 75
SURFACE = 17.0                    # the floor or wall line in the strip
SOURCE = 52.0                     # where the feet or hands raise the dust
DUST_START_FRAMES = 3
DUST_LOOP_FRAMES = 4
PUFF = 214
PUFF_FRAMES = 9
FLASH = 333
FLASH_FRAMES = 12

DUST = ink.mix(PAPER, RIM_SOFT, 0.45)
DUST_LIT = ink.mix(PAPER, RIM, 0.25)
DUST_SHADE = ink.mix(DUST, INK, 0.45)
GOLD = (1.0, 0.84, 0.52)
WHITE_HOT = (1.0, 0.96, 0.86)


def _smooth(a, b, x):
    t = min(1.0, max(0.0, (x - a) / (b - a)))
    return t * t * (3 - 2 * t)


def _puff(ctx, x, y, r, alpha):
    """A soft dust cloud, lit on its upper side (which for the strip is the
    side away from the surface, toward column 0)."""
    if r <= 0.3 or alpha <= 0.01:
        return
    ink.radial_disc(ctx, x, y, r,
                    [(0, DUST_LIT, 0.85 * alpha), (0.55, DUST, 0.6 * alpha), (1, DUST_SHADE, 0.0)],
                    focus=(x - r * 0.3, y, r * 0.1))


def _grain(ctx, x, y, r, alpha, colour=DUST_LIT):
    if alpha <= 0.01:
        return
    ctx.set_source_rgba(*colour, alpha)
    ctx.arc(x, y, r, 0, TAU)
    ctx.fill()


def _clip_air(ctx):
    """Nothing on the surface's far side: under the floor or in the wall."""
    ctx.rectangle(0, 0, SURFACE + 1.5, DUST_H)
    ctx.clip()


class Dust:
    """Clouds raised at SOURCE drift back along the strip (toward row 0)
    and away from the surface, swelling and thinning as they go. A cloud's
    age runs over `life` seconds; the loop keeps a fixed number in flight,
    spaced so the loop closes on itself."""

    def __init__(self, name, count):
        r = ink.rng(name)
        self.clouds = [dict(offset=k / count + r.uniform(-0.03, 0.03), size=r.uniform(0.8, 1.2),
                            lift=r.uniform(0.6, 1.0), drift=r.uniform(0.85, 1.15)) for k in range(count)]
        self.grains = [dict(offset=r.random(), x=r.uniform(0.2, 1.0), speed=r.uniform(0.7, 1.3),
                            size=r.uniform(0.5, 1.0)) for _ in range(18)]

    def draw_cloud(self, ctx, age, c, strength=1.0):
        if not 0 <= age < 1:
            return
        y = SOURCE - 46 * c["drift"] * (1 - (1 - age) ** 1.6)
        r = (3.5 + 7.5 * age ** 0.7) * c["size"]
        x = SURFACE - 2 - (2 + 8 * c["lift"]) * age ** 0.8 - r * 0.2
        alpha = strength * _smooth(0.0, 0.12, age) * (1 - _smooth(0.45, 1.0, age))
        _puff(ctx, x, y, r, alpha)

    def draw_grain(self, ctx, age, g, strength=1.0):
        if not 0 <= age < 1:
            return
        y = SOURCE + 4 - 60 * age * g["speed"]
        x = SURFACE - 1 - 14 * g["x"] * math.sin(math.pi * min(1.0, age * 1.1))
        _grain(ctx, x, y, 0.6 + 0.5 * g["size"], strength * (1 - age) * 0.9)


def _dust_loop():
    dust = Dust("pfx_slide_loop", 6)

    def draw(ctx, i, *_):
        _clip_air(ctx)
        phase = i / DUST_LOOP_FRAMES
        for c in dust.clouds:
            dust.draw_cloud(ctx, (phase + c["offset"]) % 1.0, c)
        for g in dust.grains:
            dust.draw_grain(ctx, (phase * 2 + g["offset"]) % 1.0, g, 0.8)
    return ink.sheet(DUST_W, DUST_H, DUST_LOOP_FRAMES, 1, draw)


def _dust_start():
    """The first kick of dust: a burst at the source that settles into the
    loop's flow by the last frame, where the loop takes over."""
    loop = Dust("pfx_slide_loop", 6)
    burst = Dust("pfx_slide_start", 5)

    def draw(ctx, i, *_):
        _clip_air(ctx)
        u = i / (DUST_START_FRAMES - 1)
        # The loop's clouds fade in as far as they have come out of the
        # source, so the last frame matches the loop's first.
        for c in loop.clouds:
            age = c["offset"] % 1.0
            if age <= u:
                loop.draw_cloud(ctx, age, c, _smooth(0.0, 1.0, u))
        for k, c in enumerate(burst.clouds):
            age = 0.15 + 0.35 * u + 0.06 * k
            big = dict(c, size=c["size"] * 1.25)
            burst.draw_cloud(ctx, age, big, 1 - _smooth(0.5, 1.0, u))
        for g in burst.grains:
            burst.draw_grain(ctx, min(0.99, 0.1 + 0.5 * u * g["speed"]), g, 1 - u * 0.7)
    return ink.sheet(DUST_W, DUST_H, DUST_START_FRAMES, 1, draw)


def _wall_puff():
    """Air and grit blown off the wall by the kick: two pressure arcs open
    to the air side, dust rolling along the wall, grit thrown out."""
    r = ink.rng("pfx_wall_jump")
    c = PUFF / 2
    grit = [(r.uniform(-1.2, 1.2), r.uniform(40, 95), r.uniform(0.8, 1.8)) for _ in range(22)]
    rolls = [(r.uniform(-1, 1), r.uniform(0.8, 1.2)) for _ in range(7)]
    shown = tuning.shown_for(0.03)
    end = (PUFF_FRAMES - 1) * shown

    def draw(ctx, i, *_):
        u = i / (PUFF_FRAMES - 1)
        t = i * shown
        ctx.rectangle(c - 2, 0, PUFF - c + 2, PUFF)
        ctx.clip()
        ease = 1 - (1 - u) ** 2.2
        # Light caught in the burst, brightest at the kick.
        ink.radial_disc(ctx, c, c, 30 + 50 * ease, [(0, GOLD, 0.55 * (1 - u) ** 2), (1, GOLD, 0.0)])
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for k, (reach, width) in enumerate(((92.0, 5.0), (62.0, 3.4))):
            radius = 8 + reach * (1 - (1 - u) ** (2.6 - k * 0.6))
            alpha = (1 - _smooth(0.35, 1.0, u)) * (0.9 - 0.25 * k)
            span = math.radians(62 - 10 * k)
            steps = 18
            for s in range(steps):
                a0 = -span + 2 * span * s / steps
                a1 = -span + 2 * span * (s + 1) / steps
                mid = math.sin(math.pi * (s + 0.5) / steps)
                ctx.set_line_width(width * (1 - 0.6 * u) * (0.25 + 0.75 * mid))
                ctx.set_source_rgba(*DUST_LIT, alpha * (0.3 + 0.7 * mid))
                ctx.arc(c, c, radius, a0, a1)
                ctx.stroke()
        for side, size in rolls:
            y = c + side * 70 * ease
            x = c + 6 + 22 * ease * (0.4 + 0.6 * size) * (1 - abs(side) * 0.5)
            rad = (6 + 16 * ease) * size
            alpha = (1 - _smooth(0.4, 1.0, u)) * 0.9
            ink.radial_disc(ctx, x, y, rad,
                            [(0, DUST_LIT, 0.7 * alpha), (0.6, DUST, 0.4 * alpha),
                             (1, DUST_SHADE, 0.0)],
                            focus=(x - rad * 0.2, y - rad * 0.3, rad * 0.1))
        for a, speed, size in grit:
            dist = speed * (1 - math.exp(-t / 0.09)) * 1.1
            x = c + math.cos(a) * dist
            y = c + math.sin(a) * dist + 180 * t * t
            fade = 1 - _smooth(0.5, 1.0, t / end)
            ctx.set_source_rgba(*INK, fade)
            ctx.arc(x, y, size, 0, TAU)
            ctx.fill()
            ctx.set_source_rgba(*RIM, 0.8 * fade)
            ctx.arc(x, y - size * 0.35, size * 0.55, 0, TAU)
            ctx.fill()
    return ink.sheet(PUFF, PUFF, PUFF_FRAMES, 1, draw)


def _collect_flash():
    """The scroll's light let loose: a white-gold bloom, a brush circle of
    light opening round it, rays, and sparks that drift out and go out."""
    r = ink.rng("pfx_collect")
    c = FLASH / 2
    rays = [(TAU * k / 12 + r.uniform(-0.12, 0.12), r.uniform(0.75, 1.0)) for k in range(12)]
    sparks = [(r.uniform(0, TAU), r.uniform(50, 140), r.uniform(1.2, 2.6), r.uniform(0.6, 1.0))
              for _ in range(34)]
    brush = [r.uniform(0.75, 1.0) for _ in range(40)]

    def draw(ctx, i, *_):
        u = i / (FLASH_FRAMES - 1)
        ease = 1 - (1 - u) ** 2.5
        fade = 1 - _smooth(0.35, 1.0, u)
        # Bloom.
        radius = 40 + 80 * ease
        ink.radial_disc(ctx, c, c, radius, [(0, WHITE_HOT, 0.95 * (1 - u) ** 2.5),
                                            (0.3, GOLD, 0.55 * (1 - u) ** 2.5), (1, RIM, 0.0)])
        # Rays.
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for a, length in rays:
            inner = 18 + 40 * ease
            outer = inner + (40 + 70 * length) * (1 - 0.5 * u) * _smooth(0.0, 0.25, u + 0.1)
            gr = cairo.LinearGradient(c + math.cos(a) * inner, c + math.sin(a) * inner,
                                      c + math.cos(a) * outer, c + math.sin(a) * outer)
            gr.add_color_stop_rgba(0, *WHITE_HOT, 0.8 * fade)
            gr.add_color_stop_rgba(1, *GOLD, 0.0)
            ctx.set_source(gr)
            ctx.set_line_width(3.2 * (1 - 0.6 * u))
            ctx.move_to(c + math.cos(a) * inner, c + math.sin(a) * inner)
            ctx.line_to(c + math.cos(a) * outer, c + math.sin(a) * outer)
            ctx.stroke()
        # A brush circle drawn in light, left open at the top right.
        ring = 30 + 100 * ease
        steps = len(brush)
        drawn = min(1.0, 0.25 + u * 2.2)
        for k in range(int(steps * drawn)):
            a0 = math.radians(-40) + TAU * 0.9 * k / steps
            a1 = math.radians(-40) + TAU * 0.9 * (k + 1) / steps
            w = (1.5 + 6.5 * math.sin(math.pi * (k + 0.5) / steps) ** 0.7) * brush[k] * (1 - 0.6 * u)
            ctx.set_line_width(w)
            ctx.set_source_rgba(*GOLD, 0.85 * fade)
            ctx.arc(c, c, ring, a0, a1)
            ctx.stroke()
        # Sparks.
        for a, reach, size, life in sparks:
            v = u / life
            if v >= 1:
                continue
            dist = 20 + reach * (1 - (1 - v) ** 2)
            x, y = c + math.cos(a) * dist, c + math.sin(a) * dist + 25 * v * v
            ink.radial_disc(ctx, x, y, size * 3, [(0, WHITE_HOT, 0.9 * (1 - v)),
                                                  (0.4, GOLD, 0.5 * (1 - v)), (1, GOLD, 0.0)])
    return ink.sheet(FLASH, FLASH, FLASH_FRAMES, 1, draw)


def _pixel():
    s, ctx = ink.surface(1, 1)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    return s


def build(data_dir):
    pfx = os.path.join(data_dir, "Graphics", "Particles")
    ink.save(_dust_start(), os.path.join(pfx, "pfx_slide_start.png"))
    ink.save(_dust_loop(), os.path.join(pfx, "pfx_slide_loop.png"))
    ink.save(_wall_puff(), os.path.join(pfx, "pfx_wall_jump.png"))
    ink.save(_collect_flash(), os.path.join(pfx, "pfx_collect.png"))
    ink.save(_pixel(), os.path.join(data_dir, "Graphics", "Pixel.png"))
