#!/usr/bin/python3
"""Build the setup program's skin archive and its icon.

Usage: python3 pack_skin.py SKINDIR OUT.zip OUT.ico

The zip holds the two layout files and every image draw_skin.py writes, flat
at the top (the shadow image in zv_appended/shadow/).  The icon is the logo of
the start page at the usual Windows icon sizes.  Entries carry a fixed date, so
the output only changes when a drawing or a layout does.
"""
import io
import os
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw_skin  # noqa: E402

LAYOUTS = ("ZVMainFrame.xml", "ZVMsgBox.xml")
ICON_SIZES = (16, 24, 32, 48, 64, 256)


def add_file(z, path, name):
    info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as f:
        z.writestr(info, f.read())


def pack(skin_dir, out_zip):
    with tempfile.TemporaryDirectory() as images:
        draw_skin.main(["draw_skin.py", images])
        tmp = out_zip + ".tmp"
        with zipfile.ZipFile(tmp, "w") as z:
            for name in LAYOUTS:
                add_file(z, os.path.join(skin_dir, name), name)
            for root, _, files in sorted(os.walk(images)):
                for name in sorted(files):
                    path = os.path.join(root, name)
                    add_file(z, path, os.path.relpath(path, images).replace(os.sep, "/"))
        os.replace(tmp, out_zip)


def icon(out_ico):
    # The logo drawn large once; PIL reduces it to each icon size.
    c = draw_skin.Canvas(256, 256, 1)
    draw_skin.draw_logo(c, 128, 128, 256)
    big = c.result()
    buf = io.BytesIO()
    big.save(buf, "ICO", sizes=[(n, n) for n in ICON_SIZES])
    with open(out_ico, "wb") as f:
        f.write(buf.getvalue())


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: pack_skin.py SKINDIR OUT.zip OUT.ico\n")
        return 2
    pack(argv[1], argv[2])
    icon(argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
