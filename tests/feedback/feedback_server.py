#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Loopback stand-in for the feedback service, used by the tests and benchmarks.

Reads multipart bodies with Python's own `email` package (an independent reader) and answers with
what it received as JSON. The request path picks the behaviour:
  /status/<code>/...  answer with that status code
  /redirect/<code>/... answer with that status code and a Location: /landed (recorded like any request)
  /close/...          read the request, then close the connection without an answer
  /delay/<s>/...      wait that many seconds before answering
  /binary/...         answer with a body that is not UTF-8
  /short/...          announce a longer body than is sent, then close the connection
  /stall/...          send the headers and the start of the body, then nothing until the client leaves
  /discard/...        read the body, answer only its size and SHA-256 (no parsing)
  /received           the reports of every earlier request, oldest first (not itself recorded)
Prints "PORT <n>" once listening on 127.0.0.1.
"""
import argparse
import base64
import email.parser
import email.policy
import hashlib
import json
import os
import socket
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SMALL = 1 << 20
RECEIVED = []
RECEIVED_LOCK = threading.Lock()


def describe_part(part):
    data = part.get_payload(decode=True) or b""
    entry = {
        "header_names": list(part.keys()),
        "name": part.get_param("name", header="content-disposition"),
        "filename": part.get_filename(),
        "content_type": part.get("Content-Type"),
        "size": len(data),
        "sha256": hashlib.sha256(data).hexdigest(),
    }
    if len(data) <= SMALL:
        entry["data_base64"] = base64.b64encode(data).decode("ascii")
    return entry


def parse_multipart(content_type, body):
    message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(
        b"Content-Type: " + content_type.encode("latin-1") + b"\r\n\r\n" + body)
    if not message.is_multipart():
        return None
    return {
        "boundary": message.get_boundary(),
        "defects": [type(d).__name__ for d in message.defects],
        "parts": [describe_part(p) for p in message.iter_parts()],
    }


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def read_body(self):
        remaining = int(self.headers.get("Content-Length", "0"))
        chunks = []
        while remaining > 0:
            chunk = self.rfile.read(min(remaining, SMALL))
            if not chunk:
                break
            chunks.append(chunk)
            remaining -= len(chunk)
        return b"".join(chunks)

    def answer(self, status, body, content_type="application/json"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("X-Test-Server", "loopback")
        self.end_headers()
        self.wfile.write(body)

    def send_partial_body(self, stall):
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", "1000")
        self.end_headers()
        self.wfile.write(b'{"partial": ')
        self.wfile.flush()
        self.close_connection = True
        if stall:
            # Blocks until the client gives up and closes its end (bounded, so no thread is left behind).
            self.connection.settimeout(120)
            try:
                self.connection.recv(1)
            except OSError:
                pass
        else:
            self.connection.shutdown(socket.SHUT_RDWR)

    def handle_any(self):
        body = self.read_body()
        segments = self.path.split("?")[0].split("/")
        if self.path == "/received":
            with RECEIVED_LOCK:
                self.answer(200, json.dumps(RECEIVED).encode("utf-8"))
            return
        if "close" in segments:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if "short" in segments or "stall" in segments:
            self.send_partial_body(stall="stall" in segments)
            return
        status = 200
        if len(segments) > 2 and segments[1] == "redirect":
            self.record(body)
            self.send_response(int(segments[2]))
            self.send_header("Location", "/landed")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if len(segments) > 2 and segments[1] == "status":
            status = int(segments[2])
        if len(segments) > 2 and segments[1] == "delay":
            time.sleep(float(segments[2]))
        if "binary" in segments:
            self.answer(status, b"\xff\xfe\xfd not utf-8", "application/octet-stream")
            return
        if "discard" in segments:
            report = {"size": len(body), "sha256": hashlib.sha256(body).hexdigest()}
            with RECEIVED_LOCK:
                RECEIVED.append(report)
        else:
            report = self.record(body)
        self.answer(status, json.dumps(report).encode("utf-8"))

    def record(self, body):
        report = {
            "request_line": self.requestline,
            "method": self.command,
            "path": self.path,
            "headers": [[k, v] for k, v in self.headers.items()],
            "body_size": len(body),
            "multipart": parse_multipart(self.headers.get("Content-Type", ""), body),
        }
        with RECEIVED_LOCK:
            RECEIVED.append(report)
        return report

    do_GET = do_POST = do_PUT = do_DELETE = handle_any


def exit_with_parent():
    # A test that crashes must not leave its server behind.
    parent = os.getppid()
    while True:
        time.sleep(0.5)
        if os.getppid() != parent:
            os._exit(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls[0], args.tls[1])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=exit_with_parent, daemon=True).start()
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
