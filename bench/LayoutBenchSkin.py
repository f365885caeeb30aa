#!/usr/bin/python3
"""Writes the layout bench's skin: LayoutBenchSkin.py <out.zip>.

bench.xml is a 1280 x 800 window with a root, 80 rows and 24 controls in each row (2,001 controls),
cycling through the basic control classes; two PNGs give the buttons and containers images."""
import io
import sys
import zipfile

from PIL import Image, ImageDraw

ROWS, COLUMNS = 80, 24
KINDS = [
    '<Label text="Label {n}"/>',
    '<Button text="Go {n}"/>',
    '<Option group="g{row}" text="Opt {n}"/>',
    '<CheckBox text="Chk {n}" selected="{odd}"/>',
    '<Progress height="10" value="{pct}" forecolor="#FF30A030" bkcolor="#FFDDDDDD"/>',
    '<Text text="A &lt;b&gt;text&lt;/b&gt; {n}" showhtml="true"/>',
    '<Control bkcolor="#FF{shade}A0C0" borderround="3,3"/>',
    '<Container bkimage="file=\'cell.png\' corner=\'3,3,3,3\'"/>',
]


def layout():
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<Window size="1280,800">',
             '  <Font id="0" name="Tahoma" size="9" default="true"/>',
             '  <Image name="btn.png"/>',
             '  <Default name="Button" value="normalimage=&quot;file=\'btn.png\' corner=\'4,4,4,4\'&quot;"/>',
             '  <VerticalLayout bkcolor="#FFF4F6F8">']
    n = 0
    for row in range(ROWS):
        lines.append('    <HorizontalLayout height="10" childpadding="1">')
        for column in range(COLUMNS):
            kind = KINDS[(row + column) % len(KINDS)]
            lines.append('      ' + kind.format(n=n, row=row, odd="true" if n % 2 else "false",
                                                  pct=n % 101, shade="%02X" % (n % 256)))
            n += 1
        lines.append('    </HorizontalLayout>')
    lines += ['  </VerticalLayout>', '</Window>']
    return "\n".join(lines) + "\n"


def png(image):
    data = io.BytesIO()
    image.save(data, "PNG")
    return data.getvalue()


button = Image.new("RGBA", (16, 16), (40, 90, 170, 230))
ImageDraw.Draw(button).rectangle((0, 0, 15, 15), outline=(150, 190, 240, 255))
cell = Image.new("RGBA", (12, 12), (255, 255, 255, 120))
ImageDraw.Draw(cell).rectangle((0, 0, 11, 11), outline=(90, 110, 130, 255))

with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("bench.xml", layout())
    z.writestr("btn.png", png(button))
    z.writestr("cell.png", png(cell))
