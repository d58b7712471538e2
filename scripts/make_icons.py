#!/usr/bin/env python3
"""Draws the program's two icons (32-bit ICO, no image library needed).

tavimo.ico: a blue USB stick with an eject arrow (16, 32 and 48 px).
cdrom.ico:  a silver disc over a grey drive (16 and 32 px).
Run from anywhere; writes into src/app/resources/.
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "app", "resources")


def blank(n):
    return [[(0, 0, 0, 0) for _ in range(n)] for _ in range(n)]


def rect(img, x0, y0, x1, y1, c):
    n = len(img)
    for y in range(max(0, int(y0)), min(n, int(math.ceil(y1)))):
        for x in range(max(0, int(x0)), min(n, int(math.ceil(x1)))):
            img[y][x] = c


def tavimo(n):
    s = n / 32.0
    img = blank(n)
    rect(img, 9 * s, 2 * s, 23 * s, 10 * s, (200, 200, 205, 255))    # connector
    rect(img, 12 * s, 4 * s, 14 * s, 6 * s, (60, 60, 70, 255))
    rect(img, 18 * s, 4 * s, 20 * s, 6 * s, (60, 60, 70, 255))
    rect(img, 6 * s, 10 * s, 26 * s, 30 * s, (30, 100, 200, 255))    # body
    rect(img, 7 * s, 11 * s, 25 * s, 12 * s, (90, 150, 235, 255))
    # eject arrow: triangle and bar in white
    for y in range(n):
        for x in range(n):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            if 14 <= fy <= 21 and abs(fx - 16) <= (fy - 14) * 1.0 and fx >= 9 and fx <= 23:
                img[y][x] = (255, 255, 255, 255)
            if 23 <= fy <= 26 and 9 <= fx <= 23:
                img[y][x] = (255, 255, 255, 255)
    return img


def cdrom(n):
    s = n / 16.0
    img = blank(n)
    rect(img, 1 * s, 10 * s, 15 * s, 15 * s, (120, 120, 125, 255))   # drive
    rect(img, 2 * s, 12 * s, 14 * s, 13 * s, (60, 60, 65, 255))
    rect(img, 11 * s, 13.5 * s, 13 * s, 14.5 * s, (60, 200, 60, 255))
    cx, cy, r = 8 * s, 6 * s, 5.5 * s
    for y in range(n):
        for x in range(n):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r:
                shade = 200 + int(40 * math.cos(math.atan2(y - cy, x - cx) * 2))
                img[y][x] = (shade, shade, min(255, shade + 15), 255)
            if d <= 1.5 * s:
                img[y][x] = (0, 0, 0, 0)
            elif d <= 2.0 * s:
                img[y][x] = (150, 150, 160, 255)
    return img


def ico(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for img in images:
        n = len(img)
        bmp = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
        for row in reversed(img):
            for (r, g, b, a) in row:
                bmp += bytes((b, g, r, a))
        mask_row = ((n + 31) // 32) * 4
        for row in reversed(img):
            bits = bytearray(mask_row)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            bmp += bytes(bits)
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(bmp), offset)
        blobs += bmp
        offset += len(bmp)
    return header + entries + blobs


os.makedirs(OUT, exist_ok=True)
with open(os.path.join(OUT, "tavimo.ico"), "wb") as f:
    f.write(ico([tavimo(16), tavimo(32), tavimo(48)]))
with open(os.path.join(OUT, "cdrom.ico"), "wb") as f:
    f.write(ico([cdrom(16), cdrom(32)]))
