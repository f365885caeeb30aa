#!/usr/bin/env python3
"""Packs the demo skin folder into a zip: make_skin.py <skin folder> <out.zip>."""
import os
import sys
import zipfile

src, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name in sorted(os.listdir(src)):
        z.write(os.path.join(src, name), name)
