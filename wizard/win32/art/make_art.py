#!/usr/bin/python3
"""Draws Farrowdale's artwork: the header banner (bitmap 201, 431 x 79 in 256
colours) and the application icon (icon 128: 32 x 32 and 16 x 16 at 16 colours,
256 colours and 32 bits). Needs Debian's python3-pil and fonts-dejavu-core.

    wizard/win32/art/make_art.py    # rewrites banner.bmp and farrowdale.ico here
"""
import math
import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
DARK_BLUE = (16, 40, 110)
PALE_BLUE = (120, 160, 220)
ORANGE = (240, 130, 20)


def gear(draw, cx, cy, radius, teeth, colour, width=2):
    """A technical drawing of a gear wheel: rim, teeth, hub and spokes."""
    points = []
    for i in range(teeth * 4 + 1):
        angle = 2 * math.pi * i / (teeth * 4)
        r = radius + (5 if (i % 4) in (1, 2) else 0)
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    draw.line(points, fill=colour, width=width)
    hub = radius / 3
    draw.ellipse((cx - hub, cy - hub, cx + hub, cy + hub), outline=colour, width=width)
    for i in range(6):
        angle = math.pi * i / 3
        draw.line((cx + hub * math.cos(angle), cy + hub * math.sin(angle),
                   cx + radius * math.cos(angle), cy + radius * math.sin(angle)),
                  fill=colour, width=1)


def banner():
    width, height = 431, 79
    picture = Image.new("RGB", (width, height), "white")
    draw = ImageDraw.Draw(picture)
    # Blueprint grid and gears, later faded in from left to right.
    for x in range(0, width, 12):
        draw.line((x, 0, x, height), fill=PALE_BLUE, width=1)
    for y in range(0, height, 12):
        draw.line((0, y, width, y), fill=PALE_BLUE, width=1)
    gear(draw, 330, 40, 26, 10, PALE_BLUE)
    gear(draw, 385, 22, 15, 7, PALE_BLUE)
    gear(draw, 392, 62, 12, 6, PALE_BLUE)
    draw.line((240, 70, 420, 70), fill=PALE_BLUE, width=1)
    fade = Image.new("L", (width, height))
    fade.putdata([min(255, max(0, int(255 * (x - 170) / 200))) for y in range(height)
                  for x in range(width)])
    result = Image.composite(picture, Image.new("RGB", (width, height), "white"), fade)
    draw = ImageDraw.Draw(result)
    draw.text((14, 8), "BrixelPacker", font=ImageFont.truetype(FONT, 28), fill=DARK_BLUE)
    draw.text((16, 42), "Wizard", font=ImageFont.truetype(FONT, 20), fill=DARK_BLUE)
    draw.rectangle((0, height - 3, width - 1, height - 1), fill=ORANGE)
    result.quantize(colors=256, method=Image.Quantize.MEDIANCUT).save(
        os.path.join(HERE, "banner.bmp"))


def icon_image(size):
    """A dark blue page with an orange clamp squeezing it: packing."""
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    s = size / 32
    draw.rectangle((7 * s, 3 * s, 25 * s - 1, 29 * s - 1), fill=(255, 255, 255, 255),
                   outline=DARK_BLUE + (255,), width=max(1, int(2 * s)))
    for y in (9, 14, 19, 24):
        draw.line((11 * s, y * s, 21 * s, y * s), fill=PALE_BLUE + (255,), width=max(1, int(s)))
    draw.rectangle((2 * s, 13 * s, 30 * s - 1, 19 * s - 1), fill=ORANGE + (255,))
    return image


def and_mask(alpha, size):
    """The 1-bit transparency mask, rows bottom-up, each padded to 32 bits."""
    row_bytes = ((size + 31) // 32) * 4
    data = b""
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if alpha.getpixel((x, y)) < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        data += bytes(row)
    return data


def dib(image, bits):
    """One icon image as a DIB: header, palette, colour rows bottom-up, mask."""
    size = image.size[0]
    alpha = image.getchannel("A")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    if bits == 32:
        pixels = b"".join(bytes((b, g, r, a)) for y in reversed(range(size))
                          for r, g, b, a in (image.getpixel((x, y)) for x in range(size)))
        return header + pixels + and_mask(alpha, size)
    flat = Image.new("RGB", image.size, "white")
    flat.paste(image, mask=alpha)
    colours = 1 << bits
    indexed = flat.quantize(colors=colours, method=Image.Quantize.MEDIANCUT)
    palette = indexed.getpalette()[: colours * 3]
    palette += [0] * (colours * 3 - len(palette))
    table = b"".join(bytes((palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0))
                     for i in range(colours))
    row_bytes = ((size * bits + 31) // 32) * 4
    pixels = b""
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            index = indexed.getpixel((x, y))
            if bits == 8:
                row[x] = index
            else:
                row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(row)
    return header + table + pixels + and_mask(alpha, size)


def icon():
    entries = []
    for size in (32, 16):
        image = icon_image(size)
        for bits in (4, 8, 32):
            entries.append((size, bits, dib(image, bits)))
    data = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bits, body in entries:
        colours = 16 if bits == 4 else 0
        data += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(body), offset)
        offset += len(body)
    data += b"".join(body for _, _, body in entries)
    with open(os.path.join(HERE, "farrowdale.ico"), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    banner()
    icon()
