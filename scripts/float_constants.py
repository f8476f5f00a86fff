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

def main():
    for name, value in CORE + FUNCTION_CONSTANTS:
        print(line(name, value))
    for arguments in SERIES:
        print(series(*arguments))



# ---- series for the functions ----
import math


def fit(function, low, high, degree):
    """Coefficients c0..cn of the polynomial through the Chebyshev nodes of [low, high]: close
    to the best uniform approximation of function there."""
    nodes = [(low + high) / 2 + (high - low) / 2 * math.cos(math.pi * (k + 0.5) / (degree + 1))
             for k in range(degree + 1)]
    rows = [[Fraction(x) ** p for p in range(degree + 1)] + [Fraction(function(x))] for x in nodes]
    size = degree + 1
    for column in range(size):
        pivot = max(range(column, size), key=lambda r: abs(rows[r][column]))
        rows[column], rows[pivot] = rows[pivot], rows[column]
        for r in range(size):
            if r != column and rows[r][column] != 0:
                factor = rows[r][column] / rows[column][column]
                rows[r] = [a - factor * b for a, b in zip(rows[r], rows[column])]
    return [rows[p][size] / rows[p][p] for p in range(size)]


def unpack(packed):
    if packed[0] == 0:
        return 0.0
    mantissa = ((packed[1] | 0x80) << 24) | (packed[2] << 16) | (packed[3] << 8) | packed[4]
    value = mantissa / 2.0**32 * 2.0 ** (packed[0] - 0x80)
    return -value if packed[1] & 0x80 else value


def worst(function, coefficients, low, high, relative=True):
    """The largest error of the stored (rounded) coefficients over [low, high]."""
    stored = [unpack(pack(c)) for c in coefficients]
    error = 0.0
    for k in range(2001):
        x = low + (high - low) * k / 2000
        value = sum(c * x**p for p, c in enumerate(stored))
        exact = function(x)
        error = max(error, abs(value - exact) / (abs(exact) if relative and exact else 1))
    return error


def series(name, function, low, high, degree, relative=True):
    coefficients = fit(function, low, high, degree)
    lines = ["%s:  ; %d terms, largest error %.2g" % (name, degree + 1,
                                                     worst(function, coefficients, low, high, relative)),
             "    .byte %d" % degree]
    for c in reversed(coefficients):
        lines.append("    .byte %s   ; %.10g" % (", ".join("$%02X" % b for b in pack(c)), float(c)))
    return "\n".join(lines)


def sin_over_z(w):        # sin(2 pi z) / z, w = z*z, |z| <= 1/4
    z = math.sqrt(w)
    return 2 * math.pi if z == 0 else math.sin(2 * math.pi * z) / z


def log2_ratio_over_t(w):  # log2((1+t)/(1-t)) / t, w = t*t
    t = math.sqrt(w)
    return 2 / math.log(2) if t == 0 else math.log2((1 + t) / (1 - t)) / t


def atn_over_t(w):         # atan(t) / t, w = t*t
    t = math.sqrt(w)
    return 1.0 if t == 0 else math.atan(t) / t


SERIES = [
    ("sin_series", sin_over_z, 0, 1 / 16, 6),
    ("exp_series", lambda v: 2**v, -0.5, 0.5, 8),
    ("log_series", log2_ratio_over_t, 0, (3 - 2 * math.sqrt(2)) ** 2, 6),
    ("atn_series", atn_over_t, 0, (math.sqrt(2) - 1) ** 2, 8),
]

# Two factors that must be better than 32 bits: each goes in as its nearest number and the rest.
LOG2_E = Fraction("1.44269504088896340735992468100189214")
INV_TWO_PI = Fraction("0.159154943091895335768883763372514362")

FUNCTION_CONSTANTS = [
    ("sqr_half", Fraction(math.sqrt(0.5))),
    ("ln_2", Fraction(math.log(2))),
    ("log2_e_rest", LOG2_E - Fraction(unpack(pack(LOG2_E)))),
    ("log2_e", LOG2_E),
    ("inv_two_pi_rest", INV_TWO_PI - Fraction(unpack(pack(INV_TWO_PI)))),
    ("inv_two_pi", INV_TWO_PI),
    ("quarter", Fraction(1, 4)),
    ("two", 2),
    ("pi_half", Fraction(math.pi / 2)),
    ("pi_quarter", Fraction(math.pi / 4)),
    ("tan_eighth", Fraction(math.sqrt(2) - 1)),
]


if __name__ == "__main__":
    main()
