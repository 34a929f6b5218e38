#!/usr/bin/env python3
"""The demo's main act: one whole installation under Wine against the local development back end,
as a user who downloaded a campaign's installer would see it.

    installation_demo.py [--native]

With --native the same installation runs with the native build (for a machine whose kernel runs
no 32-bit code, where Wine cannot start the Windows program): the program carries no download tag
there, so it opens the client with qmclient://start, and its window is the terminal display,
whose lines stand in for the photographs.

The installer of the windows build is tagged for game 123 in the German locale with a client id
and an injection id (tools/qmtag), the download server serves the version document (a little
late) and the demo setup (slowly, so the download can be watched), the events server of the
production environment takes the telemetry, and the installer runs from a folder holding the
"log.conf" marker. The window is photographed during the download and during the installation.
Then the report: the statuses the window showed, the events the server received, what the
registry and the install folder hold, and the URL the client was opened with.

Run by scripts/demo after the build; writes everything under build/demo/ and prints the report.
"""

import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DEMO = os.path.join(ROOT, "build", "demo")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import ctest_env  # noqa: E402

BUILD = "native" if "--native" in sys.argv[1:] else "windows"
os.environ.update(ctest_env.load(BUILD, "test_installation"))
os.environ.update(QM_WINEPREFIX=os.path.join(DEMO, "wineprefix"), QM_ARTIFACTS=DEMO)
import harness  # noqa: E402  (reads the environment above when imported)

SCHEME_KEY = "Software\\Classes\\qmclient\\shell\\open\\command"


def tagged_installer(machine):
    """A copy of the built installer with the campaign's tag, in build/demo/ (the native program
    as built: it reads no tag)."""
    if not harness.ON_WINE:
        return harness.INSTALLER
    program = os.path.join(DEMO, os.path.basename(harness.INSTALLER))
    code, err = harness.tag_installer(machine, program)
    if code != 0:
        sys.exit("qmtag failed: " + err)
    return program


def photograph(state, path):
    """Saves the window of a probe `state` (frame and all) as the PNG `path`."""
    left, top, right, bottom = state["rect"]
    subprocess.run(["import", "-window", "root", "-crop",
                    "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage", path],
                   check=False, capture_output=True)


def watch(machine, process):
    """Follows the window until the installer ends: returns the statuses it showed in order (with
    the highest progress seen during each), photographing it mid-download (the bar moving, the
    plain icon) and mid-installation (the shield icon of the setup's run)."""
    statuses, shots = [], {}
    while process.poll() is None:
        state = machine.window_state("Quillmere Installer")
        if state and len(state["texts"]) >= 2:
            status, progress = state["texts"][1], state.get("progress") or 0
            if not statuses or statuses[-1][0] != status:
                statuses.append([status, progress])
            statuses[-1][1] = max(statuses[-1][1], progress)
            installing = state.get("icon") == "shield"
            if not installing and 20 <= progress <= 80 and "download" not in shots:
                shots["download"] = os.path.join(DEMO, "window-download.png")
                photograph(state, shots["download"])
            if installing and progress >= 30 and "installation" not in shots:
                shots["installation"] = os.path.join(DEMO, "window-installation.png")
                photograph(state, shots["installation"])
        time.sleep(0.2)
    return statuses, shots


def read_terminal(path):
    """The statuses the native terminal display wrote to the file `path` in its plain form (the
    title and the heading, then a line per status with "Progress: N%" lines between), each with
    the highest progress seen during it."""
    statuses = []
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in [line.rstrip("\n") for line in lines][2:]:
            if line.startswith("Progress: ") and line.endswith("%") and statuses:
                statuses[-1][1] = max(statuses[-1][1], int(line[10:-1]))
            elif line and (not statuses or statuses[-1][0] != line):
                statuses.append([line, 0])
    return statuses


def run_and_watch(machine, program, cwd):
    """Runs the installer to its end: (process, statuses shown, photographs taken)."""
    if harness.ON_WINE:
        process = machine.start(program, cwd=cwd)
        statuses, shots = watch(machine, process)
        return process, statuses, shots
    display = os.path.join(DEMO, "terminal-display.txt")
    with open(display, "wb") as err:
        process = machine.start(program, cwd=cwd, stderr=err)
        process.wait()
    return process, read_terminal(display), {}


def event_line(body):
    """One event as a line of the report: its type and the values that tell the story."""
    keys = ("ident", "response_code", "download_method", "curl_result", "windows_result",
            "game_id", "game_locale", "injection_id", "error", "installer_installed", "duration")
    facts = ["%s=%s" % (key, body[key]) for key in keys if key in body]
    return "  %-32s %s" % (body["type"], " ".join(facts))


def registry_lines(machine):
    uninstall = harness.UNINSTALL_KEY.split("\\", 1)[1]
    lines = ["  installation id (MainApp InstallationId) = %s" % machine.installation_id(),
             "  HKLM\\%s [InstallLocation] = %s"
             % (uninstall, machine.reg_query("HKLM", uninstall, "InstallLocation"))]
    if harness.ON_WINE:
        out = subprocess.run(["wine", "reg", "query", "HKCU\\" + SCHEME_KEY, "/ve"],
                             env=machine.env, capture_output=True, text=True, errors="replace")
        command = [line.strip() for line in out.stdout.splitlines() if "REG_" in line]
        command = command[0] if command else None
    else:
        command = machine.reg_query("HKCU", SCHEME_KEY, "")
    lines.append("  HKCU\\%s = %s" % (SCHEME_KEY, command))
    return lines


def main():
    run = os.path.join(DEMO, "run")
    shutil.rmtree(run, ignore_errors=True)
    os.makedirs(run)
    open(os.path.join(run, "log.conf"), "w").close()
    machine = harness.Machine(run)
    machine.env["QM_DEMO_CLIENT_SECONDS"] = "5"
    machine.forget_log()
    machine.forget_client()
    program = tagged_installer(machine)
    content = os.path.join(DEMO, "content")
    shutil.rmtree(content, ignore_errors=True)
    harness.content.make_content(content, harness.DEMO_SETUP)
    setup_bytes = os.path.getsize(harness.DEMO_SETUP)
    machine.setup_options(progress_steps=25, step_ms=200)
    with harness.DownloadServer(content) as downloads, harness.EventsServer() as events:
        downloads.faults({
            "/zell/final-ms3/clientversioninfo.json": {"mode": "delay", "seconds": 2, "times": 1},
            "/zell/final-ms3/QuillmereLoginSetup.exe":
                {"mode": "slow", "rate": max(setup_bytes // 6, 20000), "times": 1}})
        started = time.monotonic()
        process, statuses, shots = run_and_watch(machine, program, run)
        seconds = time.monotonic() - started
        harness.wait_for(machine.client_launches, timeout=30)
        machine.wait_idle()
        received = events.events(machine.installation_id())
    shutil.copyfile(os.path.join(machine.log_folder(), "installer.log"),
                    os.path.join(DEMO, "installer.log"))
    tag = "tagged: game 123, deu_deu" if harness.ON_WINE else "native build, no download tag"
    report = ["Installer:      %s (%s)" % (program, tag),
              "Exit code:      %s after %.1f s" % (process.returncode, seconds),
              "", "Statuses shown (highest progress):"]
    report += ["  %-40s %3d %%" % (status, progress) for status, progress in statuses]
    report += ["", "Events received (%d):" % len(received)]
    report += [event_line(event["body"]) for event in received]
    report += ["", "Registry:"] + registry_lines(machine)
    report += ["", "Install folder %s:" % machine.client_folder()]
    report += ["  " + name for name in sorted(os.listdir(machine.client_folder()))]
    report += ["", "Setup runs:"] + ["  " + line for line in machine.setup_runs()]
    report += ["Client opened with: " + ", ".join(machine.client_launches())]
    report += ["", "Log:            " + os.path.join(DEMO, "installer.log")]
    if harness.ON_WINE:
        report += ["Screenshots:    " + "  ".join(shots.get(name, "(%s not photographed)" % name)
                                              for name in ("download", "installation"))]
    else:
        report += ["Display:        " + os.path.join(DEMO, "terminal-display.txt")]
    with open(os.path.join(DEMO, "report.txt"), "w") as out:
        out.write("\n".join(report) + "\n")
    print("\n".join(report))
    return 0 if process.returncode == 0 and machine.client_launches() else 1


if __name__ == "__main__":
    sys.exit(main())
