#!/usr/bin/env python3
"""Checks that the download benchmark program works: it fetches a few MiB from a local HTTP
server, with the installer's limits and with a receive buffer of its own, and the file arrives
whole with the progress reported. No timing is judged here (scripts/bench measures).

    smoke_test.py [--runner PROGRAM] [--windows-paths] [--floor WINSOCK_FLOOR] DOWNLOAD_BENCH

With --floor it also checks the minimal winsock program that the Wine benchmark compares with.
"""

import argparse
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

ARGS = None


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class DownloadBenchSmoke(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="qm-bench-smoke-")
        self.www = os.path.join(self.folder, "www")
        os.mkdir(self.www)
        # Not a multiple of any buffer size, so the last block is a short one.
        self.data = os.urandom(3 * 1024 * 1024 + 12345)
        with open(os.path.join(self.www, "file.bin"), "wb") as out:
            out.write(self.data)
        handler = lambda *a, **k: Quiet(*a, directory=self.www, **k)  # noqa: E731
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def tearDown(self):
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def download(self, name, *extra):
        target = os.path.join(self.folder, name)
        shown = "Z:" + target.replace("/", "\\") if ARGS.windows_paths else target
        command = ([ARGS.runner] if ARGS.runner else []) + [ARGS.program, self.url + name, shown]
        out = subprocess.run(command + list(extra), capture_output=True, text=True, timeout=100)
        return out, target

    def test_whole_file_with_progress_for_both_buffer_choices(self):
        for extra in ((), ("65536",)):
            with self.subTest(buffer=extra):
                out, target = self.download("file.bin", *extra)
                self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
                fields = dict(re.findall(r"(\w+)=(\S+)", out.stdout))
                self.assertEqual(fields.get("method"), "curl", out.stdout)
                self.assertEqual(int(fields["bytes"]), len(self.data))
                self.assertGreaterEqual(int(fields["reports"]), 1)
                self.assertGreater(float(fields["seconds"]), 0)
                with open(target, "rb") as got:
                    self.assertTrue(got.read() == self.data, "the file differs")
                os.remove(target)

    def test_missing_file_is_a_failure(self):
        out, _ = self.download("absent.bin")
        self.assertNotEqual(out.returncode, 0, out.stdout)

    def test_floor_program_writes_the_body_only_and_refuses_a_missing_file(self):
        if not ARGS.floor:
            self.skipTest("no winsock floor program in this build")
        port = str(self.server.server_address[1])
        target = os.path.join(self.folder, "floor.bin")
        shown = "Z:" + target.replace("/", "\\") if ARGS.windows_paths else target
        runner = [ARGS.runner] if ARGS.runner else []
        out = subprocess.run(runner + [ARGS.floor, port, "/file.bin", shown], capture_output=True,
                             text=True, timeout=100)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertEqual(dict(re.findall(r"(\w+)=(\S+)", out.stdout)).get("bytes"),
                         str(len(self.data)))
        with open(target, "rb") as got:
            self.assertTrue(got.read() == self.data, "the file differs")
        missing = subprocess.run(runner + [ARGS.floor, port, "/absent.bin", "NUL"],
                                 capture_output=True, text=True, timeout=100)
        self.assertEqual(missing.returncode, 1, missing.stdout + missing.stderr)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", default="")
    parser.add_argument("--windows-paths", action="store_true")
    parser.add_argument("--floor", default="")
    parser.add_argument("program")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
