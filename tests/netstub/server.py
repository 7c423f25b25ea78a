#!/usr/bin/env python3
# server.py <port file> <request log>: serves the rows of scenarios.tsv by path (also
# as a proxy), CONNECT with 502; logs each request (method, URL, headers, body) as JSON.
import json, os, sys, threading, time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import urlsplit

HERE = os.path.dirname(os.path.abspath(__file__))
LOCK = threading.Lock()


def body_of(spec):
    kind, _, value = spec.partition(":")
    if kind == "file":
        with open(os.path.join(HERE, "..", "..", value), "rb") as f:
            return f.read()
    return b"x" * int(value) if kind == "size" else value.encode() if kind == "text" else b""


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True  # small answers go out at once
    log_message = lambda *args: None

    def serve(self):
        body = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        url = self.path
        if self.command != "CONNECT" and "://" not in url:
            url = "http://%s%s" % (self.headers.get("Host", ""), url)
        with LOCK, open(LOG, "a", encoding="utf-8") as f:
            f.write(json.dumps({"method": self.command, "url": url.replace(":80/", "/", 1),
                                "headers": dict(self.headers), "body": body.decode("latin-1")}) + "\n")
        status, spec, options = SCENARIOS.get(urlsplit(self.path).path, (404, "text:none", []))
        if self.command == "CONNECT":
            status, spec, options = 502, "-", []
        if "hang" in options:
            return time.sleep(120)
        if "trickleheaders" in options:  # a status line, then a header byte a second
            self.wfile.write(b"HTTP/1.1 200 OK\r\n")
            for _ in range(60):
                self.wfile.write(b"X")
                self.wfile.flush()
                time.sleep(1)
            return
        if "drop" in options:  # a receiver that takes the request and answers nothing
            self.close_connection = True
            return
        data = body_of(spec)
        self.send_response(status)
        declared = str(len(data))
        for key, _, value in (o.partition(":") for o in options):
            if key in ("header", "location"):
                self.send_header(*(value.split("=", 1) if key == "header" else ("Location", value)))
            declared = value if key == "length" else declared
        self.close_connection = "nolength" in options or declared != str(len(data))
        if "nolength" not in options:
            self.send_header("Content-Length", declared)
        self.end_headers()
        if self.command == "HEAD":
            return
        for chunk in [data[i:i + 1] for i in range(len(data))] if "trickle" in options else [data]:
            self.wfile.write(chunk)
            self.wfile.flush()
            time.sleep(1 if "trickle" in options else 0)

    do_GET = do_POST = do_HEAD = do_CONNECT = serve


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
