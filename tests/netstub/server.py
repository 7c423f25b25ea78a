#!/usr/bin/env python3
"""Stand-in web server for the installer's network tests.

Serves the rows of scenarios.tsv by path (also when asked as a proxy with an
absolute URL), answers CONNECT with 502, and appends every request to a log
as one JSON line: method, absolute URL, headers, body.

usage: server.py <port file> <request log>
"""
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))


def load_scenarios():
    rows = {}
    with open(os.path.join(HERE, "scenarios.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            path, status, body, options = line.rstrip("\n").split("\t")[:4]
            rows[path] = (int(status), body, options.split(",") if options != "-" else [])
    return rows


def body_of(spec):
    kind, _, value = spec.partition(":")
    if kind == "size":
        return b"x" * int(value)
    if kind == "text":
        return value.encode()
    if kind == "file":
        with open(os.path.join(REPO, value), "rb") as f:
            return f.read()
    return b""


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    scenarios = {}
    log_lock = threading.Lock()
    log_path = ""

    def log_message(self, *args):
        pass

    def record(self, body):
        host = self.headers.get("Host", "")
        if self.command == "CONNECT" or "://" in self.path:
            url = self.path
        else:
            url = "http://%s%s" % (host, self.path)
        entry = {"method": self.command, "url": url, "headers": dict(self.headers),
                 "body": body.decode("latin-1")}
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry) + "\n")

    def do_CONNECT(self):
        self.record(b"")
        self.send_response(502)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def serve(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.record(self.rfile.read(length) if length else b"")
        path = urlsplit(self.path).path
        if path not in self.scenarios:
            status, body, options = 404, "text:no such scenario", []
        else:
            status, body, options = self.scenarios[path]
        if "hang" in options:
            time.sleep(120)
            return
        data = body_of(body)
        self.send_response(status)
        for option in options:
            key, _, value = option.partition(":")
            if key == "header":
                name, _, text = value.partition("=")
                self.send_header(name, text)
            elif key == "location":
                self.send_header("Location", value)
        if "nolength" in options:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            declared = [o for o in options if o.startswith("length:")]
            self.send_header("Content-Length", declared[0][7:] if declared else str(len(data)))
            if declared:
                self.close_connection = True
        self.end_headers()
        if self.command == "HEAD":
            return
        if "trickle" in options:
            for i in range(len(data)):
                self.wfile.write(data[i:i + 1])
                self.wfile.flush()
                time.sleep(1)
            return
        self.wfile.write(data)

    do_GET = do_POST = do_HEAD = serve


def main():
    port_file, Handler.log_path = sys.argv[1], sys.argv[2]
    Handler.scenarios = load_scenarios()
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    tmp = port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(tmp, port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
