"""Tutorial 3, "The Well": sliding down walls and jumping off them. A drop
down a narrow shaft (hold toward the wall to slide), a tunnel to the foot
of the well, the climb up its two-tile width, then a wider chimney. The
scroll lies at the bottom of a narrow hole in the high ground: in by
falling, out the way the well taught."""

from chapterkit import Canvas, Level, rows

H = 22


def build():
    lv = Level("1 Tutorial", "03 The Well", H)

    g = Canvas(84, H)
    g.fill(0, 1, 0, H - 1)                 # the level's left edge
    g.fill(2, 17, 8, H - 1)                # the cliff top where the run starts
    g.fill(18, 19, 18, H - 1)              # floor of the drop
    g.fill(20, 23, 0, 15)                  # the rock between the drop and the well
    g.fill(20, 23, 18, H - 1)              # under the tunnel
    g.fill(24, 25, 18, H - 1)              # floor of the well
    g.fill(26, 39, 11, H - 1)              # the ledge over the well
    g.fill(34, 39, 0, 7).fill(36, 39, 8, 8)    # overhang before the chimney
    g.fill(40, 42, 11, H - 1)              # foot of the chimney
    g.fill(43, 62, 5, H - 1)               # the high ground
    g.carve(50, 51, 5, 10)                 # the scroll's hole
    for k in range(10):                    # the long slope down
        g.fill(63 + k, 63 + k, 6 + k, H - 1).put(63 + k, 5 + k, "\\")
    g.fill(73, 83, 15, H - 1)
    well = lv.section("The well", g.text())

    lv.spawn(well + 5, 8)
    lv.sign("sign wall jump", "Pictures/tut_wall_jump.png", well + 11, 8, well + 5, 12)
    lv.checkpoint("checkpoint", well + 29, 11)
    lv.scroll(well + 50.5, 11)
    lv.checkpoint("checkpoint high", well + 46, 5)

    gate = lv.section("Finish gate and the run-out", rows("#" * 38, H, 15, above="." * 35 + "###"))
    lv.finish(gate + 4, 15, gate + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", well + 9, 8), ("far_pine", well + 31, 11), ("far_boulder", well + 56, 5),
        ("far_pine", well + 77, 15), ("far_pine", gate + 14, 15), ("far_boulder", gate + 24, 15),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", well + 3, 8, 5), ("far_bamboo_clump", well + 15, 8, 4),
        ("far_roots", well + 20, 15), ("far_roots", well + 23, 15),
        ("far_bamboo_clump", well + 27, 11, 3), ("far_fence", well + 32, 11), ("far_fence", well + 33, 11),
        ("far_roots", well + 36, 8), ("far_bamboo_clump", well + 44, 5, 4), ("far_stones", well + 55, 5),
        ("far_bamboo_clump", well + 60, 5, 5), ("far_bamboo_clump", well + 75, 15, 5),
        ("far_grass_strip", well + 80, 15), ("far_bamboo_clump", gate + 12, 15, 6),
        ("far_fence", gate + 20, 15), ("far_fence", gate + 21, 15), ("far_bamboo_clump", gate + 30, 15, 4),
    ]
    lv.details_back += [
        ("shrine", well + 2, 8), ("stone_lantern", well + 8, 8), ("post_lantern", well + 16, 8),
        ("lantern_hanging", well + 21, 15), ("vines", well + 22.5, 15),
        ("stone_lantern", well + 27, 11), ("post_lantern", well + 33, 11),
        ("lantern_hanging", well + 37, 8), ("roots_long", well + 38.5, 8),
        ("post_lantern", well + 44, 5), ("stone_lantern", well + 48, 5), ("post_lantern", well + 53, 5),
        ("bamboo_clump", well + 58, 5, 4), ("post_lantern", well + 61.5, 5),
        ("stone_lantern", well + 74, 15), ("post_lantern", well + 81, 15),
        ("bamboo_clump", gate + 15, 15, 4), ("shrine", gate + 31, 15), ("stone_lantern", gate + 33, 15),
    ]
    lv.details_front += [("sign", well + 13.5, 8), ("sign", well + 34.5, 11), ("boulder", well + 59, 5),
                         ("stone_pile", well + 76, 15)]
    lv.details_front_character += [("grass_large", well + 6, 8), ("reeds", well + 45, 5)]
    return lv
