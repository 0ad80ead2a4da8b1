#!/usr/bin/env python3
"""Draw the Quillmere quill and write it as resources/quillmere.ico.

One 120x128 32-bit image in the classic BMP form (not PNG), because older
shells and the resource compiler path we use only read that reliably.
Everything is computed from geometry, so the output is identical every run.

Usage: make_icon.py [OUTPUT_ICO]
"""
import math
import os
import struct
import sys

W, H = 120, 128
SS = 5  # supersamples per axis; edges are anti-aliased by coverage

# The quill runs from the nib (bottom left) to the feather tip (top right).
NIB = (17.0, 121.0)
TIP = (106.0, 6.0)
AX = (TIP[0] - NIB[0], TIP[1] - NIB[1])
LEN = math.hypot(*AX)
UX, UY = AX[0] / LEN, AX[1] / LEN     # along the quill
NX, NY = UY, -UX                       # across it (positive = upper-left side)

VANE_START = 0.27    # where the feather begins along the quill
BEND = 7.0           # px the spine bows towards the upper left
LEFT_W = 21.0        # wider half of the vane
RIGHT_W = 13.0

# Colours (straight RGB)
VANE_EDGE = (12, 60, 104)     # deep blue
VANE_MID = (22, 112, 140)     # teal
VANE_LIGHT = (120, 198, 206)  # light vane near the spine
BARB = (14, 78, 112)
SHAFT = (30, 40, 62)
NIB_COL = (18, 20, 30)
NIB_HI = (150, 162, 184)


def spine_offset(u):
    return BEND * math.sin(math.pi * min(max(u, 0.0), 1.0))


def vane_profile(s):
    """Half-width factor 0..1 along the vane: round base, long pointed tip."""
    if s <= 0.0 or s >= 1.0:
        return 0.0
    base = math.sin(math.pi * 0.5 * min(s / 0.22, 1.0))
    tip = (1.0 - s) ** 0.75 / (0.78 ** 0.75)
    return min(base, tip, 1.0) if s > 0.22 else base * min(tip, 1.0)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def slit(u, v, half_w, at, side):
    """A split between barbs: a thin cut from the edge angled towards the tip."""
    if (v > 0) != (side > 0):
        return False
    d = abs(v)
    if d < half_w * 0.45:
        return False
    line_u = at + 0.42 * d / LEN
    width = 0.0075 * (d - half_w * 0.45) / max(half_w * 0.55, 1e-6) + 0.002
    return abs(u - line_u) < width


SLITS = [(0.40, +1), (0.58, +1), (0.50, -1), (0.72, -1), (0.78, +1)]


def shade(x, y):
    """Colour and opacity of the quill at one sample point, or None."""
    px, py = x - NIB[0], y - NIB[1]
    u = (px * UX + py * UY) / LEN
    v = px * NX + py * NY - spine_offset(u)

    # Nib: a dark tapered point with a highlight and a slit.
    if 0.0 <= u < 0.16:
        half = 0.3 + 4.2 * (u / 0.16) ** 0.8
        if abs(v) <= half:
            if 0.03 < u < 0.11 and abs(v) < 0.35:
                return None  # ink slit
            if v > half * 0.15 and u > 0.05:
                return mix(NIB_COL, NIB_HI, 0.6)
            return NIB_COL
    # Bare barrel of the quill between nib and feather.
    if 0.16 <= u < VANE_START + 0.02:
        half = 4.5 - 1.5 * (u - 0.16) / (VANE_START + 0.02 - 0.16)
        if abs(v) <= half:
            # A lit edge keeps the barrel visible on dark backgrounds too.
            return mix(SHAFT, NIB_HI, 0.6 if v > half * 0.2 else 0.0)

    # Feather vane.
    s = (u - VANE_START) / (1.0 - VANE_START)
    f = vane_profile(s)
    half_w = (LEFT_W if v > 0 else RIGHT_W) * f
    shaft_half = 0.5 + 1.9 * (1.0 - min(max(s, 0.0), 1.0))
    if 0.0 < s < 1.0 and abs(v) <= shaft_half and u < 0.985:
        return SHAFT
    if f > 0.0 and abs(v) <= half_w:
        for at, side in SLITS:
            if slit(u, v, half_w, at, side):
                return None
        edge = half_w - abs(v)
        if edge < 1.6:
            return VANE_EDGE
        t = abs(v) / max(half_w, 1e-6)
        col = mix(VANE_LIGHT, VANE_MID, t ** 0.8)
        col = mix(col, VANE_EDGE, max(0.0, t - 0.75) * 2.0)
        # Faint barbs give the vane its feathered texture.
        phase = (u - 0.42 * abs(v) / LEN) * 52.0
        if (phase - math.floor(phase)) < 0.18 and abs(v) > shaft_half + 1.0:
            col = mix(col, BARB, 0.35)
        return col
    return None


def render():
    """Rows top-down of (r, g, b, a) with straight alpha."""
    rows = []
    n = SS * SS
    for j in range(H):
        row = []
        for i in range(W):
            r = g = b = cov = 0.0
            for sj in range(SS):
                y = j + (sj + 0.5) / SS
                for si in range(SS):
                    c = shade(i + (si + 0.5) / SS, y)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        cov += 1.0
            if cov == 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / cov), round(g / cov), round(b / cov),
                            round(255.0 * cov / n)))
        rows.append(row)
    return rows


def ico_bytes(rows):
    xor = bytearray()
    for row in reversed(rows):  # BMP rows are stored bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((W + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[i >> 3] |= 0x80 >> (i & 7)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = header + xor + mask
    assert len(image) == 40 + W * H * 4 + mask_stride * H
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", W, H, 0, 0, 1, 32, len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(here), "resources", "quillmere.ico")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    data = ico_bytes(render())
    with open(out, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
