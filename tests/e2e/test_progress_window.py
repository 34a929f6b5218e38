"""The progress window as a person sees it: the real window, put into each of its states by the
progress driver (tests/helpers/progress_driver.cpp). Under Wine the window probe
(tests/helpers/window_probe_win.cpp) reads it from another process and xdotool clicks and types
where a real user action matters; natively the terminal display on standard error is read."""

import os
import pty
import signal
import subprocess
import time

import harness
from harness import ON_WINE, InstallerTest, ProgressDriver

# What the window shows in the languages the tests start it in: title, heading, the status
# "CheckingForUpdates", and whether it is laid out right to left.
LANGUAGES = {
    "en_GB": ("Quillmere Installer", "Quillmere Client", "Checking for updates.", False),
    "de_DE": ("Quillmere Installer", "Quillmere Client", "Suche nach Updates.", False),
    "ar_AE": ("مثبّت Quillmere", "عميل Quillmere", "جارٍ البحث عن تحديثات.", True),
}
NON_STOPPABLE = ("Installing the Quillmere Client now. This process cannot be cancelled, please "
                 "be patient.")
COULD_NOT_INSTALL = ("The Quillmere Client could not be installed.\n"
                     "Please try again later or restart your computer.")
SETUP_PROGRESS = 32774
WM_CLOSE, WM_SYSCOMMAND, SC_CLOSE = 0x10, 0x112, 0xF060


class WindowTest(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")
        self.drivers = []

    def tearDown(self):
        for driver in self.drivers:
            driver.finish()
        super().tearDown()

    def driver(self, **kwargs):
        driver = ProgressDriver(self.machine, **kwargs)
        self.drivers.append(driver)
        return driver


@harness.unittest.skipUnless(ON_WINE, "the task dialog needs Wine")
class TaskDialog(WindowTest):
    def shown(self, locale="en_GB"):
        """A driver whose window has been started in `locale`; returns (driver, "#HANDLE")."""
        self.machine.use_locale(locale)
        driver = self.driver()
        handle = driver.start()
        self.assertNotEqual(handle, 0, "startProgressWindow returned before the window existed")
        return driver, "#%d" % handle

    def state(self, target):
        state = self.machine.window_state(target)
        self.assertIsNotNone(state, "the window is gone")
        return state

    def test_title_heading_status_and_reading_direction_in_three_languages(self):
        for locale, (title, heading, status, rtl) in LANGUAGES.items():
            with self.subTest(locale=locale):
                driver, target = self.shown(locale)
                # The first update right after the start reaches the window.
                self.assertEqual(driver("status CheckingForUpdates"), "ok")
                state = self.state(target)
                self.assertEqual(state["title"], title)
                self.assertEqual(state["texts"][:2], [heading, status])
                self.assertEqual(state["rtl"], rtl)
                self.assertEqual(state["icon"], "main")
                self.assertEqual(state["close_enabled"], True)
                harness.screenshot("progress-window-" + locale)
                driver.finish()

    def test_status_texts_appear_as_set(self):
        driver, target = self.shown()
        for key, text in (("CheckingForUpdates", "Checking for updates."),
                          ("ConfigurationFetched", "Downloaded update manifest."),
                          ("DownloadingInstaller", "Downloading Quillmere Client."),
                          ("InstallingInstaller", "Updating the Quillmere Client.")):
            self.assertEqual(driver("status " + key), "ok")
            self.assertEqual(self.state(target)["texts"], ["Quillmere Client", text, "Close"])

    def test_a_set_ready_event_of_another_copy_does_not_end_the_wait_early(self):
        holder = self.machine.start(self.machine.helper("window_probe"), "hold-event",
                                    "QM_INSTALLER_SPLASH_HANDLE", stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, text=True)
        try:
            self.assertEqual(holder.stdout.readline().strip(), "held")
            driver, target = self.shown()
            self.assertEqual(driver("status CheckingForUpdates"), "ok")
            self.assertIn("Checking for updates.", self.state(target)["texts"])
        finally:
            holder.stdin.close()
            holder.wait(timeout=60)
            holder.stdout.close()

    def test_progress_bar_positions(self):
        driver, target = self.shown()
        cases = [
            ("progress 512 1024", 50),
            ("progress 5 0", 100),
            (("send", SETUP_PROGRESS, 3, 4), 75),
            ("percent 99.9", 99),
            ("percent 250", 100),
            ("percent -3", 0),
            ("progress 1024 1024", 100),
            # A setup message with a total of 0 keeps the bar inside its range.
            (("send", SETUP_PROGRESS, 7, 0), 0),
        ]
        for command, position in cases:
            with self.subTest(command=command):
                if isinstance(command, tuple):
                    answer = self.machine.probe(command[0], target, *map(str, command[1:]))
                    self.assertEqual(answer, {"result": 1})
                else:
                    self.assertEqual(driver(command), "ok")
                self.assertEqual(self.state(target)["progress"], position)

    def test_clicking_close_while_closable_closes_the_window_and_requests_the_close(self):
        driver, target = self.shown()
        self.assertEqual(driver("progress 300 1000"), "ok")
        harness.click(*self.state(target)["close_point"])
        self.assertTrue(harness.wait_for(lambda: self.machine.window_state(target) is None,
                                         timeout=10), "the window stayed")
        self.assertEqual(driver("requested"), "1")
        self.assertEqual(driver("wait", timeout=30), "ended")
        # Later updates find no window and change nothing.
        for command in ("status DownloadingInstaller", "error CouldNotInstall", "percent 50"):
            self.assertEqual(driver(command), "ok")
        self.assertEqual(driver("requested"), "1")

    def test_while_non_stoppable_every_close_attempt_shows_the_notice(self):
        driver, target = self.shown()
        self.assertEqual(driver("nonstoppable 1"), "ok")
        self.assertEqual(driver("shield"), "ok")
        state = self.state(target)
        self.assertEqual(state["close_enabled"], False)
        self.assertEqual(state["icon"], "shield")
        # A click on the disabled button does nothing.
        harness.click(*state["close_point"])
        time.sleep(0.5)
        self.assertEqual(self.state(target)["popups"], [])
        windows = harness.find_windows("^Quillmere Installer$")
        attempts = [
            ("alt+F4", lambda: harness.press_keys(windows[0], "alt+F4")),
            ("SC_CLOSE", lambda: self.machine.probe("post", target, str(WM_SYSCOMMAND),
                                                    str(SC_CLOSE), "0")),
            ("WM_CLOSE", lambda: self.machine.probe("post", target, str(WM_CLOSE), "0", "0")),
        ]
        for name, attempt in attempts:
            with self.subTest(attempt=name):
                attempt()
                popups = harness.wait_for(lambda: self.state(target)["popups"], timeout=10)
                self.assertTrue(popups, "no notice appeared")
                self.assertEqual(popups[0]["title"], "Quillmere Installer")
                self.assertIn(NON_STOPPABLE, popups[0]["texts"])
                harness.screenshot("progress-window-non-stoppable-" + name)
                # Another attempt meanwhile stacks no second notice.
                self.machine.probe("post", target, str(WM_SYSCOMMAND), str(SC_CLOSE), "0")
                time.sleep(0.5)
                self.assertEqual(len(self.state(target)["popups"]), 1)
                self.assertEqual(self.machine.probe("popup-ok", target), {"pressed": True})
                self.assertTrue(harness.wait_for(lambda: not self.state(target)["popups"],
                                                 timeout=10))
                self.assertEqual(driver("requested"), "0")
        self.assertEqual(driver("nonstoppable 0"), "ok")
        self.assertEqual(self.state(target)["close_enabled"], True)

    def test_an_error_enables_close_shows_the_error_icon_and_waits_for_the_user(self):
        driver, target = self.shown()
        self.assertEqual(driver("nonstoppable 1"), "ok")
        self.assertEqual(driver("error CouldNotInstall"), "ok")
        state = self.state(target)
        self.assertEqual(state["close_enabled"], True)
        self.assertIn(COULD_NOT_INSTALL, state["texts"])
        self.assertEqual(state["icon"], "error")
        harness.screenshot("progress-window-error")
        # The window's thread goes on until the user closes the window.
        driver.send("wait")
        self.assertIsNone(driver.answer(timeout=2))
        self.machine.probe("post", target, str(WM_CLOSE), "0", "0")
        self.assertEqual(driver.answer(timeout=30), "ended")

    def test_the_support_link_is_opened_with_the_shell_and_other_links_are_not(self):
        # The shell opens "https" and the test's own scheme "qmtest" with the link recorder.
        record = os.path.join(self.folder, "opened.txt")
        command = '"%s" "%s" "%%1"' % (harness.windows_path(self.machine.helper("record_open")),
                                       harness.windows_path(record))
        https_key = "HKCR\\https\\shell\\open\\command"
        previous = default_value(self.machine, https_key)
        for key in (https_key, "HKCR\\qmtest\\shell\\open\\command"):
            subprocess.run(["wine", "reg", "add", key, "/ve", "/d", command, "/f"],
                           env=self.machine.env, capture_output=True, check=True)
        subprocess.run(["wine", "reg", "add", "HKCR\\qmtest", "/v", "URL Protocol", "/d", "", "/f"],
                       env=self.machine.env, capture_output=True, check=True)
        try:
            driver, target = self.shown()
            self.assertEqual(driver("error RemoteVersionInfoValidationError"), "ok")
            link = self.machine.probe("link", target)
            self.assertEqual(link["url"], harness.SUPPORT_URL)
            self.assertTrue(link["link"].endswith('<a href="%s">Support</a>.' % harness.SUPPORT_URL))
            harness.screenshot("progress-window-support-link")
            harness.click(*link["point"])
            opened = harness.wait_for(lambda: read_text(record), timeout=30)
            self.assertEqual(opened, harness.SUPPORT_URL + "\n")
            # A link in a text that is no key (a library's message, say) opens nothing but the web.
            self.assertEqual(driver('error Failed, see <a href="qmtest:start">details</a>.'), "ok")
            link = self.machine.probe("link", target)
            self.assertEqual(link["url"], "qmtest:start")
            harness.click(*link["point"])
            time.sleep(3)
            self.assertEqual(read_text(record), harness.SUPPORT_URL + "\n")
        finally:
            subprocess.run(["wine", "reg", "delete", "HKCR\\qmtest", "/f"], env=self.machine.env,
                           capture_output=True)
            if previous is not None:
                subprocess.run(["wine", "reg", "add", https_key, "/ve", "/d", previous, "/f"],
                               env=self.machine.env, capture_output=True)


@harness.unittest.skipUnless(ON_WINE, "the shipped program is the Windows build")
class CommonControls(harness.unittest.TestCase):
    def test_the_program_reaches_the_common_controls_at_run_time_only(self):
        # Loaded by name through the manifest's activation context, never imported: the loader
        # must not resolve it before the program decides where DLLs come from.
        out = subprocess.run(["i686-w64-mingw32-objdump", "-p", harness.INSTALLER],
                             capture_output=True, text=True, check=True)
        self.assertNotIn("comctl32.dll", out.stdout.lower())


@harness.unittest.skipIf(ON_WINE, "the terminal display stands in for the window natively")
class TerminalDisplay(WindowTest):
    def lines(self, driver, stream):
        self.assertEqual(driver.finish(), 0)
        stream.seek(0)
        return stream.read().decode("utf-8").splitlines()

    def test_plain_lines_on_a_stream_in_three_languages(self):
        for locale, (title, heading, status, _) in LANGUAGES.items():
            with self.subTest(locale=locale), open(os.path.join(self.folder, locale), "w+b") as err:
                self.machine.use_locale(locale)
                driver = self.driver(stderr=err)
                self.assertEqual(driver.start(), 0)
                for command in ("status CheckingForUpdates", "progress 512 1024", "percent 59",
                                "percent 99.9", "percent 250", "percent -3", "progress 5 0"):
                    self.assertEqual(driver(command), "ok")
                self.assertEqual(self.lines(driver, err), [
                    title, heading, status, "Progress: 50%", "Progress: 90%", "Progress: 100%",
                    "Progress: 0%", "Progress: 100%"])

    def test_ctrl_c_is_the_close_request_unless_the_operation_is_non_stoppable(self):
        with open(os.path.join(self.folder, "err"), "w+b") as err:
            driver = self.driver(stderr=err)
            driver.start()
            self.assertEqual(driver("nonstoppable 1"), "ok")
            self.machine_interrupt(driver)
            self.assertEqual(driver("requested"), "0")
            self.assertEqual(driver("nonstoppable 0"), "ok")
            self.machine_interrupt(driver)
            self.assertTrue(harness.wait_for(lambda: driver("requested") == "1", timeout=10))
            self.assertEqual(driver("wait", timeout=10), "ended")
            # The display is gone: later texts are dropped.
            self.assertEqual(driver("status DownloadingInstaller"), "ok")
            self.assertEqual(driver("error CouldNotInstall"), "ok")
            lines = self.lines(driver, err)
        self.assertEqual(lines[2:], [NON_STOPPABLE])

    def machine_interrupt(self, driver):
        driver.process.send_signal(signal.SIGINT)
        time.sleep(0.3)

    def test_after_an_error_without_a_terminal_the_program_goes_on(self):
        with open(os.path.join(self.folder, "err"), "w+b") as err:
            driver = self.driver(stderr=err)
            driver.start()
            self.assertEqual(driver("nonstoppable 1"), "ok")
            self.assertEqual(driver("error RemoteVersionInfoValidationError"), "ok")
            self.assertEqual(driver("wait", timeout=10), "ended")
            lines = self.lines(driver, err)
        self.assertEqual(lines[2:], [
            "Unable to validate data for the Quillmere Client update.",
            "If this error occurs frequently, please contact our Support (%s)." %
            harness.SUPPORT_URL])

    def test_on_a_terminal_the_status_line_is_redrawn_and_an_error_waits_for_enter(self):
        master, slave = pty.openpty()
        try:
            driver = self.driver(stdin=slave, stderr=slave)
            os.close(slave)
            slave = None
            driver.start()
            for command in ("status CheckingForUpdates", "progress 512 1024", "error CouldNotInstall"):
                self.assertEqual(driver(command), "ok")
            driver.send("wait")
            self.assertIsNone(driver.answer(timeout=1), "the display did not wait for Enter")
            os.write(master, b"\n")
            self.assertEqual(driver.answer(timeout=10), "ended")
            self.assertEqual(driver.finish(), 0)
            screen = read_all(master)
        finally:
            os.close(master)
            if slave is not None:
                os.close(slave)
        self.assertTrue(screen.startswith("Quillmere Installer\r\nQuillmere Client\r\n"), screen)
        self.assertEqual(screen.count("Quillmere Installer"), 1)
        self.assertIn("\r\x1b[KChecking for updates.  [--------------------]   0%", screen)
        self.assertIn("\r\x1b[KChecking for updates.  [##########----------]  50%\r\n" +
                      COULD_NOT_INSTALL.replace("\n", "\r\n") + "\r\nPress Enter to close.\r\n",
                      screen)


def read_text(path):
    """The text of the file at `path`; None while it does not exist."""
    try:
        with open(path, encoding="utf-8") as text:
            return text.read()
    except FileNotFoundError:
        return None


def default_value(machine, key):
    """The default value of a registry key under Wine; None when it has none."""
    out = subprocess.run(["wine", "reg", "query", key, "/ve"], env=machine.env,
                         capture_output=True, text=True, errors="replace")
    for line in out.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            return parts[2]
    return None


def read_all(fd):
    """What a terminal's program side has written so far, as text."""
    import select
    data = b""
    while select.select([fd], [], [], 0.5)[0]:
        try:
            chunk = os.read(fd, 65536)
        except OSError:
            break
        if not chunk:
            break
        data += chunk
    return data.decode("utf-8")


if __name__ == "__main__":
    harness.main()
