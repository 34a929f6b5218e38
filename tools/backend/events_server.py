#!/usr/bin/env python3
"""The development events server: HTTPS on a loopback port with the development server
certificate, requiring a client certificate signed by the given CA. Every `POST /` with a JSON
body is appended as one JSON line to the events file ({"body", "subject", "time"}: the event, the
client certificate's subject, the arrival time in seconds since 1970) and answered with 200.

Modes for tests: --status N answers N instead of 200 (the event is still recorded); --delay S
answers after S seconds; --hold-first holds the first request without ever answering (later ones
are served); --never-answer holds every request; --close-at-once closes each connection as soon
as the request has arrived. The refused handshakes come from the certificates it is given: a
--cert of another CA than the client trusts, or a --ca that issued no client's certificate.
"""

import argparse
import json
import socket
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuillmereDevEvents/1.0"

    def log_message(self, *args):
        pass

    def do_POST(self):
        server = self.server
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length)
        with server.lock:
            server.count += 1
            number = server.count
        if server.args.close_at_once:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if server.args.never_answer or (server.args.hold_first and number == 1):
            server.record(self, body)
            time.sleep(3600)
            return
        server.record(self, body)
        if server.args.delay:
            time.sleep(server.args.delay)
        answer = b'{"status":"ok"}'
        self.send_response(server.args.status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(answer)))
        self.end_headers()
        self.wfile.write(answer)


class EventsServer(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, args):
        super().__init__((args.bind, args.port), Handler)
        self.args = args
        self.lock = threading.Lock()
        self.count = 0
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        context.load_verify_locations(args.ca)
        context.verify_mode = ssl.CERT_REQUIRED
        self.socket = context.wrap_socket(self.socket, server_side=True)

    def record(self, handler, body):
        try:
            event = json.loads(body)
        except ValueError:
            event = body.decode("utf-8", "replace")
        subject = dict(item[0] for item in handler.connection.getpeercert().get("subject", ()))
        line = json.dumps({"body": event, "subject": subject, "time": time.time()},
                          ensure_ascii=False)
        with self.lock, open(self.args.events, "a", encoding="utf-8") as out:
            out.write(line + "\n")

    def handle_error(self, request, client_address):
        pass  # refused handshakes (a client without a certificate) are no news here


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--cert", required=True, help="server certificate (PEM)")
    parser.add_argument("--key", required=True, help="its private key (PEM)")
    parser.add_argument("--ca", required=True, help="CA that signs client certificates (PEM)")
    parser.add_argument("--events", required=True, help="file the events are appended to")
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--delay", type=float, default=0)
    parser.add_argument("--hold-first", action="store_true")
    parser.add_argument("--never-answer", action="store_true")
    parser.add_argument("--close-at-once", action="store_true")
    args = parser.parse_args()
    server = EventsServer(args)
    print("listening on %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
