"""Tutorial 4, "Low Roofs": sliding and crouching. Rocks hang low over the
path (crouch while running to slide under them), then arrows fly at head
height out of a wall with a gap at its foot: crouch and they pass over,
slide through the gap. The scroll lies in a chamber at the end of a tunnel
that branches left under the path, past one more low rock."""

from chapterkit import Canvas, Level, rows

H = 22
G = 15          # the walk's ground row


def build():
    lv = Level("1 Tutorial", "04 Low Roofs", H)

    start = lv.section("Start", rows("#" * 20, H, G, above="##" + "." * 18))
    lv.spawn(start + 5, G)
    lv.sign("sign slide", "Pictures/tut_slide.png", start + 12, G, start + 5, 12)

    # Two rocks hanging low over the path, each with a tooth that leaves
    # one tile of room for two tiles.
    g = Canvas(24, H, ground=G)
    g.fill(4, 5, 0, 9).fill(6, 11, 0, 11).fill(7, 8, 12, 13)
    g.fill(17, 22, 0, 12).fill(19, 20, 13, 13)
    roofs = lv.section("Low rocks", g.text())
    lv.checkpoint("checkpoint", roofs + 13, G)

    # Arrows out of the wall ahead fly back along the path at head height,
    # until the second rock's tooth stops them. The hero slides through the
    # gap at the wall's foot.
    g = Canvas(22, H, ground=G)
    g.fill(18, 19, 0, 13).fill(16, 17, 0, 5).fill(20, 21, 0, 7)
    gate = lv.section("The arrow wall", g.text())
    lv.sign("sign crouch", "Pictures/tut_crouch.png", gate + 5, G, gate + 1, 8)
    lv.arrow("arrows", (gate + 17) * 64, G * 64 - 99, "left", speed=250, interval=2.2, counter=1.8)
    lv.trigger("arrows", gate + 1, 2, G)

    # The tunnel under the path: down the dip, left along the tunnel, under
    # the low rock into the scroll's chamber.
    g = Canvas(30, H, ground=G)
    g.carve(5, 19, 17, 18)                 # the tunnel
    g.fill(5, 5, 17, 18)                   # the chamber's end wall
    g.fill(11, 12, 17, 17)                 # the low rock in the tunnel
    g.carve(20, 23, 15, 16)                # the dip
    g.carve(20, 22, 17, 18)
    for k in range(4):                     # the ramp back up to the path
        g.fill(20 + k, 20 + k, 19 - k, H - 1).put(20 + k, 18 - k, "/")
    cave = lv.section("The tunnel under the path", g.text())
    lv.scroll(cave + 7, 19)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 8, G), ("far_boulder", roofs + 14, G), ("far_pine", gate + 9, G),
        ("far_pine", cave + 4, G), ("far_pine", end + 17, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 16, G, 4),
        ("far_fence", roofs + 1, G), ("far_fence", roofs + 2, G), ("far_roots", roofs + 9, 11),
        ("far_bamboo_clump", roofs + 14, G, 4), ("far_roots", roofs + 21, 12),
        ("far_bamboo_clump", gate + 3, G, 6), ("far_grass_strip", gate + 10, G),
        ("far_bamboo_clump", gate + 13, G, 3), ("far_roots", gate + 16, 5),
        ("far_bamboo_clump", cave + 2, G, 5), ("far_fence", cave + 26, G), ("far_fence", cave + 27, G),
        ("far_bamboo_clump", end + 12, G, 5), ("far_bamboo_clump", end + 23, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 8, G), ("post_lantern", start + 17, G),
        ("lantern_hanging", roofs + 10, 11), ("lantern_hanging", roofs + 17.5, 12),
        ("stone_lantern", roofs + 12, G), ("post_lantern", roofs + 15, G),
        ("post_lantern", gate + 2, G), ("bamboo_clump", gate + 11, G, 3), ("stone_lantern", gate + 14, G),
        ("lantern_hanging", gate + 20.5, 7),
        ("stone_lantern", cave + 6, 19), ("lantern_hanging", cave + 15, 16),
        ("post_lantern", cave + 18, G), ("post_lantern", cave + 25, G),
        ("bamboo_clump", end + 15, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 14, G), ("sign", gate + 3.5, G), ("sign", cave + 17, G),
                         ("stone_pile", roofs + 23, G)]
    lv.details_front_character += [("grass_large", start + 4, G), ("reeds", cave + 27, G)]
    return lv
