"""Basic 5, "Last Light": orbiting shuriken, and every trap before them.
A shuriken circling over the walk, another gliding to and fro over a
bamboo pit at the height of a jump, spears and a ram; the climb between a
hanging rock and a cliff; on the cliff top a shuriken sweeping the path,
then down the steps onto a bridge of trap doors and past a last spear. The
scroll floats on a ledge over the cliff top, circled by a white
shuriken."""

from chapterkit import Canvas, Level, rows

H = 24
G = 17          # the walk's ground row
T = 64


def build():
    lv = Level("2 Basic", "05 Last Light", H)

    g = Canvas(48, H, ground=G)
    g.fill(0, 1, 0, H - 1)
    g.carve(18, 20, G, G + 2)                              # the bamboo pit
    g.fill(32, 34, 0, G - 6)                               # the ram's rock
    start = lv.section("The grove", g.text())
    lv.spawn(start + 4, G)
    lv.orbital("blade_1", (start + 11) * T, (G - 2) * T, active=1, radius=100,
               rotation_speed=150, spin_speed=540)
    lv.path("pit path", (start + 16) * T, (G - 3) * T, [(0, 0), (7 * T, 0)])
    lv.orbital("blade_2", (start + 16) * T, (G - 3) * T, active=1, type="grey", path="pit path",
               poly_speed=220, spin_speed=360)
    lv.bamboo_pit("pit 1", start + 18, start + 20, G + 2)
    lv.spear("spear_1", (start + 26, G), "up", active=1, wait_in=1.2, wait_out=0.4)
    lv.stomper_group("ram", (start + 32, G - 6), "down", active=1, wait_in=1.0, wait_out=0.5,
                     counter=0.5)
    lv.checkpoint("checkpoint 1", start + 42, G)

    # The climb between the hanging rock and the cliff, over bamboo; the
    # cliff top with a sweeping shuriken and the scroll's ledge over it.
    g = Canvas(40, H)
    g.fill(0, 11, G, H - 1)
    g.fill(6, 10, 0, G - 3).fill(4, 5, 0, G - 8)          # the hanging rock
    g.fill(12, 12, G + 3, H - 1)                          # the pit's floor
    g.fill(13, 39, G - 6, H - 1)                          # the cliff
    g.fill(22, 26, G - 9, G - 9)                          # the scroll's ledge
    climb = lv.section("The climb", g.text())
    lv.bamboo_pit("climb pit", climb + 12, climb + 12, G + 2)
    lv.checkpoint("checkpoint 2", climb + 15, G - 6)
    lv.scroll(climb + 24, G - 9)
    lv.orbital("ledge_blade", (climb + 24.5) * T, (G - 10) * T, active=1, type="white", radius=110,
               rotation_speed=-120, spin_speed=-720)
    lv.orbital("sweep", (climb + 32) * T, (G - 8) * T, active=1, radius=90, rotation_speed=200,
               spin_speed=600)

    # Down the steps onto the bridge, past the last spear.
    g = Canvas(36, H, ground=G)
    g.fill(0, 3, G - 6, H - 1).fill(4, 7, G - 4, H - 1).fill(8, 11, G - 2, H - 1)
    g.carve(16, 21, G, G + 2)
    down = lv.section("Down to the bridge", g.text())
    for i in range(3):
        name = "bridge_%d" % (i + 1)
        lv.door(name, (down + 16 + 2 * i) * T, G * T - 4, dir="up",
                attach="right" if i == 2 else "left", type="woodstone")
        lv.trigger(name, down + 16 + 2 * i, 2, G, delay=0.25)
    lv.bamboo_pit("bridge pit", down + 16, down + 21, G + 2)
    lv.spear("spear_2", (down + 27, G), "up", active=1, wait_in=1.0, wait_out=0.4, counter=0.3)
    lv.checkpoint("checkpoint 3", down + 31, G)

    end = lv.section("Finish gate and the run-out", rows("#" * 38, H, G, above="." * 35 + "###"))
    lv.finish(end + 4, G, end + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 7, G), ("far_pine", start + 23, G), ("far_boulder", start + 37, G),
        ("far_pine", climb + 2, G), ("far_pine", climb + 19, G - 6), ("far_boulder", climb + 36, G - 6),
        ("far_pine", down + 14, G), ("far_pine", down + 30, G),
        ("far_pine", end + 14, G), ("far_boulder", end + 27, G),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", start + 3, G, 5), ("far_bamboo_clump", start + 8, G, 6),
        ("far_bamboo_clump", start + 15, G, 4), ("far_fence", start + 23, G), ("far_fence", start + 24, G),
        ("far_roots", start + 33, G - 6), ("far_bamboo_clump", start + 38, G, 5), ("far_bamboo_clump", start + 45, G, 3),
        ("far_roots", climb + 7, G - 3), ("far_roots", climb + 9, G - 3),
        ("far_bamboo_clump", climb + 17, G - 6, 5), ("far_roots", climb + 23, G - 9),
        ("far_bamboo_clump", climb + 29, G - 6, 4), ("far_bamboo_clump", climb + 37, G - 6, 6),
        ("far_bamboo_clump", down + 5, G - 4, 4), ("far_bamboo_clump", down + 13, G, 5),
        ("far_bamboo_clump", down + 24, G, 6), ("far_fence", down + 33, G),
        ("far_bamboo_clump", end + 11, G, 5), ("far_bamboo_clump", end + 22, G, 6),
        ("far_fence", end + 29, G), ("far_fence", end + 30, G),
    ]
    lv.details_back += [
        ("shrine", start + 2, G), ("stone_lantern", start + 7, G),
        ("post_lantern", start + 16, G), ("post_lantern", start + 22.5, G),
        ("stone_lantern", start + 29, G), ("lantern_hanging", start + 33, G - 6),
        ("post_lantern", start + 38, G), ("bamboo_clump", start + 46, G, 4),
        ("post_lantern", climb + 3, G), ("lantern_hanging", climb + 8, G - 3),
        ("vines", climb + 10, G - 3), ("stone_lantern", climb + 19.5, G - 6),
        ("lantern_hanging", climb + 23, G - 9), ("lantern_hanging", climb + 26, G - 9),
        ("post_lantern", climb + 28, G - 6), ("post_lantern", climb + 38.5, G - 6),
        ("post_lantern", down + 5, G - 4), ("post_lantern", down + 9, G - 2),
        ("post_lantern", down + 14.5, G), ("post_lantern", down + 22.5, G),
        ("stone_lantern", down + 25, G), ("post_lantern", down + 34, G),
        ("bamboo_clump", end + 14, G, 4), ("shrine", end + 31, G), ("stone_lantern", end + 33, G),
    ]
    lv.details_front += [("sign", start + 9.5, G), ("stone_pile", start + 40, G), ("sign", climb + 2, G),
                         ("boulder", climb + 21, G - 6), ("sign", down + 13, G), ("stone_pile", down + 29, G)]
    lv.details_front_character += [("grass_large", start + 6, G), ("reeds", start + 21.5, G),
                                   ("grass_large", climb + 16.5, G - 6), ("reeds", down + 23, G)]
    return lv
