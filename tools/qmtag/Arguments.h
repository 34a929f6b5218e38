// The program's own command-line arguments as UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace qmtag {

// The arguments after the program name. On Windows they come from the process's UTF-16 command
// line (argv of a narrow main is in the ANSI code page and would lose characters); elsewhere they
// are argv's bytes as given. Throws qmtag::UsageError when one is no valid text.
std::vector<std::string> programArguments(int argc, char** argv);

} // namespace qmtag
