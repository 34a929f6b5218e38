// The command-line arguments of our own helper programs, as UTF-16 on every platform.
#pragma once

#include <string>
#include <vector>

// The program's arguments after its name. On Windows they are split from GetCommandLineW by the
// platform's rules; on POSIX they are argv converted from UTF-8 (invalid bytes as U+FFFD).
std::vector<std::wstring> toolArguments(int argc, char** argv);
