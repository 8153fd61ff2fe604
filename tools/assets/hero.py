"""The hero: one skeleton (hips, spine, head, two-segment arms and legs, a
two-tailed scarf) posed by keyframes per animation and drawn as tapered ink
shapes under the world's warm rim light, so every sheet shares one body and
every cycle meets its own start. The collision boxes are measured on the
same skeleton.

The art faces left (forward is -x); the game mirrors it. Frames are
128 x 128 with the soles on the bottom edge at the centre; the death and
respawn frames are 532 x 532 with the soles at the centre, which is the
point their centre anchor puts on the player's position."""

import math
import os

import cairo
import numpy as np

import hero_tuning as tuning
import ink
from ink import INK, RIM, RIM_SOFT, SCARF

TAU = 2 * math.pi
F = 128                    # frame size
GROUND = 128.0             # soles
CX = 64.0                  # the anchor column

# Bones, in pixels.
THIGH, SHIN = 29.5, 28.5
SPINE = 33.0               # hip to the base of the neck
NECK = 11.0                # base of the neck to the middle of the head
HEAD_R = 10.0
UPPER_ARM, FOREARM = 19.0, 17.0
SCARF_TAILS = ((46.0, 0.0), (36.0, 1.9))   # length, phase offset
SCARF_SEG = 3.0
HOOD_TIES = ((13.0, 0.8), (10.0, 2.6))     # the knot's two short ends
HOOD_SEG = 2.0

FAR_INK = ink.mix(INK, (0.36, 0.30, 0.42), 0.30)      # the limbs on the far side
FAR_RIM = ink.mix(RIM_SOFT, (0.36, 0.30, 0.42), 0.35)
SCARF_DARK = ink.mix(SCARF, INK, 0.45)
SCARF_RIM = (1.0, 0.55, 0.38)
EYE = (1.0, 0.86, 0.62)
SASH = ink.mix(SCARF, INK, 0.55)
SEAM = ink.mix(INK, (0.50, 0.40, 0.56), 0.40)          # a near limb's edge over the body

# Every pose field, at rest. Angles in degrees; limb angles are measured
# from straight down, positive swinging forward. Knee and elbow flex are
# positive. Foot pitch 0 is flat, positive points the toe down. The wind is
# the air the scarf feels, in pixels per second in the frame (+x behind).
REST = dict(hx=CX, hy=70.0, lean=5.0, bend=3.0, head=-3.0, rot=0.0,
            nas=-10.0, nae=28.0, fas=8.0, fae=34.0,
            nlh=12.0, nlk=16.0, nlf=0.0, flh=-8.0, flk=10.0, flf=0.0,
            wx=40.0, wy=0.0, flap=1.0)
# Limbs may also reach for a point: weight, x, y of the ankle or hand (nl,
# fl: near and far leg; na, fa: arms). A weight of 0 leaves the angles be.
for _limb in ("nl", "fl", "na", "fa"):
    REST[_limb + "w"], REST[_limb + "x"], REST[_limb + "y"] = 0.0, CX, GROUND
del _limb


# ------------------------------------------------------------ kinematics

def down(a):
    """Unit vector of a limb angle (from straight down, + forward)."""
    r = math.radians(a)
    return (-math.sin(r), math.cos(r))


def up(a):
    r = math.radians(a)
    return (-math.sin(r), -math.cos(r))


def add(p, v, s=1.0):
    return (p[0] + v[0] * s, p[1] + v[1] * s)


def limb_ik(root, target, first, second, bend_forward):
    """Angles (root limb angle, flex) that put the end of a two-bone limb on
    target; knees bend forward, elbows back."""
    vx, vy = target[0] - root[0], target[1] - root[1]
    d = max(1e-3, min(math.hypot(vx, vy), first + second - 1e-3))
    av = math.degrees(math.atan2(-vx, vy))
    alpha = math.degrees(math.acos(max(-1.0, min(1.0, (first ** 2 + d ** 2 - second ** 2) / (2 * first * d)))))
    beta = math.degrees(math.acos(max(-1.0, min(1.0, (first ** 2 + second ** 2 - d ** 2) / (2 * first * second)))))
    if bend_forward:
        return av + alpha, 180.0 - beta
    return av - alpha, 180.0 - beta


def _joints(p):
    """Joint positions before the whole-body turn."""
    hip = (p["hx"], p["hy"])
    chest = add(hip, up(p["lean"]), SPINE * 0.55)
    neck = add(chest, up(p["lean"] + p["bend"]), SPINE * 0.45)
    head = add(neck, up(p["lean"] + p["bend"] + p["head"]), NECK)
    r = math.radians(p["lean"] + p["bend"])
    back = (math.cos(r), -math.sin(r))          # toward the back, across the spine
    shoulder = add(neck, up(p["lean"] + p["bend"]), -5.0)
    j = dict(hip=hip, chest=chest, neck=neck, head=head, back=back)
    j["shoulder_n"] = add(shoulder, back, -0.5)
    j["shoulder_f"] = add(shoulder, back, 2.0)
    j["hip_n"] = add(hip, back, -0.5)
    j["hip_f"] = add(hip, back, 2.0)
    return j


def skeleton(p, flip=False):
    """Every point the drawing needs, after the whole-body turn about the
    hip and, with flip, mirrored about the hip."""
    j = _joints(p)
    for side in "nf":
        h, k, f = p[side + "lh"], p[side + "lk"], p[side + "lf"]
        knee = add(j["hip_" + side], down(h), THIGH)
        ankle = add(knee, down(h - k), SHIN)
        fr = math.radians(f)
        u = (-math.cos(fr), math.sin(fr))
        n = (math.sin(fr), math.cos(fr))
        j["knee_" + side] = knee
        j["ankle_" + side] = ankle
        j["heel_" + side] = add(add(ankle, u, -3.0), n, 1.0)
        j["toe_" + side] = add(add(ankle, u, 11.0), n, 2.8)
        s, e = p[side + "as"], p[side + "ae"]
        elbow = add(j["shoulder_" + side], down(s), UPPER_ARM)
        j["elbow_" + side] = elbow
        j["hand_" + side] = add(elbow, down(s + e), FOREARM)
    r = math.radians(p["lean"] + p["bend"] + p["head"])
    fwd = (-math.cos(r), math.sin(r))           # the way the face looks
    hup = up(p["lean"] + p["bend"] + p["head"])
    j["eye"] = add(add(j["head"], fwd, 5.6), hup, 1.2)
    j["eye_dir"] = fwd
    j["nape"] = add(add(j["neck"], j["back"], 2.5), up(p["lean"] + p["bend"]), 1.5)
    j["scarf_root"] = add(add(j["neck"], j["back"], 4.0), up(p["lean"] + p["bend"]), -1.0)
    j["knot"] = add(add(j["head"], j["back"], 8.5), hup, 1.0)
    cx, cy = p["hx"], p["hy"]
    r = math.radians(-p["rot"])
    c, s = math.cos(r), math.sin(r)
    out = {}
    for key, v in j.items():
        if key in ("back", "eye_dir"):
            x, y = v[0] * c - v[1] * s, v[0] * s + v[1] * c
            out[key] = (-x if flip else x, y)
            continue
        x, y = v[0] - cx, v[1] - cy
        x, y = x * c - y * s, x * s + y * c
        out[key] = (cx - x if flip else cx + x, cy + y)
    return out


# ------------------------------------------------------------ drawing

def _capsule(ctx, p0, r0, p1, r1):
    """A tapered limb: two discs joined by their outer tangents."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    d = math.hypot(dx, dy)
    if d <= abs(r0 - r1) + 1e-6:
        big = (p0, r0) if r0 >= r1 else (p1, r1)
        ctx.new_sub_path()
        ctx.arc(big[0][0], big[0][1], big[1], 0, TAU)
        ctx.fill()
        return
    a = math.atan2(dy, dx)
    phi = math.asin((r0 - r1) / d)
    ctx.new_sub_path()
    ctx.arc(p0[0], p0[1], r0, a + math.pi / 2 + phi, a + 3 * math.pi / 2 - phi)
    ctx.arc(p1[0], p1[1], r1, a - math.pi / 2 - phi, a + math.pi / 2 + phi)
    ctx.close_path()
    ctx.fill()


def _disc(ctx, p, r):
    ctx.new_sub_path()
    ctx.arc(p[0], p[1], r, 0, TAU)
    ctx.fill()


def _smooth(a, b, x):
    t = np.clip((x - a) / (b - a), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def _alpha_of(surface):
    """An A8 surface as floats 0..1."""
    surface.flush()
    h, w, stride = surface.get_height(), surface.get_width(), surface.get_stride()
    a = np.frombuffer(surface.get_data(), np.uint8).reshape(h, stride)[:, :w]
    return a.astype(np.float32) / 255.0


def _alpha_of_argb(surface):
    surface.flush()
    h, w, stride = surface.get_height(), surface.get_width(), surface.get_stride()
    a = np.frombuffer(surface.get_data(), np.uint8).reshape(h, stride // 4, 4)[:, :w, 3]
    return a.astype(np.float32) / 255.0


def _mask_surface(alpha):
    h, w = alpha.shape
    s = cairo.ImageSurface(cairo.FORMAT_A8, w, h)
    stride = s.get_stride()
    buf = np.zeros((h, stride), np.uint8)
    buf[:, :w] = np.clip(np.rint(alpha * 255.0), 0, 255).astype(np.uint8)
    s.get_data()[:] = buf.tobytes()
    s.mark_dirty()
    return s


def rim_of(alpha, rim):
    """The lit band along the edges of a shape that face up: where the
    shape has no ink `rim` pixels above, faded out as the edge turns
    steep so the light never outlines the sides."""
    lo = int(math.floor(rim))
    frac = rim - lo
    above = np.zeros_like(alpha)
    above[lo:] = alpha[:alpha.shape[0] - lo]
    above2 = np.zeros_like(alpha)
    above2[lo + 1:] = alpha[:alpha.shape[0] - lo - 1]
    above = above * (1 - frac) + above2 * frac
    band = np.clip(alpha - above, 0.0, 1.0)
    soft = alpha.copy()
    soft[1:-1, 1:-1] = (alpha[:-2, :-2] + alpha[:-2, 1:-1] + alpha[:-2, 2:] + alpha[1:-1, :-2] +
                        alpha[1:-1, 1:-1] + alpha[1:-1, 2:] + alpha[2:, :-2] + alpha[2:, 1:-1] +
                        alpha[2:, 2:]) / 9.0
    gy = np.zeros_like(alpha)
    gx = np.zeros_like(alpha)
    gy[1:-1] = soft[2:] - soft[:-2]
    gx[:, 1:-1] = soft[:, 2:] - soft[:, :-2]
    facing_up = gy / (np.hypot(gx, gy) + 1e-6)
    return band * _smooth(0.3, 0.8, facing_up)


class Canvas:
    """One frame's picture, built shape layer by shape layer in device
    pixels (the rim light is measured on the pixels)."""

    def __init__(self, width, height):
        self.surface, self.ctx = ink.surface(width, height)
        self.width, self.height = width, height

    def layer(self, draw, colour, light, rim=1.6, alpha=1.0, seam=None):
        """seam: a colour for the outline of this shape where it lies over
        ink already drawn, so a limb in front of the body still reads."""
        m = cairo.ImageSurface(cairo.FORMAT_A8, self.width, self.height)
        mctx = cairo.Context(m)
        mctx.set_source_rgb(0, 0, 0)
        draw(mctx)
        shape = _alpha_of(m)
        if not shape.any():
            return shape
        ctx = self.ctx
        under = None
        if seam is not None:
            under = _alpha_of_argb(self.surface)
        ctx.push_group()
        ctx.set_source_rgb(*colour)
        ctx.mask_surface(_mask_surface(shape), 0, 0)
        if under is not None:
            inner = shape.copy()
            inner[1:] = np.minimum(inner[1:], shape[:-1])
            inner[:-1] = np.minimum(inner[:-1], shape[1:])
            inner[:, 1:] = np.minimum(inner[:, 1:], shape[:, :-1])
            inner[:, :-1] = np.minimum(inner[:, :-1], shape[:, 1:])
            edge = np.clip(shape - inner, 0.0, 1.0) * under
            ctx.set_source_rgb(*seam)
            ctx.mask_surface(_mask_surface(edge), 0, 0)
        if light is not None:
            ctx.set_source_rgb(*light)
            ctx.mask_surface(_mask_surface(rim_of(shape, rim)), 0, 0)
        ctx.pop_group_to_source()
        ctx.paint_with_alpha(alpha)
        return shape

    def inside(self, shape, draw, colour):
        """Paints draw() in colour only where shape has ink."""
        ctx = self.ctx
        ctx.push_group()
        ctx.set_source_rgb(*colour)
        draw(ctx)
        ctx.set_operator(cairo.OPERATOR_DEST_IN)
        ctx.set_source_rgb(0, 0, 0)
        ctx.mask_surface(_mask_surface(shape), 0, 0)
        ctx.pop_group_to_source()
        ctx.paint()


def _leg(j, side):
    def draw(ctx):
        _capsule(ctx, j["hip_" + side], 7.8, j["knee_" + side], 5.6)
        _capsule(ctx, j["knee_" + side], 5.6, j["ankle_" + side], 3.8)
        _capsule(ctx, j["heel_" + side], 4.0, j["toe_" + side], 2.2)
        _capsule(ctx, j["ankle_" + side], 3.8, j["heel_" + side], 4.0)
    return draw


def _arm(j, side):
    def draw(ctx):
        _capsule(ctx, j["shoulder_" + side], 5.2, j["elbow_" + side], 4.0)
        _capsule(ctx, j["elbow_" + side], 4.0, j["hand_" + side], 3.2)
        _disc(ctx, j["hand_" + side], 4.0)
    return draw


def _body(j):
    def draw(ctx):
        _disc(ctx, j["hip"], 9.0)
        _capsule(ctx, j["hip"], 9.0, j["chest"], 10.4)
        chest_front = add(j["chest"], j["back"], -1.2)
        _capsule(ctx, chest_front, 10.4, j["neck"], 5.4)
        _capsule(ctx, j["neck"], 5.0, j["head"], 6.5)
        _disc(ctx, j["head"], HEAD_R)
        # The hood's knot at the back of the head.
        _capsule(ctx, j["head"], 4.0, j["knot"], 2.6)
    return draw


def _eye(ctx, j, opacity=1.0):
    e, d = j["eye"], j["eye_dir"]
    ctx.save()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(1.7)
    ctx.set_source_rgba(*EYE, opacity)
    # A narrow slit, its inner end tilted up: the look of the hood's opening.
    ctx.move_to(e[0] + d[0] * 1.8, e[1] + d[1] * 1.8)
    ctx.line_to(e[0] - d[0] * 2.2 - d[1] * 0.7, e[1] - d[1] * 2.2 + d[0] * 0.7 - 0.6)
    ctx.stroke()
    ctx.restore()


class Scarf:
    """Two crimson tails from the back of the neck. Each link points where
    the air pushes it, a little later the further out it is, with a ripple
    running down the tail; wind(t) gives the air and the flutter strength,
    period the loop length (0 for one-shot sheets)."""

    def __init__(self, wind, period=0.0, hz=5.0):
        self.wind = wind
        self.period = period
        if period > 0:
            hz = max(1, round(hz * period)) / period
        self.omega = TAU * hz

    def _angle(self, t):
        wx, wy, flap = self.wind(t)
        droop = 260.0
        return math.atan2(wy + droop, wx), min(1.0, math.hypot(wx, wy) / 650.0), flap

    def tails(self, root, t, ends=SCARF_TAILS, seg=SCARF_SEG):
        out = []
        for length, phase in ends:
            n = int(length / seg)
            pts = [root]
            for i in range(n):
                lag = t - 0.006 * i
                if self.period > 0:
                    lag %= self.period
                base, speed, flap = self._angle(lag)
                s = (i + 1) / n
                amp = flap * (0.10 + 0.32 * speed) * s ** 1.2
                a = base + amp * math.sin(self.omega * t - 0.55 * i + phase)
                pts.append(add(pts[-1], (math.cos(a), math.sin(a)), seg))
            out.append(pts)
        return out


def _ribbon(pts, w0, w1):
    def draw(ctx):
        n = len(pts) - 1
        left, right = [], []
        for i, p in enumerate(pts):
            a = pts[min(i + 1, n)]
            b = pts[max(i - 1, 0)]
            tx, ty = a[0] - b[0], a[1] - b[1]
            tl = math.hypot(tx, ty) or 1.0
            nx, ny = -ty / tl, tx / tl
            w = w0 + (w1 - w0) * (i / n)
            left.append((p[0] + nx * w, p[1] + ny * w))
            right.append((p[0] - nx * w, p[1] - ny * w))
        ctx.move_to(*left[0])
        for q in left[1:]:
            ctx.line_to(*q)
        # A cut, slanted end.
        ctx.line_to(pts[-1][0] + (pts[-1][0] - pts[-2][0]) * 0.8, pts[-1][1] + (pts[-1][1] - pts[-2][1]) * 0.8)
        for q in reversed(right):
            ctx.line_to(*q)
        ctx.close_path()
        ctx.fill()
    return draw


def draw_hero(canvas, p, scarf, t, flip=False, offset=(0.0, 0.0)):
    """The whole figure for one pose onto a canvas, moved by offset, with
    the scarf and the hood's ties as the scarf's air moves them at time t."""
    bones = skeleton(p, flip)
    j = {k: (v if k in ("back", "eye_dir") else (v[0] + offset[0], v[1] + offset[1]))
         for k, v in bones.items()}

    def moved(lines):
        return [[(x + offset[0], y + offset[1]) for x, y in pts] for pts in lines]
    for pts in moved(scarf.tails(bones["scarf_root"], t)):
        canvas.layer(_ribbon(pts, 4.0, 1.6), SCARF_DARK, SCARF, rim=1.8)
    for pts in moved(scarf.tails(bones["knot"], t, HOOD_TIES, HOOD_SEG)):
        canvas.layer(_ribbon(pts, 1.9, 0.7), INK, RIM, rim=1.2)
    canvas.layer(_arm(j, "f"), FAR_INK, FAR_RIM, rim=1.3)
    canvas.layer(_leg(j, "f"), FAR_INK, FAR_RIM, rim=1.3)
    body = canvas.layer(_body(j), INK, RIM)

    def sash(ctx):
        # The belt round the waist, across the spine a third of the way up.
        spine = (j["chest"][0] - j["hip"][0], j["chest"][1] - j["hip"][1])
        low, high = add(j["hip"], spine, 0.28), add(j["hip"], spine, 0.50)
        ctx.move_to(*add(low, j["back"], -16))
        ctx.line_to(*add(low, j["back"], 16))
        ctx.line_to(*add(high, j["back"], 16))
        ctx.line_to(*add(high, j["back"], -16))
        ctx.close_path()
        ctx.fill()
    canvas.inside(body, sash, SASH)

    def wrap(ctx):
        _capsule(ctx, add(j["neck"], j["back"], -2.5), 5.0, j["scarf_root"], 4.4)
    canvas.layer(wrap, SCARF, SCARF_RIM, rim=1.4)
    canvas.layer(_leg(j, "n"), INK, RIM, seam=SEAM)
    canvas.layer(_arm(j, "n"), INK, RIM, seam=SEAM)
    _eye(canvas.ctx, j)


# ------------------------------------------------------------ posing



def ankle_height(pitch):
    """How high the ankle stands over the lowest point of the foot."""
    r = math.radians(pitch)
    return max(11 * math.sin(r) + 2.8 * math.cos(r) + 2.2, -3 * math.sin(r) + math.cos(r) + 4.0)


def P(base=None, n=None, f=None, hn=None, hf=None, **changes):
    """A pose from `base` (the rest pose) with changes. n, f: the near and
    far foot standing on the ground, (x, pitch). hn, hf: the near and far
    hand reaching for (x, y)."""
    p = dict(REST if base is None else base)
    p.update(changes)
    for side, foot in (("n", n), ("f", f)):
        if foot is not None:
            x, pitch = foot
            p[side + "lw"], p[side + "lx"] = 1.0, x
            p[side + "ly"] = GROUND - ankle_height(pitch)
            p[side + "lf"] = pitch
    for side, hand in (("n", hn), ("f", hf)):
        if hand is not None:
            p[side + "aw"], p[side + "ax"], p[side + "ay"] = 1.0, hand[0], hand[1]
    return p


def solve(p):
    """Turns reaching limbs into angles, blended by their weights."""
    p = dict(p)
    j = _joints(p)
    for side in "nf":
        w = p[side + "lw"]
        if w > 0:
            h, k = limb_ik(j["hip_" + side], (p[side + "lx"], p[side + "ly"]), THIGH, SHIN, True)
            p[side + "lh"] += (h - p[side + "lh"]) * w
            p[side + "lk"] += (k - p[side + "lk"]) * w
        w = p[side + "aw"]
        if w > 0:
            s, e = limb_ik(j["shoulder_" + side], (p[side + "ax"], p[side + "ay"]), UPPER_ARM, FOREARM, False)
            p[side + "as"] += (s - p[side + "as"]) * w
            p[side + "ae"] += (e - p[side + "ae"]) * w
    return p


class Track:
    """Keyframed poses, a smooth curve through every key that never swings
    past them; with `period` the keys wrap round so the loop has no seam."""

    def __init__(self, keys, period=None):
        # Keys are solved first: between a planted and a free limb the
        # angles blend, and a limb planted in both keys stays planted.
        self.keys = sorted(((x, solve(p) if "hx" in p else dict(p)) for x, p in keys),
                           key=lambda k: k[0])
        self.period = period

    def _key(self, i):
        n = len(self.keys)
        if self.period is None:
            i = max(0, min(n - 1, i))
            return self.keys[i]
        x, p = self.keys[i % n]
        return x + (i // n) * self.period, p

    def __call__(self, x):
        keys = self.keys
        if self.period is not None:
            x %= self.period
            if x < keys[0][0]:
                x += self.period
        elif x <= keys[0][0]:
            return dict(keys[0][1])
        elif x >= keys[-1][0]:
            return dict(keys[-1][1])
        i = 0
        while True:
            x1, _ = self._key(i + 1)
            if x < x1 or (self.period is None and i + 1 >= len(keys) - 1):
                break
            i += 1
        x0, p0 = self._key(i)
        x1, p1 = self._key(i + 1)
        xa, pa = self._key(i - 1)
        xb, pb = self._key(i + 2)
        u = (x - x0) / (x1 - x0)
        h00, h10 = 2 * u ** 3 - 3 * u ** 2 + 1, u ** 3 - 2 * u ** 2 + u
        h01, h11 = -2 * u ** 3 + 3 * u ** 2, u ** 3 - u ** 2
        out = {}
        for k in p0:
            m0 = (p1[k] - pa[k]) / (x1 - xa) * (x1 - x0) if x1 != xa else 0.0
            m1 = (pb[k] - p0[k]) / (xb - x0) * (x1 - x0) if xb != x0 else 0.0
            # No overshoot: a key that is a turning point, or a held value,
            # is passed with zero speed, and no tangent outruns its segment.
            step = p1[k] - p0[k]
            if (p0[k] - pa[k]) * step <= 0:
                m0 = 0.0
            if (pb[k] - p1[k]) * step <= 0:
                m1 = 0.0
            m0 = max(-3 * abs(step), min(3 * abs(step), m0))
            m1 = max(-3 * abs(step), min(3 * abs(step), m1))
            out[k] = h00 * p0[k] + h10 * m0 + h01 * p1[k] + h11 * m1
        # Weights and flip marks stay within their range between keys.
        for k in ("nlw", "flw", "naw", "faw", "flap"):
            if k in out:
                out[k] = max(0.0, min(1.5 if k == "flap" else 1.0, out[k]))
        return out


class Anim:
    """One sheet: the name the game gives it, its image, grid and play mode,
    and pose_at(frame) -> pose (frame may be fractional or out of range).
    flip_at(frame) mirrors the figure (the wall jump turns round in the
    air). Loops (modes 1 and 4) get a scarf whose ripple fits the loop."""

    def __init__(self, name, image, columns, rows, mode, pose_at, flip_at=None, scarf_hz=5.0,
                 scarf_end=False):
        self.name, self.image = name, image
        self.columns, self.rows, self.mode = columns, rows, mode
        self.count = columns * rows
        self.pose_at = pose_at
        self.flip_at = flip_at or (lambda x: False)
        self.shown = tuning.shown_for(tuning.FRAME_TIMES[name])
        self.loop = mode in (1, 4)
        period = self.count * self.shown if self.loop else 0.0
        # A one-shot that hands over to a loop ends on the loop's ripple.
        self.t_end = (self.count - 1) * self.shown if scarf_end else 0.0
        self.scarf = Scarf(self._wind, period, scarf_hz)

    def _wind(self, t):
        p = self.pose_at((t + self.t_end) / self.shown)
        return p["wx"], p["wy"], p["flap"]

    def pose(self, i):
        return solve(self.pose_at(i))

    def draw(self, canvas, i, offset=(0.0, 0.0)):
        p = self.pose(i)
        flip = self.flip_at(i)
        draw_hero(canvas, p, self.scarf, i * self.shown - self.t_end, flip, offset)

    def frame(self, i):
        canvas = Canvas(F, F)
        self.draw(canvas, i)
        return canvas.surface

    def sheet(self):
        def frame(ctx, i, *_):
            picture = self.frame(i)
            check_margins(picture, "%s frame %d" % (self.image, i))
            ctx.set_source_surface(picture, 0, 0)
            ctx.paint()
        return ink.sheet(F, F, self.columns, self.rows, frame)


MARGIN = 2


def check_margins(picture, what, bottom=False):
    """Nothing may reach the frame's edges but the soles: the game drops the
    first row and column of every frame, and a cut scarf would show."""
    a = _alpha_of_argb(picture)
    edges = [a[:MARGIN], a[:, :MARGIN], a[:, -MARGIN:]]
    if bottom:
        edges.append(a[-MARGIN:])
    if any(e.max() > 0 for e in edges):
        raise ValueError(what + " reaches the edge of its frame")


# ------------------------------------------------------------ gaits

def _stance_foot(u, stance, touch_x, travel, toe_off):
    """Where a planted foot is at leg phase u < stance: moving back at the
    ground speed, rolling onto the toe towards the push-off."""
    s = u / stance
    lift = max(0.0, (s - 0.45) / 0.55)
    return touch_x + travel * s, toe_off * lift * lift


def _cycle(frames, shown, speed, near_strike, stance, touch_x, swing, toe_off, body):
    """A running cycle: both legs on one stride half a cycle apart, the near
    foot striking the ground at frame near_strike. While planted a foot
    moves back at exactly the ground speed; the swing forward runs through
    swing keys (leg phase, thigh angle, knee flex, foot pitch), joined to
    the planted angles at push-off and strike. body(phase, p) poses the
    rest (phase 0..1 over the loop)."""
    travel = speed * shown * frames * stance

    def base(phase):
        p = dict(REST)
        body(phase % 1.0, p)
        return p

    def planted_angles(side, phase, u):
        p = base(phase)
        x, pitch = _stance_foot(u, stance, touch_x, travel, toe_off)
        h, k = limb_ik(_joints(p)["hip_" + side], (x, GROUND - ankle_height(pitch)), THIGH, SHIN, True)
        return dict(h=h, k=k, p=pitch)

    def leg(side, phase, offset):
        u = (phase - offset) % 1.0
        if u < stance:
            return "ik", _stance_foot(u, stance, touch_x, travel, toe_off)
        start = phase - (u - stance)            # this stride's push-off
        keys = [(stance - 0.05, planted_angles(side, start - 0.05, stance - 0.05)),
                (stance, planted_angles(side, start, stance - 1e-6))]
        keys += [(su, dict(h=h, k=k, p=pitch)) for su, h, k, pitch in swing]
        keys += [(1.0, planted_angles(side, start + 1 - stance, 0.0)),
                 (1.05, planted_angles(side, start + 1.05 - stance, 0.05))]
        return "fk", Track(keys)(u)

    def at(x):
        phase = x / frames
        p = base(phase)
        for side, offset in (("n", near_strike / frames), ("f", near_strike / frames + 0.5)):
            kind, v = leg(side, phase, offset)
            if kind == "ik":
                foot_x, pitch = v
                p[side + "lw"], p[side + "lx"] = 1.0, foot_x
                p[side + "ly"] = GROUND - ankle_height(pitch)
                p[side + "lf"] = pitch
            else:
                p[side + "lw"] = 0.0
                p[side + "lh"], p[side + "lk"], p[side + "lf"] = v["h"], v["k"], v["p"]
        return p
    return at


def run_anim():
    frames, shown = 14, tuning.shown_for(tuning.FRAME_TIMES["Run"])
    # Strikes on columns 2 and 9, where the game plays the footsteps.
    strike = 2

    def body(phase, p):
        bob = math.cos(TAU * 2 * (phase - (strike + 1.25) / frames))
        arm = math.cos(TAU * (phase - strike / frames))
        p.update(hx=CX + 2, hy=74.0 + 2.5 * bob, lean=18.0 + 1.5 * bob, bend=4.0, head=-12.0,
                 nas=-8.0 - 58.0 * arm, nae=92.0 + 16 * arm,
                 fas=-8.0 + 58.0 * arm, fae=92.0 - 16 * arm,
                 wx=620.0, wy=-40.0, flap=1.2)
    swing = [(0.32, -25.0, 110.0, 70.0), (0.48, 20.0, 135.0, 60.0), (0.64, 70.0, 100.0, 25.0),
             (0.80, 55.0, 40.0, -5.0), (0.93, 33.0, 22.0, -8.0)]
    at = _cycle(frames, shown, tuning.value("Speed", "Run"), strike, 2.5 / frames, 46.0, swing, 45.0, body)
    return Anim("Run", "ani_sprint.png", frames, 1, 1, at, scarf_hz=6.0)


def walk_anim():
    columns, rows = 4, 4
    frames, shown = columns * rows, tuning.shown_for(tuning.FRAME_TIMES["Walk"])
    # Strikes on row 0 and row 2, column 2: the game's two footsteps.
    strike = 2

    def body(phase, p):
        bob = math.cos(TAU * 2 * (phase - (strike + 2) / frames))
        swing = math.cos(TAU * (phase - strike / frames))
        p.update(hx=CX + 1, hy=72.0 + 2.0 * bob, lean=11.0 + bob, bend=3.0, head=-8.0,
                 nas=-34.0 * swing, nae=84.0 + 10 * swing,
                 fas=34.0 * swing, fae=84.0 - 10 * swing,
                 wx=380.0, wy=-20.0, flap=1.0)
    swing = [(0.38, -20.0, 85.0, 60.0), (0.54, 15.0, 105.0, 45.0), (0.71, 50.0, 72.0, 15.0),
             (0.87, 40.0, 30.0, -5.0)]
    at = _cycle(frames, shown, tuning.value("Speed", "Walk"), strike, 0.26, 46.0, swing, 40.0, body)
    return Anim("Walk", "ani_run.png", columns, rows, 4, at, scarf_hz=4.0)


STAND_NEAR, STAND_FAR = 49.0, 80.0


def stand_pose(phase=0.0):
    """Ready, knees bent, the near fist up in guard; phase 0..1 is one
    breath."""
    breath = math.sin(TAU * phase)
    return P(hx=CX + 2, hy=72.5 + 0.8 * breath, lean=9.0 + 1.2 * breath, bend=3.0 - 0.8 * breath,
             head=-7.0 - 0.6 * breath, hn=(CX - 15, 62.0 + 0.7 * breath), fas=-22.0 + 1.5 * breath,
             fae=42.0, n=(STAND_NEAR, 0.0), f=(STAND_FAR, 0.0), wx=190.0, wy=-30.0, flap=0.7)


def stand_anim():
    columns, rows = 16, 3
    frames = columns * rows
    return Anim("Stand", "ani_stand.png", columns, rows, 4, lambda x: stand_pose(x / frames), scarf_hz=2.0)


# ------------------------------------------------------------ one-shots and holds

def _walk_pose(x):
    return walk_anim().pose_at(x)


def _run_pose(x):
    return run_anim().pose_at(x)


def _frames(name):
    return tuning.shown_for(tuning.FRAME_TIMES[name])


# A jump on its way up, the float at its top and the fall: the poses the
# air animations hand to each other.
RISE = P(hy=66.0, lean=4.0, bend=2.0, head=-8.0,
         nlh=58.0, nlk=105.0, nlf=25.0, flh=-6.0, flk=42.0, flf=38.0,
         nas=95.0, nae=40.0, fas=-58.0, fae=34.0, wx=480.0, wy=520.0, flap=1.0)
FALL = P(hy=71.0, lean=0.0, bend=0.0, head=-6.0,
         nlh=30.0, nlk=62.0, nlf=18.0, flh=-14.0, flk=40.0, flf=30.0,
         nas=150.0, nae=28.0, fas=205.0, fae=22.0, wx=420.0, wy=-620.0, flap=1.3)

# Pressed to a wall on the left: the hand and the ball of the near foot on
# it, where the game's side box stops the body.
WALL_X = 46.0


def wall_pose(phase=0.0):
    """Hanging on the wall by the near hand, the near foot braced on it,
    dragging down; phase 0..1 over the loop."""
    judder = math.sin(TAU * phase)
    hand_y = 27.0 + 1.5 * math.sin(TAU * phase * 2)
    return P(hx=CX + 3, hy=74.0 + 0.6 * judder, lean=-2.0, bend=-2.0, head=-14.0,
             hn=(WALL_X + 4.5, hand_y), fas=-28.0 + 4 * judder, fae=48.0,
             nlw=1.0, nlx=WALL_X + 10.0, nly=101.0, nlf=48.0,
             flh=-6.0, flk=24.0 + 3 * judder, flf=46.0, wx=360.0, wy=-560.0, flap=1.1)


def crouch_pose():
    """Low on the ground, weight forward, within one tile of height."""
    return P(hx=CX + 10, hy=107.0, lean=56.0, bend=10.0, head=-42.0,
             n=(CX - 14, 0.0), f=(CX + 22, 50.0),
             nas=62.0, nae=70.0, fas=-30.0, fae=56.0, wx=200.0, wy=-40.0, flap=0.8)


def slide_pose(drift=0.0):
    """Feet first along the ground, leaning back on the trailing hand."""
    return P(hx=CX + 2, hy=114.0 + drift, lean=-50.0, bend=16.0, head=4.0,
             n=(CX - 48, -30.0), flh=40.0, flk=120.0, flf=30.0,
             nas=40.0, nae=40.0, hf=(CX + 30, 122.0), wx=260.0, wy=-700.0, flap=1.1)


def sit_pose():
    """Where a slide comes to rest: sat low, knees drawn up, leaning back
    on the trailing hand; still under one tile."""
    return P(hx=CX + 6, hy=114.0, lean=-44.0, bend=22.0, head=-6.0,
             n=(CX - 24, 0.0), f=(CX - 10, 30.0),
             nas=58.0, nae=50.0, hf=(CX + 30, 122.0), wx=40.0, wy=0.0, flap=0.7)


def run_to_stand_anim():
    frames = 14
    skid = P(hx=CX + 4, hy=84.0, lean=-10.0, bend=6.0, head=-2.0,
             n=(CX - 26, -18.0), f=(CX + 14, 40.0),
             nas=62.0, nae=40.0, fas=-46.0, fae=36.0, wx=40.0, wy=-40.0, flap=1.0)
    # The scarf keeps going when the body stops: up, over and forward, then
    # it falls back behind.
    keys = [(0, P(_run_pose(0), wx=500.0)),
            (2, P(skid, wx=300.0, wy=-100.0)),
            (5, P(skid, hy=86.0, lean=-12.0, n=(CX - 24, -14.0), wx=-60.0, wy=-440.0, flap=1.2)),
            (8, P(skid, hy=84.0, lean=-8.0, n=(CX - 20, -10.0), wx=-420.0, wy=-200.0)),
            (10, P(skid, hy=80.0, lean=-2.0, n=(CX - 16, -6.0), f=(CX + 12, 20.0), wx=-160.0, wy=0.0)),
            (12, P(stand_pose(0), hy=74.0, lean=10.0, wx=40.0)),
            (13, stand_pose(0))]
    return Anim("RunToStand", "ani_sprint_to_stand.png", frames, 1, 0, Track(keys), scarf_hz=2.0,
                scarf_end=True)


def stand_to_walk_anim():
    frames = 4
    keys = [(0, stand_pose(0)),
            (1.4, P(stand_pose(0), hy=74.0, lean=14.0, f=(STAND_FAR + 6, 35.0), nlw=0.0,
                    nlh=38.0, nlk=60.0, nlf=5.0, nas=-20.0, fas=24.0, wx=260.0)),
            (3, _walk_pose(0))]
    return Anim("StandToWalk", "ani_stand_to_run.png", frames, 1, 0, Track(keys), scarf_hz=4.0,
                scarf_end=True)


def jump_anim():
    frames = 14
    push = P(hy=62.0, lean=10.0, bend=0.0, head=-10.0,
             nlh=-22.0, nlk=8.0, nlf=55.0, flh=52.0, flk=88.0, flf=20.0,
             nas=110.0, nae=26.0, fas=-44.0, fae=20.0, wx=260.0, wy=700.0)
    keys = [(0, push),
            (3, P(RISE, hy=64.0, nlh=14.0, nlk=72.0, flh=66.0, flk=112.0, nas=120.0)),
            (7, P(RISE, nlh=60.0, nlk=118.0, flh=-10.0, flk=58.0)),
            (13, RISE)]
    return Anim("Jump", "ani_jump.png", frames, 1, 0, Track(keys), scarf_hz=5.0)


def jump_fall_anim():
    frames = 8
    top = P(RISE, hy=67.0, lean=2.0, nlh=44.0, nlk=90.0, flh=-10.0, flk=50.0,
            nas=128.0, nae=30.0, fas=40.0, fae=40.0, wx=240.0, wy=60.0, flap=0.8)
    keys = [(0, RISE), (3, top), (7, fall_loop_anim().pose_at(0))]
    return Anim("JumpFall", "ani_jump_fall.png", frames, 1, 0, Track(keys), scarf_hz=7.5, scarf_end=True)


def fall_loop_anim():
    frames = 8

    def at(x):
        a = TAU * x / frames
        return P(FALL, nas=FALL["nas"] + 8 * math.sin(a), fas=FALL["fas"] - 8 * math.sin(a + 0.6),
                 nae=FALL["nae"] + 6 * math.cos(a), nlh=FALL["nlh"] + 4 * math.sin(a + 1.2),
                 flh=FALL["flh"] - 4 * math.sin(a + 1.2), hy=FALL["hy"] + 0.6 * math.cos(2 * a))
    return Anim("FallLoop", "ani_fall_loop.png", frames, 1, 1, at, scarf_hz=7.5)


def wall_slide_anim():
    columns, rows = 4, 2
    frames = columns * rows
    return Anim("WallSlide", "ani_wall_slide.png", columns, rows, 4, lambda x: wall_pose(x / frames),
                scarf_hz=4.5)


def wall_slide_up_anim():
    frames = 6
    reach = P(FALL, hx=CX + 2, lean=8.0, hn=(WALL_X + 3, 40.0), nlw=0.6, nlx=WALL_X + 12, nly=96.0,
              nlf=35.0, flh=-8.0, flk=36.0, fas=-10.0, fae=50.0, wx=120.0, wy=-700.0)
    keys = [(0, FALL), (2, reach), (5, wall_pose(0))]
    wall = wall_slide_anim()
    return Anim("WallSlideUp", "ani_wall_slide_up.png", frames, 1, 4, Track(keys),
                scarf_hz=wall.scarf.omega / TAU, scarf_end=True)


def wall_slide_down_anim():
    frames = 8
    land = P(wall_pose(0), hy=86.0, lean=14.0, n=(WALL_X + 8, 0.0), f=(CX + 12, 10.0),
             hn=(WALL_X + 4.5, 62.0), fas=-20.0, fae=60.0, wx=100.0, wy=-100.0)
    keys = [(0, wall_pose(0)),
            (2, land),
            (4, P(land, hy=80.0, lean=8.0, n=(WALL_X + 8, 0.0), f=(STAND_FAR, 0.0),
                  hn=(WALL_X + 8, 66.0), naw=0.5, nas=10.0, nae=60.0)),
            (7, stand_pose(0))]
    return Anim("WallSlideDown", "ani_wall_slide_down.png", frames, 1, 4, Track(keys), scarf_hz=2.0,
                scarf_end=True)


def stand_to_crouch_anim():
    frames = 6
    dip = P(stand_pose(0), hy=90.0, lean=28.0, bend=8.0, head=-20.0, n=(CX - 12, 0.0),
            f=(CX + 18, 30.0), nas=40.0, nae=70.0, wx=160.0)
    keys = [(0, stand_pose(0)), (2.5, dip), (5, crouch_pose())]
    return Anim("StandToCrouch", "ani_stand_to_crouch.png", frames, 1, 0, Track(keys), scarf_hz=2.0)


def crouch_anim():
    frames = 16
    keys = [(0, P(slide_pose(-1.5), lean=-46.0, n=(CX - 42, -20.0), wx=300.0)),
            (2, slide_pose()),
            (7, P(slide_pose(0.5), wx=240.0)),
            (11, P(slide_pose(0.5), lean=-48.0, n=(CX - 38, -10.0), wx=180.0)),
            (15, sit_pose())]
    return Anim("Crouch", "ani_crouch.png", frames, 1, 0, Track(keys), scarf_hz=3.0)


def wall_jump_anim():
    """Kicks off a wall on the left and turns round in a tuck: the game draws
    this sheet unmirrored when the jump goes right, so it ends facing right
    (mirrored), where the fall that follows takes over."""
    columns, rows = 7, 2
    coil = P(wall_pose(0), hx=CX + 6, hy=76.0, lean=-6.0, head=-10.0,
             nlw=1.0, nlx=WALL_X + 9, nly=98.0, nlf=50.0,
             flw=1.0, flx=WALL_X + 14, fly=108.0, flf=60.0,
             hn=(WALL_X + 4.5, 40.0), wx=360.0, wy=-560.0)
    push = P(REST, hx=CX + 3, hy=73.0, lean=-28.0, bend=-6.0, head=-4.0,
             nlh=-52.0, nlk=8.0, nlf=40.0, flh=-40.0, flk=26.0, flf=50.0,
             nas=150.0, nae=20.0, fas=-120.0, fae=30.0, wx=-100.0, wy=-100.0, flap=1.2)
    fly = P(push, hx=CX + 4, hy=68.0, lean=-34.0, rot=-12.0, nlh=-40.0, nlk=30.0, flh=-20.0, flk=50.0,
            nas=170.0, fas=-150.0, wx=-420.0, wy=300.0)
    tuck = P(REST, hx=CX, hy=64.0, lean=34.0, bend=14.0, head=10.0, rot=-20.0,
             nlh=104.0, nlk=142.0, nlf=30.0, flh=96.0, flk=136.0, flf=35.0,
             nas=80.0, nae=96.0, fas=64.0, fae=104.0, wx=-520.0, wy=480.0, flap=1.2)
    # After the turn the poses are given facing left and drawn mirrored; the
    # wind is already in the frame, streaming behind a hero going right.
    opened = P(RISE, hy=65.0, lean=12.0, nlh=74.0, nlk=118.0, flh=30.0, flk=92.0,
               nas=120.0, fas=10.0, wx=-480.0, wy=520.0)
    keys = [(0, coil), (1, push), (2.5, fly), (4.5, tuck), (5.5, P(tuck, rot=-10.0)),
            (7.5, opened), (13, P(RISE, wx=-480.0))]
    return Anim("WallJump", "ani_wall_jump.png", columns, rows, 3, Track(keys),
                flip_at=lambda x: x >= 5, scarf_hz=6.0)


# ------------------------------------------------------------ the finish run

# Frames of the finish-run sheets in the air, as the movement rules put
# them with the shipped values (checked at build time against the run the
# game's player code measured, hero_feel.json).
END_AIR = {"End02": [], "End03": [(0, 9), (17, 22)], "End04": [(4, 26)], "End05": []}


def _end_air_frames():
    """Frames of each finish sheet during which the hero never touches the
    ground, from the finish run as the game's player code plays it."""
    shown = {}
    for name, frame, _, ground in tuning.measured()["finishRun"]:
        shown.setdefault(name, {}).setdefault(frame, []).append(ground)
    air = {}
    for name, frames in shown.items():
        spans, start = [], None
        for f in sorted(frames):
            airborne = not any(frames[f])
            if airborne and start is None:
                start = f
            if not airborne and start is not None:
                spans.append((start, f - 1))
                start = None
        if start is not None:
            spans.append((start, max(frames)))
        air[name] = spans
    return air


TAKEOFF = P(hy=67.0, lean=8.0, bend=0.0, head=-10.0,
            nlh=-26.0, nlk=6.0, nlf=58.0, flh=48.0, flk=84.0, flf=20.0,
            nas=124.0, nae=24.0, fas=-40.0, fae=24.0, wx=420.0, wy=500.0, flap=1.1)


def _gather(pose):
    """A jogging pose sunk into the knees, both feet down: ready to hop."""
    return P(pose, hy=pose["hy"] + 8.0, lean=pose["lean"] + 6.0, n=(CX - 10, 0.0), f=(CX + 16, 30.0),
             nas=-30.0, nae=70.0, fas=-50.0, fae=60.0)


def end02_anim():
    jog = _walk_pose
    keys = [(x, jog(x)) for x in range(5)]
    keys += [(6.5, _gather(jog(6))), (8, TAKEOFF)]
    return Anim("End02", "ani_end_02.png", 9, 1, 0, Track(keys), scarf_hz=4.0)


# Where the second hop lands and the last leap gathers itself.
END03_LAST = P(_gather(_walk_pose(6)), wx=300.0)


def end03_anim():
    split = P(REST, hx=CX + 3, hy=66.0, lean=2.0, bend=-4.0, head=-10.0,
              nlh=60.0, nlk=10.0, nlf=-10.0, flh=-50.0, flk=18.0, flf=45.0,
              nas=118.0, nae=16.0, fas=-100.0, fae=20.0, wx=380.0, wy=80.0, flap=1.2)
    land = P(REST, hy=66.0, lean=6.0, nlh=30.0, nlk=36.0, nlf=0.0, flh=-12.0, flk=48.0, flf=30.0,
             nas=60.0, nae=40.0, fas=-40.0, fae=40.0, wx=380.0, wy=-300.0)
    joy = P(REST, hy=68.0, lean=-4.0, bend=-4.0, head=-16.0,
            nlh=96.0, nlk=130.0, nlf=30.0, flh=80.0, flk=124.0, flf=35.0,
            nas=150.0, nae=14.0, fas=212.0, fae=14.0, wx=360.0, wy=200.0, flap=1.3)
    jog = _walk_pose
    keys = [(0, TAKEOFF), (2, P(TAKEOFF, nlh=10.0, nlk=40.0, flh=70.0, flk=90.0)),
            (4, split), (6.5, P(split, nlh=58.0, flh=-48.0)), (9.5, land),
            (11, P(jog(2), hy=jog(2)["hy"] + 4.0)), (12, jog(3)), (13, jog(4)),
            (14.5, _gather(jog(5.5))), (16, TAKEOFF),
            (18, P(RISE, nlh=70.0, nlk=110.0)), (19.5, joy), (21, joy),
            (23, land), (24, END03_LAST)]
    return Anim("End03", "ani_end_03.png", 25, 1, 0, Track(keys), scarf_hz=4.0)


KNEE_SLIDE = P(REST, hx=CX + 4, hy=98.0, lean=4.0, bend=6.0, head=-10.0,
               n=(CX - 20, 0.0), flw=1.0, flx=CX + 30, fly=120.0, flf=70.0,
               hn=(CX - 34, 121.0), fas=-60.0, fae=40.0, wx=300.0, wy=-200.0, flap=1.1)


def end04_anim():
    """The last leap: a gathered spring, a front somersault and a landing
    that slides to a stop on one knee."""
    columns, rows = 22, 2
    crouch = END03_LAST
    tuck = P(REST, hx=CX, hy=64.0, lean=30.0, bend=16.0, head=14.0,
             nlh=108.0, nlk=146.0, nlf=30.0, flh=100.0, flk=140.0, flf=35.0,
             nas=86.0, nae=100.0, fas=70.0, fae=108.0, wx=300.0, wy=300.0, flap=1.2)
    reach = P(REST, hy=64.0, lean=-6.0, nlh=44.0, nlk=30.0, nlf=-10.0, flh=20.0, flk=50.0, flf=10.0,
              nas=120.0, nae=30.0, fas=-70.0, fae=30.0, wx=360.0, wy=-500.0)
    keys = [(0, crouch), (2, P(crouch, hy=crouch["hy"] + 6.0, lean=crouch["lean"] + 8.0)),
            (3, TAKEOFF), (5, P(TAKEOFF, nlk=40.0, flh=80.0)),
            (8, P(tuck, rot=70.0)), (13, P(tuck, rot=200.0)), (18, P(tuck, rot=310.0)),
            (21.5, P(reach, rot=350.0)), (24, P(reach, rot=360.0)),
            (26, P(reach, rot=360.0, nlh=36.0, flh=10.0, flk=70.0)),
            (28, P(KNEE_SLIDE, rot=360.0, hy=100.0, wx=420.0)),
            (34, P(KNEE_SLIDE, rot=360.0, wx=320.0)),
            (40, P(KNEE_SLIDE, rot=360.0, hy=98.5, wx=-60.0, wy=-100.0)),
            (43, P(KNEE_SLIDE, rot=360.0, wx=150.0, wy=-40.0, flap=0.8))]
    return Anim("End04", "ani_end_04.png", columns, rows, 3, Track(keys), scarf_hz=4.0)


def end05_anim():
    """Up from the knee to stand tall, the near fist raised."""
    rise = P(stand_pose(0), hy=78.0, lean=12.0, hn=(CX - 18, 64.0))
    victory = P(stand_pose(0), hx=CX + 1, hy=72.0, lean=2.0, bend=-4.0, head=-14.0,
                n=(CX - 10, 0.0), f=(CX + 14, 0.0), naw=0.0, nas=172.0, nae=14.0,
                fas=-30.0, fae=100.0, wx=260.0, wy=-200.0, flap=1.0)
    keys = [(0, P(KNEE_SLIDE, rot=0.0, wx=150.0, wy=-40.0, flap=0.8)), (4, rise),
            (8, P(victory, nas=150.0, nae=40.0, hy=73.0)), (11, victory),
            (19, P(victory, wx=200.0, wy=-120.0, flap=0.8))]
    return Anim("End05", "ani_end_05.png", 20, 1, 0, Track(keys), scarf_hz=3.0)


# ------------------------------------------------------------ death and respawn

BURST = 532
BURST_FRAMES = 7              # 7 x 532 fits one row in 4096
FEET = (BURST / 2, BURST / 2)   # the centre anchor sits on the player's feet
OFFSET = (FEET[0] - CX, FEET[1] - GROUND)
FLASH = (1.0, 0.80, 0.52)

STRUCK = P(hy=70.0, lean=-22.0, bend=-12.0, head=-26.0,
           nlh=24.0, nlk=40.0, nlf=20.0, flh=-22.0, flk=30.0, flf=40.0,
           nas=132.0, nae=24.0, fas=-128.0, fae=30.0, wx=80.0, wy=-300.0, flap=1.0)


def _figure(pose, scarf, t=0.0):
    """The hero alone on a burst-sized canvas, feet on the centre."""
    canvas = Canvas(BURST, BURST)
    draw_hero(canvas, solve(pose), scarf, t, offset=OFFSET)
    return canvas.surface


def _droplets(figure, name, count):
    """Points sampled inside the figure, each with its colour (ink or
    scarf) and its size."""
    rnd = ink.rng(name)
    figure.flush()
    h, w, stride = figure.get_height(), figure.get_width(), figure.get_stride()
    px = np.frombuffer(figure.get_data(), np.uint8).reshape(h, stride // 4, 4)[:, :w]
    ys, xs = np.nonzero(px[:, :, 3] > 200)
    drops = []
    for _ in range(count):
        k = rnd.randrange(len(xs))
        b, g, r = (int(c) for c in px[ys[k], xs[k], :3])
        red = r > 2 * g + 20
        drops.append(dict(x=float(xs[k]), y=float(ys[k]), red=red, r=rnd.random(),
                          turn=rnd.uniform(-0.45, 0.45), life=rnd.uniform(0.6, 1.0),
                          sat=rnd.random()))
    return drops


def _blobs(canvas, blobs):
    """Ink and scarf drops as streaks, lit from above like everything else:
    (x0, y0, x1, y1, radius, red, alpha)."""
    for red, colour, light in ((False, INK, RIM), (True, SCARF, SCARF_RIM)):
        for lo, hi in ((0.0, 0.5), (0.5, 1.01)):
            chosen = [b for b in blobs if b[5] == red and lo <= b[6] < hi]
            if not chosen:
                continue

            def draw(ctx, chosen=chosen):
                for x0, y0, x1, y1, radius, _, _ in chosen:
                    _capsule(ctx, (x0, y0), radius * 0.7, (x1, y1), radius)
            canvas.layer(draw, colour, light, rim=1.4, alpha=(lo + hi) / 2 if lo > 0 else 0.35)


def _mist(canvas, centre, radius, strength, colour=INK):
    if strength <= 0.01:
        return
    ink.radial_disc(canvas.ctx, centre[0], centre[1], radius,
                    [(0, colour, 0.0), (0.55, colour, 0.30 * strength),
                     (0.8, colour, 0.14 * strength), (1, colour, 0.0)])


def _glow(canvas, centre, radius, strength):
    if strength <= 0.01:
        return
    ink.radial_disc(canvas.ctx, centre[0], centre[1], radius,
                    [(0, FLASH, 0.75 * strength), (0.35, RIM, 0.35 * strength), (1, RIM, 0.0)])


def death_sheet():
    """The hero bursts into ink: the struck body, a flash of the world's
    light, then drops thrown out from every part of the body, thinning and
    fading before the last frame."""
    shown = _frames("Death")
    scarf = Scarf(lambda t: (STRUCK["wx"], STRUCK["wy"], STRUCK["flap"]))
    figure = _figure(STRUCK, scarf)
    centre = (FEET[0], FEET[1] - 62.0)
    drops = _droplets(figure, "ani_death", 260)
    end = (BURST_FRAMES - 1) * shown
    tau = 0.11

    def where(d, t):
        dx, dy = d["x"] - centre[0], d["y"] - centre[1]
        a = math.atan2(dy, dx) + d["turn"]
        speed = 260 + 1500 * d["r"] ** 2
        reach = speed * tau * (1 - math.exp(-t / tau))
        return d["x"] + math.cos(a) * reach, d["y"] + math.sin(a) * reach + 140 * t * t

    def frame(ctx, i, *_):
        t = i * shown
        canvas = Canvas(BURST, BURST)
        u = t / end
        _glow(canvas, centre, 70 + 110 * u, (1 - u) ** 2 * (1.0 if i else 0.7))
        _mist(canvas, centre, 90 + 100 * u, math.sin(math.pi * min(1.0, u * 1.3)) * (1 - u))
        body = [1.0, 0.3][i] if i < 2 else 0.0
        if body > 0:
            canvas.ctx.set_source_surface(figure, 0, 0)
            canvas.ctx.paint_with_alpha(body)
        if i > 0:
            blobs = []
            for d in drops:
                v = t / (end * d["life"])
                if v >= 1:
                    continue
                x1, y1 = where(d, t)
                x0, y0 = where(d, max(0.0, t - 0.012))
                radius = (2.0 + 6.5 * (1 - d["r"]) ** 1.6) * (1 - 0.5 * v)
                fade = 1 - _smooth(0.45, 1.0, v)
                blobs.append((x0, y0, x1, y1, radius, d["red"], float(fade)))
            _blobs(canvas, blobs)
        check_margins(canvas.surface, "ani_death.png frame %d" % i, bottom=True)
        ctx.set_source_surface(canvas.surface, 0, 0)
        ctx.paint()
    return ink.sheet(BURST, BURST, BURST_FRAMES, 1, frame)


def respawn_sheet():
    """The ink gathers back: drops stream in from all round onto the body,
    which fills in under a rising light and ends on the first falling pose,
    where the game hands over to the fall."""
    fall = fall_loop_anim()
    whole = Canvas(BURST, BURST)
    draw_hero(whole, fall.pose(0), fall.scarf, 0.0, offset=OFFSET)
    figure = whole.surface
    centre = (FEET[0], FEET[1] - 62.0)
    drops = _droplets(figure, "ani_respawn", 240)
    rnd = ink.rng("ani_respawn_paths")
    for d in drops:
        a = rnd.uniform(0, TAU)
        dist = rnd.uniform(110, 200)
        # Start inside the frame, whichever way the drop comes from.
        for axis, v in ((d["x"], math.cos(a + 0.35)), (d["y"], math.sin(a + 0.35))):
            if abs(v) > 1e-6:
                room = ((BURST - 16 - axis) if v > 0 else (axis - 16)) / abs(v)
                dist = min(dist, room)
        d["from"] = (math.cos(a), math.sin(a), dist)
        d["late"] = rnd.uniform(0.0, 0.25)
    last = BURST_FRAMES - 1

    def frame(ctx, i, *_):
        canvas = Canvas(BURST, BURST)
        u = i / last
        _glow(canvas, centre, 60 + 80 * u, math.sin(math.pi * min(1.0, u * 1.15)) * 0.9)
        _mist(canvas, centre, 190 - 100 * u, (1 - u) * 0.8)
        body = _smooth(0.45, 1.0, u)
        if i < last:
            blobs = []
            for d in drops:
                # Each drop flies in along a gentle curve and lands on its
                # own place in the body.
                s = min(1.0, max(0.0, (u - d["late"]) / (1 - d["late"])))
                k = (1 - s) ** 2
                cx, cy, dist = d["from"]
                bend = 0.35 * (1 - s)
                ox = cx * math.cos(bend) - cy * math.sin(bend)
                oy = cx * math.sin(bend) + cy * math.cos(bend)
                x1, y1 = d["x"] + ox * dist * k, d["y"] + oy * dist * k
                k0 = (1 - max(0.0, s - 0.05)) ** 2
                x0, y0 = d["x"] + ox * dist * k0, d["y"] + oy * dist * k0
                radius = 1.4 + 3.5 * (1 - d["r"]) ** 1.6 * (0.5 + 0.5 * s)
                fade = min(1.0, 0.35 + u * 1.6) * (1 - _smooth(0.75, 1.0, s) * body)
                blobs.append((x0, y0, x1, y1, radius, d["red"], float(fade)))
            _blobs(canvas, blobs)
        if body > 0:
            canvas.ctx.set_source_surface(figure, 0, 0)
            canvas.ctx.paint_with_alpha(float(body))
        check_margins(canvas.surface, "ani_respawn.png frame %d" % i, bottom=True)
        ctx.set_source_surface(canvas.surface, 0, 0)
        ctx.paint()
    return ink.sheet(BURST, BURST, BURST_FRAMES, 1, frame)


# ------------------------------------------------------------ collision boxes

FOOT_BOX = 20.0          # width and height of the head and foot boxes
SIDE_FLOOR = 104.0       # side boxes stop this far down, clear of the floor
ONE_TILE = 64.0


def _extent(p, parts):
    """Left, right and top of the named discs of a pose (x - r, x + r, y - r)."""
    j = skeleton(p)
    radius = dict(hip=9.0, chest=10.4, neck=5.4, head=HEAD_R, knee_n=5.6, knee_f=5.6,
                  ankle_n=3.8, ankle_f=3.8, toe_n=2.2, toe_f=2.2, heel_n=4.0, heel_f=4.0,
                  elbow_n=4.0, elbow_f=4.0, hand_n=4.0, hand_f=4.0)
    xs0 = [j[k][0] - radius[k] for k in parts]
    xs1 = [j[k][0] + radius[k] for k in parts]
    ys = [j[k][1] - radius[k] for k in parts]
    return min(xs0), max(xs1), min(ys)


def _box(x0, y0, x1, y1):
    return {"x": x0, "y": y0, "width": x1 - x0, "height": y1 - y0}


def default_boxes():
    """The standing set, from the first standing frame. Never mirrored, so
    symmetric about the anchor. The side boxes each span the whole body
    (short of the far edge by half a pixel, so a wall on one side never
    touches the other box): the game centres the wall dust and the
    wall-jump puff on the wall through them."""
    p = solve(stand_pose(0))
    x0, x1, top = _extent(p, ["hip", "chest", "head"])
    half = math.ceil(max(CX - x0, x1 - CX))
    top = math.floor(top) + 2
    return {"Top": _box(CX - FOOT_BOX / 2, top, CX + FOOT_BOX / 2, top + FOOT_BOX),
            "Left": _box(CX - half, top + FOOT_BOX + 2, CX + half - 0.5, SIDE_FLOOR),
            "Right": _box(CX - half + 0.5, top + FOOT_BOX + 2, CX + half, SIDE_FLOOR),
            "Bottom": _box(CX - FOOT_BOX / 2, GROUND - FOOT_BOX, CX + FOOT_BOX / 2, GROUND)}


def crouch_boxes(p):
    """The crouching set for one pose: low enough to pass under a single
    tile (the feet rest a pixel inside the floor). Top and bottom stay
    symmetric, since the game never mirrors them; "Left" is the side the
    art faces."""
    parts = ["hip", "chest", "neck", "head", "knee_n", "knee_f", "toe_n", "toe_f", "heel_n", "heel_f"]
    x0, x1, top = _extent(p, parts)
    top = math.floor(top) + 1
    if top <= GROUND - ONE_TILE + 1 or top + 16 + 2 + 8 > SIDE_FLOOR:
        raise ValueError("crouch pose %d px tall: it must pass under one tile" % (GROUND - top))
    x0, x1 = max(MARGIN, math.floor(x0)), min(F - MARGIN, math.ceil(x1))
    return {"Top": _box(CX - FOOT_BOX / 2, top, CX + FOOT_BOX / 2, top + 16),
            "Left": _box(x0, top + 18, x1 - 0.5, SIDE_FLOOR),
            "Right": _box(x0 + 0.5, top + 18, x1, SIDE_FLOOR),
            "Bottom": _box(CX - FOOT_BOX / 2, GROUND - FOOT_BOX, CX + FOOT_BOX / 2, GROUND)}


SETS = ("Top", "Left", "Right", "Bottom")


def box_file(records):
    """records[k] is the set for frame key k. Each box set is written once,
    its first element naming it and frame 0, the next ones only their
    frame, which is how the game's reader carries names down the file."""
    out = []
    for name in SETS:
        for k, record in enumerate(records):
            b = dict(record[name], frame=k)
            if k == 0:
                b["userdata"] = name
            out.append(b)
    return out


def write_boxes(values_dir):
    folder = os.path.join(values_dir, "Player Collisions")
    ink.write_hitboxes(os.path.join(folder, "Default.hitbox.xml"), box_file([default_boxes()]))
    crouch = crouch_anim()
    per_frame = [crouch_boxes(crouch.pose(i)) for i in range(crouch.count)]
    # The game reads keys up to columns x (rows + 1) - 1; the keys past the
    # last frame hold the last pose, as the animation does.
    keys = crouch.columns * (crouch.rows + 1)
    per_frame += [per_frame[-1]] * (keys - len(per_frame))
    ink.write_hitboxes(os.path.join(folder, "Crouch.hitbox.xml"), box_file(per_frame))


# ------------------------------------------------------------ the sheets

def animations():
    return [walk_anim(), run_anim(), run_to_stand_anim(), stand_anim(), stand_to_walk_anim(),
            jump_anim(), jump_fall_anim(), fall_loop_anim(), wall_jump_anim(), wall_slide_anim(),
            wall_slide_up_anim(), wall_slide_down_anim(), crouch_anim(), stand_to_crouch_anim(),
            end02_anim(), end03_anim(), end04_anim(), end05_anim()]


def build(data_dir):
    air = _end_air_frames()
    for name, spans in END_AIR.items():
        if air.get(name, []) != spans:
            raise ValueError("%s is drawn in the air over %s, the movement rules put it there over %s"
                             % (name, spans, air.get(name)))
    folder = os.path.join(data_dir, "Graphics", "Character")
    for anim in animations():
        ink.save(anim.sheet(), os.path.join(folder, anim.image))
    ink.save(death_sheet(), os.path.join(folder, "ani_death.png"))
    ink.save(respawn_sheet(), os.path.join(folder, "ani_respawn.png"))
    write_boxes(os.path.join(data_dir, "Values"))
