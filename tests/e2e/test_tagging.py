"""qmtag on signed installers, as release engineering uses it: the tag it writes is what the
installer's reader finds, the Authenticode signature stays valid, and a refusal leaves nothing
behind. The Windows build runs its own qmtag.exe under Wine on the signed installer; the native
build its qmtag on a small executable signed here."""

import json
import os
import shutil
import unittest

import harness
import signed_images

QMTAG = os.environ.get("QM_QMTAG", "")
MARKER = b"Gact2.0Omaha"
CAMPAIGN = {"g": "123", "l": "deu_deu", "c": "1234567890.1234567890", "i": "spring-campaign"}


class Tagging(harness.InstallerTest):
    def setUp(self):
        super().setUp()
        self.signed = os.path.join(self.folder, "signed.exe")
        if harness.ON_WINE:
            shutil.copy(harness.INSTALLER, self.signed)
        else:
            self.write("unsigned.exe", signed_images.minimal_image())
            signed_images.sign(self.path("unsigned.exe"), self.signed)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as out:
            out.write(data)

    def read(self, name):
        with open(self.path(name), "rb") as source:
            return source.read()

    def qmtag(self, *args):
        """(exit code, standard output, standard error) of qmtag run in the test's folder."""
        return self.machine.output(QMTAG, *args)

    def set_campaign(self, source, target, campaign):
        options = []
        for option, member in (("--game", "g"), ("--locale", "l"), ("--client-id", "c"),
                               ("--injection", "i")):
            if member in campaign:
                options += [option, campaign[member]]
        return self.qmtag("set", *options, source, target)

    def assert_verifies(self, name):
        passed, output = signed_images.verify(self.path(name))
        self.assertTrue(passed, output)
        self.assertNotIn("invalid PE checksum", output)

    def test_set_then_get_gives_the_members_and_the_signature_stays_valid(self):
        original = self.read("signed.exe")
        code, _, err = self.set_campaign("signed.exe", "tagged.exe", CAMPAIGN)
        self.assertEqual(code, 0, err)
        code, out, err = self.qmtag("get", "tagged.exe")
        self.assertEqual(code, 0, err)
        self.assertEqual(json.loads(out), CAMPAIGN)
        self.assert_verifies("tagged.exe")
        self.assertEqual(self.read("signed.exe"), original)

    def test_a_file_tagged_twice_holds_only_the_second_tag(self):
        self.assertEqual(self.set_campaign("signed.exe", "tagged.exe", CAMPAIGN)[0], 0)
        second = {"g": "456", "i": "autumn"}
        code, _, err = self.set_campaign("tagged.exe", "tagged.exe", second)
        self.assertEqual(code, 0, err)
        self.assertEqual(json.loads(self.qmtag("get", "tagged.exe")[1]), second)
        # The installer's own tag reader holds the marker too, outside the certificate table.
        self.assertEqual(self.read("tagged.exe").count(MARKER),
                         self.read("signed.exe").count(MARKER) + 1)
        self.assert_verifies("tagged.exe")

    def test_remove_restores_the_signed_file(self):
        self.assertEqual(self.set_campaign("signed.exe", "tagged.exe", CAMPAIGN)[0], 0)
        code, _, err = self.qmtag("remove", "tagged.exe", "untagged.exe")
        self.assertEqual(code, 0, err)
        self.assertEqual(self.read("untagged.exe"), self.read("signed.exe"))
        code, _, err = self.qmtag("get", "untagged.exe")
        self.assertEqual(code, 1)
        self.assertIn("carries no download tag", err)

    def test_the_longest_tag_the_installer_reads_is_written_and_a_longer_one_refused(self):
        # {"i":"..."} is 8 bytes and the value; two hexadecimal digits per byte.
        longest = "x" * ((8205 // 2) - 8)
        self.assertEqual(self.set_campaign("signed.exe", "long.exe", {"i": longest})[0], 0)
        self.assertEqual(json.loads(self.qmtag("get", "long.exe")[1]), {"i": longest})
        code, _, err = self.set_campaign("signed.exe", "longer.exe", {"i": longest + "x"})
        self.assertEqual(code, 1)
        self.assertIn("8205", err)
        self.assertFalse(os.path.exists(self.path("longer.exe")))

    def test_refusals_write_no_output_file(self):
        self.write("unsigned.exe", signed_images.minimal_image())
        self.write("x64-unsigned.exe", signed_images.minimal_image(x64=True))
        signed_images.sign(self.path("x64-unsigned.exe"), self.path("x64.exe"))
        cases = [
            ("unsigned", ["set", "--game", "1", "unsigned.exe", "out.exe"], 1, "not signed"),
            ("x64", ["set", "--game", "1", "x64.exe", "out.exe"], 1, "x64"),
            ("missing input", ["set", "--game", "1", "missing.exe", "out.exe"], 1, "cannot open"),
            ("option without a value", ["set", "signed.exe", "out.exe", "--game"], 2, "--game"),
            ("unknown option", ["set", "--colour", "red", "signed.exe", "out.exe"], 2, "--colour"),
            ("no member", ["set", "signed.exe", "out.exe"], 2, "at least one"),
            ("no output", ["set", "--game", "1", "signed.exe"], 2, "file name"),
        ]
        before = sorted(os.listdir(self.folder))
        for name, args, expected, message in cases:
            with self.subTest(name):
                code, _, err = self.qmtag(*args)
                self.assertEqual(code, expected, err)
                self.assertIn(message, err)
                self.assertEqual(sorted(os.listdir(self.folder)), before)
        # An output file that exists already stays as it was.
        self.write("out.exe", b"earlier")
        self.assertEqual(self.qmtag("set", "--game", "1", "unsigned.exe", "out.exe")[0], 1)
        self.assertEqual(self.read("out.exe"), b"earlier")


@unittest.skipUnless(harness.ON_WINE, "the Windows build signs the program")
class ShippedProgram(unittest.TestCase):
    def test_the_installer_is_signed_with_the_code_signing_certificate(self):
        passed, output = signed_images.verify(harness.INSTALLER)
        self.assertTrue(passed, output)
        self.assertIn("CN=Quillworks Development Code Signing", output)


if __name__ == "__main__":
    harness.main()
