#!/usr/bin/env python3
"""The benchmarks of the installer against the reference tools, measured side by side in one run:
every figure is a median ratio of alternating runs on this machine at this moment, not an
absolute time to compare across machines. scripts/bench builds what is needed and calls this.

    run.py --native BUILD --windows BUILD --out FOLDER [--runs N] [--mib N] [--only PART,...]
           [--no-wine REASON]

Parts: download (1 GiB through nginx on loopback: ours against curl, natively and under Wine),
buffer (the receive-buffer sweep that chooses CURLOPT_BUFFERSIZE), socket (the sweep of the
connection's kernel receive buffer, SO_RCVBUF), memory, size, startup, telemetry. Writes
FOLDER/results.md (the table and what each figure depends on) and FOLDER/results.json, and prints
the table. With --no-wine (a machine whose kernel runs no 32-bit
code, so that Wine cannot start the Windows programs) only the native figures and the size are
measured, and the table says why the Wine figures are missing.
"""

import argparse
import json
import os
import platform
import re
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import size_report  # noqa: E402

sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
import ctest_env  # noqa: E402

NGINX_PORT = 24880
BUFFER_SIZES = [0, 65536, 131072, 262144, 524288]  # 0: libcurl's default (16 KiB)
SOCKET_SIZES = [0, 1 << 20, 2 << 20, 4 << 20, 8 << 20]  # SO_RCVBUF; 0: the system's own sizing
SWEEP_MIB = 256
WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}


def log(text):
    print("bench: " + text, file=sys.stderr, flush=True)


def median(values):
    return statistics.median(values) if values else float("nan")


# Processes.

def run_timed(command, env=None):
    """(wall seconds, stdout) of `command` run to its end; raises on failure. The output goes
    through files: the Wine services a program starts inherit its handles and would hold pipes
    open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        code = subprocess.call(command, stdout=out, stderr=err, stdin=subprocess.DEVNULL, env=env)
        wall = time.perf_counter() - start
        out.seek(0)
        err.seek(0)
        text = out.read().decode("utf-8", "replace")
        if code != 0:
            raise RuntimeError("%s failed (%d): %s %s" % (command[-3:], code, text,
                                                           err.read().decode("utf-8", "replace")))
    return wall, text


def peak_rss_kib(command):
    """Peak resident memory (KiB) of `command`, measured by a fresh Python child that runs it, so
    that the figure is this program's alone."""
    script = ("import os,resource,subprocess,sys;"
              "p=subprocess.run(sys.argv[1:],stdout=subprocess.DEVNULL);"
              "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss if p.returncode==0"
              " else -1)")
    out = subprocess.run([sys.executable, "-c", script] + command, capture_output=True,
                         text=True, check=True)
    value = int(out.stdout.strip())
    if value < 0:
        raise RuntimeError("%s failed" % command[0])
    return value


def fields(text):
    return dict(re.findall(r"(\w+)=(\S+)", text))


# The server and the files.

class Nginx:
    """Debian's nginx on a loopback port of its own, serving `www`, with its configuration, logs
    and temporary folders in `folder` (not the system's service)."""

    def __init__(self, folder, www, port=NGINX_PORT):
        self.folder, self.www, self.port = folder, www, port
        self.process = None

    def __enter__(self):
        os.makedirs(os.path.join(self.folder, "temp"), exist_ok=True)
        conf = os.path.join(self.folder, "nginx.conf")
        user = "user root;\n" if os.geteuid() == 0 else ""
        temp = os.path.join(self.folder, "temp")
        with open(conf, "w") as out:
            out.write(user + """worker_processes 1;
pid %(folder)s/nginx.pid;
error_log %(folder)s/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  tcp_nopush on;
  default_type application/octet-stream;
  client_body_temp_path %(temp)s/body;
  proxy_temp_path %(temp)s/proxy;
  fastcgi_temp_path %(temp)s/fastcgi;
  uwsgi_temp_path %(temp)s/uwsgi;
  scgi_temp_path %(temp)s/scgi;
  server { listen 127.0.0.1:%(port)d; root %(www)s; }
}
""" % {"folder": self.folder, "temp": temp, "port": self.port, "www": self.www})
        self.process = subprocess.Popen(
            ["nginx", "-p", self.folder, "-c", conf, "-e", os.path.join(self.folder, "error.log"),
             "-g", "daemon off;"])
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return self
            except OSError:
                if self.process.poll() is not None:
                    break
                time.sleep(0.1)
        self.__exit__()
        raise RuntimeError("nginx did not start (see %s/error.log)" % self.folder)

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=20)

    def url(self, name):
        return "http://127.0.0.1:%d/%s" % (self.port, name)


def ensure_file(www, mib):
    """www/<mib>MiB.bin, made of one random MiB repeated (nothing on the way compresses)."""
    path = os.path.join(www, "%dMiB.bin" % mib)
    if not os.path.exists(path) or os.path.getsize(path) != mib << 20:
        block = os.urandom(1 << 20)
        with open(path + ".part", "wb") as out:
            for _ in range(mib):
                out.write(block)
        os.replace(path + ".part", path)
    return os.path.basename(path)


# The programs that download.

class Downloaders:
    def __init__(self, args, out):
        self.native_bench = os.path.join(args.native, "bench", "download_bench")
        self.windows_bench = os.path.join(args.windows, "bench", "download_bench.exe")
        self.curl_exe = os.path.join(args.mingw, "bin", "curl.exe")
        self.floor_exe = os.path.join(args.windows, "bench", "winsock_floor.exe")
        self.tmp = os.path.join(out, "tmp")
        os.makedirs(self.tmp, exist_ok=True)
        self.wine_env = dict(os.environ, WINEPREFIX=args.wineprefix, **WINE_ENV)

    def target(self, windows):
        path = os.path.join(self.tmp, "download.bin")
        if os.path.exists(path):
            os.remove(path)
        return ("Z:" + path.replace("/", "\\") if windows else path), path

    def finish(self, path, size):
        got = os.path.getsize(path) if os.path.exists(path) else -1
        if got != size:
            raise RuntimeError("the download has %d bytes, not %d" % (got, size))
        os.remove(path)

    def ours(self, url, size, windows=False, buffer=None, discard=False, socket_bytes=None):
        """(transfer seconds, wall seconds) of downloadFile in the benchmark program; with
        `discard` (Wine) into the null device instead of a file."""
        shown, path = self.target(windows)
        if discard:
            shown, path = "NUL", None
        command = [self.windows_bench if windows else self.native_bench, url, shown]
        if buffer is not None:
            command.append(str(buffer))
            if socket_bytes is not None:
                command.append(str(socket_bytes))
        env = None
        if windows:
            command, env = ["wine"] + command, self.wine_env
        wall, out = run_timed(command, env)
        if path:
            self.finish(path, size)
        elif int(fields(out)["bytes"]) != size:
            raise RuntimeError("the download reported %s bytes, not %d" % (fields(out)["bytes"],
                                                                          size))
        return float(fields(out)["seconds"]), wall

    def floor(self, port, name, size, discard=False):
        """(transfer seconds, wall seconds) of the minimal winsock program under Wine."""
        shown, path = ("NUL", None) if discard else self.target(True)
        command = ["wine", self.floor_exe, str(port), "/" + name, shown]
        wall, out = run_timed(command, self.wine_env)
        if path:
            self.finish(path, size)
        if int(fields(out)["bytes"]) != size:
            raise RuntimeError("the floor program got %s bytes, not %d" % (fields(out)["bytes"],
                                                                          size))
        return float(fields(out)["seconds"]), wall

    def curl(self, url, size, windows=False):
        """(transfer seconds, wall seconds) of the curl tool (curl.exe of our libcurl under Wine)."""
        shown, path = self.target(windows)
        command = [self.curl_exe if windows else "curl", "-s", "-S", "-f", "-o", shown, "-w",
                   "%{time_total}", url]
        env = None
        if windows:
            command, env = ["wine"] + command, self.wine_env
        wall, out = run_timed(command, env)
        self.finish(path, size)
        return float(out.strip().split()[-1]), wall


def alternate(contenders, runs):
    """Runs each contender (name -> function giving (transfer, wall)) once to warm up, then `runs`
    rounds, the order turning every round. {name: [(transfer, wall), ...]}."""
    names = list(contenders)
    times = {name: [] for name in names}
    for number in range(runs + 1):
        shift = number % len(names)
        for name in names[shift:] + names[:shift]:
            value = contenders[name]()
            if number > 0:
                times[name].append(value)
    return times


def transfer_median(times):
    return median([transfer for transfer, _ in times])


def wall_median(times):
    return median([wall for _, wall in times])


# The parts.

def part_download(args, d, server, name, size, results):
    url = server.url(name)
    log("download: native, %d runs each" % args.runs)
    native = alternate({"ours": lambda: d.ours(url, size), "curl": lambda: d.curl(url, size)},
                       args.runs)
    results["download_native"] = native
    if args.no_wine:
        return
    log("download: under Wine, %d runs each" % args.runs)
    wine = alternate({"ours": lambda: d.ours(url, size, windows=True),
                      "curl.exe": lambda: d.curl(url, size, windows=True),
                      "curl": lambda: d.curl(url, size),
                      "ours_to_nul": lambda: d.ours(url, size, windows=True, discard=True),
                      "floor": lambda: d.floor(server.port, name, size),
                      "floor_to_nul": lambda: d.floor(server.port, name, size, discard=True)},
                     args.runs)
    results["download_wine"] = wine


def measured_builds(args):
    """The builds measured, as the `windows` flag of each: the Windows build only where Wine runs."""
    return (False,) if args.no_wine else (False, True)


def sweep(args, d, server, what, sizes, download):
    """Median transfer seconds of `download(url, size, windows, value)` for each value of `sizes`
    on the sweep's file, per build: {build: {str(value): seconds}}."""
    name = ensure_file(server.www, SWEEP_MIB)
    url, size = server.url(name), SWEEP_MIB << 20
    medians = {}
    for windows in measured_builds(args):
        build = "windows" if windows else "native"
        log("%s sweep (%s), %d MiB, %d runs each" % (what, build, SWEEP_MIB, args.sweep_runs))
        contenders = {str(v): (lambda v=v: download(url, size, windows, v)) for v in sizes}
        times = alternate(contenders, args.sweep_runs)
        medians[build] = {v: transfer_median(t) for v, t in times.items()}
    return medians


def part_buffer(args, d, server, results):
    results["buffer_sweep"] = sweep(args, d, server, "buffer", BUFFER_SIZES, d.ours)
    results["buffer_sweep_mib"] = SWEEP_MIB


def part_socket(args, d, server, results):
    def download(url, size, windows, socket_bytes):
        return d.ours(url, size, windows, args.builtin_buffer, socket_bytes=socket_bytes)
    results["socket_sweep"] = sweep(args, d, server, "socket", SOCKET_SIZES, download)


def choose_buffer(medians):
    """The smallest buffer within 5 % of the fastest."""
    best = min(medians.values())
    return min(int(b) for b, t in medians.items() if t <= best * 1.05)


def part_memory(args, d, server, big, results):
    small = ensure_file(server.www, 64)
    log("memory: peak resident memory of the native benchmark program")
    peaks = {}
    for name in (small, big):
        target = os.path.join(d.tmp, "download.bin")
        values = []
        for _ in range(3):
            values.append(peak_rss_kib([d.native_bench, server.url(name), target]))
            os.remove(target)
        curl = peak_rss_kib(["curl", "-s", "-o", target, server.url(name)])
        os.remove(target)
        peaks[name] = {"ours_kib": max(values), "curl_kib": curl}
    results["memory"] = peaks


def part_size(args, results):
    exe = os.path.join(args.windows, "src", "QuillmereInstaller.exe")
    map_file = os.path.join(args.windows, "src", "QuillmereInstaller.map")
    info = {"bytes": os.path.getsize(exe)}
    if os.path.exists(map_file):
        info["parts"] = {group: sum(sections.values())
                         for group, sections in size_report.read_map(map_file).items()}
    objdump = subprocess.run(["i686-w64-mingw32-objdump", "-h", exe], capture_output=True,
                             text=True)
    info["sections"] = {m.group(1): int(m.group(2), 16) for m in re.finditer(
        r"^\s*\d+\s+(\S+)\s+([0-9a-f]+)\s", objdump.stdout, re.M)}
    signed = subprocess.run(["osslsigncode", "verify", "-in", exe], capture_output=True,
                            text=True)
    info["signed"] = "Signature verification: ok" in signed.stdout or "Signer's certificate" in \
        signed.stdout
    results["size"] = info


def e2e_environment(build):
    """The environment the end-to-end tests of `build` run with (as tests/e2e/run reads it)."""
    return dict(os.environ, **ctest_env.load(os.path.abspath(build), "test_events"))


def installer_timing(args, build, mode, rounds):
    env = e2e_environment(build)
    if env.get("QM_PLATFORM") == "windows":
        env["QM_WINEPREFIX"] = args.wineprefix
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.call([sys.executable, os.path.join(HERE, "installer_timing.py"), mode,
                                str(rounds)], env=env, stdout=out, stderr=err,
                               stdin=subprocess.DEVNULL)
        out.seek(0)
        err.seek(0)
        text, problems = out.read().decode(), err.read().decode("utf-8", "replace")
    if code != 0:
        raise RuntimeError("installer_timing %s failed: %s" % (mode, problems[-2000:]))
    return json.loads(text.strip().splitlines()[-1])


def part_startup(args, results):
    log("start-up under Wine, %d runs each" % args.runs)
    results["startup"] = installer_timing(args, args.windows, "startup", args.runs)


def part_telemetry(args, results):
    telemetry = {}
    for windows in measured_builds(args):
        name, build = ("windows", args.windows) if windows else ("native", args.native)
        log("telemetry (%s), %d runs each" % (name, args.telemetry_runs))
        telemetry[name] = installer_timing(args, build, "telemetry", args.telemetry_runs)
    results["telemetry"] = telemetry


# What the figures depend on.

def command_line(command):
    """The first line a command prints (on either output), "?" when it does not run."""
    with tempfile.TemporaryFile() as out:
        try:
            subprocess.call(command, stdout=out, stderr=out, stdin=subprocess.DEVNULL, timeout=60)
        except (OSError, subprocess.TimeoutExpired):
            return "?"
        out.seek(0)
        lines = out.read().decode("utf-8", "replace").strip().splitlines()
    return lines[0].strip() if lines else "?"


def machine_facts(args, results):
    cpu = "?"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as info:
        memory = int(info.readline().split()[1]) // 1024
    facts = {
        "cpu": cpu, "cores": os.cpu_count(), "memory_mib": memory,
        "kernel": platform.release(), "load": os.getloadavg(),
        "wine": command_line(["wine", "--version"]),
        "curl": command_line(["curl", "--version"]),
        "curl_exe": command_line(["sh", "-c", "WINEPREFIX=%s WINEDEBUG=-all wine %s --version"
                                  % (args.wineprefix, os.path.join(args.mingw, "bin",
                                                                   "curl.exe"))]).split("\n")[0],
        "nginx": command_line(["nginx", "-v"]),
        "filesystem": command_line(["sh", "-c", "df -hT %s | tail -n 1" % os.path.join(
            args.out, "tmp")]),
        "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()),
    }
    results["machine"] = facts


# The table.

def ratio_row(rows, number, what, ours, reference, target, unit="s"):
    ratio = ours / reference if reference else float("nan")
    rows.append((number, what, "%.2f %s" % (ours, unit), "%.2f %s" % (reference, unit),
                 "%.2f" % ratio, "<= %.2f" % target, "yes" if ratio <= target else "NO"))


def table(results, args):
    rows = []
    mib = args.mib
    if "download_native" in results:
        n = results["download_native"]
        ratio_row(rows, "1", "download %d MiB, native: ours / curl" % mib,
                  transfer_median(n["ours"]), transfer_median(n["curl"]), 1.05)
    if "download_wine" in results:
        w = results["download_wine"]
        ratio_row(rows, "1", "download %d MiB, Wine: ours / curl.exe (same libcurl)" % mib,
                  transfer_median(w["ours"]), transfer_median(w["curl.exe"]), 1.05)
        ratio_row(rows, "1", "download %d MiB, Wine: ours / native curl" % mib,
                  transfer_median(w["ours"]), transfer_median(w["curl"]), 1.2)
        ratio_row(rows, "1", "the same into NUL, no file written (where the time goes)",
                  transfer_median(w["ours_to_nul"]), transfer_median(w["curl"]), 1.2)
        # The least any Windows program does (plain winsock and WriteFile): Wine's own floor.
        ratio_row(rows, "1", "Wine's floor: minimal winsock program / native curl",
                  transfer_median(w["floor"]), transfer_median(w["curl"]), 1.2)
        ratio_row(rows, "1", "Wine's floor into NUL / native curl",
                  transfer_median(w["floor_to_nul"]), transfer_median(w["curl"]), 1.2)
        ratio_row(rows, "1", "download %d MiB, Wine: ours / Wine's floor" % mib,
                  transfer_median(w["ours"]), transfer_median(w["floor"]), 1.2)
    if "buffer_sweep" in results:
        kib = lambda b: "%d KiB" % (b // 1024) if b else "default"  # noqa: E731
        fastest = {b: min(m, key=m.get) for b, m in results["buffer_sweep"].items()}
        close = {b: choose_buffer(m) for b, m in results["buffer_sweep"].items()}
        results["buffer_fastest"] = fastest
        text = ", ".join("%s %s (within 5 %%: from %s)" % (b, kib(int(f)), kib(close[b]))
                         for b, f in fastest.items())
        rows.append(("1", "CURLOPT_BUFFERSIZE: the fastest of the sweep (%d MiB)"
                     % results["buffer_sweep_mib"], text,
                     "built in: %s" % kib(args.builtin_buffer), "", "", ""))
    if "socket_sweep" in results:
        mib = lambda b: "%d MiB" % (b >> 20) if b else "system's"  # noqa: E731
        text = ", ".join("%s %s" % (b, mib(int(min(m, key=m.get))))
                         for b, m in results["socket_sweep"].items())
        rows.append(("1", "SO_RCVBUF: the fastest of the sweep (%d MiB)" % SWEEP_MIB, text,
                     "built in: %s" % mib(args.builtin_socket), "", "", ""))
    if "memory" in results:
        m = results["memory"]
        for name, peak in sorted(m.items(), key=lambda i: int(i[0].split("MiB")[0])):
            ours = peak["ours_kib"] / 1024
            rows.append(("2", "peak resident memory, native, %s" % name.replace(".bin", ""),
                         "%.1f MiB" % ours, "curl %.1f MiB" % (peak["curl_kib"] / 1024), "",
                         "<= 16 MB", "yes" if ours * 1.048576 <= 16 else "NO"))
    if "size" in results:
        size = results["size"]["bytes"]
        rows.append(("3", "QuillmereInstaller.exe as shipped (static, stripped, signed)",
                     "%.2f MB" % (size / 1e6), "", "", "<= 3.0 MB",
                     "yes" if size <= 3.0e6 else "NO"))
    if "startup" in results:
        s = results["startup"]
        ratio_row(rows, "4", "start-up until the window exists, Wine: installer / task dialog",
                  median(s["installer"]), median(s["task_dialog"]), 1.2)
    for build, t in sorted(results.get("telemetry", {}).items()):
        ratio_row(rows, "5", "start until the client opens, %s: events answered after 2 s / at "
                  "once" % ("Wine" if build == "windows" else "native"),
                  median(t["delayed_2s"]), median(t["immediate"]), 1.05)
    if args.no_wine:
        rows.append(("1, 4, 5", "every figure under Wine", "not measured", "", "", "",
                     "Wine cannot run 32-bit programs here: %s" % args.no_wine))
    header = ("#", "measure", "ours", "reference", "ratio", "target", "met")
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(lines)


def sweep_table(title, sizes, label, medians):
    """The lines of one sweep's table: a row per build, a column per size."""
    lines = ["## %s (median transfer seconds, %d MiB)" % (title, SWEEP_MIB), "",
             "| build | " + " | ".join(label(v) for v in sizes) + " |",
             "|---|" + "---|" * len(sizes)]
    for build, values in medians.items():
        lines.append("| %s | " % build + " | ".join("%.2f" % values[str(v)] for v in sizes) + " |")
    return lines + [""]


def details(results, args):
    m = results.get("machine", {})
    out = ["## What the figures depend on", "",
           "- Machine: %s, %s cores, %s MiB memory, Linux %s; load average at the start %s."
           % (m.get("cpu"), m.get("cores"), m.get("memory_mib"), m.get("kernel"),
              ", ".join("%.2f" % v for v in m.get("load", ()))),
           "- Wine: %s; native curl: %s; curl.exe: %s; server: %s on 127.0.0.1:%d (sendfile)."
           % (m.get("wine"), m.get("curl"), m.get("curl_exe"), m.get("nginx"), NGINX_PORT),
           "- Files: %d MiB for the downloads, %d MiB for the buffer sweep, 64 MiB and %d MiB for"
           " memory; every download is written to the same folder (%s) and deleted afterwards."
           % (args.mib, SWEEP_MIB, args.mib, m.get("filesystem")),
           "- Runs: one warm-up round, then %d rounds (sweep %d, telemetry %d), the order turning"
           " every round; figures are medians. Download times are the transfer as each program"
           " reports it (`downloadFile` timed around the call; curl's `%%{time_total}`); the wall"
           " times of the processes are in results.json." % (args.runs, args.sweep_runs,
                                                             args.telemetry_runs),
           "- Start-up: from starting the program until xdotool finds its visible window, in the"
           " same Wine prefix, the wineserver kept running. Telemetry: from starting the"
           " installer until the demo client records its launch, with the development download"
           " and events servers; the installer is ended there.",
           "- Measured %s." % m.get("date"), ""]
    kib = lambda b: "%d KiB" % (b // 1024) if b else "default (16 KiB)"  # noqa: E731
    mib = lambda b: "%d MiB" % (b >> 20) if b else "system's sizing"  # noqa: E731
    for key, title, sizes, label in (
            ("buffer_sweep", "Receive buffer sweep", BUFFER_SIZES, kib),
            ("socket_sweep", "Socket receive buffer sweep", SOCKET_SIZES, mib)):
        if key in results:
            out += sweep_table(title, sizes, label, results[key])
    if "size" in results and "parts" in results["size"]:
        size = results["size"]
        out += ["## What takes the space in QuillmereInstaller.exe (%d bytes)" % size["bytes"], "",
                "| from | KiB |", "|---|---|"]
        for group, value in sorted(size["parts"].items(), key=lambda i: -i[1]):
            out.append("| %s | %d |" % (group, value // 1024))
        other = {name: value for name, value in size["sections"].items()
                 if name in (".reloc", ".idata", ".rsrc")}
        out.append("| linker tables (%s) | %d |" % (", ".join(sorted(other)),
                                                     sum(other.values()) // 1024))
        out.append("")
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--native", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--mingw", default="/var/cache/quillmere/mingw32")
    parser.add_argument("--out", required=True)
    parser.add_argument("--wineprefix", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sweep-runs", type=int, default=3)
    parser.add_argument("--telemetry-runs", type=int, default=5)
    parser.add_argument("--mib", type=int, default=1024)
    parser.add_argument("--only",
                        default="download,buffer,socket,memory,size,startup,telemetry")
    parser.add_argument("--no-wine", default="", metavar="REASON",
                        help="measure no figure under Wine, for this reason")
    args = parser.parse_args()
    args.out = os.path.abspath(args.out)
    parts = args.only.split(",")
    www = os.path.join(args.out, "www")
    os.makedirs(www, exist_ok=True)
    os.makedirs(os.path.join(args.out, "tmp"), exist_ok=True)
    results = {}
    machine_facts(args, results)
    d = Downloaders(args, args.out)
    # The buffer the installer is built with, as the benchmark program reports it.
    limits = fields(subprocess.run([d.native_bench, "--limits"], capture_output=True,
                                   text=True).stdout)
    args.builtin_buffer = int(limits.get("buffer", 0))
    args.builtin_socket = int(limits.get("socket", 0))
    big = ensure_file(www, args.mib)
    with Nginx(os.path.join(args.out, "nginx"), www) as server:
        if "download" in parts:
            part_download(args, d, server, big, args.mib << 20, results)
        if "buffer" in parts:
            part_buffer(args, d, server, results)
        if "socket" in parts:
            part_socket(args, d, server, results)
        if "memory" in parts:
            part_memory(args, d, server, big, results)
    if "size" in parts:
        part_size(args, results)
    if "startup" in parts and not args.no_wine:
        part_startup(args, results)
    if "telemetry" in parts:
        part_telemetry(args, results)
    text = table(results, args)
    report = "# Benchmarks\n\n" + text + "\n\n" + details(results, args)
    with open(os.path.join(args.out, "results.md"), "w") as out:
        out.write(report)
    with open(os.path.join(args.out, "results.json"), "w") as out:
        json.dump(results, out, indent=1)
    print(text)
    shutil.rmtree(d.tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
