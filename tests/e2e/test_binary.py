"""The shipped program as a file: a 32-bit GUI PE that needs no DLL but the system's, with its
manifest and icon group."""

import os
import re
import struct
import subprocess
import unittest

import harness

# DLLs that every Windows installation has (lower case).
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
    "ole32.dll", "oleaut32.dll", "msvcrt.dll", "ws2_32.dll", "crypt32.dll", "bcrypt.dll",
    "comctl32.dll", "rpcrt4.dll", "urlmon.dll", "wininet.dll", "winmm.dll", "version.dll",
    "uxtheme.dll", "wintrust.dll", "ntdll.dll", "secur32.dll", "iphlpapi.dll", "normaliz.dll",
}
# The KnownDLLs that Windows 7 to 11 all have (lower case), which Windows loads from System32
# whatever lies beside the program; ntdll is mapped into every process.
KNOWN_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll",
    "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}
RT_ICON_GROUP, RT_MANIFEST = 14, 24


class PeImage:
    """The few parts of a PE file the tests read."""

    def __init__(self, path):
        with open(path, "rb") as image:
            self.data = image.read()
        (pe,) = struct.unpack_from("<I", self.data, 60)
        assert self.data[pe:pe + 4] == b"PE\0\0"
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        self.magic, = struct.unpack_from("<H", self.data, optional)
        self.subsystem, = struct.unpack_from("<H", self.data, optional + 68)
        self.resource_rva, self.resource_size = struct.unpack_from("<II", self.data, optional + 96 + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raw))

    def offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError("RVA outside every section")

    def resources(self):
        """{(type, id): [data bytes of each language]} for resources with numeric ids."""
        base = self.offset(self.resource_rva)
        found = {}

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield ident, target

        for type_id, type_dir in entries(0):
            for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
                for _, leaf in entries(name_dir & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.setdefault((type_id, name_id), []).append(self.data[start:start + size])
        return found


@unittest.skipUnless(harness.ON_WINE, "the shipped program is the Windows build")
class ShippedProgram(unittest.TestCase):
    def setUp(self):
        self.image = PeImage(harness.INSTALLER)

    def test_file_reports_a_32_bit_gui_program(self):
        out = subprocess.run(["file", "-b", harness.INSTALLER], capture_output=True, text=True)
        self.assertTrue(out.stdout.startswith("PE32 executable (GUI) Intel 80386"), out.stdout)
        self.assertEqual(self.image.machine, 0x014C)
        self.assertEqual(self.image.magic, 0x10B)
        self.assertEqual(self.image.subsystem, 2)

    def test_imports_only_system_dlls(self):
        out = subprocess.run(["i686-w64-mingw32-objdump", "-p", harness.INSTALLER],
                             capture_output=True, text=True, check=True)
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", out.stdout)}
        self.assertTrue(dlls)
        self.assertLessEqual(dlls, SYSTEM_DLLS, dlls - SYSTEM_DLLS)

    def test_imports_only_known_dlls(self):
        # Any other DLL is looked for in the program's own folder first (a Downloads folder):
        # the program loads those from System32 at run time instead.
        out = subprocess.run(["i686-w64-mingw32-objdump", "-p", harness.INSTALLER],
                             capture_output=True, text=True, check=True)
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", out.stdout)}
        self.assertIn("kernel32.dll", dlls)
        self.assertLessEqual(dlls, KNOWN_DLLS, dlls - KNOWN_DLLS)

    def test_manifest_asks_for_common_controls_6_and_no_elevation(self):
        manifest = self.image.resources()[(RT_MANIFEST, 1)][0].decode("utf-8")
        self.assertIn('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', manifest)
        self.assertIn('level="asInvoker"', manifest)
        for system in ("35138b9a-5d96-4fbd-8e2d-a2440225f93a",   # Windows 7
                       "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",   # Windows 8
                       "1f676c76-80e1-4239-95bb-83d0f6d0da78",   # Windows 8.1
                       "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):  # Windows 10
            self.assertIn(system, manifest)
        self.assertIn(">PerMonitorV2, PerMonitor<", manifest)
        self.assertIn(">true/pm<", manifest)

    def test_icon_group_32512_has_two_images(self):
        group = self.image.resources()[(RT_ICON_GROUP, 32512)][0]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        sizes = sorted(group[6 + 14 * i] for i in range(count))
        self.assertEqual(sizes, [16, 32])


if __name__ == "__main__":
    harness.main()
