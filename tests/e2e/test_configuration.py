"""installer.ini beside the program, and the installation identifier the run leaves in the
registry."""

import os
import re
import shutil

import harness
from harness import ON_WINE, InstallerTest

# Selector words of docs/installer-ini.md.
DAILYBUILD_WORD = "inkwell-dailybuild-h2v5"
SANDBOX_WORD = "nib-sandbox-m1y6"

MAIN_KEY = "SOFTWARE\\Quillworks\\QuillmereClient\\MainApp"
LEGACY_KEY = "SOFTWARE\\Quillworks\\ZellClient\\MainApp"
UUID = re.compile(r"^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$")


def messages(lines):
    return [re.sub(r"^\S+ \S+ \([^)]*\) ", "", line) for line in lines]


class Configuration(InstallerTest):
    def program_in(self, name):
        """A copy of the installer in a folder of its own; returns its path."""
        folder = os.path.join(self.folder, name)
        os.makedirs(folder, exist_ok=True)
        program = os.path.join(folder, os.path.basename(harness.INSTALLER))
        shutil.copy(harness.INSTALLER, program)
        return program

    def write_ini(self, folder, channel, environment):
        with open(os.path.join(folder, "installer.ini"), "w", newline="\r\n") as ini:
            ini.write("[INSTALLER]\nupdateChannel=%s\nenvironment=%s\n" % (channel, environment))

    def configuration_lines(self, program, cwd):
        """The log lines of the configuration step (its first line and the four after it)."""
        self.with_log_marker(cwd)
        self.assertEqual(self.run_installer(cwd=cwd, program=program), 0)
        log = messages(self.machine.log_lines())
        at = log.index("Reading configuration file")
        # The step follows the lock and the installation identifier.
        self.assertEqual(log[at - 2:at], ["Locking instance mutex", "Ensuring installation ID is set"])
        return log[at:at + 5]

    def test_an_ini_beside_the_program_selects_channel_and_environment(self):
        program = self.program_in("program")
        self.write_ini(os.path.dirname(program), DAILYBUILD_WORD, SANDBOX_WORD)
        cwd = os.path.join(self.folder, "elsewhere")
        os.makedirs(cwd)
        self.assertEqual(self.configuration_lines(program, cwd), [
            "Reading configuration file",
            "Update channel: " + DAILYBUILD_WORD,
            "Environment: " + SANDBOX_WORD,
            "Using update channel: DAILYBUILD",
            "Using environment : SANDBOX",
        ])

    def test_without_an_ini_the_defaults_apply(self):
        program = self.program_in("program")
        self.assertEqual(self.configuration_lines(program, self.folder), [
            "Reading configuration file",
            "Update channel: ",
            "Environment: ",
            "Using update channel: FINAL",
            "Using environment : PRODUCTION",
        ])

    def test_an_ini_in_the_current_directory_only_is_ignored(self):
        program = self.program_in("program")
        cwd = os.path.join(self.folder, "current")
        os.makedirs(cwd)
        self.write_ini(cwd, DAILYBUILD_WORD, SANDBOX_WORD)
        lines = self.configuration_lines(program, cwd)
        self.assertEqual(lines[3:], ["Using update channel: FINAL", "Using environment : PRODUCTION"])

    def test_values_that_match_nothing_are_logged_as_they_stand(self):
        program = self.program_in("program")
        self.write_ini(os.path.dirname(program), "  FINAL  ", DAILYBUILD_WORD.upper())
        self.assertEqual(self.configuration_lines(program, self.folder)[1:], [
            "Update channel: FINAL",
            "Environment: " + DAILYBUILD_WORD.upper(),
            "Using update channel: FINAL",
            "Using environment : PRODUCTION",
        ])


class InstallationIdentity(InstallerTest):
    PLACES = [("HKLM", MAIN_KEY), ("HKCU", MAIN_KEY), ("HKLM", LEGACY_KEY), ("HKCU", LEGACY_KEY)]

    def setUp(self):
        super().setUp()
        self.clear()

    def tearDown(self):
        self.clear()
        super().tearDown()

    def clear(self):
        for root, key in self.PLACES:
            self.machine.reg_delete(root, key)

    def ids(self):
        return [self.machine.reg_query(root, key, "InstallationId") for root, key in self.PLACES]

    def test_the_first_run_creates_one_identifier_and_a_second_keeps_it(self):
        self.assertEqual(self.run_installer(), 0)
        created = self.ids()
        self.assertRegex(created[1] or "", UUID)
        self.assertEqual([created[0]] + created[2:], [None, None, None])
        self.assertEqual(self.run_installer(), 0)
        self.assertEqual(self.ids(), created)

    def test_an_identifier_in_the_legacy_machine_key_is_used_as_it_stands(self):
        self.machine.reg_add("HKLM", LEGACY_KEY, "InstallationId",
                             "6f9619ff-8b86-d011-b42d-00c04fc964ff")
        self.assertEqual(self.run_installer(), 0)
        self.assertEqual(self.ids(), [None, None, "6f9619ff-8b86-d011-b42d-00c04fc964ff", None])


if __name__ == "__main__":
    harness.main()
