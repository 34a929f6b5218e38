#!/usr/bin/env python3
"""Times the installer itself, with the end-to-end harness (tests/e2e/harness.py) and the build's
environment as the end-to-end tests get it (bench/run.py sets it up):

    installer_timing.py startup ROUNDS     time until the window exists, against a program that
                                           only shows a task dialog (Wine), alternating
    installer_timing.py telemetry ROUNDS   time until the client is opened, with an events server
                                           that answers each event after 2 s and with one that
                                           answers at once, alternating

Prints one JSON object with the single times in seconds. Each run is ended once its moment has
been seen: what the installer does afterwards is not measured.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.environ.get("QM_SOURCE_DIR", ""), "tests", "e2e"))
import harness  # noqa: E402
import content  # noqa: E402  (tools/backend/content.py, on the path through the harness)

TASK_DIALOG = os.path.join(harness.BUILD_DIR, "bench", "task_dialog_bench.exe")


def visible_window(title):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                         capture_output=True, text=True)
    return bool(out.stdout.split())


def end(process):
    """Ends a run of ours that is still going."""
    if process.poll() is None:
        process.send_signal(signal.SIGKILL)
    process.wait(timeout=60)


def wait_until(predicate, timeout, interval=0.01):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(interval)
    return False


def time_window(machine, program, title, folder):
    """Seconds from starting `program` until a visible window titled `title` exists."""
    start = time.perf_counter()
    process = machine.start(program, cwd=folder)
    try:
        if not wait_until(lambda: visible_window(title), 60):
            raise RuntimeError("%s showed no window" % program)
        return time.perf_counter() - start
    finally:
        end(process)
        wait_until(lambda: not visible_window(title), 30, 0.1)


def startup(rounds):
    folder = tempfile.mkdtemp(prefix="qm-bench-startup-")
    machine = harness.Machine(folder)
    programs = [("installer", harness.INSTALLER, "Quillmere Installer"),
                ("task_dialog", TASK_DIALOG, "Quillmere Task Dialog")]
    times = {name: [] for name, _, _ in programs}
    try:
        for number in range(rounds + 1):
            order = programs if number % 2 == 0 else programs[::-1]
            for name, program, title in order:
                seconds = time_window(machine, program, title, folder)
                if number > 0:  # the first round warms the prefix up
                    times[name].append(seconds)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return times


def time_to_client(machine, folder):
    """Seconds from starting the installer until the demo client has been opened."""
    machine.forget_client()
    if not wait_until(lambda: not machine.client_launches(), 20, 0.2):
        raise RuntimeError("an earlier client launch is still recorded")
    start = time.perf_counter()
    process = machine.start(harness.INSTALLER, cwd=folder, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        if not wait_until(lambda: machine.client_launches(), 180, 0.02):
            raise RuntimeError("the client was not opened")
        return time.perf_counter() - start
    finally:
        end(process)
        # The demo client closes its window after a second.
        time.sleep(2.5)


def telemetry(rounds):
    folder = tempfile.mkdtemp(prefix="qm-bench-telemetry-")
    machine = harness.Machine(folder)
    served = os.path.join(folder, "content")
    content.make_content(served, harness.DEMO_SETUP)
    arms = [("immediate", ()), ("delayed_2s", ("--delay", "2"))]
    times = {name: [] for name, _ in arms}
    try:
        with harness.DownloadServer(served):
            for number in range(rounds + 1):
                order = arms if number % 2 == 0 else arms[::-1]
                for name, options in order:
                    with harness.EventsServer("PRODUCTION", *options) as events:
                        seconds = time_to_client(machine, folder)
                        received = len(events.events())
                    if number > 0:
                        times[name].append(seconds)
                    times.setdefault(name + "_events", []).append(received)
    finally:
        machine.forget_client()
        shutil.rmtree(folder, ignore_errors=True)
    return times


def main():
    mode, rounds = sys.argv[1], int(sys.argv[2])
    result = {"startup": startup, "telemetry": telemetry}[mode](rounds)
    print(json.dumps(result))


if __name__ == "__main__":
    main()
