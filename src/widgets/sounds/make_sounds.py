# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the program's own short sounds, played for the default sound options when the
desktop's sound theme has none: Loggedin.wav, TransferDone.wav and Error.wav (16-bit mono PCM,
22050 Hz). Run it in this folder to make them again."""

import math
import struct
import wave

RATE = 22050


def tone(frequency, seconds, volume=0.35, harmonics=(1.0,)):
    """A tone with a short attack and an exponential fall, so that it does not click."""
    count = int(RATE * seconds)
    samples = []
    for n in range(count):
        t = n / RATE
        envelope = min(1.0, t / 0.005) * math.exp(-4.0 * t / seconds)
        value = sum(weight * math.sin(2 * math.pi * frequency * (k + 1) * t)
                    for k, weight in enumerate(harmonics))
        samples.append(volume * envelope * value / sum(harmonics))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(name, samples):
    with wave.open(name, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767))
                                 for s in samples))


write("Loggedin.wav", tone(660, 0.09) + tone(880, 0.16))
write("TransferDone.wav", tone(523.25, 0.08) + tone(659.25, 0.08) + tone(783.99, 0.22))
write("Error.wav", tone(220, 0.12, 0.3, (1.0, 0.5, 0.3)) + silence(0.04) +
      tone(196, 0.2, 0.3, (1.0, 0.5, 0.3)))
