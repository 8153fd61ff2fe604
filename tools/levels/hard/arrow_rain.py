"""03 Arrow Rain: arrows from every side. A field under a rock that rains
arrows, with thorn pits to jump between the volleys; a wall-jump shaft
that arrows cross; a bridge of trap doors over a chasm with arrows flying
along it; a chute to drop through between two more streams; a slide under
a low rock straight into a jump over a pit that shoots arrows upwards, and
a last rain falling in volleys before the gate. The scroll lies at the far end of the
rock's top, against a stream of arrows and past two thorn patches."""

from make_hard_chapter import bamboo_row

NAME = "03 Arrow Rain"
HEIGHT = 28

SECTIONS = [
    ("Shrine", 0, r"""
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
##...........
#############
#############
#############
#############
#############
#############
#############
"""),
    ("Rain field", 13, r"""
.............................
.............................
.............................
.............................
.............................
.............................
.............................
.............................
.............................
...........................##
...........................##
#############################
#############################
#############################
...........................##
...........................##
...........................##
...........................##
.............................
.............................
.............................
########...######...#########
########...######...#########
#############################
#############################
#############################
#############################
#############################
"""),
    ("Shaft and the mesa", 42, r"""
........
........
........
........
........
........
........
........
........
..######
..######
..######
..######
..######
..######
..######
..######
..######
..######
..######
..######
########
########
########
########
########
########
########
"""),
    ("Door bridge", 50, r"""
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
..........
##########
##########
##########
##########
##########
##########
##########
"""),
    ("Shelf and the chute", 60, r"""
..................
..................
..................
..................
..................
..............####
..............####
..#########...####
..#########...####
###########...####
###########...####
###########...####
###########...####
##............####
##............####
##............####
##............####
##............####
##................
##................
##................
##################
##################
##################
##################
##################
##################
##################
"""),
    ("Slot and the rising arrows", 78, r"""
...........
...........
...........
...........
...........
...........
...........
...........
...........
...........
...........
...........
...........
...........
..##.......
..##.......
..##.......
..##.......
..##.......
..##.......
...........
#####....##
#####....##
###########
###########
###########
###########
###########
"""),
    ("Last rain and the finish", 89, r"""
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
..######################.................................####
..######################.................................####
..######################.................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
.........................................................####
######...######...###########################################
######...######...###########################################
#############################################################
#############################################################
#############################################################
#############################################################
#############################################################
"""),

]

T = 64

SPAWN = (5, 21)
CHECKPOINTS = [
    # (name, column, ground row, lit from the start)
    ("checkpoint mesa", 45, 9, False),
    ("checkpoint shelf", 64, 7, False),
]
SCROLL = (15.5, 11)            # at the far end of the rain rock's top
END_TRIGGER = (118, 21)
END = 124
WALL_RIGHT = 146


def rain(name, columns, row, speed, intervals):
    """Arrow traps shooting down from under a rock whose bottom row is
    `row`, one per column."""
    return [("%s-%d" % (name, i + 1), (c * T, (row + 1) * T + 24), "down",
             {"active": 1, "speed": speed, "interval": interval})
            for i, (c, interval) in enumerate(zip(columns, intervals))]


ARROWS = (
    rain("rain", [15, 18, 22, 26, 29, 33, 37], 13, 650, [0.9, 1.1, 1.0, 1.2, 0.95, 1.05, 1.15])
    + [
        # Across the shaft, from its left wall: the upper one 0.6 s after
        # the lower, so a climb started just after the lower one's shot passes
        # both.
        ("shaft-arrow-1", (42 * T, 15 * T + 24), "right", {"active": 1, "speed": 500,
                                                            "interval": 1.6}),
        ("shaft-arrow-2", (42 * T, 12 * T + 24), "right", {"active": 1, "speed": 500,
                                                            "interval": 1.6, "counter": 1}),
        # Along the rock's top, against the hero fetching the scroll.
        ("rock-arrow", (13 * T, 10 * T + 24), "right", {"active": 1, "speed": 450,
                                                        "interval": 2.0}),
        # Along the door bridge, out of the shelf's face; the bridge wakes it.
        ("bridge-arrow", (61 * T, 8 * T + 24), "left", {"speed": 450, "interval": 1.1}),
        # Across the chute, out of its right wall.
        ("chute-arrow-1", (73 * T, 11 * T + 24), "left", {"active": 1, "speed": 600,
                                                          "interval": 0.9}),
        ("chute-arrow-2", (73 * T, 15 * T + 24), "left", {"active": 1, "speed": 600,
                                                          "interval": 1.1}),
        # Up out of the pit after the slot, woken as the hero reaches the
        # slot: a slide without hesitation is over before the first shot.
        ("pit-arrow-1", (84 * T, 21 * T + 24), "up", {"speed": 800, "interval": 1.0}),
        ("pit-arrow-2", (86 * T, 21 * T + 24), "up", {"speed": 800, "interval": 1.2}),
    ]
    # The last rain falls in volleys, all at once: dash from gap to gap
    # between them.
    + rain("last-rain", [93, 99, 102, 109, 112], 14, 800, [1.0] * 5)
)

DOORS = [
    # (name, first of the two chasm cells it covers, properties)
    ("door-%d" % (i + 1), (50 + 2 * i, 9), {"attach": "left", "type": look})
    for i, look in enumerate(["wood", "stone", "wood", "grass", "woodstone"])
]

BAMBOO = [
    bamboo_row("thorns rain 1", 21, 23, 22),
    bamboo_row("thorns rain 2", 30, 32, 22),
    bamboo_row("thorns rock 1", 33, 34, 10),
    bamboo_row("thorns rock 2", 24, 25, 10),
    bamboo_row("thorns chasm", 50, 59, 20),
    bamboo_row("thorns pit", 83, 86, 22),
    bamboo_row("thorns last 1", 95, 97, 22),
    bamboo_row("thorns last 2", 104, 106, 22),
]

FIREWORKS = [("fireworks finish", (128, 20), {"interval": 0.45, "max_shots": 14})]

TRIGGERS = (
    # (target, first column, ground row, columns, delay)
    [("door-%d" % (i + 1), 50 + 2 * i, 9, 2, 0.15) for i in range(5)]
    + [("bridge-arrow", 46, 9, 2, 0), ("pit-arrow-1", 80, 21, 1, 0),
       ("pit-arrow-2", 80, 21, 1, 0), ("fireworks finish", 116, 21, 2, 0)]
)

# ---------------------------------------------------------------- props

BACKGROUND = [("far_boulder", 9, 21)]

BACK_PLANE = [
    ("far_bamboo_clump", 3, 21, 5), ("far_bamboo_clump", 8, 21, 3),
    ("gate_post", 116, 21, 3), ("gate_post", 120, 21, 3),
]

DETAILS_BACK = [
    ("shrine", 3, 21), ("stone_lantern", 6.5, 21), ("post_lantern", 11, 21),
    ("shrine", 13, 11), ("post_lantern", 39, 11),
    ("lantern_hanging", 14, 13), ("lantern_hanging", 20, 13), ("lantern_hanging", 27.5, 13),
    ("lantern_hanging", 35, 13), ("lantern_hanging", 40.5, 17),
    ("stone_lantern", 48, 9), ("post_lantern", 60.5, 9), ("stone_lantern", 68, 7),
    ("lantern_hanging", 62.5, 12), ("lantern_hanging", 69, 12),
    ("lantern_hanging", 75.5, 17), ("post_lantern", 78.5, 21),
    ("post_lantern", 88.5, 21),
    ("lantern_hanging", 91.5, 14), ("lantern_hanging", 100.5, 14), ("lantern_hanging", 109.5, 14),
    ("post_lantern", 114, 21),
    ("raised_lantern_string", 116.5, 21, 3), ("raised_lantern_string", 117.5, 21, 3),
    ("raised_lantern_string", 118.5, 21, 3), ("raised_lantern_string", 119.5, 21, 3),
    ("shrine", 141, 21), ("stone_lantern", 143.5, 21),
]

DETAILS_FRONT = [("sign", 10, 21), ("sign", 82, 21)]

DETAILS_FRONT_CHARACTER = [("grass_large", 4.25, 21), ("reeds", 126.5, 21)]
