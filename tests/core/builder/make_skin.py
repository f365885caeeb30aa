#!/usr/bin/python3
"""Draws the test skins' PNGs and zips them with the archive layouts and a font file:
make_skin.py <skin dir> <font.ttf> <out.zip>."""
import io
import os
import sys
import zipfile

from PIL import Image, ImageDraw

src, font, out = sys.argv[1], sys.argv[2], sys.argv[3]


def png(image):
    data = io.BytesIO()
    image.save(data, "PNG")
    return data.getvalue()


# A button face: a blue body with a lighter frame, drawn stretched by the skin.
button = Image.new("RGBA", (20, 20), (40, 90, 170, 255))
ImageDraw.Draw(button).rectangle((0, 0, 19, 19), outline=(150, 190, 240, 255))
# A striped bar whose magenta stripe the skin masks out.
bar = Image.new("RGBA", (8, 8), (30, 150, 60, 255))
ImageDraw.Draw(bar).rectangle((0, 0, 7, 1), fill=(255, 0, 255, 255))

with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("dot.png", png(Image.new("RGBA", (6, 4), (255, 0, 0, 255))))
    z.writestr("btn.png", png(button))
    z.writestr("bar.png", png(bar))
    z.write(font, "zvplain.ttf")
    for name in ("arc_main.xml", "arc_item.xml", "full_main.xml", "full_item.xml", "full_child.xml", "res.xml"):
        z.write(os.path.join(src, name), name)
