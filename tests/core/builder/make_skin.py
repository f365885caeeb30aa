#!/usr/bin/python3
"""Draws the test skin's PNG and zips it with the archive layouts: make_skin.py <skin dir> <out.zip>."""
import io
import os
import sys
import zipfile

from PIL import Image

src, out = sys.argv[1], sys.argv[2]
png = io.BytesIO()
Image.new("RGBA", (6, 4), (255, 0, 0, 255)).save(png, "PNG")
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("dot.png", png.getvalue())
    for name in ("arc_main.xml", "arc_item.xml"):
        z.write(os.path.join(src, name), name)
