#!/usr/bin/env python3
"""Writes the folder the Info-ZIP test archives are made from, with fixed file times."""
import os
import random
import shutil
import sys

MTIME = 1600000000
ATIME = 1600000100


def logo_bytes():
    # Partly compressible, partly random, and longer than several 16 KiB buffers.
    rng = random.Random(7)
    out = bytearray()
    while len(out) < 100_000:
        out += bytes(rng.randrange(256) for _ in range(700))
        out += b"velmora skin " * 60
    return bytes(out[:100_000])


def main():
    root = sys.argv[1]
    shutil.rmtree(root, ignore_errors=True)
    files = {
        "skin/Main.XML": ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"500,360\">\n"
                          + "  <Label text=\"Velmora\" />\n" * 40 + "</Window>\n").encode(),
        "skin/images/logo.png": logo_bytes(),
        "readme.txt": b"Velmora skin archive, made by Info-ZIP zip.\n",
        "empty.txt": b"",
    }
    for name, data in files.items():
        path = os.path.join(root, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for dirpath, dirnames, filenames in os.walk(root, topdown=False):
        for n in filenames + dirnames:
            os.utime(os.path.join(dirpath, n), (ATIME, MTIME))


if __name__ == "__main__":
    main()
