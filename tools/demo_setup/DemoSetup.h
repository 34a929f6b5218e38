// The demo client setup: what it does in the order it does it, and the platform parts it needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How one start of the setup behaves, read from "QuillmereLoginSetup.options" (JSON) beside the
// program; every member is optional.
struct SetupOptions {
  int exitCode = 0;          // "exit_code": the exit code of a silent run
  int secondExitCode = 0;    // "second_exit_code": the exit code of an interactive run
  bool install = true;       // "install": whether the client is installed at all
  int progressSteps = 10;    // "progress_steps": progress messages posted to the installer
  int stepMilliseconds = 50; // "step_ms": the pause after each of them
};

// Runs the setup for `arguments` (the command line after the program) and returns its exit code.
int runDemoSetup(const std::vector<std::wstring>& arguments);

// Platform parts.

// Posts message `message` with (done, total) to the window whose handle is `window`, as the
// maker's setup reports its progress. Does nothing without a window system.
void postSetupProgress(std::int64_t window, std::uint32_t message, std::uint32_t done,
                       std::uint32_t total);
// The folder the demo client is installed into (it may hold blanks).
std::wstring clientInstallFolder();
// Lets the installed client at `clientPath` be run (POSIX: its execute bits; Windows needs none).
void allowRunning(const std::wstring& clientPath);
// The command that opens a "qmclient" URL with the installed client at `clientPath`.
std::wstring urlHandlerCommand(const std::wstring& clientPath);
