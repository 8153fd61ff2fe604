#!/usr/bin/python3
"""The two music loops: a calm, wide title theme and a driving level theme,
both in Japanese pentatonic scales, played by a Karplus-Strong koto, a
breathy bamboo flute and taiko-like drums. Stereo 44.1 kHz, encoded by lame.

Everything is rendered on a circle: a note or echo that runs past the end of
the loop sounds at its start, so the loop has no seam. MP3 adds silence at
both ends (encoder delay and padding), which decoders remove by the LAME
tag. We encode the loop with its own tail before it and its own head after
it, then widen the delay and padding in the tag to cover them: the decoder
drops exactly the extra, and the samples at both ends were encoded with
their true neighbours.

Run on its own to check the committed files: `tools/assets/music.py [data_dir]`
decodes each track with `lame --decode` and compares both ends with a fresh
render."""

import os
import subprocess
import sys
import tempfile

import numpy as np

import synth
from synth import SR

BITRATE = 160
PREROLL = 2304  # two MP3 frames of the loop's tail before its start
POSTROLL = 1152  # one frame of its head after the end

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi(name):
    """"D5", "Eb4", "F#3" to a MIDI note number."""
    base = NOTE_NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        base += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return base + 12 * (int(rest) + 1)


def hz(note):
    return 440.0 * 2 ** ((note - 69) / 12)


def phrase(text):
    """"A4:1.5 C5:.5 r:1" to [(midi or None, beats)]."""
    out = []
    for token in text.split():
        name, beats = token.split(":")
        out.append((None if name == "r" else midi(name), float(beats)))
    return out


def scale_notes(root, intervals, lo, hi):
    """Every note of the scale from MIDI lo to hi."""
    return [n for n in range(lo, hi + 1) if (n - root) % 12 in intervals]


class Track:
    """Events on a loop of `bars` bars of 4/4: each voice is rendered into its
    own mono bus, wrapping around the end."""

    def __init__(self, name, bpm, bars):
        self.name = name
        self.beat = SR * 60 / bpm
        self.length = int(round(self.beat * 4 * bars))
        self.r = synth.rng(name)
        self.buses = {}

    def at(self, beat):
        return int(round(beat * self.beat))

    def add(self, bus, start, sig, gain=1.0):
        buf = self.buses.setdefault(bus, np.zeros(self.length))
        start %= self.length
        sig = sig * gain
        # A note longer than what is left of the loop wraps to its start.
        while len(sig):
            m = min(len(sig), self.length - start)
            buf[start:start + m] += sig[:m]
            sig = sig[m:]
            start = 0

    def jitter(self, ms):
        return int(self.r.uniform(-ms, ms) * SR / 1000)

    # --- voices --------------------------------------------------------

    def koto(self, beat, note, vel=1.0, dur=2.5, bus="koto", t60=None, bright=0.65):
        f = hz(note)
        t60 = t60 or float(np.clip(3.2 - (note - 48) * 0.06, 0.8, 3.2))
        x = synth.pluck(self.r, f, min(dur, t60 * 1.1), t60=t60, bright=bright,
                        position=0.16 + self.r.uniform(-0.03, 0.03), pick=0.3)
        x = synth.fade(x / max(1e-9, np.abs(x).max()), fade_out=0.05)
        self.add(bus, self.at(beat) + self.jitter(4), x, vel * self.r.uniform(0.88, 1.0))

    def glissando(self, beat, notes, span, vel=0.6, bus="koto"):
        """The koto's sweep across its strings, ending on the beat."""
        step = span / max(1, len(notes) - 1)
        for i, note in enumerate(notes):
            self.koto(beat - span + i * step, note, vel * (0.6 + 0.4 * i / len(notes)), dur=1.6, bus=bus)

    def flute(self, beat, note, beats, vel=1.0, scoop=0.03, bus="flute", breath=0.28):
        dur = beats * self.beat / SR + 0.12
        x = synth.flute(self.r, hz(note), dur, breath=breath, scoop=scoop,
                        attack=min(0.09, dur / 4), release=min(0.2, dur / 3))
        self.add(bus, self.at(beat) + self.jitter(6), x, vel)

    def melody(self, beat, notes, vel=1.0, bus="flute"):
        for note, beats in notes:
            if note is not None:
                # Long notes slide up into pitch, as a shakuhachi player bends them.
                scoop = 0.06 if beats >= 2 and self.r.uniform() < 0.5 else 0.025
                self.flute(beat, note, beats, vel * self.r.uniform(0.9, 1.0), scoop=scoop, bus=bus)
            beat += beats
        return beat

    def odaiko(self, beat, vel=1.0, bus="odaiko"):
        n = synth.seconds(1.4)
        x = synth.drum(self.r, n, 105, 58, 0.05, 1.0, skin=0.45)
        self.add(bus, self.at(beat) + self.jitter(3), x / np.abs(x).max(), vel * self.r.uniform(0.9, 1.0))

    def shime(self, beat, vel=1.0, bus="shime"):
        n = synth.seconds(0.3)
        x = synth.drum(self.r, n, 430, 330, 0.01, 0.14, skin=0.9, mode_gain=(1.0, 0.5, 0.35, 0.25))
        self.add(bus, self.at(beat) + self.jitter(3), x / np.abs(x).max(), vel * self.r.uniform(0.85, 1.0))

    def ka(self, beat, vel=1.0, bus="ka"):
        n = synth.seconds(0.1)
        x = synth.wood(self.r, n, 1650, t60=0.03, bright=0.9)
        self.add(bus, self.at(beat) + self.jitter(2), x / np.abs(x).max(), vel * self.r.uniform(0.85, 1.0))

    # --- mix -----------------------------------------------------------

    def mix(self, layout, reverb, target_db):
        """layout: bus -> (gain, pan, reverb send). Returns the stereo loop
        at the target integrated loudness, peaks well under full scale."""
        out = np.zeros((self.length, 2))
        send = np.zeros(self.length)
        for bus, (gain, position, amount) in layout.items():
            if bus not in self.buses:
                continue
            x = self.buses[bus] * gain
            out += synth.pan(x, position)
            send += x * amount
        t60, early = reverb
        ir = synth.room_ir(self.r, min(4.0, t60 * 1.5), t60, early=early, stereo=True)
        for c in range(2):
            out[:, c] += synth.convolve_circular(send, ir[:, c])
        out -= out.mean(axis=0)
        g = 10 ** (round(target_db - synth.integrated_loudness(out), 2) / 20)
        out *= g
        peak = synth.db(np.abs(out).max())
        if peak > -3.0:
            raise SystemExit("%s peaks at %.2f dBFS; lower its target" % (self.name, peak))
        return out


# --- the title theme -------------------------------------------------------

def title():
    # In scale on E (E F A B C): calm, a little wistful. 70 BPM, 20 bars.
    t = Track("bgm_title", 70, 20)
    root, intervals = midi("E3"), {0, 1, 5, 7, 8}
    notes = scale_notes(root, intervals, midi("E2"), midi("E7"))

    def up(note, steps):
        return notes[notes.index(note) + steps]

    roots = ["E3", "E3", "C3", "B2", "A2", "A2", "F2", "E2",
             "E3", "A2", "C3", "B2", "A2", "F2", "E2", "B2",
             "A2", "F2", "E2", "B2"]
    patterns = [
        [(0, 0, 1.0), (1, 2, 0.6), (1.5, 4, 0.7), (2, 5, 0.75), (3, 4, 0.6), (3.5, 2, 0.5)],
        [(0, 0, 1.0), (1, 4, 0.6), (2, 5, 0.7), (2.5, 7, 0.55), (3, 5, 0.6)],
        [(0, 0, 1.0), (0.5, 2, 0.5), (1, 4, 0.65), (2, 7, 0.7), (3, 6, 0.6), (3.5, 4, 0.5)],
    ]
    for bar, name in enumerate(roots):
        base = midi(name)
        pattern = patterns[[0, 1, 0, 2][bar % 4]]
        for beat, steps, vel in pattern:
            t.koto(bar * 4 + beat, up(base, steps), 0.8 * vel, dur=3.5)
        # An answering voice, higher and late, on the other side.
        if bar % 2 == 1:
            t.koto(bar * 4 + 2.5, up(base, 9), 0.35, dur=3.0, bus="echo")
            t.koto(bar * 4 + 3.25, up(base, 8), 0.3, dur=3.0, bus="echo")

    # Sweeps open the two halves.
    for bar in (0, 10):
        base = midi(roots[bar])
        t.glissando(bar * 4, [up(base, k) for k in range(5, 12)], 0.45, 0.45)

    a = phrase("B4:2 C5:1 A4:1 B4:3 r:1 E5:1.5 F5:.5 E5:1 C5:1 B4:4 "
               "A4:1.5 B4:.5 C5:2 B4:1 A4:1 F4:2 E4:4 r:4")
    b = phrase("E5:2 F5:1 A5:1 B5:3 A5:1 F5:1.5 E5:.5 C5:2 B4:2 r:1 C5:1 "
               "E5:1 F5:1 E5:1.5 C5:.5 B4:2 A4:1 B4:1 E4:3 r:1 r:4")
    t.melody(4 * 4, a, 0.85)
    t.melody(12 * 4 - 2, b, 0.85)

    for bar in (0, 4, 8, 12, 16):
        t.odaiko(bar * 4, 0.7)
    for bar in (7, 15, 19):
        t.odaiko(bar * 4 + 2.5, 0.4)
        t.odaiko(bar * 4 + 3, 0.55)

    layout = {"koto": (1.4, -0.35, 0.5), "echo": (2.2, 0.6, 0.8), "flute": (0.39, 0.2, 0.6),
              "odaiko": (1.55, 0.0, 0.45)}
    reverb = (2.6, ((0.011, 0.3), (0.019, 0.25), (0.029, 0.2), (0.041, 0.15), (0.057, 0.1)))
    return t.mix(layout, reverb, -29.0)


# --- the level theme -------------------------------------------------------

def level():
    # Yo scale on D (D F G A C), 140 BPM, 44 bars in sections A A' B
    # breakdown B' and a drum-led turnaround, so four minutes of play hear
    # it three times without it turning into a jingle.
    t = Track("bgm_level", 140, 44)
    intervals = {0, 3, 5, 7, 10}
    root = midi("D3")
    notes = scale_notes(root, intervals, midi("D1"), midi("D7"))

    def up(note, steps):
        return notes[notes.index(note) + steps]

    roots = (["D3", "D3", "C3", "C3", "D3", "C3", "G2", "D3"]
             + ["D3", "D3", "C3", "C3", "D3", "F2", "G2", "D3"]
             + ["F2", "C3", "D3", "C3", "G2", "D3", "F2", "A2"]
             + ["D3", "D3", "C3", "A2"]
             + ["F2", "C3", "D3", "C3", "G2", "D3", "F2", "D3"]
             + ["D3", "C3", "A2", "G2", "D3", "C3", "F2", "A2"])
    breakdown = range(24, 28)

    for bar, name in enumerate(roots):
        base = midi(name)
        b0 = bar * 4
        section = bar // 8
        # Low strings: the pulse under everything.
        if bar in breakdown:
            t.koto(b0, base - 12, 0.8, dur=3.0, bus="bass")
        else:
            for beat, vel in ((0, 1.0), (1.5, 0.7), (3, 0.8)):
                t.koto(b0 + beat, base - 12 if beat == 0 else base, vel, dur=1.2, bus="bass", t60=1.1)
        # The ostinato, changing shape by section.
        if bar in breakdown:
            for beat, steps in ((0, 2), (1, 4), (2, 5), (3, 4)):
                t.koto(b0 + beat, up(base, steps), 0.55, dur=1.8)
        else:
            shape = [0, 3, 5, 3, 7, 3, 5, 2] if section in (0, 1, 5) else [5, 3, 0, 3, 5, 7, 5, 3]
            for k, steps in enumerate(shape):
                vel = (0.85 if k % 2 == 0 else 0.6) * (1.1 if k in (0, 3, 6) else 1.0)
                t.koto(b0 + k * 0.5, up(base + 12, steps), vel, dur=1.0, t60=0.9)
            if section in (2, 3) and bar % 2 == 1:
                t.koto(b0 + 3.75, up(base + 12, 8), 0.5, dur=0.8, t60=0.7)

    a = phrase("A4:1.5 C5:.5 D5:1 C5:.5 A4:.5 G4:1 A4:1 F4:2 "
               "A4:1.5 C5:.5 D5:1 F5:1 G5:1 F5:.5 D5:.5 C5:2 "
               "D5:1.5 F5:.5 G5:1 A5:1 G5:.5 F5:.5 D5:1 C5:2 "
               "A4:1 C5:1 D5:.5 C5:.5 A4:1 G4:.5 A4:.5 D4:3")
    a2 = phrase("A4:1.5 C5:.5 D5:1 C5:.5 A4:.5 G4:1 A4:1 F4:2 "
                "A4:1.5 C5:.5 D5:1 F5:1 G5:1 F5:.5 D5:.5 C5:2 "
                "D5:1.5 F5:.5 G5:1 A5:1 C6:1 A5:.5 G5:.5 A5:2 "
                "G5:.5 A5:.5 G5:.5 F5:.5 D5:1 F5:1 D5:3 r:1")
    b = phrase("F5:2 G5:1 A5:1 C6:1.5 A5:.5 G5:2 F5:1 G5:.5 F5:.5 D5:2 C5:1 D5:1 F5:2 "
               "G5:2 A5:1 C6:1 D6:1.5 C6:.5 A5:2 G5:.5 A5:.5 C6:.5 A5:.5 G5:1 F5:1 G5:2 A5:2")
    calm = phrase("r:8 A4:4 C5:2 D5:2")
    b2 = phrase("F5:2 G5:1 A5:1 C6:1.5 A5:.5 G5:2 F5:1 G5:.5 F5:.5 D5:2 C5:1 D5:1 F5:2 "
                "G5:2 A5:1 C6:1 D6:1.5 C6:.5 A5:2 G5:.5 A5:.5 C6:.5 D6:.5 C6:1 A5:1 D6:3 r:1")
    hold = phrase("D5:4 C5:4 A4:4 G4:2 A4:2")
    beat = t.melody(0, a, 0.9)
    beat = t.melody(beat, a2, 0.9)
    beat = t.melody(beat, b, 0.95)
    beat = t.melody(beat, calm, 0.7)
    beat = t.melody(beat, b2, 1.0)
    t.melody(beat, hold, 0.75)
    # In the turnaround the koto takes the opening of the tune.
    lead = 40 * 4
    for note, beats in a:
        if lead >= 44 * 4:
            break
        if note is not None:
            t.koto(lead, note, 0.9, dur=1.5, bus="lead", bright=0.8)
        lead += beats

    # Drums: don (odaiko), tsu (shime), ka (rim), on a sixteenth grid.
    grooves = {
        "main": ("x.....x.x.....x.", "..x...x...x...x.", "....x.......x..."),
        "drive": ("x.....x.x..x..x.", "x.x.x.x.x.x.x.x.", "....x.......x.x."),
        "thin": ("x.......x.......", "................", "....x.......x..."),
        "fill": ("x..x..x.x.xxxxxx", "..x...x.xxxxxxxx", "................"),
    }
    for bar in range(44):
        if bar in breakdown:
            name = "fill" if bar == 27 else "thin"
        elif bar % 8 == 7:
            name = "fill"
        elif 16 <= bar < 24 or 28 <= bar < 36:
            name = "drive"
        else:
            name = "main"
        don, tsu, ka = grooves[name]
        for step in range(16):
            b = bar * 4 + step / 4
            accent = 1.0 if step % 4 == 0 else 0.75
            if don[step] == "x":
                t.odaiko(b, 0.95 * accent)
            if tsu[step] == "x":
                t.shime(b, 0.7 * accent * (1.15 if step >= 8 and name == "fill" else 1.0))
            elif name != "thin" and step % 2 == 1 and t.r.uniform() < 0.3:
                t.shime(b, 0.25)  # ghost notes keep the grid alive
            if ka[step] == "x":
                t.ka(b, 0.6)

    layout = {"koto": (0.87, -0.3, 0.25), "bass": (0.67, 0.0, 0.1), "lead": (1.07, -0.15, 0.3),
              "flute": (0.3, 0.25, 0.35), "odaiko": (0.67, 0.0, 0.2), "shime": (1.09, 0.35, 0.2),
              "ka": (1.75, -0.45, 0.2)}
    reverb = (1.1, ((0.007, 0.3), (0.013, 0.25), (0.021, 0.18), (0.033, 0.12)))
    return t.mix(layout, reverb, -26.0)


TRACKS = {"bgm_title": title, "bgm_level": level}


# --- encoding --------------------------------------------------------------

def _crc16(data):
    # CRC-16 as the LAME tag checks it (polynomial 0x8005, reflected).
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def _lame_tag(data):
    """Offset of the LAME extension in the first frame, checked."""
    info = data.find(b"Info", 0, 64)
    lame = info + 120
    if info < 0 or data[lame:lame + 4] != b"LAME":
        raise SystemExit("lame wrote no LAME tag")
    if _crc16(data[:190]) != (data[190] << 8 | data[191]) or lame + 34 != 190:
        raise SystemExit("unexpected LAME tag layout")
    return lame


def encode(loop, path):
    """loop: stereo floats. Writes an MP3 that decodes to exactly the loop."""
    wrapped = np.concatenate([loop[-PREROLL:], loop, loop[:POSTROLL]])
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "in.wav")
        mp3 = os.path.join(tmp, "out.mp3")
        synth.write_wav(wav, synth.to_pcm16(wrapped), channels=2)
        # CBR, so the Info frame carries a LAME tag and no replay-gain scan
        # or clock leaves anything varying in the file.
        subprocess.run(["lame", "--silent", "--noreplaygain", "--cbr", "-b", str(BITRATE), "-q", "2",
                        "-m", "j", wav, mp3], check=True)
        with open(mp3, "rb") as f:
            data = bytearray(f.read())
    lame = _lame_tag(data)
    delay = data[lame + 21] << 4 | data[lame + 22] >> 4
    padding = (data[lame + 22] & 0x0F) << 8 | data[lame + 23]
    delay += PREROLL
    padding += POSTROLL
    if delay > 0xFFF or padding > 0xFFF:
        raise SystemExit("delay %d or padding %d does not fit the tag" % (delay, padding))
    data[lame + 21] = delay >> 4
    data[lame + 22] = (delay & 0x0F) << 4 | padding >> 8
    data[lame + 23] = padding & 0xFF
    crc = _crc16(data[:190])
    data[190], data[191] = crc >> 8, crc & 0xFF
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def decode(path):
    """Decodes with lame, which honours the tag's delay and padding."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "out.wav")
        subprocess.run(["lame", "--silent", "--decode", path, wav], check=True)
        return synth.read_wav(wav)


def _snr(a, b):
    return 10 * np.log10(np.sum(a.astype(float) ** 2) / max(1e-9, np.sum((a - b).astype(float) ** 2)))


def _best_lag(source, decoded, at, edge):
    """The shift of decoded against source that matches best around `at`."""
    a = source[at:at + edge]
    scores = []
    for lag in range(-32, 33):
        seg = np.take(decoded, np.arange(at + lag, at + lag + edge), axis=0, mode="wrap")
        scores.append((_snr(a, seg), lag))
    return max(scores)[1]


def check_loop(name, loop, path, frames):
    """Decodes the file and holds it against the rendered loop: the length
    must be exact, both ends must line up at lag 0, and they must decode as
    faithfully as the same music does in the middle of a file (the loop
    encoded again turned half way round), with no step across the seam
    beyond what the music itself makes."""
    source = synth.to_pcm16(loop).astype(np.int32)
    decoded = decode(path)
    if len(decoded) != frames or len(source) != frames:
        return ["%d frames decoded, %d rendered, %d listed" % (len(decoded), len(source), frames)], {}
    half = frames // 2
    with tempfile.TemporaryDirectory() as tmp:
        turned = os.path.join(tmp, "turned.mp3")
        encode(np.roll(loop, half, axis=0), turned)
        reference = np.roll(decode(turned), -half, axis=0)
    edge = 8192
    problems = []
    facts = {"seconds": frames / SR, "snr_whole": _snr(source, decoded)}
    for label, at in (("head", 0), ("tail", frames - edge)):
        ours = _snr(source[at:at + edge], decoded[at:at + edge])
        middle = _snr(source[at:at + edge], reference[at:at + edge])
        lag = _best_lag(source, decoded, at, edge)
        facts[label] = (ours, middle, lag)
        if lag != 0:
            problems.append("the %s is shifted by %d samples" % (label, lag))
        if ours < middle - 1.5:
            problems.append("the %s decodes at %.1f dB SNR, %.1f dB mid-file" % (label, ours, middle))
    seam = np.abs(decoded[0] - decoded[-1]).max()
    steps = np.abs(np.diff(decoded, axis=0)).max(axis=1)
    facts["seam_step"], facts["step_999"] = int(seam), float(np.percentile(steps, 99.9))
    if seam > facts["step_999"]:
        problems.append("a step of %d across the seam" % seam)
    return problems, facts


def _paths():
    _, music = synth.manifest()
    names = {os.path.basename(p)[:-4]: (p, frames) for p, frames in music.items()}
    if set(names) != set(TRACKS):
        raise SystemExit("music.py and audio/AudioManifest.h disagree: %s against %s"
                         % (sorted(TRACKS), sorted(names)))
    return names


def build(data_dir):
    for name, (path, frames) in sorted(_paths().items()):
        loop = TRACKS[name]()
        if len(loop) != frames:
            raise SystemExit("%s renders %d frames, the manifest says %d" % (name, len(loop), frames))
        target = os.path.join(data_dir, path)
        encode(loop, target)
        problems, _ = check_loop(name, loop, target, frames)
        if problems:
            raise SystemExit("%s does not loop cleanly: %s" % (path, "; ".join(problems)))


def report(data_dir):
    for name, (path, frames) in sorted(_paths().items()):
        loop = TRACKS[name]()
        problems, facts = check_loop(name, loop, os.path.join(data_dir, path), frames)
        pcm = synth.to_pcm16(loop)
        print("%s: %.2f s, peak %.2f dBFS, RMS %.2f dBFS, loudness %.2f dB (short-term max %.2f), "
              "%d kB" % (name, frames / SR, synth.peak_db(pcm), synth.rms_db(pcm),
                         synth.integrated_loudness(loop), synth.loudness(loop),
                         os.path.getsize(os.path.join(data_dir, path)) // 1024))
        if facts:
            print("  decoded against the render: SNR %.1f dB overall; head %.1f dB (%.1f mid-file, lag %d), "
                  "tail %.1f dB (%.1f mid-file, lag %d); seam step %d (99.9%% of steps <= %.0f)"
                  % ((facts["snr_whole"],) + facts["head"] + facts["tail"]
                     + (facts["seam_step"], facts["step_999"])))
        print("  " + ("; ".join(problems) if problems else "loop point exact"))


if __name__ == "__main__":
    report(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data"))
