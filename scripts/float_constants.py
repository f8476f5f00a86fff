#!/usr/bin/env python3
"""float_constants.py: prints BASIC's 5-byte floating-point constants as ca65 .byte lines.

Each number is rounded to the nearest 32-bit mantissa (ties away from zero, as BASIC's own
rounding does). The functions' series are those of the genuine BASIC, whose coefficients are
published as decimals; each decimal comes out as exactly the number it was written from. Run
by hand when a constant or a series changes; the output is pasted into roms/basic/float_*.s.
"""
from fractions import Fraction
import math


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
    return "%-10s .byte %s   ; %.10g" % (name + ":", ", ".join("$%02X" % b for b in pack(value)), float(value))


CORE = [
    ("fhalf", Fraction(1, 2)),
    ("fone", 1),
    ("tenc", 10),
    ("nmin", -32768),
    ("fbillion", 10**9),
    ("fmax9", Fraction(3999999997, 4)),
    ("fmin9", Fraction(999999999, 10)),
]

def series(name, coefficients):
    lines = ["%s:" % name, "    .byte %d" % (len(coefficients) - 1)]
    for c in coefficients:
        lines.append("    .byte %s   ; %s" % (", ".join("$%02X" % b for b in pack(Fraction(c))), c))
    return "\n".join(lines)


FUNCTION_CONSTANTS = [
    ("sqr_half", Fraction(math.sqrt(0.5))),
    ("sqr_two", Fraction(math.sqrt(2))),
    ("neg_half", Fraction(-1, 2)),
    ("ln_2", Fraction(math.log(2))),
    ("log2_e", Fraction(1 / math.log(2))),
    ("two_pi", Fraction(2 * math.pi)),
    ("pi_half", Fraction(math.pi / 2)),
    ("quarter", Fraction(1, 4)),
]

# The highest power's coefficient first, as the series evaluators take them.
SERIES = [
    ("log_series", ["0.43425594189", "0.57658454124", "0.96180075919", "2.8853900731"]),
    ("exp_series", ["2.1498763701E-5", "1.4352314037E-4", "1.3422634825E-3", "9.6140170135E-3",
                    "5.5505126860E-2", "0.24022638460", "0.69314718618", "1"]),
    ("sin_series", ["-14.381390672", "42.007797122", "-76.704170257", "81.605223686", "-41.341702104",
                    "6.2831853069"]),
    ("atn_series", ["-6.8479391189E-4", "4.8509421558E-3", "-1.6111701843E-2", "3.4209638048E-2",
                    "-5.4279132761E-2", "7.2457196540E-2", "-8.9802395378E-2", "0.11093241343",
                    "-0.14283980767", "0.19999912049", "-0.33333331568", "1"]),
]


def main():
    for name, value in CORE + FUNCTION_CONSTANTS:
        print(line(name, value))
    for arguments in SERIES:
        print(series(*arguments))


if __name__ == "__main__":
    main()
