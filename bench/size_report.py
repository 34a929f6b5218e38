#!/usr/bin/env python3
"""What takes the space in a linked Windows program: reads the GNU ld map (-Wl,-Map) and sums the
input sections that land in the file (code, read-only data, data, unwind tables) by where they
come from: OpenSSL's libcrypto and libssl, libcurl, our qm_core, the C++ and C runtimes, the
resources, the rest.

    size_report.py MAP [--json]
"""

import json
import re
import sys

# Output sections that take room in the file (.bss takes none; .reloc, .idata and the signature
# are the linker's and the signer's, and are counted from the file itself by the caller).
FILE_SECTIONS = (".text", ".rdata", ".data", ".eh_frame", ".rsrc", ".pdata", ".xdata", ".tls",
                 ".CRT")
INPUT = re.compile(r"^ (\.[\w.$]+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")


def origin(path):
    """The group an input file belongs to."""
    name = path.rsplit("/", 1)[-1]
    archive = re.match(r"(lib[\w+-]+)\.a\(", name)
    if archive:
        library = archive.group(1)
        if library in ("libcrypto", "libssl", "libcurl", "libqm_core"):
            return {"libqm_core": "our code (qm_core)"}.get(library, library)
        if library in ("libstdc++", "libsupc++"):
            return "C++ runtime (libstdc++)"
        if library.startswith(("libmingw", "libmsvcrt", "libgcc", "libwinpthread", "libmoldname",
                               "libucrt")):
            return "C runtime, libgcc, winpthreads"
        return "Windows import libraries"
    if name.endswith(".res"):
        return "resources"
    if "WinMain" in name:
        return "our code (qm_core)"
    return "C runtime, libgcc, winpthreads"


def read_map(path):
    """{group: {output section: bytes}} of the map at `path`."""
    sizes = {}
    section = None
    pending = None
    with open(path, errors="replace") as lines:
        in_map = False
        for line in lines:
            line = line.rstrip("\n")
            if line.startswith("Linker script and memory map"):
                in_map = True
                continue
            if not in_map:
                continue
            top = re.match(r"^(\.[\w.$]+)\s+0x[0-9a-f]+", line)
            if top:
                section = top.group(1)
                continue
            name_only = re.match(r"^ (\.[\w.$]+)\s*$", line)
            if name_only:
                pending = name_only.group(1)
                continue
            match = INPUT.match(line)
            if match and section in FILE_SECTIONS:
                size = int(match.group(3), 16)
                source = match.group(4)
                if size and not source.startswith("*") and (match.group(1) or pending):
                    group = origin(source)
                    sizes.setdefault(group, {}).setdefault(section, 0)
                    sizes[group][section] += size
            pending = None
    return sizes


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sizes = read_map(sys.argv[1])
    if "--json" in sys.argv:
        print(json.dumps(sizes, indent=1, sort_keys=True))
        return
    total = sum(sum(s.values()) for s in sizes.values())
    for group, sections in sorted(sizes.items(), key=lambda item: -sum(item[1].values())):
        size = sum(sections.values())
        detail = ", ".join("%s %d KiB" % (name, value // 1024)
                           for name, value in sorted(sections.items(), key=lambda i: -i[1])
                           if value >= 1024)
        print("%-32s %6d KiB %5.1f %%  (%s)" % (group, size // 1024, 100.0 * size / total, detail))


if __name__ == "__main__":
    main()
