#!/usr/bin/env python3
"""float_constants.py: prints BASIC's 5-byte floating-point constants as ca65 .byte lines.

Each number is rounded to the nearest 32-bit mantissa (ties away from zero, as BASIC's own
rounding does). Run by hand when a constant or a series changes; the output is pasted into
roms/basic/float_*.s.
"""
from fractions import Fraction
import sys


def pack(value):
    """The memory format: exponent + $80, four mantissa bytes with the sign in the top bit."""
    value = Fraction(value)
    if value == 0:
        return [0, 0, 0, 0, 0]
    sign = 0x80 if value < 0 else 0
    value = abs(value)
    exponent = 0
    while value >= 1:
        value /= 2
        exponent += 1
    while value < Fraction(1, 2):
        value *= 2
        exponent -= 1
    mantissa = value * 2**32
    whole = int(mantissa)
    if mantissa - whole >= Fraction(1, 2):
        whole += 1
    if whole == 2**32:
        whole //= 2
        exponent += 1
    assert 0 < exponent + 0x80 < 256, value
    packed = whole.to_bytes(4, "big")
    return [exponent + 0x80, (packed[0] & 0x7F) | sign] + list(packed[1:])


def line(name, value):
    return "%-10s .byte %s   ; %s" % (name + ":", ", ".join("$%02X" % b for b in pack(value)), value)


CORE = [
    ("fhalf", Fraction(1, 2)),
    ("fone", 1),
    ("tenc", 10),
    ("nmin", -32768),
    ("fbillion", 10**9),
    ("fmax9", Fraction(3999999997, 4)),
    ("fmin9", Fraction(999999999, 10)),
]

if __name__ == "__main__":
    for name, value in CORE:
        print(line(name, value))
