"""Runs the built installer as a user would, natively or under Wine, and reads what it leaves.

The test run passes the build's facts through the environment (set by tests/e2e/CMakeLists.txt):
QM_PLATFORM ("native" or "windows"), QM_INSTALLER (the program), QM_HELPERS_DIR (the helper
programs), QM_WINEPREFIX (the run's Wine prefix), QM_ARTIFACTS (where screenshots go).

Native runs get a fresh HOME, XDG folders and TMPDIR per test, so the registry stand-in, the log
and the temporary folder are the test's own. Wine tests share the run's prefix, one test at a
time (ctest's resource lock), and clear the state they look at before they start.
"""

import contextlib
import fcntl
import getpass
import json
import os
import select
import shutil
import subprocess
import tempfile
import time
import sys
import unittest

PLATFORM = os.environ.get("QM_PLATFORM", "native")
INSTALLER = os.environ.get("QM_INSTALLER", "")
HELPERS_DIR = os.environ.get("QM_HELPERS_DIR", "")
WINEPREFIX = os.environ.get("QM_WINEPREFIX", "")
ARTIFACTS = os.environ.get("QM_ARTIFACTS", tempfile.gettempdir())
SOURCE_DIR = os.environ.get("QM_SOURCE_DIR", "")
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools", "backend"))
import content  # noqa: E402  (the download server's files, tools/backend/content.py)
DEMO_SETUP = os.environ.get("QM_DEMO_SETUP", "")
ON_WINE = PLATFORM == "windows"
EXE = ".exe" if ON_WINE else ""

COMPANY, PRODUCT = "Quillworks", "QuillmereClient"
ROOTS = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}
UNINSTALL_KEY = ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "{5e1f0c3a-9b7d-4c2e-8a61-3f4d2b9c7e05}_is1")


# The build's back-end hosts (host or host:port), as CMake configured them.
HOSTS = {name: os.environ.get("QM_" + name, "") for name in (
    "EVENTS_HOST_DEV", "EVENTS_HOST_INTEGRATION", "EVENTS_HOST_SANDBOX", "EVENTS_HOST_PRODUCTION",
    "UPDATE_HOST_INTEGRATION", "DOWNLOAD_HOST")}
BUILD_DIR = os.environ.get("QM_BUILD_DIR", "")
# The address behind the "Support" link of the texts, as the build has it.
SUPPORT_URL = os.environ.get("QM_SUPPORT_URL", "")


@contextlib.contextmanager
def port_lock(port):
    """Holds a machine-wide lock on a loopback port, so that test runs of several builds or
    checkouts on one machine take turns with the servers of the development back end."""
    with open("/tmp/quillmere-port-%d.lock" % port, "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(lock, fcntl.LOCK_UN)


def host_port(host):
    """The port of a "host:port" text (80 without one)."""
    return int(host.rsplit(":", 1)[1]) if ":" in host else 80


class DownloadServer:
    """The development download server (tools/backend/download_server.py) on the build's download
    host, serving `root`, for the length of a with-block."""

    def __init__(self, root):
        self.root = root
        self.port = host_port(HOSTS["DOWNLOAD_HOST"] or "127.0.0.1:0")
        self.base = "http://127.0.0.1:%d" % self.port
        self.process = None
        self.lock = None

    def __enter__(self):
        self.lock = port_lock(self.port)
        self.lock.__enter__()
        script = os.path.join(SOURCE_DIR, "tools", "backend", "download_server.py")
        self.process = subprocess.Popen(
            ["python3", script, "--port", str(self.port), "--root", self.root],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("listening"):
            self.__exit__(None, None, None)
            raise RuntimeError("the download server did not start")
        return self

    def __exit__(self, *exc):
        if self.process:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.lock.__exit__(None, None, None)

    def control(self, path, body=None):
        import json
        import urllib.request
        data = None if body is None else json.dumps(body).encode()
        with urllib.request.urlopen(self.base + path, data=data, timeout=10) as answer:
            return json.loads(answer.read() or b"null") if path == "/__requests" else None

    def faults(self, faults):
        """Sets the fault modes: {path: {"mode": ..., "times": n}}."""
        self.control("/__faults", faults)

    def requests(self):
        return self.control("/__requests")


# The selector words of installer.ini (docs/installer-ini.md) that choose an environment; PRODUCTION
# is what no word selects.
ENVIRONMENT_WORDS = {"DEV": "nib-dev-g4s8", "INTEGRATION": "nib-integration-b7l2",
                     "SANDBOX": "nib-sandbox-m1y6"}
# The five keys every event body carries.
ENVELOPE_KEYS = {"client_installation_id", "client_version_info", "localtime", "type",
                 "update_channel_string"}


def events_address(environment):
    """(address, port) where the build posts the events of `environment`: the configured host
    (localhost as 127.0.0.1), on port 8443 outside production."""
    host = HOSTS["EVENTS_HOST_" + environment]
    if environment == "PRODUCTION":
        host, port = (host.rsplit(":", 1)[0], int(host.rsplit(":", 1)[1])) if ":" in host \
            else (host, 443)
    else:
        port = 8443
    return ("127.0.0.1" if host == "localhost" else host), port


def write_installer_ini(folder, environment=None, channel_word=None):
    """Writes installer.ini into `folder` selecting `environment` (a name of ENVIRONMENT_WORDS;
    None or PRODUCTION: no environment line) and, when given, the update channel's word."""
    lines = ["[INSTALLER]"]
    if channel_word:
        lines.append("updateChannel=" + channel_word)
    if environment in ENVIRONMENT_WORDS:
        lines.append("environment=" + ENVIRONMENT_WORDS[environment])
    with open(os.path.join(folder, "installer.ini"), "w", newline="\r\n") as ini:
        ini.write("\n".join(lines) + "\n")


class EventsServer:
    """The development events server (tools/backend/events_server.py) on the build's events host of
    `environment`, with the development PKI of the build, for the length of a with-block. `options`
    go to the server as they stand ("--status", "204"; "--hold-first"; "--delay", "1" ...).
    `certificate` and `client_ca` name the server's certificate and the CA it takes clients'
    certificates from, as file stems of the build's PKI: "foreign-server" presents a certificate
    of another CA, "foreign-ca" refuses the installer's certificate."""

    def __init__(self, environment="PRODUCTION", *options, certificate="events-server",
                 client_ca="ca"):
        self.address, self.port = events_address(environment)
        self.options = list(options)
        self.certificate, self.client_ca = certificate, client_ca
        self.folder = tempfile.mkdtemp(prefix="qm-events-")
        self.path = os.path.join(self.folder, "events.jsonl")
        self.process = None
        self.lock = None

    def __enter__(self):
        self.lock = port_lock(self.port)
        self.lock.__enter__()
        pki = os.path.join(BUILD_DIR, "pki")
        script = os.path.join(SOURCE_DIR, "tools", "backend", "events_server.py")
        self.process = subprocess.Popen(
            ["python3", script, "--bind", self.address, "--port", str(self.port),
             "--cert", os.path.join(pki, self.certificate + ".crt.pem"),
             "--key", os.path.join(pki, self.certificate + ".private.pem"),
             "--ca", os.path.join(pki, self.client_ca + ".crt.pem"), "--events", self.path]
            + self.options,
            stdout=subprocess.PIPE, text=True)
        if not self.process.stdout.readline().startswith("listening"):
            self.__exit__(None, None, None)
            raise RuntimeError("the events server did not start")
        return self

    def __exit__(self, *exc):
        if self.process:
            self.process.terminate()
            self.process.wait(timeout=10)
            self.process.stdout.close()
        self.lock.__exit__(None, None, None)
        shutil.rmtree(self.folder, ignore_errors=True)

    def clear(self):
        """Forgets the events recorded so far."""
        open(self.path, "w").close()

    def events(self, installation_id=None):
        """The recorded events ({"body", "subject", "time"}) in arrival order; with
        `installation_id`, only those of that installation (other test runs on this machine may
        post to the same host)."""
        return read_events(self.path, installation_id)


def read_events(path, installation_id=None):
    """The events that an events server recorded in the file `path` (see EventsServer.events)."""
    import json
    try:
        with open(path, encoding="utf-8") as lines:
            events = [json.loads(line) for line in lines if line.strip()]
    except FileNotFoundError:
        return []
    if installation_id is None:
        return events
    return [event for event in events if isinstance(event["body"], dict)
            and event["body"].get("client_installation_id") == installation_id]


def windows_path(path):
    """A Unix path as Wine's programs see it, on drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Machine:
    """The environment one test runs the installer in."""

    def __init__(self, folder):
        self.folder = folder
        self.env = dict(os.environ)
        if ON_WINE:
            self.env.update(WINEPREFIX=WINEPREFIX, WINEDEBUG="-all",
                            WINEDLLOVERRIDES="mscoree,mshtml=")
            user = getpass.getuser()
            self.drive_c = os.path.join(WINEPREFIX, "drive_c")
            self.local_app_data = os.path.join(self.drive_c, "users", user, "AppData", "Local")
            self.temp = os.path.join(self.drive_c, "users", user, "Temp")
            self.program_files = os.path.join(self.drive_c, "Program Files")
        else:
            for name, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                              ("XDG_DATA_HOME", "data"), ("TMPDIR", "tmp")):
                os.makedirs(os.path.join(folder, sub), exist_ok=True)
                self.env[name] = os.path.join(folder, sub)
            self.local_app_data = self.env["XDG_DATA_HOME"]
            self.temp = self.env["TMPDIR"]
            self.program_files = self.local_app_data
            # The shell's URL handling: the stand-in for xdg-open reads the registry stand-in.
            self.env["PATH"] = (os.path.join(SOURCE_DIR, "tools", "xdg-open") + os.pathsep +
                                self.env.get("PATH", ""))

        # The demo client a run opens closes its window soon.
        self.env["QM_DEMO_CLIENT_SECONDS"] = "1"

    # Programs.

    def command(self, program, *args):
        return (["wine", program] if ON_WINE else [program]) + list(args)

    def start(self, program, *args, cwd=None, **popen):
        # Standard input is no terminal unless a test says otherwise: the POSIX display waits for
        # Enter after an error when it is one.
        popen.setdefault("stdin", subprocess.DEVNULL)
        return subprocess.Popen(self.command(program, *args), cwd=cwd or self.folder,
                                env=self.env, **popen)

    def use_locale(self, locale):
        """Runs the programs in the POSIX locale `locale` ("de_DE", say), from which Wine and the
        POSIX build take the UI language."""
        for name in ("LC_ALL", "LC_MESSAGES"):
            self.env.pop(name, None)
        self.env["LANG"] = locale + ".UTF-8"

    def probe(self, *args):
        """The answer of the window probe (tests/helpers/window_probe_win.cpp, Wine only), a JSON
        object; {"found": False} when the window is not there."""
        # The answer goes through a file, as in output(): when the probe is the Wine process that
        # starts the wineserver (the installer and the probe start together, with none running),
        # the server inherits its standard output and would hold a pipe open until every program
        # of the prefix has ended, the installer waiting for its window to be closed included.
        with tempfile.TemporaryFile() as out:
            subprocess.run(self.command(self.helper("window_probe"), *args), env=self.env,
                           stdout=out, stderr=subprocess.DEVNULL, timeout=120)
            out.seek(0)
            text = out.read().decode("utf-8").strip()
        return json.loads(text.splitlines()[-1]) if text else {}

    def window_state(self, target):
        """The probe's state of the window `target` (a title, or "#HANDLE"); None when absent."""
        state = self.probe("state", target)
        return state if state.get("found", True) else None

    def run(self, program, *args, cwd=None, timeout=120, **popen):
        process = self.start(program, *args, cwd=cwd, **popen)
        try:
            process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.communicate()
            raise
        return process.returncode

    def output(self, program, *args, cwd=None, timeout=120):
        """(exit code, standard output, standard error) of a console program run to its end. The
        output goes through files, not pipes: a wineserver started by the program inherits its
        handles and would hold pipes open until it exits, seconds later."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = self.run(program, *args, cwd=cwd, timeout=timeout, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            return code, out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")

    def helper(self, name):
        return os.path.join(HELPERS_DIR, name + EXE)

    def wait_idle(self):
        """Waits until every Wine process of the prefix has ended."""
        if ON_WINE:
            try:
                subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=90)
            except subprocess.TimeoutExpired:
                # A program that hangs must not hang every later test with it.
                subprocess.run(["wineserver", "-k"], env=self.env, check=False)
                raise

    # The log.

    def log_folder(self):
        return os.path.join(self.local_app_data, COMPANY, PRODUCT)

    def log_bytes(self, path=None):
        with open(path or os.path.join(self.log_folder(), "installer.log"), "rb") as log:
            return log.read()

    def log_lines(self, path=None):
        """The lines of the log (at `path`, or in its usual place) without their line ends, which
        must be CR LF under Windows and LF natively."""
        ending = b"\r\n" if ON_WINE else b"\n"
        data = self.log_bytes(path)
        assert data.endswith(ending), data[-40:]
        lines = data[: -len(ending)].split(ending)
        assert not any(b"\n" in line or b"\r" in line for line in lines), data
        return [line.decode("utf-8") for line in lines]

    def client_folder(self):
        """Where the demo setup installs the demo client."""
        return os.path.join(self.program_files, COMPANY, "Quillmere Client")

    def setup_options(self, **options):
        """How the next runs of the demo setup behave (tools/demo_setup/DemoSetup.h): exit_code,
        second_exit_code, install, progress_steps, step_ms; read from beside the downloaded
        setup."""
        with open(os.path.join(self.temp, "QuillmereLoginSetup.options"), "w") as out:
            json.dump(options, out)

    def setup_runs(self):
        """The argument lines of the demo setup's runs so far."""
        try:
            with open(os.path.join(self.temp, "QuillmereLoginSetup.runs")) as runs:
                return runs.read().splitlines()
        except FileNotFoundError:
            return []

    def client_launches(self):
        """The URLs the demo client was opened with so far."""
        try:
            with open(os.path.join(self.client_folder(), "qmclient-launches.txt"),
                      encoding="utf-8") as launches:
                return launches.read().splitlines()
        except FileNotFoundError:
            return []

    def forget_client(self):
        """Removes what a demo setup installed and what a run left in the temporary folder (the
        Wine prefix is shared by the tests; a native test's machine is new anyway)."""
        keys = [UNINSTALL_KEY, "HKCU\\Software\\Classes\\qmclient",
                "HKLM\\Software\\Classes\\qmclient"]
        if not ON_WINE:
            for key in keys:
                root, path = key.split("\\", 1)
                self.reg_delete(root, path)
            shutil.rmtree(self.client_folder(), ignore_errors=True)
            return
        command = " & ".join('reg delete "%s" /f' % key for key in keys)
        subprocess.run(["wine", "cmd", "/c", command], env=self.env, capture_output=True)
        shutil.rmtree(os.path.join(self.program_files, COMPANY), ignore_errors=True)
        for name in ("QuillmereLoginSetup.exe", "QuillmereLoginSetup.options",
                     "QuillmereLoginSetup.runs", "clientversioninfo.json"):
            try:
                os.remove(os.path.join(self.temp, name))
            except FileNotFoundError:
                pass

    def forget_log(self):
        shutil.rmtree(self.log_folder(), ignore_errors=True)

    # The registry.

    def reg_query(self, root, key, name):
        """A string value, or None when the key or value is missing."""
        if ON_WINE:
            out = subprocess.run(["wine", "reg", "query", root + "\\" + key, "/v", name],
                                 env=self.env, capture_output=True, text=True, errors="replace")
            for line in out.stdout.splitlines():
                parts = line.strip().split(None, 2)
                if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
                    return parts[2] if len(parts) == 3 else ""
            return None
        path = os.path.join(self.env["XDG_CONFIG_HOME"], "quillmere", "registry", ROOTS[root],
                            *[registry_file_name(part) for part in key.split("\\")],
                            "=" + registry_file_name(name))
        try:
            with open(path, "rb") as value:
                return value.read().decode("utf-16-le").split("\0")[0]
        except FileNotFoundError:
            return None

    def installation_id(self):
        """The installation identifier the installer reports: the first non-empty
        "InstallationId" of the client's main key (HKLM, HKCU), then of its legacy key; "" when
        none is stored."""
        for key in ("SOFTWARE\\Quillworks\\QuillmereClient\\MainApp",
                    "SOFTWARE\\Quillworks\\ZellClient\\MainApp"):
            for root in ("HKLM", "HKCU"):
                value = self.reg_query(root, key, "InstallationId")
                if value:
                    return value
        return ""

    def reg_add(self, root, key, name, value):
        if ON_WINE:
            subprocess.run(["wine", "reg", "add", root + "\\" + key, "/v", name, "/d", value,
                            "/f"], env=self.env, capture_output=True, check=True)
            return
        folder = os.path.join(self.env["XDG_CONFIG_HOME"], "quillmere", "registry", ROOTS[root],
                              *[registry_file_name(part) for part in key.split("\\")])
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "=" + registry_file_name(name)), "wb") as out:
            out.write((value + "\0").encode("utf-16-le"))

    def reg_delete(self, root, key):
        if ON_WINE:
            subprocess.run(["wine", "reg", "delete", root + "\\" + key, "/f"], env=self.env,
                           capture_output=True)
            return
        shutil.rmtree(os.path.join(self.env["XDG_CONFIG_HOME"], "quillmere", "registry",
                                   ROOTS[root], *[registry_file_name(p) for p in key.split("\\")]),
                      ignore_errors=True)


def registry_file_name(name):
    """The registry stand-in's file name of a key or value name."""
    out = []
    for byte in name.lower().encode("utf-8"):
        char = chr(byte)
        out.append(char if char.isascii() and (char.isalnum() or char in "._-") else "%%%02X" % byte)
    return "".join(out)


def screenshot(name):
    """Saves the X display as QM_ARTIFACTS/name.png; returns the path, or None without a display."""
    if not os.environ.get("DISPLAY"):
        return None
    os.makedirs(ARTIFACTS, exist_ok=True)
    path = os.path.join(ARTIFACTS, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=False, capture_output=True)
    return path


def click(x, y):
    """A real mouse click at the screen point (x, y)."""
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=False)


def press_keys(window, keys):
    """Gives the X window `window` the keyboard focus and types `keys` ("alt+F4") as the X server
    delivers real keystrokes."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
    subprocess.run(["xdotool", "key", "--clearmodifiers", keys], check=False)


class ProgressDriver:
    """The progress window driven through tests/helpers/progress_driver.cpp: one command, one
    answer line. `stdin` and `stderr` go to the driver (a terminal, for instance); commands then
    travel through a FIFO."""

    def __init__(self, machine, stdin=None, stderr=None):
        self.fifo = None
        args = []
        if stdin is not None:
            self.fifo = os.path.join(machine.folder, "driver-commands")
            os.mkfifo(self.fifo)
            args = ["--commands", self.fifo]
        self.process = machine.start(machine.helper("progress_driver"), *args,
                                     stdin=stdin if stdin is not None else subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=stderr)
        self.commands = open(self.fifo, "wb") if self.fifo else self.process.stdin
        self.pending = b""

    def send(self, command):
        self.commands.write(command.encode("utf-8") + b"\n")
        self.commands.flush()

    def answer(self, timeout=60):
        """The next answer line, or None when none comes within `timeout` seconds."""
        deadline = time.monotonic() + timeout
        out = self.process.stdout.fileno()
        while b"\n" not in self.pending:
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([out], [], [], remaining)[0]:
                return None
            chunk = os.read(out, 4096)
            if not chunk:
                return None
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode("utf-8").rstrip("\r")

    def __call__(self, command, timeout=60):
        self.send(command)
        return self.answer(timeout)

    def start(self):
        """Starts the window; returns its handle (0 without a window system)."""
        answer = self("start")
        assert answer and answer.startswith("started "), answer
        return int(answer.split()[1])

    def finish(self):
        """Closes the window, ends the driver and returns its exit code."""
        try:
            self.commands.close()
        except OSError:
            pass
        if self.process.stdin and self.process.stdin is not self.commands:
            self.process.stdin.close()
        try:
            return self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return self.process.wait()


class WindowWatcher:
    """Watches the installer's window (Wine) from a thread of its own for the length of a
    with-block, keeping every state the window probe saw in `states`."""

    def __init__(self, machine, title="Quillmere Installer", interval=0.2):
        self.machine, self.title, self.interval = machine, title, interval
        self.states = []
        self.stopped = False
        self.thread = None

    def __enter__(self):
        import threading
        self.thread = threading.Thread(target=self.watch, daemon=True)
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopped = True
        self.thread.join(timeout=30)

    def watch(self):
        while not self.stopped:
            state = self.machine.window_state(self.title)
            if state:
                self.states.append(state)
            time.sleep(self.interval)

    def shown(self, texts):
        """Which of `texts` the window showed, in order, each once per showing."""
        shown = []
        for state in self.states:
            current = [text for text in texts if text in state["texts"]]
            if current and (not shown or shown[-1] != current[0]):
                shown.append(current[0])
        return shown

    def while_showing(self, status):
        return [state for state in self.states if status in state["texts"]]


def tag_installer(machine, target, injection="inj-demo-42"):
    """Writes to `target` a copy of the signed installer tagged for a campaign: game 123 in the
    German locale, an analytics client id and the injection id `injection` (tools/qmtag). Returns
    (exit code, standard error) of the tool."""
    os.makedirs(os.path.dirname(target), exist_ok=True)
    code, _, err = machine.output(
        os.environ["QM_QMTAG"], "set", "--game", "123", "--locale", "deu_deu",
        "--client-id", "GA1.2.1234567890.1700000000", "--injection", injection, INSTALLER, target)
    return code, err


def wait_for(predicate, timeout=30.0, interval=0.1):
    """Polls `predicate` until it returns a true value (returned) or the time is up (None)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return None


def find_windows(title_regex):
    """X window ids whose title matches, as xdotool finds them."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_regex],
                         capture_output=True, text=True)
    return out.stdout.split()


class InstallerTest(unittest.TestCase):
    """A test with a folder and a Machine of its own, and the development download server on the
    build's download host, serving every channel's version document and the demo setup from the
    test's own content folder (`self.content`, `self.downloads`)."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="qm-e2e-")
        self.machine = Machine(self.folder)
        self.machine.forget_log()
        self.machine.forget_client()
        self.content = os.path.join(self.folder, "content")
        content.make_content(self.content, DEMO_SETUP)
        self.downloads = DownloadServer(self.content).__enter__()

    def tearDown(self):
        self.machine.wait_idle()
        self.downloads.__exit__(None, None, None)
        shutil.rmtree(self.folder, ignore_errors=True)

    def run_installer(self, cwd=None, program=INSTALLER, timeout=120, **popen):
        return self.machine.run(program, cwd=cwd, timeout=timeout, **popen)

    def run_failing_installer(self, cwd=None, program=INSTALLER, timeout=120):
        """Runs the installer through a run that fails: under Wine it shows the failure in its
        window and waits for the user, who closes it here once the error icon shows; natively it
        prints the failure and goes on at once. Returns the exit code."""
        process = self.machine.start(program, cwd=cwd, stdin=subprocess.DEVNULL)
        try:
            if ON_WINE and os.path.exists(os.path.join(cwd or self.folder, "log.conf")):
                # The log tells when the error is shown without asking the window, whose
                # thread may be slow to answer while the run ends.
                wait_for(self.logged_error, timeout=timeout)
                time.sleep(1)
                self.machine.probe("post", "Quillmere Installer", "16", "0", "0")  # WM_CLOSE
            elif ON_WINE:
                def error_window():
                    state = self.machine.window_state("Quillmere Installer")
                    return state if state and state.get("icon") == "error" else None
                state = wait_for(error_window, timeout=timeout)
                if state:
                    self.machine.probe("post", "#%d" % state["handle"], "16", "0", "0")  # WM_CLOSE
            return process.wait(timeout=timeout)
        except BaseException:
            # A run left behind would hold the single-instance lock for the next test.
            process.kill()
            process.wait()
            raise

    def tagged_installer(self, injection="inj-demo-42"):
        """A tagged copy of the installer in the test's folder (see tag_installer)."""
        program = os.path.join(self.folder, "tagged", os.path.basename(INSTALLER))
        code, err = tag_installer(self.machine, program, injection)
        self.assertEqual(code, 0, err)
        return program

    def logged_error(self):
        """Whether the run's log holds its error line yet."""
        try:
            return b"ERROR" in self.machine.log_bytes()
        except FileNotFoundError:
            return False

    def with_log_marker(self, folder=None):
        """Puts "log.conf" into `folder` (the test's folder by default) and returns the folder."""
        folder = folder or self.folder
        open(os.path.join(folder, "log.conf"), "w").close()
        return folder


def main():
    unittest.main(verbosity=2)
