"""Every fault mode of the development download server, for both downloads of a run, against the
whole installer built with the download engine's smaller test limits (tests/helpers/
SmallDownloadLimits.cpp: two libcurl attempts, two system attempts, a transfer below 30 bytes per
second abandoned after 2 s). Each mode must give the outcome that the engine's rules give: how
many libcurl transfers reach the server, which of them are measured, whether the system
downloader is asked, how the run ends; nothing hangs, and no partial setup is ever run."""

import os
import time

import harness
from harness import ON_WINE, EventsServer, InstallerTest

DOCUMENT = "/zell/final-ms3/clientversioninfo.json"
SETUP = "/zell/final-ms3/QuillmereLoginSetup.exe"
CURL_ATTEMPTS = 2
# No run may take longer: the longest legitimate one is two abandoned 2 s transfers, the system
# downloader and the setup.
RUN_LIMIT = 60


class Case:
    """One fault mode and what the engine's rules make of it.

    curl: libcurl transfers that reach the server; measured: the response codes of the
    "installer_download_performed" events (one per transfer that libcurl completed); system: how
    many requests the system downloader makes (an int, or a (least, most) range; the fallback's
    own retries are its business); error: the run's closing key ("success" when it went through);
    method: for the setup, who delivered it and the last results, as "installer_client_downloaded"
    reports them. `wine` overrides fields where Windows' own downloader behaves differently from
    its POSIX stand-in (wget)."""

    def __init__(self, mode, curl, measured, system, error, method=None, fault=None, wine=None):
        self.mode, self.curl, self.measured, self.system = mode, curl, measured, system
        self.error, self.method = error, method
        self.fault = dict(fault or {}, mode=mode)
        if ON_WINE:
            for name, value in (wine or {}).items():
                setattr(self, name, value)


def matrix(download, size):
    """The table for `download` ("document" or "setup", a file of `size` bytes)."""
    # A document the run cannot read is an unknown error; a setup that is no program could not
    # install. Either way the file itself came through whole.
    unreadable = "UnknownError" if download == "document" else "CouldNotInstall"
    by_curl = ("curl", "0", "0")
    return [
        # An error status: one measured transfer, straight to the fallback, which natively reports
        # "not found" (a connection error); Windows' downloader takes the error page as the file.
        Case("404", 1, ["404"], 1, "ConnectionError", wine={"error": unreadable}),
        Case("500", 1, ["500"], 1, "ConnectionError", wine={"error": unreadable}),
        # A redirect is a failure status too: one measured transfer, then the fallback, which the
        # server answers normally. (A server that redirects in a circle for good keeps Wine's
        # downloader going round without end: the system downloader's own limits decide there.)
        Case("302", 1, ["302"], 1, "success", ("windows", "78", "0"), fault={"times": 1}),
        # A body cut off: no transfer completes; every attempt of both downloaders fails.
        Case("drop", CURL_ATTEMPTS, [], (1, 2), "DownloadFailed"),
        Case("short", CURL_ATTEMPTS, [], (1, 2), "DownloadFailed"),
        # No length, over 1.5 s: libcurl completes (and measures) each transfer, but the reports
        # passed on did not show the whole file, so it is repeated (a transfer done within one
        # report interval would pass). wget then takes the file; Windows' downloader reports an
        # end of data short of its unknown maximum, which counts as a failed attempt.
        Case("nolength", CURL_ATTEMPTS, ["200", "200"], 1, "success",
             ("windows", "56", "0"), fault={"rate": max(100, int(size / 1.5))},
             wine={"system": 2, "error": "DownloadFailed", "method": None}),
        # Too slow, and no byte at all: each libcurl attempt is abandoned (28) after 2 s; the
        # server then serves the system downloader normally.
        Case("trickle", CURL_ATTEMPTS, [], 1, "success", ("windows", "28", "0"),
             fault={"times": CURL_ATTEMPTS}),
        Case("hang", CURL_ATTEMPTS, [], 1, "success", ("windows", "28", "0"),
             fault={"times": CURL_ATTEMPTS}),
        # A whole body that is not what was asked for.
        Case("notjson", 1, ["200"], 0, unreadable),
        Case("nofull", 1, ["200"], 0, unreadable),
        # Slow but steady: libcurl delivers.
        Case("delay", 1, ["200"], 0, "success", by_curl, fault={"seconds": 1}),
        Case("slow", 1, ["200"], 0, "success", by_curl, fault={"rate": 200000}),
    ]


class DownloadFaultMatrix(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        self.program = self.machine.helper("small_limits_installer")
        self.events = EventsServer().__enter__()
        self.addCleanup(self.events.__exit__, None, None, None)

    def size(self, path):
        return os.path.getsize(os.path.join(self.content, path.lstrip("/")))

    def requests(self, path, system):
        return [r for r in self.downloads.requests()
                if r["path"] == path and bool(r["agent"]) == system]

    def run_case(self, case):
        """Runs the installer once with the case's fault; returns its events."""
        started = time.monotonic()
        if case.error == "success":
            code = self.run_installer(cwd=self.folder, program=self.program, timeout=RUN_LIMIT)
        else:
            code = self.run_failing_installer(cwd=self.folder, program=self.program,
                                              timeout=RUN_LIMIT)
        self.assertEqual(code, 0)
        self.assertLess(time.monotonic() - started, RUN_LIMIT)
        return self.events.events(self.machine.installation_id())

    def check(self, path, ident, case, events):
        close = [e["body"] for e in events if e["body"]["type"] == "installer_close"]
        self.assertEqual([c["error"] for c in close], [case.error])
        self.assertEqual(len(self.requests(path, system=False)), case.curl)
        measured = [e["body"]["response_code"] for e in events
                    if e["body"]["type"] == "installer_download_performed"
                    and e["body"]["ident"] == ident]
        self.assertEqual(measured, case.measured)
        system = len(self.requests(path, system=True))
        least, most = case.system if isinstance(case.system, tuple) else (case.system,) * 2
        self.assertTrue(least <= system <= most, "%d system requests" % system)

    def forget(self):
        self.downloads.control("/__reset", {})
        self.machine.forget_client()
        self.events.clear()
        try:
            os.remove(os.path.join(self.machine.temp, "QuillmereLoginSetup.runs"))
        except FileNotFoundError:
            pass

    def test_every_fault_of_the_version_document(self):
        for case in matrix("document", self.size(DOCUMENT)):
            with self.subTest(case.mode):
                self.forget()
                self.downloads.faults({DOCUMENT: case.fault})
                events = self.run_case(case)
                self.check(DOCUMENT, "clientversioninfo", case, events)
                # The setup is fetched and run only after a document was read.
                setup_fetched = bool(self.requests(SETUP, system=False))
                self.assertEqual(setup_fetched, case.error == "success")
                self.assertEqual(len(self.machine.setup_runs()), int(case.error == "success"))

    def test_every_fault_of_the_setup_download_and_no_partial_setup_runs(self):
        for case in matrix("setup", self.size(SETUP)):
            with self.subTest(case.mode):
                self.forget()
                self.downloads.faults({SETUP: case.fault})
                events = self.run_case(case)
                self.check(SETUP, "qmclient", case, events)
                downloaded = [e["body"] for e in events
                              if e["body"]["type"] == "installer_client_downloaded"]
                if case.method:
                    self.assertEqual([(d["download_method"], d["curl_result"],
                                       d["windows_result"]) for d in downloaded], [case.method])
                # The demo setup records each run; only a whole setup can have run, once.
                runs = self.machine.setup_runs()
                self.assertEqual(len(runs), int(case.error == "success"), runs)
                if case.error == "success":
                    self.assertTrue(harness.wait_for(self.machine.client_launches, timeout=30))
                    self.assertFalse(os.path.exists(os.path.join(self.machine.temp,
                                                                 "QuillmereLoginSetup.exe")))


if __name__ == "__main__":
    harness.main()
