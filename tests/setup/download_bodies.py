#!/usr/bin/env python3
"""What the loopback download servers send besides plain files.

signed_like() turns a program into one that looks signed: data appended after its sections
and a certificate table last, named by its security directory. The table holds no real
signature (only its place is ever checked), and a copy cut anywhere after the sections still
starts. send_chunked() and send_until_close() send a body without a length, whole or cut;
drop() ends a connection early.

As a script: download_bodies.py PROGRAM OUT writes signed_like(PROGRAM) to OUT.
"""
import socket
import struct
import sys

TABLE_SIZE = 2048
CHUNK = 16384


def _security_entry(program):
    pe = struct.unpack_from("<I", program, 0x3C)[0]
    if program[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE program")
    optional = pe + 24
    magic = struct.unpack_from("<H", program, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    return directories + 4 * 8  # entry 4: the certificate table, as file offset and size


def signed_like(program, appended=512 * 1024):
    entry = _security_entry(program)
    if struct.unpack_from("<II", program, entry) != (0, 0):
        raise ValueError("already signed")
    body = bytearray(program)
    body += bytes((i * 7 + 3) % 251 for i in range(appended))
    body += bytes(-len(body) % 8)
    table_at = len(body)
    # WIN_CERTIFICATE: length, revision 2, PKCS#7 signed data, then the (dummy) signature.
    body += struct.pack("<IHH", TABLE_SIZE, 0x0200, 0x0002) + bytes(TABLE_SIZE - 8)
    struct.pack_into("<II", body, entry, table_at, TABLE_SIZE)
    return bytes(body)


def certificate_table_at(program):
    """File offset of the program's certificate table, or its length when it has none."""
    at, size = struct.unpack_from("<II", program, _security_entry(program))
    return at if size else len(program)


def drop(handler):
    """Ends the handler's connection at once, as a host that goes away ends it."""
    handler.close_connection = True
    try:
        handler.connection.shutdown(socket.SHUT_RDWR)
    except OSError:
        pass


def _head(wfile, extra):
    wfile.write(("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                 "Cache-Control: no-store\r\nConnection: close\r\n" + extra + "\r\n").encode())


def send_chunked(wfile, body, last_chunk=True):
    """Chunked transfer of body; without last_chunk it ends where the caller closes."""
    _head(wfile, "Transfer-Encoding: chunked\r\n")
    for at in range(0, len(body), CHUNK):
        part = body[at:at + CHUNK]
        wfile.write(b"%x\r\n" % len(part) + part + b"\r\n")
        wfile.flush()
    if last_chunk:
        wfile.write(b"0\r\n\r\n")
    wfile.flush()


def send_until_close(wfile, body):
    """Neither length nor chunking: the body ends where the caller closes the connection."""
    _head(wfile, "")
    for at in range(0, len(body), CHUNK):
        wfile.write(body[at:at + CHUNK])
        wfile.flush()


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        program = f.read()
    with open(sys.argv[2], "wb") as f:
        f.write(signed_like(program))
