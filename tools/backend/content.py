"""The files the development download server serves: for every update channel's base path a
version document "clientversioninfo.json" naming the client setup, and the setup itself."""

import json
import os
import shutil

# The base paths of the update channels on their hosts, in enumeration order.
CHANNEL_PATHS = {
    "TEAM": "team-ms3", "TEAM1": "team1-ms3", "TEAM2": "team2-ms3",
    "EXPERIMENTAL": "experimental-ms3", "DAILYBUILD": "dailybuild-ms3",
    "QA1": "zell/qa1-ms3", "QA2": "zell/qa2-ms3", "BETA": "zell/beta-ms3",
    "FINAL": "zell/final-ms3",
}
SETUP_NAME = "QuillmereLoginSetup.exe"


def make_content(root, setup, version="2.10.0"):
    """Fills `root` for every channel with a version document of `version` whose setup URL is
    relative ("QuillmereLoginSetup.exe"), and a copy of the `setup` program."""
    for path in CHANNEL_PATHS.values():
        folder = os.path.join(root, path)
        os.makedirs(folder, exist_ok=True)
        document = {"version": version, "full": {"url": SETUP_NAME, "size": os.path.getsize(setup)},
                    "channel_path": "/" + path}
        with open(os.path.join(folder, "clientversioninfo.json"), "w") as out:
            json.dump(document, out, indent=2)
        shutil.copyfile(setup, os.path.join(folder, SETUP_NAME))


def write_document(root, channel, document):
    """Replaces the version document of `channel` by `document` (an object, or raw text)."""
    path = os.path.join(root, CHANNEL_PATHS[channel], "clientversioninfo.json")
    with open(path, "w") as out:
        out.write(document if isinstance(document, str) else json.dumps(document))
