"""Telemetry's mutual TLS with the build's credentials: the tls_request helper (libcurl with the
credential store's hook, as telemetry sets it up) asks a local server that requires a client
certificate, on the production events host and port of the build."""

import http.server
import os
import ssl
import threading

import harness

PKI = os.path.join(harness.BUILD_DIR, "pki")
EVENTS_HOST = harness.HOSTS["EVENTS_HOST_PRODUCTION"]
PORT = int(EVENTS_HOST.rsplit(":", 1)[1]) if ":" in EVENTS_HOST else 443


def pki(name):
    return os.path.join(PKI, name)


class Server:
    """An HTTPS server on 127.0.0.1:PORT with `certificate` that accepts only clients whose
    certificate `client_ca` issued; it answers every GET with the client's common name."""

    def __init__(self, certificate, client_ca):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(pki(certificate + ".crt.pem"), pki(certificate + ".private.pem"))
        context.verify_mode = ssl.CERT_REQUIRED
        context.load_verify_locations(pki(client_ca + ".crt.pem"))
        self.clients = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                subject = dict(part[0] for part in self.connection.getpeercert()["subject"])
                server.clients.append(subject["commonName"])
                body = subject["commonName"].encode("utf-8")
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        http.server.HTTPServer.allow_reuse_address = True
        self.httpd = http.server.HTTPServer(("127.0.0.1", PORT), Handler)
        self.httpd.socket = context.wrap_socket(self.httpd.socket, server_side=True)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join()


class MutualTls(harness.InstallerTest):
    def request(self):
        """(libcurl result, response body, messages) of one request from tls_request."""
        return self.machine.output(self.machine.helper("tls_request"), "https://%s/" % EVENTS_HOST)

    def test_the_programs_credentials_pass_a_server_that_requires_a_client_certificate(self):
        with harness.port_lock(PORT), Server("events-server", "ca") as server:
            result, body, err = self.request()
        self.assertEqual(result, 0, err)
        self.assertEqual(body, "Quillmere Installer")
        self.assertEqual(server.clients, ["Quillmere Installer"])

    def test_a_server_certificate_from_another_ca_is_refused(self):
        with harness.port_lock(PORT), Server("foreign-server", "ca") as server:
            result, body, err = self.request()
        self.assertEqual(result, 60, err)  # CURLE_PEER_FAILED_VERIFICATION
        self.assertEqual(server.clients, [])

    def test_a_server_that_trusts_another_ca_refuses_the_client(self):
        with harness.port_lock(PORT), Server("events-server", "foreign-ca") as server:
            result, body, err = self.request()
        self.assertNotIn(result, (0, 60, 99), err)
        self.assertEqual(server.clients, [])


if __name__ == "__main__":
    harness.main()
