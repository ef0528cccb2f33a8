#!/usr/bin/env python3
"""Writes the shipped background music: small type-0 MIDI files with original melodies.

usage: make_midi.py OUTPUT_FOLDER
"""
import os
import struct
import sys

TICKS = 240  # ticks per quarter note


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append((n & 0x7F) | 0x80)
        n >>= 7
    return bytes(reversed(out))


def track(tempo_bpm, program, melody, chords):
    """melody and chords: lists of (note or None, quarter beats); chords play on channel 1."""
    events = []  # (tick, order, bytes)
    events.append((0, 0, b"\xff\x51\x03" + struct.pack(">I", 60000000 // tempo_bpm)[1:]))
    events.append((0, 0, bytes([0xC0, program])))
    events.append((0, 0, bytes([0xC1, 48])))  # strings under the tune
    for channel, notes, velocity in ((0, melody, 96), (1, chords, 52)):
        t = 0
        for note, beats in notes:
            length = int(beats * TICKS)
            pitches = note if isinstance(note, tuple) else (note,)
            for p in pitches:
                if p is None:
                    continue
                events.append((t, 2, bytes([0x90 | channel, p, velocity])))
                events.append((t + length - 10, 1, bytes([0x80 | channel, p, 0])))
            t += length
    events.sort(key=lambda e: (e[0], e[1]))
    data = b""
    last = 0
    for tick, _, ev in events:
        data += vlq(tick - last) + ev
        last = tick
    data += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def write(path, tempo, program, melody, chords):
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS))
        f.write(track(tempo, program, melody, chords))


# Pentatonic festive tune (C D E G A), written for this program.
C4, D4, E4, G4, A4, C5, D5, E5, G5 = 60, 62, 64, 67, 69, 72, 74, 76, 79
FESTIVE = [
    (E4, 1), (G4, 1), (A4, 1), (C5, 1), (A4, 0.5), (G4, 0.5), (E4, 1), (D4, 2),
    (E4, 1), (G4, 1), (A4, 0.5), (C5, 0.5), (D5, 1), (C5, 1), (A4, 1), (G4, 2),
    (C5, 1), (D5, 1), (E5, 1), (G5, 1), (E5, 0.5), (D5, 0.5), (C5, 1), (A4, 2),
    (G4, 1), (A4, 1), (C5, 0.5), (A4, 0.5), (G4, 1), (E4, 1), (D4, 1), (C4, 2),
]
FESTIVE_CHORDS = [((48, 55), 4), ((50, 57), 4), ((48, 55), 4), ((43, 50), 4),
                  ((45, 52), 4), ((48, 55), 4), ((43, 50), 4), ((48, 55), 4)]

# Gentle waltz-like tune in 3/4 for birthdays and thanks, also original.
F4, B4 = 65, 71
WALTZ = [
    (G4, 1), (C5, 1), (E5, 1), (D5, 2), (C5, 1), (B4, 1), (D5, 1), (G4, 1), (C5, 3),
    (E5, 1), (G5, 1), (E5, 1), (D5, 2), (C5, 1), (A4, 1), (G4, 1), (F4, 1), (E4, 3),
    (G4, 1), (A4, 1), (C5, 1), (E5, 2), (D5, 1), (C5, 1.5), (D5, 0.5), (B4, 1), (C5, 3),
]
WALTZ_CHORDS = [((48, 52, 55), 3), ((43, 50, 53), 3), ((43, 47, 50), 3), ((48, 52, 55), 3),
                ((48, 52, 55), 3), ((43, 47, 50), 3), ((41, 45, 48), 3), ((48, 52, 55), 3),
                ((41, 45, 48), 3)]

# A slow moonlight song for Mid-Autumn and love cards, also original (flute over strings).
MOON = [
    (E5, 1), (D5, 0.5), (C5, 0.5), (A4, 1), (G4, 1), (A4, 1), (C5, 1), (D5, 2),
    (E5, 1), (G5, 1), (E5, 0.5), (D5, 0.5), (C5, 1), (A4, 3), (None, 1),
    (G4, 1), (A4, 1), (C5, 1), (D5, 1), (E5, 1.5), (D5, 0.5), (C5, 2),
    (A4, 1), (C5, 1), (D5, 0.5), (C5, 0.5), (A4, 1), (G4, 4),
]
MOON_CHORDS = [((48, 52, 55), 4), ((41, 45, 48), 4), ((48, 52, 55), 4), ((45, 48, 52), 4),
               ((43, 47, 50), 4), ((45, 48, 52), 4), ((41, 45, 48), 4), ((48, 52, 55), 4)]

if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "7.mid"), 112, 0, FESTIVE, FESTIVE_CHORDS)        # piano
    write(os.path.join(out, "温馨小曲.mid"), 96, 10, WALTZ, WALTZ_CHORDS)    # music box
    write(os.path.join(out, "月光小夜曲.mid"), 76, 73, MOON, MOON_CHORDS)    # flute
