"""The game's one look, "ink at dusk", and the file writers every asset
module shares. Everything here is deterministic: fixed seeds, no clocks."""

import math
import os
import random
import xml.sax.saxutils as sax

import cairo

# Playfield ink and its single warm light.
INK = (0x15 / 255, 0x11 / 255, 0x1C / 255)
RIM = (0.98, 0.66, 0.38)          # warm rim light on upper edges
RIM_SOFT = (0.80, 0.45, 0.30)
STEEL = (0.62, 0.66, 0.72)        # blades and spear heads
STEEL_DARK = (0.36, 0.39, 0.45)
BAMBOO = (0.16, 0.33, 0.18)       # dark green stalks
BAMBOO_NODE = (0.55, 0.78, 0.45)  # light green nodes
PAPER = (0.93, 0.86, 0.70)        # scrolls and signs
PAPER_DARK = (0.74, 0.62, 0.45)
SEAL = (0.75, 0.13, 0.13)         # red seal accents
SCARF = (0.78, 0.08, 0.16)        # the hero's crimson

# Dusk sky, top to horizon.
SKY = [(0.13, 0.12, 0.33), (0.42, 0.18, 0.42), (0.85, 0.38, 0.36), (0.98, 0.66, 0.40)]


def rng(name):
    """A random source seeded by the asset's name, so each file is stable on
    its own whatever else is generated."""
    return random.Random(sum((i + 1) * ord(c) for i, c in enumerate(name)))


def surface(width, height):
    assert 0 < width <= 4096 and 0 < height <= 4096, (width, height)
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    return s, cairo.Context(s)


def save(s, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    s.write_to_png(path)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def fill_ink(ctx, path_fn, rim=True, rim_width=2.5, colour=INK, light=RIM):
    """Fills a shape in ink and, with `rim`, lights its upper edges: the
    outline is stroked in the light colour, clipped to the shape moved down
    by the rim width, so only edges that face up catch the light."""
    ctx.save()
    path_fn(ctx)
    ctx.set_source_rgb(*colour)
    ctx.fill()
    if rim:
        ctx.push_group()
        path_fn(ctx)
        ctx.set_line_width(rim_width * 2)
        ctx.set_source_rgb(*light)
        ctx.stroke()
        # Keep only the part of the stroke inside the shape...
        ctx.set_operator(cairo.OPERATOR_DEST_IN)
        path_fn(ctx)
        ctx.set_source_rgba(0, 0, 0, 1)
        ctx.fill()
        # ...and only where the shape has no ink above it.
        ctx.set_operator(cairo.OPERATOR_DEST_OUT)
        ctx.translate(0, rim_width * 1.6)
        path_fn(ctx)
        ctx.set_source_rgba(0, 0, 0, 1)
        ctx.fill()
        ctx.pop_group_to_source()
        ctx.paint()
    ctx.restore()


def radial_disc(ctx, x, y, radius, stops, focus=None):
    """Paints a soft disc of a radial gradient; stops are (offset, (r, g, b),
    alpha). `focus` (fx, fy, r0) moves the gradient's inner circle, for light
    coming from one side."""
    if radius <= 0:
        return
    fx, fy, r0 = focus if focus else (x, y, 0)
    g = cairo.RadialGradient(fx, fy, r0, x, y, radius)
    for offset, colour, alpha in stops:
        g.add_color_stop_rgba(offset, colour[0], colour[1], colour[2], max(0.0, min(1.0, alpha)))
    ctx.set_source(g)
    ctx.arc(x, y, radius, 0, 2 * math.pi)
    ctx.fill()


def rect_path(x, y, w, h):
    return lambda ctx: ctx.rectangle(x, y, w, h)


def poly_path(points):
    def draw(ctx):
        ctx.move_to(*points[0])
        for p in points[1:]:
            ctx.line_to(*p)
        ctx.close_path()
    return draw


def rounded_path(x, y, w, h, r):
    def draw(ctx):
        ctx.new_sub_path()
        ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
        ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
        ctx.close_path()
    return draw


def fmt(v):
    """Numbers as the game's "%lf" reader takes them: plain decimals."""
    v = round(float(v), 2)
    return str(int(v)) if v == int(v) else ("%.2f" % v).rstrip("0")


def write_hitboxes(path, boxes):
    """boxes: dicts with x, y, width, height and optional userdata, frame.
    Written as <hitboxes><hitbox .../>...</hitboxes>."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<hitboxes>"]
    for b in boxes:
        attrs = []
        if "userdata" in b:
            attrs.append('userdata=%s' % sax.quoteattr(b["userdata"]))
        if "frame" in b:
            attrs.append('frame="%d"' % b["frame"])
        for key in ("x", "y", "width", "height"):
            attrs.append('%s="%s"' % (key, fmt(b[key])))
        lines.append("    <hitbox %s />" % " ".join(attrs))
    lines.append("</hitboxes>")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def sheet(frame_w, frame_h, columns, rows, draw_frame):
    """A sprite sheet: draw_frame(ctx, index, column, row, count) draws one
    frame with the origin at the frame's top left, clipped to the frame."""
    s, ctx = surface(frame_w * columns, frame_h * rows)
    count = columns * rows
    for row in range(rows):
        for column in range(columns):
            ctx.save()
            ctx.translate(column * frame_w, row * frame_h)
            ctx.rectangle(0, 0, frame_w, frame_h)
            ctx.clip()
            draw_frame(ctx, row * columns + column, column, row, count)
            ctx.restore()
    return s
