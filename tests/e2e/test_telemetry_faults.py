"""Telemetry never changes a run: a first installation against every way the events server can
fail (absent, one request never answered, error answers, a server certificate of another CA, a
server that refuses the installer's client certificate) ends as it does with a server that
answers: the same log outcome, one setup run, the same client launch, in bounded time."""

import os
import re
import time

import harness
from harness import ON_WINE, EventsServer, InstallerTest

# (name, events server options and certificates; None: no server, whether events arrive)
FAULTS = [
    ("down", None, False),
    ("one request never answered", {"options": ["--hold-first"]}, True),
    ("answering 500", {"options": ["--status", "500"]}, True),
    ("a certificate of another CA", {"certificate": "foreign-server"}, False),
    ("refusing the client certificate", {"client_ca": "foreign-ca"}, False),
]
# A held request keeps the send handle for its 30 s transfer limit; nothing else may add much.
RUN_LIMIT = 100


def messages(lines):
    return [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]


class TelemetryFaults(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        self.cwd = self.with_log_marker()
        self.program = self.tagged_installer("inj-telemetry") if ON_WINE else harness.INSTALLER

    def first_installation(self):
        """A first installation from a clean machine; returns what the user and the back end see
        of it: the log's errors, its last lines, the setup runs and the client launches."""
        self.machine.forget_client()
        self.machine.forget_log()
        for name in ("QuillmereLoginSetup.runs", "QuillmereLoginSetup.exe"):
            try:
                os.remove(os.path.join(self.machine.temp, name))
            except FileNotFoundError:
                pass
        started = time.monotonic()
        self.assertEqual(self.run_installer(cwd=self.cwd, program=self.program,
                                            timeout=RUN_LIMIT + 20), 0)
        elapsed = time.monotonic() - started
        self.assertLess(elapsed, RUN_LIMIT)
        # What telemetry logs itself (a line per answered event) is left out.
        log = [line for line in messages(self.machine.log_lines())
               if not line.startswith("Sent event:")]
        harness.wait_for(self.machine.client_launches, timeout=30)
        return {"errors": [line for line in log if line.startswith("ERROR")],
                "started": [line for line in log if line.startswith("Starting client: ")],
                "end": log[-2:], "setup runs": len(self.machine.setup_runs()),
                "launches": self.machine.client_launches()}

    def test_every_server_fault_leaves_the_run_as_it_is(self):
        with EventsServer() as server:
            reference = self.first_installation()
            self.assertTrue(server.events(self.machine.installation_id()))
        self.assertEqual(reference["errors"], [])
        self.assertEqual(reference["setup runs"], 1)
        self.assertEqual(len(reference["launches"]), 1)
        self.assertEqual(reference["end"], ["Waiting for events being sent.", "Quitting"])
        _, port = harness.events_address("PRODUCTION")
        for name, server_settings, delivered in FAULTS:
            with self.subTest(name):
                if server_settings is None:
                    with harness.port_lock(port):
                        outcome = self.first_installation()
                else:
                    with EventsServer("PRODUCTION", *server_settings.get("options", []),
                                      **{k: v for k, v in server_settings.items()
                                         if k != "options"}) as server:
                        outcome = self.first_installation()
                        events = server.events(self.machine.installation_id())
                    self.assertEqual(bool(events), delivered)
                self.assertEqual(outcome, reference)


if __name__ == "__main__":
    harness.main()
