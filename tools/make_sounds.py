#!/usr/bin/env python3
"""Writes data/sounds/click.wav and data/sounds/roll.wav.

Both are synthesised here: the click is a short knock of a wooden piece set
down on the board, the roll a run of such knocks that slows down, like a
piece rolling to a stop. Deterministic: the same files every run.
"""
import math
import os
import random
import struct
import wave

RATE = 22050


def knock(length_s, pitch, noise, decay, rng):
    n = int(RATE * length_s)
    out = []
    low = 0.0
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * decay)
        tone = math.sin(2 * math.pi * pitch * t) + 0.5 * math.sin(2 * math.pi * pitch * 2.7 * t)
        # A little low-passed noise gives the wooden attack.
        low += 0.35 * (rng.uniform(-1, 1) - low)
        out.append(env * (0.6 * tone + noise * low))
    return out


def mix(dst, src, at):
    for i, v in enumerate(src):
        if at + i < len(dst):
            dst[at + i] += v


def write(path, samples, gain):
    peak = max(1e-9, max(abs(s) for s in samples))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = b"".join(struct.pack("<h", int(32767 * gain * s / peak)) for s in samples)
        w.writeframes(frames)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "data", "sounds")
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(8)

    click = knock(0.06, 1850, 1.4, 90, rng)
    write(os.path.join(folder, "click.wav"), click, 0.7)

    roll = [0.0] * int(RATE * 0.75)
    at, gap, level = 0, 0.030, 1.0
    while at < len(roll) - RATE // 20 and level > 0.08:
        k = knock(0.05, 1500 + rng.uniform(-200, 200), 1.6, 110, rng)
        mix(roll, [level * v for v in k], at)
        at += int(RATE * gap * rng.uniform(0.8, 1.2))
        gap *= 1.18
        level *= 0.86
    write(os.path.join(folder, "roll.wav"), roll, 0.6)


if __name__ == "__main__":
    main()
