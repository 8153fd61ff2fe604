"""Basic 4, "Arrow Hall": arrow traps. A lane where arrows fly at the
hero's knees out of the low wall at its end (hop them; its near wall keeps
them off the start), a roofed hall whose arrows start raining down once he
steps in, a ram under an overhang with arrows up out of the floor between
its strokes, and a low gallery where an arrow at head height is shot at
him once he is in: slide under it. The scroll lies in a nook up a shaft in
the overhang's roof."""

from chapterkit import Canvas, Level, rows

H = 24
G = 17          # the walk's ground row
T = 64


def build():
    lv = Level("2 Basic", "04 Arrow Hall", H)

    g = Canvas(46, H, ground=G)
    g.fill(0, 1, 0, H - 1)
    g.fill(8, 9, G - 2, G - 1).fill(22, 23, G - 2, G - 1)  # the lane's walls
    g.fill(28, 40, 0, G - 5)                               # the hall's roof
    start = lv.section("The lane and the hall", g.text())
    lv.spawn(start + 4, G)
    lv.arrow("lane_arrow", (start + 21) * T, (G - 1) * T + 8, "left",
             active=1, speed=450, interval=1.3)
    lv.arrow("rain_1", (start + 31) * T, (G - 4) * T + 24, "down", speed=600, interval=0.9)
    lv.arrow("rain_2", (start + 36) * T, (G - 4) * T + 24, "down", speed=600, interval=0.9,
             counter=0.45)
    lv.trigger("rain_1", start + 28, 2, G, height=3)
    lv.trigger("rain_2", start + 28, 2, G, height=3)
    lv.checkpoint("checkpoint 1", start + 43, G)

    # The overhang: a shaft up to the scroll's nook, a ram, and arrows up
    # out of the floor.
    g = Canvas(40, H, ground=G)
    g.fill(4, 28, 0, G - 4)
    g.carve(8, 9, G - 8, G - 4)                            # the shaft
    g.carve(10, 13, G - 7, G - 6)                          # the nook
    over = lv.section("The overhang", g.text())
    lv.scroll(over + 11.5, G - 5)
    lv.stomper_group("ram", (over + 14, G - 4), "down", active=1, wait_in=1.0, wait_out=0.5)
    lv.arrow("floor_1", (over + 20) * T, G * T - 40, "up", active=1, speed=700, interval=1.2)
    lv.arrow("floor_2", (over + 24) * T, G * T - 40, "up", active=1, speed=700, interval=1.2,
             counter=0.6)
    lv.checkpoint("checkpoint 2", over + 34, G)

    # The gallery: too low to jump, and an arrow at head height shot out of
    # its far wall once the hero is in: slide under it.
    g = Canvas(34, H, ground=G)
    g.fill(4, 26, 0, G - 4)                                # the gallery's roof
    gallery = lv.section("The gallery", g.text())
    lv.arrow("gallery_arrow", (gallery + 25) * T, (G - 2) * T + 24, "left", speed=500,
             interval=0.25, max_shots=1)
    lv.trigger("gallery_arrow", gallery + 7, 2, G)
    lv.checkpoint("checkpoint 3", gallery + 30, G)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 7, G), ("far_pine", start + 18, G), ("far_boulder", start + 26, G),
        ("far_pine", start + 44, G), ("far_pine", over + 2, G), ("far_boulder", over + 31, G),
        ("far_pine", gallery + 2, G), ("far_pine", gallery + 29, G),
        ("far_pine", end + 14, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 11, G, 4),
        ("far_fence", start + 14, G), ("far_fence", start + 15, G), ("far_bamboo_clump", start + 19, G, 6),
        ("far_bamboo_clump", start + 25, G, 4), ("far_roots", start + 30, G - 5), ("far_roots", start + 38, G - 5),
        ("far_bamboo_clump", start + 42, G, 5),
        ("far_bamboo_clump", over + 1, G, 4), ("far_roots", over + 6, G - 4), ("far_roots", over + 17, G - 4),
        ("far_roots", over + 25, G - 4), ("far_bamboo_clump", over + 31, G, 6),
        ("far_bamboo_clump", gallery + 1, G, 5), ("far_roots", gallery + 7, G - 4),
        ("far_roots", gallery + 20, G - 4), ("far_bamboo_clump", gallery + 28, G, 4),
        ("far_bamboo_clump", end + 11, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 7, G), ("post_lantern", start + 12, G),
        ("post_lantern", start + 20, G), ("stone_lantern", start + 26, G),
        ("lantern_hanging", start + 29, G - 5), ("lantern_hanging", start + 34, G - 5),
        ("lantern_hanging", start + 39, G - 5), ("post_lantern", start + 41.5, G),
        ("post_lantern", over + 2.5, G), ("lantern_hanging", over + 6, G - 4),
        ("lantern_hanging", over + 11, G - 4), ("lantern_hanging", over + 12, G - 8),
        ("lantern_hanging", over + 18, G - 4), ("lantern_hanging", over + 22, G - 4),
        ("lantern_hanging", over + 27, G - 4), ("stone_lantern", over + 31, G),
        ("post_lantern", gallery + 2.5, G), ("lantern_hanging", gallery + 6, G - 4),
        ("lantern_hanging", gallery + 13, G - 4), ("lantern_hanging", gallery + 20, G - 4),
        ("post_lantern", gallery + 27.5, G), ("stone_lantern", gallery + 33, G),
        ("bamboo_clump", end + 14, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 11, G), ("stone_pile", start + 22, G - 2), ("stone_pile", start + 8, G - 2), ("sign", start + 27, G),
                         ("boulder", over + 30, G), ("sign", gallery + 3, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", start + 16, G),
                                   ("grass_large", over + 33, G), ("reeds", gallery + 31, G)]
    return lv
