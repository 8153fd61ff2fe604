"""Tutorial 1, "Dawn Path": running and sprinting. Gentle hills, a long
straight for the sprint, no traps. The scroll lies in a hollow behind the
shrine, left of the start: the one place the path does not lead."""

from chapterkit import Level, flat, rows

H = 20


def build():
    lv = Level("1 Tutorial", "01 Dawn Path", H)

    # The hollow behind the shrine, walled off on the left.
    hollow = lv.section("Hollow behind the shrine", rows(r"""
##............
##.........../
##........../#
##############
""", H, 14, above="##" + "." * 12))
    lv.scroll(hollow + 5, 17)

    start = lv.section("Shrine plateau", flat(20, 15, H))
    lv.spawn(start + 3, 15)
    lv.sign("sign run", "Pictures/tut_run.png", start + 9, 15, start + 1, 12)

    hills = lv.section("Low hills", rows(r"""
..........................................
.........../#####\........................
..rR###############Ff.........rR####Ff....
##########################################
""", H, 12))

    cp = lv.section("Checkpoint meadow", flat(10, 15, H))
    lv.checkpoint("checkpoint", cp + 4, 15)

    straight = lv.section("The long straight", flat(44, 15, H))
    lv.sign("sign sprint", "Pictures/tut_sprint.png", straight + 6, 15, straight + 1, 11)

    # Under the old pine's roots: a high overhang to run beneath.
    canopy = lv.section("Under the roots", "\n".join(
        ["..######################.."] * 11 + ["..####################...."] + ["." * 26] * 3
        + ["#" * 26] * 5))

    down = lv.section("Down to the gate", rows(r"""
Ff.......................
##Ff.....................
####Ff...................
""", H, 15))

    gate = lv.section("Finish gate and the run-out", rows("#" * 38, H, 18, above="." * 35 + "###"))
    lv.finish(gate + 4, 18, gate + 35)

    # ------------------------------------------------------------ props
    lv.background += [
        ("far_pine", start + 6, 15), ("far_pine", hills + 14, 13), ("far_boulder", hills + 34, 14),
        ("far_pine", straight + 12, 15), ("far_pine", straight + 31.5, 15),
        ("far_boulder", down + 12, 18), ("far_pine", gate + 16, 18), ("far_pine", gate + 29.5, 18),
    ]
    lv.back_plane += [
        ("far_bamboo_clump", hollow + 3, 17, 4), ("far_bamboo_clump", hollow + 7, 17, 6),
        ("far_bamboo_clump", start + 14, 15, 5), ("far_grass_strip", start + 16, 15),
        ("far_fence", hills + 4, 14), ("far_fence", hills + 5, 14), ("far_fence", hills + 6, 14),
        ("far_bamboo_clump", hills + 13, 13, 4), ("far_grass_strip", hills + 24, 15),
        ("far_bamboo_clump", hills + 33, 14, 5), ("far_bamboo_clump", hills + 40, 15, 3),
        ("far_fence", straight + 14, 15), ("far_fence", straight + 15, 15),
        ("far_bamboo_clump", straight + 22, 15, 6), ("far_bamboo_clump", straight + 23, 15, 4),
        ("far_stones", straight + 30, 15), ("far_bamboo_clump", straight + 38, 15, 5),
        ("far_bamboo_clump", down + 9, 18, 4), ("far_fence", down + 15, 18), ("far_fence", down + 16, 18),
        ("far_bamboo_clump", gate + 12, 18, 5), ("far_bamboo_clump", gate + 13, 18, 3),
        ("far_fence", gate + 22, 18), ("far_fence", gate + 23, 18),
        ("far_bamboo_clump", gate + 30, 18, 6),
    ]
    lv.details_back += [
        # The hollow: a lantern over the scroll's nook.
        ("stone_lantern", hollow + 3, 17), ("bamboo_clump", hollow + 8, 17, 3),
        # The shrine at the start, lanterns strung toward the path.
        ("shrine", start + 1, 15), ("post_lantern", start + 5, 15), ("post_lantern", start + 12, 15),
        ("stone_lantern", start + 17, 15),
        # Where the hills rise and fall.
        ("post_lantern", hills + 1, 15), ("stone_lantern", hills + 13, 13),
        ("post_lantern", hills + 21, 15), ("post_lantern", hills + 29, 15),
        ("bamboo_clump", hills + 33.5, 14, 4), ("post_lantern", hills + 38, 15),
        ("stone_lantern", cp + 1, 15), ("bamboo_clump", cp + 8, 15, 3),
        ("fence", straight + 10, 15), ("fence", straight + 11, 15), ("fence", straight + 12, 15),
        ("post_lantern", straight + 20, 15), ("bamboo_clump", straight + 27, 15, 4),
        ("post_lantern", straight + 34, 15), ("stone_lantern", straight + 41, 15),
        ("lantern_hanging", canopy + 5, 11), ("lantern_hanging", canopy + 12, 11),
        ("lantern_hanging", canopy + 18, 11),
        ("post_lantern", canopy + 24.5, 15), ("stone_lantern", down + 10, 18),
        ("bamboo_clump", gate + 14, 18, 4), ("shrine", gate + 31, 18), ("stone_lantern", gate + 33, 18),
    ]
    lv.details_front += [("sign", start + 6.5, 15), ("sign", straight + 3, 15),
                         ("boulder", hills + 26, 15), ("stone_pile", straight + 17, 15)]
    lv.details_front_character += [("reeds", hollow + 9, 17), ("grass_large", start + 18, 15),
                                   ("reeds", straight + 25, 15)]
    return lv
