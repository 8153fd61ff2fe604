"""The game's text font, Graphics/Misc/ui_font.png: 16 x 8 cells in ASCII
order, white Bebas Neue Bold capitals on transparency.

The game draws only the middle part of each cell, as wide as the
character's width factor (the table below copies the game's), so every glyph
is centred in its cell and fitted inside that part with a margin; glyphs far
narrower than their part are widened a little so runs of digits do not fall
apart. Lower-case cells hold the capitals, as the game folds letters anyway."""

import os
import subprocess

import cairo
import numpy as np

import ink

CELL_W, CELL_H = 56, 64
COLUMNS, ROWS = 16, 8
FAMILY = "Bebas Neue"
SIZE = 62.0                 # cap height about 43 px: thick strokes survive scale 0.3
CAP_CENTRE = 30.0           # caps sit a little above the middle, for the comma and Q tails
MARGIN = 3                  # clear columns each side, so neighbours never touch
MAX_STRETCH = 1.4           # wider than this and the stems look swollen
STRETCH_MIN_WIDTH = 18      # single stems (I, 1, !) keep their weight
FILL = 0.9                  # share of its part a narrow glyph may grow to

FACTORS = {"I": 0.3, "1": 0.4, ".": 0.5, "A": 0.5, "E": 0.5, "L": 0.5, "N": 0.5, "P": 0.5,
           "R": 0.5, "Y": 0.5, "3": 0.55, "D": 0.7, "F": 0.7, "Q": 0.7, "U": 0.7,
           "2": 0.75, "4": 0.75, "5": 0.75, "6": 0.75, "7": 0.75, "8": 0.8, "9": 0.8,
           "M": 0.8, "0": 0.9, "Z": 0.9, "W": 1.0}


def width_factor(code):
    return FACTORS.get(chr(code).upper() if 97 <= code <= 122 else chr(code), 0.6)


def drawn_part(code):
    """Left and right edge, within the cell, of what the game cuts out; the
    same float and truncation steps as the game's layout code."""
    advance = np.float32(CELL_W) * np.float32(width_factor(code))
    left = int(np.float32(np.float32(CELL_W) - advance) * np.float32(0.5))
    return left, left + int(advance)


def options():
    o = cairo.FontOptions()
    # No hinting: the outlines land where the numbers say, on any machine.
    o.set_antialias(cairo.ANTIALIAS_GRAY)
    o.set_hint_style(cairo.HINT_STYLE_NONE)
    o.set_hint_metrics(cairo.HINT_METRICS_OFF)
    return o


def _select(ctx, size=SIZE):
    ctx.select_font_face(FAMILY, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    ctx.set_font_size(size)
    ctx.set_font_options(options())


def check_face():
    # A missing font silently falls back to another family: refuse that.
    found = subprocess.run(["fc-match", "-f", "%{file}", FAMILY + ":bold"], capture_output=True,
                           text=True).stdout
    assert os.path.basename(found) == "BebasNeue-Bold.otf", \
        "Bebas Neue Bold is not installed (fonts-bebas-neue): " + found


def ink_box(s):
    """Left, top, right, bottom (exclusive) of the pixels with any alpha."""
    s.flush()
    a = np.ndarray((s.get_height(), s.get_stride() // 4), np.uint32, s.get_data())[:, :s.get_width()] >> 24
    ys, xs = np.nonzero(a)
    if len(xs) == 0:
        return None
    return int(xs.min()), int(ys.min()), int(xs.max()) + 1, int(ys.max()) + 1


def _measure(ch):
    """The glyph's ink box when drawn with its origin at (32, 96)."""
    s, ctx = ink.surface(160, 160)
    _select(ctx)
    ctx.set_source_rgb(1, 1, 1)
    ctx.move_to(32, 96)
    ctx.show_text(ch)
    return ink_box(s)


def glyph_scale(code, box):
    left, right = drawn_part(code)
    room = right - left - 2 * MARGIN
    width = box[2] - box[0]
    if width > room:
        return room / width
    if width >= STRETCH_MIN_WIDTH:
        return max(1.0, min(MAX_STRETCH, FILL * room / width))
    return 1.0


def font_surface():
    check_face()
    s, ctx = ink.surface(CELL_W * COLUMNS, CELL_H * ROWS)
    _select(ctx)
    ctx.set_source_rgb(1, 1, 1)
    cap = _measure("H")
    baseline = CAP_CENTRE + (96 - cap[1]) / 2.0   # caps centred on CAP_CENTRE
    for code in range(33, 127):
        ch = chr(code).upper() if 97 <= code <= 122 else chr(code)
        box = _measure(ch)
        if box is None:
            continue
        sx = glyph_scale(code, box)
        left, right = drawn_part(code)
        column, row = code % COLUMNS, code // COLUMNS
        centre = column * CELL_W + (left + right) / 2.0
        ink_centre = (box[0] + box[2]) / 2.0 - 32   # from the pen
        ctx.save()
        ctx.rectangle(column * CELL_W, row * CELL_H, CELL_W, CELL_H)
        ctx.clip()
        # Marks that reach past the caps (the grave accent, the braces) are
        # nudged back into the cell rather than cut.
        top, bottom = baseline + box[1] - 96, baseline + box[3] - 96
        shift = max(0.0, 2 - top) - max(0.0, bottom - (CELL_H - 2))
        ctx.translate(centre, row * CELL_H + baseline + shift)
        ctx.scale(sx, 1.0)
        ctx.move_to(-ink_centre, 0)
        ctx.show_text(ch)
        ctx.restore()
    check(s)
    return s


def check(s):
    """Every printable glyph inside its part with its margin and clear of the
    cell's top and bottom; every other cell empty."""
    s.flush()
    a = np.ndarray((s.get_height(), s.get_stride() // 4), np.uint32, s.get_data())[:, :s.get_width()] >> 24
    for code in range(128):
        column, row = code % COLUMNS, code // COLUMNS
        cell = a[row * CELL_H:(row + 1) * CELL_H, column * CELL_W:(column + 1) * CELL_W]
        ys, xs = np.nonzero(cell)
        if not 33 <= code <= 126:
            assert len(xs) == 0, "cell %d should be empty" % code
            continue
        assert len(xs), "glyph %r is empty" % chr(code)
        left, right = drawn_part(code)
        assert xs.min() >= left + 1 and xs.max() < right - 1, (chr(code), xs.min(), xs.max(), left, right)
        assert ys.min() >= 1 and ys.max() < CELL_H - 1, (chr(code), ys.min(), ys.max())


def build(data_dir):
    ink.save(font_surface(), os.path.join(data_dir, "Graphics", "Misc", "ui_font.png"))


if __name__ == "__main__":
    s = font_surface()
    s.write_to_png("/tmp/ui_font_check.png")
