"""Tutorial 2, "Stepping": jumping. A tap clears the low step, the high
one needs the button held; two shallow pits (a fall costs only the climb
out), then stepping stones over bamboo. The scroll waits on top of a
scaffold of planks beside the path."""

from chapterkit import Level, flat, rows

H = 20


def build():
    lv = Level("1 Tutorial", "02 Stepping", H)

    start = lv.section("Start", rows("#" * 16, H, 15, above="##" + "." * 14))
    lv.spawn(start + 4, 15)
    lv.sign("sign jump", "Pictures/tut_jump.png", start + 10, 15, start + 3, 11)

    # One tile up (a tap will do), then two (hold the button).
    steps = lv.section("Steps up", rows(r"""
......########..
......########..
..############..
################
""", H, 12))

    pits = lv.section("Two shallow pits", rows(r"""
####..####...#######
####..####...#######
####################
""", H, 15))

    cp = lv.section("Checkpoint", flat(8, 15, H))
    lv.checkpoint("checkpoint", cp + 3, 15)

    stones = lv.section("Stepping stones", rows(r"""
###..##...##...##...####
###..##...##...##...####
###..##...##...##...####
########################
""", H, 15))
    for i, (first, last) in enumerate([(3, 4), (7, 9), (12, 14), (17, 19)]):
        lv.bamboo_pit("bamboo %d" % i, stones + first, stones + last, 17)

    # A scaffold of planks beside the path; the scroll on its top.
    tower = lv.section("Plank scaffold", rows(r"""
..............===...
....................
.........===........
....................
....===.............
....................
..##................
""", H, 8))
    lv.scroll(tower + 15, 8)

    down = lv.section("Steps down", rows(r"""
####............
####............
#######.........
#######.........
################
""", H, 15))

    gate = lv.section("Finish gate and the run-out", rows("#" * 38, H, 19, above="." * 35 + "###"))
    lv.finish(gate + 4, 19, gate + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 8, 15), ("far_boulder", steps + 10, 12), ("far_pine", pits + 15.5, 15),
        ("far_pine", stones + 21, 15), ("far_pine", tower + 18, 15), ("far_boulder", down + 11, 19),
        ("far_pine", gate + 18, 19), ("far_pine", gate + 30, 19),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, 15, 5), ("far_bamboo_clump", start + 13, 15, 4),
        ("far_fence", steps + 8, 12), ("far_fence", steps + 9, 12),
        ("far_bamboo_clump", pits + 1, 15, 5), ("far_grass_strip", pits + 7, 15),
        ("far_bamboo_clump", pits + 16, 15, 6), ("far_stones", cp + 6, 15),
        ("far_bamboo_clump", stones + 22, 15, 4),
        ("far_bamboo_clump", tower + 7, 15, 5), ("far_bamboo_clump", tower + 18, 15, 3),
        ("far_fence", down + 9, 19), ("far_fence", down + 10, 19),
        ("far_bamboo_clump", gate + 11, 19, 5), ("far_bamboo_clump", gate + 25, 19, 6),
        ("far_fence", gate + 27, 19), ("far_fence", gate + 28, 19),
    ]
    lv.details_back += [
        ("shrine", start + 2, 15), ("stone_lantern", start + 7, 15), ("post_lantern", start + 14, 15),
        ("post_lantern", steps + 1, 15), ("stone_lantern", steps + 7, 12), ("bamboo_clump", steps + 11, 12, 3),
        ("post_lantern", pits + 2, 15), ("post_lantern", pits + 8, 15), ("stone_lantern", pits + 17, 15),
        ("bamboo_clump", cp + 6.5, 15, 4),
        ("post_lantern", stones + 1, 15), ("post_lantern", stones + 22, 15),
        ("stilt", tower + 4, 12, 3), ("stilt", tower + 6, 12, 3),
        ("stilt", tower + 9, 10, 5), ("stilt", tower + 11, 10, 5),
        ("stilt", tower + 14, 8, 7), ("stilt", tower + 16, 8, 7),
        ("stone_lantern", tower + 18.5, 15),
        ("post_lantern", down + 2, 15), ("post_lantern", down + 5, 17), ("stone_lantern", down + 13, 19),
        ("bamboo_clump", gate + 14, 19, 4), ("shrine", gate + 31, 19), ("stone_lantern", gate + 33, 19),
    ]
    lv.details_front += [("sign", start + 12, 15), ("sign", stones + 1.5, 15), ("boulder", tower + 0.5, 15),
                         ("stone_pile", cp + 1, 15)]
    lv.details_front_character += [("grass_large", start + 6, 15), ("reeds", pits + 14, 15),
                                   ("grass_large", down + 9, 19)]
    return lv
