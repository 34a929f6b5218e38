"""The whole run, from the download page to a running client: the version document, the client
setup's download and run, the events of an installation, the client launch, and what every fault
of the setup and the downloads makes of the run."""

import json
import os
import re
import shutil
import struct
import subprocess
import time
import unittest

import harness
from harness import ON_WINE, EventsServer, InstallerTest

STATUSES = ["Checking for updates.", "Downloaded update manifest.", "Downloading Quillmere Client.",
            "Updating the Quillmere Client."]
DOCUMENT = "/zell/final-ms3/clientversioninfo.json"
SETUP = "/zell/final-ms3/QuillmereLoginSetup.exe"
# The events of a first installation, in groups that the run separates in time (the slow
# document, the slow setup download, the setup's run); within a group the order is open.
INSTALLATION_GROUPS = [
    {"installer_started", "installer_system_information", "STUB_INSTALLER_STARTED"},
    {"installer_download_performed/clientversioninfo", "installer_client_download_start"},
    {"installer_download_performed/qmclient", "installer_client_downloaded",
     "installation_started"},
    {"installation_done", "installer_close"},
]


PKI = os.path.join(harness.BUILD_DIR, "pki")
# The signature a native setup carries at its end: the CMS signature, its length (8 bytes), the
# magic (tools/pki/sign-appended).
APPENDED_MAGIC = b"QMCMSSIG"
ERROR_SHARING_VIOLATION = 32
# System DLLs the installer or the system DLLs it loads may load by name; none is a KnownDLL.
# Not version.dll: Wine's own user32 imports it and Wine resolves that import before the program
# runs, native first from the program's folder, where Windows takes the dependencies of a KnownDLL
# such as user32 from System32; a planted version.dll is loaded by every program under Wine.
PLANTED_DLLS = ["bcrypt", "crypt32", "urlmon", "wininet", "winmm", "comctl32", "uxtheme",
                "iphlpapi", "secur32", "wintrust", "dwmapi", "winhttp", "userenv", "propsys",
                "dbghelp"]


def unsigned_setup(signed, target):
    """Writes the setup program `signed` without its signature to `target`."""
    if ON_WINE:
        subprocess.run(["osslsigncode", "remove-signature", "-in", signed, "-out", target],
                       check=True, capture_output=True)
        return
    with open(signed, "rb") as source:
        data = source.read()
    assert data.endswith(APPENDED_MAGIC)
    (length,) = struct.unpack("<Q", data[-16:-8])
    with open(target, "wb") as out:
        out.write(data[:-16 - length])


def sign_setup(source, target, signer="codesign"):
    """Signs the setup program `source` as `target` with the development PKI's `signer`, in the
    build's format (Authenticode, or the appended signature natively)."""
    cert = os.path.join(PKI, signer + ".crt.pem")
    key = os.path.join(PKI, signer + ".private.pem")
    signing = target + ".signing"  # osslsigncode writes no existing file
    if ON_WINE:
        command = ["osslsigncode", "sign", "-h", "sha256", "-certs", cert, "-key", key,
                   "-n", "Quillmere Login Setup", "-in", source, "-out", signing]
    else:
        command = ["python3", os.path.join(harness.SOURCE_DIR, "tools", "pki", "sign-appended"),
                   "--openssl", "openssl", "--cert", cert, "--key", key, "--in", source,
                   "--out", signing]
    subprocess.run(command, check=True, capture_output=True)
    os.replace(signing, target)


def read_bytes(path):
    with open(path, "rb") as source:
        return source.read()


def messages(lines):
    return [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]


def event_name(body):
    name = body["type"]
    return name + "/" + body["ident"] if name == "installer_download_performed" else name


class InstallationTest(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        self.cwd = self.with_log_marker()

    def run_ok(self, program=harness.INSTALLER, **popen):
        self.assertEqual(self.run_installer(cwd=self.cwd, program=program, **popen), 0)
        return messages(self.machine.log_lines())

    def run_failing(self, program=harness.INSTALLER):
        """Runs a failing run (closing its error window); returns its log and closing key."""
        self.assertEqual(self.run_failing_installer(cwd=self.cwd, program=program), 0)
        log = messages(self.machine.log_lines())
        errors = [line for line in log if line.startswith("ERROR")]
        self.assertEqual(len(errors), 1, log)
        return log, errors[0]

    def document(self, value):
        """Replaces the FINAL channel's version document (an object or raw text)."""
        harness.content.write_document(self.content, "FINAL", value)

    def curl_requests(self, path):
        """The requests of `path` that libcurl made (it sends no User-Agent; the system downloader
        does)."""
        return [r for r in self.downloads.requests() if r["path"] == path and not r["agent"]]

    def system_requests(self, path):
        return [r for r in self.downloads.requests() if r["path"] == path and r["agent"]]

    def assert_temp_clean(self):
        for name in ("QuillmereLoginSetup.exe", "clientversioninfo.json"):
            self.assertFalse(os.path.exists(os.path.join(self.machine.temp, name)), name)


class FirstInstallation(InstallationTest):
    def test_a_first_installation_step_by_step(self):
        # Slow enough phases that the window can be watched in each.
        self.downloads.faults({DOCUMENT: {"mode": "delay", "seconds": 3, "times": 1},
                               SETUP: {"mode": "slow", "rate": 400000, "times": 1}})
        self.machine.setup_options(progress_steps=20, step_ms=150)
        program = self.tagged_installer() if ON_WINE else harness.INSTALLER
        with EventsServer() as server:
            if ON_WINE:
                with harness.WindowWatcher(self.machine) as watcher:
                    log = self.run_ok(program)
                shown = watcher.shown(STATUSES)
                # The manifest status shows for a moment only; the others while work is done.
                self.assertEqual([s for s in STATUSES if s in shown], shown)
                self.assertIn(STATUSES[0], shown)
                self.assertEqual(shown[-2:], STATUSES[2:])
                during_setup = watcher.while_showing(STATUSES[3])
                self.assertTrue(during_setup)
                self.assertTrue(all(s["close_enabled"] is False for s in during_setup))
                # The icon is read off the screen: a picture taken mid-repaint matches nothing.
                icons = {s["icon"] for s in during_setup}
                self.assertIn("shield", icons)
                self.assertFalse(icons & {"main", "error"}, icons)
                self.assertTrue(any(0 < (s["progress"] or 0) < 100
                                    for s in watcher.while_showing(STATUSES[2])))
            else:
                with open(os.path.join(self.folder, "stderr"), "w+b") as err:
                    log = self.run_ok(stderr=err)
                    err.seek(0)
                    lines = err.read().decode("utf-8").splitlines()
                self.assertEqual([line for line in lines if line in STATUSES], STATUSES)
            events = server.events(self.machine.installation_id())
        self.assertIn("Remote version: 2.10.0", log)
        self.assertIn("Preparing client installation", log)
        # The events in the order of the run's phases.
        names = [event_name(e["body"]) for e in events]
        self.assertEqual(sorted(names), sorted(set().union(*INSTALLATION_GROUPS)))
        group_of = {name: i for i, group in enumerate(INSTALLATION_GROUPS) for name in group}
        self.assertEqual([group_of[n] for n in names], sorted(group_of[n] for n in names))
        close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
        self.assertEqual((close["error"], close["installer_installed"]), ("success", "1"))
        downloaded = next(e["body"] for e in events
                          if e["body"]["type"] == "installer_client_downloaded")
        self.assertEqual((downloaded["download_method"], downloaded["curl_result"],
                          downloaded["windows_result"]), ("curl", "0", "0"))
        expected_url = ("qmclient://game-login?game=123&region=de-DE" if ON_WINE
                        else "qmclient://start")
        self.assertIn("Starting client: " + expected_url, log)
        self.assertTrue(harness.wait_for(lambda: self.machine.client_launches(), timeout=30))
        self.assertEqual(self.machine.client_launches(), [expected_url])
        # The setup was run silently with the window's handle and the progress message.
        runs = self.machine.setup_runs()
        self.assertEqual(len(runs), 1)
        self.assertRegex(runs[0], r"^/VERYSILENT /SUPPRESSMSGBOXES /startedFromQsl /host=-?\d+ "
                                  r"/msgId=32774$")
        self.assert_temp_clean()

    def test_an_installed_client_is_only_started(self):
        self.run_ok()
        self.machine.forget_log()
        log = self.run_ok()
        self.assertNotIn("Preparing client installation", log)
        self.assertFalse(any("installer" in line.lower() and "Executing" in line for line in log))
        self.assertIn("Starting client: qmclient://start", log)
        self.assertTrue(harness.wait_for(lambda: len(self.machine.client_launches()) == 2))
        self.assertEqual(len(self.machine.setup_runs()), 1)

    def test_a_setup_under_a_temporary_folder_with_blanks_runs(self):
        blanks = os.path.join(self.folder, "First Last", "Temp")
        os.makedirs(blanks)
        self.machine.temp = blanks
        self.machine.setup_options(exit_code=0)
        if ON_WINE:
            # Wine takes the user's temporary folder from the registry, not from the environment.
            for name in ("TEMP", "TMP"):
                self.machine.reg_add("HKCU", "Environment", name, harness.windows_path(blanks))
            self.addCleanup(self.restore_temp)
        else:
            self.machine.env["TMPDIR"] = blanks
        log = self.run_ok()
        self.assertIn("Downloading client installer", log)
        self.assertTrue(any(line.endswith("First Last\\Temp\\QuillmereLoginSetup.exe") or
                            line.endswith("First Last/Temp/QuillmereLoginSetup.exe")
                            for line in log), log)
        self.assertIn("Executing installer", log)
        self.assertEqual(len(self.machine.setup_runs()), 1)
        self.assertIn("Starting client: qmclient://start", log)
        self.assert_temp_clean()

    def restore_temp(self):
        for name in ("TEMP", "TMP"):
            self.machine.reg_add("HKCU", "Environment", name, "C:\\users\\%s\\Temp"
                                 % harness.getpass.getuser())


class SetupExitCodes(InstallationTest):
    def test_exit_code_2_needs_administrator_rights_even_when_installed(self):
        self.machine.setup_options(exit_code=2)
        log, error = self.run_failing()
        self.assertEqual(error, "ERROR: Exception occurred: CouldNotInstallUac")
        self.assertNotIn("Removing installation files", log[log.index("Executing installer"):])

    def test_exit_code_99_runs_the_setup_again_interactively(self):
        self.machine.setup_options(exit_code=99, second_exit_code=7)
        with EventsServer() as server:
            self.run_ok()
            events = server.events(self.machine.installation_id())
        runs = self.machine.setup_runs()
        self.assertEqual(len(runs), 2)
        self.assertTrue(runs[0].startswith("/VERYSILENT /SUPPRESSMSGBOXES /startedFromQsl"))
        self.assertTrue(runs[1].startswith("/startedFromQsl /host="))
        names = [e["body"]["type"] for e in events]
        external = [e["body"] for e in events if e["body"]["type"] == "installer_external"]
        self.assertEqual([e["exit_code"] for e in external], ["7"])
        self.assertLess(names.index("installation_started"), names.index("installer_external"))
        close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
        self.assertEqual(close["error"], "success")

    def test_exit_code_1_with_the_client_installed_is_success(self):
        self.machine.setup_options(exit_code=1)
        log = self.run_ok()
        self.assertFalse(any(line.startswith("ERROR") for line in log))

    def test_a_setup_that_installs_nothing_could_not_install(self):
        self.machine.setup_options(install=False)
        _, error = self.run_failing()
        self.assertEqual(error, "ERROR: Exception occurred: CouldNotInstall")

    def test_a_setup_that_cannot_be_started_could_not_install(self):
        with open(os.path.join(self.content, "zell", "final-ms3", "QuillmereLoginSetup.exe"),
                  "wb") as broken:
            broken.write(b"this is no program\n" * 100)
        _, error = self.run_failing()
        self.assertEqual(error, "ERROR: Exception occurred: CouldNotInstall")


class DownloadFaults(InstallationTest):
    def test_an_unresolvable_host_is_a_connection_error_without_the_fallback(self):
        self.document({"version": "2.10.0", "full": {"url": "http://no-such-host.invalid/a.exe"}})
        log, error = self.run_failing()
        self.assertEqual(error, "ERROR: Exception occurred: ConnectionError")
        self.assertFalse(any("with fallback system" in line for line in log))

    def test_404_and_302_give_one_libcurl_attempt_then_the_fallback(self):
        # mode: the closing error (None: the run succeeds). Natively wget reports the error status
        # (not found); Wine's system downloader takes the error page as the document, which is no
        # JSON. Both follow the redirect that libcurl does not.
        outcomes = {"404": "ERROR: Unexpected exception occurred" if ON_WINE
                           else "ERROR: Exception occurred: ConnectionError",
                    "302": None}
        for mode, expected in outcomes.items():
            with self.subTest(mode), EventsServer() as server:
                self.downloads.control("/__reset", {})
                self.downloads.faults({DOCUMENT: {"mode": mode}})
                self.machine.forget_client()
                if expected:
                    log, error = self.run_failing()
                    self.assertEqual(error, expected)
                else:
                    log = self.run_ok()
                    self.assertIn("Remote version: 2.10.0", log)
                events = server.events(self.machine.installation_id())
                self.assertEqual(len(self.curl_requests(DOCUMENT)), 1)
                self.assertTrue(self.system_requests(DOCUMENT))
                self.assertTrue(any("with fallback system" in line for line in log))
                performed = [e["body"] for e in events
                             if e["body"]["type"] == "installer_download_performed"
                             and e["body"]["ident"] == "clientversioninfo"]
                self.assertEqual([p["response_code"] for p in performed], [mode])

    def test_dropped_and_short_bodies_are_retried_to_the_limit(self):
        for mode in ("drop", "short"):
            with self.subTest(mode):
                self.downloads.control("/__reset", {})
                self.downloads.faults({SETUP: {"mode": mode}})
                self.machine.forget_client()
                log, error = self.run_failing()
                self.assertEqual(len(self.curl_requests(SETUP)), 5)
                self.assertTrue(1 <= len(self.system_requests(SETUP)) <= 5)
                self.assertEqual(error, "ERROR: Exception occurred: DownloadFailed")
                # No partial setup was run.
                self.assertEqual(self.machine.setup_runs(), [])

    def test_the_close_request_aborts_libcurl_and_the_fallback_fetches_the_file(self):
        self.downloads.faults({SETUP: {"mode": "slow", "rate": 100000, "times": 1}})
        with EventsServer() as server:
            process = self.machine.start(harness.INSTALLER, cwd=self.cwd,
                                         stdin=subprocess.DEVNULL)
            self.assertTrue(harness.wait_for(lambda: self.curl_requests(SETUP), timeout=60))
            time.sleep(1)
            if ON_WINE:
                state = self.machine.window_state("Quillmere Installer")
                self.machine.probe("post", "#%d" % state["handle"], "16", "0", "0")  # WM_CLOSE
            else:
                process.send_signal(2)  # SIGINT, the terminal's close request
            self.assertEqual(process.wait(timeout=180), 0)
            events = server.events(self.machine.installation_id())
        downloaded = next(e["body"] for e in events
                          if e["body"]["type"] == "installer_client_downloaded")
        self.assertEqual((downloaded["download_method"], downloaded["curl_result"],
                          downloaded["windows_result"]), ("windows", "42", "0"))
        # The first attempt was cut off; the later ones gave up before they reached the server.
        self.assertEqual(len(self.curl_requests(SETUP)), 1)
        self.assertEqual(len(self.system_requests(SETUP)), 1)
        close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
        self.assertEqual(close["error"], "success")


class VersionDocument(InstallationTest):
    def test_a_document_that_is_no_json_or_lacks_full_is_an_unknown_error(self):
        for document in ("this is no version document", {"version": "2.10.0"}):
            with self.subTest(document=str(document)):
                self.document(document)
                log, error = self.run_failing()
                self.assertEqual(error, "ERROR: Unexpected exception occurred")
                # The document stays for inspection.
                self.assertTrue(os.path.exists(os.path.join(self.machine.temp,
                                                            "clientversioninfo.json")))


class SetupSignature(InstallationTest):
    def served_setup(self):
        return os.path.join(self.content, "zell", "final-ms3", "QuillmereLoginSetup.exe")

    def test_a_setup_that_is_not_the_makers_is_deleted_and_never_run(self):
        served = self.served_setup()
        signed = read_bytes(served)
        unsigned = os.path.join(self.folder, "unsigned")
        unsigned_setup(served, unsigned)
        foreign = os.path.join(self.folder, "foreign")
        sign_setup(unsigned, foreign, "foreign-codesign")
        tampered = bytearray(signed)
        tampered[len(signed) // 2] ^= 0x01
        cases = [("one byte changed", bytes(tampered),
                  ("the file's digest does not match its signature",
                   "the signature does not verify")),
                 ("unsigned", read_bytes(unsigned), ("the file is not signed",)),
                 ("signed by another CA", read_bytes(foreign),
                  ("does not chain to the pinned CA",))]
        for name, data, reasons in cases:
            with self.subTest(name), EventsServer() as server:
                self.machine.forget_client()
                self.machine.forget_log()
                with open(served, "wb") as out:
                    out.write(data)
                log, error = self.run_failing()
                events = server.events(self.machine.installation_id())
                self.assertEqual(error, "ERROR: Exception occurred: CouldNotInstall")
                rejected = [line for line in log
                            if line.startswith("Setup program signature rejected: ")]
                self.assertEqual(len(rejected), 1, log)
                self.assertTrue(any(reason in rejected[0] for reason in reasons), rejected[0])
                self.assertEqual(self.machine.setup_runs(), [])
                self.assertFalse(os.path.exists(os.path.join(self.machine.temp,
                                                            "QuillmereLoginSetup.exe")))
                names = [e["body"]["type"] for e in events]
                self.assertNotIn("installation_started", names)
                close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
                self.assertEqual(close["error"], "CouldNotInstall")

    @unittest.skipUnless(ON_WINE, "POSIX has no sharing modes: the unit tests show that a held "
                                  "file replaced by its path still runs as checked")
    def test_the_checked_setup_can_be_neither_written_nor_deleted_until_it_has_started(self):
        # A setup large enough that its check takes a moment, during which another program of the
        # user's tries to replace it.
        served = self.served_setup()
        unsigned = os.path.join(self.folder, "unsigned")
        unsigned_setup(served, unsigned)
        with open(unsigned, "ab") as padded:
            padded.write(bytes(192 << 20))
        sign_setup(unsigned, served)
        setup = os.path.join(self.machine.temp, "QuillmereLoginSetup.exe")
        with open(os.path.join(self.folder, "probe.out"), "w+") as out:
            probe = self.machine.start(
                self.machine.helper("probe_held_file"), harness.windows_path(setup),
                harness.windows_path(os.path.join(self.machine.log_folder(), "installer.log")),
                harness.windows_path(os.path.join(self.machine.temp, "QuillmereLoginSetup.runs")),
                "150", stdout=out)
            log = self.run_ok(timeout=300)
            self.assertEqual(probe.wait(timeout=120), 0)
            out.seek(0)
            attempts = json.loads(out.read().strip().splitlines()[-1])
        # The attempts came after the check had begun and before the setup started.
        self.assertFalse(attempts["ran_before"], attempts)
        for attempt in ("write", "open_delete", "delete", "rename"):
            self.assertEqual(attempts[attempt], ERROR_SHARING_VIOLATION, attempts)
        self.assertEqual(len(self.machine.setup_runs()), 1)
        self.assertIn("Starting client: qmclient://start", log)


@unittest.skipUnless(ON_WINE, "DLL search order is a Windows matter")
class DllPlanting(InstallationTest):
    def test_no_dll_beside_the_installer_is_loaded(self):
        folder = os.path.join(self.folder, "Downloads")
        os.makedirs(folder)
        program = os.path.join(folder, os.path.basename(harness.INSTALLER))
        shutil.copyfile(harness.INSTALLER, program)
        loader = os.path.join(folder, "load_library.exe")
        shutil.copyfile(self.machine.helper("load_library"), loader)
        for name in PLANTED_DLLS:
            shutil.copyfile(os.path.join(harness.HELPERS_DIR, "planted_dll.dll"),
                            os.path.join(folder, name + ".dll"))
        # Wine prefers its builtin DLLs; native first, a planted DLL of these names is found.
        self.machine.env["WINEDLLOVERRIDES"] += ";" + ",".join(PLANTED_DLLS) + "=n,b"

        def markers():
            return sorted(f[:-len(".dll.loaded")] for f in os.listdir(folder)
                          if f.endswith(".loaded"))

        # A program that does not restrict its search loads every one of them.
        code, _, _ = self.machine.output(loader, *[name + ".dll" for name in PLANTED_DLLS])
        self.assertEqual(code, 0)
        self.assertEqual(markers(), sorted(PLANTED_DLLS))
        for name in PLANTED_DLLS:
            os.remove(os.path.join(folder, name + ".dll.loaded"))
        # A whole installation by the installer from that folder loads none.
        with EventsServer() as server:
            log = self.run_ok(program)
            events = server.events(self.machine.installation_id())
        self.assertEqual(markers(), [])
        self.assertIn("Executing installer", log)
        self.assertTrue(harness.wait_for(lambda: self.machine.client_launches(), timeout=30))
        close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
        self.assertEqual(close["error"], "success")


if __name__ == "__main__":
    harness.main()
