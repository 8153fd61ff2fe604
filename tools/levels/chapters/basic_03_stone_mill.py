"""Basic 3, "Stone Mill": stompers. Rams out of hanging rocks that crush
whoever is under them, a bamboo pit, a lift out of the floor that carries
the hero up onto a plateau too high to jump, a ram out of the plateau's
face that flings him into bamboo if he drops down in front of it at the
wrong moment, and a corridor whose roof rams reach the floor. The scroll
lies on a shelf beside the walk that only a second lift reaches."""

from chapterkit import Canvas, Level, rows

H = 24
G = 17          # the walk's ground row

RAM = {"active": 1, "wait_in": 1.0, "wait_out": 0.5}
LIFT = {"active": 1, "speed_out": 200, "speed_in": 150, "wait_in": 1.2, "wait_out": 1.5}


def build():
    lv = Level("2 Basic", "03 Stone Mill", H)

    g = Canvas(48, H, ground=G)
    g.fill(0, 1, 0, H - 1)
    g.fill(10, 12, 0, G - 6).fill(17, 19, 0, G - 6)        # the hanging rocks
    g.carve(24, 26, G, G + 2)                              # the bamboo pit
    g.fill(34, 47, G - 4, H - 1)                           # the plateau
    start = lv.section("Rams and the lift", g.text())
    lv.spawn(start + 4, G)
    lv.stomper_group("ram_1", (start + 10, G - 6), "down", **RAM)
    lv.stomper_group("ram_2", (start + 17, G - 6), "down", counter=0.7, **RAM)
    lv.bamboo_pit("pit 1", start + 24, start + 26, G + 2)
    lv.stomper_group("lift", (start + 31, G), "up", **LIFT)
    lv.checkpoint("checkpoint 1", start + 40, G - 4)

    # Off the plateau past the ram out of its face, over the bamboo it
    # throws the hero into.
    g = Canvas(30, H, ground=G)
    g.fill(0, 9, G - 4, H - 1)
    g.carve(17, 19, G, G + 2)
    drop = lv.section("The plateau ram", g.text())
    lv.stomper_group("face_ram", (drop + 9, G - 3), "right", active=1, wait_in=1.2, wait_out=0.6)
    lv.bamboo_pit("pit 2", drop + 17, drop + 19, G + 2)
    lv.checkpoint("checkpoint 2", drop + 24, G)

    # The scroll's shelf beside the second lift, and the roof rams.
    g = Canvas(36, H, ground=G)
    g.fill(7, 12, G - 4, G - 3)                            # the shelf
    g.fill(16, 27, 0, G - 5)                               # the corridor's roof
    mill = lv.section("The shelf and the mill", g.text())
    lv.stomper_group("lift_2", (mill + 4, G), "up", **LIFT)
    lv.scroll(mill + 9.5, G - 4)
    lv.stomper_group("roof_1", (mill + 18, G - 5), "down", active=1, wait_in=1.2, wait_out=0.4)
    lv.stomper_group("roof_2", (mill + 23, G - 5), "down", active=1, wait_in=1.2, wait_out=0.4,
                     counter=0.6)
    lv.checkpoint("checkpoint 3", mill + 31, G)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 7, G), ("far_pine", start + 22, G), ("far_boulder", start + 29, G),
        ("far_pine", start + 44, G - 4), ("far_pine", drop + 20, G), ("far_boulder", mill + 2, G),
        ("far_pine", mill + 33, G), ("far_pine", end + 14, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 7, G, 3),
        ("far_roots", start + 11, G - 6), ("far_roots", start + 18, G - 6),
        ("far_bamboo_clump", start + 22, G, 6), ("far_fence", start + 28, G), ("far_fence", start + 29, G),
        ("far_bamboo_clump", start + 37, G - 4, 5), ("far_bamboo_clump", start + 45, G - 4, 3),
        ("far_bamboo_clump", drop + 3, G - 4, 4), ("far_bamboo_clump", drop + 15, G, 6),
        ("far_fence", drop + 21, G), ("far_fence", drop + 22, G), ("far_bamboo_clump", drop + 26, G, 5),
        ("far_bamboo_clump", mill + 1, G, 6), ("far_bamboo_clump", mill + 14, G, 4),
        ("far_roots", mill + 19, G - 5), ("far_roots", mill + 25, G - 5), ("far_bamboo_clump", mill + 33, G, 5),
        ("far_bamboo_clump", end + 11, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 7, G),
        ("lantern_hanging", start + 11, G - 6), ("lantern_hanging", start + 18, G - 6),
        ("post_lantern", start + 22.5, G), ("post_lantern", start + 28, G),
        ("stone_lantern", start + 30, G), ("post_lantern", start + 35, G - 4),
        ("stone_lantern", start + 45, G - 4),
        ("post_lantern", drop + 6, G - 4), ("post_lantern", drop + 15.5, G), ("stone_lantern", drop + 22, G),
        ("post_lantern", drop + 27, G),
        ("post_lantern", mill + 2.5, G), ("lantern_hanging", mill + 8, G - 3),
        ("lantern_hanging", mill + 11, G - 3), ("stone_lantern", mill + 14, G),
        ("lantern_hanging", mill + 17, G - 5), ("lantern_hanging", mill + 22, G - 5),
        ("lantern_hanging", mill + 26, G - 5), ("post_lantern", mill + 29.5, G),
        ("bamboo_clump", end + 14, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 8, G), ("stone_pile", start + 29, G), ("boulder", start + 43, G - 4),
                         ("sign", drop + 2, G - 4), ("stone_pile", mill + 13, G), ("sign", mill + 15, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", start + 27.5, G),
                                   ("grass_large", drop + 21, G), ("reeds", mill + 34, G)]
    return lv
