#!/usr/bin/env python3
"""Writes the font files of the paint manager tests: a system TrueType font renamed to faces
that no system has, as a plain file and inside a zip archive (Python's zipfile).

usage: make_font_files.py OUTDIR [SOURCE.ttf ...]
Writes OUTDIR/zvplain.ttf (face "Zv Plain Face") and OUTDIR/fonts.zip holding
fonts/zvzip.ttf (face "Zv Zip Face")."""
import glob
import os
import struct
import sys
import zipfile


def checksum(data):
    data = data + b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def name_table(family):
    names = {1: family, 2: "Regular", 3: family + " Test", 4: family, 6: family.replace(" ", "")}
    records = []
    strings = b""
    # Mac Roman (1, 0, 0) and Windows Unicode BMP (3, 1, 0x409) records, sorted as the format asks.
    for platform, encoding, language, codec in ((1, 0, 0, "latin-1"), (3, 1, 0x409, "utf-16-be")):
        for name_id in sorted(names):
            raw = names[name_id].encode(codec)
            records.append(struct.pack(">6H", platform, encoding, language, name_id, len(raw), len(strings)))
            strings += raw
    header = struct.pack(">3H", 0, len(records), 6 + 12 * len(records))
    return header + b"".join(records) + strings


def renamed(font, family):
    version, count = struct.unpack(">IH", font[:6])
    tables = []
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", font[12 + 16 * i:28 + 16 * i])
        data = font[offset:offset + length]
        if tag == b"name":
            data = name_table(family)
        if tag == b"head":
            data = data[:8] + b"\0\0\0\0" + data[12:]
        tables.append((tag, data))
    entry = 1
    while entry * 2 <= count:
        entry *= 2
    search = entry * 16
    out = bytearray(struct.pack(">IHHHH", version, count, search, entry.bit_length() - 1, count * 16 - search))
    offset = 12 + 16 * count
    directory = bytearray()
    body = bytearray()
    head_at = None
    for tag, data in tables:
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        if tag == b"head":
            head_at = offset + len(body)
        body += data + b"\0" * (-len(data) % 4)
    out += directory + body
    if head_at is not None:
        adjust = (0xB1B0AFBA - checksum(bytes(out))) & 0xFFFFFFFF
        out[head_at + 8:head_at + 12] = struct.pack(">I", adjust)
    return bytes(out)


def main():
    outdir = sys.argv[1]
    candidates = sys.argv[2:] + ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"]
    candidates += sorted(glob.glob("/usr/share/fonts/truetype/**/*.ttf", recursive=True))
    source = next((c for c in candidates if os.path.isfile(c)), None)
    if source is None:
        sys.exit("no TrueType font found to rename")
    with open(source, "rb") as f:
        font = f.read()
    os.makedirs(outdir, exist_ok=True)
    with open(os.path.join(outdir, "zvplain.ttf"), "wb") as f:
        f.write(renamed(font, "Zv Plain Face"))
    with zipfile.ZipFile(os.path.join(outdir, "fonts.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("fonts/zvzip.ttf", renamed(font, "Zv Zip Face"))
        z.writestr("readme.txt", "font fixtures\n")


if __name__ == "__main__":
    main()
