#!/usr/bin/env python3
"""Synthesises the three timer sounds as 16-bit mono 44.1 kHz WAV files.

Run from anywhere: python3 supportlib/sounds/make_sounds.py
The output is deterministic, so regenerating leaves unchanged files byte-identical.
Each sound is a few notes of summed sine partials with a short raised-cosine attack
and an exponential decay, followed by a fade to silence so it never ends on a click.
"""

import math
import os
import struct
import wave

RATE = 44100
FADE_IN = 0.004  # seconds, applied to the whole sound so the first sample is silent
FADE_OUT = 0.040


def note(freq, start, partials, attack, decay):
    """One struck note: (frequency, start time, [(ratio, gain)], attack s, decay time constant s)."""
    return (freq, start, partials, attack, decay)


def render(duration, notes, peak):
    count = int(duration * RATE)
    samples = [0.0] * count
    for freq, start, partials, attack, decay in notes:
        first = int(start * RATE)
        for i in range(first, count):
            t = (i - first) / RATE
            if t < attack:
                envelope = 0.5 - 0.5 * math.cos(math.pi * t / attack)
            else:
                envelope = math.exp(-(t - attack) / decay)
            if envelope < 1e-5 and t > attack:
                break
            value = 0.0
            for ratio, gain in partials:
                # Higher partials die away faster, as on a struck bar.
                value += gain * math.sin(2 * math.pi * freq * ratio * t) * math.exp(
                    -t * (ratio - 1) * 1.5
                )
            samples[i] += envelope * value

    fade_in = int(FADE_IN * RATE)
    fade_out = int(FADE_OUT * RATE)
    for i in range(fade_in):
        samples[i] *= i / fade_in
    for i in range(fade_out):
        samples[count - 1 - i] *= i / fade_out

    loudest = max(abs(s) for s in samples)
    scale = peak * 32767 / loudest
    return [int(round(s * scale)) for s in samples]


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


# Warm, almost pure tone for the soft break chime.
SOFT = [(1.0, 1.0), (2.0, 0.15)]
# Marimba-like partials for the task chime.
WARM = [(1.0, 1.0), (2.0, 0.35), (3.0, 0.12)]
# Bell-like, slightly inharmonic partials for the goal.
BRIGHT = [(1.0, 1.0), (2.0, 0.5), (3.01, 0.3), (4.2, 0.15)]

SOUNDS = {
    # A task begins: a rising major triad, C5 E5 G5.
    "Task-Sound": (
        0.9,
        [
            note(523.25, 0.00, WARM, 0.008, 0.22),
            note(659.26, 0.12, WARM, 0.008, 0.22),
            note(783.99, 0.24, WARM, 0.008, 0.30),
        ],
        0.55,
    ),
    # A break begins: two soft, slow falling notes, A4 then E4.
    "Break-Sound": (
        1.0,
        [
            note(440.00, 0.00, SOFT, 0.030, 0.28),
            note(329.63, 0.22, SOFT, 0.030, 0.36),
        ],
        0.40,
    ),
    # The daily goal is reached: a quick bright arpeggio ending on a held C7.
    "Goal-Sound": (
        1.2,
        [
            note(1046.50, 0.00, BRIGHT, 0.005, 0.16),
            note(1318.51, 0.08, BRIGHT, 0.005, 0.16),
            note(1567.98, 0.16, BRIGHT, 0.005, 0.16),
            note(2093.00, 0.24, BRIGHT, 0.005, 0.34),
        ],
        0.55,
    ),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (duration, notes, peak) in SOUNDS.items():
        write(os.path.join(here, name + ".wav"), render(duration, notes, peak))


if __name__ == "__main__":
    main()
