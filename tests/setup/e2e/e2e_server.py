#!/usr/bin/env python3
"""Loopback server for the installer's end-to-end tests.

Listens on fixed ports, because the installer under test has its download address
built in:
  --ok-port    HTTP on 127.0.0.1: serves --full-setup at the download path; below "/chunked"
               --signed-setup chunked, below "/chunked-cut" the same up to its certificate
               table without the last chunk
  --fail-port  HTTP on 127.0.0.1: announces the file's length, sends half and drops
  --tls-port   HTTPS on 127.0.0.1 (reached as localhost): like --ok-port; needs --cert/--key

Every request is logged to --log as "<seconds since the epoch> <port> <method> <path>".
Writes "ready" to --ready-file once all ports listen. Ends after --lifetime seconds.
"""
import argparse
import http.server
import os
import ssl
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import download_bodies  # noqa: E402

DOWNLOAD = "/openapi/download?ch=10009&app=50001"


def make_handler(port, mode, log, lock, body, signed=b""):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"
        timeout = 10

        def log_message(self, *args):
            pass

        def note(self, method):
            with lock:
                log.write(f"{time.time():.3f} {port} {method} {self.path}\n")
                log.flush()

        def send_file(self, data, length):
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(length))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            for at in range(0, len(data), 8192):
                self.wfile.write(data[at:at + 8192])
                self.wfile.flush()

        def do_HEAD(self):
            self.note("HEAD")
            self.send_error(405)

        def do_GET(self):
            self.note("GET")
            if mode == "ok" and signed and self.path == "/chunked" + DOWNLOAD:
                download_bodies.send_chunked(self.wfile, signed)
            elif mode == "ok" and signed and self.path == "/chunked-cut" + DOWNLOAD:
                cut = download_bodies.certificate_table_at(signed)
                download_bodies.send_chunked(self.wfile, signed[:cut], last_chunk=False)
                download_bodies.drop(self)
            elif self.path != DOWNLOAD:
                self.send_error(404)
            elif mode == "fail":
                self.send_file(body[: len(body) // 2], len(body))
                download_bodies.drop(self)
            else:
                self.send_file(body, len(body))

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ok-port", type=int, required=True)
    parser.add_argument("--fail-port", type=int, required=True)
    parser.add_argument("--tls-port", type=int, default=0)
    parser.add_argument("--full-setup", required=True)
    parser.add_argument("--signed-setup")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--log", required=True)
    parser.add_argument("--ready-file", required=True)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()

    body = open(args.full_setup, "rb").read()
    signed = open(args.signed_setup, "rb").read() if args.signed_setup else b""
    log = open(args.log, "a", encoding="utf-8")
    lock = threading.Lock()

    class Server(http.server.ThreadingHTTPServer):
        allow_reuse_address = True
        daemon_threads = True

    servers = [
        Server(("127.0.0.1", args.ok_port), make_handler(args.ok_port, "ok", log, lock, body, signed)),
        Server(("127.0.0.1", args.fail_port), make_handler(args.fail_port, "fail", log, lock, body)),
    ]
    if args.tls_port and args.cert and args.key:
        secure = Server(("127.0.0.1", args.tls_port), make_handler(args.tls_port, "ok", log, lock, body))
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        servers.append(secure)

    for server in servers:
        threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True).start()
    with open(args.ready_file + ".tmp", "w") as f:
        f.write("ready\n")
    os.replace(args.ready_file + ".tmp", args.ready_file)
    time.sleep(args.lifetime)


if __name__ == "__main__":
    main()
