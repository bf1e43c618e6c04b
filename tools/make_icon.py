#!/usr/bin/env python3
"""Draws Morvane's application icon and writes it as PNG files and a
Windows .ico, so both programs show the same image.

The image: a rounded square in the window skin's green with a white play
triangle and three rising bars (the play count going up). Every pixel is
computed here; nothing is taken from elsewhere.

Usage: make_icon.py OUTDIR   writes OUTDIR/morvane-{16,32,48,64,128,256}.png
                              and OUTDIR/morvane.ico (16, 32, 48, 256)
"""
import os
import struct
import sys
import zlib

GREEN_TOP = (176, 198, 139)
GREEN_BOTTOM = (120, 145, 86)
WHITE = (255, 255, 255)
SAMPLES = 4  # supersampling per axis for smooth edges


def inside_rounded_square(x, y):
    r = 0.2
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and 0 <= x <= 1 and 0 <= y <= 1


def inside_triangle(x, y):
    # Play triangle pointing right, in the left part of the square.
    ax, ay, bx, by, cx, cy = 0.22, 0.24, 0.22, 0.76, 0.58, 0.5
    def side(px, py, qx, qy, rx, ry):
        return (px - rx) * (qy - ry) - (qx - rx) * (py - ry)
    d1 = side(x, y, ax, ay, bx, by)
    d2 = side(x, y, bx, by, cx, cy)
    d3 = side(x, y, cx, cy, ax, ay)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def inside_bars(x, y):
    bars = ((0.62, 0.60), (0.71, 0.45), (0.80, 0.30))  # left edge, top
    for left, top in bars:
        if left <= x <= left + 0.065 and top <= y <= 0.76:
            return True
    return False


def pixel(size, px, py):
    acc = [0.0, 0.0, 0.0, 0.0]
    n = SAMPLES * SAMPLES
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if not inside_rounded_square(x, y):
                continue
            if inside_triangle(x, y) or inside_bars(x, y):
                c = WHITE
            else:
                c = tuple(int(t + (b - t) * y) for t, b in zip(GREEN_TOP, GREEN_BOTTOM))
            for i in range(3):
                acc[i] += c[i]
            acc[3] += 255
    if acc[3] == 0:
        return (0, 0, 0, 0)
    covered = acc[3] / 255
    return (round(acc[0] / covered), round(acc[1] / covered), round(acc[2] / covered),
            round(acc[3] / n))


def render(size):
    return [[pixel(size, x, y) for x in range(size)] for y in range(size)]


def png_bytes(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(rows):
    # A 32-bit BGRA DIB, bottom-up, followed by an all-zero AND mask.
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + b"\0" * (mask_row * size)


def ico_bytes(images):
    # images: list of (size, data); sizes below 256 as DIB, 256 as PNG.
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    rendered = {}
    for size in (16, 32, 48, 64, 128, 256):
        rendered[size] = render(size)
        with open(os.path.join(outdir, "morvane-%d.png" % size), "wb") as f:
            f.write(png_bytes(rendered[size]))
    images = [(s, dib_bytes(rendered[s])) for s in (16, 32, 48)]
    images.append((256, png_bytes(rendered[256])))
    with open(os.path.join(outdir, "morvane.ico"), "wb") as f:
        f.write(ico_bytes(images))


if __name__ == "__main__":
    main()
