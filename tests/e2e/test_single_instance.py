"""The single-instance lock under load: twenty copies of the installer released at the same moment
on one machine. Exactly one takes the lock and installs and opens the client; the nineteen others
end with "SingleInstanceOnly", each reporting it in its closing event (and natively on its
standard error)."""

import os
import subprocess
import tempfile
import time
import uuid

import harness
from harness import ON_WINE, EventsServer, InstallerTest

COPIES = 20
SINGLE_INSTANCE = ("The Quillmere Installer has already been launched.\n"
                   "Please try again later or restart your computer.")
MAIN_KEY = "SOFTWARE\\Quillworks\\QuillmereClient\\MainApp"
WM_CLOSE = 0x10
# Each copy waits at the gate in a shell that polls for the gate file this often (seconds).
GATE_POLL = "0.005"


class TwentyCopies(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        # The copies that find the lock stop before the identifier is made: one is stored already,
        # so every closing event can be told apart from other test runs' on this machine.
        self.installation_id = str(uuid.uuid4())
        self.machine.reg_add("HKCU", MAIN_KEY, "InstallationId", self.installation_id)
        self.addCleanup(self.machine.reg_delete, "HKCU", MAIN_KEY)
        # No log: each run starts the log file anew, so twenty would only overwrite each other.
        self.cwd = self.folder

    def start_at_the_gate(self, count):
        """Starts `count` copies that each wait for one gate file, opens the gate once all wait and
        returns the processes with their standard error files."""
        gate = os.path.join(self.folder, "gate")
        script = ('touch "$1"; while [ ! -e "$2" ]; do sleep %s; done; shift 2; exec "$@"'
                  % GATE_POLL)
        copies = []
        for number in range(count):
            ready = os.path.join(self.folder, "ready.%d" % number)
            err = tempfile.TemporaryFile(dir=self.folder)
            self.addCleanup(err.close)
            process = subprocess.Popen(
                ["sh", "-c", script, "sh", ready, gate] + self.machine.command(harness.INSTALLER),
                cwd=self.cwd, env=self.machine.env, stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=err)
            copies.append((process, err, ready))
        self.assertTrue(harness.wait_for(lambda: all(os.path.exists(c[2]) for c in copies),
                                         timeout=60))
        open(gate, "w").close()
        return copies

    def closing_events(self, server):
        return [e["body"]["error"] for e in server.events(self.installation_id)
                if e["body"]["type"] == "installer_close"]

    def test_exactly_one_of_twenty_copies_started_at_once_proceeds(self):
        with EventsServer() as server:
            copies = self.start_at_the_gate(COPIES)
            try:
                # Every copy has reported its end before it waits for the user (Wine: the
                # nineteen show the error until their windows are closed).
                self.assertTrue(harness.wait_for(
                    lambda: len(self.closing_events(server)) == COPIES, timeout=240),
                    self.closing_events(server))
                if ON_WINE:
                    self.close_error_windows(copies)
                codes = [process.wait(timeout=120) for process, _, _ in copies]
            finally:
                for process, err, _ in copies:
                    if process.poll() is None:
                        process.kill()
                        process.wait()
            closing = self.closing_events(server)
        self.assertEqual(codes, [0] * COPIES)
        self.assertEqual(sorted(closing), ["SingleInstanceOnly"] * (COPIES - 1) + ["success"])
        if not ON_WINE:
            refused = 0
            for _, err, _ in copies:
                err.seek(0)
                refused += SINGLE_INSTANCE in err.read().decode("utf-8", "replace")
            self.assertEqual(refused, COPIES - 1)
        # The one copy that proceeded installed and opened the client once.
        self.assertEqual(len(self.machine.setup_runs()), 1)
        self.assertTrue(harness.wait_for(self.machine.client_launches, timeout=30))
        self.assertEqual(self.machine.client_launches(), ["qmclient://start"])

    def close_error_windows(self, copies):
        """Closes the windows that wait for the user, as the user would, until every copy ended."""
        deadline = time.monotonic() + 120
        while any(p.poll() is None for p, _, _ in copies) and time.monotonic() < deadline:
            self.machine.probe("post-all", "Quillmere Installer", str(WM_CLOSE), "0", "0")
            harness.wait_for(lambda: all(p.poll() is not None for p, _, _ in copies), timeout=5)


if __name__ == "__main__":
    harness.main()
