"""Basic 2, "Old Bridge": trap doors. Bridges of doors over bamboo pits
that give way a moment after they are stepped on (a sprint gets across,
a walk does not), spears between them, a corridor with spears out of its
roof and a last bridge under it, where there is no jumping. Between them
a gorge: a running jump onto a pillar, a bridge, and a jump up off its
last door. The scroll
lies in a shallow pit under a door of its own, beside the walk."""

from chapterkit import Canvas, Level, rows

H = 24
G = 17          # the walk's ground row


def bridge(lv, name, first, doors, delay):
    """Doors side by side over a pit from column `first`, each with its own
    trigger: the one at each wall hinged on that wall."""
    for i in range(doors):
        col = first + 2 * i
        attach = "right" if i == doors - 1 and doors > 1 else "left"
        label = "%s_%d" % (name, i + 1)
        lv.door(label, col * 64, G * 64 - 4, dir="up", attach=attach, type="wood")
        lv.trigger(label, col, 2, G, delay=delay)


def build():
    lv = Level("2 Basic", "02 Old Bridge", H)

    g = Canvas(56, H, ground=G)
    g.fill(0, 1, 0, H - 1)
    g.carve(12, 17, G, G + 2)           # the first bridge's pit
    g.carve(30, 31, G, G + 1)           # the scroll's pit
    g.carve(40, 45, G, G + 2)           # the second bridge's pit
    start = lv.section("Two bridges", g.text())
    lv.spawn(start + 4, G)
    bridge(lv, "bridge", start + 12, 3, 0.3)
    lv.bamboo_pit("pit 1", start + 12, start + 17, G + 2)
    lv.spear("spear_1", (start + 22, G), "up", active=1, wait_in=1.2, wait_out=0.4, counter=0.6)
    lv.spear("spear_2", (start + 26, G), "up", active=1, wait_in=1.2, wait_out=0.4, counter=0.3)
    lv.floor_door("scroll_door", start + 30, G, type="stone", attach="left")
    lv.trigger("scroll_door", start + 30, 2, G, delay=0.4)
    lv.scroll(start + 30.5, G + 2)
    bridge(lv, "span", start + 40, 3, 0.25)
    lv.bamboo_pit("pit 2", start + 40, start + 45, G + 2)
    lv.checkpoint("checkpoint 1", start + 50, G)

    # The gorge: a running jump over bamboo onto a pillar, a bridge, and a
    # jump up from its last door onto the far bank.
    g = Canvas(24, H, ground=G)
    g.carve(3, 6, G, G + 2).carve(9, 12, G, G + 2)
    g.fill(13, 21, G - 2, G - 1)
    gorge = lv.section("The gorge", g.text())
    lv.bamboo_pit("gorge pit", gorge + 3, gorge + 6, G + 2)
    bridge(lv, "gorge", gorge + 9, 2, 0.3)
    lv.bamboo_pit("gorge bridge pit", gorge + 9, gorge + 12, G + 2)

    # The corridor: spears out of its roof, then a bridge under it.
    g = Canvas(40, H, ground=G)
    g.fill(6, 29, 0, G - 4)
    g.carve(20, 23, G, G + 2)
    hall = lv.section("The corridor", g.text())
    lv.spear("roof_1", (hall + 10, G - 4), "down", active=1, wait_in=1.4, wait_out=0.4)
    lv.spear("roof_2", (hall + 14, G - 4), "down", active=1, wait_in=1.4, wait_out=0.4, counter=0.3)
    bridge(lv, "hall", hall + 20, 2, 0.25)
    lv.bamboo_pit("pit 3", hall + 20, hall + 23, G + 2)
    lv.checkpoint("checkpoint 2", hall + 34, G)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 7, G), ("far_pine", start + 20, G), ("far_boulder", start + 36, G),
        ("far_pine", start + 48, G), ("far_pine", hall + 3, G), ("far_boulder", hall + 33, G),
        ("far_pine", end + 14, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 8, G, 4),
        ("far_fence", start + 19, G), ("far_fence", start + 20, G),
        ("far_bamboo_clump", start + 28, G, 6), ("far_bamboo_clump", start + 35, G, 4),
        ("far_fence", start + 48, G), ("far_bamboo_clump", start + 53, G, 5),
        ("far_bamboo_clump", gorge + 1, G, 6), ("far_bamboo_clump", gorge + 16, G - 2, 4),
        ("far_bamboo_clump", hall + 2, G, 4), ("far_roots", hall + 8, G - 4), ("far_roots", hall + 17, G - 4),
        ("far_roots", hall + 26, G - 4), ("far_bamboo_clump", hall + 32, G, 5),
        ("far_bamboo_clump", end + 11, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 8, G),
        # The old bridge: posts and lanterns at its ends.
        ("post_lantern", start + 10.5, G), ("post_lantern", start + 18.5, G),
        ("stone_lantern", start + 24, G), ("lantern_string", start + 29, G),
        ("post_lantern", start + 38.5, G), ("post_lantern", start + 46.5, G),
        ("stone_lantern", start + 52.5, G),
        ("post_lantern", gorge + 1.5, G), ("post_lantern", gorge + 7.5, G),
        ("stone_lantern", gorge + 14, G - 2), ("post_lantern", gorge + 20.5, G - 2),
        ("post_lantern", hall + 4, G), ("lantern_hanging", hall + 8, G - 4),
        ("lantern_hanging", hall + 12, G - 4), ("lantern_hanging", hall + 18, G - 4),
        ("lantern_hanging", hall + 25, G - 4), ("post_lantern", hall + 31, G),
        ("stone_lantern", hall + 37, G),
        ("bamboo_clump", end + 14, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 10, G), ("stone_pile", start + 33, G), ("sign", hall + 2, G),
                         ("boulder", hall + 30, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", start + 19, G),
                                   ("reeds", start + 47, G), ("grass_large", hall + 36, G)]
    return lv
