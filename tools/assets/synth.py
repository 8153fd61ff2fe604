"""The game's sound palette and the building blocks the sound and music
modules share: wood, cloth, bamboo, steel and stone in a dry, close room.
Deterministic: every random source is seeded from a name, and
numpy's RandomState is used because its streams are frozen across numpy
versions (the newer Generator streams are not)."""

import os
import re
import wave
import zlib

import numpy as np

SR = 44100
TAU = 2 * np.pi

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "audio",
                      "AudioManifest.h")

_SOUND = re.compile(r'\{\s*"(Audio/[^"]+\.wav)"\s*,\s*(true|false)\s*,\s*(true|false)\s*\}')
_MUSIC = re.compile(r'\{\s*"(Audio/[^"]+\.mp3)"\s*,\s*(\d+)\s*\}')


def manifest():
    """(sounds, music) from audio/AudioManifest.h, the one list the game's
    tests check as well: sounds as {path: (loops, on_frame)}, music as
    {path: loop_frames}."""
    with open(HEADER, encoding="utf-8") as f:
        text = f.read()
    sounds = {p: (l == "true", o == "true") for p, l, o in _SOUND.findall(text)}
    music = {p: int(n) for p, n in _MUSIC.findall(text)}
    return sounds, music


def rng(name):
    return np.random.RandomState(zlib.crc32(name.encode("utf-8")))


def seconds(n):
    return int(round(n * SR))


def t_axis(n):
    return np.arange(n) / SR


# --- envelopes -------------------------------------------------------------

def env_exp(n, t60, attack=0.0005):
    """A hit: a short linear rise, then an exponential fall reaching -60 dB
    after t60 seconds."""
    t = t_axis(n)
    e = np.exp(-6.9078 * t / t60)
    a = seconds(attack)
    if a > 0:
        e[:a] *= np.linspace(0.0, 1.0, a, endpoint=False)
    return e


def env_adsr(n, attack, decay, sustain, release, hold=None):
    """Linear attack and release, exponential decay to the sustain level.
    hold: seconds from the start to the release (default: until the end)."""
    t = t_axis(n)
    a = max(attack, 1e-4)
    rel_at = (n / SR - release) if hold is None else hold
    e = np.where(t < a, t / a, sustain + (1 - sustain) * np.exp(-(t - a) / max(decay, 1e-4)))
    r = np.clip((t - rel_at) / max(release, 1e-4), 0, 1)
    return e * (1 - r)


def fade(x, fade_in=0.0, fade_out=0.0):
    x = x.copy()
    i, o = seconds(fade_in), seconds(fade_out)
    if i > 0:
        x[:i] *= np.linspace(0.0, 1.0, i)
    if o > 0:
        x[-o:] *= np.linspace(1.0, 0.0, o) ** 2
    return x


# --- spectra ---------------------------------------------------------------

def _freqs(n):
    return np.fft.rfftfreq(n, 1.0 / SR)


def shape(x, gain_of_freq, circular=False):
    """Zero-phase filtering by a magnitude curve. Meant for noise that is
    shaped first and enveloped afterwards, so nothing rings before a hit.
    With circular, a looping signal stays exactly periodic."""
    n = len(x)
    size = n if circular else 1 << int(np.ceil(np.log2(n + 4096)))
    spectrum = np.fft.rfft(x, size)
    spectrum *= gain_of_freq(_freqs(size))
    return np.fft.irfft(spectrum, size)[:n]


def band(lo, hi, slope=2):
    """Magnitude of a band-pass with Butterworth-like skirts; lo=0 gives a
    low-pass, hi=None a high-pass."""
    def g(f):
        f = np.maximum(f, 1e-3)
        m = np.ones_like(f)
        if lo:
            m *= 1 / np.sqrt(1 + (lo / f) ** (2 * slope))
        if hi:
            m *= 1 / np.sqrt(1 + (f / hi) ** (2 * slope))
        return m
    return g


def peak_band(centre, q):
    """Magnitude of a resonance at centre with quality q."""
    def g(f):
        f = np.maximum(f, 1e-3)
        return 1 / np.sqrt(1 + q * q * (f / centre - centre / f) ** 2)
    return g


def noise(r, n):
    return r.uniform(-1.0, 1.0, n)


def coloured(r, n, lo, hi, slope=2, circular=False):
    return shape(noise(r, n), band(lo, hi, slope), circular)


def convolve(a, b):
    """Linear convolution through the FFT; the length is len(a)."""
    size = 1 << int(np.ceil(np.log2(len(a) + len(b))))
    return np.fft.irfft(np.fft.rfft(a, size) * np.fft.rfft(b, size), size)[:len(a)]


def convolve_circular(a, b):
    """Convolution that wraps around: a tail past the end sounds at the start,
    so a loop stays seamless."""
    n = len(a)
    kernel = np.zeros(n)
    m = min(n, len(b))
    kernel[:m] = b[:m]
    return np.fft.irfft(np.fft.rfft(a) * np.fft.rfft(kernel), n)


# --- voices ----------------------------------------------------------------

def modal(n, modes, attack=0.0003, phase_rng=None):
    """Struck bodies as decaying sines: modes are (frequency, t60, amplitude).
    Frequencies may be arrays of length n (gliding pitch)."""
    t = t_axis(n)
    out = np.zeros(n)
    for i, (f, t60, amp) in enumerate(modes):
        if np.ndim(f):
            ph = TAU * np.cumsum(f) / SR
        else:
            ph = TAU * f * t
        if phase_rng is not None:
            ph = ph + phase_rng.uniform(0, TAU)
        out += amp * np.sin(ph) * np.exp(-6.9078 * t / t60)
    a = seconds(attack)
    if a > 0:
        out[:a] *= np.linspace(0.0, 1.0, a, endpoint=False)
    return out


def pluck(r, freq, dur, t60=2.0, bright=0.6, position=0.18, pick=0.25):
    """A plucked string by Karplus-Strong. The loop filter is the usual
    two-point average convolved with a linear-interpolation tap, so any pitch
    is in tune; each period depends only on the one before, which lets numpy
    work a whole period at a time."""
    n = seconds(dur)
    period = SR / freq - 0.5
    p = int(period)
    frac = period - p
    c0, c1, c2 = 0.5 * (1 - frac), 0.5, 0.5 * frac
    g = 10 ** (-3.0 / (freq * t60))
    # Excitation: a soft-edged burst; brightness is how much high end the
    # plectrum leaves, position the comb of where the string is struck.
    exc = noise(r, p + 2)
    if bright < 1:
        smooth = exc.copy()
        for _ in range(int((1 - bright) * 6) + 1):
            smooth = 0.5 * (smooth + np.roll(smooth, 1))
        exc = bright * exc + (1 - bright) * smooth
    k = max(1, int(position * p))
    exc = exc - np.roll(exc, k)
    exc -= exc.mean()
    y = np.zeros(n + p + 2)
    y[:p + 2] = exc
    i = p + 2
    while i < len(y):
        j = min(i + p, len(y))
        m = j - i
        y[i:j] = g * (c0 * y[i - p:i - p + m] + c1 * y[i - p - 1:i - p - 1 + m] + c2 * y[i - p - 2:i - p - 2 + m])
        i = j
    y = y[:n]
    if pick > 0:
        # The plectrum's click on the string.
        click = coloured(r, seconds(0.004), 2500, 9000) * env_exp(seconds(0.004), 0.003)
        y[:len(click)] += pick * click * np.abs(exc).max()
    return y


def flute(r, freq, dur, breath=0.25, vibrato=0.012, scoop=0.03, attack=0.09, release=0.18,
          harmonics=(1.0, 0.32, 0.14, 0.06, 0.03), drift=None):
    """A breathy bamboo flute: a few harmonics on a slightly scooped,
    late-vibrato pitch, with breath noise shaped around them that peaks in the
    attack ("chiff"). drift, if given, is a per-sample pitch ratio (bends)."""
    n = seconds(dur)
    t = t_axis(n)
    vib_depth = vibrato * np.clip((t - 0.25) / 0.4, 0, 1)
    rate = 4.8 + r.uniform(-0.4, 0.4)
    ratio = (1 + vib_depth * np.sin(TAU * rate * t + r.uniform(0, TAU)))
    ratio *= 1 - scoop * np.exp(-t / 0.06)
    if drift is not None:
        ratio = ratio * drift[:n]
    f = freq * ratio
    phase = TAU * np.cumsum(f) / SR
    tone = np.zeros(n)
    for h, a in enumerate(harmonics, start=1):
        if freq * h < 16000:
            tone += a * np.sin(h * phase)
    env = env_adsr(n, attack, 0.3, 0.8, release)
    # Breath follows the partials loosely, plus a wide hiss.
    hiss = shape(noise(r, n), lambda fr: sum(peak_band(freq * h, 6)(fr) * a for h, a in
                                             enumerate(harmonics[:3], start=1))
                 + 0.25 * band(1500, 9000)(fr))
    hiss /= max(1e-9, np.abs(hiss).max())
    chiff = np.exp(-t / 0.05)
    swell = 0.9 + 0.1 * np.sin(TAU * 0.7 * t + r.uniform(0, TAU))
    return env * swell * (tone + breath * hiss * (0.6 + 1.4 * chiff))


def drum(r, n, f_hi, f_lo, drop, t60, body=1.0, skin=0.3, modes=(1.0, 1.59, 2.14, 2.65),
         mode_gain=(1.0, 0.35, 0.22, 0.12)):
    """A membrane: the pitch falls from f_hi to f_lo with time constant drop,
    its higher modes dying faster, plus the beater's slap on the skin."""
    t = t_axis(n)
    f = f_lo + (f_hi - f_lo) * np.exp(-t / drop)
    out = modal(n, [(f * m, t60 / (1 + 1.6 * i), g) for i, (m, g) in enumerate(zip(modes, mode_gain))],
                attack=0.0008, phase_rng=r)
    slap = coloured(r, n, 200, 3000) * env_exp(n, 0.025, attack=0.0003)
    return body * out + skin * slap


def wood(r, n, freq, t60=0.06, bright=1.0):
    """A struck piece of hard wood: a few inharmonic modes that die fast,
    with a small knock of noise."""
    modes = [(freq, t60, 1.0), (freq * 2.71, t60 * 0.6, 0.45 * bright), (freq * 5.1, t60 * 0.35, 0.25 * bright),
             (freq * 0.53, t60 * 1.2, 0.3)]
    knock = coloured(r, n, freq * 0.8, freq * 4) * env_exp(n, 0.008, attack=0.0002)
    return modal(n, modes, attack=0.0002, phase_rng=r) + 0.5 * knock


def bell(r, n, freq, t60=2.5):
    """A small struck steel bowl: inharmonic partials, the high ones short,
    with slow beating between close pairs."""
    partials = [(1.0, 1.0, 1.0), (1.003, 1.0, 0.5), (2.76, 0.55, 0.45), (2.765, 0.55, 0.2),
                (5.40, 0.3, 0.25), (8.93, 0.18, 0.12), (13.3, 0.1, 0.06)]
    modes = [(freq * m, t60 * d, a) for m, d, a in partials]
    strike = coloured(r, n, 2000, 10000) * env_exp(n, 0.006)
    return modal(n, modes, attack=0.0003, phase_rng=r) + 0.15 * strike


def pan(x, position):
    """Constant-power pan, position -1 (left) to 1 (right)."""
    a = (position + 1) * np.pi / 4
    return np.stack([x * np.cos(a), x * np.sin(a)], axis=1)


# --- rooms -----------------------------------------------------------------

def room_ir(r, length, t60, early=(), bright=6000, stereo=False):
    """A synthetic room: early reflections (delay s, gain) and a noise tail
    that darkens as it decays."""
    n = seconds(length)
    t = t_axis(n)
    chans = []
    for c in range(2 if stereo else 1):
        tail = np.zeros(n)
        # The highs die sooner than the lows.
        for lo, hi, scale in ((0, 800, 1.0), (800, 3000, 0.75), (3000, bright, 0.5)):
            tail += shape(noise(r, n), band(lo, hi)) * np.exp(-6.9078 * t / (t60 * scale))
        tail *= np.clip(t / 0.012, 0, 1)
        ir = 0.35 * tail / max(1e-9, np.sqrt(np.sum(tail ** 2)))
        for delay, gain in early:
            i = seconds(delay * (1 + 0.07 * c))
            if i < n:
                ir[i] += gain * (1 if r.uniform() < 0.5 else -1)
        chans.append(ir)
    return np.stack(chans, axis=1) if stereo else chans[0]


def close_room(r):
    """The dry, close space every effect shares."""
    return room_ir(r, 0.25, 0.18, early=((0.0031, 0.22), (0.0057, 0.16), (0.0093, 0.11), (0.0142, 0.07)))


def in_room(x, r, wet=0.3):
    ir = close_room(r)
    ir[0] += 1.0 / max(wet, 1e-6)
    padded = np.concatenate([x, np.zeros(len(ir))])
    return convolve(padded, ir) * wet


# --- levels ----------------------------------------------------------------

def _k_weight(f):
    # Close to the loudness weighting of broadcast meters: the lows hardly
    # count, and the presence region counts a little more.
    f = np.maximum(f, 1e-3)
    hp = f ** 2 / np.sqrt(f ** 4 + 60.0 ** 4)
    g = 10 ** (4 / 20)
    shelf = np.sqrt((1 + (f / 1500) ** 2 * g * g) / (1 + (f / 1500) ** 2))
    return hp * shelf


def loudness(x, window=0.1):
    """Short-term loudness in dB: the loudest `window` of the weighted
    signal. A 50 ms footstep measures quieter than a sustained hum at the same
    peak, as it sounds."""
    mono = x.mean(axis=1) if x.ndim == 2 else x
    w = shape(mono, _k_weight)
    power = np.concatenate([[0.0], np.cumsum(w * w)])
    n = seconds(window)
    if len(w) <= n:
        ms = power[-1] / n
    else:
        ms = np.max(power[n:] - power[:-n]) / n
    return 10 * np.log10(max(ms, 1e-20))


def integrated_loudness(x):
    mono = x.mean(axis=1) if x.ndim == 2 else x
    w = shape(mono, _k_weight)
    return 10 * np.log10(max(np.mean(w * w), 1e-20))


def db(v):
    return 20 * np.log10(max(v, 1e-12))


def rms_db(x):
    return db(np.sqrt(np.mean(np.square(x / 32768.0))))


def peak_db(x):
    return db(np.abs(x).max() / 32768.0)


def gain_for(x, target_db, ceiling_db):
    """The gain that brings x to target loudness but keeps its peak under
    the ceiling, in whole hundredths of a dB (rounded down) so that
    floating-point noise in the measurement cannot change the written
    samples."""
    want = target_db - loudness(x)
    room = ceiling_db - db(np.abs(x).max())
    return 10 ** (np.floor(min(want, room) * 100) / 2000)


def to_pcm16(x):
    return np.clip(np.round(x * 32767.0), -32767, 32767).astype("<i2")


def write_wav(path, pcm, channels=1):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(np.ascontiguousarray(pcm).tobytes())


def read_wav(path):
    with wave.open(path, "rb") as w:
        data = np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(np.int32)
        return data.reshape(-1, w.getnchannels()) if w.getnchannels() > 1 else data
