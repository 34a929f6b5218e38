"""Telemetry of a run: the events that reach the development events server of the environment
that installer.ini selects, their envelope and wire form, the "Sent event:" lines of the log, and
what a slow, silent or missing server does to the run."""

import json
import os
import re
import shutil
import subprocess
import time

import harness
from harness import ON_WINE, EventsServer, InstallerTest

# The events of a run that installs the client.
RUN_EVENTS = sorted(["installer_started", "installer_system_information", "STUB_INSTALLER_STARTED",
                     "installer_download_performed", "installer_client_download_start",
                     "installer_download_performed", "installer_client_downloaded",
                     "installation_started", "installation_done", "installer_close"])
BETA_WORD = "inkwell-beta-x5f9"


def messages(lines):
    return [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]


def wire_form(body):
    """The installer's serialization of `body`: compact, keys sorted, raw UTF-8."""
    return json.dumps(body, sort_keys=True, separators=(",", ":"), ensure_ascii=False)


class EventsTest(InstallerTest):
    def program(self, environment=None, channel_word=None):
        """A copy of the installer in a folder of its own, with an installer.ini beside it that
        selects `environment` (and the channel of `channel_word`); returns its path."""
        folder = os.path.join(self.folder, "program")
        os.makedirs(folder, exist_ok=True)
        program = os.path.join(folder, os.path.basename(harness.INSTALLER))
        shutil.copy(harness.INSTALLER, program)
        harness.write_installer_ini(folder, environment, channel_word)
        return program

    def run_logged(self, program, timeout=120, fails=False):
        """Runs `program` from the test's folder with the log on (closing the window of a run
        that `fails`); returns the log's messages."""
        cwd = self.with_log_marker()
        # Every run finds the client not installed and installs it.
        self.machine.forget_client()
        run = self.run_failing_installer if fails else self.run_installer
        self.assertEqual(run(cwd=cwd, program=program, timeout=timeout), 0)
        return messages(self.machine.log_lines())

    def own_events(self, server):
        return server.events(self.machine.installation_id())

    def sent_lines(self, log):
        return [line[len("Sent event:"):] for line in log if line.startswith("Sent event:")]


class Delivery(EventsTest):
    def test_a_run_reports_to_the_environment_that_installer_ini_selects(self):
        for environment in ("DEV", "INTEGRATION", "SANDBOX", "PRODUCTION"):
            with self.subTest(environment), EventsServer(environment) as server:
                log = self.run_logged(self.program(environment, BETA_WORD))
                events = self.own_events(server)
                self.assertEqual(sorted(e["body"]["type"] for e in events), RUN_EVENTS)
                for event in events:
                    body = event["body"]
                    self.assertLessEqual(harness.ENVELOPE_KEYS, set(body), body)
                    self.assertEqual(body["update_channel_string"], "BETA")
                    self.assertEqual(event["subject"]["commonName"], "Quillmere Installer")
                close = next(e["body"] for e in events if e["body"]["type"] == "installer_close")
                self.assertEqual(close["error"], "success")
                self.assertEqual(close["installer_installed"], "1")
                self.assertLess(int(close["duration"]), 120000)
                # Every answer was 200: one log line per event, holding its wire form.
                sent = self.sent_lines(log)
                self.assertEqual(sorted(sent), sorted(wire_form(e["body"]) for e in events))
                self.assertTrue(all(line.startswith("{") for line in sent))

    def test_events_of_the_system_and_the_missing_campaign(self):
        with EventsServer() as server:
            self.run_logged(self.program())
            events = {e["body"]["type"]: e["body"] for e in self.own_events(server)}
        system = events["installer_system_information"]
        self.assertEqual(set(system) - harness.ENVELOPE_KEYS,
                         {"emulated_windows_version", "memoryinfo", "osinfo"})
        self.assertEqual(system["update_channel_string"], "FINAL")
        self.assertEqual(set(system["osinfo"]), {"build", "major", "minor", "sp_major",
                                                 "sp_minor", "name", "version_name"})
        self.assertEqual(system["osinfo"]["version_name"], "%s.%s.%s" % (
            system["osinfo"]["major"], system["osinfo"]["minor"], system["osinfo"]["build"]))
        if ON_WINE:
            self.assertNotEqual(system["osinfo"]["name"], "Unknown Windows")
        self.assertEqual(set(system["memoryinfo"]),
                         {"load", "total", "available", "s_total", "s_available"})
        self.assertGreater(int(system["memoryinfo"]["total"]), 0)
        self.assertEqual(system["emulated_windows_version"], "")
        # This copy carries no download tag.
        campaign = events["STUB_INSTALLER_STARTED"]
        for key in ("game_id", "game_locale", "google_client_id", "injection_id"):
            self.assertEqual(campaign[key], "--none--")

    def test_other_answers_than_200_take_the_event_but_log_nothing(self):
        for status in ("201", "204", "500"):
            with self.subTest(status), EventsServer("DEV", "--status", status) as server:
                log = self.run_logged(self.program("DEV"))
                self.assertEqual(sorted(e["body"]["type"] for e in self.own_events(server)),
                                 RUN_EVENTS)
                self.assertEqual(self.sent_lines(log), [])
                self.assertEqual(log[-2:], ["Waiting for events being sent.", "Quitting"])


class EarlyEvents(EventsTest):
    def test_the_closing_event_of_a_run_stopped_before_telemetry_arrives(self):
        # The identifier must exist already: the locked run stops before it is made.
        self.assertEqual(self.run_installer(), 0)
        holder = self.machine.start(self.machine.helper("hold_mutex"), stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, text=True)
        try:
            self.assertEqual(holder.stdout.readline().strip(), "held")
            with EventsServer("SANDBOX") as server:
                log = self.run_logged(self.program("SANDBOX", BETA_WORD), fails=True)
                events = self.own_events(server)
        finally:
            holder.stdin.close()
            holder.wait(timeout=30)
            holder.stdout.close()
        self.assertNotIn("Initializing monitoring system", log)
        self.assertEqual([e["body"]["type"] for e in events], ["installer_close"])
        close = events[0]["body"]
        self.assertEqual(close["error"], "SingleInstanceOnly")
        # Before the configuration was read, the channel is FINAL; the run was measured.
        self.assertEqual(close["update_channel_string"], "FINAL")
        self.assertLess(int(close["duration"]), 120000)
        self.assertEqual(self.sent_lines(log), [wire_form(close)])

    @harness.unittest.skipUnless(ON_WINE, "the Windows version guard needs Wine's version setting")
    def test_a_refused_old_windows_reports_its_platform(self):
        program = self.program("DEV")
        name = os.path.basename(program)
        key = "HKCU\\Software\\Wine\\AppDefaults\\" + name
        self.machine.reg_add("HKCU", "Software\\Wine\\AppDefaults\\" + name, "Version", "winxp")
        try:
            with EventsServer("DEV") as server:
                cwd = self.with_log_marker()
                process = self.machine.start(program, cwd=cwd)
                windows = harness.wait_for(lambda: harness.find_windows("^Error$"), timeout=60)
                self.assertTrue(windows, "no error dialog appeared")
                subprocess.run(["xdotool", "key", "--window", windows[0], "Return"], check=False)
                if harness.wait_for(lambda: process.poll() is not None, timeout=10) is None:
                    subprocess.run(["xdotool", "windowactivate", "--sync", windows[0]],
                                   check=False)
                    subprocess.run(["xdotool", "key", "Return"], check=False)
                self.assertEqual(process.wait(timeout=60), 0)
                events = self.own_events(server)
        finally:
            subprocess.run(["wine", "reg", "delete", key, "/f"], env=self.machine.env,
                           capture_output=True)
        bodies = {e["body"]["type"]: e["body"] for e in events}
        self.assertEqual(sorted(bodies), ["installer_close", "installer_unsupported_platform"])
        platform = bodies["installer_unsupported_platform"]
        self.assertEqual(platform["sys_name"], "Windows XP")
        self.assertRegex(platform["sys_identifier"], r"^5\.1\.\d+$")
        self.assertEqual(platform["emulated_windows_version"], "")
        self.assertEqual(bodies["installer_close"]["error"], "WinXPShutdown")
        # Before Vista the log is written to the current directory.
        log = messages(self.machine.log_lines(os.path.join(cwd, "installer.log")))
        self.assertEqual(len(self.sent_lines(log)), 2)


class SlowAndMissingServers(EventsTest):
    def test_without_a_server_the_run_ends_as_before(self):
        address, port = harness.events_address("PRODUCTION")
        with harness.port_lock(port):
            log = self.run_logged(self.program())
        self.assertEqual(self.sent_lines(log), [])
        self.assertFalse(any(line.startswith("ERROR") for line in log), log)
        self.assertEqual(log[-2:], ["Waiting for events being sent.", "Quitting"])

    def test_the_run_ends_only_after_the_last_event_was_answered(self):
        with EventsServer("DEV", "--delay", "1") as server:
            log = self.run_logged(self.program("DEV"))
            self.assertEqual(len(self.own_events(server)), len(RUN_EVENTS))
        waiting = log.index("Waiting for events being sent.")
        # Each answer takes a second: the last ones come in while the run waits for them, and
        # every one before the program quits.
        self.assertEqual(len(self.sent_lines(log)), len(RUN_EVENTS))
        self.assertGreaterEqual(len(self.sent_lines(log[waiting:])), 1)
        self.assertEqual(log[-1], "Quitting")

    def test_a_request_never_answered_gives_up_and_the_others_still_arrive(self):
        with EventsServer("INTEGRATION", "--hold-first") as server:
            started = time.monotonic()
            log = self.run_logged(self.program("INTEGRATION"), timeout=300)
            elapsed = time.monotonic() - started
            events = self.own_events(server)
        self.assertEqual(sorted(e["body"]["type"] for e in events), RUN_EVENTS)
        held, later = events[0], events[1:]
        sent = self.sent_lines(log)
        self.assertEqual(sorted(sent), sorted(wire_form(e["body"]) for e in later))
        self.assertNotIn(wire_form(held["body"]), sent)
        # The others waited for the held transfer's 30 seconds, and not much more.
        self.assertGreater(min(e["time"] for e in later) - held["time"], 25)
        self.assertLess(elapsed, 120)


if __name__ == "__main__":
    harness.main()
