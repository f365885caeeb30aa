#!/usr/bin/env python3
"""Loopback download server for the downloader tests.

Serves on 127.0.0.1 (HTTP) and, with --cert/--key, on localhost (HTTPS). Writes
"http_port https_port closed_port" to --port-file once listening, logs every request
line to --log, and ends by itself after --lifetime seconds or --max-requests requests.

The payload is the file given by --payload: a program that looks signed (download_bodies.py).
Paths (each with the query "ch=10009&app=50001"):
  /openapi/download             the payload
  /flaky/openapi/download       drops the connection for the first two requests, then the payload
  /broken/openapi/download      announces the payload's length, sends half of it and drops
  /fullsetup/openapi/download   the file given by --full-setup
  /chunked/openapi/download     the payload chunked, with its last chunk
  /chunked-cut/openapi/download the payload chunked up to its certificate table, then drops
  /close-cut/openapi/download   no length, no chunking: up to its certificate table, then drops
  /signin/openapi/download      an HTML sign-in page, status 200
  /endless/openapi/download     the full setup followed by data without end, at about 30 MB/s
  /flood/openapi/download       the same as fast as it goes
Endless bodies stop by themselves after ENDLESS_LIMIT bytes.
"""
import argparse
import http.server
import socket
import ssl
import threading
import time

import download_bodies

QUERY = "ch=10009&app=50001"
ENDLESS_LIMIT = 64 << 20
SIGN_IN = (b"<!DOCTYPE html>\r\n<html><head><title>Sign in</title></head><body>"
           b"<form method=\"post\" action=\"/login\"><input name=\"user\"></form></body></html>\r\n")


class State:
    def __init__(self, args):
        self.lock = threading.Lock()
        self.counts = {}
        self.total = 0
        self.log = open(args.log, "a", buffering=1, encoding="utf-8")
        self.full_setup = open(args.full_setup, "rb").read() if args.full_setup else b""
        self.payload = open(args.payload, "rb").read()
        self.table_at = download_bodies.certificate_table_at(self.payload)
        self.deadline = time.monotonic() + args.lifetime
        self.max_requests = args.max_requests

    def note(self, line):
        with self.lock:
            self.total += 1
            self.counts[line] = self.counts.get(line, 0) + 1
            self.log.write(line + "\n")
            return self.counts[line]

    def alive(self):
        with self.lock:
            return time.monotonic() < self.deadline and self.total < self.max_requests


def make_handler(state):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"
        timeout = 10

        def log_message(self, *args):
            pass

        def send_endless(self, pause):
            download_bodies.send_until_close(self.wfile, state.full_setup)
            block = bytes(65536)
            try:
                for _ in range(ENDLESS_LIMIT // len(block)):
                    self.wfile.write(block)
                    if pause:
                        time.sleep(pause)
            except OSError:
                pass  # the client gave up
            download_bodies.drop(self)

        def send_body(self, body, length=None, content_type="application/octet-stream"):
            self.send_response(200)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body) if length is None else length))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            for at in range(0, len(body), 16384):
                self.wfile.write(body[at:at + 16384])
                self.wfile.flush()

        def do_GET(self):
            seen = state.note("GET " + self.path)
            path, _, query = self.path.partition("?")
            if query != QUERY:
                self.send_error(404)
            elif path == "/openapi/download":
                self.send_body(state.payload)
            elif path == "/flaky/openapi/download":
                if seen <= 2:
                    download_bodies.drop(self)
                else:
                    self.send_body(state.payload)
            elif path == "/broken/openapi/download":
                self.send_body(state.payload[: len(state.payload) // 2], length=len(state.payload))
                download_bodies.drop(self)
            elif path == "/fullsetup/openapi/download":
                self.send_body(state.full_setup)
            elif path == "/chunked/openapi/download":
                download_bodies.send_chunked(self.wfile, state.payload)
            elif path == "/chunked-cut/openapi/download":
                download_bodies.send_chunked(self.wfile, state.payload[: state.table_at], last_chunk=False)
                download_bodies.drop(self)
            elif path == "/close-cut/openapi/download":
                download_bodies.send_until_close(self.wfile, state.payload[: state.table_at])
                download_bodies.drop(self)
            elif path == "/signin/openapi/download":
                self.send_body(SIGN_IN, content_type="text/html; charset=utf-8")
            elif path == "/endless/openapi/download":
                self.send_endless(0.002)
            elif path == "/flood/openapi/download":
                self.send_endless(0)
            else:
                self.send_error(404)

    return Handler


def serve(server, state):
    server.timeout = 0.25
    while state.alive():
        server.handle_request()
    server.server_close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--full-setup")
    parser.add_argument("--payload", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--lifetime", type=float, default=240)
    parser.add_argument("--max-requests", type=int, default=200)
    args = parser.parse_args()
    state = State(args)

    servers = [http.server.HTTPServer(("127.0.0.1", 0), make_handler(state))]
    https_port = 0
    if args.cert and args.key:
        secure = http.server.HTTPServer(("127.0.0.1", 0), make_handler(state))
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        https_port = secure.server_address[1]
        servers.append(secure)

    # A port that was just free: connections to it are refused.
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    closed_port = probe.getsockname()[1]
    probe.close()

    with open(args.port_file + ".tmp", "w") as f:
        f.write(f"{servers[0].server_address[1]} {https_port} {closed_port}\n")
    import os
    os.replace(args.port_file + ".tmp", args.port_file)

    threads = [threading.Thread(target=serve, args=(s, state), daemon=True) for s in servers]
    for t in threads:
        t.start()
    for t in threads:
        t.join(args.lifetime + 5)


if __name__ == "__main__":
    main()
