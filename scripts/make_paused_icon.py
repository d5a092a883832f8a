#!/usr/bin/env python3
"""Draws resources/icons/paused.ico, the tray's picture while the edges are paused.

It is the program icon (resources/varnel.ico) faded to grey, so that a glance at the tray
tells the two apart, with a pause sign (two bars on a dark round badge) in its lower-right
quarter. Every size of the program icon is redrawn; each stays a 32-bit entry with alpha.

    scripts/make_paused_icon.py
"""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "resources", "varnel.ico")
TARGET = os.path.join(ROOT, "resources", "icons", "paused.ico")

BADGE = (0x26, 0x34, 0x4F)  # the icon's own navy
BARS = (0xFF, 0xFF, 0xFF)


def read_entries(data):
    _, _, count = struct.unpack_from("<HHH", data, 0)
    for i in range(count):
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        yield (width or 256, height or 256, bits, data[offset:offset + size])


def faded(pixel):
    b, g, r, a = pixel
    grey = (r * 299 + g * 587 + b * 114) // 1000
    # Lighter and flatter than the original, as a disabled picture looks.
    grey = 96 + grey * 5 // 8
    return (grey, grey, grey, a)


def badge_cover(x, y, size):
    """How much of pixel (x, y) the badge covers, and whether a bar does, by 4 x 4 samples."""
    radius = size * 0.30
    cx = cy = size - radius - size * 0.02
    bar_w, bar_h, gap = radius * 0.36, radius * 1.05, radius * 0.30
    disc = bar = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2:
                disc += 1
                in_bar_row = abs(py - cy) <= bar_h / 2
                left = cx - gap / 2 - bar_w <= px <= cx - gap / 2
                right = cx + gap / 2 <= px <= cx + gap / 2 + bar_w
                if in_bar_row and (left or right):
                    bar += 1
    return disc / 16, bar / 16


def blend(under, over, amount):
    return tuple(round(u * (1 - amount) + o * amount) for u, o in zip(under, over))


def redraw(width, height, dib):
    header_size = struct.unpack_from("<I", dib, 0)[0]
    pixels_at = header_size
    row = width * 4
    out = bytearray(dib)
    for y in range(height):
        # Bottom-up rows.
        base = pixels_at + (height - 1 - y) * row
        for x in range(width):
            at = base + 4 * x
            b, g, r, a = faded(tuple(dib[at:at + 4]))
            disc, bar = badge_cover(x, y, width)
            if disc:
                colour = blend(BADGE, BARS, bar / disc)
                rgb = blend((r, g, b), colour, disc)
                r, g, b = rgb
                a = max(a, round(255 * disc))
            out[at:at + 4] = bytes((b, g, r, a))
    # The AND mask after the pixels: clear where the badge is, so old displays show it too.
    mask_at = pixels_at + row * height
    mask_row = ((width + 31) // 32) * 4
    for y in range(height):
        for x in range(width):
            if badge_cover(x, y, width)[0] > 0.5:
                at = mask_at + (height - 1 - y) * mask_row + x // 8
                out[at] &= ~(0x80 >> (x % 8)) & 0xFF
    return bytes(out)


def main():
    data = open(SOURCE, "rb").read()
    entries = [(w, h, redraw(w, h, dib)) for w, h, bits, dib in read_entries(data) if bits == 32]
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    directory = b""
    for w, h, dib in entries:
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
    with open(TARGET, "wb") as out:
        out.write(header + directory + b"".join(dib for _, _, dib in entries))


if __name__ == "__main__":
    main()
