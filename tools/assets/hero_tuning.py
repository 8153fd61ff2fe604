"""The hero's movement values ("Values/Player.xml"), the frame times of its
configurable animations ("Values/Player Animation.xml"), and a small replay
of the movement rules on flat ground at the game's 1/120 s step. The replay
puts numbers on the values (jump heights, gap widths, skid lengths) for the
comment in Player.xml, and tells the art at which frames of the finish run
the hero is in the air."""

import math
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
    "Slide": [("Start", 720.0), ("Decrease", 800.0)],
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


class Sprite:
    """Just the animation cursor of a sprite, with its float accumulator."""

    def __init__(self, columns, rows, mode, frame_time):
        self.columns, self.rows, self.mode = columns, rows, mode
        self.frame_time = np.float32(frame_time)
        self.column = self.row = 0
        self.elapsed = np.float32(0)
        self.finished = False

    def at_last(self):
        return self.column == self.columns - 1 and self.row == self.rows - 1

    def frame_start(self):
        return self.elapsed == 0

    def advance(self):
        if self.finished or (self.columns == 1 and self.rows == 1):
            return
        self.elapsed = np.float32(self.elapsed + STEP)
        if not self.frame_time < self.elapsed:
            return
        self.elapsed = np.float32(0)
        self.column += 1
        if self.column == self.columns:
            if self.mode == 0:
                self.finished, self.column = True, self.columns - 1
            elif self.mode == 1:
                self.column = 0
            elif self.mode == 3:
                self.column, self.row = 0, self.row + 1
                if self.row == self.rows:
                    self.finished, self.row, self.column = True, self.rows - 1, self.columns - 1
            elif self.mode == 4:
                self.column, self.row = 0, (self.row + 1) % self.rows


class Body:
    """Feet position and speed on flat ground at y = 0 (y down). Resting feet
    sit one pixel inside the floor, as the collision leaves them."""

    def __init__(self, vx=0.0):
        self.x, self.y, self.vx, self.vy = 0.0, 1.0, vx, 0.0
        self.on_ground = True

    def fall_and_land(self, wall_slide=False):
        self.vy += value("Jump", "Gravity") * DT
        cap = value("WallJump", "SlideSpeed") if wall_slide else value("Jump", "MaxFallSpeed")
        if self.vy > 0:
            self.vy = min(self.vy, cap)
        self.x += self.vx * DT
        self.y += self.vy * DT
        touch = self.vy > 0 and self.y > 0
        if touch:
            self.vy = 0.0
            self.y = 1.0
        self.on_ground = touch

    def height(self):
        return 1.0 - self.y


def ground_jump(release=None, vx=0.0):
    """A jump from flat ground with the command held for `release` seconds
    (None: held throughout). Returns (highest feet, seconds in the air,
    distance flown)."""
    body = Body(vx)
    start = value("Jump", "Start")
    min_t, max_t = value("Jump", "MinJumpTime"), value("Jump", "MaxJumpTime")
    jumping, timer, t, top, left_ground = False, 0.0, 0.0, 0.0, False
    while True:
        held = release is None or t < release
        if not held:
            elapsed = max_t - timer
            if elapsed < min_t:
                timer = min_t - elapsed
            if jumping and timer <= 0:
                if body.on_ground:
                    jumping = False
                if body.vy < 0:
                    body.vy = 0.0
        elif not jumping and body.on_ground and body.vy > -start:
            jumping, body.vy, timer = True, -start, max_t
        if jumping and timer > 0:
            timer -= DT
        body.fall_and_land()
        t += DT
        top = max(top, body.height())
        if not body.on_ground:
            left_ground = True
        elif left_ground:
            return top, t, body.x


def wall_jump():
    """Kick off a wall while sliding down it at full slide speed, command
    held, no steering: (rise in pixels, distance from the wall at the top,
    horizontal distance after falling back to the kick-off height)."""
    body = Body()
    body.on_ground = False
    body.y = -500.0
    body.vy = value("WallJump", "SlideSpeed") - value("WallJump", "StartY")
    body.vx = value("WallJump", "StartX")
    start_y, top, top_x = body.y, 0.0, 0.0
    while True:
        body.vx = max(0.0, body.vx - value("WallJump", "DecreaseX") * DT)
        body.fall_and_land()
        if start_y - body.y > top:
            top, top_x = start_y - body.y, body.x
        if body.y >= start_y:
            return top, top_x, body.x


def braking(speed, rate):
    """Distance and time to brake from `speed` at `rate` pixels/s²."""
    t = speed / rate
    return speed * t / 2, t


def finish_run(layouts):
    """The scripted run into the goal on flat ground, from the touch of the
    goal (stage 1) to the end of End05. layouts: name -> (columns, rows,
    mode) of End02 .. End05. Returns per update: (name, frame index, feet
    height, vx, vy, on ground)."""
    sprites = {n: Sprite(c, r, m, FRAME_TIMES[n]) for n, (c, r, m) in layouts.items()}
    walk, accel = value("Speed", "Walk"), value("Speed", "Acceleration")
    start, decel = value("Jump", "Start"), value("Speed", "Deceleration")
    body = Body(walk)
    stage, current, done, log = 1, None, False, []

    def walk_on():
        body.vx = min(walk, max(-walk, body.vx + walk * accel * DT))

    for _ in range(2400):
        cur = sprites.get(current)
        request = None
        if stage == 1:
            walk_on()
            request = "End02"
            if current == "End02":
                if cur.frame_start() and cur.column == 8:
                    body.vy = -start * 0.53
                if cur.at_last():
                    stage = 2
        elif stage == 2:
            walk_on()
            request = "End03"
            if current == "End03":
                if cur.frame_start() and cur.column == 2:
                    body.vy = -start * 0.35
                if cur.frame_start() and cur.column == 16:
                    cur.frame_time = np.float32(0.035)
                    body.vy = -start * 0.53
                if cur.at_last() and body.on_ground:
                    stage = 3
        elif stage == 3:
            request = "End04"
            if current == "End03":
                walk_on()
            elif current == "End04":
                if cur.frame_start() and cur.column == 3 and cur.row == 0:
                    body.vy = -start
                if body.on_ground and cur.column > 3:
                    body.vx -= math.copysign(decel / 3, body.vx) * DT if body.vx else 0.0
                    if abs(body.vx) < decel / 6 * DT:
                        body.vx = 0.0
                if cur.at_last() and body.vx == 0:
                    stage = 4
        elif stage == 4:
            request = "End05"
            if current == "End05" and cur.at_last():
                done = True
        if request != current:
            current = request
            s = sprites[current]
            s.column = s.row = 0
            s.finished = False
        body.fall_and_land()
        s = sprites[current]
        s.advance()
        log.append((current, s.row * s.columns + s.column, body.height(), body.vx, body.vy,
                    body.on_ground))
        if done:
            return log
    raise RuntimeError("the finish run does not end")


def _fmt(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def player_xml(boxes):
    """boxes: the standing set, for the hero's height and foot box."""
    bottom_box_width = boxes["Bottom"]["width"]
    height = boxes["Bottom"]["y"] + boxes["Bottom"]["height"] - boxes["Top"]["y"]
    walk, run = value("Speed", "Walk"), value("Speed", "Run")
    accel = value("Speed", "Acceleration") * walk
    decel = value("Speed", "Deceleration")
    start, gravity = value("Jump", "Start"), value("Jump", "Gravity")
    full, air, _ = ground_jump()
    tap, _, _ = ground_jump(release=DT)
    mid, _, _ = ground_jump(release=value("Jump", "MinJumpTime") + 0.02)
    _, _, walk_dist = ground_jump(vx=walk)
    _, _, run_dist = ground_jump(vx=run)
    skid, skid_t = braking(run, decel / 2)
    slide_run, slide_run_t = braking(run, value("Slide", "Decrease"))
    slide_walk, _ = braking(walk, value("Slide", "Decrease"))
    wall_rise, wall_out, wall_far = wall_jump()
    fall_step = value("Jump", "MaxFallSpeed") * DT

    def tiles(px):
        return "%.1f tiles" % (px / TILE)

    reasoning = [
        "Tuned for 64-pixel tiles and a hero %d px tall (%s, head box to feet;" % (height, tiles(height)),
        "it fits two-tile corridors and not one-tile ones, which it slides",
        "under). The numbers below come from replaying the movement rules at",
        "the 1/120 s step.",
        "",
        "Ground: walking tops out at %d px/s (%s a second) after %.2f s;" % (walk, tiles(walk), walk / accel),
        "running at %d px/s after %.2f s (twice the rate). Letting go stops a" % (run, run / (2 * accel)),
        "walk in %.2f s; from a run the skid brakes at half that rate: %d px in" % (walk / decel, skid),
        "%.2f s, inside the skid animation." % skid_t,
        "",
        "Jump: %d px/s up against %d px/s2 gives an apex after %.2f s." % (start, gravity, start / gravity),
        "Held, the feet rise %d px (%s): a standing jump clears a three-tile" % (full, tiles(full)),
        "ledge. Let go at once, the rise is cut at MinJumpTime: %d px; let go" % tap,
        "later but before MaxJumpTime, it is cut at MaxJumpTime: %d px." % mid,
        "Airtime %.2f s: a walking jump flies %d px; a running jump %d px, which" % (air, walk_dist, run_dist),
        "with the %d-pixel foot box clears a gap of %s." % (bottom_box_width, tiles(run_dist + bottom_box_width)),
        "Falls are capped at %d px/s, %.1f px a step, under the height of the" % (value("Jump", "MaxFallSpeed"), fall_step),
        "foot and head boxes so no floor is stepped through.",
        "",
        "Walls: sliding is held to %d px/s. A wall jump from a full slide rises" % value("WallJump", "SlideSpeed"),
        "%d px and is %d px out at its top (%d px by the time it is back at the" % (wall_rise, wall_out, wall_far),
        "kick-off height): across a two-tile shaft every kick gains height.",
        "",
        "Slide: from a run it carries %d px (%s) in %.2f s, from a walk %d px;" % (slide_run, tiles(slide_run), slide_run_t, slide_walk),
        "Start caps the slide speed. Respawn %.1f s after death: the ink burst" % value("Death", "RespawnTime"),
        "plays out, then a short beat before the hero gathers again.",
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
