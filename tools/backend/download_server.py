#!/usr/bin/env python3
"""The development download server: the update channels' version documents and the client setup,
served from a content folder over plain HTTP with the content delivery network's cache headers,
and fault modes per path so that tests can try every way a download can go wrong.

Control (for tests), on the same port:
  POST /__faults   {"/zell/final-ms3/clientversioninfo.json": {"mode": "404", "times": 1}, ...}
                   sets the faults (replacing earlier ones); "times" counts the requests that
                   get the fault (absent or -1: every request); "seconds" is the pause of
                   "delay", "rate" the bytes per second of "slow" (and of "nolength", which
                   otherwise sends at once).
  GET  /__requests the requests served so far: [{"path", "pragma", "agent", "fault"}, ...]
  POST /__reset    forgets faults and requests.

Fault modes: 404, 302, 500 (that status, small body; a 302 points at the same path with
"?moved=1", which is served without faults); drop (the connection closes halfway through
the body); nolength (no Content-Length, the end of the body is the end of the connection); short
(a Content-Length larger than the body); trickle (the body at 10 bytes per second); notjson (a
body that is no JSON); nofull (a version document without "full"); hang (headers, then nothing).
"""

import argparse
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MODES = {"404", "302", "500", "drop", "nolength", "short", "trickle", "notjson", "nofull", "hang",
         "delay", "slow"}
X_CACHE = "TCP_MISS from a184-50-92-7.deploy.akamaitechnologies.example (AkamaiGHost/10.2.4-5) (-)"
X_CACHE_REMOTE = "TCP_HIT from a23-1-2-3.deploy.akamaitechnologies.example (AkamaiGHost/10.2.4-5) (-)"


class State:
    def __init__(self, root):
        self.root = os.path.abspath(root)
        self.lock = threading.Lock()
        self.faults = {}
        self.requests = []

    def take_fault(self, path):
        """The fault (its mode and settings) for this request of `path`, or None; counts the
        request."""
        with self.lock:
            fault = self.faults.get(path)
            if not fault or fault.get("times", -1) == 0:
                return None
            if fault.get("times", -1) > 0:
                fault["times"] -= 1
            return dict(fault)

    def record(self, path, headers, fault):
        with self.lock:
            self.requests.append({"path": path, "pragma": headers.get("Pragma", ""),
                                  "agent": headers.get("User-Agent", ""),
                                  "fault": fault["mode"] if fault else None})


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuillmereDevCDN/1.0"

    def log_message(self, *args):
        pass

    # Control.

    def do_POST(self):
        state = self.server.state
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        if self.path == "/__faults":
            faults = json.loads(body or b"{}")
            if any(f.get("mode") not in MODES for f in faults.values()):
                return self.reply(400, b"unknown fault mode\n")
            with state.lock:
                state.faults = faults
            return self.reply(200, b"ok\n")
        if self.path == "/__reset":
            with state.lock:
                state.faults, state.requests = {}, []
            return self.reply(200, b"ok\n")
        self.reply(404, b"not found\n")

    def reply(self, status, body, content_type="text/plain", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    # Downloads.

    def do_GET(self):
        state = self.server.state
        path, _, query = self.path.partition("?")
        if path == "/__requests":
            with state.lock:
                body = json.dumps(state.requests).encode()
            return self.reply(200, body, "application/json")
        # The target of a 302 fault is served plainly: the file moved once, it did not vanish.
        settings = None if query == "moved=1" else state.take_fault(path)
        state.record(path, self.headers, settings)
        fault = settings["mode"] if settings else None
        if fault == "delay":
            time.sleep(float(settings.get("seconds", 2)))
            fault = None
        if fault in ("404", "500"):
            return self.reply(int(fault), b"<html><body>error %s</body></html>\n" % fault.encode(),
                              "text/html")
        if fault == "302":
            return self.reply(302, b"moved\n", extra=[("Location", path + "?moved=1")])
        if fault == "notjson":
            return self.send_body(b"this is not a version document\n", None)
        if fault == "nofull":
            return self.send_body(b'{"version": "2.10.0"}\n', None)
        data = self.read_content(path)
        if data is None:
            return self.reply(404, b"<html><body>not found</body></html>\n", "text/html")
        self.send_body(data, fault, settings)

    def read_content(self, path):
        full = os.path.normpath(os.path.join(self.server.state.root, path.lstrip("/")))
        if not full.startswith(self.server.state.root + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as content:
            return content.read()

    def send_body(self, data, fault, settings=None):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("x-cache", X_CACHE)
        self.send_header("X-Cache-Remote", X_CACHE_REMOTE)
        if fault == "nolength":
            self.send_header("Connection", "close")
        elif fault == "short":
            self.send_header("Content-Length", str(len(data) + 100))
        else:
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if fault == "drop":
            self.wfile.write(data[: len(data) // 2])
            self.wfile.flush()
            self.close_connection = True
            return
        if fault == "trickle":
            for i in range(len(data)):
                self.wfile.write(data[i:i + 1])
                self.wfile.flush()
                time.sleep(0.1)
            return
        if fault == "slow" or (fault == "nolength" and "rate" in settings):
            rate = max(1, int(settings.get("rate", 65536)))
            chunk = max(1, rate // 10)
            for start in range(0, len(data), chunk):
                self.wfile.write(data[start:start + chunk])
                self.wfile.flush()
                time.sleep(0.1)
            if fault == "nolength":
                self.close_connection = True
            return
        if fault == "hang":
            self.wfile.flush()
            time.sleep(3600)
            return
        self.wfile.write(data)
        if fault in ("nolength", "short"):
            self.close_connection = True


class DownloadServer(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # clients that give up halfway (the tests make them) are no news here


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--root", required=True, help="folder whose files are served")
    args = parser.parse_args()
    server = DownloadServer((args.bind, args.port), Handler)
    server.state = State(args.root)
    print("listening on %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
