"""The hero's movement values ("Values/Player.xml") and the frame times of
its configurable animations ("Values/Player Animation.xml").

How those values feel (jump heights, gap widths, skid and slide lengths) and
at which frames of the finish run the hero is in the air are measured by the
game's own player code, not modelled here: `kuroshin_feel` (tools/feel)
writes them to hero_feel.json beside this file, and Player.xml's comment and
the finish-run art read them from there. After changing TUNABLES: build,
run the tool, build again (see README.md)."""

import json
import os

import numpy as np

STEP = np.float32(1.0 / 120.0)
DT = float(STEP)
TILE = 64

# Values/Player.xml: element -> [(attribute, value)], in the order the file
# lists them.
TUNABLES = {
    "Speed": [("Crouch", 180.0), ("Walk", 360.0), ("Run", 600.0),
              ("Acceleration", 7.0), ("Deceleration", 3200.0)],
    "Jump": [("Start", 1360.0), ("Gravity", 4500.0), ("MinJumpTime", 0.07),
             ("MaxJumpTime", 0.18), ("MaxFallSpeed", 1250.0)],
    "WallJump": [("StartX", 650.0), ("StartY", 1250.0), ("DecreaseX", 900.0),
                 ("DecreaseY", 0.0), ("SlideSpeed", 220.0)],
    "Slide": [("Start", 720.0), ("Decrease", 350.0)],
    "Death": [("RespawnTime", 0.5)],
}

# Frame times (seconds) the art is drawn for; the first 16 may be replaced by
# Values/Player Animation.xml, which is written with these same numbers.
FRAME_TIMES = {
    "Stand": 0.03, "StandToWalk": 0.05, "Walk": 0.03, "Run": 0.03, "RunToStand": 0.03,
    "Jump": 0.015, "JumpFall": 0.03, "FallLoop": 0.03, "WallJump": 0.015, "WallSlide": 0.1,
    "WallSlideUp": 0.03, "WallSlideDown": 0.03, "Death": 0.03, "Respawn": 0.03,
    "Crouch": 0.03, "StandToCrouch": 0.03,
    "End02": 0.028, "End03": 0.028, "End04": 0.025, "End05": 0.03,
}
CONFIGURABLE = ["Stand", "StandToWalk", "Walk", "Run", "RunToStand", "Jump", "JumpFall",
                "FallLoop", "WallJump", "WallSlide", "WallSlideUp", "WallSlideDown", "Death",
                "Respawn", "Crouch", "StandToCrouch"]


def value(element, attribute):
    return dict(TUNABLES[element])[attribute]


def shown_for(frame_time):
    """How long a frame really stays up: the sprite moves on only once its
    float accumulator of whole steps exceeds the frame time."""
    limit = np.float32(frame_time)
    elapsed, steps = np.float32(0), 0
    while True:
        elapsed = np.float32(elapsed + STEP)
        steps += 1
        if limit < elapsed:
            return steps * DT


FEEL_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "hero_feel.json")


def measured():
    """The figures the game's player code measured with these values."""
    with open(FEEL_PATH, encoding="utf-8") as f:
        return json.load(f)


def _fmt(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def player_xml(boxes):
    """boxes: the standing set, for the hero's height."""
    feel = measured()
    height = boxes["Bottom"]["y"] + boxes["Bottom"]["height"] - boxes["Top"]["y"]
    walk, run = value("Speed", "Walk"), value("Speed", "Run")
    fall_step = value("Jump", "MaxFallSpeed") * DT

    def tiles(px):
        return "%.1f tiles" % (px / TILE)

    reasoning = [
        "Tuned for 64-pixel tiles and a hero %d px tall (%s, head box to feet;" % (height, tiles(height)),
        "it fits two-tile corridors and not one-tile ones, which it slides",
        "under). The figures below are measured by the game's own player code",
        "(tools/feel) on the player test level at the 1/120 s step.",
        "",
        "Ground: walking tops out at %d px/s (%s a second), running at" % (walk, tiles(walk)),
        "%d px/s, reached from standing in %.2f s. Let go at full run, the hero" % (run, feel["timeToFullRun"]),
        "skids %d px to a stop." % round(feel["stopFromRun"]),
        "",
        "Jump: held, the feet rise %d px (%s): a standing jump clears a" % (feel["standingJumpHeld"], tiles(feel["standingJumpHeld"])),
        "three-tile ledge; tapped, %d px. A walking jump crosses a gap of" % feel["standingJumpTap"],
        "%s, a running jump one of %s." % (tiles(feel["walkingJumpGap"]), tiles(feel["runningJumpGap"])),
        "Falls are capped at %d px/s, %.1f px a step, under the height of the" % (value("Jump", "MaxFallSpeed"), fall_step),
        "foot and head boxes so no floor is stepped through.",
        "",
        "Walls: sliding is held to %d px/s; up a two-tile shaft every wall" % value("WallJump", "SlideSpeed"),
        "jump gains %d px." % round(feel["wallJumpRise"]),
        "",
        "Slide: from a run it carries %d px (%s), through a tunnel one tile" % (round(feel["slideFromRun"]), tiles(feel["slideFromRun"])),
        "high and two long. Respawn %.1f s after death: the ink burst plays" % value("Death", "RespawnTime"),
        "out, then a short beat before the hero gathers again.",
        "Crouch and DecreaseY are read but no rule uses them.",
    ]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<!--"]
    lines += ["    " + r if r else "" for r in reasoning]
    lines.append("-->")
    lines.append("<Player>")
    for element, attrs in TUNABLES.items():
        lines.append("    <%s %s />" % (element, " ".join('%s="%s"' % (k, _fmt(v)) for k, v in attrs)))
    lines.append("</Player>")
    return "\n".join(lines) + "\n"


def animation_xml():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Seconds per frame; the sheets are drawn for these times. -->",
             "<PlayerAnimation>"]
    for name in CONFIGURABLE:
        lines.append('    <%s Speed="%s" />' % (name, _fmt(FRAME_TIMES[name])))
    lines.append("</PlayerAnimation>")
    return "\n".join(lines) + "\n"


def _write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def build(data_dir):
    import hero  # the foot box comes from the skeleton that draws the frames
    values = os.path.join(data_dir, "Values")
    _write(os.path.join(values, "Player.xml"), player_xml(hero.default_boxes()))
    _write(os.path.join(values, "Player Animation.xml"), animation_xml())
