#!/usr/bin/python3
"""Lays every generated image out with its frame grid into one PNG for
review: python3 contact_sheet.py OUT.png [DATA_DIR]. Not committed."""

import os
import sys

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import manifest  # noqa: E402

CELL = 360


def main():
    out = sys.argv[1]
    data = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "..", "..", "data")
    images = [e for e in manifest.entries() if e["path"].endswith(".png")]
    columns = 6
    rows = (len(images) + columns - 1) // columns
    sheet = cairo.ImageSurface(cairo.FORMAT_RGB24, columns * CELL, rows * (CELL + 24))
    ctx = cairo.Context(sheet)
    ctx.set_source_rgb(0.55, 0.55, 0.6)
    ctx.paint()
    for i, entry in enumerate(images):
        img = cairo.ImageSurface.create_from_png(os.path.join(data, entry["path"]))
        x, y = (i % columns) * CELL, (i // columns) * (CELL + 24)
        scale = min((CELL - 8) / img.get_width(), (CELL - 8) / img.get_height(), 1.0)
        ctx.save()
        ctx.translate(x + 4, y + 4)
        ctx.scale(scale, scale)
        ctx.set_source_surface(img, 0, 0)
        ctx.paint()
        fw, fh = entry.get("frame", (img.get_width(), img.get_height()))
        ctx.set_source_rgba(1, 1, 0, 0.7)
        ctx.set_line_width(1 / scale)
        for gx in range(0, img.get_width() + 1, fw):
            ctx.move_to(gx, 0)
            ctx.line_to(gx, img.get_height())
        for gy in range(0, img.get_height() + 1, fh):
            ctx.move_to(0, gy)
            ctx.line_to(img.get_width(), gy)
        ctx.stroke()
        ctx.restore()
        ctx.set_source_rgb(0, 0, 0)
        ctx.move_to(x + 4, y + CELL + 16)
        ctx.set_font_size(12)
        ctx.show_text(os.path.basename(entry["path"]))
    sheet.write_to_png(out)


if __name__ == "__main__":
    main()
