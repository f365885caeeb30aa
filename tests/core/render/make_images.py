#!/usr/bin/env python3
"""Writes the PNG test images (and a skin archive holding some of them) with zlib alone."""
import os
import struct
import sys
import zipfile
import zlib


def png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a); written as 8-bit RGBA."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)
    return data


def grid(x, y):
    # Every pixel of a 40 x 40 image tells where it came from.
    return (x * 6, y * 6, 100, 255)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    png(os.path.join(out, "half.png"), 2, 1, lambda x, y: (200, 100, 50, 128) if x == 0 else (10, 20, 30, 255))
    png(os.path.join(out, "magenta.png"), 2, 2,
        lambda x, y: (255, 0, 255, 255) if (x + y) % 2 == 0 else (0, 128, 0, 255))
    png(os.path.join(out, "opaque.png"), 2, 2, lambda x, y: (1, 2, 3, 255))
    grid_png = png(os.path.join(out, "grid.png"), 40, 40, grid)
    png(os.path.join(out, "grid_half.png"), 40, 40, lambda x, y: (x * 6, y * 6, 100, 128))
    png(os.path.join(out, "tile.png"), 4, 3, lambda x, y: (x * 60, y * 80, 7, 255))
    # DPI variants of btn.png: 2x and 1.5x exist, 1.75x and 1.25x do not.
    png(os.path.join(out, "btn.png"), 4, 4, lambda x, y: (255, 0, 0, 255))
    png(os.path.join(out, "btn@1.5x.png"), 6, 6, lambda x, y: (0, 255, 0, 255))
    png(os.path.join(out, "btn@2x.png"), 8, 8, lambda x, y: (0, 0, 255, 255))
    png(os.path.join(out, "only.png"), 4, 4, lambda x, y: (9, 9, 9, 255))
    png(os.path.join(out, "only@1.25x.png"), 5, 5, lambda x, y: (8, 8, 8, 255))
    with open(os.path.join(out, "broken.png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\nnot really")
    open(os.path.join(out, "empty.png"), "wb").close()

    with zipfile.ZipFile(os.path.join(out, "skin.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("img/sub/grid.png", grid_png)
        z.write(os.path.join(out, "half.png"), "half.png")
        z.writestr("zero.png", b"")
    # An archive whose central directory claims an item far larger than any image.
    with open(os.path.join(out, "skin.zip"), "rb") as f:
        blob = bytearray(f.read())
    with zipfile.ZipFile(os.path.join(out, "huge.zip"), "w", zipfile.ZIP_STORED) as z:
        z.writestr("big.png", b"x" * 16)
    with open(os.path.join(out, "huge.zip"), "rb") as f:
        blob = bytearray(f.read())
    cd = blob.rfind(b"PK\x01\x02")
    struct.pack_into("<I", blob, cd + 24, 0x7FFFFFF0)
    with open(os.path.join(out, "huge.zip"), "wb") as f:
        f.write(blob)


if __name__ == "__main__":
    main()
