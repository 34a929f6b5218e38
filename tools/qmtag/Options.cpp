#include "qmtag/Options.h"

namespace qmtag {

const char* const kUsage =
    "usage: qmtag set [--game ID] [--locale LOCALE] [--client-id ID] [--injection ID] IN OUT\n"
    "       qmtag get FILE\n"
    "       qmtag remove IN OUT\n"
    "set writes the download tag into the signed installer IN as OUT (replacing an older tag),\n"
    "get prints the JSON text of FILE's tag, remove writes IN without its tag as OUT.\n";

namespace {

// The JSON member of each option of set.
const std::map<std::string, std::string> kMemberOptions = {
    {"--game", "g"}, {"--locale", "l"}, {"--client-id", "c"}, {"--injection", "i"}};

// Takes the option at `arguments[at]` (and its value) into `options`; returns the index after it.
std::size_t takeOption(const std::vector<std::string>& arguments, std::size_t at,
                       Options& options) {
  const std::string& argument = arguments[at];
  const std::size_t equals = argument.find('=');
  const std::string name = argument.substr(0, equals);
  const auto member = kMemberOptions.find(name);
  if (member == kMemberOptions.end() || options.command != Command::Set) {
    throw UsageError("unknown option " + name);
  }
  std::string value;
  if (equals != std::string::npos) {
    value = argument.substr(equals + 1);
  } else if (++at < arguments.size()) {
    value = arguments[at];
  } else {
    throw UsageError("option " + name + " needs a value");
  }
  if (value.empty()) {
    throw UsageError("option " + name + " needs a non-empty value");
  }
  if (!options.members.emplace(member->second, value).second) {
    throw UsageError("option " + name + " is given twice");
  }
  return at + 1;
}

Command commandNamed(const std::string& name) {
  if (name == "set") {
    return Command::Set;
  }
  if (name == "get") {
    return Command::Get;
  }
  if (name == "remove") {
    return Command::Remove;
  }
  if (name == "help" || name == "--help" || name == "-h") {
    return Command::Help;
  }
  throw UsageError("unknown command " + name);
}

} // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    throw UsageError("no command given");
  }
  Options options;
  options.command = commandNamed(arguments[0]);
  std::vector<std::string> files;
  for (std::size_t at = 1; at < arguments.size();) {
    if (arguments[at].size() > 1 && arguments[at][0] == '-') {
      at = takeOption(arguments, at, options);
    } else {
      files.push_back(arguments[at++]);
    }
  }
  const std::size_t wanted = options.command == Command::Get    ? 1
                             : options.command == Command::Help ? 0
                                                                : 2;
  if (files.size() != wanted) {
    throw UsageError("expected " + std::to_string(wanted) + " file name(s), got " +
                     std::to_string(files.size()));
  }
  if (options.command == Command::Set && options.members.empty()) {
    throw UsageError("set needs at least one of --game, --locale, --client-id, --injection");
  }
  options.input = wanted > 0 ? files[0] : std::string();
  options.output = wanted > 1 ? files[1] : std::string();
  return options;
}

} // namespace qmtag
