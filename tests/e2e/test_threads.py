"""The installer's threads under ThreadSanitizer (the native-tsan build): the main thread with both
downloads and the setup, the progress window's thread, and one thread per event, all busy at once.
An events server that answers late keeps every event thread alive while the steps go on; the
setup download is slow so that progress reports and the close request cross between the threads.
Any report of the sanitizer ends the program at once with exit code 66 (halt_on_error)."""

import os
import subprocess
import time

import harness
from harness import EventsServer, InstallerTest

DOCUMENT = "/zell/final-ms3/clientversioninfo.json"
SETUP = "/zell/final-ms3/QuillmereLoginSetup.exe"
SANITIZER_EXIT = 66
EVENT_TYPES = {"installer_started", "installer_system_information", "STUB_INSTALLER_STARTED",
               "installer_download_performed", "installer_client_download_start",
               "installer_client_downloaded", "installation_started", "installation_done",
               "installer_close"}


class Threads(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        self.machine.env["TSAN_OPTIONS"] = "halt_on_error=1 exitcode=%d second_deadlock_stack=1" \
            % SANITIZER_EXIT
        self.machine.setup_options(progress_steps=10, step_ms=50)
        self.stderr_path = os.path.join(self.folder, "stderr")

    def start(self):
        self.stderr = open(self.stderr_path, "w+b")
        self.addCleanup(self.stderr.close)
        return self.machine.start(harness.INSTALLER, cwd=self.folder, stderr=self.stderr)

    def assert_no_report(self, code):
        self.stderr.seek(0)
        err = self.stderr.read().decode("utf-8", "replace")
        self.assertNotIn("ThreadSanitizer", err)
        self.assertEqual(code, 0, err[-3000:])

    def events(self, server):
        return [e["body"] for e in server.events(self.machine.installation_id())]

    def test_a_first_installation_with_late_answers_to_every_event(self):
        self.downloads.faults({SETUP: {"mode": "slow", "rate": 2000000, "times": 1}})
        with EventsServer("PRODUCTION", "--delay", "0.3") as server:
            self.assert_no_report(self.start().wait(timeout=300))
            events = self.events(server)
        self.assertEqual({e["type"] for e in events}, EVENT_TYPES)
        close = next(e for e in events if e["type"] == "installer_close")
        self.assertEqual(close["error"], "success")
        self.assertEqual(len(self.machine.setup_runs()), 1)

    def test_the_user_closes_the_window_mid_download(self):
        self.downloads.faults({SETUP: {"mode": "slow", "rate": 100000, "times": 1}})
        with EventsServer("PRODUCTION", "--delay", "0.3") as server:
            process = self.start()
            self.assertTrue(harness.wait_for(
                lambda: any(r["path"] == SETUP for r in self.downloads.requests()), timeout=120))
            time.sleep(1)
            process.send_signal(2)  # SIGINT, the terminal's close request
            self.assert_no_report(process.wait(timeout=300))
            events = self.events(server)
        downloaded = next(e for e in events if e["type"] == "installer_client_downloaded")
        self.assertEqual((downloaded["download_method"], downloaded["curl_result"]),
                         ("windows", "42"))
        close = next(e for e in events if e["type"] == "installer_close")
        self.assertEqual(close["error"], "success")

    def test_a_failing_run_shows_its_error_while_events_are_pending(self):
        self.downloads.faults({DOCUMENT: {"mode": "404"}})
        with EventsServer("PRODUCTION", "--delay", "0.3") as server:
            self.assert_no_report(self.start().wait(timeout=300))
            events = self.events(server)
        close = next(e for e in events if e["type"] == "installer_close")
        self.assertEqual(close["error"], "ConnectionError")


if __name__ == "__main__":
    harness.main()
