#!/usr/bin/python3
"""Build the setup program's skin archive and its icon.

Usage: python3 pack_skin.py SKINDIR OUT.zip OUT.ico [WHITE.zip]

The zip holds the two layout files and every image draw_skin.py writes, flat
at the top (the shadow image in zv_appended/shadow/).  The icon is the logo of
the start page at the usual Windows icon sizes.  The white message box is not
part of the program's skin: its layout and its frame image go only into the
optional WHITE.zip, together with the images it shares.  Entries carry a fixed date, so
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
WHITE_LAYOUTS = ("ZVWhiteMsgBox.xml",)
WHITE_ONLY = ("zv_appended/shadow/shadows_white.png",)
ICON_SIZES = (16, 24, 32, 48, 64, 256)


def add_file(z, path, name):
    info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as f:
        z.writestr(info, f.read())


def write_zip(out_zip, skin_dir, layouts, images, skip):
    tmp = out_zip + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name in layouts:
            add_file(z, os.path.join(skin_dir, name), name)
        for root, _, files in sorted(os.walk(images)):
            for name in sorted(files):
                path = os.path.join(root, name)
                entry = os.path.relpath(path, images).replace(os.sep, "/")
                if entry not in skip:
                    add_file(z, path, entry)
    os.replace(tmp, out_zip)


def pack(skin_dir, out_zip, white_zip=None):
    with tempfile.TemporaryDirectory() as images:
        draw_skin.main(["draw_skin.py", images])
        write_zip(out_zip, skin_dir, LAYOUTS, images, WHITE_ONLY)
        if white_zip:
            write_zip(white_zip, skin_dir, WHITE_LAYOUTS, images, ())


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
    if len(argv) not in (4, 5):
        sys.stderr.write("usage: pack_skin.py SKINDIR OUT.zip OUT.ico [WHITE.zip]\n")
        return 2
    pack(argv[1], argv[2], argv[4] if len(argv) == 5 else None)
    icon(argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
