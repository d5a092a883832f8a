#!/usr/bin/env python3
"""Draws the Launch menu's six 16 x 16 item icons into resources/icons/*.ico.

Each picture is drawn on a 16-unit grid with ImageMagick (MVG) at 64 px and reduced by
averaging 4 x 4 blocks, so straight edges on whole units stay sharp and curves get smooth
edges. Each .ico holds a 32-bit entry with alpha and a 16-colour entry for old displays.
The palette is the program icon's: navy outlines, sky blues, folder yellow, plus one red for
closing and one green for adding.

    scripts/make_launch_icons.py [--preview FOLDER]   # previews: PNG at 8x, never committed
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

NAVY = "#26344f"
BLUE = "#3f97d8"
SKY = "#7cc4f2"
PALE = "#eaf4fc"
YELLOW = "#f2b632"
YELLOW_LIGHT = "#ffd35c"
BROWN = "#9a6a00"
RED = "#d23b30"
RED_DARK = "#8e2119"
GREEN = "#2e9e4f"
GREEN_DARK = "#1d6b34"
GREY = "#5b6675"
GREY_LIGHT = "#aab4c0"


def polygon(points):
    return "polygon " + " ".join(f"{x:.3f},{y:.3f}" for x, y in points)


def arc_points(cx, cy, r, start_deg, end_deg, steps=48):
    return [(cx + r * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
             cy + r * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps)))
            for i in range(steps + 1)]


def dual():
    # One window split into two panes: the two Explorers side by side.
    return f"""
fill {NAVY} roundrectangle 0,1 15,15 1,1
fill {BLUE} rectangle 1,2 14,4
fill #ffffff rectangle 1,5 7,14
fill #ffffff rectangle 8,5 14,14
fill {PALE} rectangle 1,5 7,6
fill {PALE} rectangle 8,5 14,6
fill {SKY} rectangle 2,8 6,9
fill {SKY} rectangle 2,10 5,11
fill {SKY} rectangle 2,12 6,13
fill {SKY} rectangle 9,8 13,9
fill {SKY} rectangle 9,10 12,11
fill {SKY} rectangle 9,12 13,13
"""


def pin():
    # A push pin, head up and to the right, its needle down to the left.
    def rotated(points):
        a = math.radians(45)
        cx, cy = 8.0, 8.0
        return [(cx + (x - cx) * math.cos(a) - (y - cy) * math.sin(a),
                 cy + (x - cx) * math.sin(a) + (y - cy) * math.cos(a)) for x, y in points]
    head = [(5.2, 0.6), (10.8, 0.6), (10.8, 3.0), (5.2, 3.0)]
    body = [(6.4, 3.0), (9.6, 3.0), (10.0, 8.2), (6.0, 8.2)]
    flange = [(3.6, 8.0), (12.4, 8.0), (12.4, 10.2), (3.6, 10.2)]
    needle = [(7.3, 10.2), (8.7, 10.2), (8.15, 16.0), (7.85, 16.0)]
    shine = [(6.9, 3.4), (7.7, 3.4), (7.6, 7.8), (6.8, 7.8)]
    return f"""
stroke none
fill {NAVY} {polygon(rotated(needle))}
stroke {RED_DARK} stroke-width 0.8 stroke-linejoin round
fill {RED} {polygon(rotated(body))}
fill {RED} {polygon(rotated(head))}
fill {RED} {polygon(rotated(flange))}
stroke none
fill #ffffff fill-opacity 0.55 {polygon(rotated(shine))}
"""


def supplement():
    # A folder with a green plus: one more Explorer.
    return f"""
stroke {BROWN} stroke-width 1 stroke-linejoin round
fill {YELLOW} path 'M 0.5,2.5 L 5,2.5 L 6.5,4 L 13.5,4 L 13.5,13.5 L 0.5,13.5 Z'
stroke none
fill {YELLOW_LIGHT} rectangle 1,6 13,13
fill {BROWN} rectangle 1,5.5 13,6
fill {GREEN_DARK} circle 11.5,11.5 11.5,7
fill {GREEN} circle 11.5,11.5 11.5,8
fill #ffffff rectangle 10.5,9 12.5,14
fill #ffffff rectangle 9,10.5 14,12.5
"""


def exit_():
    # The power symbol: a ring open at the top and a bar through the opening.
    ring = arc_points(8, 8.5, 5.6, -55, 235)
    path = "M " + " L ".join(f"{x:.3f},{y:.3f}" for x, y in ring)
    return f"""
fill none stroke {RED} stroke-width 2.1 stroke-linecap round
path '{path}'
line 8,1.6 8,8.2
"""


def gear():
    # Eight teeth around a ring; the hole shows the background.
    teeth, outer, root, hole = 8, 7.6, 5.6, 2.4
    points = []
    for i in range(teeth):
        base = i * 360 / teeth
        for angle, radius in ((base - 15, root), (base - 9, outer), (base + 9, outer),
                              (base + 15, root)):
            points.append((8 + radius * math.cos(math.radians(angle)),
                           8 + radius * math.sin(math.radians(angle))))
    outline = "M " + " L ".join(f"{x:.3f},{y:.3f}" for x, y in points) + " Z"
    inner = arc_points(8, 8, hole, 0, 360, 32)
    inner_path = "M " + " L ".join(f"{x:.3f},{y:.3f}" for x, y in inner) + " Z"
    # A light band on the upper half of the ring, as if lit from above.
    band = arc_points(8, 8, 4.3, 200, 330, 13) + arc_points(8, 8, 3.3, 330, 200, 13)
    return f"""
fill-rule evenodd
stroke {NAVY} stroke-width 0.9 stroke-linejoin round
fill {GREY} path '{outline} {inner_path}'
stroke none
fill {GREY_LIGHT} fill-opacity 0.7 {polygon(band)}
"""


def load():
    # A circular arrow turning clockwise, its head at the top: read again. Green, not blue,
    # so that it stands out on a menu's blue highlight.
    cx, cy, r = 7.5, 8.8, 5.0
    start, end = 5, 270
    ring = arc_points(cx, cy, r, start, end)
    path = "M " + " L ".join(f"{x:.3f},{y:.3f}" for x, y in ring)
    # The head straddles the ring's end at the top and points along it, to the right, leaving
    # a clear gap before the ring's other end.
    ex, ey = ring[-1]
    tip, outer, inner = (ex + 4.0, ey), (ex, ey - 3.0), (ex, ey + 3.0)
    return f"""
fill none stroke {GREEN} stroke-width 2.0 stroke-linecap butt
path '{path}'
stroke none
fill {GREEN} {polygon([tip, outer, inner])}
"""


ICONS = {
    "launch_dual": dual,
    "launch_pin": pin,
    "launch_supplement": supplement,
    "launch_exit": exit_,
    "launch_settings": gear,
    "launch_load": load,
}

# The standard 16-colour palette (the first eight are the dark halves).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def render(mvg, work, name):
    big = os.path.join(work, name + "64.png")
    small = os.path.join(work, name + ".png")
    # The drawing goes on the command line: ImageMagick's default policy refuses "@file".
    subprocess.run(["convert", "-size", "64x64", "xc:none", "-draw",
                    "viewbox 0 0 64 64\naffine 4 0 0 4 0 0\n" + mvg, "PNG32:" + big],
                   check=True)
    # A box filter over 4 x 4 blocks: each pixel is the exact coverage of its square.
    subprocess.run(["convert", big, "-filter", "box", "-resize", "16x16", "PNG32:" + small],
                   check=True)
    raw = subprocess.run(["convert", small, "-depth", "8", "RGBA:-"], check=True,
                         capture_output=True).stdout
    assert len(raw) == 16 * 16 * 4
    return small, [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def and_mask(pixels):
    # 1 = transparent; rows padded to 32 bits, bottom row first.
    rows = []
    for y in range(15, -1, -1):
        bits = 0
        for x in range(16):
            if pixels[y * 16 + x][3] < 128:
                bits |= 1 << (15 - x)
        rows.append(struct.pack(">H", bits) + b"\0\0")
    return b"".join(rows)


def entry_32(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, 16 * 16 * 4, 0, 0, 0, 0)
    body = b"".join(struct.pack("BBBB", b, g, r, a)
                    for y in range(15, -1, -1)
                    for r, g, b, a in pixels[y * 16:(y + 1) * 16])
    return header + body + and_mask(pixels)


def nearest(r, g, b):
    return min(range(16), key=lambda i: (VGA[i][0] - r) ** 2 * 3 + (VGA[i][1] - g) ** 2 * 4 +
               (VGA[i][2] - b) ** 2 * 2)


def entry_4(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 4, 0, 16 * 16 // 2, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in VGA)
    body = bytearray()
    for y in range(15, -1, -1):
        for x in range(0, 16, 2):
            pair = []
            for r, g, b, a in pixels[y * 16 + x:y * 16 + x + 2]:
                # Transparent pixels are black in the colour plane: the AND mask keeps the
                # background there and XOR with black changes nothing.
                pair.append(0 if a < 128 else nearest(r, g, b))
            body.append(pair[0] << 4 | pair[1])
    return header + palette + bytes(body) + and_mask(pixels)


def write_ico(path, pixels):
    images = [(32, entry_32(pixels)), (4, entry_4(pixels))]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for bits, image in images:
        colors = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", 16, 16, colors, 0, 1, bits, len(image), offset)
        offset += len(image)
        data += image
    with open(path, "wb") as f:
        f.write(directory + data)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out = os.path.join(root, "resources", "icons")
    os.makedirs(out, exist_ok=True)
    preview = sys.argv[2] if len(sys.argv) > 2 and sys.argv[1] == "--preview" else None
    with tempfile.TemporaryDirectory() as work:
        smalls = []
        for name, draw in ICONS.items():
            small, pixels = render(draw(), work, name)
            write_ico(os.path.join(out, name + ".ico"), pixels)
            smalls.append(small)
        if preview:
            os.makedirs(preview, exist_ok=True)
            for small in smalls:
                base = os.path.splitext(os.path.basename(small))[0]
                subprocess.run(["convert", small, "-background", "#f0f0f0", "-flatten",
                                "-scale", "800%", os.path.join(preview, base + ".png")],
                               check=True)
            # All six side by side, on a menu's background.
            previews = [os.path.join(preview, os.path.splitext(os.path.basename(small))[0] +
                                     ".png") for small in smalls]
            subprocess.run(["convert"] + previews + ["-bordercolor", "#f0f0f0", "-border",
                            "16x16", "+append", os.path.join(preview, "all.png")], check=True)

if __name__ == "__main__":
    main()
