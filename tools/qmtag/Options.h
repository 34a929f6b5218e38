// qmtag's command line.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qmtag {

// A command line qmtag cannot follow; what() says why.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The usage text, lines ending in '\n'.
extern const char* const kUsage;

enum class Command { Set, Get, Remove, Help };

struct Options {
  Command command = Command::Help;
  // For set: JSON member name ("g", "l", "c", "i") to value, only those given.
  std::map<std::string, std::string> members;
  // set and remove read `input` and write `output`; get reads `input`.
  std::string input;
  std::string output;
};

// Reads the arguments after the program name (UTF-8):
//   set [--game G] [--locale L] [--client-id C] [--injection I] IN OUT  (at least one member)
//   get FILE
//   remove IN OUT
//   help, --help or -h
// An option's value follows it as the next argument or after "=". Throws UsageError for anything
// else: no or an unknown command or option, an option without a value, with an empty value or
// given twice, options other than these for get and remove, a missing or extra file name.
Options parseOptions(const std::vector<std::string>& arguments);

} // namespace qmtag
