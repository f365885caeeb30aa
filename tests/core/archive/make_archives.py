#!/usr/bin/env python3
"""Writes the Python-made and the damaged test archives, and a manifest of every archive."""
import os
import struct
import subprocess
import sys
import zipfile
import zlib

DATE = (2021, 3, 4, 5, 6, 8)

# Stored names and what the reader must make of them.
NAMES = [
    "C:\\skin\\a.png",
    "/images/b.png",
    "x/../y.png",
    "a\\..\\b",
    "a/b/../c",
    "../../evil.txt",
    "..\\..\\evil2.txt",
    "a/b/..",
    "D:/..\\x/../z.txt",
    "q/.. /r.txt",
    "\\\\server\\share\\s.txt",
]


def text_of(name):
    return ("content of " + name + "\n").encode("utf-8")


def info(name, system=3, attr=None, extra=b"", compress=zipfile.ZIP_DEFLATED):
    zi = zipfile.ZipInfo(name, DATE)
    zi.create_system = system
    if attr is not None:
        zi.external_attr = attr
    zi.extra = extra
    zi.compress_type = compress
    return zi


def ut_block(flags, *times, declared=None):
    body = struct.pack("<B", flags) + b"".join(struct.pack("<i", t) for t in times)
    return struct.pack("<2sH", b"UT", len(body) if declared is None else declared) + body


def make_python(out, tree):
    with open(os.path.join(tree, "skin", "images", "logo.png"), "rb") as f:
        logo = f.read()
    path = os.path.join(out, "python.zip")
    with zipfile.ZipFile(path, "w") as z:
        z.writestr(info("Skin/Main.XML"), text_of("Skin/Main.XML"))
        z.writestr(info("dir\\sub\\back.txt", compress=zipfile.ZIP_STORED), text_of("dir\\sub\\back.txt"))
        z.writestr(info("皮肤/图标.png"), text_of("皮肤/图标.png"))
        z.writestr(info("big.bin"), logo * 2)
        z.writestr(info("empty.bin"), b"")
        z.writestr(info("dos_attrs.txt", system=0, attr=0x01 | 0x02 | 0x04 | 0x20), text_of("dos_attrs.txt"))
        z.writestr(info("dos_plain.txt", system=0, attr=0x20), text_of("dos_plain.txt"))
        z.writestr(info("unix_dir/", attr=(0o040755 << 16) | 0x10, compress=zipfile.ZIP_STORED), b"")
        z.writestr(info("unix_file.txt", attr=0o100644 << 16), text_of("unix_file.txt"))
        z.writestr(info("unix_ro.txt", attr=0o100444 << 16), text_of("unix_ro.txt"))
        z.writestr(info("ut_full.txt", extra=ut_block(7, 1500000000, 1500000100, 1500000200)), text_of("ut_full.txt"))
        # Flags promise three times, the block holds one.
        z.writestr(info("ut_short.txt", extra=ut_block(7, 1500000000)), text_of("ut_short.txt"))
        # The block claims more bytes than the whole field has.
        z.writestr(info("ut_overrun.txt", extra=ut_block(7, 1500000000, declared=13)), text_of("ut_overrun.txt"))
        z.writestr(info("ut_after_other.txt",
                        extra=struct.pack("<HH", 0xCAFE, 4) + b"\1\2\3\4" + ut_block(1, 1500000300)),
                   text_of("ut_after_other.txt"))
        for n in NAMES:
            z.writestr(info(n, compress=zipfile.ZIP_STORED), text_of(n))
        # The reader cannot rely on zipfile to read this archive back (ut_overrun is refused).
        items = [(zi.filename, zi.file_size, zi.CRC, zi.is_dir()) for zi in z.infolist()]
    with open(path + ".manifest", "w", encoding="utf-8", newline="\n") as m:
        for name, size, crc, is_dir in items:
            m.write("%s\t%d\t%d\t%d\n" % (name, size, crc, 1 if is_dir else 0))


def local_data_offset(data, zi):
    name_len, extra_len = struct.unpack_from("<HH", data, zi.header_offset + 26)
    return zi.header_offset + 30 + name_len + extra_len


def make_crc_bad(out):
    path = os.path.join(out, "crc_bad.zip")
    with zipfile.ZipFile(path, "w") as z:
        z.writestr(info("stored.txt", compress=zipfile.ZIP_STORED), b"stored data whose CRC will not match\n" * 20)
        z.writestr(info("deflated.txt"), b"deflated data whose CRC will not match\n" * 50)
        z.writestr(info("good.txt"), b"this one is fine\n")
    with zipfile.ZipFile(path) as z:
        infos = {zi.filename: zi for zi in z.infolist()}
    data = bytearray(open(path, "rb").read())
    # A flipped byte in stored data leaves the structure intact: only the CRC can tell.
    data[local_data_offset(data, infos["stored.txt"]) + 5] ^= 0x20
    # A deflated item whose CRC fields (local and central) are both wrong.
    zi = infos["deflated.txt"]
    struct.pack_into("<I", data, zi.header_offset + 14, zi.CRC ^ 0x1)
    cd = data.find(b"PK\x01\x02" + data[zi.header_offset + 4:zi.header_offset + 6])
    while cd >= 0:
        if struct.unpack_from("<I", data, cd + 42)[0] == zi.header_offset:
            struct.pack_into("<I", data, cd + 16, zi.CRC ^ 0x1)
            break
        cd = data.find(b"PK\x01\x02", cd + 4)
    open(path, "wb").write(data)


def make_damaged(out):
    src = open(os.path.join(out, "infozip_deflate.zip"), "rb").read()
    with zipfile.ZipFile(os.path.join(out, "infozip_deflate.zip")) as z:
        infos = {zi.filename: zi for zi in z.infolist()}
    write = lambda name, data: open(os.path.join(out, name), "wb").write(bytes(data))

    write("truncated.zip", src[: len(src) * 6 // 10])
    write("truncated_tail.zip", src[:-5])
    write("notazip.zip", b"This is a plain text file, not an archive.\n" * 10)
    write("empty.zip", b"")

    bad = bytearray(src)
    bad[infos["readme.txt"].header_offset + 3] = 0x05
    write("badsig.zip", bad)

    flipped = bytearray(src)
    zi = infos["skin/images/logo.png"]
    start = local_data_offset(flipped, zi)
    for k in range(8):
        flipped[start + zi.compress_size // 2 + k * 97] ^= 0xFF
    write("flipped.zip", flipped)

    # The central record of the second item loses its signature.
    cd = bytearray(src)
    first = cd.find(b"PK\x01\x02")
    second = cd.find(b"PK\x01\x02", first + 4)
    cd[second + 2] = 0x07
    write("cd_flipped.zip", cd)

    # An archive inside a larger file, after 1000 bytes of something else.
    write("embedded.bin", b"\xAA" * 1000 + src)


def local_ut_times(data, zi):
    """Modification and access time of the local header's "UT" block, -1 where absent."""
    name_len, extra_len = struct.unpack_from("<HH", data, zi.header_offset + 26)
    extra = data[zi.header_offset + 30 + name_len:zi.header_offset + 30 + name_len + extra_len]
    pos = 0
    while pos + 4 <= len(extra):
        tag, size = struct.unpack_from("<HH", extra, pos)
        if tag == 0x5455:
            body = extra[pos + 4:pos + 4 + size]
            times = [struct.unpack_from("<i", body, 1 + 4 * k)[0] for k in range((len(body) - 1) // 4)]
            wanted = [bit for bit in range(3) if body[0] & (1 << bit)]
            found = dict(zip(wanted, times))
            return found.get(0, -1), found.get(1, -1)
        pos += 4 + size
    return -1, -1


def write_manifest(path):
    data = open(path, "rb").read()
    with zipfile.ZipFile(path) as z, open(path + ".manifest", "w", encoding="utf-8", newline="\n") as m:
        for zi in z.infolist():
            mtime, atime = local_ut_times(data, zi)
            m.write("%s\t%d\t%d\t%d\t%d\t%d\n"
                    % (zi.filename, zi.file_size, zi.CRC, 1 if zi.is_dir() else 0, mtime, atime))


def make_streamed(out, tree, zip_tool):
    # Written to a pipe, zip cannot go back to fill in sizes: data descriptors follow each item.
    made = subprocess.run([zip_tool, "-q", "-r", "-", "skin", "readme.txt", "empty.txt"], cwd=tree,
                          stdout=subprocess.PIPE, check=True)
    with open(os.path.join(out, "infozip_streamed.zip"), "wb") as f:
        f.write(made.stdout)


def main():
    out, tree, zip_tool = sys.argv[1], sys.argv[2], sys.argv[3]
    make_streamed(out, tree, zip_tool)
    make_python(out, tree)
    make_crc_bad(out)
    make_damaged(out)
    for name in ("infozip_deflate.zip", "infozip_stored.zip", "infozip_password.zip", "infozip_streamed.zip"):
        write_manifest(os.path.join(out, name))
    open(os.path.join(out, "archives.stamp"), "w").write("ok\n")


if __name__ == "__main__":
    main()
