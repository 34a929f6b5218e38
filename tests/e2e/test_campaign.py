"""The campaign record of a download: a copy of the signed installer tagged with qmtag, as release
engineering tags it, run against the development events server. The record's fields, the
"GoogleClientId" it stores, its log lines and the campaign event it sends. Only the Windows build
can be tagged; natively the program (no PE file) carries no tag."""

import os
import re
import shutil
import unittest

import harness
from harness import ON_WINE, EventsServer, InstallerTest

QMTAG = os.environ.get("QM_QMTAG", "")
MARKER = b"Gact2.0Omaha"
MAIN_KEY = "SOFTWARE\\Quillworks\\QuillmereClient\\MainApp"
CAMPAIGN_KEYS = ("game_id", "game_locale", "google_client_id", "injection_id")
MISSING_LINES = {
    "c": "Event without googleUserId found",
    "g": "Event without gameid found",
    "l": "Event without gamelocale found",
    "i": "Event without injection id found. Will not send tracking event",
}


def messages(lines):
    return [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]


class Campaign(InstallerTest):
    def setUp(self):
        super().setUp()
        # The analytics identifier must come from this run only.
        self.machine.reg_delete("HKCU", MAIN_KEY)
        self.program = os.path.join(self.folder, "program", os.path.basename(harness.INSTALLER))
        os.makedirs(os.path.dirname(self.program))

    def tag(self, members):
        """Tags a copy of the installer as the program, with qmtag (members: {"g": ...})."""
        shutil.copy(harness.INSTALLER, os.path.join(self.folder, "signed.exe"))
        options = []
        for option, member in (("--game", "g"), ("--locale", "l"), ("--client-id", "c"),
                               ("--injection", "i")):
            if member in members:
                options += [option, members[member]]
        code, _, err = self.machine.output(QMTAG, "set", *options, "signed.exe", "tagged.exe")
        self.assertEqual(code, 0, err)
        shutil.move(os.path.join(self.folder, "tagged.exe"), self.program)

    def retag_text(self, json_text):
        """Replaces the tag text of the tagged program by the hexadecimal digits of `json_text`
        padded with blanks to the same length (the signature does not cover the tag)."""
        with open(self.program, "rb") as source:
            image = bytearray(source.read())
        # The certificate table is the file's last part; the program's code holds the marker too.
        at = image.rindex(MARKER) + len(MARKER)
        length = image[at] << 8 | image[at + 1]
        text = json_text.encode().ljust(length // 2, b" ")
        self.assertEqual(len(text) * 2, length)
        image[at + 2:at + 2 + length] = text.hex().encode()
        with open(self.program, "wb") as out:
            out.write(image)

    def run_campaign(self):
        """Runs the program with the log on; (log messages, the campaign events' own values)."""
        with EventsServer() as server:
            cwd = self.with_log_marker()
            self.assertEqual(self.run_installer(cwd=cwd, program=self.program), 0)
            events = server.events(self.machine.installation_id())
        self.assertIn("installer_close", [e["body"]["type"] for e in events])
        campaign = [{key: e["body"][key] for key in CAMPAIGN_KEYS if key in e["body"]}
                    for e in events if e["body"]["type"] == "STUB_INSTALLER_STARTED"]
        return messages(self.machine.log_lines()), campaign

    def campaign_lines(self, log):
        return [line for line in log
                if line.startswith("Event without") or line.startswith("Could not")]

    def stored_client_id(self):
        return self.machine.reg_query("HKCU", MAIN_KEY, "GoogleClientId")

    @unittest.skipUnless(ON_WINE, "only the Windows build can be tagged")
    def test_a_complete_record_is_stored_and_reported_once(self):
        self.tag({"g": "123", "l": "deu_deu", "c": "1234567890.1234567890", "i": "spring-2027"})
        log, campaign = self.run_campaign()
        self.assertEqual(self.campaign_lines(log), [])
        self.assertEqual(campaign, [{"game_id": "123", "game_locale": "deu_deu",
                                     "google_client_id": "1234567890.1234567890",
                                     "injection_id": "spring-2027"}])
        self.assertEqual(self.stored_client_id(), "1234567890.1234567890")

    @unittest.skipUnless(ON_WINE, "only the Windows build can be tagged")
    def test_without_an_injection_no_event_is_sent(self):
        self.tag({"g": "123", "c": "42.42"})
        log, campaign = self.run_campaign()
        self.assertEqual(self.campaign_lines(log), [MISSING_LINES["l"], MISSING_LINES["i"]])
        self.assertEqual(campaign, [])
        self.assertEqual(self.stored_client_id(), "42.42")

    @unittest.skipUnless(ON_WINE, "only the Windows build can be tagged")
    def test_a_number_for_the_game_leaves_it_empty(self):
        self.tag({"i": "x" * 40})
        self.retag_text('{"g":123,"l":"fra_fra","i":"autumn"}')
        log, campaign = self.run_campaign()
        self.assertEqual(self.campaign_lines(log), [MISSING_LINES["c"], MISSING_LINES["g"]])
        self.assertEqual(campaign, [{"game_locale": "fra_fra", "injection_id": "autumn"}])
        self.assertIsNone(self.stored_client_id())

    @unittest.skipUnless(ON_WINE, "only the Windows build can be tagged")
    def test_a_tag_that_is_no_json_sends_the_placeholders(self):
        self.tag({"g": "123", "i": "spring"})
        self.retag_text("{not json")
        log, campaign = self.run_campaign()
        self.assertEqual(self.campaign_lines(log), ["Could not extract embedded information"])
        self.assertEqual(campaign, [{key: "--none--" for key in CAMPAIGN_KEYS}])
        self.assertIsNone(self.stored_client_id())

    def test_an_untagged_program_sends_the_placeholders_once(self):
        shutil.copy(harness.INSTALLER, self.program)
        log, campaign = self.run_campaign()
        self.assertEqual(self.campaign_lines(log), [])
        self.assertEqual(campaign, [{key: "--none--" for key in CAMPAIGN_KEYS}])
        self.assertIsNone(self.stored_client_id())


if __name__ == "__main__":
    harness.main()
