"""Basic 1, "Bamboo Gate": bamboo and spears. Pits with bamboo on their
floors, wider each time; spears out of the ground in a rhythm; a pit under
a roof bristling with bamboo (a short hop, not a high jump); a wall climb
over a bamboo pit; down the steps and under a low rock. The scroll lies in
a nook up a shaft in the overhang on the cliff top."""

from chapterkit import Canvas, Level, rows

H = 24
G = 17          # the walk's ground row at the start


def build():
    lv = Level("2 Basic", "01 Bamboo Gate", H)

    g = Canvas(60, H, ground=G)
    g.fill(0, 1, 0, H - 1)
    g.carve(16, 18, G, G + 2).carve(24, 27, G, G + 2)      # two bamboo pits
    g.carve(52, 54, G, G + 2)                              # the pit under the roof
    g.fill(49, 57, G - 9, G - 6).fill(51, 55, 0, G - 10)   # the roof and its stem
    start = lv.section("Pits, spears and the bamboo roof", g.text())
    lv.spawn(start + 4, G)
    lv.bamboo_pit("pit 1", start + 16, start + 18, G + 2)
    lv.bamboo_pit("pit 2", start + 24, start + 27, G + 2)
    lv.spear("spear_1", (start + 34, G), "up", active=1, wait_in=1.2, wait_out=0.4, counter=0.5)
    lv.spear("spear_2", (start + 39, G), "up", active=1, wait_in=1.2, wait_out=0.4)
    lv.checkpoint("checkpoint 1", start + 44, G)
    lv.bamboo_pit("pit 3", start + 52, start + 54, G + 2)
    lv.bamboo_row("roof", start + 49, start + 57, G - 5, "down")

    # The climb: through the low passage under the hanging rock, then up
    # between its face and the cliff's, over the bamboo at the bottom.
    g = Canvas(40, H)
    g.fill(0, 11, G, H - 1)
    g.fill(6, 10, 0, G - 3).fill(4, 5, 0, G - 8)          # the hanging rock
    g.fill(12, 12, G + 3, H - 1)                          # the pit's floor
    g.fill(13, 39, G - 6, H - 1)                          # the cliff
    g.fill(24, 37, 0, G - 10).fill(22, 23, 0, G - 13)     # the overhang on the cliff top
    g.carve(28, 29, G - 14, G - 10)                       # the shaft into it
    g.carve(30, 33, G - 13, G - 12)                       # the scroll's nook
    climb = lv.section("The climb", g.text())
    lv.bamboo_pit("climb pit", climb + 12, climb + 12, G + 2)
    lv.checkpoint("checkpoint 2", climb + 17, G - 6)
    lv.scroll(climb + 31, G - 11)
    lv.bamboo("nook bamboo", (climb + 33, G - 12), "large", "left")

    # Down the steps, under the low rock, past two more spears and a pit.
    g = Canvas(40, H, ground=G)
    g.fill(0, 3, G - 6, H - 1).fill(4, 7, G - 4, H - 1).fill(8, 11, G - 2, H - 1)
    g.fill(15, 22, 0, G - 3).fill(18, 19, G - 2, G - 2)   # the low rock
    g.carve(33, 35, G, G + 2)
    down = lv.section("Down the steps", g.text())
    lv.spear("spear_3", (down + 26, G), "up", active=1, wait_in=1.2, wait_out=0.3, counter=0.2)
    lv.spear("spear_4", (down + 29, G), "up", active=1, wait_in=1.2, wait_out=0.3)
    lv.bamboo_pit("pit 4", down + 33, down + 35, G + 2)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 8, G), ("far_pine", start + 30.5, G), ("far_boulder", start + 45, G),
        ("far_pine", climb + 2, G), ("far_pine", climb + 20, G - 6), ("far_boulder", climb + 38, G - 6),
        ("far_pine", down + 24, G), ("far_pine", end + 14, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 6), ("far_bamboo_clump", start + 7, G, 4),
        ("far_bamboo_clump", start + 12, G, 5), ("far_bamboo_clump", start + 21, G, 6),
        ("far_bamboo_clump", start + 30, G, 4), ("far_fence", start + 42, G), ("far_fence", start + 43, G),
        ("far_bamboo_clump", start + 47, G, 3),
        ("far_roots", climb + 7, G - 3), ("far_roots", climb + 9, G - 3),
        ("far_bamboo_clump", climb + 15, G - 6, 5), ("far_bamboo_clump", climb + 20, G - 6, 3),
        ("far_roots", climb + 26, G - 10), ("far_roots", climb + 35, G - 10),
        ("far_bamboo_clump", down + 5, G - 4, 4), ("far_bamboo_clump", down + 12, G, 5),
        ("far_roots", down + 16, G - 3), ("far_bamboo_clump", down + 25, G, 6),
        ("far_bamboo_clump", end + 11, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 8, G),
        # The bamboo gate: clumps either side of the first pits.
        ("bamboo_clump", start + 13, G, 5), ("bamboo_clump", start + 14.5, G, 4),
        ("bamboo_clump", start + 20, G, 4), ("bamboo_clump", start + 21.5, G, 5),
        ("post_lantern", start + 22.5, G), ("post_lantern", start + 29, G),
        ("stone_lantern", start + 32, G), ("post_lantern", start + 42, G), ("bamboo_clump", start + 47, G, 3),

        ("post_lantern", climb + 3, G), ("lantern_hanging", climb + 8, G - 3),
        ("vines", climb + 10, G - 3), ("stone_lantern", climb + 15.5, G - 6),
        ("lantern_hanging", climb + 26, G - 10), ("lantern_hanging", climb + 35, G - 10),
        ("lantern_hanging", climb + 31, G - 14),
        ("post_lantern", climb + 38.5, G - 6), ("post_lantern", down + 5, G - 4), ("post_lantern", down + 9, G - 2),
        ("lantern_hanging", down + 16, G - 3), ("lantern_hanging", down + 21, G - 3),
        ("stone_lantern", down + 24, G), ("post_lantern", down + 31.5, G), ("post_lantern", down + 37, G),
        ("bamboo_clump", end + 14, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 11, G), ("stone_pile", start + 46, G), ("sign", climb + 2, G),
                         ("boulder", climb + 21, G - 6), ("sign", down + 13, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", start + 23, G),
                                   ("grass_large", climb + 16.5, G - 6), ("reeds", down + 36.5, G)]
    return lv
