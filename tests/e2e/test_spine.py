"""The program's spine: the log, the exit code, the single-instance lock, the old-Windows guard."""

import os
import re
import shutil
import subprocess
import time

import harness
from harness import ON_WINE, InstallerTest

TIMESTAMP = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d"
SOURCE = "src\\" if ON_WINE else "src/"


class Log(InstallerTest):
    def test_log_begins_with_the_run_header_and_ends_with_quitting(self):
        cwd = self.with_log_marker()
        self.assertEqual(self.run_installer(cwd=cwd), 0)
        lines = self.machine.log_lines()
        messages = [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]
        self.assertEqual(messages[0], "Starting")
        self.assertEqual(messages[1], "Version: ")
        expected_dir = harness.windows_path(cwd) if ON_WINE else cwd
        self.assertEqual(messages[2], "Working directory: " + expected_dir)
        self.assertEqual(messages[-1], "Quitting")
        for line in lines:
            self.assertRegex(line, "^" + TIMESTAMP + r" \(" + re.escape(SOURCE) + r"[^:]+:\d+\) ")

    def test_no_marker_no_log_folder(self):
        self.assertEqual(self.run_installer(cwd=self.folder), 0)
        self.assertFalse(os.path.exists(self.machine.log_folder()))

    def test_marker_beside_the_program_only_does_not_log(self):
        program_dir = os.path.join(self.folder, "program")
        os.makedirs(program_dir)
        program = os.path.join(program_dir, os.path.basename(harness.INSTALLER))
        shutil.copy(harness.INSTALLER, program)
        self.with_log_marker(program_dir)
        elsewhere = os.path.join(self.folder, "elsewhere")
        os.makedirs(elsewhere)
        self.assertEqual(self.run_installer(cwd=elsewhere, program=program), 0)
        self.assertFalse(os.path.exists(self.machine.log_folder()))

    def test_a_second_run_starts_the_log_afresh(self):
        cwd = self.with_log_marker()
        self.run_installer(cwd=cwd)
        first = [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in self.machine.log_lines()]
        self.assertIn("Preparing client installation", first)
        # The second run finds the client installed: nothing of the first run's log remains.
        self.run_installer(cwd=cwd)
        second = [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in self.machine.log_lines()]
        self.assertEqual((second[0], second.count("Starting"), second.count("Quitting")),
                         ("Starting", 1, 1))
        self.assertNotIn("Preparing client installation", second)


SINGLE_INSTANCE = ("The Quillmere Installer has already been launched.\n"
                   "Please try again later or restart your computer.")
WINDOWS_7_AND_NEWER = "The Quillmere Client supports Windows 7 and newer Windows versions."
WM_CLOSE = 0x10


class SingleInstance(InstallerTest):
    def setUp(self):
        super().setUp()
        self.machine.use_locale("en_GB")

    def hold(self, *args):
        """A helper process that holds a kernel object until its standard input ends."""
        holder = self.machine.start(self.machine.helper(args[0]), *args[1:], stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, text=True)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        return holder

    def release(self, holder):
        holder.stdin.close()
        holder.wait(timeout=30)
        holder.stdout.close()

    def error_window(self):
        """The installer's window once it shows the "SingleInstanceOnly" text."""
        state = self.machine.window_state("Quillmere Installer")
        return state if state and SINGLE_INSTANCE in state["texts"] else None

    def run_second_copy(self, cwd, name):
        """Runs a copy while the lock is held: it shows "SingleInstanceOnly" in its own window and
        ends when the user has closed it (natively: on standard error, at once)."""
        if not ON_WINE:
            process = self.machine.start(harness.INSTALLER, cwd=cwd, stderr=subprocess.PIPE)
            _, err = process.communicate(timeout=120)
            self.assertIn(SINGLE_INSTANCE, err.decode("utf-8"))
            self.assertEqual(process.returncode, 0)
            return
        process = self.machine.start(harness.INSTALLER, cwd=cwd)
        state = harness.wait_for(self.error_window, timeout=60)
        self.assertTrue(state, "the window did not show the error")
        harness.screenshot(name)
        self.assertEqual(state["icon"], "error")
        self.assertTrue(state["close_enabled"])
        # The copy waits for the user.
        time.sleep(1)
        self.assertIsNone(process.poll())
        self.machine.probe("post", "#%d" % state["handle"], str(WM_CLOSE), "0", "0")
        self.assertEqual(process.wait(timeout=60), 0)

    def test_a_second_copy_fails_while_the_first_holds_the_lock(self):
        holder = self.hold("hold_mutex")
        try:
            cwd = self.with_log_marker()
            self.run_second_copy(cwd, "single-instance")
            self.assertIn("ERROR: Exception occurred: SingleInstanceOnly",
                          "\n".join(self.machine.log_lines()))
            # The first copy still owns its mutex.
            holder.stdin.write("still?\n")
            holder.stdin.flush()
            self.assertEqual(holder.stdout.readline().strip(), "still held")
        finally:
            self.release(holder)
        # Once the first copy has ended, a new one takes the lock.
        self.assertEqual(self.run_installer(cwd=cwd), 0)
        log = "\n".join(self.machine.log_lines())
        self.assertIn("Locking instance mutex", log)
        self.assertNotIn("SingleInstanceOnly", log)

    @harness.unittest.skipUnless(ON_WINE, "the ready event is a Windows kernel object")
    def test_the_error_shows_while_another_copy_holds_the_set_ready_event(self):
        # A first copy that is still starting holds the window's named ready event, already set.
        holders = [self.hold("hold_mutex"),
                   self.hold("window_probe", "hold-event", "QM_INSTALLER_SPLASH_HANDLE")]
        try:
            self.run_second_copy(self.folder, "single-instance-ready-event-held")
        finally:
            for holder in holders:
                self.release(holder)


@harness.unittest.skipUnless(ON_WINE, "the Windows version guard needs Wine's version setting")
class OldWindows(InstallerTest):
    def refuse(self, version, log_in_current_directory):
        """Runs a copy of the installer that Wine tells it is `version`; returns its exit code."""
        name = "QmOld" + version + ".exe"
        program = os.path.join(self.folder, name)
        shutil.copy(harness.INSTALLER, program)
        key = "HKCU\\Software\\Wine\\AppDefaults\\" + name
        subprocess.run(["wine", "reg", "add", key, "/v", "Version", "/d", version, "/f"],
                       env=self.machine.env, capture_output=True, check=True)
        try:
            cwd = self.with_log_marker()
            self.machine.use_locale("en_GB")
            process = self.machine.start(program, cwd=cwd)
            windows = harness.wait_for(lambda: harness.find_windows("^Error$"), timeout=60)
            self.assertTrue(windows, "no error dialog appeared")
            time.sleep(0.5)
            harness.screenshot("old-windows-" + version)
            # The task dialog: the text as heading and as content, under the error icon.
            dialog = self.machine.window_state("Error")
            self.assertEqual(dialog["title"], "Error")
            self.assertEqual(dialog["texts"].count(WINDOWS_7_AND_NEWER), 2, dialog["texts"])
            self.assertEqual(dialog["icon"], "error")
            # The dialog stays until it is dismissed: the program has not ended meanwhile.
            self.assertIsNone(process.poll())
            subprocess.run(["xdotool", "key", "--window", windows[0], "Return"], check=False)
            if harness.wait_for(lambda: process.poll() is not None, timeout=10) is None:
                subprocess.run(["xdotool", "windowactivate", "--sync", windows[0]], check=False)
                subprocess.run(["xdotool", "key", "Return"], check=False)
            self.assertEqual(process.wait(timeout=30), 0)
            # Before Vista the log is written to the current directory.
            in_cwd = os.path.join(cwd, "installer.log")
            self.assertEqual(os.path.exists(in_cwd), log_in_current_directory)
            log = self.machine.log_lines(in_cwd if log_in_current_directory else None)
            messages = [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in log]
            self.assertEqual(messages[0], "Starting")
            self.assertEqual(messages[-1], "Quitting")
            self.assertNotIn("Locking instance mutex", messages)
            self.assertFalse(any(m.startswith("ERROR") for m in messages))
        finally:
            subprocess.run(["wine", "reg", "delete", key, "/f"], env=self.machine.env,
                           capture_output=True)

    def test_windows_xp_is_refused(self):
        self.refuse("winxp", log_in_current_directory=True)

    def test_windows_vista_is_refused(self):
        self.refuse("vista", log_in_current_directory=False)


if __name__ == "__main__":
    harness.main()
