#!/usr/bin/python3
"""Every sound effect of the game, from one palette: wood, cloth, bamboo,
steel and stone in a dry, close room. 16-bit mono WAV at 44.1 kHz.

Run on its own to print the level table: `tools/assets/sfx.py [data_dir]`
writes nothing and reports the files already in data/."""

import os
import sys

import numpy as np

import synth
from synth import SR, TAU, seconds

CEILING_DB = -3.0

# Target short-term loudness (synth.loudness, dB) of each effect. The
# reference is the jump at -20: what the player hears most sits around it,
# footsteps well under it, so a run does not patter, and deaths and stone
# slams as loud as the ceiling lets them. The music (music.py) sits under
# all of it but the footsteps: -26 dB over the level loop, -29 the title.
LEVELS = {
    "sfx_walk01": -27, "sfx_walk02": -27, "sfx_run01": -25,
    "sfx_jump": -20, "sfx_wall_jump": -19, "sfx_slide": -22, "sfx_crouch": -26,
    "sfx_hit_ground": -21, "sfx_wall_slide": -25,
    "sfx_die": -10, "sfx_respawn": -17,
    "sfx_checkpoint": -16, "sfx_collect": -16,
    "sfx_arrow_shot": -17, "sfx_shuriken": -22,
    "sfx_spear_out": -15, "sfx_spear_in": -18,
    "sfx_Stomper_out": -10, "sfx_Stomper_in": -17, "sfx_trap_door": -15,
    "sfx_rocket_shot": -17, "sfx_rocket_explosion": -12,
    "sfx_menu_switch": -24, "sfx_menu_select": -18,
}

# Soft saturation for the heaviest hits: it lowers their crest so they can
# be loud without passing the ceiling, the way a slam sounds through a wall.
DRIVE = {"sfx_die": 3.0, "sfx_Stomper_out": 5.0, "sfx_rocket_explosion": 3.0, "sfx_hit_ground": 1.5,
         "sfx_trap_door": 1.5, "sfx_collect": 1.5, "sfx_respawn": 1.5, "sfx_rocket_shot": 2.0}

# How much of the shared room each effect carries.
WET = {"sfx_menu_switch": 0.12, "sfx_menu_select": 0.15, "sfx_die": 0.35,
       "sfx_Stomper_out": 0.35, "sfx_rocket_explosion": 0.4, "sfx_checkpoint": 0.3}


# --- building blocks -------------------------------------------------------

def sweep(r, n, f0, f1, q=2.0):
    """Noise through a band-pass whose centre glides from f0 to f1
    (geometrically), done frame by frame with overlap-add."""
    hop, size = 256, 1024
    x = synth.noise(r, n + size)
    out = np.zeros(n + size)
    win = np.hanning(size + 1)[:-1]
    freqs = np.fft.rfftfreq(size, 1.0 / SR)
    for start in range(0, n, hop):
        pos = min(1.0, start / max(1, n - 1))
        centre = f0 * (f1 / f0) ** pos
        spectrum = np.fft.rfft(x[start:start + size] * win)
        spectrum *= synth.peak_band(centre, q)(np.maximum(freqs, 1e-3))
        out[start:start + size] += np.fft.irfft(spectrum, size) * win
    return out[:n] / 1.5


def crackle(r, n, rate, lo, hi, decay=0.004, start=0.0, t60=1.0):
    """Sparse grit: clicks at random times, thinning out over t60."""
    out = np.zeros(n)
    count = int(rate * n / SR)
    times = r.uniform(start, n / SR, count)
    amps = r.uniform(0.3, 1.0, count) * np.exp(-6.9078 * (times - start) / t60)
    idx = (times * SR).astype(int)
    np.add.at(out, np.minimum(idx, n - 1), amps * np.where(r.uniform(size=count) < 0.5, -1, 1))
    click = synth.coloured(r, seconds(decay * 4), lo, hi) * synth.env_exp(seconds(decay * 4), decay)
    return synth.convolve(out, click)


def at(n, delay, sig):
    """sig placed delay seconds into n samples of silence."""
    out = np.zeros(n)
    i = seconds(delay)
    m = min(len(sig), n - i)
    out[i:i + m] = sig[:m]
    return out


def norm(x):
    return x / max(1e-12, np.abs(x).max())


def pitch(semitones_from_a4):
    return 440.0 * 2 ** (semitones_from_a4 / 12)


# --- the player ------------------------------------------------------------

def _step(r, floor_hz, heel_to_toe, grit):
    """A cloth-soled foot on boards: the heel's muffled thump, the floor's
    short ring, then the toe's lighter scuff."""
    n = seconds(0.2)
    heel = synth.coloured(r, n, 90, 900) * synth.env_exp(n, 0.045, attack=0.0006)
    board = synth.wood(r, n, floor_hz, t60=0.05, bright=0.3)
    toe = synth.coloured(r, n, 500, 3500) * synth.env_exp(n, 0.03, attack=0.001)
    toe += grit * crackle(r, n, 250, 1500, 6000, t60=0.05)
    return norm(heel) + 0.35 * norm(board) + at(n, heel_to_toe, 0.45 * norm(toe))


def walk01(r):
    return _step(r, 170, 0.045, 0.3)


def walk02(r):
    return _step(r, 195, 0.038, 0.25)


def run01(r):
    # Quicker and harder: heel and toe nearly together, more grit underfoot.
    n = seconds(0.16)
    x = _step(r, 210, 0.018, 0.8)[:n]
    return x + 0.3 * norm(crackle(r, n, 500, 2000, 8000, t60=0.06))


def _whoosh(r, n, f0, f1, rise, t60, q=1.6):
    return sweep(r, n, f0, f1, q) * synth.env_adsr(n, rise, t60 / 6.9, 0.0, 0.02)


def jump(r):
    n = seconds(0.32)
    push = synth.coloured(r, n, 150, 2500) * synth.env_exp(n, 0.05, attack=0.0005)
    board = synth.wood(r, n, 190, t60=0.04, bright=0.2)
    cloth = _whoosh(r, n, 450, 1900, 0.035, 0.25)
    return norm(push) + 0.3 * norm(board) + 0.35 * norm(cloth)


def wall_jump(r):
    # The kick off a wooden wall, then the body turning in the air.
    n = seconds(0.38)
    knock = synth.wood(r, n, 330, t60=0.09, bright=0.6)
    push = synth.coloured(r, n, 200, 3000) * synth.env_exp(n, 0.04)
    cloth = at(n, 0.02, _whoosh(r, n, 600, 2400, 0.04, 0.28))
    return norm(knock) + 0.5 * norm(push) + 0.4 * norm(cloth)


def slide(r):
    # Sandals skidding on grit: a scuff, then a rough scrape that dies away.
    n = seconds(0.5)
    scrape = synth.coloured(r, n, 400, 5000)
    rough = 0.6 + 0.4 * norm(synth.coloured(r, n, 0, 35))
    scrape *= rough * synth.env_adsr(n, 0.003, 0.12, 0.35, 0.2)
    scuff = synth.coloured(r, n, 150, 2000) * synth.env_exp(n, 0.05)
    grit = crackle(r, n, 400, 2500, 8000, t60=0.35)
    return norm(scuff) + 0.45 * norm(scrape) + 0.2 * norm(grit)


def crouch(r):
    # Cloth folding: a few soft rustles close together.
    n = seconds(0.22)
    x = np.zeros(n)
    for delay, amp in ((0.0, 1.0), (0.03, 0.55), (0.07, 0.4), (0.11, 0.25)):
        m = seconds(0.06)
        rustle = synth.coloured(r, m, 700, 6000) * synth.env_exp(m, 0.05, attack=0.0006)
        x += at(n, delay, amp * norm(rustle))
    knee = synth.coloured(r, n, 80, 600) * synth.env_exp(n, 0.03)
    return x + 0.5 * norm(knee)


def die(r):
    # A blade's ring, the body hitting the boards and a low drum under both.
    n = seconds(1.5)
    t = synth.t_axis(n)
    blade = synth.modal(n, [(2310, 0.5, 1.0), (3720, 0.4, 0.7), (5130, 0.3, 0.5), (7240, 0.2, 0.3)], phase_rng=r)
    slash = sweep(r, n, 5000, 1200, 1.2) * synth.env_exp(n, 0.12)
    body = synth.drum(r, n, 140, 62, 0.04, 0.45, skin=0.6)
    boom = synth.drum(r, n, 75, 44, 0.09, 1.3, skin=0.1)
    cloth = synth.coloured(r, n, 300, 4000) * synth.env_exp(n, 0.15)
    tremble = 1 + 0.15 * np.sin(TAU * 5.5 * t)
    return (0.45 * norm(blade) * tremble + 0.35 * norm(slash) + norm(body) + 0.8 * norm(boom)
            + 0.3 * norm(cloth))


def respawn(r):
    # Ink gathering back: four rising koto notes over a breath of air.
    n = seconds(1.1)
    x = np.zeros(n)
    for delay, semis, amp in ((0.0, 7, 1.0), (0.09, 12, 0.6), (0.18, 14, 0.5), (0.27, 19, 0.45)):
        note = synth.pluck(r, pitch(semis), 0.9, t60=0.9, bright=0.7)
        x += at(n, delay, amp * norm(note))
    air = sweep(r, n, 700, 4500, 1.4) * synth.env_adsr(n, 0.25, 0.2, 0.6, 0.5)
    return x + 0.35 * norm(air)


def hit_ground(r):
    n = seconds(0.4)
    thud = synth.drum(r, n, 120, 68, 0.02, 0.18, skin=0.8)
    board = synth.wood(r, n, 160, t60=0.07, bright=0.3)
    dust = synth.coloured(r, n, 800, 5000) * synth.env_exp(n, 0.1, attack=0.002)
    dust += 0.5 * crackle(r, n, 300, 2000, 7000, t60=0.12)
    return norm(thud) + 0.4 * norm(board) + 0.35 * norm(dust)


def wall_slide(r):
    # Cloth dragging down planks: steady friction noise whose grain wavers,
    # built periodic so the loop has no seam.
    n = SR
    friction = synth.shape(synth.noise(r, n), lambda f: synth.band(250, 3500)(f) * (1000 / np.maximum(f, 200)) ** 0.3,
                           circular=True)
    grain = synth.shape(synth.noise(r, n), synth.band(0, 25, 3), circular=True)
    wobble = 1 + 0.25 * norm(grain) + 0.08 * np.sin(TAU * 3 * np.arange(n) / n)
    creak = synth.shape(synth.noise(r, n), synth.peak_band(420, 9), circular=True)
    return norm(friction) * wobble + 0.25 * norm(creak)


def checkpoint(r):
    # A small steel bowl struck once with a wooden beater.
    n = seconds(2.4)
    ring = synth.bell(r, n, pitch(-2), t60=2.4)  # G4
    beat = synth.wood(r, n, 900, t60=0.03, bright=0.5)
    return norm(ring) + 0.3 * norm(beat)


def collect(r):
    # Paper snapping open, then two bright koto notes.
    n = seconds(0.9)
    paper = crackle(r, n, 900, 2500, 9000, decay=0.002, t60=0.08)
    paper += synth.coloured(r, n, 2000, 8000) * synth.env_exp(n, 0.05)
    x = 0.5 * norm(paper)
    x += at(n, 0.015, norm(synth.pluck(r, pitch(14), 0.85, t60=0.8, bright=0.75)))
    x += at(n, 0.085, 0.8 * norm(synth.pluck(r, pitch(19), 0.8, t60=0.8, bright=0.75)))
    return x


# --- traps -----------------------------------------------------------------

def arrow_shot(r):
    # A bowstring's twang in its wooden housing, and the arrow's hiss.
    n = seconds(0.5)
    string = synth.pluck(r, 98, 0.5, t60=0.18, bright=0.9, position=0.5, pick=0.5)
    housing = synth.wood(r, n, 420, t60=0.05, bright=0.7)
    hiss = at(n, 0.01, sweep(r, n, 2500, 6500, 1.3) * synth.env_exp(n, 0.2, attack=0.01))
    return norm(string) + 0.5 * norm(housing) + 0.4 * norm(hiss)


def shuriken(r):
    # A spinning star: the blades' rush at twelve turns a second (four
    # blades, so a puff at 48 Hz riding on it) and a faint steel whine.
    # Every frequency is a whole number of cycles per loop.
    n = SR
    t = np.arange(n) / n
    rush = synth.shape(synth.noise(r, n), synth.band(900, 6000), circular=True)
    spin = 0.55 + 0.45 * np.sin(TAU * 12 * t) ** 2
    blades = 1 + 0.25 * np.sin(TAU * 48 * t)
    whine = sum(a * np.sin(TAU * f * t + r.uniform(0, TAU)) for f, a in ((1520, 1.0), (2310, 0.5), (3890, 0.3)))
    whine *= 1 + 0.3 * np.sin(TAU * 12 * t + 1.0)
    return norm(rush) * spin * blades + 0.12 * norm(whine)


def spear_out(r):
    n = seconds(0.65)
    thrust = _whoosh(r, n, 700, 3800, 0.006, 0.14, q=1.3)
    ring = synth.modal(n, [(3150, 0.45, 1.0), (4620, 0.35, 0.6), (6930, 0.25, 0.35)], phase_rng=r)
    shaft = synth.wood(r, n, 690, t60=0.05)
    return norm(thrust) + 0.4 * norm(ring) + 0.6 * norm(shaft)


def spear_in(r):
    n = seconds(0.5)
    scrape = sweep(r, n, 6000, 2200, 2.0) * synth.env_adsr(n, 0.004, 0.1, 0.5, 0.12, hold=0.22)
    scrape *= 0.7 + 0.3 * norm(synth.coloured(r, n, 0, 60))
    clunk = at(n, 0.23, synth.wood(r, n, 480, t60=0.08, bright=0.5))
    return norm(scrape) + 0.8 * norm(clunk)


def stomper_out(r):
    # A stone block driven out and slamming home: the impact comes at once,
    # then the rumble and the rubble.
    n = seconds(1.2)
    grind = synth.coloured(r, n, 100, 1800) * synth.env_adsr(n, 0.002, 0.02, 0.0, 0.02)
    hit = synth.drum(r, n, 95, 44, 0.05, 0.7, skin=0.9, mode_gain=(1.0, 0.5, 0.3, 0.2))
    crack = synth.coloured(r, n, 300, 6000) * synth.env_exp(n, 0.09, attack=0.0003)
    rumble = synth.coloured(r, n, 25, 180) * synth.env_exp(n, 0.9, attack=0.004)
    rubble = crackle(r, n, 120, 800, 5000, decay=0.006, start=0.03, t60=0.5)
    return 0.3 * norm(grind) + norm(hit) + 0.6 * norm(crack) + 0.6 * norm(rumble) + 0.3 * norm(rubble)


def stomper_in(r):
    # Dragged back: stone grinding on stone over a wooden ratchet.
    n = seconds(0.95)
    grind = synth.coloured(r, n, 60, 1100)
    grind *= (0.6 + 0.4 * norm(synth.coloured(r, n, 0, 18))) * synth.env_adsr(n, 0.01, 0.3, 0.6, 0.15, hold=0.7)
    ratchet = np.zeros(n)
    for k in range(10):
        delay = 0.02 + k * 0.068
        ratchet += at(n, delay, (1 - 0.05 * k) * synth.wood(r, seconds(0.05), 1150 + 40 * (k % 3), t60=0.025))
    home = at(n, 0.72, synth.drum(r, seconds(0.23), 150, 90, 0.02, 0.12, skin=0.5))
    return 0.8 * norm(grind) + 0.45 * norm(ratchet) + 0.7 * norm(home)


def trap_door(r):
    # The hinge creaks as the latch lets go, then the flap slaps open.
    n = seconds(0.75)
    pulses = np.zeros(n)
    tt = 0.0
    while tt < 0.22:
        rate = 55 + 180 * tt
        pulses[seconds(tt)] = r.uniform(0.6, 1.0)
        tt += 1.0 / rate
    plank = synth.modal(seconds(0.06), [(620, 0.04, 1.0), (1390, 0.03, 0.6), (2280, 0.02, 0.3)], phase_rng=r)
    creak = synth.convolve(pulses, plank) * synth.env_adsr(n, 0.004, 1.0, 1.0, 0.04, hold=0.2)
    slap = at(n, 0.23, synth.wood(r, seconds(0.5), 240, t60=0.14, bright=0.8))
    thud = at(n, 0.23, synth.drum(r, seconds(0.5), 110, 70, 0.02, 0.2, skin=0.7))
    return 0.6 * norm(creak) + norm(slap) + 0.7 * norm(thud)


# --- fireworks -------------------------------------------------------------

def rocket_shot(r):
    # Lit and thrown out of a bamboo tube: the tube's hollow thump, then the
    # fuse fizzing away upwards.
    n = seconds(1.1)
    thump = synth.drum(r, n, 170, 95, 0.02, 0.14, skin=0.5)
    tube = synth.modal(n, [(410, 0.12, 1.0), (1240, 0.08, 0.4), (2070, 0.05, 0.2)], phase_rng=r)
    fizz = sweep(r, n, 2500, 6000, 1.0) * synth.env_adsr(n, 0.03, 0.4, 0.5, 0.5)
    sparks = crackle(r, n, 220, 3000, 9000, decay=0.002, start=0.03, t60=0.9)
    return norm(thump) + 0.6 * norm(tube) + 0.35 * norm(fizz) + 0.25 * norm(sparks)


def rocket_explosion(r):
    n = seconds(1.7)
    crack = synth.coloured(r, n, 150, 8000) * synth.env_exp(n, 0.04, attack=0.0002)
    boom = synth.drum(r, n, 90, 38, 0.06, 1.0, skin=0.4)
    sparkle = crackle(r, n, 260, 2500, 9000, decay=0.002, start=0.05, t60=1.4)
    return norm(crack) + 0.9 * norm(boom) + 0.35 * norm(sparkle)


# --- menus -----------------------------------------------------------------

def menu_switch(r):
    # A soft tick of a wooden block, barely more than a click.
    n = seconds(0.07)
    return synth.wood(r, n, 1850, t60=0.022, bright=0.35)


def menu_select(r):
    # One koto pluck on A.
    return synth.pluck(r, pitch(12), 0.75, t60=0.9, bright=0.75, position=0.2, pick=0.4)


GENERATORS = {
    "sfx_walk01": walk01, "sfx_walk02": walk02, "sfx_run01": run01,
    "sfx_jump": jump, "sfx_wall_jump": wall_jump, "sfx_slide": slide, "sfx_crouch": crouch,
    "sfx_die": die, "sfx_respawn": respawn, "sfx_hit_ground": hit_ground,
    "sfx_wall_slide": wall_slide, "sfx_checkpoint": checkpoint, "sfx_collect": collect,
    "sfx_arrow_shot": arrow_shot, "sfx_shuriken": shuriken,
    "sfx_spear_out": spear_out, "sfx_spear_in": spear_in,
    "sfx_Stomper_out": stomper_out, "sfx_Stomper_in": stomper_in, "sfx_trap_door": trap_door,
    "sfx_rocket_shot": rocket_shot, "sfx_rocket_explosion": rocket_explosion,
    "sfx_menu_switch": menu_switch, "sfx_menu_select": menu_select,
}


# --- finishing -------------------------------------------------------------

def _finish_one_shot(x, r, wet):
    x = synth.in_room(x, r, wet)
    # Cut the tail where it has died away, then close it smoothly.
    floor = np.abs(x).max() * 10 ** (-66 / 20)
    loud = np.nonzero(np.abs(x) > floor)[0]
    x = x[:loud[-1] + 1]
    x = synth.fade(x, fade_in=0.0002, fade_out=min(0.03, len(x) / SR / 4))
    x[0] = 0.0
    x[-1] = 0.0
    return x


def _at_zero(x):
    """Turns a periodic signal so that it starts exactly on a rising zero
    crossing, choosing the gentlest one, so the last sample leads into the
    first through zero."""
    n = len(x)
    rising = np.nonzero((x[:-1] < 0) & (x[1:] >= 0))[0]
    k = rising[np.argmin(x[rising + 1] - x[rising])]
    spectrum = np.fft.rfft(x)
    bins = np.arange(len(spectrum))
    t = k + x[k] / (x[k] - x[k + 1])
    for _ in range(4):
        # Newton steps on the band-limited waveform itself.
        turn = np.exp(1j * TAU * bins * t / n)
        value = np.fft.irfft(spectrum * turn, n)[0]
        slope = np.fft.irfft(spectrum * turn * (1j * TAU * bins / n), n)[0]
        t -= value / slope
    shifted = np.fft.irfft(spectrum * np.exp(1j * TAU * bins * t / n), n)
    shifted[0] = 0.0
    return shifted


def _finish_loop(x, r):
    room = synth.close_room(r)
    x = x + 0.2 * synth.convolve_circular(x, room)
    return _at_zero(x - x.mean())


def render(name, loops):
    r = synth.rng(name)
    x = norm(GENERATORS[name](r))
    if name in DRIVE:
        x = np.tanh(DRIVE[name] * x) / np.tanh(DRIVE[name])
    if loops:
        x = _finish_loop(x, r)
    else:
        x = _finish_one_shot(x, r, WET.get(name, 0.2))
    x = x * synth.gain_for(x, LEVELS[name], CEILING_DB)
    return synth.to_pcm16(x)


def _names():
    sounds, _ = synth.manifest()
    names = {os.path.basename(p)[:-4]: (p, flags) for p, flags in sounds.items()}
    missing = set(names) - set(GENERATORS)
    extra = set(GENERATORS) - set(names)
    if missing or extra or set(LEVELS) != set(GENERATORS):
        raise SystemExit("sfx.py and audio/AudioManifest.h disagree: no generator for %s, not listed: %s"
                         % (sorted(missing), sorted(extra)))
    return names


def build(data_dir):
    for name, (path, (loops, _)) in sorted(_names().items()):
        synth.write_wav(os.path.join(data_dir, path), render(name, loops))


def report(data_dir):
    print("%-22s %6s %8s %8s %9s %7s" % ("effect", "s", "peak dB", "RMS dB", "short dB", "target"))
    for name, (path, _) in _names().items():
        x = synth.read_wav(os.path.join(data_dir, path))
        print("%-22s %6.3f %8.2f %8.2f %9.2f %7d" % (name, len(x) / SR, synth.peak_db(x), synth.rms_db(x),
                                                    synth.loudness(x / 32768.0), LEVELS[name]))


if __name__ == "__main__":
    report(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data"))
