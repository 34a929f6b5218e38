"""Small Windows executables for the tagging tests, made here and signed with osslsigncode and the
build's development PKI (QM_BUILD_DIR/pki): the same inputs on both builds."""

import os
import struct
import subprocess

import harness

PKI = os.path.join(harness.BUILD_DIR, "pki")
CA = os.path.join(PKI, "ca.crt.pem")


def minimal_image(x64=False):
    """A PE32 (or, with `x64`, a PE32+ x64) console program of one section that returns at once."""
    optional_size = 240 if x64 else 224
    image = bytearray(0x400)
    image[0:2] = b"MZ"
    struct.pack_into("<I", image, 60, 0x80)
    image[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", image, 0x84, 0x8664 if x64 else 0x014C, 1, 0, 0, 0,
                     optional_size, 0x0022 if x64 else 0x0102)
    optional = 0x98
    if x64:
        struct.pack_into("<HBBIIIIIQIIHHHHHHIIIIHHQQQQII", image, optional, 0x20B, 14, 0, 0x200,
                         0, 0, 0x1000, 0x1000, 0x140000000, 0x1000, 0x200, 6, 0, 0, 0, 6, 0, 0,
                         0x2000, 0x200, 0, 3, 0x8160, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    else:
        struct.pack_into("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", image, optional, 0x10B, 14, 0, 0x200,
                         0, 0, 0x1000, 0x1000, 0x2000, 0x400000, 0x1000, 0x200, 6, 0, 0, 0, 6, 0,
                         0, 0x2000, 0x200, 0, 3, 0x8140, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    section = optional + optional_size
    struct.pack_into("<8sIIIIIIHHI", image, section, b".text", 1, 0x1000, 0x200, 0x200, 0, 0,
                     0, 0, 0x60000020)
    image[0x200] = 0xC3
    return bytes(image)


def sign(source, target):
    """Signs the file `source` as `target` with the development code-signing certificate."""
    subprocess.run(["osslsigncode", "sign", "-h", "sha256",
                    "-certs", os.path.join(PKI, "codesign.crt.pem"),
                    "-key", os.path.join(PKI, "codesign.private.pem"),
                    "-n", "Quillmere Installer", "-in", source, "-out", target],
                   check=True, capture_output=True)


def verify(path):
    """(passed, output) of osslsigncode verify against the development CA."""
    out = subprocess.run(["osslsigncode", "verify", "-CAfile", CA, "-in", path],
                         capture_output=True, text=True, errors="replace")
    return out.returncode == 0, out.stdout + out.stderr
