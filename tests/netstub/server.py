#!/usr/bin/env python3
"""Stand-in web server: serves the rows of scenarios.tsv by path (also as a
proxy asked for an absolute URL), answers CONNECT with 502, and appends each
request (method, absolute URL, headers, body) to a log as a JSON line.
usage: server.py <port file> <request log>"""
import json, os, sys, threading, time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
LOCK = threading.Lock()


def body_of(spec):
    kind, _, value = spec.partition(":")
    if kind == "file":
        with open(os.path.join(REPO, value), "rb") as f:
            return f.read()
    return b"x" * int(value) if kind == "size" else value.encode() if kind == "text" else b""


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, body):
        url = self.path
        if self.command != "CONNECT" and "://" not in url:
            url = "http://%s%s" % (self.headers.get("Host", ""), url)
        url = url.replace(":80/", "/", 1) if url.startswith("http://") else url
        entry = {"method": self.command, "url": url, "headers": dict(self.headers),
                 "body": body.decode("latin-1")}
        with LOCK, open(LOG, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry) + "\n")

    def do_CONNECT(self):
        self.record(b"")
        self.send_response(502)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def serve(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.record(self.rfile.read(length))
        status, body, options = SCENARIOS.get(urlsplit(self.path).path, (404, "text:none", []))
        if "hang" in options:
            time.sleep(120)
            return
        data = body_of(body)
        self.send_response(status)
        declared = str(len(data))
        for key, _, value in (o.partition(":") for o in options):
            if key == "header":
                self.send_header(*value.split("=", 1))
            elif key == "location":
                self.send_header("Location", value)
            elif key == "length":
                declared = value
        if "nolength" in options or declared != str(len(data)):
            self.close_connection = True
        if "nolength" not in options:
            self.send_header("Content-Length", declared)
        self.end_headers()
        if self.command == "HEAD":
            return
        for i in range(len(data)) if "trickle" in options else []:
            self.wfile.write(data[i:i + 1])
            self.wfile.flush()
            time.sleep(1)
        if "trickle" not in options:
            self.wfile.write(data)

    do_GET = do_POST = do_HEAD = serve


if __name__ == "__main__":
    port_file, LOG = sys.argv[1], sys.argv[2]
    SCENARIOS = {}
    for line in open(os.path.join(HERE, "scenarios.tsv"), encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            path, status, body, options = line.rstrip("\n").split("\t")[:4]
            SCENARIOS[path] = (int(status), body, [] if options == "-" else options.split(","))
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    server.serve_forever()
