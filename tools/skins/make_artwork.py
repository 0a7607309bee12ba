#!/usr/bin/env python3
"""Draws the bitmaps of the shipped skins (data/skins/*) as 24-bit BMP files.

Each skin's colours come from its skin.txt, so the artwork sits on exactly the background it is
drawn over (the bitmaps carry no transparency). Shapes are sampled 4 x 4 times per pixel for
smooth edges. Standard library only:

    python3 tools/skins/make_artwork.py [SKINS_DIR]
"""

import math
import os
import re
import struct
import sys

SUPERSAMPLE = 4

# Colours that are the artwork's own, not palette keys.
EXTRAS = {
    "light": {
        "logo_body": (0x2F, 0x6F, 0xD6),
        "logo_ink": (0xFF, 0xFF, 0xFF),
        "logo_keys": (0xA9, 0xC4, 0xF0),
        "close_hover_bg": (0xE5, 0x48, 0x4D),
        "close_hover_ink": (0xFF, 0xFF, 0xFF),
        "clear_hover_ink": (0x2F, 0x6F, 0xD6),
        "input_frame": (0x8F, 0xB1, 0xEA),
    },
    "dark": {
        "logo_body": (0x35, 0x5E, 0x98),
        "logo_ink": (0xEE, 0xF2, 0xF8),
        "logo_keys": (0x7F, 0x9C, 0xC6),
        "close_hover_bg": (0xC4, 0x3D, 0x42),
        "close_hover_ink": (0xFF, 0xFF, 0xFF),
        "clear_hover_ink": (0x8F, 0xB4, 0xEA),
        "input_frame": (0x44, 0x5E, 0x86),
    },
}


def read_colors(skin_file):
    """The colour entries of a skin file as {key: (r, g, b)}."""
    colors = {}
    pattern = re.compile(r"^\s*color\s+(\S+)\s*=\s*#([0-9A-Fa-f]{6})\s*$")
    with open(skin_file, encoding="utf-8-sig") as f:
        for line in f:
            match = pattern.match(line)
            if match:
                value = match.group(2)
                colors[match.group(1)] = tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))
    return colors


# --- Shapes: functions of a point (x, y) in pixel units answering whether it lies inside. ---

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def outline(outer, inner):
    return lambda x, y: outer(x, y) and not inner(x, y)


def capsule(ax, ay, bx, by, width):
    """A stroke of the given width from a to b with round ends."""
    half = width / 2.0
    length2 = (bx - ax) ** 2 + (by - ay) ** 2

    def inside(x, y):
        t = 0.0 if length2 == 0 else ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / length2
        t = max(0.0, min(1.0, t))
        px, py = ax + t * (bx - ax), ay + t * (by - ay)
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def ellipse_ring(cx, cy, rx, ry, thickness):
    def inside(x, y):
        outer = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
        inner = ((x - cx) / (rx - thickness)) ** 2 + ((y - cy) / (ry - thickness)) ** 2 <= 1.0
        return outer and not inner
    return inside


class Image:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.background = background
        self.layers = []  # (shape, colour), painted in order

    def add(self, shape, color):
        self.layers.append((shape, color))

    def render(self):
        """Rows of (r, g, b), top row first; each pixel averages its sub-samples."""
        rows = []
        n = SUPERSAMPLE
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(self.height):
            row = []
            for px in range(self.width):
                total = [0, 0, 0]
                for oy in offsets:
                    for ox in offsets:
                        x, y = px + ox, py + oy
                        color = self.background
                        for shape, c in self.layers:
                            if shape(x, y):
                                color = c
                        total[0] += color[0]
                        total[1] += color[1]
                        total[2] += color[2]
                row.append(tuple(int(round(v / (n * n))) for v in total))
            rows.append(row)
        return rows

    def save(self, path):
        rows = self.render()
        stride = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for row in reversed(rows):  # BMP rows run bottom-up
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            line += b"\0" * (stride - len(line))
            pixels += line
        header_size = 14 + 40
        with open(path, "wb") as f:
            f.write(b"BM" + struct.pack("<IHHI", header_size + len(pixels), 0, 0, header_size))
            f.write(struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0,
                                len(pixels), 2835, 2835, 0, 0))
            f.write(pixels)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# --- The artwork. ---

def logo(colors, extras):
    """96 x 48: a rounded keyboard with the letters QX above a row of keys."""
    image = Image(96, 48, colors["SuggestListWnd.CLR.BG"])
    body, ink, keys = extras["logo_body"], extras["logo_ink"], extras["logo_keys"]
    image.add(rounded_rect(4, 3, 92, 45, 9), body)
    stroke = 3.6
    # Q: an oval ring with a short tail across its lower right.
    image.add(ellipse_ring(35.5, 18.5, 10.5, 11.5, stroke), ink)
    image.add(capsule(38.5, 22.5, 46.0, 30.0, stroke), ink)
    # X: two crossing strokes of the same weight.
    image.add(capsule(53.5, 8.5, 68.5, 28.5, stroke), ink)
    image.add(capsule(68.5, 8.5, 53.5, 28.5, stroke), ink)
    # A row of key caps with a space bar in the middle.
    widths, gap = (6, 6, 6, 22, 6, 6, 6), 2.4
    x = 48.0 - (sum(widths) + gap * (len(widths) - 1)) / 2
    for width in widths:
        image.add(rounded_rect(x, 34.5, x + width, 40.0, 1.5), keys)
        x += width + gap
    return image


def close_glyph(background, ink, hover_bg=None):
    """16 x 16: an x, on a rounded square when hovered."""
    image = Image(16, 16, background)
    if hover_bg:
        image.add(rounded_rect(0.5, 0.5, 15.5, 15.5, 3), hover_bg)
    image.add(capsule(4.6, 4.6, 11.4, 11.4, 1.6), ink)
    image.add(capsule(11.4, 4.6, 4.6, 11.4, 1.6), ink)
    return image


def clear_glyph(background, ink, hover_bg=None):
    """16 x 16: a small waste bin with a lid and two ribs."""
    image = Image(16, 16, background)
    if hover_bg:
        image.add(rounded_rect(0.5, 0.5, 15.5, 15.5, 3), hover_bg)
    # Edges on whole pixels: at 16 pixels a blurred stroke reads as a smudge.
    image.add(rounded_rect(3.0, 3.0, 14.0, 5.0, 0.5), ink)  # lid
    image.add(outline(rounded_rect(6.0, 1.0, 11.0, 3.0, 0.5),
                      rounded_rect(7.0, 2.0, 10.0, 3.0, 0.0)), ink)  # handle
    image.add(outline(rounded_rect(4.0, 6.0, 13.0, 14.0, 1.0),
                      rounded_rect(5.0, 6.0, 12.0, 13.0, 0.0)), ink)  # can
    image.add(rounded_rect(7.0, 8.0, 8.0, 12.0, 0.0), ink)  # ribs
    image.add(rounded_rect(9.0, 8.0, 10.0, 12.0, 0.0), ink)
    return image


def input_field(colors, extras):
    """270 x 20: the input field's frame and background, drawn behind the one-line edit."""
    image = Image(270, 20, colors["SuggestListWnd.CLR.BG"])
    image.add(rounded_rect(0.5, 0.5, 269.5, 19.5, 3.5), extras["input_frame"])
    image.add(rounded_rect(1.5, 1.5, 268.5, 18.5, 2.5), colors["InputEdit.CLR.BG"])
    return image


def make_skin(folder, name):
    colors = read_colors(os.path.join(folder, "skin.txt"))
    extras = EXTRAS[name]
    bg = colors["SuggestListWnd.CLR.BG"]
    caption = colors["SuggestListWnd.CLR.BGCaption"]
    grey = colors["SuggestListWnd.CLR.TextItemType"]
    hover = colors["SuggestListWnd.CLR.BGMouse"]
    artwork = {
        "logo.bmp": logo(colors, extras),
        "close_normal.bmp": close_glyph(caption, grey),
        "close_hover.bmp": close_glyph(caption, extras["close_hover_ink"],
                                       extras["close_hover_bg"]),
        "clear_normal.bmp": clear_glyph(bg, grey),
        "clear_hover.bmp": clear_glyph(bg, extras["clear_hover_ink"], hover),
        "input.bmp": input_field(colors, extras),
    }
    for file_name, image in artwork.items():
        image.save(os.path.join(folder, file_name))
        print(os.path.join(folder, file_name))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    skins = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "data", "skins")
    for name in sorted(EXTRAS):
        make_skin(os.path.join(skins, name), name)


if __name__ == "__main__":
    main()
