"""The four parallax layers behind every level: a still dusk sky, then
mountains with pagodas, a bamboo grove and near grass. The three moving
layers are single images that slide until their right edge reaches the
screen's, so they never wrap: each only has to look whole from edge to
edge, and a nearer layer is wider so it travels further."""

import math
import os

import cairo

import ink

SCREEN_W, SCREEN_H = 1280, 1024
WIDTHS = {1: 1920, 2: 2560, 3: 3328}

# Haze: the further away, the closer to the sky behind it.
MOUNTAIN_FAR = (0.80, 0.47, 0.48)
MOUNTAIN_NEAR = (0.60, 0.33, 0.45)
BAMBOO_BACK = (0.42, 0.24, 0.36)
BAMBOO_FRONT = (0.25, 0.17, 0.28)
BAMBOO_LEAF_BACK = (0.38, 0.23, 0.34)
BAMBOO_LEAF_FRONT = (0.22, 0.16, 0.26)
GRASS = (0.12, 0.09, 0.15)
SUN = (1.0, 0.93, 0.80)


def _path(name, data_dir):
    return os.path.join(data_dir, "Graphics", "Background", name)


def _smooth_ridge(r, width, base, amplitude, waves):
    """Heights along x as a sum of a few sines with random phases: smooth
    and deterministic, never noisy."""
    parts = []
    for i in range(waves):
        wavelength = width / r.choice([1, 2, 3]) / (1 + i * 0.9)
        parts.append((2 * math.pi / wavelength * r.uniform(0.8, 1.2), r.uniform(0, 2 * math.pi),
                      amplitude / (1 + i * 0.8)))

    def height(x):
        return base - sum(a * math.sin(k * x + p) for k, p, a in parts)
    return height


def _fill_profile(ctx, width, profile, colour, step=4, mist=None):
    ctx.move_to(0, SCREEN_H)
    x = 0
    while x <= width:
        ctx.line_to(x, profile(x))
        x += step
    ctx.line_to(width, profile(width))
    ctx.line_to(width, SCREEN_H)
    ctx.close_path()
    if mist:
        # Mist settles in the valleys: the range pales towards its foot.
        top, bottom, pale = mist
        grad = cairo.LinearGradient(0, top, 0, bottom)
        grad.add_color_stop_rgb(0, *colour)
        grad.add_color_stop_rgb(1, *pale)
        ctx.set_source(grad)
    else:
        ctx.set_source_rgb(*colour)
    ctx.fill()


def _sky(data_dir):
    s, ctx = ink.surface(SCREEN_W, SCREEN_H)
    grad = cairo.LinearGradient(0, 0, 0, SCREEN_H)
    for stop, colour in zip((0.0, 0.38, 0.62, 0.80), ink.SKY):
        grad.add_color_stop_rgb(stop, *colour)
    grad.add_color_stop_rgb(1.0, *ink.mix(ink.SKY[3], SUN, 0.35))
    ctx.set_source(grad)
    ctx.paint()

    sx, sy, sr = 860, 540, 62
    # A soft halo, then the disc itself: pale, not white, so it stays dusk.
    halo = cairo.RadialGradient(sx, sy, sr, sx, sy, sr * 4.5)
    halo.add_color_stop_rgba(0, *SUN, 0.40)
    halo.add_color_stop_rgba(1, *SUN, 0.0)
    ctx.set_source(halo)
    ctx.paint()
    ctx.arc(sx, sy, sr, 0, 2 * math.pi)
    ctx.set_source_rgb(*SUN)
    ctx.fill()

    # Long thin cloud bands, lit from below by the low sun.
    r = ink.rng("bg_layer00")
    bands = [(180, 0.10, ink.mix(ink.SKY[0], ink.SKY[1], 0.55)),
             (300, 0.14, ink.mix(ink.SKY[1], ink.SKY[2], 0.45)),
             (410, 0.18, ink.mix(ink.SKY[2], ink.SKY[3], 0.35)),
             (560, 0.22, ink.mix(ink.SKY[3], SUN, 0.45))]
    for y, alpha, colour in bands:
        for _ in range(3):
            cx = r.uniform(-100, SCREEN_W + 100)
            length = r.uniform(260, 560)
            thick = r.uniform(5, 11)
            yy = y + r.uniform(-30, 30)
            ctx.save()
            ctx.translate(cx, yy)
            ctx.scale(length / 2, thick / 2)
            ctx.arc(0, 0, 1, 0, 2 * math.pi)
            ctx.restore()
            ctx.set_source_rgba(*colour, 0.55 + alpha)
            ctx.fill()
    ink.save(s, _path("bg_layer00.png", data_dir))


def _pagoda(ctx, x, base_y, size, tiers, colour):
    """A pagoda silhouette standing on (x, base_y): tiers of upswept roofs
    narrowing to a spire."""
    ctx.set_source_rgb(*colour)
    y = base_y
    body_w = size * 0.55
    roof_w = size
    tier_h = size * 0.42
    for t in range(tiers):
        shrink = 1 - t * 0.13
        bw, rw = body_w * shrink, roof_w * shrink
        ctx.rectangle(x - bw / 2, y - tier_h, bw, tier_h + 1)
        ctx.fill()
        ry = y - tier_h
        rh = tier_h * 0.32
        ctx.move_to(x - rw / 2 - size * 0.08, ry - rh * 0.55)
        ctx.curve_to(x - rw / 2 + size * 0.05, ry - rh * 0.1, x - rw * 0.3, ry - rh * 0.6,
                     x - bw * 0.35, ry - rh * 1.25)
        ctx.line_to(x + bw * 0.35, ry - rh * 1.25)
        ctx.curve_to(x + rw * 0.3, ry - rh * 0.6, x + rw / 2 - size * 0.05, ry - rh * 0.1,
                     x + rw / 2 + size * 0.08, ry - rh * 0.55)
        ctx.line_to(x + rw / 2, ry + 1)
        ctx.line_to(x - rw / 2, ry + 1)
        ctx.close_path()
        ctx.fill()
        y = ry - rh * 1.2
    ctx.rectangle(x - size * 0.025, y - size * 0.7, size * 0.05, size * 0.7)
    ctx.fill()
    for i in range(3):
        ctx.arc(x, y - size * (0.15 + 0.16 * i), size * 0.045, 0, 2 * math.pi)
        ctx.fill()


def _range(r, width, base, peaks, height, spread):
    """A mountain range: the highest of a row of bell-shaped peaks with
    pointed tops, so ridges read as mountains and not as dunes."""
    tops = []
    step = width / peaks
    for i in range(peaks + 1):
        tops.append((i * step + r.uniform(-0.3, 0.3) * step, height * r.uniform(0.45, 1.0),
                     spread * r.uniform(0.7, 1.3)))

    def profile(x):
        best = 0.0
        for px, h, hw in tops:
            best = max(best, h * math.exp(-abs((x - px) / hw) ** 1.25))
        return base - best
    return profile


def _mountains(data_dir):
    width = WIDTHS[1]
    s, ctx = ink.surface(width, SCREEN_H)
    r = ink.rng("bg_layer01")
    far = _range(r, width, 720, 7, 300, 150)
    _fill_profile(ctx, width, far, MOUNTAIN_FAR, mist=(520, 820, ink.mix(MOUNTAIN_FAR, ink.SKY[3], 0.45)))
    # Pagodas on far shoulders, hazier than the near ones.
    for px, size in ((width * 0.21, 40), (width * 0.74, 36)):
        _pagoda(ctx, px, far(px) + 6, size, 4, MOUNTAIN_FAR)

    near = _range(r, width, 840, 9, 230, 110)
    _fill_profile(ctx, width, near, MOUNTAIN_NEAR, mist=(640, 900, ink.mix(MOUNTAIN_NEAR, ink.SKY[2], 0.45)))
    for px, size, tiers in ((width * 0.09, 60, 5), (width * 0.45, 68, 5), (width * 0.63, 50, 3),
                            (width * 0.91, 56, 4)):
        _pagoda(ctx, px, near(px) + 8, size, tiers, MOUNTAIN_NEAR)
    ink.save(s, _path("bg_layer01.png", data_dir))


def _bamboo_stalk(ctx, x, bottom, top, thick, lean, colour, node_colour, leaf_colour, r):
    """One stalk: slightly tapering, leaning, with node rings and leaf sprays
    near the top."""
    def at(t):
        return x + lean * t * t, bottom + (top - bottom) * t

    steps = 24
    left, right = [], []
    for i in range(steps + 1):
        t = i / steps
        cx, cy = at(t)
        w = thick * (1 - 0.35 * t) / 2
        left.append((cx - w, cy))
        right.append((cx + w, cy))
    ink.poly_path(left + right[::-1])(ctx)
    ctx.set_source_rgb(*colour)
    ctx.fill()

    seg = r.uniform(70, 95)
    length = bottom - top
    n = int(length / seg)
    for i in range(1, n + 1):
        t = i * seg / length
        if t >= 1:
            break
        cx, cy = at(t)
        w = thick * (1 - 0.35 * t) / 2 + 1.2
        ctx.rectangle(cx - w, cy - 1.5, 2 * w, 3)
        ctx.set_source_rgb(*node_colour)
        ctx.fill()

    # Leaf sprays: narrow lanceolate leaves fanning out from upper nodes.
    ctx.set_source_rgb(*leaf_colour)
    for i in range(r.randint(3, 5)):
        t = r.uniform(0.55, 1.0)
        cx, cy = at(t)
        side = r.choice((-1, 1))
        for j in range(r.randint(3, 5)):
            angle = math.radians(r.uniform(10, 55)) * side + (0 if side > 0 else math.pi)
            angle += math.radians(r.uniform(-8, 8)) + math.radians(12) * j * side
            ll = r.uniform(34, 58) * thick / 12
            lw = ll * 0.14
            ctx.save()
            ctx.translate(cx, cy)
            ctx.rotate(angle)
            ctx.move_to(0, 0)
            ctx.curve_to(ll * 0.3, -lw, ll * 0.7, -lw * 0.8, ll, lw * 0.6)
            ctx.curve_to(ll * 0.6, lw * 0.5, ll * 0.3, lw * 0.6, 0, 0)
            ctx.close_path()
            ctx.restore()
            ctx.fill()


def _bamboo(data_dir):
    width = WIDTHS[2]
    s, ctx = ink.surface(width, SCREEN_H)
    r = ink.rng("bg_layer02")
    ground = _smooth_ridge(r, width, 905, 18, 3)
    for depth, colour, node, leaf, thick, span, gap in (
            (0, BAMBOO_BACK, ink.mix(BAMBOO_BACK, ink.SKY[2], 0.25), BAMBOO_LEAF_BACK, 9, (400, 600), (40, 130)),
            (1, BAMBOO_FRONT, ink.mix(BAMBOO_FRONT, ink.BAMBOO_NODE, 0.18), BAMBOO_LEAF_FRONT, 14, (290, 470), (90, 260))):
        # Stalks come in clumps with clearings between them, so the
        # mountains still show through.
        x = r.uniform(0, 60)
        while x < width + 40:
            clump = r.randint(2, 4)
            for _ in range(clump):
                top = r.uniform(*span)
                lean = r.uniform(-40, 40)
                _bamboo_stalk(ctx, x, SCREEN_H + 4, top, thick * r.uniform(0.8, 1.2), lean,
                              colour, node, leaf, r)
                x += r.uniform(thick * 1.8, thick * 4)
            x += r.uniform(*gap) * (2.5 if r.random() < 0.3 else 1)
        if depth == 0:
            _fill_profile(ctx, width, lambda xx: ground(xx) - 30, colour)
    _fill_profile(ctx, width, ground, BAMBOO_FRONT)
    ink.save(s, _path("bg_layer02.png", data_dir))


def _blade(ctx, x, base, height, bend, w):
    ctx.move_to(x - w, base)
    ctx.curve_to(x - w * 0.6, base - height * 0.5, x + bend * 0.5, base - height * 0.8,
                 x + bend, base - height)
    ctx.curve_to(x + bend * 0.45 + w * 0.3, base - height * 0.75, x + w * 0.7, base - height * 0.45,
                 x + w, base)
    ctx.close_path()


def _grass(data_dir):
    width = WIDTHS[3]
    s, ctx = ink.surface(width, SCREEN_H)
    r = ink.rng("bg_layer03")
    ground = _smooth_ridge(r, width, 968, 16, 3)
    colour = GRASS
    light = ink.mix(ink.RIM, GRASS, 0.45)

    def shape(c):
        c.move_to(0, SCREEN_H + 10)
        x = 0
        while x <= width:
            c.line_to(x, ground(x))
            x += 4
        c.line_to(width, ground(width))
        c.line_to(width, SCREEN_H + 10)
        c.close_path()
        x = 0
        while x < width:
            # Tufts of blades, now and then a tall reed.
            n = r.randint(5, 11)
            tall = r.random() < 0.18
            for _ in range(n):
                bx = x + r.uniform(-14, 14)
                h = r.uniform(28, 70) * (2.6 if tall and r.random() < 0.5 else 1)
                _blade(c, bx, ground(bx) + 6, h, r.uniform(-26, 26), r.uniform(2.2, 4.2))
            x += r.uniform(26, 90)

    # Drawn twice from one seed so the rim follows exactly the same outline.
    state = r.getstate()

    def path_fn(c):
        r.setstate(state)
        shape(c)
    ink.fill_ink(ctx, path_fn, rim=True, rim_width=1.5, colour=colour, light=light)
    ink.save(s, _path("bg_layer03.png", data_dir))


def build(data_dir):
    _sky(data_dir)
    _mountains(data_dir)
    _bamboo(data_dir)
    _grass(data_dir)
