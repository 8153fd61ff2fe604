"""Tutorial 5, "Lanterns": checkpoints and the scroll. The first traps (a
pair of spears out of the ground, a bamboo pit, a spear out of a rock)
with a lantern checkpoint after each, so a death costs little. The scroll
sits in a nook up a shaft in the overhang; a checkpoint just past the
overhang keeps it."""

from chapterkit import Canvas, Level, rows

H = 22
G = 15          # the walk's ground row


def build():
    lv = Level("1 Tutorial", "05 Lanterns", H)

    start = lv.section("Start", rows("#" * 16, H, G, above="##" + "." * 14))
    lv.spawn(start + 4, G)

    # Spears out of the ground: walk on while they are in.
    spears = lv.section("Spear garden", rows("#" * 20, H, G))
    lv.spear("spear_1", (spears + 6, G), "up", active=1, wait_in=1.4, wait_out=0.6, counter=1.4)
    lv.spear("spear_2", (spears + 12, G), "up", active=1, wait_in=1.4, wait_out=0.6, counter=1.4)
    lv.checkpoint("checkpoint 1", spears + 16, G)

    g = Canvas(14, H, ground=G)
    g.carve(4, 6, G, G + 2)
    pit = lv.section("Bamboo pit", g.text())
    lv.bamboo_pit("pit", pit + 4, pit + 6, G + 2)

    # The overhang: a shaft up into it from the path, the scroll in a nook
    # at its top; the checkpoint past it keeps the scroll.
    g = Canvas(24, H, ground=G)
    g.fill(2, 17, 0, 11).fill(0, 1, 0, 7).fill(18, 19, 0, 9)
    g.carve(7, 8, 6, 11)                   # the shaft
    g.carve(9, 11, 6, 7)                   # the nook
    over = lv.section("The overhang", g.text())
    lv.scroll(over + 10, 8)
    lv.checkpoint("checkpoint 2", over + 20, G)

    # A low rock to slide under, then a spear out of a hanging rock.
    g = Canvas(26, H, ground=G)
    g.fill(4, 11, 0, 11).fill(6, 7, 12, 13)
    g.fill(15, 19, 0, 9).fill(16, 18, 10, 11)
    low = lv.section("Low rock and the hanging spear", g.text())
    lv.spear("rock_spear", (low + 17, 11), "down", active=1, wait_in=2.0, wait_out=0.4, counter=1.9)
    lv.checkpoint("checkpoint 3", low + 22, G)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 7, G), ("far_pine", spears + 9, G), ("far_boulder", pit + 10, G),
        ("far_pine", over + 22, G), ("far_pine", low + 14, G), ("far_pine", end + 16, G),
        ("far_boulder", end + 26, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 12, G, 4),
        ("far_fence", spears + 2, G), ("far_fence", spears + 3, G), ("far_bamboo_clump", spears + 9, G, 6),
        ("far_bamboo_clump", pit + 1, G, 4), ("far_bamboo_clump", pit + 11, G, 5),
        ("far_roots", over + 4, 11), ("far_roots", over + 14, 11), ("far_bamboo_clump", over + 22, G, 4),
        ("far_grass_strip", low + 2, G), ("far_roots", low + 9, 11), ("far_roots", low + 18, 11), ("far_bamboo_clump", low + 14, G, 3),
        ("far_bamboo_clump", end + 12, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 28, G), ("far_fence", end + 29, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 8, G), ("post_lantern", start + 13, G),
        ("post_lantern", spears + 3, G), ("post_lantern", spears + 9, G), ("stone_lantern", spears + 14.5, G),
        ("post_lantern", pit + 2, G), ("post_lantern", pit + 8, G),
        ("lantern_hanging", over + 3, 11), ("lantern_hanging", over + 12, 11), ("lantern_hanging", over + 16, 11),
        ("lantern_hanging", over + 10, 5), ("stone_lantern", over + 22.5, G),
        ("lantern_hanging", low + 9, 11), ("lantern_hanging", low + 15, 9),
        ("stone_lantern", low + 21, G), ("post_lantern", low + 25, G),
        ("bamboo_clump", end + 15, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", spears + 1, G), ("sign", pit + 1.5, G), ("stone_pile", over + 1, G),
                         ("sign", low + 1, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", pit + 12, G)]
    return lv
