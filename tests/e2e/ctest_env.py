"""The environment that ctest gives an end-to-end script of a build: read back from the build's
tests/e2e/CTestTestfile.cmake, so that a script can also be run by hand (tests/e2e/run) or by the
demo with exactly the facts that the build's CMake configured."""

import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))


def load(build, script):
    """The variables (a dict) that ctest sets for tests/e2e/<script>.py in build/<build> (or in
    the build folder `build` when it is a path); raises LookupError when the build has no such
    test."""
    folder = build if os.sep in build else os.path.join(HERE, "..", "..", "build", build)
    testfile = os.path.join(folder, "tests", "e2e", "CTestTestfile.cmake")
    with open(testfile) as tests:
        text = tests.read()
    # The properties stand on one line, in CMake's order (DISABLED, say, before ENVIRONMENT).
    match = re.search(r'%s\.py"\)\nset_tests_properties\(\[=\[[^]]*\]=\] PROPERTIES '
                      r'[^\n]*?\bENVIRONMENT "([^"]*)"' % re.escape(script), text)
    if not match:
        raise LookupError("no test runs %s.py in %s" % (script, testfile))
    return dict(entry.partition("=")[::2] for entry in match.group(1).split(";"))
