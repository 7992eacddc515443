#!/usr/bin/env python3
"""Writes the switch chimes of the release medium (medium/DEMOCNTS/*.wav).

Each chord is struck as a quick upward strum of bell-like tones that die
away, short enough not to hold up a switch: 0.4 s of 8-bit mono PCM at
11025 Hz, about 4.4 KB a file. The output depends on nothing but this
script, so running it again gives the same bytes.

    scripts/make-sounds.py [folder]      (default: medium/DEMOCNTS)
"""
import math
import os
import struct
import sys
import wave

RATE = 11025
SECONDS = 0.4
STRUM = 0.018       # seconds between two notes of the chord
DECAY = 9.0         # 1/s: the tone falls to about 3 % by the end
# A soft bell: the fundamental, its octave and a quiet twelfth.
PARTIALS = ((1.0, 1.0), (2.0, 0.35), (3.0, 0.12))

# MIDI note numbers, voiced around middle C so that the five stay close.
CHORDS = {
    "C": (60, 64, 67, 72),          # C E G C
    "F": (60, 65, 69, 72),          # C F A C
    "G7": (59, 62, 65, 67),         # B D F G
    "E9": (56, 62, 64, 66, 71),     # G# D E F# B
    "Csus4": (60, 65, 67, 72),      # C F G C
}


def frequency(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def render(notes):
    count = int(RATE * SECONDS)
    samples = [0.0] * count
    for index, note in enumerate(notes):
        start = int(index * STRUM * RATE)
        f = frequency(note)
        for i in range(start, count):
            t = (i - start) / RATE
            # A 4 ms attack keeps the strike from clicking.
            envelope = math.exp(-DECAY * t) * min(1.0, t / 0.004)
            samples[i] += envelope * sum(a * math.sin(2 * math.pi * f * k * t) for k, a in PARTIALS)
    # The last 20 ms fade to silence, so the sound ends without a click.
    tail = int(0.02 * RATE)
    for i in range(tail):
        samples[count - 1 - i] *= i / tail
    peak = max(abs(s) for s in samples) or 1.0
    # 8-bit PCM is unsigned around 128; leave a little headroom.
    return bytes(int(round(128 + 118 * s / peak)) for s in samples)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "medium", "DEMOCNTS")
    os.makedirs(folder, exist_ok=True)
    for name, notes in CHORDS.items():
        path = os.path.join(folder, name + ".wav")
        with wave.open(path, "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(1)
            out.setframerate(RATE)
            out.writeframes(render(notes))
        print(path, os.path.getsize(path), "bytes")


if __name__ == "__main__":
    main()
